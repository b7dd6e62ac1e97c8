// The print emulation: the session's nesting and last error, records made,
// validated and converted from stored bytes, damaged records refused,
// printers, destinations and dialogs, and whole jobs printed headless to
// PDF and PNG.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/files/WholeFile.h"
#include "platform/imports/PngCodec.h"
#include "platform/pictures/PictPixels.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "tests/platform/files/TempFolder.h"
#include "toolbox/drawing/PrintEmulation.h"
#include "toolbox/drawing/PrintInternal.h"

using namespace platform;
using platform::testing::TempFolder;

namespace {

class Printing : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetPrintEmulation();
        ClearFileDialogAnswers();
    }
    void TearDown() override
    {
        ResetPrintEmulation();
        ClearFileDialogAnswers();
        ResetResourceManager();
    }
};

MyPrintRecord Fields(THPrint record)
{
    MyPrintRecord f;
    EXPECT_TRUE(GetPrintRecordFields(record, &f));
    return f;
}

void Answer(const char* text)
{
    FileDialogAnswer answer;
    ASSERT_TRUE(ParseFileDialogAnswer(text, &answer));
    PushFileDialogAnswer(answer);
}

// A stored record as the old print manager kept it: made from settings
// with three copies, landscape.
std::vector<uint8_t> StoredRecord(int16_t version)
{
    PMPrintSession session = nullptr;
    PMPrintSettings settings = nullptr;
    PMPageFormat format = nullptr;
    PMCreateSession(&session);
    PMCreatePrintSettings(&settings);
    PMCreatePageFormat(&format);
    PMSessionDefaultPrintSettings(session, settings);
    PMSessionDefaultPageFormat(session, format);
    PMSetCopies(settings, 3, false);
    PMSetOrientation(format, kPMLandscape, false);
    Handle made = nullptr;
    EXPECT_EQ(PMSessionMakeOldPrintRecord(session, settings, format, &made), kPMNoError);
    std::vector<uint8_t> bytes(reinterpret_cast<uint8_t*>(*made), reinterpret_cast<uint8_t*>(*made) + 120);
    DisposeHandle(made);
    PMRelease(settings);
    PMRelease(format);
    PMRelease(session);
    WriteBE16(bytes.data(), uint16_t(version));
    for (size_t i = 82; i < 120; ++i) bytes[i] = uint8_t(0x80 | i);
    return bytes;
}

THPrint HandleWith(const std::vector<uint8_t>& bytes)
{
    Handle h = nullptr;
    EXPECT_EQ(PtrToHand(bytes.data(), &h, Size(bytes.size())), noErr);
    return h;
}

TEST_F(Printing, TheSessionLivesUntilTheLastCloseAndKeepsItsLastError)
{
    EXPECT_EQ(GetPrintSession(), nullptr);
    PrOpen();
    PrOpen();
    PMPrintSession session = GetPrintSession();
    ASSERT_NE(session, nullptr);
    PrClose();
    EXPECT_EQ(GetPrintSession(), session);
    PrSetError(-30871);
    EXPECT_EQ(PrError(), -30871);

    MyPrintContextRecord context{};
    PrClose();
    EXPECT_EQ(GetPrintSession(), nullptr);
    EXPECT_EQ(GetPrintContextPort(&context), nullptr);
    EXPECT_EQ(PrError(), -30871) << "readable after the session ended";
    PrClose();  // one too many changes nothing
    EXPECT_EQ(GetPrintSession(), nullptr);

    // Null records and contexts: -50, with or without a session.
    for (int withSession = 0; withSession < 2; ++withSession) {
        if (withSession) PrOpen();
        PrSetError(0);
        EXPECT_FALSE(PrintDefault(nullptr));
        EXPECT_EQ(PrError(), -50);
        PrSetError(0);
        EXPECT_EQ(PrValidate(nullptr), 0);
        EXPECT_EQ(PrError(), -50);
        PrSetError(0);
        EXPECT_EQ(PrOpenDoc(nullptr, nullptr, nullptr), nullptr);
        EXPECT_EQ(PrError(), -50);
        for (auto call : {PrClosePage, PrCloseDoc}) {
            PrSetError(0);
            call(nullptr);
            EXPECT_EQ(PrError(), -50);
        }
        PrSetError(0);
        PrOpenPage(nullptr, nullptr);
        EXPECT_EQ(PrError(), -50);
        PrSetError(0);
        EXPECT_EQ(GetPrintContextPort(nullptr), nullptr);
        EXPECT_EQ(PrError(), -50);
        EXPECT_EQ(SetTargetPrinter(nullptr, "PDF"), -50);
        EXPECT_FALSE(PrJobDialog(nullptr));
        EXPECT_FALSE(PrStlDialog(nullptr));
    }
    EXPECT_EQ(GetMacPrintingFormat(), 0);
}

