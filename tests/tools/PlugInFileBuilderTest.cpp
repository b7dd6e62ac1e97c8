// The builder's plug-in files and parameter lists: a plug-in file holds
// its identity, bundles, routine lists, themes and parameter lists byte for
// byte, with its file type in its sidecar; bad statements are refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "tests/platform/files/TempFolder.h"
#include "tools/docbuilder/DocBuilder.h"

namespace {

using Bytes = std::vector<uint8_t>;
using platform::FourCC;

// Every resource of a plain resource file: (type, id) to (name, bytes).
std::map<std::pair<uint32_t, int16_t>, std::pair<std::string, Bytes>> ReadPlain(const std::string& path)
{
    Bytes bytes;
    platform::ReadWholeFile(path, &bytes);
    platform::ResourceFileImage image;
    EXPECT_EQ(platform::ParseResourceFile(bytes.data(), bytes.size(), &image), 0) << path;
    std::map<std::pair<uint32_t, int16_t>, std::pair<std::string, Bytes>> all;
    for (const platform::ResourceImage& r : image.resources) all[{r.type, r.id}] = {r.name, r.data};
    return all;
}

TEST(PlugInFileBuilder, APlugInFileHoldsItsBundlesByteForByte)
{
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
