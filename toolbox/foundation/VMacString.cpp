#include "toolbox/foundation/VMacString.h"

VMacString::~VMacString() = default;
CharSet VMacString::GetCharSet() const { return kCharSetMac; }

VMacStrInMem::VMacStrInMem(uint8_t* buffer, int32_t maxLength) : fBuffer(buffer)
{
    fMaxLength = maxLength < 0 ? 0 : (maxLength > 255 ? 255 : maxLength);
    ByteBuffer::Clear(fBuffer);
}

VMacStrInMem::~VMacStrInMem() = default;

VValue* VMacStrInMem::Clone() const { return new VMacStrInMem(*this); }
bool VMacStrInMem::IsInHandle() const { return false; }
StringKind VMacStrInMem::GetStringKind() const { return kStringMacInMem; }
void VMacStrInMem::ClearString(uint8_t) { ByteBuffer::Clear(fBuffer); }
int32_t VMacStrInMem::GetLength() const { return fBuffer[0]; }
void VMacStrInMem::AdjustCString() { fBuffer[1 + fBuffer[0]] = 0; }
void* VMacStrInMem::LockAndGetCPointer() const { return fBuffer + 1; }
bool VMacStrInMem::SetLength(int32_t length) { return ByteBuffer::SetLength(fBuffer, fMaxLength, length); }

namespace {
// The handle of an emptied string with release.
constexpr uint32_t kReleasedBytes = 2;
}  // namespace

VMacText::VMacText() : fText(1, kReleasedBytes)
{
    fMaxLength = 0x7FFFFFFF;
    SetNull(false);
}

VMacText::VMacText(const VMacText& source) : VMacString(source), fText(source.fText)
{
    fMaxLength = 0x7FFFFFFF;
}

VMacText::VMacText(const VString& source) : fText(1, 1)
{
    fMaxLength = 0x7FFFFFFF;
    FromVString(source);
}

VMacText& VMacText::operator=(const VMacText& source)
{
    if (this != &source) {
        fText = source.fText;
        fIsNull = source.fIsNull;
    }
    return *this;
}

VMacText::~VMacText() = default;

VValue* VMacText::Clone() const
{
    auto* copy = new VMacText(*this);
    if (copy != nullptr) copy->SetNull(false);
    return copy;
}

bool VMacText::IsInHandle() const { return true; }
StringKind VMacText::GetStringKind() const { return kStringMacText; }
void VMacText::ClearString(uint8_t release) { fText.Clear(release != 0, kReleasedBytes); }
int32_t VMacText::GetLength() const { return fText.GetLength(); }
void VMacText::AdjustCString() { fText.Terminate(); }
void* VMacText::LockAndGetCPointer() const { return fText.Lock(); }
void VMacText::Unlock() const { fText.Unlock(); }
bool VMacText::SetLength(int32_t length) { return length <= fMaxLength && fText.SetLength(length); }
