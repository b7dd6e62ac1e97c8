// The printing service: page geometry, the classic print record, the PDF
// printer's destinations, whole jobs read back with the PDF tools, and the
// dialogs' sheets.
#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/backends/Script.h"
#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/FontFiles.h"
#include "platform/fonts/Fonts.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/imports/PngCodec.h"
#include "platform/pictures/Pictures.h"
#include "platform/printing/PagePlayer.h"
#include "platform/printing/Printing.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "tests/platform/pictures/PictureTestSupport.h"
#include "tests/platform/printing/PrintTestSupport.h"

namespace {

using namespace platform;
namespace fs = std::filesystem;

using printtest::Session;

class TempDir {
public:
    TempDir()
    {
        static int n = 0;
        path_ = fs::temp_directory_path() / ("qz_print_" + std::to_string(::getpid()) + "_" + std::to_string(++n));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// The output of a command, empty when it cannot run.
std::string Output(const std::string& command)
{
    std::string out;
    if (FILE* p = ::popen((command + " 2>/dev/null").c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

bool HavePdfTools() { return std::system("which pdfinfo >/dev/null") == 0; }

void ExpectRect(const PMRect& r, double top, double left, double bottom, double right)
{
    EXPECT_DOUBLE_EQ(r.top, top);
    EXPECT_DOUBLE_EQ(r.left, left);
    EXPECT_DOUBLE_EQ(r.bottom, bottom);
    EXPECT_DOUBLE_EQ(r.right, right);
}

TEST(PrintGeometry, LetterPageAndPaperFollowOrientationAndScale)
{
    Session s;
    PMRect page, paper;
    ASSERT_EQ(PMGetAdjustedPageRect(s.format, &page), kPMNoError);
    ASSERT_EQ(PMGetAdjustedPaperRect(s.format, &paper), kPMNoError);
    ExpectRect(page, 0, 0, 756, 576);
    ExpectRect(paper, -18, -18, 774, 594);

    ASSERT_EQ(PMSetOrientation(s.format, kPMLandscape, false), kPMNoError);
    PMGetAdjustedPageRect(s.format, &page);
    PMGetAdjustedPaperRect(s.format, &paper);
    ExpectRect(page, 0, 0, 576, 756);
    ExpectRect(paper, -18, -18, 594, 774);

    ASSERT_EQ(PMSetOrientation(s.format, kPMPortrait, false), kPMNoError);
    ASSERT_EQ(PMSetScale(s.format, 50), kPMNoError);
    PMGetAdjustedPageRect(s.format, &page);
    ExpectRect(page, 0, 0, 1512, 1152);
    EXPECT_EQ(PMSetScale(s.format, 1000), kPMValueOutOfRange);
    EXPECT_EQ(PMSetOrientation(s.format, 7, false), kPMInvalidParameter);
}

TEST(PrintGeometry, OnlyThePdfPrinterIsAccepted)
{
    Session s;
    PMPrinter printer = nullptr;
    ASSERT_EQ(PMSessionGetCurrentPrinter(s.session, &printer), kPMNoError);
    EXPECT_EQ(PMPrinterGetID(printer), "PDF");
    EXPECT_EQ(PMSessionSetCurrentPrinter(s.session, "PDF"), kPMNoError);
    EXPECT_EQ(PMSessionSetCurrentPrinter(s.session, "Office Laser"), kPMInvalidPrinter);
}

// --- The classic print record -------------------------------------------

struct FormatCase {
    PMPaper paper;
    PMOrientation orientation;
    double scale;
};

TEST(OldPrintRecord, MadeAndReadBackGivesTheSameSettings)
{
    Session s;
    for (FormatCase c : {FormatCase{PMPaper::Letter, kPMPortrait, 100}, FormatCase{PMPaper::Letter, kPMLandscape, 100},
                         FormatCase{PMPaper::A4, kPMPortrait, 50}, FormatCase{PMPaper::A4, kPMLandscape, 200},
                         FormatCase{PMPaper::Letter, kPMPortrait, 33}}) {
        SCOPED_TRACE(c.scale);
        PMSetPaper(s.format, c.paper);
        PMSetOrientation(s.format, c.orientation, false);
        PMSetScale(s.format, c.scale);
        PMSetCopies(s.settings, 3, false);
        PMSetFirstPage(s.settings, 2, false);
        PMSetLastPage(s.settings, 5, false);
        Handle record = nullptr;
        ASSERT_EQ(PMSessionMakeOldPrintRecord(s.session, s.settings, s.format, &record), kPMNoError);
        ASSERT_EQ(GetHandleSize(record), 120);
        PMPrintSettings settings = nullptr;
        PMPageFormat format = nullptr;
        ASSERT_EQ(PMSessionConvertOldPrintRecord(s.session, record, &settings, &format), kPMNoError);
        PMPaper paper;
        PMOrientation orientation;
        double scale;
        uint32_t copies, first, last;
        PMGetPaper(format, &paper);
        PMGetOrientation(format, &orientation);
        PMGetScale(format, &scale);
        PMGetCopies(settings, &copies);
        PMGetFirstPage(settings, &first);
        PMGetLastPage(settings, &last);
        EXPECT_EQ(paper, c.paper);
        EXPECT_EQ(orientation, c.orientation);
        EXPECT_DOUBLE_EQ(scale, c.scale);
        EXPECT_EQ(copies, 3u);
        EXPECT_EQ(first, 2u);
        EXPECT_EQ(last, 5u);
        PMRelease(settings);
        PMRelease(format);
        DisposeHandle(record);
    }
}

TEST(OldPrintRecord, FieldsLieWhereOldRecordsKeepThem)
{
    Session s;
    Handle record = nullptr;
    ASSERT_EQ(PMSessionMakeOldPrintRecord(s.session, s.settings, s.format, &record), kPMNoError);
    const auto* b = reinterpret_cast<const uint8_t*>(*record);
    EXPECT_EQ(ReadBE16(b + 0), 3);  // version
    EXPECT_EQ(ReadBE16(b + 4), 72);
    EXPECT_EQ(ReadBE16(b + 6), 72);
    EXPECT_EQ(int16_t(ReadBE16(b + 8)), 0);  // page
    EXPECT_EQ(int16_t(ReadBE16(b + 12)), 756);
    EXPECT_EQ(int16_t(ReadBE16(b + 14)), 576);
    EXPECT_EQ(int16_t(ReadBE16(b + 16)), -18);  // paper
    EXPECT_EQ(int16_t(ReadBE16(b + 20)), 774);
    EXPECT_EQ(ReadBE16(b + 62), 1);  // job: first page, last page (all), copies
    EXPECT_EQ(ReadBE16(b + 64), 9999);
    EXPECT_EQ(ReadBE16(b + 66), 1);
    for (int i = 82; i < 120; ++i)
        EXPECT_EQ(b[i], 0) << i;
    DisposeHandle(record);
}

TEST(OldPrintRecord, FieldsOutOfRangeTakeTheirDefaults)
{
    Session s;
    Handle record = nullptr;
    ASSERT_EQ(PMSessionMakeOldPrintRecord(s.session, s.settings, s.format, &record), kPMNoError);
    auto* b = reinterpret_cast<uint8_t*>(*record);
    WriteBE16(b + 66, 0);       // no copies
    WriteBE16(b + 62, 0x8000);  // a negative first page
    WriteBE16(b + 26, 777);     // a paper nobody makes
    PMPrintSettings settings = nullptr;
    PMPageFormat format = nullptr;
    ASSERT_EQ(PMSessionConvertOldPrintRecord(s.session, record, &settings, &format), kPMNoError);
    uint32_t copies, first, last;
    PMGetCopies(settings, &copies);
    PMGetFirstPage(settings, &first);
    PMGetLastPage(settings, &last);
    EXPECT_EQ(copies, 1u);
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(last, kPMPrintAllPages);
    PMRect page;
    PMGetAdjustedPageRect(format, &page);
    ExpectRect(page, 0, 0, 756, 576);
    PMRelease(settings);
    PMRelease(format);

    // A page rectangle at odds with the paper: the page format's defaults.
    PMSetPaper(s.format, PMPaper::A4);
    DisposeHandle(record);
    PMSessionMakeOldPrintRecord(s.session, s.settings, s.format, &record);
    b = reinterpret_cast<uint8_t*>(*record);
    WriteBE16(b + 12, 30000);
    ASSERT_EQ(PMSessionConvertOldPrintRecord(s.session, record, &settings, &format), kPMNoError);
    PMPaper paper;
    PMGetPaper(format, &paper);
    EXPECT_EQ(paper, PMPaper::Letter);
    PMRelease(settings);
    PMRelease(format);

    // A short handle is no print record.
    SetHandleSize(record, 60);
    EXPECT_EQ(PMSessionConvertOldPrintRecord(s.session, record, &settings, &format), kPMInvalidParameter);
    EXPECT_EQ(PMSessionError(s.session), kPMInvalidParameter);
    DisposeHandle(record);
}

TEST(OldPrintRecord, PagesAreTakenUpToTheLastBeforeAllAndTheSheetOnlyFromItsOrigin)
{
    Session s;
    struct Case {
        int16_t first, last;
        uint32_t wantFirst, wantLast;
    };
    const Case cases[] = {
        {9998, 9998, 9998, 9998},
        {9999, 9999, 1, kPMPrintAllPages},  // "all" is no first page
        {3, 9999, 3, kPMPrintAllPages},
        {3, 2, 3, kPMPrintAllPages},         // last before first
        {3, 3, 3, 3},
        {0, 5, 1, kPMPrintAllPages},
    };
    for (const Case& k : cases) {
        Handle record = nullptr;
        ASSERT_EQ(PMSessionMakeOldPrintRecord(s.session, s.settings, s.format, &record), kPMNoError);
        auto* b = reinterpret_cast<uint8_t*>(*record);
        WriteBE16(b + 62, uint16_t(k.first));
        WriteBE16(b + 64, uint16_t(k.last));
        PMPrintSettings settings = nullptr;
        PMPageFormat format = nullptr;
        ASSERT_EQ(PMSessionConvertOldPrintRecord(s.session, record, &settings, &format), kPMNoError);
        uint32_t first = 0, last = 0;
        PMGetFirstPage(settings, &first);
        PMGetLastPage(settings, &last);
        EXPECT_EQ(first, k.wantFirst) << k.first << "-" << k.last;
        EXPECT_EQ(last, k.wantLast) << k.first << "-" << k.last;
        PMRelease(settings);
        PMRelease(format);
        DisposeHandle(record);
    }
    // The scale comes from a sheet that starts at or before the page's origin.
    ASSERT_EQ(PMSetScale(s.format, 50), kPMNoError);
    for (int16_t left : {int16_t(0), int16_t(1)}) {
        Handle record = nullptr;
        ASSERT_EQ(PMSessionMakeOldPrintRecord(s.session, s.settings, s.format, &record), kPMNoError);
        auto* b = reinterpret_cast<uint8_t*>(*record);
        const int16_t stored = int16_t(ReadBE16(b + 18));
        WriteBE16(b + 18, uint16_t(left));
        WriteBE16(b + 22, uint16_t(int16_t(ReadBE16(b + 22)) + left - stored));  // the same width
        PMPrintSettings settings = nullptr;
        PMPageFormat format = nullptr;
        ASSERT_EQ(PMSessionConvertOldPrintRecord(s.session, record, &settings, &format), kPMNoError);
        double scale = 0;
        PMGetScale(format, &scale);
        EXPECT_EQ(scale, left <= 0 ? 50.0 : 100.0) << left;
        PMRelease(settings);
        PMRelease(format);
        DisposeHandle(record);
    }
}

TEST(OldPrintRecord, AnyBytesGiveValidSettings)
{
    Session s;
    std::mt19937 random(120);
    Handle record = NewHandle(120);
    ASSERT_NE(record, nullptr);
    for (int i = 0; i < 500; ++i) {
        auto* b = reinterpret_cast<uint8_t*>(*record);
        for (int k = 0; k < 120; ++k)
            b[k] = uint8_t(random());
        if (i % 2) {
            // Half of them with a plausible paper, so the deeper checks run.
            WriteBE16(b + 26, i % 4 == 1 ? 1320 : 1403);
            WriteBE16(b + 28, i % 4 == 1 ? 1020 : 992);
        }
        PMPrintSettings settings = nullptr;
        PMPageFormat format = nullptr;
        ASSERT_EQ(PMSessionConvertOldPrintRecord(s.session, record, &settings, &format), kPMNoError);
        Boolean changed = true;
        EXPECT_EQ(PMSessionValidatePrintSettings(s.session, settings, &changed), kPMNoError);
        EXPECT_FALSE(changed) << i;
        EXPECT_EQ(PMSessionValidatePageFormat(s.session, format, &changed), kPMNoError);
        EXPECT_FALSE(changed) << i;
        PMRelease(settings);
        PMRelease(format);
    }
    DisposeHandle(record);
}

// --- Destinations ------------------------------------------------------

TEST(PrintDestination, OnlyPdfIsWritten)
{
    Session s;
    EXPECT_EQ(PMSessionSetDestination(s.session, s.settings, kPMDestinationFile, kPMDocumentFormatPostScript, "/tmp/x.ps"),
              kPMInvalidParameter);
    EXPECT_EQ(PMSessionError(s.session), kPMInvalidParameter);
    EXPECT_EQ(PMSessionSetDestination(s.session, s.settings, kPMDestinationFax, "", ""), kPMInvalidParameter);
    EXPECT_EQ(PMSessionSetDestination(s.session, s.settings, kPMDestinationFile, kPMDocumentFormatPDF, ""),
              kPMInvalidParameter);
    PMDestinationType type = 0;
    PMSessionGetDestinationType(s.session, s.settings, &type);
    EXPECT_EQ(type, kPMDestinationPrinter);

    ASSERT_EQ(PMSessionSetDestination(s.session, s.settings, kPMDestinationFile, kPMDocumentFormatPDF, "/tmp/a.pdf"),
              kPMNoError);
    std::string format, location;
    PMSessionGetDestinationType(s.session, s.settings, &type);
    PMSessionCopyDestinationFormat(s.session, s.settings, &format);
    PMSessionCopyDestinationLocation(s.session, s.settings, &location);
    EXPECT_EQ(type, kPMDestinationFile);
    EXPECT_EQ(format, "application/pdf");
    EXPECT_EQ(location, "/tmp/a.pdf");

    EXPECT_EQ(PMSessionSetDocumentFormatGeneration(s.session, kPMDocumentFormatDefault, {kPMGraphicsContextQuickDraw}),
              kPMNoError);
    EXPECT_EQ(PMSessionSetDocumentFormatGeneration(s.session, kPMDocumentFormatPostScript, {}), kPMInvalidParameter);
    EXPECT_EQ(PMSessionSetDocumentFormatGeneration(s.session, kPMDocumentFormatPDF,
                                                   {kPMGraphicsContextQuickDraw, "coregraphics"}),
              kPMInvalidParameter)
        << "a drawing context other than the one drawn with";
}

// --- Whole jobs --------------------------------------------------------

// What each test page draws: a frame, an oval, "Page N" and a 32-bit image.
void DrawTestPage(int n)
{
    Rect frame{20, 20, 300, 400};
    FrameRect(&frame);
    Rect oval{60, 60, 160, 260};
    PaintOval(&oval);
    TextFont(21);
    TextSize(24);
    MoveTo(100, 240);
    std::string text = "Page " + std::to_string(n);
    DrawText(text.data(), 0, int16_t(text.size()));

    GWorldPtr image = nullptr;
    Rect ib{0, 0, 16, 32};
    ASSERT_EQ(NewGWorld(&image, 32, &ib, nullptr, nullptr, 0), noErr);
    Surface s = MakeSurface(GetPortBitMapForCopyBits(image));
    for (int32_t v = 0; v < 16; ++v)
        for (int32_t h = 0; h < 32; ++h)
            s.WriteRGB(h, v, uint32_t(h * 8) << 16 | uint32_t(v * 16) << 8 | 0x40);
    Rect to{320, 40, 352, 104};
    CopyBits(GetPortBitMapForCopyBits(image), GetPortBitMapForCopyBits(GetQDGlobalsThePort()), &ib, &to, srcCopy,
             nullptr);
    DisposeGWorld(image);
}

void PrintPage(Session& s, void (*draw)(int), int n)
{
    ASSERT_EQ(PMSessionBeginPage(s.session, s.format, nullptr), kPMNoError);
    void* context = nullptr;
    ASSERT_EQ(PMSessionGetGraphicsContext(s.session, kPMGraphicsContextQuickDraw, &context), kPMNoError);
    GrafPtr saved;
    GetPort(&saved);
    SetPort(static_cast<GrafPtr>(context));
    draw(n);
    SetPort(saved);
    ASSERT_EQ(PMSessionEndPage(s.session), kPMNoError);
}

TEST(PrintJob, ThreePagesToPdfAndPng)
{
    if (!HavePdfTools())
        GTEST_SKIP() << "pdfinfo is not installed (poppler-utils)";
    TempDir dir;
    Session s;
    const std::string pdf = dir / "job.pdf";
    ASSERT_EQ(PMSessionSetDestination(s.session, s.settings, kPMDestinationFile, kPMDocumentFormatPDF, pdf), kPMNoError);
    ASSERT_EQ(PMSessionSetPageImages(s.session, dir / "page-", 72), kPMNoError);
    ASSERT_EQ(PMSessionBeginDocument(s.session, s.settings, s.format), kPMNoError);
    EXPECT_FALSE(fs::exists(pdf));  // written beside it until whole
    for (int n = 1; n <= 3; ++n)
        PrintPage(s, DrawTestPage, n);
    ASSERT_EQ(PMSessionEndDocument(s.session), kPMNoError);
    EXPECT_EQ(PMSessionLastDocumentPath(s.session), pdf);
    EXPECT_FALSE(fs::exists(pdf + ".printing"));

    std::string info = Output("pdfinfo '" + pdf + "'");
    EXPECT_NE(info.find("Pages:           3"), std::string::npos) << info;
    EXPECT_NE(info.find("Page size:       612 x 792 pts"), std::string::npos) << info;
    for (int n = 1; n <= 3; ++n) {
        std::string text = Output("pdftotext -f " + std::to_string(n) + " -l " + std::to_string(n) + " '" + pdf + "' -");
        EXPECT_NE(text.find("Page " + std::to_string(n)), std::string::npos) << text;
        if (n != 2) {
            EXPECT_EQ(text.find("Page 2"), std::string::npos);
        }
    }
    // Shapes and text are not images: only the one picture per page is.
    std::string images = Output("pdfimages -list '" + pdf + "'");
    EXPECT_NE(images.find("\n   1     0 image      32    16"), std::string::npos) << images;

    // Each page's PNG is the same drawing made straight into a world.
    for (int n = 1; n <= 3; ++n) {
        std::ifstream in(dir / ("page-" + std::to_string(n) + ".png"), std::ios::binary);
        std::vector<uint8_t> png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        PictPixels decoded;
        ASSERT_EQ(DecodePng(png.data(), png.size(), &decoded), ImageReadResult::Ok);
        ASSERT_EQ(decoded.width(), 576);
        ASSERT_EQ(decoded.height(), 756);
        GWorldPtr world = nullptr;
        Rect bounds{0, 0, 756, 576};
        ASSERT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), noErr);
        GrafPtr saved;
        GetPort(&saved);
        SetPort(world);
        DrawTestPage(n);
        SetPort(saved);
        Surface direct = MakeSurface(GetPortBitMapForCopyBits(world));
        int32_t differ = 0;
        for (int32_t v = 0; v < 756; ++v)
            for (int32_t h = 0; h < 576; ++h)
                differ += decoded.RGBAt(h, v) != direct.ReadRGB(h, v);
        EXPECT_EQ(differ, 0) << "page " << n;
        DisposeGWorld(world);
    }
}

void DrawXorPage(int)
{
    Rect r{10, 10, 100, 100};
    PaintRect(&r);
    PenMode(patXor);
    MoveTo(0, 50);
    LineTo(200, 50);
    PenNormal();
}

TEST(PrintJob, XorPageBecomesOneImageAndRangesAndSpoolingHold)
{
    if (!HavePdfTools())
        GTEST_SKIP() << "pdfinfo is not installed (poppler-utils)";
    TempDir dir;
    ::setenv("QZ_DOCUMENTS_DIR", dir.path().c_str(), 1);
    Session s;
    // The printer spools into the documents folder, never over a file.
    std::ofstream(dir / "Print.pdf") << "keep";
    PMSetFirstPage(s.settings, 2, false);
    PMSetLastPage(s.settings, 2, false);
    ASSERT_EQ(PMSessionBeginDocument(s.session, s.settings, s.format), kPMNoError);
    PrintPage(s, DrawTestPage, 1);
    PrintPage(s, DrawXorPage, 2);
    PrintPage(s, DrawTestPage, 3);
    ASSERT_EQ(PMSessionEndDocument(s.session), kPMNoError);
    ::unsetenv("QZ_DOCUMENTS_DIR");
    const std::string pdf = dir / "Print 2.pdf";
    EXPECT_EQ(PMSessionLastDocumentPath(s.session), pdf);
    std::ifstream kept(dir / "Print.pdf");
    std::string old;
    kept >> old;
    EXPECT_EQ(old, "keep");

    EXPECT_NE(Output("pdfinfo '" + pdf + "'").find("Pages:           1"), std::string::npos);
    std::string images = Output("pdfimages -list '" + pdf + "'");
    // One 300-dpi image of the whole page (576 x 756 points).
    EXPECT_NE(images.find("image    2400  3150"), std::string::npos) << images;
}

TEST(PrintJob, LinksPlantedAtTheOldTemporaryOrTheDestinationAreNeverWrittenThrough)
{
    // A link where the temporary used to be made, or at the destination:
    // its target stays, the document is printed whole in its place, and no
    // temporary stays behind.
    for (const bool destinationIsLink : {false, true}) {
        TempDir dir;
        const std::string target = dir / "target", pdf = dir / "job.pdf";
        std::ofstream(target) << "untouched";
        fs::create_symlink(target, destinationIsLink ? pdf : pdf + ".printing");
        Session s;
        PMSessionSetDestination(s.session, s.settings, kPMDestinationFile, kPMDocumentFormatPDF, pdf);
        ASSERT_EQ(PMSessionBeginDocument(s.session, s.settings, s.format), kPMNoError);
        PrintPage(s, DrawTestPage, 1);
        ASSERT_EQ(PMSessionEndDocument(s.session), kPMNoError);
        std::string text, head(4, ' ');
        std::ifstream(target) >> text;
        std::ifstream(pdf, std::ios::binary).read(head.data(), 4);
        EXPECT_EQ(text + " " + head, "untouched %PDF") << destinationIsLink;
        EXPECT_FALSE(fs::is_symlink(pdf));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), destinationIsLink ? 2 : 3);
    }
}

TEST(PrintJob, RefusedDocumentsLeaveNothing)
{
    TempDir dir;
    Session s;
    // Settings changed behind the session's back still cannot print PostScript.
    PMSessionSetDestination(s.session, s.settings, kPMDestinationFile, kPMDocumentFormatPDF, dir / "a.ps");
    PMPrintSettings other = nullptr;
    PMCreatePrintSettings(&other);
    PMSessionDefaultPrintSettings(s.session, other);
    EXPECT_EQ(PMSessionSetDestination(s.session, other, kPMDestinationFile, kPMDocumentFormatPostScript, dir / "b.ps"),
              kPMInvalidParameter);
    PMRelease(other);
    // A page outside a document, and a document into a missing folder.
    EXPECT_EQ(PMSessionBeginPage(s.session, s.format, nullptr), kPMOutOfScope);
    PMSessionSetDestination(s.session, s.settings, kPMDestinationFile, kPMDocumentFormatPDF, dir / "no/such/x.pdf");
    EXPECT_NE(PMSessionBeginDocument(s.session, s.settings, s.format), kPMNoError);
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// --- Shapes on Cairo match our rasteriser --------------------------------

TEST(PagePlayer, RectanglesAndLinesMatchTheRasteriserAndTheLineWidthCommentScalesThePen)
{
    const Rect page{0, 0, 60, 80};
    GWorldPtr world = nullptr;
    ASSERT_EQ(NewGWorld(&world, 32, &page, nullptr, nullptr, 0), noErr);
    GrafPtr saved;
    GetPort(&saved);
    SetPort(world);
    PicHandle picture = OpenPicture(&page);
    Rect r{5, 5, 40, 50};
    PenSize(2, 3);
    FrameRect(&r);
    MoveTo(10, 50);
    LineTo(70, 50);
    PenSize(4, 4);
    Handle fraction = NewHandle(4);
    WriteBE16(*fraction, 1);
    WriteBE16(*fraction + 2, 4);
    PicComment(kSetLineWidthComment, 4, fraction);
    DisposeHandle(fraction);
    Rect thin{45, 55, 58, 78};
    FrameRect(&thin);
    ClosePicture();
    SetPort(saved);

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 80, 60);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    EXPECT_EQ(PlayPageOnCairo(cr, picture, page), noErr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const uint8_t* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    auto at = [&](int h, int v) { return reinterpret_cast<const uint32_t*>(data + v * stride)[h] & 0xFFFFFF; };

    // The frame and the line, pixel for pixel as our own drawing.
    SetPort(world);
    PenNormal();
    PenSize(2, 3);
    FrameRect(&r);
    MoveTo(10, 50);
    LineTo(70, 50);
    SetPort(saved);
    Surface direct = MakeSurface(GetPortBitMapForCopyBits(world));
    int32_t differ = 0;
    for (int v = 0; v < 44; ++v)
        for (int h = 0; h < 80; ++h)
            differ += at(h, v) != direct.ReadRGB(h, v);
    EXPECT_EQ(differ, 0);
    // The last frame's pen of 4 was scaled to 1.
    EXPECT_EQ(at(55, 55), 0x000000u);
    EXPECT_EQ(at(56, 55), 0xFFFFFFu);
    EXPECT_EQ(at(77, 55), 0x000000u);
    EXPECT_EQ(at(76, 55), 0xFFFFFFu);

    cairo_surface_destroy(surface);
    KillPicture(picture);
    DisposeGWorld(world);
}

// A bit image whose source rectangle is far larger than its map (a damaged
// or hostile picture) draws on a page what the map under its own bounds
// draws, plainly and scaled: only the pixels that land are made.
TEST(PagePlayer, BitImagesAreBoundedByWhatTheyCanChange)
{
    auto play = [](Rect src, Rect dst) {
        picturetest::Bytes b = picturetest::Version2(0, 0, 40, 60);
        b.Op(0x0090).U16(4).R(2, 2, 20, 30).R(src.top, src.left, src.bottom, src.right);
        b.R(dst.top, dst.left, dst.bottom, dst.right).U16(srcCopy);
        for (int row = 0; row < 18; ++row) b.U32(row % 2 ? 0xAAAAAAA0u : 0x55555550u);
        Handle picture = picturetest::Finish(b);
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 60, 40);
        cairo_t* cr = cairo_create(surface);
        EXPECT_EQ(PlayPageOnCairo(cr, picture, Rect{0, 0, 40, 60}), noErr);
        cairo_destroy(cr);
        const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface));
        std::vector<uint32_t> pixels;
        for (int i = 0; i < 60 * 40; ++i) pixels.push_back(data[i] & 0xFFFFFF);  // stride 240
        cairo_surface_destroy(surface);
        DisposeHandle(picture);
        return pixels;
    };
    const Rect own{2, 2, 20, 30}, huge{-16000, -16000, 16000, 16000}, twice{-32000, -32000, 32000, 32000};
    const std::vector<uint32_t> plain = play(own, own);
    EXPECT_EQ(std::count(plain.begin(), plain.end(), 0xFFFFFFu), 18 * 14);
    EXPECT_EQ(play(huge, huge), plain);
    EXPECT_EQ(play(huge, twice), play(own, Rect{4, 4, 40, 60}));
}

