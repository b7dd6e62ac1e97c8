// The documentation editor pane: its geometry for every kind, the mark box
// and what the window writes on close, the server lock, styles from the
// menu, the paste limit and what typing redraws.
#include <gtest/gtest.h>

#include "app/appl/CommandStacks.h"
#include "app/appl/UndoRecords.h"
#include "app/dialogs/Messages.h"
#include "platform/core/Faults.h"
#include "platform/events/InputState.h"
#include "platform/core/Endian.h"
#include "platform/dialogs/DialogRecord.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/drawing/Palettes.h"
#include "platform/fonts/Fonts.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/resfiles/Resources.h"
#include "platform/scrap/Scrap.h"
#include "platform/windows/Windows.h"
#include "tests/browser/EditorFixture.h"

using namespace platform;

namespace browsertest {
namespace {

using readtest::Bytes;

// An object standing in for any kind: its documentation type, what its
// reading and locking answer, what it was asked to write.
class FakeDocObject : public TObjQz {
public:
    uint32_t type = FourCC("CCHE");
    int16_t lockAnswer = 0;
    bool created = false;
    int32_t storedState = 2;
    std::string text = "Stored text";
    int32_t writes = 0, writtenState = -1;
    std::string written;
    uint32_t GetDocResType() override { return type; }
    bool EnableDocEdit() override { return true; }
    int16_t ReadDoc(void* te, int32_t* state, bool* added) override
    {
        TESetText(text.data(), int32_t(text.size()), static_cast<TEHandle>(te));
        *state = storedState;
        *added = created;
        return 0;
    }
    int16_t WriteDoc(void* te, int32_t state) override
    {
        ++writes;
        writtenState = state;
        TEHandle t = static_cast<TEHandle>(te);
        written.assign(*(**t).hText, size_t((**t).teLength));
        return 0;
    }
    int16_t LockDoc() override { return lockAnswer; }
    void UnLockDoc() override {}
    uint32_t time = 0;
    uint32_t GetTimeDoc() override { return time; }
};

class DocEditor : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        ResetSysBeepCount();
        ClearCurrentScrap();
        TEFromScrap();
    }
    // A documentation window of the port size given over `obj` (null: the
    // structure's general documentation), with its pane.
    TEditDocWindow* Open(TObjQz* obj, int16_t width = 400, int16_t height = 300)
    {
        auto* w = new TEditDocWindow;
        w->fObj = obj;
        Rect r{60, 40, int16_t(60 + height), int16_t(40 + width)};
        EXPECT_EQ(doc_.NewTWindow(w, &r, reinterpret_cast<const unsigned char*>("\x03" "Doc"), true, 8), 0);
        ::TPlan* pane = nullptr;
        EXPECT_EQ(browser::MakeDocPlane(w, nullptr, &pane), 0);
        if (pane) w->AddPlane(pane);
        w->MakeActive();
        w->update(EventRecord{});
        return w;
    }
    void Close(TEditDocWindow* w) { ASSERT_EQ(w->Close(), 0); }
    void Scrap(const std::string& text)
    {
        ClearCurrentScrap();
        ScrapRef s = nullptr;
        GetCurrentScrap(&s);
        PutScrapFlavor(s, FourCC("TEXT"), 0, Size(text.size()), text.data());
        TEFromScrap();
    }
    // A click at a local point, followed by the pane's own tracking.
    void Click(TEditDocWindow* w, Point local)
    {
        const Point g = Global(w, local);
        PlayPress(Script().Click(g.h, g.v));
        SetPortWindowPort(w->fWindow);
        DocPane(w)->Click(local, 0);
    }
    int16_t Menu(browser::TDocPlane* pane, int16_t command, int16_t item)
    {
        PushInteger(item);
        return pane->Do_Func(command);
    }
    FakeDocObject obj_;
};

