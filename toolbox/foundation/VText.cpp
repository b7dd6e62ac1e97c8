#include "toolbox/foundation/VText.h"

namespace {
constexpr uint32_t kEmptyTextBytes = 4;
}

VText::VText() : fText(2, kEmptyTextBytes) { fMaxLength = 0x7FFFFFFF; }

VText::VText(const VText& source) : VUniString(source), fText(source.fText) { fMaxLength = 0x7FFFFFFF; }

VText::VText(const VString& source) : fText(2, kEmptyTextBytes)
{
    fMaxLength = 0x7FFFFFFF;
    FromVString(source);
}

VText& VText::operator=(const VText& source)
{
    if (this != &source) {
        fText = source.fText;
        fIsNull = source.fIsNull;
    }
    return *this;
}

VText::~VText() = default;

VValue* VText::Clone() const { return new VText(*this); }
bool VText::IsInHandle() const { return true; }
StringKind VText::GetStringKind() const { return kStringUniText; }
void VText::ClearString(uint8_t release) { fText.Clear(release != 0, kEmptyTextBytes); }
int32_t VText::GetLength() const { return fText.GetLength(); }
void VText::AdjustCString() { fText.Terminate(); }
void* VText::LockAndGetCPointer() const { return fText.Lock(); }
void VText::Unlock() const { fText.Unlock(); }
bool VText::SetLength(int32_t length) { return length <= fMaxLength && fText.SetLength(length); }

VTextPath::~VTextPath() = default;

VValue* VTextPath::Clone() const { return new VTextPath(*this); }

bool VTextPath::CheckLastCharForSeparator(bool add)
{
    if (GetChar(GetLength()) == u':') return true;
    if (add) AppendChar(':', kCharSetMac);
    return false;
}