// --- Dialogs and sheets ------------------------------------------------

int sheetCalls = 0;
Boolean sheetAccepted = false;
void SheetDone(PMPrintSession, WindowRecord*, Boolean accepted)
{
    ++sheetCalls;
    sheetAccepted = accepted;
}

TEST(PrintDialogs, SheetsCompleteBeforeTheDialogCallReturns)
{
    Session s;
    ClearFileDialogAnswers();
    auto* window = reinterpret_cast<WindowRecord*>(&sheetCalls);  // only passed back
    ASSERT_EQ(PMSessionUseSheets(s.session, window, SheetDone), kPMNoError);

    FileDialogAnswer choose;
    ASSERT_TRUE(ParseFileDialogAnswer("choose", &choose));
    PushFileDialogAnswer(choose);
    sheetCalls = 0;
    Boolean accepted = false;
    ASSERT_EQ(PMSessionPageSetupDialog(s.session, s.format, &accepted), kPMNoError);
    EXPECT_EQ(sheetCalls, 1);
    EXPECT_TRUE(sheetAccepted);
    EXPECT_TRUE(accepted);

    PushFileDialogAnswer(choose);
    sheetCalls = 0;
    ASSERT_EQ(PMSessionPrintDialog(s.session, s.settings, s.format, &accepted), kPMNoError);
    EXPECT_EQ(sheetCalls, 1);
    EXPECT_TRUE(sheetAccepted);

    FileDialogAnswer cancel;
    ASSERT_TRUE(ParseFileDialogAnswer("cancel", &cancel));
    PushFileDialogAnswer(cancel);
    sheetCalls = 0;
    ASSERT_EQ(PMSessionPrintDialog(s.session, s.settings, s.format, &accepted), kPMNoError);
    EXPECT_EQ(sheetCalls, 1);
    EXPECT_FALSE(sheetAccepted);
    EXPECT_FALSE(accepted);

    // Without sheets the completion is not called.
    PMSessionUseSheets(s.session, nullptr, nullptr);
    PushFileDialogAnswer(choose);
    sheetCalls = 0;
    PMSessionPageSetupDialog(s.session, s.format, &accepted);
    EXPECT_EQ(sheetCalls, 0);
    EXPECT_TRUE(accepted);
}

TEST(PrintDialogs, APathAnswersThePrintDialogWithThatFile)
{
    Session s;
    ClearFileDialogAnswers();
    FileDialogAnswer path;
    ASSERT_TRUE(ParseFileDialogAnswer("/tmp/out.pdf", &path));
    PushFileDialogAnswer(path);
    Boolean accepted = false;
    ASSERT_EQ(PMSessionPrintDialog(s.session, s.settings, s.format, &accepted), kPMNoError);
    EXPECT_TRUE(accepted);
    std::string location;
    PMSessionCopyDestinationLocation(s.session, s.settings, &location);
    EXPECT_EQ(location, "/tmp/out.pdf");

    // "button 2" cancels and leaves the destination as it was.
    FileDialogAnswer button;
    ASSERT_TRUE(ParseFileDialogAnswer("button 2", &button));
    EXPECT_EQ(button.button, 2);
    PushFileDialogAnswer(button);
    ASSERT_EQ(PMSessionPrintDialog(s.session, s.settings, s.format, &accepted), kPMNoError);
    EXPECT_FALSE(accepted);
    EXPECT_FALSE(ParseFileDialogAnswer("button x", &button));
    EXPECT_FALSE(ParseFileDialogAnswer("", &button));
}

}  // namespace

// --- Printing from the print-documents event -----------------------------

namespace {

std::string printedName;
void DrawDocumentName(int)
{
    TextFont(21);
    TextSize(12);
    MoveTo(20, 40);
    DrawText(printedName.data(), 0, int16_t(printedName.size()));
}

}  // namespace

TEST(PrintJob, PrintDocumentsEventPrintsIntoTheDocumentsFolderOnceTheScriptAnswers)
{
    if (!HavePdfTools())
        GTEST_SKIP() << "pdftotext is not installed (poppler-utils)";
    TempDir dir;
    ::setenv("QZ_DOCUMENTS_DIR", dir.path().c_str(), 1);
    Script script;
    std::string error;
    ASSERT_TRUE(ParseScript("send pdoc /tmp/Orders.QzB\nwait 10\nanswer choose\n", &script, &error)) << error;
    platform::testing::HeadlessRun run(std::move(script));
    EventRecord e{};
    ASSERT_TRUE(platform::testing::NextEvent(highLevelEventMask, &e));
    ASSERT_EQ(HighLevelEventID(e), kAEPrintDocuments);
    ASSERT_EQ(LastHighLevelEvent().documents.size(), 1u);
    printedName = fs::path(LastHighLevelEvent().documents[0]).filename().string();

    Session s;
    Boolean accepted = false;
    const uint32_t before = TickCount();
    ASSERT_EQ(PMSessionPrintDialog(s.session, s.settings, s.format, &accepted), kPMNoError);
    EXPECT_TRUE(accepted);
    EXPECT_GE(TickCount() - before, 5u);  // the dialog waited for the answer
    ASSERT_EQ(PMSessionBeginDocument(s.session, s.settings, s.format), kPMNoError);
    PrintPage(s, DrawDocumentName, 1);
    ASSERT_EQ(PMSessionEndDocument(s.session), kPMNoError);
    ::unsetenv("QZ_DOCUMENTS_DIR");
    EXPECT_EQ(PMSessionLastDocumentPath(s.session), dir / "Print.pdf");
    EXPECT_NE(Output("pdftotext '" + (dir / "Print.pdf") + "' -").find("Orders.QzB"), std::string::npos);
    EXPECT_TRUE(run.watchdogMessage.empty());

    // A print dialog nobody answers ends with the run, cancelled.
    Boolean again = true;
    Session t;
    ASSERT_EQ(PMSessionPrintDialog(t.session, t.settings, t.format, &again), kPMNoError);
    EXPECT_FALSE(again);
    EXPECT_NE(run.watchdogMessage.find("still waiting for input"), std::string::npos);
}

// --- Memory running out ------------------------------------------------

TEST(PrintJob, MemoryRunningOutAtAnyAllocationOfAPageEndsInAnErrorNotACrash)
{
    TempDir dir;
    int swept = 0;
    for (int32_t after = 0; after < 400; ++after) {
        Session s;
        PMSessionSetDestination(s.session, s.settings, kPMDestinationFile, kPMDocumentFormatPDF, dir / "sweep.pdf");
        PMSessionSetPageImages(s.session, dir / "sweep-", 36);
        ASSERT_EQ(PMSessionBeginDocument(s.session, s.settings, s.format), kPMNoError);
        OSStatus page = kPMNoError, end = kPMNoError;
        {
            ScopedFault fault(FaultKind::Allocation, after);
            page = PMSessionBeginPage(s.session, s.format, nullptr);
            void* context = nullptr;
            if (page == kPMNoError && PMSessionGetGraphicsContext(s.session, kPMGraphicsContextQuickDraw, &context) == kPMNoError) {
                GrafPtr saved;
                GetPort(&saved);
                SetPort(static_cast<GrafPtr>(context));
                DrawXorPage(1);
                Rect r{5, 5, 50, 80};
                FrameOval(&r);
                SetPort(saved);
                page = PMSessionEndPage(s.session);
            }
            end = PMSessionEndDocument(s.session);
            if (!IsFaultArmed(FaultKind::Allocation))
                ++swept;
            else
                break;  // the page needed fewer allocations than `after`
        }
        EXPECT_TRUE(page == kPMNoError || page == memFullErr || page == kPMOutOfScope) << after << " " << page;
        (void)end;
    }
    EXPECT_GT(swept, 10);
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_NE(entry.path().extension(), ".printing") << entry.path();
}

