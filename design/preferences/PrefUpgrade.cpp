#include "design/preferences/PrefUpgrade.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "platform/core/BitOps.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

using namespace platform;

namespace {

constexpr ResType kFLTR = FourCC("FLTR");
constexpr ResType kFLT2 = FourCC("FLT2");
constexpr ResType kFLTX = FourCC("FLTX");
constexpr ResType kCPR = FourCC("C_PR");
constexpr ResType kOblk = FourCC("Oblk");
// Filter bits start at byte 2 of the record; bits up to 47 need 8 bytes.
constexpr int32_t kBitsOffset = 2;
constexpr Size kFilterBitsEnd = 8;

// Runs `body` with `file` current, the previous current file restored.
template <class Body>
void WithFile(int16_t file, Body body)
{
    const int16_t saved = CurResFile();
    UseResFile(file);
    if (CurResFile() == file) body();
    UseResFile(saved);
}

uint8_t* Bits(Handle h) { return reinterpret_cast<uint8_t*>(*h) + kBitsOffset; }

// Every resource of the type in the current file, by handle, taken before
// any is changed.
std::vector<Handle> ResourcesOf(ResType type)
{
    std::vector<Handle> all;
    const int16_t count = Count1Resources(type);
    for (int32_t i = 1; i <= count; ++i)
        if (Handle h = Get1IndResource(type, i); h && *h) all.push_back(h);
    return all;
}

void Rewrite(Handle h)
{
    ChangedResource(h);
    WriteResource(h);
}

// Makes a filter at least kFilterBitsEnd bytes long, zero-filled; false
// (and the filter as it was) when it cannot grow.
bool HoldsBits(Handle h)
{
    const Size size = GetHandleSize(h);
    if (size >= kFilterBitsEnd) return true;
    SetHandleSize(h, kFilterBitsEnd);
    if (MemError() != noErr || GetHandleSize(h) != kFilterBitsEnd) return false;
    std::memset(*h + size, 0, size_t(kFilterBitsEnd - size));
    return true;
}

void CopyBit(const uint8_t* from, int32_t fromBit, uint8_t* to, int32_t toBit)
{
    if (BitTst(from, fromBit))
        BitSet(to, toBit);
    else
        BitClr(to, toBit);
}

// A free 'FLT2' id for a filter added to the file. 128 is kept for the
// file's own first filter (the one searches start from, left out of the
// sorting): an added filter never takes it.
int16_t NewFilterId()
{
    int16_t id = Unique1ID(kFLT2);
    while (id == 128 || Get1Resource(kFLT2, id)) ++id;
    return id;
}

// Adds a copy of `source` to the current file as `type` under `id`
// (under a new id when that one is taken); false when it cannot.
bool AddCopy(Handle source, ResType type, int16_t id, ConstStr255Param name)
{
    Handle copy = source;
    if (HandToHand(&copy) != noErr) return false;
    if (Get1Resource(type, id)) id = type == kFLT2 ? NewFilterId() : Unique1ID(type);
    AddResource(copy, type, id, name);
    if (ResError() != noErr) {
        DisposeHandle(copy);
        return false;
    }
    WriteResource(copy);
    return true;
}

// The application's resource of that type and id, or null.
Handle AppResource(ResType type, int16_t id)
{
    Handle h = nullptr;
    if (G_MainResFile > 0) WithFile(G_MainResFile, [&] { h = Get1Resource(type, id); });
    return h && *h ? h : nullptr;
}

// Copies the application's resource into the current file under a new id,
// with its own name.
void CopyAsNew(Handle source, ResType type)
{
    int16_t id = 0;
    ResType sourceType = 0;
    Str255 name;
    GetResInfo(source, &id, &sourceType, name);
    AddCopy(source, type, type == kFLT2 ? NewFilterId() : Unique1ID(type), name);
}

// Replaces the current file's resource 0 of the type by the application's.
void ReplaceByApplications(ResType type)
{
    if (Handle old = Get1Resource(type, 0)) {
        RemoveResource(old);
        DisposeHandle(old);
    }
    if (Handle source = AppResource(type, 0)) {
        const unsigned char empty[1] = {0};
        AddCopy(source, type, 0, empty);
    }
}

int32_t FileVersion()
{
    Handle vers = Get1Resource(FourCC("vers"), 1);
    if (!vers || !*vers || GetHandleSize(vers) < 4) return 0;
    return int32_t(ReadBE32(reinterpret_cast<const uint8_t*>(*vers)));
}

// Step 1: the bits of the oldest filters move to their second numbering.
void RenumberOldestFilters()
{
    static constexpr int32_t kMap[][2] = {{2, 13},  {3, 8},   {8, 2},   {11, 3},  {12, 14}, {13, 16},
                                          {14, 15}, {15, 11}, {16, 17}, {17, 18}, {18, 19}};
    for (Handle h : ResourcesOf(kFLTR)) {
        if (!HoldsBits(h)) continue;
        uint8_t copy[kFilterBitsEnd];
        std::memcpy(copy, *h, sizeof copy);
        for (const auto& m : kMap) CopyBit(copy + kBitsOffset, m[0], Bits(h), m[1]);
        BitClr(Bits(h), 12);
        Rewrite(h);
    }
}

// Step 2: every 'FLTR' becomes an 'FLT2' of the same id and name.
void ConvertOldFilters()
{
    for (Handle old : ResourcesOf(kFLTR)) {
        const Size size = GetHandleSize(old);
        // Below 8 bytes there are not even the kind bits and a name.
        if (size < 8) continue;
        const auto* p = reinterpret_cast<const uint8_t*>(*old);
        // The name at offset 6 ends where the resource does.
        const uint8_t nameLength = uint8_t(std::min<Size>(p[6], size - 7));
        Handle record = NewHandleClear(12 + 1 + nameLength);
        if (!record) continue;
        auto* r = reinterpret_cast<uint8_t*>(*record);
        std::memcpy(r, p, size_t(std::min<Size>(size, 8)));
        r[12] = nameLength;
        std::memcpy(r + 13, p + 7, nameLength);
        int16_t id = 0;
        ResType type = 0;
        Str255 name;
        GetResInfo(old, &id, &type, name);
        uint8_t* bits = r + kBitsOffset;
        const uint8_t* oldBits = p + kBitsOffset;
        BitSet(bits, 23);
        CopyBit(oldBits, 13, bits, 24);
        CopyBit(oldBits, 14, bits, 25);
        for (int32_t n = 26; n <= 29; ++n) BitClr(bits, n);
        for (int32_t n = 22; n <= 31; ++n) CopyBit(oldBits, n, bits, n + 8);
        for (int32_t n = 12; n <= 15; ++n) id == 128 ? BitSet(bits, n) : BitClr(bits, n);
        // A filter of that id already there keeps it: the new one takes another.
        if (Get1Resource(kFLT2, id)) id = NewFilterId();
        AddResource(record, kFLT2, id, name);
        if (ResError() != noErr) {
            DisposeHandle(record);
            continue;
        }
        WriteResource(record);
    }
}

}  // namespace

