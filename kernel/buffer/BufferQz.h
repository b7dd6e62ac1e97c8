// The serialisation buffer: a growable block into which records are
// flattened one item after another (no header, tags or padding), and read
// back in the same order. With the swap flag the items are stored
// little-endian and converted on the way in and out. The error is sticky:
// once set, every further add or get does nothing and returns it.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "toolbox/foundation/VObject.h"

struct buffertemp {
    platform::Handle block;  // null when the buffer has none
    int32_t capacity;        // bytes allocated
    int32_t length;          // bytes written; for reading, the block's size
    int32_t readPos;         // offset of the next byte to read
    uint8_t swap;            // items are stored in the other byte order
    uint8_t allocation;      // 1: nouvhandle/sethsize, 0: nouv2handle/set2hsize
    int16_t error;           // sticky
};

// Reading past the end of the written bytes.
constexpr int16_t kBufferOverrunErr = -1;
constexpr int32_t kBufferBlockSize = 4096;

// 0, or -1 when no block was made (the error then holds the memory error).
int16_t InitBufTempForWrite(buffertemp* b, uint8_t swap, uint8_t allocation);
// The handle stays the caller's. Returns the length.
int32_t InitBufTempForRead(buffertemp* b, uint8_t swap, platform::Handle h);

int16_t AddToBuff(buffertemp* b, const void* data, int32_t count);
int16_t AddStrToBuff(buffertemp* b, const unsigned char* s);
int16_t AddShortToBuff(buffertemp* b, int16_t value);
int16_t AddLongToBuff(buffertemp* b, int32_t value);
// Appends count bytes of a host-order record and, with the swap flag,
// converts the copy by the template; an overrun is sticky (-193).
int16_t AddStructToBuff(buffertemp* b, const void* data, int32_t count, int32_t templ);

int16_t GetFromBuf(buffertemp* b, void* dst, int32_t count);
// The destination is untouched unless the whole string was read.
int16_t GetStrFromBuf(buffertemp* b, unsigned char* dst);
// 0 when the read failed; *err receives the buffer's error.
int16_t GetShortFromBuf(buffertemp* b, int16_t* err);
int32_t GetLongFromBuf(buffertemp* b, int16_t* err);
// Reads count bytes and, with the swap flag, converts them to host order
// by the template; an overrun is sticky (-193).
int16_t GetStructFromBuf(buffertemp* b, void* dst, int32_t count, int32_t templ);

// Shrinks the block to the length and returns it; the buffer still refers
// to it. Null without a block.
platform::Handle GetBuffHandle(buffertemp* b);
// Frees the block; the flags and the error stay.
void KillBuff(buffertemp* b);

// A reading buffer as an object; the handle stays the caller's.
class CReadBufferHandle : public VObject {
public:
    CReadBufferHandle(platform::Handle h, uint8_t swap);

    int16_t ReadShort();
    int32_t ReadLong();
    bool IsEOF() const;
    // The count when the bytes were read, else 0.
    int32_t Read(void* dst, int32_t count);
    int16_t GetError() const { return fBuffer.error; }

private:
    buffertemp fBuffer;
};
