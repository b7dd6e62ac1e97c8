// Clicks on the main list from a scripted mouse on a headless timeline.
#include <memory>

#include "app/longlist/LongListHooks.h"
#include "browser/Panes.h"
#include "platform/events/Events.h"
#include "tests/browser/BrowserFixture.h"
#include "tests/platform/events/HeadlessFixture.h"

using namespace platform;
using browser::TLstPlane;

namespace browsertest {
namespace {

class Clicks : public BrowserFixture {
protected:
    void SetUp() override
    {
        BrowserFixture::SetUp();
        browser::InstallBrowserPanes();
    }
    void TearDown() override
    {
        run_.reset();
        ResetLongListHooks();
        BrowserFixture::TearDown();
    }
    // The window's content starts at (10, 40) global.
    static Point Global(int16_t h, int16_t v) { return Point{int16_t(v + 40), int16_t(h + 10)}; }
    Point RowPoint(TLstPlane* pane, int32_t row, int16_t dh)
    {
        const Rect r = GetCellRect(row, pane->fList);
        return Point{int16_t(r.top + 8), int16_t(r.left + dh)};
    }
    // Gives the next scripted press to the pane, as the window would.
    bool Click(TLstPlane* pane)
    {
        EventRecord e{};
        while (GetNextEvent(mUpMask, &e)) {
        }
        EXPECT_TRUE(platform::testing::NextEvent(mDownMask, &e));
        SetPortWindowPort(window_->fWindow);
        Point p = e.where;
        GlobalToLocal(&p);
        return pane->Click(p, 0);
    }
    std::unique_ptr<platform::testing::HeadlessRun> run_;
};

TEST_F(Clicks, SelectionChangesAndTheTriangleOpensAGroup)
{
    Make(4, "Alpha");
    Make(4, "Beta");
    TObjQz* member = Make(4, "Gamma");
    TGroupObjQz* group = Group("Grp", {member});
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    ASSERT_EQ(pane->fList->rowCount, 3);
    const int32_t g = browser::GetCellData(group, pane->fList);

    const Point beta = RowPoint(pane, 1, 60), triangle = RowPoint(pane, g, 8);
    const Point b = Global(beta.h, beta.v), t = Global(triangle.h, triangle.v);
    const uint32_t pause = GetDblTime() + 5;
    run_ = std::make_unique<platform::testing::HeadlessRun>(platform::Script()
                                                      .Click(b.h, b.v)
                                                      .Wait(pause)
                                                      .Click(b.h, b.v)
                                                      .Wait(pause)
                                                      .Click(b.h, b.v, shiftKey)
                                                      .Wait(pause)
                                                      .Click(t.h, t.v)
                                                      .Wait(pause));
    EXPECT_TRUE(Click(pane));
    EXPECT_EQ(pane->fCurrent, 1);
    EXPECT_TRUE(pane->fSelChanged);
    // The selected row again, no modifier: nothing changed.
    Click(pane);
    EXPECT_FALSE(pane->fSelChanged);
    EXPECT_EQ(pane->fCurrent, 1);
    // The same with Shift counts as a new selection.
    Click(pane);
    EXPECT_TRUE(pane->fSelChanged);
    // The triangle opens the group: its member below, nothing selected anew.
    Click(pane);
    EXPECT_TRUE(IsOpenCell(g, pane->fList));
    EXPECT_EQ(LongLRowObject(g + 1, pane->fList), member);
    EXPECT_EQ(pane->fList->rowCount, 4);
    EXPECT_EQ(G_Plane, nullptr);
}

TEST_F(Clicks, CommandsFollowTheSelectionAndAClickInTheHeadIsThePanes)
{
    Make(4, "Alpha");
    Make(4, "Beta");
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    Rect list{}, header{}, popUp{};
    pane->GetBox(&list, &header, &popUp);
    const Point beta = RowPoint(pane, 1, 60), alpha = RowPoint(pane, 0, 60);
    const Point b = Global(beta.h, beta.v), a = Global(alpha.h, alpha.v);
    const Point h = Global(int16_t(header.left + 20), int16_t(header.top + 8));
    const uint32_t pause = GetDblTime() + 5;
    run_ = std::make_unique<platform::testing::HeadlessRun>(platform::Script()
                                                      .Click(b.h, b.v)
                                                      .Wait(pause)
                                                      .Click(a.h, a.v, shiftKey)
                                                      .Wait(pause)
                                                      .Click(h.h, h.v)
                                                      .Wait(pause));
    browser::DisableFunc(55);
    EXPECT_TRUE(Click(pane));
    EXPECT_TRUE(browser::CommandEnabled(55));
    // Two rows: no current object, the form commands off.
    browser::EnableFunc(75);
    browser::DisableFunc(55);
    EXPECT_TRUE(Click(pane));
    EXPECT_EQ(pane->CurrentObject(), nullptr);
    EXPECT_TRUE(browser::CommandEnabled(55));
    EXPECT_FALSE(browser::CommandEnabled(75));
    EXPECT_TRUE(Click(pane));
}

}  // namespace
}  // namespace browsertest
