#include "design/objects/NameTables.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "design/objects/ObjSorts.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"

namespace {

uint8_t* Bytes(platform::Handle h) { return reinterpret_cast<uint8_t*>(*h); }
int32_t HandleSize(platform::Handle h) { return int32_t(platform::GetHandleSize(h)); }

int32_t Capacity(NameCodeHdl t) { return std::max(0, (HandleSize(t) - kNameCodeHeader) / kNameCodeEntry); }
int32_t RawCount(NameCodeHdl t) { return platform::ReadBES32(Bytes(t)); }
int32_t RawFree(NameCodeHdl t) { return platform::ReadBES32(Bytes(t) + 4); }

void SetCounters(NameCodeHdl t, int32_t count, int32_t free)
{
    platform::WriteBE32(Bytes(t), uint32_t(count));
    platform::WriteBE32(Bytes(t) + 4, uint32_t(free));
}

uint8_t* Entry(NameCodeHdl t, int32_t index) { return Bytes(t) + kNameCodeHeader + index * kNameCodeEntry; }

void PutName(uint8_t* dest, const unsigned char* name)
{
    std::memset(dest, 0, 34);
    const uint8_t n = std::min<uint8_t>(name[0], 33);
    dest[0] = n;
    std::memcpy(dest + 1, name + 1, n);
}

// A stored name whose length byte runs past its 34 bytes is read cut.
const unsigned char* SafeName(const uint8_t* field, unsigned char* out)
{
    const uint8_t n = std::min<uint8_t>(field[0], 33);
    out[0] = n;
    std::memcpy(out + 1, field + 1, n);
    return out;
}

bool Valid(NameCodeHdl t) { return t && *t && HandleSize(t) >= kNameCodeHeader; }

}  // namespace

int32_t NameCodeCount(NameCodeHdl table)
{
    if (!Valid(table)) return 0;
    return std::clamp(RawCount(table), 0, Capacity(table));
}

int16_t NameCodeStep(NameCodeHdl table) { return Valid(table) ? platform::ReadBES16(Bytes(table) + 8) : 0; }

const unsigned char* NameCodeName(NameCodeHdl table, int32_t index) { return Entry(table, index); }
const unsigned char* NameCodeCode(NameCodeHdl table, int32_t index) { return Entry(table, index) + 34; }

void CheckSwapCode(NameCodeHdl table)
{
    if (!Valid(table)) return;
    uint8_t* p = Bytes(table);
    if (platform::ReadBE16(p + 8) <= 255) return;
    platform::ReverseBytes(p, 4);
    platform::ReverseBytes(p + 4, 4);
    platform::ReverseBytes(p + 8, 2);
    platform::ReverseBytes(p + 10, 4);
}

int16_t NewNameCode(NameCodeHdl* table, int16_t room)
{
    if (room < 1) room = 1;  // a table that could never grow
    *table = platform::NewHandleClear(kNameCodeHeader + int32_t(room) * kNameCodeEntry);
    if (!*table) return platform::memFullErr;
    SetCounters(*table, 0, room);
    platform::WriteBE16(Bytes(*table) + 8, uint16_t(room));
    return 0;
}

void SortNameCode(NameCodeHdl table)
{
    CheckSwapCode(table);
    const int32_t n = NameCodeCount(table);
    DiminishingGapSort(
        n,
        [&](int32_t i, int32_t j) {
            unsigned char a[34], b[34];
            return CompareStringQz(SafeName(Entry(table, i), a), SafeName(Entry(table, j), b), false) == kGreater;
        },
        [&](int32_t i, int32_t j) {
            uint8_t tmp[kNameCodeEntry];
            std::memcpy(tmp, Entry(table, i), kNameCodeEntry);
            std::memcpy(Entry(table, i), Entry(table, j), kNameCodeEntry);
            std::memcpy(Entry(table, j), tmp, kNameCodeEntry);
        });
}

bool SearchNameCode(NameCodeHdl* table, const unsigned char* name, int32_t* pos)
{
    *pos = 1;
    if (!*table && NewNameCode(table, 10) != 0) return false;
    const int32_t count = NameCodeCount(*table);
    int32_t lo = 0, hi = count + 1, mid = 0;
    bool after = true;
    while (hi - lo >= 2) {
        mid = (lo + hi) / 2;
        unsigned char entry[34];
        const int16_t r = CompareStringQz(name, SafeName(Entry(*table, mid - 1), entry), false);
        if (r == kEqual) {
            *pos = mid;
            return true;
        }
        after = r == kGreater;
        if (after)
            lo = mid;
        else
            hi = mid;
    }
    *pos = after ? mid + 1 : mid;
    return false;
}

int16_t AddSortedNameCode(NameCodeHdl* table, const unsigned char* name, const unsigned char* code, int32_t index)
{
    if (!*table)
        if (const int16_t err = NewNameCode(table, 10)) return err;
    NameCodeHdl t = *table;
    if (!Valid(t)) {
        // Shorter than its header: taken as an empty table.
        platform::SetHandleSize(t, kNameCodeHeader);
        if (const platform::OSErr err = platform::MemError()) return err;
        std::memset(*t, 0, kNameCodeHeader);
        platform::WriteBE16(Bytes(t) + 8, 10);
    }
    const int32_t count = NameCodeCount(t);
    int32_t free = std::clamp(RawFree(t), 0, Capacity(t) - count);
    if (free == 0) {
        const int32_t step = std::max<int32_t>(1, NameCodeStep(t));
        platform::SetHandleSize(t, kNameCodeHeader + (count + step) * kNameCodeEntry);
        if (const platform::OSErr err = platform::MemError()) return err;
        free = step;
    }
    index = std::clamp(index, 0, count);
    std::memmove(Entry(t, index + 1), Entry(t, index), size_t(count - index) * kNameCodeEntry);
    PutName(Entry(t, index), name);
    PutName(Entry(t, index) + 34, code);
    SetCounters(t, count + 1, free - 1);
    return 0;
}

