// Reading a structure: the builder's documents become the objects their
// manifests list; each directory names its objects; tables bring their
// fields, forms and balloons; reading stops where it must; damaged
// directories are refused with the file left as it was.
#include <algorithm>
#include <filesystem>
#include <random>
#include <set>

#include "app/dialogs/Messages.h"
#include "design/objects/Groups.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "platform/core/Endian.h"
#include "platform/events/DialogAnswers.h"
#include "resources/swap/SwapResource.h"
#include "forms/lists/ChoiceLists.h"
#include "transfer/InstallTransfer.h"
#include "tests/design/ReadFixture.h"
#include "tests/platform/core/FailingNewDefinitions.h"

namespace readtest {
namespace {

const std::set<int16_t> kReadKinds = {1, 2, 4, 5, 6, 7, 8, 10, 11, 12, 16, 18, 19, 20, 23, 24, 26, 28, 29, 30, 32, 33};

std::string Qualified(TObjQz* table)
{
    std::string s;
    for (TObjQz* t = table; t; t = t->GetOwnerObj()) s = s.empty() ? P(t->name) : P(t->name) + "." + s;
    return s;
}

// The builder names a field balloon by its field; the reader by the
// field's structure name ("[Table]Sub'field").
std::string BalloonName(const ManifestObject& m)
{
    std::string owner = m.owner, rest;
    const size_t dot = owner.find('.');
    if (dot != std::string::npos) {
        rest = owner.substr(dot + 1);
        owner = owner.substr(0, dot);
        std::replace(rest.begin(), rest.end(), '.', '\'');
        rest += "'";
    }
    return "[" + owner + "]" + rest + m.name;
}

std::multiset<ManifestObject> Expected(const std::string& manifest)
{
    std::multiset<ManifestObject> out;
    for (ManifestObject m : ReadFixture::Manifest(manifest)) {
        if (!kReadKinds.count(m.kind)) continue;
        if (m.kind == 16) m.name.clear();
        if (m.kind == 30) m.name = BalloonName(m);
        out.insert(m);
    }
    return out;
}


// What one side holds and the other does not, for a readable failure.
std::vector<std::string> Difference(const std::multiset<ManifestObject>& a, const std::multiset<ManifestObject>& b)
{
    std::vector<ManifestObject> onlyA, onlyB;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(onlyA));
    std::set_difference(b.begin(), b.end(), a.begin(), a.end(), std::back_inserter(onlyB));
    std::vector<std::string> out;
    for (const auto& m : onlyA) out.push_back("read only: " + std::to_string(m.kind) + "/" + std::to_string(m.id) + "/" + m.name + "/" + m.owner);
    for (const auto& m : onlyB) out.push_back("listed only: " + std::to_string(m.kind) + "/" + std::to_string(m.id) + "/" + m.name + "/" + m.owner);
    return out;
}

class ReadStructure : public ReadFixture {
protected:
    std::multiset<ManifestObject> Objects()
    {
        std::multiset<ManifestObject> out;
        auto add = [&](TObjQz* o, const std::string& owner) {
            ManifestObject m{o->kind, o->id, P(o->name), owner};
            if (m.kind == 16) m.name.clear();
            out.insert(m);
        };
        for (int16_t list = 1; list <= 23; ++list) {
            ObjListHdl l = doc_.fTypeList->lists[list - 1];
            for (int32_t i = 0; l && i < l->Size(); ++i) {
                TObjQz* o = l->At(i);
                if (!kReadKinds.count(o->kind)) continue;
                add(o, o->GetOwnerObj() ? Qualified(o->GetOwnerObj()) : "");
                if (o->kind != 1 && o->kind != 29) continue;
                auto* t = static_cast<TFileObjQz*>(o);
                if (t->method) add(t->method, Qualified(t));
                for (int32_t f = 0; t->forms && f < t->forms->Size(); ++f) add(t->forms->At(f), Qualified(t));
                for (int32_t b = 0; t->balloons && b < t->balloons->Size(); ++b) add(t->balloons->At(b), Qualified(t));
            }
        }
        return out;
    }

    // Every table is followed by its fields and subtables in field order,
    // each subtable by its own.
    void ExpectReadingOrder()
    {
        ObjListHdl l = List(1);
        std::vector<TObjQz*> owners;
        for (int32_t i = 0; i < l->Size(); ++i) {
            TObjQz* o = l->At(i);
            if (o->kind == 1) {
                owners = {o};
                continue;
            }
            while (!owners.empty() && o->GetOwnerObj() != owners.back()) owners.pop_back();
            ASSERT_FALSE(owners.empty()) << P(o->name);
            EXPECT_EQ(o->level, owners.back()->level + 1);
            if (o->kind == 29) owners.push_back(o);
        }
    }
};

TEST_F(ReadStructure, BuilderDocumentsReadAsTheirManifestsSay)
{
    const char* big = R"(structure Big seed 11
generate 1000
component Kit id 40 version "2.0" prefix "kt"
  public
  protected
  private
resource TEXT 128 companion name "About" 4142
)";
    const auto r = Build(big);
    Open(r);
    ASSERT_EQ(Read(), 0);
    const auto expected = Expected(r.manifestPath);
    EXPECT_GT(expected.size(), 900u);
    EXPECT_EQ(Difference(Objects(), expected), std::vector<std::string>{});
    ExpectReadingOrder();
    std::set<int16_t> kinds;
    for (const ManifestObject& m : expected) kinds.insert(m.kind);
    for (int16_t k : {1, 2, 4, 5, 6, 10, 11, 12, 18, 19, 20, 23, 24, 28, 32, 33}) EXPECT_TRUE(kinds.count(k)) << k;