TEST_F(Printing, RecordsAreValidatedOnceAndGiveWholePageRectangles)
{
    PrOpen();
    THPrint record = NewPrintRecord();
    ASSERT_NE(record, nullptr);
    MyPrintRecord fresh = Fields(record);
    EXPECT_TRUE(fresh.changed);
    EXPECT_FALSE(fresh.hasPlatformData);
    EXPECT_EQ(fresh.reserved2, 1);
    EXPECT_EQ(fresh.destinationKind, kPrintDestinationPrinter);
    EXPECT_EQ(fresh.settings, nullptr);

    EXPECT_EQ(PrValidate(record), 1);
    EXPECT_EQ(PrValidate(record), 0);
    MyPrintRecord f = Fields(record);
    EXPECT_TRUE(f.hasPlatformData);
    ASSERT_NE(f.settings, nullptr);
    ASSERT_NE(f.pageFormat, nullptr);
    EXPECT_NE(f.oldRecord, nullptr);
    EXPECT_FALSE(PrintDefault(record)) << "nothing left to make";

    Rect page;
    GetPrintRecordPageRect(record, &page);
    EXPECT_EQ(page.top, 0);
    EXPECT_EQ(page.left, 0);
    EXPECT_EQ(page.bottom, 756);
    EXPECT_EQ(page.right, 576);
    // At 70 %: 576 / 0.7 = 822.86, truncated.
    ASSERT_EQ(PMSetScale(f.pageFormat, 70.0), kPMNoError);
    GetPrintRecordPageRect(record, &page);
    EXPECT_EQ(page.bottom, 1080);
    EXPECT_EQ(page.right, 822);
    // Each edge toward zero, also the negative ones.
    Rect r = TruncatePageRect(PMRect{-18.5, -18.5, 774.9, 593.9});
    EXPECT_EQ(r.top, -18);
    EXPECT_EQ(r.left, -18);
    EXPECT_EQ(r.bottom, 774);
    EXPECT_EQ(r.right, 593);
    r = TruncatePageRect(PMRect{-1e9, 0.0 / 0.0, 1e9, 40000.2});
    EXPECT_EQ(r.top, -32768);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.bottom, 32767);
    EXPECT_EQ(r.right, 32767);
    PrSetError(0);
    GetPrintRecordPageRect(nullptr, &page);
    EXPECT_EQ(page.bottom, 0);
    EXPECT_EQ(PrError(), -50);

    // Settings and page format made by default need no correction after.
    THPrint other = NewPrintRecord();
    EXPECT_TRUE(PrintDefault(other));
    EXPECT_EQ(PrValidate(other), 0);
    DisposePrintRecord(other);

    // Made fresh again, the record lets go of what it held (LeakSanitizer).
    InitPrintRecord(record);
    EXPECT_EQ(Fields(record).settings, nullptr);
    EXPECT_EQ(PrValidate(record), 1);
    DisposePrintRecord(record);
    EXPECT_EQ(record, nullptr);
    PrClose();
}

