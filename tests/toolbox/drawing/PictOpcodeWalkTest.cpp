// Every opcode of the published version 2 table, with data laid out as the
// table gives it, between the header and a marker comment: the player
// must draw through it and reach the marker, and the toolbox's walker must
// step over it onto the marker (or refuse it where the walker's own table
// refuses it). Both readers therefore agree on every opcode's length.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/pictures/Pictures.h"
#include "tests/toolbox/drawing/PictBuilder.h"
#include "toolbox/drawing/VImageParser.h"
#include "toolbox/foundation/VPtrStream.h"

using picttest::PictBuilder;

namespace {

constexpr int16_t kMarkerKind = 0x5A5A;

bool InRange(uint16_t op, uint16_t first, uint16_t last) { return op >= first && op <= last; }

// A 1-bit map of 2 rows of 16 pixels with its rectangles and mode.
void SmallBitMap(PictBuilder& p, bool region)
{
    p.W(2), p.R(0, 0, 2, 16);
    p.R(0, 0, 2, 16), p.R(2, 2, 4, 18), p.W(0);
    if (region) p.W(10), p.R(2, 2, 4, 18);
    p.Fill(4, 0xA5);
}

// A compressed image of a kind nobody decodes (a grey box is drawn): the
// QuickTime header, no matte, no mask, an image description of 86 bytes
// and 4 bytes of data.
void CompressedImage(PictBuilder& p)
{
    const uint32_t length = 68 + 86 + 4;
    p.L(length);
    p.W(0);
    for (int i = 0; i < 9; ++i) p.L(i == 0 || i == 4 ? 0x00010000u : i == 8 ? 0x40000000u : 0u);
    p.L(0), p.R(0, 0, 0, 0), p.W(0), p.R(0, 0, 4, 4), p.L(0), p.L(0);
    p.L(86), p.L(0x72617720);  // 'raw '
    p.Fill(24), p.W(4), p.W(4), p.Fill(8), p.L(4), p.Fill(38);
    p.Fill(4, 0x77);
}

// Writes op's data as the published table lays it out, valid for drawing.
void WriteData(PictBuilder& p, uint16_t op)
{
    auto withLength = [&](uint16_t n) {
        p.W(n);
        p.Fill(n, 0x33);
    };
    if (op == 0x0000 || InRange(op, 0x0017, 0x0019) || op == 0x001C || op == 0x001E || op == 0x00FF ||
        InRange(op, 0x00B0, 0x00CF) || InRange(op, 0x8000, 0x80FF))
        return;
    if ((InRange(op, 0x0038, 0x003F) || InRange(op, 0x0048, 0x004F) || InRange(op, 0x0058, 0x005F) ||
         InRange(op, 0x0078, 0x007F) || InRange(op, 0x0088, 0x008F)))
        return;  // the "same" shapes
    if (InRange(op, 0x0030, 0x0037) || InRange(op, 0x0040, 0x0047) || InRange(op, 0x0050, 0x0057))
        return p.R(2, 2, 12, 20);
    if (InRange(op, 0x0060, 0x0067)) return p.R(2, 2, 12, 20), p.W(0), p.W(90);
    if (InRange(op, 0x0068, 0x006F)) return p.W(45), p.W(180);
    if (InRange(op, 0x0070, 0x0077)) return p.W(18), p.R(1, 1, 9, 9), p.W(1), p.W(1), p.W(9), p.W(9);
    if (op == 0x0001 || InRange(op, 0x0080, 0x0087)) return p.W(10), p.R(0, 0, 20, 30);
    if (InRange(op, 0x0024, 0x0027) || op == 0x002F || InRange(op, 0x0092, 0x0097) || InRange(op, 0x009C, 0x009F) ||
        InRange(op, 0x00A2, 0x00AF))
        return withLength(3);  // odd: the pad byte follows
    if (InRange(op, 0x00D0, 0x00FE) || InRange(op, 0x8100, 0xFFFF)) {
        if (op == 0x8200) return CompressedImage(p);
        return p.L(5), p.Fill(5, 0x44);
    }
    if (op == 0x02FF) return p.W(0x02FF);  // the version: 2 bytes, not 4
    if (InRange(op, 0x0100, 0x7FFF)) return p.Fill(size_t(op >> 8) * 2, 0x66);
    switch (op) {
    case 0x0002: case 0x0009: case 0x000A: return p.Fill(8, 0xAA);
    case 0x0003: return p.W(0);
    case 0x0004: return p.B(1);
    case 0x0005: return p.W(1);
    case 0x0006: return p.L(0);
    case 0x0007: return p.W(1), p.W(1);
    case 0x0008: return p.W(8);
    case 0x000B: return p.W(8), p.W(8);
    case 0x000C: return p.W(0), p.W(0);
    case 0x000D: return p.W(12);
    case 0x000E: return p.L(33);
    case 0x000F: return p.L(30);
    case 0x0010: return p.W(1), p.W(1), p.W(1), p.W(1);
    case 0x0011: return p.W(0x02FF);
    case 0x0012: case 0x0013: case 0x0014: return p.W(2), p.Fill(8, 0x55), p.W(0x1000), p.W(0x2000), p.W(0x3000);
    case 0x0015: case 0x0016: return p.W(0);
    case 0x001A: case 0x001B: case 0x001D: case 0x001F: return p.W(0x1111), p.W(0x2222), p.W(0x3333);
    case 0x0020: return p.W(2), p.W(2), p.W(9), p.W(12);
    case 0x0021: return p.W(4), p.W(4);
    case 0x0022: return p.W(3), p.W(3), p.B(4), p.B(uint8_t(-2));
    case 0x0023: return p.B(2), p.B(2);
    case 0x0028: return p.W(14), p.W(3), p.B(3), p.Fill(3, 'x');
    case 0x0029: case 0x002A: return p.B(5), p.B(2), p.Fill(2, 'y');
    case 0x002B: return p.B(5), p.B(5), p.B(1), p.B('z');
    case 0x002C: return p.W(8), p.W(3), p.B(5), p.Fill(5, 'F');
    case 0x002D: return withLength(8);
    case 0x002E: return withLength(6);  // the published 8 bytes: the word and its 6
    case 0x0090: case 0x0098: return SmallBitMap(p, false);
    case 0x0091: case 0x0099: return SmallBitMap(p, true);
    case 0x00A0: return p.W(7);
    case 0x00A1: return p.W(7), p.W(3), p.Fill(3, 'c');
    default: break;
    }
    ADD_FAILURE() << "no published data for " << std::hex << op;
}

struct Walked {
    size_t marker = 0;  // the marker's offset
    std::vector<uint8_t> bytes;
};

Walked Picture(uint16_t op)
{
    PictBuilder p;
    p.ClipRegion();
    if (op == 0x009A || op == 0x009B) {
        p.DirectBits(0, 0, 2, 2, 8, 32, 8, 1, op == 0x009B);
    } else {
        p.Op(op);
        WriteData(p, op);
    }
    Walked w;
    // A short comment marks where the next opcode stands (a long one after
    // a short comment, so the walker never stops at the opcode under test).
    w.marker = p.Op(op == 0x00A0 ? 0x00A1 : 0x00A0);
    p.W(uint16_t(kMarkerKind));
    if (op == 0x00A0) p.W(0);
    p.End();
    w.bytes = p.bytes;
    return w;
}

int gMarkers = 0;
void CountMarker(int16_t kind, int16_t, platform::Handle)
{
    if (kind == kMarkerKind) ++gMarkers;
}

// Plays the picture; whether it ended well and reached the marker.
std::pair<platform::OSErr, bool> Play(const std::vector<uint8_t>& bytes)
{
    using namespace platform;
    GWorldPtr world = nullptr;
    const Rect frame{0, 0, 20, 30};
    EXPECT_EQ(NewGWorld(&world, 32, &frame, nullptr, nullptr, 0), noErr);
    CGrafPtr savedPort;
    GDHandle savedDevice;
    GetGWorld(&savedPort, &savedDevice);
    SetGWorld(world, nullptr);
    QDProcs procs;
    procs.commentProc = CountMarker;
    world->grafProcs = &procs;
    Handle h = nullptr;
    PtrToHand(bytes.data(), &h, Size(bytes.size()));
    gMarkers = 0;
    DrawPicture(h, &frame);
    const OSErr err = QDError();
    DisposeHandle(h);
    world->grafProcs = nullptr;
    SetGWorld(savedPort, savedDevice);
    DisposeGWorld(world);
    return {err, gMarkers == 1};
}

// Where the walker finds the marker, or -1 where it stops.
int32_t Walk(std::vector<uint8_t>& bytes, uint16_t marker)
{
    VPtrStream stream(reinterpret_cast<char*>(bytes.data()), int32_t(bytes.size()));
    VPictParser parser(stream, false);
    EXPECT_EQ(parser.StartParsing(), 0);
    return parser.FindOpcodeOffset(marker);
}

// The opcodes the walker's own table refuses (the search stops there).
bool WalkerRefuses(uint16_t op)
{
    return InRange(op, 0x0065, 0x0066) || InRange(op, 0x00A3, 0x00AE) || InRange(op, 0x00B0, 0x00CE) ||
           InRange(op, 0x00D1, 0x00FD) || op == 0x00FF || InRange(op, 0x0101, 0x01FE) || InRange(op, 0x0201, 0x02FE) ||
           InRange(op, 0x0300, 0x0AFF) || InRange(op, 0x0B01, 0x0BFE) || InRange(op, 0x0C02, 0x7EFF) ||
           InRange(op, 0x7F01, 0x7FFE) || InRange(op, 0x8001, 0x80FE) || InRange(op, 0x8101, 0x81FF) ||
           InRange(op, 0x8202, 0xFFFE);
}

}  // namespace

