// Length-prefixed strings (a length byte, then up to 255 bytes of text) and
// their conversion to and from zero-terminated text. Positions are 1-based:
// the first character is at index 1, the length byte at index 0.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/core/MacTypes.h"

using platform::ConstStr255Param;
using platform::Str255;
using platform::StringPtr;

// The string's length byte.
uint8_t _pstrlength(ConstStr255Param s);

// Writes count as dst's length byte, then copies count bytes from src[start]
// onward; a count outside 0..255 is cut to that range. The caller keeps the
// count inside src. Returns the address just past the last byte written.
StringPtr _pstrcopy(StringPtr dst, ConstStr255Param src, int16_t start, int16_t count);

// Copies src into a buffer of dstSize bytes, cut so that it always fits;
// dstSize < 1 leaves dst untouched.
void _PStrCopy(ConstStr255Param src, StringPtr dst, int16_t dstSize);

// Inserts the whole of ins before dst[pos], keeping at most 255 characters
// (only the first 255 - length(dst) characters of ins go in).
void _pstrinsert(ConstStr255Param ins, StringPtr dst, int16_t pos);

// Removes count characters from pos; a count past the end stops at the end.
void _pstrdelete(StringPtr s, int16_t pos, int16_t count);

// Byte-wise comparison of the common part, then by length: negative when a
// sorts first, positive when b does, 0 when equal.
int16_t _pstrcmp(ConstStr255Param a, ConstStr255Param b);

// d <- a + b, at most 255 characters. d may be a, b or both (see the .cpp for
// which part is cut at the limit).
void pstrconcat(StringPtr d, ConstStr255Param a, ConstStr255Param b);
void pstrconcat3(StringPtr d, ConstStr255Param a, ConstStr255Param b, ConstStr255Param c);
void pstrconcat4(StringPtr d, ConstStr255Param a, ConstStr255Param b, ConstStr255Param c,
                 ConstStr255Param e);
void pstrconcat5(StringPtr d, ConstStr255Param a, ConstStr255Param b, ConstStr255Param c,
                 ConstStr255Param e, ConstStr255Param f);
void pstrconcat8(StringPtr d, ConstStr255Param s1, ConstStr255Param s2, ConstStr255Param s3,
                 ConstStr255Param s4, ConstStr255Param s5, ConstStr255Param s6,
                 ConstStr255Param s7, ConstStr255Param s8);

// 1-based position of the first occurrence of pattern in text, 0 when none;
// an empty pattern is found at 1.
int16_t _pstrpos(ConstStr255Param pattern, ConstStr255Param text);

// Copies min(count, length(src) - start + 1, dstSize - 1) characters from
// src[start] into dst and sets its length byte to that number.
void p2cCopy(StringPtr dst, int16_t dstSize, ConstStr255Param src, int16_t start, int16_t count);

// One item of p2cConcat: a single character or a length-prefixed string.
class P2CItem {
public:
    P2CItem(char c) : str_(nullptr), ch_(uint8_t(c)) {}
    P2CItem(unsigned char c) : str_(nullptr), ch_(c) {}
    P2CItem(ConstStr255Param s) : str_(s), ch_(0) {}
    P2CItem(StringPtr s) : str_(s), ch_(0) {}

    bool IsString() const { return str_ != nullptr; }
    ConstStr255Param String() const { return str_; }
    uint8_t Char() const { return ch_; }

private:
    ConstStr255Param str_;
    uint8_t ch_;
};

// dst <- the items in order, cut to dstSize - 1 characters (never more than
// 255). dst may itself be one of the items.
void p2cConcat(StringPtr dst, int16_t dstSize, std::initializer_list<P2CItem> items);

// Zero-terminated text <-> length-prefixed string, in place.
void P2CString(unsigned char* buffer);
// Texts longer than 255 characters are cut to 255. A null buffer gives null.
StringPtr C2PString(char* buffer);

// Copies count bytes (at most 255) to dst[1..], overlap-safe, and sets the
// length byte.
void CToPStr(const void* src, int32_t count, StringPtr dst);
// Copies the characters of s, without length byte or terminator, to dst;
// returns the address just past the source characters.
const unsigned char* str2ptr(ConstStr255Param s, void* dst);
// Sets dst's length byte to count (at most 255) and copies that many bytes.
void ptr2str(const void* src, StringPtr dst, int32_t count);
