// The plug-in folders: "Plugins" in each of the places, by location.
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
    // Location: its place's switch and what stands at "Plugins" there.
    struct Case {
        int16_t location;
        const char* variable;
        const char* plugins;  // "folder", "file", "link", or null: nothing
        platform::OSErr result;
    } cases[] = {
        {0, "QZ_EXTENSIONS_DIR", "folder", 0},   {1, "QZ_USER_DATA_DIR", "folder", 0},
        {2, "QZ_SYSTEM_DATA_DIR", "link", 0},    {3, "QZ_PREFERENCES_DIR", "file", platform::fnfErr},
        {5, "QZ_APPLICATION_DIR", nullptr, platform::fnfErr},
    };
    for (const Case& c : cases) {
        const fs::path place = fs::path(temp.path()) / c.variable;
        fs::create_directories(place);
        ::setenv(c.variable, place.c_str(), 1);
        const std::string what = c.plugins ? c.plugins : "";
        if (what == "folder") fs::create_directory(place / "Plugins");
        if (what == "file") std::ofstream(place / "Plugins") << "x";
        if (what == "link") {
            fs::create_directory(place / "Elsewhere");
            fs::create_directory_symlink(place / "Elsewhere", place / "Plugins");
        }
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.location);
        int16_t volume = 1;
        int32_t folder = 1;
        EXPECT_EQ(GetPlugInsFolderRefs(c.location, kPlugInsFolderKind, &volume, &folder), c.result);
        if (c.result != 0) {
            EXPECT_EQ(folder, 0);
            continue;
        }
        platform::FSSpec found;
        ASSERT_EQ(platform::FSMakeFSSpecFromDirID(volume, folder, "", &found), 0);
        EXPECT_EQ(fs::canonical(found.path), fs::canonical(fs::path(temp.path()) / c.variable / "Plugins"));
    }
    int16_t volume = 0;
    int32_t folder = 0;
    EXPECT_EQ(GetPlugInsFolderRefs(4, kPlugInsFolderKind, &volume, &folder), platform::fnfErr);
    for (int16_t location : {-1, 6}) EXPECT_EQ(GetPlugInsFolderRefs(location, kPlugInsFolderKind, &volume, &folder), platform::paramErr);
    EXPECT_EQ(GetPlugInsFolderRefs(0, 0x4D517A59, &volume, &folder), platform::paramErr);
    for (const Case& c : cases) ::unsetenv(c.variable);
}

}  // namespace
