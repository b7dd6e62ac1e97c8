#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "design/objects/DesignGlobals.h"
#include "design/preferences/PrefUpgrade.h"
#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "tests/app/AppFixture.h"

using namespace apptest;
using platform::FourCC;
using Bytes = std::vector<uint8_t>;

namespace {

// The application's side of the upgrade: the standard filters, an older
// standard filter, the conflict defaults and the blocking table.
const char* kAppResources = R"(
'vers' 1 { version 6 0 0 stage final release 0 region 0 short "6.0" long "6.0" }
'FLT2' 131 "Forms" { $"0001 0000 0080 0380 0000 0000 0000" }
'FLT2' 132 "Plug-ins" { $"0001 0100 0000 0380 0000 0000 0000" }
'FLT2' 149 "Unused objects" { $"0001 7FFF FDFE 0F80 0000 0000 0000" }
'FLT2' 150 "Groups" { $"0001 0000 0100 0380 0000 0000 0000" }
'FLT2' 151 "Not added" { $"0001 0000 0000 0000 0000 0000 0000" }
'FLTX' 128 "Documented objects" { $"0001 7FFF 3FC3 3800 0000" }
'C_PR' 0 { $"0102 0304" }
'Oblk' 0 { $"0501 1801 00" }
)";

Bytes ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

uint32_t Code(const char* type) { return (uint32_t(uint8_t(type[0])) << 24) | (uint8_t(type[1]) << 16) | (uint8_t(type[2]) << 8) | uint8_t(type[3]); }

Bytes Vers(uint32_t version) { return {uint8_t(version >> 24), uint8_t(version >> 16), uint8_t(version >> 8), uint8_t(version), 0, 0}; }

struct Stored {
    std::string name;
    Bytes data;
    bool operator==(const Stored&) const = default;
};
using Filters = std::map<int16_t, Stored>;

class PrefUpgradeTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseAppResources(kAppResources);
    }
    void TearDown() override
    {
        platform::ClearAllFaults();
        ResetDesignGlobals();
        AppFixture::TearDown();
    }

    std::string Path() const { return prefsDir_ + "/Test Preferences"; }

    // A preferences file holding these resources, open as G_PrefResFile.
    void MakePrefs(const std::vector<platform::ResourceImage>& resources)
    {
        platform::ResourceFileImage image;
        image.resources = resources;
        Bytes bytes;
        ASSERT_EQ(platform::BuildResourceFile(image, &bytes), platform::noErr);
        ASSERT_EQ(platform::WriteFileAtomically(Path(), bytes.data(), bytes.size()), platform::noErr);
        Reopen();
    }
    void Reopen()
    {
        if (G_PrefResFile != -1) platform::CloseResFile(G_PrefResFile);
        const int16_t saved = platform::CurResFile();
        G_PrefResFile = platform::OpenResFile(Path(), platform::fsRdWrPerm, platform::ResFileFork::Data);
        platform::UseResFile(saved);
        ASSERT_GT(G_PrefResFile, 0);
    }
    static platform::ResourceImage Res(const char* type, int16_t id, Bytes data, const std::string& name = "")
    {
        platform::ResourceImage r;
        r.type = Code(type);
        r.id = id;
        r.hasName = !name.empty();
        r.name = name;
        r.data = std::move(data);
        return r;
    }

    Filters Read(const char* type)
    {
        Filters out;
        const int16_t saved = platform::CurResFile();
        platform::UseResFile(G_PrefResFile);
        for (int16_t i = 1; i <= platform::Count1Resources(Code(type)); ++i) {
            platform::Handle h = platform::Get1IndResource(Code(type), i);
            int16_t id = 0;
            platform::ResType t = 0;
            unsigned char name[256];
            platform::GetResInfo(h, &id, &t, name);
            const auto* p = reinterpret_cast<const uint8_t*>(*h);
            out[id] = Stored{P(name), Bytes(p, p + platform::GetHandleSize(h))};
        }
        platform::UseResFile(saved);
        return out;
    }
    Bytes One(const char* type, int16_t id)
    {
        Filters all = Read(type);
        return all.count(id) ? all[id].data : Bytes{0xEE};
    }
};

