// The object list printed and exported from the main list: the output
// dialog's options, an export that takes the destination's place only
// whole, and a printing failure reported as itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "app/appl/TAppl.h"
#include "app/appl/Utilities.h"
#include "app/documents/Documentation.h"
#include "app/dialogs/Messages.h"
#include "kernel/startup/KernelGlobals.h"
#include "transfer/InstallTransfer.h"
#include "browser/output/ListOutput.h"
#include "design/objects/DesignGlobals.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "platform/events/DialogAnswers.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/files/Forks.h"
#include "platform/windows/Windows.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/files/WholeFile.h"
#include "platform/text/Utf8.h"
#include "toolbox/drawing/PrintEmulation.h"
#include "design/forms/FormPrinting.h"
#include "forms/drawing/FormPreview.h"
#include "forms/model/LayoutEditor.h"
#include "design/preview/PreviewFrame.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/pictures/Pictures.h"
#include "tests/design/PrintedPages.h"
#include "tests/browser/EditorFixture.h"
#include "tests/browser/ScreenText.h"
#include "design/objects/OutputSupport.h"
#include "tests/platform/files/LockedFolder.h"

using namespace platform;

namespace browsertest {
namespace {

constexpr const char* kStructure =
    "structure Out date 2024-03-01\n"
    "method Alpha\n  comment \"a\"\n  doc \"About alpha.\"\n"
    "method Beta\n  call Alpha\n"
    "method Gamma\n  call Alpha\n";

// An object whose printing fails as a printer would.
class FailingPrint : public TObjQz {
public:
    int16_t Print(OutPutParmRec*) override
    {
        PrSetError(-27);
        return 0;
    }
};

// An object that keeps whether its row was closed when it was printed.
class RecordingPrint : public TObjQz {
public:
    std::vector<int>* seen = nullptr;
    int16_t Print(OutPutParmRec* parms) override
    {
        seen->push_back(parms->rowClosed);
        return 0;
    }
};

// An object that prints lines, or fails (with `failure`) before any, as
// its export does; its export then adds `bulk` bytes.
class PageFilling : public TObjQz {
public:
    int16_t failure = 0;
    int lines = 30;
    int32_t bulk = 0;
    int16_t Print(OutPutParmRec*) override
    {
        for (int line = 0; !failure && line < lines; ++line)
            PrintNewLine(reinterpret_cast<const unsigned char*>("\x04line"), 0);
        return failure;
    }
    int16_t Save(int16_t file, OutPutParmRec* options) override
    {
        if (failure) return failure;
        int16_t err = TObjQz::Save(file, options);
        const std::string bytes(size_t(bulk), 'x');
        int32_t n = bulk;
        if (!err && n) err = MyFSWrite(file, &n, bytes.data());
        return err;
    }
    int16_t SaveOldFormat(int16_t file) override { return failure ? failure : TObjQz::SaveOldFormat(file); }
};

// An object that cancels the export's wait dialog as it is written.
class CancellingRow : public TObjQz {
public:
    int16_t Save(int16_t file, OutPutParmRec* options) override
    {
        const int16_t err = TObjQz::Save(file, options);
        if (G_WaitParam) G_WaitParam->cancelled = 1;
        return err;
    }
};

class ListOutput : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        browser::G_Parms = OutPutParmRec{1, 0, 0, 0, 0, 0};
        Load(Description());
        Prepare();
        window_ = new TRefWindow;
        EXPECT_EQ(window_->ITWindow(reinterpret_cast<const unsigned char*>("\x03" "Out"), Rect{40, 10, 373, 611},
                                    true, 0, &doc_, 8),
                  0);
        doc_.AddWindow(window_);
        pane_ = new browser::TLstPlane;
        EXPECT_EQ(pane_->ITPlane(Rect{0, 0, 100, 100}, window_, doc_.fTypeList, nullptr, 0), 0);
        window_->AddPlane(pane_);
        pane_->AddMenuFilter(128);
        pane_->SetDfltFilter(128);
        doc_.fSpec.path = built_.dataPath;
    }
    void TearDown() override
    {
        ClearDialogAnswers();
        ClearFileDialogAnswers();
        EditorFixture::TearDown();
    }
    // A default print record, and the print dialog and destination answered.
    void PrintToFile()
    {
        PrOpen();
        MyAppl->fPrintRecord = reinterpret_cast<Handle>(NewPrintRecord());
        PrintDefault(reinterpret_cast<THPrint>(MyAppl->fPrintRecord));
        PrClose();
        PushDialogAnswer(1);
        PushFileDialogAnswer(folder_ / "list.pdf");
    }
    static void DropPrintRecord()
    {
        THPrint record = reinterpret_cast<THPrint>(MyAppl->fPrintRecord);
        DisposePrintRecord(record);
        MyAppl->fPrintRecord = nullptr;
        ResetPrintEmulation();
    }
    virtual std::string Description() { return kStructure; }
    virtual void Prepare() {}
    std::string Out() const { return folder_ / "list.txt"; }
    // Nothing but the destination: no temporary left beside it.
    std::vector<std::string> Leftovers() const
    {
        std::vector<std::string> found;
        for (const auto& e : std::filesystem::directory_iterator(folder_.path()))
            if (e.path().filename().string().find(".export") != std::string::npos) found.push_back(e.path());
        return found;
    }
    std::string Read() const
    {
        std::vector<uint8_t> b;
        ReadWholeFile(Out(), &b);
        return std::string(b.begin(), b.end());
    }
    TRefWindow* window_ = nullptr;
    browser::TLstPlane* pane_ = nullptr;
};

// Whether each dialog a scripted answer ended was on the screen, and
// the messages of those dialogs.
std::vector<bool> gShown;
std::vector<std::string> gMessages;

