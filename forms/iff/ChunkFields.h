// Field-by-field access to the chunk open in a context. The reader turns
// words and longs of a file written in the other byte order, never bytes
// or strings; the writer writes big-endian. Both keep the first error and
// do nothing after it, so a run of fields needs one check at its end.
#pragma once

#include <cstdint>

#include <cstring>

#include "forms/iff/Iff.h"
#include "platform/core/Endian.h"

class ChunkReader {
public:
    explicit ChunkReader(_GroupContext* context) : c_(context) {}

    // The chunk's bytes not read yet (0 after an error).
    int32_t Left() const { return error_ ? 0 : ChunkMoreBytes(c_); }
    bool Has(int32_t count) const { return Left() >= count; }
    IFFP Error() const { return error_; }
    bool Ok() const { return error_ == IFF_OKAY; }
    _GroupContext* Context() const { return c_; }

    // Fields are read where they lie in the memory target: a call for each
    // would cost more than the field.
    bool U8(uint8_t* v)
    {
        const uint8_t* b = Take(1);
        if (b) *v = b[0];
        return b != nullptr;
    }
    bool U16(uint16_t* v)
    {
        const uint8_t* b = Take(2);
        if (b) *v = c_->byteReversed ? platform::ReadLE16(b) : platform::ReadBE16(b);
        return b != nullptr;
    }
    bool S16(int16_t* v)
    {
        uint16_t u = 0;
        if (!U16(&u)) return false;
        *v = int16_t(u);
        return true;
    }
    bool U32(uint32_t* v)
    {
        const uint8_t* b = Take(4);
        if (b) *v = c_->byteReversed ? platform::ReadLE32(b) : platform::ReadBE32(b);
        return b != nullptr;
    }
    bool S32(int32_t* v)
    {
        uint32_t u = 0;
        if (!U32(&u)) return false;
        *v = int32_t(u);
        return true;
    }
    bool Bytes(void* buffer, int32_t count)
    {
        if (count == 0) return Ok();
        const uint8_t* b = Take(count);
        if (b) std::memcpy(buffer, b, size_t(count));
        return b != nullptr;
    }
    // A length byte and its text, kept up to `capacity` characters; the
    // rest of the text is skipped so that the next field is read where the
    // writer put it.
    bool PStr(unsigned char* out, int32_t capacity);
    bool Skip(int32_t count);

private:
    bool Keep(IFFP result);
    // `count` bytes of the chunk where they lie in a memory target, the
    // read moved past them; null (the error kept) when they are not there.
    const uint8_t* Take(int32_t count)
    {
        IOFile* file = c_->file;
        if (error_ == IFF_OKAY && count >= 0 && count <= ChunkMoreBytes(c_) && file && file->fileRef == 0 &&
            file->handle && int64_t(file->mark) + count <= file->logicalEnd) {
            const auto* at = reinterpret_cast<const uint8_t*>(*file->handle) + file->base + file->mark;
            file->mark += count;
            c_->position += count;
            c_->bytesSoFar += count;
            return at;
        }
        return Refuse(count);
    }
    // Why the bytes are not there, kept as the error; null.
    const uint8_t* Refuse(int32_t count);

    _GroupContext* c_;
    IFFP error_ = IFF_OKAY;
};

class ChunkWriter {
public:
    explicit ChunkWriter(_GroupContext* context) : c_(context) {}
    ~ChunkWriter() { Flush(); }
    ChunkWriter(const ChunkWriter&) = delete;
    ChunkWriter& operator=(const ChunkWriter&) = delete;

    // Writes what is held; the first error of all the writes.
    IFFP Error()
    {
        Flush();
        return error_;
    }

    void U8(uint32_t v)
    {
        const uint8_t b = uint8_t(v);
        Bytes(&b, 1);
    }
    void U16(uint32_t v)
    {
        uint8_t b[2];
        platform::WriteBE16(b, uint16_t(v));
        Bytes(b, 2);
    }
    void U32(uint32_t v)
    {
        uint8_t b[4];
        platform::WriteBE32(b, v);
        Bytes(b, 4);
    }
    void Bytes(const void* data, int32_t count)
    {
        if (error_ == IFF_OKAY && count >= 0 && count <= kHeld - count_) {
            std::memcpy(framed_ + kChunkHeaderSize + count_, data, size_t(count));
            count_ += count;
            return;
        }
        Overflow(data, count);
    }
    // The length byte and the characters, no pad.
    void PStr(const unsigned char* text);
    // Writes what is held, so that another writer of the same context may
    // go on where this one stands.
    _GroupContext* Handover()
    {
        Flush();
        return c_;
    }
    // A whole chunk of unknown size: header, the fields, then the end.
    void Begin(IFFP id);
    void End();

private:
    // Fields are gathered and written in runs: a write for each field
    // would cost more than the field. A chunk begun is held back with them:
    // one that ends before anything is written goes out whole, header, data
    // and pad in one write, its size known.
    void Flush();
    // A run that does not fit what is held: written after it.
    void Overflow(const void* data, int32_t count);

    static constexpr int32_t kHeld = 256;
    _GroupContext* c_;
    IFFP error_ = IFF_OKAY;
    IFFP pending_ = 0;  // the chunk begun whose header is not written yet
    // Room for a header, what is held, and a pad byte.
    uint8_t framed_[kChunkHeaderSize + kHeld + 1];
    int32_t count_ = 0;
};
