// The bars between the panes of the browser layout (the list at the left;
// the uses, used-by and preview panes stacked at the right) and of two
// other layouts dragged past both ends of their range, through the step
// language: each moves every pane edge on its line and stops where a pane
// would become smaller than its least size (a list still scrolls there),
// and the window then looks exactly like a window of the same layout
// drawn afresh.
#include <algorithm>
#include <functional>

#include "tests/browser/PanesFixture.h"

using namespace platform;

namespace browsertest {
namespace {

class SplitBars : public PanesFixture {
protected:
    // The panes of a window with the program's first browser layout.
    struct Layout {
        Rect main{0, 0, 100, 50}, uses{0, 50, 50, 100}, usedBy{50, 50, 75, 100}, preview{75, 50, 100, 100};
    };

    TRefWindow* Open(const Layout& l)
    {
        TRefWindow* w = NewWindow();
        // Added last, the main list is the window's current pane.
        auto* preview = Add<browser::TDisplayPlane>(w, l.preview);
        auto* usedBy = Add<browser::TCallingPlane>(w, l.usedBy);
        auto* uses = Add<browser::TCalledPlane>(w, l.uses);
        auto* main = Add<browser::TLstPlane>(w, l.main, doc_.fTypeList);
        for (browser::TRefPlane* p : {static_cast<browser::TRefPlane*>(main), static_cast<browser::TRefPlane*>(usedBy),
                                      static_cast<browser::TRefPlane*>(uses)}) {
            p->AddMenuFilter(128);
            p->SetFilter(128);
        }
        main->SetLinks(0, uses, 0, usedBy, 0, preview);
        usedBy->SetLinks(0, main, 0, nullptr, 0, preview);
        uses->SetLinks(0, main, 0, nullptr, 0, preview);
        usedBy->SetDfltFilter(128);
        uses->SetDfltFilter(128);
        main->SetDfltFilter(128);
        return w;
    }

    static Layout LayoutOf(TRefWindow* w)
    {
        Layout l;
        for (::TPlan* p = w->fFirstPlane; p; p = p->fNext) {
            auto* pane = dynamic_cast<browser::TPlan*>(p);
            Rect& r = pane->IsMember(2) ? l.main : pane->IsMember(4) ? l.usedBy : pane->IsMember(5) ? l.uses : l.preview;
            r = pane->fLayout;
        }
        return l;
    }

