// Groups, components and folders as a document is read: names, both
// member-list formats, hidden groups, folders kept through a rewrite, the
// component properties in either byte order, and groups moved out of the
// companion file without losing them.
#include <filesystem>
#include <set>

#include "design/objects/Groups.h"
#include "platform/core/Endian.h"
#include "tests/design/ReadFixture.h"

namespace readtest {
namespace {

class GroupRead : public ReadFixture {
protected:
    // A '#GRP' list of the given name, added to the built container.
    void AddGroupList(const docbuilder::BuildResult& r, int16_t id, const std::string& name, const Bytes& words)
    {
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(r.dataPath, &fileSpec);
        const int16_t f = openres(fileSpec, false);
        ASSERT_NE(f, 0);
        platform::Handle h = nullptr;
        ASSERT_EQ(platform::PtrToHand(words.data(), &h, platform::Size(words.size())), 0);
        ASSERT_TRUE(xaddres(h, FourCC("#GRP"), id));
        unsigned char pname[256];
        apptest::ToP(name, pname);
        xsetresname(FourCC("#GRP"), id, pname, false);
        ASSERT_TRUE(updateres(f));
        closeres(f, false);
    }

    std::vector<std::string> Members(TObjQz* group)
    {
        std::vector<std::string> out;
        for (int32_t i = 0; group && group->members && i < group->members->Size(); ++i)
            out.push_back(P(group->members->At(i)->name));
        return out;
    }
};

TEST_F(GroupRead, MemberListsInBothFormats)
{
    const auto r = Build(R"(structure Groups
table T id 1
  field F integer
  form Entry id 1
method One id 3
method Two id 4
method Three id 5
method Four id 6
)");
    AddGroupList(r, 5, "Group\rrest", {0x00, 0xFE, 0xFF, 0xFF});
    AddGroupList(r, 6, "Current", {0x00, 0xFE, 0x00, 0x02, 0x00, 0x63, 0x00, 0x02, 0x00, 0x03, 0x00, 0x18, 0x00, 0x01, 0x00, 0x01, 0x00, 0x02, 0x00, 0x04, 0xFF, 0xFF});
    AddGroupList(r, 7, "Older", {0x00, 0x02, 0x00, 0x05, 0xFF, 0xFF});
    AddGroupList(r, 0, "Zero", {0x00, 0xFE, 0x00, 0x02, 0x00, 0x06, 0xFF, 0xFF});
    Open(r);
    ASSERT_EQ(Read(), 0);
    EXPECT_NE(FindId(23, 5), nullptr);
    EXPECT_EQ(P(FindId(23, 5)->name), "Group");
    // A deleted member: every later entry is read; the list is rewritten
    // without it.
    TObjQz* current = FindId(23, 6);
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(Members(current), (std::vector<std::string>{"One", "Entry", "Two"}));
    EXPECT_EQ(Stored(FourCC("#GRP"), 6), (Bytes{0x00, 0xFE, 0x00, 0x02, 0x00, 0x03, 0x00, 0x18, 0x00, 0x01, 0x00, 0x01,
                                               0x00, 0x02, 0x00, 0x04, 0xFF, 0xFF}));
    // An older list is rewritten in the current format.
    EXPECT_EQ(Members(FindId(23, 7)), (std::vector<std::string>{"Three"}));
    EXPECT_EQ(Stored(FourCC("#GRP"), 7), (Bytes{0x00, 0xFE, 0x00, 0x02, 0x00, 0x05, 0xFF, 0xFF}));
    // Group 0 is hidden and in the trash.
    TObjQz* zero = FindId(23, 0);
    ASSERT_NE(zero, nullptr);
    EXPECT_TRUE(zero->TstFlag(kFlagHidden));
    EXPECT_TRUE(zero->TstFlag(kFlagInTrash));
}

// Long lists are looked up through an index: what it lacks is missing.
TEST_F(GroupRead, AMissingMemberOfALongListIsPassedOver)
{
    std::string text = "structure Long\n";
    for (int id = 1; id <= 70; ++id) text += "method M" + std::to_string(id) + " id " + std::to_string(id) + "\n";
    const auto r = Build(text);
    AddGroupList(r, 5, "Many", {0x00, 0xFE, 0x00, 0x02, 0x00, 0x63, 0x00, 0x02, 0x00, 0x46, 0x00, 0x02, 0x00, 0x01, 0xFF, 0xFF});
    Open(r);
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(Members(FindId(23, 5)), (std::vector<std::string>{"M70", "M1"}));
}

TEST_F(GroupRead, OlderEntriesKeepTheirOwnKinds)
{
    const auto r = Build(R"(structure Old
table T id 1
  field F integer
  form Entry id 1
stylesheet Sheet id 9
method One id 3
)");
    AddGroupList(r, 7, "Older", {0x00, 0x02, 0x00, 0x03, 0x00, 0x13, 0x00, 0x01, 0x00, 0x01, 0x00, 0x13, 0x00, 0x09, 0xFF, 0xFF});
    Open(r);
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(Members(FindId(23, 7)), (std::vector<std::string>{"One", "Entry", "Sheet"}));
    EXPECT_EQ(Stored(FourCC("#GRP"), 7), (Bytes{0x00, 0xFE, 0x00, 0x02, 0x00, 0x03, 0x00, 0x18, 0x00, 0x01, 0x00, 0x01,
                                               0x00, 0x13, 0x00, 0x09, 0xFF, 0xFF}));
}

TEST_F(GroupRead, DamagedMemberListsAreNotRewritten)
{
    const auto r = Build(R"(structure Damaged
method One id 3
)");
    AddGroupList(r, 5, "Unknown", {0x00, 0xFE, 0x00, 0x02, 0x00, 0x03, 0x00, 0x50, 0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0xFF, 0xFF});
    AddGroupList(r, 6, "Cut", {0x00, 0xFE, 0x00, 0x02, 0x00, 0x03});
    Open(r);
    // A list without its end mark is refused; one with a kind no reader
    // knows keeps what came before it and stays as stored. Neither is
    // rewritten, though the second takes the first's member.
    EXPECT_EQ(Read(), kResourceMissing);
    EXPECT_EQ(Members(FindId(23, 5)), (std::vector<std::string>{"One"}));
    EXPECT_EQ(Stored(FourCC("#GRP"), 5), (Bytes{0x00, 0xFE, 0x00, 0x02, 0x00, 0x03, 0x00, 0x50, 0x00, 0x01, 0x00, 0x02,
                                               0x00, 0x03, 0xFF, 0xFF}));
    EXPECT_EQ(Stored(FourCC("#GRP"), 6), (Bytes{0x00, 0xFE, 0x00, 0x02, 0x00, 0x03}));
}

TEST_F(GroupRead, AMemberTakenByAnotherGroupLeavesTheFirstRewritten)
{
    const auto r = Build("structure Taken\nmethod One id 3\nmethod Two id 4\n");
    AddGroupList(r, 5, "A", {0x00, 0xFE, 0x00, 0x02, 0x00, 0x03, 0x00, 0x02, 0x00, 0x04, 0xFF, 0xFF});
    AddGroupList(r, 6, "B", {0x00, 0xFE, 0x00, 0x02, 0x00, 0x04, 0xFF, 0xFF});
    Open(r);
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(Members(FindId(23, 5)), (std::vector<std::string>{"One"}));
    EXPECT_EQ(Members(FindId(23, 6)), (std::vector<std::string>{"Two"}));
    EXPECT_EQ(Stored(FourCC("#GRP"), 5), (Bytes{0x00, 0xFE, 0x00, 0x02, 0x00, 0x03, 0xFF, 0xFF}));
}

TEST_F(GroupRead, ComponentsKeepTheirFoldersThroughARewrite)
{
    const auto r = Build(R"(structure Comps
method Pub id 3
method Pro id 4
method Pri id 5
component Kit id 20 version "1.2" prefix "kt" comments "tools"
  public id 21
    method Pub
  protected id 22
    method Pro
  private id 23
    method Pri
)");
    AddGroupList(r, 8, "Holder", {0x00, 0xFE, 0x00, 0x20, 0x00, 0x14, 0xFF, 0xFF});
    Open(r);
    ASSERT_EQ(Read(), 0);
    auto* kit = static_cast<TModuleObjQz*>(FindId(32, 20));
    ASSERT_NE(kit, nullptr);
    ASSERT_TRUE(kit->publicFolder && kit->protectedFolder && kit->privateFolder);
    // A group read before any component was made still holds it.
    EXPECT_EQ(Members(FindId(23, 8)), (std::vector<std::string>{"Kit"}));
    EXPECT_EQ(Stored(FourCC("#GRP"), 8), (Bytes{0x00, 0xFE, 0x00, 0x20, 0x00, 0x14, 0xFF, 0xFF}));
    unsigned char text[256];
    kit->GetFullName(text);
    EXPECT_EQ(P(text), "Component Kit");
    EXPECT_TRUE(static_cast<TModuleGroupObjQz*>(kit->privateFolder)->IsPrivate());
    EXPECT_EQ(kit->GetIconID(), 2072);

    ASSERT_EQ(kit->Write(), 0);
    EXPECT_EQ(Stored(FourCC("#MOD"), 20), (Bytes{0x00, 0xFE, 0x00, 0x21, 0x00, 0x15, 0x00, 0x21, 0x00, 0x16, 0x00, 0x21,
                                                0x00, 0x17, 0xFF, 0xFF}));
    Reopen(r);
    ASSERT_EQ(Read(), 0);
    kit = static_cast<TModuleObjQz*>(FindId(32, 20));
    ASSERT_NE(kit, nullptr);
    ASSERT_TRUE(kit->publicFolder && kit->protectedFolder && kit->privateFolder);
    EXPECT_EQ(kit->publicFolder->id, 21);
    EXPECT_EQ(Members(kit->privateFolder), (std::vector<std::string>{"Pri"}));
    kit->GetVersion(text);
    EXPECT_EQ(P(text), "1.2");
    kit->GetPrefix(text);
    EXPECT_EQ(P(text), "kt");
    kit->GetComments(text);
    EXPECT_EQ(P(text), "tools");
    // A structure stores format 2 and the folders once.
    const Bytes props = Stored(FourCC("moQz"), 20);
    ASSERT_GE(props.size(), 40u);
    EXPECT_EQ(props[0], 1);
    EXPECT_EQ(platform::ReadBE16(&props[props.size() - 8]), 2);
}

// 'moQz' of a component with three folders 21-23, by hand.
Bytes Props(bool little, int16_t format, const std::string& prefix)
{
    Bytes b;
    auto word = [&](uint16_t v) {
        if (little) b.push_back(uint8_t(v)), b.push_back(uint8_t(v >> 8));
        else b.push_back(uint8_t(v >> 8)), b.push_back(uint8_t(v));
    };
    auto lng = [&](uint32_t v) {
        if (little) word(uint16_t(v)), word(uint16_t(v >> 16));
        else word(uint16_t(v >> 16)), word(uint16_t(v));
    };
    b.push_back(little ? 2 : 1);
    word(12), word(5), word(2020);
    lng(7), lng(0), lng(0);
    word(21), word(22), word(23);
    lng(3), lng(0), b.push_back('1'), b.push_back('.'), b.push_back('0'), b.push_back(0);  // "1.0"
    lng(0);
    word(uint16_t(format));
    if (format != 200 && format > 0) {
        uint32_t v = 0;
        for (size_t i = 0; i < 4; ++i) v = (v << 8) | uint8_t(i < prefix.size() ? prefix[i] : 0);
        lng(v);
        b.push_back(1);
    }
    if (format > 2 && format != 200) word(23), word(21), word(22);  // the folders again, in another order
    b.push_back(0);
    return b;
}

TEST_F(GroupRead, PropertiesInEitherByteOrder)
{
    for (auto [little, format, prefix, expected] :
         {std::tuple{false, int16_t(200), std::string(""), std::string("")}, {true, int16_t(2), "ABCD", "ABCD"},
          {false, int16_t(2), "XY", "XY"}, {true, int16_t(3), "KT", "KT"}}) {
        const auto r = Build(R"(structure Props
component Kit id 20
  public id 21
  protected id 22
  private id 23
)");
        Replace(r.dataPath, FourCC("moQz"), 20, Props(little, format, prefix));
        Open(r);
        ASSERT_EQ(Read(), 0);
        auto* kit = static_cast<TModuleObjQz*>(FindId(32, 20));
        ASSERT_NE(kit, nullptr);
        unsigned char text[256];
        kit->GetPrefix(text);
        EXPECT_EQ(P(text), expected);
        EXPECT_EQ(kit->prefixSet, format == 200 ? 0 : 1);
        kit->GetVersion(text);
        EXPECT_EQ(P(text), "1.0");
        EXPECT_EQ(kit->versionNb, 7u);
        EXPECT_EQ(kit->date[2], 2020);
        ASSERT_TRUE(kit->publicFolder && kit->protectedFolder && kit->privateFolder);
        EXPECT_EQ(std::tuple(kit->publicFolder->id, kit->protectedFolder->id, kit->privateFolder->id),
                  format == 3 ? std::tuple(23, 21, 22) : std::tuple(21, 22, 23));
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
}

TEST_F(GroupRead, CompanionGroupsMoveIntoTheContainer)
{
    const char* text = R"(structure Moved
groups companion
method One id 3
group Team
  method One
)";
    {
        const auto r = Build(text);
        Open(r);
        ASSERT_EQ(Read(), 0);
        EXPECT_EQ(Members(Find(23, "Team")), (std::vector<std::string>{"One"}));
        EXPECT_FALSE(Stored(FourCC("#GRP"), 1).empty());
        const int16_t saved = platform::CurResFile();
        platform::UseResFile(doc_.fRsrFile);
        EXPECT_EQ(platform::Count1Resources(FourCC("#GRP")), 0);
        platform::UseResFile(saved);
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
    {
        // The container cannot commit when the document is accepted: the
        // companion keeps its groups.
        const auto r = Build(text);
        Open(r);
        ASSERT_EQ(ConvertGroupes(&doc_, FourCC("#GRP")), 0);
        int16_t result = 0;
        {
            platform::ScopedFault full(platform::FaultKind::DiskFull, 0, -1);
            result = AcceptQzB(doc_.fRsrFile, doc_.fResFile);
        }
        EXPECT_NE(result, 0);
        const int16_t saved = platform::CurResFile();
        Reopen(r);
        EXPECT_TRUE(Stored(FourCC("#GRP"), 1).empty());
        platform::UseResFile(doc_.fRsrFile);
        EXPECT_EQ(platform::Count1Resources(FourCC("#GRP")), 1);
        platform::UseResFile(saved);
    }
}

TEST_F(GroupRead, PropertiesLeaveTheCompanionOnlyOnceTheContainerHoldsThem)
{
    for (const bool diskFull : {true, false}) {
        const auto r = Build(R"(structure Props
component Kit id 20
  public id 21
  protected id 22
  private id 23
)");
        Open(r);
        ASSERT_EQ(Read(), 0);
        auto* kit = static_cast<TModuleObjQz*>(FindId(32, 20));
        ASSERT_NE(kit, nullptr);
        // The properties in the companion only, as an older version kept them.
        const Bytes props = Stored(FourCC("moQz"), 20);
        ASSERT_FALSE(props.empty());
        ASSERT_TRUE(rmveresbyid(FourCC("moQz"), 20, true));
        ASSERT_TRUE(updateres(doc_.fResFile));
        const int16_t saved = platform::CurResFile();
        platform::UseResFile(doc_.fRsrFile);
        platform::Handle h = nullptr;
        ASSERT_EQ(platform::PtrToHand(props.data(), &h, platform::Size(props.size())), 0);
        const unsigned char noName[1] = {0};
        platform::AddResource(h, FourCC("moQz"), 20, noName);
        ASSERT_EQ(platform::ResError(), 0);
        platform::UpdateResFile(doc_.fRsrFile);
        platform::UseResFile(saved);
        auto companionCopies = [&] {
            platform::UseResFile(doc_.fRsrFile);
            const int16_t n = platform::Count1Resources(FourCC("moQz"));
            platform::UseResFile(saved);
            return n;
        };
        if (diskFull) {
            // The container cannot commit: the companion's copy stays.
            platform::ScopedFault full(platform::FaultKind::DiskFull, 0, -1);
            EXPECT_NE(kit->WriteProperties(), 0);
            EXPECT_EQ(companionCopies(), 1);
        } else {
            ASSERT_EQ(kit->WriteProperties(), 0);
            EXPECT_EQ(companionCopies(), 0);
            EXPECT_FALSE(Stored(FourCC("moQz"), 20).empty());
        }
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
}

TEST_F(GroupRead, TheStandInManagerKnowsNoComponent)
{
    IModuleManager* m = NewModuleMgr(&doc_);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->LoadModules(0), 0);
    EXPECT_EQ(m->CountModules(), 0);
    EXPECT_EQ(m->GetObjState(FourCC("CCQz"), 1), 0);
    const unsigned char name[] = {3, 'K', 'i', 't'};
    EXPECT_EQ(m->GetNamedModule(name), nullptr);
    EXPECT_EQ(m->RemoveModules(), 0);
    DisposeModuleMgr(m);
    // A structure read with it has no component to remove: the stand-in
    // refuses to uninstall, and without a manager nobody is asked.
    const auto r = Build("structure Plain\ncomponent Kit id 20\n  public\n  protected\n  private\n");
    Open(r);
    EXPECT_EQ(Read(), 0);
    auto* kit = static_cast<TModuleObjQz*>(FindId(32, 20));
    ASSERT_NE(kit, nullptr);
    EXPECT_EQ(M_UnInstall(kit), 1020);
    EXPECT_EQ(M_UnInstall(nullptr), -1);
    IModuleManager* own = doc_.fModuleManager;
    doc_.fModuleManager = nullptr;
    EXPECT_EQ(M_UnInstall(kit), -1);
    doc_.fModuleManager = own;
}

}  // namespace
}  // namespace readtest

namespace readtest {
namespace {

class GroupEdges : public ReadFixture {};

TEST_F(GroupEdges, GroupsHoldingEachOtherAndOwnedMethodsReadAndGo)
{
    // Two groups listing each other, and a group of a table method and a
    // form method: read without end, released without a dangling member.
    const auto r = Build(R"(structure Cycle
table T id 1
  field F integer
  method id 7
  form Entry id 1
    method id 8
group Owned
  tablemethod T
  formmethod T.Entry
)");
    Replace(r.dataPath, FourCC("#GRP"), 50, {0x00, 0xFE, 0x00, 0x17, 0x00, 0x33, 0xFF, 0xFF});
    Replace(r.dataPath, FourCC("#GRP"), 51, {0x00, 0xFE, 0x00, 0x17, 0x00, 0x32, 0xFF, 0xFF});
    Open(r);
    ASSERT_EQ(Read(), 0);
    TObjQz* owned = Find(23, "Owned");
    ASSERT_NE(owned, nullptr);
    ASSERT_NE(owned->members, nullptr);
    EXPECT_EQ(owned->members->Size(), 2);
    TObjQz* a = FindId(23, 50);
    TObjQz* b = FindId(23, 51);
    ASSERT_TRUE(a && b);
    EXPECT_FALSE(a->parent == b && b->parent == a);
}

TEST_F(GroupEdges, AGroupInsideAGroupSummarisesItsMembersWhenRead)
{
    // Inner's member uses a field and a variable that Outer's own member
    // also names: both groups list them once, neither lists its members.
    const auto r = Build(R"(structure Nested
table T id 1
  field F integer
method Inside id 1
  var vShared
  field T.F
method Beside id 2
  var vShared
  call Inside
group Inner id 1
  method Inside
group Outer id 2
  group Inner
  method Beside
)");
    Open(r);
    ASSERT_EQ(Read(), 0);
    auto names = [](ObjListHdl list) {
        std::set<std::string> out;
        for (int32_t i = 0; list && i < list->Size(); ++i) out.insert(P(list->At(i)->name));
        return out;
    };
    TObjQz* inner = Find(23, "Inner");
    TObjQz* outer = Find(23, "Outer");
    ASSERT_TRUE(inner && outer);
    EXPECT_EQ(names(inner->uses), (std::set<std::string>{"F", "vShared"}));
    EXPECT_EQ(names(inner->usedBy), (std::set<std::string>{"Beside"}));
    EXPECT_EQ(names(outer->uses), (std::set<std::string>{"F", "vShared", "Inside"}));
    EXPECT_EQ(names(outer->usedBy), std::set<std::string>{});
}

TEST_F(GroupEdges, AChainOfGroupsTooLongToWalkClosesNoCycle)
{
    // Each group holds the next and the last holds the first: a cycle
    // longer than the read's walk up the parents must still be refused, or
    // every later walk up them never ends.
    const auto r = Build("structure Chain\nmethod One id 3\n");
    constexpr int16_t kFirst = 100, kCount = 1100;
    {
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(r.dataPath, &fileSpec);
        const int16_t f = openres(fileSpec, false);
        ASSERT_NE(f, 0);
        for (int16_t i = 0; i < kCount; ++i) {
            const int16_t next = int16_t(kFirst + (i + 1) % kCount);
            const Bytes words{0x00, 0xFE, 0x00, 0x17, uint8_t(next >> 8), uint8_t(next), 0xFF, 0xFF};
            platform::Handle h = nullptr;
            ASSERT_EQ(platform::PtrToHand(words.data(), &h, platform::Size(words.size())), 0);
            ASSERT_TRUE(xaddres(h, FourCC("#GRP"), int16_t(kFirst + i)));
        }
        ASSERT_TRUE(updateres(f));
        closeres(f, false);
    }
    Open(r);
    ASSERT_EQ(Read(), 0);
    for (int16_t i = 0; i < kCount; i += 99) {
        TObjQz* g = FindId(23, int16_t(kFirst + i));
        ASSERT_NE(g, nullptr);
        int steps = 0;
        while (g && steps <= kCount) g = g->parent, ++steps;
        ASSERT_EQ(g, nullptr) << "group " << kFirst + i << " lies on a cycle";
    }
    // Joining a group walks its parents: it ends.
    auto* last = static_cast<TGroupObjQz*>(FindId(23, kFirst + kCount - 1));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(FindId(2, 3)->AddGroup(last, false), 0);
}

TEST_F(GroupEdges, ANewGroupIsStoredWithItsMap)
{
    const auto r = Build("structure Fresh\nmethod One id 3\ncomponent Kit id 1\n  public id 2\n  protected id 3\n  private id 4\n");
    Open(r);
    ASSERT_EQ(Read(), 0);
    const unsigned char name[] = {5, 'F', 'r', 'e', 's', 'h'};
    auto* group = static_cast<TGroupObjQz*>(NewObj_Id(&doc_, 23, name, 9999, false));
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(FindId(2, 3)->AddGroup(group, false), 0);
    // The list is missing: it is made under an id no group, component or
    // folder has.
    ASSERT_EQ(group->Write(), 0);
    const int16_t id = group->id;
    EXPECT_TRUE(id != 9999 && id > 4);
    Reopen(r);
    ASSERT_EQ(Read(), 0);
    TObjQz* again = FindId(23, id);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(P(again->name), "Fresh");
    ASSERT_NE(again->members, nullptr);
    EXPECT_EQ(again->members->Size(), 1);
}

TEST_F(GroupEdges, ASubtableNamingItsOwnTableIsRefused)
{
    const auto r = Build("structure Loop\ntable T id 1\n  field A integer\n");
    Bytes def(30 + 66, 0);
    platform::WriteBE16(&def[0], 1);
    platform::WriteBE16(&def[4], 0xFFFF);
    platform::WriteBE16(&def[6], 1);
    def[30] = 1, def[31] = 'S';
    def[30 + 32] = 7;
    platform::WriteBE16(&def[30 + 48], 1);
    Replace(r.dataPath, FourCC("FIQz"), 1, def);
    Open(r);
    EXPECT_EQ(Read(), kResourceMissing);
}

TEST_F(GroupEdges, ASubtableNamedTwiceInOneTableIsRefused)
{
    // Two fields naming one definition: repeated level after level, the
    // read would grow as a power of the depth.
    const auto r = Build("structure Twice\ntable T id 1\n  field A integer\n");
    Bytes def(30 + 2 * 66, 0);
    platform::WriteBE16(&def[0], 2);
    platform::WriteBE16(&def[4], 0xFFFF);
    for (size_t k = 0; k < 2; ++k) {
        uint8_t* e = &def[30 + 66 * k];
        e[0] = 1, e[1] = uint8_t('S' + k);
        e[32] = 7;
        platform::WriteBE16(e + 48, 2);
    }
    Replace(r.dataPath, FourCC("FIQz"), 1, def);
    Bytes sub(30, 0);
    platform::WriteBE16(&sub[4], 0xFFFF);
    Replace(r.dataPath, FourCC("FIQz"), 2, sub);
    Open(r);
    EXPECT_EQ(Read(), kResourceMissing);
    // Named once, it reads.
    platform::WriteBE16(&def[0], 1);
    def.resize(30 + 66);
    CloseDoc();
    ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    Replace(r.dataPath, FourCC("FIQz"), 1, def);
    Open(r);
    EXPECT_EQ(Read(), 0);
}

TEST_F(GroupEdges, ConstantsShowTheirValue)
{
    const unsigned char name[] = {3, 'V', 'A', 'T'};
    ASSERT_EQ(NewTypeList(&doc_.fTypeList) == 0 || doc_.fTypeList, true);
    auto* constant = static_cast<TConstantObjQz*>(NewObj_Id(&doc_, 17, name, 0, false));
    ASSERT_NE(constant, nullptr);
    unsigned char text[256];
    constant->GetMoreInfo(text, false);
    EXPECT_EQ(text[0], 0);
    const unsigned char value[] = {2, '2', '1'};
    constant->SetConstantValue(value);
    constant->GetMoreInfo(text, false);
    EXPECT_EQ(P(text).substr(P(text).size() - 2), "21");
}

}  // namespace
}  // namespace readtest
