// The text-edit frame: property bits, rebuilding the editor when multiline
// changes, the password font, the changed flag under scripted keys, drops
// within the field, and the editor following a scrolled parent (pixels).
#include <memory>
#include <string>

#include "platform/core/Endian.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/scrap/Scrap.h"
#include "tests/toolbox/views/ViewsTestSupport.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/views/VDragScrap.h"
#include "toolbox/views/VDragger.h"
#include "toolbox/views/VFrameTextEdit.h"
#include "toolbox/views/VScrolledView.h"
#include "toolbox/views/VViewScroller.h"

namespace {

using namespace viewstest;

constexpr ENTE_properties kField = kEnteEnabled | kEnteVisible;

std::u16string TextOf(VFrameTextEdit& f) { return f.GetEditor()->GetText(); }

void SetText(VFrameTextEdit& f, const char* text)
{
    VText t;
    t.FromCString(reinterpret_cast<const uint8_t*>(text), kCharSetMac);
    f.SetText(t);
}

class FrameTextEditTest : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        window = MakeWindow(40, 40, 300, 200);
    }
    void TearDown() override
    {
        delete window;
        ViewsTest::TearDown();
    }
    VFrameTextEdit* Field(ENTE_properties p, int32_t x = 10, int32_t y = 10, int32_t w = 200, int32_t h = 24,
                          VView* parent = nullptr)
    {
        const VRect r(x, y, w, h);
        return new VFrameTextEdit(parent ? parent : window, p, &r);
    }
    static int32_t Key(VFrameTextEdit& f, uint8_t c, uint16_t modifiers = 0)
    {
        VKeySwitch key;
        EXPECT_TRUE(key.FromEvent(KeyEvent(c, 0, modifiers), true));
        return f.DoKey(key);
    }
    void Paint()
    {
        VPainter* p = window->GetPainter();
        window->DoPaintChildren(p);
        window->ReleasePainter();
    }
    // The pixels of a rectangle of the window, row by row.
    std::vector<uint32_t> Pixels(int32_t x, int32_t y, int32_t w, int32_t h)
    {
        std::vector<uint32_t> out;
        for (int32_t r = y; r < y + h; ++r)
            for (int32_t c = x; c < x + w; ++c) out.push_back(Pixel(window, c, r));
        return out;
    }
    int32_t Ink(int32_t x, int32_t y, int32_t w, int32_t h)
    {
        int32_t n = 0;
        for (uint32_t p : Pixels(x, y, w, h)) n += p != 0xFFFFFF;
        return n;
    }

    VWindow* window = nullptr;
};

TEST_F(FrameTextEditTest, PropertyBitsMapToTheEditorsAndWordWrapIsNeverReported)
{
    EXPECT_EQ(VFrameTextEdit::_ConvertToNativeFlags(0x1), 0x2);
    EXPECT_EQ(VFrameTextEdit::_ConvertToNativeFlags(0x200), 0x400);
    EXPECT_EQ(VFrameTextEdit::_ConvertToNativeFlags(0xF80000), 0xF80000);
    EXPECT_EQ(VFrameTextEdit::_ConvertToNativeFlags(0x40000), 0);
    EXPECT_EQ(VFrameTextEdit::_ConvertToNativeFlags(0x20000), 0x40000);

    VFrameTextEdit* f = Field(kField | kEnteWordWrap | kEnteMultiline | kEnteTabbable);
    EXPECT_TRUE(f->GetEditor()->GetProperty(kPropWordWrap));
    const ENTE_properties all = f->GetProperties();
    EXPECT_EQ(all & kEnteWordWrap, 0);
    EXPECT_EQ(all & (kEnteMultiline | kEnteTabbable | kEnteVisible | kEnteEnabled),
              kEnteMultiline | kEnteTabbable | kEnteVisible | kEnteEnabled);
    f->SetProperty(kEnteReadOnly, 1);
    EXPECT_EQ(f->GetProperty(kEnteReadOnly), 1);
    EXPECT_EQ(f->GetProperty(kEnteReadOnly | kEnteTabbable), 0) << "one bit at a time";
    f->SetProperty(kEntePrintVarFrame, 1);
    EXPECT_EQ(f->GetProperty(kEntePrintVarFrame), 1);
}