    // The little-endian twin reads the same objects.
    CloseDoc();
    // At the end: generated names carry the line of their statement.
    const std::string little = std::string(big) + "order little\n";
    const std::filesystem::path twinFolder = folder_ / "twin";
    std::filesystem::create_directories(twinFolder);
    const auto twin = docbuilder::BuildDocument(little, "test.qzdoc", twinFolder.string());
    ASSERT_EQ(twin.error, 0) << twin.message;
    ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    Open(twin);
    ASSERT_FALSE(IsNatif(doc_.fResFile));
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(Difference(Objects(), expected), std::vector<std::string>{});
}

TEST_F(ReadStructure, TheDemoStructureReadsWhole)
{
    docbuilder::BuildResult r =
        docbuilder::BuildDocumentFile(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc", folder_.path());
    ASSERT_EQ(r.error, 0) << r.message;
    transfer::InstallModuleManager();  // the installed component's methods are enciphered
    Open(r);
    ASSERT_EQ(Read(), 0);
    // Every companion string list is listed, the plug-in's routine names
    // too, which the builder lists as a resource only.
    std::multiset<ManifestObject> read = Objects();
    for (auto it = read.begin(); it != read.end();)
        it = it->kind == 11 && it->id == 1 ? read.erase(it) : std::next(it);
    EXPECT_EQ(Difference(read, Expected(r.manifestPath)), std::vector<std::string>{});
    ExpectReadingOrder();
    // Group and component members as listed; variables follow the methods
    // that use them into groups and folders.
    std::multiset<std::pair<std::string, std::string>> members, expected;
    std::ifstream in(r.manifestPath);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("member\t23\t", 0) != 0 && line.rfind("member\t32\t", 0) != 0 && line.rfind("member\t33\t", 0) != 0)
            continue;
        std::vector<std::string> f;
        std::stringstream s(line);
        std::string part;
        while (std::getline(s, part, '\t')) f.push_back(part);
        expected.insert({f[3], f[7]});
    }
    for (int32_t i = 0; i < List(23)->Size(); ++i) {
        TObjQz* g = List(23)->At(i);
        for (int32_t m = 0; g->members && m < g->members->Size(); ++m)
            if (g->members->At(m)->kind != 9) members.insert({P(g->name), P(g->members->At(m)->name)});
    }
    EXPECT_EQ(members, expected);
    auto* reports = static_cast<TModuleObjQz*>(Find(32, "Reports"));
    ASSERT_NE(reports, nullptr);
    ASSERT_NE(reports->publicFolder, nullptr);
    EXPECT_EQ(P(reports->publicFolder->name), "Reports public");
    unsigned char prefix[8];
    reports->GetPrefix(prefix);
    EXPECT_EQ(P(prefix), "rp");
    // The designer's method and the start-up method are in use.
    EXPECT_TRUE(static_cast<TGnlProcObjQz*>(Find(2, "Start_Up"))->used);
}

TEST_F(ReadStructure, DirectoriesNameTheirObjects)
{
    const auto r = Build(R"(structure Dirs
method Plain id 10 attributes 0x06
method Second id 11 attributes 0x02
method Third id 12 attributes 0x08
method Fourth id 13
method Hidden id 14
resource BAQz 7 name "Named" 0000 0000 0000 0000
style First "one"
style Second_Style "two"
style Third_Style "three"
resource BAQz 9 0000 0000 0000 0000
resource STR# 20000 companion 0001 0141
resource TEXT 5 companion 41
resource QzQz 1 companion 00000001
resource moQz 3 companion 01
resource INQz 9 companion 0006
)");
    Replace(r.dataPath, FourCC("DBPR"), 0, {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x05});
    Replace(r.dataPath, FourCC("LIBA"), 0, {0x00, 0x03, 0x00, 0x07, 0xFF, 0xFF, 0x00, 0x09});
    FakeManager fake;
    fake.states[{FourCC("CCQz"), 14}] = 3;
    UseFake(&fake);
    Open(r);
    ASSERT_EQ(Read(), 0);

    ASSERT_EQ(List(16)->Size(), 1);
    unsigned char text[256];
    MyGetIndString(text, 1025, 3);
    EXPECT_EQ(FindId(16, 5) ? P(FindId(16, 5)->name) : "", P(text));

    EXPECT_EQ(List(5)->Size(), 2);
    EXPECT_EQ(static_cast<TMBarObjQz*>(FindId(5, 7))->libaSlot, 1);
    MyGetIndString(text, 1013, 8);
    ASSERT_NE(FindId(5, 9), nullptr);
    EXPECT_EQ(P(FindId(5, 9)->name), P(text) + "  3");
    EXPECT_EQ(static_cast<TMBarObjQz*>(FindId(5, 9))->libaSlot, 3);

    MyGetIndString(text, 1001, 11);
    EXPECT_NE(Find(11, P(text) + " 20000"), nullptr);
    std::set<std::string> resources;
    for (int32_t i = 0; i < List(20)->Size(); ++i) resources.insert(P(List(20)->At(i)->name));
    EXPECT_EQ(resources, (std::set<std::string>{"STR#", "TEXT"}));

    EXPECT_EQ(FindId(12, 1) ? P(FindId(12, 1)->name) : "", "First");
    EXPECT_EQ(FindId(12, 3) ? P(FindId(12, 3)->name) : "", "Third_Style");
    EXPECT_EQ(P(static_cast<TStyleObjQz*>(FindId(12, 2))->description), "two");

    EXPECT_EQ(FindId(2, 10)->GetIconID(), 2078);
    EXPECT_EQ(FindId(2, 11)->GetIconID(), 2076);
    EXPECT_EQ(FindId(2, 12)->GetIconID(), 2042);
    EXPECT_EQ(FindId(2, 13)->GetIconID(), 2077);
    EXPECT_EQ(FindId(2, 14)->GetIconID(), 3077);
    // A database method has no record to take an icon from.
    EXPECT_EQ(FindId(16, 5)->GetIconID(), 2077);
}

