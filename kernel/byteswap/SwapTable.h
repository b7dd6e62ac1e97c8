// The template table (slots for template numbers 1..N) and the life of
// template entries.
#pragma once

#include <cstdint>

#include "kernel/byteswap/TokenInv.h"
#include "platform/core/MacTypes.h"

// i32 count N, 4 bytes of padding, then N template pointers; null until
// the first template is stored.
extern platform::Handle globTokHdl;

// Stores a template in slot `number`, growing the table with empty slots.
// 0 or the memory error.
int16_t StoreSwapTemplate(int32_t number, TokenInv* templ);

// A new zeroed entry of that kind with room for kMaxSwapChildren children
// when it is a group; null when memory runs out.
TokenInv* NewSwapEntry(uint32_t kind, bool group);
// Sets the entry's name to a copy of the word; false when memory runs out.
bool SetSwapEntryName(TokenInv* entry, const unsigned char* word, int32_t length);
// Shrinks a finished group's children to exactly its count.
bool FinishSwapGroup(TokenInv* group);
// Frees an entry with its children (not the templates it repeats).
void DisposeSwapEntry(TokenInv* entry);

// Every template built is on this list until ResetSwapTable frees them all.
void RegisterSwapTemplate(TokenInv* templ);
void ResetSwapTable();
