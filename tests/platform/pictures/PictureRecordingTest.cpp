// Recording a port's drawing into a picture and playing it back: the
// replay paints what the direct drawing painted, the bytes are the same
// every time and follow the published layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Recording.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"
#include "platform/pictures/Pictures.h"
#include "tests/platform/core/FailingNew.h"
#include "tests/platform/drawing/DrawingTestSupport.h"
#include "tests/platform/pictures/PictureTestSupport.h"

namespace {

using namespace platform;
using drawingtest::World;
using picturetest::FromHandle;

constexpr int16_t kW = 200, kH = 160;
const Rect kPictFrame{0, 0, kH, kW};

const unsigned char* P(const char* s) { return reinterpret_cast<const unsigned char*>(s); }

// Sources for the bit copies: one bit, 8-bit indexed with its colours,
// and 32 bits.
struct Sources {
    BitMap oneBit{};
    std::vector<uint8_t> indexed = std::vector<uint8_t>(16 * 12);
    PixMap eight{};
    CTabHandle table = NewCTable(256);
    GWorldPtr deep = nullptr;

    Sources()
    {
        Rect b{0, 0, 12, 16};
        NewBitMap(&oneBit, &b);
        for (int v = 0; v < 12; ++v)
            for (int h = 0; h < 16; ++h)
                if ((h + v) % 3 == 0)
                    oneBit.baseAddr[v * oneBit.rowBytes + h / 8] |= char(0x80 >> (h % 8));
        ColorSpec* e = CTabEntries(table);
        for (int i = 0; i < 256; ++i)
            e[i].rgb = {uint16_t(i * 257), uint16_t((255 - i) * 257), uint16_t((i * 7 % 256) * 257)};
        for (int i = 0; i < 16 * 12; ++i)
            indexed[size_t(i)] = uint8_t(i * 5);
        eight.baseAddr = reinterpret_cast<Ptr>(indexed.data());
        eight.rowBytes = int16_t(kPixMapFlag | 16);
        eight.bounds = b;
        eight.pixelType = 0;
        eight.pixelSize = 8;
        eight.cmpCount = 1;
        eight.cmpSize = 8;
        eight.pmTable = table;
        CGrafPtr port = nullptr;
        GDHandle device = nullptr;
        GetGWorld(&port, &device);
        NewGWorld(&deep, 32, &b, nullptr, nullptr, 0);
        SetGWorld(deep, nullptr);
        for (int v = 0; v < 12; ++v)
            for (int h = 0; h < 16; ++h) {
                RGBColor c{uint16_t(h * 4000), uint16_t(v * 5000), uint16_t((h ^ v) * 4000)};
                SetCPixel(int16_t(h), int16_t(v), &c);
            }
        SetGWorld(port, device);
    }
    ~Sources()
    {
        DisposeBitMap(&oneBit);
        DisposeCTable(table);
        DisposeGWorld(deep);
    }
};

// Every shape in every verb, patterns, pen, colours, a clip change, an
// origin change, text in three fonts with faces and modes, bit copies.
void DrawScene(const Sources& src)
{
    Pattern pat{};
    const BitMap* dst = GetPortBitMapForCopyBits(GetQDGlobalsThePort());
    for (int verb = 0; verb < 5; ++verb) {
        int16_t x = int16_t(4 + verb * 38);
        GetIndPattern(&pat, sysPatListID, int16_t(10 + verb));
        PenPat(verb == 1 ? &pat : nullptr);
        PenSize(int16_t(1 + verb % 2), int16_t(1 + verb % 3));
        RGBColor fore{uint16_t(verb * 12000), 0x2000, uint16_t(0xFFFF - verb * 9000)};
        RGBForeColor(&fore);
        Rect r{4, x, 20, int16_t(x + 30)};
        Rect o{24, x, 40, int16_t(x + 30)};
        Rect rr{44, x, 60, int16_t(x + 30)};
        Rect a{64, x, 84, int16_t(x + 30)};
        switch (verb) {
        case 0:
            FrameRect(&r), FrameOval(&o), FrameRoundRect(&rr, 8, 6), FrameArc(&a, 30, 200);
            break;
        case 1:
            PaintRect(&r), PaintOval(&o), PaintRoundRect(&rr, 10, 10), PaintArc(&a, -45, 90);
            break;
        case 2:
            BackPat(&pat);
            EraseRect(&r), EraseOval(&o), EraseRoundRect(&rr, 6, 6), EraseArc(&a, 90, 120);
            break;
        case 3:
            InvertRect(&r), InvertOval(&o), InvertRoundRect(&rr, 4, 12), InvertArc(&a, 0, 270);
            break;
        default:
            FillRect(&r, &pat), FillOval(&o, &pat), FillRoundRect(&rr, 12, 8, &pat), FillArc(&a, 10, 100, &pat);
            break;
        }
    }
    PenNormal();
    ForeColor(blueColor);
    BackColor(yellowColor);
    MoveTo(2, 150);
    LineTo(190, 92);
    PenMode(patXor);
    PenSize(3, 2);
    Line(-60, 50);
    RGBColor weight{0x4000, 0xC000, 0x2000};
    OpColor(&weight);
    PenMode(blend);
    Rect blended{130, 2, 158, 60};
    PaintRect(&blended);
    PenNormal();

    Point pts[] = {{90, 10}, {100, 40}, {120, 25}, {96, 5}};
    PolyHandle poly = OpenPoly();
    MoveTo(pts[0].h, pts[0].v);
    for (const Point& p : pts)
        LineTo(p.h, p.v);
    ClosePoly();
    RgnHandle rgn = NewRgn();
    OpenRgn();
    Rect r1{90, 50, 110, 80}, r2{100, 65, 120, 95};
    FrameRect(&r1);
    FrameOval(&r2);
    CloseRgn(rgn);
    GrafVerb verbs[] = {platform::kFrame, kPaint, kErase, kInvert, kFill};
    for (GrafVerb v : verbs) {
        GetIndPattern(&pat, sysPatListID, int16_t(20 + v));
        switch (v) {
        case platform::kFrame: FramePoly(poly), FrameRgn(rgn); break;
        case kPaint: PaintPoly(poly), PaintRgn(rgn); break;
        case kErase: ErasePoly(poly), EraseRgn(rgn); break;
        case kInvert: InvertPoly(poly), InvertRgn(rgn); break;
        case kFill: FillPoly(poly, &pat), FillRgn(rgn, &pat); break;
        }
        OffsetPoly(poly, 0, 8);
        OffsetRgn(rgn, 6, 3);
    }
    KillPoly(poly);
    DisposeRgn(rgn);

    // A clip change and an origin change.
    Rect clip{100, 100, 150, 170};
    ClipRect(&clip);
    ForeColor(redColor);
    Rect big{90, 90, 160, 200};
    PaintOval(&big);
    SetOrigin(10, 5);
    Rect shifted{110, 110, 130, 150};
    InvertRect(&shifted);
    SetOrigin(0, 0);
    RGBColor mark{0xFFFF, 0xE000, 0x4000};
    HiliteColor(&mark);
    LMSetHiliteMode(uint8_t(LMGetHiliteMode() & 0x7F));
    Rect lit{100, 130, 150, 170};
    InvertRect(&lit);
    InvertRect(&shifted);
    Rect open{-32768, -32768, 32767, 32767};
    ClipRect(&open);

    // Text in three fonts, faces and modes.
    ForeColor(blackColor);
    BackColor(whiteColor);
    TextFont(applFont);
    TextSize(12);
    MoveTo(4, 110);
    DrawString(P("\x05Hello"));
    TextFont(kFontIDTimes);
    TextFace(bold | italic);
    TextMode(srcXor);
    MoveTo(6, 124);
    CharExtra(Fixed(3) << 15);  // 1.5 pixels more for each character
    DrawString(P("\x06Pictur"));
    CharExtra(0);
    TextFont(kFontIDCourier);
    TextFace(underline);
    TextMode(srcCopy);
    TextSize(10);
    MoveTo(8, 138);
    DrawString(P("\x04Text"));
    DrawString(P("\x03 on"));
    TextFace(normal);
    TextMode(srcOr);

    // Bit copies from 1, 8 and 32 bits, one scaled and one through a mask.
    Rect s{0, 0, 12, 16};
    Rect d1{140, 120, 152, 136}, d8{140, 140, 152, 156}, d32{120, 160, 144, 192};
    ForeColor(greenColor);
    CopyBits(&src.oneBit, dst, &s, &d1, srcCopy, nullptr);
    ForeColor(blackColor);
    CopyBits(reinterpret_cast<const BitMap*>(&src.eight), dst, &s, &d8, srcCopy, nullptr);
    RgnHandle mask = NewRgn();
    Rect m{124, 164, 140, 180};
    RectRgn(mask, &m);
    CopyBits(GetPortBitMapForCopyBits(src.deep), dst, &s, &d32, srcCopy, mask);
    DisposeRgn(mask);
}

std::vector<uint32_t> Pixels(const World& w)
{
    std::vector<uint32_t> p;
    for (int v = 0; v < kH; ++v)
        for (int h = 0; h < kW; ++h)
            p.push_back(w.At(h, v));
    return p;
}

PicHandle Record(const Sources& src)
{
    OpenCPicParams params{kPictFrame, 72 << 16, 72 << 16, -2, 0, 0};
    PicHandle pic = OpenCPicture(&params);
    EXPECT_TRUE(pic);
    EXPECT_TRUE(IsPortPictureBeingDefined(GetQDGlobalsThePort()));
    DrawScene(src);
    ClosePicture();
    EXPECT_EQ(QDError(), noErr);
    EXPECT_FALSE(IsPortPictureBeingDefined(GetQDGlobalsThePort()));
    return pic;
}

TEST(PictureRecording, ReplayPaintsWhatDirectDrawingPainted)
{
    QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs | kQDUseCGTextMetrics);
    std::vector<uint32_t> direct, replayed;
    std::vector<uint8_t> first, second;
    {
        World w(kW, kH);
        Sources src;
        DrawScene(src);
        direct = Pixels(w);
    }
    for (int run = 0; run < 2; ++run) {
        World w(kW, kH);
        Sources src;
        PicHandle pic = Record(src);
        ASSERT_TRUE(pic);
        (run == 0 ? first : second) = FromHandle(pic);
        World out(kW, kH);
        DrawPicture(pic, &kPictFrame);
        EXPECT_EQ(QDError(), noErr);
        if (run == 0)
            replayed = Pixels(out);
        KillPicture(pic);
    }
    QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs | kQDUseCGTextRendering | kQDUseCGTextMetrics);

    size_t ink = 0;
    for (uint32_t px : direct)
        ink += px != drawingtest::kWhite;
    EXPECT_GT(ink, 8000u);
    // The text opcodes name their fonts: 0x002C with the family's name.
    auto has = [&](const std::vector<uint8_t>& name) {
        return std::search(first.begin(), first.end(), name.begin(), name.end()) != first.end();
    };
    EXPECT_TRUE(has({'\x05', 'T', 'i', 'm', 'e', 's'}));
    EXPECT_TRUE(has({'\x07', 'C', 'o', 'u', 'r', 'i', 'e', 'r'}));
    EXPECT_TRUE(has({0x00, 0x16, 0x18, 0x00}));  // the character extra, 4.12
    EXPECT_TRUE(has({0x00, 0x16, 0x00, 0x00}));
    size_t differ = 0;
    for (size_t i = 0; i < direct.size(); ++i)
        differ += direct[i] != replayed[i];
    EXPECT_EQ(differ, 0u) << "first at " << (std::mismatch(direct.begin(), direct.end(), replayed.begin()).first -
                                             direct.begin());
    EXPECT_EQ(first, second);
    ASSERT_GT(first.size(), 40u);
    const uint8_t header[] = {0x00, 0x11, 0x02, 0xFF, 0x0C, 0x00};
    EXPECT_EQ(std::memcmp(first.data() + 10, header, 6), 0);
    EXPECT_EQ(first[first.size() - 2], 0x00);
    EXPECT_EQ(first[first.size() - 1], 0xFF);
    EXPECT_EQ((first[0] << 8 | first[1]), int(first.size() & 0xFFFF));
    EXPECT_EQ(std::memcmp(first.data() + 2, "\x00\x00\x00\x00\x00\xA0\x00\xC8", 8), 0);
}

