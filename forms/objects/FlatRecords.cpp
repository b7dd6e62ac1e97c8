// The older flat records (forms saved before chunk files), one per object,
// read from the byte after the record's type word. Every read stays inside
// its field and inside the data: a name longer than its field is cut to
// it, and a record that does not fit what is left answers -1.
//
//  drawings 34   bounds, pen width and height, fill flag, hairline, fill
//                and pen patterns, old fore and back colours
//  matrix   38   the same, rows, columns
//  picture  12+n bounds, length n, the picture padded to even
//  group    8    bounds; its members follow as records up to a type 0
//  text     30+n bounds, fill pattern, face, font, size, justification,
//                old colours, length n, the text padded to even
//  subform  48   bounds, old flags (4), table, list form (16: at most 15
//                characters), detail form (18: at most 17)
//  variable 42+  bounds, name (12: at most 11), font, face, spare, size
//                (negative: interprocess), entry option, justification, old
//                colours, sub-type, option, method, display option, legacy
//                byte, var words 1 and 2; then the editable trailer
//  field    28+  bounds, face, spare, font, size, field number, entry
//                option, table (1 byte), legacy byte, justification,
//                display option, spare, old colours, method; the trailer
#include <algorithm>
#include <cstring>

#include "forms/layout/LayoutInfo.h"
#include "forms/layout/SaisieAtt.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormObjects.h"
#include "kernel/helpers/KernelColors.h"
#include "kernel/numtext/NumberBridge.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"

namespace {

constexpr int32_t kDrawingSize = 34, kMatrixSize = 38, kPictureHeader = 12, kGroupSize = 8, kTextHeader = 30,
                  kSubformSize = 48, kVariableHeader = 42, kFieldHeader = 28;
constexpr int32_t kAttributesBlock = 68;
constexpr int16_t kTipMark = -2;

// The record's bytes and how many there are; reads at fixed offsets that
// the caller has checked against the size.
struct Flat {
    const uint8_t* p;
    int32_t size;
    int16_t S16(int32_t at) const { return platform::ReadBES16(p + at); }
    uint8_t U8(int32_t at) const { return p[at]; }
};

int32_t Padded(int32_t n) { return n + (n & 1); }

void Bounds(const Flat& f, int16_t* bounds)
{
    for (int i = 0; i < 4; ++i) bounds[i] = f.S16(2 * i);
}

void OldColours(const Flat& f, int32_t at, LayoutObject* o)
{
    int32_t fore = 0, back = 0;
    OldCol2New(f.S16(at), f.S16(at + 2), &fore, &back);
    o->foreColor = fore;
    o->backColor = back;
}

// A length-prefixed name stored in a field of `field` bytes.
void FieldName(const Flat& f, int32_t at, int32_t field, unsigned char* out)
{
    out[0] = uint8_t(std::min<int32_t>(f.U8(at), field - 1));
    std::memcpy(out + 1, f.p + at + 1, out[0]);
}

// An 80-bit real of a value slot made the 8-byte one the record keeps.
void RealSlot(uint8_t* record, int32_t typeAt, int32_t valueAt)
{
    if (record[typeAt] != 1 && record[typeAt] != 11) return;
    extended80 e;
    std::memcpy(e.bytes, record + valueAt, 10);
    double d = 0;
    Convert10To8(&e, &d);
    uint64_t bits = 0;
    std::memcpy(&bits, &d, 8);
    platform::WriteBE64(record + valueAt, bits);
    std::memset(record + valueAt + 8, 0, 2);
}

}  // namespace

// --- drawings -------------------------------------------------------------------

int32_t DrawingObject::ReadObject(char* data, int32_t available)
{
    if (available < kDrawingSize) return -1;
    const Flat f{reinterpret_cast<const uint8_t*>(data), available};
    Bounds(f, bounds);
    penWidth = f.S16(8);
    penHeight = f.S16(10);
    hasFillPattern = f.U8(12);
    laserWidth = f.U8(13);
    std::memcpy(fillPattern, f.p + 14, 8);
    std::memcpy(penPattern, f.p + 22, 8);
    OldColours(f, 30, this);
    hasPenPattern = 1;
    return kDrawingSize;
}

int32_t MatrixObject::ReadObject(char* data, int32_t available)
{
    if (available < kMatrixSize || DrawingObject::ReadObject(data, available) < 0) return -1;
    const Flat f{reinterpret_cast<const uint8_t*>(data), available};
    rowCount = f.S16(34);
    columnCount = f.S16(36);
    return kMatrixSize;
}

// --- pictures, groups, texts, subforms ---------------------------------------------

int32_t ImageObject::ReadObject(char* data, int32_t available)
{
    if (available < kPictureHeader) return -1;
    const Flat f{reinterpret_cast<const uint8_t*>(data), available};
    const int32_t length = int32_t(platform::ReadBE32(f.p + 8));
    if (length < 0 || int64_t(length) + (length & 1) > available - kPictureHeader) return -1;
    Bounds(f, bounds);
    if (length > 0) {
        platform::Handle h = nullptr;
        if (platform::PtrToHand(f.p + kPictureHeader, &h, length) != 0) return -1;
        SetPict(h);
    }
    return kPictureHeader + Padded(length);
}

int32_t GroupObject::ReadObject(char* data, int32_t available)
{
    if (available < kGroupSize) return -1;
    Bounds(Flat{reinterpret_cast<const uint8_t*>(data), available}, bounds);
    return kGroupSize;
}

