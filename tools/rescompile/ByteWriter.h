// Big-endian bytes of one resource, as its layout stores them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rescompile {

class ByteWriter {
public:
    void U8(uint32_t v) { bytes_.push_back(uint8_t(v)); }
    void U16(uint32_t v)
    {
        U8(v >> 8);
        U8(v);
    }
    void U32(uint32_t v)
    {
        U16(v >> 16);
        U16(v);
    }
    void Zero(size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    // A length byte and the bytes (the caller has checked the length).
    void PString(const std::string& text)
    {
        U8(uint32_t(text.size()));
        bytes_.insert(bytes_.end(), text.begin(), text.end());
    }
    void Append(const std::vector<uint8_t>& more) { bytes_.insert(bytes_.end(), more.begin(), more.end()); }
    void AlignEven()
    {
        if (bytes_.size() % 2) U8(0);
    }
    size_t size() const { return bytes_.size(); }
    std::vector<uint8_t>& bytes() { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace rescompile
