// Printing at its edges: settings refused or mended at their limits, page
// and paper rectangles to the point, old print records near their
// tolerance, a damaged format in a document, shapes a page cannot hold,
// and bit images drawn through their mask.
#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/imports/PngCodec.h"
#include "platform/pictures/Pictures.h"
#include "platform/printing/OldPrintRecord.h"
#include "platform/printing/PagePlayer.h"
#include "platform/printing/PrintObjects.h"
#include "platform/printing/Printing.h"
#include "tests/platform/pictures/PictureTestSupport.h"
#include "tests/platform/printing/PrintTestSupport.h"

namespace {

using namespace platform;

using Objects = printtest::Session;

TEST(PrintSettingsEdges, CopiesPagesAndScaleAreRefusedPastTheirLimits)
{
    Objects o;
    struct Copies {
        uint32_t asked;
        OSStatus answer;
        uint32_t kept;
    };
    for (const Copies& k : {Copies{1, kPMNoError, 1}, Copies{999, kPMNoError, 999}, Copies{1000, kPMValueOutOfRange, 999},
                            Copies{5000, kPMValueOutOfRange, 999}, Copies{0, kPMValueOutOfRange, 999}}) {
        EXPECT_EQ(PMSetCopies(o.settings, k.asked, false), k.answer) << k.asked;
        uint32_t n = 0;
        PMGetCopies(o.settings, &n);
        EXPECT_EQ(n, k.kept) << k.asked;
    }

    uint32_t first = 0, last = 0;
    ASSERT_EQ(PMSetFirstPage(o.settings, 3, false), kPMNoError);
    EXPECT_EQ(PMSetLastPage(o.settings, 2, false), kPMValueOutOfRange) << "the last page before the first";
    EXPECT_EQ(PMSetLastPage(o.settings, 3, false), kPMNoError) << "one page";
    EXPECT_EQ(PMSetFirstPage(o.settings, 0, false), kPMValueOutOfRange);
    ASSERT_EQ(PMSetFirstPage(o.settings, 4, false), kPMNoError);
    PMGetFirstPage(o.settings, &first);
    PMGetLastPage(o.settings, &last);
    EXPECT_EQ(first, 4u);
    EXPECT_EQ(last, kPMPrintAllPages) << "a first page past the last prints to the end";

    struct Scale {
        double asked;
        OSStatus answer;
    };
    for (const Scale& k : {Scale{25.0, kPMNoError}, Scale{400.0, kPMNoError}, Scale{24.99, kPMValueOutOfRange},
                           Scale{400.01, kPMValueOutOfRange},
                           Scale{std::numeric_limits<double>::quiet_NaN(), kPMValueOutOfRange}}) {
        ASSERT_EQ(PMSetScale(o.format, 100.0), kPMNoError);
        EXPECT_EQ(PMSetScale(o.format, k.asked), k.answer) << k.asked;
        double percent = 0;
        PMGetScale(o.format, &percent);
        EXPECT_EQ(percent, k.answer == kPMNoError ? k.asked : 100.0) << k.asked;
    }
}

TEST(PrintSettingsEdges, DamagedSettingsAndFormatsAreMendedOnceAndReportedOnce)
{
    Objects o;
    o.settings->copies = 0;
    o.settings->firstPage = 0;
    o.settings->lastPage = 0;
    o.settings->destination = kPMDestinationFile;
    o.settings->destinationFormat = kPMDocumentFormatPDF;  // but no place
    Boolean changed = false;
    ASSERT_EQ(PMSessionValidatePrintSettings(o.session, o.settings, &changed), kPMNoError);
    EXPECT_TRUE(changed);
    EXPECT_EQ(o.settings->copies, 1u);
    EXPECT_EQ(o.settings->firstPage, 1u);
    EXPECT_EQ(o.settings->lastPage, kPMPrintAllPages);
    EXPECT_EQ(o.settings->destination, kPMDestinationPrinter);
    ASSERT_EQ(PMSessionValidatePrintSettings(o.session, o.settings, &changed), kPMNoError);
    EXPECT_FALSE(changed) << "whole now";

    o.settings->copies = 1000;
    ASSERT_EQ(PMSessionValidatePrintSettings(o.session, o.settings, &changed), kPMNoError);
    EXPECT_TRUE(changed);
    EXPECT_EQ(o.settings->copies, 1u);

    // Each field of a format mended on its own is reported.
    ASSERT_EQ(PMSessionValidatePageFormat(o.session, o.format, &changed), kPMNoError);
    o.format->paper = PMPaper(9);
    ASSERT_EQ(PMSessionValidatePageFormat(o.session, o.format, &changed), kPMNoError);
    EXPECT_TRUE(changed);
    EXPECT_EQ(o.format->paper, PMPaper::Letter);
    double scale = 0;
    EXPECT_EQ(PMGetScale(nullptr, &scale), kPMInvalidParameter);
    EXPECT_EQ(PMGetScale(o.format, nullptr), kPMInvalidParameter);

    o.format->scale = 10.0;
    o.format->orientation = PMOrientation(7);
    ASSERT_EQ(PMSessionValidatePageFormat(o.session, o.format, &changed), kPMNoError);
    EXPECT_TRUE(changed);
    EXPECT_EQ(o.format->scale, 100.0);
    EXPECT_EQ(o.format->orientation, kPMPortrait);
    ASSERT_EQ(PMSessionValidatePageFormat(o.session, o.format, &changed), kPMNoError);
    EXPECT_FALSE(changed);

    // Scales at the limits are whole; just past them, mended.
    struct Scale {
        double scale, kept;
        bool mended;
    };
    for (const Scale& k : {Scale{25.0, 25.0, false}, Scale{400.0, 400.0, false}, Scale{24.5, 100.0, true},
                           Scale{400.5, 100.0, true}}) {
        o.format->scale = k.scale;
        ASSERT_EQ(PMSessionValidatePageFormat(o.session, o.format, &changed), kPMNoError);
        EXPECT_EQ(bool(changed), k.mended) << k.scale;
        EXPECT_EQ(o.format->scale, k.kept) << k.scale;
    }
    // A format never defaulted is reported mended once.
    PMPageFormat fresh = nullptr;
    ASSERT_EQ(PMCreatePageFormat(&fresh), kPMNoError);
    ASSERT_EQ(PMSessionValidatePageFormat(o.session, fresh, &changed), kPMNoError);
    EXPECT_TRUE(changed);
    ASSERT_EQ(PMSessionValidatePageFormat(o.session, fresh, &changed), kPMNoError);
    EXPECT_FALSE(changed);
    PMRelease(fresh);

    // Defaults put back whatever was set.
    PMSetCopies(o.settings, 7, false);
    PMSetFirstPage(o.settings, 2, false);
    ASSERT_EQ(PMSessionDefaultPrintSettings(o.session, o.settings), kPMNoError);
    uint32_t n = 0;
    PMGetCopies(o.settings, &n);
    EXPECT_EQ(n, 1u);
    PMGetFirstPage(o.settings, &n);
    EXPECT_EQ(n, 1u);

    EXPECT_EQ(PMCreatePageFormat(nullptr), kPMInvalidParameter);
    EXPECT_EQ(PMCreatePrintSettings(nullptr), kPMInvalidParameter);
    PMObjectHeader stranger(PMKind(0x12345678));
    EXPECT_EQ(PMRelease(&stranger), kPMInvalidParameter);
    EXPECT_EQ(stranger.references, 1) << "nothing of it touched";
    EXPECT_EQ(PMRetain(&stranger), kPMInvalidParameter);
}

// Each retain holds the object for one more release; the last release frees
// it (the sanitizer build sees a use after an early free, or a leak).
TEST(PrintSettingsEdges, AnObjectLastsUntilItsLastRelease)
{
    PMPrintSettings settings = nullptr;
    ASSERT_EQ(PMCreatePrintSettings(&settings), kPMNoError);
    ASSERT_EQ(PMSetCopies(settings, 7, false), kPMNoError);
    ASSERT_EQ(PMRetain(settings), kPMNoError);
    ASSERT_EQ(PMRetain(settings), kPMNoError);
    EXPECT_EQ(settings->references, 3);
    for (int held = 2; held >= 1; --held) {
        ASSERT_EQ(PMRelease(settings), kPMNoError);
        EXPECT_EQ(settings->references, held);
        uint32_t copies = 0;
        EXPECT_EQ(PMGetCopies(settings, &copies), kPMNoError);
        EXPECT_EQ(copies, 7u);
    }
    EXPECT_EQ(PMRelease(settings), kPMNoError);
    EXPECT_EQ(PMRelease(nullptr), kPMNoError);
}

TEST(PrintSettingsEdges, PageAndPaperRectanglesToThePoint)
{
    Objects o;
    struct Case {
        PMPaper paper;
        PMOrientation orientation;
        double scale;
        PMRect page, paper_;
    };
    const Case cases[] = {
        {PMPaper::Letter, kPMPortrait, 100, {0, 0, 756, 576}, {-18, -18, 774, 594}},
        {PMPaper::A4, kPMPortrait, 100, {0, 0, 806, 559}, {-18, -18, 824, 577}},
        {PMPaper::A4, kPMLandscape, 50, {0, 0, 1118, 1612}, {-36, -36, 1154, 1648}},
        {PMPaper::Letter, kPMLandscape, 400, {0, 0, 144, 189}, {-4.5, -4.5, 148.5, 193.5}},
    };
    for (const Case& k : cases) {
        PMSetPaper(o.format, k.paper);
        PMSetOrientation(o.format, k.orientation, false);
        PMSetScale(o.format, k.scale);
        PMRect page{}, paper{};
        ASSERT_EQ(PMGetAdjustedPageRect(o.format, &page), kPMNoError);
        ASSERT_EQ(PMGetAdjustedPaperRect(o.format, &paper), kPMNoError);
        EXPECT_DOUBLE_EQ(page.bottom, k.page.bottom) << k.scale;
        EXPECT_DOUBLE_EQ(page.right, k.page.right) << k.scale;
        EXPECT_DOUBLE_EQ(paper.top, k.paper_.top) << k.scale;
        EXPECT_DOUBLE_EQ(paper.left, k.paper_.left) << k.scale;
        EXPECT_DOUBLE_EQ(paper.bottom, k.paper_.bottom) << k.scale;
        EXPECT_DOUBLE_EQ(paper.right, k.paper_.right) << k.scale;
    }
}

TEST(PrintSettingsEdges, AnOldRecordsPageMayBeTwoPointsOffAndNoMore)
{
    Objects o;
    PMSetPaper(o.format, PMPaper::A4);
    PMSetScale(o.format, 50);
    Handle record = nullptr;
    ASSERT_EQ(PMSessionMakeOldPrintRecord(o.session, o.settings, o.format, &record), kPMNoError);
    const int16_t bottom = int16_t(ReadBE16(reinterpret_cast<uint8_t*>(*record) + 12));
    EXPECT_EQ(bottom, 1612);
    struct Case {
        int16_t off;
        PMPaper paper;
        double scale;
    };
    for (const Case& k : {Case{0, PMPaper::A4, 50}, Case{2, PMPaper::A4, 50}, Case{-2, PMPaper::A4, 50},
                          Case{3, PMPaper::Letter, 100}, Case{-3, PMPaper::Letter, 100}}) {
        WriteBE16(reinterpret_cast<uint8_t*>(*record) + 12, uint16_t(bottom + k.off));
        PMPrintSettings s = nullptr;
        PMPageFormat f = nullptr;
        ASSERT_EQ(PMSessionConvertOldPrintRecord(o.session, record, &s, &f), kPMNoError);
        EXPECT_EQ(f->paper, k.paper) << k.off;
        EXPECT_EQ(f->scale, k.scale) << k.off;
        PMRelease(s);
        PMRelease(f);
    }
    DisposeHandle(record);
}

TEST(PrintSettingsEdges, ADocumentOfADamagedFormatPrintsPagesOfTheWholeSize)
{
    Objects o;
    o.format->scale = 1000.0;  // past any scale a dialog gives
    const std::string pdf = ::testing::TempDir() + "damaged-format.pdf";
    ASSERT_EQ(PMSessionSetDestination(o.session, o.settings, kPMDestinationFile, kPMDocumentFormatPDF, pdf), kPMNoError);
    ASSERT_EQ(PMSessionBeginDocument(o.session, o.settings, o.format), kPMNoError);
    ASSERT_EQ(PMSessionBeginPage(o.session, nullptr, nullptr), kPMNoError);
    void* context = nullptr;
    ASSERT_EQ(PMSessionGetGraphicsContext(o.session, kPMGraphicsContextQuickDraw, &context), kPMNoError);
    Rect bounds{};
    GetPortBounds(static_cast<CGrafPtr>(context), &bounds);
    EXPECT_EQ(bounds.bottom, 756);
    EXPECT_EQ(bounds.right, 576);
    ASSERT_EQ(PMSessionEndPage(o.session), kPMNoError);
    ASSERT_EQ(PMSessionEndDocument(o.session), kPMNoError);
    std::remove(pdf.c_str());
}

// A job that fails, is cancelled or ends with a page open leaves the
// destination as it was and answers its error;
// page images need a prefix to be named by.
TEST(PrintSettingsEdges, AFailedJobLeavesTheDestinationAsItWas)
{
    Objects o;
    const std::string pdf = ::testing::TempDir() + "failed-job.pdf";
    std::ofstream(pdf) << "keep";
    ASSERT_EQ(PMSessionSetDestination(o.session, o.settings, kPMDestinationFile, kPMDocumentFormatPDF, pdf), kPMNoError);
    EXPECT_EQ(PMSessionSetPageImages(o.session, "", 72), kPMInvalidParameter);
    EXPECT_EQ(PMSessionSetPageImages(o.session, "", 1), kPMInvalidParameter);
    EXPECT_EQ(PMSessionSetPageImages(o.session, "", 0), kPMNoError) << "no images need no prefix";
    EXPECT_EQ(PMSessionSetPageImages(o.session, "p-", 1200), kPMNoError);
    EXPECT_EQ(PMSessionSetPageImages(o.session, "p-", 1201), kPMInvalidParameter);
    EXPECT_EQ(PMSessionSetPageImages(o.session, "", 0), kPMNoError);
    ASSERT_EQ(PMSessionBeginDocument(o.session, o.settings, o.format), kPMNoError);
    ASSERT_EQ(PMSessionBeginPage(o.session, nullptr, nullptr), kPMNoError);
    ASSERT_EQ(PMSessionEndPage(o.session), kPMNoError);
    auto left = [&] {
        std::ifstream in(pdf);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    // A document ended with its page open is an error and writes nothing.
    ASSERT_EQ(PMSessionBeginPage(o.session, nullptr, nullptr), kPMNoError);
    EXPECT_EQ(PMSessionEndDocument(o.session), kPMOutOfScope);
    EXPECT_EQ(left(), "keep");
    // A failed or cancelled document answers its own error, not an earlier
    // document's success, and leaves the destination as it was.
    for (const OSStatus error : {OSStatus(ioErr), kPMCancel}) {
        SCOPED_TRACE(error);
        ASSERT_EQ(PMSessionBeginDocument(o.session, o.settings, o.format), kPMNoError);
        ASSERT_EQ(PMSessionBeginPage(o.session, nullptr, nullptr), kPMNoError);
        ASSERT_EQ(PMSessionEndPage(o.session), kPMNoError);
        PMSessionSetError(o.session, error);
        EXPECT_EQ(PMSessionEndDocument(o.session), error);
        EXPECT_EQ(left(), "keep");
    }

    // The next document starts afresh: no error, pages counted from 1.
    const std::string prefix = ::testing::TempDir() + "afresh-page-";
    ASSERT_EQ(PMSessionSetPageImages(o.session, prefix, 36), kPMNoError);
    ASSERT_EQ(PMSessionBeginDocument(o.session, o.settings, o.format), kPMNoError);
    ASSERT_EQ(PMSessionBeginPage(o.session, nullptr, nullptr), kPMNoError);
    ASSERT_EQ(PMSessionEndPage(o.session), kPMNoError);
    EXPECT_EQ(PMSessionEndDocument(o.session), kPMNoError);
    EXPECT_EQ(PMSessionLastDocumentPath(o.session), pdf);
    EXPECT_EQ(std::remove((prefix + "1.png").c_str()), 0) << "the first page of this document";
    EXPECT_NE(std::remove((prefix + "2.png").c_str()), 0);
    std::remove(pdf.c_str());

    // An old print record one byte short is refused.
    Handle record = NewHandleClear(kPMOldPrintRecordSize - 1);
    PMPrintSettings s = nullptr;
    PMPageFormat f = nullptr;
    EXPECT_EQ(PMSessionConvertOldPrintRecord(o.session, record, &s, &f), kPMInvalidParameter);
    EXPECT_EQ(s, nullptr);
    SetHandleSize(record, kPMOldPrintRecordSize);
    ASSERT_EQ(PMSessionConvertOldPrintRecord(o.session, record, &s, &f), kPMNoError);
    PMRelease(s);
    PMRelease(f);
    DisposeHandle(record);
}

// A page frame within the 16-bit coordinates is the page's own: what is
// drawn in its top half fills the printed page's top half. A frame
// reaching the last coordinate is refused and the page keeps the sheet's
// frame, where that drawing lies off the page.
TEST(PrintSettingsEdges, APageFrameUpToTheLastCoordinateIsTaken)
{
    struct Case {
        double bottom;
        int blackRows;
    };
    for (const Case& k : {Case{32766, 378}, Case{32767, 0}}) {
        Objects o;
        const std::string dir = ::testing::TempDir();
        const std::string pdf = dir + "frame.pdf", prefix = dir + "frame-page-";
        ASSERT_EQ(PMSessionSetDestination(o.session, o.settings, kPMDestinationFile, kPMDocumentFormatPDF, pdf),
                  kPMNoError);
        ASSERT_EQ(PMSessionSetPageImages(o.session, prefix, 72), kPMNoError);
        ASSERT_EQ(PMSessionBeginDocument(o.session, o.settings, o.format), kPMNoError);
        const PMRect frame{k.bottom - 756, 0, k.bottom, 576};
        ASSERT_EQ(PMSessionBeginPage(o.session, nullptr, &frame), kPMNoError);
        void* context = nullptr;
        ASSERT_EQ(PMSessionGetGraphicsContext(o.session, kPMGraphicsContextQuickDraw, &context), kPMNoError);
        GrafPtr saved;
        GetPort(&saved);
        SetPort(static_cast<GrafPtr>(context));
        const Rect top{int16_t(k.bottom - 756), 0, int16_t(k.bottom - 378), 576};
        PaintRect(&top);
        SetPort(saved);
        ASSERT_EQ(PMSessionEndPage(o.session), kPMNoError);
        ASSERT_EQ(PMSessionEndDocument(o.session), kPMNoError);
        std::ifstream in(prefix + "1.png", std::ios::binary);
        const std::vector<uint8_t> png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        PictPixels decoded;
        ASSERT_EQ(DecodePng(png.data(), png.size(), &decoded), ImageReadResult::Ok);
        ASSERT_EQ(decoded.height(), 756);
        int black = 0;
        for (int32_t v = 0; v < decoded.height(); ++v) black += decoded.RGBAt(288, v) == 0;
        EXPECT_EQ(black, k.blackRows) << k.bottom;
        std::remove(pdf.c_str());
        std::remove((prefix + "1.png").c_str());
    }
}

// The pixels of a white 60 x 40 page the picture is played on.
std::vector<uint32_t> PlayedPicture(PicHandle picture)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 60, 40);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    EXPECT_EQ(PlayPageOnCairo(cr, picture, Rect{0, 0, 40, 60}), noErr);
    EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    std::vector<uint32_t> pixels;
    const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface));
    for (int i = 0; i < 60 * 40; ++i) pixels.push_back(data[i] & 0xFFFFFF);
    cairo_surface_destroy(surface);
    return pixels;
}