// Every kind: the head, the text box and the record's rectangles; the
// plain kinds have no head and no mark.
TEST_F(DocEditor, BoxesFollowTheKind)
{
    Load("structure Geo date 2024-03-01\n");
    struct Case {
        uint32_t type;
        bool plain;
    } cases[] = {{FourCC("CCHE"), false}, {FourCC("FIHE"), false}, {0x48450003, false}, {FourCC("GRHE"), true},
                 {FourCC("QzTE"), true},  {FourCC("Qzte"), true},  {FourCC("QzHE"), true}};
    for (const Case& c : cases) {
        obj_.type = c.type;
        TEditDocWindow* w = Open(c.type == FourCC("QzHE") ? nullptr : &obj_);
        browser::TDocPlane* pane = DocPane(w);
        ASSERT_NE(pane, nullptr);
        EXPECT_EQ(R(pane->fRect), R(0, 0, 300, 400));
        Rect head{}, text{};
        pane->GetBox(&head, &text);
        const int top = c.plain ? 0 : 24;
        EXPECT_EQ(R(head), c.plain ? R(0, 0, -2, -2) : R(-1, 0, 22, 400)) << std::hex << c.type;
        EXPECT_EQ(R(text), R(top, 0, 285, 385));
        EXPECT_EQ(R(pane->checkbox()), c.plain ? R(0, 0, 0, 0) : R(5, 10, 16, 21));
        EXPECT_EQ(R((**pane->fTE).viewRect), R(text));
        EXPECT_EQ(R((**pane->fTE).destRect), R(top + 4, 10, 281, 375));
        Rect hBar{}, vBar{};
        pane->Bars(&hBar, &vBar);
        EXPECT_EQ(R(vBar), R(top - 1, 385, 286, 401));
        EXPECT_EQ(R(hBar), R(285, 16, 301, 386));
        EXPECT_EQ(R(pane->LockBox()), R(285, 0, 301, 16));
        // Drawn: the head's two lines frame its bottom edge; a plain kind's
        // text starts at the top.
        const uint32_t black = 0, white = 0xFFFFFF;
        EXPECT_EQ(Pixel(w, 200, 21), c.plain ? white : black);
        EXPECT_EQ(Pixel(w, 200, 22), white);
        EXPECT_EQ(Pixel(w, 200, 23), c.plain ? white : black);
        doc_.RemoveWindow(w);
        w->Dispose();
    }
}

// Three clicks bring the mark back; the window writes it as the state
// word, and writes nothing when neither the text nor the mark changed.
TEST_F(DocEditor, TheMarkCyclesAndIsWrittenOnlyWhenChanged)
{
    Load("structure Geo date 2024-03-01\n");
    obj_.storedState = 1;
    TEditDocWindow* w = Open(&obj_);
    browser::TDocPlane* pane = DocPane(w);
    const Rect box = pane->checkbox();
    const Point inside{int16_t(box.top + 5), int16_t(box.left + 5)};
    const int32_t expect[] = {2, 0, 1};
    for (int32_t e : expect) {
        Click(w, inside);
        EXPECT_EQ(pane->fMark, e);
    }
    // Mark 1 draws a cross; the box is framed either way.
    EXPECT_EQ(Pixel(w, box.left, box.top), 0u);
    EXPECT_EQ(Pixel(w, box.left + 5, box.top + 5), 0u) << "on the diagonal";
    EXPECT_EQ(Pixel(w, box.left + 2, box.top + 7), 0xFFFFFFu);
    // Pressed, the box's frame is two pixels thick.
    for (const bool hilited : {true, false}) {
        SetPortWindowPort(w->fWindow);
        pane->DrawCheck(0, hilited);
        const uint32_t second = hilited ? 0u : 0xFFFFFFu;
        EXPECT_EQ(Pixel(w, box.left, box.top + 5), 0u) << hilited;
        EXPECT_EQ(Pixel(w, box.left + 1, box.top + 5), second) << hilited;
        EXPECT_EQ(Pixel(w, box.left + 2, box.top + 5), 0xFFFFFFu) << hilited;
        EXPECT_EQ(Pixel(w, box.left + 5, box.top + 1), second) << hilited;
        EXPECT_EQ(Pixel(w, box.right - 2, box.top + 5), second) << hilited;
    }
    // The pointer away from the pane is none of its business.
    InputMouseMoved(Global(w, Point{int16_t(pane->fRect.bottom + 30), int16_t(pane->fRect.right + 30)}));
    EXPECT_FALSE(pane->Idle());
    InputMouseMoved(Global(w, Point{100, 100}));
    EXPECT_TRUE(pane->Idle());
    Close(w);
    // A window wide enough shows the label right of the box; a narrow one
    // leaves it out rather than under the date.
    for (const auto& [width, shown] : {std::pair{900, true}, std::pair{400, false}}) {
        TEditDocWindow* wide = Open(&obj_, int16_t(width));
        int ink = 0;
        for (int v = box.top; v < box.bottom; ++v)
            for (int h = box.right + 4; h < box.right + 60; ++h) ink += Pixel(wide, h, v) != 0xFFFFFF;
        EXPECT_EQ(ink > 10, shown) << width;
        Close(wide);
    }
    EXPECT_EQ(obj_.writes, 0) << "back where it started: nothing to write";
    w = Open(&obj_);
    Click(w, inside);
    Close(w);
    EXPECT_EQ(obj_.writes, 1);
    EXPECT_EQ(obj_.writtenState, 2);
    EXPECT_EQ(obj_.written, "Stored text");
    // Released outside the box: no change.
    w = Open(&obj_);
    pane = DocPane(w);
    const Point g = Global(w, inside);
    PlayPress(Script().Press(g.h, g.v).Move(g.h + 40, g.v).Release());
    pane->Click(inside, 0);
    EXPECT_EQ(pane->fMark, 1);
    Close(w);
    EXPECT_EQ(obj_.writes, 1);
}