std::string Str(int16_t list, int16_t index)
{
    unsigned char s[256];
    MyGetIndString(s, list, index);
    return std::string(reinterpret_cast<char*>(s + 1), s[0]);
}

// The printing dialog fills the first four flags from items 3, 5, 4 and
// 10; the export dialog's item 11 clears and dims those, and a cancelled
// save dialog leaves the record. Each dialog shows while it is answered.
TEST_F(ListOutput, TheDialogFillsTheFlagsFromItsItems)
{
    gShown.clear();
    SetScriptedAnswerObserver([](DialogRef d) { gShown.push_back(IsWindowVisible(GetDialogWindow(d))); });
    FSSpec file;
    FSMakeFSSpec(Out(), &file);
    struct Case {
        bool printing;
        std::vector<int16_t> hits;
        const char* path;
        int16_t result;
        OutPutParmRec want;
    } cases[] = {
        {true, {3, 4, 1}, nullptr, 0, {0, 0, 1, 0, 9, 9}},
        {true, {5, 10, 1}, nullptr, 0, {1, 1, 0, 1, 9, 9}},
        {true, {4, 2}, nullptr, 1001, {9, 9, 9, 9, 9, 9}},
        {false, {11, 3, 4, 1}, "x.txt", 0, {0, 0, 0, 0, 1, 0}},
        // Dimmed boxes come back cleared.
        {false, {11, 11, 4, 1}, "x.txt", 0, {0, 0, 1, 0, 0, 0}},
        {false, {5, 1}, "", 1001, {9, 9, 9, 9, 9, 9}},
    };
    for (const Case& c : cases) {
        browser::G_Parms = OutPutParmRec{1, 0, 0, 0, 0, 0};
        for (int16_t hit : c.hits) PushDialogAnswer(hit);
        if (c.path && c.path[0]) PushFileDialogAnswer(std::string(folder_ / c.path));
        if (c.path && !c.path[0]) {
            FileDialogAnswer cancel;
            cancel.kind = FileDialogAnswer::Kind::Cancel;
            PushFileDialogAnswer(cancel);
        }
        OutPutParmRec parms{9, 9, 9, 9, 9, 9};
        EXPECT_EQ(browser::GetOutPutParms(c.printing, &file, &parms), c.result);
        EXPECT_EQ(std::vector<uint8_t>({parms.contents, parms.uses, parms.callers, parms.documentation,
                                        parms.oldFormat, parms.rowClosed}),
                  std::vector<uint8_t>({c.want.contents, c.want.uses, c.want.callers, c.want.documentation,
                                        c.want.oldFormat, c.want.rowClosed}))
            << c.printing << " " << c.hits.size();
        ClearDialogAnswers();
        ClearFileDialogAnswers();
    }
    SetScriptedAnswerObserver(nullptr);
    EXPECT_EQ(gShown, std::vector<bool>(18, true)) << "one answer for each hit";
}

// An export replaces the file only when whole: a full disk at any write
// leaves the old file byte for byte, and no temporary behind.
TEST_F(ListOutput, AnExportReplacesItsFileOnlyWhenWhole)
{
    ASSERT_EQ(WriteFileAtomically(Out(), "old", 3), noErr);
    // A row whose lines fill the export's gathered block: the disk fills
    // while that row is being written.
    PageFilling bulky;
    bulky.owner = &doc_;
    bulky.kind = 2;
    bulky.bulk = 70 * 1024;
    apptest::ToP("Bulky", bulky.name);
    TObjQz* bulkyRow = &bulky;
    LongLAddRow(1, 1, pane_->fList);
    LongLSetCell(&bulkyRow, sizeof bulkyRow, 1, pane_->fList);
    auto exportList = [&] {
        PushDialogAnswer(1);
        PushFileDialogAnswer(Out());
        return pane_->Output(false);
    };
    ASSERT_EQ(exportList(), 0);
    const std::string whole = Read();
    EXPECT_EQ(whole.find("Qz Structure Browser"), 0u) << "the header first";
    for (const char* name : {"method Alpha", "method Beta", "method Gamma"}) EXPECT_NE(whole.find(name), std::string::npos);
    EXPECT_TRUE(Leftovers().empty());
    int refused = 0;
    for (int after = 0;; ++after) {
        ASSERT_EQ(WriteFileAtomically(Out(), "old", 3), noErr);
        InjectFault(FaultKind::DiskFull, after);
        ResetAlerts();
        const int16_t result = exportList();
        const bool filled = !IsFaultArmed(FaultKind::DiskFull);
        ClearFault(FaultKind::DiskFull);
        EXPECT_TRUE(Leftovers().empty()) << after;
        // A full disk is the file's failure, said by the command as such,
        // never as the failure of the object being written then.
        if (result != 0) {
            EXPECT_EQ(std::tuple(result, AlertCount()), std::tuple(int16_t(dskFulErr), 0)) << after;
        }
        // A failure that the export could do without (the file's Finder
        // information) still gives the whole file; any other, the old one.
        ASSERT_EQ(Read(), result == 0 ? whole : "old") << "write " << after;
        refused += result != 0;
        if (!filled) break;
        ASSERT_LT(after, 400);
    }
    EXPECT_GT(refused, 3);
    LongLDelRow(1, 1, pane_->fList);
}

