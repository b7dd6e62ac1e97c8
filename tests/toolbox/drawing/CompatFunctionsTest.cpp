// The compatibility functions: cached patterns, text comparison, resource
// files through file specifications, bundles and port rectangles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "tests/platform/files/TempFolder.h"
#include "toolbox/drawing/CompatFunctions.h"

using namespace platform;
using platform::testing::TempFolder;

namespace {

std::vector<uint8_t> Bytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    EXPECT_EQ(ReadWholeFile(path, &bytes), noErr) << path;
    return bytes;
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes)
{
    ASSERT_EQ(WriteFileAtomically(path, bytes.data(), bytes.size()), noErr);
}

std::vector<uint8_t> ResourceFileWith(ResType type, int16_t id, const std::string& data)
{
    ResourceFileImage image;
    ResourceImage r;
    r.type = type;
    r.id = id;
    r.data.assign(data.begin(), data.end());
    image.resources.push_back(r);
    std::vector<uint8_t> bytes;
    EXPECT_EQ(BuildResourceFile(image, &bytes), noErr);
    return bytes;
}

FSSpec Spec(const std::string& path)
{
    FSSpec fileSpec;
    const OSErr err = FSMakeFSSpec(path, &fileSpec);
    EXPECT_TRUE(err == noErr || err == fnfErr) << path;
    return fileSpec;
}

class CompatFiles : public ::testing::Test {
protected:
    void SetUp() override { ResetResourceManager(); }
    void TearDown() override
    {
        ResetResourceManager();
        ClearAllFaults();
    }
    TempFolder dir;
};

TEST(CompatPatterns, TheFiveStandardPatternsAreCachedOnce)
{
    InitQDPatterns();
    const Pattern* black = GetPatBlack();
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(black->pat[i], 0xFF);
        EXPECT_EQ(GetPatWhite()->pat[i], 0x00);
        EXPECT_EQ(GetPatGray()->pat[i], i % 2 ? 0x55 : 0xAA);
    }
    Pattern platformLight, platformDark;
    EXPECT_EQ(std::memcmp(GetPatLightGray(), GetQDGlobalsLightGray(&platformLight), 8), 0);
    EXPECT_EQ(std::memcmp(GetPatDarkGray(), GetQDGlobalsDarkGray(&platformDark), 8), 0);

    // A second call leaves the cache as it is, where callers point.
    const Pattern before = *GetPatGray();
    InitQDPatterns();
    EXPECT_EQ(GetPatBlack(), black);
    EXPECT_EQ(std::memcmp(GetPatGray(), &before, 8), 0);
}

TEST(CompatText, EqualityAndOrderAgreeBothWays)
{
    auto id = [](const std::string& a, const std::string& b) {
        return myMagIDString(a.data(), b.data(), int32_t(a.size()), int32_t(b.size()));
    };
    auto order = [](const std::string& a, const std::string& b) {
        return myMagString(a.data(), b.data(), int32_t(a.size()), int32_t(b.size()));
    };
    EXPECT_EQ(id("abc", "abc"), 0);
    EXPECT_EQ(id("abc", "abd"), 1);
    EXPECT_EQ(id("ab", "abc"), 1);
    EXPECT_EQ(id("abc", "ABC"), 1);
    EXPECT_EQ(order("abc", "abd"), -1);
    EXPECT_EQ(order("abc", "abc"), 0);
    EXPECT_EQ(order("abd", "abc"), 1);
    EXPECT_EQ(order("ab", "abc"), -1);
    // Case and accents only break ties: "resume" < "r\x8Esum\x8E" < "rz".
    EXPECT_EQ(order("resume", "r\x8Esum\x8E"), -1);
    EXPECT_EQ(order("r\x8Esum\x8E", "rz"), -1);
    // Null or negative-length texts count as empty.
    EXPECT_EQ(myMagIDString(nullptr, "", 5, 0), 0);
    EXPECT_EQ(myMagString("a", nullptr, 1, 3), 1);
    EXPECT_EQ(myMagString("a", "b", -1, 1), -1);
    // ...and empty is not a text of one zero byte.
    EXPECT_EQ(myMagIDString(nullptr, "", 0, 1), 1);
    EXPECT_EQ(myMagString(nullptr, "", 0, 1), -1);

    // Random Mac Roman names: the two answers of every pair agree.
    std::mt19937 random(27);
    std::vector<std::string> names(1000);
    for (auto& name : names) {
        name.resize(1 + random() % 12);
        for (auto& c : name) c = char(random() % 6 == 0 ? 0x80 + random() % 0x60 : 'a' + random() % 6);
        if (random() % 3 == 0) name[0] = char(std::toupper(uint8_t(name[0])));
    }
    int32_t disagreements = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& a = names[i];
        const std::string& b = names[(i * 7919 + 1) % names.size()];
        disagreements += order(a, b) != -order(b, a);
        disagreements += id(a, b) != id(b, a);
        disagreements += (id(a, b) == 0) != (order(a, b) == 0);
    }
    EXPECT_EQ(disagreements, 0);
    // Sorting by the order is consistent (a strict weak order).
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) { return order(a, b) < 0; });
    for (size_t i = 1; i < names.size(); ++i) EXPECT_LE(order(names[i - 1], names[i]), 0);
}

