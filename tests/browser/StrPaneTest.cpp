// The string-list editor pane over a document's 'STR#': the written bytes,
// the limits on strings and lengths, Tab, undo, a list removed behind the
// window's back, damaged lists, and the layout of the boxes with its
// partial redraws.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/dialogs/DialogRecord.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/events/DialogAnswers.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/resfiles/Resources.h"
#include "platform/scrap/Scrap.h"
#include "tests/browser/EditorFixture.h"
#include "tests/platform/files/LockedFolder.h"

using namespace platform;

namespace browsertest {
namespace {

using readtest::Bytes;

class StrEditor : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        ResetSysBeepCount();
    }
    // A structure holding the list STRINGS under id 15000, its editor open.
    browser::TStrPlane* OpenList(const std::string& strings)
    {
        Load("structure Lists date 2024-03-01\nstrings Texts id 15000\n" + strings);
        window_ = EditStrings(Find(11, "Texts"));
        browser::TStrPlane* pane = StrPane(window_);
        if (window_) {
            window_->MakeActive();
            window_->update(EventRecord{});
        }
        return pane;
    }
    // The list's bytes in the companion.
    Bytes Companion()
    {
        const int16_t saved = CurResFile();
        UseResFile(doc_.fRsrFile);
        Handle h = Get1Resource(FourCC("STR#"), 15000);
        UseResFile(saved);
        return h ? Bytes(*h, *h + GetHandleSize(h)) : Bytes{};
    }
    void Scrap(const std::string& text)
    {
        ClearCurrentScrap();
        ScrapRef s = nullptr;
        GetCurrentScrap(&s);
        PutScrapFlavor(s, FourCC("TEXT"), 0, Size(text.size()), text.data());
        TEFromScrap();
    }
    static std::string Lines(int n)
    {
        std::string s;
        for (int i = 0; i < n; ++i) s += "  \"s" + std::to_string(i) + "\"\n";
        return s;
    }
    TEditStrWindow* window_ = nullptr;
};

// The platform's layout: a count, then each string's length and bytes.
TEST_F(StrEditor, WritesTheListInThePlatformsLayout)
{
    browser::TStrPlane* pane = OpenList("  \"a\"\n  \"bc\"\n  \"\"\n");
    ASSERT_NE(pane, nullptr);
    ASSERT_EQ(pane->Count(), 3);
    EXPECT_EQ(pane->Write(true), 0);
    EXPECT_EQ(Companion(), (Bytes{0, 3, 1, 'a', 2, 'b', 'c', 0}));
    pane->SetCrtString(2);
    TESetSelect(2, 2, pane->fTE);
    pane->key(KeyEvent('d'));
    EXPECT_TRUE(pane->fModified);
    EXPECT_EQ(pane->Write(true), 0);
    EXPECT_EQ(Companion(), (Bytes{0, 3, 1, 'a', 3, 'b', 'c', 'd', 0}));
    EXPECT_TRUE(doc_.fCompilerDirty);
    // A string added at the end takes what is typed next; the others stay.
    ASSERT_EQ(pane->Do_Func(60), 0);
    pane->key(KeyEvent('e'));
    EXPECT_EQ(pane->Write(true), 0);
    EXPECT_EQ(Companion(), (Bytes{0, 4, 1, 'a', 3, 'b', 'c', 'd', 0, 1, 'e'}));
}

