// Every opcode of the published version 2 table, its data laid out as the
// table gives it, between a clip and a marker comment: the player draws
// through it onto the marker, and the toolbox's walker steps over it onto
// the same marker (or stops where its own table refuses the opcode).
#include <gtest/gtest.h>

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

bool In(uint16_t op, uint16_t first, uint16_t last) { return op >= first && op <= last; }

// Writes op's data as the published table lays it out, valid for drawing;
// `counted` is what a length word says where there is one.
void WriteData(PictBuilder& p, uint16_t op, uint16_t counted)
{
    auto withLength = [&](uint16_t n) { p.W(n), p.Fill(n, 0x33); };
    if (op == 0x0000 || In(op, 0x0017, 0x0019) || op == 0x001C || op == 0x001E || op == 0x00FF ||
        In(op, 0x00B0, 0x00CF) || In(op, 0x8000, 0x80FF) || ((op >> 4) >= 3 && (op >> 4) <= 8 && (op & 8) &&
                                                                 !In(op, 0x0068, 0x006F)))
        return;  // no data, or a "same" shape
    if (In(op, 0x0030, 0x005F)) return p.R(2, 2, 12, 20);
    if (In(op, 0x0060, 0x0067)) return p.R(2, 2, 12, 20), p.W(0), p.W(90);
    if (In(op, 0x0068, 0x006F)) return p.W(45), p.W(180);
    if (In(op, 0x0070, 0x0077)) return p.W(18), p.R(1, 1, 9, 9), p.W(1), p.W(1), p.W(9), p.W(9);
    if (op == 0x0001 || In(op, 0x0080, 0x0087)) return p.W(10), p.R(0, 0, 20, 30);
    if (In(op, 0x0024, 0x0027) || In(op, 0x002D, 0x002F) || In(op, 0x0092, 0x0097) || In(op, 0x009C, 0x009F) ||
        In(op, 0x00A2, 0x00AF))
        return withLength(counted);
    if (In(op, 0x00D0, 0x00FE) || op >= 0x8100) return p.L(5), p.Fill(5, 0x44);
    if (op == 0x02FF) return p.W(0x02FF);  // the version: 2 bytes, not 4
    if (In(op, 0x0100, 0x7FFF)) return p.Fill(size_t(op >> 8) * 2, 0x66);
    switch (op) {
    case 0x0002: case 0x0009: case 0x000A: return p.Fill(8, 0xAA);
    case 0x0004: return p.B(1);
    case 0x0003: case 0x0015: case 0x0016: return p.W(0);
    case 0x0005: return p.W(1);
    case 0x0008: return p.W(8);
    case 0x000D: return p.W(12);
    case 0x0011: return p.W(0x02FF);
    case 0x0006: case 0x000C: return p.L(0);
    case 0x0007: return p.L(0x00010001);
    case 0x000B: return p.L(0x00080008);
    case 0x000E: return p.L(33);
    case 0x000F: return p.L(30);
    case 0x0010: return p.L(0x00010001), p.L(0x00010001);
    case 0x0012: case 0x0013: case 0x0014: return p.W(2), p.Fill(8, 0x55), p.W(0x1000), p.W(0x2000), p.W(0x3000);
    case 0x001A: case 0x001B: case 0x001D: case 0x001F: return p.W(0x1111), p.W(0x2222), p.W(0x3333);
    case 0x0020: return p.R(2, 2, 9, 12);
    case 0x0021: return p.L(0x00040004);
    case 0x0022: return p.L(0x00030003), p.B(4), p.B(0xFE);
    case 0x0023: return p.W(0x0202);
    case 0x0028: return p.L(0x000E0003), p.B(3), p.Fill(3, 'x');
    case 0x0029: case 0x002A: return p.B(5), p.B(2), p.Fill(2, 'y');
    case 0x002B: return p.B(5), p.B(5), p.B(1), p.B('z');
    case 0x002C: return p.W(8), p.W(3), p.B(5), p.Fill(5, 'F');
    case 0x0090: case 0x0091: case 0x0098: case 0x0099:  // 2 rows of 16 pixels, 1 bit
        p.W(2), p.R(0, 0, 2, 16), p.R(0, 0, 2, 16), p.R(2, 2, 4, 18), p.W(0);
        if (op & 1) p.W(10), p.R(2, 2, 4, 18);
        return p.Fill(4, 0xA5);
    case 0x00A0: return p.W(7);
    case 0x00A1: return p.W(7), p.W(3), p.Fill(3, 'c');
    default: ADD_FAILURE() << "no published data for " << std::hex << op;
    }
}

int gMarkers = 0;
void CountMarker(int16_t kind, int16_t, platform::Handle) { gMarkers += kind == kMarkerKind; }

// Plays the picture: its error, and whether the marker was reached.
std::pair<platform::OSErr, bool> Play(const std::vector<uint8_t>& bytes)
{
    using namespace platform;
    GWorldPtr world = nullptr;
    const Rect frame{0, 0, 20, 30};
    NewGWorld(&world, 32, &frame, nullptr, nullptr, 0);
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
    SetGWorld(savedPort, savedDevice);
    DisposeGWorld(world);
    return {err, gMarkers == 1};
}

