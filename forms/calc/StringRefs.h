// Texts that name an item of a string list: ":" id "," index, decimal.
#pragma once

// Replaces such a text in place by item `index` of 'STR#' id (an empty
// text when the list or the item is missing); any other text is left.
void getstrstr(unsigned char* text);

// What a stored text shows: the item a reference names, read from the
// current resource file's chain; the text as stored when it is no
// reference or names no item.
void ShownStringText(const unsigned char* stored, unsigned char* out);
