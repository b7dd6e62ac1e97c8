// Data lengths of the opcodes of version 2 pictures, after the published
// opcode table. Variable-length data (regions, polygons, texts, comments,
// pixel maps and their rows) is walked through the stream; every count is
// checked against what the stream holds.
//
// Pixel maps as the opcodes store them (big-endian):
//   [base address 4: direct opcodes 0x009A/0x009B only]
//   rowBytes 2 (top bit: a pixel map, else a bitmap and nothing more
//   but its bounds), bounds 8, then for a pixel map: pmVersion 2,
//   packType 2, packSize 4, hRes 4, vRes 4, pixelType 2, pixelSize 2,
//   cmpCount 2, cmpSize 2, planeBytes 4, pmTable 4, reserved 4.
//   Colour table (indexed maps): seed 4, flags 2, entries - 1 as 2, then
//   8 bytes an entry.
//   Rows: rowBytes below 8 are stored as they are; others are packed,
//   each preceded by its byte count (a byte up to rowBytes 250, else a
//   word).
#include "toolbox/drawing/VImageParser.h"

#include "toolbox/foundation/VStream.h"

namespace {

constexpr uint16_t kPixMapFlag = 0x8000;

// Reads and skips through the stream; the first failure sticks.
class In {
public:
    explicit In(VStream& stream) : fStream(stream) {}
    bool ok() const { return fOk; }
    int64_t Pos() { return fOk ? fStream.GetPos() : -1; }
    bool Fail() { return fOk = false; }

    uint8_t U8()
    {
        uint8_t v = 0;
        if (fOk && fStream.GetByte(v) != 0) fOk = false;
        return fOk ? v : 0;
    }
    uint16_t U16()
    {
        uint16_t v = 0;
        if (fOk && fStream.GetWord(v) != 0) fOk = false;
        return fOk ? v : 0;
    }
    int16_t S16() { return int16_t(U16()); }
    uint32_t U32()
    {
        uint32_t v = 0;
        if (fOk && fStream.GetLong(v) != 0) fOk = false;
        return fOk ? v : 0;
    }
    bool Skip(int64_t count)
    {
        if (!fOk) return false;
        const int32_t pos = fStream.GetPos();
        if (pos < 0 || count < 0 || count > int64_t(fStream.GetSize()) - pos) return Fail();
        if (count > 0 && fStream.SetPosByOffset(uint32_t(count)) != 0) return Fail();
        return true;
    }

private:
    VStream& fStream;
    bool fOk = true;
};

struct MapHeader {
    int32_t rowBytes = 0;
    int32_t rows = 0;
    int32_t width = 0;
    bool pixMap = false;
    int16_t packType = 0;
};

// rowBytes, bounds and, for a pixel map, the rest of it.
bool WalkMapHeader(In& in, MapHeader& map)
{
    const uint16_t rowBytes = in.U16();
    map.pixMap = rowBytes & kPixMapFlag;
    map.rowBytes = rowBytes & 0x3FFF;
    const int16_t top = in.S16(), left = in.S16(), bottom = in.S16(), right = in.S16();
    map.rows = int32_t(bottom) - top;
    map.width = int32_t(right) - left;
    if (!in.ok() || map.rows < 0 || map.width < 0) return in.Fail();
    if (map.pixMap) {
        in.Skip(2);  // pmVersion
        map.packType = in.S16();
        in.Skip(32);  // packSize .. reserved
    }
    return in.ok();
}

bool WalkColorTable(In& in)
{
    in.Skip(6);
    const int32_t entries = int32_t(in.S16()) + 1;
    if (!in.ok() || entries < 0) return in.Fail();
    return in.Skip(int64_t(entries) * 8);
}

bool WalkRows(In& in, int32_t rowBytes, int32_t rows, bool packed)
{
    if (!packed || rowBytes < 8) return in.Skip(int64_t(rowBytes) * rows);
    for (int32_t r = 0; r < rows && in.ok(); ++r) in.Skip(rowBytes > 250 ? in.U16() : in.U8());
    return in.ok();
}

bool WalkRegion(In& in)
{
    const uint16_t size = in.U16();
    if (!in.ok() || size < 2) return in.Fail();
    return in.Skip(size - 2);
}

// BitsRect, BitsRgn, PackBitsRect, PackBitsRgn.
bool WalkIndexedBits(In& in, bool packed, bool region)
{
    MapHeader map;
    if (!WalkMapHeader(in, map)) return false;
    if (map.pixMap && !WalkColorTable(in)) return false;
    in.Skip(18);  // source and destination rectangles, mode
    if (region && !WalkRegion(in)) return false;
    return WalkRows(in, map.rowBytes, map.rows, packed);
}

// DirectBitsRect, DirectBitsRgn. Rows of rowBytes below 8, and of
// packType 1, are stored as they are, rowBytes each (whatever the depth
// and wherever the bounds lie); packType 2 leaves out each pixel's pad
// byte (3 bytes a pixel); the default packing 0, and 3 and 4, are packed
// rows with their counts. Other packings are not published.
bool WalkDirectBits(In& in, bool region)
{
    in.Skip(4);  // base address
    MapHeader map;
    if (!WalkMapHeader(in, map)) return false;
    in.Skip(18);
    if (region && !WalkRegion(in)) return false;
    if (!in.ok()) return false;
    if (map.rowBytes < 8 || map.packType == 1) return WalkRows(in, map.rowBytes, map.rows, false);
    if (map.packType == 2) return in.Skip(int64_t(map.width) * 3 * map.rows);
    if (map.packType == 0 || map.packType == 3 || map.packType == 4)
        return WalkRows(in, map.rowBytes, map.rows, true);
    return in.Fail();
}

// Pixel patterns: the pixel map has no base address.
bool WalkPixPat(In& in)
{
    const int16_t type = in.S16();
    if (!in.ok()) return false;
    if (type == 2) return in.Skip(14);  // old pattern, RGB colour
    in.Skip(8);
    MapHeader map;
    if (!WalkMapHeader(in, map)) return false;
    if (map.pixMap && !WalkColorTable(in)) return false;
    return WalkRows(in, map.rowBytes, map.rows, true);
}

// What is left once the walk ended: nothing but the pad byte.
int32_t PadAfterWalk(In& in, bool walked)
{
    if (!walked || !in.ok()) return -1;
    const int64_t pos = in.Pos();
    return pos < 0 ? -1 : int32_t(pos & 1);
}

// A count of bytes still to come, padded so that the data ends even.
int32_t Padded(In& in, int64_t count)
{
    const int64_t pos = in.Pos();
    if (!in.ok() || pos < 0 || count < 0 || count > 0x7FFFFFFE) return -1;
    return int32_t(count + ((pos + count) & 1));
}

bool InRange(uint16_t op, uint16_t first, uint16_t last) { return op >= first && op <= last; }

bool IsUnsupported(uint16_t op)
{
    return InRange(op, 0x0065, 0x0066) || InRange(op, 0x00A3, 0x00AE) || InRange(op, 0x00B0, 0x00CE) ||
           InRange(op, 0x00D1, 0x00FD) || op == 0x00FF || InRange(op, 0x0101, 0x01FE) ||
           InRange(op, 0x0201, 0x02FE) || InRange(op, 0x0300, 0x0AFF) || InRange(op, 0x0B01, 0x0BFE) ||
           InRange(op, 0x0C02, 0x7EFF) || InRange(op, 0x7F01, 0x7FFE) || InRange(op, 0x8001, 0x80FE) ||
           InRange(op, 0x8101, 0x81FF) || InRange(op, 0x8202, 0xFFFE);
}

// Opcodes of fixed length below 0x0100.
int32_t FixedLength(uint16_t op)
{
    switch (op) {
    case 0x0002: case 0x0009: case 0x000A: case 0x0010: return 8;
    case 0x0003: case 0x0005: case 0x0008: case 0x000D: case 0x0015: case 0x0016: return 2;
    case 0x0004: case 0x0011: return 2;  // one byte and its pad
    case 0x0006: case 0x0007: case 0x000B: case 0x000C: case 0x000E: case 0x000F: return 4;
    case 0x001A: case 0x001B: case 0x001D: case 0x001F: return 6;
    case 0x0020: return 8;
    case 0x0021: return 4;
    case 0x0022: return 6;
    case 0x0023: return 2;
    case 0x00A0: return 2;
    default: break;
    }
    if (InRange(op, 0x0030, 0x0037) || InRange(op, 0x0040, 0x0047) || InRange(op, 0x0050, 0x0057)) return 8;
    if (InRange(op, 0x0060, 0x0067)) return 12;
    if (InRange(op, 0x0068, 0x006F)) return 4;
    return 0;  // the "same shape" opcodes and the data-less ones
}

}  // namespace

