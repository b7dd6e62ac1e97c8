// The classic records driven by scripted clicks and keys: wrapping,
// editing keys, word and line selection, styles, the scrap, the length
// limit and the text box.
#include <cstring>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Shapes.h"
#include "platform/events/Events.h"
#include "platform/fonts/Fonts.h"
#include "platform/textedit/StyleLayouts.h"
#include "tests/platform/textedit/EditorFixture.h"

namespace platform::testing {
namespace {

class TextEditTest : public EditorTest {};

TEST_F(TextEditTest, TypingWrapsAtWordsAndKeysAndClicksSelectAsUsersExpect)
{
    Rect r{0, 0, 100, 60};
    TEHandle te = TENew(&r, &r);
    ASSERT_NE(te, nullptr);
    TEActivate(te);
    PlayInto(Script().Type("Hello world"), te);
    EXPECT_EQ(TextOf(te), "Hello world");
    ASSERT_EQ((*te)->nLines, 2);
    EXPECT_EQ((*te)->lineStarts[0], 0);
    EXPECT_EQ((*te)->lineStarts[1], 6);
    EXPECT_EQ((*te)->lineStarts[2], 11);
    const int16_t lh = (*te)->lineHeight;
    ASSERT_GT(lh, 0);

    // Return starts a line; backspace at 1 takes the first character.
    Script keys;
    keys.Key("return");
    PlayInto(keys, te);
    EXPECT_EQ((*te)->nLines, 3);
    EXPECT_EQ(TextOf(te), "Hello world\r");
    TESetSelect(1, 1, te);
    Script back;
    back.Key("delete");
    PlayInto(back, te);
    EXPECT_EQ(TextOf(te), "ello world\r");
    EXPECT_EQ((*te)->selStart, 0);
    TESetText("Hello world", 11, te);

    // A double click on "world" (second line) selects 6-11; a third click
    // the whole line; shift-click extends from the anchor.
    const int16_t y = int16_t(lh + lh / 2);
    PlayInto(Script().DoubleClick(12, y), te);
    EXPECT_EQ((*te)->selStart, 6);
    EXPECT_EQ((*te)->selEnd, 11);
    PlayInto(Script().Wait(60).DoubleClick(12, lh / 2), te);
    EXPECT_EQ((*te)->selStart, 0);
    EXPECT_EQ((*te)->selEnd, 5);  // "Hello"
    PlayInto(Script().Wait(60).DoubleClick(12, lh / 2).Click(12, lh / 2), te);
    EXPECT_EQ((*te)->selStart, 0);
    EXPECT_EQ((*te)->selEnd, 6);  // the line, with its space
    PlayInto(Script().Wait(60).Click(1, lh / 2).Wait(60).Click(30, y, shiftKey), te);
    EXPECT_EQ((*te)->selStart, 0);
    EXPECT_GT((*te)->selEnd, 6);
    // Option-right moves by word; shift-right extends a character.
    TESetSelect(0, 0, te);
    Script words;
    words.Key("right", optionKey);
    words.Key("right", optionKey);
    words.Key("left", shiftKey);
    PlayInto(words, te);
    EXPECT_EQ((*te)->selStart, 10);
    EXPECT_EQ((*te)->selEnd, 11);
    // A drag selects what it passes over.
    PlayInto(Script().Wait(60).Drag(1, lh / 2, 20, y, 6), te);
    EXPECT_EQ((*te)->selStart, 0);
    EXPECT_GT((*te)->selEnd, 6);
    TEDispose(te);
}

TEST_F(TextEditTest, StyleRunsMixedFacesAndTallLinesMeasureAsTheyLook)
{
    Rect r{0, 0, 100, 200};
    TEHandle te = TEStyleNew(&r, &r);
    ASSERT_NE(te, nullptr);
    TESetText("Hello\rworld", 11, te);
    TESetSelect(0, 5, te);
    TETextStyle bold{};
    bold.tsFace = platform::bold;
    TESetStyle(doFace, &bold, true, te);
    // Two runs: the published record counts them.
    ASSERT_EQ(ReadBE16(*TEGetStyleHandle(te)), 2);
    TESetSelect(0, 11, te);
    int16_t mode = doAll;
    TETextStyle ts{};
    EXPECT_FALSE(TEContinuousStyle(&mode, &ts, te));
    EXPECT_EQ(mode & doFace, 0);
    EXPECT_EQ(mode & (doFont | doSize | doColor), doFont | doSize | doColor);
    EXPECT_EQ(ts.tsFace, 0);
    // Toggling bold over a range that is all bold takes it away.
    TESetSelect(0, 5, te);
    TESetStyle(doFace | doToggle, &bold, true, te);
    TEGetStyle(0, &ts, nullptr, nullptr, te);
    EXPECT_EQ(ts.tsFace, 0);

    const int32_t plain = TEGetHeight(1, 1, te);
    TESetSelect(6, 11, te);
    TETextStyle big{};
    big.tsSize = 24;
    TESetStyle(doSize, &big, true, te);
    ASSERT_EQ((*te)->nLines, 2);
    const int32_t tall = TEGetHeight(2, 2, te);
    int16_t lh = 0, ascent = 0;
    TEGetStyle(7, &ts, &lh, &ascent, te);
    EXPECT_EQ(ts.tsSize, 24);
    EXPECT_EQ(tall, lh);
    EXPECT_GT(tall, plain);
    EXPECT_EQ(TEGetHeight(2, 1, te), plain + tall);
    EXPECT_EQ(TEGetHeight(99, 0, te), plain + tall);
    TEDispose(te);
}

// The stored text and styles of one record loaded into another, as the
// documentation resources do.
void CopyStored(TEHandle from, TEHandle to)
{
    PtrToXHand(*(*from)->hText, (*to)->hText, GetHandleSize((*from)->hText));
    (*to)->teLength = (*from)->teLength;
    PtrToXHand(*TEGetStyleHandle(from), TEGetStyleHandle(to), GetHandleSize(TEGetStyleHandle(from)));
    PtrToXHand(*TEGetStyleTableHandle(from), TEGetStyleTableHandle(to), GetHandleSize(TEGetStyleTableHandle(from)));
    TECalText(to);
}

std::vector<uint8_t> Bytes(Handle h) { return std::vector<uint8_t>(*h, *h + GetHandleSize(h)); }

TEST_F(TextEditTest, StoredStylesRoundTripAndDamagedOnesLoadAsOneDefaultRun)
{
    Rect r{0, 0, 100, 200};
    TEHandle a = TEStyleNew(&r, &r);
    TEHandle b = TEStyleNew(&r, &r);
    TESetText("Plain bold big red", 18, a);
    TETextStyle s{};
    s.tsFace = bold;
    TESetSelect(6, 10, a);
    TESetStyle(doFace, &s, false, a);
    s.tsSize = 18;
    TESetSelect(11, 14, a);
    TESetStyle(doSize, &s, false, a);
    s.tsColor = {0xFFFF, 0, 0};
    TESetSelect(15, 18, a);
    TESetStyle(doColor, &s, false, a);
    CopyStored(a, b);
    EXPECT_EQ(Bytes((*b)->hText), Bytes((*a)->hText));
    EXPECT_EQ(Bytes(TEGetStyleHandle(b)), Bytes(TEGetStyleHandle(a)));
    EXPECT_EQ(Bytes(TEGetStyleTableHandle(b)), Bytes(TEGetStyleTableHandle(a)));
    EXPECT_EQ(ReadBE16(*TEGetStyleHandle(b)), 6);

    // Written by hand from the published layout: two runs, two styles.
    const uint8_t record[] = {0, 2, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0x12, 0x34, 0x56, 0x78, 0, 0, 0, 0,
                              0, 0, 0, 1, 0, 3, 0, 0, 0, 6, 0, 0};
    const uint8_t table[] = {0, 1, 0, 20, 0, 15, 0, 20, bold, 0, 0, 18, 0, 0, 0, 0, 0, 0,
                             0, 1, 0, 15, 0, 12, 0, 1, 0, 0, 0, 12, 0, 0, 0, 0, 0xFF, 0xFF};
    Handle text = nullptr;
    PtrToHand("abcde", &text, 5);
    PtrToXHand(text, (*b)->hText, 0);
    PtrToXHand("abcde", (*b)->hText, 5);
    (*b)->teLength = 5;
    PtrToXHand(record, TEGetStyleHandle(b), sizeof record);
    PtrToXHand(table, TEGetStyleTableHandle(b), sizeof table);
    TECalText(b);
    TETextStyle got{};
    TEGetStyle(4, &got, nullptr, nullptr, b);
    EXPECT_EQ(got.tsFont, 20);
    EXPECT_EQ(got.tsFace, bold);
    EXPECT_EQ(got.tsSize, 18);
    TEGetStyle(0, &got, nullptr, nullptr, b);
    EXPECT_EQ(got.tsColor.blue, 0xFFFF);
    EXPECT_EQ(ReadBE32(*TEGetStyleHandle(b) + 12), 0x12345678u);
    DisposeHandle(text);

    // Seeded damage: every load gives one default run and reads nothing
    // outside the handles (the sanitizer watches).
    const std::vector<uint8_t> goodRecord = Bytes(TEGetStyleHandle(a));
    const std::vector<uint8_t> goodTable = Bytes(TEGetStyleTableHandle(a));
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
    int damaged = 0;
    for (int round = 0; round < 500; ++round) {
        std::vector<uint8_t> rec = goodRecord, tab = goodTable;
        const uint32_t kind = next() % 4;
        if (kind == 0) rec.resize(next() % rec.size());
        if (kind == 1) tab.resize(next() % tab.size());
        if (kind == 2) rec[next() % rec.size()] ^= uint8_t(1 + next() % 255);
        if (kind == 3) rec[1 + 2 * (next() % 2)] = uint8_t(0x40 + next() % 0x40);  // counts
        PtrToXHand(*(*a)->hText, (*b)->hText, GetHandleSize((*a)->hText));
        (*b)->teLength = (*a)->teLength;
        PtrToXHand(rec.data(), TEGetStyleHandle(b), Size(rec.size()));
        PtrToXHand(tab.data(), TEGetStyleTableHandle(b), Size(tab.size()));
        TECalText(b);
        const uint8_t* runs = reinterpret_cast<const uint8_t*>(*TEGetStyleHandle(b));
        const int16_t n = ReadBES16(runs);
        if (n == 1) ++damaged;
        std::vector<StyleRun> runsRead;
        std::vector<StyleSlot> slotsRead;
        const bool sound = ReadStoredStyles(rec.data(), rec.size(), tab.data(), tab.size(), 18, &runsRead, &slotsRead,
                                            nullptr);
        EXPECT_TRUE(sound ? n == int16_t(runsRead.size()) : n == 1) << "round " << round;
        EXPECT_EQ(TextOf(b), "Plain bold big red");
    }
    EXPECT_GT(damaged, 300);
    TEDispose(a);
    TEDispose(b);
}

TEST_F(TextEditTest, CopyPutsTextAndStylesThatPasteElsewhereAndTextStopsAt32767)
{
    Rect r{0, 0, 100, 200};
    TEHandle a = TEStyleNew(&r, &r);
    TEHandle b = TEStyleNew(&r, &r);
    TESetText("one two", 7, a);
    TESetSelect(4, 7, a);
    TETextStyle s{};
    s.tsFace = italic;
    TESetStyle(doFace, &s, false, a);
    TESetSelect(2, 7, a);
    TECopy(a);
    ScrapRef scrap = nullptr;
    ASSERT_EQ(GetCurrentScrap(&scrap), noErr);
    Size textSize = 0, stylSize = 0;
    EXPECT_EQ(GetScrapFlavorSize(scrap, FourCC("TEXT"), &textSize), noErr);
    EXPECT_EQ(textSize, 5);
    EXPECT_EQ(GetScrapFlavorSize(scrap, FourCC("styl"), &stylSize), noErr);
    EXPECT_EQ(stylSize, Size(2 + 2 * kScrapStyleElementSize));
    EXPECT_EQ(TEGetScrapLength(), 5);

    TESetText("[]", 2, b);
    TESetSelect(1, 1, b);
    TEStylePaste(b);
    EXPECT_EQ(TextOf(b), "[e two]");
    EXPECT_EQ((*b)->selStart, 6);
    TETextStyle got{};
    TEGetStyle(1, &got, nullptr, nullptr, b);
    EXPECT_EQ(got.tsFace, 0);
    TEGetStyle(3, &got, nullptr, nullptr, b);
    EXPECT_EQ(got.tsFace, italic);
    TEGetStyle(6, &got, nullptr, nullptr, b);
    EXPECT_EQ(got.tsFace, 0);
    // A plain paste takes the style where it lands; cut empties the range.
    TESetSelect(0, 1, b);
    TECut(b);
    EXPECT_EQ(TextOf(b), "e two]");
    TESetSelect(6, 6, b);
    TEPaste(b);
    EXPECT_EQ(TextOf(b), "e two][");

    // A 'styl' whose runs fall outside the text pastes the text plain.
    ClearCurrentScrap();
    GetCurrentScrap(&scrap);
    std::vector<uint8_t> styl(2 + 2 * kScrapStyleElementSize, 0);
    styl[1] = 2;
    styl[2 + kScrapStyleElementSize + 3] = 50;  // the second run starts at 50
    styl[2 + 10] = uint8_t(italic);
    PutScrapFlavor(scrap, FourCC("TEXT"), 0, 3, "xyz");
    PutScrapFlavor(scrap, FourCC("styl"), 0, Size(styl.size()), styl.data());
    TESetSelect(0, 0, b);
    TEStylePaste(b);
    EXPECT_EQ(TextOf(b), "xyze two][");
    TEGetStyle(1, &got, nullptr, nullptr, b);
    EXPECT_EQ(got.tsFace, 0);

    // 40,000 bytes keep 32,767 and say so; the limit refuses keys and
    // insertions without changing anything.
    std::vector<char> big(40000, 'x');
    TESetText(big.data(), int32_t(big.size()), a);
    EXPECT_EQ(TEGetLastError(), teTextTooLongErr);
    EXPECT_EQ((*a)->teLength, 32767);
    EXPECT_EQ(GetHandleSize((*a)->hText), 32767);
    TEKey('y', a);
    EXPECT_EQ(TEGetLastError(), teTextTooLongErr);
    TEInsert("zz", 2, a);
    EXPECT_EQ((*a)->teLength, 32767);
    EXPECT_EQ((*a)->hText[0][32766], 'x');
    // A stored length that wrapped to a negative number reads the handle.
    PtrToXHand(big.data(), (*b)->hText, Size(big.size()));
    (*b)->teLength = int16_t(uint16_t(40000));
    TECalText(b);
    EXPECT_EQ(TEGetLastError(), teTextTooLongErr);
    EXPECT_EQ((*b)->teLength, 32767);
    // A copy that succeeds still reports the text it had to cut short.
    PtrToXHand(big.data(), (*b)->hText, Size(big.size()));
    (*b)->teLength = int16_t(uint16_t(40000));
    (*b)->selStart = 0;
    (*b)->selEnd = 2;
    TECopy(b);
    EXPECT_EQ(TEGetLastError(), teTextTooLongErr);
    // With no text on the system scrap the editor pastes its own.
    ClearCurrentScrap();
    TESetSelect(0, 32767, b);
    TEPaste(b);
    EXPECT_EQ(TextOf(b), "xx");
    TEDispose(a);
    TEDispose(b);
}

TEST_F(TextEditTest, CaretBlinksAtTheCaretTimeAndSelectionHilitesOnlyWhileActive)
{
    Rect r{0, 0, 40, 100};
    TEHandle te = TENew(&r, &r);
    TESetText("abc", 3, te);
    TESetSelect(0, 0, te);
    run = std::make_unique<HeadlessRun>(Script().Wait(200));
    TEActivate(te);
    EXPECT_EQ(Pixel(0, 5), 0x000000u);  // the caret, left of the first character
    for (uint32_t i = 0; i < GetCaretTime() / 2; ++i) TickCount();
    TEIdle(te);
    EXPECT_EQ(Pixel(0, 5), 0x000000u);  // not yet
    for (uint32_t i = 0; i < GetCaretTime() / 2; ++i) TickCount();
    TEIdle(te);
    EXPECT_EQ(Pixel(0, 5), 0xFFFFFFu);
    for (uint32_t i = 0; i < GetCaretTime(); ++i) TickCount();
    TEIdle(te);
    EXPECT_EQ(Pixel(0, 5), 0x000000u);

    // A selection is hilited while active, and not at all when inactive.
    TESetSelect(0, 3, te);
    const int16_t w = TextWidth("abc", 0, 3);
    EXPECT_NE(Pixel(w - 1, 1), 0xFFFFFFu);
    TEDeactivate(te);
    EXPECT_EQ(Pixel(w - 1, 1), 0xFFFFFFu);
    EXPECT_EQ(Pixel(0, 5), 0xFFFFFFu);  // and no caret
    TEDispose(te);
}

void DoNothing(GrafVerb, const Rect*) {}

TEST_F(TextEditTest, TextBoxErasesThroughTheRectProcedureAndAligns)
{
    const RGBColor grey{0x8000, 0x8000, 0x8000};
    RGBForeColor(&grey);
    Rect all{0, 0, 200, 300};
    PaintRect(&all);
    const RGBColor black{0, 0, 0};
    RGBForeColor(&black);
    Rect box{10, 10, 40, 110};
    TETextBox("ab", 2, &box, teFlushDefault);
    EXPECT_EQ(Pixel(100, 30), 0xFFFFFFu);  // erased

    QDProcs procs;
    SetStdProcs(&procs);
    procs.rectProc = DoNothing;
    world->grafProcs = &procs;
    Rect box2{50, 10, 80, 110};
    TETextBox("ab", 2, &box2, teFlushDefault);
    world->grafProcs = nullptr;
    EXPECT_EQ(Pixel(100, 70), 0x808080u);  // kept under the text

    // Where the ink begins for each alignment.
    auto firstInk = [&](int32_t top) {
        for (int32_t h = 0; h < 300; ++h)
            for (int32_t v = top; v < top + 20; ++v)
                if (Pixel(h, v) == 0) return h;
        return -1;
    };
    PaintRect(&all);
    const int16_t w = TextWidth("ab", 0, 2);
    EraseRect(&all);
    Rect left{0, 100, 20, 200}, right{30, 100, 50, 200}, centre{60, 100, 80, 200};
    TETextBox("ab", 2, &left, teFlushLeft);
    TETextBox("ab", 2, &right, teFlushRight);
    TETextBox("ab", 2, &centre, teCenter);
    const int32_t l = firstInk(0), rt = firstInk(30), c = firstInk(60);
    EXPECT_NEAR(l, 100, 2);
    EXPECT_EQ(rt - l, 100 - w);
    EXPECT_EQ(c - l, (100 - w) / 2);
}

// A font written into a plain record is taken at the next call: the
// password font draws the typed text exactly as bullets of the system font
// would be drawn, and the text itself stays as typed.
TEST_F(TextEditTest, AFontWrittenIntoAPlainRecordRestylesItsText)
{
    const Rect box{10, 10, 40, 200};
    auto draw = [&](const char* text, int16_t font) {
        EraseRect(&box);
        TEHandle te = TENew(&box, &box);
        TESetText(text, int32_t(std::strlen(text)), te);
        (**te).txFont = font;
        TECalText(te);
        TEUpdate(&box, te);
        const std::string pixels = Pixels();
        EXPECT_EQ(TextOf(te), text);
        TEDispose(te);
        return pixels;
    };
    const std::string blank = draw("", 0);
    const std::string hidden = draw("gone", kFontIDBullets);
    const std::string bullets = draw("\xA5\xA5\xA5\xA5", 0);
    const std::string plain = draw("gone", 0);
    EXPECT_NE(hidden, blank) << "something is drawn";
    EXPECT_EQ(hidden, bullets);
    EXPECT_NE(hidden, plain);
}

}  // namespace
}  // namespace platform::testing
