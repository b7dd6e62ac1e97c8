#include "platform/core/Errors.h"
#include "platform/drawing/Rects.h"
#include "platform/theme/Theme.h"
#include "platform/theme/ThemeRecording.h"
#include "platform/theme/ThemePaint.h"

namespace platform {
namespace {

using namespace theme;

constexpr int16_t kPopupArrowWidth = 18;

bool IsCheck(ThemeButtonKind k) { return k == kThemeCheckBox || k == kThemeSmallCheckBox; }
bool IsRadio(ThemeButtonKind k) { return k == kThemeRadioButton || k == kThemeSmallRadioButton; }
bool IsKnown(ThemeButtonKind k)
{
    switch (k) {
    case kThemePushButton: case kThemeCheckBox: case kThemeRadioButton: case kThemePopupButton:
    case kThemeSmallBevelButton: case kThemeListHeaderButton: case kThemeSmallCheckBox: case kThemeSmallRadioButton:
        return true;
    default:
        return false;
    }
}

// The square of a check box or radio button: at the left (at the right
// for right-to-left), vertically centred.
Rect IndicatorRect(const Rect& b, ThemeButtonKind kind, ThemeButtonAdornment adornment)
{
    const int16_t side = (kind == kThemeSmallCheckBox || kind == kThemeSmallRadioButton) ? 10 : 12;
    const int16_t top = int16_t(b.top + (b.bottom - b.top - side) / 2);
    const int16_t left = (adornment & kThemeAdornmentRightToLeft) ? int16_t(b.right - side - 1) : int16_t(b.left + 1);
    return Rect{top, left, int16_t(top + side), int16_t(left + side)};
}

uint32_t FaceColor(const ThemeButtonDrawInfo& info)
{
    if (info.state == kThemeStatePressed) return kFacePressed;
    if (info.state == kThemeStateInactive) return kFaceInactive;
    return info.value == kThemeButtonOn ? kFaceOn : kFace;
}

uint32_t FrameColor(const ThemeButtonDrawInfo& info)
{
    return info.state == kThemeStateInactive ? kEdgeInactive : kEdge;
}

uint32_t MarkColor(const ThemeButtonDrawInfo& info)
{
    return info.state == kThemeStateInactive ? kMarkInactive : kMark;
}

// The mixed value of a face button: a bar across the middle of the face.
void MixedBar(const Rect& face, const ThemeButtonDrawInfo& info)
{
    const int16_t v = int16_t((face.top + face.bottom) / 2);
    Fill(Rect{int16_t(v - 1), int16_t(face.left + 4), int16_t(v + 1), int16_t(face.right - 4)}, MarkColor(info));
}

void DrawCheck(const Rect& box, const ThemeButtonDrawInfo& info)
{
    Fill(box, info.state == kThemeStatePressed ? kFacePressed : info.state == kThemeStateInactive ? kFaceInactive : kWhite);
    Frame(box, FrameColor(info));
    const uint32_t mark = MarkColor(info);
    const int16_t side = int16_t(box.right - box.left);
    if (info.value == kThemeButtonOn) {
        // Two strokes, two pixels thick.
        for (int16_t t = 0; t < 2; ++t) {
            Line(int16_t(box.left + 2), int16_t(box.top + side / 2 - 1 + t), int16_t(box.left + side / 2 - 1),
                 int16_t(box.bottom - 3 + t), mark);
            Line(int16_t(box.left + side / 2 - 1), int16_t(box.bottom - 3 + t), int16_t(box.right - 3),
                 int16_t(box.top + 2 + t), mark);
        }
    } else if (info.value == kThemeButtonMixed) {
        const int16_t v = int16_t(box.top + side / 2 - 1);
        Fill(Rect{v, int16_t(box.left + 2), int16_t(v + 2), int16_t(box.right - 2)}, mark);
    }
}

void DrawRadio(const Rect& box, const ThemeButtonDrawInfo& info)
{
    FillCircle(box, info.state == kThemeStatePressed ? kFacePressed : info.state == kThemeStateInactive ? kFaceInactive : kWhite);
    FrameCircle(box, FrameColor(info));
    const uint32_t mark = MarkColor(info);
    const int16_t side = int16_t(box.right - box.left);
    if (info.value == kThemeButtonOn) {
        Rect dot = box;
        InsetRect(&dot, int16_t(side / 3), int16_t(side / 3));
        FillCircle(dot, mark);
    } else if (info.value == kThemeButtonMixed) {
        const int16_t v = int16_t(box.top + side / 2 - 1);
        Fill(Rect{v, int16_t(box.left + 3), int16_t(v + 2), int16_t(box.right - 3)}, mark);
    }
}

void DrawFaceButton(const Rect& b, ThemeButtonKind kind, const ThemeButtonDrawInfo& info)
{
    const int16_t oval = kind == kThemePushButton ? 10 : kind == kThemePopupButton ? 6 : 0;
    if (kind == kThemePushButton && (info.adornment & kThemeAdornmentDefault)) {
        // The default button's ring, inside its bounds.
        FrameRound(b, int16_t(oval + 4), FrameColor(info));
        Rect inner = b;
        InsetRect(&inner, 1, 1);
        FrameRound(inner, int16_t(oval + 2), FrameColor(info));
    }
    Rect face = b;
    if (kind == kThemePushButton && (info.adornment & kThemeAdornmentDefault)) InsetRect(&face, 3, 3);
    if (oval) {
        FillRound(face, oval, FaceColor(info));
        FrameRound(face, oval, FrameColor(info));
    } else {
        Fill(face, FaceColor(info));
        Frame(face, FrameColor(info));
        // A bevel: light top and left inside the frame.
        if (info.state != kThemeStatePressed && face.right - face.left > 3 && face.bottom - face.top > 3) {
            Line(int16_t(face.left + 1), int16_t(face.top + 1), int16_t(face.right - 2), int16_t(face.top + 1), kWhite);
            Line(int16_t(face.left + 1), int16_t(face.top + 1), int16_t(face.left + 1), int16_t(face.bottom - 2), kWhite);
        }
    }
    if (info.value == kThemeButtonMixed) MixedBar(face, info);
    if (kind == kThemePopupButton) {
        Rect arrow{face.top, int16_t(face.right - kPopupArrowWidth), face.bottom, face.right};
        Line(arrow.left, int16_t(arrow.top + 2), arrow.left, int16_t(arrow.bottom - 3), FrameColor(info));
        Triangle(arrow, Direction::Down, 7, MarkColor(info));
    }
    if (kind == kThemeListHeaderButton) {
        if (info.adornment & kThemeAdornmentHeaderButtonLeftNeighborSelected)
            Fill(Rect{face.top, face.left, face.bottom, int16_t(face.left + 2)}, kEdge);
        if (info.adornment & kThemeAdornmentHeaderButtonRightNeighborSelected)
            Fill(Rect{face.top, int16_t(face.right - 2), face.bottom, face.right}, kEdge);
        if (info.value == kThemeButtonOn) {
            Rect sort{face.top, int16_t(face.right - 16), face.bottom, int16_t(face.right - 4)};
            Triangle(sort, (info.adornment & kThemeAdornmentHeaderButtonSortUp) ? Direction::Up : Direction::Down, 7,
                     MarkColor(info));
        }
    }
}

}  // namespace

OSStatus GetThemeButtonContentBounds(const Rect* bounds, ThemeButtonKind kind, const ThemeButtonDrawInfo* info,
                                     Rect* content)
{
    if (!bounds || !info || !content || !IsKnown(kind)) return paramErr;
    Rect c = *bounds;
    if (IsCheck(kind) || IsRadio(kind)) {
        const Rect box = IndicatorRect(*bounds, kind, info->adornment);
        if (info->adornment & kThemeAdornmentRightToLeft) c.right = int16_t(box.left - 4);
        else c.left = int16_t(box.right + 4);
    } else if (kind == kThemePopupButton) {
        InsetRect(&c, 6, 1);
        c.right = int16_t(bounds->right - kPopupArrowWidth - 2);
    } else if (kind == kThemeListHeaderButton) {
        InsetRect(&c, 4, 1);
        if (info->value == kThemeButtonOn) c.right = int16_t(bounds->right - 18);
    } else {
        InsetRect(&c, (info->adornment & kThemeAdornmentDefault) ? 7 : 4, (info->adornment & kThemeAdornmentDefault) ? 4 : 1);
    }
    if (c.right < c.left) c.right = c.left;
    if (c.bottom < c.top) c.bottom = c.top;
    *content = c;
    return noErr;
}

OSStatus DrawThemeButton(const Rect* bounds, ThemeButtonKind kind, const ThemeButtonDrawInfo* info,
                         const ThemeButtonDrawInfo*, ThemeEraseUPP eraseProc, ThemeButtonDrawUPP labelProc,
                         uintptr_t userData)
{
    if (!bounds || !info || !IsKnown(kind)) return paramErr;
    ReportThemeCall({"DrawThemeButton", *bounds, kind, int32_t(info->state), info->value, info->adornment, 0, 0, 0});
    if (eraseProc) eraseProc(bounds, uint32_t(userData), 32, true);
    {
        PaintScope scope;
        if (IsCheck(kind)) DrawCheck(IndicatorRect(*bounds, kind, info->adornment), *info);
        else if (IsRadio(kind)) DrawRadio(IndicatorRect(*bounds, kind, info->adornment), *info);
        else DrawFaceButton(*bounds, kind, *info);
        if (info->adornment & kThemeAdornmentFocus) {
            Rect ring = (IsCheck(kind) || IsRadio(kind)) ? IndicatorRect(*bounds, kind, info->adornment) : *bounds;
            InsetRect(&ring, -2, -2);
            Frame(ring, kFocus);
            InsetRect(&ring, 1, 1);
            Frame(ring, kFocus);
        }
    }
    if (labelProc && !(info->adornment & kThemeAdornmentDrawIndicatorOnly)) {
        Rect content;
        GetThemeButtonContentBounds(bounds, kind, info, &content);
        labelProc(&content, kind, info, userData, 32, true);
    }
    return noErr;
}

}  // namespace platform
