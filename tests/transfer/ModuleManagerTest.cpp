// The module manager over documents the builder makes with an installed
// component: states, visibility and keys, the check of the enciphered
// resources, records written and read back, and shortages while loading.
#include <filesystem>

#include "design/reading/ReadQzB.h"
#include "platform/core/Endian.h"
#include "platform/events/DialogAnswers.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "transfer/InstallTransfer.h"
#include "transfer/modules/ModuleMgr.h"
#include "tests/design/ReadFixture.h"
#include "tests/platform/core/FailingNew.h"

namespace transfertest {
namespace {

using platform::FourCC;
using readtest::Bytes;

// Items' subtable takes 'FIQz' 2: Orders is table 2 of 'FIQz' 3.
std::string Description(const std::string& extra = "", bool installed = true)
{
    return R"(structure Comp
table Items
  field Name alpha 10
  subtable Parts
    field Code integer
table Orders
  field Number longint
method Pub id 10
  comment "public"
method Prot id 11
  call Pub
method Priv id 12
  comment "private"
picture Logo id 15000
picture Seal id 15001
)" + extra + (installed ? R"(component Kit id 5 installed
  public
    method Pub
  protected
    method Prot
    table Orders
  private
    method Priv
  map PICT 128 15000
  map STR# 1000 15002
  map PICT 129 15001
)" : "");
}

class ModuleManagerTest : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        transfer::InstallModuleManager();
    }
    ModuleMgr* Manager() { return static_cast<ModuleMgr*>(doc_.fModuleManager); }
    // Changes the enciphered attribute of one resource of a built, closed
    // container, its members' keys known.
    void SetEnciphered(const std::string& path, uint32_t type, int16_t id, bool on)
    {
        platform::FSSpec file;
        platform::FSMakeFSSpec(path, &file);
        const int16_t f = openres(file, false);
        ASSERT_NE(f, 0);
        TMainDoc owner;
        owner.fResFile = f;
        ModuleMgr keys(&owner);
        keys.LoadModules(0);
        platform::Handle h = xgetres(type, id, true);
        ASSERT_NE(h, nullptr);
        ASSERT_TRUE(on ? hcrypteres(h, false) : huncrypteres(h));
        ASSERT_TRUE(updateres(f));
        closeres(f, false);
    }
    static uint32_t Magic(const std::string& path)
    {
        const Bytes b = FileBytes(path);
        return b.size() >= 4 ? platform::ReadBE32(b.data()) : 0;
    }
};