TEST_F(FrameTextEditTest, ChangingMultilineRebuildsTheEditorKeepingWhatItShowed)
{
    VFrameTextEdit* f = Field(kField | kEnteMultiStyle | kEntePrintVarFrame);
    f->SetFocusable(true);
    SetText(*f, "hello world");
    f->SetBold(true, kEnteAllText);
    f->GetEditor()->SetAllTextUnderLine(true);
    f->SetTextColor(0x00336699, kEnteAllText);
    f->SetJustification(2, kEnteAllText);
    f->GetEditor()->SetBackColor(0x00CCDDEE);
    f->AskFocus();
    ASSERT_TRUE(f->HasFocus());
    f->Select(2, 5);
    // A rebuilt single-line editor scrolls sideways on its own; this one
    // was made without it, so it is still the first editor.
    f->SetProperty(kEnteMultiline, 0);
    EXPECT_EQ(f->GetEditor()->GetProperty(kPropHAutoScroll), 0) << "the same value keeps the editor";

    // An editor's multiline is fixed when it is made: a multiline editor
    // here is a new one, with the line-wise properties that go with it.
    f->SetProperty(kEnteMultiline, 1);
    NativeTextEditMac* e = f->GetEditor();
    EXPECT_EQ(e->GetProperty(kPropMultiline), 1);
    EXPECT_EQ(e->GetProperty(kPropWantReturn), 1);
    EXPECT_EQ(e->GetProperty(kPropWordWrap), 1);
    EXPECT_EQ(e->GetProperty(kPropVAutoScroll), 1);
    EXPECT_EQ(TextOf(*f), u"hello world");
    EXPECT_EQ(e->GetAllTextBold(), 1);
    EXPECT_EQ(e->GetAllTextUnderLine(), 1);
    EXPECT_EQ(e->GetAllTextItalic(), 0);
    EXPECT_EQ(e->GetAllTextColor(), 0x00336699);
    EXPECT_EQ(e->GetBackColor(), 0x00CCDDEE);
    EXPECT_EQ(f->GetJustification(), 2);
    EXPECT_TRUE(e->GetVisible());
    EXPECT_TRUE(e->HasFocus());
    EXPECT_EQ(e->GetProperty(kPropPrintVarFrame), 1);
    int32_t s = 0, t = 0;
    f->GetSelection(s, t);
    EXPECT_EQ(s, 2);
    EXPECT_EQ(t, 5);
}

TEST_F(FrameTextEditTest, ThePasswordFontShowsBulletsAndOnlyItsOwnEchoGoesOff)
{
    VFrameTextEdit* f = Field(kField);
    VFrameTextEdit* bullets = Field(kField, 10, 60);
    SetText(*f, "abc");
    bullets->GetEditor()->SetUnicode(u"\u2022\u2022\u2022", 3, false);
    f->SetFont(kPasswordFontID, kEnteAllText);
    EXPECT_EQ(f->GetProperty(kEntePassword), 1);
    Paint();
    EXPECT_GT(Ink(10, 10, 200, 24), 0);
    EXPECT_EQ(Pixels(10, 10, 200, 24), Pixels(10, 60, 200, 24)) << "bullets where the text is";
    EXPECT_EQ(TextOf(*f), u"abc");

    f->SetFont(3, kEnteAllText);
    EXPECT_EQ(f->GetProperty(kEntePassword), 0);
    Paint();
    EXPECT_NE(Pixels(10, 10, 200, 24), Pixels(10, 60, 200, 24)) << "the text again";

    // A password the owner set stays whatever font comes.
    f->SetProperty(kEntePassword, 1);
    f->SetFont(3, kEnteAllText);
    EXPECT_EQ(f->GetProperty(kEntePassword), 1);
    f->SetFont(kPasswordFontID, kEnteAllText);
    f->SetFont(3, kEnteAllText);
    EXPECT_EQ(f->GetProperty(kEntePassword), 1);
}

