// What the fuzz targets share: a reader of the fuzzer's bytes as a series of
// choices, a scratch folder of the process, and the shipped byte-swap
// templates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Memory.h"

namespace fuzz {

using Bytes = std::vector<uint8_t>;

// Takes numbers and slices from the front of the input; past its end every
// number is 0 and every slice empty, so any input is a valid series.
class FuzzBytes {
public:
    FuzzBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Empty() const { return at_ >= size_; }
    size_t Left() const { return size_ - at_; }
    uint8_t Byte();
    uint16_t U16();
    uint32_t U32();
    // Up to `count` bytes (fewer at the end).
    Bytes Take(size_t count);
    // A slice whose length is the next 16-bit number, at most `limit`.
    Bytes Slice(size_t limit);
    Bytes Rest();

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// A folder made once per process (under TMPDIR) and removed at exit.
const std::string& ScratchFolder();
// Removes everything inside the scratch folder.
void ClearScratchFolder();

// Writes `bytes` to `path` (replaced); false when it cannot.
bool WriteFile(const std::string& path, const Bytes& bytes);

// The repository's own folder (for the shipped template and converter files).
std::string SourceFile(const std::string& relative);

// Loads resources/ByteSwap.txt as the byte-swap templates; false when it fails.
bool LoadShippedTemplates();

// The input copied into a new handle; null when it is longer than `limit`
// or memory is short.
platform::Handle HandleOf(const uint8_t* data, size_t size, size_t limit);

// Whether the form reader reads the stored form image whole.
bool FormImageReads(platform::Handle image);

}  // namespace fuzz