// The companion's resources become one object per type and id, listed in
// name order; 'PICT' and 'pict', one name to the look-ups, share theirs.
TEST_F(ReadStructure, CompanionResourcesMakeOneObjectPerNameAndId)
{
    std::string description = "structure Res\nresource TEXT 128 companion 41\n";
    for (int id : {200, 130, 128, 129, 201}) description += "resource PICT " + std::to_string(id) + " companion 00\n";
    for (int id : {128, 131, 201}) description += "resource pict " + std::to_string(id) + " companion 00\n";
    Open(Build(description));
    ASSERT_EQ(Read(), 0);
    std::multiset<std::string> made;
    for (int32_t i = 0; i < List(20)->Size(); ++i) {
        made.insert(P(List(20)->At(i)->name) + std::to_string(List(20)->At(i)->id));
        EXPECT_NE(i ? rel2str(List(20)->At(i - 1)->name, List(20)->At(i)->name) : 0, kGreater) << i;
    }
    EXPECT_EQ(made, (std::multiset<std::string>{"PICT200", "PICT130", "PICT128", "PICT129", "PICT201", "pict131", "TEXT128"}));
}

TEST_F(ReadStructure, TablesBringFieldsFormsListsAndBalloons)
{
    const auto r = Build(R"(structure Tables
list Named
  item "a"
table T id 1
  field Plain alpha 10 list Named
  field Noisy integer balloon "Help me"
  subtable S1 id 2
    subtable S2 id 3
      field Deep alpha 4
  form Entry
table Bare id 4
  field One integer
)");
    // An unnamed entry before the list's own.
    Bytes leqz(6 + 2 * 34, 0);
    platform::WriteBE16(&leqz[0], 2);
    platform::WriteBE16(&leqz[6 + 32], 9);
    const std::string named = "\x05Named";
    std::copy(named.begin(), named.end(), leqz.begin() + 6 + 34);
    platform::WriteBE16(&leqz[6 + 34 + 32], 1);
    Replace(r.dataPath, FourCC("LEQz"), 0, leqz);
    Open(r);
    ASSERT_EQ(Read(), 0);
    auto* t = static_cast<TFileObjQz*>(FindId(1, 1));
    ASSERT_NE(t, nullptr);
    ASSERT_NE(t->forms, nullptr);
    EXPECT_EQ(t->forms->Size(), 1);
    EXPECT_EQ(t->CountCriteres(), 3);
    // The unnamed directory entry makes no list; the named one is linked
    // from the field and from its table.
    EXPECT_EQ(List(4)->Size(), 1);
    TObjQz* list = Find(4, "Named");
    TObjQz* plain = Find(28, "Plain");
    ASSERT_TRUE(list && plain);
    EXPECT_TRUE(IsInList(plain->uses, list));
    EXPECT_TRUE(IsInList(t->uses, list));
    // A field with a help resource gets its balloon.
    TObjQz* noisy = Find(28, "Noisy");
    ASSERT_NE(t->balloons, nullptr);
    ASSERT_EQ(t->balloons->Size(), 1);
    EXPECT_EQ(P(t->balloons->At(0)->name), "[T]Noisy");
    EXPECT_EQ(static_cast<TFileBalloonObjQz*>(t->balloons->At(0))->textId, 2);
    EXPECT_TRUE(IsInList(noisy->uses, t->balloons->At(0)));
    // Two subtables down: levels and the structure name.
    TObjQz* deep = Find(28, "Deep");
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(deep->level, t->level + 3);
    unsigned char name[256], left[256], right[256], sep[256];
    deep->GetStructName(name);
    MyGetIndString(left, 104, 2), MyGetIndString(right, 104, 3), MyGetIndString(sep, 104, 6);
    EXPECT_EQ(P(name), P(left) + "T" + P(right) + "S1" + P(sep) + "S2" + P(sep) + "Deep");
    // A table without forms reads none.
    auto* bare = static_cast<TFileObjQz*>(FindId(1, 4));
    EXPECT_TRUE(!bare->forms || bare->forms->Size() == 0);
}

