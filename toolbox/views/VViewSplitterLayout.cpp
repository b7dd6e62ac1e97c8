// View splitter: placing the scrolled view, its edge and corner frames,
// gadgets, scroll bars and split areas; a split node's panes; scrolling
// the edge frames along with the view.
#include <algorithm>

#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/views/VScrollBar.h"
#include "toolbox/views/VScrolledView.h"
#include "toolbox/views/VViewSplitter.h"

namespace {

constexpr int32_t kParked = -1000;

bool Shown(const VFrame* frame) { return frame && frame->GetVisibleFlag(); }

void Park(VFrame* frame)
{
    if (!frame) return;
    frame->SetPos(kParked, kParked, kRedrawNone);
    frame->SetSize(0, 0, kRedrawNone);
}

void Place(VFrame* frame, int32_t x, int32_t y, int32_t w, int32_t h)
{
    if (!frame) return;
    frame->SetPos(x, y, kRedrawNone);
    frame->SetSize(std::max(0, w), std::max(0, h), kRedrawNone);
}

// A corner's size from the top or bottom size e and the side size s met
// there, by the corner's mode; false: no corner.
bool CornerSize(uint8_t mode, int32_t e, int32_t s, int32_t& w, int32_t& h)
{
    w = h = 0;
    switch (mode) {
    case 0:
        if (!e) return false;
        w = s ? s : e;
        h = e;
        return true;
    case 1:
        if (!s) return false;
        w = s;
        h = e ? e : s;
        return true;
    case 2:
        if (!e || s) return false;
        w = h = e;
        return true;
    case 3:
        if (!s || e) return false;
        w = h = s;
        return true;
    case 4:
        if (!e && !s) return false;
        w = s ? s : e;
        h = e ? e : s;
        return true;
    case 5:
        if (!e || !s) return false;
        w = s;
        h = e;
        return true;
    default:
        return false;
    }
}

// The scroll bar's range from the view, enabled only when there is
// something to scroll.
void FeedBar(VScrollBar* bar, int32_t pos, int32_t max, int32_t page)
{
    if (!bar) return;
    if (max != 0) {
        bar->SetEnabled(true, kRedrawInval);
        bar->SetRange(page, kRedrawInval);
        bar->SetMax(max, kRedrawInval);
        bar->SetScroll(pos, kRedrawInval);
    } else {
        bar->SetEnabled(false, kRedrawInval);
    }
}

}  // namespace

void VViewSplitter::ResetSize(RedrawMode mode)
{
    if (fBar)
        LayOutSplit(mode);
    else
        LayOutLeaf(mode);
}

