// The screenshot of the program opened on the demo and its destination
// (run_transfer_demo.sh): both documents opened here as the program opens
// them give the two browser windows in the same places; each window's
// title bar on the program's screen must match the one composed here,
// pixel for pixel. Skipped when not given a run.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/documents/DocSupport.h"
#include "app/windows/TMainWindow.h"
#include "browser/CallPanes.h"
#include "browser/Panes.h"
#include "design/filters/ObjFilter.h"
#include "design/objects/TransferHooks.h"
#include "platform/drawing/Modes.h"
#include "platform/files/WholeFile.h"
#include "platform/imports/PngCodec.h"
#include "platform/screen/Screen.h"
#include "platform/windows/WindowRecord.h"
#include "tests/design/ReadFixture.h"
#include "tests/transfer/DemoPairFixture.h"
#include "transfer/InstallTransfer.h"

using namespace platform;

namespace transfertest {
namespace {

TEST_F(DemoPair, BothWindowsShowTheirTitlesWhereTheProgramPutThem)
{
    const char* work = std::getenv("QZ_DEMO_SCREENS");
    const char* pair = std::getenv("QZ_DEMO_PAIR");
    if (!work || !pair) GTEST_SKIP() << "checks the screenshot of the demo pair's run";
    const std::string paths(pair);
    const std::string demo = paths.substr(0, paths.find(':')), target = paths.substr(paths.find(':') + 1);
    std::vector<uint8_t> png;
    PictPixels shot;
    ASSERT_EQ(ReadWholeFile(std::string(work) + "/pair.png", &png), noErr);
    ASSERT_EQ(DecodePng(png.data(), png.size(), &shot), ImageReadResult::Ok);
    const Rect screen = ScreenBounds();
    ASSERT_EQ(shot.width(), screen.right - screen.left);
    ASSERT_EQ(shot.height(), screen.bottom - screen.top);

    TRefWindow* first = OpenAsProgram(&doc_, demo);
    TRefWindow* second = OpenAsProgram(&other_, target);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const Surface composed = MakeSurface(reinterpret_cast<const BitMap*>(ComposeScreen()));
    int32_t windows = 0;
    for (auto [window, name] : {std::pair{first, std::string("Demo.QzB")}, {second, std::string("DemoTarget.QzB")}}) {
        unsigned char title[256];
        GetWTitle(window->fWindow, title);
        const std::string text = readtest::P(title);
        EXPECT_EQ(text.substr(text.size() - name.size()), name);
        const Rect bar = TitleBarRect(*window->fWindow);
        ASSERT_GT(bar.right - bar.left, 100);
        int32_t differ = 0;
        for (int16_t v = bar.top; v < bar.bottom; ++v)
            for (int16_t h = bar.left; h < bar.right; ++h)
                if ((shot.RGBAt(h, v) & 0xFFFFFF) != (composed.ReadRGB(h, v) & 0xFFFFFF) && differ++ == 0)
                    ADD_FAILURE() << name << ": the title bar differs at (" << h - bar.left << ", " << v - bar.top
                                  << ")";
        EXPECT_EQ(differ, 0) << name;
        ++windows;
    }
    EXPECT_EQ(windows, 2);
}

}  // namespace
}  // namespace transfertest

namespace transfertest {
namespace {

std::vector<std::string> RowNames(const LongListRec* list)
{
    std::vector<std::string> names;
    for (int32_t r = 0; r < list->rowCount; ++r)
        names.push_back(readtest::P(static_cast<TObjQz*>(LongLRowObject(r, const_cast<LongListRec*>(list)))->name));
    return names;
}

// The demo's installed component, read as the program reads it: listed in
// the main list; of its members the lists may show the public and the
// protected one, never the private one; only the public one may be viewed.
TEST_F(DemoPair, TheInstalledComponentShowsItsPublicAndProtectedMembersOnly)
{
    // A copy: the build's demo is never opened, other tests copy it meanwhile.
    for (const auto& entry : std::filesystem::directory_iterator(std::string(QZ_BUILD_DIR) + "/demo")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("Demo.", 0) == 0 || name.rfind("._Demo.", 0) == 0)
            std::filesystem::copy_file(entry.path(), folder_ / name);
    }
    TRefWindow* window = OpenAsProgram(&doc_, folder_ / "Demo.QzB");
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = nullptr;
    for (::TPlan* p = window->fFirstPlane; p; p = p->fNext)
        if (p->IsMember(2)) main = static_cast<browser::TLstPlane*>(p);
    ASSERT_NE(main, nullptr);
    const std::vector<std::string> names = RowNames(main->fList);
    EXPECT_NE(std::find(names.begin(), names.end(), "Invoice_Reports"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "Report_Core"), names.end());
    const std::tuple<const char*, int16_t, bool, bool> members[] = {
        {"Report_Header", 36, true, true}, {"Report_Totals", 37, true, false}, {"Report_Core", 38, false, false}};
    IModuleManager* manager = doc_.fModuleManager;
    ASSERT_NE(manager, nullptr);
    auto* preview = dynamic_cast<browser::TDisplayPlane*>(main->fPreview);
    ASSERT_NE(preview, nullptr);
    for (auto [name, id, listed, viewable] : members) {
        TObjQz* method = Find(2, name);
        ASSERT_NE(method, nullptr) << name;
        EXPECT_EQ(ObjFilter(nullptr, method), listed) << name;
        EXPECT_EQ(manager->Visible(FourCC("CCQz"), id), listed) << name;
        EXPECT_EQ(manager->Viewable(FourCC("CCQz"), id), viewable) << name;
        // The preview shows a method's text only when it may be viewed;
        // else its name alone.
        main->ShowInPreview(method);
        EXPECT_EQ(preview->fObj, method) << name;
        EXPECT_EQ(preview->fDisplay != nullptr, viewable) << name;
    }
}

}  // namespace
}  // namespace transfertest
