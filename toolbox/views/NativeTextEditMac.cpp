// The editor's life, geometry, properties, visibility and the scope guards.
#include "toolbox/views/NativeTextEditMac.h"

#include <algorithm>

#include "platform/core/FourCC.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/gestalt/Gestalt.h"
#include "platform/text/ScriptManager.h"
#include "platform/theme/Theme.h"

using namespace platform;

bool NativeTextEditMac::sInitialised = false;
bool NativeTextEditMac::sSystem103 = false;
bool NativeTextEditMac::sDoubleByte = false;
bool NativeTextEditMac::sNeedsCompositing = false;

namespace {

constexpr UniChar kBullet = 0x2022;
constexpr TextEncoding kBulletEncoding = 0x103;

int32_t ScrollBarWidth()
{
    int32_t width = 16;
    if (GetThemeMetric(kThemeMetricScrollBarWidth, &width) != noErr || width <= 0) width = 16;
    return width;
}

// Runs `change` with the window's port clipped to nothing, so that nothing
// it does is drawn.
template <class Change>
void WithoutDrawing(WindowRef window, Change&& change)
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(GetWindowPort(window));
    RgnHandle clip = NewRgn(), empty = NewRgn();
    GetClip(clip);
    SetClip(empty);
    change();
    SetClip(clip);
    DisposeRgn(clip);
    DisposeRgn(empty);
    SetPort(saved);
}

}  // namespace

// --- guards ------------------------------------------------------------------

NativeReadOnlyMac::NativeReadOnlyMac(NativeTextEditMac* editor) : fSaved(editor->GetReadOnly()), fEditor(editor)
{
    if (fSaved) fEditor->SetControl(kTXNIOPrivilegesTag, 0);
}

NativeReadOnlyMac::~NativeReadOnlyMac()
{
    if (fSaved) fEditor->SetControl(kTXNIOPrivilegesTag, 1);
}

NativeNoRedrawMac::NativeNoRedrawMac(NativeTextEditMac* editor) : fSaved(editor->fNoRedraw), fEditor(editor)
{
    if (!fSaved) return;
    fEditor->fNoRedraw = false;
    if (fEditor->fVisible) fEditor->_SetVisible(true, true);
}

NativeNoRedrawMac::~NativeNoRedrawMac()
{
    if (!fSaved) return;
    fEditor->fNoRedraw = true;
    if (fEditor->fVisible) fEditor->_SetVisible(false, true);
}

NativeMoveOutScreenIfInvisibleMac::NativeMoveOutScreenIfInvisibleMac(NativeTextEditMac* editor) : fEditor(editor)
{
    if (editor->GetControl(kTXNVisibilityTag) != 0) return;
    fSaved = new (std::nothrow) Rect(editor->fViewRect);
    if (!fSaved) return;
    Rect away = *fSaved;
    away.left = int16_t(away.left - 5000);
    away.right = int16_t(away.right - 5000);
    editor->Move(away);
}

NativeMoveOutScreenIfInvisibleMac::~NativeMoveOutScreenIfInvisibleMac()
{
    if (!fSaved) return;
    fEditor->Move(*fSaved);
    delete fSaved;
}

// --- life --------------------------------------------------------------------

NativeTextEditMac::NativeTextEditMac(const Rect& view, WindowRef window, int32_t flags, int32_t, int32_t)
{
    Init(view, window, flags);
}

NativeTextEditMac::~NativeTextEditMac()
{
    if (fObject) TXNDeleteObject(fObject);
    if (fStyle) ATSUDisposeStyle(fStyle);
}

void NativeTextEditMac::Init()
{
    if (sInitialised) return;
    sInitialised = true;
    int32_t version = 0;
    sSystem103 = Gestalt(FourCC("sysv"), &version) == noErr && version >= 0x1030;
    sDoubleByte = GetScriptManagerVariable(smDoubleByte) != 0;
    const TXNMacOSPreferredFontDescription defaults{0, Fixed(12) << 16, TextEncoding(-3), Style(-1)};
    TXNInitTextension(&defaults, 1, 0);
}