TEST_F(CompatFiles, OpeningFindsMapsInEitherForkAndReusesOpenOnes)
{
    // A map in the data fork opens through the fallback.
    const std::string plain = dir / "plain.rsrc";
    Write(plain, ResourceFileWith(FourCC("STR "), 128, "hello"));
    const int16_t ref = myFSpOpenResFile(Spec(plain), fsRdWrPerm);
    ASSERT_NE(ref, -1);
    Handle h = Get1Resource(FourCC("STR "), 128);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetHandleSize(h), 5);

    // Permission 0 on an open file answers the same reference.
    Boolean inChain = false;
    int16_t found = 0;
    EXPECT_TRUE(FSpResourceFileAlreadyOpen(Spec(plain), &inChain, &found));
    EXPECT_TRUE(inChain);
    EXPECT_EQ(found, ref);
    EXPECT_EQ(myFSpOpenResFile(Spec(plain), fsCurPerm), ref);

    // A file with neither map: -1, and nothing open.
    const std::string empty = dir / "empty.txt";
    Write(empty, {'x'});
    EXPECT_EQ(myFSpOpenResFile(Spec(empty), fsCurPerm), -1);
    EXPECT_FALSE(FSpResourceFileAlreadyOpen(Spec(empty), &inChain, &found));
    EXPECT_FALSE(inChain);
    EXPECT_EQ(found, 0);
    CloseResFile(ref);
    EXPECT_FALSE(FSpResourceFileAlreadyOpen(Spec(plain), nullptr, nullptr));
}

TEST_F(CompatFiles, CreatingKeepsAnExistingFilesDataAndNamesOutsideMacRoman)
{
    // Without the flag an existing file keeps its data and gains a map.
    const std::string doc = dir / "notes.dat";
    Write(doc, {1, 2, 3, 4});
    EXPECT_EQ(myFSpCreateResFile(Spec(doc), FourCC("QzBr"), FourCC("TEXT"), 0, false), noErr);
    EXPECT_EQ(Bytes(doc), (std::vector<uint8_t>{1, 2, 3, 4}));
    const int16_t ref = myFSpOpenResFile(Spec(doc), fsRdWrPerm);
    ASSERT_NE(ref, -1);
    EXPECT_EQ(Count1Types(), 0);
    CloseResFile(ref);
    // A second map is refused rather than laid over the first.
    EXPECT_NE(myFSpCreateResFile(Spec(doc), FourCC("QzBr"), FourCC("TEXT"), 0, false), noErr);

    // A new file, by a name outside Mac Roman, with type and creator.
    const std::string name = "\xE6\x97\xA5\xE6\x9C\xAC \xD0\x96.qzd";  // CJK and Cyrillic
    EXPECT_EQ(myFSpCreate(Spec(dir / name), FourCC("QzBr"), FourCC("QzDc"), 0), noErr);
    EXPECT_TRUE(std::filesystem::exists(dir / name));
    FInfo info;
    ASSERT_EQ(FSpGetFInfo(Spec(dir / name), &info), noErr);
    EXPECT_EQ(info.fdType, FourCC("QzDc"));
    EXPECT_EQ(info.fdCreator, FourCC("QzBr"));
    EXPECT_EQ(myFSpCreate(Spec(dir / name), FourCC("QzBr"), FourCC("QzDc"), 0), dupFNErr);

    // A new file with a data-fork map opens through the fallback.
    const std::string fresh = dir / "fresh.rsrc";
    EXPECT_EQ(myFSpCreateResFile(Spec(fresh), FourCC("QzBr"), FourCC("rsrc"), 0, true), noErr);
    EXPECT_NE(myFSpOpenResFile(Spec(fresh), fsRdPerm), -1);
}

