// Reading and searching a block of memory at a stream position, shared by
// the streams over memory (handle and pointer streams).
#pragma once

#include <cstdint>

// Copies up to *length bytes from pos; *length becomes the count copied and
// pos moves past them. 0, or 200 (end of data) when fewer bytes remained.
int16_t ReadFromBlock(const char* data, uint32_t size, uint32_t& pos, void* buffer, uint32_t* length);

// 1-based offset of the first run equal to value (valueSize bytes, in
// memory order) at or after from, or 0.
uint32_t FindInBlock(const char* data, uint32_t size, uint32_t from, const void* value, uint32_t valueSize);
