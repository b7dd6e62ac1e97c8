// The object base: names, flags, component states, parsing, groups and the
// questions it asks.
#include <algorithm>
#include <tuple>

#include "app/appl/Preferences.h"
#include "kernel/byteswap/SwapTemplates.h"
#include "app/dialogs/WaitDialog.h"
#include "app/windows/PaneHooks.h"
#include "design/links/XRef.h"
#include "design/objects/ObjText.h"
#include "platform/core/FourCC.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/events/DialogAnswers.h"
#include "platform/files/Forks.h"
#include "platform/files/WholeFile.h"
#include "tools/docbuilder/LittleEndianTwin.h"
#include "tests/app/DocFakes.h"
#include "tests/design/DesignFixture.h"

namespace designtest {
namespace {

using platform::FourCC;

// An object with a resource and documentation of its own.
class StoredObj : public TObjQz {
public:
    uint32_t GetDocResType() override { return FourCC("FIHE"); }
    uint32_t GetOwnResType() override { return FourCC("FIQz"); }
};

class ObjectTest : public DesignFixture {
protected:
    StoredObj* MakeStored(int16_t id)
    {
        auto* obj = new StoredObj;
        obj->kind = 1;
        obj->init(&doc_, PName("Stored"), id);
        stored_.push_back(obj);
        return obj;
    }
    void TearDown() override
    {
        for (StoredObj* o : stored_) {
            o->Unlink();
            FreeObjList(o->uses);
            FreeObjList(o->usedBy);
            FreeObjList(o->members);
            delete o;
        }
        DesignFixture::TearDown();
    }
    // A wait dialog whose Stop was pressed.
    void StopPressed()
    {
        SetWaitDialog(&wait_, 1, nullptr, 0, 100, 300, 0);
        wait_.cancelled = 1;
        G_WaitParam = &wait_;
    }
    std::vector<StoredObj*> stored_;
    WaitParamRec wait_;
};

TEST_F(ObjectTest, NamesAreCutAndControlCharactersFlagged)
{
    TObjQz* m = Make(2, std::string(40, 'n'));
    EXPECT_EQ(m->name[0], 33);
    EXPECT_EQ(m->MaxNameLen(), 31);
    m->SetName(PName("with\ttab"));
    EXPECT_TRUE(m->TstFlag(kFlagControlChar));
    m->SetName(PName("clean"));
    EXPECT_FALSE(m->TstFlag(kFlagControlChar));
    EXPECT_TRUE(Make(2, "x\x01")->TstFlag(kFlagControlChar));
    m->SetName(PName(std::string(50, 'q')));
    EXPECT_EQ(m->name[0], 33);
    unsigned char full[256];
    Make(1, "Customers")->GetFullName(full);
    EXPECT_EQ(P(full), "Table [Customers]");  // a table is bracketed
}

TEST_F(ObjectTest, ComponentStatesSetFlagsAndIcons)
{
    TObjQz* table = Make(1, "T");
    EXPECT_EQ(table->GetIconID(), 2041);
    for (int16_t state : {2, 3}) {
        table->SetModuleState(state, false);
        EXPECT_EQ(table->GetIconID(), 3041);
        EXPECT_EQ(table->moduleState, state);
    }
    table->SetModuleState(2, false);
    EXPECT_FALSE(table->TstFlag(kFlagHidden));
    EXPECT_TRUE(table->TstFlag(kFlagDocReadOnly));
    EXPECT_TRUE(table->TstFlag(kFlagInComponent));
    EXPECT_TRUE(Make(9, "v", 1)->TstFlag(kFlagHidden) == false);
    TObjQz* var = Make(9, "w", 1);
    var->SetModuleState(2, false);
    EXPECT_TRUE(var->TstFlag(kFlagHidden));
    TObjQz* script = Make(2, "s");  // a method: not hidden when protected
    script->SetModuleState(2, false);
    EXPECT_FALSE(script->TstFlag(kFlagHidden));
    table->SetModuleState(1, false);
    EXPECT_EQ(table->flags & 0x0F00, 0x0800);
    EXPECT_FALSE(table->Dragable());
    table->SetModuleState(0, false);
    EXPECT_EQ(table->flags & 0x0F00, 0);
}

// A link that runs out of memory halfway takes its first half back, also
// from a list that was there before.
TEST_F(ObjectTest, ALinkThatRunsOutOfMemoryLeavesNeitherHalf)
{
    TObjQz* used = Make(2, "used");
    ASSERT_EQ(XRef(Make(2, "first"), used), 0);
    TObjQz* user = Make(2, "user");
    int32_t failed = 0;
    for (int32_t fail = 0;; ++fail) {
        ASSERT_LT(fail, 20);
        int16_t err = 0;
        {
            platform::ScopedFault fault(platform::FaultKind::Allocation, fail);
            err = XRef(user, used);
        }
        if (err == 0) break;
        ++failed;
        EXPECT_EQ(err, -108) << fail;
        EXPECT_FALSE(IsInList(used->usedBy, user)) << fail;
        EXPECT_FALSE(IsInList(user->uses, used)) << fail;
        EXPECT_EQ(used->usedBy->Size(), 1) << fail;
    }
    EXPECT_GE(failed, 1);
    EXPECT_TRUE(IsInList(used->usedBy, user) && IsInList(user->uses, used));
}

TEST_F(ObjectTest, TrashLevelUsedAndDependencyBlocking)
{
    TObjQz* m = Make(2, "m");
    m->level = 3;
    m->SetTrashFlags(true);
    EXPECT_EQ(m->GetLevel(), 0);
    m->SetTrashFlags(false);
    EXPECT_EQ(m->GetLevel(), 3);
    TObjQz* n = Make(2, "n");
    ASSERT_EQ(XRef(n, m), 0);
    XDelRef(n, m);
    ASSERT_NE(m->usedBy, nullptr);
    EXPECT_FALSE(m->Used());
    EXPECT_FALSE(m->DependenciesBlocked());
    G_Block[1] = 1;
    EXPECT_TRUE(m->DependenciesBlocked());
    m->SetFlag(kFlagBlockOverride, true);
    EXPECT_FALSE(m->DependenciesBlocked());
}

TEST_F(ObjectTest, BlockingPreferencesFillTheKindTable)
{
    platform::ResourceFileImage image;
    platform::ResourceImage oblk;
    oblk.type = FourCC("Oblk");
    oblk.data = {1, 0, 2, 1, 40, 1, 0, 5, 1};  // kind 40 is out of range; the 0 ends it
    image.resources.push_back(oblk);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(platform::BuildResourceFile(image, &bytes), platform::noErr);
    const std::string path = folder_ / "prefs.rsrc";
    ASSERT_EQ(platform::WriteFileAtomically(path, bytes.data(), bytes.size()), platform::noErr);
    const int16_t file = platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data);
    ASSERT_GT(file, 0);
    // Without a preferences file nothing is blocked, whatever file is current.
    G_PrefResFile = -1;
    platform::UseResFile(file);
    G_Block[20] = 1;
    SetBlockArray();
    for (int i = 0; i < 31; ++i) EXPECT_EQ(G_Block[i], 0) << i;
    G_PrefResFile = file;
    G_Block[20] = 1;
    SetBlockArray();
    for (int i = 0; i < 31; ++i) EXPECT_EQ(G_Block[i], i == 1 ? 1 : 0) << i;
    // A reset clears the table and every other design global.
    G_NewObj = 7;
    G_ModuleUpdate = 2;
    G_WaitParam = &wait_;
    ResetDesignGlobals();
    EXPECT_EQ(std::count(G_Block, G_Block + 31, 1), 0);
    EXPECT_EQ(std::tuple(G_NewObj, G_ModuleUpdate, G_WaitParam), std::tuple(int16_t(0), int16_t(4), static_cast<WaitParamRec*>(nullptr)));
    platform::CloseResFile(file);
    G_PrefResFile = -1;
}

TEST_F(ObjectTest, ParseReadsItsResourceOnce)
{
    OpenStore();
    AddStored(FourCC("FIQz"), 5, std::vector<uint8_t>(20, 1));
    StoredObj* obj = MakeStored(5);
    EXPECT_EQ(obj->Parse(), 0);
    EXPECT_EQ(obj->GetSize(), 20u);
    EXPECT_NE(obj->GetaTime(), 0u);
    obj->resSize = 7;
    EXPECT_EQ(obj->Parse(), 0);
    EXPECT_EQ(obj->GetSize(), 7u);  // the second call read nothing
}

TEST_F(ObjectTest, ProtectedStateEnciphersTheOwnResourceOnce)
{
    OpenStore();
    AddStored(FourCC("FIQz"), 6, std::vector<uint8_t>(40, 7));
    StoredObj* obj = MakeStored(6);
    obj->SetModuleState(1, true);  // public: left readable
    useres(doc_.fResFile);
    EXPECT_FALSE(xiscryptedres(xget1res(FourCC("FIQz"), 6)));
    obj->SetModuleState(2, true);
    useres(doc_.fResFile);
    EXPECT_TRUE(xiscryptedres(xget1res(FourCC("FIQz"), 6)));
    obj->SetModuleState(3, true);  // already enciphered: nothing more
    useres(doc_.fResFile);
    EXPECT_TRUE(xiscryptedres(xget1res(FourCC("FIQz"), 6)));
}

TEST_F(ObjectTest, InformationLine)
{
    TObjQz* m = Make(2, "m", 12);
    unsigned char line[256];
    m->GetMoreInfo(line, false);
    EXPECT_EQ(P(line), "");
    m->resSize = 300;
    G_Block[1] = 1;
    m->GetMoreInfo(line, false);
    EXPECT_EQ(P(line), "Blocked ( 12 - 300)");
    m->SetFlag(kFlagCiphered, true);  // an enciphered object shows no size
    m->GetMoreInfo(line, false);
    EXPECT_EQ(P(line), "Blocked");
}

TEST_F(ObjectTest, DocumentationStateSetsFlags)
{
    OpenStore();
    AddStored(FourCC("FIHE"), 1, {0, 1, 0, 1});
    AddStored(FourCC("FIHE"), 2, {0, 1, 0, 2});
    AddStored(FourCC("FIHE"), 3, {0, 1, 0, 0, 0, 0, 0, 0});
    StoredObj* one = MakeStored(1);
    EXPECT_EQ(one->flags & 0x70, 0x70);
    EXPECT_TRUE(one->DependenciesBlocked());
    StoredObj* two = MakeStored(2);
    EXPECT_EQ(two->flags & 0x70, 0x10);
    StoredObj* zero = MakeStored(3);
    EXPECT_EQ(zero->flags & 0x70, 0x30);
    StoredObj* none = MakeStored(4);
    EXPECT_EQ(none->flags & 0x70, 0);
    // A kind without documentation keeps the flags it was given.
    TObjQz plain;
    plain.owner = &doc_;
    plain.flags = 0x70;
    plain.SetDocFlag();
    EXPECT_EQ(plain.flags & 0x70, 0x70);
}

// A field's documentation: 'H', 'E' and its table's number.
class FieldDocObj : public TObjQz {
public:
    uint32_t GetDocResType() override { return 0x48450005; }
};

TEST_F(ObjectTest, DocumentationStateFromALittleEndianContainer)
{
    // Little-endian files convert through the shipped byte-swap templates.
    std::vector<uint8_t> templates;
    ASSERT_EQ(platform::ReadWholeFile(std::string(QZ_SOURCE_DIR) + "/resources/ByteSwap.txt", &templates), platform::noErr);
    ASSERT_EQ(InitTokensFromText(reinterpret_cast<const char*>(templates.data()), int32_t(templates.size())), 0);
    OpenStore();
    AddStored(FourCC("FIHE"), 1, {0, 1, 0, 1, 0, 0, 0, 4, 'A', 'A', 'B', 'B'});
    AddStored(FourCC("FIHE"), 2, {0, 1, 0, 2, 0, 0, 0, 4, 'Q', 'Q', 'Z', 'Z'});
    AddStored(0x48450005, 3, {0, 1, 0, 1, 0, 0, 0, 4, 'W', 'W', 'K', 'K'});
    ASSERT_TRUE(closeres(doc_.fResFile, true));
    const std::string be = folder_ / "doc.qzb", le = folder_ / "le.qzb";
    std::vector<uint8_t> bytes;
    ASSERT_EQ(platform::ReadWholeFile(be, &bytes), platform::noErr);
    std::vector<uint8_t> twin = docbuilder::LittleEndianTwin(bytes);
    ASSERT_FALSE(twin.empty());
    // Each header as a little-endian machine writes it: two words, then the
    // text length, before the text itself.
    auto put = [&](const std::string& text, std::vector<uint8_t> header) {
        auto at = std::search(twin.begin(), twin.end(), text.begin(), text.end());
        ASSERT_NE(at, twin.end()) << text;
        std::copy(header.begin(), header.end(), at - 8);
    };
    put("AABB", {1, 0, 1, 0, 4, 0, 0, 0});
    put("QQZZ", {1, 0, 2, 0, 4, 0, 0, 0});
    put("WWKK", {1, 0, 1, 0, 4, 0, 0, 0});
    ASSERT_EQ(platform::WriteFileAtomically(le, twin.data(), twin.size()), platform::noErr);
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(le, &fileSpec);
    doc_.fResFile = openres(fileSpec, true);
    ASSERT_NE(doc_.fResFile, 0) << reserr;
    ASSERT_FALSE(IsNatif(doc_.fResFile));
    EXPECT_EQ(MakeStored(1)->flags & 0x70, 0x70);
    EXPECT_EQ(MakeStored(2)->flags & 0x70, 0x10);
    FieldDocObj field;
    field.kind = 28;
    field.init(&doc_, PName("f"), 3);
    EXPECT_EQ(field.flags & 0x70, 0x70);
    ResetSwapTemplates();
}

TEST_F(ObjectTest, GroupsKeepParentFlagsAndLevels)
{
    auto* g1 = static_cast<TGroupObjQz*>(Make(23, "G1"));
    auto* g2 = static_cast<TGroupObjQz*>(Make(23, "G2"));
    auto* inner = static_cast<TGroupObjQz*>(Make(23, "Inner"));
    TObjQz* m = Make(2, "m");
    g2->level = 2;
    ASSERT_EQ(m->AddGroup(inner, false), 0);
    ASSERT_EQ(inner->AddGroup(g1, false), 0);
    EXPECT_EQ(m->level, 2);
    const int16_t before = m->flags;
    EXPECT_EQ(m->AddGroup(inner, false), 0);  // its own group: nothing changes
    EXPECT_EQ(m->flags, before);
    EXPECT_EQ(inner->members->Size(), 1);
    ASSERT_EQ(inner->AddGroup(g2, false), 0);
    EXPECT_FALSE(IsInList(g1->members, inner));
    EXPECT_EQ(inner->parent, g2);
    EXPECT_TRUE(inner->TstFlag(1) && inner->TstFlag(3));
    EXPECT_EQ(inner->level, 3);
    EXPECT_EQ(m->level, 4);  // members follow
    ASSERT_EQ(inner->DelGroup(false, false), 0);
    EXPECT_EQ(inner->parent, nullptr);
    EXPECT_FALSE(inner->TstFlag(1) || inner->TstFlag(3));
    EXPECT_EQ(m->level, 1);
    EXPECT_EQ(inner->DelGroup(false, false), 0);  // no parent
}

// A folder says which of its component's folders it is; one outside a
// component is none of them.
TEST_F(ObjectTest, FoldersKnowTheirPlaceOnlyInAComponent)
{
    auto* module = static_cast<TModuleObjQz*>(Make(32, "Comp"));
    auto* loose = static_cast<TModuleGroupObjQz*>(Make(33, "Loose"));
    auto* grouped = static_cast<TModuleGroupObjQz*>(Make(33, "Grouped"));
    auto* pub = static_cast<TModuleGroupObjQz*>(Make(33, "Public"));
    ASSERT_EQ(grouped->AddGroup(static_cast<TGroupObjQz*>(Make(23, "G")), false), 0);
    ASSERT_EQ(pub->AddGroup(module, false), 0);
    module->publicFolder = pub;
    // A folder inside another folder is none of them either, whatever the
    // outer one holds (here, while copied, its copy).
    auto* outer = static_cast<TModuleGroupObjQz*>(Make(33, "Outer"));
    auto* nested = static_cast<TModuleGroupObjQz*>(Make(33, "Nested"));
    ASSERT_EQ(nested->AddGroup(outer, false), 0);
    outer->copy = nested;
    for (TModuleGroupObjQz* f : {loose, grouped, nested, pub})
        EXPECT_EQ(std::tuple(f->IsPublic(), f->IsProtected(), f->IsPrivate()), std::tuple(f == pub, false, false))
            << P(f->name);
    // Its code table is written only for a component of a document.
    platform::Handle table = platform::NewHandleClear(4);
    EXPECT_EQ(module->SetNameCodeHandle(nullptr), -50);
    module->owner = nullptr;
    EXPECT_EQ(module->SetNameCodeHandle(table), -50);
    module->owner = &doc_;
    platform::DisposeHandle(table);
}

TEST_F(ObjectTest, GroupIntoItsOwnMemberIsRefused)
{
    auto* outer = static_cast<TGroupObjQz*>(Make(23, "Outer"));
    auto* inner = static_cast<TGroupObjQz*>(Make(23, "Inner"));
    ASSERT_EQ(inner->AddGroup(outer, false), 0);
    EXPECT_EQ(outer->AddGroup(inner, false), -50);
    EXPECT_EQ(outer->AddGroup(outer, false), -50);
    EXPECT_EQ(outer->parent, nullptr);
    EXPECT_EQ(inner->members, nullptr);
    EXPECT_EQ(inner->level, 1);
}

TEST_F(ObjectTest, InstalledObjectsStayInTheirGroups)
{
    auto* g = static_cast<TGroupObjQz*>(Make(23, "G"));
    auto* other = static_cast<TGroupObjQz*>(Make(23, "H"));
    TObjQz* m = Make(2, "m");
    ASSERT_EQ(m->AddGroup(g, false), 0);
    m->SetModuleState(1, false);
    EXPECT_EQ(m->AddGroup(other, false), 0);
    EXPECT_EQ(m->parent, g);
    EXPECT_EQ(m->DelGroup(false, false), -1);
    EXPECT_EQ(m->parent, g);
    G_ModuleUpdate = 3;
    EXPECT_EQ(m->AddGroup(other, false), 0);
    EXPECT_EQ(m->parent, other);
}

TEST_F(ObjectTest, StopInTheWaitDialogChangesNothing)
{
    auto* g = static_cast<TGroupObjQz*>(Make(23, "G"));
    TObjQz* m = Make(2, "m");
    StopPressed();
    EXPECT_EQ(m->AddGroup(g, false), kCancelledByUser);
    EXPECT_EQ(m->parent, nullptr);
    EXPECT_EQ(g->members, nullptr);
    ReSetWaitDialog(&wait_);
    G_WaitParam = nullptr;
    ASSERT_EQ(m->AddGroup(g, false), 0);
    StopPressed();
    EXPECT_EQ(m->DelGroup(false, false), kCancelledByUser);
    EXPECT_EQ(m->parent, g);
    ReSetWaitDialog(&wait_);
    G_WaitParam = nullptr;
}

// A group joins a copy list once, its members after it, while its
// document's companion holds at most 2,500 resources.
TEST_F(ObjectTest, AGroupJoinsACopyListOnceWithinTheResourceLimit)
{
    auto* g = static_cast<TGroupObjQz*>(Make(23, "G", 5));
    TObjQz* m = Make(2, "m", 1);
    ASSERT_EQ(m->AddGroup(g, false), 0);
    ObjListHdl list = nullptr;
    EXPECT_EQ(g->SelfAddObjList(&list, 1), -108) << "no list to fill";
    ASSERT_EQ(NewObjList(&list, 1), 0);
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0);
        EXPECT_EQ(g->SelfAddObjList(&list, 1), -108);
    }
    EXPECT_FALSE(IsInList(list, m)) << "nothing after a failure";
    RazObjList(list);
    for (int pass = 0; pass < 2; ++pass) EXPECT_EQ(g->SelfAddObjList(&list, 1), 0);
    ASSERT_EQ(list->Size(), 2);
    EXPECT_EQ(list->At(0), g);
    EXPECT_EQ(list->At(1), m);
    for (const int32_t resources : {2500, 2501}) {
        platform::ResourceFileImage image;
        for (int32_t i = 0; i < resources; ++i) {
            platform::ResourceImage r;
            r.type = FourCC("DATA");
            r.id = int16_t(i);
            image.resources.push_back(r);
        }
        std::vector<uint8_t> bytes;
        ASSERT_EQ(platform::BuildResourceFile(image, &bytes), platform::noErr);
        const std::string path = folder_ / "companion.rsrc";
        ASSERT_EQ(platform::WriteFileAtomically(path, bytes.data(), bytes.size()), platform::noErr);
        doc_.fRsrFile = platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data);
        ASSERT_GT(doc_.fRsrFile, 0);
        RazObjList(list);
        EXPECT_EQ(g->SelfAddObjList(&list, 1), resources > 2500 ? 1008 : 0) << resources;
        EXPECT_EQ(list->Size(), resources > 2500 ? 0 : 2) << resources;
        platform::CloseResFile(doc_.fRsrFile);
        doc_.fRsrFile = -1;
    }
    FreeObjList(list);
}

