// Texts that name an item of a string list: ":" id "," index, decimal.
#pragma once

#include <cstddef>
#include <cstdint>

// Replaces such a text in place by item `index` of 'STR#' id (an empty
// text when the list or the item is missing); any other text is left.
void getstrstr(unsigned char* text);

// What a stored text shows: the item a reference names, read from the
// current resource file's chain; the text as stored when it is no
// reference or names no item.
void ShownStringText(const unsigned char* stored, unsigned char* out);
// The same of a text of `length` bytes; false, `out` untouched, for one too
// long to be a reference: it shows as it is stored.
bool ShownStringText(const uint8_t* text, size_t length, unsigned char* out);