TEST_F(FrameTextEditTest, ATransparentFieldDrawsItsOwnBoxUntilItHasTheFocus)
{
    VFrameTextEdit* f = Field(kField | kEnteTransparent);
    VFrameTextEdit* plain = Field(kField, 10, 60);
    f->SetFocusable(true);
    SetText(*f, "label");
    SetText(*plain, "label");
    auto shown = [&] {
        platform::TXNControlTag tag = platform::kTXNVisibilityTag;
        platform::TXNControlData data{};
        platform::TXNGetTXNObjectControls(f->GetEditor()->GetObject(), 1, &tag, &data);
        return data.uValue;
    };
    EXPECT_EQ(shown(), 0u) << "the editor object stays hidden";
    Paint();
    EXPECT_GT(Ink(10, 10, 200, 24), 0) << "the box drawn by the field itself";
    f->AskFocus();
    EXPECT_EQ(shown(), 1u);
    EXPECT_EQ(f->GetProperty(kEnteTransparent), 0) << "opaque while focused";
    plain->SetFocusable(true);
    plain->AskFocus();
    EXPECT_EQ(shown(), 0u);
    EXPECT_EQ(f->GetProperty(kEnteTransparent), 1);
}

TEST_F(FrameTextEditTest, OnlyKeysThatChangeTheTextSetTheChangedFlag)
{
    VFrameTextEdit* f = Field(kField);
    SetText(*f, "abc");
    f->Select(1, 1);
    for (uint8_t c : {28, 29, 30, 31, 11, 12, 1, 4}) {
        EXPECT_EQ(Key(*f, c), 0) << int(c);
        EXPECT_FALSE(f->IsChanged()) << int(c);
    }
    EXPECT_EQ(Key(*f, 27), 1) << "Escape reaches the window";
    EXPECT_EQ(Key(*f, 9), 1) << "Tab reaches the focus manager";
    EXPECT_EQ(Key(*f, 13), 1) << "Return reaches the window";
    EXPECT_EQ(Key(*f, 'c', platform::cmdKey), 1);
    EXPECT_FALSE(f->IsChanged());
    EXPECT_EQ(Key(*f, 'x'), 0);
    EXPECT_TRUE(f->IsChanged());
    EXPECT_EQ(TextOf(*f), u"abcx") << "End left the caret at the end";

    f->SetFontSize(0, kEnteAllText);
    char name[256] = {};
    int32_t size = 0;
    f->GetEditor()->GetAllTextFont(name, &size, nullptr);
    EXPECT_EQ(size, 12);

    // Mixed bold: the frame answers 1 and leaves the value alone.
    VFrameTextEdit* styled = Field(kField | kEnteMultiStyle, 10, 60);
    SetText(*styled, "abcd");
    styled->Select(0, 2);
    styled->SetBold(true, kEnteSelection);
    styled->Select(1, 3);
    int16_t value = 7;
    EXPECT_EQ(styled->GetBold(value, kEnteSelection), 1);
    EXPECT_EQ(value, 7);
    styled->Select(0, 1);
    EXPECT_EQ(styled->GetBold(value, kEnteSelection), 0);
    EXPECT_EQ(value, 1);
}

TEST_F(FrameTextEditTest, ScriptedTypingTabsToTheNextFieldAndAMultilineFieldTakesReturn)
{
    VFrameTextEdit* first = Field(kField);
    VFrameTextEdit* second = Field(kField | kEnteMultiline | kEnteWantReturn, 10, 60, 200, 60);
    first->SetFocusable(true);
    second->SetFocusable(true);
    platform::Script script;
    ASSERT_TRUE(script.Key("tab"));
    script.Type("ab");
    ASSERT_TRUE(script.Key("return"));
    ASSERT_TRUE(script.Key("tab"));
    script.Type("cd");
    ASSERT_TRUE(script.Key("return"));
    script.Type("e");
    RunScript(std::move(script));
    EXPECT_EQ(TextOf(*first), u"ab") << "Return left the single-line field to the window";
    EXPECT_EQ(TextOf(*second), u"cd\re");
    EXPECT_TRUE(second->HasFocus());
    EXPECT_TRUE(first->IsChanged());
}