// The opcodes below 0x0100 that the walker's own table refuses (its search
// stops there); it takes every long one tested here.
bool WalkerRefuses(uint16_t op)
{
    return In(op, 0x0065, 0x0066) || In(op, 0x00A3, 0x00AE) || In(op, 0x00B0, 0x00CE) || In(op, 0x00D1, 0x00FD) ||
           op == 0x00FF;
}

}  // namespace

TEST(PictOpcodes, BothReadersStepOverEveryPublishedOpcodeOntoTheSameNext)
{
    // Every opcode once with the counts its table gives (the glyph state's
    // word counting the 6 bytes of its published 8), the line justification
    // and glyph state again with other counts, and the long opcodes.
    std::vector<std::pair<uint16_t, uint16_t>> ops;
    for (uint16_t op = 0; op <= 0x00FF; ++op) ops.push_back({op, op == 0x002D ? 8 : op == 0x002E ? 6 : 3});
    for (uint16_t counted : {0, 4, 9}) ops.push_back({0x002D, counted}), ops.push_back({0x002E, counted});
    for (uint16_t op : {0x0100, 0x01FF, 0x0200, 0x02FF, 0x0BFF, 0x0C00, 0x0C01, 0x7F00, 0x7FFF, 0x8000, 0x80FF, 0x8100,
                        0x8201, 0xFFFF})
        ops.push_back({op, 0});
    for (const auto& [op, counted] : ops) {
        PictBuilder p;
        p.ClipRegion();
        if (op == 0x009A || op == 0x009B)
            p.DirectBits(0, 0, 2, 2, 8, 32, 8, 1, op == 0x009B);
        else
            p.Op(op), WriteData(p, op, counted);
        const uint16_t marker = op == 0x00A0 ? 0x00A1 : 0x00A0;
        const size_t at = p.Op(marker);
        p.W(uint16_t(kMarkerKind)), p.W(0);
        p.End();
        const auto [err, reached] = Play(p.bytes);
        EXPECT_EQ(err, platform::noErr) << std::hex << "opcode " << op;
        EXPECT_EQ(reached, op != 0x00FF) << std::hex << "opcode " << op << ": the player missed the marker";
        VPtrStream stream(reinterpret_cast<char*>(p.bytes.data()), int32_t(p.bytes.size()));
        VPictParser parser(stream, false);
        ASSERT_EQ(parser.StartParsing(), 0);
        EXPECT_EQ(parser.FindOpcodeOffset(marker), WalkerRefuses(op) ? -1 : int32_t(at))
            << std::hex << "opcode " << op << " counting " << counted << ": the walker missed the marker";
    }
}

// The size of an opcode's data read from its own counts: padded so that the
// data ends even, and -1 where the count runs past what a size can hold, is
// cut short or is less than the bytes that hold it.
TEST(PictOpcodes, CountedSizesEndEvenAndDamageIsRefused)
{
    struct Case {
        uint16_t op;
        std::vector<uint8_t> data;
        int32_t size;
    };
    const Case cases[] = {
        {0x00A1, {0, 7, 0, 3}, 4},                     // 3 bytes from an even start, one pad
        {0x00A1, {0, 7, 0, 4}, 4},                     // an even count, no pad
        {0x0028, {0, 0, 0, 0, 3}, 3},                  // 3 bytes from an odd start end even
        {0x00D0, {0x7F, 0xFF, 0xFF, 0xFE}, 0x7FFFFFFE},  // the largest count taken
        {0x00D0, {0x7F, 0xFF, 0xFF, 0xFF}, -1},
        {0x00D0, {0xFF, 0xFF, 0xFF, 0xFF}, -1},
        {0x00D0, {0, 0}, -1},                          // the count cut short
        {0x0001, {0, 1}, -1},                          // a region smaller than its size word
        {0x0001, {0, 2}, 0},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = c.data;
        VPtrStream stream(reinterpret_cast<char*>(bytes.data()), int32_t(bytes.size()));
        ASSERT_EQ(stream.OpenReading(), 0);
        EXPECT_EQ(GetPictOpcodeSkipSize(stream, c.op), c.size) << std::hex << c.op << " of " << c.data.size();
    }

    // A match whose data runs past the picture ends the search there.
    PictBuilder p;
    p.ClipRegion();
    const size_t at = p.Op(0x00A1);
    p.W(7), p.W(200);
    p.End();
    VPtrStream stream(reinterpret_cast<char*>(p.bytes.data()), int32_t(p.bytes.size()));
    VPictParser parser(stream, false);
    ASSERT_EQ(parser.StartParsing(), 0);
    EXPECT_EQ(parser.FindOpcodeOffset(0x00A1), int32_t(at));
    EXPECT_EQ(parser.FindOpcodeOffset(0x00A1), -1);
}
