#include <algorithm>

#include "platform/core/Errors.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/theme/Theme.h"
#include "platform/theme/ThemeRecording.h"
#include "platform/theme/ThemePaint.h"

namespace platform {
namespace {

using namespace theme;

bool Horizontal(const ThemeTrackDrawInfo& info) { return info.attributes & kThemeTrackHorizontal; }

void DrawArrowBox(const Rect& box, Direction d, bool pressed, bool enabled)
{
    Fill(box, pressed ? kFacePressed : kFace);
    Frame(box, kEdge);
    Triangle(box, d, 7, enabled ? kMark : kMarkInactive);
}

int16_t Length(const Rect& r, bool horizontal) { return int16_t(horizontal ? r.right - r.left : r.bottom - r.top); }

}  // namespace

OSStatus DrawThemeScrollBarArrows(const Rect* bounds, ThemeTrackEnableState enableState,
                                  ThemeTrackPressState pressState, Boolean isHorizontal, Rect* trackBounds)
{
    if (!bounds) return paramErr;
    ReportThemeCall({"DrawThemeScrollBarArrows", *bounds, isHorizontal, enableState, 0, pressState, 0, 0, 0});
    const bool h = isHorizontal;
    const int16_t side = int16_t(h ? bounds->bottom - bounds->top : bounds->right - bounds->left);
    Rect first = *bounds, second = *bounds, track = *bounds;
    if (h) {
        first.right = int16_t(std::min<int32_t>(bounds->left + side, bounds->right));
        second.left = int16_t(std::max<int32_t>(bounds->right - side, bounds->left));
        track.left = first.right;
        track.right = std::max(second.left, track.left);
    } else {
        first.bottom = int16_t(std::min<int32_t>(bounds->top + side, bounds->bottom));
        second.top = int16_t(std::max<int32_t>(bounds->bottom - side, bounds->top));
        track.top = first.bottom;
        track.bottom = std::max(second.top, track.top);
    }
    const bool enabled = enableState == kThemeTrackActive;
    {
        PaintScope scope;
        DrawArrowBox(first, h ? Direction::Left : Direction::Up,
                     enabled && (pressState & (kThemeLeftOutsideArrowPressed | kThemeLeftInsideArrowPressed)), enabled);
        DrawArrowBox(second, h ? Direction::Right : Direction::Down,
                     enabled && (pressState & (kThemeRightOutsideArrowPressed | kThemeRightInsideArrowPressed)),
                     enabled);
    }
    if (trackBounds) *trackBounds = track;
    return noErr;
}

bool GetThemeTrackThumbRect(const ThemeTrackDrawInfo* info, Rect* thumb)
{
    if (!info || !thumb) return false;
    const bool h = Horizontal(*info);
    const Rect& b = info->bounds;
    const int32_t length = Length(b, h);
    const int32_t thickness = h ? b.bottom - b.top : b.right - b.left;
    const int32_t range = int64_t(info->max) - info->min > 0 ? info->max - info->min : 0;
    if (!(info->attributes & kThemeTrackShowThumb) || range <= 0 || info->enableState == kThemeTrackNothingToScroll)
        return false;
    int32_t size = info->kind == kThemeSlider ? 11 : thickness;
    if ((info->kind == kThemeScrollBar || info->kind == kThemeSmallScrollBar) && info->trackInfo.scrollbar.viewsize > 0) {
        const int64_t view = info->trackInfo.scrollbar.viewsize;
        size = int32_t(std::max<int64_t>(thickness, int64_t(length) * view / (view + range)));
    }
    size = std::min(size, length);
    const int64_t value = std::clamp<int64_t>(info->value, info->min, info->max) - info->min;
    int32_t offset = int32_t(int64_t(length - size) * value / range);
    if (info->attributes & kThemeTrackRightToLeft) offset = length - size - offset;
    Rect t = b;
    if (h) {
        t.left = int16_t(b.left + offset);
        t.right = int16_t(t.left + size);
    } else {
        t.top = int16_t(b.top + offset);
        t.bottom = int16_t(t.top + size);
    }
    *thumb = t;
    return true;
}

OSStatus DrawThemeTrack(const ThemeTrackDrawInfo* info, RgnHandle ghost, ThemeEraseUPP eraseProc, uintptr_t eraseData)
{
    if (!info) return paramErr;
    ReportThemeCall({"DrawThemeTrack", info->bounds, info->kind, info->enableState, info->value,
                     info->trackInfo.scrollbar.pressState, info->max, info->trackInfo.scrollbar.viewsize,
                     info->attributes});
    const Rect& b = info->bounds;
    if (eraseProc) eraseProc(&b, uint32_t(eraseData), 32, true);
    PaintScope scope;
    const bool h = Horizontal(*info);
    const bool active = info->enableState == kThemeTrackActive;
    switch (info->kind) {
    case kThemeScrollBar:
    case kThemeSmallScrollBar:
    case kThemeSlider: {
        Rect groove = b;
        if (info->kind == kThemeSlider) {
            // A thin groove along the middle.
            if (h) groove.top = int16_t((b.top + b.bottom) / 2 - 2), groove.bottom = int16_t(groove.top + 4);
            else groove.left = int16_t((b.left + b.right) / 2 - 2), groove.right = int16_t(groove.left + 4);
        }
        Fill(groove, active ? kTrack : kFaceInactive);
        Frame(groove, active ? kEdge : kEdgeInactive);
        Rect thumb;
        if (active && GetThemeTrackThumbRect(info, &thumb)) {
            const bool pressed = info->kind != kThemeSlider && (info->trackInfo.scrollbar.pressState & kThemeThumbPressed);
            Fill(thumb, pressed ? kEdge : kThumb);
            Frame(thumb, kEdge);
        }
        if (ghost) {
            Rect g;
            GetRegionBounds(ghost, &g);
            Frame(g, kFocus);
        }
        break;
    }
    case kThemeProgressBar: {
        Fill(b, kWhite);
        Frame(b, active ? kEdge : kEdgeInactive);
        const int32_t range = info->max - info->min;
        if (range > 0) {
            Rect done = b;
            InsetRect(&done, 1, 1);
            const int64_t value = std::clamp<int64_t>(info->value, info->min, info->max) - info->min;
            const int32_t length = Length(done, h);
            if (h) done.right = int16_t(done.left + length * value / range);
            else done.top = int16_t(done.bottom - length * value / range);
            Fill(done, active ? kSelection : kEdgeInactive);
        }
        break;
    }
    case kThemeIndeterminateBar: {
        Fill(b, kWhite);
        Frame(b, active ? kEdge : kEdgeInactive);
        // Stripes that move with the phase.
        const int16_t phase = int16_t(info->trackInfo.progressPhase % 8);
        for (int16_t x = int16_t(b.left + 1 - 8 + phase); x < b.right - 1; x = int16_t(x + 8)) {
            Rect stripe{int16_t(b.top + 1), std::max<int16_t>(x, int16_t(b.left + 1)), int16_t(b.bottom - 1),
                        std::min<int16_t>(int16_t(x + 4), int16_t(b.right - 1))};
            if (stripe.left < stripe.right) Fill(stripe, active ? kSelection : kEdgeInactive);
        }
        break;
    }
    default:
        return paramErr;
    }
    return noErr;
}

OSStatus GetThemeScrollBarThumbStyle(ThemeScrollBarThumbStyle* style)
{
    if (!style) return paramErr;
    *style = kThemeScrollBarThumbProportional;
    return noErr;
}

OSStatus GetThemeScrollBarArrowStyle(ThemeScrollBarArrowStyle* style)
{
    if (!style) return paramErr;
    *style = kThemeScrollBarArrowsSingle;
    return noErr;
}

}  // namespace platform