// A table read again for a copy makes its subtables with what their names
// say of them: a name holding a control character is never offered a
// rename.
TEST_F(ReadStructure, ASubtableReadForACopyKeepsItsNameFlags)
{
    const auto r = Build("structure Sub\ntable T id 1\n  field A integer\n  subtable S id 2\n    field B integer\n");
    Open(r);
    Bytes fiqz = Stored(FourCC("FIQz"), 1);
    CloseDoc();
    ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    ASSERT_GE(fiqz.size(), size_t(30 + 2 * 66));
    ASSERT_EQ(fiqz[96 + 32], 7);
    fiqz[96] = 2, fiqz[96 + 2] = 0x01;  // "S" becomes "S\x01"
    Replace(r.dataPath, FourCC("FIQz"), 1, fiqz);
    Open(r);
    ASSERT_EQ(Read(), 0);
    const unsigned char name[] = {1, 'T'};
    auto* copy = static_cast<TFileObjQz*>(NewCritObj(&doc_, 1, name, 1));
    ASSERT_NE(copy, nullptr);
    int16_t number = 1;
    ASSERT_EQ(copy->ReadMover(&number), 0);
    ASSERT_NE(copy->members, nullptr);
    ASSERT_EQ(copy->members->Size(), 2);
    TObjQz* sub = copy->members->At(1);
    ASSERT_EQ(sub->kind, 29);
    EXPECT_TRUE(sub->TstFlag(kFlagControlChar));
    EXPECT_FALSE(sub->EnableReplace());
}

TEST_F(ReadStructure, AMissingFormTableOrDefinitionIsRefused)
{
    const auto r = Build("structure Forms\ntable T id 1\n  field A integer\n  form F\n");
    Open(r);
    // The form table named by the definition is gone.
    rmveresbyid(FourCC("TFQz"), 1, true);
    EXPECT_EQ(Read(), kResourceMissing);
    Reopen(r);
    // A definition cut inside its header.
    platform::Handle def = xget1res(FourCC("FIQz"), 1);
    ASSERT_NE(def, nullptr);
    platform::SetHandleSize(def, 12);
    EXPECT_EQ(Read(), kResourceMissing);
    Reopen(r);
    // Form table -1: no forms, no error.
    def = xget1res(FourCC("FIQz"), 1);
    platform::WriteBE16(*def + 4, 0xFFFF);
    EXPECT_EQ(Read(), 0);
    EXPECT_TRUE(!static_cast<TFileObjQz*>(FindId(1, 1))->forms || static_cast<TFileObjQz*>(FindId(1, 1))->forms->Size() == 0);
}

TEST_F(ReadStructure, ReadingStopsWhereItMust)
{
    {
        // A generated component library.
        const auto r = Build("library Gen\nresource xmd@ 1 00\nmethod M id 3\n");
        Open(r);
        EXPECT_EQ(Read(), kCancelledByUser);
        EXPECT_EQ(LastAlert().alertId, 1000);
        // The alert says what the file is, not that components were removed.
        unsigned char removed[256];
        ErrorMessage(kComponentsRemoved, removed);
        EXPECT_NE(LastAlert().text, P(removed));
        EXPECT_NE(LastAlert().text.find("generated component library"), std::string::npos) << LastAlert().text;
        EXPECT_EQ(List(2)->Size(), 0);
        EXPECT_EQ(ReadQzB(&doc_, 1, 1), 0);
        EXPECT_EQ(List(2)->Size(), 1);
        CloseDoc();
    }
    {
        // Compiled without method sources.
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        const auto r = Build("structure Compiled\ncompiled\n");
        Open(r);
        platform::Handle sources = xget1res(FourCC("CCQz"), 1);
        if (sources) rmveresbyid(FourCC("CCQz"), 1, true);
        const int32_t before = AlertCount();
        EXPECT_EQ(Read(), kCancelledByUser);
        EXPECT_EQ(AlertCount(), before + 1);
        CloseDoc();
    }
    for (int16_t answer : {1, 2}) {
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        const auto r = Build("structure Records\nmethod M id 3\n");
        FakeManager fake;
        fake.load = answer;
        UseFake(&fake);
        Open(r);
        EXPECT_EQ(Read(), answer == 1 ? kModulesUnreadable1 : kModulesUnreadable2);
        CloseDoc();
    }
}

