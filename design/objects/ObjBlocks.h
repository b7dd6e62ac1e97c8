// Memory for design objects and their lists. Blocks of one size are cut
// from slabs that the memory manager hands out, so that a structure of
// 100,000 objects takes a few thousand of its blocks rather than hundreds
// of thousands, each of them noted in its table and looked up again when
// freed. A slab goes back once its last block is freed.
//
// Each block still counts as one allocation for injected faults. Under
// AddressSanitizer every block is a memory manager block of its own, so
// that a use after free or a leak of one object is still reported.
#pragma once

#include <cstddef>

// A zero-filled block of `size` bytes, 16-byte aligned; null when memory
// runs out.
void* NewObjBlock(size_t size);
// Frees a block of NewObjBlock (null: nothing).
void DisposeObjBlock(void* block);
