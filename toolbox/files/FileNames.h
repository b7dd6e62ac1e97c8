// Toolbox strings and the UTF-8 of Linux names and paths. Conversions go
// through UTF-16, so names outside Mac Roman stay whole.
#pragma once

#include <string>

class VString;

std::string ToUtf8(const VString& text);
// Replaces the text; a string too short for it keeps what fits.
void FromUtf8(const std::string& utf8, VString& text);
