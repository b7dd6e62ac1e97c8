#include "toolbox/foundation/VPtrStream.h"

#include "toolbox/foundation/BlockReads.h"

#include <cstring>

VPtrStream::VPtrStream(char* data, int32_t size)
    : fData(data), fSize(data && size > 0 ? uint32_t(size) : 0)
{
}

int16_t VPtrStream::OpenReading()
{
    if (fOpen) return kStreamAlreadyOpen;
    fOpen = 1;
    fPos = 0;
    fError = 0;
    return fError;
}

int16_t VPtrStream::CloseReading()
{
    if (!fOpen) return fError;
    // Closes whatever stopped the last transfer; a state error is reported.
    const int16_t before = fError;
    fOpen = 0;
    fError = kStreamNotOpen;
    return before > kStreamEndOfData ? before : 0;
}

int16_t VPtrStream::GetData(void* buffer, uint32_t* length)
{
    if (fError >= 1) {
        *length = 0;
        return fError;
    }
    fError = ReadFromBlock(fData, fSize, fPos, buffer, length);
    return fError;
}

int32_t VPtrStream::GetPos()
{
    if (!fOpen || fError > kStreamEndOfData) return -1;
    return int32_t(fPos);
}

int16_t VPtrStream::SetPos(uint32_t pos)
{
    if (fError < kStreamNotOpen) {
        fError = 0;
        fPos = pos;
        if (fPos > fSize) fError = kStreamEndOfData;
    }
    return fError;
}

int16_t VPtrStream::SetPosByOffset(uint32_t offset) { return SetPos(fPos + offset); }

uint32_t VPtrStream::Find(const void* value, uint32_t size)
{
    if (fError != 0) return 0;
    return FindInBlock(fData, fSize, fPos, value, size);
}

uint32_t VPtrStream::FindByte(char value) { return Find(&value, 1); }
uint32_t VPtrStream::FindWord(int16_t value) { return Find(&value, 2); }
uint32_t VPtrStream::FindLong(int32_t value) { return Find(&value, 4); }