bool GetCode(NameCodeHdl table, const unsigned char* name, unsigned char* code)
{
    if (!table) return false;
    CheckSwapCode(table);
    int32_t pos = 0;
    if (!SearchNameCode(&table, name, &pos)) return false;
    SafeName(Entry(table, pos - 1) + 34, code);
    return true;
}

bool IsNewCode(NameCodeHdl table, unsigned char* code)
{
    if (!table) return true;
    CheckSwapCode(table);
    for (int32_t i = 0; i < NameCodeCount(table); ++i) {
        unsigned char stored[34];
        SafeName(Entry(table, i) + 34, stored);
        if (CompareStringQz(code, stored, false) == kEqual) {
            std::memcpy(code, stored, size_t(stored[0]) + 1);
            return false;
        }
    }
    return true;
}

int16_t SetCode(NameCodeHdl* table, const unsigned char* name, const unsigned char* code)
{
    if (*table) CheckSwapCode(*table);
    int32_t pos = 0;
    if (SearchNameCode(table, name, &pos)) return 0;
    // A code that could not be stored is said, never passed off as kept.
    if (!*table) return platform::memFullErr;
    return AddSortedNameCode(table, name, code, pos - 1);
}

bool SearchStringList(const unsigned char* text, StrListHdl strList, int16_t* id, int16_t* index)
{
    if (!strList) return false;
    const int32_t count = HandleSize(strList) / kStrListEntry;
    int32_t lo = 0, hi = count + 1, mid = 0;
    bool after = true;
    while (hi - lo > 1) {
        mid = (lo + hi) / 2;
        const uint8_t* e = Bytes(strList) + (mid - 1) * kStrListEntry;
        const int16_t r = CompareStringQz(text, e, true);
        if (r == kEqual) {
            *id = platform::ReadBES16(e + 256);
            *index = platform::ReadBES16(e + 258);
            return true;
        }
        after = r == kGreater;
        if (after)
            lo = mid;
        else
            hi = mid;
    }
    const int32_t at = after ? mid : mid - 1;  // 0-based insertion place
    platform::SetHandleSize(strList, (count + 1) * kStrListEntry);
    if (platform::MemError() != 0) {
        platform::SetHandleSize(strList, 0);
        return false;
    }
    uint8_t* base = Bytes(strList);
    std::memmove(base + (at + 1) * kStrListEntry, base + at * kStrListEntry, size_t(count - at) * kStrListEntry);
    uint8_t* e = base + at * kStrListEntry;
    std::memset(e, 0, kStrListEntry);
    std::memcpy(e, text, size_t(text[0]) + 1);
    platform::WriteBE16(e + 256, uint16_t(*id));
    platform::WriteBE16(e + 258, uint16_t(*index));
    return false;
}

bool SetStringListRef(const unsigned char* text, StrListHdl strList, int16_t id, int16_t index)
{
    if (!strList) return false;
    int32_t lo = 0, hi = HandleSize(strList) / kStrListEntry + 1;
    while (hi - lo > 1) {
        const int32_t mid = (lo + hi) / 2;
        uint8_t* e = Bytes(strList) + (mid - 1) * kStrListEntry;
        const int16_t r = CompareStringQz(text, e, true);
        if (r == kEqual) {
            platform::WriteBE16(e + 256, uint16_t(id));
            platform::WriteBE16(e + 258, uint16_t(index));
            return true;
        }
        if (r == kGreater)
            lo = mid;
        else
            hi = mid;
    }
    return false;
}

void SortNameRes(platform::ListHandle list)
{
    if (!list) return;
    platform::ListBounds bounds{};
    platform::GetListDataBounds(list, &bounds);
    const int32_t rows = bounds.bottom;
    std::vector<std::vector<uint8_t>> cells(size_t(std::max(0, rows)));
    for (int32_t r = 0; r < rows; ++r) {
        uint8_t data[268];
        int16_t len = sizeof data;
        platform::LGetCell(data, &len, platform::Cell{int16_t(r), 0}, list);
        cells[size_t(r)].assign(data, data + std::max<int16_t>(len, 0));
    }
    auto text = [&](int32_t i, unsigned char* out) {
        const auto& c = cells[size_t(i)];
        const size_t n = std::min<size_t>(c.size() ? std::min<size_t>(c[0], c.size() - 1) : 0, 255);
        out[0] = uint8_t(n);
        if (n) std::memcpy(out + 1, c.data() + 1, n);
    };
    platform::LSetDrawingMode(false, list);
    // Row 0 (the default entry of the lists sorted here) stays first.
    DiminishingGapSort(
        rows - 1,
        [&](int32_t i, int32_t j) {
            unsigned char a[256], b[256];
            text(i + 1, a);
            text(j + 1, b);
            return rel2str(a, b) == kGreater;
        },
        [&](int32_t i, int32_t j) { std::swap(cells[size_t(i + 1)], cells[size_t(j + 1)]); });
    for (int32_t r = 0; r < rows; ++r)
        platform::LSetCell(cells[size_t(r)].data(), int16_t(cells[size_t(r)].size()), platform::Cell{int16_t(r), 0}, list);
    platform::LSetDrawingMode(true, list);
}
