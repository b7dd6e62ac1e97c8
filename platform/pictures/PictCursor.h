// A bounded reader over picture bytes: every read is checked against the
// end, and a read past it marks the cursor failed and answers zeros.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/core/Endian.h"
#include "platform/core/MacTypes.h"

namespace platform {

class PictCursor {
public:
    PictCursor(const uint8_t* data, size_t size, size_t pos = 0) : data_(data), size_(size), pos_(pos) {}

    bool ok() const { return ok_; }
    void Fail() { ok_ = false; }
    size_t pos() const { return pos_; }
    size_t left() const { return ok_ && pos_ <= size_ ? size_ - pos_ : 0; }
    const uint8_t* here() const { return data_ + pos_; }

    bool Need(size_t n)
    {
        if (!ok_ || n > size_ - pos_)
            ok_ = false;
        return ok_;
    }
    bool Skip(size_t n)
    {
        if (Need(n))
            pos_ += n;
        return ok_;
    }
    const uint8_t* Take(size_t n)
    {
        if (!Need(n))
            return nullptr;
        const uint8_t* p = data_ + pos_;
        pos_ += n;
        return p;
    }
    uint8_t U8()
    {
        const uint8_t* p = Take(1);
        return p ? p[0] : 0;
    }
    uint16_t U16()
    {
        const uint8_t* p = Take(2);
        return p ? ReadBE16(p) : 0;
    }
    int16_t S16() { return int16_t(U16()); }
    uint32_t U32()
    {
        uint32_t hi = U16();
        return (hi << 16) | U16();
    }
    Rect R()
    {
        Rect r;
        r.top = S16();
        r.left = S16();
        r.bottom = S16();
        r.right = S16();
        return r;
    }
    Point P()
    {
        Point p;
        p.v = S16();
        p.h = S16();
        return p;
    }
    // Opcodes of version 2 start at even offsets.
    void AlignWord()
    {
        if (pos_ & 1)
            Skip(1);
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_;
    bool ok_ = true;
};

}  // namespace platform
