// Clicks on the main list from a scripted mouse on a headless timeline.
#include <algorithm>
#include <memory>
#include <vector>

#include "app/longlist/LongListHooks.h"
#include "browser/CallPanes.h"
#include "browser/Panes.h"
#include "platform/drawing/Ports.h"
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

// Rows dragged within their document over a group row: that row alone is
// highlighted (inverted, or grey in a read-only document), and moving on to
// another row puts it back as it was.
TEST_F(Clicks, RowsDraggedOverAGroupRowHighlightItAlone)
{
    TObjQz* alpha = Make(4, "Alpha");
    TObjQz* beta = Make(4, "Beta");
    TGroupObjQz* group = Group("Grp", {});
    TLstPlane* pane = OpenList(Rect{0, 0, 100, 50});
    pane->SetDfltFilter(128);
    LongListHandle l = pane->fList;
    const int32_t a = browser::GetCellData(alpha, l), b = browser::GetCellData(beta, l),
                  g = browser::GetCellData(group, l);
    ASSERT_GE(std::min({a, b, g}), 0);
    LongLSetSelect(true, a, l);
    LongListRec* const dragging = G_LongListHdl;
    G_LongListHdl = l;
    auto pixels = [&](int32_t row) { return CellPixels(l, row); };
    auto over = [&](int32_t row) {
        const Point p = RowPoint(pane, row, 60), at = Global(p.h, p.v);
        run_.reset();
        run_ = std::make_unique<platform::testing::HeadlessRun>(platform::Script().Click(at.h, at.v).Wait(5));
        EventRecord e{};
        while (GetNextEvent(mUpMask, &e)) {
        }
        ASSERT_TRUE(platform::testing::NextEvent(mDownMask, &e));
        pane->DragCellSelect(true);
    };
    SetPortWindowPort(window_->fWindow);
    for (int32_t r = 0; r < l->rowCount; ++r) LongLDraw(r, l);
    const std::vector<uint32_t> plain = pixels(g);
    for (bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "writable");
        doc_.fReadOnly = readOnly;
        over(g);
        EXPECT_EQ(G_Cell, g);
        const std::vector<uint32_t> lit = pixels(g);
        size_t changed = 0;
        for (size_t i = 0; i < lit.size(); ++i) changed += lit[i] != plain[i];
        if (readOnly) {
            EXPECT_GT(changed, plain.size() / 4);
            EXPECT_LT(changed, plain.size() * 3 / 4);
        } else {
            EXPECT_EQ(changed, plain.size());
        }
        over(b);
        EXPECT_EQ(G_Cell, -1);
        EXPECT_TRUE(pixels(g) == plain);
        pane->DragCellSelect(false);
    }
    doc_.fReadOnly = false;

    // Dragged on into another pane: the list's highlight goes, and no pane
    // is the target.
    auto* other = new browser::TCalledPlane;
    ASSERT_EQ(other->ITPlane(Rect{0, 50, 100, 100}, window_, doc_.fTypeList, nullptr, 0), 0);
    window_->AddPlane(other);
    over(g);
    ASSERT_EQ(G_Plane, pane);
    const Point inside = Global(int16_t((other->fRect.left + other->fRect.right) / 2),
                                int16_t((other->fRect.top + other->fRect.bottom) / 2));
    EXPECT_TRUE(other->DragCell(inside));
    EXPECT_EQ(G_Plane, nullptr);
    EXPECT_EQ(G_Cell, -1);
    EXPECT_TRUE(pixels(g) == plain);
    G_LongListHdl = dragging;
}

}  // namespace
}  // namespace browsertest