TEST_F(ReadStructure, AnErrorAtMenuBarsParsesNothingButMarksMethodsUsed)
{
    const auto r = Build(R"(structure Stop
method Chosen id 3
method STARTUP id 4
method Other id 5
method Blank id 6
user Designer method Chosen
user Guest
)");
    // A damaged directory can leave a method without a name; the user
    // without a method must not mark it used.
    Open(r);
    Bytes methods = Stored(FourCC("TPQz"), 0);
    CloseDoc();
    ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    for (size_t at = 0; at + 44 <= methods.size(); at += 44)
        if (methods[at + 32] == 0 && methods[at + 33] == 6) methods[at] = 0;
    Replace(r.dataPath, FourCC("TPQz"), 0, methods);
    Replace(r.dataPath, FourCC("LIBA"), 0, {0x00, 0x09, 0x00, 0x01});
    Open(r);
    EXPECT_EQ(Read(), kResourceMissing);
    EXPECT_FALSE(FindId(2, 5)->TstFlag(kFlagParsed));
    EXPECT_TRUE(static_cast<TGnlProcObjQz*>(FindId(2, 3))->used);
    EXPECT_TRUE(static_cast<TGnlProcObjQz*>(FindId(2, 4))->used);
    EXPECT_FALSE(static_cast<TGnlProcObjQz*>(FindId(2, 5))->used);
    ASSERT_EQ(FindId(2, 6)->name[0], 0);
    EXPECT_FALSE(static_cast<TGnlProcObjQz*>(FindId(2, 6))->used);
    EXPECT_EQ(G_WaitParam, nullptr);
}

TEST_F(ReadStructure, StopInTheWaitDialogCancels)
{
    const auto r = Build("structure Long\ntable A id 1\n  field X integer\ntable B id 2\n  field Y integer\n");
    FakeManager fake;
    fake.onState = [](uint32_t, int16_t) {
        if (G_WaitParam) G_WaitParam->cancelled = 1;
    };
    UseFake(&fake);
    Open(r);
    EXPECT_EQ(Read(), kCancelledByUser);
}

TEST_F(ReadStructure, MemoryRunningOutAnywhereInTheReadThrowsNothingOut)
{
    // Tables, lists, a group whose stored list is rewritten and methods:
    // every part of the read allocates.
    const auto r = Build(R"(structure Short
table T id 1
  field F integer
  form Entry id 1
list Colours id 5
  item "Red"
method One id 3
method Two id 4
group Team
  method One
  method Two
)");
    Open(r);
    testfaults::FailNthNew(int64_t(1) << 40);
    ASSERT_EQ(Read(), 0);
    const int64_t total = (int64_t(1) << 40) - testfaults::gNewFault.countdown;
    testfaults::StopFailingNew();
    ASSERT_GT(total, 0);
    const auto whole = Objects();
    int32_t failures = 0;
    std::vector<int64_t> incomplete;
    // Every allocation of the read fails once: a look-up that ran out of
    // memory must never read as a resource that is not there.
    for (int64_t after = 0; after < total; ++after) {
        Reopen(r);
        testfaults::FailNthNew(after);
        int16_t result = 0;
        try {
            result = Read();
        } catch (const std::bad_alloc&) {
            ADD_FAILURE() << "memory running out after " << after << " allocations escaped the read";
        }
        const bool failed = !testfaults::NewFailurePending();
        testfaults::StopFailingNew();
        if (!failed) continue;
        ++failures;
        // No pointer to the read's own wait dialog stays behind.
        EXPECT_EQ(G_WaitParam, nullptr) << after;
        // A read that answers success holds every object, never a part.
        if (result == 0 && Objects() != whole) {
            incomplete.push_back(after);
            ADD_FAILURE() << after << ": " << testing::PrintToString(Difference(Objects(), whole));
        }
    }
    EXPECT_GT(failures, 10);
    EXPECT_EQ(incomplete, std::vector<int64_t>{}) << "of " << failures << " failures";
    // No rewrite of groups is left held back: the next read writes them.
    CloseDoc();
    ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    Replace(r.dataPath, FourCC("#GRP"), 1, {0x00, 0x02, 0x00, 0x03, 0xFF, 0xFF});
    Open(r);
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(Stored(FourCC("#GRP"), 1), (Bytes{0x00, 0xFE, 0x00, 0x02, 0x00, 0x03, 0xFF, 0xFF}));
}

