// The document builder: same description, same bytes; the stored layouts
// byte by byte; the empty structure; refusals that leave no file; the
// little-endian twin; and the demo structure the build makes.
#include "tools/docbuilder/DocBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "kernel/byteswap/SwapTemplates.h"
#include "kernel/standins/EncrypteText.h"
#include "kernel/standins/PasswordKey.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/resfiles/Resources.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResKeySource.h"
#include "resources/ResourceApi.h"
#include "resources/swap/PasswordTableKey.h"
#include "tests/platform/files/TempFolder.h"
#include "tools/docbuilder/Description.h"

namespace {

using Bytes = std::vector<uint8_t>;
using platform::FourCC;
using platform::testing::TempFolder;

Bytes ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes HandleBytes(platform::Handle h)
{
    return h ? Bytes(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + platform::GetHandleSize(h)) : Bytes();
}

Bytes Hex(const std::string& text)
{
    Bytes b;
    std::istringstream in(text);
    std::string pair;
    while (in >> pair) b.push_back(uint8_t(std::stoul(pair, nullptr, 16)));
    return b;
}

// Every resource of a container: type, id and contents.
using Contents = std::map<std::pair<uint32_t, int16_t>, Bytes>;

Bytes At(const Contents& all, const char (&type)[5], int16_t id)
{
    auto it = all.find({FourCC(type), id});
    return it == all.end() ? Bytes{} : it->second;
}

// The keys of installed components' members, as the description lays them
// out: what the module manager gives the store when it reads them.
class LaidOutKeys : public ResKeySource {
public:
    explicit LaidOutKeys(const std::string& text)
    {
        docbuilder::BuildError error;
        if (auto description = docbuilder::ReadDescription(text, "keys.qzdoc", &error))
            if (auto laid = docbuilder::LayOut(*description, &error))
                for (const docbuilder::ResourceOut& r : laid->resources)
                    if (r.enciphered) keys_[{r.type, r.id}] = r.key;
    }
    uint32_t GetKey(platform::ResType type, int16_t id) override
    {
        auto it = keys_.find({type, id});
        return it == keys_.end() ? 0 : it->second;
    }

private:
    std::map<std::pair<uint32_t, int16_t>, uint32_t> keys_;
};

class DocBuilderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* source = std::getenv("QZ_TEST_SOURCE_DIR");
        ASSERT_NE(source, nullptr);
        const Bytes text = ReadAll(std::string(source) + "/resources/ByteSwap.txt");
        ASSERT_EQ(InitTokensFromText(text.data(), int32_t(text.size())), 0);
        initresman();
    }
    void TearDown() override
    {
        ResetResManager();
        ResetSwapTemplates();
    }

    docbuilder::BuildResult Build(const std::string& text, const std::string& folder)
    {
        return docbuilder::BuildDocument(text, "test.qzdoc", folder);
    }

    static Contents ReadContainer(const std::string& path, bool* native = nullptr, ResKeySource* keys = nullptr)
    {
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(path, &fileSpec);
        const int16_t ref = openres(fileSpec, false);
        EXPECT_NE(ref, 0) << reserr;
        Contents all;
        if (!ref) return all;
        if (native) *native = IsNatif(ref);
        if (keys) g_resManager->FindFile(ref)->SetComponentMgr(keys);
        for (int32_t t = 1; t <= comptetypes(); ++t) {
            const ResType type = xgetindtyp(t);
            for (int32_t i = 1; i <= compteres(type, true); ++i) {
                Handle h = xgetindres(type, i, true);
                int16_t id = 0;
                ResType ignored = 0;
                xgetresinfo(h, &id, &ignored);
                all[{type, id}] = HandleBytes(h);
            }
        }
        closeres(ref, false);
        return all;
    }
};