const Bytes kForms = {0x00, 0x01, 0x00, 0x00, 0x00, 0x80, 0x03, 0x80, 0, 0, 0, 0, 0, 0};
const Bytes kPlugins = {0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x03, 0x80, 0, 0, 0, 0, 0, 0};
const Bytes kUnused = {0x00, 0x01, 0x7F, 0xFF, 0xFD, 0xFE, 0x0F, 0x80, 0, 0, 0, 0, 0, 0};
const Bytes kGroups = {0x00, 0x01, 0x00, 0x00, 0x01, 0x00, 0x03, 0x80, 0, 0, 0, 0, 0, 0};

}  // namespace

TEST_F(PrefUpgradeTest, AFileWithoutVersionRunsEveryStep)
{
    // 'FLTR' 128 "Mine": old bits 2, 3 and 13, then its name at offset 6.
    MakePrefs({Res("FLTR", 128, {0x00, 0x01, 0x30, 0x04, 0x00, 0x00, 4, 'M', 'i', 'n', 'e'}, "Mine"),
               Res("C_PR", 0, {9, 9}), Res("Oblk", 0, {18, 1, 0})});
    ASSERT_TRUE(UpdatePrefResFile());

    // Step 1 moves 2 -> 13, 3 -> 8, 13 -> 16; step 2 adds 23, 24 (old 13)
    // and 12-15 (id 128), and puts the name at 12; step 4 moves it to 16
    // behind criterion 0 and comparison 0; step 5 moves 23, 24 to 28, 29
    // and sets 16-22 (id 128): kind bits 8, 12-22, 28, 29.
    const Bytes mine = {0x00, 0x01, 0x00, 0x8F, 0xFE, 0x0C, 0x00, 0x00, 0, 0, 0, 0,
                        0,    0,    0,    0,    4,    'M',  'i',  'n',  'e'};
    // The older standard filter through steps 4 and 5.
    const Bytes documented = {0x00, 0x01, 0x7F, 0xFF, 0x01, 0xFE, 0x33, 0x80, 0, 0, 0, 0, 0, 0};
    const Filters expected = {
        {128, {"Mine", mine}},       {129, {"Documented objects", documented}}, {130, {"Forms", kForms}},
        {131, {"Groups", kGroups}},  {132, {"Plug-ins", kPlugins}},             {133, {"Unused objects", kUnused}},
    };
    EXPECT_EQ(Read("FLT2"), expected);
    EXPECT_EQ(One("C_PR", 0), (Bytes{1, 2, 3, 4})) << "the application's";
    // Kind 24 (forms) is today's numbering: the step of the older kinds
    // leaves the application's table alone.
    EXPECT_EQ(One("Oblk", 0), (Bytes{5, 1, 24, 1, 0})) << "the application's, already current";

    // Stamped, the file is never upgraded again.
    SetPrefVERS();
    EXPECT_EQ(One("vers", 1)[0], 0x06);
    platform::CloseResFile(G_PrefResFile);
    G_PrefResFile = -1;
    const Bytes before = ReadAll(Path());
    Reopen();
    EXPECT_FALSE(UpdatePrefResFile());
    platform::CloseResFile(G_PrefResFile);
    G_PrefResFile = -1;
    EXPECT_EQ(ReadAll(Path()), before);
}