int32_t GetPictOpcodeSkipSize(VStream& stream, uint16_t op)
{
    if (IsUnsupported(op)) return -1;
    In in(stream);
    switch (op) {
    case 0x0012: case 0x0013: case 0x0014: return PadAfterWalk(in, WalkPixPat(in));
    // The reserved opcodes with a length word, and the line justification
    // and glyph state, whose data also starts with the length of the rest.
    case 0x0024: case 0x0025: case 0x0026: case 0x0027: case 0x002D: case 0x002E: case 0x002F:
    case 0x0092: case 0x0093: case 0x0094: case 0x0095: case 0x0096: case 0x0097:
    case 0x009C: case 0x009D: case 0x009E: case 0x009F: case 0x00A2: case 0x00AF:
        return Padded(in, in.U16());
    case 0x0028: in.Skip(4); return Padded(in, in.U8());
    case 0x0029: case 0x002A: in.Skip(1); return Padded(in, in.U8());
    case 0x002B: in.Skip(2); return Padded(in, in.U8());
    case 0x002C: in.Skip(4); return Padded(in, in.U8());
    case 0x0090: return PadAfterWalk(in, WalkIndexedBits(in, false, false));
    case 0x0091: return PadAfterWalk(in, WalkIndexedBits(in, false, true));
    case 0x0098: return PadAfterWalk(in, WalkIndexedBits(in, true, false));
    case 0x0099: return PadAfterWalk(in, WalkIndexedBits(in, true, true));
    case 0x009A: return PadAfterWalk(in, WalkDirectBits(in, false));
    case 0x009B: return PadAfterWalk(in, WalkDirectBits(in, true));
    case 0x00A1: in.Skip(2); return Padded(in, in.U16());
    case 0x00D0: case 0x00FE: case 0x8100: case 0x8200: case 0x8201: case 0xFFFF: return Padded(in, in.U32());
    case 0x0100: case 0x01FF: case 0x02FF: return 2;
    case 0x0200: return 4;
    case 0x0B00: return 0;
    case 0x0BFF: return 22;
    case 0x0C00: case 0x0C01: return 24;
    case 0x7F00: case 0x7FFF: return 254;
    case 0x8000: case 0x80FF: return 0;
    default: break;
    }
    if (op == 0x0001 || InRange(op, 0x0070, 0x0077) || InRange(op, 0x0080, 0x0087)) {
        const uint16_t size = in.U16();
        return in.ok() && size >= 2 ? Padded(in, size - 2) : -1;
    }
    return FixedLength(op);
}
