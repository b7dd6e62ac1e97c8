#include "kernel/helpers/KernelDialogs.h"

#include <gtest/gtest.h>

#include "kernel/handles/KernelHandles.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/dialogs/DialogRecord.h"
#include "platform/drawing/Ports.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"
#include "tests/platform/windows/WindowFixture.h"

using namespace platform;

namespace {

std::vector<uint8_t> DialogBytes(int16_t height, int16_t width, int32_t refCon)
{
    std::vector<uint8_t> b(22, 0);
    WriteBE16(&b[4], uint16_t(height));
    WriteBE16(&b[6], uint16_t(width));
    WriteBE16(&b[8], 1);  // a modal box
    b[10] = 0;            // made hidden
    WriteBE32(&b[14], uint32_t(refCon));
    WriteBE16(&b[18], 128);
    return b;  // an empty title and no position
}

std::vector<uint8_t> OneButton()
{
    std::vector<uint8_t> b = {0, 0, 0, 0, 0, 0, 0, 10, 0, 10, 0, 30, 0, 80, 4, 2, 'O', 'K'};
    return b;
}

class KernelDialogsTest : public platform::testing::WindowTest {
protected:
    void TearDown() override
    {
        ResetDialogManager();
        WindowTest::TearDown();
        ResetResourceManager();
    }
    void OpenDialogs(bool with5000, bool with6000)
    {
        ResourceFileImage image;
        image.resources.push_back(ResourceImage{FourCC("DLOG"), 128, false, "", 0, DialogBytes(100, 300, 128)});
        if (with5000)
            image.resources.push_back(ResourceImage{FourCC("DLOG"), 5128, false, "", 0, DialogBytes(110, 310, 5128)});
        if (with6000)
            image.resources.push_back(ResourceImage{FourCC("DLOG"), 6128, false, "", 0, DialogBytes(120, 320, 6128)});
        image.resources.push_back(ResourceImage{FourCC("DITL"), 128, false, "", 0, OneButton()});
        ASSERT_NE(OpenResFileImageBelow(image), -1);
    }
};

TEST_F(KernelDialogsTest, GetposdialogPrefersTheVersionForTheScreenAndCentresIt)
{
    struct Case {
        int16_t width, height;
        bool with5000, with6000;
        uintptr_t expected;
    };
    for (const Case c : {Case{1024, 768, true, true, 6128}, Case{700, 500, true, true, 5128},
                         Case{1024, 768, true, false, 5128}, Case{600, 400, true, true, 128}}) {
        SCOPED_TRACE(c.expected);
        ResetResourceManager();
        ASSERT_EQ(InitScreen(c.width, c.height), noErr);
        OpenDialogs(c.with5000, c.with6000);
        GrafPtr before = nullptr;
        GetPort(&before);
        erreure = -39;
        DialogRef d = getposdialog(128, nullptr, kFirstWindowOfClass);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(erreure, -39);
        GrafPtr after = nullptr;
        GetPort(&after);
        EXPECT_EQ(after, before);
        WindowRef w = GetDialogWindow(d);
        EXPECT_EQ(GetWRefCon(w), c.expected);
        EXPECT_TRUE(IsWindowVisible(w));
        EXPECT_EQ(FrontWindow(), w);
        Rect frame;
        GetWindowBounds(w, kWindowStructureRgn, &frame);
        EXPECT_EQ(frame.left, (c.width - (frame.right - frame.left)) / 2);
        EXPECT_EQ(frame.top, 20 + (c.height - 20 - (frame.bottom - frame.top)) / 3);
        DisposeDialog(d);
    }
    // Ids near the top do not wrap round to another dialog's.
    ResetResourceManager();
    ASSERT_EQ(InitScreen(1024, 768), noErr);
    ResourceFileImage high;
    high.resources.push_back(ResourceImage{FourCC("DLOG"), 30000, false, "", 0, DialogBytes(100, 300, 30000)});
    high.resources.push_back(ResourceImage{FourCC("DLOG"), int16_t(30000 + 6000 - 65536), false, "", 0,
                                           DialogBytes(100, 300, -1)});
    high.resources.push_back(ResourceImage{FourCC("DITL"), 128, false, "", 0, OneButton()});
    ASSERT_NE(OpenResFileImageBelow(high), -1);
    DialogRef top = getposdialog(30000, nullptr, kFirstWindowOfClass);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(GetWRefCon(GetDialogWindow(top)), 30000u);
    DisposeDialog(top);

    dontshowdialog = 1;
    DialogRef hidden = getposdialog(30000, nullptr, kFirstWindowOfClass);
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(IsWindowVisible(GetDialogWindow(hidden)));
    EXPECT_EQ(dontshowdialog, 0);
}

TEST_F(KernelDialogsTest, AttentionShowsTheMessageWithTheDefaultRingAndClosesOnOK)
{
    ASSERT_EQ(InitScreen(1024, 768), noErr);
    const int16_t app = OpenResFile(QZ_APP_RESOURCES, fsRdPerm, ResFileFork::Data);
    ASSERT_NE(app, -1);
    InitRoutineDescriptors();
    ASSERT_NE(gDefaultItemUPP, nullptr);
    std::string message;
    uint32_t ring = 1, outside = 0, above = 0, leftEdge = 1, curve = 1, corner = 0;
    HeadlessOptions options;
    options.screenshot = [&](const std::string&) {
        message = ExpandParams("^0");
        Rect content;
        GetWindowBounds(FrontWindow(), kWindowContentRgn, &content);
        // Item 1 is (96, 290)-(116, 360): the ring's top edge is at 92..94.
        ring = ScreenPixel(int16_t(content.left + 325), int16_t(content.top + 93));
        outside = ScreenPixel(int16_t(content.left + 325), int16_t(content.top + 90));
        above = ScreenPixel(int16_t(content.left + 325), int16_t(content.top + 91));
        leftEdge = ScreenPixel(int16_t(content.left + 287), int16_t(content.top + 106));
        // The rounded corner's top row starts five pixels in from the left.
        curve = ScreenPixel(int16_t(content.left + 291), int16_t(content.top + 92));
        corner = ScreenPixel(int16_t(content.left + 290), int16_t(content.top + 92));
        return noErr;
    };
    Script script;
    script.Wait(2).Screenshot("probe").Key("escape");
    script.Key("return");
    {
        platform::testing::HeadlessRun run(script, options);
        attention(platform::testing::PStr("Disk is full").get());
    }
    EXPECT_EQ(message, "Disk is full");
    EXPECT_EQ(ring, 0x000000u);
    EXPECT_EQ(outside, 0xFFFFFFu);
    EXPECT_EQ(above, 0xFFFFFFu);
    EXPECT_EQ(leftEdge, 0x000000u);
    EXPECT_EQ(curve, 0x000000u);
    EXPECT_EQ(corner, 0xFFFFFFu);
    EXPECT_EQ(FrontWindow(), nullptr);
    // Asked to keep the next dialog hidden, the message still shows and
    // can be answered.
    dontshowdialog = 1;
    platform::testing::HeadlessRun again(Script().Choose(1));
    attention(platform::testing::PStr("Again").get());
    EXPECT_EQ(GetWindowList(), nullptr);
    CloseResFile(app);
}

TEST(KernelDialogCallbacks, AreMadeOnceAndCached)
{
    ModalFilterUPP cache = nullptr;
    auto filter = [](DialogRef, EventRecord*, DialogItemIndex*) -> Boolean { return false; };
    ModalFilterUPP first = GetModalFilterUPP(filter, &cache);
    EXPECT_EQ(cache, first);
    EXPECT_EQ(GetModalFilterUPP(nullptr, &cache), first);
}

}  // namespace