void NativeTextEditMac::Init(const Rect& view, WindowRef window, int32_t flags)
{
    const int32_t barWidth = ScrollBarWidth();
    Init();
    fWindow = window;
    fViewRect = view;
    TXNFrameOptions options = kOutputTextInUnicodeEncodingMask;
    if (!(flags & kNativeMultiline)) options |= kTXNSingleLineOnlyMask;
    if (!(flags & kNativeMultiStyle)) options |= kTXNMonostyledTextMask;
    options |= kTXNDoNotInstallDragProcsMask;
    if (!(flags & kNativeDragDrop)) options |= kTXNDisableDragAndDropMask;
    if (flags & kNativeVScrollBar) {
        options |= kTXNWantVScrollBarMask;
        fViewRect.right = int16_t(std::max<int32_t>(fViewRect.left, fViewRect.right - barWidth));
    }
    if (flags & kNativeHScrollBar) options |= kTXNWantHScrollBarMask;
    fVScrollBar = flags & kNativeVScrollBar;
    fHScrollBar = flags & kNativeHScrollBar;
    fDragDrop = flags & kNativeDragDrop;
    fMultiline = flags & kNativeMultiline;
    fDrawsWhenUnfocused = (flags & kNativeTransparent) && !(flags & (kNativeVScrollBar | kNativeHScrollBar));

    if (TXNNewObject(nullptr, window, &view, options, kTXNTextEditStyleFrameType, FourCC("txtn"),
                     kTXNUnicodeEncoding, &fObject, &fFrameID, this) != noErr) {
        fObject = nullptr;
        return;
    }
    // Hidden until the owner shows it.
    SetControl(kTXNVisibilityTag, 0);
    SetProperty(kPropNoRedraw, (flags & kNativeNoRedraw) != 0);
    TXNActivate(fObject, fFrameID, kScrollBarsAlwaysActive);
    TXNGetRectBounds(fObject, &fViewRect, nullptr, nullptr);
    static const int16_t kOrder[] = {3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16, 17, 18, 20, 19};
    for (int16_t property : kOrder) SetProperty(property, (flags >> property) & 1);
}

// --- geometry ----------------------------------------------------------------

void NativeTextEditMac::Move(const Rect& view)
{
    if (!fObject) {
        fViewRect = view;
        return;
    }
    NativeNoRedrawMac noRedraw(this);
    Rect oldView{};
    TXNLongRect dest{};
    TXNGetRectBounds(fObject, &oldView, &dest, nullptr);
    const int32_t dx = view.left - oldView.left, dy = view.top - oldView.top;
    // The destination keeps what it has beyond the view.
    const int32_t extraW = (dest.right - dest.left) - (oldView.right - oldView.left);
    const int32_t extraH = (dest.bottom - dest.top) - (oldView.bottom - oldView.top);
    const TXNLongRect moved{dest.top + dy, dest.left + dx, dest.top + dy + (view.bottom - view.top) + extraH,
                            dest.left + dx + (view.right - view.left) + extraW};
    TXNSetRectBounds(fObject, &view, &moved, false);
    TXNGetRectBounds(fObject, &fViewRect, nullptr, nullptr);
}

// --- controls ----------------------------------------------------------------

void NativeTextEditMac::SetControl(TXNControlTag tag, uint32_t value)
{
    if (!fObject) return;
    TXNControlData data{};
    data.uValue = value;
    TXNSetTXNObjectControls(fObject, false, 1, &tag, &data);
}

uint32_t NativeTextEditMac::GetControl(TXNControlTag tag) const
{
    if (!fObject) return 0;
    TXNControlData data{};
    TXNGetTXNObjectControls(fObject, 1, &tag, &data);
    return data.uValue;
}

