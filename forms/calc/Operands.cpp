#include "forms/calc/Operands.h"

#include <algorithm>
#include <cstring>

#include "forms/calc/CalcBlob.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "toolbox/foundation/ByteSwap.h"

using platform::Handle;

namespace {

constexpr int32_t kExtendedSize = 10;
constexpr int32_t kRealTokenSize = 4 + kExtendedSize;
constexpr int32_t kMaxTokenBytes = 32767;

// A length byte and its characters, rounded up to an even count.
int32_t Padded(uint8_t length) { return (int32_t(length) + 2) & ~1; }

bool IsTwoByteKind(uint8_t kind)
{
    return (kind >= 4 && kind <= 8) || kind == 12 || (kind >= 14 && kind <= 21) || kind == 24 || kind == 25 ||
           (kind >= 28 && kind <= 34);
}

// Where the kind keeps its text, or 0 for a kind without one.
int32_t TextOffset(const uint8_t* token)
{
    switch (token[0]) {
    case 9: case 11: case 22: case 26: case 35: case 36: return 2;
    case 23: case 27: return 4;
    case kConstantKind: return token[2] == 0 ? 4 : 0;
    default: return 0;
    }
}

bool IsKnownKind(uint8_t kind)
{
    return kind <= 3 || kind == 9 || kind == 11 || kind == 13 || kind == 22 || kind == 23 || kind == 26 ||
           kind == 27 || kind == 35 || kind == 36 || IsTwoByteKind(kind);
}

void EndOfLine(champoper* op)
{
    std::memset(op->bytes, 0, sizeof op->bytes);
    op->bytes[0] = kEndOfLineKind;
}

}  // namespace

int16_t champoper::Word(int32_t offset) const
{
    return offset >= 0 && offset + 2 <= kOperandSize ? int16_t(platform::ReadBE16(bytes + offset)) : 0;
}

void champoper::SetWord(int32_t offset, int16_t value)
{
    if (offset >= 0 && offset + 2 <= kOperandSize) platform::WriteBE16(bytes + offset, uint16_t(value));
}

int32_t champoper::Long(int32_t offset) const
{
    return offset >= 0 && offset + 4 <= kOperandSize ? int32_t(platform::ReadBE32(bytes + offset)) : 0;
}

void champoper::SetLong(int32_t offset, int32_t value)
{
    if (offset >= 0 && offset + 4 <= kOperandSize) platform::WriteBE32(bytes + offset, uint32_t(value));
}

void champoper::SetText(int32_t offset, const unsigned char* text)
{
    if (offset < 0 || offset >= kOperandSize) return;
    const int32_t length = std::min<int32_t>(text[0], kOperandSize - offset - 1);
    bytes[offset] = uint8_t(length);
    std::memmove(bytes + offset + 1, text + 1, size_t(length));
    if (offset + 1 + length < kOperandSize) bytes[offset + 1 + length] = 0;  // the even padding
}

double champoper::Real() const
{
    uint64_t bits = platform::ReadBE64(bytes + 4);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void champoper::SetReal(double value)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    platform::WriteBE64(bytes + 4, bits);
}

champoper MakeOperand(uint8_t kind)
{
    champoper op{};
    op.bytes[0] = kind;
    return op;
}

int32_t ChampStreamSize(const uint8_t* token, int32_t available)
{
    if (available < 2) return -1;
    const uint8_t kind = token[0];
    switch (kind) {
    case 0: case 1: case 13: return 4;
    case kConstantKind:
        if (available < 3) return -1;
        switch (token[2]) {
        case 0: return available < 5 ? -1 : 4 + Padded(token[4]);
        case kRealSubKind: return kRealTokenSize;
        case 4: return 10;
        case 9: case 11: return 8;
        case 25: return 12;
        default: return -1;  // a constant of no known size is refused
        }
    case kFieldKind: {
        if (available < 8) return -1;
        const auto depth = int16_t(platform::ReadBE16(token + 6));
        return depth < 0 ? -1 : 8 + 2 * int32_t(depth);
    }
    default: break;
    }
    if (const int32_t at = TextOffset(token)) return available <= at ? -1 : at + Padded(token[at]);
    return 2;  // the two-byte kinds, and unknown kinds read as an end of line
}

int32_t ChampOperandSize(const champoper& op)
{
    if (!IsKnownKind(op.Kind())) return 0;
    if (op.Kind() == kConstantKind && op.SubKind() == kRealSubKind) return kRealTokenSize;
    const int32_t size = ChampStreamSize(op.bytes, kOperandSize);
    return size > 0 && size <= kOperandSize ? size : 0;
}

void getchamp(Handle record, champoper* op, int16_t* position)
{
    EndOfLine(op);
    const int32_t size = record && *record ? platform::GetHandleSize(record) : 0;
    if (size < kCalcRecordHeaderSize) return;
    // The tokens are read only inside the record, whatever its count says.
    const int32_t tokens =
        std::min({int32_t(platform::ReadBE16(*record + 2)), size - kCalcRecordHeaderSize, kMaxTokenBytes});
    const int32_t at = *position;
    if (at < 0 || at >= tokens) return;
    const auto* token = reinterpret_cast<const uint8_t*>(*record) + kCalcRecordHeaderSize + at;
    const int32_t remaining = tokens - at;
    const int32_t length = ChampStreamSize(token, remaining);
    if (length < 0 || length > remaining) {
        // A token longer than what is left of the line ends it.
        *position = int16_t(tokens);
        return;
    }
    *position = int16_t(at + length);
    if (!IsKnownKind(token[0])) return;
    if (token[0] == kConstantKind && token[2] == kRealSubKind) {
        std::memcpy(op->bytes, token, 4);
        Real10toReal8(token + 4, op->bytes + 4);
        return;
    }
    std::memcpy(op->bytes, token, size_t(std::min(length, kOperandSize)));
    // A text too long for the operand is cut to what it holds.
    if (const int32_t textAt = TextOffset(op->bytes))
        op->bytes[textAt] = uint8_t(std::min<int32_t>(op->bytes[textAt], kOperandSize - textAt - 1));
    if (op->Kind() == kFieldKind && length > kOperandSize)
        op->SetWord(6, int16_t((kOperandSize - 8) / 2));
}

int16_t putchamp(Handle record, const champoper& op)
{
    const int32_t length = ChampOperandSize(op);
    const int32_t size = record && *record ? platform::GetHandleSize(record) : 0;
    if (length == 0 || size < kCalcRecordHeaderSize) return -1;
    const int32_t tokens = platform::ReadBE16(*record + 2);
    if (kCalcRecordHeaderSize + tokens > size || tokens + length > kMaxTokenBytes) return -1;
    const int32_t needed = kCalcRecordHeaderSize + tokens + length;
    if (needed > size) {
        platform::SetHandleSize(record, needed);
        if (const int16_t err = platform::MemError()) return err;
    }
    auto* at = reinterpret_cast<uint8_t*>(*record) + kCalcRecordHeaderSize + tokens;
    if (op.Kind() == kConstantKind && op.SubKind() == kRealSubKind) {
        std::memcpy(at, op.bytes, 4);
        Real8toReal10(op.bytes + 4, at + 4);
    } else {
        std::memcpy(at, op.bytes, size_t(length));
    }
    platform::WriteBE16(*record + 2, uint16_t(tokens + length));
    return 0;
}
