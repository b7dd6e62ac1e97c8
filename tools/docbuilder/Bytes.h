// A growing byte record: the builder's only way of laying out stored
// bytes, so every width and offset is explicit. Numbers go in the order of
// the document the record is written for: a little-endian container keeps
// every 16- and 32-bit field of its records byte-reversed, bytes and text
// as they are. BE16 and BE32 are for numbers that stay big-endian in both
// orders (picture opcodes, lists of the platform's own format).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace docbuilder {

using Bytes = std::vector<uint8_t>;

enum class ByteOrder { Big, Little };

class ByteWriter {
public:
    explicit ByteWriter(ByteOrder order = ByteOrder::Big) : order_(order) {}

    ByteOrder Order() const { return order_; }
    void U8(uint32_t v) { b_.push_back(uint8_t(v)); }
    void U16(uint32_t v)
    {
        if (order_ == ByteOrder::Little) {
            U8(v);
            U8(v >> 8);
        } else {
            BE16(v);
        }
    }
    void U32(uint32_t v)
    {
        if (order_ == ByteOrder::Little) {
            U16(v);
            U16(v >> 16);
        } else {
            BE32(v);
        }
    }
    void BE16(uint32_t v)
    {
        U8(v >> 8);
        U8(v);
    }
    void BE32(uint32_t v)
    {
        BE16(v >> 16);
        BE16(v);
    }
    void Zeros(size_t n) { b_.insert(b_.end(), n, 0); }
    void Append(const Bytes& more) { b_.insert(b_.end(), more.begin(), more.end()); }
    // A length byte and at most width - 1 characters, zero-filled to width.
    void FixedPString(const std::string& s, size_t width)
    {
        const size_t n = std::min(s.size(), width - 1);
        U8(uint32_t(n));
        b_.insert(b_.end(), s.begin(), s.begin() + std::ptrdiff_t(n));
        Zeros(width - 1 - n);
    }
    // A length byte and the characters (at most 255), no padding.
    void PString(const std::string& s)
    {
        const size_t n = std::min<size_t>(s.size(), 255);
        U8(uint32_t(n));
        b_.insert(b_.end(), s.begin(), s.begin() + std::ptrdiff_t(n));
    }
    // A length byte and the characters, rounded up to an even count.
    void PaddedPString(const std::string& s)
    {
        PString(s);
        if (std::min<size_t>(s.size(), 255) % 2 == 0) U8(0);
    }
    void PadEven()
    {
        if (b_.size() % 2) U8(0);
    }
    void PutU16At(size_t at, uint32_t v)
    {
        const bool little = order_ == ByteOrder::Little;
        b_[at] = uint8_t(little ? v : v >> 8);
        b_[at + 1] = uint8_t(little ? v >> 8 : v);
    }
    size_t Size() const { return b_.size(); }
    const Bytes& Data() const { return b_; }
    Bytes Take() { return std::move(b_); }

private:
    ByteOrder order_;
    Bytes b_;
};

}  // namespace docbuilder
