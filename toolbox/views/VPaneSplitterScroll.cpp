// Pane splitter: scrolling the panes of a column and of a row together.
#include <algorithm>

#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"
#include "toolbox/views/VPaneSplitter.h"
#include "toolbox/views/VScrollBar.h"
#include "toolbox/views/VScrolledView.h"

void VPaneSplitter::Scroll(int32_t h, int32_t v, int16_t column, int16_t row, RedrawMode mode, bool adjustVertical)
{
    VSplittedPane* origin = FindPane(column, row);
    if (!origin) return;
    if (VScrolledView* view = origin->GetUserFrame(false)) {
        h = view->CallAdjustHAmount(h);
        if (adjustVertical) v = view->CallAdjustVAmount(v);
    }
    const RedrawMode barMode = mode == kRedrawNow ? kRedrawNone : mode;
    if (h != 0)
        if (VSplittedPane* last = FindPane(column, fRows))
            if (VScrollBar* bar = last->GetHScrollBar()) bar->SetScroll(bar->GetValue() + h, barMode);
    if (v != 0)
        if (VSplittedPane* last = FindPane(fColumns, row))
            if (VScrollBar* bar = last->GetVScrollBar()) bar->SetScroll(bar->GetValue() + v, barMode);

    // The column's panes, then the row's, each once.
    struct Step {
        VSplittedPane* pane;
        int32_t dh, dv;
    };
    std::vector<Step> steps;
    for (VSplittedPane* pane : fPanes) {
        const bool inColumn = h != 0 && pane->GetColumn() == column;
        const bool inRow = v != 0 && pane->GetRow() == row;
        if (inColumn || inRow) steps.push_back({pane, inColumn ? h : 0, inRow ? v : 0});
    }
    if (steps.empty()) return;

    if (mode != kRedrawNow) {
        for (const Step& s : steps) {
            VScrolledView* view = s.pane->GetUserFrame(false);
            const int32_t dh = view && s.dh ? view->CallAdjustHAmount(s.dh) : s.dh;
            const int32_t dv = view && s.dv && adjustVertical ? view->CallAdjustVAmount(s.dv) : s.dv;
            s.pane->DoScroll(dh, dv);
            s.pane->Redraw(mode);
        }
        return;
    }

    VPainter* painter = fScrollPainter;
    const bool own = painter == nullptr;
    if (own) {
        VRegion visible;
        GetVisibleRegion(visible);
        if (visible.IsEmpty()) {
            for (const Step& s : steps) s.pane->DoScroll(s.dh, s.dv);
            return;
        }
        painter = GetPainter();
        if (!painter) {
            for (const Step& s : steps) s.pane->DoScroll(s.dh, s.dv);
            return;
        }
        painter->SaveClip(false);
        visible.SetPos(visible.GetLeft() - fWindowX, visible.GetTop() - fWindowY);
        painter->ClipVRegion(visible, true);
        painter->BeginOffscreen(this);
    }
    VRegion update;
    if (!fFastScrolling) {
        for (const Step& s : steps) {
            s.pane->DoScroll(s.dh, s.dv);
            painter->AddOffset(s.pane->GetX(), s.pane->GetY());
            s.pane->DoPaintChildren(painter);
            painter->RestoreOffset();
            update.Add(VRect(s.pane->GetX(), s.pane->GetY(), s.pane->GetWidth(), s.pane->GetHeight()));
        }
        if (!update.IsEmpty()) painter->EndOffscreen(update, true);
    } else {
        const StdLook look = GetResolvedLook();
        for (const Step& s : steps) {
            VSplittedPane* pane = s.pane;
            // A scroll bar across the unscrolled direction keeps its pixels.
            for (int32_t i = 1; i <= pane->CountChildren(); ++i) {
                VFrame* child = pane->GetNthChild(i);
                if (!child->IsVisible()) continue;
                auto* bar = dynamic_cast<VScrollBar*>(child);
                if (bar && (bar->IsHorizontal() ? s.dh == 0 : s.dv == 0)) continue;
                child->SetScrollMark(true);
            }
            painter->AddOffset(pane->GetX(), pane->GetY());
            painter->SetLook(look);
            pane->DoFastScroll(painter, s.dh, s.dv);
            painter->RestoreOffset();
            for (int32_t i = 1; i <= pane->CountChildren(); ++i) {
                VFrame* child = pane->GetNthChild(i);
                if (!child->GetScrollMark()) continue;
                child->SetScrollMark(false);
                painter->AddOffset(pane->GetX() + child->GetX(), pane->GetY() + child->GetY());
                child->DoPaintChildren(painter);
                painter->RestoreOffset();
                const VRect r(pane->GetX() + child->GetX(), pane->GetY() + child->GetY(), child->GetWidth(),
                              child->GetHeight());
                update.Add(r);
                painter->EndOffscreen(r, true);
            }
        }
    }
    if (own) {
        painter->ForgetOffscreen();
        painter->RestoreClip();
        ReleasePainter();
    }
}
