// A filter's first term as the dialogs read and write it: records cut at
// every place read as far as they go, a rewrite keeps the further terms,
// and the save rules tie fields to tables and table balloons to fields'.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "design/filters/FilterRecord.h"
#include "platform/core/Memory.h"

using namespace platform;
using Bytes = std::vector<uint8_t>;

namespace {

Handle Make(const Bytes& b)
{
    Handle h = nullptr;
    EXPECT_EQ(PtrToHand(b.data(), &h, Size(b.size())), noErr);
    return h;
}

Bytes Of(Handle h) { return Bytes(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + GetHandleSize(h)); }

// One term: kinds 1 and 2, bit 41, subject date, operator 3, text "ab".
const Bytes kOne = {0, 1, 0x60, 0, 0, 0, 0x00, 0x40, 1, 2, 0xAA, 0xBB, 2, 'a', 'b', 0};

TEST(FilterRecordTest, ARecordReadsOnlyAsFarAsItGoes)
{
    struct Case {
        size_t keep;
        bool whole;
        uint8_t subject, op;
        std::string text;
        uint8_t firstFlags;
    } cases[] = {
        {0, false, 1, 1, "", 0},      {2, false, 1, 1, "", 0},  {3, false, 1, 1, "", 0x60},
        {12, false, 1, 1, "", 0x60},  // no length byte
        {14, false, 1, 1, "", 0x60},  // the text's last byte missing
        {15, true, 2, 3, "ab", 0x60}, // the pad byte may be missing
        {16, true, 2, 3, "ab", 0x60},
    };
    for (const Case& c : cases) {
        Handle h = Make(Bytes(kOne.begin(), kOne.begin() + std::ptrdiff_t(c.keep)));
        filterrec::FirstTerm term;
        filterrec::ReadFirstTerm(h, &term);
        EXPECT_EQ(term.whole, c.whole) << c.keep;
        EXPECT_EQ(term.subject, c.subject) << c.keep;
        EXPECT_EQ(term.op, c.op) << c.keep;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(term.text + 1), term.text[0]), c.text) << c.keep;
        EXPECT_EQ(term.flags[0], c.firstFlags) << c.keep;
        DisposeHandle(h);
    }
    // A count of 0 holds no term, whatever follows.
    Bytes none = kOne;
    none[1] = 0;
    Handle h = Make(none);
    EXPECT_EQ(filterrec::FirstTermEnd(h), 0);
    DisposeHandle(h);
}

TEST(FilterRecordTest, ARewriteSizesOneTermAtFourteenPlusItsTextAndKeepsFurtherTerms)
{
    struct Case {
        Bytes record;
        std::string text;
        Bytes expected;
    } cases[] = {
        // One term: 14 + L, whatever the text's length; bytes 10-11 kept.
        {kOne, "", {0, 1, 0x60, 0, 0, 0, 0x00, 0x40, 1, 2, 0xAA, 0xBB, 0, 0}},
        {kOne, "xyz", {0, 1, 0x60, 0, 0, 0, 0x00, 0x40, 1, 2, 0xAA, 0xBB, 3, 'x', 'y', 'z', 0}},
        // Two terms: the second stays at an even offset, the count stays.
        {{0, 2, 0x60, 0, 0, 0, 0, 0, 1, 2, 0, 0, 1, 'q', 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         "xyz",
         {0, 2, 0x60, 0, 0, 0, 0, 0, 2, 3, 0, 0, 3, 'x', 'y', 'z', 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // Too short for its term: one whole term of what it held.
        {{0, 1, 0x60, 0, 0}, "", {0, 1, 0x60, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Handle h = Make(c.record);
        filterrec::FirstTerm term;
        filterrec::ReadFirstTerm(h, &term);
        if (c.record.size() > 8 && c.record[1] == 2) term.subject = 3, term.op = 4;
        term.text[0] = uint8_t(c.text.size());
        std::copy(c.text.begin(), c.text.end(), term.text + 1);
        ASSERT_EQ(filterrec::WriteFirstTerm(h, term), noErr);
        EXPECT_EQ(Of(h), c.expected) << c.text << " over " << c.record.size();
        DisposeHandle(h);
    }
}

// Table balloons follow field balloons as fields follow tables (the dialog
// test saves the latter); a flag past a short record's end is not set.
TEST(FilterRecordTest, SaveRulesAndFlagsStayInsideTheRecord)
{
    // Flags 1 (tables) and 10 (field balloons) in bytes 2 and 3; 28-30 in byte 5.
    const struct {
        uint8_t byte2, byte3, expected;
    } rules[] = {
        {0x00, 0x20, 0x02}, {0x00, 0x00, 0x00}, {0x40, 0x00, 0x0C}, {0x20, 0x00, 0x00}, {0x40, 0x20, 0x0E},
    };
    for (const auto& r : rules) {
        Handle h = Make({0, 1, r.byte2, r.byte3, 0, 0x02});
        filterrec::ApplySaveRules(h);
        EXPECT_EQ(Of(h), (Bytes{0, 1, r.byte2, r.byte3, 0, r.expected})) << int(r.byte2) << " " << int(r.byte3);
        DisposeHandle(h);
    }
    Handle shortOne = Make({0, 1, 0, 0, 0, 0, 0});  // bit 40 lies in its eighth byte
    filterrec::PutFlag(shortOne, filterrec::kInUsesPane, true);
    filterrec::PutFlag(shortOne, filterrec::kInListPane, true);
    EXPECT_EQ(Of(shortOne), (Bytes{0, 1, 0, 0, 0, 0, 1}));
    EXPECT_FALSE(filterrec::TstFlag(shortOne, filterrec::kInUsesPane));
    EXPECT_TRUE(filterrec::TstFlag(shortOne, filterrec::kInListPane)) << "in the record's last byte";
    DisposeHandle(shortOne);
}

}  // namespace
