// Field-by-field access to the chunk open in a context. The reader turns
// words and longs of a file written in the other byte order, never bytes
// or strings; the writer writes big-endian. Both keep the first error and
// do nothing after it, so a run of fields needs one check at its end.
#pragma once

#include <cstdint>

#include "forms/iff/Iff.h"

class ChunkReader {
public:
    explicit ChunkReader(_GroupContext* context) : c_(context) {}

    // The chunk's bytes not read yet (0 after an error).
    int32_t Left() const { return error_ ? 0 : ChunkMoreBytes(c_); }
    bool Has(int32_t count) const { return Left() >= count; }
    IFFP Error() const { return error_; }
    bool Ok() const { return error_ == IFF_OKAY; }
    _GroupContext* Context() const { return c_; }

    bool U8(uint8_t* v);
    bool S16(int16_t* v);
    bool U16(uint16_t* v);
    bool S32(int32_t* v);
    bool U32(uint32_t* v);
    bool Bytes(void* buffer, int32_t count);
    // A length byte and its text, kept up to `capacity` characters; the
    // rest of the text is skipped so that the next field is read where the
    // writer put it.
    bool PStr(unsigned char* out, int32_t capacity);
    bool Skip(int32_t count);

private:
    bool Keep(IFFP result);
    // `count` bytes of the chunk where they lie in a memory target, the
    // read moved past them; null (the error kept) when they are not there.
    const uint8_t* Take(int32_t count);

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

    void U8(uint32_t v);
    void U16(uint32_t v);
    void U32(uint32_t v);
    void Bytes(const void* data, int32_t count);
    // The length byte and the characters, no pad.
    void PStr(const unsigned char* text);
    // A whole chunk of unknown size: header, the fields, then the end.
    void Begin(IFFP id);
    void End();

private:
    // Fields are gathered and written in runs: a write for each field
    // would cost more than the field.
    void Flush();

    _GroupContext* c_;
    IFFP error_ = IFF_OKAY;
    uint8_t held_[256];
    int32_t count_ = 0;
};
