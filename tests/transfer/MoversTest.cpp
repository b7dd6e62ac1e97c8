// The movers one at a time, outside a transfer: what each writes into the
// destination, under which ids and names, and what each refuses.
#include "platform/core/Endian.h"
#include "tests/transfer/CopyFixture.h"
#include "transfer/movers/Movers.h"

namespace transfertest {
namespace {

const char* kKit = R"(structure Kit
table T
  field F longint
method Calc id 40
  var Total op 7 real 1
dbmethod 7 id 50
  comment "db"
menu Edit id 3
  item "Copy" method Calc
menubar Main id 1
  menu Edit
balloon Order_Help id 5 "Some help"
strings Labels id 15000
  "a"
strings Notes id 15001
  "n"
style Big "Times 24"
style Small "Geneva 9"
)";

const char* kShelf = R"(structure Shelf
table U
  field G longint
dbmethod 5 id 60
  comment "other"
method Uses_Edit id 61
  comment "x"
menu Edit id 3
  item "Paste"
menu Other id 9
  item "One"
menubar B1
  menu Other
menubar B2
  menu Other
menubar B3
  menu Other
menubar B4
  menu Other
menubar B5
  menu Other
menubar B6
  menu Other
balloon First id 2 "first"
strings Existing id 15000
  "x"
style Plain "Monaco 9"
style Gone "Times 9"
)";

class MoversTest : public CopyFixture {
protected:
    void SetUp() override
    {
        CopyFixture::SetUp();
        BuildPair(kKit, kShelf);
    }
    static int16_t Word(const Bytes& b, size_t at) { return platform::ReadBES16(&b[at]); }
};

TEST_F(MoversTest, AnUnnamedMenuBarTakesTheNameOfItsSlot)
{
    // The source's bar without its resource name.
    useres(doc_.fResFile);
    ASSERT_TRUE(xsetresname(FourCC("BAQz"), 1, reinterpret_cast<const unsigned char*>("\0"), false));
    TObjQz* made = nullptr;
    ASSERT_EQ(transfer::MoveMBar(&doc_, &dest_, Src(5, "Main"), &made, nullptr), 0);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(readtest::P(made->name), "Menu bar  7");
    EXPECT_EQ(static_cast<TMBarObjQz*>(made)->libaSlot, 7);
    const Bytes liba = StoreRes(&dest_, FourCC("LIBA"), 0);
    ASSERT_EQ(liba.size(), 16u);
    EXPECT_EQ(Word(liba, 0), 7);
    EXPECT_EQ(Word(liba, 14), made->id);
    EXPECT_EQ(StoreRes(&dest_, FourCC("BAQz"), made->id), StoreRes(&doc_, FourCC("BAQz"), 1));
}

TEST_F(MoversTest, ADatabaseMethodGoesToItsSlotOfTenAtLeast)
{
    ASSERT_EQ(StoreRes(&dest_, FourCC("DBPR"), 0).size(), 12u);
    TObjQz* made = nullptr;
    ASSERT_EQ(transfer::MoveProc(&doc_, &dest_, SearchObj_Id(&doc_, 16, 50), &made, nullptr), 0);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->kind, 16);
    const Bytes slots = StoreRes(&dest_, FourCC("DBPR"), 0);
    ASSERT_EQ(slots.size(), 20u);
    const std::vector<int16_t> want{0, 0, 0, 0, 0, 60, -1, made->id, -1, -1};
    for (size_t k = 0; k < want.size(); ++k) EXPECT_EQ(Word(slots, 2 * k), want[k]) << "slot " << k;
    EXPECT_EQ(StoreRes(&dest_, FourCC("CCQz"), made->id), StoreRes(&doc_, FourCC("CCQz"), 50));
}

TEST_F(MoversTest, AProjectMethodIsAppendedToTheDirectoryUnderItsNewName)
{
    TObjQz* made = nullptr;
    const unsigned char name[] = "\x07" "Compute";
    ASSERT_EQ(transfer::MoveProc(&doc_, &dest_, Src(2, "Calc"), &made, name), 0);
    ASSERT_NE(made, nullptr);
    const Bytes dir = StoreRes(&dest_, FourCC("TPQz"), 0);
    ASSERT_EQ(dir.size(), 2 * 44u);
    EXPECT_EQ(std::string(dir.begin() + 45, dir.begin() + 45 + dir[44]), "Compute");
    EXPECT_EQ(Word(dir, 44 + 32), made->id);
    EXPECT_EQ(made->flags, Src(2, "Calc")->flags);
}

