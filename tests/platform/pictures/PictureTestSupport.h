// Pictures written byte by byte from the published layout, and worlds to
// play them into.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/core/Memory.h"
#include "platform/drawing/QuickDrawTypes.h"

namespace picturetest {

class Bytes {
public:
    Bytes& U8(uint32_t v)
    {
        b_.push_back(uint8_t(v));
        return *this;
    }
    Bytes& U16(uint32_t v) { return U8(v >> 8).U8(v); }
    Bytes& U32(uint32_t v) { return U16(v >> 16).U16(v); }
    Bytes& R(int top, int left, int bottom, int right) { return U16(top).U16(left).U16(bottom).U16(right); }
    Bytes& Raw(std::initializer_list<uint8_t> bytes)
    {
        b_.insert(b_.end(), bytes);
        return *this;
    }
    Bytes& Raw(const std::vector<uint8_t>& bytes)
    {
        b_.insert(b_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    Bytes& Align()
    {
        if (b_.size() & 1)
            b_.push_back(0);
        return *this;
    }
    // An opcode of version 2, at an even offset.
    Bytes& Op(uint16_t op) { return Align().U16(op); }
    // The fore colour as 0xRRGGBB.
    Bytes& Fore(uint32_t rgb)
    {
        return Op(0x001A).U16(((rgb >> 16) & 0xFF) * 0x101).U16(((rgb >> 8) & 0xFF) * 0x101).U16((rgb & 0xFF) * 0x101);
    }
    size_t size() const { return b_.size(); }
    std::vector<uint8_t>& data() { return b_; }

private:
    std::vector<uint8_t> b_;
};

// Frame, version 2 and a -1 header: the opcodes follow.
inline Bytes Version2(int top, int left, int bottom, int right)
{
    Bytes b;
    b.U16(0).R(top, left, bottom, right).U16(0x0011).U16(0x02FF).U16(0x0C00);
    b.U16(0xFFFF).U16(0xFFFF);
    b.U32(uint32_t(left) << 16).U32(uint32_t(top) << 16).U32(uint32_t(right) << 16).U32(uint32_t(bottom) << 16);
    b.U32(0);
    return b;
}

// The picture ends, the size word is set, and it goes into a handle.
inline platform::Handle Finish(Bytes& b, bool end = true)
{
    if (end)
        b.Op(0x00FF);
    std::vector<uint8_t>& d = b.data();
    d[0] = uint8_t(d.size() >> 8);
    d[1] = uint8_t(d.size());
    platform::Handle h = nullptr;
    platform::PtrToHand(d.data(), &h, platform::Size(d.size()));
    return h;
}

inline platform::Handle ToHandle(const std::vector<uint8_t>& d)
{
    platform::Handle h = nullptr;
    platform::PtrToHand(d.data(), &h, platform::Size(d.size()));
    return h;
}

inline std::vector<uint8_t> FromHandle(platform::Handle h)
{
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    return std::vector<uint8_t>(p, p + platform::GetHandleSize(h));
}

}  // namespace picturetest
