// Clipping of a painter: the saved-clip stack and clips by rectangle,
// region and frame, all on the current port in its local coordinates.
#include "toolbox/drawing/VPainter.h"

#include <algorithm>
#include <new>

#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "toolbox/drawing/IPainterFrame.h"
#include "toolbox/foundation/MacPort.h"
#include "toolbox/foundation/RealTruncation.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"

using namespace platform;

namespace {

int16_t Clamp16(int64_t v) { return int16_t(std::clamp<int64_t>(v, -32768, 32767)); }

}  // namespace

void VPainter::SaveClip(bool toPort)
{
    if (!SelectPort()) return;
    RgnHandle saved = NewRgn();
    GetClip(saved);
    try {
        fClips.push_back(saved);
    } catch (const std::bad_alloc&) {
        DisposeRgn(saved);
        return;  // the clip stays; RestoreClip then finds an older save or none
    }
    if (toPort) {
        Rect bounds;
        ClipRect(GetPortBounds(fCurPort, &bounds));
    }
}

void VPainter::RestoreClip()
{
    if (fClips.empty()) return;
    RgnHandle saved = fClips.back();
    fClips.pop_back();
    if (SelectPort()) SetClip(saved);
    DisposeRgn(saved);
}

// rgn is in port coordinates; the port is already current.
void VPainter::ApplyClip(RgnHandle rgn, bool intersect)
{
    if (!intersect) {
        SetClip(rgn);
        return;
    }
    RgnHandle clip = NewRgn();
    GetClip(clip);
    SectRgn(clip, rgn, clip);
    SetClip(clip);
    DisposeRgn(clip);
}

void VPainter::ClipVRect(const VRect& rect, bool intersect)
{
    if (!SelectPort()) return;
    const Rect r = MapRect(rect.GetLeft(), rect.GetTop(), rect.GetWidth(), rect.GetHeight());
    RgnHandle rgn = NewRgn();
    RectRgn(rgn, &r);
    ApplyClip(rgn, intersect);
    DisposeRgn(rgn);
}

void VPainter::ClipVRegion(const VRegion& region, bool intersect)
{
    if (!SelectPort()) return;
    VRegion copy(region);
    if (fScaling) {
        copy.SetPos(TruncateToLong(copy.GetLeft() * fScaleX), TruncateToLong(copy.GetTop() * fScaleY));
        copy.SetSize(TruncateToLong(copy.GetWidth() * fScaleX), TruncateToLong(copy.GetHeight() * fScaleY));
    }
    RgnHandle rgn = copy.GetRgnRef(false);
    OffsetRgn32(rgn, fOffsetX, fOffsetY);
    ApplyClip(rgn, intersect);
}

void VPainter::ClipVRegionDirect(const VRegion& region, bool intersect)
{
    if (!SelectPort()) return;
    VRegion copy(region);
    ApplyClip(copy.GetRgnRef(false), intersect);
}

// The frame's place in the window, moved into the offscreen world when
// one is open; with rect, that rectangle of the frame's content (a
// scrolled view's content scrolled by its scroll position).
Rect VPainter::FrameRect(const IPainterFrame* frame, const VRect* rect) const
{
    int32_t fx = 0, fy = 0, ox = 0, oy = 0;
    frame->GetPosInWindow(fx, fy);
    GetOffscreenOffset(ox, oy);
    int64_t left = int64_t(fx) - ox, top = int64_t(fy) - oy;
    int64_t width = frame->GetWidth(), height = frame->GetHeight();
    if (rect) {
        int64_t rx = rect->GetLeft(), ry = rect->GetTop();
        if (frame->IsAScrolledView()) {
            int32_t sx = 0, sy = 0;
            frame->GetScrollPos(sx, sy);
            rx -= sx;
            ry -= sy;
        }
        left += rx;
        top += ry;
        width = rect->GetWidth();
        height = rect->GetHeight();
    }
    if (fScaling) {
        left = TruncateToLong8(left * fScaleX);
        top = TruncateToLong8(top * fScaleY);
        width = TruncateToLong8(width * fScaleX);
        height = TruncateToLong8(height * fScaleY);
    }
    return Rect{Clamp16(top), Clamp16(left), Clamp16(top + height), Clamp16(left + width)};
}

void VPainter::ClipFrame(const IPainterFrame* frame, const VRect* rect, bool intersect)
{
    if (!frame || !SelectPort()) return;
    const Rect r = FrameRect(frame, rect);
    RgnHandle rgn = NewRgn();
    RectRgn(rgn, &r);
    ApplyClip(rgn, intersect);
    DisposeRgn(rgn);
}

bool VPainter::FrameIsInClip(const IPainterFrame* frame, const VRect*) const
{
    if (!frame || !fCurPort) return false;
    const Rect r = FrameRect(frame, nullptr);
    return RectInRgn(&r, fCurPort->clipRgn);
}

bool VPainter::VRectIsInClip(const VRect& rect) const
{
    if (!fCurPort) return false;
    const Rect r = MapRect(rect.GetLeft(), rect.GetTop(), rect.GetWidth(), rect.GetHeight());
    return RectInRgn(&r, fCurPort->clipRgn);
}
