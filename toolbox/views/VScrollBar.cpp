#include "toolbox/views/VScrollBar.h"

#include <algorithm>
#include <cstdlib>

#include "platform/events/Events.h"
#include "platform/events/InputState.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/system/VSystem.h"
#include "toolbox/views/VScrolledView.h"
#include "toolbox/views/VViewScroller.h"

namespace {

constexpr uint32_t kRepeatDelay = 10;

}  // namespace

VScrollBar::VScrollBar(VViewScroller* parent, bool horizontal, bool alternate)
    : VFrame(parent, nullptr), fHorizontal(horizontal), fAlternate(alternate)
{
    fX = fY = -1000;
    UpdateCoords(false);
    fWidth = fHeight = 0;
    SetSize(100, 100, kRedrawNone);
}

int32_t VScrollBar::Behaviour(int16_t index) const
{
    VLookHandler* look = GetLookHandler();
    return look ? look->GetStdBehaviour(index) : (index == 0 || index == 4 || index == 6 ? 0 : 16);
}

void VScrollBar::SetSize(int32_t w, int32_t h, RedrawMode mode)
{
    const int32_t thickness = Behaviour(fAlternate ? 5 : 2);
    if (fHorizontal)
        h = thickness;
    else
        w = thickness;
    fWidth = w;
    fHeight = h;
    ResetSize();
    Redraw(mode);
}

void VScrollBar::ResetSize()
{
    fTrackLength = Length() - 2 * Thickness() + 2;
    const int32_t minThumb = Behaviour(3);
    if (fPage > 0 && Behaviour(0) == 1) {
        const int64_t proportional = int64_t(fTrackLength) * fPage / (int64_t(fPage) + fMax);
        fThumbLength = std::max<int32_t>(int32_t(proportional), minThumb);
    } else {
        fThumbLength = minThumb;
    }
    fTrackLength -= fThumbLength;
    fArrowsStyle = Behaviour(4);
}

void VScrollBar::GetThumbCoords(int32_t& start, int32_t& length) const
{
    length = fThumbLength;
    // With nothing to scroll, or no room to travel, the thumb rests at the
    // start of the track.
    int32_t travel = 0;
    if (fMax > 0 && fTrackLength > 0) travel = int32_t(int64_t(fValue) * fTrackLength / fMax);
    start = TrackStart() + travel;
}

bool VScrollBar::TooSmall() const { return fTrackLength <= 0; }

ScrollPart VScrollBar::GetScrollPart(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= fWidth || y >= fHeight) return 0;
    const int32_t along = fHorizontal ? x : y;
    const int32_t thickness = Thickness();
    if (along < thickness) return 1;
    if (along >= Length() - thickness) return 2;
    if (TooSmall() || fMax <= 0) return 0;
    int32_t start = 0, length = 0;
    GetThumbCoords(start, length);
    if (along < start) return 3;
    if (along >= start + length) return 4;
    return 5;
}

void VScrollBar::PaintPart(VPainter* painter, ScrollPart part)
{
    if (!painter) return;
    const int32_t thickness = Thickness();
    const PaintStatus status = !fEnabled ? kStatusDisabled : part == fPressed ? kStatusPushed : kStatusNormal;
    auto paint = [&](PaintMethod method, int32_t along, int32_t length) {
        if (fHorizontal)
            painter->StandardPaint(method, status, along, 0, length, fHeight, nullptr, nullptr);
        else
            painter->StandardPaint(method, status, 0, along, fWidth, length, nullptr, nullptr);
    };
    int32_t start = 0, length = 0;
    GetThumbCoords(start, length);
    switch (part) {
    case 1:
        paint(fHorizontal ? kPaintScrollArrowLeft : kPaintScrollArrowUp, 0, thickness);
        break;
    case 2:
        paint(fHorizontal ? kPaintScrollArrowRight : kPaintScrollArrowDown, Length() - thickness, thickness);
        break;
    case 3:
        paint(fHorizontal ? kPaintHScrollTrack : kPaintVScrollTrack, TrackStart(), start - TrackStart());
        break;
    case 4:
        paint(fHorizontal ? kPaintHScrollTrack : kPaintVScrollTrack, start + length,
              Length() - thickness + 1 - (start + length));
        break;
    case 5:
        if (fEnabled && !fLocked && fMax > 0 && !TooSmall())
            paint(fHorizontal ? kPaintHScrollThumb : kPaintVScrollThumb, start, length);
        break;
    case 6:
        break;
    case 7:
        painter->StandardPaint(kPaintWholeScrollBar, status, 0, 0, fWidth, fHeight, nullptr, nullptr);
        break;
    default:
        break;
    }
}

