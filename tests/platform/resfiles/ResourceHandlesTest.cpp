// Handles that are no resource are refused by the calls for resources,
// and left as they are.
#include <gtest/gtest.h>

#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

namespace {

using namespace platform;

TEST(ResourceHandles, APlainHandleIsNeitherReleasedNorDetached)
{
    ResetResourceManager();
    Handle plain = NewHandle(4);
    ASSERT_NE(plain, nullptr);
    const size_t handles = LiveHandleCount();
    ReleaseResource(plain);
    EXPECT_EQ(ResError(), resNotFound);
    DetachResource(plain);
    EXPECT_EQ(ResError(), resNotFound);
    EXPECT_EQ(LiveHandleCount(), handles) << "the handle is still the caller's";
    EXPECT_EQ(GetHandleSize(plain), 4);
    DisposeHandle(plain);
}

}  // namespace
