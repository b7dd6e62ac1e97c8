// Bundles: a folder's resource map is found inside it by the folder's name.
#include "platform/resfiles/Bundles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/resfiles/Resources.h"
#include "tests/platform/files/TempFolder.h"
#include "tests/platform/resfiles/ResFileWriter.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

TEST(Bundles, TheResourceMapIsNamedAfterTheFolder)
{
    ResetResourceManager();
    platform::testing::TempFolder folder;
    struct Case {
        const char* folder;  // the bundle
        const char* map;     // where its map is written; null: none
        bool opens;
    } cases[] = {
        {"Tools.plugin", "Tools.rsrc", true},
        {"Plain", "Plain.rsrc", true},
        {"Two.dots.bundle", "Two.dots.rsrc", true},
        {".hidden", ".hidden.rsrc", true},
        {"Wrong.plugin", "Wrong.plugin.rsrc", false},
        {"Empty.plugin", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const fs::path bundle = fs::path(folder.path()) / c.folder;
        fs::create_directories(bundle / "Contents/Resources");
        if (c.map) restest::WriteResFile((bundle / "Contents/Resources" / c.map).string(), {{"STR ", 5, {1, 'x'}}});
        const auto made = CFBundleCreate(CFURL{bundle.string(), true});
        ASSERT_TRUE(made.has_value());
        const int16_t ref = CFBundleOpenBundleResourceMap(*made);
        EXPECT_EQ(ref > 0, c.opens);
        if (!c.opens) {
            EXPECT_EQ(ref, -1);
            EXPECT_EQ(ResError(), fnfErr);
            continue;
        }
        EXPECT_EQ(CurResFile(), ref);
        EXPECT_NE(Get1Resource(FourCC("STR "), 5), nullptr);
        CloseResFile(ref);
    }
    // A file, a missing folder and a file URL are no bundles.
    restest::WriteResFile(folder.path() + "/file.rsrc", {});
    EXPECT_FALSE(CFBundleCreate(CFURL{folder.path() + "/file.rsrc", true}).has_value());
    EXPECT_FALSE(CFBundleCreate(CFURL{folder.path() + "/missing", true}).has_value());
    EXPECT_FALSE(CFBundleCreate(CFURL{folder.path() + "/Tools.plugin", false}).has_value());
    ResetResourceManager();
}

}  // namespace