TEST(PictureRecording, PlaybackScalesToTheDestinationAndStaysInside)
{
    World w(40, 40);
    Rect frame{0, 0, 20, 20};
    PicHandle pic = OpenPicture(&frame);
    Rect r{5, 5, 10, 10};
    PaintRect(&r);
    Rect outside{30, 30, 40, 40};  // beyond the frame
    PaintRect(&outside);
    ClosePicture();
    Rect all{0, 0, 40, 40};
    EraseRect(&all);
    Rect dst{0, 0, 40, 40};
    DrawPicture(pic, &dst);
    EXPECT_EQ(w.At(9, 9), drawingtest::kWhite);
    EXPECT_EQ(w.At(10, 10), drawingtest::kBlack);
    EXPECT_EQ(w.At(19, 19), drawingtest::kBlack);
    EXPECT_EQ(w.At(20, 20), drawingtest::kWhite);
    EraseRect(&all);
    // Half size into the corner: what lay beyond the frame stays out.
    Rect small{0, 0, 10, 10};
    DrawPicture(pic, &small);
    EXPECT_EQ(w.At(3, 3), drawingtest::kBlack);
    EXPECT_EQ(w.CountNot(drawingtest::kWhite), 9);
    KillPicture(pic);
}

// Scaling a region can run out of memory inside the player: the picture
// then answers memFullErr, never noErr, unless the shortage only cut short
// the look ahead before the drawing (then drawn whole).
TEST(PictureRecording, AShortageScalingARegionIsMemFull)
{
    World w(40, 40);
    Rect frame{0, 0, 20, 20}, dst{0, 0, 40, 40};
    RgnHandle rgn = NewRgn();
    SetRectRgn(rgn, 10, 10, 14, 14);
    UnionRectRgn32(rgn, {15, 15, 18, 18});
    PicHandle pic = OpenPicture(&frame);
    PaintRgn(rgn);
    ClosePicture();
    DrawPicture(pic, &dst);
    const int whole = w.CountNot(drawingtest::kWhite);
    int shortages = 0;
    for (int64_t after = 0;; ++after) {
        EraseRect(&dst);
        testfaults::FailNthNew(after);
        DrawPicture(pic, &dst);
        const bool fired = !testfaults::NewFailurePending();
        testfaults::StopFailingNew();
        if (!fired) {
            EXPECT_EQ(QDError(), noErr);
            EXPECT_EQ(w.CountNot(drawingtest::kWhite), whole);
            break;
        }
        if (QDError() == noErr) {
            EXPECT_EQ(w.CountNot(drawingtest::kWhite), whole) << after;
            continue;
        }
        ++shortages;
        EXPECT_EQ(QDError(), memFullErr) << after;
    }
    EXPECT_GT(shortages, 0);
    KillPicture(pic);
    DisposeRgn(rgn);
}

