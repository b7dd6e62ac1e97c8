#include "kernel/buffer/BufferQz.h"

#include <cstring>

#include "kernel/byteswap/SwapTemplates.h"
#include "kernel/handles/KernelHandles.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"

using platform::Handle;

int16_t InitBufTempForWrite(buffertemp* b, uint8_t swap, uint8_t allocation)
{
    b->swap = swap;
    b->allocation = allocation;
    b->block = allocation ? nouvhandle(kBufferBlockSize) : nouv2handle(kBufferBlockSize);
    b->capacity = b->block ? kBufferBlockSize : 0;
    b->length = 0;
    b->readPos = 0;
    b->error = erreure;
    if (b->block) return 0;
    if (b->error == 0) b->error = platform::memFullErr;
    return -1;
}

int32_t InitBufTempForRead(buffertemp* b, uint8_t swap, Handle h)
{
    b->block = h;
    b->length = h ? platform::GetHandleSize(h) : 0;
    if (b->length < 0) b->length = 0;
    b->capacity = b->length;
    b->readPos = 0;
    b->swap = swap;
    b->allocation = 1;
    b->error = 0;
    return b->length;
}

int16_t AddToBuff(buffertemp* b, const void* data, int32_t count)
{
    if (b->error) return b->error;
    if (!b->block || count <= 0) return 0;
    if (int64_t(b->length) + count > b->capacity) {
        // count + 2 x capacity, rounded up to whole blocks
        const int64_t grown = (int64_t(count) + 2 * int64_t(b->capacity) + kBufferBlockSize - 1) /
                              kBufferBlockSize * kBufferBlockSize;
        if (grown > INT32_MAX) {
            b->error = platform::memFullErr;
            return b->error;
        }
        const int16_t err = b->allocation ? sethsize(b->block, int32_t(grown))
                                          : set2hsize(b->block, int32_t(grown));
        if (err) {
            b->error = err;
            return err;
        }
        b->capacity = int32_t(grown);
    }
    std::memcpy(*b->block + b->length, data, size_t(count));
    b->length += count;
    return 0;
}

int16_t AddStrToBuff(buffertemp* b, const unsigned char* s) { return AddToBuff(b, s, 1 + s[0]); }

int16_t AddShortToBuff(buffertemp* b, int16_t value)
{
    uint8_t bytes[2];
    platform::WriteBE16(bytes, uint16_t(value));
    if (b->swap) platform::ReverseBytes(bytes, 2);
    return AddToBuff(b, bytes, 2);
}

int16_t AddLongToBuff(buffertemp* b, int32_t value)
{
    uint8_t bytes[4];
    platform::WriteBE32(bytes, uint32_t(value));
    if (b->swap) platform::ReverseBytes(bytes, 4);
    return AddToBuff(b, bytes, 4);
}

int16_t AddStructToBuff(buffertemp* b, const void* data, int32_t count, int32_t templ)
{
    const int32_t start = b->length;
    const int16_t err = AddToBuff(b, data, count);
    if (err || !b->swap || !b->block || count <= 0) return err;
    if (SwapBytesEnvoi2(templ, *b->block + start, -1, nullptr, count) != 0)
        b->error = int16_t(kSwapOverrunErr);
    return b->error;
}

int16_t GetFromBuf(buffertemp* b, void* dst, int32_t count)
{
    if (b->error) return b->error;
    if (int64_t(b->readPos) + count > b->length) {
        b->error = kBufferOverrunErr;
        return b->error;
    }
    if (count > 0) {
        std::memcpy(dst, *b->block + b->readPos, size_t(count));
        b->readPos += count;
    }
    return 0;
}

int16_t GetStrFromBuf(buffertemp* b, unsigned char* dst)
{
    uint8_t length = 0;
    if (int16_t err = GetFromBuf(b, &length, 1)) return err;
    if (length) {
        if (int16_t err = GetFromBuf(b, dst + 1, length)) return err;
    }
    dst[0] = length;
    return 0;
}

int16_t GetShortFromBuf(buffertemp* b, int16_t* err)
{
    uint8_t bytes[2];
    const int16_t e = GetFromBuf(b, bytes, 2);
    if (err) *err = e;
    if (e) return 0;
    if (b->swap) platform::ReverseBytes(bytes, 2);
    return platform::ReadBES16(bytes);
}

int32_t GetLongFromBuf(buffertemp* b, int16_t* err)
{
    uint8_t bytes[4];
    const int16_t e = GetFromBuf(b, bytes, 4);
    if (err) *err = e;
    if (e) return 0;
    if (b->swap) platform::ReverseBytes(bytes, 4);
    return platform::ReadBES32(bytes);
}

int16_t GetStructFromBuf(buffertemp* b, void* dst, int32_t count, int32_t templ)
{
    const int16_t err = GetFromBuf(b, dst, count);
    if (err || !b->swap || count <= 0) return err;
    if (SwapBytes2(templ, dst, -1, nullptr, count) != 0) b->error = int16_t(kSwapOverrunErr);
    return b->error;
}

Handle GetBuffHandle(buffertemp* b)
{
    if (!b->block) return nullptr;
    sethsize(b->block, b->length);
    b->capacity = b->length;
    return b->block;
}

void KillBuff(buffertemp* b)
{
    if (!b->block) return;
    effhandle(&b->block);
    b->capacity = b->length = b->readPos = 0;
}

CReadBufferHandle::CReadBufferHandle(Handle h, uint8_t swap) { InitBufTempForRead(&fBuffer, swap, h); }

int16_t CReadBufferHandle::ReadShort() { return GetShortFromBuf(&fBuffer, nullptr); }

int32_t CReadBufferHandle::ReadLong() { return GetLongFromBuf(&fBuffer, nullptr); }

bool CReadBufferHandle::IsEOF() const { return fBuffer.readPos >= fBuffer.length; }

int32_t CReadBufferHandle::Read(void* dst, int32_t count)
{
    return GetFromBuf(&fBuffer, dst, count) == 0 ? count : 0;
}
