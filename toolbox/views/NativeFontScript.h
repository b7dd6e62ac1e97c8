// Character sets of the other platform's font descriptions and this
// platform's text encodings, both ways, for the text editor's fonts.
#pragma once

#include <cstdint>

// The text encoding of a character set; unknown sets give the
// application's encoding (Mac Roman, 0).
int32_t MacFontScript(int32_t charset);
// The character set of a text encoding; unknown encodings give 1 (the
// default set).
int32_t WinFontScript(int32_t encoding);
