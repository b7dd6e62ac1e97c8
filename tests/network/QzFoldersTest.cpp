#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "network/PlugInFolders.h"
#include "network/QzFolders.h"
#include "platform/core/Errors.h"
#include "tests/ScopedEnvironment.h"
#include "tests/platform/core/FailingNewDefinitions.h"
#include "tests/platform/files/TempFolder.h"

namespace {

TEST(QzFolders, PreferencesAndExtensionsFollowTheirPlacesAndCreateOnRequest)
{
    platform::testing::TempFolder temp;
    std::string prefs = temp / "prefs";
    std::string ext = temp / "Qz Extensions";
    const qztest::ScopedEnvironment preferences("QZ_PREFERENCES_DIR", prefs);
    ::setenv("QZ_EXTENSIONS_DIR", ext.c_str(), 1);

    EXPECT_EQ(FindQzFolder(kQzPreferencesFolder, 0), nullptr);
    CQzFolder* made = FindQzFolder(kQzPreferencesFolder, 1);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetPath(), prefs);
    EXPECT_TRUE(std::filesystem::is_directory(prefs));
    platform::FSSpec item;
    EXPECT_EQ(made->GetItemSpec("ByteSwap.txt", &item), -43);  // not there yet
    EXPECT_EQ(item.path, prefs + "/ByteSwap.txt");
    made->Release();

    std::filesystem::create_directory(ext);
    CQzFolder* extensions = FindQzFolder(kQzExtensionsFolder, 0);
    ASSERT_NE(extensions, nullptr);
    EXPECT_EQ(extensions->GetPath(), ext);
    extensions->Release();

    EXPECT_EQ(FindQzFolder(KindQzFolder(3), 1), nullptr);

    // A file standing where the folder should be is not taken for it.
    std::filesystem::remove_all(ext);
    std::ofstream(ext) << "x";
    EXPECT_EQ(FindQzFolder(kQzExtensionsFolder, 0), nullptr);
    ::unsetenv("QZ_EXTENSIONS_DIR");
}

// Memory running out while the plug-in folder is found is no missing
// folder: every allocation failing in turn answers memFullErr (or is thrown
// out, for the read's entry to answer), never fnfErr; with memory the
// folder is found as before.
TEST(QzFolders, AShortageFindingThePlugInsFolderIsNoMissingFolder)
{
    platform::testing::TempFolder temp;
    const std::string user = temp / "user";
    std::filesystem::create_directories(user + "/Plugins");
    const qztest::ScopedEnvironment place("QZ_USER_DATA_DIR", user);
    int16_t volume = 0;
    int32_t whole = 0;
    ASSERT_EQ(GetPlugInsFolderRefs(1, kPlugInsFolderKind, &volume, &whole), platform::noErr);
    ASSERT_NE(whole, 0);
    int shortages = 0;
    for (int64_t after = 0;; ++after) {
        ASSERT_LT(after, 10000);
        int32_t folder = -1;
        volume = -1;
        platform::OSErr err = platform::noErr;
        bool thrown = false;
        testfaults::FailNthNew(after);
        try {
            err = GetPlugInsFolderRefs(1, kPlugInsFolderKind, &volume, &folder);
        } catch (const std::bad_alloc&) {
            thrown = true;
        }
        const bool fired = !testfaults::NewFailurePending();
        testfaults::StopFailingNew();
        if (thrown) continue;
        if (err == platform::memFullErr) {
            ++shortages;
            EXPECT_EQ(folder, 0) << after;
            EXPECT_EQ(volume, 0) << after;
            continue;
        }
        EXPECT_EQ(err, platform::noErr) << after;
        EXPECT_EQ(folder, whole) << after;
        if (!fired) break;
    }
    EXPECT_GT(shortages, 0);
}

}  // namespace