// The oldest numbering traced one bit at a time through every step, for
// filters other than the file's first (whose kinds 12-22 are all set):
// old 2 becomes 13, then 24 and at last 29; old 18 becomes 19, then 24.
TEST_F(PrefUpgradeTest, OldestKindBitsEndWhereTodaysFiltersHoldThem)
{
    struct Case {
        const char* name;
        Bytes bits;  // bytes 2-5 of the oldest filter
        bool bit24, bit29;
    } cases[] = {
        {"None", {0x00, 0x00, 0x00, 0x00}, false, false},
        {"Two", {0x20, 0x00, 0x00, 0x00}, false, true},
        {"Eighteen", {0x00, 0x00, 0x20, 0x00}, true, false},
    };
    std::vector<platform::ResourceImage> resources;
    int16_t id = 129;
    for (const Case& c : cases) {
        Bytes filter = {0x00, 0x01};
        filter.insert(filter.end(), c.bits.begin(), c.bits.end());
        filter.push_back(0);  // no name in the record
        resources.push_back(Res("FLTR", id++, filter, c.name));
    }
    MakePrefs(resources);
    ASSERT_TRUE(UpdatePrefResFile());
    std::map<std::string, Bytes> byName;
    for (const auto& [filterId, f] : Read("FLT2")) byName[f.name] = f.data;
    auto bit = [](const Bytes& b, int n) { return (b.at(size_t(2 + n / 8)) >> (7 - n % 8) & 1) != 0; };
    for (const Case& c : cases) {
        ASSERT_EQ(byName.count(c.name), 1u) << c.name;
        EXPECT_EQ(bit(byName[c.name], 24), c.bit24) << c.name;
        EXPECT_EQ(bit(byName[c.name], 29), c.bit29) << c.name;
        EXPECT_TRUE(bit(byName[c.name], 28)) << c.name << ": every converted filter";
    }
}

TEST_F(PrefUpgradeTest, EachVersionRunsOnlyTheStepsAfterIt)
{
    // A filter in the 2.5 layout: kinds 1 and 18 (the old group bit), old
    // conditions at 28-35, contents flag at 0, bytes 8-11 of its own.
    const Bytes old = {0x00, 0x01, 0xC0, 0x00, 0x20, 0x0F, 0xF8, 0x00, 0x01, 0x02, 0x03, 0x04, 0x00, 0x00};
    // 41 = old 0; 32-40 = old 28-36; 23 = old 18; bytes 8-11 kept.
    const Bytes renumbered = {0x00, 0x01, 0x40, 0x00, 0x01, 0x00, 0xFF, 0xC0, 0x01, 0x02, 0x03, 0x04, 0x00, 0x00};
    struct Case {
        uint32_t version;
        bool changed;
        Bytes filter;
        Bytes oblk;
        Bytes cpr;
    };
    const Case cases[] = {
        // Step 4 too: comparison 1 (bits 37-39 clear) before the rest moves on.
        {0x02504000, true, {0x00, 0x01, 0x40, 0x00, 0x01, 0x00, 0xFF, 0xC0, 0, 0, 0, 0, 0x01, 0x02, 0x03, 0x04, 0, 0},
         {23, 1, 17, 1, 0}, {9, 9}},
        {0x02504001, true, renumbered, {23, 1, 17, 1, 0}, {9, 9}},
        {0x06004001, true, renumbered, {23, 1, 17, 1, 0}, {9, 9}},
        {0x06004002, false, old, {18, 1, 17, 1, 0}, {9, 9}},
        {0x06008000, false, old, {18, 1, 17, 1, 0}, {9, 9}},
    };
    for (const Case& c : cases) {
        MakePrefs({Res("vers", 1, Vers(c.version)), Res("FLT2", 140, old, "Kept"), Res("Oblk", 0, {18, 1, 17, 1, 0}),
                   Res("C_PR", 0, {9, 9})});
        platform::CloseResFile(G_PrefResFile);
        G_PrefResFile = -1;
        const Bytes before = ReadAll(Path());
        Reopen();
        EXPECT_EQ(UpdatePrefResFile(), c.changed) << std::hex << c.version;
        const Filters filters = Read("FLT2");
        if (c.changed) {
            ASSERT_EQ(filters.size(), 5u) << std::hex << c.version << ": the four standard filters added";
            // None takes 128, which the file's own first filter keeps.
            EXPECT_EQ(filters.count(128), 0u);
            EXPECT_EQ(filters.at(129).name, "Forms");
            EXPECT_EQ(filters.at(131).name, "Kept") << "sorted by name";
            EXPECT_EQ(filters.at(131).data, c.filter) << std::hex << c.version;
        } else {
            platform::CloseResFile(G_PrefResFile);
            G_PrefResFile = -1;
            EXPECT_EQ(ReadAll(Path()), before) << "byte for byte";
            Reopen();
            EXPECT_EQ(filters.at(140).data, c.filter);
        }
        EXPECT_EQ(One("Oblk", 0), c.oblk) << std::hex << c.version;
        EXPECT_EQ(One("C_PR", 0), c.cpr) << std::hex << c.version;
        platform::CloseResFile(G_PrefResFile);
        G_PrefResFile = -1;
    }
}

