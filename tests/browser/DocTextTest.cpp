// Documentation bodies between a resource handle and a text-edit record:
// the stored layout byte by byte, round trips, the older body, bodies that
// do not hold what they announce, memory running out, machines without
// styled text; and the older stream form with its style scrap.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "browser/doctext/DocText.h"
#include "design/documentation/GetTe.h"
#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "platform/textedit/TextEdit.h"

using namespace platform;
using browser::kDamagedDoc;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Of(Handle h) { return Bytes(*h, *h + GetHandleSize(h)); }
Handle Hand(const Bytes& b)
{
    Handle h = nullptr;
    PtrToHand(b.data(), &h, Size(b.size()));
    return h;
}
std::string TextOf(TEHandle te) { return std::string(*(**te).hText, size_t((**te).teLength)); }

class DocText : public ::testing::Test {
protected:
    void SetUp() override
    {
        G_MachineType = 4;
        const Rect r{0, 0, 300, 400};
        te_ = TEStyleNew(&r, &r);
        other_ = TEStyleNew(&r, &r);
    }
    void TearDown() override
    {
        ClearAllFaults();
        TEDispose(te_);
        TEDispose(other_);
        G_MachineType = 0;
    }
    // The record holds `text` with a bold run over [from, to).
    static void Fill(TEHandle te, const std::string& text, int32_t from = 0, int32_t to = 0)
    {
        TESetText(text.data(), int32_t(text.size()), te);
        if (to > from) {
            TESetSelect(from, to, te);
            TETextStyle s{};
            s.tsFace = bold;
            TESetStyle(doFace, &s, false, te);
        }
        TECalText(te);
    }
    // The record's body as stored after a header of version 1, state 0.
    Bytes Store(TEHandle te)
    {
        Handle h = NewHandleClear(4);
        WriteBE16(*h, 1);
        EXPECT_EQ(browser::StyleHteToRes(h, te), 0);
        Bytes b = Of(h);
        DisposeHandle(h);
        return b;
    }
    TEHandle te_ = nullptr;
    TEHandle other_ = nullptr;
};

// The blocks, their lengths and pads as the layout says, for texts and
// runs at the boundaries.
TEST_F(DocText, WrittenBodiesKeepTheirLengthsPadsAndBlocks)
{
    struct Case {
        std::string text;
        int32_t from, to;
    } cases[] = {{"", 0, 0}, {"a", 0, 1}, {"ab", 0, 1}, {"odd text", 0, 3}, {"Recomputes a total", 11, 12}};
    for (const Case& c : cases) {
        Fill(te_, c.text, c.from, c.to);
        const Bytes b = Store(te_);
        const Bytes style = Of(TEGetStyleHandle(te_)), table = Of(TEGetStyleTableHandle(te_));
        const size_t t = c.text.size(), tp = (t + 1) & ~size_t(1), sp = (style.size() + 1) & ~size_t(1);
        ASSERT_EQ(b.size(), 16 + tp + sp + table.size()) << c.text;
        EXPECT_EQ(ReadBE32(b.data()), 0x00010000u) << "the header the caller wrote stays";
        EXPECT_EQ(ReadBE32(b.data() + 4), t);
        EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 8 + std::ptrdiff_t(t)), c.text);
        if (t % 2) {
            EXPECT_EQ(b[8 + t], 0) << "one pad byte after an odd text";
        }
        EXPECT_EQ(ReadBE32(b.data() + 8 + tp), style.size());
        EXPECT_EQ(Bytes(b.begin() + std::ptrdiff_t(12 + tp), b.begin() + std::ptrdiff_t(12 + tp + style.size())), style);
        EXPECT_EQ(ReadBE32(b.data() + 12 + tp + sp), table.size());
        EXPECT_EQ(Bytes(b.end() - std::ptrdiff_t(table.size()), b.end()), table);
    }
}

// Written and read back: the same text, the same runs, the same table.
TEST_F(DocText, RoundTripGivesTheSameTextRunsAndTable)
{
    for (const auto& [text, from, to] : {std::tuple{std::string("Recomputes an invoice total"), 0, 10},
                                         std::tuple{std::string("x"), 0, 1}, std::tuple{std::string(""), 0, 0},
                                         std::tuple{std::string(3001, 'w'), 1000, 2999}}) {
        Fill(te_, text, from, to);
        Handle h = Hand(Store(te_));
        Fill(other_, "something else entirely", 2, 5);
        EXPECT_EQ(browser::StyleResToHte(h, other_), 0);
        EXPECT_EQ(TextOf(other_), text);
        EXPECT_EQ(Of(TEGetStyleHandle(other_)), Of(TEGetStyleHandle(te_))) << text.size();
        EXPECT_EQ(Of(TEGetStyleTableHandle(other_)), Of(TEGetStyleTableHandle(te_))) << text.size();
        DisposeHandle(h);
    }
}