// A structure from a server: read only until the lock is taken; a refused
// lock shows icon 1; documentation that did not exist is editable at once.
TEST_F(DocEditor, ServerDocumentationWaitsForItsLock)
{
    Load("structure Geo date 2024-03-01\n");
    doc_.fRemote = true;
    struct Case {
        int16_t answer;
        bool created;
        int16_t modeBefore, modeAfter;
        bool menu;
    } cases[] = {{0, false, 0, 2, true}, {5, false, 0, 1, false}, {-192, false, 0, 1, false}, {5, true, 2, 2, true}};
    for (const Case& c : cases) {
        obj_.lockAnswer = c.answer;
        obj_.created = c.created;
        TEditDocWindow* w = Open(&obj_);
        browser::TDocPlane* pane = DocPane(w);
        EXPECT_EQ(pane->fMode, c.modeBefore) << c.answer;
        EXPECT_EQ(GetMenuHandle(browser::kStyleMenuId) != nullptr, c.modeBefore == 2);
        SetPortWindowPort(w->fWindow);
        const Rect lock = pane->LockBox();
        pane->Click(Point{int16_t(lock.top + 8), int16_t(lock.left + 8)}, 0);
        EXPECT_EQ(pane->fMode, c.modeAfter) << c.answer;
        EXPECT_EQ(GetMenuHandle(browser::kStyleMenuId) != nullptr, c.menu) << c.answer;
        // The box shows icon `mode` of the lock list, bit for bit.
        Handle icons = GetResource(FourCC("SICN"), 131);
        ASSERT_NE(icons, nullptr);
        for (int v = 1; lock.top + v < pane->fRect.bottom; ++v)
            for (int h = 0; h < 16; ++h) {
                const uint8_t* row = reinterpret_cast<uint8_t*>(*icons) + 32 * pane->fMode + 2 * v;
                const bool set = (ReadBE16(row) >> (15 - h)) & 1;
                ASSERT_EQ(Pixel(w, lock.left + h, lock.top + v), set ? 0u : 0xFFFFFFu) << v << "," << h;
            }
        // Keys change nothing outside mode 2.
        const std::string before = Text(pane->fTE);
        pane->key(KeyEvent('z'));
        EXPECT_EQ(Text(pane->fTE) != before, c.modeAfter == 2);
        doc_.RemoveWindow(w);
        w->Dispose();
    }
    doc_.fRemote = false;
}

