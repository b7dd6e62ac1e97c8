// LZSS and Huffman block compressor producing the bare -lh5- bit stream:
// LZSS over an 8 KB sliding dictionary, each block of codes sent with static
// Huffman codes. No header, no checksum, no length: the caller keeps the
// uncompressed length and hands it to the decoder.
#pragma once

#include <cstdint>

#include "kernel/compress/CompressResults.h"

// Compresses srcLen bytes into dst, writing at most dstCapacity bytes.
// Returns the stream's length, 0 when it would not fit dstCapacity (no gain)
// or when srcLen is 0, or kCompressNoMemory.
int32_t ARCOMPACTE(const void* src, void* dst, int32_t srcLen, int32_t dstCapacity);

// Decodes a stream of srcLen bytes until exactly dstLen bytes are written to
// dst. Returns dstLen, kDamagedBlockErr (nothing is written past dstLen) or
// kCompressNoMemory.
int32_t ARDECOMPACTE(const void* src, void* dst, int32_t dstLen, int32_t srcLen);
