#include "tools/docbuilder/IffWriter.h"

namespace docbuilder {

void IffWriter::U16(uint32_t v)
{
    if (little_) U8(v), U8(v >> 8);
    else U8(v >> 8), U8(v);
}

void IffWriter::U32(uint32_t v)
{
    if (little_) U16(v), U16(v >> 16);
    else U16(v >> 16), U16(v);
}

void IffWriter::Id(const char* id)
{
    U32(uint32_t(uint8_t(id[0])) << 24 | uint32_t(uint8_t(id[1])) << 16 | uint32_t(uint8_t(id[2])) << 8 |
        uint8_t(id[3]));
}

void IffWriter::PString(const std::string& s)
{
    const size_t n = s.size() < 255 ? s.size() : 255;
    U8(uint32_t(n));
    b_.insert(b_.end(), s.begin(), s.begin() + std::ptrdiff_t(n));
}

void IffWriter::BeginId(uint32_t id)
{
    U32(id);
    U32(0);
    open_.push_back(b_.size());
}

void IffWriter::Begin(const char* id)
{
    Id(id);
    U32(0);
    open_.push_back(b_.size());
}

void IffWriter::Group(const char* id, const char* subtype)
{
    Begin(id);
    Id(subtype);
}

void IffWriter::End()
{
    const size_t start = open_.back();
    open_.pop_back();
    const uint32_t size = uint32_t(b_.size() - start);
    for (int i = 0; i < 4; ++i) {
        const int shift = little_ ? 8 * i : 24 - 8 * i;
        b_[start - 4 + size_t(i)] = uint8_t(size >> shift);
    }
    if (size % 2) U8(0);
}

}  // namespace docbuilder