TEST_F(DocBuilderTest, SameDescriptionGivesTheSameBytesAndAnotherSeedOthers)
{
    TempFolder a, b, c;
    const std::string text = "structure Same date 2023-05-06 seed 11\ngenerate 1000\n";
    ASSERT_EQ(Build(text, a.path()).error, 0);
    ASSERT_EQ(Build(text, b.path()).error, 0);
    for (const char* name : {"Same.QzB", "._Same.QzB", "Same.RSR", "._Same.RSR", "Same.QzB.manifest"}) {
        const Bytes first = ReadAll(a / name);
        EXPECT_FALSE(first.empty() && std::string(name) != "Same.RSR") << name;
        EXPECT_EQ(first, ReadAll(b / name)) << name;
    }
    std::string other = text;
    other.replace(other.find("seed 11"), 7, "seed 12");
    ASSERT_EQ(Build(other, c.path()).error, 0);
    EXPECT_NE(ReadAll(a / "Same.QzB"), ReadAll(c / "Same.QzB"));
    EXPECT_NE(ReadAll(a / "Same.QzB.manifest"), ReadAll(c / "Same.QzB.manifest"));

    // The generated document opens and holds what its manifest lists.
    Contents all = ReadContainer(a / "Same.QzB");
    std::ifstream manifest(a / "Same.QzB.manifest");
    std::string line;
    int objects = 0;
    std::set<int> kinds;
    while (std::getline(manifest, line))
        if (line.rfind("object\t", 0) == 0) {
            ++objects;
            kinds.insert(std::stoi(line.substr(7)));
        }
    EXPECT_GE(objects, 1000);
    for (int kind : {1, 2, 4, 5, 6, 10, 11, 12, 18, 19, 23, 24, 25, 26, 27, 28}) EXPECT_TRUE(kinds.count(kind)) << kind;
    const Bytes prqz = At(all, "PRQz", 0);
    ASSERT_EQ(prqz.size(), 3648u);
    const int tables = prqz[0] * 256 + prqz[1];
    EXPECT_GT(tables, 10);
    for (int t = 1; t <= tables; ++t) {
        const int16_t id = int16_t(prqz[78 + 14 * (t - 1)] * 256 + prqz[79 + 14 * (t - 1)]);
        EXPECT_TRUE(all.count({FourCC("FIQz"), id})) << t;
    }

    TempFolder small;
    ASSERT_EQ(Build("structure Small\ngenerate 10\n", small.path()).error, 0);
    EXPECT_FALSE(ReadContainer(small / "Small.QzB").empty());
}

TEST_F(DocBuilderTest, GenerateKeepsTheFormatsLimits)
{
    // With every table slot taken, generated tables become fields, and
    // fields go to tables that still have room.
    std::string text = "structure Full\n";
    for (int i = 1; i <= 255; ++i) text += "table T" + std::to_string(i) + "\n";
    text += "generate 400\n";
    docbuilder::BuildError error;
    auto doc = docbuilder::ReadDescription(text, "full.qzdoc", &error);
    ASSERT_TRUE(doc) << error.Text();
    EXPECT_EQ(doc->tables.size(), 255u);
    size_t fields = 0;
    for (const auto& t : doc->tables) fields += t.fields.size();
    EXPECT_GT(fields, 150u);
    EXPECT_TRUE(docbuilder::LayOut(*doc, &error)) << error.Text();

    std::string wide = "structure Wide\ntable T\n";
    for (int i = 1; i <= 511; ++i) wide += "  field F" + std::to_string(i) + " integer\n";
    wide += "generate 200\n";
    doc = docbuilder::ReadDescription(wide, "wide.qzdoc", &error);
    ASSERT_TRUE(doc) << error.Text();
    for (const auto& t : doc->tables) EXPECT_LE(t.fields.size(), 511u);
    EXPECT_TRUE(docbuilder::LayOut(*doc, &error)) << error.Text();
}

