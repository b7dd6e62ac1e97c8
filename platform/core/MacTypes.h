// Fixed-width types and aliases of the classic platform vocabulary.
// The original was a 32-bit program: its long was 32 bits, short 16.
#pragma once

#include <cstdint>

namespace platform {

using SInt8 = int8_t;
using UInt8 = uint8_t;
using SInt16 = int16_t;
using UInt16 = uint16_t;
using SInt32 = int32_t;
using UInt32 = uint32_t;
using SInt64 = int64_t;
using UInt64 = uint64_t;

using Byte = uint8_t;
using SignedByte = int8_t;
using Boolean = uint8_t;

using OSErr = int16_t;
using OSStatus = int32_t;
using OSType = uint32_t;
using ResType = uint32_t;
using FourCharCode = uint32_t;
using ScriptCode = int16_t;
using LangCode = int16_t;
using Fixed = int32_t;
using Size = int32_t;

using Ptr = char*;
using Handle = char**;

// Length-prefixed strings: a length byte and up to N bytes of Mac Roman text.
using Str255 = unsigned char[256];
using Str63 = unsigned char[64];
using Str32 = unsigned char[33];
using Str31 = unsigned char[32];
using Str27 = unsigned char[28];
using Str15 = unsigned char[16];
using StringPtr = unsigned char*;
using ConstStringPtr = const unsigned char*;
using ConstStr255Param = const unsigned char*;
using StringHandle = unsigned char**;

struct Point {
    int16_t v;
    int16_t h;
};

struct Rect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

struct RGBColor {
    uint16_t red;
    uint16_t green;
    uint16_t blue;
};

constexpr OSErr noErr = 0;

}  // namespace platform