// A cancel of the wait dialog at the third row keeps the old file whole.
TEST_F(ListOutput, ACancelAtTheThirdRowKeepsTheOldFile)
{
    ASSERT_EQ(WriteFileAtomically(Out(), "old", 3), noErr);
    ASSERT_GE(pane_->fList->rowCount, 2);
    CancellingRow cancelling;
    cancelling.owner = &doc_;
    TObjQz* obj = &cancelling;
    LongLAddRow(1, 2, pane_->fList);
    LongLSetCell(&obj, sizeof obj, 2, pane_->fList);
    PushDialogAnswer(1);
    PushFileDialogAnswer(Out());
    EXPECT_EQ(pane_->Output(false), 1001);
    LongLDelRow(1, 2, pane_->fList);
    EXPECT_EQ(Read(), "old");
    EXPECT_TRUE(Leftovers().empty());
}

// An export whose file cannot be opened, or whose rename fails, closes no
// file it did not open, even once it is gone.
TEST_F(ListOutput, AFailedExportClosesNoOtherFile)
{
    auto openFiles = [] {
        std::vector<int16_t> refs;
        for (int16_t ref = 1; ref <= 64; ++ref) {
            int64_t eof = 0;
            if (GetEOF(ref, &eof) == noErr) refs.push_back(ref);
        }
        return refs;
    };
    ASSERT_EQ(WriteFileAtomically(folder_ / "other.txt", "other", 5), noErr);
    FSSpec other{}, destination{};
    FSMakeFSSpec(folder_ / "other.txt", &other);
    FSMakeFSSpec(Out(), &destination);
    int16_t otherRef = 0;
    ASSERT_EQ(FSpOpenDF(other, fsRdPerm, &otherRef), noErr);
    const std::vector<int16_t> before = openFiles();
    ASSERT_EQ(before.front(), 1) << "another file holds the first number";
    for (int32_t after = 0; after < 3; ++after) {
        {
            browser::ExportFile file;
            ScopedFault busy(FaultKind::FileBusy, after, -1);
            file.Create(destination);
        }
        EXPECT_EQ(openFiles(), before) << after;
        EXPECT_TRUE(Leftovers().empty()) << after;
    }
    EXPECT_EQ(FSClose(otherRef), noErr);
}

// The dialogs name the document's file as titles show it, cut to 63
// characters; the export proposes the file's own name on disk followed by
// " objects.txt", and the printer's PDF file in the documents folder is
// the same followed by " objects.pdf" (" objects 2.pdf" for the next): the
// name cut at a character so that the whole fits in the 253 bytes of a
// name that keeps its type. Taking the proposal makes that file. Either
// dialog gives back what it took of memory.
TEST_F(ListOutput, TheDialogsNameTheDocumentAndProposeTheFile)
{
    const std::string accent = "e\xCC\x81", euro = "\xE2\x82\xAC";
    std::string accents, accentsShown;
    for (int i = 0; i < 81; ++i) accents += accent, accentsShown += '\x8E';
    struct Case {
        std::string name, shown, made;  // made: before the suffix
        std::string numbered = made;    // the same before " objects 2.pdf", two bytes longer
    };
    std::vector<Case> cases = {
        {"Out.QzB", "Out.QzB", "Out.QzB"},
        {"D\xC3\xA9mo \xE2\x82\xAC.QzB", "D\x8Emo \xDB.QzB", "D\xC3\xA9mo \xE2\x82\xAC.QzB"},
        {"a:b.QzB", "a/b.QzB", "a:b.QzB"},
        {"\xE3\x83\x87\xE3\x83\xA2.QzB", "??.QzB", "\xE3\x83\x87\xE3\x83\xA2.QzB"},
        {"Cafe\xCC\x81.QzB", "Caf\x8E.QzB", "Cafe\xCC\x81.QzB"},
        {std::string(70, 'n'), std::string(63, 'n'), std::string(70, 'n')},
        // 249 bytes: the cut at 241 would part the last letter from its accent.
        {"ab" + accents + ".QzB", "ab" + accentsShown.substr(0, 61), "ab" + accents.substr(0, 237)},
    };
    // 245 to 255 bytes: the name keeps its first 241 bytes (239 when
    // numbered), or, of euro signs, as many whole ones as fit.
    for (size_t length = 245; length <= 255; ++length) {
        cases.push_back({std::string(length - 4, 'n') + ".QzB", std::string(63, 'n'), std::string(241, 'n'),
                         std::string(239, 'n')});
        if ((length - 6) % 3 != 0) continue;
        std::string euros, shown = "ab";
        for (size_t i = 0; i < (length - 6) / 3; ++i) euros += euro, shown += '\xDB';
        cases.push_back({"ab" + euros + ".QzB", shown.substr(0, 63), "ab" + euros.substr(0, 237)});
    }
    const std::string documents = folder_ / "documents";
    std::filesystem::create_directory(documents);
    ::setenv("QZ_DOCUMENTS_DIR", documents.c_str(), 1);
    const std::string saved = doc_.fSpec.path;
    // The files made in the documents folder, not their sidecars, each gone
    // once read.
    auto made = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(documents)) {
            const std::string name = e.path().filename();
            if (name.rfind("._", 0) != 0) names.push_back(name);
            std::filesystem::remove(e.path());
        }
        std::sort(names.begin(), names.end());
        return names;
    };
    FileDialogAnswer accept;
    accept.kind = FileDialogAnswer::Kind::Choose;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        doc_.fSpec.path = folder_ / c.name;
        gMessages.clear();
        SetScriptedAnswerObserver([](DialogRef d) {
            DialogItemType type = 0;
            Handle h = nullptr;
            Rect box{};
            GetDialogItem(d, 6, &type, &h, &box);
            Str255 text;
            GetDialogItemText(h, text);
            gMessages.emplace_back(reinterpret_cast<char*>(text + 1), text[0]);
        });
        for (bool printing : {true, false}) {
            PushDialogAnswer(2);
            EXPECT_EQ(pane_->Output(printing), 1001);
        }
        SetScriptedAnswerObserver(nullptr);
        EXPECT_EQ(gMessages, (std::vector<std::string>{Str(1013, 2) + c.shown + Str(1013, 15),
                                                      Str(1013, 3) + c.shown + Str(1013, 15)}));
        PushDialogAnswer(1);
        PushFileDialogAnswer(accept);
        EXPECT_EQ(pane_->Output(false), 0);
        EXPECT_EQ(made(), std::vector<std::string>{c.made + " objects.txt"});
        // Printed twice by the printer.
        for (int n = 0; n < 2; ++n) {
            PrintToFile();
            ClearFileDialogAnswers();
            PushFileDialogAnswer(accept);
            EXPECT_EQ(pane_->Output(true), 0);
            DropPrintRecord();
        }
        EXPECT_EQ(made(), (std::vector<std::string>{c.numbered + " objects 2.pdf", c.made + " objects.pdf"}));
    }
    ::unsetenv("QZ_DOCUMENTS_DIR");
    doc_.fSpec.path = saved;

    FSSpec file{};
    OutPutParmRec parms{};
    // The memory reserve, spent, is made again once either dialog is gone.
    for (bool printing : {true, false}) {
        if (GromMemHdl) DisposeHandle(GromMemHdl);
        GromMemHdl = nullptr;
        PushDialogAnswer(2);
        FSMakeFSSpec(Out(), &file);
        EXPECT_EQ(browser::GetOutPutParms(printing, &file, &parms), 1001);
        EXPECT_NE(GromMemHdl, nullptr) << printing;
    }
    for (bool printing : {true, false}) {
        int64_t used[2] = {0, 0};
        for (int64_t& after : used) {
            PushDialogAnswer(2);
            FSMakeFSSpec(Out(), &file);
            EXPECT_EQ(browser::GetOutPutParms(printing, &file, &parms), 1001);
            after = MemoryInUse();
        }
        EXPECT_EQ(used[1], used[0]) << "a second run takes no more: " << printing;
    }
}

