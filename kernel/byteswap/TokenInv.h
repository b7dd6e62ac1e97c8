// One entry of a byte-swap template: a template itself, a field, a group
// (switch, case) or a repetition of another template.
#pragma once

#include <cstdint>

enum SwapKind : uint32_t {
    kSwapSkip = 1,       // skip n bytes
    kSwapWords = 2,      // n 16-bit values
    kSwapLongs = 3,      // n 32-bit values
    kSwapPString = 4,    // skip a length-prefixed string
    kSwapBytes = 5,      // skip a fixed number of bytes
    kSwapArrayOf = 6,    // a template repeated by the value of a field
    kSwapRepeat = 7,     // a template repeated a fixed number of times
    kSwapEnd = 8,        // ends a template
    kSwapTemplate = 9,   // a template (its header line has no keyword)
    kSwapEof = 10,       // ends the file
    kSwapExt10 = 11,     // skip n 10-byte units
    kSwapSwitch = 12,    // chooses a case by the value of a field
    kSwapCase = 13,      // one case of a switch
    kSwapEndSwitch = 14,
    kSwapEndCase = 15,
    kSwapAlign2 = 16,    // advance to an even position
    kSwapAlign4 = 17,    // advance to a multiple of 4
    kSwapKindCount = 17
};

struct TokenInv {
    uint32_t kind;
    unsigned char* name;      // owned length-prefixed string, or null
    int32_t argument;         // number, count, field position or case value
    int32_t lastValue;        // last value converted, in host order
    TokenInv* element;        // kinds 6 and 7: the repeated template (not owned)
    int32_t childCount;
    TokenInv** children;      // owned, in file order
    TokenInv* nextBuilt;      // templates only: every template ever built
};

// Most entries in one group.
constexpr int32_t kMaxSwapChildren = 60;
