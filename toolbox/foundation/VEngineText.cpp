// The engine's text hand-overs: host text blocks and variable names.
#include <algorithm>
#include <cstring>
#include <vector>

#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/VMemoryMgr.h"
#include "toolbox/foundation/VString.h"

void VEngine::FillTextBlock(const VString& text, TextBlock& block)
{
    constexpr int32_t kMaxTextBlock = 32000;
    const int64_t wanted = int64_t(text.GetLength()) * 2 + 1;
    const int32_t capacity = int32_t(std::min<int64_t>(wanted, kMaxTextBlock));
    if (block.text) {
        if (!gMemory->SetHandleSize(block.text, uint32_t(capacity))) {
            block.length = 0;
            return;
        }
    } else {
        block.text = gMemory->NewHandle(uint32_t(capacity), 0);
        if (!block.text) {
            block.length = 0;
            return;
        }
    }
    char* bytes = gMemory->LockHandle(block.text);
    // Zero-terminated Mac text of at most capacity bytes, terminator
    // included.
    int32_t written = 0;
    const int32_t count = text.GetLength();
    if (count > 0 && capacity > 1) {
        const int32_t take = std::min(count, capacity - 1);
        std::vector<char16_t> units(size_t(count) + 1);
        const int32_t got = text.ToUniBlock(units.data(), 0, count);
        const char16_t* src = units.data();
        auto* dst = reinterpret_cast<uint8_t*>(bytes);
        InitDefaultIntlManager()->Uni2Mac(src, dst, dst + (capacity - 1), std::min(got, take));
        written = int32_t(dst - reinterpret_cast<uint8_t*>(bytes));
    }
    bytes[written] = 0;
    block.length = int16_t(written);
    gMemory->UnlockHandle(block.text);
    gMemory->SetHandleSize(block.text, uint32_t(written));
}

int16_t SetVarName(unsigned char* dst, const unsigned char* src, int16_t range)
{
    const int32_t length = src[0];
    int32_t prefix = 0;
    if (range == kVarDecideFromName) {
        if (length >= 1 && src[1] == 0xD7) {
            range = kVarInterprocess;
            prefix = 1;
        } else if (length >= 2 && src[1] == '<' && src[2] == '>') {
            range = kVarInterprocess;
            prefix = 2;
        } else if (length >= 1 && src[1] == '$') {
            range = kVarLocal;
            prefix = 1;
        } else {
            range = kVarProcess;
        }
    }
    std::memmove(dst + 1, src + 1 + prefix, size_t(length - prefix));
    dst[0] = uint8_t(length - prefix);
    return range;
}