// The older format: five sections of counts, kinds 2, 9, 3, 8 and 1;
// the second holds the process variables. The file is UTF-8.
TEST_F(ListOutput, TheOlderFormatWritesFiveSections)
{
    TObjQz variable;
    variable.kind = 9;
    variable.owner = &doc_;
    apptest::ToP("Total_D\x9F\xDB", variable.name);  // Mac Roman, exported as UTF-8
    TObjQz* obj = &variable;
    LongLAddRow(1, 0, pane_->fList);
    LongLSetCell(&obj, sizeof obj, 0, pane_->fList);
    PushDialogAnswer(11);
    PushDialogAnswer(1);
    PushFileDialogAnswer(Out());
    ASSERT_EQ(pane_->Output(false), 0);
    LongLDelRow(1, 0, pane_->fList);
    const std::string text = Read();
    const size_t body = text.find('\n', text.find('\n') + 1) + 1;
    EXPECT_EQ(text.substr(body),
              "3\nAlpha\t2\tBeta\t3\tGamma\t3\t\nBeta\t0\t\nGamma\t0\t\n1\nTotal_D\xC3\xBC\xE2\x82\xAC\t0\t\n0\n0\n0\n");
}

// A printer's failure is the result, not a cancel.
TEST_F(ListOutput, APrintingFailureIsReportedAsItself)
{
    FailingPrint failing;
    LongLAddRow(1, 0, pane_->fList);
    TObjQz* obj = &failing;
    LongLSetCell(&obj, sizeof obj, 0, pane_->fList);
    PrintToFile();
    EXPECT_EQ(pane_->Output(true), -27);
    LongLDelRow(1, 0, pane_->fList);
    DropPrintRecord();
}

// Save as PDF onto a full disk or into a folder nobody may write says so
// as an export does, and leaves nothing there.
TEST_F(ListOutput, APdfThatCannotBeWrittenSaysWhy)
{
    std::vector<int> seen;
    RecordingPrint row;
    row.seen = &seen;
    LongLAddRow(1, 0, pane_->fList);
    TObjQz* obj = &row;
    LongLSetCell(&obj, sizeof obj, 0, pane_->fList);
    const std::tuple<bool, int16_t, std::string> cases[] = {
        {false, dskFulErr, "The disk is full. Make room on it and try again."},
        {true, permErr, "You may not change this folder or file. Save in another place, or ask for the right to change it."},
    };
    for (const auto& [locked, result, message] : cases) {
        PrintToFile();
        std::optional<platform::testing::LockedFolder> folder;
        if (locked) {
            folder.emplace(folder_ / "locked");
            ClearFileDialogAnswers();
            PushFileDialogAnswer(*folder / "list.pdf");
        } else {
            InjectFault(FaultKind::DiskFull, 0, -1);
        }
        ResetAlerts();
        EXPECT_EQ(window_->Do_Func(10), result) << message;
        ClearAllFaults();
        EXPECT_EQ(std::tuple(AlertCount(), LastAlert().text), std::tuple(1, message));
        folder.reset();
        DropPrintRecord();
        std::vector<std::string> pdfs;
        for (const auto& e : std::filesystem::recursive_directory_iterator(folder_.path()))
            if (e.path().string().find(".pdf") != std::string::npos) pdfs.push_back(e.path());
        EXPECT_EQ(pdfs, std::vector<std::string>{}) << message;
    }
    LongLDelRow(1, 0, pane_->fList);
}

