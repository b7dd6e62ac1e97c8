// LZRW3-A block compressor: a hashed LZ77 with an 8-way set-associative
// table of earlier positions. Stored block: a flag byte (0 compressed,
// 1 the source follows unchanged), three zero bytes, then either the source
// or groups of a 16-bit control word (low byte first) and up to 16 items.
// The uncompressed length is not stored.
#pragma once

#include <cstdint>

#include "kernel/compress/CompressResults.h"

// Entries of the position table: 512 partitions of 8 slots.
constexpr int32_t kLz3aTableSize = 4096;
using Lz3aTable = const uint8_t*[kLz3aTableSize];

// Compresses srcLen bytes into dst, which holds dstCapacity bytes. Returns
// the stored block's length (header included; the copy form when the items
// do not pay), 0 when not even the copy form fits dstCapacity, or
// kCompressNoMemory.
int32_t compLZ3A(const void* src, void* dst, int32_t srcLen, int32_t dstCapacity);

// Decodes a stored block of srcLen bytes into dst (dstCapacity bytes).
// Returns the number of bytes written, kDamagedBlockErr or kCompressNoMemory.
int32_t decompLZ3A(const void* src, void* dst, int32_t dstCapacity, int32_t srcLen);

// The codec proper, over a caller's table. *dstLen receives the stored
// length (0 when nothing fits).
void compress_compress4(Lz3aTable& table, const uint8_t* src, int32_t srcLen, uint8_t* dst,
                        int32_t dstCapacity, int32_t* dstLen);
// Returns 0 or kDamagedBlockErr; *dstLen receives the bytes written.
int32_t compress_decompress4(Lz3aTable& table, const uint8_t* src, int32_t srcLen, uint8_t* dst,
                             int32_t dstCapacity, int32_t* dstLen);

// Forward copy, 8 bytes per step and then the rest.
void fast_copy(const void* src, void* dst, int32_t count);
