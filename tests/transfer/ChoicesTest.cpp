// The choices of the conflict codes ('C_Pm'), the defaults of a transfer
// ('C_PR') and the conflict preferences kept in the preferences file.
#include "transfer/conflicts/ConflictPrefs.h"
#include "tests/transfer/TransferFixture.h"

namespace transfertest {
namespace {

using transfer::C_PmRec;
using transfer::C_PmTable;
using transfer::Cc_Dflt;
using transfer::ChooseIDStrListe;
using transfer::ChooseNumber;
using transfer::ChooseNumStrListe;
using transfer::ChooseTypeObj;
using transfer::ChooseValue;
using transfer::G_Filters;
using transfer::G_TempBool;
using transfer::GetChIDC_PmRec;
using transfer::GetChoixPtr;
using transfer::GetStr_Icn;
using transfer::GetTypePtr;
using transfer::kChoiceDefault;
using transfer::kChoiceOffered;
using transfer::kChoiceVisible;
using transfer::kConflictCodes;
using transfer::MakeC_Pref;
using transfer::MakeCc_Replace;
using transfer::MaxChoix;
using transfer::ProgramC_Pm;
using transfer::SaveC_Pref;
using transfer::UpdateC_Pref;
constexpr uint8_t kV = kChoiceVisible, kP = kChoiceOffered, kD = kChoiceDefault;

class ChoicesTest : public TransferFixture {
protected:
    // Code 6: choices 1, 3 (offered), 4 (offered, default), 9; code 104:
    // one choice; code 7: none.
    void UseSample()
    {
        UseChoices(C_Pm({{6, {{1, kV, 1, 11}, {3, kP, 2, 12}, {4, uint8_t(kP | kD), 3, 13}, {9, 0, 4, 14}}, 2, 0x0306},
                         {104, {{12, kP, 0, 20}}, 28, 0x0104},
                         {7, {}, 4, 0x0007}}));
    }
};

TEST_F(ChoicesTest, PositionsCountOnlyOfferedChoicesWhileThePreferencesAreEdited)
{
    UseSample();
    struct Row {
        bool prefs;
        int16_t code, position, value;
    };
    const Row rows[] = {
        {false, 6, 1, 1}, {false, 6, 2, 3}, {false, 6, 3, 4}, {false, 6, 4, 9}, {false, 6, 5, 0}, {false, 6, 0, 0},
        {true, 6, 1, 3},  {true, 6, 2, 4},  {true, 6, 3, 0},  {false, 7, 1, 0}, {false, 5, 1, 0}, {true, 104, 1, 12},
    };
    for (const Row& row : rows) {
        G_TempBool = row.prefs;
        const uint8_t* entry = nullptr;
        GetChoixPtr(row.code, row.position, &entry);
        EXPECT_EQ(entry ? C_PmTable::Entry(entry).number : 0, row.value) << row.code << "@" << row.position;
        EXPECT_EQ(ChooseValue(row.code, row.position), row.value) << row.code << "@" << row.position;
        int16_t text = -1, icon = -1;
        ChooseNumStrListe(row.code, row.position, &text, &icon);
        EXPECT_EQ(text, row.value ? 10 + (row.code == 6 ? row.position + (row.prefs ? 1 : 0) : 10) : 0);
        if (row.value) {
            EXPECT_EQ(ChooseNumber(row.code, row.value), row.position) << row.code << "/" << row.value;
        }
    }
    G_TempBool = false;
    EXPECT_EQ(MaxChoix(6), 4);
    EXPECT_EQ(MaxChoix(7), 0);
    EXPECT_EQ(MaxChoix(5), 0);
    EXPECT_EQ(ChooseNumber(6, 2), 0);
    EXPECT_EQ(ChooseNumber(5, 1), 0);
    G_TempBool = true;
    EXPECT_EQ(MaxChoix(6), 2);
    // A choice not offered still has a position: after the offered ones
    // before it.
    EXPECT_EQ(ChooseNumber(6, 1), 1);
    EXPECT_EQ(ChooseNumber(6, 9), 3);
}

TEST_F(ChoicesTest, ACodesTypeTextAndIconAndAChoicesEntryAreReadByNumber)
{
    UseSample();
    EXPECT_EQ(ChooseTypeObj(6), 2);
    EXPECT_EQ(ChooseTypeObj(104), 28);
    EXPECT_EQ(ChooseTypeObj(5), 0);
    int16_t text = -1, icon = -1;
    GetStr_Icn(6, &text, &icon);
    EXPECT_EQ(text, 6);
    EXPECT_EQ(icon, 3);
    GetStr_Icn(5, &text, &icon);
    EXPECT_EQ(text, 0);
    EXPECT_EQ(icon, 0);
    C_PmRec e;
    GetChIDC_PmRec(&e, 6, 4);
    EXPECT_EQ(e.number, 4);
    EXPECT_EQ(e.icon, 3);
    EXPECT_EQ(e.text, 13);
    EXPECT_EQ(e.flags, kP | kD);
    GetChIDC_PmRec(&e, 6, 5);
    EXPECT_EQ(e.number, -1);
    ChooseIDStrListe(6, 9, &text, &icon);
    EXPECT_EQ(text, 14);
    EXPECT_EQ(icon, 4);
    ChooseIDStrListe(6, 5, &text, &icon);
    EXPECT_EQ(text, 0);
    EXPECT_EQ(icon, 0);
    const uint8_t* block = nullptr;
    GetTypePtr(104, &block);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(C_PmTable::Code(block), 104);
}

TEST_F(ChoicesTest, ABlockThatDoesNotFitEndsTheTable)
{
    const Bytes whole = C_Pm({{1, {{4, 0}}}, {2, {{1, 0}, {3, 0}}}, {3, {{9, 0}}}});
    struct Row {
        const char* what;
        Bytes bytes;
        std::vector<int16_t> codes;  // the codes that keep a block
    };
    // Block 2 starts at 2 + 16; its choice count at + 6.
    Bytes negative = whole;
    negative[2 + 16 + 6] = 0xFF;  // -256 choices
    Bytes tooMany = whole;
    tooMany[2 + 16 + 7] = 5;  // 5 choices, 3 blocks' worth left
    const Row rows[] = {
        {"whole", whole, {1, 2, 3}},
        {"exact fit", Bytes(whole.begin(), whole.end()), {1, 2, 3}},
        {"last choice cut", Bytes(whole.begin(), whole.end() - 1), {1, 2}},
        {"last header cut", Bytes(whole.begin(), whole.begin() + 2 + 16 + 24 + 7), {1, 2}},
        {"count too high", C_Pm({{1, {{4, 0}}}}, 5), {1}},
        {"count negative", C_Pm({{1, {{4, 0}}}}, 0xFFFF), {}},
        {"count cut", Bytes{0x00}, {}},
        {"empty", Bytes{}, {}},
        {"negative choices", negative, {1}},
        {"more choices than bytes", tooMany, {1}},
    };
    for (const Row& row : rows) {
        C_PmTable table(row.bytes.empty() ? nullptr : row.bytes.data(), int32_t(row.bytes.size()));
        std::vector<int16_t> codes;
        table.ForEach([&](const uint8_t* block) { codes.push_back(C_PmTable::Code(block)); });
        EXPECT_EQ(codes, row.codes) << row.what;
    }
    // Counts claimed past the end are never walked: the claim below would
    // have read 8 x 0x7FFF bytes.
    Bytes huge = C_Pm({{1, {{4, 0}}}});
    huge[8] = 0x7F, huge[9] = 0xFF;
    C_PmTable table(huge.data(), int32_t(huge.size()));
    EXPECT_EQ(table.Block(1), nullptr);

    // Through the program's resource: later codes have no choices and no
    // default.
    UseChoices(Bytes(whole.begin(), whole.end() - 1));
    MakeDefaults();
    EXPECT_EQ(Cc_Dflt(1), 4);
    EXPECT_EQ(Cc_Dflt(2), 1);
    EXPECT_EQ(Cc_Dflt(3), 0);
    EXPECT_EQ(MaxChoix(3), 0);
    EXPECT_EQ(MaxChoix(2), 2);
}

TEST_F(ChoicesTest, DefaultsComeFromTheUsersPairsThenTheFactoryDefaults)
{
    // Code 1: first choice; 2: the last flagged default; 3: no choices; 132:
    // out of range.
    UseChoices(C_Pm({{1, {{4, kP}, {9, kP}}},
                     {2, {{1, kD}, {3, 0}, {5, kD}}},
                     {3, {}},
                     {5, {{7, 0}}},
                     {6, {{1, 0}, {3, 0}}},
                     {132, {{9, kD}}},
                     {131, {{8, 0}}}}),
               Pairs({{1, 3}, {6, 4}}));
    UsePrefs(Pairs({{5, 0}, {6, 1}, {6, 3}, {0, 9}, {132, 9}, {-1, 9}, {9, 12}, {131, 2}}));
    MakeDefaults();
    struct Row {
        int16_t code, expected;
    };
    const Row rows[] = {
        {1, 4},    // first choice
        {2, 5},    // last flagged default
        {3, 0},    // block without choices
        {5, 7},    // pair of choice 0: the factory default
        {6, 3},    // the later pair wins
        {9, 12},   // a pair without a block still counts
        {131, 2},  // the last code
        {132, 0}, {0, 0}, {-1, 0}, {4, 0},
    };
    for (const Row& row : rows) EXPECT_EQ(Cc_Dflt(row.code), row.expected) << row.code;
    // The component commands take the program's 'C_PR' 1 only.
    ASSERT_EQ(MakeCc_Replace(G_Filters), 0);
    for (int16_t code = 1; code <= kConflictCodes; ++code)
        EXPECT_EQ(Cc_Dflt(code), code == 1 ? 3 : code == 6 ? 4 : 0) << code;
    // No table, no defaults.
    platform::DisposeHandle(G_Filters);
    G_Filters = nullptr;
    EXPECT_EQ(Cc_Dflt(1), 0);
}

TEST_F(ChoicesTest, EveryOfferedChoiceOfTheShippedTableIsFoundAtItsOwnPosition)
{
    G_MainResFile = platform::OpenResFile(QZ_APP_RESOURCES, platform::fsRdPerm, platform::ResFileFork::Data);
    ASSERT_GT(G_MainResFile, 0);
    const C_PmTable table = ProgramC_Pm();
    int32_t blocks = 0, offered = 0;
    std::vector<int16_t> codes;
    table.ForEach([&](const uint8_t* block) {
        ++blocks;
        codes.push_back(C_PmTable::Code(block));
    });
    // Every code of the conflict table has its block, and the table is read whole.
    const std::vector<int16_t> expected = {1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,
                                           14,  15,  16,  17,  18,  19,  20,  21,  23,  24,  25,  26,  101,
                                           102, 103, 104, 105, 107, 108, 109, 110, 111, 113, 114, 115, 116,
                                           117, 118, 119, 120, 121, 124, 125, 126, 127, 128, 129, 130, 131};
    EXPECT_EQ(codes, expected);
    G_TempBool = true;
    for (int16_t code : codes) {
        const uint8_t* block = table.Block(code);
        for (int32_t i = 0; i < C_PmTable::ChoiceCount(block); ++i) {
            const C_PmRec e = C_PmTable::Entry(C_PmTable::Choice(block, i));
            if (!(e.flags & kChoiceOffered)) continue;
            ++offered;
            const uint8_t* at = nullptr;
            GetChoixPtr(code, ChooseNumber(code, e.number), &at);
            ASSERT_NE(at, nullptr) << code;
            EXPECT_EQ(C_PmTable::Entry(at).number, e.number) << code;
            // Its text and icon exist.
            unsigned char text[256];
            platform::GetIndString(text, 1018, e.text);
            EXPECT_GT(text[0], 0) << code << "/" << e.number;
            EXPECT_NE(platform::GetResource(FourCC("cicn"), int16_t(257 + e.icon)), nullptr) << code;
        }
        int16_t textIndex = 0, icon = 0;
        GetStr_Icn(code, &textIndex, &icon);
        unsigned char text[256];
        platform::GetIndString(text, code < 100 ? 1016 : 1017, textIndex);
        EXPECT_GT(text[0], 0) << code;
        platform::GetIndString(text, code < 100 ? 1021 : 1022, textIndex);
        EXPECT_GT(text[0], 0) << code;
        EXPECT_NE(platform::GetResource(FourCC("cicn"), int16_t(512 + icon)), nullptr) << code;
    }
    EXPECT_GT(offered, 60);
}

TEST_F(ChoicesTest, ThePreferencesListOffersCodesWithOfferedChoicesAndSavesAPairEach)
{
    UseChoices(C_Pm({{1, {{4, kV}, {9, uint8_t(kP | kD)}}},
                     {6, {{1, kP}, {3, kP}}},
                     {17, {{16, kV}}},
                     {110, {{9, kV}, {8, kP}}}}));
    OpenPrefResFile();
    ASSERT_NE(G_PrefResFile, -1);
    // A pair already saved for code 6.
    {
        const int16_t saved = platform::CurResFile();
        platform::UseResFile(G_PrefResFile);
        if (platform::Handle old = platform::Get1Resource(FourCC("C_PR"), 0)) {
            platform::RemoveResource(old);
            platform::DisposeHandle(old);
        }
        const Bytes pairs = Pairs({{6, 3}, {6, 1}, {2, 4}});
        platform::Handle h = nullptr;
        ASSERT_EQ(platform::PtrToHand(pairs.data(), &h, platform::Size(pairs.size())), 0);
        platform::AddResource(h, FourCC("C_PR"), 0, nullptr);
        platform::UseResFile(saved);
    }
    G_C_Hide = true;
    G_TempBool = true;
    C_ListHdl list = NewList();
    ASSERT_EQ(MakeC_Pref(list), 0);
    ASSERT_EQ(list->Size(), 3);
    const int16_t codes[] = {1, 6, 110}, defaults[] = {9, 1, 9};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list->At(i)->fCode, codes[i]);
        EXPECT_EQ(list->At(i)->fChoice, defaults[i]);
        EXPECT_EQ(list->At(i)->fSource, nullptr);
    }
    UpdateC_Pref(list);
    EXPECT_EQ(list->At(1)->fChoice, 3);  // the first pair of its code
    list->At(2)->fChoice = 8;
    ASSERT_EQ(SaveC_Pref(list), 0);
    ClosePrefResFile();
    OpenPrefResFile();
    const int16_t saved = platform::CurResFile();
    platform::UseResFile(G_PrefResFile);
    platform::Handle h = platform::Get1Resource(FourCC("C_PR"), 0);
    platform::UseResFile(saved);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(Bytes(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + platform::GetHandleSize(h)),
              Pairs({{1, 9}, {6, 3}, {110, 8}}));
    transfer::DisposeC_List(list);
}

}  // namespace
}  // namespace transfertest
