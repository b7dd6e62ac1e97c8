// Exports of toolbox strings as zero-terminated and raw text. Every export
// stops at the end of its destination.
#include <cstring>

#include "toolbox/foundation/VString.h"
#include "toolbox/foundation/VText.h"

namespace {

VIntlMgr* DefaultIntl() { return gDefaultIntl != nullptr ? gDefaultIntl : InitDefaultIntlManager(); }

// Converts the string's text into the other 8-bit set (UTF-16 text into
// either) from dest up to end; answers where the output stopped.
uint8_t* ConvertBytes(const VString& text, const void* chars, CharSet set, uint8_t* dest, const uint8_t* end,
                      VIntlMgr* mgr)
{
    const int32_t length = text.GetLength();
    uint8_t* dst = dest;
    if (text.IsUnicode()) {
        if (mgr == nullptr) mgr = DefaultIntl();
        const auto* src = static_cast<const char16_t*>(chars);
        if (set == kCharSetMac)
            mgr->Uni2Mac(src, dst, end, length);
        else
            mgr->Uni2Ansi(src, dst, end, length);
    } else {
        const auto* src = static_cast<const uint8_t*>(chars);
        if (set == kCharSetMac)
            vAnsi2Mac(src, dst, end, length);
        else
            vMac2Ansi(src, dst, end, length);
    }
    return dst;
}

}  // namespace

void VString::ToCString(uint8_t* dest, int32_t size, CharSet set, VIntlMgr* mgr) const
{
    if (dest == nullptr || size <= 0) return;
    if (set == kCharSetOwn) set = IsUnicode() ? kCharSetMac : GetCharSet();
    if (set != kCharSetMac) set = kCharSetAnsi;
    const int32_t length = GetLength();
    const void* chars = LockAndGetCPointer();
    uint8_t* end;
    if (!IsUnicode() && set == GetCharSet()) {
        const int32_t n = length < size - 1 ? length : size - 1;
        std::memcpy(dest, chars, size_t(n));
        end = dest + n;
    } else {
        end = ConvertBytes(*this, chars, set, dest, dest + size - 1, mgr);
    }
    *end = 0;
    Unlock();
}

int32_t VString::ToBlock(uint8_t* dest, int32_t, int32_t max, CharSet set) const
{
    if (dest == nullptr || max <= 0) return 0;
    if (set == kCharSetOwn) set = GetCharSet();
    const int32_t length = GetLength();
    if (set == kCharSetUtf8 && !IsUnicode()) {
        const VText units(*this);
        return units.ToBlock(dest, 0, max, kCharSetUtf8);
    }
    const void* chars = LockAndGetCPointer();
    int32_t written = 0;
    if (set == GetCharSet()) {
        // max counts bytes, so a UTF-16 copy holds max / 2 units.
        const int32_t size = GetCharSize();
        const int32_t n = length < max / size ? length : max / size;
        std::memcpy(dest, chars, size_t(n) * size_t(size));
        written = n * size;
    } else if (set == kCharSetUtf8) {
        int32_t consumed = 0;
        DefaultIntl()->UTF16ToUTF8(static_cast<const char16_t*>(chars), length, consumed, dest, max, written);
    } else if (set == kCharSetMac || set == kCharSetAnsi) {
        written = int32_t(ConvertBytes(*this, chars, set, dest, dest + max, nullptr) - dest);
    }
    Unlock();
    return written;
}

void VString::ToUniCString(char16_t* dest, int32_t size) const
{
    if (dest == nullptr || size <= 0) return;
    const int32_t length = GetLength();
    const void* chars = LockAndGetCPointer();
    char16_t* dst = dest;
    if (IsUnicode()) {
        const int32_t n = length < size - 1 ? length : size - 1;
        std::memcpy(dest, chars, size_t(n) * 2);
        dst = dest + n;
    } else {
        const auto* src = static_cast<const uint8_t*>(chars);
        if (IsMac())
            DefaultIntl()->Mac2Uni(src, dst, dest + size - 1, length);
        else
            DefaultIntl()->Ansi2Uni(src, dst, dest + size - 1, length);
    }
    *dst = 0;
    Unlock();
}
