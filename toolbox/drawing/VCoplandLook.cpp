#include "toolbox/drawing/VCoplandLook.h"

#include "platform/core/FourCC.h"
#include "platform/drawing/PixMaps.h"
#include "platform/gestalt/Gestalt.h"
#include "platform/theme/Theme.h"
#include "toolbox/drawing/MacLookParts.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/drawing/VWinLookHandler.h"
#include "toolbox/foundation/VIcon.h"

using namespace look;
using namespace platform;

CTabHandle VCopLookHandler::fAccentTable = nullptr;

namespace look {

bool HasAppearance11()
{
    int32_t version = 0;
    return VPainter::IsAppearanceAvailable() && Gestalt(FourCC("apvr"), &version) == noErr && version >= 0x110;
}

}  // namespace look

VCopLookHandler::VCopLookHandler() : fAppearance11(look::HasAppearance11())
{
    int32_t version = 0;
    if (!fAccentTable && VPainter::IsAppearanceAvailable() && Gestalt(FourCC("apvr"), &version) == noErr &&
        version >= 0x101) {
        CTabHandle table = nullptr;
        if (GetThemeAccentColors(&table) == noErr && table) {
            if ((*table)->ctSize < 7) DisposeCTable(table);
            else fAccentTable = table;
        }
    }
}

VCopLookHandler::~VCopLookHandler()
{
    for (VIcon* icon : fChecks) delete icon;
    for (VIcon* icon : fRadios) delete icon;
    delete fDropDown;
}

VIcon* VCopLookHandler::MakeCheckIcon(VPainter* painter, PaintStatus status)
{
    return LoadToggleIcon(fChecks, painter, "CopCheck", status);
}

VIcon* VCopLookHandler::MakeRadioIcon(VPainter* painter, PaintStatus status)
{
    return LoadToggleIcon(fRadios, painter, "CopRadio", status);
}

uint32_t VCopLookHandler::Accent(int32_t i, uint32_t fallback) const
{
    if (!fAccentTable || !*fAccentTable || i > (*fAccentTable)->ctSize) return fallback;
    const RGBColor& c = CTabEntries(fAccentTable)[i].rgb;
    return uint32_t(c.red & 0xFF) | uint32_t(c.green & 0xFF) << 8 | uint32_t(c.blue & 0xFF) << 16;
}