// A string list is edited only when it is the companion's own, readable
// and numbered from 15000, and no package's or routine's bundle names it.
TEST_F(ObjectTest, OnlyTheCompanionsOwnStringListsAreEditable)
{
    TObjQz* first = Make(11, "First", 15000);
    EXPECT_FALSE(first->EnableEdit()) << "no companion";
    platform::ResourceFileImage image;
    for (int16_t id : {14999, 15000, 15002, 15003}) {
        platform::ResourceImage r;
        r.type = FourCC("STR#");
        r.id = id;
        r.data = {0, 0};
        image.resources.push_back(r);
    }
    // A package's bundle names 15002, a routine's 15003.
    for (const auto& [type, named] : {std::pair{FourCC("QBNX"), 0x9A}, std::pair{FourCC("QBND"), 0x9B}}) {
        platform::ResourceImage r;
        r.type = type;
        r.id = 15020;
        r.data = {0, 1, 'S', 'T', 'R', '#', 0, 1, 0x3A, uint8_t(named)};
        image.resources.push_back(r);
    }
    std::vector<uint8_t> bytes;
    ASSERT_EQ(platform::BuildResourceFile(image, &bytes), platform::noErr);
    const std::string path = folder_ / "lists.rsrc";
    ASSERT_EQ(platform::WriteFileAtomically(path, bytes.data(), bytes.size()), platform::noErr);
    doc_.fRsrFile = platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data);
    ASSERT_GT(doc_.fRsrFile, 0);
    TObjQz* ciphered = Make(11, "Ciphered", 15000, true);
    ciphered->SetFlag(kFlagCiphered, true);
    for (const auto& [obj, editable] : {std::pair{first, true}, std::pair{Make(11, "Older", 14999), false},
                                        std::pair{Make(11, "Missing", 15001), false}, std::pair{ciphered, false},
                                        std::pair{Make(11, "Routines", 15002), false},
                                        std::pair{Make(11, "Texts", 15003), false}})
        EXPECT_EQ(obj->EnableEdit(), editable) << P(obj->name);
    platform::CloseResFile(doc_.fRsrFile);
    doc_.fRsrFile = -1;
}

