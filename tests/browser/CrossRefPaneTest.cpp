// The where-used and uses panes following the main list, their clicks and
// head drag, the main list taking their rows, and the split bars.
#include <string>
#include <vector>

#include "platform/drawing/Rects.h"
#include "platform/events/Events.h"
#include "tests/browser/PanesFixture.h"

using namespace platform;

namespace browsertest {
namespace {

class CrossRef : public PanesFixture {
protected:
    // M calls N2, uses V, calls N1 (in that order); Q calls M.
    void Populate()
    {
        m_ = Make(2, "M", 1);
        n2_ = Make(2, "N2", 2);
        v_ = Make(9, "V", 0);
        n1_ = Make(2, "N1", 3);
        q_ = Make(2, "Q", 4);
        for (TObjQz* used : {n2_, v_, n1_}) ASSERT_EQ(XRef(m_, used), 0);
        ASSERT_EQ(XRef(q_, m_), 0);
    }
    EventRecord CmdKey(uint8_t code)
    {
        EventRecord e{};
        e.what = keyDown;
        e.message = code;
        e.modifiers = cmdKey;
        return e;
    }
    // The middle of a call pane's row, window-local.
    Point RowPoint(browser::TRefPlane* pane, int32_t row)
    {
        return Point{int16_t(pane->fList->rView.top + 16 * row + 8), int16_t(pane->fList->rView.left + 40)};
    }
    TObjQz *m_ = nullptr, *n1_ = nullptr, *n2_ = nullptr, *v_ = nullptr, *q_ = nullptr;
};

TEST_F(CrossRef, PanesFollowTheMainListSortedAndFiltered)
{
    Populate();
    OpenPanes();
    EXPECT_EQ(P(called_->fTitle), "Uses");
    EXPECT_EQ(P(calling_->fTitle), "Used by");

    main_->SelectObj(m_);
    EXPECT_EQ(Rows(calling_), (std::vector<std::string>{"Q"}));
    EXPECT_EQ(Rows(called_), (std::vector<std::string>{"N1", "N2", "V"}));

    // An enciphered object shows its users only.
    m_->SetFlag(kFlagCiphered, true);
    main_->SelectObj(m_);
    EXPECT_EQ(Rows(calling_), (std::vector<std::string>{"Q"}));
    EXPECT_TRUE(Rows(called_).empty());
    m_->SetFlag(kFlagCiphered, false);

    // No selection empties both; their filter names stay.
    main_->SelectObj(nullptr);
    EXPECT_TRUE(Rows(calling_).empty());
    EXPECT_TRUE(Rows(called_).empty());
    EXPECT_EQ(P(calling_->fFilterTitle), "All objects");

    // A pane left on a pseudo filter goes back to its default, its long
    // name cut to 80 characters; the default filter decides the rows.
    AddFilter(130, std::string(100, 'x'), FilterBytes(Kind(9)));
    called_->fDefaultFilter = 130;
    called_->fFilter = browser::kNarrowedFilter;
    main_->SelectObj(m_);
    EXPECT_EQ(called_->fFilter, 130);
    EXPECT_EQ(P(called_->fFilterTitle), std::string(80, 'x'));
    EXPECT_EQ(Rows(called_), (std::vector<std::string>{"V"}));
}

TEST_F(CrossRef, ADeletedObjectsListsAreDroppedByEveryWindowsPanes)
{
    Populate();
    OpenPanes();
    main_->SelectObj(m_);
    // A second window's where-used pane shows M's users, as a linked window
    // is given them.
    TRefWindow* other = NewWindow();
    extra_.push_back(other);
    auto* calling2 = Add<browser::TCallingPlane>(other, {0, 0, 100, 100});
    calling2->AddMenuFilter(128);
    calling2->SetFilter(128);
    other->CallingObj(m_);
    ASSERT_EQ(Rows(calling2), (std::vector<std::string>{"Q"}));

    doc_.DelObjMsg(m_);
    EXPECT_TRUE(Rows(calling2).empty());
    EXPECT_TRUE(Rows(calling_).empty());
    EXPECT_TRUE(Rows(called_).empty());
    // The object's lists go; refreshing reads nothing of them.
    m_->Unlink();
    FreeObjList(m_->usedBy);
    FreeObjList(m_->uses);
    m_->usedBy = m_->uses = nullptr;
    calling2->UpdateAll();
    calling_->UpdateAll();
    called_->UpdateAll();
    EXPECT_TRUE(Rows(calling2).empty());
}

TEST_F(CrossRef, CommandArrowsGiveTheMainListAPanesRowsKeepingOneSelection)
{
    Populate();
    OpenPanes();
    main_->SelectObj(m_);
    LongLSetSelect(true, 1, called_->fList);  // N2
    window_->key(CmdKey(30));
    EXPECT_EQ(Rows(main_), (std::vector<std::string>{"N1", "N2", "V"}));
    EXPECT_EQ(main_->fFilter, browser::kNarrowedFilter);
    EXPECT_EQ(P(main_->fFilterTitle), "Selected rows");
    EXPECT_EQ(main_->CurrentObject(), n2_);

    // The kept selection fills the panes with N2's links.
    EXPECT_EQ(Rows(calling_), (std::vector<std::string>{"M"}));
    window_->key(CmdKey(31));
    EXPECT_EQ(Rows(main_), (std::vector<std::string>{"M"}));
    // A null list changes nothing.
    main_->CopyList(nullptr);
    EXPECT_EQ(Rows(main_), (std::vector<std::string>{"M"}));
}

TEST_F(CrossRef, RowClicksPreviewSelectInTheMainListOrSelectTheOwner)
{
    Populate();
    auto* table = static_cast<TFileObjQz*>(Make(1, "Clients", 7));
    NewObjList(&table->members, 4);
    TObjQz* field = Owned(&table->members, 28, "Name", table);
    ASSERT_EQ(XRef(m_, field), 0);
    OpenPanes();
    main_->SelectObj(m_);
    const int32_t fieldRow = browser::GetCellData(field, called_->fList);
    const int32_t n1Row = browser::GetCellData(n1_, called_->fList);
    ASSERT_GE(fieldRow, 0);
    ASSERT_GE(n1Row, 0);

    // A double click shows the object in the preview.
    const Point n1 = RowPoint(called_, n1Row);
    const Point g = Global(n1);
    PlayPress(Script().DoubleClick(g.h, g.v));
    called_->Click(n1, 0);
    EventRecord e{};
    ASSERT_TRUE(platform::testing::NextEvent(mDownMask, &e));
    called_->Click(n1, 1);
    EXPECT_EQ(preview_->fObj, n1_);

    // Option-click selects it in the main list.
    PlayPress(Script().Wait(100).Click(g.h, g.v, optionKey));
    called_->Click(n1, 0);
    EXPECT_EQ(main_->CurrentObject(), n1_);

    // Control-click on a field selects its table; on an ownerless object
    // nothing more happens.
    main_->SetDfltFilter(128);
    main_->SelectObj(m_);
    const Point f = RowPoint(called_, browser::GetCellData(field, called_->fList));
    const Point gf = Global(f);
    PlayPress(Script().Wait(100).Click(gf.h, gf.v, controlKey));
    called_->Click(f, 0);
    EXPECT_EQ(main_->CurrentObject(), table);
    const Point gn = Global(RowPoint(called_, browser::GetCellData(n1_, called_->fList)));
    main_->SelectObj(m_);
    PlayPress(Script().Wait(100).Click(gn.h, gn.v, controlKey));
    called_->Click(RowPoint(called_, browser::GetCellData(n1_, called_->fList)), 0);
    EXPECT_EQ(main_->CurrentObject(), m_);

    // A click below the last row leaves nothing selected, and the command
    // that needs a selected row goes off.
    EXPECT_TRUE(browser::CommandEnabled(55));
    const Point below = RowPoint(called_, called_->fList->rowCount + 1);
    const Point gb = Global(below);
    PlayPress(Script().Wait(100).Click(gb.h, gb.v));
    called_->Click(below, 0);
    EXPECT_FALSE(LongLSel(called_->fList));
    EXPECT_FALSE(browser::CommandEnabled(55));

    // Without a preview pane a double click does nothing.
    called_->fPreviewPane = nullptr;
    preview_->SetObj(nullptr);
    PlayPress(Script().DoubleClick(g.h, g.v));
    called_->Click(n1, 0);
    ASSERT_TRUE(platform::testing::NextEvent(mDownMask, &e));
    called_->Click(n1, 1);
    EXPECT_EQ(preview_->fObj, nullptr);
}

TEST_F(CrossRef, TheHeadDroppedOnTheMainListsHeadGivesItTheRows)
{
    Populate();
    OpenPanes();
    main_->SelectObj(m_);
    Rect list{}, header{}, popUp{};
    called_->GetBox(&list, &header, &popUp);
    Rect mlist{}, mheader{}, mpopUp{};
    main_->GetBox(&mlist, &mheader, &mpopUp);
    const Point from{int16_t(header.top + 8), int16_t(header.left + 20)};
    called_->SelectPlane();
    // The outline of the dragged box leaves no pixel behind on its edge.
    Rect box{};
    UnionRect(&header, &popUp, &box);
    UnionRect(&box, &list, &box);
    const Rect edge{box.top, box.left, int16_t(box.top + 1), box.right};
    const std::vector<uint32_t> edgeBefore = Pixels(edge);
    const std::vector<uint32_t> before = Pixels(mheader);

    // Dropped elsewhere: nothing changes.
    const Point gFrom = Global(from);
    const Point gElsewhere = Global(Point{int16_t(mlist.top + 60), int16_t(mlist.left + 20)});
    PlayPress(Script().Drag(gFrom.h, gFrom.v, gElsewhere.h, gElsewhere.v, 10));
    called_->Click(from, 0);
    EXPECT_EQ(Rows(main_).size(), 5u);
    EXPECT_EQ(Pixels(mheader), before);

    const Point gTo = Global(Point{int16_t(mheader.top + 8), int16_t(mheader.left + 30)});
    PlayPress(Script().Drag(gFrom.h, gFrom.v, gTo.h, gTo.v, 10));
    called_->Click(from, 0);
    EXPECT_EQ(Rows(main_), (std::vector<std::string>{"N1", "N2", "V"}));
    EXPECT_EQ(P(main_->fFilterTitle), "Selected rows");
    EXPECT_FALSE(browser::G_HeadHilited);
    EXPECT_EQ(Pixels(edge), edgeBefore);
}

TEST_F(CrossRef, SplitBarsMoveByPercentAndKeepTheirDistances)
{
    Populate();
    OpenPanes();
    // The bar between the main list and the uses pane, 60 px right: 10 %.
    Rect left{}, top{};
    called_->GetSplitRect(&left, &top);
    ASSERT_EQ(left.left, 420);
    Point at{int16_t(left.top + 50), int16_t(left.left + 1)};
    Point g = Global(at);
    PlayPress(Script().Drag(g.h, g.v, int16_t(g.h + 60), g.v, 10));
    called_->Click(at, 0);
    EXPECT_EQ(main_->fLayout.right, 80);
    EXPECT_EQ(called_->fLayout.left, 80);
    EXPECT_EQ(called_->fRect.left, 480);

    // Far right: the bar stops 30 px before the window's edge.
    called_->GetSplitRect(&left, &top);
    at = Point{int16_t(left.top + 50), int16_t(left.left + 1)};
    g = Global(at);
    PlayPress(Script().Drag(g.h, g.v, int16_t(g.h + 110), g.v, 10));
    called_->Click(at, 0);
    EXPECT_EQ(called_->fRect.left, 570);
    EXPECT_EQ(main_->fLayout.right, called_->fLayout.left);

    // The top bar of side-by-side panes runs across the window: it moves
    // the preview's bottom and the others' tops, never above top + 35.
    called_->GetSplitRect(&left, &top);
    at = Point{int16_t(top.top + 1), int16_t(top.left + 20)};
    g = Global(at);
    PlayPress(Script().Drag(g.h, g.v, g.h, int16_t(g.v - 150), 10));
    called_->Click(at, 0);
    EXPECT_GE(called_->fRect.top, 35);
    EXPECT_EQ(preview_->fLayout.bottom, called_->fLayout.top);
    EXPECT_EQ(main_->fLayout.top, called_->fLayout.top);
    EXPECT_EQ(calling_->fLayout.top, called_->fLayout.top);
    EXPECT_LT(called_->fLayout.top, 40);
}

TEST_F(CrossRef, PreviewBarsKeepTheirDistanceFromThePortEdges)
{
    window_ = NewWindow();
    auto* list = Add<browser::TLstPlane>(window_, {0, 0, 100, 50}, doc_.fTypeList);
    preview_ = Add<browser::TDisplayPlane>(window_, {50, 50, 100, 100});
    (void)list;
    Rect left{}, top{};
    preview_->GetSplitRect(&left, &top);
    Point at{int16_t(left.top + 80), int16_t(left.left + 1)};
    Point g = Global(at);
    PlayPress(Script().Drag(g.h, g.v, int16_t(g.h - 290), g.v, 10));
    preview_->Click(at, 0);
    EXPECT_GE(preview_->fRect.left, 30);
    EXPECT_EQ(list->fLayout.right, preview_->fLayout.left);
    EXPECT_LT(preview_->fLayout.left, 50);

    preview_->GetSplitRect(&left, &top);
    at = Point{int16_t(top.top + 1), int16_t(top.left + 40)};
    g = Global(at);
    PlayPress(Script().Drag(g.h, g.v, g.h, int16_t(g.v - 190), 10));
    preview_->Click(at, 0);
    EXPECT_GE(preview_->fRect.top, 70);
    EXPECT_LT(preview_->fLayout.top, 50);
}

}  // namespace
}  // namespace browsertest