// A body by hand: odd text and odd style record, each followed by its pad;
// and the older body with no pads at all.
TEST_F(DocText, OddBlocksAndTheOlderBodyAreReadWhereTheyLie)
{
    Fill(te_, "abc", 1, 2);
    Bytes style = Of(TEGetStyleHandle(te_));
    const Bytes table = Of(TEGetStyleTableHandle(te_));
    style.push_back(0x5A);  // one byte beyond the runs: an odd record
    auto body = [&](bool padded, uint32_t first) {
        Bytes b(4);
        WriteBE32(b.data(), first);
        auto u32 = [&](uint32_t v) {
            b.resize(b.size() + 4);
            WriteBE32(b.data() + b.size() - 4, v);
        };
        u32(3);
        b.insert(b.end(), {'a', 'b', 'c'});
        if (padded) b.push_back(0xEE);
        u32(uint32_t(style.size()));
        b.insert(b.end(), style.begin(), style.end());
        if (padded) b.push_back(0xEE);
        u32(uint32_t(table.size()));
        b.insert(b.end(), table.begin(), table.end());
        return b;
    };
    for (const auto& [padded, first] : {std::pair{true, 0x00010002u}, std::pair{false, 0x00000002u}}) {
        Handle h = Hand(body(padded, first));
        Fill(other_, "zz");
        EXPECT_EQ(browser::StyleResToHte(h, other_), 0) << padded;
        EXPECT_EQ(TextOf(other_), "abc");
        TETextStyle s{};
        TEGetStyle(1, &s, nullptr, nullptr, other_);
        EXPECT_EQ(s.tsFace, bold) << "the run over b";
        TEGetStyle(2, &s, nullptr, nullptr, other_);
        EXPECT_EQ(s.tsFace, normal);
        DisposeHandle(h);
    }
    // The older body read as a version-1 one goes wrong at once: its S is
    // taken from the text's pad.
    Handle older = Hand(body(false, 0x00010000u));
    EXPECT_EQ(browser::StyleResToHte(older, other_), kDamagedDoc);
    DisposeHandle(older);
}

// Lengths that do not fit, texts the record cannot keep, runs that do not
// fit the text or the table: refused, the record as it was.
TEST_F(DocText, DamagedBodiesAreRefusedWithTheRecordUnchanged)
{
    Fill(te_, "Recomputes an invoice total from its lines.", 0, 10);
    const Bytes good = Store(te_);
    const size_t t = ReadBE32(good.data() + 4), tp = (t + 1) & ~size_t(1);
    const size_t s = ReadBE32(good.data() + 8 + tp);
    const size_t sAt = 8 + tp, lAt = 12 + tp + s, style = 12 + tp;
    std::vector<Bytes> damaged;
    for (size_t n = 5; n < good.size(); ++n) damaged.emplace_back(good.begin(), good.begin() + std::ptrdiff_t(n));
    std::mt19937 rng(61);
    auto field = [&](size_t at, uint32_t value) {
        Bytes b = good;
        WriteBE32(b.data() + at, value);
        damaged.push_back(b);
    };
    auto word = [&](size_t at, uint16_t value) {
        Bytes b = good;
        WriteBE16(b.data() + at, value);
        damaged.push_back(b);
    };
    while (damaged.size() < 300) {
        const uint32_t past = uint32_t(good.size()) + rng() % 70000;
        switch (rng() % 7) {
        case 0: field(4, past); break;                                                // T past the end
        case 1: field(sAt, past); break;                                              // S past the end
        case 2: field(lAt, past); break;                                              // L past the end
        case 3: field(4 + 0, 0x80000000u | rng()); break;                             // T wrapped negative
        case 4: word(style, uint16_t(3 + rng() % 40000)); break;                      // more runs than held
        case 5: word(style + 2, uint16_t(3 + rng() % 600)); break;                    // more styles than the table
        default: word(style + 20 + 4 + 2, uint16_t(2 + rng() % 100)); break;          // a run's style past the table
        }
    }
    const Bytes keptStyle = Of(TEGetStyleHandle(te_)), keptTable = Of(TEGetStyleTableHandle(te_));
    const std::string keptText = TextOf(te_);
    for (const Bytes& b : damaged) {
        Handle h = Hand(b);
        ASSERT_EQ(browser::StyleResToHte(h, te_), kDamagedDoc) << b.size();
        ASSERT_EQ(TextOf(te_), keptText);
        ASSERT_EQ(Of(TEGetStyleHandle(te_)), keptStyle);
        ASSERT_EQ(Of(TEGetStyleTableHandle(te_)), keptTable);
        DisposeHandle(h);
    }
    // A text of 32,768 bytes, all of it there, would wrap the record's length.
    Bytes big(8 + 32768 + 8, 'x');
    WriteBE32(big.data(), 0x00010000);
    WriteBE32(big.data() + 4, 32768);
    WriteBE32(big.data() + 8 + 32768, 0);
    WriteBE32(big.data() + 12 + 32768, 0);
    Handle h = Hand(big);
    EXPECT_EQ(browser::StyleResToHte(h, te_), kDamagedDoc);
    EXPECT_EQ(TextOf(te_), keptText);
    // One byte shorter is a text the record keeps.
    WriteBE32(big.data() + 4, 32767);
    big[8 + 32767] = 0;
    PtrToXHand(big.data(), h, Size(big.size()));
    EXPECT_EQ(browser::StyleResToHte(h, te_), 0);
    EXPECT_EQ((**te_).teLength, 32767);
    DisposeHandle(h);
}