// Brought forward after the stored documentation changed (another user of
// the server), the window shows it, unless text typed there is not yet
// written: that is never thrown away.
TEST_F(DocEditor, AReactivationShowsWhatWasStoredMeanwhileButKeepsTyping)
{
    Load("structure Geo date 2024-03-01\n");
    for (const bool typed : {false, true}) {
        obj_.text = "Stored text";
        obj_.time = 1;
        TEditDocWindow* w = Open(&obj_);
        browser::TDocPlane* pane = DocPane(w);
        if (typed) pane->key(KeyEvent('z'));
        const std::string shown = Text(pane->fTE);
        obj_.text = "Stored elsewhere";
        obj_.time = 2;
        w->MakeInActive();
        w->MakeActive();
        EXPECT_EQ(Text(pane->fTE), typed ? shown : obj_.text) << typed;
        doc_.RemoveWindow(w);
        w->Dispose();
    }
    obj_.time = 0;
}

// Font, size, face and colour from the style menu change the selection's
// runs and nothing else; the face items follow the selection's start.
TEST_F(DocEditor, StylesChangeExactlyTheSelection)
{
    Load("structure Geo date 2024-03-01\n");
    obj_.text = "abcdefghij";
    TEditDocWindow* w = Open(&obj_);
    browser::TDocPlane* pane = DocPane(w);
    TEHandle te = pane->fTE;
    TESetSelect(2, 5, te);
    ASSERT_EQ(Menu(pane, 102, 2), 0);  // bold
    ASSERT_EQ(Menu(pane, 101, 4), 0);  // "14"
    RGBColor colour{};
    ASSERT_TRUE(GetEntryColor(globpalette, 4, &colour));
    ASSERT_EQ(Menu(pane, 103, 5), 0);
    ASSERT_GT(NbSFunc(100), 0) << "the font list";
    Str255 font;
    GetFuncItem(100, 1, font);
    int16_t fontNumber = 0;
    GetFNum(font, &fontNumber);
    ASSERT_EQ(Menu(pane, 100, 1), 0);
    for (int16_t at : {1, 2, 4, 5}) {
        TETextStyle s{};
        TEGetStyle(at, &s, nullptr, nullptr, te);
        const bool in = at >= 2 && at < 5;
        EXPECT_EQ(s.tsFace, in ? bold : normal) << at;
        EXPECT_EQ(s.tsSize == 14, in) << at;
        EXPECT_EQ(s.tsFont == fontNumber, in) << at;
        EXPECT_EQ(s.tsColor.red == colour.red && s.tsColor.green == colour.green && s.tsColor.blue == colour.blue, in)
            << at;
    }
    EXPECT_TRUE(pane->fModified);
    EXPECT_EQ(UndoCode(w->fUndo), browser::kUndoStyle);
    // The menu's face items: bold checked at a bold start, plain elsewhere.
    auto mark = [](int16_t item, int16_t command = 102) {
        MenuRef m = nullptr;
        int16_t i = 0;
        GetMItem(command, item, &m, &i);
        CharParameter c = 0;
        GetItemMark(m, MenuItemIndex(i), &c);
        return c;
    };
    EXPECT_EQ(mark(1), 0);
    EXPECT_EQ(mark(2), checkMark);
    EXPECT_EQ(mark(3), 0);
    // Only the selection's size is checked in the size menu.
    ASSERT_GE(NbSFunc(101), 5);
    for (int16_t i = 1; i <= NbSFunc(101); ++i) EXPECT_EQ(mark(i, 101), i == 4 ? checkMark : 0) << i;
    TESetSelect(7, 7, te);
    pane->SetStyleMenu();
    EXPECT_EQ(mark(1), checkMark);
    EXPECT_EQ(mark(2), 0);
    // Bold again over a bold start turns it off; plain clears every face.
    TESetSelect(2, 5, te);
    ASSERT_EQ(Menu(pane, 102, 3), 0);
    TETextStyle s{};
    TEGetStyle(3, &s, nullptr, nullptr, te);
    EXPECT_EQ(s.tsFace, bold | italic);
    ASSERT_EQ(Menu(pane, 102, 1), 0);
    TEGetStyle(3, &s, nullptr, nullptr, te);
    EXPECT_EQ(s.tsFace, normal);
    // No item on the stack: nothing happens.
    EXPECT_EQ(pane->Do_Func(102), 0);
    TEGetStyle(3, &s, nullptr, nullptr, te);
    EXPECT_EQ(s.tsFace, normal);
    // A size item is taken up to 512 points.
    MenuRef sizes = nullptr;
    int16_t first = 0;
    GetMItem(101, 1, &sizes, &first);
    Str255 kept;
    GetFuncItem(101, 1, kept);
    for (const auto& [text, size] : {std::pair{"\x03" "513", 14}, std::pair{"\x03" "512", 512}, std::pair{"\x01" "0", 512}}) {
        SetMenuItemText(sizes, MenuItemIndex(first), reinterpret_cast<const unsigned char*>(text));
        ASSERT_EQ(Menu(pane, 101, 1), 0);
        TEGetStyle(3, &s, nullptr, nullptr, te);
        EXPECT_EQ(s.tsSize, size) << text + 1;
    }
    SetMenuItemText(sizes, MenuItemIndex(first), kept);
}