int32_t TextObject::ReadObject(char* data, int32_t available)
{
    if (available < kTextHeader) return -1;
    const Flat f{reinterpret_cast<const uint8_t*>(data), available};
    const int32_t length = uint16_t(f.S16(28));
    if (Padded(length) > available - kTextHeader) return -1;
    platform::Handle h = nullptr;
    // An empty text still has its handle.
    if (platform::PtrToHand(f.p + kTextHeader, &h, length) != 0) return -1;
    Bounds(f, bounds);
    std::memcpy(fillPattern, f.p + 8, 8);
    face = f.S16(16);
    fontID = f.S16(18);
    fontSize = f.S16(20);
    justification = f.S16(22);
    OldColours(f, 24, this);
    hasFillPattern = 1;
    SetText(h, 0);
    return kTextHeader + Padded(length);
}

int32_t SubFormObject::ReadObject(char* data, int32_t available)
{
    if (available < kSubformSize) return -1;
    const Flat f{reinterpret_cast<const uint8_t*>(data), available};
    Bounds(f, bounds);
    Read_formatt_old(f.U8(8));
    subformTable = f.S16(12);
    if (subformTable < 0 && -int32_t(subformTable) > formTableCount) subformTable = 1;
    FieldName(f, 14, 16, formName2);
    FieldName(f, 30, 18, formName1);
    AutoResize();
    return kSubformSize;
}

// --- fields and variables --------------------------------------------------------

int32_t EditableObject::ReadFlatTrailer(const uint8_t* data, int32_t at, int32_t available)
{
    const Flat f{data, available};
    if (at >= available) return -1;
    const int32_t formatBytes = Padded(f.U8(at) + 1);
    if (formatBytes > available - at) return -1;
    std::memcpy(format, f.p + at, size_t(f.U8(at)) + 1);
    at += formatBytes;
    if (available - at < 2) return -1;
    if (f.S16(at) == kTipMark) {
        if (available - at < 6) return -1;
        tipKind = f.S16(at + 2);
        at += 4;
    }
    const int16_t attributes = f.S16(at);
    at += 2;
    if (attributes == 0) return at;
    if (available - at < kAttributesBlock + 1) return -1;
    const int32_t filterLength = f.U8(at + kAttributesBlock);
    if (Padded(filterLength + 1) > available - at - kAttributesBlock) return -1;
    platform::Handle record = platform::NewHandleClear(kSaisieAttSize);
    if (!record) return -1;
    auto* r = reinterpret_cast<uint8_t*>(*record);
    std::memcpy(r, f.p + at, kAttributesBlock);
    r[7] = r[68] = r[69] = 0;
    // The default text never claims more than its 32 bytes.
    r[saisieatt::kDefaultText] = std::min<uint8_t>(r[saisieatt::kDefaultText], saisieatt::kDefaultTextMax);
    RealSlot(r, saisieatt::kMinType, saisieatt::kMinValue);
    RealSlot(r, saisieatt::kMaxType, saisieatt::kMaxValue);
    platform::SetHandleSize(record, saisieatt::kEntryFilter + 2 + filterLength);
    if (platform::MemError() != 0) {
        platform::DisposeHandle(record);
        return -1;
    }
    std::memcpy(*record + saisieatt::kEntryFilter, f.p + at + kAttributesBlock, size_t(filterLength) + 1);
    if (entryAttributes) platform::DisposeHandle(entryAttributes);
    entryAttributes = record;
    return at + kAttributesBlock + Padded(filterLength + 1);
}

int32_t VarObject::ReadObject(char* data, int32_t available)
{
    if (available < kVariableHeader) return -1;
    const Flat f{reinterpret_cast<const uint8_t*>(data), available};
    Bounds(f, bounds);
    FieldName(f, 8, 12, varName);
    fontID = f.S16(20);
    face = f.U8(22);
    const int16_t size = f.S16(24);
    interprocess = size < 0 ? 1 : 0;
    fontSize = size < 0 ? int16_t(std::min<int32_t>(-int32_t(size), 32767)) : size;
    entryOption = f.U8(26);
    justification = int8_t(f.U8(27));
    OldColours(f, 28, this);
    SetSousType(f.U8(32), true);
    varOption = f.U8(33);
    objectMethodID = f.S16(34);
    displayOption = f.U8(36);
    uint32_t flags[2];
    DfltScriptFlags(subType, f.U8(37) == 0, flags);
    scriptFlags = uint64_t(flags[0]) << 32 | flags[1];
    varWord1 = f.S16(38);
    varWord2 = f.S16(40);
    tipID1 = tipID2 = 0;
    return ReadFlatTrailer(f.p, kVariableHeader, available);
}

int32_t FieldObject::ReadObject(char* data, int32_t available)
{
    if (available < kFieldHeader) return -1;
    const Flat f{reinterpret_cast<const uint8_t*>(data), available};
    Bounds(f, bounds);
    face = f.U8(8);
    fontID = f.S16(10);
    fontSize = f.S16(12);
    fieldNumber = f.S16(14);
    entryOption = f.U8(16);
    tableNumber = f.U8(17);
    uint32_t flags[2];
    DfltScriptFlags(0, f.U8(18) != 0, flags);
    scriptFlags = uint64_t(flags[0]) << 32 | flags[1];
    justification = int8_t(f.U8(19));
    displayOption = f.U8(20);
    OldColours(f, 22, this);
    objectMethodID = f.S16(26);
    const int32_t used = ReadFlatTrailer(f.p, kFieldHeader, available);
    // Standard formats of codes 16 to 31 were stored with a flag in the
    // high bits.
    if (used >= 0 && format[0] >= 2 && format[1] == 1 && format[2] >= 16 && format[2] <= 31) format[2] &= 0x0F;
    return used;
}