// What a drop handler is handed: the offset, the bytes, their kind and the
// first byte of the drop's information.
struct Seen {
    int32_t first;
    std::string second;
    NativeTypeText kind;
    uint8_t info;
};

// A drop handler that inserts what was dropped, as the field's owners do.
int32_t InsertDrop(VFrameTextEdit* frame, VFrameTextEditDropInfo& info, void* data)
{
    auto* seen = static_cast<std::vector<Seen>*>(data);
    seen->push_back({info.fOffset, std::string(reinterpret_cast<char*>(info.fBytes), size_t(info.fLength) + 2),
                     info.fKind, info.fInfo[0]});
    std::u16string units(size_t(info.fLength) / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) units[i] = char16_t(platform::ReadBE16(info.fBytes + i * 2));
    VText text;
    text.FromUniBlock(units.data(), 0, int32_t(units.size()));
    frame->DropData(text, info.fOffset, info.fSameEditor, false, !info.fSameEditor, false);
    return 1;
}

TEST_F(FrameTextEditTest, TextDraggedWithinTheFieldLandsWhereTheUserSawIt)
{
    VFrameTextEdit* f = Field(kField | kEnteDragDrop);
    std::vector<Seen> seen;
    f->SetDropHandler(InsertDrop, &seen);
    SetText(*f, "abcdef");
    f->Select(1, 3);
    VClic click(KeyEvent(0, 0), window->GetParentMacHwnd());
    VDragDropDragger dragger(f, click);
    const uint8_t bc[] = {0, 'b', 0, 'c'};
    ASSERT_TRUE(dragger.GetScrap()->PutData(platform::kTXNUnicodeTextData, bc, 4));
    ASSERT_TRUE(f->CanAcceptDrop(&dragger, VPoint(0, 0)));
    auto at = [&](int32_t offset) {
        int32_t x = 0, y = 0;
        f->GetEditor()->GetPosFromCharOffset(offset, x, y);
        return VPoint(x + 1, y + 2);
    };
    DragDropInfo info;
    // Strictly inside the dragged selection: refused.
    f->DoDrop(&dragger, at(2), info);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(TextOf(*f), u"abcdef");

    info.extra[0] = 7;
    f->DoDrop(&dragger, at(5), info);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].first, 5);
    EXPECT_EQ(seen[0].kind, kNativeTextUnicode);
    EXPECT_EQ(seen[0].info, 7);
    EXPECT_EQ(seen[0].second, std::string("\0b\0c\0\0", 6)) << "the bytes and two zeros";
    EXPECT_EQ(TextOf(*f), u"adebcf");
    int32_t s = 0, t = 0;
    f->GetSelection(s, t);
    EXPECT_EQ(s, 3);
    EXPECT_EQ(t, 5);
    EXPECT_TRUE(f->IsChanged());

    // Lines dropped from elsewhere: the first one only, CR or LF alike.
    for (const char* lines : {"x\ry", "x\ny"}) {
        VText dropped;
        dropped.FromCString(reinterpret_cast<const uint8_t*>(lines), kCharSetMac);
        SetText(*f, "abc");
        f->DropData(dropped, 0, false, false, true, false);
        EXPECT_EQ(TextOf(*f), u"xabc");
    }
    // A place past the end is the end.
    VText tail;
    tail.FromCString(reinterpret_cast<const uint8_t*>("z"), kCharSetMac);
    f->DropData(tail, 99, false, false, true, false);
    EXPECT_EQ(TextOf(*f), u"xabcz");
    f->GetSelection(s, t);
    EXPECT_EQ(s, 4);
    EXPECT_EQ(t, 5);

    f->SetProperty(kEnteEnabled, 0);
    EXPECT_FALSE(f->CanAcceptDrop(&dragger, VPoint(0, 0)));
}

