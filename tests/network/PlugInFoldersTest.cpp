// The plug-in folders by location: "Plugins" in each place, a folder or a
// link to one; anything else is no plug-in folder.
#include "network/PlugInFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/files/DirectoryIds.h"
#include "tests/platform/files/TempFolder.h"

namespace {

namespace fs = std::filesystem;

TEST(PlugInFolders, EachLocationIsPluginsInItsPlace)
{
    platform::testing::TempFolder temp;
    const fs::path root = temp.path();
    fs::create_directories(root / "ext" / "Plugins");
    fs::create_directories(root / "user" / "Elsewhere");
    fs::create_directory_symlink(root / "user" / "Elsewhere", root / "user" / "Plugins");
    fs::create_directories(root / "prefs");
    std::ofstream(root / "prefs" / "Plugins") << "a file";
    ::setenv("QZ_EXTENSIONS_DIR", (root / "ext").c_str(), 1);
    ::setenv("QZ_USER_DATA_DIR", (root / "user").c_str(), 1);
    ::setenv("QZ_PREFERENCES_DIR", (root / "prefs").c_str(), 1);
    ::setenv("QZ_SYSTEM_DATA_DIR", (root / "missing").c_str(), 1);
    const struct {
        int16_t location;
        uint32_t kind;
        platform::OSErr result;
        const char* folder;
    } cases[] = {{0, kPlugInsFolderKind, 0, "ext/Plugins"},  {1, kPlugInsFolderKind, 0, "user/Elsewhere"},
                 {2, kPlugInsFolderKind, platform::fnfErr, ""}, {3, kPlugInsFolderKind, platform::fnfErr, ""},
                 {4, kPlugInsFolderKind, platform::fnfErr, ""}, {6, kPlugInsFolderKind, platform::paramErr, ""},
                 {-1, kPlugInsFolderKind, platform::paramErr, ""}, {0, kPlugInsFolderKind + 1, platform::paramErr, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.location);
        int16_t volume = 1;
        int32_t folder = 1;
        EXPECT_EQ(GetPlugInsFolderRefs(c.location, c.kind, &volume, &folder), c.result);
        if (c.result != 0) {
            EXPECT_EQ(folder, 0);
            continue;
        }
        platform::FSSpec found;
        ASSERT_EQ(platform::FSMakeFSSpecFromDirID(volume, folder, "", &found), 0);
        EXPECT_EQ(fs::canonical(found.path), fs::canonical(root / c.folder));
    }
    for (const char* v : {"QZ_EXTENSIONS_DIR", "QZ_USER_DATA_DIR", "QZ_PREFERENCES_DIR", "QZ_SYSTEM_DATA_DIR"}) ::unsetenv(v);
}

}  // namespace