TEST(PictureRecording, ResolutionPicturesHaveTheirFrameAt72Dpi)
{
    World w(100, 100);
    OpenCPicParams params{{0, 0, 200, 200}, 144 << 16, 144 << 16, -2, 0, 0};
    PicHandle pic = OpenCPicture(&params);
    Rect r{0, 0, 100, 100};
    PaintRect(&r);
    ClosePicture();
    Rect frame{};
    QDGetPictureBounds(pic, &frame);
    EXPECT_EQ(frame.bottom, 100);
    EXPECT_EQ(frame.right, 100);
    DrawPicture(pic, &frame);
    EXPECT_EQ(w.At(49, 49), drawingtest::kBlack);
    EXPECT_EQ(w.At(50, 50), drawingtest::kWhite);
    KillPicture(pic);
}

TEST(PictureRecording, CommentsReachTheCommentProcedureAndThePicture)
{
    World w(20, 20);
    PicHandle pic = OpenPicture(&kPictFrame);
    PicComment(100, 0, nullptr);
    Handle data = nullptr;
    PtrToHand("abc", &data, 3);
    PicComment(200, 3, data);
    ClosePicture();
    static std::vector<std::pair<int16_t, std::string>> seen;
    seen.clear();
    QDProcs procs;
    SetStdProcs(&procs);
    procs.commentProc = [](int16_t kind, int16_t size, Handle h) {
        seen.emplace_back(kind, h ? std::string(*h, size_t(size)) : std::string());
    };
    w.get()->grafProcs = &procs;
    DrawPicture(pic, &kPictFrame);
    w.get()->grafProcs = nullptr;
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(int16_t(100), std::string()));
    EXPECT_EQ(seen[1], std::make_pair(int16_t(200), std::string("abc")));
    // Odd data is padded so that the end opcode stays on a word.
    std::vector<uint8_t> bytes = FromHandle(pic);
    EXPECT_EQ(bytes.size() % 2, 0u);
    DisposeHandle(data);
    KillPicture(pic);
}

TEST(PictureRecording, RecordingNeedsAPortWithoutAnOpenPicture)
{
    World w(20, 20);
    PicHandle pic = OpenPicture(&kPictFrame);
    ASSERT_TRUE(pic);
    EXPECT_EQ(OpenPicture(&kPictFrame), nullptr);
    EXPECT_EQ(QDError(), paramErr);
    ClosePicture();
    KillPicture(pic);
    EXPECT_EQ(OpenCPicture(nullptr), nullptr);

    // A world that goes away with a picture open leaves nothing behind.
    GWorldPtr scratch = nullptr;
    Rect b{0, 0, 8, 8};
    ASSERT_EQ(NewGWorld(&scratch, 32, &b, nullptr, nullptr, 0), noErr);
    SetGWorld(scratch, nullptr);
    PicHandle open = OpenPicture(&b);
    PaintRect(&b);
    DisposeGWorld(scratch);
    SetGWorld(w.get(), nullptr);
    KillPicture(open);
    ResetPictures();
}

}  // namespace
