// Operand tokens of calc records: reading the token at a position of a
// record and appending one at its end. A token's size in the stream
// follows from its kind ("padded text": a length byte and its characters,
// rounded up to an even count):
//   0, 1, 13                       4
//   2 constant, sub-kind at 2      0: 4 + padded text at 4; 1: 14 (a 10-byte
//                                  extended real at 4); 4: 10; 9, 11: 8; 25: 12;
//                                  any other sub-kind: refused
//   3 field                        8 + 2 x the count at 6 (field number at 2,
//                                  table at 4, depth at 6, path from 8)
//   9, 11, 22, 26, 35, 36          2 + padded text at 2
//   23, 27                         4 + padded text at 4
//   4 to 8, 12, 14 to 21, 24, 25,
//   28 to 34                       2
//   any other kind                 read as a 2-byte end of line (kind 8)
// The operand holds the token's first 88 bytes, big-endian as stored,
// except that a real constant holds an 8-byte double at 4.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

constexpr int32_t kOperandSize = 88;
constexpr uint8_t kEndOfLineKind = 8;
constexpr uint8_t kConstantKind = 2;
constexpr uint8_t kFieldKind = 3;
constexpr uint8_t kRealSubKind = 1;

struct champoper {
    uint8_t bytes[kOperandSize];

    uint8_t Kind() const { return bytes[0]; }
    uint8_t SubKind() const { return bytes[2]; }
    int16_t Word(int32_t offset) const;   // the 16-bit value at an even offset below 88
    void SetWord(int32_t offset, int16_t value);
    int32_t Long(int32_t offset) const;
    void SetLong(int32_t offset, int32_t value);
    // The length-prefixed text at an offset; its length never reaches past the operand.
    const unsigned char* Text(int32_t offset) const { return bytes + offset; }
    // Stores text at an offset, cut to what the operand holds.
    void SetText(int32_t offset, const unsigned char* text);
    double Real() const;                  // a real constant's value
    void SetReal(double value);
};

// A cleared operand of a kind.
champoper MakeOperand(uint8_t kind);

// The size in the stream of the token at `token` with `available` bytes
// there: 2 for an unknown kind, -1 when the token is refused (a constant of
// an unknown sub-kind) or its size cannot be known from the bytes there.
int32_t ChampStreamSize(const uint8_t* token, int32_t available);
// The size an operand's token takes when written; 0 when it cannot be written.
int32_t ChampOperandSize(const champoper& op);

// Reads the token at *position (0 at the first token) of the record and
// moves past it. At or past the record's end the operand is an end of line
// and the position stays. A token longer than the record's remaining
// token bytes, or a refused one, ends the line: kind 8, the position at the end.
void getchamp(platform::Handle record, champoper* op, int16_t* position);
// Appends the operand's token at the end of the record's tokens; an
// operand that cannot be written writes nothing. 0, -1 for such an
// operand or a line that would pass 32,767 token bytes, or the memory error.
int16_t putchamp(platform::Handle record, const champoper& op);
