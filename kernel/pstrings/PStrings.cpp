#include "kernel/pstrings/PStrings.h"

#include <cstring>

namespace {

constexpr int kMaxLength = 255;

}  // namespace

uint8_t _pstrlength(ConstStr255Param s) { return s[0]; }

StringPtr _pstrcopy(StringPtr dst, ConstStr255Param src, int16_t start, int16_t count)
{
    // The length byte must tell what was copied: a count outside 0..255
    // is cut to that range.
    if (count < 0) count = 0;
    if (count > kMaxLength) count = kMaxLength;
    dst[0] = uint8_t(count);
    if (count > 0) std::memmove(dst + 1, src + start, size_t(count));
    return dst + 1 + count;
}

void _PStrCopy(ConstStr255Param src, StringPtr dst, int16_t dstSize)
{
    if (dstSize < 1) return;
    int n = src[0];
    if (n > dstSize - 1) n = dstSize - 1;
    std::memmove(dst + 1, src + 1, size_t(n));
    dst[0] = uint8_t(n);
}

void _pstrinsert(ConstStr255Param ins, StringPtr dst, int16_t pos)
{
    Str255 saved;
    if (ins == dst) {  // inserting a string into itself: keep the original
        std::memcpy(saved, ins, size_t(ins[0]) + 1);
        ins = saved;
    }
    const int len = dst[0];
    int n = ins[0];
    if (n + len > kMaxLength) n = kMaxLength - len;
    if (n <= 0) return;
    if (pos < 1) pos = 1;
    if (pos > len + 1) pos = int16_t(len + 1);
    std::memmove(dst + pos + n, dst + pos, size_t(len + 1 - pos));
    std::memmove(dst + pos, ins + 1, size_t(n));
    dst[0] = uint8_t(len + n);
}

void _pstrdelete(StringPtr s, int16_t pos, int16_t count)
{
    const int len = s[0];
    if (pos < 1 || pos > len || count <= 0) return;
    if (count > len + 1 - pos) count = int16_t(len + 1 - pos);
    std::memmove(s + pos, s + pos + count, size_t(len + 1 - pos - count));
    s[0] = uint8_t(len - count);
}

int16_t _pstrcmp(ConstStr255Param a, ConstStr255Param b)
{
    const int common = a[0] < b[0] ? a[0] : b[0];
    for (int i = 1; i <= common; ++i)
        if (a[i] != b[i]) return int16_t(int(a[i]) - int(b[i]));
    return int16_t(int(a[0]) - int(b[0]));
}

// Cases by aliasing: d is a (append b), d is neither (copy a then b), d is
// only b (insert a in front). In the first two the tail of b is cut at the
// limit; in the third b stays whole and a is cut.
void pstrconcat(StringPtr d, ConstStr255Param a, ConstStr255Param b)
{
    if (d != a && d == b) {
        _pstrinsert(a, d, 1);
        return;
    }
    const int la = a[0];
    int lb = b[0];
    if (la + lb > kMaxLength) lb = kMaxLength - la;
    if (d != a) std::memmove(d + 1, a + 1, size_t(la));
    std::memmove(d + 1 + la, b + 1, size_t(lb));
    d[0] = uint8_t(la + lb);
}

void pstrconcat3(StringPtr d, ConstStr255Param a, ConstStr255Param b, ConstStr255Param c)
{
    Str255 saved;
    if (d == c) {
        std::memcpy(saved, c, size_t(c[0]) + 1);
        c = saved;
    }
    pstrconcat(d, a, b);
    pstrconcat(d, d, c);
}

void pstrconcat4(StringPtr d, ConstStr255Param a, ConstStr255Param b, ConstStr255Param c,
                 ConstStr255Param e)
{
    Str255 saved;
    if (d == e) {
        std::memcpy(saved, e, size_t(e[0]) + 1);
        e = saved;
    }
    pstrconcat3(d, a, b, c);
    pstrconcat(d, d, e);
}