void UpdateFilters(int16_t file, ResType type)
{
    WithFile(file, [&] {
        for (Handle h : ResourcesOf(type)) {
            const Size size = GetHandleSize(h);
            const Size base = std::max(size, kFilterBitsEnd);
            SetHandleSize(h, base + 4);
            if (MemError() != noErr || GetHandleSize(h) != base + 4) {
                if (GetHandleSize(h) != size) SetHandleSize(h, size);
                continue;
            }
            auto* p = reinterpret_cast<uint8_t*>(*h);
            std::memset(p + size, 0, size_t(base - size));
            std::memmove(p + 12, p + 8, size_t(base - 8));
            const int32_t comparison = (BitTst(p + kBitsOffset, 39) ? 1 : 0) + (BitTst(p + kBitsOffset, 38) ? 2 : 0) +
                                       (BitTst(p + kBitsOffset, 37) ? 4 : 0);
            p[8] = 0;  // criterion 1: the name
            p[9] = uint8_t(comparison);
            p[10] = p[11] = 0;
            Rewrite(h);
        }
        UpdateResFile(file);
    });
}

void FLT2toFLT3(int16_t file, ResType type)
{
    WithFile(file, [&] {
        for (Handle h : ResourcesOf(type)) {
            if (!HoldsBits(h)) continue;
            int16_t id = 0;
            ResType t = 0;
            Str255 name;
            GetResInfo(h, &id, &t, name);
            uint8_t* bits = Bits(h);
            for (int32_t n = 36; n >= 28; --n) CopyBit(bits, n, bits, n + 4);
            CopyBit(bits, 0, bits, 41);
            BitClr(bits, 0);
            for (int32_t n = 42; n <= 47; ++n) BitClr(bits, n);
            for (int32_t n = 25; n >= 19; --n) CopyBit(bits, n, bits, n + 5);
            BitClr(bits, 31);
            CopyBit(bits, 18, bits, 23);
            BitClr(bits, 18);
            for (int32_t n = 16; n <= 22; ++n) BitClr(bits, n);
            if (id == 128)
                for (int32_t n = 16; n <= 22; ++n) BitSet(bits, n);
            Rewrite(h);
        }
        UpdateResFile(file);
    });
}