// Every field comes back as it was written, and every handle a record
// holds goes with it.
TEST_F(Printing, FieldsComeBackWholeAndTheirHandlesGoWithTheRecord)
{
    const size_t handles = LiveHandleCount();
    THPrint record = NewPrintRecord();
    MyPrintRecord f = Fields(record);
    f.reserved1 = 0x1234;
    f.reserved2 = 0x56;
    f.reserved3 = 0x78;
    f.customPrinter = true;
    f.customDestination = true;
    f.destinationKind = kPrintDestinationFax;
    f.spare = NewHandle(4);
    f.oldRecord = NewHandle(8);
    print_emulation::Store(record, f);
    const MyPrintRecord back = Fields(record);
    EXPECT_EQ(back.reserved1, 0x1234);
    EXPECT_EQ(back.reserved2, 0x56);
    EXPECT_EQ(back.reserved3, 0x78);
    EXPECT_TRUE(back.customPrinter);
    EXPECT_TRUE(back.customDestination);
    EXPECT_EQ(back.destinationKind, kPrintDestinationFax);
    ASSERT_NE(back.spare, nullptr);
    EXPECT_EQ(GetHandleSize(back.spare), 4);
    ASSERT_NE(back.oldRecord, nullptr);
    EXPECT_EQ(GetHandleSize(back.oldRecord), 8);
    DisposePrintRecord(record);
    EXPECT_EQ(LiveHandleCount(), handles);
}

// A stored record placed in a record handle is converted on first use;
// records from version 1024 on lose their extension words first.
TEST_F(Printing, StoredRecordsAreConvertedOnFirstUse)
{
    PrOpen();
    for (int16_t version : {int16_t(0x0400), int16_t(0x0103)}) {
        const std::vector<uint8_t> stored = StoredRecord(version);
        THPrint record = NewPrintRecord();
        ASSERT_NE(record, nullptr);
        std::memcpy(*record, stored.data(), 120);
        EXPECT_FALSE(GetPrintRecordFields(record, nullptr));
        PrValidate(record);

        MyPrintRecord f = Fields(record);
        EXPECT_EQ(f.oldRecordMarker, 0);
        EXPECT_TRUE(f.hasPlatformData);
        ASSERT_NE(f.oldRecord, nullptr);
        const auto* kept = reinterpret_cast<const uint8_t*>(*f.oldRecord);
        EXPECT_EQ(std::memcmp(kept, stored.data(), 82), 0);
        int32_t cleared = 0;
        for (int i = 82; i < 120; ++i) cleared += kept[i] == 0;
        EXPECT_EQ(cleared, version >= 1024 ? 38 : 0) << "version " << version;
        uint32_t copies = 0;
        PMGetCopies(f.settings, &copies);
        EXPECT_EQ(copies, 3u);
        PMOrientation orientation = 0;
        PMGetOrientation(f.pageFormat, &orientation);
        EXPECT_EQ(orientation, kPMLandscape);
        DisposePrintRecord(record);
    }
    PrClose();
}

