// The demo's windows while memory runs out at one allocation after
// another, as the event loop runs the work: an editor whose window cannot
// be made, and list rows drawn short.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/appl/MemoryShort.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/longlist/LongList.h"
#include "platform/drawing/Ports.h"
#include "platform/menus/Menus.h"
#include "platform/windows/Windows.h"
#include "tests/platform/core/FailingNew.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "tests/transfer/DocumentWindowsFixture.h"

using namespace platform;

namespace transfertest {
namespace {

using Fixture = DocumentWindows;

class WindowsShortOfMemory : public Fixture {
protected:
    void TearDown() override
    {
        testfaults::StopFailingNew();
        Fixture::TearDown();
    }
    static std::string MemoryText()
    {
        unsigned char text[256];
        ErrorMessage(memFullErr, text);
        return readtest::P(text);
    }
    static int CountWindows()
    {
        int n = 0;
        for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w)) ++n;
        return n;
    }
    // The rows, and which are selected, the current one first.
    static std::vector<std::string> Selection(browser::TLstPlane* main)
    {
        std::vector<std::string> out = Rows(main);
        TObjQz* current = main->CurrentObject();
        out.push_back(current ? "current " + Key(current) : "no current");
        for (int32_t row = 0; row < main->fList->rowCount && LongLGetSelect(true, &row, main->fList); ++row)
            out.push_back("selected " + RowLine(main, row));
        return out;
    }
    // How many allocations the work makes, run once.
    template <class Work>
    static int64_t Allocations(Work work)
    {
        constexpr int64_t kMany = int64_t(1) << 40;
        testfaults::FailNthNew(kMany);
        work();
        const int64_t used = kMany - testfaults::gNewFault.countdown;
        testfaults::StopFailingNew();
        return used;
    }
    // Every allocation up to `all` when they are few, else that many
    // spread over them.
    static std::vector<int64_t> Points(int64_t count, int64_t most)
    {
        std::vector<int64_t> out;
        for (int64_t i = 0; i < std::min(count, most); ++i) out.push_back(count <= most ? i : i * count / most);
        return out;
    }
};

// The string-list editor asked for while memory runs out at each of its
// allocations, keys typed after the command: it opens whole and takes
// them, or the memory alert is said once and takes them, no window of the
// editor is left, and neither the browser's list nor the string list
// changes.
TEST_F(WindowsShortOfMemory, AStringListEditorThatCannotOpenSaysSoAndTheKeysChangeNothing)
{
    TMainDoc* doc = OpenDoc(InFolder("Demo.QzB"));
    ASSERT_NE(doc, nullptr);
    TRefWindow* browser = Windows(doc).front();
    const std::string held = Companion(doc, true), stored = Companion(doc, false);
    auto editor = [&]() -> TWindow* {
        for (TWindow* w = doc->fFirstWindow; w; w = w->fNextWindow)
            if (w->IsMember(4)) return w;
        return nullptr;
    };
    // The command as the loop runs it, then the keys typed meanwhile.
    auto open = [&](int64_t failAt) {
        platform::testing::HeadlessRun run(Script().Wait(5).Type("Card").Wait(5));
        if (failAt >= 0) testfaults::FailNthNew(failAt);
        RunCommand([&] { appl_->Do_Func(52); });
        if (failAt >= 0) testfaults::StopFailingNew();
        EventRecord e{};
        while (platform::testing::NextEvent(keyDownMask, &e, 50)) appl_->DoEvent(e);
    };
    auto fresh = [&] {
        if (TWindow* w = editor()) {
            doc->RemoveWindow(w);
            w->Dispose();
        }
        Select(Main(browser), {{11, "Invoice_Texts"}});
        ResetAlerts();
    };
    fresh();
    const int windows = CountWindows();
    const std::vector<std::string> before = Selection(Main(browser));
    const int64_t count = Allocations([&] { open(-1); });
    ASSERT_NE(editor(), nullptr);
    int refused = 0;
    for (const int64_t point : Points(count, 300)) {
        SCOPED_TRACE("allocation " + std::to_string(point) + " of " + std::to_string(count));
        fresh();
        open(point);
        if (TWindow* w = editor()) {
            EXPECT_NE(w->FindPlane(7), nullptr);
            EXPECT_TRUE(IsWindowVisible(w->fWindow));
        } else {
            ++refused;
            EXPECT_EQ(AlertCount(), 1);
            EXPECT_EQ(LastAlert().text, MemoryText());
            EXPECT_EQ(CountWindows(), windows);
            // A command undone reads the document again, which keeps no
            // selection.
            std::vector<std::string> cleared = Rows(Main(browser));
            cleared.push_back("no current");
            const std::vector<std::string> now = Selection(Main(browser));
            EXPECT_TRUE(now == before || now == cleared) << ::testing::PrintToString(now);
        }
        EXPECT_EQ(Companion(doc, true), held);
        EXPECT_EQ(Companion(doc, false), stored);
        if (HasFailure()) break;
    }
    EXPECT_GT(refused, 0);
}