// 255 strings: no more added or inserted; 1 string: none deleted.
TEST_F(StrEditor, TheListKeepsBetweenOneAnd255Strings)
{
    for (const auto& [count, add, del] : {std::tuple{255, false, true}, std::tuple{254, true, true},
                                          std::tuple{1, true, false}, std::tuple{2, true, true}}) {
        browser::TStrPlane* pane = OpenList(Lines(count));
        ASSERT_NE(pane, nullptr);
        pane->SetToolMenus();
        EXPECT_EQ(browser::CommandEnabled(60), add) << count;
        EXPECT_EQ(browser::CommandEnabled(62), add) << count;
        EXPECT_EQ(browser::CommandEnabled(61), del) << count;
        EXPECT_EQ(pane->Do_Func(60), 0);
        EXPECT_EQ(pane->Count(), add ? count + 1 : count);
        EXPECT_EQ(pane->Do_Func(61), 0);
        EXPECT_EQ(pane->Count(), add ? count : del ? count - 1 : count);
        doc_.RemoveWindow(window_);
        window_->Dispose();
        window_ = nullptr;
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
}

// A string stops at 255 characters: a longer paste is cut there, and said;
// at the limit a letter beeps while backspace, arrows and typing over a
// selection work.
TEST_F(StrEditor, AStringStopsAt255Characters)
{
    browser::TStrPlane* pane = OpenList("  \"\"\n");
    for (const int32_t length : {254, 255, 256, 300}) {
        TESetText("", 0, pane->fTE);
        Scrap(std::string(size_t(length), 'x'));
        const int32_t alerts = AlertCount();
        ASSERT_EQ(pane->Do_Func(24), 0);
        EXPECT_EQ(std::tuple(Text(pane->fTE), AlertCount() - alerts),
                  std::tuple(std::string(size_t(std::min(length, 255)), 'x'), length > 255 ? 1 : 0))
            << length;
        if (length > 255) {
            EXPECT_EQ(LastAlert().text, KeptText(browser::kPasteCutText));
        }
    }
    EXPECT_EQ((**pane->fTE).teLength, 255);
    ResetSysBeepCount();  // the alerts' own
    pane->key(KeyEvent('a'));
    EXPECT_EQ((**pane->fTE).teLength, 255);
    EXPECT_EQ(SysBeepCount(), 1u);
    pane->key(KeyEvent(28));  // left arrow
    EXPECT_EQ((**pane->fTE).selStart, 254);
    pane->key(KeyEvent(8));
    EXPECT_EQ((**pane->fTE).teLength, 254);
    pane->key(KeyEvent('a'));
    EXPECT_EQ((**pane->fTE).teLength, 255);
    TESetSelect(0, 5, pane->fTE);
    pane->key(KeyEvent('b'));
    EXPECT_EQ((**pane->fTE).teLength, 251);
    EXPECT_EQ(SysBeepCount(), 1u);
    pane->key(KeyEvent('z', cmdKey));
    EXPECT_EQ((**pane->fTE).teLength, 251) << "command keys are not typed";
}

// Another program's text keeps its lines in a string: CR LF, LF and CR
// are each one line end.
TEST_F(StrEditor, PastedLinesKeepOneLineEndEach)
{
    browser::TStrPlane* pane = OpenList("  \"\"\n");
    for (const auto& [copied, pasted] : LineEndRows()) {
        TESetText("", 0, pane->fTE);
        OtherProgramCopies(copied);
        ASSERT_EQ(pane->Do_Func(24), 0);
        EXPECT_EQ(Text(pane->fTE), pasted) << copied;
    }
    EXPECT_EQ(pane->Write(true), 0);
    EXPECT_EQ(Companion(), (Bytes{0, 1, 13, 'a', '\r', 'b', '\r', 'c', '\r', 'd', '\r', '\r', 'e', '\r', '\r', '\r'}));
}

// Tab moves on, and from the last string to all of the first.
TEST_F(StrEditor, TabMovesToTheNextStringAndWrapsAround)
{
    browser::TStrPlane* pane = OpenList("  \"one\"\n  \"two\"\n  \"three\"\n");
    const int16_t expect[] = {2, 3, 1};
    for (int16_t e : expect) {
        pane->key(KeyEvent('\t'));
        EXPECT_EQ(pane->fCurrent, e);
        EXPECT_EQ((**pane->fTE).selStart, 0);
        EXPECT_EQ((**pane->fTE).selEnd, (**pane->fTE).teLength);
    }
    EXPECT_EQ(Text(pane->fTE), "one");
}

// Undo after a cut brings the text and the clipboard back; undo again goes
// forward once more.
TEST_F(StrEditor, UndoAfterACutSwapsTextAndClipboard)
{
    browser::TStrPlane* pane = OpenList("  \"keep CUT this\"\n");
    Scrap("old clip");
    TESetSelect(5, 9, pane->fTE);
    ASSERT_EQ(pane->Do_Func(22), 0);
    EXPECT_EQ(Text(pane->fTE), "keep this");
    ASSERT_EQ(window_->Do_Func(21), 0);
    EXPECT_EQ(Text(pane->fTE), "keep CUT this");
    TEFromScrap();
    EXPECT_EQ(TEGetScrapLength(), 8);
    ASSERT_EQ(window_->Do_Func(21), 0);
    EXPECT_EQ(Text(pane->fTE), "keep this");
    TEFromScrap();
    EXPECT_EQ(TEGetScrapLength(), 4);
}

// Memory running short at each allocation in turn while a cut keeps its
// text for undo: undo then brings back the string from just before the
// cut, or refuses; never the older string an earlier cut kept.
TEST_F(StrEditor, AShortageWhileKeepingTheUndoTextNeverBringsBackAnOlderOne)
{
    browser::TStrPlane* pane = OpenList("  \"ab cd\"\n");
    const int refused = CutUnderShortage(pane, window_, "ab cd", "a much longer second string", [] {});
    EXPECT_GT(refused, 0) << "a shortage reached the kept text";
}

// The list removed behind the window's back comes back on close, under its
// id and name, with the edits.
TEST_F(StrEditor, AListRemovedBehindTheWindowIsWrittenAgainOnClose)
{
    browser::TStrPlane* pane = OpenList("  \"one\"\n");
    pane->key(KeyEvent('!'));
    const int16_t saved = CurResFile();
    UseResFile(doc_.fRsrFile);
    Handle h = Get1Resource(FourCC("STR#"), 15000);
    ASSERT_NE(h, nullptr);
    RemoveResource(h);
    DisposeHandle(h);
    UseResFile(saved);
    ASSERT_EQ(Companion(), Bytes{});
    PushDialogAnswer(1);  // save
    ASSERT_EQ(window_->Close(), 0);
    window_ = nullptr;
    EXPECT_EQ(Companion(), (Bytes{0, 1, 4, 'o', 'n', 'e', '!'}));
    UseResFile(doc_.fRsrFile);
    Handle back = Get1Resource(FourCC("STR#"), 15000);
    int16_t id = 0;
    ResType type = 0;
    Str255 name;
    GetResInfo(back, &id, &type, name);
    UseResFile(saved);
    EXPECT_EQ(P(name), "Texts");
}

// A save is on disk when it ends; one the companion cannot take (a full
// disk, for good or at its one write, a folder the user may not write, a
// companion whose data fill what its layout reaches) says so, changes
// nothing on disk or in memory and keeps the edit in the window, which
// saves it once the companion can take it.
TEST_F(StrEditor, ASaveIsOnDiskAtOnceOrSaysWhyNot)
{
    const std::string cases[] = {"full disk", "disk full once", "read-only folder", "companion full"};
    for (const std::string& c : cases) {
        SCOPED_TRACE(c);
        browser::TStrPlane* pane = OpenList("  \"one\"\n");
        const Bytes before = Companion(), file = FileBytes(built_.companionPath);
        pane->key(KeyEvent('!'));
        std::optional<platform::testing::LockedFolder> locked;
        // The data of the companion grown to the last byte its layout
        // reaches (16 MB, each resource with its length word).
        Handle filler = c == "companion full" ? NewHandle(Size(0xFFFFFF - ReadBE32(&file[8]))) : nullptr;
        if (filler) {
            UsingResFile companion(doc_.fRsrFile);
            AddResource(filler, FourCC("FILL"), 1, nullptr);
            ASSERT_EQ(ResError(), noErr);
        }
        if (c == "full disk" || c == "disk full once") InjectFault(FaultKind::DiskFull, 0, c == "full disk" ? -1 : 1);
        else if (!filler) locked.emplace(std::filesystem::path(built_.companionPath).parent_path());
        ResetAlerts();
        PushDialogAnswer(1);  // save
        EXPECT_NE(window_->Close(), 0);
        ClearAllFaults();
        locked.reset();
        // The save question, then why the save failed.
        EXPECT_EQ(AlertCount(), 2);
        const std::string said = LastAlert().text;
        if (c != "read-only folder") {
            ErrMsg(filler ? resFileFullErr : dskFulErr);
            EXPECT_EQ(said, LastAlert().text);
        }
        if (filler) {
            RemoveResource(filler);
            DisposeHandle(filler);
        }
        EXPECT_EQ(Companion(), before);
        EXPECT_EQ(FileBytes(built_.companionPath), file);
        EXPECT_TRUE(pane->fModified);
        EXPECT_EQ(P(pane->fTable[0].text), "one!");
        PushDialogAnswer(1);
        ASSERT_EQ(window_->Close(), 0);
        window_ = nullptr;
        // On disk before the document closes.
        const Bytes saved{0, 1, 4, 'o', 'n', 'e', '!'};
        const Bytes written = FileBytes(built_.companionPath);
        EXPECT_NE(std::search(written.begin(), written.end(), saved.begin(), saved.end()), written.end());
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
    // Memory short too, the list cannot be taken back: said, the companion
    // is written no more in this session, and its file stays as it was.
    browser::TStrPlane* pane = OpenList("  \"one\"\n");
    const Bytes file = FileBytes(built_.companionPath);
    pane->key(KeyEvent(8));
    ResetAlerts();
    {
        ScopedFault full(FaultKind::DiskFull, 0, -1);
        ScopedFault memory(FaultKind::Allocation, 0, -1);
        EXPECT_EQ(pane->Write(false), 1001);
    }
    const std::string said = LastAlert().text;
    ErrMsg(resFileAdriftErr);
    EXPECT_EQ(said, LastAlert().text);
    UpdateResFile(doc_.fRsrFile);
    EXPECT_EQ(ResError(), resFileAdriftErr);
    PushDialogAnswer(2);  // don't save
    ASSERT_EQ(window_->Close(), 0);
    window_ = nullptr;
    CloseDoc();
    EXPECT_EQ(FileBytes(built_.companionPath), file);
}

// Lists whose bytes say less or more than they hold.
TEST_F(StrEditor, DamagedListsReadOnlyWhatIsThere)
{
    struct Case {
        Bytes bytes;
        std::vector<std::string> strings;
        bool modified;
        bool opens = true;
    } cases[] = {
        {{}, {""}, true},
        {{0}, {""}, true},
        {{0, 0}, {""}, true},
        {{0, 3, 1, 'a'}, {"a", "", ""}, false},
        {{0, 2, 5, 'a', 'b'}, {"ab", ""}, false},
        // A count past what the editor holds: the list is refused, not
        // opened as one empty string a save would write over it.
        {{0xFF, 0xFF, 1, 'a'}, {}, false, false},
    };
    for (const Case& c : cases) {
        built_ = Build("structure Lists date 2024-03-01\nstrings Texts id 15000\n  \"x\"\n");
        Open(built_);
        ASSERT_EQ(Read(), 0);
        const int16_t saved = CurResFile();
        UseResFile(doc_.fRsrFile);
        Handle h = Get1Resource(FourCC("STR#"), 15000);
        PtrToXHand(c.bytes.data(), h, Size(c.bytes.size()));
        UseResFile(saved);
        window_ = EditStrings(Find(11, "Texts"));
        if (!c.opens) {
            EXPECT_EQ(window_, nullptr);
            CloseDoc();
            ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
            continue;
        }
        browser::TStrPlane* pane = StrPane(window_);
        ASSERT_NE(pane, nullptr) << c.bytes.size();
        ASSERT_EQ(size_t(pane->Count()), c.strings.size()) << c.bytes.size();
        for (size_t i = 0; i < c.strings.size(); ++i) EXPECT_EQ(P(pane->fTable[i].text), c.strings[i]);
        EXPECT_EQ(pane->fModified, c.modified);
        doc_.RemoveWindow(window_);
        window_->Dispose();
        window_ = nullptr;
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
}

// Adding, inserting or deleting a string is a change to write.
TEST_F(StrEditor, EachListCommandMarksTheListChanged)
{
    for (int16_t command : {60, 61, 62}) {
        browser::TStrPlane* pane = OpenList("  \"one\"\n  \"two\"\n");
        ASSERT_NE(pane, nullptr);
        EXPECT_FALSE(pane->fModified) << command;
        ASSERT_EQ(pane->Do_Func(command), 0);
        EXPECT_TRUE(pane->fModified) << command;
        doc_.RemoveWindow(window_);
        window_->Dispose();
        window_ = nullptr;
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
}

// The scroll bar's arrows move by 24 pixels, its page by the pane's
// height less 24, a move of one pixel moves the record too, and a string
// below the pane is scrolled to the pane's top.
TEST_F(StrEditor, ScrollingMovesByArrowAndPageAndShowsTheCurrentString)
{
    browser::TStrPlane* pane = OpenList(Lines(30));
    ASSERT_NE(pane->fVScroll, nullptr);
    ::G_Plane = pane;
    const int16_t page = int16_t(pane->fRect.bottom - pane->fRect.top - 24);
    ASSERT_GT(GetControlMaximum(pane->fVScroll), 2 * page);
    const struct {
        int16_t part, value;
    } steps[] = {{21, 24}, {21, 48}, {20, 24}, {23, int16_t(24 + page)}, {22, 24}, {20, 0}, {20, 0}};
    for (const auto& step : steps) {
        browser::StrTrackCtrAction(pane->fVScroll, step.part);
        EXPECT_EQ(GetControlValue(pane->fVScroll), step.value) << step.part;
    }
    const Rect view = (**pane->fTE).viewRect;
    pane->ScrollPlane(1);
    EXPECT_EQ(GetControlValue(pane->fVScroll), 1);
    EXPECT_EQ((**pane->fTE).viewRect.top, view.top - 1);
    pane->ScrollPlane(-1);
    pane->SetCrtString(20);
    pane->StrSelView();
    const Rect shown = pane->Shown(pane->fTable[19].box);
    EXPECT_GE(shown.top, pane->fRect.top);
    EXPECT_LE(shown.bottom, pane->fRect.bottom);
    EXPECT_LT(shown.top, pane->fRect.top + 10) << "at the top";
    ::G_Plane = nullptr;
}

// The boxes: 80 to 365 across, the first at 50, 30 apart, framed 4 pixels
// outside, numbered from x = 26. Inserting moves the later boxes down by
// the new box and its gap, and the pane then looks as a full redraw does.
TEST_F(StrEditor, BoxesStackAndAnInsertedOneLooksAsAFullRedraw)
{
    browser::TStrPlane* pane = OpenList("  \"first\"\n  \"second string\"\n  \"third\"\n");
    const Rect p = pane->fRect;
    int16_t top = int16_t(p.top + 50);
    for (const browser::StrEntry& e : pane->fTable) {
        EXPECT_EQ(e.box.left, p.left + 80);
        EXPECT_EQ(e.box.right, p.left + 365);
        EXPECT_EQ(e.box.top, top);
        top = int16_t(e.box.bottom + 30);
        // The frame's top edge, the number's first dark pixel.
        EXPECT_EQ(Pixel(window_, 200, e.box.top - 4), 0u);
        EXPECT_EQ(Pixel(window_, 200, e.box.top - 3), 0xFFFFFFu);
        int first = -1;
        for (int h = p.left; h < p.left + 40 && first < 0; ++h)
            for (int v = e.box.top; v < e.box.bottom; ++v)
                if (Pixel(window_, h, v) != 0xFFFFFF) {
                    first = h;
                    break;
                }
        EXPECT_GE(first, p.left + 26);
        EXPECT_LE(first, p.left + 28);
    }
    // Every string shows its text, the current one through the record.
    for (const browser::StrEntry& e : pane->fTable) {
        int ink = 0;
        for (int v = e.box.top; v < e.box.bottom; ++v)
            for (int h = e.box.left; h < e.box.right; ++h) ink += Pixel(window_, h, v) != 0xFFFFFF;
        EXPECT_GT(ink, 20) << P(e.text);
    }
    const Rect before2 = pane->fTable[1].box, before3 = pane->fTable[2].box;
    pane->SetCrtString(2);
    // What was typed into the current string stays with it when a string
    // is inserted before it.
    TESetSelect(12, 13, pane->fTE);
    pane->key(KeyEvent('G'));
    ASSERT_EQ(pane->Do_Func(62), 0);
    ASSERT_EQ(pane->Count(), 4);
    EXPECT_EQ(pane->fCurrent, 2);
    const int16_t added = int16_t(pane->fTable[1].box.bottom - pane->fTable[1].box.top);
    EXPECT_EQ(pane->fTable[1].box.top, before2.top);
    EXPECT_EQ(pane->fTable[2].box.top, before2.top + added + 30);
    EXPECT_EQ(pane->fTable[3].box.top, before3.top + added + 30);
    EXPECT_EQ(P(pane->fTable[2].text), "second strinG");
    const std::vector<uint32_t> partial = Pixels(window_, pane->TextArea());
    SetPortWindowPort(window_->fWindow);
    EraseRect(&p);
    pane->update();
    EXPECT_EQ(Pixels(window_, pane->TextArea()), partial);
    // Growing the current box by typing moves what is below it too.
    pane->SetCrtString(3);
    for (int i = 0; i < 60; ++i) pane->key(KeyEvent('w'));
    const std::vector<uint32_t> typed = Pixels(window_, pane->TextArea());
    EXPECT_GT(pane->fTable[2].box.bottom - pane->fTable[2].box.top, added) << "two lines";
    EraseRect(&p);
    pane->update();
    EXPECT_EQ(Pixels(window_, pane->TextArea()), typed);
}

}  // namespace
}  // namespace browsertest