// A damaged stored record shorter than a record is refused untouched, and
// bytes this code never wrote are never taken for its objects: a stored
// record whose first byte is 0, a zeroed handle, or one disposed
// unconverted.
TEST_F(Printing, ShortOrForeignRecordBytesAreNeverReadAsObjects)
{
    PrOpen();
    std::vector<uint8_t> damaged = StoredRecord(0x0400);
    damaged.resize(60);
    THPrint shortRecord = HandleWith(damaged);
    auto unchanged = [&] {
        return GetHandleSize(shortRecord) == 60 && std::memcmp(*shortRecord, damaged.data(), 60) == 0;
    };
    PrSetError(0);
    EXPECT_EQ(PrValidate(shortRecord), 0);
    EXPECT_EQ(PrError(), -50);
    EXPECT_TRUE(unchanged());
    for (auto call : {+[](THPrint r) { PrintDefault(r); }, +[](THPrint r) { PrStlDialog(r); },
                      +[](THPrint r) { PrJobDialog(r); }, +[](THPrint r) { InitPrintRecord(r); },
                      +[](THPrint r) { SetPrintRecordDestination(r, 3, "/tmp/x.pdf"); }}) {
        PrSetError(0);
        call(shortRecord);
        EXPECT_EQ(PrError(), -50);
        EXPECT_TRUE(unchanged());
    }
    PrSetError(0);
    EXPECT_EQ(SetTargetPrinter(shortRecord, "PDF"), -50);
    EXPECT_EQ(PrOpenDoc(shortRecord, nullptr, nullptr), nullptr);
    EXPECT_EQ(PrError(), -50);
    Rect page{1, 1, 1, 1};
    GetPrintRecordPageRect(shortRecord, &page);
    EXPECT_EQ(page.bottom, 0);
    EXPECT_TRUE(unchanged());
    DisposePrintRecord(shortRecord);

    // Version 3 starts with a 0 byte, as a record of ours does.
    std::vector<uint8_t> v3 = StoredRecord(3);
    THPrint foreign = HandleWith(v3);
    EXPECT_FALSE(GetPrintRecordFields(foreign, nullptr));
    EXPECT_EQ(PrValidate(foreign), 0);
    MyPrintRecord f = Fields(foreign);
    uint32_t copies = 0;
    PMGetCopies(f.settings, &copies);
    EXPECT_EQ(copies, 3u);
    DisposePrintRecord(foreign);

    THPrint zeroed = NewHandleClear(120);
    Rect zeroPage;
    GetPrintRecordPageRect(zeroed, &zeroPage);
    EXPECT_EQ(zeroPage.bottom, 756);
    DisposePrintRecord(zeroed);

    THPrint unconverted = HandleWith(StoredRecord(0x0400));
    DisposePrintRecord(unconverted);
    EXPECT_EQ(unconverted, nullptr);

    // A record of ours overwritten with stored bytes is converted again,
    // and what it held is not taken from the new bytes.
    for (const std::vector<uint8_t>& bytes : {v3, StoredRecord(0x0400)}) {
        THPrint reused = NewPrintRecord();
        PrValidate(reused);
        std::memcpy(*reused, bytes.data(), 120);
        EXPECT_EQ(PrValidate(reused), 0);
        EXPECT_TRUE(GetPrintRecordFields(reused, nullptr));
        DisposePrintRecord(reused);
    }
    PrClose();
}

TEST_F(Printing, PrintersTheSessionRefusesAreNotKept)
{
    PrOpen();
    THPrint record = NewPrintRecord();
    EXPECT_EQ(SetTargetPrinter(record, "Laser in the hall"), -50);
    MyPrintRecord f = Fields(record);
    EXPECT_FALSE(f.customPrinter);
    EXPECT_EQ(f.printerID, nullptr);
    EXPECT_EQ(SetTargetPrinter(record, nullptr), -50);

    EXPECT_EQ(SetTargetPrinter(record, kPMPDFPrinterID), 0);
    f = Fields(record);
    EXPECT_TRUE(f.customPrinter);
    ASSERT_NE(f.printerID, nullptr);
    EXPECT_STREQ(f.printerID, kPMPDFPrinterID);
    EXPECT_NE(f.printer, nullptr);
    EXPECT_NE(GetPrintSession(), nullptr) << "the caller's session stays";
    DisposePrintRecord(record);
    PrClose();

    // Without a session of the caller's, one is made for the call alone.
    record = NewPrintRecord();
    EXPECT_EQ(SetTargetPrinter(record, kPMPDFPrinterID), 0);
    EXPECT_EQ(GetPrintSession(), nullptr);
    DisposePrintRecord(record);
}

