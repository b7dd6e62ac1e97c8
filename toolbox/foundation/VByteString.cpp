#include "toolbox/foundation/VByteString.h"

#include "toolbox/foundation/VMemoryMgr.h"
#include "toolbox/foundation/VText.h"

namespace {
VIntlMgr* DefaultIntl() { return gDefaultIntl != nullptr ? gDefaultIntl : InitDefaultIntlManager(); }
}  // namespace

VByteString::~VByteString() = default;

int32_t VByteString::GetCharSize() const { return 1; }

void VByteString::FromUniBlock(const char16_t* src, int32_t start, int32_t count, VIntlMgr* mgr)
{
    if (src == nullptr || start < 0 || count < 0) return;
    if (mgr == nullptr) mgr = GetIntlMgr();
    if (mgr == nullptr) mgr = DefaultIntl();
    // A character may give two bytes (CR LF in the Windows set).
    uint8_t stack[1004];
    char* block = nullptr;
    uint8_t* out = stack;
    const int64_t room = 2 * static_cast<int64_t>(count);
    if (room >= 1004) {
        if (room + 20 > 0x7FFFFFFF) return;
        block = gMemory->NewPtr(static_cast<int32_t>(room + 20));
        if (block == nullptr) return;
        out = reinterpret_cast<uint8_t*>(block);
    }
    const char16_t* from = src + start;
    uint8_t* to = out;
    const bool done = IsMac() ? mgr->Uni2Mac(from, to, out + room, count) : mgr->Uni2Ansi(from, to, out + room, count);
    if (done) {
        ClearString(false);
        AppendOwnUnits(out, static_cast<int32_t>(to - out));
    }
    if (block != nullptr) gMemory->DisposePtr(block);
}

void VByteString::FromBlock(const uint8_t* src, int32_t start, int32_t count, CharSet set, VIntlMgr*)
{
    if (src == nullptr || start < 0 || count < 0) return;
    if (set == kCharSetOwn || set == GetCharSet()) {
        ClearString(false);
        AppendOwnUnits(src + start, count);
        return;
    }
    if (set == kCharSetUtf8) {
        VText text;
        text.FromBlock(src, start, count, kCharSetUtf8);
        FromString(text);
        return;
    }
    uint8_t stack[1004];
    char* block = nullptr;
    uint8_t* out = stack;
    if (count >= 1004) {
        block = gMemory->NewPtr(count + 20);
        if (block == nullptr) return;
        out = reinterpret_cast<uint8_t*>(block);
    }
    const uint8_t* from = src + start;
    uint8_t* to = out;
    const bool done = IsMac() ? vAnsi2Mac(from, to, out + count, count) : vMac2Ansi(from, to, out + count, count);
    if (done) {
        SetNull(false);
        ClearString(false);
        AppendOwnUnits(out, static_cast<int32_t>(to - out));
    }
    if (block != nullptr) gMemory->DisposePtr(block);
}

char16_t VByteString::GetChar(int32_t index) const
{
    if (index < 1 || index > GetLength()) return 0;
    const uint8_t byte = static_cast<const uint8_t*>(LockAndGetCPointer())[index - 1];
    Unlock();
    const uint8_t* from = &byte;
    char16_t ch = 0;
    char16_t* to = &ch;
    const bool done = IsMac() ? DefaultIntl()->Mac2Uni(from, to, &ch + 1, 1) : DefaultIntl()->Ansi2Uni(from, to, &ch + 1, 1);
    return done ? ch : 0;
}

void VByteString::SetChar(int32_t index, char16_t ch)
{
    if (index < 1 || index > GetLength()) return;
    const char16_t* from = &ch;
    uint8_t byte = 0;
    uint8_t* to = &byte;
    const bool done = IsMac() ? DefaultIntl()->Uni2Mac(from, to, &byte + 1, 1) : DefaultIntl()->Uni2Ansi(from, to, &byte + 1, 1);
    if (!done || to == &byte) return;
    static_cast<uint8_t*>(LockAndGetCPointer())[index - 1] = byte;
    Unlock();
}