TEST_F(ReadStructure, ComponentsToRemoveAskAndGo)
{
    const auto r = Build(R"(structure Removal
table T id 1
  field A integer
  form F
method Kept id 3
method Gone id 4
picture Pic id 6
component Comp id 20
  public
    method Kept
  protected
  private
)");
    FakeManager fake;
    fake.load = 3;
    UseFake(&fake);
    Open(r);
    // An enciphered method, a 'TPQz' record and a 'PIC#' entry whose
    // resources are missing.
    platform::Handle m = xget1res(FourCC("CCQz"), 4);
    ASSERT_NE(m, nullptr);
    ASSERT_TRUE(hcrypteres(m, false));
    ASSERT_TRUE(xwriteres(m));
    rmveresbyid(FourCC("PICT"), 6, true);
    ASSERT_TRUE(updateres(doc_.fResFile));
    ASSERT_EQ(AcceptQzB(doc_.fRsrFile, doc_.fResFile), 0);  // the damage is the test's, not the open's
    const Bytes forms = Stored(FourCC("TFQz"), 1);
    ASSERT_FALSE(forms.empty());
    // Declined: nothing removed.
    platform::PushDialogAnswer(2);
    EXPECT_EQ(Read(), kCancelledByUser);
    EXPECT_EQ(LastAlert().alertId, 1002);
    unsigned char text[256];
    MyGetIndString(text, 1002, 59);
    EXPECT_EQ(LastAlert().text, P(text));
    EXPECT_EQ(compteres(FourCC("CCQz"), true), 2);

    Reopen(r);
    platform::PushDialogAnswer(1);
    EXPECT_EQ(Read(), kComponentsRemoved);
    EXPECT_EQ(fake.uninstalls, 1);
    EXPECT_TRUE(fake.removed);
    EXPECT_EQ(Stored(FourCC("TFQz"), 1), forms);  // its form is still there
    EXPECT_EQ(xget1res(FourCC("CCQz"), 4), nullptr);
    platform::Handle tpqz = xget1res(FourCC("TPQz"), 0);
    ASSERT_NE(tpqz, nullptr);
    ASSERT_EQ(platform::GetHandleSize(tpqz), 44);
    EXPECT_EQ(platform::ReadBE16(*tpqz + 32), 3);
    platform::Handle pics = xget1res(FourCC("PIC#"), 128);
    ASSERT_NE(pics, nullptr);
    EXPECT_EQ(platform::ReadBE16(*pics), 0);
    EXPECT_EQ(platform::GetHandleSize(pics), 2);

    // Outside normal work no removal is allowed; a failing uninstall stops.
    Reopen(r);
    G_ModuleUpdate = 3;
    EXPECT_EQ(Read(), kCancelledByUser);
    EXPECT_EQ(LastAlert().alertId, 1000);
    MyGetIndString(text, 1002, 51);
    EXPECT_EQ(LastAlert().text, P(text));
    G_ModuleUpdate = 4;
}

TEST_F(ReadStructure, AFailingUninstallStopsTheRemoval)
{
    const auto r = Build("structure Stuck\ncomponent Comp id 20\n  public\n  protected\n  private\n");
    FakeManager fake;
    fake.load = 3;
    fake.uninstallResult = -34;
    UseFake(&fake);
    Open(r);
    platform::PushDialogAnswer(1);
    EXPECT_EQ(Read(), -34);
    EXPECT_EQ(fake.uninstalls, 1);
    EXPECT_FALSE(fake.removed);
}

TEST_F(ReadStructure, ComponentsOutOfTheirFoldersAreRemoved)
{
    const auto r = Build(R"(structure Check
method Pub id 3
method Priv id 4
component Comp id 20
  public id 21
    method Pub
  protected id 22
  private id 23
    method Priv
)");
    FakeManager fake;
    fake.states[{FourCC("#GMO"), 21}] = 1;
    FakeModule module;
    module.name = "Comp";
    module.entries = {{FourCC("CCQz"), 3, 1}, {FourCC("CCQz"), 4, 3}, {FourCC("PICT"), 9, 2}};
    fake.modules.push_back(module);
    UseFake(&fake);
    Open(r);
    // Installed, known to the manager and every entry in its folder.
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(fake.modules[0].object, FindId(32, 20));
    EXPECT_TRUE(FindId(2, 3)->TstFlag(kFlagInComponent));
    EXPECT_EQ(CheckModuleObjQz(&doc_), 0);
    fake.modules[0].entries[1].state = 2;
    EXPECT_EQ(CheckModuleObjQz(&doc_), kComponentsRemoved);
}

