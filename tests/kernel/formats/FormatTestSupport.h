#pragma once

#include <cstring>
#include <string>

#include "platform/core/MacTypes.h"

// A length-prefixed copy of text.
inline void ToPString(const std::string& text, unsigned char* dest)
{
    dest[0] = static_cast<unsigned char>(text.size());
    std::memcpy(dest + 1, text.data(), text.size());
}

inline std::string FromPString(const unsigned char* s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }
