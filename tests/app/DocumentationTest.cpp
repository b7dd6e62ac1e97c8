// A structure's general documentation: stored, read back, old bodies kept,
// printed on pages with their furniture, and the export header.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/appl/Utilities.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/documents/Documentation.h"
#include "platform/core/Faults.h"
#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/files/Forks.h"
#include "platform/files/WholeFile.h"
#include "platform/imports/PngCodec.h"
#include "platform/pictures/PictPixels.h"
#include "platform/text/IntlSettings.h"
#include "toolbox/drawing/PrintEmulation.h"
#include "tests/app/MainDocFixture.h"

using namespace apptest;
using namespace platform;

namespace {

class DocumentationTest : public MainDocFixture {
protected:
    void SetUp() override
    {
        MainDocFixture::SetUp();
        spec_ = MakeDocFile("Doc.QzB");
        ASSERT_EQ(appl_->OpenNamedDoc(spec_, 0), 0);
        doc_ = FrontDoc();
        const Rect r{0, 0, 200, 300};
        te_ = TENew(&r, &r);
    }
    void TearDown() override
    {
        TEDispose(te_);
        MainDocFixture::TearDown();
    }
    std::string Text() const { return std::string(*(**te_).hText, size_t((**te_).teLength)); }
    std::vector<uint8_t> Stored()
    {
        useres(doc_->fResFile);
        Handle h = xget1res(FourCC("QzHE"), 0);
        return h ? std::vector<uint8_t>(*h, *h + GetHandleSize(h)) : std::vector<uint8_t>();
    }

    FSSpec spec_;
    TMainDoc* doc_ = nullptr;
    TEHandle te_ = nullptr;
};

TEST_F(DocumentationTest, WrittenTextIsCommittedAndReadsBack)
{
    int16_t state = 7;
    bool fresh = false;
    EXPECT_EQ(doc_->ReadDoc(te_, &state, &fresh), 0);
    EXPECT_TRUE(fresh);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(Text(), "");

    TESetText("General notes", 13, te_);
    EXPECT_EQ(doc_->WriteDoc(te_), 0);
    const std::vector<uint8_t> stored = Stored();
    ASSERT_GE(stored.size(), 4u);
    EXPECT_EQ(std::vector<uint8_t>(stored.begin(), stored.begin() + 4), (std::vector<uint8_t>{0, 1, 0, 0}));
    // Committed: a second look at the file from outside the document sees it.
    const int16_t again = openres(spec_, true);
    ASSERT_NE(again, 0);
    ASSERT_NE(xget1res(FourCC("QzHE"), 0), nullptr);
    closeres(again, false);

    TESetText("", 0, te_);
    state = 1;
    EXPECT_EQ(doc_->ReadDoc(te_, &state, &fresh), 0);
    EXPECT_FALSE(fresh);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(Text(), "General notes");
    state = 9;
    doc_->ReadDoc(te_, &state, &fresh);
    EXPECT_EQ(state, 0);

    // Writing again replaces the body in place.
    TESetText("Shorter", 7, te_);
    EXPECT_EQ(doc_->WriteDoc(te_), 0);
    doc_->ReadDoc(te_, &state, &fresh);
    EXPECT_EQ(Text(), "Shorter");
}

TEST_F(DocumentationTest, AnOldLayoutBodyReadsEmptyAndIsKept)
{
    useres(doc_->fResFile);
    const std::vector<uint8_t> old = {0, 0, 0, 0, 0, 0, 0, 3, 'o', 'l', 'd', 0};
    Handle h = nullptr;
    PtrToHand(old.data(), &h, Size(old.size()));
    ASSERT_TRUE(xaddres(h, FourCC("QzHE"), 0));
    TESetText("x", 1, te_);
    int16_t state = 0;
    bool fresh = false;
    EXPECT_EQ(doc_->ReadDoc(te_, &state, &fresh), 0);
    EXPECT_EQ(Text(), "");
    EXPECT_TRUE(fresh);
    EXPECT_EQ(Stored(), old);
}

TEST_F(DocumentationTest, TheStoredBodyIsReadOnlyAsFarAsItGoes)
{
    std::string text;
    const std::vector<uint8_t> good = {0, 1, 0, 0, 0, 0, 0, 2, 'h', 'i', 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(ReadPlainDocBody(good.data(), good.size(), &text));
    EXPECT_EQ(text, "hi");
    const std::vector<uint8_t> lying = {0, 1, 0, 0, 0x7F, 0xFF, 0xFF, 0xFF, 'h', 'i'};
    EXPECT_FALSE(ReadPlainDocBody(lying.data(), lying.size(), &text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(ReadPlainDocBody(good.data(), 7, &text));
    Handle made = MakePlainDocBody("odd");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(GetHandleSize(made), 4 + 4 + 4 + 8);
    EXPECT_TRUE(ReadPlainDocBody(reinterpret_cast<uint8_t*>(*made), size_t(GetHandleSize(made)), &text));
    EXPECT_EQ(text, "odd");
    DisposeHandle(made);
}

std::string WrittenBy(const std::function<void(int16_t)>& write, const std::string& path)
{
    FSSpec fileSpec{path};
    FSpCreate(fileSpec, FourCC("QzA6"), FourCC("TEXT"));
    int16_t ref = 0;
    if (FSpOpenDF(fileSpec, fsRdWrPerm, &ref) != noErr) return "(not opened)";
    write(ref);
    FSClose(ref);
    std::vector<uint8_t> bytes;
    ReadWholeFile(path, &bytes);
    return std::string(bytes.begin(), bytes.end());
}

TEST_F(DocumentationTest, TheExportHeaderHasTheVersionTheNameAndTheClock)
{
    VirtualClock clock(0, VirtualClock::kDefaultSeconds + 14 * 3600 + 7 * 60);
    SetClock(&clock);
    const std::string date = DateText(1, 1, 2000, shortDate);
    EXPECT_EQ(WrittenBy([&](int16_t ref) { EXPECT_EQ(doc_->SaveHeader(ref, true), 0); }, folder_ / "raw.txt"),
              "App2.1 \nDoc.QzB\t14:07\t" + date + "\n");
    // Through the export writer: the same lines, each ended by it.
    EXPECT_EQ(WrittenBy([&](int16_t ref) { EXPECT_EQ(doc_->SaveHeader(ref, false), 0); }, folder_ / "eol.txt"),
              "App2.1 \nDoc.QzB\t14:07\t" + date + "\n");
    SetClock(nullptr);

    // The documentation itself between two ends of line.
    TESetText("Notes", 5, te_);
    EXPECT_EQ(TEGetNbLines(te_), 1);
    EXPECT_EQ(TEGetNbLines(nullptr), 0);
    ASSERT_EQ(doc_->WriteDoc(te_), 0);
    EXPECT_EQ(WrittenBy([&](int16_t ref) { EXPECT_EQ(doc_->SaveDoc(ref), 0); }, folder_ / "doc.txt"), "\nNotes\n");
}

// Gathered writes: a block that failed answers every later write and the flush.
TEST_F(DocumentationTest, AFailedGatheredBlockAnswersEveryLaterWrite)
{
    const auto write = [](int16_t ref) {
        GatheredWrites gather(ref);
        const std::string block(64 * 1024 - 1, 'x');
        int32_t n = int32_t(block.size());
        EXPECT_EQ(MyFSWrite(ref, &n, block.data()), noErr);
        {
            ScopedFault full(FaultKind::DiskFull, 0, -1);
            n = 1;
            EXPECT_EQ(MyFSWrite(ref, &n, "y"), dskFulErr);
        }
        n = 1;
        EXPECT_EQ(MyFSWrite(ref, &n, "z"), dskFulErr) << "the failure stands";
        EXPECT_EQ(gather.Flush(), dskFulErr);
    };
    EXPECT_EQ(WrittenBy(write, folder_ / "full.txt"), "");
}

struct PageImage {
    PictPixels pixels;
    bool ok = false;
    explicit PageImage(const std::string& path)
    {
        std::vector<uint8_t> png;
        ok = ReadWholeFile(path, &png) == noErr && DecodePng(png.data(), png.size(), &pixels) == ImageReadResult::Ok;
    }
    bool Black(int32_t h, int32_t v) const { return (pixels.RGBAt(h, v) & 0xFFFFFF) == 0; }
    // Whether any pixel of the columns [h1, h2) in rows [v1, v2) is inked.
    bool AnyInk(int32_t h1, int32_t h2, int32_t v1, int32_t v2) const
    {
        for (int32_t v = v1; v < v2; ++v)
            for (int32_t h = h1; h < h2; ++h)
                if ((pixels.RGBAt(h, v) & 0xFFFFFF) != 0xFFFFFF) return true;
        return false;
    }
};

// Prints the header, the general documentation and the footer, the pages
// also as 72-dpi images `prefix`N.png; answers where the text starts.
int16_t PrintDocumentation(TMainDoc* doc, const std::string& folder, const std::string& prefix)
{
    PrOpen();
    THPrint record = NewPrintRecord();
    PrintDefault(record);
    const std::string pdf = folder + "/" + prefix + ".pdf";
    SetPrintRecordDestination(record, kPrintDestinationPDF, pdf.c_str());
    EXPECT_EQ(PMSessionSetPageImages(GetPrintSession(), folder + "/" + prefix, 72), kPMNoError);
    P_Context = PrOpenDoc(record, nullptr, nullptr);
    EXPECT_NE(P_Context, nullptr);
    PrOpenPage(P_Context, nullptr);
    CGrafPtr port = GetPrintContextPort(P_Context);
    EXPECT_NE(port, nullptr);
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(port);
    GetPortBounds(port, &P_PageRect);
    P_NoPage = 1;
    doc->PrintHeader();
    const int16_t textTop = P_CrtHeight;
    EXPECT_EQ(doc->PrintDoc(), 0);
    doc->PrintFooter();
    PrClosePage(P_Context);
    PrCloseDoc(P_Context);
    P_Context = nullptr;
    SetPort(saved);
    DisposePrintRecord(record);
    PrClose();
    return textTop;
}

TEST_F(DocumentationTest, PrintingSetsTheTextBesideItsRuleAndTurnsPages)
{
    std::string text;
    for (int i = 1; i <= 120; ++i) text += "Line of the general documentation number " + std::to_string(i) + "\r";
    TESetText(text.data(), int32_t(text.size()), te_);
    ASSERT_EQ(doc_->WriteDoc(te_), 0);
    const int16_t textTop = PrintDocumentation(doc_, folder_.path(), "page-");
    EXPECT_GE(P_NoPage, 2);

    PageImage page(folder_ / "page-1.png");
    ASSERT_TRUE(page.ok);
    const Rect& r = P_PageRect;
    auto col = [&](int h) { return int32_t(h - r.left); };
    auto row = [&](int v) { return int32_t(v - r.top); };
    const int32_t mid = row((textTop + r.bottom - 30) / 2);
    // The rule, one pixel wide, 50 to the right of the page's left edge.
    EXPECT_TRUE(page.Black(col(r.left + 50), mid));
    EXPECT_FALSE(page.Black(col(r.left + 49), mid));
    EXPECT_FALSE(page.Black(col(r.left + 51), mid));
    // Nothing between the rule and the text's left edge at left + 60.
    EXPECT_FALSE(page.AnyInk(col(r.left + 51), col(r.left + 60), row(textTop), row(r.bottom - 60)));
    // The header's line 10 below its one-line box, the footer's 10 above
    // its box at the page bottom less a line less 10: both across the page.
    EXPECT_TRUE(page.Black(col(r.right - 5), row(textTop - 10)));
    EXPECT_TRUE(page.Black(col(r.left + 5), row(textTop - 10)));
    // The header's box is one line high and the text starts 20 below it:
    // the footer's line lies 20 above the page bottom less a line, level
    // from edge to edge and one pixel thick.
    const int footer = r.bottom - (textTop - r.top - 20) - 20;
    for (int h : {r.left + 5, (r.left + r.right) / 2, r.right - 5}) {
        EXPECT_TRUE(page.Black(col(h), row(footer))) << h;
        EXPECT_FALSE(page.Black(col(h), row(footer - 1))) << h;
        EXPECT_FALSE(page.Black(col(h), row(footer + 1))) << h;
    }
    // The page turned above bottom - 30: the rule stops there.
    EXPECT_FALSE(page.Black(col(r.left + 50), row(r.bottom - 29)));
    EXPECT_TRUE(page.Black(col(r.left + 50), row(r.bottom - 60)));
    PageImage second(folder_ / "page-2.png");
    ASSERT_TRUE(second.ok);
    EXPECT_TRUE(second.Black(col(r.left + 50), mid));
}

// An empty documentation prints nothing: no rule stands alone between the
// header's line and the footer's.
TEST_F(DocumentationTest, AnEmptyDocumentationLeavesThePageBlank)
{
    TESetText("", 0, te_);
    ASSERT_EQ(doc_->WriteDoc(te_), 0);
    const int16_t textTop = PrintDocumentation(doc_, folder_.path(), "empty-");
    EXPECT_EQ(P_NoPage, 1);
    PageImage page(folder_ / "empty-1.png");
    ASSERT_TRUE(page.ok);
    const Rect& r = P_PageRect;
    const int footer = r.bottom - (textTop - r.top - 20) - 20;
    EXPECT_FALSE(page.AnyInk(0, r.right - r.left, textTop - 10 + 1 - r.top, footer - r.top));
}

}  // namespace
