#include "platform/collections/Collections.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"

using namespace platform;

TEST(Collections, ItemsAreKeptByTagAndIdAndReplaced)
{
    Collection c = NewCollection();
    ASSERT_NE(c, nullptr);
    const char one[3] = {'a', 'b', 'c'};
    EXPECT_EQ(AddCollectionItem(c, FourCC("abcd"), 0, 3, one), noErr);
    EXPECT_EQ(AddCollectionItem(c, FourCC("abcd"), 1, 1, one + 2), noErr);
    EXPECT_EQ(AddCollectionItem(c, FourCC("abcd"), 0, 2, one + 1), noErr);  // replaces
    EXPECT_EQ(AddCollectionItem(c, FourCC("none"), 0, 0, nullptr), noErr);
    EXPECT_EQ(CountCollectionItems(c), 3);

    int32_t size = -1;
    char out[4] = {};
    EXPECT_EQ(GetCollectionItem(c, FourCC("abcd"), 0, &size, out), noErr);
    EXPECT_EQ(size, 2);
    EXPECT_EQ(std::string(out, 2), "bc");
    EXPECT_EQ(GetCollectionItem(c, FourCC("none"), 0, &size, out), noErr);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(GetCollectionItem(c, FourCC("abcd"), 2, &size, out), collectionItemNotFoundErr);
    EXPECT_EQ(AddCollectionItem(c, FourCC("bad "), 0, -1, one), paramErr);
    EXPECT_EQ(AddCollectionItem(c, FourCC("bad "), 0, 2, nullptr), paramErr);
    EXPECT_EQ(CountCollectionItems(c), 3);
    DisposeCollection(c);
    EXPECT_EQ(CountCollectionItems(nullptr), 0);
}