// Select all takes the whole text; clearing it then leaves nothing to
// scroll.
TEST_F(DocEditor, SelectAllThenClearEmptiesTheTextAndItsScrolling)
{
    Load("structure Geo date 2024-03-01\n");
    std::string text;
    for (int i = 0; i < 60; ++i) text += "line " + std::to_string(i) + "\r";
    obj_.text = text;
    TEditDocWindow* w = Open(&obj_);
    browser::TDocPlane* pane = DocPane(w);
    TESetSelect(3, 3, pane->fTE);
    ASSERT_GT(GetControlMaximum(pane->fVScroll), 0);
    ASSERT_EQ(pane->Do_Func(26), 0);
    EXPECT_EQ((**pane->fTE).selStart, 0);
    EXPECT_EQ((**pane->fTE).selEnd, int16_t(text.size()));
    ASSERT_EQ(pane->Do_Func(25), 0);
    EXPECT_EQ((**pane->fTE).teLength, 0);
    EXPECT_EQ(GetControlMaximum(pane->fVScroll), 0);
}

// A paste that would make the text longer than 32,766 characters pastes
// nothing and says so; one that stays within goes in whole.
TEST_F(DocEditor, PastingUpToTheLimit)
{
    Load("structure Geo date 2024-03-01\n");
    obj_.text = "";
    TEditDocWindow* w = Open(&obj_);
    browser::TDocPlane* pane = DocPane(w);
    for (const int32_t length : {32000, 32001, 32765, 32766, 32767, 40000}) {
        TESetText("", 0, pane->fTE);
        pane->fModified = false;
        Scrap(std::string(size_t(length), 'p'));
        const int32_t alerts = AlertCount();
        EXPECT_EQ(pane->Do_Func(24), 0);
        const bool pasted = length <= 32766;
        EXPECT_EQ(std::tuple(Text(pane->fTE), pane->fModified, AlertCount() - alerts),
                  std::tuple(std::string(pasted ? size_t(length) : 0, 'p'), pasted, pasted ? 0 : 1))
            << length;
        if (!pasted) {
            EXPECT_EQ(LastAlert().text, KeptText(browser::kPasteRefusedText)) << length;
        }
    }
    // The selection a paste replaces counts out.
    const std::string before(32000, 'd');
    TESetText(before.data(), int32_t(before.size()), pane->fTE);
    pane->fModified = false;
    TESetSelect(32000, 32000, pane->fTE);
    Scrap(std::string(767, 'p'));
    EXPECT_EQ(pane->Do_Func(24), 0);
    EXPECT_EQ(std::tuple(Text(pane->fTE), pane->fModified), std::tuple(before, false));
    TESetSelect(31999, 32000, pane->fTE);
    Scrap(std::string(767, 'p'));
    EXPECT_EQ(pane->Do_Func(24), 0);
    EXPECT_EQ(Text(pane->fTE), std::string(31999, 'd') + std::string(767, 'p'));
    // Typing stops at the record's limit without a word.
    TESetSelect(0, 0, pane->fTE);
    pane->key(KeyEvent('a'));
    EXPECT_EQ((**pane->fTE).teLength, 32767);
    pane->key(KeyEvent('b'));
    EXPECT_EQ((**pane->fTE).teLength, 32767);
    pane->key(KeyEvent(8));
    EXPECT_EQ((**pane->fTE).teLength, 32766);
}