TEST_F(MoversTest, ReplacingAMenuKeepsItsIdAndClearsItsDependencies)
{
    TObjQz* target = Dst(6, "Edit");
    ASSERT_NE(target, nullptr);
    ASSERT_EQ(XRef(target, Dst(2, "Uses_Edit")), 0);
    const int16_t id = target->id;
    ASSERT_EQ(transfer::ReplaceMenu(&doc_, &dest_, Src(6, "Edit"), &target), 0);
    EXPECT_EQ(target->id, id);
    EXPECT_EQ(Uses(target), std::set<std::string>{});
    EXPECT_EQ(StoreRes(&dest_, FourCC("MENQ"), id), StoreRes(&doc_, FourCC("MENQ"), 3));
}

// A bar copied into a freed slot of 'LIBA' 0 brings its own pictures to
// that slot ('MEPI' 500 + slot), or leaves it none: the former bar's do
// not stay; with no free slot it takes a new one.
TEST_F(MoversTest, ABarInAFreedSlotNeverShowsTheFormerBarsPictures)
{
    const uint32_t slots = FourCC("LIBA"), picts = FourCC("MEPI");
    struct Case {
        bool freed, sourcePicts;
        int16_t slot;
    };
    CloseDest();
    CloseDoc();
    ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    for (const Case c : {Case{true, false, 3}, Case{true, true, 3}, Case{false, true, 7}, Case{false, false, 7}}) {
        SCOPED_TRACE(std::to_string(c.freed) + std::to_string(c.sourcePicts));
        BuildPair(kKit, kShelf);
        if (c.freed) {
            Bytes liba = StoreRes(&dest_, slots, 0);
            ASSERT_EQ(Word(liba, 0), 6);
            liba[6] = liba[7] = 0xFF;
            ASSERT_EQ(transfer::PutStoreBytes(&dest_, slots, 0, liba), 0);
        }
        ASSERT_EQ(transfer::PutStoreBytes(&dest_, picts, int16_t(500 + c.slot), Bytes(8, 0x44)), 0);
        if (c.sourcePicts) {
            ASSERT_EQ(transfer::PutStoreBytes(&doc_, picts, 501, Bytes(10, 0x55)), 0);
        }
        TObjQz* made = nullptr;
        ASSERT_EQ(transfer::MoveMBar(&doc_, &dest_, Src(5, "Main"), &made, nullptr), 0);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(static_cast<TMBarObjQz*>(made)->libaSlot, c.slot);
        EXPECT_EQ(Word(StoreRes(&dest_, slots, 0), 2 * size_t(c.slot)), made->id);
        EXPECT_EQ(StoreRes(&dest_, picts, int16_t(500 + c.slot)), c.sourcePicts ? Bytes(10, 0x55) : Bytes{});
        CloseDest();
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
}

// Replacing a method keeps the destination's id and directory place and
// takes the source's code, record and properties: the destination's own
// properties do not outlive its code.
TEST_F(MoversTest, AReplacedMethodTakesTheSourcesPropertiesOrNone)
{
    const uint32_t properties = FourCC("PrTo");
    CloseDest();
    CloseDoc();
    ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    struct Case {
        bool source, dest;
    };
    for (const Case c : {Case{false, false}, Case{false, true}, Case{true, false}, Case{true, true}}) {
        SCOPED_TRACE(std::to_string(c.source) + std::to_string(c.dest));
        BuildPair(kKit, kShelf);
        TObjQz* target = Dst(2, "Uses_Edit");
        ASSERT_NE(target, nullptr);
        if (c.source) {
            ASSERT_EQ(transfer::PutStoreBytes(&doc_, properties, 40, Bytes(6, 0x11)), 0);
        }
        if (c.dest) {
            ASSERT_EQ(transfer::PutStoreBytes(&dest_, properties, 61, Bytes(4, 0x22)), 0);
        }
        ASSERT_EQ(XRef(target, Dst(6, "Edit")), 0);
        const Bytes before = StoreRes(&dest_, FourCC("TPQz"), 0);
        ASSERT_EQ(transfer::ReplaceProc(&doc_, &dest_, Src(2, "Calc"), &target), 0);
        EXPECT_EQ(target->id, 61);
        EXPECT_EQ(StoreRes(&dest_, FourCC("CCQz"), 61), StoreRes(&doc_, FourCC("CCQz"), 40));
        EXPECT_EQ(StoreRes(&dest_, properties, 61), c.source ? Bytes(6, 0x11) : Bytes{});
        EXPECT_EQ(Uses(target), std::set<std::string>{});
        // Its record is the source's but for the id; the others as they were.
        const Bytes dir = StoreRes(&dest_, FourCC("TPQz"), 0), from = StoreRes(&doc_, FourCC("TPQz"), 0);
        ASSERT_EQ(dir.size(), before.size());
        for (size_t r = 0; r + 44 <= dir.size(); r += 44) {
            const Bytes record(dir.begin() + std::ptrdiff_t(r), dir.begin() + std::ptrdiff_t(r + 44));
            if (Word(record, 32) != 61) {
                EXPECT_EQ(record, Bytes(before.begin() + std::ptrdiff_t(r), before.begin() + std::ptrdiff_t(r + 44)));
                continue;
            }
            Bytes want(from.begin(), from.begin() + 44);
            want[32] = 0, want[33] = 61;
            EXPECT_EQ(record, want);
        }
        CloseDest();
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
}

TEST_F(MoversTest, AStringListWhoseIdIsTakenIsNotCopied)
{
    struct Case {
        std::string list;
        bool newId;
        int16_t id;
        std::string first;
    };
    for (const Case& c : {Case{"Labels", false, 15000, "x"}, Case{"Notes", false, 15001, "n"},
                          Case{"Labels", true, 15002, "a"}}) {
        TObjQz* made = nullptr;
        ASSERT_EQ(transfer::MoveStr(&doc_, &dest_, Src(11, c.list), &made, c.newId), 0) << c.list;
        ASSERT_NE(made, nullptr) << c.list;
        EXPECT_EQ(made->id, c.id) << c.list;
        const int16_t saved = platform::CurResFile();
        platform::UseResFile(dest_.fRsrFile);
        unsigned char first[256];
        platform::GetIndString(first, c.id, 1);
        platform::UseResFile(saved);
        EXPECT_EQ(readtest::P(first), c.first) << c.list;
    }
}

// A list counts its strings with 16 unsigned bits: up to 65,535 of them
// are all read (as the preview, the print and the search read them) and
// all copied, here under a new id; the editor, which holds at most 32,767,
// refuses a longer list and says so.
TEST_F(MoversTest, EveryStringOfAListIsReadAndCopiedUpTo65535)
{
    for (const uint32_t count : {32767u, 32768u, 65535u}) {
        SCOPED_TRACE(count);
        std::string source = "structure Big\nstrings Many id 15000\n";
        std::vector<std::string> strings;
        for (uint32_t i = 1; i <= count; ++i) {
            strings.push_back(std::to_string(i));
            source += "  \"" + strings.back() + "\"\n";
        }
        ClosePair();
        BuildPair(source, kShelf);
        auto* list = static_cast<TSTRObjQz*>(Src(11, "Many"));
        ASSERT_NE(list, nullptr);
        std::vector<std::string> read;
        unsigned char name[256];
        ASSERT_TRUE(list->Strings(&read, name));
        EXPECT_TRUE(read == strings);
        // Its id is taken there: by the default, it comes under a new one.
        ResetAlerts();
        platform::PushDialogAnswer(1);
        ASSERT_EQ(Drop({list}), 0);
        EXPECT_EQ(AlertCount(), 0);
        ReopenDest();
        auto* copy = static_cast<TSTRObjQz*>(Dst(11, "Many"));
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->id, 15001);
        ASSERT_TRUE(copy->Strings(&read, name));
        EXPECT_TRUE(read == strings);
        if (count > 32767) {
            list->Edit(&doc_);
            EXPECT_EQ(AlertCount(), 1);
            unsigned char said[256];
            MyGetIndString(said, 1002, 147);
            EXPECT_EQ(LastAlert().text, readtest::P(said));
            EXPECT_EQ(doc_.fFirstWindow, nullptr);
        }
    }
}

// The copy bears the name its entry keeps, as a read of the destination
// names it.
TEST_F(MoversTest, ABalloonsEntryHoldsItsNameCutToFifteenAndItsPlace)
{
    TObjQz* made = nullptr;
    const unsigned char name[] = "\x14" "Help_For_Every_Order";
    ASSERT_EQ(transfer::MoveBalloon(&doc_, &dest_, Src(10, "Order_Help"), &made, name), 0);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(readtest::P(made->name), "Help_For_Every_");
    EXPECT_EQ(static_cast<TFieldBalloonObjQz*>(made)->balloonIndex, 2);
    const Bytes dir = StoreRes(&dest_, FourCC("LiHe"), 0);
    ASSERT_EQ(dir.size(), 36u);
    EXPECT_EQ(dir[18], 15);
    EXPECT_EQ(std::string(dir.begin() + 19, dir.begin() + 34), "Help_For_Every_");
    EXPECT_EQ(Word(dir, 34), made->id);
}

TEST_F(MoversTest, TooLittleRoomWritesNothing)
{
    // Room for twice the code less one byte, then exactly twice.
    static int64_t room = 0;
    transfer::SetRoomProbe([](TMainDoc*) { return room; });
    const int64_t twice = 2 * int64_t(StoreRes(&doc_, FourCC("CCQz"), 40).size());
    const Bytes before = StoreRes(&dest_, FourCC("TPQz"), 0);
    for (const auto& [free, result] : {std::pair{twice - 1, int16_t(-34)}, std::pair{twice, int16_t(0)}}) {
        room = free;
        TObjQz* made = nullptr;
        EXPECT_EQ(transfer::MoveProc(&doc_, &dest_, Src(2, "Calc"), &made, nullptr), result) << free;
        EXPECT_EQ(made != nullptr, result == 0) << free;
        if (result != 0) {
            EXPECT_EQ(StoreRes(&dest_, FourCC("TPQz"), 0), before);
        }
    }
}

TEST_F(MoversTest, AStyleTakesTheRowOfADeletedOneWhoseObjectLetsGoOfItsUsers)
{
    // "Gone" was deleted: its row is named "----" and a method still uses it.
    TObjQz* gone = Dst(12, "Gone");
    ASSERT_NE(gone, nullptr);
    const int16_t row = gone->id;
    gone->SetName(reinterpret_cast<const unsigned char*>("\x04----"));
    Bytes table = StoreRes(&dest_, FourCC("STQz"), 0);
    const size_t at = 2 + 114 * size_t(row - 1);
    std::fill(table.begin() + std::ptrdiff_t(at), table.begin() + std::ptrdiff_t(at + 32), 0);
    table[at] = 4;
    std::memcpy(&table[at + 1], "----", 4);
    useres(dest_.fResFile);
    platform::Handle h = xget1res(FourCC("STQz"), 0);
    std::memcpy(*h, table.data(), table.size());
    ASSERT_TRUE(xwriteres(h));
    TObjQz* user = Dst(2, "Uses_Edit");
    ASSERT_EQ(XRef(user, gone), 0);

    TObjQz* made = nullptr;
    ASSERT_EQ(transfer::MoveStyle(&doc_, &dest_, Src(12, "Small"), &made, nullptr), 0);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->id, row);
    // The deleted style's object is gone from the lists and from its user.
    EXPECT_EQ(Uses(user), std::set<std::string>{});
    EXPECT_EQ(SearchObj_Id(&dest_, 12, row), made);
    const Bytes after = StoreRes(&dest_, FourCC("STQz"), 0);
    EXPECT_EQ(Word(after, 0), 2);
    EXPECT_EQ(std::string(after.begin() + std::ptrdiff_t(at) + 1, after.begin() + std::ptrdiff_t(at) + 6), "Small");
    EXPECT_EQ(std::string(after.begin() + std::ptrdiff_t(at) + 33, after.begin() + std::ptrdiff_t(at) + 33 + after[at + 32]), "Geneva 9");
}

// Memory failing at each allocation of a method's copy never leaves the
// directory naming a code that is not there.
TEST_F(MoversTest, TheDirectoryNeverNamesAMissingCode)
{
    for (int32_t after = 0; after < 400; ++after) {
        platform::InjectFault(platform::FaultKind::Allocation, after);
        TObjQz* made = nullptr;
        const int16_t err = transfer::MoveProc(&doc_, &dest_, Src(2, "Calc"), &made, nullptr);
        const bool fired = !platform::IsFaultArmed(platform::FaultKind::Allocation);
        platform::ClearFault(platform::FaultKind::Allocation);
        const Bytes dir = StoreRes(&dest_, FourCC("TPQz"), 0);
        for (size_t r = 0; r + 44 <= dir.size(); r += 44)
            EXPECT_FALSE(StoreRes(&dest_, FourCC("CCQz"), Word(dir, r + 32)).empty()) << after;
        if (!fired) {
            EXPECT_EQ(err, 0);
            break;
        }
    }
}

}  // namespace
}  // namespace transfertest