void VViewSplitter::LayOutLeaf(RedrawMode mode)
{
    if (!fUserFrame) return;
    const int32_t W = fWidth, H = fHeight;
    const int32_t T = Shown(fTop) ? fTop->GetHeight() : 0;
    const int32_t L = Shown(fLeft) ? fLeft->GetWidth() : 0;
    const int32_t B = Shown(fBottom) ? fBottom->GetHeight() : 0;
    const int32_t R = Shown(fRight) ? fRight->GetWidth() : 0;
    const int32_t h = fHBar ? fHBar->GetHeight() : 0;
    const int32_t v = fVBar ? fVBar->GetWidth() : 0;
    const int32_t BG = Shown(fBottomGadget) ? fBottomGadget->GetWidth() : 0;
    const int32_t RG = Shown(fRightGadget) ? fRightGadget->GetHeight() : 0;

    fHasGrowIcon = HasGrowIcon();
    int32_t grow = 0;
    if (h != v && fHasGrowIcon) {
        VLookHandler* look = GetLookHandler();
        grow = look ? look->GetStdBehaviour(fAlternate ? 5 : 2) : 0;
    }

    const int32_t viewW = std::max(0, W - v - L - R);
    const int32_t viewH = std::max(0, H - h - T - B);
    fUserFrame->SetPos(L, T, kRedrawNone);
    fUserFrame->SetSize(viewW, viewH, kRedrawNone);
    int32_t vPos = 0, vMax = 0, vPage = 0, hPos = 0, hMax = 0, hPage = 0;
    fUserFrame->UpdateVScrollParms(&vPos, &vMax, &vPage);
    fUserFrame->UpdateHScrollParms(&hPos, &hMax, &hPage);

    if (fVBar)
        Place(fRightGadget, W - v, 0, v, RG);
    else
        Park(fRightGadget);
    if (fHBar)
        Place(fBottomGadget, 0, H - h, BG, h);
    else
        Park(fBottomGadget);
    if (fHBar && fVBar)
        Place(fBottomRightGadget, W - v, H - h, v, h);
    else
        Park(fBottomRightGadget);

    if (fVBar) {
        int32_t area = 0;
        if (fVArea) {
            if (fMinHeight != -1 && H / 2 <= fMinHeight) {
                Park(fVArea);
            } else {
                area = kSplitBarSize;
                Place(fVArea, W - v, RG, v, area);
            }
        }
        fVBar->SetPos(W - v, RG + area, kRedrawNone);
        fVBar->SetSize(v, std::max(0, H - grow - area - h - RG + (fHBar ? 1 : 0)), kRedrawNone);
        FeedBar(fVBar, vPos, vMax, vPage);
    }
    if (fHBar) {
        int32_t area = 0;
        if (fHArea) {
            if (fMinWidth != -1 && W / 2 <= fMinWidth) {
                Park(fHArea);
            } else {
                area = kSplitBarSize;
                // After the bottom gadget, as the vertical area follows
                // the right gadget: the two never overlap.
                Place(fHArea, BG, H - h, area, h);
            }
        }
        fHBar->SetPos(area + BG, H - h, kRedrawNone);
        fHBar->SetSize(std::max(0, W - grow - area - v - BG + (fVBar ? 1 : 0)), h, kRedrawNone);
        FeedBar(fHBar, hPos, hMax, hPage);
    }

    // Corners: placed at their own corner of the view's frame ring.
    struct Corner {
        VFrame* frame;
        SplitterCorner which;
        int32_t e, s;
    };
    const Corner corners[4] = {{fTopLeft, kCornerTopLeft, T, L},
                               {fTopRight, kCornerTopRight, T, R},
                               {fBottomLeft, kCornerBottomLeft, B, L},
                               {fBottomRight, kCornerBottomRight, B, R}};
    int32_t cw[4] = {0, 0, 0, 0}, ch[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        const Corner& c = corners[i];
        if (!Shown(c.frame)) continue;
        if (!CornerSize(fCornerModes[c.which], c.e, c.s, cw[i], ch[i])) {
            cw[i] = ch[i] = 0;
            Park(c.frame);
            continue;
        }
        const bool right = c.which == kCornerTopRight || c.which == kCornerBottomRight;
        const bool bottom = c.which == kCornerBottomLeft || c.which == kCornerBottomRight;
        Place(c.frame, right ? W - v - cw[i] : 0, bottom ? T + viewH : 0, cw[i], ch[i]);
    }

    const int32_t topX1 = fLeft && Shown(fLeft) ? L : cw[kCornerTopLeft];
    const int32_t topX2 = fRight && Shown(fRight) ? R : cw[kCornerTopRight];
    const int32_t botX1 = fLeft && Shown(fLeft) ? L : cw[kCornerBottomLeft];
    const int32_t botX2 = fRight && Shown(fRight) ? R : cw[kCornerBottomRight];
    const int32_t leftY1 = Shown(fTop) ? T : ch[kCornerTopLeft];
    const int32_t leftY2 = Shown(fBottom) ? B : ch[kCornerBottomLeft];
    const int32_t rightY1 = Shown(fTop) ? T : ch[kCornerTopRight];
    const int32_t rightY2 = Shown(fBottom) ? B : ch[kCornerBottomRight];

    auto followH = [&](VFrame* frame) {
        if (!frame->IsAScrolledView()) return;
        auto* sv = static_cast<VScrolledView*>(frame);
        sv->SetVirtualWidth(fUserFrame->GetVirtualWidth(), false, kRedrawNone);
        sv->SetVirtualX(fUserFrame->GetVirtualX(), false, kRedrawNone);
    };
    auto followV = [&](VFrame* frame) {
        if (!frame->IsAScrolledView()) return;
        auto* sv = static_cast<VScrolledView*>(frame);
        sv->SetVirtualHeight(fUserFrame->GetVirtualHeight(), false, kRedrawNone);
        sv->SetVirtualY(fUserFrame->GetVirtualY(), false, kRedrawNone);
    };
    if (Shown(fTop)) {
        Place(fTop, topX1, 0, W - topX1 - v - topX2, T);
        followH(fTop);
    }
    if (Shown(fBottom)) {
        Place(fBottom, botX1, T + viewH, W - botX1 - v - botX2, B);
        followH(fBottom);
    }
    if (Shown(fLeft)) {
        Place(fLeft, 0, leftY1, L, H - leftY1 - h - leftY2);
        followV(fLeft);
    }
    if (Shown(fRight)) {
        Place(fRight, L + viewW, rightY1, R, H - rightY1 - h - rightY2);
        followV(fRight);
    }

    if (IsVisible() && !IsHidden()) Redraw(mode);
}

