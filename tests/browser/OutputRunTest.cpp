// The screenshots of the program's output run (run_output_demo.sh): after
// the export and the print, the menu bar Main, the menu File, the string
// list Invoice_Texts and the style Heading were shown in the preview pane.
// Each screenshot's preview area must hold that object's preview as its
// own operations draw it offscreen. Skipped when not given a run.
#include <cstdlib>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/documents/DocSupport.h"
#include "app/windows/TMainWindow.h"
#include "browser/CallPanes.h"
#include "browser/Panes.h"
#include "design/objects/ObjList.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Modes.h"
#include "platform/files/WholeFile.h"
#include "platform/imports/PngCodec.h"
#include "platform/windows/Windows.h"
#include "tests/browser/ProgramFixture.h"

using namespace platform;

namespace browsertest {
namespace {

class OutputScreens : public ProgramFixture {};

// The printed list's first page (pdftoppm at 72 dpi; the page rectangle
// 18 points in): the structure's documentation is empty, so the first ink
// below the header's line is the first object's heading, 30 points into
// the page rectangle, and no documentation rule (50 points in) stands alone
// above it.
TEST_F(OutputScreens, AnEmptyStructureDocumentationPrintsNothing)
{
    const char* work = std::getenv("QZ_OUTPUT_RUN");
    if (!work) GTEST_SKIP() << "checks the printed page of the output run";
    std::vector<uint8_t> bytes;
    PictPixels page;
    ASSERT_EQ(ReadWholeFile(std::string(work) + "/page1.png", &bytes), noErr);
    ASSERT_EQ(DecodePng(bytes.data(), bytes.size(), &page), ImageReadResult::Ok);
    const int32_t width = page.width(), height = page.height();
    auto dark = [&](int32_t h, int32_t v) { return (page.RGBAt(h, v) & 0xFF) < 0x80; };
    int32_t line = -1;
    for (int32_t v = 0; v < height && line < 0; ++v) {
        int32_t n = 0;
        for (int32_t h = 0; h < width; ++h) n += dark(h, v);
        if (n > width / 2) line = v;
    }
    ASSERT_GT(line, 0) << "the header's line";
    int32_t firstInk = -1;
    for (int32_t v = line + 1; v < height && firstInk < 0; ++v)
        for (int32_t h = 0; h < width && firstInk < 0; ++h)
            if ((page.RGBAt(h, v) & 0xFFFFFF) != 0xFFFFFF) firstInk = h;
    EXPECT_GE(firstInk, 18 + 30);
    EXPECT_LT(firstInk, 18 + 50);
}

TEST_F(OutputScreens, EachPreviewIsOnItsScreenshot)
{
    const char* work = std::getenv("QZ_OUTPUT_RUN");
    const char* demo = std::getenv("QZ_DEMO_STRUCTURE");
    if (!work || !demo) GTEST_SKIP() << "checks the screenshots of the output run";
    Open(demo);
    ASSERT_EQ(Read(), 0);
    MyAppl->fDefaultRect = DefaultWindowRect();
    Rect r = MyAppl->fDefaultRect;
    ASSERT_EQ(doc_.NewRefWindow(&r, 1, PrefWindowKind(), -1, 0), 0);
    TRefWindow* window = doc_.GetRefWindow();
    ASSERT_NE(window, nullptr);
    browser::TDisplayPlane* preview = nullptr;
    for (::TPlan* p = window->fFirstPlane; p; p = p->fNext)
        if (p->IsMember(6)) preview = static_cast<browser::TDisplayPlane*>(p);
    ASSERT_NE(preview, nullptr);
    MyApplFont = GetResFont(0);
    MyApplSize = GetResSize(0);
    Rect content{}, head{}, info{};
    preview->GetBox(&content, &head, &info);

    const struct {
        const char* shot;
        int16_t kind;
        const char* name;
    } cases[] = {{"menubar", 5, "Main"}, {"menu", 6, "File"}, {"strings", 11, "Invoice_Texts"}, {"style", 12, "Heading"}};
    for (const auto& c : cases) {
        std::vector<uint8_t> bytes;
        PictPixels shot;
        ASSERT_EQ(ReadWholeFile(std::string(work) + "/" + c.shot + ".png", &bytes), noErr);
        ASSERT_EQ(DecodePng(bytes.data(), bytes.size(), &shot), ImageReadResult::Ok);
        TObjQz* obj = Find(c.kind, c.name);
        ASSERT_NE(obj, nullptr) << c.name;
        // The preview drawn offscreen where the pane shows it.
        GWorldPtr world = nullptr;
        ASSERT_EQ(NewGWorld(&world, 32, &content, nullptr, nullptr, 0), 0);
        CGrafPtr savedPort;
        GDHandle savedDevice;
        GetGWorld(&savedPort, &savedDevice);
        SetGWorld(world, nullptr);
        EraseRect(&content);
        Handle display = nullptr;
        int16_t width = 0, height = 0, a = 0, b = 0, page = 1;
        ASSERT_EQ(obj->InitDisplay(&display, content, &width, &height, &a, &b, &page, false), 0);
        obj->Display(display, content);
        obj->DisposeDisplay(&display);
        SetGWorld(savedPort, savedDevice);
        const Surface drawn = MakeSurface(reinterpret_cast<const BitMap*>(*GetGWorldPixMap(world)));
        SetPortWindowPort(window->fWindow);
        int32_t inked = 0, differ = 0;
        // The first line: the preview's top 24 rows inside the pane's
        // edge lines.
        for (int16_t v = content.top; v < std::min<int16_t>(content.bottom, int16_t(content.top + 24)); ++v)
            for (int16_t h = int16_t(content.left + 1); h < content.right - 1; ++h) {
                Point global{v, h};
                LocalToGlobal(&global);
                const uint32_t want = drawn.ReadRGB(h, v) & 0xFFFFFF;
                inked += want != 0xFFFFFF;
                differ += want != (shot.RGBAt(global.h, global.v) & 0xFFFFFF);
            }
        EXPECT_EQ(differ, 0) << c.shot;
        EXPECT_GT(inked, 40) << c.shot;
        DisposeGWorld(world);
    }
}

}  // namespace
}  // namespace browsertest
