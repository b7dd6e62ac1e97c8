// The toolbox's own reads of the open resource files, without hooks: what
// they list, load and release.
#include <gtest/gtest.h>

#include <vector>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "tests/platform/files/TempFolder.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/system/ToolboxResources.h"

namespace {

using platform::FourCC;

void AddBytes(std::vector<uint8_t> bytes, uint32_t type, int16_t id)
{
    platform::Handle h = nullptr;
    ASSERT_EQ(platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size())), 0);
    platform::AddResource(h, type, id, nullptr);
    ASSERT_EQ(platform::ResError(), 0);
}

TEST(ToolboxResources, ListsLoadsAndReleasesThroughTheChain)
{
    platform::testing::TempFolder dir;
    platform::ResetResourceManager();
    SetToolboxResources({});
    const std::string path = dir / "res";
    platform::FSpCreateResFile(platform::FSSpec{path}, 0, 0, 0, platform::ResFileFork::Data);
    int16_t ref = platform::OpenResFile(path, platform::fsRdWrPerm, platform::ResFileFork::Data);
    ASSERT_GT(ref, 0);
    AddBytes({1, 2, 3}, FourCC("DATA"), 5);
    AddBytes({4}, FourCC("DATA"), 7);
    AddBytes({0, 2, 3, 'o', 'n', 'e', 3, 't', 'w', 'o'}, FourCC("STR#"), 128);
    platform::UpdateResFile(ref);
    platform::CloseResFile(ref);
    ref = platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data);
    ASSERT_GT(ref, 0);

    EXPECT_EQ(ToolboxResourceIDs(FourCC("DATA")), (std::vector<int16_t>{5, 7}));
    // Listing loads nothing and leaves loading on for the next reader.
    platform::Handle h = ToolboxGetResource(FourCC("DATA"), 5);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(platform::GetHandleSize(h), 3);

    size_t live = platform::LiveHandleCount();
    ToolboxReleaseResource(h);
    EXPECT_EQ(platform::LiveHandleCount(), live - 1);

    VStr<255> text;
    ToolboxGetString(text, 128, 2);
    EXPECT_EQ(text.GetLength(), 3);
    ToolboxGetString(text, 128, 1);
    EXPECT_EQ(text.GetCFString(), u"one");
    ToolboxGetString(text, 128, 0);
    EXPECT_EQ(text.GetLength(), 0);

    // An installed release goes instead of the platform's.
    static int32_t released = 0;
    ToolboxResources access;
    access.releaseResource = [](platform::Handle) { ++released; };
    SetToolboxResources(access);
    live = platform::LiveHandleCount();
    ToolboxReleaseResource(h);
    EXPECT_EQ(released, 1);
    EXPECT_EQ(platform::LiveHandleCount(), live);
    SetToolboxResources({});

    platform::CloseResFile(ref);
    platform::ResetResourceManager();
}

}  // namespace
