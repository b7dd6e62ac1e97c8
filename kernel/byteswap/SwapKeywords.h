// The keywords of the template file: string k+1 of the application's
// string list 'STR#' 10132 names entry kind k (string 1 is never matched).
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

constexpr int16_t kSwapKeywordListId = 10132;
// Bytes of one keyword entry: a length byte and up to 33 characters.
constexpr int32_t kSwapKeywordEntry = 34;

// i32 count, then 34-byte entries; null until loaded.
extern platform::Handle Listofnames;

// Loads the list once, from 'STR#' 10132 of the resource chain, or, while
// the application's resource file does not carry it, from the spellings
// that resource holds. 0 or the memory error.
int16_t LoadSwapKeywords();
void DisposeSwapKeywords();

// The kind (1-17) whose keyword is the word, 0 when none.
uint32_t SwapKeywordKind(const unsigned char* word, int32_t length);
