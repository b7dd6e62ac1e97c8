#include <gtest/gtest.h>

#include "platform/core/FourCC.h"
#include "toolbox/drawing/VClipScrap.h"

using platform::FourCC;

namespace {

TEST(ClipScrap, HoldsTextAndPicturesAndRegistersEachKindOnce)
{
    VClipScrap scrap;
    ASSERT_EQ(scrap.CountKinds(), 2);
    EXPECT_EQ(scrap.GetKind(1), FourCC("TEXT"));
    EXPECT_EQ(scrap.GetKind(2), FourCC("PICT"));
    EXPECT_TRUE(scrap.AddKind(FourCC("TEXT")));
    EXPECT_TRUE(scrap.AddKind(FourCC("styl")));
    EXPECT_EQ(scrap.CountKinds(), 3);
    EXPECT_TRUE(scrap.HasKind(FourCC("styl")));
    EXPECT_FALSE(scrap.HasKind(FourCC("snd ")));

    MakeStartupScrap();
    VClipScrap* first = gScrap;
    ASSERT_NE(first, nullptr);
    MakeStartupScrap();
    EXPECT_EQ(gScrap, first) << "made once";
    delete gScrap;
    gScrap = nullptr;
}

}  // namespace

namespace {

// The menus ask once whether menus keep properties: they do, so a menu can
// carry a pointer-sized link to its object.
TEST(ClipScrap, MenusFindPropertySupport)
{
    VMenu::Init();
    EXPECT_TRUE(VMenu::HasMenuFeature());
}

}  // namespace