// Save as PDF over an earlier file that an object fails on the first, a
// middle or the last page (a form that cannot be read among them), or an
// export in either format that an object fails, keeps that file byte for
// byte with nothing beside it, and says which object could not be output
// and why.
TEST_F(ListOutput, AnOutputThatAnObjectFailsKeepsTheEarlierFile)
{
    PageFilling rows[9];
    TObjQz* objects[9];
    for (int i = 0; i < 9; ++i) {
        rows[i].owner = &doc_;
        rows[i].kind = 2;
        apptest::ToP("Row" + std::to_string(i + 1), rows[i].name);
        objects[i] = &rows[i];
    }
    rows[8].lines = 5;  // the last row ends on the last page
    TLayoutObjQz unreadable;  // its 'FOQz' is not in the document
    unreadable.init(&doc_, reinterpret_cast<const unsigned char*>("\x06" "Broken"), 1);
    unreadable.kind = 24;
    unreadable.formResId = 31999;
    LongLAddRow(9, 0, pane_->fList);
    for (int32_t row = 0; row < 9; ++row) LongLSetCell(&objects[row], sizeof objects[row], row, pane_->fList);
    SetFormPreviewProc(FormPagePreview);  // as at the program's start
    const std::string pdf = folder_ / "list.pdf";
    auto listing = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(folder_.path())) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    };
    auto bytes = [](const std::string& path) {
        std::vector<uint8_t> b;
        ReadWholeFile(path, &b);
        return std::string(b.begin(), b.end());
    };
    auto output = [&](int16_t command, bool older = false) {
        if (command == 10) {
            PrintToFile();
        } else {
            if (older) PushDialogAnswer(11);
            PushDialogAnswer(1);
            PushFileDialogAnswer(Out());
        }
        return window_->Do_Func(command);
    };
    // The whole list takes several pages.
    ASSERT_EQ(output(10), 0);
    DropPrintRecord();
    const int16_t pages = P_NoPage;
    ASSERT_EQ(output(7), 0);
    const std::string wholePdf = bytes(pdf), wholeExport = Read();
    const std::vector<std::string> before = listing();
    const std::string cause = ": The disk could not be read or written. Nothing was ";
    const struct {
        int16_t command;
        int row;
        TObjQz* failing;  // in the row's place; null: the row's object, failing
        std::string alert;
        bool older = false;  // the export in the older format
    } cases[] = {
        {10, 0, nullptr, "Project method Row1 could not be printed" + cause + "printed, and no file was changed."},
        {10, 4, nullptr, "Project method Row5 could not be printed" + cause + "printed, and no file was changed."},
        {10, 8, nullptr, "Project method Row9 could not be printed" + cause + "printed, and no file was changed."},
        {10, 4, &unreadable,
         "Form (no table): Broken could not be printed: The form cannot be read. Nothing was printed, and no file "
         "was changed."},
        {7, 4, nullptr, "Project method Row5 could not be exported" + cause + "exported, and no file was changed."},
        {7, 4, nullptr, "Project method Row5 could not be exported" + cause + "exported, and no file was changed.", true},
    };
    std::vector<int16_t> failedOn;
    for (const auto& c : cases) {
        TObjQz* in = c.failing ? c.failing : &rows[c.row];
        rows[c.row].failure = c.failing ? 0 : ioErr;
        LongLSetCell(&in, sizeof in, c.row, pane_->fList);
        ResetAlerts();
        EXPECT_EQ(output(c.command, c.older), 1001) << c.alert;
        EXPECT_EQ(std::tuple(AlertCount(), LastAlert().text), std::tuple(1, c.alert));
        EXPECT_EQ(std::tuple(bytes(pdf), Read()), std::tuple(wholePdf, wholeExport)) << c.alert;
        EXPECT_EQ(listing(), before) << c.alert;
        if (c.command == 10) failedOn.push_back(P_NoPage), DropPrintRecord();
        rows[c.row].failure = 0;
        LongLSetCell(&objects[c.row], sizeof objects[c.row], c.row, pane_->fList);
    }
    const int16_t middle = int16_t((pages + 1) / 2);
    EXPECT_EQ(failedOn, (std::vector<int16_t>{1, middle, pages, middle})) << "the pages where it failed";
    SetFormPreviewProc(nullptr);
    LongLDelRow(9, 0, pane_->fList);
}

// Each printed row tells its object whether it is closed (its users and
// used objects then left out): an open row, then a closed one.
TEST_F(ListOutput, EachPrintedRowSaysWhetherItIsClosed)
{
    std::vector<int> seen;
    RecordingPrint open, closed;
    open.seen = closed.seen = &seen;
    LongLAddRow(2, 0, pane_->fList);
    TObjQz* objects[] = {&open, &closed};
    for (int32_t row = 0; row < 2; ++row) LongLSetCell(&objects[row], sizeof objects[row], row, pane_->fList);
    SetOpenCell(0, pane_->fList, true);
    SetOpenCell(1, pane_->fList, false);
    PrintToFile();
    EXPECT_EQ(pane_->Output(true), 0);
    LongLDelRow(2, 0, pane_->fList);
    EXPECT_EQ(seen, (std::vector<int>{0, 1}));
    DropPrintRecord();
}