// Handles the reader leaves alone, and a body without styles.
TEST_F(DocText, ShortAndForeignBodiesLeaveTheRecordAndPlainBodiesTakeItsStyle)
{
    Fill(te_, "kept", 0, 4);
    for (const Bytes& b : {Bytes{}, Bytes{0, 1, 0, 2}, Bytes{0, 2, 0, 0, 0, 0, 0, 1, 'x', 0, 0, 0, 0, 0, 0, 0, 0, 0}}) {
        Handle h = Hand(b);
        EXPECT_EQ(browser::StyleResToHte(h, te_), 0) << b.size();
        EXPECT_EQ(TextOf(te_), "kept");
        DisposeHandle(h);
    }
    EXPECT_EQ(browser::StyleResToHte(nullptr, te_), 0);
    // S shorter than the style record's fixed part: the text alone, in the
    // style the record has at its start (bold here), never those bytes.
    Bytes plain = {0, 1, 0, 0, 0, 0, 0, 3, 'n', 'e', 'w', 0, 0, 0, 0, 10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 0, 0, 0};
    Handle h = Hand(plain);
    EXPECT_EQ(browser::StyleResToHte(h, te_), 0);
    EXPECT_EQ(TextOf(te_), "new");
    TETextStyle s{};
    TEGetStyle(2, &s, nullptr, nullptr, te_);
    EXPECT_EQ(s.tsFace, bold);
    EXPECT_EQ(ReadBE16(*TEGetStyleHandle(te_)), 1) << "one run";
    DisposeHandle(h);
}

// Below machine type 4 only the text moves, both ways.
TEST_F(DocText, WithoutStyledTextOnlyTheTextMoves)
{
    Fill(te_, "styled", 0, 3);
    const Bytes withStyles = Store(te_);
    G_MachineType = 3;
    const Bytes plain = Store(te_);
    EXPECT_EQ(plain, (Bytes{0, 1, 0, 0, 0, 0, 0, 6, 's', 't', 'y', 'l', 'e', 'd', 0, 0, 0, 0, 0, 0, 0, 0}));
    Handle h = Hand(withStyles);
    Fill(other_, "abc");
    EXPECT_EQ(browser::StyleResToHte(h, other_), 0);
    EXPECT_EQ(TextOf(other_), "styled");
    TETextStyle s{};
    TEGetStyle(0, &s, nullptr, nullptr, other_);
    EXPECT_EQ(s.tsFace, normal) << "the stored bold stays out";
    DisposeHandle(h);
}

// A handle that cannot grow answers -108 and keeps its bytes.
TEST_F(DocText, AWriteThatCannotGrowTheHandleLeavesItAsItWas)
{
    Fill(te_, std::string(500, 'q'), 0, 100);
    Handle h = Hand(Bytes{0, 1, 0, 1, 0, 0, 0, 2, 'o', 'k', 0, 0, 0, 0, 0, 0, 0, 0});
    const Bytes before = Of(h);
    {
        ScopedFault fault(FaultKind::Allocation, 0, -1);
        EXPECT_EQ(browser::StyleHteToRes(h, te_), memFullErr);
        EXPECT_EQ(browser::HteToRes(h, te_), memFullErr);
    }
    EXPECT_EQ(Of(h), before);
    DisposeHandle(h);
}