// Every template of a directory record turns it little-endian and back to
// the same bytes, and turns the fields it names.
TEST_F(ReadStructure, DirectoryTemplatesRoundTrip)
{
    struct Case {
        const char* type;
        Bytes bytes;
        std::vector<int> words;  // offsets of 16-bit fields that must turn
    };
    Bytes fiqz(30 + 2 * 66, 0);
    platform::WriteBE16(&fiqz[0], 2), platform::WriteBE16(&fiqz[2], 0x0102), platform::WriteBE16(&fiqz[4], 0x0304);
    fiqz[30 + 32] = 0;                                       // alpha field
    fiqz[30 + 48] = 0x25, fiqz[30 + 49] = 0x60;              // attribute bytes stay
    platform::WriteBE16(&fiqz[30 + 46], 0x0A0B);
    fiqz[96 + 32] = 7;                                       // subtable
    platform::WriteBE16(&fiqz[96 + 48], 0x0C0D);
    Bytes tfqz(6 + 270, 0);
    platform::WriteBE16(&tfqz[0], 1), platform::WriteBE16(&tfqz[6 + 32], 0x1122), platform::WriteBE16(&tfqz[6 + 40], 0x3344);
    Bytes tpqz(88, 0);
    platform::WriteBE16(&tpqz[32], 0x0506), platform::WriteBE16(&tpqz[44 + 32], 0x0708);
    Bytes lihe(36, 0);
    platform::WriteBE16(&lihe[16], 0x0102), platform::WriteBE16(&lihe[34], 0x0304);
    Bytes leqz(6 + 34, 0);
    platform::WriteBE16(&leqz[0], 1), platform::WriteBE16(&leqz[6 + 32], 0x0809);
    Bytes enqz(4 + 68, 0);
    platform::WriteBE16(&enqz[0], 2), platform::WriteBE16(&enqz[4 + 32], 0x0102);
    Bytes menq(24 + 86, 0);
    platform::WriteBE16(&menq[0], 1), platform::WriteBE32(&menq[24 + 82], 0x00020007);
    Bytes baqz(8 + 12, 0);
    platform::WriteBE16(&baqz[0], 2), platform::WriteBE16(&baqz[12], 0x0102), platform::WriteBE16(&baqz[18], 0x0304);
    Bytes stqz(2 + 114, 0);
    platform::WriteBE16(&stqz[0], 1);
    const Case cases[] = {
        {"FIQz", fiqz, {0, 2, 4, 30 + 46, 96 + 48}}, {"TFQz", tfqz, {0, 6 + 32, 6 + 40}}, {"TPQz", tpqz, {32, 44 + 32}},
        {"LiHe", lihe, {16, 34}}, {"LEQz", leqz, {0, 6 + 32}}, {"ENQz", enqz, {0, 4 + 32}},
        {"MENQ", menq, {0}}, {"BAQz", baqz, {0, 12, 18}}, {"STQz", stqz, {0}},
    };
    for (const Case& c : cases) {
        Bytes le = c.bytes;
        uint32_t t = (uint32_t(uint8_t(c.type[0])) << 24) | (uint32_t(uint8_t(c.type[1])) << 16) |
                     (uint32_t(uint8_t(c.type[2])) << 8) | uint8_t(c.type[3]);
        ASSERT_EQ(SwapResourceEnvoi(1, t, int32_t(le.size()), le.data()), 1u) << c.type;
        EXPECT_EQ(errSwap, 0) << c.type;
        for (int at : c.words) {
            EXPECT_EQ(le[size_t(at)], c.bytes[size_t(at + 1)]) << c.type << " " << at;
            EXPECT_EQ(le[size_t(at + 1)], c.bytes[size_t(at)]) << c.type << " " << at;
        }
        if (std::string(c.type) == "MENQ") {
            EXPECT_EQ(platform::ReadLE32(&le[24 + 82]), 0x00020007u);
        }
        if (std::string(c.type) == "FIQz") {
            EXPECT_EQ(le[30 + 48], 0x25);
            EXPECT_EQ(le[30 + 49], 0x60);
        }
        ASSERT_EQ(SwapResource(1, t, int32_t(le.size()), le.data()), 1u) << c.type;
        EXPECT_EQ(le, c.bytes) << c.type;
    }
}