// An editor whose pane cannot be made is taken down again, saying why
// unless no pane maker was installed at all.
TEST_F(ObjectTest, AStringListEditorWithoutItsPaneLeavesNoWindow)
{
    TObjQz* list = Make(11, "Names", 15000);
    const AppPaneHooks saved = PaneHooks();
    const struct {
        int16_t (*make)(TWindow*, TObjQz*, TPlan**);
        int32_t alerts;
    } cases[] = {
        {nullptr, 0},
        {[](TWindow*, TObjQz*, TPlan** pane) -> int16_t { return *pane = nullptr, 0; }, 1},
        {[](TWindow*, TObjQz*, TPlan** pane) -> int16_t { return *pane = nullptr, -34; }, 1},
    };
    for (const auto& c : cases) {
        PaneHooks().makeStrPlane = c.make;
        const int32_t alerts = AlertCount();
        list->Edit(&doc_);
        EXPECT_EQ(doc_.fFirstWindow, nullptr);
        EXPECT_EQ(AlertCount() - alerts, c.alerts);
    }
    PaneHooks() = saved;
}

// Opened, the editor holds its pane under the document's name and the
// list's; without an application it takes the standard place.
TEST_F(ObjectTest, AStringListEditorOpensWithItsPaneAndTitle)
{
    TObjQz* list = Make(11, "Names", 15000);
    const AppPaneHooks saved = PaneHooks();
    PaneHooks().makeStrPlane = [](TWindow*, TObjQz*, TPlan** pane) -> int16_t {
        return *pane = new apptest::FakePane(7), 0;
    };
    apptest::ToP("Accounts", doc_.fName);
    list->Edit(&doc_);
    TWindow* w = doc_.fFirstWindow;
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->IsMember(4));
    EXPECT_NE(w->FindPlane(7), nullptr);
    unsigned char title[256], full[256];
    platform::GetWTitle(w->fWindow, title);
    list->GetFullName(full);
    EXPECT_EQ(P(title), "Accounts " + P(full));
    platform::Rect r{};
    platform::GetWindowBounds(w->fWindow, platform::kWindowContentRgn, &r);
    EXPECT_EQ(std::tuple(r.top, r.left, r.bottom - r.top, r.right - r.left), std::tuple(45, 15, 300, 400));
    doc_.RemoveWindow(w);
    w->Dispose();
    PaneHooks() = saved;
}