int32_t NativeTextEditMac::SetProperty(int32_t property, int32_t value)
{
    const bool on = value != 0;
    switch (property) {
    case kPropMultiline:
    case kPropLeftScroll:
    case kPropSunken:
    case kPropAutoURLDetect:
    case kPropMultiStyle:
    case kPropDragDrop: return 0;
    case kPropVScrollBar: fVScrollBar = on; return 0;
    case kPropVAutoScroll: fVAutoScroll = on; return 0;
    case kPropHScrollBar: fHScrollBar = on; return 0;
    case kPropHAutoScroll: fHAutoScroll = on; return 0;
    case kPropTransparent: fTransparent = on; return 0;
    case kPropWantReturn: fWantReturn = on; return 0;
    case kPropRTL: SetControl(kTXNLineDirectionTag, on ? 1 : 0); return 0;
    case kPropPassword:
        if (on != fPassword) {
            fPassword = on;
            if (fObject) TXNEchoMode(fObject, kBullet, kBulletEncoding, on);
            if (on) SetControl(kTXNKeyboardSyncStateTag, 1);
        }
        return 0;
    case kPropReadOnly: SetReadOnly(on); return 0;
    case kPropTabbable: fTabbable = on; return 0;
    case kPropNoHideSelection: SetControl(kTXNDrawSelectionWhenInactiveTag, uint32_t(value)); return 0;
    case kPropPrintVarFrame: fPrintVarFrame = on; return 0;
    case kPropEnable: Enable(on); return 0;
    case kPropWordWrap:
        if (on != (GetControl(kTXNWordWrapStateTag) == 0)) {
            SetControl(kTXNWordWrapStateTag, on ? 0 : 1);
            if (on && fObject)
                TXNSetFrameBounds(fObject, fViewRect.top, fViewRect.left, fViewRect.bottom,
                                  fViewRect.right + (fVScrollBar ? ScrollBarWidth() : 0), fFrameID);
        }
        return 0;
    case kPropKept: fKept = value; return 0;
    case kPropNoRedraw: SetNoRedraw(on); return 0;
    default: return 1;
    }
}

int32_t NativeTextEditMac::GetProperty(int32_t property) const
{
    switch (property) {
    case kPropMultiline: return fMultiline;
    case kPropVScrollBar: return fVScrollBar;
    case kPropVAutoScroll: return fVAutoScroll;
    case kPropHScrollBar: return fHScrollBar;
    case kPropHAutoScroll: return fHAutoScroll;
    case kPropTransparent: return fTransparent;
    case kPropWantReturn: return fWantReturn;
    case kPropRTL: return GetControl(kTXNLineDirectionTag) == 1;
    case kPropPassword: return fPassword;
    case kPropReadOnly: return GetReadOnly();
    case kPropTabbable: return fTabbable;
    case kPropNoHideSelection: return int32_t(GetControl(kTXNDrawSelectionWhenInactiveTag));
    // The stored flag, so that a rebuilt editor keeps it.
    case kPropPrintVarFrame: return fPrintVarFrame;
    case kPropEnable: return GetEnable();
    case kPropWordWrap: return fObject && GetControl(kTXNWordWrapStateTag) == 0;
    case kPropKept: return fKept;
    case kPropDragDrop: return fDragDrop;
    case kPropNoRedraw: return fNoRedraw;
    case kPropLeftScroll:
    case kPropSunken:
    case kPropAutoURLDetect:
    case kPropMultiStyle: return 0;
    default: return 1;
    }
}

void NativeTextEditMac::SetReadOnly(bool on)
{
    if (on != GetReadOnly()) SetControl(kTXNIOPrivilegesTag, on ? 1 : 0);
}

bool NativeTextEditMac::GetReadOnly() const { return GetControl(kTXNIOPrivilegesTag) == 1; }

void NativeTextEditMac::Enable(bool on)
{
    if (!fWindow || !fObject) return;
    TXNControlTag tags[2] = {kTXNSelectionStateTag, kTXNIOPrivilegesTag};
    TXNControlData data[2]{};
    data[0].uValue = on ? 1 : 0;
    data[1].uValue = on ? 0 : 1;
    const ItemCount count = GetReadOnly() == on ? 2 : 1;
    TXNSetTXNObjectControls(fObject, false, count, tags, data);
}

bool NativeTextEditMac::GetEnable() const { return !GetReadOnly(); }

// --- visibility --------------------------------------------------------------

void NativeTextEditMac::SetVisible(bool visible)
{
    fVisible = visible;
    // An editor that draws its own box when unfocused shows the platform
    // object only while it has the focus.
    if (!fNoRedraw) _SetVisible(visible && (!fDrawsWhenUnfocused || fFocused), false);
}

