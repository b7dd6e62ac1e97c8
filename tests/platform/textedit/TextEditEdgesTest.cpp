// Text services and the text engine at their edges: documents deleted while
// active, a limit of one character, a range given backwards, the letter
// classes' last code points, text boxes of no text or a chosen font, and
// the stored style forms byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Text.h"
#include "platform/drawing/TextRuns.h"
#include "platform/textedit/StyleLayouts.h"
#include "platform/textedit/TextEngine.h"
#include "platform/textedit/TextServices.h"
#include "platform/textedit/UnicodeTextBox.h"
#include "tests/platform/drawing/DrawingTestSupport.h"

namespace {

using namespace platform;

TEST(TextServicesEdges, ADeletedDocumentTakesTheActiveOneOnlyIfItWasIt)
{
    OSType types[1] = {0x75747874};  // 'utxt'
    int refcon = 0;
    TSMDocumentID a = nullptr, b = nullptr;
    EXPECT_EQ(NewTSMDocument(1, types, nullptr, nullptr), paramErr);
    EXPECT_EQ(NewTSMDocument(0, types, &a, nullptr), paramErr);
    const int32_t before = TSMCountDocuments();
    ASSERT_EQ(NewTSMDocument(1, types, &a, &refcon), noErr);
    ASSERT_EQ(NewTSMDocument(1, types, &b, nullptr), noErr);
    EXPECT_EQ(TSMGetDocumentRefcon(a), &refcon);
    ASSERT_EQ(ActivateTSMDocument(a), noErr);
    EXPECT_EQ(DeleteTSMDocument(b), noErr);
    EXPECT_EQ(TSMGetActiveDocument(), a) << "another document went";
    EXPECT_EQ(TSMCountDocuments(), before + 1);
    EXPECT_EQ(DeleteTSMDocument(nullptr), tsmInvalidDocIDErr);
    EXPECT_EQ(DeactivateTSMDocument(a), noErr);
    EXPECT_EQ(TSMGetActiveDocument(), nullptr);
    ASSERT_EQ(ActivateTSMDocument(a), noErr);
    EXPECT_EQ(DeleteTSMDocument(a), noErr);
    EXPECT_EQ(TSMGetActiveDocument(), nullptr);
    EXPECT_EQ(TSMCountDocuments(), before);
    EXPECT_EQ(ActivateTSMDocument(a), tsmInvalidDocIDErr);
}

TEST(TextEngineEdges, LimitsRangesAndLetterClassesAtTheirEdges)
{
    ResetDrawingState();
    TextAttributes base;
    TextEngine e(base);
    e.SetMaxLength(1);
    e.SetPlainText(u"ab", base);
    EXPECT_EQ(e.Text(), u"a") << "a limit of one keeps one";
    e.SetMaxLength(0);
    e.SetPlainText(u"abcdef", base);
    StyledFragment x;
    x.text = u"X";
    e.Replace(3, 1, x);
    EXPECT_EQ(e.Text(), u"abcXdef") << "a range given backwards is empty at its start";
    e.Replace(5, 99, x);
    EXPECT_EQ(e.Text(), u"abcXdX") << "a range past the end stops at it";

    struct Case {
        char16_t c;
        bool letter;
    };
    for (const Case& k : {Case{0xD7FF, true}, Case{0xD800, false}, Case{0xF8FF, false}, Case{0xF900, true},
                          Case{0xC0, true}, Case{0xBF, false}, Case{0xAA, true}})
        EXPECT_EQ(TextEngine::IsWordChar(k.c), k.letter) << std::hex << int(k.c);
}

TEST(UnicodeTextBoxEdges, NoTextIsAnEmptyBoxAndTheFontTagChoosesTheFont)
{
    drawingtest::World w(200, 40);
    Rect box{0, 0, 40, 200};
    EXPECT_EQ(TXNDrawUnicodeTextBox(nullptr, 0, &box, nullptr, nullptr), noErr);
    EXPECT_EQ(TXNDrawUnicodeTextBox(nullptr, 2, &box, nullptr, nullptr), paramErr);

    // Measured in a font of its own, the box is that font's width.
    ATSUStyle style = nullptr;
    ASSERT_EQ(ATSUCreateStyle(&style), noErr);
    const ATSUFontID monaco = 4;
    const Fixed twelve = 12 << 16;
    const ATSUAttributeTag tags[2] = {kATSUFontTag, kATSUSizeTag};
    const ByteCount sizes[2] = {sizeof monaco, sizeof twelve};
    const ConstATSUAttributeValuePtr values[2] = {&monaco, &twelve};
    ASSERT_EQ(ATSUSetAttributes(style, 2, tags, sizes, values), noErr);
    const UniChar text[4] = {'i', 'i', 'W', 'W'};
    TXNTextBoxOptionsData measure{kTXNDontDrawTextMask, 0, 0, 0, nullptr};
    box = Rect{0, 0, 40, 200};
    ASSERT_EQ(TXNDrawUnicodeTextBox(text, 4, &box, style, &measure), noErr);
    TextFont(4);
    TextSize(12);
    EXPECT_EQ(box.right - box.left, TextWidth("iiWW", 0, 4));
    EXPECT_EQ(w.CountNot(0xFFFFFF), 0) << "measured only";
    box = Rect{0, 0, 40, 200};
    ASSERT_EQ(TXNDrawUnicodeTextBox(text, 4, &box, style, nullptr), noErr);
    EXPECT_GT(w.CountNot(0xFFFFFF), 0) << "drawn into the current port";
    ATSUDisposeStyle(style);
}

TEST(StyleLayoutsEdges, StoredStyleFormsByteForByte)
{
    const std::vector<StyleRun> runs = {{0, 0}, {3, 1}};
    const std::vector<uint8_t> record = WriteStyleRecord(runs, 7, 0x01020304, 2);
    const std::vector<uint8_t> expected = {0, 2, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 0, 0, 0, 0,
                                           0, 0, 0, 0, 0, 3, 0, 1, 0, 8, 0, 0};
    EXPECT_EQ(record, expected);

    StyleSlot slot;
    slot.count = 5;
    slot.height = 16;
    slot.ascent = 12;
    const std::vector<uint8_t> table = WriteStyleTable({slot});
    ASSERT_EQ(table.size(), kStyleTableEntrySize);
    EXPECT_EQ(ReadBE16(&table[0]), 5);
    EXPECT_EQ(ReadBE16(&table[2]), 16);
    EXPECT_EQ(ReadBE16(&table[4]), 12);

    StyledFragment f;
    f.text = u"ab";
    TextAttributes a;
    a.font = 4;
    a.size = 12;
    f.runs = {{0, a}};
    const std::vector<uint8_t> scrap = WriteStyleScrap(f);
    const FontInfo fi = StyleFontInfo(MakeTextStyle(4, 12, 0, 0));
    ASSERT_EQ(scrap.size(), 2 + kScrapStyleElementSize);
    EXPECT_EQ(ReadBE16(&scrap[6]), uint16_t(fi.ascent + fi.descent + fi.leading));
    EXPECT_EQ(ReadBE16(&scrap[8]), uint16_t(fi.ascent));
}

}  // namespace
