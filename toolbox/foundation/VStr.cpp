#include "toolbox/foundation/VStr.h"

VStrInMem::VStrInMem(char16_t* buffer, int32_t maxLength) : fBuffer(buffer)
{
    fMaxLength = maxLength < 0 ? 0 : (maxLength > 0xFFFF ? 0xFFFF : maxLength);
    fBuffer[0] = 0;
    fBuffer[1] = 0;
}

VStrInMem::~VStrInMem() = default;

VValue* VStrInMem::Clone() const { return new VStrInMem(*this); }
bool VStrInMem::IsInHandle() const { return false; }
StringKind VStrInMem::GetStringKind() const { return kStringUniInMem; }

void VStrInMem::ClearString(uint8_t)
{
    fBuffer[0] = 0;
    fBuffer[1] = 0;
}

int32_t VStrInMem::GetLength() const { return fBuffer[0]; }
void VStrInMem::AdjustCString() { fBuffer[1 + fBuffer[0]] = 0; }
void* VStrInMem::LockAndGetCPointer() const { return fBuffer + 1; }

bool VStrInMem::SetLength(int32_t length)
{
    if (length < 0 || length > fMaxLength) return false;
    fBuffer[0] = static_cast<char16_t>(length);
    fBuffer[1 + length] = 0;
    return true;
}
