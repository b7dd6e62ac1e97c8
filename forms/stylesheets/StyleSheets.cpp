#include "forms/stylesheets/StyleSheets.h"

#include <cstring>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"

using platform::Handle;

namespace {

constexpr int32_t kNameAndIdSize = 34;
constexpr int32_t kOldBlockCount = 3;

int32_t TableBytes(Handle table) { return table && *table ? platform::GetHandleSize(table) : -1; }

int32_t StoredCount(Handle table) { return platform::ReadBE16(*table); }

}  // namespace

bool Is67xStyleSheet(Handle table)
{
    const int32_t size = TableBytes(table);
    return size >= kStyleSheetHeaderSize && (size - kStyleSheetHeaderSize) % kOldStyleSheetEntrySize == 0;
}

bool Is68xStyleSheet(Handle table)
{
    const int32_t size = TableBytes(table);
    if (size < kStyleSheetHeaderSize) return false;
    const int32_t body = size - kStyleSheetHeaderSize;
    if (body % kStyleSheetEntrySize != 0) return false;
    if (body % kOldStyleSheetEntrySize != 0 || body == 0) return true;
    // Both layouts fit the size: the block counts tell.
    for (int32_t at = kStyleSheetHeaderSize; at < size; at += kStyleSheetEntrySize)
        if (platform::ReadBE16(*table + at + kNameAndIdSize) != uint16_t(kFontBlockCount)) return false;
    return true;
}

Handle ConvertStyleSheet(Handle table)
{
    // A count the entries do not hold would send readers past the table.
    if (Is68xStyleSheet(table)) {
        const int32_t entries = (TableBytes(table) - kStyleSheetHeaderSize) / kStyleSheetEntrySize;
        return StoredCount(table) <= entries ? table : nullptr;
    }
    if (!Is67xStyleSheet(table)) return nullptr;
    const int32_t entries = (TableBytes(table) - kStyleSheetHeaderSize) / kOldStyleSheetEntrySize;
    const int32_t count = StoredCount(table);
    if (count > entries) return nullptr;
    Handle out = platform::NewHandleClear(kStyleSheetHeaderSize + count * kStyleSheetEntrySize);
    if (!out) return nullptr;
    const auto* from = reinterpret_cast<const uint8_t*>(*table);
    auto* to = reinterpret_cast<uint8_t*>(*out);
    platform::WriteBE16(to, uint16_t(count));
    platform::WriteBE16(to + 2, uint16_t(kStyleSheetEntrySize));
    // Blocks 0 to 2 as they were; block 3 repeats block 0 and block 4 block 2.
    static const int32_t kSourceBlock[kFontBlockCount] = {0, 1, 2, 0, 2};
    for (int32_t e = 0; e < count; ++e) {
        const uint8_t* old = from + kStyleSheetHeaderSize + e * kOldStyleSheetEntrySize;
        uint8_t* entry = to + kStyleSheetHeaderSize + e * kStyleSheetEntrySize;
        std::memcpy(entry, old, kNameAndIdSize);
        platform::WriteBE16(entry + kNameAndIdSize, uint16_t(kFontBlockCount));
        for (int32_t b = 0; b < kFontBlockCount; ++b)
            std::memcpy(entry + kNameAndIdSize + 2 + b * kFontBlockSize,
                        old + kNameAndIdSize + kSourceBlock[b] * kFontBlockSize, kFontBlockSize);
    }
    static_assert(kNameAndIdSize + kOldBlockCount * kFontBlockSize == kOldStyleSheetEntrySize);
    static_assert(kNameAndIdSize + 2 + kFontBlockCount * kFontBlockSize == kStyleSheetEntrySize);
    return out;
}
