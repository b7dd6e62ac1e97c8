#include "forms/iff/ChunkFields.h"

#include <cstring>

#include "platform/core/Endian.h"

bool ChunkReader::Keep(IFFP result)
{
    if (result != IFF_OKAY && error_ == IFF_OKAY) error_ = result;
    return error_ == IFF_OKAY;
}

const uint8_t* ChunkReader::Refuse(int32_t count)
{
    if (!Ok()) return nullptr;
    IOFile* file = c_->file;
    if (count < 0 || count > ChunkMoreBytes(c_)) Keep(count < 0 ? CLIENT_ERROR : SHORT_CHUNK);
    else if (!file || file->fileRef != 0 || !file->handle) Keep(DOS_ERROR);
    else Keep(BAD_IFF);
    return nullptr;
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
    if (pending_ != 0 && error_ == IFF_OKAY) error_ = PutCkHdr(c_, pending_, kSizeUnknown);
    pending_ = 0;
    if (count_ > 0 && error_ == IFF_OKAY) error_ = IFFWriteBytes(c_, framed_ + kChunkHeaderSize, count_);
    count_ = 0;
}

void ChunkWriter::Overflow(const void* data, int32_t count)
{
    if (error_ != IFF_OKAY) return;
    Flush();
    if (error_ != IFF_OKAY) return;
    if (count >= 0 && count <= kHeld) {
        std::memcpy(framed_ + kChunkHeaderSize, data, size_t(count));
        count_ = count;
        return;
    }
    error_ = IFFWriteBytes(c_, data, count);
}

void ChunkWriter::PStr(const unsigned char* text) { Bytes(text, int32_t(text[0]) + 1); }

void ChunkWriter::Begin(IFFP id)
{
    Flush();
    if (error_ == IFF_OKAY) pending_ = id;
}

void ChunkWriter::End()
{
    if (pending_ != 0 && error_ == IFF_OKAY) {
        error_ = PutCkFramed(c_, pending_, count_, framed_);
        pending_ = 0;
        count_ = 0;
        return;
    }
    Flush();
    if (error_ == IFF_OKAY) error_ = PutCkEnd(c_);
}