// Plug-in documentation: the handle is the text.
TEST_F(DocText, PlainBodiesAreTheTextItself)
{
    const std::string text = "Rounds to cents.";
    Fill(te_, text);
    Handle h = NewHandle(0);
    EXPECT_EQ(browser::HteToRes(h, te_), 0);
    EXPECT_EQ(Of(h), Bytes(text.begin(), text.end()));
    EXPECT_EQ(browser::ResToHte(h, other_), 0);
    EXPECT_EQ(TextOf(other_), "Rounds to cents.");
    DisposeHandle(h);
}

// The stream form: 'HECO', 128, a style scrap, the text, four numbers.
Bytes Stream(const std::string& text, const Bytes& scrap, bool numbers = true, uint32_t tag = 0x4845434F)
{
    Bytes b;
    auto u32 = [&](uint32_t v) {
        b.resize(b.size() + 4);
        WriteBE32(b.data() + b.size() - 4, v);
    };
    u32(tag);
    u32(128);
    u32(uint32_t(scrap.size()));
    b.insert(b.end(), scrap.begin(), scrap.end());
    u32(uint32_t(text.size()));
    b.insert(b.end(), text.begin(), text.end());
    if (numbers) {
        u32(7);
        u32(9);
        u32(2);
        u32(4);
    }
    return b;
}

// A scrap of two elements: plain from 0, then from `at` the face in byte
// 10, or 0 there and the face in byte 11.
Bytes Scrap(uint32_t at, uint8_t face10, uint8_t face11)
{
    Bytes b(2 + 40, 0);
    WriteBE16(b.data(), 2);
    for (int i = 0; i < 2; ++i) {
        uint8_t* e = b.data() + 2 + 20 * i;
        WriteBE32(e, i == 0 ? 0 : at);
        WriteBE16(e + 8, 3);   // Geneva
        WriteBE16(e + 12, 10);  // size 10
    }
    b[2 + 20 + 10] = face10;
    b[2 + 20 + 11] = face11;
    return b;
}

TEST_F(DocText, StreamsInsertTheirTextWithTheScrapsFacesAndSelection)
{
    struct Case {
        Bytes bytes;
        int16_t result;
        std::string text;
        Style faceAt4;
    } cases[] = {
        {Stream("plainBOLD", Scrap(5, bold, 0)), 0, "plainBOLD", bold},
        {Stream("plainITAL", Scrap(5, 0, italic)), 0, "plainITAL", italic},  // face 0 takes the next byte
        {Stream("no numbers", Scrap(3, bold, 0), false), 0, "no numbers", bold},
        {Stream("x", Scrap(3, bold, 0), true, 0x48454344), 0, "", normal},       // not 'HECO': nothing read
        {Bytes{'H', 'E', 'C', 'O', 0, 0, 0, 128, 0, 0, 1, 0}, kDamagedDoc, "", normal},  // scrap past the end
        {Bytes{'H', 'E', 'C', 'O', 0, 0, 0, 128, 0, 0, 0, 0, 0, 0, 0, 9, 'a'}, kDamagedDoc, "", normal},
    };
    for (const Case& c : cases) {
        Fill(te_, "");
        EXPECT_EQ(ReadDocStream(c.bytes.data(), c.bytes.size(), te_), c.result) << c.text;
        EXPECT_EQ(TextOf(te_), c.text);
        if (c.text.size() > 4) {
            TETextStyle s{};
            TEGetStyle(6, &s, nullptr, nullptr, te_);
            EXPECT_EQ(s.tsFace, c.faceAt4) << c.text;
            EXPECT_EQ(s.tsSize, 10);
            TEGetStyle(0, &s, nullptr, nullptr, te_);
            EXPECT_EQ(s.tsFace, normal);
        }
    }
    // The four numbers: the selection point and range.
    const Bytes s = Stream("abcdef", Scrap(1, 0, 0));
    Fill(te_, "");
    ASSERT_EQ(ReadDocStream(s.data(), s.size(), te_), 0);
    EXPECT_EQ((**te_).selStart, 2);
    EXPECT_EQ((**te_).selEnd, 4);
}

}  // namespace