TEST_F(FrameTextEditTest, ADropCaretFollowsThePointerAndLeavesNoTrace)
{
    VFrameTextEdit* f = Field(kField | kEnteDragDrop);
    SetText(*f, "abcdefghijklmnopqrstuvwxyz");
    f->Select(1, 3);
    VClic click(KeyEvent(0, 0), window->GetParentMacHwnd());
    VDragDropDragger dragger(f, click);
    auto at = [&](int32_t offset) {
        int32_t x = 0, y = 0;
        f->GetEditor()->GetPosFromCharOffset(offset, x, y);
        return VPoint(x + 1, y + 2);
    };
    // The caret's line height is also an offset in the text: the caret
    // moves there from elsewhere all the same.
    int32_t lw = 0, lh = 0;
    f->GetEditor()->GetLineMetrics(0, lw, lh);
    ASSERT_GT(lh, 2);
    ASSERT_LT(lh, 26);
    Paint();
    const std::vector<uint32_t> plain = Pixels(0, 0, 300, 60);
    DragDropInfo info;
    f->DoHiliteDrop(&dragger, at(lh), 0, info);
    const std::vector<uint32_t> shown = Pixels(0, 0, 300, 60);
    EXPECT_NE(shown, plain) << "a caret shows";
    f->DoHiliteDrop(&dragger, at(lh), 1, info);
    EXPECT_EQ(Pixels(0, 0, 300, 60), plain) << "leaving takes it off";
    f->DoHiliteDrop(&dragger, at(2), 0, info);
    f->DoHiliteDrop(&dragger, at(lh), 0, info);
    EXPECT_EQ(Pixels(0, 0, 300, 60), shown) << "only the last caret stays";
    f->DoHiliteDrop(&dragger, at(lh), 1, info);

    // The drag image: as large as the field, with only the selected
    // characters inked.
    platform::GWorldPtr image = f->BuildImageForDrag();
    ASSERT_NE(image, nullptr);
    platform::Rect bounds{};
    platform::GetPortBounds(image, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 200);
    EXPECT_EQ(bounds.bottom - bounds.top, 24);
    int32_t from = 0, to = 0, y0 = 0;
    f->GetEditor()->GetPosFromCharOffset(1, from, y0);
    f->GetEditor()->GetPosFromCharOffset(3, to, y0);
    int32_t selected = 0, others = 0;
    for (int32_t y = 0; y < 24; ++y)
        for (int32_t x = 0; x < 200; ++x)
            if (paintertest::PixelAt(image, x, y) != 0xFFFFFF) ++(x >= from && x < to ? selected : others);
    EXPECT_GT(selected, 0);
    EXPECT_EQ(others, 0);
    platform::DisposeGWorld(image);

    // The editor answers a drop strictly inside the dragged text as refused.
    platform::Rect view{};
    f->GetEditor()->GetViewRect(view);
    const VPoint inside = at(2);
    int32_t x = 0, y = 0;
    inside.GetPos(x, y);
    EXPECT_FALSE(f->GetEditor()->DoDrop(&dragger, VPoint(view.left + x, view.top + y), info));
    EXPECT_EQ(TextOf(*f), u"abcdefghijklmnopqrstuvwxyz");
}

TEST_F(FrameTextEditTest, AFieldInAScrolledViewIsShownAtItsNewPlaceAfterAScroll)
{
    auto* scroller = new VViewScroller(window, true, false, false);
    auto* view = new VScrolledView(scroller);
    scroller->SetUserFrame(view, false);
    scroller->SetSize(300, 200, kRedrawNone);
    view->SetVirtualSize(300, 600, true, kRedrawNone);
    VFrameTextEdit* f = Field(kField, 10, 100, 150, 24, view);
    SetText(*f, "scrolled");
    Paint();
    EXPECT_GT(Ink(10, 100, 150, 24), 0);
    const std::vector<uint32_t> before = Pixels(10, 100, 150, 24);

    view->SetVirtualPos(0, 60, false, kRedrawNone);
    platform::Rect r{};
    f->GetEditor()->GetViewRect(r);
    EXPECT_EQ(r.top, 40);
    // Everything painted afresh: the text is where the frame now is.
    platform::Rect all{0, 0, 200, 300};
    platform::SetPort(platform::GetWindowPort(window->GetParentMacHwnd()));
    platform::EraseRect(&all);
    Paint();
    EXPECT_EQ(Pixels(10, 40, 150, 24), before);
}

}  // namespace