namespace {

// Black or white, the hilite colour's opposite, for selected text.
uint32_t HiliteRuleA()
{
    const uint32_t hilite = HiliteColor();
    return hilite == 0x000000 || hilite == 0xFFFFFF ? 0xFFFFFF : 0x000000;
}

uint32_t HiliteRuleB()
{
    const uint32_t hilite = HiliteColor();
    return hilite == 0xFFFFFF ? 0x000000 : hilite;
}

// Lines along the top and left, then the bottom and right, of (x, y, w, h)
// with w and h one less than the rectangle's.
void Bevel(const Pen& pen, StdColor topLeft, StdColor bottomRight, int32_t x, int32_t y, int32_t w, int32_t h)
{
    pen.Line(topLeft, x, y, x + w, y);
    pen.Line(x, y, x, y + h);
    pen.Line(bottomRight, x + w, y + 1, x + w, y + h);
    pen.Line(x + 1, y + h, x + w, y + h);
}

platform::Pattern RowPattern(uint8_t even, uint8_t odd)
{
    platform::Pattern p;
    for (int i = 0; i < 8; ++i) p.pat[i] = i % 2 ? odd : even;
    return p;
}

void Grip(const Pen& pen, int32_t l, int32_t t, int32_t w, int32_t h)
{
    if (w > h) h = 6;
    else w = 6;
    platform::Pattern a = RowPattern(0xAA, 0x00), b = RowPattern(0x00, 0x55);
    if (t & 1) std::swap(a, b);
    pen.FillColor(0);
    pen.EraseColor(40);
    pen.p->SetFillPattern(a);
    pen.p->FillVRect(l, t, w, h);
    pen.p->SetDrawingTransferMode(kTransferOr);
    pen.FillColor(46);
    pen.p->SetFillPattern(b);
    pen.p->FillVRect(l, t, w, h);
    pen.p->SetFillStdPattern(kPatternBlack);
    pen.p->SetDrawingTransferMode(kTransferCopy);
}

void EditField(const Pen& pen, PaintStatus status, const VString* text, int32_t l, int32_t t, int32_t w, int32_t h)
{
    const int32_t r = l + w, b = t + h;
    pen.Fill(38, l, t, w, h);
    if (status == kStatusDisabled) {
        pen.LineColor(46);
    } else {
        pen.Line(41, l, t, r - 2, t);
        pen.Line(l, t, l, b - 2);
        pen.Line(0, r - 1, t + 1, r - 1, b);
        pen.Line(l + 1, b - 1, r, b - 1);
        pen.LineColor(10);
    }
    pen.p->FrameVRect(l + 1, t + 1, w - 2, h - 2);
    const int32_t in = h < 18 ? 2 : 3;
    pen.Fill(status == kStatusPushed ? 30 : 0, l + in, t + in, w - 2 * in, h - 2 * in);
    const StdColor ink = status == kStatusDisabled ? 29 : status == kStatusPushed ? 28 : 25;
    Caption(pen, text, ink, kAlignLeft, kAlignCentre, l + in, t + in, w - 2 * in, h - 2 * in, true);
}

void Track(const Pen& pen, PaintMethod method, PaintStatus status, int32_t l, int32_t t, int32_t w, int32_t h)
{
    if (status == kStatusDisabled || status == kStatusInactive) {
        pen.Fill(37, l, t, w, h);
        return;
    }
    const int32_t r = l + w, b = t + h;
    pen.Fill(41, l, t, w, h);
    if (method == kPaintHScrollTrack) {
        pen.Line(44, l, t + 1, r - 1, t + 1);
        pen.Line(l, t + 1, l, b - 3);
        pen.Line(43, l + 1, t + 2, r - 1, t + 2);
        pen.Line(l + 1, t + 2, l + 1, b - 4);
        pen.Line(39, l + 1, b - 2, r - 1, b - 2);
        pen.Line(40, l + 2, b - 3, r - 1, b - 3);
    } else {
        pen.Line(44, l + 1, t, r - 3, t);
        pen.Line(l + 1, t, l + 1, b - 1);
        pen.Line(43, l + 2, t + 1, r - 4, t + 1);
        pen.Line(l + 2, t + 1, l + 2, b - 1);
        pen.Line(39, r - 2, t + 1, r - 2, b - 1);
        pen.Line(40, r - 3, t + 2, r - 3, b - 1);
    }
}

void SplitBar(const Pen& pen, PaintMethod method, PaintStatus status, int32_t l, int32_t t, int32_t w, int32_t h)
{
    const int32_t r = l + w, b = t + h;
    pen.Fill(status == kStatusInactive ? 38 : 46, l, t, w, h);
    if (status != kStatusNormal) return;
    if (method == kPaintSplitBarOther) {
        pen.Line(10, l, t, r, t);
        pen.Line(l, b, r, b);
    } else {
        pen.Line(10, l, t, l, b);
        pen.Line(r, t, r, b);
    }
}

}  // namespace

void VCopLookHandler::Button(VPainter* painter, PaintMethod method, PaintStatus status, const VString* text,
                             int32_t l, int32_t t, int32_t w, int32_t h)
{
    const Pen pen(painter, this);
    switch (status) {
    case kStatusNormal: case kStatusMixed: case kStatusButton3: case kStatusButton4: case kStatusButton5:
    case kStatusDisabled: case kStatusPushedOn: case kStatusPushed:
        pen.Fill(38, l, t, w, h);
        break;
    case kStatusOn: case kStatusPushedMixed: pen.Fill(43, l, t, w, h); break;
    default: break;
    }
    const bool push = method == kPaintPushButton;
    const bool raised = mac::IsRaised(status) && status != kStatusDisabled &&
                        !(method == kPaintFlatButton && status == kStatusNormal);
    const bool pushed = mac::IsPushed(status);
    int32_t x = l, y = t, fw = w - 1, fh = h - 1;
    if (raised || pushed) {
        if (push) {
            Bevel(pen, raised ? 45 : 48, raised ? 10 : 47, x, y, fw, fh);
            x += 1, y += 1, fw -= 2, fh -= 2;
        }
        Bevel(pen, raised ? 0 : 46, raised ? 42 : 41, x, y, fw, fh);
    } else if (status == kStatusDisabled && method != kPaintFlatButton) {
        Bevel(pen, 41, 42, x, y, fw, fh);
    } else {
        fw = w, fh = h;
    }
    ButtonCaption(pen, text, status, x, y, fw, fh);
}

