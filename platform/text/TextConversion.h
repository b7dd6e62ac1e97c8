// What a run conversion reports: how far it got in both buffers and why it
// stopped. Conversions never read or write past the lengths they are given.
#pragma once

#include <cstdint>

namespace platform {

enum class ConversionStatus : uint8_t {
    complete,         // the whole source was converted
    destinationFull,  // the next character did not fit; it was left unconsumed
    truncatedSource,  // the source ends inside a character; those units were left unconsumed
};

struct ConversionResult {
    int32_t consumed = 0;  // source units used (bytes or UTF-16 units)
    int32_t produced = 0;  // destination units written
    ConversionStatus status = ConversionStatus::complete;
    int32_t substituted = 0;  // characters written as a substitute (Mac Roman's '?')
};

// Written for a character the target set lacks.
constexpr uint8_t kSubstituteByte = 0x3F;              // '?'
constexpr char16_t kReplacementCharacter = u'\uFFFD';  // for invalid UTF-8 or UTF-16

}  // namespace platform