void UpdateOblk(int16_t file)
{
    WithFile(file, [&] {
        Handle h = Get1Resource(kOblk, 0);
        if (!h || !*h) return;
        auto* p = reinterpret_cast<uint8_t*>(*h);
        const Size size = GetHandleSize(h);
        // The pairs end at a kind of 0, or at the resource's end.
        for (Size at = 0; at + 1 < size && p[at] != 0; at += 2)
            if (p[at] > 17 && p[at] <= 255 - 5) p[at] = uint8_t(p[at] + 5);
        Rewrite(h);
        UpdateResFile(file);
    });
}

bool UpdatePrefResFile()
{
    if (G_PrefResFile == -1) return false;
    bool changed = false;
    bool oblkCurrent = false;
    WithFile(G_PrefResFile, [&] {
        const int32_t version = FileVersion();
        if (version == 0) {
            RenumberOldestFilters();
            UpdateResFile(G_PrefResFile);
            changed = true;
        }
        if (version < kPrefVersionFilterTwo) {
            ConvertOldFilters();
            UpdateResFile(G_PrefResFile);
            std::vector<Handle> extra;
            if (G_MainResFile > 0) WithFile(G_MainResFile, [&] { extra = ResourcesOf(kFLTX); });
            for (Handle source : extra) CopyAsNew(source, kFLT2);
            ReplaceByApplications(kCPR);
            ReplaceByApplications(kOblk);
            oblkCurrent = true;
            UpdateResFile(G_PrefResFile);
            changed = true;
        }
        if (version < kPrefVersionConflicts) {
            ReplaceByApplications(kCPR);
            UpdateResFile(G_PrefResFile);
            changed = true;
        }
        if (version < kPrefVersionCriteria) {
            UpdateFilters(G_PrefResFile, kFLT2);
            changed = true;
        }
        if (version < kPrefVersionKinds) {
            FLT2toFLT3(G_PrefResFile, kFLT2);
            // The application's table, taken above, has today's kinds.
            if (!oblkCurrent) UpdateOblk(G_PrefResFile);
            for (int16_t id : kNewStandardFilters)
                if (Handle source = AppResource(kFLT2, id)) CopyAsNew(source, kFLT2);
            UpdateResFile(G_PrefResFile);
            SortFilters(G_PrefResFile, kFLT2);
            changed = true;
        }
    });
    return changed;
}