TEST_F(ModuleManagerTest, ReadsTheComponentAndAnswersStatesVisibilityAndKeys)
{
    const std::string plainFolder = folder_ / "plain";
    std::filesystem::create_directory(plainFolder);
    const docbuilder::BuildResult plain = docbuilder::BuildDocument(Description("", false), "plain.qzdoc", plainFolder);
    docbuilder::BuildResult r = Build(Description());
    EXPECT_EQ(Magic(r.dataPath), FourCC("DDUY"));
    Open(r);
    ASSERT_EQ(Read(), 0);
    ModuleMgr* m = Manager();
    ASSERT_EQ(m->CountModules(), 1);
    Module* kit = m->GetNamedRecord(reinterpret_cast<const unsigned char*>("\x03Kit"));
    ASSERT_NE(kit, nullptr);
    EXPECT_EQ(kit->GetObject(), Find(32, "Kit"));
    EXPECT_EQ(m->GetNamedModule(reinterpret_cast<const unsigned char*>("\x03kit")), nullptr);  // exact names

    struct Row {
        const char* type;
        int16_t id, state;
    };
    const Row rows[] = {{"CCQz", 10, 1}, {"CCQz", 11, 2}, {"CCQz", 12, 3}, {"CCQz", 99, 0},
                        {"FIQz", 3, 2},  {"FIQz", 1, 0},  {"#GMO", 0, 0}};
    for (const Row& row : rows) {
        const uint32_t t = uint32_t(uint8_t(row.type[0])) << 24 | uint32_t(uint8_t(row.type[1])) << 16 |
                           uint32_t(uint8_t(row.type[2])) << 8 | uint8_t(row.type[3]);
        EXPECT_EQ(m->GetObjState(t, row.id), row.state) << row.type << row.id;
        EXPECT_EQ(m->Visible(t, row.id), row.state != 3) << row.type << row.id;
        EXPECT_EQ(m->Viewable(t, row.id), row.state <= 1) << row.type << row.id;
        EXPECT_EQ(m->GetObjKey(t, row.id) != 0, row.state >= 2) << row.type << row.id;
    }
    ObjetQz prot{};
    ASSERT_TRUE(kit->GetObj(FourCC("CCQz"), 11, &prot));
    EXPECT_EQ(m->GetKey(FourCC("CCQz"), 11), prot.key);
    m->SetShowEverything(true);
    EXPECT_TRUE(m->Visible(FourCC("CCQz"), 12));
    m->SetShowEverything(false);
    EXPECT_TRUE(Find(2, "Priv")->TstFlag(kFlagHidden));
    EXPECT_FALSE(Find(2, "Prot")->TstFlag(kFlagHidden));

    // The store deciphers each member with its own key; without the
    // manager's keys it reads the bytes scrambled.
    Bytes plainCode[2];
    {
        ReadFixture::Reopen(plain);
        for (int i = 0; i < 2; ++i) plainCode[i] = Stored(FourCC("CCQz"), int16_t(11 + i));
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        Open(r);
        ASSERT_EQ(Read(), 0);
    }
    for (int i = 0; i < 2; ++i) {
        useres(doc_.fResFile);
        ASSERT_FALSE(plainCode[i].empty());
        platform::Handle h = xgetres(FourCC("CCQz"), int16_t(11 + i), true);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(Bytes(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + platform::GetHandleSize(h)),
                  plainCode[i]);
    }
    g_resManager->FindFile(doc_.fResFile)->SetComponentMgr(nullptr);
    platform::Handle loaded = xgetres(FourCC("CCQz"), 12, true);
    ASSERT_TRUE(detachres(loaded));  // read again from the file
    platform::DisposeHandle(loaded);
    platform::Handle h = xgetres(FourCC("CCQz"), 12, true);
    ASSERT_NE(h, nullptr);
    EXPECT_NE(Bytes(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + platform::GetHandleSize(h)),
              plainCode[1]);

    // The listed methods' positions; the private one marked in the
    // directory.
    Manager()->SetTabIndex();
    EXPECT_EQ(VisibleMethodIndex(), (std::vector<int16_t>{1, 2}));
    useres(doc_.fResFile);
    platform::Handle dir = xget1res(FourCC("TPQz"), 0);
    ASSERT_NE(dir, nullptr);
    EXPECT_EQ(platform::ReadBE16(reinterpret_cast<uint8_t*>(*dir) + 2 * 44 + 34) & 1, 1);
    EXPECT_EQ(platform::ReadBE16(reinterpret_cast<uint8_t*>(*dir) + 44 + 34) & 1, 0);
}

