// Texts that name an item of a string list: ":" id "," index, decimal.
#pragma once

// Replaces such a text in place by item `index` of 'STR#' id (an empty
// text when the list or the item is missing); any other text is left.
void getstrstr(unsigned char* text);
