// The native editor: scripted keys, clipboard text cut to one line and kept
// as Mac Roman, precomposed text across undo and redo, styles of mixed
// ranges, colours, the property table's edges and the text handed back to
// callers.
#include <cstring>
#include <string>
#include <tuple>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/scrap/Scrap.h"
#include "tests/toolbox/views/ViewsTestSupport.h"
#include "toolbox/views/NativeTextEditMac.h"

namespace {

using namespace viewstest;

class NativeTextEditTest : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        window = MakeWindow(40, 40, 300, 200);
    }
    void TearDown() override
    {
        delete window;
        platform::ClearCurrentScrap();
        ViewsTest::TearDown();
    }

    NativeTextEditMac* Make(int32_t flags)
    {
        const platform::Rect r{10, 10, 40, 210};
        return new NativeTextEditMac(r, window->GetParentMacHwnd(), flags | kNativeEnabled);
    }
    static void Set(NativeTextEditMac& e, const std::u16string& text)
    {
        e.SetUnicode(text.data(), int32_t(text.size()), false);
    }
    // The key through the key switch, as the window hands it on.
    static bool Key(NativeTextEditMac& e, uint8_t c, uint16_t modifiers = 0)
    {
        VKeySwitch key;
        EXPECT_TRUE(key.FromEvent(KeyEvent(c, 0, modifiers), true));
        return e.DoKey(key);
    }
    static void PutClipboard(const std::u16string& text)
    {
        platform::ClearCurrentScrap();
        platform::ScrapRef scrap = nullptr;
        ASSERT_EQ(platform::GetCurrentScrap(&scrap), platform::noErr);
        std::string bytes(text.size() * 2, '\0');
        for (size_t i = 0; i < text.size(); ++i)
            platform::WriteBE16(reinterpret_cast<uint8_t*>(&bytes[i * 2]), text[i]);
        ASSERT_EQ(platform::PutScrapFlavor(scrap, platform::kTXNUnicodeTextData, 0, platform::Size(bytes.size()),
                                           bytes.data()),
                  platform::noErr);
    }

    VWindow* window = nullptr;
};

TEST_F(NativeTextEditTest, DeletingKeysArrowsAndWhatASingleLineFieldLeavesToTheWindow)
{
    std::unique_ptr<NativeTextEditMac> e(Make(0));
    Set(*e, u"abc");
    e->Select(1, 1);
    EXPECT_TRUE(Key(*e, 8));
    EXPECT_EQ(e->GetText(), u"bc");
    e->Select(0, 0);
    EXPECT_TRUE(Key(*e, 127));
    EXPECT_EQ(e->GetText(), u"c");

    Set(*e, u"");
    for (uint8_t arrow : {28, 29, 30, 31}) EXPECT_TRUE(Key(*e, arrow));
    EXPECT_EQ(e->GetText(), u"");

    // Tab, Return, Enter, Escape, a function key and command keys are not
    // the field's: nothing goes in and the window gets them.
    for (uint8_t c : {9, 13, 3, 27, 16}) EXPECT_FALSE(Key(*e, c)) << int(c);
    EXPECT_FALSE(Key(*e, 'v', platform::cmdKey));
    EXPECT_EQ(e->GetText(), u"");
    EXPECT_TRUE(Key(*e, 'x'));
    EXPECT_EQ(e->GetText(), u"x");

    std::unique_ptr<NativeTextEditMac> multi(Make(kNativeMultiline | kNativeTabbable));
    EXPECT_TRUE(Key(*multi, 'a'));
    EXPECT_TRUE(Key(*multi, 13));
    EXPECT_TRUE(Key(*multi, 9));
    EXPECT_EQ(multi->GetText(), u"a\r\t");
}

int gSubstitutedPastes = 0;