TEST_F(ModuleManagerTest, FormatsAndTheEncipheredResourcesDecideWhatTheReaderDoes)
{
    struct Row {
        const char* what;
        std::string extra;
        std::function<void(const std::string&)> damage;
        int16_t read;  // the reader's answer
        bool removed;  // the components are gone from the file
    };
    auto version = [&](uint16_t v) {
        return [v](const std::string& path) {
            platform::FSSpec file;
            platform::FSMakeFSSpec(path, &file);
            const int16_t f = openres(file, false);
            Bytes record = Stored(FourCC("MODQ"), 5);
            closeres(f, false);
            platform::WriteBE16(&record[1], v);
            Replace(path, FourCC("MODQ"), 5, record);
        };
    };
    const Row rows[] = {
        {"intact", "", nullptr, 0, false},
        {"format 767", "moduleformat 767\n", nullptr, 0, false},
        {"format 511", "", version(511), kModulesUnreadable1, false},
        {"format 1024", "", version(1024), kModulesUnreadable2, false},
        {"public code enciphered", "", [this](const std::string& p) { SetEnciphered(p, FourCC("CCQz"), 10, true); },
         kComponentsRemoved, true},
        {"private code plain", "", [this](const std::string& p) { SetEnciphered(p, FourCC("CCQz"), 12, false); },
         kComponentsRemoved, true},
        // Only code is checked: a protected table left plain passes.
        {"protected table plain", "", [this](const std::string& p) { SetEnciphered(p, FourCC("FIQz"), 3, false); }, 0,
         false},
    };
    for (const Row& row : rows) {
        CloseDoc();
        std::filesystem::remove_all(folder_.path() + "/case");
        std::filesystem::create_directory(folder_.path() + "/case");
        const docbuilder::BuildResult r = docbuilder::BuildDocument(Description(row.extra), "t.qzdoc", folder_ / "case");
        ASSERT_EQ(r.error, 0) << r.message;
        if (row.damage) row.damage(r.dataPath);
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        Open(r.dataPath);
        platform::PushDialogAnswer(1);  // remove the components: yes
        EXPECT_EQ(Read(), row.read) << row.what;
        platform::ClearDialogAnswers();
        useres(doc_.fResFile);
        EXPECT_EQ(Stored(FourCC("MODQ"), 5).empty(), row.removed) << row.what;
        if (std::string(row.what) == "format 767") {
            EXPECT_EQ(Manager()->GetObjKey(FourCC("CCQz"), 11), 0u);
        }
        if (std::string(row.what) == "protected table plain") {
            // Every type checked: now it disagrees.
            ModuleMgr all(&doc_);
            EXPECT_EQ(all.LoadModules(1), 3);
        }
    }
}

TEST_F(ModuleManagerTest, WrittenRecordsReadBackAndMapRowsLeaveWithTheirResources)
{
    // A structure without module records is raised to 'DDUY' by the first.
    const std::string otherFolder = folder_ / "other";
    std::filesystem::create_directory(otherFolder);
    const docbuilder::BuildResult bare = docbuilder::BuildDocument(Description("", false), "bare.qzdoc", otherFolder);
    EXPECT_EQ(Magic(bare.dataPath), FourCC("DDUX"));
    Open(Build(Description()));
    ASSERT_EQ(Read(), 0);
    Module* kit = Manager()->RecordAt(1);
    {
        ModuleMgr other(nullptr);
        platform::FSSpec file;
        platform::FSMakeFSSpec(bare.dataPath, &file);
        const int16_t f = openres(file, false);
        ASSERT_NE(f, 0);
        ASSERT_EQ(kit->WriteNewRes(77), 0);
        ASSERT_EQ(kit->WriteResIDMap(77, kit->fMap), 0);
        closeres(f, true);
    }
    EXPECT_EQ(Magic(bare.dataPath), FourCC("DDUY"));
    Bytes written[2], original[2];
    {
        useres(doc_.fResFile);
        original[0] = Stored(FourCC("MODQ"), 5), original[1] = Stored(FourCC("MAPQ"), 5);
        platform::FSSpec file;
        platform::FSMakeFSSpec(bare.dataPath, &file);
        const int16_t f = openres(file, false);
        written[0] = Stored(FourCC("MODQ"), 77), written[1] = Stored(FourCC("MAPQ"), 77);
        closeres(f, false);
    }
    EXPECT_EQ(written[0], original[0]);  // the same keys, the same cipher
    EXPECT_EQ(written[1], original[1]);

    // The picture rows leave with their pictures (a picture already gone
    // counts as removed); the string list's stays.
    useres(doc_.fResFile);
    ASSERT_TRUE(rmveresbyid(FourCC("PICT"), 15001, true));
    ASSERT_EQ(kit->DeleteAllModuleResId(FourCC("PICT")), 0);
    ASSERT_EQ(kit->fMap->GetCount(), 1);
    EXPECT_EQ(kit->fMap->GetNth(1).type, FourCC("STR#"));
    EXPECT_TRUE(Stored(FourCC("PICT"), 15000).empty());
    EXPECT_TRUE(Stored(FourCC("PICT"), 15001).empty());
}

