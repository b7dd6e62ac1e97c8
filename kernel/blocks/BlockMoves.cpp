#include "kernel/blocks/BlockMoves.h"

#include <cstring>

#include "platform/core/Memory.h"

void vBlockMove(const void* src, void* dst, int32_t count)
{
    if (count <= 0) return;
    if (count > 16) {
        platform::BlockMove(src, dst, count);
        return;
    }
    const auto* s = static_cast<const uint8_t*>(src);
    auto* d = static_cast<uint8_t*>(dst);
    if (s > d) {
        for (int32_t i = 0; i < count; ++i) d[i] = s[i];
    } else {
        for (int32_t i = count - 1; i >= 0; --i) d[i] = s[i];
    }
}

void vClearMem(void* p, int32_t count)
{
    if (count > 0) std::memset(p, 0, size_t(count));
}

const void* moveblock(const void* src, void* dst, int32_t count)
{
    const auto* s = static_cast<const uint8_t*>(src);
    auto* d = static_cast<uint8_t*>(dst);
    for (int32_t i = 0; i < count; ++i) d[i] = s[i];
    return s + (count > 0 ? count : 0);
}

void moveblockInv(const void* src, void* dst, int32_t count)
{
    const auto* s = static_cast<const uint8_t*>(src);
    auto* d = static_cast<uint8_t*>(dst);
    for (int32_t i = count - 1; i >= 0; --i) d[i] = s[i];
}

int32_t charpos(uint8_t c, const void* buffer, int32_t from, int32_t to)
{
    const auto* b = static_cast<const uint8_t*>(buffer);
    for (int32_t i = from < 0 ? 0 : from; i < to; ++i)
        if (b[i] == c) return i;
    return -1;
}