void VViewSplitter::LayOutSplit(RedrawMode mode)
{
    fHasGrowIcon = false;
    if (!fFirst || !fSecond) return;
    const int32_t total = fStacked ? fHeight : fWidth;
    const int32_t l1 = std::max(0, fStacked ? fFirst->GetHeight() : fFirst->GetWidth());
    const int32_t l2 = std::max(0, fStacked ? fSecond->GetHeight() : fSecond->GetWidth());
    const int64_t old = int64_t(l1) + l2 + kSplitBarSize;
    int64_t first = l1 + ((int64_t(total) - old) * l1) / old;
    // Neither pane below 0: the first at most what leaves room for the bar.
    first = std::clamp<int64_t>(first, 0, std::max<int64_t>(0, total - kSplitBarSize));
    const int32_t n1 = int32_t(first);
    const int32_t n2 = std::max(0, total - n1 - kSplitBarSize);
    if (fStacked) {
        Place(fFirst, 0, 0, fWidth, n1);
        Place(fBar, 0, n1, fWidth, kSplitBarSize);
        Place(fSecond, 0, n1 + kSplitBarSize, fWidth, n2);
    } else {
        Place(fFirst, 0, 0, n1, fHeight);
        Place(fBar, n1, 0, kSplitBarSize, fHeight);
        Place(fSecond, n1 + kSplitBarSize, 0, n2, fHeight);
    }
    // A pane whose size did not change still lays out its own parts.
    fFirst->ResetSize(kRedrawNone);
    fSecond->ResetSize(kRedrawNone);
    if (IsVisible() && !IsHidden()) Redraw(mode);
}

void VViewSplitter::DoScroll(int32_t dx, int32_t dy)
{
    VViewScroller::DoScroll(dx, dy);
    auto follow = [](VFrame* frame, int32_t x, int32_t y) {
        if (frame && frame->IsAScrolledView() && (x || y)) static_cast<VScrolledView*>(frame)->DoScroll(x, y);
    };
    follow(fTop, dx, 0);
    follow(fBottom, dx, 0);
    follow(fLeft, 0, dy);
    follow(fRight, 0, dy);
}

void VViewSplitter::DoFastScroll(VPainter* painter, int32_t dx, int32_t dy)
{
    if (dx == 0 && dy == 0) return;
    VViewScroller::DoFastScroll(painter, dx, dy);
    auto follow = [painter](VFrame* frame, int32_t x, int32_t y) {
        if (!frame || !frame->IsAScrolledView() || (x == 0 && y == 0)) return;
        auto* sv = static_cast<VScrolledView*>(frame);
        if (!painter || !sv->IsVisible()) {
            sv->DoScroll(x, y);
            return;
        }
        // The frame paints in its own scrolled coordinates, in the
        // splitter's look.
        const StdLook look = painter->GetLook();
        painter->AddOffset(sv->GetX() - sv->GetVirtualX() - x, sv->GetY() - sv->GetVirtualY() - y);
        sv->DoFastScroll(painter, x, y);
        painter->RestoreOffset();
        painter->SetLook(look);
    };
    follow(fTop, dx, 0);
    follow(fBottom, dx, 0);
    follow(fLeft, 0, dy);
    follow(fRight, 0, dy);
}