// The File menu opened from the bar and left, memory running out at each
// allocation: no exception leaves the choosing, and where the menus
// closed for want of memory that is said once.
TEST_F(WindowsShortOfMemory, MenusClosedForWantOfMemorySaySoOnce)
{
    ASSERT_NE(OpenDoc(InFolder("Demo.QzB")), nullptr);
    Rect title{};
    ASSERT_TRUE(GetMenuTitleRect(GetMenuID(TheMenus[2]->menu), &title));
    const Point p{int16_t((title.top + title.bottom) / 2), int16_t((title.left + title.right) / 2)};
    auto choose = [&](int64_t failAt) {
        platform::testing::HeadlessRun run(
            Script().Press(p.h, p.v).Move(p.h, 300).Wait(2).Move(900, 700).Wait(2).Release());
        EventRecord e{};
        EXPECT_TRUE(platform::testing::NextEvent(mDownMask, &e));
        ResetAlerts();
        if (failAt >= 0) testfaults::FailNthNew(failAt);
        int32_t chosen = -1;
        EXPECT_NO_THROW(chosen = SelectFromMenuBar(e.where));
        if (failAt >= 0) testfaults::StopFailingNew();
        HiliteMenu(0);
        return chosen;
    };
    const int64_t count = Allocations([&] { choose(-1); });
    int said = 0;
    for (int64_t point = 0; point < count; ++point) {
        SCOPED_TRACE("allocation " + std::to_string(point) + " of " + std::to_string(count));
        EXPECT_EQ(choose(point), 0);
        EXPECT_LE(AlertCount(), 1);
        if (AlertCount() == 1) {
            EXPECT_EQ(LastAlert().text, MemoryText());
            ++said;
        }
        if (HasFailure()) break;
    }
    EXPECT_GT(said, 0);
}

// An update of the demo's list while memory runs out at one allocation
// after another: every row drawn short is drawn again at the next update,
// which leaves the list as a whole redraw does.
TEST_F(WindowsShortOfMemory, ARowDrawnShortIsDrawnWholeAtTheNextUpdate)
{
    TMainDoc* doc = OpenDoc(InFolder("Demo.QzB"));
    ASSERT_NE(doc, nullptr);
    TRefWindow* w = Windows(doc).front();
    // The whole window invalid, then an update as the loop serves it.
    auto invalidate = [&] {
        Rect all{};
        GetPortBounds(GetWindowPort(w->fWindow), &all);
        InvalWindowRect(w->fWindow, &all);
    };
    auto update = [&] {
        RunCommand([&] {
            SetPortWindowPort(w->fWindow);
            BeginUpdate(w->fWindow);
            w->update(EventRecord{});
            EndUpdate(w->fWindow);
        });
    };
    invalidate();
    update();
    const std::vector<uint32_t> whole = ListPixels(w);
    const int64_t count = Allocations([&] {
        invalidate();
        update();
    });
    ASSERT_GT(count, 0);
    for (const int64_t point : Points(count, 300)) {
        SCOPED_TRACE("allocation " + std::to_string(point) + " of " + std::to_string(count));
        invalidate();
        testfaults::FailNthNew(point);
        update();
        testfaults::StopFailingNew();
        update();
        EXPECT_TRUE(ListPixels(w) == whole);
        if (HasFailure()) break;
    }
}

}  // namespace
}  // namespace transfertest
