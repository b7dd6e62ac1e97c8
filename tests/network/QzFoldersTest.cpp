#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "network/QzFolders.h"
#include "tests/ScopedEnvironment.h"
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

}  // namespace
