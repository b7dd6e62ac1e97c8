#include "kernel/byteswap/SwapKeywords.h"

#include <cstring>

#include "kernel/byteswap/TokenInv.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

platform::Handle Listofnames = nullptr;

namespace {

// The strings of 'STR#' 10132. Kind 9 (a template header) has no keyword:
// its string is empty and never matches a word.
constexpr const char* kDefaultKeywords[kSwapKindCount + 1] = {
    "ByteSwap keywords", "skip", "word", "long", "pstring", "bytes", "arrayof",
    "repeat", "end", "", "eof", "ext10", "switch", "case", "endswitch", "endcase",
    "align2", "align4"};

bool AppendEntry(int32_t index, const uint8_t* text, int32_t length)
{
    if (length > kSwapKeywordEntry - 1) length = kSwapKeywordEntry - 1;
    uint8_t* entry = reinterpret_cast<uint8_t*>(*Listofnames) + 4 + index * kSwapKeywordEntry;
    entry[0] = uint8_t(length);
    std::memcpy(entry + 1, text, size_t(length));
    return true;
}

int16_t MakeList(int32_t count)
{
    Listofnames = platform::NewHandleClear(4 + count * kSwapKeywordEntry);
    if (!Listofnames) return platform::MemError();
    std::memcpy(*Listofnames, &count, 4);
    return 0;
}

// Copies the strings of a 'STR#' resource: a big-endian u16 count, then
// length-prefixed strings; a damaged list keeps what lies inside it.
int16_t LoadFromResource(platform::Handle res)
{
    const int32_t size = platform::GetHandleSize(res);
    const auto* bytes = reinterpret_cast<const uint8_t*>(*res);
    int32_t count = size >= 2 ? platform::ReadBE16(bytes) : 0;
    int32_t pos = 2;
    int32_t whole = 0;
    for (int32_t i = 0, p = pos; i < count && p < size && p + 1 + bytes[p] <= size; ++i) {
        p += 1 + bytes[p];
        ++whole;
    }
    if (int16_t err = MakeList(whole)) return err;
    for (int32_t i = 0; i < whole; ++i) {
        AppendEntry(i, bytes + pos + 1, bytes[pos]);
        pos += 1 + bytes[pos];
    }
    return 0;
}

}  // namespace

int16_t LoadSwapKeywords()
{
    if (Listofnames) return 0;
    platform::Handle res = platform::GetResource(platform::FourCC("STR#"), kSwapKeywordListId);
    if (res) return LoadFromResource(res);
    if (int16_t err = MakeList(kSwapKindCount + 1)) return err;
    for (int32_t i = 0; i <= int32_t(kSwapKindCount); ++i)
        AppendEntry(i, reinterpret_cast<const uint8_t*>(kDefaultKeywords[i]),
                    int32_t(std::strlen(kDefaultKeywords[i])));
    return 0;
}

void DisposeSwapKeywords()
{
    platform::DisposeHandle(Listofnames);
    Listofnames = nullptr;
}

uint32_t SwapKeywordKind(const unsigned char* word, int32_t length)
{
    if (!Listofnames || length <= 0) return 0;
    int32_t count;
    std::memcpy(&count, *Listofnames, 4);
    const auto* entries = reinterpret_cast<const uint8_t*>(*Listofnames) + 4;
    for (int32_t k = 1; k <= int32_t(kSwapKindCount) && k < count; ++k) {
        const uint8_t* entry = entries + k * kSwapKeywordEntry;
        if (entry[0] == length && std::memcmp(entry + 1, word, size_t(length)) == 0)
            return uint32_t(k);
    }
    return 0;
}
