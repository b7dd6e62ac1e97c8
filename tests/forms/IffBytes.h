// Chunk files written by hand for the tests: fields big-endian (or turned
// for a file of the other byte order), groups and chunks sized from their
// contents, odd chunks padded.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Memory.h"

namespace ifftest {

using Bytes = std::vector<uint8_t>;

struct B {
    Bytes b;
    bool little = false;  // words and longs low byte first

    B& U8(uint32_t v)
    {
        b.push_back(uint8_t(v));
        return *this;
    }
    B& W(uint32_t v)
    {
        if (little) return U8(v).U8(v >> 8);
        return U8(v >> 8).U8(v);
    }
    B& L(uint32_t v)
    {
        if (little) return W(v).W(v >> 16);
        return W(v >> 16).W(v);
    }
    // Four characters as stored (turned in a little file, as ids are).
    B& Id(const char* id)
    {
        for (int i = 0; i < 4; ++i) U8(uint8_t(id[little ? 3 - i : i]));
        return *this;
    }
    B& Raw(const std::string& s)
    {
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    B& Raw(const Bytes& more)
    {
        b.insert(b.end(), more.begin(), more.end());
        return *this;
    }
    // A length byte and the characters.
    B& P(const std::string& s)
    {
        U8(uint32_t(s.size()));
        return Raw(s);
    }
    B& Zeros(size_t n)
    {
        b.insert(b.end(), n, 0);
        return *this;
    }
    B& Chunk(const char* id, const Bytes& data)
    {
        Id(id).L(uint32_t(data.size())).Raw(data);
        if (data.size() % 2) U8(0);
        return *this;
    }
    B& Group(const char* id, const char* subtype, const Bytes& contents)
    {
        Id(id).L(uint32_t(contents.size() + 4)).Id(subtype).Raw(contents);
        return *this;
    }
};

inline B Little() { return B{{}, true}; }

inline platform::Handle HandleOf(const Bytes& bytes)
{
    platform::Handle h = platform::NewHandle(platform::Size(bytes.size()));
    if (h && !bytes.empty()) std::memcpy(*h, bytes.data(), bytes.size());
    return h;
}

inline Bytes BytesOf(platform::Handle h)
{
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    return Bytes(p, p + platform::GetHandleSize(h));
}

}  // namespace ifftest