TEST_F(NativeTextEditTest, APasteIsCutToOneLineInASingleLineFieldAndKeptAsMacRoman)
{
    gSubstitutedPastes = 0;
    platform::SetSubstitutedPasteNotice([] { ++gSubstitutedPastes; });
    std::unique_ptr<NativeTextEditMac> e(Make(0));
    for (const std::u16string clip : {u"ab\rcd", u"ab\ncd", u"ab\r\ncd"}) {
        Set(*e, u"");
        PutClipboard(clip);
        e->DoPaste();
        EXPECT_EQ(e->GetText(), u"ab");
    }
    // Plain Mac Roman text on the clipboard, from its first byte.
    Set(*e, u"");
    platform::ClearCurrentScrap();
    platform::ScrapRef scrap = nullptr;
    ASSERT_EQ(platform::GetCurrentScrap(&scrap), platform::noErr);
    ASSERT_EQ(platform::PutScrapFlavor(scrap, platform::kTXNTextData, 0, 5, "\x8A" "b\rcd"), platform::noErr);
    e->DoPaste();
    EXPECT_EQ(e->GetText(), u"\u00E4b");
    std::unique_ptr<NativeTextEditMac> multi(Make(kNativeMultiline));
    PutClipboard(u"ab\rcd");
    multi->DoPaste();
    EXPECT_EQ(multi->GetText(), u"ab\rcd");
    // The program keeps Mac Roman: what it lacks (a decomposed accent aside)
    // is pasted as "?", one for a pair of surrogates, and the user told once.
    PutClipboard(u"e\u0301 \u65E5\U0001F600");
    multi->DoPaste();
    platform::SetSubstitutedPasteNotice(nullptr);
    EXPECT_EQ(std::tuple(multi->GetText(), gSubstitutedPastes), std::tuple(std::u16string(u"ab\rcd\u00E9 ??"), 1));
}

TEST_F(NativeTextEditTest, DecomposedTextIsKeptComposedThroughUndoAndRedo)
{
    std::unique_ptr<NativeTextEditMac> e(Make(kNativeMultiline));
    Set(*e, u"xy");
    e->Select(1, 1);
    PutClipboard(u"e\u0301");
    e->DoPaste();
    EXPECT_EQ(e->GetText(), u"x\u00E9y");
    ASSERT_TRUE(e->CanUndo());
    e->DoUndo();
    EXPECT_EQ(e->GetText(), u"xy") << "the undo removes exactly what the paste left";
    e->DoRedo();
    EXPECT_EQ(e->GetText(), u"x\u00E9y");
    e->DoUndo();
    EXPECT_EQ(e->GetText(), u"xy");
    e->DoRedo();
    Set(*e, u"other");
    EXPECT_FALSE(e->CanUndo()) << "records of the old text go with it";
    e->DoUndo();
    EXPECT_EQ(e->GetText(), u"other");

    std::unique_ptr<NativeTextEditMac> single(Make(0));
    PutClipboard(u"e\u0301\rz");
    single->DoPaste();
    EXPECT_EQ(single->GetText(), u"\u00E9");
}

TEST_F(NativeTextEditTest, FacesOfMixedRangesColoursAndFonts)
{
    std::unique_ptr<NativeTextEditMac> e(Make(kNativeMultiStyle));
    Set(*e, u"abcd");
    e->Select(0, 2);
    e->SetTextSelectionBold(true);
    e->Select(1, 3);
    EXPECT_EQ(e->GetTextSelectionBold(), 2);
    EXPECT_EQ(e->GetAllTextBold(), 2);
    e->Select(0, 1);
    EXPECT_EQ(e->GetTextSelectionBold(), 1);
    e->Select(3, 4);
    EXPECT_EQ(e->GetTextSelectionBold(), 0);

    // All text: applied only when it changes something; other faces stay.
    e->SetAllTextBold(true);
    EXPECT_EQ(e->GetAllTextBold(), 1);
    e->SetAllTextItalic(true);
    const uint32_t changes = platform::TXNGetChangeCount(e->GetObject());
    e->SetAllTextBold(true);
    EXPECT_EQ(platform::TXNGetChangeCount(e->GetObject()), changes);
    e->SetAllTextBold(false);
    EXPECT_EQ(e->GetAllTextBold(), 0);
    EXPECT_EQ(e->GetAllTextItalic(), 1);

    // Mixed faces: bold goes on and off every run, keeping the others.
    e->SetAllTextItalic(false);
    EXPECT_EQ(e->GetAllTextItalic(), 0);
    e->Select(0, 2);
    e->SetTextSelectionItalic(true);
    e->Select(1, 2);
    e->SetTextSelectionUnderLine(true);
    e->SetAllTextBold(true);
    EXPECT_EQ(e->GetAllTextBold(), 1);
    e->Select(0, 1);
    EXPECT_EQ(e->GetTextSelectionItalic(), 1);
    EXPECT_EQ(e->GetTextSelectionUnderLine(), 0);
    e->Select(1, 2);
    EXPECT_EQ(e->GetTextSelectionUnderLine(), 1);
    e->Select(3, 4);
    EXPECT_EQ(e->GetTextSelectionItalic(), 0);
    e->SetAllTextBold(false);
    EXPECT_EQ(e->GetAllTextBold(), 0);
    e->Select(1, 2);
    EXPECT_EQ(e->GetTextSelectionItalic(), 1);
    EXPECT_EQ(e->GetTextSelectionUnderLine(), 1);

    e->SetAllTextColor(0x00336699);
    platform::RGBColor rgb{};
    platform::TXNTypeAttributes a{platform::kTXNQDFontColorAttribute, sizeof rgb, {}};
    a.data.dataPtr = &rgb;
    e->Select(0, 4);
    platform::TXNGetContinuousTypeAttributes(e->GetObject(), nullptr, 1, &a);
    EXPECT_EQ(rgb.red, 0x9999);
    EXPECT_EQ(rgb.green, 0x6666);
    EXPECT_EQ(rgb.blue, 0x3333);
    EXPECT_EQ(e->GetAllTextColor(), 0x00336699);

    e->SetAllTextFont(nullptr, 18, -1);
    char name[256] = {};
    int32_t size = 0, charset = 0;
    e->GetAllTextFont(name, &size, &charset);
    EXPECT_EQ(size, 18);
    // Nothing asked: the text is left as it was, not even counted changed.
    const uint32_t counted = platform::TXNGetChangeCount(e->GetObject());
    e->SetAllTextFont(nullptr, -1, -1);
    EXPECT_EQ(platform::TXNGetChangeCount(e->GetObject()), counted);
}