    // The window drawn as an update draws it.
    void Draw(TRefWindow* w)
    {
        EventRecord e{};
        BeginUpdate(w->fWindow);
        w->update(e);
        EndUpdate(w->fWindow);
    }
};

TEST_F(SplitBars, EachBarStaysInItsRangeAndLeavesNoPixelOfTheOldLayout)
{
    for (int i = 0; i < 60; ++i) Make(i % 2 ? 2 : 4, "Object" + std::to_string(100 + i));
    struct Case {
        const char* what;
        int pane;  // 0 uses, 1 used by, 2 preview, 3 main
        bool top;  // the top bar, else the left one
        int16_t distance;
        // The layout edge the bar is: where it must end.
        std::function<bool(const Layout&)> expected;
        Layout start{};
    };
    // The list between its used-by pane above and its uses pane below.
    Layout stacked;
    stacked.usedBy = {0, 0, 30, 50};
    stacked.main = {30, 0, 70, 50};
    stacked.uses = {70, 0, 100, 50};
    stacked.preview = {0, 50, 100, 100};
    // The preview across the top, the three lists side by side below it.
    Layout sideBySide;
    sideBySide.preview = {0, 0, 30, 100};
    sideBySide.usedBy = {30, 0, 100, 33};
    sideBySide.main = {30, 33, 100, 66};
    sideBySide.uses = {30, 66, 100, 100};
    // The port is 600 x 400: 1 % is 6 pixels across, 4 down. A list keeps
    // 75 pixels of height, three rows and its scroll bar (the bottom one 14
    // more, beside the grow box), the preview 35 (15 more beside the grow
    // box), every pane 30 of width.
    const auto column = [](int16_t x) {
        return [x](const Layout& l) {
            return l.main.right == x && l.uses.left == x && l.usedBy.left == x && l.preview.left == x;
        };
    };
    const std::vector<Case> cases = {
        {"used-by top bar up to the top", 1, true, -300,
         [](const Layout& l) { return l.usedBy.top == 19 && l.uses.bottom == 19 && l.preview.top == 75; }},
        {"used-by top bar down to the bottom", 1, true, 300,
         [](const Layout& l) { return l.usedBy.top == 56 && l.uses.bottom == 56 && l.preview.top == 75; }},
        {"used-by left bar to the left edge", 1, false, -300, column(5)},
        {"uses left bar to the left edge", 0, false, -500, column(5)},
        {"uses left bar to the right edge", 0, false, 500, column(95)},
        {"preview top bar up to the top", 2, true, -500,
         [](const Layout& l) { return l.preview.top == 69 && l.usedBy.bottom == 69 && l.usedBy.top == 50
                                    && l.preview.bottom == 100 && l.uses.bottom == 50 && l.main.bottom == 100; }},
        {"preview top bar down to the bottom", 2, true, 500,
         [](const Layout& l) { return l.preview.top == 87 && l.usedBy.bottom == 87 && l.preview.bottom == 100
                                    && l.uses.bottom == 50 && l.main.bottom == 100; }},
        {"preview left bar to the right edge", 2, false, 500, column(95)},
        {"stacked list's top bar 40 pixels down", 3, true, 40,
         [](const Layout& l) { return l.main.top == 40 && l.usedBy.bottom == 40 && l.uses.top == 70; }, stacked},
        {"stacked list's top bar up past its range", 3, true, -300,
         [](const Layout& l) { return l.main.top == 19 && l.usedBy.bottom == 19; }, stacked},
        {"stacked list's top bar down past its range", 3, true, 300,
         [](const Layout& l) { return l.main.top == 51 && l.usedBy.bottom == 51 && l.uses.top == 70; }, stacked},
        {"stacked preview's left bar to the left edge", 2, false, -500,
         [](const Layout& l) { return l.preview.left == 5 && l.main.right == 5 && l.uses.right == 5
                                    && l.usedBy.right == 5; }, stacked},
        {"bar under a preview across the top, up", 1, true, -300,
         [](const Layout& l) { return l.preview.bottom == 9 && l.usedBy.top == 9 && l.main.top == 9 && l.uses.top == 9; },
         sideBySide},
        {"bar under a preview across the top, down", 3, true, 300,
         [](const Layout& l) { return l.preview.bottom == 77 && l.usedBy.top == 77 && l.main.top == 77
                                    && l.uses.top == 77; }, sideBySide},
        {"middle list's left bar, right", 3, false, 300,
         [](const Layout& l) { return l.usedBy.right == 61 && l.main.left == 61 && l.main.right == 66
                                    && l.preview.left == 0; }, sideBySide},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TRefWindow* w = Open(c.start);
        extra_.push_back(w);
        Draw(w);
        browser::TPlan* pane = nullptr;
        for (::TPlan* p = w->fFirstPlane; p; p = p->fNext)
            if (p->IsMember(c.pane == 0 ? 5 : c.pane == 1 ? 4 : c.pane == 2 ? 6 : 2)) pane = dynamic_cast<browser::TPlan*>(p);
        ASSERT_NE(pane, nullptr);
        Rect left{}, top{};
        pane->GetSplitRect(&left, &top);
        const Rect& bar = c.top ? top : left;
        const Point from = Global(Point{int16_t(bar.top + (bar.bottom - bar.top) / 2), int16_t(bar.left + (bar.right - bar.left) / 2)}, w);
        // Released inside the window: a drop outside it cancels the drag.
        const Point corner = Global(Point{2, 2}, w), far = Global(Point{397, 597}, w);
        const Point to{int16_t(std::clamp<int>(from.v + (c.top ? c.distance : 0), corner.v, far.v)),
                       int16_t(std::clamp<int>(from.h + (c.top ? 0 : c.distance), corner.h, far.h))};
        PlayPress(Script().Drag(from.h, from.v, to.h, to.v, 20).Wait(10));
        EventRecord e{};
        e.what = mouseDown;
        e.where = from;
        w->Click(e, 0);
        const Layout after = LayoutOf(w);
        EXPECT_TRUE(c.expected(after)) << "uses " << after.uses.left << "/" << after.uses.bottom << ", used by "
                                       << after.usedBy.top << "/" << after.usedBy.left << "/" << after.usedBy.right
                                       << ", preview " << after.preview.top << "/" << after.preview.left << "/"
                                       << after.preview.bottom << ", main " << after.main.top << "/"
                                       << after.main.left << "/" << after.main.right;
        // No pane is made smaller than its least size: a list still shows
        // its scroll bar.
        for (::TPlan* p = w->fFirstPlane; p; p = p->fNext) {
            const Rect& r = dynamic_cast<browser::TPlan*>(p)->fRect;
            EXPECT_GE(r.bottom - r.top, p->IsMember(6) ? 35 : 75) << "pane of class " << (p->IsMember(6) ? 6 : 1);
            EXPECT_GE(r.right - r.left, 30);
            if (auto* list = dynamic_cast<browser::TRefPlane*>(p)) {
                EXPECT_TRUE(IsControlVisible(list->fList->vScroll));
            }
        }
        Rect port{};
        GetPortBounds(GetWindowPort(w->fWindow), &port);
        const std::vector<uint32_t> dragged = Pixels(port, w);

        // The same layout in a window of its own, laid out as a resize
        // lays it out (a list too short for its scroll bar hides it) and
        // drawn once.
        TRefWindow* fresh = Open(after);
        extra_.push_back(fresh);
        for (::TPlan* p = fresh->fFirstPlane; p; p = p->fNext) p->Resize();
        Draw(fresh);
        const std::vector<uint32_t> drawn = Pixels(port, fresh);
        size_t differ = 0;
        for (size_t i = 0; i < drawn.size(); ++i) differ += drawn[i] != dragged[i];
        EXPECT_EQ(differ, 0u) << "pixels that differ from a fresh drawing";
    }
}

}  // namespace
}  // namespace browsertest