// Replacing a file with the data-fork flag: the old file stays byte for
// byte whatever step fails, and is replaced whole when none does.
TEST_F(CompatFiles, ReplacingAFileLosesNothingWhenTheDiskIsFull)
{
    const std::string doc = dir / "prefs.rsrc";
    const std::vector<uint8_t> old = ResourceFileWith(FourCC("PREF"), 1, "old settings");
    Write(doc, old);
    int32_t failures = 0;
    for (int32_t after = 0; after < 40; ++after) {
        InjectFault(FaultKind::DiskFull, after, -1);
        const OSErr err = myFSpCreateResFile(Spec(doc), FourCC("QzBr"), FourCC("pref"), 0, true);
        ClearFault(FaultKind::DiskFull);
        if (err == noErr) break;
        ++failures;
        EXPECT_EQ(err, dskFulErr);
        EXPECT_EQ(Bytes(doc), old) << "after " << after;
        // Nothing is left beside it.
        int32_t items = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            items += entry.path().filename().string().rfind("._", 0) != 0;
        EXPECT_EQ(items, 1) << "after " << after;
    }
    EXPECT_GT(failures, 0);
    // Done: an empty map in the data fork, the old resource gone.
    EXPECT_NE(Bytes(doc), old);
    const int16_t ref = myFSpOpenResFile(Spec(doc), fsRdPerm);
    ASSERT_NE(ref, -1);
    EXPECT_EQ(Count1Resources(FourCC("PREF")), 0);
    FInfo info;
    ASSERT_EQ(FSpGetFInfo(Spec(doc), &info), noErr);
    EXPECT_EQ(info.fdType, FourCC("pref"));
}

TEST_F(CompatFiles, BundlesAnswerTheirPackageInformation)
{
    OSType type = 1, creator = 1;
    EXPECT_FALSE(GetBundleInfo(nullptr, &type, &creator));
    EXPECT_EQ(type, 0u);
    EXPECT_EQ(creator, 0u);

    std::filesystem::create_directories(dir / "Tool.app/Contents");
    Write(dir / "Tool.app/Contents/PkgInfo", {'A', 'P', 'P', 'L', 'Q', 'z', 'B', 'r'});
    FSRef bundle{dir / "Tool.app"};
    EXPECT_TRUE(GetBundleInfo(&bundle, &type, &creator));
    EXPECT_EQ(type, FourCC("APPL"));
    EXPECT_EQ(creator, FourCC("QzBr"));
    EXPECT_TRUE(GetBundleInfo(&bundle, nullptr, &creator));

    // Short package information, a plain file and a folder without it.
    std::filesystem::create_directories(dir / "Short.app/Contents");
    Write(dir / "Short.app/Contents/PkgInfo", {'A', 'P', 'P', 'L'});
    FSRef shortBundle{dir / "Short.app"};
    EXPECT_FALSE(GetBundleInfo(&shortBundle, &type, &creator));
    EXPECT_EQ(type, 0u);
    Write(dir / "file", {1});
    FSRef file{dir / "file"};
    EXPECT_FALSE(GetBundleInfo(&file, &type, &creator));
    FSRef folder{dir.path()};
    EXPECT_FALSE(GetBundleInfo(&folder, &type, &creator));
}

TEST(CompatPorts, RectanglesOfTheRegionsAndNothingForNull)
{
    CGrafPtr port = CreateNewPort();
    ASSERT_NE(port, nullptr);
    GrafPtr saved;
    GetPort(&saved);
    SetPort(port);
    Rect clip{10, 20, 30, 40};
    ClipRect(&clip);
    Rect r{1, 1, 1, 1};
    GetPortClipRect(port, &r);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.bottom, 30);
    EXPECT_EQ(r.right, 40);
    Rect bounds;
    GetPortBounds(port, &bounds);
    GetPortVisibleRect(port, &r);
    EXPECT_EQ(r.bottom - r.top, bounds.bottom - bounds.top);
    EXPECT_EQ(r.right - r.left, bounds.right - bounds.left);

    Rect untouched{7, 7, 7, 7};
    GetPortVisibleRect(nullptr, &untouched);
    GetPortClipRect(nullptr, &untouched);
    EXPECT_EQ(untouched.top, 7);
    EXPECT_EQ(untouched.right, 7);
    GetPortVisibleRect(port, nullptr);
    {
        // No memory for the region: the rectangle is left as it was.
        platform::ScopedFault noMemory(platform::FaultKind::Allocation, 0, -1);
        GetPortVisibleRect(port, &untouched);
        GetPortClipRect(port, &untouched);
    }
    EXPECT_EQ(untouched.top, 7);
    EXPECT_EQ(untouched.right, 7);

    // Text at a point leaves the pen behind the text.
    myDrawTextNativeAt("abc", 3, 5, 12);
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.v, 12);
    EXPECT_GT(pen.h, 5);
    SetPort(saved);
    DisposePort(port);
}

}  // namespace