void VScrollBar::DoPaint(VPainter* painter)
{
    if (Behaviour(6) != 0) {
        PaintPart(painter, 7);
        return;
    }
    if (fEnabled && !fLocked) {
        PaintPart(painter, 3);
        PaintPart(painter, 4);
    } else {
        painter->SetFillStdColor(fColour);
        painter->FillVRect(0, 0, fWidth, fHeight);
    }
    PaintPart(painter, 5);
    PaintPart(painter, 1);
    PaintPart(painter, 2);
    PaintPart(painter, 6);
}

void VScrollBar::SetEnabled(bool on, RedrawMode mode)
{
    if (on == fEnabled) return;
    fEnabled = on;
    Redraw(mode);
}

void VScrollBar::SetScroll(int32_t value, RedrawMode mode)
{
    value = std::clamp(value, 0, fMax);
    if (value == fValue) return;
    fValue = value;
    Redraw(mode);
}

void VScrollBar::SetMax(int32_t max, RedrawMode mode)
{
    max = std::max(0, max);
    if (max == fMax) return;
    fMax = max;
    fValue = std::min(fValue, fMax);
    ResetSize();
    Redraw(mode);
}

void VScrollBar::SetRange(int32_t page, RedrawMode mode)
{
    if (page == fPage) return;
    fPage = page;
    ResetSize();
    Redraw(mode);
}

void VScrollBar::SetLocked(bool on)
{
    if (on == fLocked) return;
    fLocked = on;
    Redraw(kRedrawInval);
}

void VScrollBar::DoForeGround(bool on)
{
    if (on == fForeground) return;
    fForeground = on;
    Redraw(kRedrawInval);
}

void VScrollBar::SetLook(StdLook look)
{
    VFrame::SetLook(look);
    const int32_t w = fWidth, h = fHeight;
    SetSize(w, h, kRedrawInval);
}

void VScrollBar::Step(ScrollPart part, int32_t amount)
{
    amount = std::clamp(amount, -fValue, fMax - fValue);
    if (amount == 0 || !fParent) return;
    fParent->DoCommand(this, fHorizontal ? vcmd::kScrollH : vcmd::kScrollV, amount);
    (void)part;
}

bool VScrollBar::DoLeftMouse(VClic& clic)
{
    int32_t cx = 0, cy = 0;
    clic.GetPos(cx, cy);
    if (fLocked || !fEnabled || TooSmall()) return true;
    const ScrollPart part = GetScrollPart(cx, cy);
    if (part == 0) return true;
    VViewScroller* scroller = dynamic_cast<VViewScroller*>(fParent);
    VScrolledView* view = scroller ? scroller->GetUserFrame(false) : nullptr;
    const int32_t startValue = fValue;
    const int32_t startAlong = fHorizontal ? cx : cy;
    int32_t lastAlong = startAlong;
    fPressed = part;
    if (part == 5 && scroller) scroller->RedrawChild(this);
    DoCommand(this, vcmd::kBeginScrollStep, 0);
    bool first = true;
    uint32_t nextAt = 0;
    while (platform::StillDown()) {
        int32_t mx = 0, my = 0;
        GetMousePosition(mx, my);
        const int32_t along = fHorizontal ? mx : my;
        const int32_t across = fHorizontal ? my : mx;
        if (part == 5) {
            if (std::abs(across - (fHorizontal ? fHeight : fWidth) / 2) > 32 + Thickness() / 2) continue;
            if (along == lastAlong || fTrackLength <= 0) continue;
            const int32_t clamped = std::clamp(along, TrackStart(), TrackStart() + fTrackLength + fThumbLength);
            const int64_t target =
                int64_t(startValue) + int64_t(clamped - startAlong) * fMax / std::max<int32_t>(1, fTrackLength);
            const int32_t amount = int32_t(std::clamp<int64_t>(target, 0, fMax)) - fValue;
            // A step against the mouse's direction is skipped.
            if ((amount > 0 && along < lastAlong) || (amount < 0 && along > lastAlong)) {
                lastAlong = along;
                continue;
            }
            lastAlong = along;
            Step(part, amount);
            continue;
        }
        const uint32_t now = VSystem::GetCurrentTicks();
        if (!first && now < nextAt) continue;
        if (GetScrollPart(mx, my) != part) continue;
        int32_t amount = 0;
        if (view) {
            switch (part) {
            case 1: amount = -(fHorizontal ? view->GetScrollWidth(true) : view->GetScrollHeight(true)); break;
            case 2: amount = fHorizontal ? view->GetScrollWidth(false) : view->GetScrollHeight(false); break;
            case 3: amount = -(fHorizontal ? view->GetPageWidth(true) : view->GetPageHeight(true)); break;
            case 4: amount = fHorizontal ? view->GetPageWidth(false) : view->GetPageHeight(false); break;
            default: break;
            }
        }
        Step(part, amount);
        nextAt = now + (first ? kRepeatDelay : 1);
        first = false;
    }
    DoCommand(this, vcmd::kEndScrollStep, 0);
    fPressed = 0;
    Redraw(kRedrawNow);
    return true;
}
