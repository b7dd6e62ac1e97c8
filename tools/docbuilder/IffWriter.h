// The builder's own chunk-file writer: groups and chunks whose sizes are
// filled in when they end, odd chunks padded. In the other byte order
// every word, long, id and size is written low byte first, as a program on
// such a machine stored them; bytes and texts stay as they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/docbuilder/Bytes.h"

namespace docbuilder {

class IffWriter {
public:
    explicit IffWriter(bool little) : little_(little) {}

    void U8(uint32_t v) { b_.push_back(uint8_t(v)); }
    void U16(uint32_t v);
    void U32(uint32_t v);
    void Id(const char* id);
    void Raw(const Bytes& bytes) { b_.insert(b_.end(), bytes.begin(), bytes.end()); }
    // A length byte and at most 255 characters, no pad.
    void PString(const std::string& s);

    // A chunk or a group (with its subtype), ended by End.
    void Begin(const char* id);
    void BeginId(uint32_t id);
    void Group(const char* id, const char* subtype);
    void End();

    bool Little() const { return little_; }
    Bytes Take() { return std::move(b_); }

private:
    bool little_;
    Bytes b_;
    std::vector<size_t> open_;  // where each open chunk's data begins
};

}  // namespace docbuilder
