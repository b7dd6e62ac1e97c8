#include "design/plugins/BundleTable.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/StringListBody.h"

namespace {

constexpr size_t kEntrySize = 8;
constexpr int16_t kDamaged = 1003;

size_t SizeOf(platform::Handle h) { return h && *h ? size_t(platform::GetHandleSize(h)) : 0; }
const uint8_t* BytesOf(platform::Handle h) { return h ? reinterpret_cast<const uint8_t*>(*h) : nullptr; }

// The table's entry count when it fits, else -1.
int32_t SoundCount(platform::Handle table)
{
    const size_t size = SizeOf(table);
    if (size < 2) return -1;
    const int16_t n = int16_t(platform::ReadBE16(*table));
    if (n < 0 || (size - 2) / kEntrySize < size_t(n)) return -1;
    return n;
}

}  // namespace

bool ReadBundleTable(const uint8_t* bytes, size_t size, std::vector<BundleEntry>* entries)
{
    entries->clear();
    if (!bytes || size < 2) return false;
    const int16_t n = int16_t(platform::ReadBE16(bytes));
    if (n < 0 || (size - 2) / kEntrySize < size_t(n)) return false;
    entries->reserve(size_t(n));
    for (int16_t i = 0; i < n; ++i) {
        const uint8_t* e = bytes + 2 + kEntrySize * size_t(i);
        entries->push_back({platform::ReadBE32(e), int16_t(platform::ReadBE16(e + 4)), int16_t(platform::ReadBE16(e + 6))});
    }
    return true;
}

bool ReadBundleTable(platform::Handle table, std::vector<BundleEntry>* entries)
{
    return ReadBundleTable(BytesOf(table), SizeOf(table), entries);
}

bool FindBundleEntry(platform::Handle table, uint32_t type, BundleEntry* entry)
{
    const int32_t n = SoundCount(table);
    for (int32_t i = 0; i < n; ++i) {
        const uint8_t* e = BytesOf(table) + 2 + kEntrySize * size_t(i);
        if (platform::ReadBE32(e) != type) continue;
        *entry = {type, int16_t(platform::ReadBE16(e + 4)), int16_t(platform::ReadBE16(e + 6))};
        return true;
    }
    return false;
}

int16_t AppendBundleEntry(platform::Handle table, const BundleEntry& entry)
{
    const int32_t n = SoundCount(table);
    if (n < 0 || n >= INT16_MAX) return kDamaged;
    const size_t size = SizeOf(table), at = 2 + kEntrySize * size_t(n);
    platform::SetHandleSize(table, platform::Size(size + kEntrySize));
    if (platform::MemError() != platform::noErr) return platform::memFullErr;
    auto* p = reinterpret_cast<uint8_t*>(*table);
    std::memmove(p + at + kEntrySize, p + at, size - at);
    platform::WriteBE32(p + at, entry.type);
    platform::WriteBE16(p + at + 4, uint16_t(entry.count));
    platform::WriteBE16(p + at + 6, uint16_t(entry.id));
    platform::WriteBE16(p, uint16_t(n + 1));
    return 0;
}

int16_t RemoveBundleEntry(platform::Handle table, int32_t index)
{
    const int32_t n = SoundCount(table);
    if (n < 0 || index < 0 || index >= n) return kDamaged;
    const size_t size = SizeOf(table), at = 2 + kEntrySize * size_t(index);
    auto* p = reinterpret_cast<uint8_t*>(*table);
    std::memmove(p + at, p + at + kEntrySize, size - at - kEntrySize);
    platform::WriteBE16(p, uint16_t(n - 1));
    platform::SetHandleSize(table, platform::Size(size - kEntrySize));
    return 0;
}

void SetBundleEntryCount(platform::Handle table, int32_t index, int16_t count)
{
    if (index < 0 || index >= SoundCount(table)) return;
    platform::WriteBE16(*table + 2 + kEntrySize * size_t(index) + 4, uint16_t(count));
}

bool ReadStringList(platform::Handle list, std::vector<std::vector<uint8_t>>* strings)
{
    strings->clear();
    std::vector<std::string> read;
    if (SizeOf(list) < 2 || !platform::ReadStringListBody(BytesOf(list), SizeOf(list), &read)) return false;
    for (const std::string& s : read) strings->emplace_back(s.begin(), s.end());
    return true;
}

void RoutineName(const uint8_t* text, size_t length, unsigned char* name)
{
    const uint8_t* end = std::find(text, text + length, uint8_t('('));
    end = std::find(text, end, uint8_t(':'));
    const size_t n = std::min<size_t>(size_t(end - text), 255);
    if (n > 0) std::memmove(name + 1, text, n);
    name[0] = uint8_t(n);
}
