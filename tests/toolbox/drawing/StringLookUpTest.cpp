#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/FourCC.h"
#include "tests/toolbox/drawing/ResFileFixture.h"
#include "toolbox/drawing/VMacResFile.h"

using namespace drawingtest;
using platform::FourCC;

namespace {

// Counts the look-ups that reach the file.
class CountingResFile : public VMacResFile {
public:
    using VMacResFile::VMacResFile;
    using VMacResFile::GetResource;
    char** GetResource(uint32_t type, int16_t id, uint8_t* loaded = nullptr) override
    {
        ++lookUps;
        return VMacResFile::GetResource(type, id, loaded);
    }
    int32_t lookUps = 0;
};

std::string MakeText(VResourceFile& file, const std::string& text)
{
    VStr<255> result;
    std::vector<uint8_t> p = PStr(text);
    file.MakeString(result, p.data());
    return Text(result);
}

}  // namespace

TEST_F(ResFiles, StringListIsWalkedWithOneLoad)
{
    CountingResFile file(app);
    VStr<255> s;
    const char* expected[] = {"one", "two", "three"};
    for (int16_t i = 1; i <= 3; ++i) {
        file.GetString(s, 130, i);
        EXPECT_EQ(Text(s), expected[i - 1]);
    }
    EXPECT_EQ(file.lookUps, 1);
    EXPECT_EQ(file.GetCachedStringListID(), 130);

    s.FromMacPString(PStr("stale").data());
    file.GetString(s, 130, 4);  // count + 1
    EXPECT_EQ(Text(s), "");
    file.GetString(s, 999, 1);  // no such list
    EXPECT_EQ(Text(s), "");
    EXPECT_EQ(file.GetCachedStringList(), nullptr);
}

// The count is a 16-bit word: items past 255 are found.
TEST_F(ResFiles, ListsOfMoreThan255ItemsCountInTwoBytes)
{
    std::vector<uint8_t> list = {0x01, 0x2C};  // 300
    for (int i = 1; i <= 300; ++i) {
        const std::string item = std::to_string(i);
        list.push_back(uint8_t(item.size()));
        list.insert(list.end(), item.begin(), item.end());
    }
    const int16_t ref = WriteAndOpen(dir / "long.rsrc", {{FourCC("STR#"), 140, false, "", 0, list}}, platform::fsRdPerm);
    ASSERT_NE(ref, -1);
    VMacResFile file(ref);
    VStr<255> s;
    for (int16_t i : {1, 200, 300}) {
        file.GetString(s, 140, i);
        EXPECT_EQ(Text(s), std::to_string(i));
    }
    file.GetString(s, 140, 301);
    EXPECT_EQ(Text(s), "");
}

TEST_F(ResFiles, SingleStringsAndStringReferences)
{
    VMacResFile file(app);
    VStr<255> s;
    file.GetString(s, 5, 0);
    EXPECT_EQ(Text(s), "single");
    EXPECT_EQ(MakeText(file, ":130,2"), "two");
    EXPECT_EQ(MakeText(file, ":5"), "single");
    EXPECT_EQ(MakeText(file, "plain text"), "plain text");
    EXPECT_EQ(MakeText(file, ":130,"), ":130,");
    EXPECT_EQ(MakeText(file, ":x"), ":x");
    EXPECT_EQ(MakeText(file, ":130,9"), "");
    EXPECT_EQ(MakeText(file, ""), "");
}

TEST_F(ResFiles, DamagedStringResourcesStayInside)
{
    VMacResFile file(app);
    VStr<255> s;
    file.GetString(s, 131, 1);  // "ba" claims 3 bytes, only 2 are there
    EXPECT_EQ(Text(s), "");
    file.GetString(s, 131, 9);
    EXPECT_EQ(Text(s), "");
    file.GetString(s, 6, 0);  // length 200 over 1 byte
    EXPECT_EQ(Text(s), "x");
}

TEST_F(ResFiles, ReleasedListIsLookedUpAgain)
{
    CountingResFile file(app);
    VStr<255> s;
    file.GetString(s, 130, 1);
    file.ReleaseResource(FourCC("STR#"), 130);
    EXPECT_EQ(file.GetCachedStringList(), nullptr);
    file.GetString(s, 130, 2);
    EXPECT_EQ(Text(s), "two");

    // Released straight through the platform, behind the file's back.
    platform::ReleaseResource(file.GetCachedStringList());
    file.GetString(s, 130, 3);
    EXPECT_EQ(Text(s), "three");
    EXPECT_EQ(file.lookUps, 3);
}