// --- Printing leaves the screen's text alone ---------------------------

void DrawStyledText(int)
{
    const char text[] = "Sized, slanted and bold";
    for (int16_t size : {9, 24, 13}) {
        TextFont(applFont);
        TextSize(size);
        for (Style face : {Style(italic), Style(bold | italic), Style(normal)}) {
            TextFace(face);
            MoveTo(10, int16_t(size * 3 + face * 20));
            DrawText(text, 0, int16_t(sizeof text - 1));
        }
    }
    TextFace(normal);
}

// Glyphs nobody drew before: they are loaded from the faces afresh.
void DrawFreshText(int)
{
    const char text[] = "QUICK ZEBRAS JUMP 0123456789";
    for (int16_t size : {9, 24, 13}) {
        TextFont(applFont);
        TextSize(size);
        MoveTo(10, int16_t(size * 5));
        DrawText(text, 0, int16_t(sizeof text - 1));
    }
}

TEST(PrintJob, TextDrawnAfterPrintingLooksAsBefore)
{
    TempDir dir;
    auto drawIntoWorld = [](std::vector<uint32_t>* pixels) {
        GWorldPtr world = nullptr;
        Rect bounds{0, 0, 160, 300};
        ASSERT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), noErr);
        GrafPtr saved;
        GetPort(&saved);
        SetPort(world);
        DrawFreshText(0);
        SetPort(saved);
        Surface s = MakeSurface(GetPortBitMapForCopyBits(world));
        for (int32_t v = 0; v < 160; ++v)
            for (int32_t h = 0; h < 300; ++h)
                pixels->push_back(s.ReadRGB(h, v));
        DisposeGWorld(world);
    };
    std::vector<uint32_t> before, after;
    drawIntoWorld(&before);
    // Fresh faces and caches, as at start-up; then a page of slanted and
    // sized text, then the same glyphs again.
    UnloadFontFiles();
    ASSERT_EQ(LoadFontFiles(), noErr);
    {
        Session s;
        PMSessionSetDestination(s.session, s.settings, kPMDestinationFile, kPMDocumentFormatPDF, dir / "styled.pdf");
        ASSERT_EQ(PMSessionBeginDocument(s.session, s.settings, s.format), kPMNoError);
        PrintPage(s, DrawStyledText, 1);
        ASSERT_EQ(PMSessionEndDocument(s.session), kPMNoError);
    }
    drawIntoWorld(&after);
    EXPECT_TRUE(before == after);
}
