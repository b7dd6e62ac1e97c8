#include "kernel/prefs/UPrefs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>

#include "kernel/helpers/ResourceStrings.h"
#include "kernel/prefs/FileExtensions.h"
#include "kernel/store/StoreAccess.h"
#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "tests/ScopedEnvironment.h"
#include "tests/kernel/AppResourceFile.h"
#include "tests/platform/files/TempFolder.h"

using namespace platform;
using platform::testing::TempFolder;

namespace {

// A store with one current file, kept in memory.
// The current file's resources, and those of a file below it in the chain.
struct FakeStore {
    static inline std::map<std::pair<ResType, int16_t>, Handle> resources, below;
    static inline int16_t committed = 0;
    static Handle Find(const std::map<std::pair<ResType, int16_t>, Handle>& in, ResType t, int16_t id)
    {
        auto f = in.find({t, id});
        return f == in.end() ? Handle(nullptr) : f->second;
    }
    static KernelStoreAccess Access()
    {
        KernelStoreAccess a;
        a.xcurres = [] { return int16_t(3); };
        a.xgetres = [](ResType t, int16_t id, bool) {
            Handle h = Find(resources, t, id);
            return h ? h : Find(below, t, id);
        };
        a.xget1res = [](ResType t, int16_t id) { return Find(resources, t, id); };
        a.xwriteres = [](Handle) { return true; };
        a.xaddres = [](Handle h, ResType t, int16_t id) { return resources.emplace(std::make_pair(t, id), h).second; };
        a.updateres = [](int16_t file) { return committed = file, true; };
        a.hpurgeres = [](Handle) { return true; };
        a.lasterror = [] { return int16_t(0); };
        return a;
    }
    static void Clear()
    {
        for (auto* m : {&resources, &below}) {
            for (auto& [key, h] : *m) DisposeHandle(h);
            m->clear();
        }
    }
};

class Preferences : public ::testing::Test {
protected:
    void SetUp() override
    {
        preferencesDir.emplace("QZ_PREFERENCES_DIR", dir.path());
        ResetResourceManager();
        ResetStringCache();
        UPrefs::Reset();
        appRef = kerneltest::OpenAppFile(
            dir / "app.rsrc", {{FourCC("STR#"), 1000, false, "", 0, kerneltest::StrList({"", "", "", "", "", "Prefs"})},
                               {FourCC("Look"), 1, false, "", 0, {0, 0, 0, 7}}});
        ASSERT_NE(appRef, -1);
        ASSERT_TRUE(UPrefs::Init());
    }
    void TearDown() override
    {
        UPrefs::Reset();
        ResetResourceManager();
        ResetStringCache();
        SetKernelStoreAccess({});
        FakeStore::Clear();
        preferencesDir.reset();
    }