TEST_F(NativeTextEditTest, ACutKeepsTheFontAndSizesOfWhatIsLeft)
{
    char name[256] = {};
    int32_t size = 0;
    // One font and size: the cut is the only change.
    std::unique_ptr<NativeTextEditMac> e(Make(kNativeMultiStyle));
    Set(*e, u"abcdef");
    e->SetAllTextFont("Monaco", 18, -1);
    e->Select(1, 3);
    const uint32_t changes = platform::TXNGetChangeCount(e->GetObject());
    e->DoCut();
    EXPECT_EQ(platform::TXNGetChangeCount(e->GetObject()), changes + 1);
    e->GetAllTextFont(name, &size, nullptr);
    EXPECT_STREQ(name, "Monaco");
    EXPECT_EQ(size, 18);

    // Mixed sizes: cutting the first run leaves the second its own.
    Set(*e, u"small BIG");
    e->Select(6, 9);
    e->SetTextSelectionFont(nullptr, 24, -1);
    e->Select(0, 6);
    e->DoCut();
    EXPECT_EQ(e->GetText(), u"BIG");
    e->GetAllTextFont(name, &size, nullptr);
    EXPECT_EQ(size, 24);
}

TEST_F(NativeTextEditTest, PropertyTableEdgesAndTextLengths)
{
    std::unique_ptr<NativeTextEditMac> e(Make(0));
    for (int32_t p : {14, 0, 24, -3}) {
        EXPECT_EQ(e->SetProperty(p, 1), 1);
        EXPECT_EQ(e->GetProperty(p), 1);
    }
    EXPECT_EQ(e->SetProperty(kPropPrintVarFrame, 1), 0);
    EXPECT_EQ(e->GetProperty(kPropPrintVarFrame), 1) << "a rebuilt editor must be able to read it back";
    e->SetProperty(kPropReadOnly, 1);
    EXPECT_EQ(e->GetProperty(kPropReadOnly), 1);
    EXPECT_EQ(e->GetProperty(kPropEnable), 0);
    e->Enable(true);
    EXPECT_EQ(e->GetProperty(kPropReadOnly), 0);
    e->SetProperty(kPropPassword, 1);
    EXPECT_EQ(e->GetProperty(kPropPassword), 1);
    platform::TXNControlTag sync = platform::kTXNKeyboardSyncStateTag;
    platform::TXNControlData synced{};
    platform::TXNGetTXNObjectControls(e->GetObject(), 1, &sync, &synced);
    EXPECT_EQ(synced.uValue, 1u) << "a password keeps the keyboard in step";
    e->SetProperty(kPropRTL, 1);
    EXPECT_EQ(e->GetProperty(kPropRTL), 1);
    // The flags given at creation are read back, the last ones too.
    std::unique_ptr<NativeTextEditMac> made(Make((1 << kPropRTL) | (1 << kPropKept) | (1 << kPropPrintVarFrame)));
    for (int32_t p : {kPropRTL, kPropKept, kPropPrintVarFrame}) EXPECT_EQ(made->GetProperty(p), 1) << p;

    const std::u16string many(40000, u'w');
    Set(*e, many);
    EXPECT_EQ(e->GetTextLen(4), 32000);
    EXPECT_EQ(e->GetTextLen(3), 40000);
    EXPECT_EQ(e->GetTextLen(2), 80000);
    EXPECT_EQ(e->GetTextLen(7), 0);
}