TEST_F(ModuleManagerTest, RunningOutOfMemoryWhileLoadingAnswersMinus108AndChangesNothing)
{
    const docbuilder::BuildResult r = Build(Description());
    const Bytes before = FileBytes(r.dataPath);
    Open(r);
    int32_t failures = 0;
    for (bool platformFault : {true, false})
        for (int64_t after = 0;; ++after) {
            ModuleMgr m(&doc_);
            int16_t result = 0;
            bool fired = false;
            if (platformFault) {
                platform::InjectFault(platform::FaultKind::Allocation, int32_t(after));
                result = m.LoadModules(0);
                fired = !platform::IsFaultArmed(platform::FaultKind::Allocation);
                platform::ClearAllFaults();
            } else {
                testfaults::FailNthNew(after);
                result = m.LoadModules(0);
                fired = !testfaults::NewFailurePending();
                testfaults::StopFailingNew();
            }
            if (!fired) {
                EXPECT_EQ(result, 0);
                EXPECT_EQ(m.CountModules(), 1);
                break;
            }
            ++failures;
            EXPECT_TRUE(result == platform::memFullErr || result == 0) << after << ": " << result;
            if (result) {
                EXPECT_EQ(m.CountModules(), 0) << after;
            }
        }
    EXPECT_GT(failures, 5);
    CloseDoc();
    EXPECT_EQ(FileBytes(r.dataPath), before);
}

// Counts the entries read, to see which look-ups the cache answers.
class CountingList : public VArrayListOf<ObjetQz> {
public:
    ObjetQz GetNth(int32_t n) const override
    {
        ++reads;
        return VArrayListOf<ObjetQz>::GetNth(n);
    }
    mutable int32_t reads = 0;
};

TEST_F(ModuleManagerTest, RepeatedLookUpsComeFromTheCacheAndMethodIdsAreTranslated)
{
    ModuleMgr m(nullptr);
    auto* kit = new Module;
    auto* methods = new CountingList;
    delete kit->fLists[0];
    kit->fLists[0] = methods;
    methods->Add(ObjetQz{36, 1, 0});
    methods->Add(ObjetQz{37, 2, 99});
    ASSERT_EQ(m.AddModuleToList(kit), 0);
    EXPECT_EQ(m.GetObjState(FourCC("CCQz"), 37), 2);
    const int32_t reads = methods->reads;
    EXPECT_EQ(m.GetObjState(FourCC("CCQz"), 37), 2);
    EXPECT_EQ(m.GetObjKey(FourCC("CCQz"), 37), 99u);
    EXPECT_EQ(methods->reads, reads) << "answered from the cache";
    EXPECT_EQ(m.GetObjState(FourCC("CCQz"), 36), 1);
    EXPECT_GT(methods->reads, reads);
    // Method 2 stands for entry 1 of the table: id 37.
    m.SetMethodIds({5, 37});
    EXPECT_EQ(m.GetObjState(FourCC("CCQz"), 2), 2);
    EXPECT_EQ(m.GetObjState(FourCC("CCQz"), 3), 0);
    m.DeleteModuleFromList(kit);
    EXPECT_EQ(m.GetObjState(FourCC("CCQz"), 2), 0);
    delete kit;
}

TEST_F(ModuleManagerTest, ACompiledDatabaseIsNotCheckedUnlessEveryTypeIs)
{
    const docbuilder::BuildResult r = Build(Description("compiled code 1 dirty 0\n"));
    SetEnciphered(r.dataPath, FourCC("CCQz"), 10, true);
    Open(r);
    ModuleMgr m(&doc_);
    EXPECT_EQ(m.LoadModules(0), 0);
    ModuleMgr all(&doc_);
    EXPECT_EQ(all.LoadModules(1), 3);
}

}  // namespace
}  // namespace transfertest