// Another program's text keeps its lines: CR LF, LF and CR are each one
// line end.
TEST_F(DocEditor, PastedLinesKeepOneLineEndEach)
{
    Load("structure Geo date 2024-03-01\n");
    obj_.text = "";
    browser::TDocPlane* pane = DocPane(Open(&obj_));
    for (const auto& [copied, pasted] : LineEndRows()) {
        TESetText("", 0, pane->fTE);
        OtherProgramCopies(copied);
        EXPECT_EQ(pane->Do_Func(24), 0);
        EXPECT_EQ(Text(pane->fTE), pasted) << copied;
    }
}

// Text from the desktop's input reaches the editor in Mac Roman; what Mac
// Roman lacks is refused with a beep, never typed as another character.
TEST_F(DocEditor, TextInputTypesWhatMacRomanHolds)
{
    Load("structure Geo date 2024-03-01\n");
    obj_.text = "";
    browser::TDocPlane* pane = DocPane(Open(&obj_));
    platform::testing::HeadlessRun run(
        Script().Text("\xC3\xA9 \xC3\xBC \xC3\x9F \xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80."));
    EventRecord e{};
    while (platform::testing::NextEvent(keyDownMask, &e, 20)) pane->key(e);
    EXPECT_EQ(Text(pane->fTE), "\x8E \x9F \xA7 \xDB  .");
    EXPECT_EQ(SysBeepCount(), 1u);
}

// A long paste draws nothing outside its window, even when another
// window's port was current as the editor opened; a paste of another
// program's text with characters a structure cannot hold says so.
TEST_F(DocEditor, APasteDrawsInItsWindowAndSaysWhatItReplaced)
{
    Load("structure Geo date 2024-03-01\n");
    obj_.text = "";
    Rect r{400, 500, 700, 900};
    WindowRef other = NewCWindow(nullptr, &r, reinterpret_cast<const unsigned char*>("\x05" "Other"), true,
                                 documentProc, reinterpret_cast<WindowRef>(-1), false, 0);
    SetPortWindowPort(other);
    Rect all{};
    GetPortBounds(GetWindowPort(other), &all);
    EraseRect(&all);
    const auto pixels = [&] {
        const BitMap* bm = GetPortBitMapForCopyBits(GetWindowPort(other));
        const auto* base = reinterpret_cast<const uint8_t*>(bm->baseAddr);
        return std::vector<uint8_t>(base, base + (bm->rowBytes & kRowBytesMask) * (all.bottom - all.top));
    };
    const std::vector<uint8_t> before = pixels();
    TEditDocWindow* w = Open(&obj_);
    browser::TDocPlane* pane = DocPane(w);
    std::string words;
    while (words.size() < 20000) words += "paste ";
    Scrap(words);
    EXPECT_EQ(pane->Do_Func(24), 0);
    EXPECT_EQ(Text(pane->fTE), words);
    EXPECT_TRUE(pixels() == before) << "the paste drew in another window";

    SetSubstitutedPasteNotice(SaySubstitutedPaste);
    TESetText("", 0, pane->fTE);
    ExternalClipboardChanged("\xE6\x97\xA5 e\xCC\x81");  // é decomposed
    const int32_t alerts = AlertCount();
    {
        platform::testing::HeadlessRun run(Script().Wait(5).Choose(1).Wait(5));
        EXPECT_EQ(pane->Do_Func(24), 0);
        EXPECT_EQ(run.watchdogMessage, "");
    }
    SetSubstitutedPasteNotice(nullptr);
    EXPECT_EQ(Text(pane->fTE), "? \x8E");
    EXPECT_EQ(AlertCount(), alerts + 1);
    unsigned char said[256];
    MyGetIndString(said, 1036, 2);
    EXPECT_EQ(LastAlert().text, std::string(reinterpret_cast<const char*>(said + 1), said[0]));
    DisposeWindow(other);
}