void VCopLookHandler::Thumb(VPainter* painter, PaintMethod method, PaintStatus status, int32_t l, int32_t t,
                            int32_t w, int32_t h)
{
    const Pen pen(painter, this);
    const int32_t k = status == kStatusPushed ? 1 : 0;  // pushed: one step darker
    const int32_t r = l + w, b = t + h;
    pen.Fill(51 + k, l, t, w, h);
    pen.LineColor(56);
    painter->FrameVRect(l, t, w, h);
    pen.Line(50 + k, l + 1, t + 1, r - 3, t + 1);
    pen.Line(l + 1, t + 1, l + 1, b - 3);
    pen.Line(52 + k, l + 2, b - 2, r - 2, b - 2);
    pen.Line(r - 2, t + 2, r - 2, b - 2);
    if (w <= 9) return;
    const int32_t cx = l + (w >> 1), cy = t + (h >> 1);
    for (int32_t i = 0; i < 4; ++i) {
        const int32_t a = -4 + 2 * i, c = -3 + 2 * i;  // offsets of the light and dark ridges
        if (method == kPaintVScrollThumb) {
            pen.Line(50 + k, cx - 3, cy + a, cx + 2, cy + a);
            pen.Line(53 + k, cx - 3, cy + c, cx + 3, cy + c);
            pen.Line(49 + k, cx - 4, cy + a, cx - 4, cy + a);
        } else {
            pen.Line(50 + k, cx + a, cy - 3, cx + a, cy + 2);
            pen.Line(53 + k, cx + c, cy - 3, cx + c, cy + 3);
            pen.Line(49 + k, cx + a, cy - 4, cx + a, cy - 4);
        }
    }
}

void VCopLookHandler::Arrow(VPainter* painter, PaintMethod method, PaintStatus status, int32_t l, int32_t t,
                            int32_t w, int32_t h)
{
    if (status == kStatusInactive) return;
    const Pen pen(painter, this);
    const bool pushed = status == kStatusPushed;
    const int32_t r = l + w, b = t + h;
    pen.Fill(pushed ? 44 : 38, l, t, w, h);
    if (status != kStatusDisabled) {
        pen.Line(pushed ? 46 : 0, l + 1, t + 1, r - 3, t + 1);
        pen.Line(l + 1, t + 1, l + 1, b - 3);
        pen.Line(pushed ? 42 : 41, l + 2, b - 2, r - 2, b - 2);
        pen.Line(r - 2, t + 2, r - 2, b - 2);
    }
    pen.LineColor(status == kStatusDisabled ? 44 : 10);
    const int32_t cx = l + (w >> 1), cy = t + (h >> 1);
    const bool vertical = method == kPaintScrollArrowUp || method == kPaintScrollArrowDown;
    if (vertical) {
        pen.Line(l, b - 1, r, b - 1);
        pen.Line(l, t, r, t);
    } else {
        pen.Line(r - 1, t, r - 1, b);
        pen.Line(l, t, l, b);
    }
    // Four lines, each one pixel shorter at both ends than the one before,
    // from the base of the triangle to its point.
    for (int32_t i = 0; i < 4; ++i) {
        switch (method) {
        case kPaintScrollArrowUp: pen.Line(cx - 4 + i, cy + 1 - i, cx + 3 - i, cy + 1 - i); break;
        case kPaintScrollArrowDown: pen.Line(cx - 4 + i, cy - 2 + i, cx + 3 - i, cy - 2 + i); break;
        case kPaintScrollArrowLeft: pen.Line(cx + 1 - i, cy - 4 + i, cx + 1 - i, cy + 3 - i); break;
        default: pen.Line(cx - 2 + i, cy - 4 + i, cx - 2 + i, cy + 3 - i); break;
        }
    }
}

