#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

#include "kernel/helpers/KernelPictures.h"
#include "platform/pictures/PictWriter.h"
#include "platform/pictures/Pictures.h"
#include "tests/toolbox/drawing/PictBuilder.h"
#include "toolbox/drawing/VImageParser.h"
#include "toolbox/foundation/VPtrStream.h"

using picttest::CmpSizeAt;
using picttest::PictBuilder;

namespace {

struct HandleGuard {
    explicit HandleGuard(platform::Handle handle) : h(handle) {}
    ~HandleGuard() { platform::DisposeHandle(h); }
    platform::Handle h;
};

std::vector<uint8_t> BytesOf(platform::Handle h)
{
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    return std::vector<uint8_t>(p, p + platform::GetHandleSize(h));
}

// Every offset of `opcode` that the walker finds from the start.
std::vector<int32_t> Offsets(std::vector<uint8_t>& bytes, uint16_t opcode)
{
    VPtrStream stream(reinterpret_cast<char*>(bytes.data()), int32_t(bytes.size()));
    VPictParser parser(stream, false);
    EXPECT_EQ(parser.StartParsing(), 0);
    std::vector<int32_t> found;
    for (int32_t o = parser.FindOpcodeOffset(opcode); o >= 0 && found.size() < 100; o = parser.FindOpcodeOffset(opcode))
        found.push_back(o);
    return found;
}

TEST(PictRepair, DirectPixelMapsAfterTheClipAreClampedByBothRepairs)
{
    // Passes 2 and 3: a second clip before the map, which the quick repair
    // steps over too.
    for (int pass = 0; pass < 4; ++pass) {
        PictBuilder p;
        p.ClipRegion();
        if (pass >= 2) p.ClipRegion(12);
        const size_t at = p.DirectBits(0, 0, 2, 2, 8, 32, 16, 1);
        p.End();
        HandleGuard pict(p.ToHandle());
        ASSERT_GT(p.bytes.size(), 100u);
        if (pass % 2 == 0)
            EXPECT_TRUE(RepairPicture(pict.h));
        else
            FastRepairPicture(pict.h);
        EXPECT_EQ(CmpSizeAt(pict.h, at), 8) << "pass " << pass;
        const std::vector<uint8_t> repaired = BytesOf(pict.h);
        EXPECT_FALSE(RepairPicture(pict.h)) << "already 8: nothing changes";
        EXPECT_EQ(BytesOf(pict.h), repaired);
    }
}

TEST(PictRepair, LeavesSmallComponentsShortPicturesAndUnknownOpcodesAlone)
{
    PictBuilder eight;
    eight.ClipRegion();
    eight.DirectBits(0, 0, 2, 2, 8, 32, 8, 1);
    eight.End();
    HandleGuard a(eight.ToHandle());
    EXPECT_FALSE(RepairPicture(a.h));
    FastRepairPicture(a.h);
    EXPECT_EQ(BytesOf(a.h), eight.bytes);

    // An opcode whose length nobody knows stops the walk before the map.
    PictBuilder unknown;
    unknown.ClipRegion();
    unknown.Op(0x00B0);
    const size_t at = unknown.DirectBits(0, 0, 2, 2, 8, 32, 16, 1);
    unknown.End();
    HandleGuard b(unknown.ToHandle());
    EXPECT_FALSE(RepairPicture(b.h));
    EXPECT_EQ(CmpSizeAt(b.h, at), 16);

    // 100 bytes or less: the quick repair reads nothing beyond the header.
    PictBuilder small;
    small.ClipRegion();
    small.DirectBits(0, 0, 2, 2, 8, 32, 16, 1);
    small.End();
    HandleGuard c(small.ToHandle(100));
    FastRepairPicture(c.h);
    EXPECT_EQ(BytesOf(c.h), std::vector<uint8_t>(small.bytes.begin(), small.bytes.begin() + 100));

    EXPECT_FALSE(RepairPicture(nullptr));
    FastRepairPicture(nullptr);
}

TEST(PictRepair, EveryDirectMapIsRepairedNotOnlyTheFirst)
{
    PictBuilder p;
    p.ClipRegion();
    const size_t first = p.DirectBits(0, 0, 2, 2, 8, 32, 16, 1);
    const size_t second = p.DirectBits(0, 0, 3, 4, 16, 32, 16, 4);
    const size_t third = p.DirectBits(0, 0, 2, 2, 8, 32, 16, 1, true);
    const size_t fourth = p.DirectBits(0, 0, 2, 2, 8, 32, 16, 1, true);
    p.End();
    HandleGuard pict(p.ToHandle());
    EXPECT_TRUE(RepairPicture(pict.h));
    for (size_t at : {first, second, third, fourth}) EXPECT_EQ(CmpSizeAt(pict.h, at), 8) << at;
}

TEST(PictRepair, RowsAreCountedFromTheBoundsTopAndUnpackedRowsByRowBytes)
{
    // Bounds far from the origin, 32-bit pixels stored unpacked: the map
    // after them is found only when the rows are bottom - top of rowBytes.
    PictBuilder p;
    p.ClipRegion();
    p.DirectBits(300, 200, 2, 3, 12, 32, 8, 1);
    const size_t behind = p.DirectBits(0, 0, 2, 2, 8, 32, 16, 1);
    p.End();
    EXPECT_EQ(Offsets(p.bytes, 0x009A), (std::vector<int32_t>{52, int32_t(behind)}));
    HandleGuard pict(p.ToHandle());
    EXPECT_TRUE(RepairPicture(pict.h));
    EXPECT_EQ(CmpSizeAt(pict.h, behind), 8);
    EXPECT_EQ(Offsets(p.bytes, 0x00FF).back(), int32_t(p.bytes.size() - 2));
}

TEST(PictRepair, DirectMapsOfEveryPublishedPackingAreSteppedOver)
{
    // 0 the default packing, 2 pixels without their pad byte, 3 and 4
    // packed rows; rowBytes below 8 always unpacked.
    for (int16_t packType : {0, 2, 3, 4}) {
        PictBuilder p;
        p.ClipRegion();
        p.DirectBits(0, 0, 3, 5, 20, 32, 8, packType);
        p.DirectBits(0, 0, 2, 1, 4, 32, 8, packType);
        const size_t behind = p.DirectBits(0, 0, 2, 2, 8, 32, 16, 1);
        p.End();
        HandleGuard pict(p.ToHandle());
        EXPECT_TRUE(RepairPicture(pict.h)) << packType;
        EXPECT_EQ(CmpSizeAt(pict.h, behind), 8) << packType;
    }
    PictBuilder unknown;
    unknown.ClipRegion();
    unknown.DirectBits(0, 0, 3, 5, 20, 32, 8, 5);
    const size_t behind = unknown.DirectBits(0, 0, 2, 2, 8, 32, 16, 1);
    unknown.End();
    HandleGuard pict(unknown.ToHandle());
    EXPECT_FALSE(RepairPicture(pict.h)) << "a packing nobody publishes stops the walk";
    EXPECT_EQ(CmpSizeAt(pict.h, behind), 16);
}

TEST(PictRepair, NothingIsReadOrWrittenPastTheEnd)
{
    // Cut right inside the component size of the map: o + 38 is inside,
    // o + 40 is not.
    PictBuilder p;
    p.ClipRegion();
    p.Fill(60);  // the clip region grown below: more than 100 bytes
    p.bytes[42] = 0, p.bytes[43] = 70;
    const size_t at = p.DirectBits(0, 0, 2, 2, 8, 32, 16, 1);
    for (size_t cut = at + 2; cut < at + 40; ++cut) {
        HandleGuard pict(p.ToHandle(cut));
        const std::vector<uint8_t> before = BytesOf(pict.h);
        RepairPicture(pict.h);
        FastRepairPicture(pict.h);
        EXPECT_EQ(BytesOf(pict.h), before) << "cut at " << cut;
    }
    HandleGuard whole(p.ToHandle(at + 40));
    FastRepairPicture(whole.h);
    EXPECT_EQ(CmpSizeAt(whole.h, at), 8);
}

TEST(PictWalker, OpcodesOfVariableLengthAreSteppedOverExactly)
{
    PictBuilder p;
    std::vector<std::pair<uint16_t, size_t>> ops;
    auto op = [&](uint16_t code) { ops.push_back({code, p.Op(code)}); };
    op(0x0028);  // LongText of 4 bytes: 9 bytes of data, one pad
    p.L(0x00100020), p.B(4), p.Fill(4, 'a');
    op(0x002B);  // DHDVText of 3: even already
    p.B(1), p.B(2), p.B(3), p.Fill(3, 'b');
    op(0x002C);  // font name
    p.W(7), p.W(21), p.B(4), p.Fill(4, 'c');
    op(0x00A1);  // long comment of 5 bytes
    p.W(100), p.W(5), p.Fill(5, 'd');
    op(0x0081);  // a region painted
    p.W(14), p.Fill(12);
    op(0x0070);  // a polygon
    p.W(18), p.Fill(16);
    op(0x0098);  // bitmap of rowBytes 2 (< 8: unpacked)
    p.W(2), p.R(5, 5, 8, 20), p.R(0, 0, 3, 15), p.R(0, 0, 3, 15), p.W(0);
    p.Rows(2, 3, true);
    op(0x0098);  // 8-bit pixel map of rowBytes 10, byte counts
    p.W(0x8000 | 10), p.R(0, 0, 3, 10), p.PixMapRest(0, 0, 8, 1, 8);
    p.L(0), p.W(0), p.W(1), p.Fill(16);  // colour table of two entries
    p.R(0, 0, 3, 10), p.R(0, 0, 3, 10), p.W(0);
    p.Rows(10, 3, true);
    op(0x0098);  // rowBytes 300: word counts
    p.W(0x8000 | 300), p.R(0, 0, 2, 300), p.PixMapRest(0, 0, 8, 1, 8);
    p.L(0), p.W(0), p.W(0), p.Fill(8);
    p.R(0, 0, 2, 300), p.R(0, 0, 2, 300), p.W(0);
    p.Rows(300, 2, true);
    op(0x0012);  // a background pixel pattern: no base address
    p.W(1), p.Fill(8), p.W(0x8000 | 2), p.R(0, 0, 8, 8), p.PixMapRest(0, 0, 2, 1, 2);
    p.L(0), p.W(0), p.W(3), p.Fill(32), p.Rows(2, 8, true);
    op(0x0013);  // a dither pattern
    p.W(2), p.Fill(14);
    op(0x009A);
    p.bytes.resize(p.bytes.size() - 2);
    ops.back().second = p.DirectBits(0, 0, 2, 2, 8, 32, 16, 4);
    op(0x8200);  // compressed image data: a long length
    p.L(3), p.Fill(3);
    op(0x0C01);
    p.Fill(24);
    op(0x0001);
    p.W(10), p.Fill(8);
    p.End();
    ops.push_back({0x00FF, p.bytes.size() - 2});

    for (const auto& [code, at] : ops) {
        const std::vector<int32_t> found = Offsets(p.bytes, code);
        EXPECT_NE(std::find(found.begin(), found.end(), int32_t(at)), found.end()) << std::hex << code << " at " << at;
    }
}

TEST(PictWalker, PicturesOfThePlatformWriterAreWalkedToTheirEnd)
{
    platform::PictWriter w;
    const platform::Rect frame{0, 0, 12, 40};
    w.Begin(frame, true, 72 << 16, 72 << 16, frame);
    std::vector<uint32_t> pixels(40 * 12);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    w.DirectBits(pixels.data(), 40, 12, frame, frame, frame, platform::srcCopy, nullptr);
    std::vector<uint8_t> rows(12 * 40, 0x3C);
    platform::ColorSpec table[2] = {{0, {0xFFFF, 0xFFFF, 0xFFFF}}, {1, {0, 0, 0}}};
    w.IndexedBits(rows.data(), 40, 12, 8, frame, table, 2, frame, frame, platform::srcCopy, nullptr);
    w.BitmapBits(rows.data(), 6, 12, platform::Rect{0, 0, 12, 40}, frame, frame, platform::srcCopy, nullptr);
    w.Finish();
    std::vector<uint8_t> bytes = w.bytes();
    EXPECT_EQ(Offsets(bytes, 0x00FF), (std::vector<int32_t>{int32_t(bytes.size() - 2)}));
}

TEST(ImageParsers, OnlyPicturesAreParsedAndOnlyOnce)
{
    char data[16] = {};
    VPtrStream stream(data, sizeof data);
    for (ImageKind kind : {kImageEMF, kImageWMF, kImageDXF, kImageEPSF, kImageBMP, kImageGIF, kImagePCX, kImageJPEG,
                           kImageTIFF, kImagePixels}) {
        std::unique_ptr<VImageParser> parser(NewImageParserFromImageKind(kind, stream, false));
        ASSERT_NE(parser, nullptr) << kind;
        EXPECT_EQ(parser->StartParsing(), kParserUnsupported) << kind;
        EXPECT_EQ(parser->GetPictData(), nullptr);
        EXPECT_EQ(parser->GetPixelData(), nullptr);
        EXPECT_EQ(parser->GetEmfData(), nullptr);
    }
    EXPECT_EQ(NewImageParserFromImageKind(7, stream, false), nullptr);
    for (ImageKind kind : {kImagePICT, kImageQuickTime}) {
        std::unique_ptr<VImageParser> parser(NewImageParserFromImageKind(kind, stream, false));
        auto* pict = dynamic_cast<VPictParser*>(parser.get());
        ASSERT_NE(pict, nullptr);
        EXPECT_EQ(pict->FindOpcodeOffset(0x00FF), -1) << "not parsing yet";
        EXPECT_EQ(pict->StartParsing(), 0);
        EXPECT_EQ(pict->GetSize(), 16);
        EXPECT_EQ(pict->StartParsing(), kParserAlreadyParsing);
        pict->StopParsing();
        EXPECT_EQ(pict->GetSize(), -1);
    }
}

TEST(PictWalker, PictureFilesStartAfterTheirHeader)
{
    PictBuilder p;
    p.ClipRegion();
    const size_t at = p.DirectBits(0, 0, 2, 2, 8, 32, 16, 1);
    p.End();
    std::vector<uint8_t> file(512, 0xEE);
    file.insert(file.end(), p.bytes.begin(), p.bytes.end());
    VPtrStream stream(reinterpret_cast<char*>(file.data()), int32_t(file.size()));
    VPictParser parser(stream, true);
    ASSERT_EQ(parser.StartParsing(), 0);
    EXPECT_EQ(parser.FindOpcodeOffset(0x009A), int32_t(512 + at));
}

TEST(PictRepair, DamagedAndCutPicturesAreNeverReadOrWrittenOutside)
{
    std::vector<std::vector<uint8_t>> seeds;
    {
        PictBuilder p;
        p.ClipRegion();
        p.DirectBits(0, 0, 3, 4, 16, 32, 16, 4);
        p.DirectBits(0, 0, 2, 2, 8, 32, 16, 1, true);
        p.End();
        seeds.push_back(p.bytes);
    }
    {
        PictBuilder p;
        p.Op(0x0028), p.L(0), p.B(3), p.Fill(3);
        p.Op(0x00A1), p.W(1), p.W(2), p.Fill(2);
        p.ClipRegion();
        p.DirectBits(10, 10, 2, 2, 8, 32, 24, 1);
        p.End();
        seeds.push_back(p.bytes);
    }
    std::mt19937 random(20261207);
    for (int i = 0; i < 2000; ++i) {
        std::vector<uint8_t> bytes = seeds[size_t(i) % seeds.size()];
        const int flips = 1 + int(random() % 6);
        for (int f = 0; f < flips; ++f) bytes[random() % bytes.size()] = uint8_t(random());
        const size_t cut = i % 3 == 0 ? random() % (bytes.size() + 1) : bytes.size();
        PictBuilder cutOff;
        cutOff.bytes = bytes;
        HandleGuard pict(cutOff.ToHandle(cut));
        RepairPicture(pict.h);
        FastRepairPicture(pict.h);
        ASSERT_EQ(size_t(platform::GetHandleSize(pict.h)), cut);
    }
}

TEST(PictRepair, TheKernelDrawsPicturesRepaired)
{
    PictBuilder p;
    p.ClipRegion();
    const size_t at = p.DirectBits(0, 0, 2, 2, 8, 32, 16, 1);
    p.End();
    HandleGuard pict(p.ToHandle());
    InstallPictureRepair();
    const platform::Rect r{0, 0, 2, 2};
    mydrawpicture(pict.h, &r);
    ResetKernelPictureHooks();
    EXPECT_EQ(CmpSizeAt(pict.h, at), 8);
}

}  // namespace