// A variable goes into the most open component folder of its users, and
// into none when one user stands outside every folder; its information is
// its line of the declaration file.
TEST_F(ObjectTest, VariablesFollowTheirUsersFoldersAndShowTheirDeclaration)
{
    auto* module = static_cast<TModuleObjQz*>(Make(32, "Comp"));
    TGroupObjQz* folders[3];
    for (int i = 0; i < 3; ++i) {
        folders[i] = static_cast<TGroupObjQz*>(Make(33, "F" + std::to_string(i)));
        ASSERT_EQ(folders[i]->AddGroup(module, false), 0);
    }
    module->publicFolder = folders[0], module->protectedFolder = folders[1], module->privateFolder = folders[2];
    auto* var = static_cast<TVarObjQz*>(Make(9, "v", 1));
    TObjQz* inPrivate = Make(2, "a");
    TObjQz* inPublic = Make(2, "b");
    ASSERT_EQ(inPrivate->AddGroup(folders[2], false), 0);
    ASSERT_EQ(XRef(inPrivate, var), 0);
    var->SetModuleGroup();
    EXPECT_EQ(var->parent, folders[2]);
    ASSERT_EQ(inPublic->AddGroup(folders[0], false), 0);
    ASSERT_EQ(XRef(inPublic, var), 0);
    var->SetModuleGroup();
    EXPECT_EQ(var->parent, folders[0]);
    ASSERT_EQ(XRef(Make(2, "outside"), var), 0);
    var->SetModuleGroup();
    EXPECT_EQ(var->parent, nullptr);
    const std::string text = "C_LONGINT(v)\r" + std::string(300, 'x');
    const std::string path = folder_ / "decl.txt";
    ASSERT_EQ(platform::WriteFileAtomically(path, text.data(), text.size()), platform::noErr);
    platform::FSSpec file;
    platform::FSMakeFSSpec(path, &file);
    ASSERT_EQ(platform::FSpOpenDF(file, platform::fsRdPerm, &doc_.fDataFile), platform::noErr);
    unsigned char info[256];
    for (const auto& [at, shown] : {std::pair{0, std::string("C_LONGINT(v)")}, std::pair{13, std::string(255, 'x')},
                                    std::pair{300, std::string(13, 'x')}}) {
        var->declPos = at;
        var->GetMoreInfo(info, false);
        EXPECT_EQ(P(info), shown) << at;
    }
    platform::FSClose(doc_.fDataFile);
    doc_.fDataFile = -1;
}

