// Byte-block moves, clears and search.
#pragma once

#include <cstdint>

// Overlap-safe move; counts <= 0 do nothing.
void vBlockMove(const void* src, void* dst, int32_t count);
// Zeroes count bytes.
void vClearMem(void* p, int32_t count);
// Forward byte copy, not overlap-safe; returns the address just past the
// source bytes.
const void* moveblock(const void* src, void* dst, int32_t count);
// Copies from the last byte down to the first (safe when dst lies above src).
void moveblockInv(const void* src, void* dst, int32_t count);
// Index of the first byte equal to c in buffer[from .. to-1], or -1.
int32_t charpos(uint8_t c, const void* buffer, int32_t from, int32_t to);