TEST_F(DocBuilderTest, RecordsHaveTheStoredLayouts)
{
    TempFolder dir;
    const std::string longText(32, 'L'), shortText(31, 's');
    const std::string text =
        "structure Layouts\n"
        "table A id 1\n  field X integer\n"
        "table B id 2\n  field Y integer\n"
        "table T id 3\n  field Z alpha 10\n  form F id 7\n"
        "method M id 5 attributes 06\n"
        "method Note id 6\n  comment \"Hi\"\n"
        "menubar Bar id 7\n"
        "freeslot\n"
        "list Items id 9\n  item \"" + shortText + "\" number 4\n  item \"" + longText + "\" number 5\n"
        "group G id 1\n  table T\n  form T.F\n";
    ASSERT_EQ(Build(text, dir.path()).error, 0) << Build(text, dir.path()).message;
    const std::string path = dir / "Layouts.QzB";
    Contents all = ReadContainer(path);

    Bytes tpqz(44, 0);
    tpqz[0] = 1, tpqz[1] = 'M', tpqz[33] = 5, tpqz[35] = 6;
    const Bytes methods = At(all, "TPQz", 0);
    ASSERT_EQ(methods.size(), 88u);
    EXPECT_EQ(Bytes(methods.begin(), methods.begin() + 44), tpqz);

    EXPECT_EQ(At(all, "LIBA", 0), Hex("00 02 00 07 FF FF"));
    EXPECT_EQ(At(all, "#GRP", 1), Hex("00 FE 00 01 00 03 00 18 00 03 00 07 FF FF"));

    // One comment line: rectangle, one line of 8 token bytes (kind 23,
    // its length byte and text padded even), the line header and two
    // trailing bytes.
    EXPECT_EQ(At(all, "CCQz", 6), Hex("00 00 00 00 00 00 00 00 00 01 "
                                            "00 1A 00 00 00 08 00 00 00 00 00 00 00 00 00 00 00 00 "
                                            "17 00 00 00 02 48 69 00 00 00"));

    // A 31-character item lives in its record; a 32-character one follows
    // it as a string, the record's text left empty.
    const Bytes list = At(all, "List", 9);
    ASSERT_GT(list.size(), 44u + 2 * 52 + 33);
    const size_t first = 44 + 2, second = first + 50 + 2;
    EXPECT_EQ(list[first - 1], 1);
    EXPECT_EQ(list[first + 10], 31);
    EXPECT_EQ(std::string(list.begin() + long(first) + 11, list.begin() + long(first) + 42), shortText);
    EXPECT_EQ(list[first + 47], 0);
    EXPECT_EQ(list[second + 10], 0);
    EXPECT_EQ(list[second + 47], 1);
    EXPECT_EQ(list[second + 50], 32);
    EXPECT_EQ(std::string(list.begin() + long(second) + 51, list.begin() + long(second) + 83), longText);
    EXPECT_EQ(Bytes(list.end() - 2, list.end()), Hex("00 00"));

    // The table array names each table's definition; the form table sits
    // under the table's id.
    const Bytes prqz = At(all, "PRQz", 0);
    EXPECT_EQ(Bytes(prqz.begin() + 78, prqz.begin() + 80), Hex("00 01"));
    EXPECT_EQ(Bytes(prqz.begin() + 106, prqz.begin() + 108), Hex("00 03"));
    const Bytes tfqz = At(all, "TFQz", 3);
    ASSERT_EQ(tfqz.size(), 6u + 270);
    EXPECT_EQ(tfqz[6], 1);
    EXPECT_EQ(tfqz[7], 'F');
    EXPECT_EQ(Bytes(tfqz.begin() + 38, tfqz.begin() + 40), Hex("00 07"));
}