void NativeTextEditMac::_SetVisible(bool visible, bool protect)
{
    if (!fObject || (GetControl(kTXNVisibilityTag) != 0) == visible) return;
    if (protect && fWindow && (fVScrollBar || fHScrollBar)) {
        // Nothing may be drawn meanwhile.
        WithoutDrawing(fWindow, [&] { SetControl(kTXNVisibilityTag, visible ? 1 : 0); });
        return;
    }
    SetControl(kTXNVisibilityTag, visible ? 1 : 0);
}

void NativeTextEditMac::SetNoRedraw(bool on)
{
    if (on == fNoRedraw) return;
    fNoRedraw = on;
    if (fVisible && (!fDrawsWhenUnfocused || fFocused)) _SetVisible(!on, true);
}

// --- back colour -------------------------------------------------------------

void NativeTextEditMac::SetBackColor(int32_t color)
{
    fBackColor = color;
    if (!fObject) return;
    NativeReadOnlyMac readOnly(this);
    TXNBackground back{kTXNBackgroundTypeRGB,
                       {uint16_t((color & 0xFF) * 257), uint16_t(((color >> 8) & 0xFF) * 257),
                        uint16_t(((color >> 16) & 0xFF) * 257)}};
    TXNSetBackground(fObject, &back);
}

// --- metrics -----------------------------------------------------------------

int32_t NativeTextEditMac::GetCharOffsetFromPos(int32_t x, int32_t y)
{
    if (!fObject) return -1;
    NativeNoRedrawMac noRedraw(this);
    const Point p{int16_t(std::clamp<int32_t>(y + fViewRect.top, INT16_MIN, INT16_MAX)),
                  int16_t(std::clamp<int32_t>(x + fViewRect.left, INT16_MIN, INT16_MAX))};
    TXNOffset offset = 0;
    if (TXNPointToOffset(fObject, p, &offset) != noErr) return -1;
    return int32_t(offset);
}

void NativeTextEditMac::GetPosFromCharOffset(int32_t offset, int32_t& x, int32_t& y)
{
    x = y = 0;
    if (!fObject) return;
    NativeNoRedrawMac noRedraw(this);
    Point p{};
    if (TXNOffsetToPoint(fObject, TXNOffset(std::max(0, offset)), &p) != noErr) return;
    x = p.h - fViewRect.left;
    y = p.v - fViewRect.top;
}

int32_t NativeTextEditMac::GetLineCount()
{
    if (!fObject) return 0;
    NativeNoRedrawMac noRedraw(this);
    ItemCount lines = 0;
    if (TXNGetLineCount(fObject, &lines) != noErr) return 0;
    return int32_t(lines);
}

void NativeTextEditMac::GetLineMetrics(int32_t line, int32_t& width, int32_t& height)
{
    width = height = 0;
    if (!fObject || line < 0) return;
    NativeNoRedrawMac noRedraw(this);
    Fixed w = 0, h = 0;
    if (TXNGetLineMetrics(fObject, uint32_t(line), &w, &h) != noErr) return;
    width = w >> 16;
    height = h >> 16;
}

int32_t NativeTextEditMac::GetFirstVisibleCharOffset()
{
    const int32_t offset = GetCharOffsetFromPos(0, 0);
    return offset < 0 ? 0 : offset;
}

void NativeTextEditMac::ScrollBy(int32_t dx, int32_t dy)
{
    int32_t v = dy, h = dx;
    TXNScroll(fObject, kTXNScrollUnitsInPixels, kTXNScrollUnitsInPixels, &v, &h);
}

void NativeTextEditMac::ScrollToSelection(bool toEnd, bool horizontal, bool vertical)
{
    if (!fObject) return;
    NativeNoRedrawMac noRedraw(this);
    int32_t start = 0, end = 0;
    GetSelection(start, end);
    int32_t x = 0, y = 0;
    GetPosFromCharOffset(toEnd ? end : start, x, y);
    const int32_t dx = horizontal ? x : 0, dy = vertical ? y : 0;
    if (!dx && !dy) return;
    if (fNoRedraw && fWindow) {
        WithoutDrawing(fWindow, [&] { ScrollBy(dx, dy); });
        return;
    }
    ScrollBy(dx, dy);
}