TEST_F(ReadStructure, CountsPastTheirDirectoriesAreRefused)
{
    const auto r = Build(R"(structure Damage
table T id 1
  field A integer
  form F
method M id 3
list L
  item "x"
menubar B
style S "s"
picture P id 4
stylesheet Sheet
)");
    struct Damage {
        const char* type;
        int16_t id;
        Bytes bytes;
    };
    const Damage cases[] = {
        {"LEQz", 0, {0x00, 0x05, 0, 0, 0, 0}},
        {"STQz", 0, {0x00, 0x02}},
        {"PIC#", 128, {0x00, 0x03, 0x01, 0x41}},
        {"PIC#", 128, [] { Bytes b(2 + 34 - 1, 0); b[1] = 1; return b; }()},  // its one entry a byte short
        {"Stlx", 128, {0x00, 0x09, 0x01, 0x78}},
        {"LIBA", 0, {0x00, 0x04, 0x00, 0x01}},
        {"TFQz", 1, {0x00, 0x02, 0, 0, 0, 0}},
        {"FIQz", 1, {0x01, 0xFF}},
        {"WNQz", 0, {0x01, 0x54}},
        {"PRQz", 0, {}},  // cut one byte short of its last table's entry
    };
    for (const Damage& d : cases) {
        const auto built = Build(R"(structure Damage
table T id 1
  field A integer
  form F
method M id 3
list L
  item "x"
menubar B
style S "s"
picture P id 4
stylesheet Sheet
)");
        uint32_t t = (uint32_t(uint8_t(d.type[0])) << 24) | (uint32_t(uint8_t(d.type[1])) << 16) |
                     (uint32_t(uint8_t(d.type[2])) << 8) | uint8_t(d.type[3]);
        Bytes bytes = d.bytes;
        if (bytes.empty()) {
            Open(built);
            bytes = Stored(t, d.id);
            CloseDoc();
            ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
            ASSERT_GE(bytes.size(), 2u);
            bytes.resize(size_t(78 + 14 * platform::ReadBES16(&bytes[0]) - 1));
        }
        Replace(built.dataPath, t, d.id, bytes);
        const Bytes before = FileBytes(built.dataPath);
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        Open(built);
        EXPECT_EQ(Read(), kResourceMissing) << d.type;
        CloseDoc();
        EXPECT_EQ(FileBytes(built.dataPath), before) << d.type;
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
    (void)r;
}

TEST_F(ReadStructure, RandomlyDamagedDirectoriesAreRefusedOrRead)
{
    const auto r = Build(R"(structure Random
table T id 1
  field A integer list L
  subtable S id 2
    field B alpha 3
  form F
method M id 3 attributes 2
dbmethod 1 id 9
list L
  item "x"
menu Mn id 1
  item "i" method M
menubar B
  menu Mn
balloon H "h"
style S "s"
picture P id 4
stylesheet Sheet
group G
  method M
)");
    const Bytes original = FileBytes(r.dataPath);
    const std::string sidecar = r.companionPath;
    const Bytes companion = FileBytes(sidecar);
    const char* types[] = {"WNQz", "TPQz", "DBPR", "LEQz", "LIBA", "LiHe", "STQz", "PIC#", "Stlx", "FIQz", "TFQz", "#GRP", "MENQ"};
    const int16_t ids[] = {0, 0, 0, 0, 0, 0, 0, 128, 128, 1, 1, 1, 1};
    std::mt19937 rng(4242);
    for (int round = 0; round < 500; ++round) {
        ASSERT_EQ(platform::WriteFileAtomically(r.dataPath, original.data(), original.size()), 0);
        ASSERT_EQ(platform::WriteFileAtomically(sidecar, companion.data(), companion.size()), 0);
        const size_t which = rng() % std::size(types);
        uint32_t t = (uint32_t(uint8_t(types[which][0])) << 24) | (uint32_t(uint8_t(types[which][1])) << 16) |
                     (uint32_t(uint8_t(types[which][2])) << 8) | uint8_t(types[which][3]);
        Open(r);
        platform::Handle h = xget1res(t, ids[which]);
        ASSERT_NE(h, nullptr) << types[which];
        Bytes b(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + platform::GetHandleSize(h));
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        const int cuts = 1 + int(rng() % 4);
        for (int c = 0; c < cuts && !b.empty(); ++c) {
            switch (rng() % 3) {
            case 0: b[rng() % b.size()] = uint8_t(rng()); break;
            case 1: b.resize(rng() % b.size()); break;
            case 2: if (b.size() >= 2) platform::WriteBE16(&b[0], uint16_t(rng())); break;
            }
        }
        Replace(r.dataPath, t, ids[which], b);
        const Bytes damaged = FileBytes(r.dataPath);
        Open(r);
        const int16_t result = Read();
        EXPECT_TRUE(result == 0 || result == kResourceMissing || result == -108 || result == 9001 ||
                    result == kCancelledByUser)
            << types[which] << " " << result;
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        if (result != 0) {
            EXPECT_EQ(FileBytes(r.dataPath), damaged) << types[which] << " round " << round;
        }
    }
}

}  // namespace
}  // namespace readtest

namespace readtest {
namespace {

TEST_F(ReadStructure, OlderEnumerationsBecomeChoiceLists)
{
    const char* text = R"(structure Enums
enum Colours id 3
  item "Red"
  item "Green"
)";
    {
        const auto r = Build(text);
        Open(r);
        ASSERT_EQ(Read(), 0);
        EXPECT_TRUE(Stored(FourCC("ENQz"), 3).empty());
        itemlistrec list{};
        initqlist(&list, 0, 255);
        ASSERT_EQ(LoadList(3, &list, true), 0);
        std::vector<std::pair<std::string, int16_t>> items;
        for (ItemHandle i = list.first; i; i = (**i).next) items.push_back({P(ItemText(i)), (**i).number});
        deinitqlist(&list);
        EXPECT_EQ(items, (std::vector<std::pair<std::string, int16_t>>{{"Red", 1}, {"Green", 2}}));
        EXPECT_NE(Find(4, "Colours"), nullptr);
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
    // The only enumeration kept enciphered is converted all the same.
    {
        const auto r = Build(text);
        Open(r);
        platform::Handle e = xget1res(FourCC("ENQz"), 3);
        ASSERT_NE(e, nullptr);
        ASSERT_TRUE(hcrypteres(e, false));
        ASSERT_TRUE(xwriteres(e));
        ASSERT_TRUE(updateres(doc_.fResFile));
        EXPECT_EQ(convertEnumsToLists(&doc_), 0);
        EXPECT_EQ(compteres(FourCC("ENQz"), true), 0);
        EXPECT_FALSE(Stored(FourCC("List"), 3).empty());
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
    // Memory running out at every step in turn: either the list is saved
    // and the enumeration gone, or the enumeration stays.
    for (int32_t after = 0;; ++after) {
        ASSERT_LT(after, 400);
        const auto r = Build(text);
        Open(r);
        int16_t result = 0;
        {
            platform::ScopedFault noMemory(platform::FaultKind::Allocation, after, -1);
            result = convertEnumsToLists(&doc_);
        }
        const bool enumeration = !Stored(FourCC("ENQz"), 3).empty();
        if (result == 0) {
            EXPECT_FALSE(enumeration);
            EXPECT_FALSE(Stored(FourCC("List"), 3).empty());
            break;
        }
        EXPECT_TRUE(enumeration) << after;
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
}

}  // namespace
}  // namespace readtest
