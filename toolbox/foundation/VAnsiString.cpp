#include "toolbox/foundation/VAnsiString.h"

VAnsiString::~VAnsiString() = default;
CharSet VAnsiString::GetCharSet() const { return kCharSetAnsi; }

VAnsiStrInMem::VAnsiStrInMem(uint8_t* buffer, int32_t maxLength) : fBuffer(buffer)
{
    fMaxLength = maxLength < 0 ? 0 : (maxLength > 255 ? 255 : maxLength);
    ByteBuffer::Clear(fBuffer);
}

VAnsiStrInMem::~VAnsiStrInMem() = default;

VValue* VAnsiStrInMem::Clone() const { return new VAnsiStrInMem(*this); }
bool VAnsiStrInMem::IsInHandle() const { return false; }
StringKind VAnsiStrInMem::GetStringKind() const { return kStringAnsiInMem; }
void VAnsiStrInMem::ClearString(uint8_t) { ByteBuffer::Clear(fBuffer); }
int32_t VAnsiStrInMem::GetLength() const { return fBuffer[0]; }
void VAnsiStrInMem::AdjustCString() { fBuffer[1 + fBuffer[0]] = 0; }
void* VAnsiStrInMem::LockAndGetCPointer() const { return fBuffer + 1; }
bool VAnsiStrInMem::SetLength(int32_t length) { return ByteBuffer::SetLength(fBuffer, fMaxLength, length); }

namespace {
// The handle of an emptied string with release.
constexpr uint32_t kReleasedBytes = 1;
}  // namespace

VAnsiText::VAnsiText() : fText(1, kReleasedBytes)
{
    fMaxLength = 0x7FFFFFFF;
    SetNull(false);
}

VAnsiText::VAnsiText(const VAnsiText& source) : VAnsiString(source), fText(source.fText)
{
    fMaxLength = 0x7FFFFFFF;
}

VAnsiText::VAnsiText(const VString& source) : fText(1, 1)
{
    fMaxLength = 0x7FFFFFFF;
    FromVString(source);
}

VAnsiText& VAnsiText::operator=(const VAnsiText& source)
{
    if (this != &source) {
        fText = source.fText;
        fIsNull = source.fIsNull;
    }
    return *this;
}

VAnsiText::~VAnsiText() = default;

VValue* VAnsiText::Clone() const
{
    auto* copy = new VAnsiText(*this);
    if (copy != nullptr) copy->SetNull(false);
    return copy;
}

bool VAnsiText::IsInHandle() const { return true; }
StringKind VAnsiText::GetStringKind() const { return kStringAnsiText; }
void VAnsiText::ClearString(uint8_t release) { fText.Clear(release != 0, kReleasedBytes); }
int32_t VAnsiText::GetLength() const { return fText.GetLength(); }
void VAnsiText::AdjustCString() { fText.Terminate(); }
void* VAnsiText::LockAndGetCPointer() const { return fText.Lock(); }
void VAnsiText::Unlock() const { fText.Unlock(); }
bool VAnsiText::SetLength(int32_t length) { return length <= fMaxLength && fText.SetLength(length); }