// The dialogs run in the session's resource file and leave the caller's
// current, accepted or cancelled, with or without a sheet.
TEST_F(Printing, DialogsRestoreTheResourceFileAndTakeTheChosenDestination)
{
    TempFolder dir;
    ResetResourceManager();
    auto open = [&](const std::string& name) {
        ResourceFileImage image;
        std::vector<uint8_t> bytes;
        BuildResourceFile(image, &bytes);
        WriteFileAtomically(dir / name, bytes.data(), bytes.size());
        return OpenResFile(dir / name, fsRdPerm, ResFileFork::Data);
    };
    const int16_t app = open("app.rsrc");
    const int16_t doc = open("doc.rsrc");
    ASSERT_NE(app, -1);
    ASSERT_NE(doc, -1);
    UseResFile(app);
    PrOpen();
    UseResFile(doc);
    THPrint record = NewPrintRecord();
    int sheetOwner = 0;
    for (int asSheet = 0; asSheet < 2; ++asSheet) {
        SetPrintRecordSheetWindow(record, asSheet ? reinterpret_cast<WindowRecord*>(&sheetOwner) : nullptr);
        Answer("choose");
        EXPECT_TRUE(PrStlDialog(record));
        EXPECT_EQ(CurResFile(), doc);
        Answer("cancel");
        EXPECT_FALSE(PrStlDialog(record));
        EXPECT_EQ(CurResFile(), doc);
        Answer("cancel");
        EXPECT_FALSE(PrJobDialog(record));
        EXPECT_EQ(CurResFile(), doc);
        const std::string pdf = dir / ("chosen" + std::to_string(asSheet) + ".pdf");
        Answer(("" + pdf).c_str());
        EXPECT_TRUE(PrJobDialog(record));
        EXPECT_EQ(CurResFile(), doc);

        MyPrintRecord f = Fields(record);
        EXPECT_EQ(f.destinationKind, kPrintDestinationPDF);
        ASSERT_NE(f.destinationPath, nullptr);
        EXPECT_EQ(std::string(f.destinationPath), pdf);
        EXPECT_FALSE(f.customDestination);
        EXPECT_TRUE(f.customPrinter);
        ASSERT_NE(f.printerID, nullptr);
        EXPECT_STREQ(f.printerID, kPMPDFPrinterID);
    }
    // With nothing to answer them (no run going on), the dialogs cancel.
    EXPECT_FALSE(PrJobDialog(record));
    DisposePrintRecord(record);
    PrClose();
}

// Only an accepted page setup takes the session's printer into the
// record; a cancelled one leaves it without one.
TEST_F(Printing, OnlyAnAcceptedPageSetupTakesThePrinter)
{
    PrOpen();
    struct Case {
        const char* answer;
        bool accepted;
    };
    for (const Case& c : {Case{"cancel", false}, Case{"choose", true}}) {
        THPrint record = NewPrintRecord();
        Answer(c.answer);
        EXPECT_EQ(PrStlDialog(record), c.accepted) << c.answer;
        MyPrintRecord f = Fields(record);
        EXPECT_EQ(f.printerID != nullptr, c.accepted) << c.answer;
        DisposePrintRecord(record);
    }
    PrClose();
}

// A missing file named as the destination is made, even when the session
// then refuses the destination (no document begins).
TEST_F(Printing, AMissingDestinationFileIsMade)
{
    TempFolder dir;
    PrOpen();
    THPrint record = NewPrintRecord();
    const std::string ps = dir / "new.ps";
    SetPrintRecordDestination(record, kPrintDestinationPostScript, ps.c_str());
    EXPECT_EQ(PrOpenDoc(record, nullptr, nullptr), nullptr);
    EXPECT_EQ(PrError(), -50);
    ASSERT_TRUE(std::filesystem::exists(ps));
    EXPECT_EQ(std::filesystem::file_size(ps), 0u);
    DisposePrintRecord(record);
    PrClose();
}

// Pixels of a page image.
struct PageImage {
    PictPixels pixels;
    bool ok = false;
    explicit PageImage(const std::string& path)
    {
        std::vector<uint8_t> png;
        ok = ReadWholeFile(path, &png) == noErr && DecodePng(png.data(), png.size(), &pixels) == ImageReadResult::Ok;
    }
};

