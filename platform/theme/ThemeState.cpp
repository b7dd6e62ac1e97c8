#include <new>

#include "platform/core/Errors.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/theme/Theme.h"
#include "platform/theme/ThemeRecording.h"
#include "platform/theme/ThemePaint.h"

namespace platform {

struct OpaqueThemeDrawingState {
    PenState pen;
    RGBColor fore;
    RGBColor back;
    Pattern backPattern;
    int16_t font;
    StyleField face;
    int16_t size;
    int16_t mode;
};

namespace {

using namespace theme;

bool BrushColor(ThemeBrush brush, uint32_t* rgb)
{
    switch (brush) {
    case kThemeBrushBlack: *rgb = kBlack; return true;
    case kThemeBrushWhite: *rgb = kWhite; return true;
    // Selections: the text highlight, the one of an inactive window, and the
    // strong one of selected list rows.
    case kThemeBrushPrimaryHighlightColor: *rgb = 0xB5D5FF; return true;
    case kThemeBrushSecondaryHighlightColor: *rgb = 0xD4D4D4; return true;
    case kThemeBrushAlternatePrimaryHighlightColor: *rgb = kSelection; return true;
    case kThemeBrushDialogBackgroundActive: case kThemeBrushAlertBackgroundActive:
    case kThemeBrushModelessDialogBackgroundActive: case kThemeBrushUtilityWindowBackgroundActive:
        *rgb = 0xECECEC; return true;
    case kThemeBrushDialogBackgroundInactive: case kThemeBrushAlertBackgroundInactive:
    case kThemeBrushModelessDialogBackgroundInactive: case kThemeBrushUtilityWindowBackgroundInactive:
        *rgb = 0xF4F4F4; return true;
    case kThemeBrushListViewSortColumnBackground: *rgb = 0xEDF3FE; return true;
    case kThemeBrushListViewBackground: case kThemeBrushIconLabelBackground:
    case kThemeBrushDocumentWindowBackground: case kThemeBrushFinderWindowBackground:
        *rgb = kWhite; return true;
    case kThemeBrushListViewSeparator: *rgb = 0xD9D9D9; return true;
    case kThemeBrushChasingArrows: *rgb = kBlack; return true;
    case kThemeBrushDragHilite: case kThemeBrushFocusHighlight: *rgb = kFocus; return true;
    case kThemeBrushButtonFaceActive: *rgb = kFace; return true;
    case kThemeBrushButtonFaceInactive: *rgb = kFaceInactive; return true;
    case kThemeBrushButtonFacePressed: *rgb = kFacePressed; return true;
    default: return false;
    }
}

RGBColor Rgb(uint32_t rgb)
{
    return RGBColor{uint16_t(((rgb >> 16) & 0xFF) * 0x101), uint16_t(((rgb >> 8) & 0xFF) * 0x101),
                    uint16_t((rgb & 0xFF) * 0x101)};
}

}  // namespace

OSStatus GetThemeBrushAsColor(ThemeBrush brush, int16_t, Boolean, RGBColor* color)
{
    uint32_t rgb = 0;
    if (!BrushColor(brush, &rgb)) return themeInvalidBrushErr;
    if (color) *color = Rgb(rgb);
    return noErr;
}

OSStatus SetThemeBackground(ThemeBrush brush, int16_t depth, Boolean isColorDev)
{
    RGBColor c;
    OSStatus err = GetThemeBrushAsColor(brush, depth, isColorDev, &c);
    ReportThemeCall({"SetThemeBackground", Rect{}, brush, 0, 0, 0, 0, 0, 0});
    if (err) return err;
    Pattern white;
    BackPat(GetQDGlobalsWhite(&white));
    RGBBackColor(&c);
    return noErr;
}

OSStatus GetThemeAccentColors(CTabHandle* colors)
{
    if (colors) *colors = nullptr;
    return themeHasNoAccentsErr;
}

OSStatus GetThemeMetric(ThemeMetric metric, int32_t* value)
{
    if (!value) return paramErr;
    switch (metric) {
    case kThemeMetricScrollBarWidth: *value = 16; return noErr;
    case kThemeMetricSmallScrollBarWidth: *value = 11; return noErr;
    case kThemeMetricCheckBoxHeight: case kThemeMetricRadioButtonHeight: *value = 14; return noErr;
    case kThemeMetricSmallCheckBoxHeight: case kThemeMetricSmallRadioButtonHeight: *value = 12; return noErr;
    case kThemeMetricEditTextWhitespace: *value = 2; return noErr;
    case kThemeMetricEditTextFrameOutset: case kThemeMetricListBoxFrameOutset: *value = 1; return noErr;
    case kThemeMetricFocusRectOutset: *value = 2; return noErr;
    case kThemeMetricPushButtonHeight: *value = 20; return noErr;
    case kThemeMetricListHeaderHeight: *value = 17; return noErr;
    case kThemeMetricDisclosureTriangleWidth: *value = 13; return noErr;
    case kThemeMetricPopupButtonHeight: *value = 20; return noErr;
    default: *value = 0; return paramErr;
    }
}

OSStatus DrawThemeEditTextFrame(const Rect* bounds, ThemeDrawState state)
{
    if (!bounds) return paramErr;
    ReportThemeCall({"DrawThemeEditTextFrame", *bounds, 0, int32_t(state), 0, 0, 0, 0, 0});
    PaintScope scope;
    Rect outer = *bounds;
    InsetRect(&outer, -1, -1);
    Frame(outer, state == kThemeStateInactive ? kEdgeInactive : kEdge);
    return noErr;
}

OSStatus DrawThemeSeparator(const Rect* bounds, ThemeDrawState state)
{
    if (!bounds) return paramErr;
    ReportThemeCall({"DrawThemeSeparator", *bounds, 0, int32_t(state), 0, 0, 0, 0, 0});
    PaintScope scope;
    const uint32_t color = state == kThemeStateInactive ? kFaceInactive : kEdgeInactive;
    if (bounds->right - bounds->left >= bounds->bottom - bounds->top) {
        const int16_t v = int16_t((bounds->top + bounds->bottom) / 2);
        Line(bounds->left, v, int16_t(bounds->right - 1), v, color);
    } else {
        const int16_t h = int16_t((bounds->left + bounds->right) / 2);
        Line(h, bounds->top, h, int16_t(bounds->bottom - 1), color);
    }
    return noErr;
}

OSStatus GetThemeDrawingState(ThemeDrawingState* state)
{
    if (!state) return paramErr;
    ReportThemeCall({"GetThemeDrawingState", Rect{}, 0, 0, 0, 0, 0, 0, 0});
    GrafPtr port = GetQDGlobalsThePort();
    if (!port) return paramErr;
    auto* s = new (std::nothrow) OpaqueThemeDrawingState;
    if (!s) return memFullErr;
    GetPenState(&s->pen);
    GetForeColor(&s->fore);
    GetBackColor(&s->back);
    s->backPattern = port->bkPat;
    s->font = port->txFont;
    s->face = port->txFace;
    s->size = port->txSize;
    s->mode = port->txMode;
    *state = s;
    return noErr;
}

OSStatus SetThemeDrawingState(ThemeDrawingState state, Boolean disposeNow)
{
    if (!state) return paramErr;
    ReportThemeCall({"SetThemeDrawingState", Rect{}, 0, 0, 0, 0, 0, 0, 0});
    if (GetQDGlobalsThePort()) {
        SetPenState(&state->pen);
        RGBForeColor(&state->fore);
        RGBBackColor(&state->back);
        BackPat(&state->backPattern);
        TextFont(state->font);
        TextFace(state->face);
        TextSize(state->size);
        TextMode(state->mode);
    }
    if (disposeNow) DisposeThemeDrawingState(state);
    return noErr;
}

OSStatus DisposeThemeDrawingState(ThemeDrawingState state)
{
    delete state;
    return noErr;
}

OSStatus NormalizeThemeDrawingState()
{
    ReportThemeCall({"NormalizeThemeDrawingState", Rect{}, 0, 0, 0, 0, 0, 0, 0});
    if (!GetQDGlobalsThePort()) return paramErr;
    PenNormal();
    const RGBColor black{0, 0, 0}, white{0xFFFF, 0xFFFF, 0xFFFF};
    RGBForeColor(&black);
    RGBBackColor(&white);
    Pattern p;
    BackPat(GetQDGlobalsWhite(&p));
    TextMode(srcOr);
    return noErr;
}

}  // namespace platform