TEST_F(ObjectTest, CopyListsFollowUsesUnlessBlocked)
{
    // Tables are movable; the base kinds used here are not, so a subclass.
    struct CopyableObj : TObjQz {
        bool Movable() override { return true; }
    } a, b, c, field;
    a.kind = b.kind = c.kind = 2;
    field.kind = 28;
    ASSERT_EQ(XRef(&a, &b), 0);
    ASSERT_EQ(XRef(&b, &c), 0);
    ASSERT_EQ(XRef(&a, &field), 0);
    ASSERT_EQ(XRef(&c, &a), 0);  // a cycle ends
    ObjListHdl list = nullptr;
    ASSERT_EQ(NewObjList(&list, 10), 0);
    EXPECT_EQ(a.SelfAddObjList(&list, 1), 0);
    EXPECT_EQ(list->Size(), 3);
    EXPECT_FALSE(IsInList(list, &field));
    RazObjList(list);
    b.SetFlag(kFlagBlockOverride, true);
    b.SetFlag(kFlagBlocked, true);
    EXPECT_EQ(a.SelfAddObjList(&list, 1), 0);
    EXPECT_EQ(list->Size(), 2);  // a and b, not what b uses
    RazObjList(list);
    EXPECT_EQ(a.SelfAddCallledList(&list), 0);
    EXPECT_EQ(list->Size(), 4);
    EXPECT_EQ(a.SelfAddObjList(nullptr, 0), -108);
    // Objects that cannot be moved pass their dependencies on, even around
    // a cycle of them.
    TObjQz still1, still2;
    still1.kind = still2.kind = 9;
    ASSERT_EQ(XRef(&still1, &still2), 0);
    ASSERT_EQ(XRef(&still2, &still1), 0);
    ASSERT_EQ(XRef(&still2, &c), 0);
    RazObjList(list);
    EXPECT_EQ(still1.SelfAddObjList(&list, 1), 0);
    EXPECT_TRUE(IsInList(list, &c));
    EXPECT_FALSE(IsInList(list, &still1));
    still1.Unlink();
    still2.Unlink();
    for (TObjQz* o : {&still1, &still2}) {
        FreeObjList(o->uses);
        FreeObjList(o->usedBy);
    }
    FreeObjList(list);
    for (TObjQz* o : std::initializer_list<TObjQz*>{&a, &b, &c, &field}) o->Unlink();
    for (TObjQz* o : std::initializer_list<TObjQz*>{&a, &b, &c, &field}) {
        FreeObjList(o->uses);
        FreeObjList(o->usedBy);
    }
}