TEST_F(PrefUpgradeTest, TheCriterionAndComparisonBytesGoIn)
{
    struct Case {
        Bytes filter;
        Bytes expected;
    };
    const Case cases[] = {
        // Bits 39 and 37: comparison 1 + 1 + 4, stored less 1.
        {{0x00, 0x01, 0x11, 0x22, 0x33, 0x44, 0x05, 0x66, 0x03, 'a', 'b', 'c'},
         {0x00, 0x01, 0x11, 0x22, 0x33, 0x44, 0x05, 0x66, 0, 5, 0, 0, 0x03, 'a', 'b', 'c'}},
        // Bit 38 alone.
        {{0x00, 0x01, 0, 0, 0, 0, 0x02, 0, 0}, {0x00, 0x01, 0, 0, 0, 0, 0x02, 0, 0, 2, 0, 0, 0}},
        // Exactly 8 bytes: nothing behind byte 8 to move.
        {{0x00, 0x01, 0, 0, 0, 0, 0x07, 0}, {0x00, 0x01, 0, 0, 0, 0, 0x07, 0, 0, 7, 0, 0}},
        // Cut short: padded to 8 bytes first, never written past.
        {{0x00, 0x01, 0xAA}, {0x00, 0x01, 0xAA, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        MakePrefs({Res("FLT2", 128, c.filter, "f")});
        UpdateFilters(G_PrefResFile, FourCC("FLT2"));
        EXPECT_EQ(One("FLT2", 128), c.expected);
        platform::CloseResFile(G_PrefResFile);
        G_PrefResFile = -1;
    }

    // A filter that cannot grow stays as it was; the next one is converted.
    MakePrefs({Res("FLT2", 128, {0x00, 0x01, 0, 0, 0, 0, 0x01, 0}, "a"), Res("FLT2", 129, {0x00, 0x01, 0, 0, 0, 0, 0x01, 0}, "b")});
    Read("FLT2");  // both loaded: the one allocation left is the first grow
    {
        platform::ScopedFault fail(platform::FaultKind::Allocation, 0, 1);
        UpdateFilters(G_PrefResFile, FourCC("FLT2"));
    }
    EXPECT_EQ(One("FLT2", 128), (Bytes{0x00, 0x01, 0, 0, 0, 0, 0x01, 0}));
    EXPECT_EQ(One("FLT2", 129), (Bytes{0x00, 0x01, 0, 0, 0, 0, 0x01, 0, 0, 1, 0, 0}));
}

TEST_F(PrefUpgradeTest, OldFiltersAreReadWithinTheirResources)
{
    // Too short for a name: skipped. A name longer than the resource: cut
    // at its end. A taken 'FLT2' id: the new filter takes another.
    MakePrefs({Res("vers", 1, Vers(0x02004000)), Res("FLTR", 130, {0, 1, 0, 0, 0, 0, 4}, "short"),
               Res("FLTR", 131, {0, 1, 0, 0, 0, 0, 200, 'x', 'y'}, "cut"),
               Res("FLT2", 131, {0, 1, 0, 0, 0, 0, 0, 0}, "there")});
    ASSERT_TRUE(UpdatePrefResFile());
    const Filters filters = Read("FLT2");
    int names = 0;
    for (const auto& [id, f] : filters) {
        EXPECT_NE(f.name, "short");
        if (f.name != "cut") continue;
        ++names;
        // The name (2 of the 200 bytes claimed) behind 12 bytes, then 4 more.
        ASSERT_EQ(f.data.size(), size_t(12 + 4 + 1 + 2));
        EXPECT_EQ(f.data[16], 2);
        EXPECT_EQ(f.data[17], 'x');
    }
    EXPECT_EQ(names, 1);
    EXPECT_EQ(filters.size(), 7u) << "there, cut, the documented objects and four standard filters";
}

TEST_F(PrefUpgradeTest, BlockingPairsAreRenumberedAndReadUpToTheirEnd)
{
    struct Case {
        Bytes oblk;
        Bytes upgraded;
        std::vector<int> blocked;  // G_Block bytes set after the upgrade
    };
    const Case cases[] = {
        {{18, 1, 17, 1, 0}, {23, 1, 17, 1, 0}, {16, 22}},
        {{1, 0, 2, 1, 0, 3, 1}, {1, 0, 2, 1, 0, 3, 1}, {1}},  // the 0 ends it
        {{26, 1, 2}, {31, 1, 2}, {30}},                       // no terminator, odd length
        {{27, 1, 251, 1}, {32, 1, 251, 1}, {}},               // beyond kind 31, and no wrap to 0
        {{}, {}, {}},
    };
    for (const Case& c : cases) {
        MakePrefs({Res("Oblk", 0, c.oblk)});
        UpdateOblk(G_PrefResFile);
        EXPECT_EQ(One("Oblk", 0), c.upgraded);
        std::memset(G_Block, 1, sizeof G_Block);
        SetBlockArray();
        for (int k = 0; k < 31; ++k)
            EXPECT_EQ(G_Block[k], std::count(c.blocked.begin(), c.blocked.end(), k) ? 1 : 0) << k;
        platform::CloseResFile(G_PrefResFile);
        G_PrefResFile = -1;
    }
    // Without 'Oblk' nothing is blocked and nothing is added.
    MakePrefs({});
    UpdateOblk(G_PrefResFile);
    SetBlockArray();
    for (uint8_t b : G_Block) EXPECT_EQ(b, 0);
    EXPECT_EQ(One("Oblk", 0), Bytes{0xEE});
}

TEST_F(PrefUpgradeTest, DamagedFiltersAndBlockingTablesNeverReadOrWritePastTheirEnds)
{
    // 200 files of a seeded series: filters of both layouts and blocking
    // tables of any length and content (the sanitizers watch every access).
    std::mt19937 random(5135);
    auto bytes = [&](size_t most) {
        Bytes b(random() % (most + 1));
        for (uint8_t& x : b) x = uint8_t(random());
        return b;
    };
    for (int run = 0; run < 200; ++run) {
        std::vector<platform::ResourceImage> resources;
        if (run % 3) resources.push_back(Res("vers", 1, Vers(run % 2 ? 0x02004000 : 0x02504000)));
        resources.push_back(Res("FLTR", 128, bytes(24), "old"));
        resources.push_back(Res("FLTR", 129, bytes(8), "short"));
        resources.push_back(Res("FLT2", 130, bytes(24), "new"));
        resources.push_back(Res("Oblk", 0, bytes(9)));
        MakePrefs(resources);
        EXPECT_TRUE(UpdatePrefResFile()) << run;
        SetBlockArray();
        for (uint8_t b : G_Block) EXPECT_LE(b, 1);
        for (const auto& [id, f] : Read("FLT2")) EXPECT_GE(f.data.size(), 8u) << run << " " << id;
        platform::CloseResFile(G_PrefResFile);
        G_PrefResFile = -1;
    }
}