std::string Output(const std::string& command)
{
    std::string out;
    if (FILE* p = ::popen((command + " 2>/dev/null").c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

// Two pages, each with a rectangle painted through the context's port.
void PrintTwoPages(THPrint record)
{
    MyPrintContextRecord* context = PrOpenDoc(record, nullptr, nullptr);
    ASSERT_NE(context, nullptr);
    ASSERT_EQ(PrError(), 0);
    for (int n = 0; n < 2; ++n) {
        EXPECT_EQ(GetPrintContextPort(context), nullptr) << "no page open yet";
        PrOpenPage(context, nullptr);
        ASSERT_EQ(PrError(), 0);
        CGrafPtr port = GetPrintContextPort(context);
        ASSERT_NE(port, nullptr);
        GrafPtr saved;
        GetPort(&saved);
        SetPort(port);
        Rect r{int16_t(20 + 100 * n), 30, int16_t(60 + 100 * n), 130};
        PaintRect(&r);
        SetPort(saved);
        PrClosePage(context);
        EXPECT_EQ(PrError(), 0);
    }
    PrCloseDoc(context);  // frees the context: LeakSanitizer watches
}

TEST_F(Printing, JobsPrintHeadlessToPdfAndPng)
{
    TempFolder dir;
    PrOpen();
    THPrint record = NewPrintRecord();
    PrintDefault(record);
    const std::string pdf = dir / "list.pdf";
    SetPrintRecordDestination(record, kPrintDestinationPDF, pdf.c_str());
    ASSERT_EQ(PMSessionSetPageImages(GetPrintSession(), dir / "page-", 144), kPMNoError);
    PrintTwoPages(record);
    EXPECT_EQ(PrError(), 0);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    if (std::system("which pdfinfo >/dev/null 2>&1") == 0) {
        const std::string info = Output("pdfinfo '" + pdf + "'");
        EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    }
    // Page 2's rectangle (120, 30)-(160, 130) in points, at 144 dpi.
    PageImage page2(dir / "page-2.png");
    ASSERT_TRUE(page2.ok);
    EXPECT_EQ(page2.pixels.width(), 576 * 2);
    auto black = [&](int32_t h, int32_t v) { return (page2.pixels.RGBAt(h, v) & 0xFFFFFF) == 0; };
    EXPECT_TRUE(black(60, 240));
    EXPECT_TRUE(black(259, 319));
    EXPECT_FALSE(black(59, 240));
    EXPECT_FALSE(black(60, 239));
    EXPECT_FALSE(black(260, 319));
    EXPECT_FALSE(black(259, 320));
    EXPECT_FALSE(black(100, 60)) << "page 1's rectangle is not on page 2";

    // A record with a sheet window prints at once after its dialog.
    int window = 0;
    SetPrintRecordSheetWindow(record, reinterpret_cast<WindowRecord*>(&window));
    const std::string again = dir / "again.pdf";
    Answer(again.c_str());
    ASSERT_TRUE(PrJobDialog(record));
    PrintTwoPages(record);
    EXPECT_TRUE(std::filesystem::exists(again));
    DisposePrintRecord(record);
    PrClose();
}

// A destination the session does not offer leaves its error and no
// document: nothing goes to the printer instead, and a file already at the
// path keeps its bytes.
TEST_F(Printing, ARefusedDestinationKeepsItsErrorAndTheFileThere)
{
    TempFolder dir;
    PrOpen();
    THPrint record = NewPrintRecord();
    const std::string ps = dir / "old.ps";
    const std::vector<uint8_t> old = {'%', '!', 'P', 'S'};
    WriteFileAtomically(ps, old.data(), old.size());
    SetPrintRecordDestination(record, kPrintDestinationPostScript, ps.c_str());
    EXPECT_EQ(PrOpenDoc(record, nullptr, nullptr), nullptr);
    EXPECT_EQ(PrError(), -50);
    std::vector<uint8_t> after;
    ASSERT_EQ(ReadWholeFile(ps, &after), noErr);
    EXPECT_EQ(after, old);
    EXPECT_EQ(PMSessionLastDocumentPath(GetPrintSession()), "");
    DisposePrintRecord(record);
    PrClose();
}

}  // namespace
