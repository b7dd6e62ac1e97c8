// Bit output and input of the -lh5- stream, most significant bit first.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace lh5 {

// Writes into a bounded destination; once it is full, `full` is set and
// nothing more is written. Bits gather in a 64-bit word and leave it four
// bytes at a time.
class BitWriter {
public:
    BitWriter(uint8_t* dst, int32_t capacity) : dst_(dst), capacity_(capacity) {}

    // n <= 16
    void Put(int32_t n, uint32_t value)
    {
        buffer_ = (buffer_ << n) | (value & ((1u << n) - 1));
        bits_ += n;
        if (bits_ >= 32) {
            bits_ -= 32;
            const uint32_t word = uint32_t(buffer_ >> bits_);
            if (capacity_ - pos_ >= 4) {
                dst_[pos_] = uint8_t(word >> 24);
                dst_[pos_ + 1] = uint8_t(word >> 16);
                dst_[pos_ + 2] = uint8_t(word >> 8);
                dst_[pos_ + 3] = uint8_t(word);
                pos_ += 4;
            } else {
                for (int shift = 24; shift >= 0; shift -= 8) PutByte(uint8_t(word >> shift));
            }
        }
    }
    // Pads the last byte with zero bits and writes every whole byte.
    void Flush()
    {
        Put(7, 0);
        while (bits_ >= 8) {
            bits_ -= 8;
            PutByte(uint8_t(buffer_ >> bits_));
        }
    }

    int32_t Length() const { return pos_; }
    bool Full() const { return full_; }

private:
    void PutByte(uint8_t b)
    {
        if (pos_ < capacity_)
            dst_[pos_++] = b;
        else
            full_ = true;
    }

    uint8_t* dst_;
    int32_t capacity_;
    int32_t pos_ = 0;
    uint64_t buffer_ = 0;
    int32_t bits_ = 0;
    bool full_ = false;
};

// Reads zero bits past the end of its input and counts what it consumed,
// so that a stream that runs past its end can be told apart.
class BitReader {
public:
    BitReader(const uint8_t* src, int32_t length) : src_(src), length_(length < 0 ? 0 : length) {}

    uint32_t Peek16()
    {
        Fill();
        return uint32_t(buffer_ >> 48);
    }
    void Skip(int32_t n)
    {
        buffer_ <<= n;
        bits_ -= n;
        consumed_ += uint64_t(n);
    }
    // n <= 16
    uint32_t Get(int32_t n)
    {
        if (n == 0) return 0;
        Fill();
        const uint32_t v = uint32_t(buffer_ >> (64 - n));
        Skip(n);
        return v;
    }
    bool Overrun() const { return consumed_ > uint64_t(length_) * 8; }

private:
    void Fill()
    {
        if (bits_ > 56) return;
        if (length_ - next_ >= 8) {
            // Whole bytes up to 57..64 bits; bits of the next byte that
            // come along are the same ones its own load will add.
            uint64_t word = 0;
            std::memcpy(&word, src_ + next_, 8);
            if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
            buffer_ |= word >> bits_;
            const int32_t bytes = (64 - bits_) >> 3;
            next_ += bytes;
            bits_ += bytes * 8;
            return;
        }
        while (bits_ <= 56) {
            const uint8_t b = next_ < length_ ? src_[next_++] : 0;
            buffer_ |= uint64_t(b) << (56 - bits_);
            bits_ += 8;
        }
    }

    const uint8_t* src_;
    int32_t length_;
    int32_t next_ = 0;
    uint64_t buffer_ = 0;
    int32_t bits_ = 0;
    uint64_t consumed_ = 0;
};

}  // namespace lh5