// The same for a picture recorded while `draw` runs.
template <typename Draw>
std::vector<uint32_t> Played(Draw draw)
{
    const Rect page{0, 0, 40, 60};
    GWorldPtr world = nullptr;
    EXPECT_EQ(NewGWorld(&world, 32, &page, nullptr, nullptr, 0), noErr);
    CGrafPtr savedPort;
    GDHandle savedDevice;
    GetGWorld(&savedPort, &savedDevice);
    SetGWorld(world, nullptr);
    PicHandle picture = OpenPicture(&page);
    draw();
    ClosePicture();
    SetGWorld(savedPort, savedDevice);
    std::vector<uint32_t> pixels = PlayedPicture(picture);
    KillPicture(picture);
    DisposeGWorld(world);
    return pixels;
}

// The same for a picture written byte by byte.
std::vector<uint32_t> Played(picturetest::Bytes& b)
{
    Handle picture = picturetest::Finish(b);
    std::vector<uint32_t> pixels = PlayedPicture(reinterpret_cast<PicHandle>(picture));
    DisposeHandle(picture);
    return pixels;
}

uint32_t At(const std::vector<uint32_t>& pixels, int h, int v) { return pixels[size_t(v * 60 + h)]; }

TEST(PagePlayerEdges, AFramedArcTooThinForItsPenIsTheWholeWedge)
{
    // 6 wide with a pen of 4: no band fits across.
    const std::vector<uint32_t> framed = Played([] {
        const Rect r{5, 10, 35, 16};
        PenSize(4, 4);
        FrameArc(&r, 0, 180);
    });
    const std::vector<uint32_t> painted = Played([] {
        const Rect r{5, 10, 35, 16};
        PaintArc(&r, 0, 180);
    });
    EXPECT_EQ(framed, painted);
    EXPECT_EQ(At(framed, 14, 20), 0x000000u) << "the wedge's inside";
}