std::string gShownMessage;  // what the last scripted alert's message read

void NoteShownMessage(platform::DialogRef alert)
{
    unsigned char text[256];
    platform::GetDialogItemShownText(alert, 3, text);
    gShownMessage.assign(reinterpret_cast<const char*>(text + 1), text[0]);
}

TEST_F(ObjectTest, ParseErrorsAskWhetherToGoOn)
{
    TObjQz* other = Make(2, "Other");
    TObjQz* m = Make(2, "Broken");
    EXPECT_EQ(m->CheckParseError(0), 0);
    EXPECT_EQ(m->CheckParseError(kCancelledByUser), kCancelledByUser);
    // The alert names the object and says what went wrong, whether the code
    // has a message of the platform's, of the application's or none.
    unsigned char name[256], message[256];
    m->GetStructName(name);
    for (const int16_t code : {int16_t(-43), int16_t(9001), int16_t(4242)}) {
        platform::SetScriptedAnswerObserver(NoteShownMessage);
        gShownMessage.clear();
        platform::PushDialogAnswer(1);
        EXPECT_EQ(m->CheckParseError(code), 0);
        platform::SetScriptedAnswerObserver(nullptr);
        ErrorMessage(code, message);
        ASSERT_GT(message[0], 0) << code;
        EXPECT_NE(gShownMessage.find(std::string(reinterpret_cast<const char*>(name + 1), name[0])), std::string::npos)
            << gShownMessage;
        EXPECT_NE(gShownMessage.find(std::string(reinterpret_cast<const char*>(message + 1), message[0])),
                  std::string::npos)
            << gShownMessage;
    }
    // Another object's alert names it, not the one before.
    platform::SetScriptedAnswerObserver(NoteShownMessage);
    platform::PushDialogAnswer(1);
    EXPECT_EQ(other->CheckParseError(-43), 0);
    platform::SetScriptedAnswerObserver(nullptr);
    EXPECT_NE(gShownMessage.find("Other"), std::string::npos) << gShownMessage;
    platform::PushDialogAnswer(2);
    EXPECT_EQ(m->CheckParseError(-43), kCancelledByUser);
    EXPECT_EQ(m->CheckParseError(-108), kCancelledByUser);
    EXPECT_EQ(LastAlert().alertId, 1000);  // the memory message
}