void VCopLookHandler::PopUpBox(VPainter* painter, PaintStatus status, int32_t l, int32_t t, int32_t w, int32_t h)
{
    const Pen pen(painter, this);
    const int32_t r = l + w, b = t + h;
    pen.Fill(38, l + 1, t + 1, w - 2, h - 2);
    pen.LineColor(status == kStatusDisabled ? 43 : 10);
    pen.Line(l + 2, t, r - 3, t);
    pen.Line(r - 1, t + 2, r - 1, b - 3);
    pen.Line(l + 2, b - 1, r - 3, b - 1);
    pen.Line(l, t + 2, l, b - 3);
    pen.Line(l + 1, t + 1, l + 1, t + 1);
    pen.Line(r - 2, t + 1, r - 2, t + 1);
    pen.Line(r - 2, b - 2, r - 2, b - 2);
    pen.Line(l + 1, b - 2, l + 1, b - 2);
    // The double arrow.
    pen.Line(r - 15, t + 7, r - 9, t + 7);
    pen.Line(r - 14, t + 6, r - 10, t + 6);
    pen.Line(r - 13, t + 5, r - 11, t + 5);
    pen.Line(r - 12, t + 4, r - 12, t + 4);
    pen.Line(r - 15, t + 10, r - 9, t + 10);
    pen.Line(r - 14, t + 11, r - 10, t + 11);
    pen.Line(r - 13, t + 12, r - 11, t + 12);
    pen.Line(r - 12, t + 13, r - 12, t + 13);
    if (status == kStatusDisabled) {
        pen.Line(41, r - 22, t + 1, r - 22, b - 2);
        return;
    }
    pen.Line(42, l + 2, b - 2, r - 3, b - 2);
    pen.Line(r - 3, b - 3, r - 3, b - 3);
    pen.Line(r - 2, t + 3, r - 2, b - 3);
    pen.LineColor(0);
    pen.Line(l + 2, t + 1, l + 2, b - 3);
    if (w > 25) pen.Line(l + 2, t + 1, r - 23, t + 1);
    pen.Line(41, r - 3, t + 3, r - 3, b - 4);
    pen.Line(r - 21, b - 3, r - 4, b - 3);
    if (w > 25) pen.Line(r - 22, t + 2, r - 22, b - 2);
    pen.Line(0, r - 20, t + 2, r - 20, b - 4);
    pen.Line(r - 20, t + 2, r - 4, t + 2);
    if (w > 25) pen.Line(37, r - 22, t + 1, r - 22, t + 1);
}

bool VCopLookHandler::Paint(VPainter* painter, PaintMethod method, PaintStatus status, int32_t l, int32_t t,
                            int32_t w, int32_t h, const VString* text, void*)
{
    Preamble(painter);
    const Pen pen(painter, this);
    switch (method) {
    case kPaintPanel:
        if (!fAppearance11) break;
        pen.Fill(38, l, t, w, h);
        mac::SeparatorLine(pen, l, t, w, h);
        break;
    case kPaintSeparatorLine: mac::SeparatorLine(pen, l, t, w, h); break;
    case kPaintCaptionPanel: mac::CaptionPanel(pen, status, text, l, t, w, h); break;
    case kPaintListLine: mac::ListLine(pen, status, text, l, t, w, h, 0, 0); break;
    case kPaintEditField: EditField(pen, status, text, l, t, w, h); break;
    case kPaintMenuItem: case kPaintSmallMenuItem:
        mac::MenuItem(pen, method, status, text, l, t, w, h, 32, kAlignLeft);
        break;
    case kPaintMenuTitle: mac::MenuItem(pen, method, status, text, l, t, w, h, 32, kAlignCentre); break;
    case kPaintMenuSeparator:
        mac::MenuSeparator(pen, l, t, w, h);
        pen.LineColor(0);
        painter->DrawVLineRel(l, t + 1, w, h);
        break;
    case kPaintPushButton: case kPaintFlatButton: Button(painter, method, status, text, l, t, w, h); break;
    case kPaintButtonTitle: ButtonCaption(pen, text, status, l, t, w, h); break;
    case kPaintRadioButton: case kPaintCheckBox: {
        VIcon* icon =
            method == kPaintCheckBox ? MakeCheckIcon(painter, status) : MakeRadioIcon(painter, status);
        DrawToggle(painter, this, icon, status, text, l, t, w, h);
        break;
    }
    case kPaintGrip: Grip(pen, l, t, w, h); break;
    case kPaintCentredSeparator: mac::CentredSeparator(pen, l, t, w, h); break;
    case kPaintRaisedEdge: mac::Edges(pen, 0, 41, l, t, w, h); break;
    case kPaintSunkenEdge: mac::Edges(pen, 21, 20, l, t, w, h); break;
    case kPaintEtchedFrame: mac::EtchedFrame(pen, l, t, w, h); break;
    case kPaintHScrollTrack: case kPaintVScrollTrack: Track(pen, method, status, l, t, w, h); break;
    case kPaintHScrollThumb: case kPaintVScrollThumb: Thumb(painter, method, status, l, t, w, h); break;
    case kPaintScrollBarBackground:
        pen.LineColor(status == kStatusDisabled || status == kStatusInactive ? 46 : 10);
        painter->FrameVRect(l, t, w, h);
        break;
    case kPaintSplitBar: case kPaintSplitBarOther: SplitBar(pen, method, status, l, t, w, h); break;
    case kPaintScrollArrowLeft: case kPaintScrollArrowRight: case kPaintScrollArrowUp: case kPaintScrollArrowDown:
        Arrow(painter, method, status, l, t, w, h);
        break;
    case kPaintDropDownArrow: {
        Paint(painter, kPaintPushButton, status, l, t - 1, w + 1, h + 2, nullptr, nullptr);
        VIcon* icon = LoadIcon(fDropDown, painter, "ArrowBottom");
        if (!icon) break;
        const int32_t ix = l + (w - icon->GetWidth()) / 2, iy = t + (h - icon->GetHeight()) / 2;
        if (status == kStatusNormal) DrawIcon(painter, icon, ix, iy, kIconNormal);
        else if (status == kStatusDisabled) DrawIcon(painter, icon, ix, iy, kIconShadow);
        else if (status == kStatusPushed) DrawIcon(painter, icon, ix + 1, iy + 1, kIconNormal);
        break;
    }
    case kPaintDarkFill: pen.Fill(47, l, t, w, h); break;
    case kPaintPopUpBox: PopUpBox(painter, status, l, t, w, h); break;
    case kPaintPopUpText: Paint(painter, kPaintSmallMenuItem, status, l, t, w - 22, h, text, nullptr); break;
    case kPaintPopUpEditField:
        Paint(painter, kPaintEditField, status, l, t, w - 24, h, text, nullptr);
        Paint(painter, kPaintPopUpBox, status, l + w - 22, t, 22, h, text, nullptr);
        break;
    case kPaintPopUpTextOther: Paint(painter, kPaintListLine, status, l, t, w, h, text, nullptr); break;
    case kPaintMenuBarBackground:
        Paint(painter, kPaintPanel, status, l, t, w, h, nullptr, nullptr);
        Paint(painter, kPaintRaisedEdge, status, l, t, w, h, nullptr, nullptr);
        break;
    default: DefaultBox(painter, l, t, w, h); break;
    }
    return true;
}

