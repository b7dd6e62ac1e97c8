#include "platform/files/SpecialFolders.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/files/FileSpec.h"
#include "tests/ScopedEnvironment.h"
#include "tests/platform/files/TempFolder.h"

using namespace platform;
using platform::testing::TempFolder;

TEST(SpecialFolders, EnvironmentOverridesEveryPlace)
{
    TempFolder dir;
    const char* vars[] = {"QZ_PREFERENCES_DIR", "QZ_CACHE_DIR",       "QZ_EXTENSIONS_DIR", "QZ_DOCUMENTS_DIR",
                          "QZ_USER_DATA_DIR",   "QZ_SYSTEM_DATA_DIR", "QZ_APPLICATION_DIR"};
    SpecialFolder kinds[] = {SpecialFolder::Preferences, SpecialFolder::Cache,      SpecialFolder::Extensions,
                             SpecialFolder::Documents,   SpecialFolder::UserData,   SpecialFolder::SystemData,
                             SpecialFolder::Application};
    for (int i = 0; i < 7; ++i) {
        std::string path = dir / (std::string(vars[i]) + "/nested");
        const qztest::ScopedEnvironment place(vars[i], path);
        FSSpec folder;
        EXPECT_EQ(FindSpecialFolder(kinds[i], false, &folder), fnfErr);
        EXPECT_EQ(folder.path, path);
        ASSERT_EQ(FindSpecialFolder(kinds[i], true, &folder), noErr);
        bool isFolder = false;
        EXPECT_TRUE(FSpExists(folder, &isFolder) && isFolder);
        struct stat st {};
        ::stat(path.c_str(), &st);
        EXPECT_EQ(st.st_mode & 077, 0u);  // the user's alone
    }

    // Without overrides the XDG places count; relative values are ignored.
    const qztest::ScopedEnvironment noCacheOverride("QZ_CACHE_DIR");
    const qztest::ScopedEnvironment noSystemDataOverride("QZ_SYSTEM_DATA_DIR");
    ::setenv("XDG_CACHE_HOME", (dir / "xdg").c_str(), 1);
    FSSpec folder;
    FindSpecialFolder(SpecialFolder::Cache, false, &folder);
    EXPECT_EQ(folder.path, dir / "xdg");
    ::setenv("QZ_CACHE_DIR", "relative", 1);
    FindSpecialFolder(SpecialFolder::Cache, false, &folder);
    EXPECT_EQ(folder.path, dir / "xdg");
    ::unsetenv("QZ_CACHE_DIR");
    ::unsetenv("XDG_CACHE_HOME");
    // The shared data folder is the first of the XDG list.
    ::setenv("XDG_DATA_DIRS", (dir / "one:/two").c_str(), 1);
    FindSpecialFolder(SpecialFolder::SystemData, false, &folder);
    EXPECT_EQ(folder.path, dir / "one");
    ::unsetenv("XDG_DATA_DIRS");
    FindSpecialFolder(SpecialFolder::Extensions, false, &folder);
    EXPECT_EQ(FSpGetName(folder), "Qz Extensions");
}

TEST(SpecialFolders, ExtensionsLieBesideTheProgramByDefault)
{
    ::unsetenv("QZ_EXTENSIONS_DIR");
    char self[4096];
    ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    std::string program(self, size_t(n));
    FSSpec folder;
    FindSpecialFolder(SpecialFolder::Extensions, false, &folder);
    EXPECT_EQ(folder.path, program.substr(0, program.rfind('/')) + "/Qz Extensions");
}
