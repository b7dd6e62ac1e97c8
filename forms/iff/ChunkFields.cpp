#include "forms/iff/ChunkFields.h"

#include "platform/core/Endian.h"

bool ChunkReader::Keep(IFFP result)
{
    if (result != IFF_OKAY && error_ == IFF_OKAY) error_ = result;
    return error_ == IFF_OKAY;
}

bool ChunkReader::Bytes(void* buffer, int32_t count) { return Ok() && Keep(IFFReadBytes(c_, buffer, count)); }

bool ChunkReader::U8(uint8_t* v) { return Bytes(v, 1); }

bool ChunkReader::U16(uint16_t* v)
{
    uint8_t b[2];
    if (!Ok() || !Keep(IFFReadWords(c_, b, 2))) return false;
    *v = platform::ReadBE16(b);
    return true;
}

bool ChunkReader::S16(int16_t* v)
{
    uint16_t u = 0;
    if (!U16(&u)) return false;
    *v = int16_t(u);
    return true;
}

bool ChunkReader::U32(uint32_t* v)
{
    uint8_t b[4];
    if (!Ok() || !Keep(IFFReadLongs(c_, b, 4))) return false;
    *v = platform::ReadBE32(b);
    return true;
}

bool ChunkReader::S32(int32_t* v)
{
    uint32_t u = 0;
    if (!U32(&u)) return false;
    *v = int32_t(u);
    return true;
}

bool ChunkReader::Skip(int32_t count)
{
    if (!Ok()) return false;
    if (count > ChunkMoreBytes(c_)) return Keep(SHORT_CHUNK);
    if (count <= 0) return true;
    if (!Keep(SkipFwd(c_, count))) return false;
    c_->bytesSoFar += count;
    return true;
}

bool ChunkReader::PStr(unsigned char* out, int32_t capacity)
{
    uint8_t length = 0;
    if (!U8(&length)) return false;
    const int32_t kept = length < capacity ? length : capacity;
    if (!Bytes(out + 1, kept) || !Skip(length - kept)) return false;
    out[0] = uint8_t(kept);
    return true;
}

void ChunkWriter::Bytes(const void* data, int32_t count)
{
    if (error_ == IFF_OKAY) error_ = IFFWriteBytes(c_, data, count);
}

void ChunkWriter::U8(uint32_t v)
{
    const uint8_t b = uint8_t(v);
    Bytes(&b, 1);
}

void ChunkWriter::U16(uint32_t v)
{
    uint8_t b[2];
    platform::WriteBE16(b, uint16_t(v));
    Bytes(b, 2);
}

void ChunkWriter::U32(uint32_t v)
{
    uint8_t b[4];
    platform::WriteBE32(b, v);
    Bytes(b, 4);
}

void ChunkWriter::PStr(const unsigned char* text) { Bytes(text, int32_t(text[0]) + 1); }

void ChunkWriter::Begin(IFFP id)
{
    if (error_ == IFF_OKAY) error_ = PutCkHdr(c_, id, kSizeUnknown);
}

void ChunkWriter::End()
{
    if (error_ == IFF_OKAY) error_ = PutCkEnd(c_);
}