TEST(PagePlayerEdges, AnInvertedAreaIsRasterisedAndAPenOfNoSizeDrawsNoLine)
{
    const std::vector<uint32_t> pixels = Played([] {
        const Rect black{10, 10, 20, 30}, inverted{10, 20, 20, 40};
        PaintRect(&black);
        InvertRect(&inverted);
        // A pen with no width (or no height) draws nothing, even where its
        // height (or width) would sweep an area.
        PenSize(0, 5);
        MoveTo(0, 30);
        LineTo(59, 30);
        PenSize(5, 0);
        MoveTo(50, 0);
        LineTo(50, 39);
    });
    EXPECT_EQ(At(pixels, 15, 15), 0x000000u) << "black, outside the inverted area";
    EXPECT_EQ(At(pixels, 25, 15), 0xFFFFFFu) << "black inverted";
    EXPECT_EQ(At(pixels, 35, 15), 0x000000u) << "white inverted";
    EXPECT_EQ(At(pixels, 45, 15), 0xFFFFFFu);
    for (int h = 0; h < 60; ++h) ASSERT_EQ(At(pixels, h, 32), 0xFFFFFFu) << h;
    for (int v = 0; v < 10; ++v) ASSERT_EQ(At(pixels, 52, v), 0xFFFFFFu) << v;
}

