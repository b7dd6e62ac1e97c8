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
    // The bundle, the map written, whether it opens.
    const std::tuple<const char*, const char*, bool> cases[] = {{"Tools.plugin", "Tools.rsrc", true},
                                                                {"Two.dots.bundle", "Two.dots.rsrc", true},
                                                                {".hidden", ".hidden.rsrc", true},
                                                                {"A.plugin", "A.rsrc", true},
                                                                {"Wrong.plugin", "Wrong.plugin.rsrc", false}};
    for (const auto& [name, map, opens] : cases) {
        SCOPED_TRACE(name);
        const fs::path bundle = fs::path(folder.path()) / name;
        fs::create_directories(bundle / "Contents/Resources");
        restest::WriteResFile((bundle / "Contents/Resources" / map).string(), {{"STR ", 5, {1, 'x'}}});
        const auto made = CFBundleCreate(CFURL{bundle.string(), true});
        ASSERT_TRUE(made.has_value());
        const int16_t ref = CFBundleOpenBundleResourceMap(*made);
        EXPECT_EQ(ref == -1 ? ResError() : noErr, opens ? noErr : fnfErr);
        if (!opens) continue;
        EXPECT_EQ(CurResFile(), ref);
        EXPECT_NE(Get1Resource(FourCC("STR "), 5), nullptr);
    }
    // A file, a missing folder and a file URL are no bundles.
    restest::WriteResFile(folder.path() + "/file.rsrc", {});
    for (const CFURL& url : {CFURL{folder.path() + "/file.rsrc", true}, CFURL{folder.path() + "/missing", true},
                             CFURL{folder.path() + "/Tools.plugin", false}})
        EXPECT_FALSE(CFBundleCreate(url).has_value()) << url.posixPath;
    ResetResourceManager();
}

}  // namespace