// The demo, read as the program reads it, exported with contents, users,
// used objects and documentation.
class DemoOutput : public ListOutput {
protected:
    std::string Description() override
    {
        transfer::InstallModuleManager();  // the installed component is enciphered
        LoadTokenStrings();                 // the variable prefixes, as at start-up
        return Text(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc");
    }
    // The commands sorted as the program sorts them when it opens a window.
    void Prepare() override
    {
        if (ObjListHdl l = List(3)) ShellStrictSort(l);
    }
    static std::string Text(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

// The whole export below its two header lines (name, version, clock)
// equals the reviewed file.
TEST_F(DemoOutput, TheDemosExportIsTheReviewedFile)
{
    for (int16_t item : {4, 5, 10, 1}) PushDialogAnswer(item);
    PushFileDialogAnswer(Out());
    ASSERT_EQ(pane_->Output(false), 0);
    const std::string text = Read();
    const size_t body = text.find('\n', text.find('\n') + 1) + 1;
    const std::string expected = Text(std::string(QZ_SOURCE_DIR) + "/tests/browser/expected/DemoExport.txt");
    if (const char* keep = std::getenv("QZ_KEEP_EXPORT")) std::ofstream(keep, std::ios::binary) << text.substr(body);
    EXPECT_EQ(text.substr(body), expected);
}

// A heading of an export: an object's (the line after two empty ones) or
// that of a list of users or used objects (a tab before "Used by" or
// "Uses"), in Mac Roman.
// `headsLines`: the next line that is not empty is the first of what it
// heads (not another object's heading).
struct ExportedHeading {
    std::string text;
    bool list;
    bool headsLines = false;
};

std::vector<ExportedHeading> ExportedHeadings(const std::string& exported)
{
    std::vector<ExportedHeading> headings;
    const std::string usedBy = "\t" + Str(1009, 3), uses = "\t" + Str(1009, 2);
    std::istringstream in(exported);
    std::string line, before[2] = {"header", "header"};
    bool waiting = false;  // the last heading's first line not read yet
    while (std::getline(in, line)) {
        const bool list = line == usedBy || line == uses;
        const bool object = !list && before[0].empty() && before[1].empty() && !line.empty();
        if (waiting && !line.empty()) headings.back().headsLines = !object, waiting = false;
        if (object || list) {
            headings.push_back({Utf8ToMacRomanString(object ? line : line.substr(1)), !object});
            waiting = true;
        }
        before[1] = before[0], before[0] = line;
    }
    return headings;
}

// The heading drawn at the top left as a print draws it (bold, a list's
// italic; a tab shown as a space): its ink's box, and its line's height.
Rect DrawHeading(const ExportedHeading& heading, int16_t* height)
{
    std::string shown = heading.text;
    std::replace(shown.begin(), shown.end(), '\t', ' ');
    unsigned char text[256];
    apptest::ToP(shown, text);
    TextFont(GetResFont(2));
    TextSize(GetResSize(2));
    TextFace(heading.list ? italic : bold);
    FontInfo fi{};
    GetFontInfo(&fi);
    MoveTo(0, fi.ascent);
    DrawString(text);
    *height = int16_t(fi.ascent + fi.descent + fi.leading);
    return Rect{0, 0, int16_t(fi.ascent + fi.descent), StringWidth(text)};
}

using PrintedPages = std::vector<std::unique_ptr<readtest::PageImage>>;

// The pages a print wrote as images named `prefix`1.png on, `count` of them.
PrintedPages ReadPages(const std::filesystem::path& prefix, int16_t count)
{
    PrintedPages pages;
    for (int16_t n = 1; n <= count; ++n) {
        pages.push_back(std::make_unique<readtest::PageImage>(prefix.string() + std::to_string(n) + ".png"));
        EXPECT_TRUE(pages.back()->ok) << n;
    }
    return pages;
}

// A page and a row on it; the page is -1 for nowhere.
using Place = std::pair<size_t, int32_t>;

// Where the drawing (its box) stands `in` points from the left of a page,
// from `at` on.
Place FindDrawing(const PrintedPages& pages, Place at, const OffscreenDrawing& drawing, int16_t in)
{
    if (!drawing.ok()) return {size_t(-1), 0};
    const Rect& box = drawing.box();
    for (size_t p = at.first; p < pages.size(); ++p) {
        const readtest::PageImage& page = *pages[p];
        for (int32_t top = p == at.first ? at.second : 0; top + box.bottom <= page.pixels.height(); ++top) {
            bool same = page.ok && in + box.right <= page.pixels.width();
            for (int16_t v = 0; v < box.bottom && same; ++v)
                for (int16_t h = 0; h < box.right && same; ++h) same = drawing.RGB(h, v) == page.At(in + h, top + v);
            if (same) return {p, top};
        }
    }
    return {size_t(-1), 0};
}

// Whether a page drawn at 72 dpi holds anything but white from row `top`
// to row `bottom`.
bool InkBetween(const readtest::PageImage& page, int32_t top, int32_t bottom)
{
    for (int32_t v = std::max(top, 0); v < std::min(bottom, page.pixels.height()); ++v)
        for (int32_t h = 0; h < page.pixels.width(); ++h)
            if (page.At(h, v) != 0xFFFFFF) return true;
    return false;
}

// The row of a page's footer rule: the lowest row drawn across the page.
int32_t FooterRule(const readtest::PageImage& page)
{
    for (int32_t v = page.pixels.height() - 1; v >= 0; --v) {
        bool across = true;
        for (int32_t h = 1; h + 1 < page.pixels.width() && across; ++h) across = page.At(h, v) != 0xFFFFFF;
        if (across) return v;
    }
    return page.pixels.height();
}

// Printed with contents, users, used objects and documentation to PDF, each
// page also drawn at 72 dpi: every heading stands 30 points in as the
// export writes it (bold, a tab shown as a space), in the export's order,
// and each page of every form follows as its preview draws it, pixel for
// pixel, the first on its heading's page. No heading, nor the italic one
// of a list of users or of used objects 50 points in, is the last line of
// its page.
TEST_F(DemoOutput, ThePrintShowsTheExportsHeadingsAndThePreviews)
{
    for (int16_t item : {4, 5, 10, 1}) PushDialogAnswer(item);
    PushFileDialogAnswer(Out());
    ASSERT_EQ(pane_->Output(false), 0);
    const std::vector<ExportedHeading> headings = ExportedHeadings(Read());
    ASSERT_GT(headings.size(), 60u);
    SetFormPreviewProc(FormPagePreview);  // as at the program's start
    PrOpen();  // the session outlives the print with its page images
    PrintToFile();
    ASSERT_EQ(PMSessionSetPageImages(GetPrintSession(), folder_ / "page", 72), kPMNoError);
    ASSERT_EQ(pane_->Output(true), 0);
    PrClose();
    DropPrintRecord();
    SetFormPreviewProc(nullptr);
    const PrintedPages pages = ReadPages(folder_ / "page", P_NoPage);
    auto find = [&](Place at, const std::function<Rect()>& draw, int16_t in = 30) {
        return FindDrawing(pages, at, OffscreenDrawing(Rect{0, 0, 800, 640}, draw), in);
    };
    Place at{0, 0};
    int forms = 0;
    std::vector<std::string> alone;  // the headings that end their page
    for (const ExportedHeading& heading : headings) {
        int16_t height = 0;
        const Place line = find(at, [&, &heading = heading] { return DrawHeading(heading, &height); },
                                heading.list ? 50 : 30);
        ASSERT_NE(line.first, size_t(-1)) << heading.text;
        at = {line.first, line.second + 1};
        const readtest::PageImage& page = *pages[line.first];
        if (!InkBetween(page, line.second + height, FooterRule(page)))
            alone.push_back(heading.text + " on page " + std::to_string(line.first + 1));
        if (heading.list) continue;
        TObjQz* form = nullptr;
        for (int32_t row = 0; row < pane_->fList->rowCount; ++row) {
            auto* obj = static_cast<TObjQz*>(LongLRowObject(row, pane_->fList));
            unsigned char name[256];
            obj->GetFullName(name);
            if (obj->kind == 24 && heading.text.rfind(P(name) + " ", 0) == 0) form = obj;
        }
        if (!form) continue;
        ++forms;
        for (int16_t shown = 1, last = 1; shown <= last; ++shown) {
            Handle display = nullptr;
            int16_t type = 0, height = 0, first = 0, page = shown;
            ASSERT_EQ(form->InitDisplay(&display, Rect{0, 0, 100, 100}, &type, &height, &first, &last, &page, false), 0);
            Handle picture = PreviewOf(display)->picture;
            const Place drawing = find(at, [&] {
                Rect frame{};
                QDGetPictureBounds(picture, &frame);
                bool newPage = false;
                Rect r = PlaceFormPreview(P_PageRect, P_PageRect.top, P_PageRect.top, frame, &newPage);
                OffsetRect(&r, int16_t(-r.left), int16_t(-r.top));
                DrawPicture(picture, &r);
                return r;
            });
            form->DisposeDisplay(&display);
            EXPECT_NE(drawing.first, size_t(-1)) << heading.text << " page " << shown;
            if (shown == 1) {
                EXPECT_EQ(drawing.first, line.first) << heading.text;
            }
            if (drawing.first != size_t(-1)) at = {drawing.first, drawing.second + 1};
        }
    }
    EXPECT_EQ(forms, 5);
    EXPECT_EQ(alone, std::vector<std::string>{});
}

// A row that prints lines down to where `room` lines of the print's text
// are left on the page, and keeps where it stopped.
class RoomLeaving : public TObjQz {
public:
    int32_t room = 0;
    int16_t end = 0, line = 0;
    int16_t Print(OutPutParmRec*) override
    {
        UsePrintStyle(normal);
        FontInfo fi{};
        GetFontInfo(&fi);
        line = int16_t(fi.ascent + fi.descent + fi.leading);
        // A line fits when it ends above the bottom margin.
        while ((P_PageRect.bottom - 30 - 1 - P_CrtHeight) / line > room)
            PrintNewLine(reinterpret_cast<const unsigned char*>("\x04line"), 0);
        end = P_CrtHeight;
        return 0;
    }
};

// The first object of every kind the demo lists, printed with everything
// where only one, two or three lines are left on the first page, lines
// following it: its heading is never the last line of that page, whatever
// comes under it (an empty line, a list of strings, documentation, method
// text, a form, the objects using it).
TEST_F(DemoOutput, NoKindsHeadingEndsItsPage)
{
    // The demo's rows, kept aside: each print lists three rows alone.
    std::vector<TObjQz*> kept, firsts;
    for (int32_t row = 0; row < pane_->fList->rowCount; ++row) {
        auto* obj = static_cast<TObjQz*>(LongLRowObject(row, pane_->fList));
        kept.push_back(obj);
        if (std::none_of(firsts.begin(), firsts.end(), [&](TObjQz* o) { return o->kind == obj->kind; }))
            firsts.push_back(obj);
    }
    ASSERT_GT(firsts.size(), 15u);
    LongLDelRow(int32_t(kept.size()), 0, pane_->fList);
    SetFormPreviewProc(FormPagePreview);
    RoomLeaving before;
    PageFilling after;
    before.owner = after.owner = &doc_;
    after.lines = 3;
    std::vector<std::string> alone;
    for (TObjQz* obj : firsts) {
        unsigned char name[256];
        obj->GetFullName(name);
        for (int32_t room = 1; room <= 3; ++room) {
            const std::string row = P(name) + " with " + std::to_string(room) + " lines left";
            SCOPED_TRACE(row);
            before.room = room;
            TObjQz* rows[] = {&before, obj, &after};
            LongLAddRow(3, 0, pane_->fList);
            for (int32_t i = 0; i < 3; ++i) LongLSetCell(&rows[i], sizeof rows[i], i, pane_->fList);
            PrOpen();
            PrintToFile();
            // The output dialog: users, used objects, documentation, OK.
            ClearDialogAnswers();
            browser::G_Parms = OutPutParmRec{1, 0, 0, 0, 0, 0};
            for (int16_t item : {4, 5, 10, 1}) PushDialogAnswer(item);
            for (const auto& e : std::filesystem::directory_iterator(folder_.path()))
                if (e.path().filename().string().rfind("page", 0) == 0) std::filesystem::remove(e.path());
            ASSERT_EQ(PMSessionSetPageImages(GetPrintSession(), folder_ / "page", 72), kPMNoError);
            ASSERT_EQ(pane_->Output(true), 0);
            PrClose();
            DropPrintRecord();
            LongLDelRow(3, 0, pane_->fList);
            const readtest::PageImage first(folder_ / "page1.png");
            ASSERT_TRUE(first.ok);
            // Drawn in the heading's line under the first row: something below it too.
            if (InkBetween(first, before.end, before.end + before.line) &&
                !InkBetween(first, before.end + before.line, FooterRule(first)))
                alone.push_back(row);
        }
    }
    SetFormPreviewProc(nullptr);
    LongLAddRow(int32_t(kept.size()), 0, pane_->fList);
    for (size_t row = 0; row < kept.size(); ++row)
        LongLSetCell(&kept[row], sizeof kept[row], int32_t(row), pane_->fList);
    EXPECT_EQ(alone, std::vector<std::string>{});
}

// Generated structures, printed as their list shows them: with contents,
// or headings alone. Long runs of objects that print nothing under their
// heading come out line by line: on every page nothing but the foot lies
// from the foot's rule down and something above it, every heading of the
// export is printed, in its order, and none that heads lines ends its page.
struct Generated {
    int32_t objects, seed;
    bool contents;
};

class GeneratedOutput : public ListOutput, public ::testing::WithParamInterface<Generated> {
protected:
    std::string Description() override
    {
        return "structure Gen\nseed " + std::to_string(GetParam().seed) + "\ngenerate " +
               std::to_string(GetParam().objects) + "\n";
    }
};

TEST_P(GeneratedOutput, EveryLineStandsAboveTheFootAndEveryHeadingWithWhatItHeads)
{
    VirtualClock clock;  // one date on every foot
    SetClock(&clock);
    const bool contents = GetParam().contents;
    OutPutParmRec parms{contents, 0, 0, 0, 0, 0};
    FSSpec out;
    FSMakeFSSpec(Out(), &out);
    ASSERT_EQ(pane_->ExportList(&doc_, out, &parms), 0);
    const std::vector<ExportedHeading> headings = ExportedHeadings(Read());
    PrOpen();  // the session outlives the print with its page images
    PrintToFile();
    ASSERT_EQ(PMSessionSetPageImages(GetPrintSession(), folder_ / "page", 72), kPMNoError);
    ASSERT_EQ(pane_->PrintList(&doc_, &parms), 0);
    PrClose();
    DropPrintRecord();
    const PrintedPages pages = ReadPages(folder_ / "page", P_NoPage);
    // From its rule down, each page shows its foot as drawn alone; above
    // it, down from the header's rule, something printed.
    std::vector<std::string> unsound;
    for (size_t n = 0; n < pages.size(); ++n) {
        const OffscreenDrawing foot(P_PageRect, [&] {
            P_NoPage = int16_t(n + 1);
            doc_.PrintFooter();
            return P_PageRect;
        });
        const readtest::PageImage& page = *pages[n];
        bool same = page.ok && foot.ok() && page.pixels.height() == P_PageRect.bottom;
        int16_t rule = P_PageRect.bottom;  // the lowest row drawn across
        for (bool across = false; !across && rule > 0;) {
            --rule;
            across = true;
            for (int16_t h = 1; across && h + 1 < P_PageRect.right; ++h) across = foot.RGB(h, rule) != 0xFFFFFF;
        }
        for (int16_t v = rule; same && v < P_PageRect.bottom; ++v)
            for (int16_t h = 0; same && h < P_PageRect.right; ++h) same = page.At(h, v) == foot.RGB(h, v);
        int32_t header = 0;  // the first row drawn across
        while (same && header < rule && page.At(1, header) == 0xFFFFFF) ++header;
        if (!same) unsound.push_back(std::to_string(n + 1) + ": more on its foot");
        else if (!InkBetween(page, header + 1, rule)) unsound.push_back(std::to_string(n + 1) + ": blank");
    }
    SetClock(nullptr);
    EXPECT_EQ(unsound, std::vector<std::string>{});
    std::vector<std::string> missing, alone;
    Place at{0, 0};
    for (size_t i = 0; i < headings.size(); ++i) {
        int16_t height = 0;
        const Place line = FindDrawing(
            pages, at, OffscreenDrawing(Rect{0, 0, 20, 640}, [&] { return DrawHeading(headings[i], &height); }),
            headings[i].list ? 50 : 30);
        if (line.first == size_t(-1)) {
            missing.push_back(headings[i].text);
            continue;
        }
        at = {line.first, line.second + 1};
        const readtest::PageImage& page = *pages[line.first];
        if (headings[i].headsLines && !InkBetween(page, line.second + height, FooterRule(page)))
            alone.push_back(headings[i].text + " on page " + std::to_string(line.first + 1));
    }
    EXPECT_EQ(missing, std::vector<std::string>{});
    EXPECT_EQ(alone, std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(SizesAndSeeds, GeneratedOutput,
                         ::testing::Values(Generated{100, 2, false}, Generated{300, 1, true},
                                           Generated{1000, 3, false}),
                         [](const ::testing::TestParamInfo<Generated>& info) {
                             return std::to_string(info.param.objects) + "Seed" + std::to_string(info.param.seed) +
                                    (info.param.contents ? "WithContents" : "HeadingsAlone");
                         });

}  // namespace
}  // namespace browsertest