// Documentation with runs: the text engine's style record (runs, and the
// one past the end) and table, the uncovered parts in the default look.
TEST_F(DocBuilderTest, StyledDocumentationHasItsRunsAndTable)
{
    TempFolder dir;
    ASSERT_EQ(Build("structure Docs\nmethod M id 5\n  doc \"abcde\" state 1 run 1 3 font Monaco size 9 bold italic\n",
                    dir.path())
                  .error,
              0);
    const Bytes doc = At(ReadContainer(dir / "Docs.QzB"), "CCHE", 5);
    ASSERT_EQ(doc.size(), 16u + 6 + 36 + 36);
    EXPECT_EQ(Bytes(doc.begin(), doc.begin() + 14), Hex("00 01 00 01 00 00 00 05 61 62 63 64 65 00"));
    EXPECT_EQ(Bytes(doc.begin() + 14, doc.begin() + 54),
              Hex("00 00 00 24 00 03 00 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                  "00 00 00 00 00 01 00 01 00 03 00 00 00 06 00 00"));
    EXPECT_EQ(Bytes(doc.begin() + 54, doc.begin() + 58), Hex("00 00 00 24"));
    // Entries: uses, (metrics), font, face, size, colour.
    const size_t e = 58;
    EXPECT_EQ(Bytes(doc.begin() + e, doc.begin() + e + 2), Hex("00 02"));
    EXPECT_EQ(Bytes(doc.begin() + e + 6, doc.begin() + e + 18), Hex("00 01 00 00 00 0C 00 00 00 00 00 00"));
    EXPECT_EQ(Bytes(doc.begin() + e + 18, doc.begin() + e + 20), Hex("00 01"));
    EXPECT_EQ(Bytes(doc.begin() + e + 24, doc.begin() + e + 36), Hex("00 04 03 00 00 09 00 00 00 00 00 00"));
}

TEST_F(DocBuilderTest, TablesMenusAndUsersLayouts)
{
    TempFolder dir;
    const std::string text =
        "structure Shapes\n"
        "table A id 4\n  field Key longint attributes 09\n  field Note alpha 12 balloon \"Say why\"\n"
        "table B id 8\n  field Ref longint relation A.Key list L\n"
        "list L id 2\n  item \"x\"\n"
        "method Run id 3\n"
        "dbmethod 2 id 9\n"
        "picture P id 6\n"
        "menu File id 5\n  item \"Go\" method Run key G bold picture P\n"
        "menubar Bar id 1\n  menu File\n  menu File\n"
        "stylesheet Sheet id 3 font Monaco size 9 face 2\n"
        "user Designer password \"pw\" method Run owner 7\n"
        "user Clerk\n"
        "usergroup Staff\n  user Clerk\n"
        "usergroup Office\n  group Staff\n"
        "designgroup Office\n"
        "defaultuser -11\n"
        "component Kit id 30 prefix ab number 7\n  public\n    method Run\n  code Run R1\n";
    const docbuilder::BuildResult r = Build(text, dir.path());
    ASSERT_EQ(r.error, 0) << r.message;
    Contents all = ReadContainer(dir / "Shapes.QzB");

    // A relation marks both fields and names the target's table and field.
    const Bytes a = At(all, "FIQz", 4), b = At(all, "FIQz", 8);
    ASSERT_EQ(a.size(), 30u + 2 * 66);
    ASSERT_EQ(b.size(), 30u + 66);
    EXPECT_EQ(a[30 + 48], 0x09 | 0x82);  // 09 is decimal, not octal
    EXPECT_EQ(a[96 + 48] & 0x82, 0);
    EXPECT_EQ(b[30 + 48] & 0x82, 0x82);
    EXPECT_EQ(Bytes(b.begin() + 70, b.begin() + 78), Hex("00 01 00 01 FF FF 00 02"));
    EXPECT_EQ(Bytes(b.begin() + 6, b.begin() + 8), Hex("00 02"));
    EXPECT_EQ(Bytes(a.begin() + 4, a.begin() + 6), Hex("FF FF"));
    const uint32_t balloonType = (uint32_t('F') << 24) | (uint32_t('i') << 16) | 4;
    const Bytes balloon = all[{balloonType, 2}];
    EXPECT_EQ(balloon, (Bytes{0, 'S', 'a', 'y', ' ', 'w', 'h', 'y'}));

    EXPECT_EQ(At(all, "DBPR", 0), Hex("00 00 00 00 00 09"));
    EXPECT_EQ(At(all, "BAQz", 1), Hex("00 02 00 00 00 00 00 00 00 00 00 00 00 05 00 00 00 00 00 05"));
    const Bytes menu = At(all, "MENQ", 5);
    ASSERT_EQ(menu.size(), 24u + 86);
    EXPECT_EQ(Bytes(menu.begin(), menu.begin() + 7), Hex("00 01 04 46 69 6C 65"));
    EXPECT_EQ(Bytes(menu.begin() + 24, menu.begin() + 27), Hex("02 47 6F"));
    EXPECT_EQ(Bytes(menu.begin() + 56, menu.begin() + 60), Hex("03 52 75 6E"));
    EXPECT_EQ(menu[88], 0x84);
    EXPECT_EQ(menu[92], 'G');
    EXPECT_EQ(Bytes(menu.end() - 4, menu.end()), Hex("00 00 00 06"));

    const Bytes sheets = At(all, "Stlx", 128);
    ASSERT_EQ(sheets.size(), 4u + 376);
    EXPECT_EQ(Bytes(sheets.begin(), sheets.begin() + 4), Hex("00 01 00 03"));
    EXPECT_EQ(Bytes(sheets.begin() + 36, sheets.begin() + 42), Hex("00 03 00 05 06 4D"));
    EXPECT_EQ(Bytes(sheets.begin() + 40 + 66, sheets.begin() + 40 + 68), Hex("09 02"));

    // A component lists its three folders; its properties record starts
    // with the byte order, date, number and folder ids and ends with the
    // format, the prefix and its flag, and the generated flag.
    EXPECT_EQ(At(all, "#MOD", 30), Hex("00 FE 00 21 00 01 00 21 00 02 00 21 00 03 FF FF"));
    EXPECT_EQ(At(all, "#GMO", 1), Hex("00 FE 00 02 00 03 FF FF"));
    EXPECT_EQ(At(all, "#GMO", 3), Hex("00 FE FF FF"));
    const Bytes properties = At(all, "moQz", 30);
    ASSERT_GT(properties.size(), 25u + 8);
    EXPECT_EQ(Bytes(properties.begin(), properties.begin() + 25),
              Hex("01 00 01 00 01 07 E8 00 00 00 07 00 00 00 00 00 00 00 00 00 01 00 02 00 03"));
    EXPECT_EQ(Bytes(properties.end() - 8, properties.end()), Hex("00 02 61 62 00 00 01 00"));
    const Bytes codes = At(all, "cdQz", 30);
    ASSERT_EQ(codes.size(), 14u + 68);
    EXPECT_EQ(Bytes(codes.begin(), codes.begin() + 4), Hex("00 00 00 01"));
    EXPECT_EQ(Bytes(codes.begin() + 14 + 34, codes.begin() + 14 + 37), Hex("02 52 31"));

    // Users: the table unscrambles to the tagged layout; the password's
    // characters are scrambled once more, its length byte is not. The
    // design group is the second user group, the default user table 1's
    // first, each in the low half of its field of the parameters.
    Bytes users = At(all, "PAQz", 0);
    encryptetext(users.data(), int32_t(users.size()), PasswordTableKey());
    ASSERT_EQ(users.size(), 6u + 2 * 112 + 2 * (2 + 38));
    EXPECT_EQ(Bytes(users.begin(), users.begin() + 6), Hex("A0 A0 00 02 00 02"));
    const Bytes params = At(all, "PRQz", 0);
    ASSERT_EQ(params.size(), 3648u);
    EXPECT_EQ(Bytes(params.begin() + 44, params.begin() + 56), Hex("00 00 D2 F0 00 00 00 02 00 00 FF F5"));
    EXPECT_EQ(users[10], 8);  // "Designer"
    unsigned char password[16];
    std::copy(users.begin() + 42, users.begin() + 58, password);
    EXPECT_EQ(password[0], 2);
    EXPECT_NE(std::string(password + 1, password + 3), "pw");
    encryptetext(password + 1, password[0], PasswordKey());
    EXPECT_EQ(std::string(password + 1, password + 3), "pw");
    EXPECT_EQ(Bytes(users.begin() + 58, users.begin() + 62), Hex("03 52 75 6E"));
    EXPECT_EQ(Bytes(users.begin() + 114, users.begin() + 118), Hex("00 00 00 07"));
    const size_t group = 6 + 2 * 112;
    EXPECT_EQ(Bytes(users.begin() + long(group), users.begin() + long(group) + 2), Hex("00 01"));
    EXPECT_EQ(Bytes(&users[group + 34], &users[group + 40]), Hex("00 01 00 00 00 02"));
    EXPECT_EQ(Bytes(users.end() - 6, users.end()), Hex("00 01 00 00 3A 99"));
}

TEST_F(DocBuilderTest, OlderFormsForTheConversionTests)
{
    TempFolder dir;
    const std::string text =
        "library Old level 9\n"
        "memberlists old\ngroups companion\npasswords old\nstylesheets old\n"
        "version 5\nfiller 3\n"
        "table T id 2\n  field F integer\n  form Fm id 4\n"
        "method M id 7\n"
        "enum Colours id 3\n  item \"Red\"\n  item \"Blue\"\n"
        "stylesheet S id 1\n"
        "user Designer password \"x\"\n"
        "group G id 5\n  method M\n  form T.Fm\n";
    const docbuilder::BuildResult r = Build(text, dir.path());
    ASSERT_EQ(r.error, 0) << r.message;
    EXPECT_TRUE(std::filesystem::exists(dir / "Old.QTL"));
    Contents all = ReadContainer(dir / "Old.QTL");
    EXPECT_EQ(At(all, "PRQz", 0)[4], 9);
    const Bytes enqz = At(all, "ENQz", 3);
    ASSERT_EQ(enqz.size(), 4u + 2 * 34);
    EXPECT_EQ(Bytes(enqz.begin(), enqz.begin() + 8), Hex("00 02 00 00 03 52 65 64"));
    EXPECT_EQ(Bytes(enqz.begin() + 38, enqz.begin() + 43), Hex("04 42 6C 75 65"));
    const Bytes leqz = At(all, "LEQz", 0);
    EXPECT_EQ(Bytes(leqz.begin(), leqz.begin() + 2), Hex("00 01"));
    EXPECT_EQ(Bytes(leqz.begin() + 38, leqz.begin() + 40), Hex("00 03"));
    EXPECT_EQ(At(all, "Styl", 128).size(), 4u + 238);
    EXPECT_TRUE(At(all, "#GRP", 5).empty());
    Bytes users = At(all, "PAQz", 0);
    encryptetext(users.data(), int32_t(users.size()), PasswordTableKey());
    ASSERT_EQ(users.size(), 4u + 96);
    EXPECT_EQ(Bytes(users.begin(), users.begin() + 4), Hex("00 01 00 00"));

    const int16_t companion = platform::OpenResFile(dir / "Old.RSR", platform::fsRdPerm);
    ASSERT_NE(companion, -1);
    EXPECT_EQ(HandleBytes(platform::Get1Resource(FourCC("INQz"), 0)), Hex("00 05"));
    EXPECT_EQ(platform::Count1Resources(FourCC("FILL")), 3);
    // Older member lists: no leading 254; a form is kind 24 with its table.
    EXPECT_EQ(HandleBytes(platform::Get1Resource(FourCC("#GRP"), 5)), Hex("00 02 00 07 00 18 00 02 00 04 FF FF"));
    platform::CloseResFile(companion);
}

TEST_F(DocBuilderTest, EmptyStructureHoldsTheNewDocumentResources)
{
    TempFolder dir;
    ASSERT_EQ(Build("structure Empty\n", dir.path()).error, 0);
    Contents all = ReadContainer(dir / "Empty.QzB");
    std::set<std::pair<uint32_t, int16_t>> keys;
    for (auto& [key, bytes] : all) keys.insert(key);
    const std::set<std::pair<uint32_t, int16_t>> expected = {
        {FourCC("PRQz"), 0}, {FourCC("WNQz"), 0}, {FourCC("TPQz"), 0}, {FourCC("LIBA"), 0}, {FourCC("LEQz"), 0},
        {FourCC("LiHe"), 0}, {FourCC("PAQz"), 0}, {FourCC("PAQz"), 1}, {FourCC("wvar"), -1}};
    EXPECT_EQ(keys, expected);

    const Bytes p = At(all, "PRQz", 0);
    ASSERT_EQ(p.size(), 3648u);
    EXPECT_EQ(Bytes(p.begin(), p.begin() + 78),
              Hex("00 00 11 00 0F 0F 00 00 00 00 11 5C "
                  "00 00 00 00 FF FF FF FF 00 00 00 00 FF FF FF FF 00 00 00 00 FF FF FF FF 00 00 00 00 FF FF FF FF "
                  "00 00 D2 F0 00 00 00 00 00 00 00 00 00 00 00 00 00 00 FF FF FF FF 00 00 00 50 01 00 01 01 01 01 01 01"));
    EXPECT_TRUE(std::all_of(p.begin() + 78, p.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(At(all, "WNQz", 0).size(), 2u);
    EXPECT_EQ(At(all, "TPQz", 0).size(), 2u);
    EXPECT_EQ(At(all, "LIBA", 0), Hex("00 00"));
    EXPECT_EQ(At(all, "LEQz", 0), Bytes(50, 0));
    EXPECT_EQ(At(all, "LiHe", 0).size(), 2u);
    EXPECT_EQ(At(all, "wvar", -1), Hex("00 00 00 01"));
    for (int16_t id : {0, 1}) {
        Bytes table = At(all, "PAQz", id);
        ASSERT_EQ(table.size(), 4u);
        encryptetext(table.data(), 4, PasswordTableKey());
        EXPECT_EQ(table, Bytes(4, 0)) << id;
    }

    // The companion carries the version record; both files carry the
    // structure's type and creator.
    const int16_t companion = platform::OpenResFile(dir / "Empty.RSR", platform::fsRdPerm);
    ASSERT_NE(companion, -1);
    EXPECT_EQ(HandleBytes(platform::Get1Resource(FourCC("INQz"), 0)), Hex("00 06"));
    platform::CloseResFile(companion);
    for (const char* name : {"Empty.QzB", "Empty.RSR"}) {
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(dir / name, &fileSpec);
        platform::FInfo info;
        ASSERT_EQ(platform::FSpGetFInfo(fileSpec, &info), 0);
        EXPECT_EQ(info.fdType, FourCC("BAS5")) << name;
        EXPECT_EQ(info.fdCreator, FourCC("Qz06")) << name;
    }
}

TEST_F(DocBuilderTest, RefusalsNameTheLineAndWriteNothing)
{
    std::string tables = "structure Many\n";
    for (int i = 1; i <= 256; ++i) tables += "table T" + std::to_string(i) + "\n";
    std::string fields = "structure Wide\ntable T\n";
    for (int i = 1; i <= 512; ++i) fields += "  field F" + std::to_string(i) + " integer\n";
    const std::pair<std::string, std::string> cases[] = {
        {"structure S\ntable T\n  field A integer\nwidget W\n", "test.qzdoc:4: unknown statement 'widget'"},
        {"structure S\ntable T\n  field A integer relation T.Missing\n", "test.qzdoc:3: the relation names a missing field 'Missing'"},
        {tables, "test.qzdoc:257: a structure holds at most 255 tables"},
        {fields, "test.qzdoc:514: a table holds at most 511 fields"},
        {"structure S\nmethod A id 4\nmethod B id 4\n", "test.qzdoc:3: id 4 of 'CCQz' is used twice"},
        {"structure S\nusergroup Staff\ndesigngroup Staf\n", "test.qzdoc:3: the design group names a missing user group 'Staf'"},
        {"structure S\nmethod A\n  command 1 ; frobnicate 3\n", "test.qzdoc:3: unknown token 'frobnicate'"},
        {"structure S\ntable T\n\ttable U\n", "test.qzdoc:3: indent with spaces, not tabs"},
        {"structure S\nmethod M\n  doc \"abc\" run 2 4 bold\n", "test.qzdoc:3: a documentation run must lie inside its text"},
        {"structure S\nmethod M\n  doc \"abc\" run 0 2 run 1 3\n", "test.qzdoc:3: documentation runs must follow one another"},
        {"structure S\nmethod M\n  doc \"abc\" run 0 2 font Nowhere\n", "test.qzdoc:3: unknown font 'Nowhere'"},
        {"structure S\nmethod M\n  doc \"abc\" run 0 2 sparkle\n", "test.qzdoc:3: unknown option 'sparkle' of a documentation run"},
        // A flat record keeps 11 characters of a variable's name.
        {"structure S\ntable T\n  field A integer\n  form F\n    variable vTwelveChars\n",
         "test.qzdoc:5: a form variable's name holds at most 11 characters"},
    };
    for (const auto& [text, message] : cases) {
        TempFolder dir;
        const docbuilder::BuildResult r = Build(text, dir.path());
        EXPECT_EQ(r.error, docbuilder::kDescriptionRefused) << message;
        EXPECT_EQ(r.message, message);
        EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << message;
    }
}

// The little-endian twin is written field by field, not converted: read
// back through the store's conversion (the byte-swap templates and the
// dedicated routines), every resource must be what the big-endian original
// holds. A record whose template is missing or wrong reads differently.
TEST_F(DocBuilderTest, LittleEndianTwinReadsAsTheBigEndianOriginal)
{
    const char* source = std::getenv("QZ_TEST_SOURCE_DIR");
    const Bytes demo = ReadAll(std::string(source) + "/resources/demo/Demo.qzdoc");
    const struct {
        std::string name, text;
    } rows[] = {
        {"Twin",
         "structure Twin date 2024-03-01\n"
         "table T\n  field A alpha 20 list L\n  form F\n    field A\n"
         "list L\n  item \"One\"\n    item \"Two\"\nenum E\n  item \"x\"\n"
         "method M\n  command 5 ( \"Hello\" ) , real 2.5 ; call M ; int64 -3\n"
         "picture P\nstylesheet S\nstyle St \"Geneva 9\"\n"
         "user Designer password \"pw\"\n"
         "group G\n  method M\n"},
        {"Demo", std::string(demo.begin(), demo.end())},
        {"Big", "structure Big seed 11\ngenerate 1000\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder big, little;
        ASSERT_EQ(Build(row.text, big.path()).error, 0);
        // At the end: generated names carry the line of their statement.
        const docbuilder::BuildResult r = Build(row.text + "order little\n", little.path());
        ASSERT_EQ(r.error, 0) << r.message;
        const std::string file = r.dataPath.substr(r.dataPath.find_last_of('/') + 1);

        const Bytes raw = ReadAll(little / file);
        ASSERT_GE(raw.size(), 4u);
        // Module records raise the container to 'DDUY'.
        const bool modules = row.text.find(" installed") != std::string::npos;
        EXPECT_EQ(Bytes(raw.begin(), raw.begin() + 4), Hex(modules ? "59 55 44 44" : "58 55 44 44"));
        bool bigNative = false, littleNative = true;
        LaidOutKeys keys(row.text);
        const Contents bigContents = ReadContainer(big / file, &bigNative, &keys);
        const Contents littleContents = ReadContainer(little / file, &littleNative, &keys);
        EXPECT_TRUE(bigNative);
        EXPECT_FALSE(littleNative);
        EXPECT_EQ(littleContents.size(), bigContents.size());
        for (const auto& [key, bytes] : bigContents) {
            const Bytes got = littleContents.count(key) ? littleContents.at(key) : Bytes{};
            // A chunk-file form keeps the order it was written in ("MROF"):
            // its reader turns the words, the store does not. Its objects and
            // links are compared in both orders by the link graph's tests.
            if (key.first == platform::FourCC("FOQz") && bytes.size() >= 4 &&
                Bytes(bytes.begin(), bytes.begin() + 4) == Hex("46 4F 52 4D")) {
                EXPECT_EQ(got.size(), bytes.size()) << "FOQz " << key.second;
                EXPECT_EQ(Bytes(got.begin(), got.begin() + std::min<size_t>(4, got.size())), Hex("4D 52 4F 46"));
                continue;
            }
            EXPECT_EQ(got, bytes) << platform::FourCCText(key.first) << " " << key.second;
        }
        // The companion, a platform resource file, is the same file.
        const std::string companion = "._" + file.substr(0, file.size() - 4) + ".RSR";
        EXPECT_EQ(ReadAll(little / companion), ReadAll(big / companion));
    }
}

TEST_F(DocBuilderTest, DemoIsBuiltWithEveryKindAndTheSelectableMethod)
{
    const std::string folder = std::string(QZ_BUILD_DIR) + "/demo";
    ASSERT_TRUE(std::filesystem::exists(folder + "/Demo.QzB"));
    // The build's copy is what the description gives.
    TempFolder dir;
    const char* source = std::getenv("QZ_TEST_SOURCE_DIR");
    ASSERT_EQ(docbuilder::BuildDocumentFile(std::string(source) + "/resources/demo/Demo.qzdoc", dir.path()).error, 0);
    EXPECT_EQ(ReadAll(dir / "Demo.QzB"), ReadAll(folder + "/Demo.QzB"));

    std::ifstream manifest(folder + "/Demo.QzB.manifest");
    std::string line;
    std::set<int> kinds;
    std::vector<std::string> names;
    std::set<std::string> callers, callees;
    bool member = false;
    const std::string method = "Close_Invoice";
    while (std::getline(manifest, line)) {
        std::vector<std::string> f;
        std::stringstream in(line);
        std::string cell;
        while (std::getline(in, cell, '\t')) f.push_back(cell);
        if (f[0] == "object") {
            kinds.insert(std::stoi(f[1]));
            names.push_back(f.size() > 3 ? f[3] : "");
        }
        if (f[0] == "member" && line.find("\t" + method) != std::string::npos) member = true;
        if (f[0] == "link" && f.size() >= 8 && f[5] == "2" && f[7] == method) callers.insert(f[1] + " " + f[3]);
        if (f[0] == "link" && f.size() >= 8 && f[1] == "2" && f[3] == method && f[5] == "2") callees.insert(f[7]);
    }
    for (int kind : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 17, 18, 19, 20, 23, 24, 25, 26, 27, 28, 29, 30, 32, 33})
        EXPECT_TRUE(kinds.count(kind)) << "kind " << kind;
    auto upper = [](std::string s) {
        for (char& c : s) c = char(std::toupper(uint8_t(c)));
        return s;
    };
    // Typed whole, its name reaches it alone; no group or component holds
    // it, so it is a row of the main list.
    const std::string selected = upper(method);
    EXPECT_LE(selected.size(), 15u);
    int same = 0;
    for (const std::string& n : names) {
        if (upper(n) == selected) ++same;
        else EXPECT_NE(upper(n).rfind(selected, 0), 0u) << n;
    }
    EXPECT_EQ(same, 1);
    EXPECT_FALSE(member);
    // The menus that run it and the bar that holds them; the methods it calls.
    EXPECT_EQ(callers, (std::set<std::string>{"5 Main", "6 File", "6 Invoices"}));
    EXPECT_EQ(callees, (std::set<std::string>{"Log_Event", "Recalculate"}));
}

}  // namespace