TEST(PictOpcodes, BothReadersStepOverEveryPublishedOpcodeOntoTheSameNext)
{
    std::vector<uint16_t> ops;
    for (uint16_t op = 0; op <= 0x00FF; ++op) ops.push_back(op);
    for (uint16_t op : {0x0100, 0x01FF, 0x0200, 0x02FF, 0x0BFF, 0x0C00, 0x0C01, 0x7F00, 0x7FFF, 0x8000, 0x80FF, 0x8100,
                        0x8200, 0x8201, 0xFFFF})
        ops.push_back(op);
    for (uint16_t op : ops) {
        Walked w = Picture(op);
        const auto [err, reached] = Play(w.bytes);
        EXPECT_EQ(err, platform::noErr) << std::hex << "opcode " << op;
        EXPECT_EQ(reached, op != 0x00FF) << std::hex << "opcode " << op << ": the player did not land on the marker";
        const uint16_t marker = op == 0x00A0 ? 0x00A1 : 0x00A0;
        const int32_t found = Walk(w.bytes, marker);
        if (WalkerRefuses(op))
            EXPECT_EQ(found, -1) << std::hex << "opcode " << op;
        else
            EXPECT_EQ(found, int32_t(w.marker)) << std::hex << "opcode " << op << ": the walker did not land on the marker";
    }
}

TEST(PictOpcodes, TheLengthWordOfLineJustificationAndGlyphStateIsWhatBothReadersFollow)
{
    // The published lengths (10 and 8) are the word and what it counts; a
    // writer that counts otherwise is still followed by both readers.
    for (const uint16_t op : {uint16_t(0x002D), uint16_t(0x002E)})
        for (const uint16_t counted : {uint16_t(4), uint16_t(6), uint16_t(8), uint16_t(0)}) {
            PictBuilder p;
            p.Op(op);
            p.W(counted), p.Fill(counted, 0x01);
            const size_t marker = p.Op(0x00A0);
            p.W(uint16_t(kMarkerKind));
            p.End();
            const auto [err, reached] = Play(p.bytes);
            EXPECT_EQ(err, platform::noErr) << std::hex << op << " " << counted;
            EXPECT_TRUE(reached) << std::hex << op << " " << counted;
            EXPECT_EQ(Walk(p.bytes, 0x00A0), int32_t(marker)) << std::hex << op << " " << counted;
        }
}
