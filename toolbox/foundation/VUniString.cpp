#include "toolbox/foundation/VUniString.h"

#include "toolbox/foundation/VMemoryMgr.h"

VUniString::~VUniString() = default;

CharSet VUniString::GetCharSet() const { return kCharSetUnicode; }
int32_t VUniString::GetCharSize() const { return 2; }

void VUniString::FromUniBlock(const char16_t* src, int32_t start, int32_t count, VIntlMgr*)
{
    ClearString(false);
    if (src != nullptr && start >= 0) AppendOwnUnits(src + start, count);
}

void VUniString::FromBlock(const uint8_t* src, int32_t start, int32_t count, CharSet set, VIntlMgr* mgr)
{
    if (set == kCharSetOwn || set == kCharSetUnicode || src == nullptr || start < 0 || count < 0) return;
    if (mgr == nullptr) mgr = GetIntlMgr();
    if (mgr == nullptr) mgr = gDefaultIntl != nullptr ? gDefaultIntl : InitDefaultIntlManager();
    // One byte never gives more than one unit.
    char16_t stack[492];
    char* block = nullptr;
    char16_t* out = stack;
    if (count >= 492) {
        block = gMemory->NewPtr((count + 20) * 2);
        if (block == nullptr) return;
        out = reinterpret_cast<char16_t*>(block);
    }
    const uint8_t* from = src + start;
    char16_t* to = out;
    bool done;
    if (set == kCharSetMac) {
        done = mgr->Mac2Uni(from, to, out + count, count);
    } else if (set == kCharSetUtf8) {
        int32_t consumed = 0;
        int32_t produced = 0;
        done = InitDefaultIntlManager()->UTF8ToUTF16(from, count, consumed, out, count, produced);
        to = out + produced;
    } else {
        done = mgr->Ansi2Uni(from, to, out + count, count);
    }
    if (done) {
        SetNull(false);
        ClearString(false);
        AppendOwnUnits(out, static_cast<int32_t>(to - out));
    }
    if (block != nullptr) gMemory->DisposePtr(block);
}

char16_t VUniString::GetChar(int32_t index) const
{
    if (index < 1 || index > GetLength()) return 0;
    const char16_t ch = static_cast<const char16_t*>(LockAndGetCPointer())[index - 1];
    Unlock();
    return ch;
}

void VUniString::SetChar(int32_t index, char16_t ch)
{
    if (index < 1 || index > GetLength()) return;
    static_cast<char16_t*>(LockAndGetCPointer())[index - 1] = ch;
    Unlock();
}
