#include <gtest/gtest.h>

#include <cstring>

#include "platform/core/Memory.h"
#include "toolbox/drawing/VImageData.h"
#include "toolbox/foundation/VEngine.h"

namespace {

platform::Handle Picture(const char* bytes)
{
    platform::Handle h = platform::NewHandle(platform::Size(std::strlen(bytes)));
    if (h) std::memcpy(*h, bytes, std::strlen(bytes));
    return h;
}

TEST(ImageData, TheEngineTakesOrCopiesOnlyPictures)
{
    InstallImageDataAccess();

    VImageData copied(Picture("PICT"), kImageKindPicture);
    platform::Handle copy = VEngine::GetMacPicture(copied, true, false);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, copied.GetPicture()) << "the caller owns a copy";
    ASSERT_EQ(platform::GetHandleSize(copy), 4);
    EXPECT_EQ(std::memcmp(*copy, "PICT", 4), 0);
    platform::DisposeHandle(copy);
    EXPECT_NE(copied.GetPicture(), nullptr) << "the value keeps its own";

    VImageData taken(Picture("PICT"), kImageKindPicture);
    platform::Handle own = taken.GetPicture();
    EXPECT_EQ(VEngine::GetMacPicture(taken, false, false), own);
    EXPECT_EQ(taken.GetPicture(), nullptr) << "given up: not disposed twice";
    platform::DisposeHandle(own);

    VImageData other(Picture("JPEG"), 2);
    EXPECT_EQ(VEngine::GetMacPicture(other, false, false), nullptr);
    EXPECT_NE(other.GetPicture(), nullptr);
    VImageData empty;
    EXPECT_EQ(VEngine::GetMacPicture(empty, true, false), nullptr);

    SetImageDataAccess({});
    VImageData unread(Picture("PICT"), kImageKindPicture);
    EXPECT_EQ(VEngine::GetMacPicture(unread, false, false), nullptr) << "no drawing layer: nothing to read";
}

}  // namespace