uint32_t VCopLookHandler::GetStdColor(StdColor c)
{
    static constexpr uint32_t kGreys[] = {0xEEEEEE, 0xDDDDDD, 0xCCCCCC, 0xBBBBBB, 0xAAAAAA, 0x999999,
                                          0x888888, 0x777777, 0x666666, 0x555555, 0x444444, 0x222222};
    static constexpr uint32_t kAccents[] = {0xEEEEEE, 0xFFCCCC, 0xFF9999, 0xCC6666,
                                            0x993333, 0x880000, 0x550000, 0x000000};
    if (c >= 0 && c <= 16) return BaseColor(c);
    if (c >= 37 && c <= 48) return kGreys[c - 37];
    if (c >= 49 && c <= 56) return Accent(c - 49, kAccents[c - 49]);
    switch (c) {
    case 17: case 18: case 33: return 0xDDDDDD;
    case 19: return 0xEEEEEE;
    case 20: case 24: case 27: case 32: case 35: return 0xFFFFFF;
    case 21: case 29: case 65: return 0x888888;
    case 22: return 0x666666;
    case 23: return 0x999999;
    case 25: case 26: case 31: return 0x000000;
    case 28: case 61: return HiliteRuleA();
    case 30: return HiliteRuleB();
    case 34: return Accent(4, 0x993333);
    case 36: return 0xAAFFFF;
    case 57: return Accent(3, 0xCC6666);
    case 58: return Accent(5, 0x880000);
    case 60: case 62: return 0xBBBBBB;
    default: return kNoColor;
    }
}

bool VCopLookHandler::GetStdFont(platform::CGrafPtr, StdFont font, VString& name, int16_t& size, uint8_t& bold,
                                 uint8_t& italic)
{
    return ClassicFont(font, true, name, size, bold, italic);
}

int32_t VCopLookHandler::GetStdBehaviour(StdBehaviour b)
{
    switch (b) {
    case 0: {
        ThemeScrollBarThumbStyle style = 0;
        return fAppearance11 && GetThemeScrollBarThumbStyle(&style) == noErr &&
               style == kThemeScrollBarThumbProportional;
    }
    case 1: case 2: case 3: case 5: {
        int32_t width = 0;
        GetThemeMetric(kThemeMetricScrollBarWidth, &width);
        return width;
    }
    case 4: {
        ThemeScrollBarArrowStyle style = 0;
        return fAppearance11 && GetThemeScrollBarArrowStyle(&style) == noErr &&
               style == kThemeScrollBarArrowsLowerRight;
    }
    case 7: return 24;
    case 8: case 9: return 22;
    case 10: return 18;
    default: return 0;
    }
}
