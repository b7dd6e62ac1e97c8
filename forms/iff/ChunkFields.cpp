#include "forms/iff/ChunkFields.h"

#include <cstring>

#include "platform/core/Endian.h"

bool ChunkReader::Keep(IFFP result)
{
    if (result != IFF_OKAY && error_ == IFF_OKAY) error_ = result;
    return error_ == IFF_OKAY;
}

const uint8_t* ChunkReader::Take(int32_t count)
{
    if (!Ok()) return nullptr;
    IOFile* file = c_->file;
    // Fields are read where they lie: a copy for each of them would cost
    // more than the reading.
    if (count < 0 || count > ChunkMoreBytes(c_)) {
        Keep(count < 0 ? CLIENT_ERROR : SHORT_CHUNK);
        return nullptr;
    }
    if (!file || file->fileRef != 0 || !file->handle) {
        Keep(DOS_ERROR);
        return nullptr;
    }
    if (int64_t(file->mark) + count > file->logicalEnd) {
        Keep(BAD_IFF);
        return nullptr;
    }
    const auto* at = reinterpret_cast<const uint8_t*>(*file->handle) + file->base + file->mark;
    file->mark += count;
    c_->position += count;
    c_->bytesSoFar += count;
    return at;
}

bool ChunkReader::Bytes(void* buffer, int32_t count) { return Ok() && Keep(IFFReadBytes(c_, buffer, count)); }

bool ChunkReader::U8(uint8_t* v)
{
    const uint8_t* b = Take(1);
    if (b) *v = b[0];
    return b != nullptr;
}

bool ChunkReader::U16(uint16_t* v)
{
    const uint8_t* b = Take(2);
    if (b) *v = c_->byteReversed ? platform::ReadLE16(b) : platform::ReadBE16(b);
    return b != nullptr;
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
    const uint8_t* b = Take(4);
    if (b) *v = c_->byteReversed ? platform::ReadLE32(b) : platform::ReadBE32(b);
    return b != nullptr;
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
    return Take(count) != nullptr;
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

void ChunkWriter::Flush()
{
    if (count_ > 0 && error_ == IFF_OKAY) error_ = IFFWriteBytes(c_, held_, count_);
    count_ = 0;
}

void ChunkWriter::Bytes(const void* data, int32_t count)
{
    if (error_ != IFF_OKAY) return;
    if (count < 0 || count > int32_t(sizeof held_) - count_) {
        Flush();
        if (error_ == IFF_OKAY) error_ = IFFWriteBytes(c_, data, count);
        return;
    }
    std::memcpy(held_ + count_, data, size_t(count));
    count_ += count;
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
    Flush();
    if (error_ == IFF_OKAY) error_ = PutCkHdr(c_, id, kSizeUnknown);
}

void ChunkWriter::End()
{
    Flush();
    if (error_ == IFF_OKAY) error_ = PutCkEnd(c_);
}