TEST_F(NativeTextEditTest, GetUnicodeSizesTheCallersHandleOrSaysMemoryRanOut)
{
    std::unique_ptr<NativeTextEditMac> e(Make(0));
    Set(*e, u"hello world");
    NativeBlob blob;
    blob.handle = platform::NewHandle(2);
    EXPECT_EQ(e->GetUnicode(&blob, 6, -1), 0);
    EXPECT_EQ(blob.size, 10);
    EXPECT_EQ(platform::GetHandleSize(blob.handle), 10);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(*blob.handle), 5), u"world");

    NativeBlob small;
    small.handle = platform::NewHandle(0);
    const int64_t budget = platform::MemoryBudget();
    platform::SetMemoryBudget(platform::MemoryInUse());
    EXPECT_EQ(e->GetUnicode(&small, 0, -1), -108);
    platform::SetMemoryBudget(budget);
    platform::DisposeHandle(small.handle);

    // What a blob holds goes back in whole; an empty one empties the text.
    std::unique_ptr<NativeTextEditMac> other(Make(0));
    other->SetUnicode(blob, false);
    EXPECT_EQ(other->GetText(), u"world");
    other->SetUnicode(NativeBlob{}, false);
    EXPECT_EQ(other->GetText(), u"");
    platform::DisposeHandle(blob.handle);
}

}  // namespace

namespace {

TEST_F(NativeTextEditTest, NewTextOfAsManyLinesKeepsTheScrollOtherTextStartsAtTheTop)
{
    std::unique_ptr<NativeTextEditMac> e(Make(kNativeMultiline));
    Set(*e, u"1\r2\r3\r4\r5\r6\r7\r8");
    e->Select(12, 12);
    e->ScrollToSelection(false, false, true);
    const int32_t first = e->GetFirstVisibleCharOffset();
    ASSERT_GT(first, 0);
    Set(*e, u"a\rb\rc\rd\re\rf\rg\rh");
    EXPECT_EQ(e->GetFirstVisibleCharOffset(), first);
    Set(*e, u"a\rb\rc\rd\re\rf\rg\rh\ri");
    EXPECT_EQ(e->GetFirstVisibleCharOffset(), 0);

    // A single line keeps no scroll: new text shows from its start.
    std::unique_ptr<NativeTextEditMac> line(Make(0));
    const std::u16string wide(80, u'w');
    Set(*line, wide);
    int32_t x0 = 0, y0 = 0, x = 0, y = 0;
    line->GetPosFromCharOffset(0, x0, y0);
    line->Select(80, 80);
    line->ScrollToSelection(false, true, false);
    line->GetPosFromCharOffset(0, x, y);
    ASSERT_LT(x, x0);
    Set(*line, std::u16string(80, u'v'));
    line->GetPosFromCharOffset(0, x, y);
    EXPECT_EQ(x, x0);
}

TEST_F(NativeTextEditTest, ADropHeldWithinTenPixelsOfTheBottomScrollsTheTextUp)
{
    // The view's bottom is at 40: held from 30 on, the text scrolls to its end.
    for (const int16_t y : {29, 30}) {
        std::unique_ptr<NativeTextEditMac> e(Make(kNativeMultiline));
        e->SetProperty(kPropVAutoScroll, 1);
        Set(*e, u"1\r2\r3\r4\r5");
        bool dropped = false;
        RunScript(platform::Script().Press(int16_t(40 + 100), int16_t(40 + y)).Wait(300).Release(), [&] {
            if (dropped) return;
            dropped = true;
            DragDropInfo info;
            e->DoHiliteDrop(nullptr, VPoint(100, y), 0, info);
        });
        EXPECT_EQ(e->GetFirstVisibleCharOffset(), y == 30 ? 6 : 0) << y;  // lines 4 and 5 in view
    }
}

}  // namespace
