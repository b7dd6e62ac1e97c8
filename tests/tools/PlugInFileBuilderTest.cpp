// The builder's plug-in files and parameter lists: a plug-in file holds
// its identity, bundles, routine lists, themes and parameter lists byte for
// byte, with its file type in its sidecar; bad statements are refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/resfiles/Resources.h"
#include "tests/platform/files/TempFolder.h"
#include "tools/docbuilder/DocBuilder.h"

namespace {

using Bytes = std::vector<uint8_t>;
using platform::FourCC;

// Every resource of a plain resource file: (type, id) to (name, bytes).
std::map<std::pair<uint32_t, int16_t>, std::pair<std::string, Bytes>> ReadPlain(const std::string& path)
{
    std::map<std::pair<uint32_t, int16_t>, std::pair<std::string, Bytes>> all;
    const int16_t ref = platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data);
    EXPECT_GT(ref, 0) << path;
    if (ref <= 0) return all;
    for (int16_t t = 1; t <= platform::Count1Types(); ++t) {
        platform::ResType type = 0;
        platform::Get1IndType(&type, t);
        for (int16_t i = 1; i <= platform::Count1Resources(type); ++i) {
            platform::Handle h = platform::Get1IndResource(type, i);
            int16_t id = 0;
            unsigned char name[256];
            platform::GetResInfo(h, &id, nullptr, name);
            all[{type, id}] = {std::string(reinterpret_cast<char*>(name + 1), name[0]),
                               Bytes(*h, *h + platform::GetHandleSize(h))};
        }
    }
    platform::CloseResFile(ref);
    return all;
}

TEST(PlugInFileBuilder, APlugInFileHoldsItsBundlesByteForByte)
{
    platform::ResetResourceManager();
    platform::testing::TempFolder dir;
    const auto r = docbuilder::BuildDocument(R"D(structure S
package Local id 15010
  routine "Sum(&R):R"
eprm 15010
  routine 1 1 8 2 19
pluginfile "Kit Tools"
  signature 2 version 3 requires 1 6
  package Kit id 20000 theme "Kit"
    routine "Beep(&S)"
    routine "@Hidden"
  package Plain unnamed
  eprm 20000
    routine 2
)D",
                                             "test.qzdoc", dir.path());
    ASSERT_EQ(r.error, 0) << r.message;
    const std::string path = dir.path() + "/Kit Tools.plugin";
    const auto all = ReadPlain(path);
    using Entry = std::pair<std::string, Bytes>;
    const std::map<std::pair<uint32_t, int16_t>, Entry> expected = {
        {{FourCC("QzSG"), 0}, {"", {0, 2}}},
        {{FourCC("QzID"), 2}, {"Kit Tools", {9, 'K', 'i', 't', ' ', 'T', 'o', 'o', 'l', 's', 0, 3}}},
        {{FourCC("QzID"), 1}, {"", {0, 0, 6}}},
        {{FourCC("QBNX"), 20000}, {"Kit", {0, 1, 'S', 'T', 'R', '#', 0, 1, 0x4E, 0x20}}},
        {{FourCC("STR#"), 20000}, {"Kit routines", {0, 2, 8, 'B', 'e', 'e', 'p', '(', '&', 'S', ')', 7, '@', 'H', 'i', 'd', 'd', 'e', 'n'}}},
        {{FourCC("THM#"), 20000}, {"", {0, 1, 3, 'K', 'i', 't'}}},
        // The unnamed bundle takes the lowest free id.
        {{FourCC("QBNX"), 1}, {"", {0, 1, 'S', 'T', 'R', '#', 0, 1, 0, 1}}},
        {{FourCC("STR#"), 1}, {"Plain routines", {0, 0}}},
        {{FourCC("EPRM"), 20000}, {"", {0, 1, 0, 2, 0, 0}}},
    };
    EXPECT_EQ(all, expected);
    platform::FInfo info;
    platform::FSSpec fileSpec;
    ASSERT_EQ(platform::FSMakeFSSpec(path, &fileSpec), 0);
    ASSERT_EQ(platform::FSpGetFInfo(fileSpec, &info), 0);
    EXPECT_EQ(info.fdType, FourCC("QzCB"));
    // The structure's own parameter list goes into its companion.
    const auto companion = ReadPlain(r.companionPath);
    EXPECT_EQ(companion.at({FourCC("EPRM"), 15010}).second, (Bytes{0, 1, 0, 1, 0, 2, 0, 1, 0, 8, 0, 2, 0, 19}));
    platform::ResetResourceManager();
}

TEST(PlugInFileBuilder, BadPlugInStatementsAreRefused)
{
    const std::pair<std::string, std::string> cases[] = {
        {"structure S\neprm 3\n  routine 1 2\n", "test.qzdoc:3: parameters come as pairs of a number and a type"},
        {"structure S\neprm 3\neprm 3\n", "test.qzdoc:3: a parameter list of id 3 already exists"},
        {"structure S\npluginfile P\npluginfile P\n", "test.qzdoc:3: a plug-in file named 'P' already exists"},
        {"structure S\npluginfile P\n  package A id 5\n  package B id 5\n", "test.qzdoc:4: the plug-in file holds this resource already"},
        {"structure S\npackage A theme \"x\"\n", "test.qzdoc:2: unknown option 'theme' of 'package'"},
    };
    for (const auto& [text, message] : cases) {
        platform::testing::TempFolder dir;
        const docbuilder::BuildResult r = docbuilder::BuildDocument(text, "test.qzdoc", dir.path());
        EXPECT_EQ(r.error, docbuilder::kDescriptionRefused) << message;
        EXPECT_EQ(r.message, message);
        EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << message;
    }
}

}  // namespace