TEST(PagePlayerEdges, ATextRatioOfNoHeightLeavesTheRestOfThePage)
{
    picturetest::Bytes b = picturetest::Version2(0, 0, 40, 60);
    b.Op(0x0010).U16(1).U16(1).U16(0).U16(0);  // numerator 1:1, denominator 0:0
    b.Op(0x0028).U16(20).U16(5).U8(1).U8('A');
    b.Op(0x0031).R(25, 30, 35, 50);  // paintRect
    EXPECT_EQ(At(Played(b), 40, 30), 0x000000u) << "the rectangle after the text";
}

TEST(PagePlayerEdges, AnOvalOfNoHeightDrawsNothingAndStopsNothing)
{
    const std::vector<uint32_t> pixels = Played([] {
        const Rect flat{10, 5, 10, 30}, box{20, 20, 30, 40};
        PaintOval(&flat);
        FrameOval(&flat);
        PaintRect(&box);
    });
    EXPECT_EQ(At(pixels, 30, 25), 0x000000u) << "the rectangle after the flat oval";
    EXPECT_EQ(At(pixels, 15, 10), 0xFFFFFFu);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0x000000u), 10 * 20);
}

TEST(PagePlayerEdges, AFrameTooThickForItsOvalIsTheWholeOval)
{
    // 6 wide with a pen of 4: no hole fits, across or down.
    const std::vector<uint32_t> narrow = Played([] {
        const Rect r{5, 10, 35, 16};
        PenSize(4, 4);
        FrameOval(&r);
    });
    const std::vector<uint32_t> painted = Played([] {
        const Rect r{5, 10, 35, 16};
        PaintOval(&r);
    });
    EXPECT_EQ(narrow, painted);
    EXPECT_EQ(At(narrow, 13, 20), 0x000000u) << "the middle is inked";
}

TEST(PagePlayerEdges, ABitImageIsDrawnOnlyInsideItsMask)
{
    picturetest::Bytes b = picturetest::Version2(0, 0, 40, 60);
    // A black 16 x 16 map drawn at (4, 4) through a mask of (8, 8)-(12, 16).
    b.Op(0x0091).U16(2).R(0, 0, 16, 16).R(0, 0, 16, 16).R(4, 4, 20, 20).U16(srcCopy);
    b.U16(10).R(8, 8, 12, 16);
    for (int row = 0; row < 16; ++row) b.U16(0xFFFF);
    const std::vector<uint32_t> pixels = Played(b);
    int black = 0;
    for (int v = 0; v < 40; ++v)
        for (int h = 0; h < 60; ++h) {
            const bool inside = v >= 8 && v < 12 && h >= 8 && h < 16;
            EXPECT_EQ(At(pixels, h, v), inside ? 0x000000u : 0xFFFFFFu) << h << "," << v;
            black += At(pixels, h, v) == 0;
        }
    EXPECT_EQ(black, 4 * 8);
}

}  // namespace