TEST_F(ObjectTest, ComponentUpdateAsksOnceThenFollowsTheAnswer)
{
    auto* module = static_cast<TModuleObjQz*>(Make(32, "Comp"));
    auto* folder = static_cast<TGroupObjQz*>(Make(33, "Public"));
    module->hasRecord = true;
    module->dateFrom = 1000000;
    module->dateTo = 2000000;
    G_ModuleUpdate = 3;
    ASSERT_EQ(folder->AddGroup(module, false), 0);
    TObjQz* oldObj = Make(2, "old");
    TObjQz* newObj = Make(2, "new");
    ASSERT_EQ(oldObj->AddGroup(folder, false), 0);
    oldObj->moduleState = 1;
    oldObj->resTime = 3000000;
    newObj->resTime = 4000000;
    platform::PushDialogAnswer(2);
    platform::SetScriptedAnswerObserver([](platform::DialogRef alert) {
        unsigned char text[256];
        platform::GetDialogItemShownText(alert, 5, text);
        gShownMessage.assign(reinterpret_cast<const char*>(text + 1), text[0]);
    });
    EXPECT_EQ(TObjQz::ModuleUpDate(newObj, oldObj), 1);
    platform::SetScriptedAnswerObserver(nullptr);
    unsigned char full[256];
    oldObj->GetFullName(full);
    EXPECT_EQ(gShownMessage, P(full) + " " + ShortDate(3000000) + " " + ShortDate(4000000));
    EXPECT_EQ(G_ModuleUpdate, 2);
    const int32_t shown = AlertCount();
    EXPECT_EQ(TObjQz::ModuleUpDate(newObj, oldObj), 1);
    G_ModuleUpdate = 3;
    platform::PushDialogAnswer(3);
    EXPECT_EQ(TObjQz::ModuleUpDate(newObj, oldObj), 0);
    EXPECT_EQ(G_ModuleUpdate, 1);
    EXPECT_EQ(TObjQz::ModuleUpDate(newObj, oldObj), 0);
    G_ModuleUpdate = 3;
    for (const uint32_t within : {1000000u, 1500000u, 2000000u}) {  // the component's dates, both ends in
        oldObj->resTime = within;
        EXPECT_EQ(TObjQz::ModuleUpDate(newObj, oldObj), 1) << within;
    }
    EXPECT_EQ(G_ModuleUpdate, 3) << "nothing asked";
    (void)shown;
    G_ModuleUpdate = 4;
}

}  // namespace
}  // namespace designtest