    TempFolder dir;
    std::optional<qztest::ScopedEnvironment> preferencesDir;
    int16_t appRef = -1;
};

TEST_F(Preferences, NestedOpensRestoreTheCurrentFile)
{
    EXPECT_EQ(UPrefs::fSpec.path, dir / "Prefs");
    EXPECT_EQ(CurResFile(), appRef);
    ASSERT_TRUE(UPrefs::Open(0));
    ASSERT_TRUE(UPrefs::Open(0));
    UPrefs::Close();
    EXPECT_EQ(CurResFile(), UPrefs::fResFile);
    EXPECT_NE(UPrefs::fResFile, -1);
    UPrefs::Close();
    EXPECT_EQ(CurResFile(), appRef);
    EXPECT_EQ(UPrefs::fResFile, -1);
}

TEST_F(Preferences, WritesGoToTheirFileInsideAnOuterOpen)
{
    ASSERT_TRUE(UPrefs::Open(0));
    UseResFile(appRef);  // another file made current meanwhile
    const uint8_t value[2] = {5, 6};
    EXPECT_EQ(SetPrefData(FourCC("nest"), 1, value, 2, 0), 0);
    EXPECT_EQ(CurResFile(), appRef);
    EXPECT_EQ(Get1Resource(FourCC("nest"), 1), nullptr);
    UseResFile(UPrefs::fResFile);
    EXPECT_NE(Get1Resource(FourCC("nest"), 1), nullptr);
    UseResFile(appRef);
    UPrefs::Close();
    EXPECT_EQ(CurResFile(), appRef);
}

TEST_F(Preferences, ReadsAndWritesTheirOwnFile)
{
    std::vector<uint8_t> appBefore;
    ASSERT_EQ(ReadWholeFile(dir / "app.rsrc", &appBefore), noErr);

    uint8_t buffer[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(GetPrefData(FourCC("Look"), 1, buffer, 5, 0), -3);
    EXPECT_EQ(buffer[0], 9);
    EXPECT_EQ(GetPrefData(FourCC("Look"), 1, buffer, 4, 0), 0);  // through the chain
    EXPECT_EQ(buffer[3], 7);
    EXPECT_EQ(GetPrefData(FourCC("Look"), 2, buffer, 4, 0), -2);

    const uint8_t value[4] = {1, 2, 3, 4};
    EXPECT_EQ(SetPrefData(FourCC("Look"), 1, value, 4, 0), 0);  // a copy in the preferences file
    EXPECT_EQ(GetPrefData(FourCC("Look"), 1, buffer, 4, 0), 0);
    EXPECT_EQ(buffer[3], 4);
    EXPECT_EQ(SetPrefData(FourCC("Look"), 1, value, 2, 0), 0);  // resized in place
    EXPECT_EQ(GetPrefData(FourCC("Look"), 1, buffer, 4, 0), -3);
    EXPECT_EQ(SetPrefLong(FourCC("wvar"), 5, 0x01020304), 0);
    EXPECT_EQ(CurResFile(), appRef);

    std::vector<uint8_t> appAfter;
    ASSERT_EQ(ReadWholeFile(dir / "app.rsrc", &appAfter), noErr);
    EXPECT_EQ(appAfter, appBefore);

    // The preferences file holds the big-endian value.
    int16_t prefs = OpenResFile(dir / "Prefs", fsRdPerm, ResFileFork::Data);
    ASSERT_NE(prefs, -1);
    Handle h = Get1Resource(FourCC("wvar"), 5);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(GetHandleSize(h), 4);
    EXPECT_EQ(std::memcmp(*h, "\x01\x02\x03\x04", 4), 0);
    CloseResFile(prefs);

    // New handles are checked: an allocation failure reports -108.
    const int64_t budget = MemoryBudget();
    SetMemoryBudget(MemoryInUse() + 16);
    uint8_t big[64] = {};
    EXPECT_EQ(SetPrefData(FourCC("Big "), 1, big, 64, 0), -108);
    SetMemoryBudget(budget);
    EXPECT_EQ(CurResFile(), appRef);
}

// A file already there is taken as it is; one that cannot be made leaves
// the preferences closed. Id 0 is the preferences file's, and a read takes
// the data whatever the caller's loading.
TEST_F(Preferences, StartFindsOrMakesItsFileAndReadsWhateverTheLoading)
{
    const uint8_t value[4] = {1, 2, 3, 4};
    EXPECT_EQ(SetPrefData(FourCC("Look"), 1, value, 4, 0), 0);
    UPrefs::Reset();
    ASSERT_TRUE(UPrefs::Init());
    uint8_t buffer[4] = {};
    SetResLoad(false);
    EXPECT_EQ(GetPrefData(FourCC("Look"), 1, buffer, 4, 0), 0);
    SetResLoad(true);
    EXPECT_EQ(buffer[3], 4);
    EXPECT_EQ(SetPrefLong(FourCC("wvar"), 0, 7), 0);

    UPrefs::Reset();
    ASSERT_EQ(FSpDelete(FSSpec{dir / "Prefs"}), noErr);
    {
        ScopedFault full(FaultKind::DiskFull, 0, -1);
        EXPECT_FALSE(UPrefs::Init());
    }
}

TEST_F(Preferences, InStructureGoesThroughTheStore)
{
    uint8_t buffer[4];
    EXPECT_EQ(GetPrefData(FourCC("Look"), 1, buffer, 4, 1), -1);  // no store file
    EXPECT_EQ(SetPrefLong(FourCC("wvar"), -1, 7), -1);
    SetKernelStoreAccess(FakeStore::Access());
    numresfalse = 3;
    // Another open document's copy is read through the chain but never
    // written: the current one gets a copy of its own.
    Handle other = NewHandleClear(4);
    FakeStore::below[{FourCC("wvar"), -1}] = other;
    EXPECT_EQ(GetPrefData(FourCC("wvar"), -1, buffer, 4, 1), 0);
    EXPECT_EQ(SetPrefLong(FourCC("wvar"), -1, 0x0A0B0C0D), 0);
    EXPECT_EQ(platform::ReadBE32(reinterpret_cast<uint8_t*>(*other)), 0u);
    EXPECT_EQ(FakeStore::committed, 3);
    ASSERT_EQ(FakeStore::resources.count({FourCC("wvar"), -1}), 1u);
    EXPECT_EQ(GetPrefData(FourCC("wvar"), -1, buffer, 4, 1), 0);
    EXPECT_EQ(buffer[0], 0x0A);
    EXPECT_EQ(GetPrefData(FourCC("wvar"), -1, buffer, 5, 1), -3);
    EXPECT_EQ(GetPrefData(FourCC("wvar"), -2, buffer, 4, 1), -2);
}

std::string Ext(const std::string& name, const char* extension = nullptr)
{
    unsigned char p[256];
    p[0] = uint8_t(name.size());
    std::memcpy(p + 1, name.data(), name.size());
    extension ? SetExtension(p, extension) : RemoveFileExtension(p);
    return std::string(reinterpret_cast<char*>(p) + 1, p[0]);
}

TEST(FileExtensions, RemoveAndSet)
{
    EXPECT_EQ(Ext("file.txt"), "file");
    EXPECT_EQ(Ext("a.html"), "a.html");
    EXPECT_EQ(Ext("name."), "name");
    EXPECT_EQ(Ext(".rc"), "");
    EXPECT_EQ(Ext(""), "");
    EXPECT_EQ(Ext("file.txt", "rsr"), "file.rsr");
    EXPECT_EQ(Ext(std::string(252, 'n'), "rsr"), std::string(252, 'n'));
    std::string longName = std::string(251, 'n') + ".txt";
    EXPECT_EQ(Ext(longName, "rsr"), std::string(251, 'n') + ".rsr");

    // A copy kept as it is takes exactly the name's bytes.
    unsigned char source[16] = {3, 'a', '.', 'b', 'x', 'x', 'x'}, copy[16];
    std::memset(copy, 0xEE, sizeof copy);
    TruncateDos_KeepExt(source, copy);
    EXPECT_EQ(std::memcmp(copy, source, 4), 0);
    EXPECT_EQ(copy[4], 0xEE);
}

}  // namespace