// Cut, then undo twice: the text and the clipboard go back, then forward.
TEST_F(DocEditor, UndoSwapsTheTextAndTheClipboard)
{
    Load("structure Geo date 2024-03-01\n");
    obj_.text = "keep THIS word";
    TEditDocWindow* w = Open(&obj_);
    browser::TDocPlane* pane = DocPane(w);
    Scrap("before");
    TESetSelect(5, 10, pane->fTE);
    ASSERT_EQ(pane->Do_Func(22), 0);
    EXPECT_EQ(Text(pane->fTE), "keep word");
    ASSERT_EQ(w->Do_Func(21), 0) << "Undo reaches the pane";
    EXPECT_EQ(Text(pane->fTE), "keep THIS word");
    TEFromScrap();
    EXPECT_EQ(TEGetScrapLength(), 6) << "the clipboard as before the cut";
    ASSERT_EQ(w->Do_Func(21), 0);
    EXPECT_EQ(Text(pane->fTE), "keep word");
    TEFromScrap();
    EXPECT_EQ(TEGetScrapLength(), 5);
}

// Memory running short at each allocation in turn while a cut keeps its
// text for undo: undo then brings back the text from just before the cut,
// or refuses and leaves Undo disabled; never the older text an earlier cut
// kept.
TEST_F(DocEditor, AShortageWhileKeepingTheUndoTextNeverBringsBackAnOlderOne)
{
    Load("structure Geo date 2024-03-01\n");
    obj_.text = "old";
    TEditDocWindow* w = Open(&obj_);
    browser::TDocPlane* pane = DocPane(w);
    const int refused = CutUnderShortage(pane, w, "ab cd", "a much longer second text",
                                         [&] { EXPECT_EQ(UndoTxtNum(w->fUndo), kNothingToUndo); });
    EXPECT_GT(refused, 0) << "a shortage reached the kept text";
}

// Memory running short at each allocation in turn during undo: the text
// is either left as it was, with undo still to come, or swapped with redo
// still able to go forward; no text is lost either way.
TEST_F(DocEditor, AShortageDuringUndoLosesNoText)
{
    Load("structure Geo date 2024-03-01\n");
    obj_.text = "old";
    TEditDocWindow* w = Open(&obj_);
    browser::TDocPlane* pane = DocPane(w);
    const std::string whole = "keep THIS word", cut = "keep word";
    int unchanged = 0;
    for (int32_t after = 0;; ++after) {
        SCOPED_TRACE(after);
        TESetText(whole.data(), int32_t(whole.size()), pane->fTE);
        TESetSelect(5, 10, pane->fTE);
        ASSERT_EQ(pane->Do_Func(22), 0);
        ASSERT_EQ(Text(pane->fTE), cut);
        bool fired = false;
        {
            ScopedFault fault(FaultKind::Allocation, after);
            ASSERT_EQ(w->Do_Func(21), 0);
            fired = !IsFaultArmed(FaultKind::Allocation);
        }
        if (Text(pane->fTE) == cut) {
            ++unchanged;
            EXPECT_NE(UndoTxtNum(w->fUndo), kNothingToUndo);
            ASSERT_EQ(w->Do_Func(21), 0);
            EXPECT_EQ(Text(pane->fTE), whole);
        } else {
            EXPECT_EQ(Text(pane->fTE), whole);
            ASSERT_EQ(w->Do_Func(21), 0);
            const std::string redone = Text(pane->fTE);
            EXPECT_TRUE(redone == cut || (redone == whole && UndoTxtNum(w->fUndo) == kNothingToUndo)) << redone;
        }
        if (!fired) break;
    }
    EXPECT_GT(unchanged, 0) << "a shortage reached the swap";
}