void pstrconcat5(StringPtr d, ConstStr255Param a, ConstStr255Param b, ConstStr255Param c,
                 ConstStr255Param e, ConstStr255Param f)
{
    Str255 saved;
    if (d == f) {
        std::memcpy(saved, f, size_t(f[0]) + 1);
        f = saved;
    }
    pstrconcat4(d, a, b, c, e);
    pstrconcat(d, d, f);
}

void pstrconcat8(StringPtr d, ConstStr255Param s1, ConstStr255Param s2, ConstStr255Param s3,
                 ConstStr255Param s4, ConstStr255Param s5, ConstStr255Param s6,
                 ConstStr255Param s7, ConstStr255Param s8)
{
    Str255 firstHalf;
    pstrconcat4(firstHalf, s1, s2, s3, s4);
    pstrconcat4(d, s5, s6, s7, s8);
    pstrconcat(d, firstHalf, d);
}

int16_t _pstrpos(ConstStr255Param pattern, ConstStr255Param text)
{
    const int lp = pattern[0];
    const int lt = text[0];
    for (int start = 1; start <= lt - lp + 1; ++start)
        if (std::memcmp(text + start, pattern + 1, size_t(lp)) == 0) return int16_t(start);
    return 0;
}

void p2cCopy(StringPtr dst, int16_t dstSize, ConstStr255Param src, int16_t start, int16_t count)
{
    if (dstSize < 1) return;
    int n = count;
    if (start < 1) start = 1;
    if (n > src[0] - start + 1) n = src[0] - start + 1;
    if (n > dstSize - 1) n = dstSize - 1;
    if (n < 0) n = 0;
    std::memmove(dst + 1, src + start, size_t(n));
    dst[0] = uint8_t(n);
}

void p2cConcat(StringPtr dst, int16_t dstSize, std::initializer_list<P2CItem> items)
{
    if (dstSize < 1) return;
    bool aliased = false;
    for (const P2CItem& item : items)
        if (item.IsString() && item.String() == dst) aliased = true;

    Str255 temp;
    StringPtr out = aliased ? temp : dst;
    const int room = (aliased || dstSize > 256 ? 256 : dstSize) - 1;
    int len = 0;
    for (const P2CItem& item : items) {
        if (len >= room) break;
        if (!item.IsString()) {
            out[1 + len++] = item.Char();
            continue;
        }
        int n = item.String()[0];
        if (n > room - len) n = room - len;
        std::memmove(out + 1 + len, item.String() + 1, size_t(n));
        len += n;
    }
    out[0] = uint8_t(len);
    if (aliased) p2cCopy(dst, dstSize, temp, 1, int16_t(len));
}

void P2CString(unsigned char* buffer)
{
    const int len = buffer[0];
    std::memmove(buffer, buffer + 1, size_t(len));
    buffer[len] = 0;
}

StringPtr C2PString(char* buffer)
{
    if (!buffer) return nullptr;
    size_t len = std::strlen(buffer);
    if (len > kMaxLength) len = kMaxLength;
    std::memmove(buffer + 1, buffer, len);
    auto* s = reinterpret_cast<StringPtr>(buffer);
    s[0] = uint8_t(len);
    return s;
}

namespace {

int32_t ClampLength(int32_t count)
{
    if (count < 0) return 0;
    return count > kMaxLength ? kMaxLength : count;
}

}  // namespace

void CToPStr(const void* src, int32_t count, StringPtr dst)
{
    count = ClampLength(count);
    std::memmove(dst + 1, src, size_t(count));
    dst[0] = uint8_t(count);
}

const unsigned char* str2ptr(ConstStr255Param s, void* dst)
{
    std::memmove(dst, s + 1, s[0]);
    return s + 1 + s[0];
}

void ptr2str(const void* src, StringPtr dst, int32_t count)
{
    count = ClampLength(count);
    std::memmove(dst + 1, src, size_t(count));
    dst[0] = uint8_t(count);
}