// The copy between records grows every handle of the target first: at
// each allocation in turn it either fails with the target as it was (text,
// length, selection, style record and table) or copies all of it.
TEST_F(DocEditor, ACopyThatRunsShortLeavesTheTargetAsItWas)
{
    Load("structure Geo date 2024-03-01\n");
    TEditDocWindow* w = Open(&obj_);
    SetPortWindowPort(w->fWindow);
    const Rect none{0, 0, 0, 0};
    TEHandle from = TEStyleNew(&none, &none), to = TEStyleNew(&none, &none);
    ASSERT_TRUE(from && to);
    auto bytes = [](Handle h) { return h ? std::string(*h, size_t(GetHandleSize(h))) : std::string(); };
    auto state = [&](TEHandle te) {
        return Text(te) + "|" + std::to_string((**te).selStart) + "-" + std::to_string((**te).selEnd) + "|" +
               bytes(TEGetStyleHandle(te)) + "|" + bytes(TEGetStyleTableHandle(te));
    };
    const std::string source = "styled text of three runs";
    TESetText(source.data(), int32_t(source.size()), from);
    TETextStyle heavy{};
    heavy.tsFace = bold;
    TESetSelect(7, 11, from);
    TESetStyle(doFace, &heavy, false, from);
    TETextStyle big{};
    big.tsSize = 24;
    TESetSelect(15, 20, from);
    TESetStyle(doSize, &big, false, from);
    TESetSelect(2, 9, from);
    ASSERT_EQ(ReadBE16(*TEGetStyleHandle(from)), 5) << "five runs";
    int failed = 0;
    for (int32_t after = 0;; ++after) {
        SCOPED_TRACE(after);
        TESetText("x", 1, to);
        TESetSelect(1, 1, to);
        const std::string before = state(to);
        bool copied = false, fired = false;
        {
            ScopedFault fault(FaultKind::Allocation, after);
            copied = browser::TextEditCopy(from, to);
            fired = !IsFaultArmed(FaultKind::Allocation);
        }
        if (copied) {
            EXPECT_EQ(state(to), state(from));
        } else {
            ++failed;
            EXPECT_EQ(state(to), before);
        }
        if (!fired) break;
    }
    EXPECT_GE(failed, 2) << "the text and a style handle ran short";
    EXPECT_TRUE(browser::TextEditCopy(from, from));
    EXPECT_FALSE(browser::TextEditCopy(from, nullptr));
    // The lines are laid out at once.
    const std::string lines = "one\rtwo\rthree";
    TESetText(lines.data(), int32_t(lines.size()), from);
    const int16_t linesBefore = (**to).nLines;
    ASSERT_TRUE(browser::TextEditCopy(from, to));
    EXPECT_EQ((**to).nLines, (**from).nLines);
    EXPECT_NE((**to).nLines, linesBefore);
    // A record without its text handle takes nothing.
    Handle text = (**to).hText;
    (**to).hText = nullptr;
    EXPECT_FALSE(browser::TextEditCopy(from, to));
    (**to).hText = text;
    EXPECT_EQ(Text(to), lines);
    // Between a styled and a plain record only the text and selection go.
    TEHandle plain = TENew(&none, &none);
    ASSERT_TRUE(plain);
    TESetSelect(4, 7, from);
    EXPECT_TRUE(browser::TextEditCopy(from, plain));
    EXPECT_EQ(Text(plain), lines);
    EXPECT_EQ((**plain).selStart, 4);
    EXPECT_EQ((**plain).selEnd, 7);
    TESetText("plain", 5, plain);
    EXPECT_TRUE(browser::TextEditCopy(plain, from));
    EXPECT_EQ(Text(from), "plain");
    TEDispose(plain);
    TEDispose(from);
    TEDispose(to);
}

// One key in the middle of a long text draws its own line and the one
// before it again, nothing else.
TEST_F(DocEditor, TypingRedrawsOnlyTheEditedLines)
{
    Load("structure Geo date 2024-03-01\n");
    std::string text;
    while (text.size() < 30000) text += text.size() % 400 < 380 ? "word " : "\r";
    text.resize(30000);
    obj_.text = text;
    TEditDocWindow* w = Open(&obj_, 400, 600);
    browser::TDocPlane* pane = DocPane(w);
    TESetSelect(15000, 15000, pane->fTE);
    pane->DocSelView();
    w->update(EventRecord{});
    Rect head{}, box{};
    pane->GetBox(&head, &box);
    SetPortWindowPort(w->fWindow);
    InvertRect(&box);
    const int16_t line = int16_t(TEGetHeight(1, 1, pane->fTE));
    pane->key(KeyEvent('x'));
    int redrawn = 0;
    for (int v = box.top; v < box.bottom; ++v)
        if (Pixel(w, box.right - 12, v) == 0xFFFFFF) ++redrawn;
    EXPECT_GT(redrawn, 0);
    EXPECT_LE(redrawn, 2 * line) << "rows of " << line << "-pixel lines drawn again";
}

}  // namespace
}  // namespace browsertest
