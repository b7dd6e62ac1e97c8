#include "toolbox/drawing/VWinLookHandler.h"

#include <cstdio>

#include "toolbox/drawing/MacLookParts.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VIcon.h"
#include "toolbox/foundation/VStr.h"

using namespace look;

namespace look {

const char* const kToggleIconSuffixes[9] = {"Normal",        "Checked",        "Mixed",
                                            "PushedNormal",  "PushedChecked",  "PushedMixed",
                                            "DisabledNormal", "DisabledChecked", "DisabledMixed"};

int16_t ToggleIconSlot(PaintStatus status)
{
    switch (status) {
    case kStatusOn: return 1;
    case kStatusMixed: return 2;
    case kStatusPushed: return 3;
    case kStatusPushedOn: return 4;
    case kStatusPushedMixed: return 5;
    case kStatusDisabled: return 6;
    case kStatusDisabledOn: return 7;
    case kStatusDisabledMixed: return 8;
    default: return 0;
    }
}

VIcon* LoadToggleIcon(VIcon** slots, VPainter* painter, const char* prefix, PaintStatus status)
{
    const int16_t slot = ToggleIconSlot(status);
    char name[48];
    std::snprintf(name, sizeof name, "%s%s", prefix, kToggleIconSuffixes[slot]);
    return LoadIcon(slots[slot], painter, name);
}

void DrawToggle(VPainter* painter, VLookHandler* look, VIcon* icon, PaintStatus status, const VString* text,
                int32_t l, int32_t t, int32_t w, int32_t h)
{
    const Pen pen(painter, look);
    if (icon) DrawIcon(painter, icon, l + 4, t + (h - icon->GetHeight()) / 2, kIconNormal);
    CaptionFont(painter, text, kStdFontControl);
    if (status == kStatusDisabled) {
        Caption(pen, text, 20, kAlignLeft, kAlignCentre, l + 21, t + 1, w - 20, h);
        Caption(pen, text, 29, kAlignLeft, kAlignCentre, l + 20, t, w - 20, h);
    } else {
        Caption(pen, text, 25, kAlignLeft, kAlignCentre, l + 20, t, w - 20, h);
    }
}

}  // namespace look

VWinLookHandler::~VWinLookHandler()
{
    for (VIcon* icon : fArrows) delete icon;
    for (VIcon* icon : fChecks) delete icon;
    for (VIcon* icon : fRadios) delete icon;
}

VIcon* VWinLookHandler::MakeScrollIcon(VPainter* painter, PaintMethod method)
{
    switch (method) {
    case kPaintScrollArrowLeft: return LoadIcon(fArrows[0], painter, "ArrowLeft");
    case kPaintScrollArrowRight: return LoadIcon(fArrows[1], painter, "ArrowRight");
    case kPaintScrollArrowUp: return LoadIcon(fArrows[2], painter, "ArrowTop");
    case kPaintScrollArrowDown: case kPaintDropDownArrow: return LoadIcon(fArrows[3], painter, "ArrowBottom");
    default: return nullptr;
    }
}

VIcon* VWinLookHandler::MakeCheckIcon(VPainter* painter, PaintStatus status)
{
    return LoadToggleIcon(fChecks, painter, "WinCheck", status);
}

VIcon* VWinLookHandler::MakeRadioIcon(VPainter* painter, PaintStatus status)
{
    return LoadToggleIcon(fRadios, painter, "WinRadio", status);
}

namespace {

void Button(const Pen& pen, PaintMethod method, PaintStatus status, const VString* text, int32_t l, int32_t t,
            int32_t w, int32_t h)
{
    mac::ButtonFace(pen, status, l, t, w, h);
    const bool push = method == kPaintPushButton;
    const bool flatPlain = method == kPaintFlatButton && (status == kStatusNormal || status == kStatusDisabled);
    bool framed = false;
    if (mac::IsRaised(status) && !flatPlain) {
        pen.LineColor(20);
        pen.TopLeft(l, t, w, h);
        if (push) {
            pen.p->SetLineStdColor(10);
            pen.BottomRight(l, t, w, h);
            pen.LineColor(21);
            pen.InnerBottomRight(l, t, w, h);
        } else {
            pen.LineColor(21);
            pen.BottomRight(l, t, w, h);
        }
        framed = true;
    } else if (mac::IsPushed(status)) {
        if (push) {
            pen.LineColor(10);
            pen.TopLeft(l, t, w, h);
            pen.p->SetLineStdColor(20);
            pen.BottomRight(l, t, w, h);
            pen.LineColor(20);
            pen.InnerBottomRight(l, t, w, h);
        } else {
            pen.LineColor(21);
            pen.TopLeft(l, t, w, h);
            pen.LineColor(20);
            pen.BottomRight(l, t, w, h);
        }
        framed = true;
    }
    if (framed) {
        if (push) Inset(l, t, w, h);
        else w -= 1, h -= 1;
    }
    ButtonCaption(pen, text, status, l, t, w, h);
}

void Grip(const Pen& pen, int32_t l, int32_t t, int32_t w, int32_t h)
{
    pen.LineColor(0);
    if (w - 2 < h - 2) {
        pen.Line(l + 1, t + 1, l + 2, t + 1);
        pen.Line(l + 1, t + 1, l + 1, t + h - 3);
        pen.LineColor(21);
        pen.Line(l + 1, t + h - 2, l + 3, t + h - 2);
        pen.Line(l + 3, t + 1, l + 3, t + h - 3);
    } else {
        pen.Line(l + 1, t + 1, l + 1, t + 2);
        pen.Line(l + 1, t + 1, l + w - 3, t + 1);
        pen.LineColor(21);
        pen.Line(l + 1, t + 3, l + w - 2, t + 3);
        pen.Line(l + w - 3, t + 3, l + w - 3, t + 3);
    }
}

// Raised (16) or sunken (17) edge; pushed, the painter's own colours.
void Edge(const Pen& pen, bool raised, PaintStatus status, int32_t l, int32_t t, int32_t w, int32_t h)
{
    const bool pushed = status == kStatusPushed;
    if (pushed) pen.p->SetLineStdColor(raised ? 0 : 10);
    else pen.LineColor(raised ? 20 : 21);
    pen.TopLeft(l, t, w, h);
    if (pushed) pen.p->SetLineStdColor(raised ? 10 : 0);
    else pen.LineColor(raised ? 21 : 20);
    pen.p->DrawVCornerRel(l + 1, t + h - 1, w - 2, 0, 0, -(h - 2));
}

}  // namespace

void VWinLookHandler::DrawListHeaderItem(VPainter* painter, PaintMethod, PaintStatus status, uint16_t flags, int32_t l,
                                         int32_t t, int32_t w, int32_t h)
{
    Preamble(painter);
    const Pen pen(painter, this);
    pen.Fill(17, l, t, w, h);
    if (status == kStatusPushed) {
        pen.LineColor(21);
        painter->FrameVRect(l, t, w, h);
    } else {
        pen.Line(20, l, t, l + w - 2, t);
        pen.Line(l, t, l, t + h - 2);
        pen.Line(22, l, t + h - 1, l + w - 1, t + h - 1);
        pen.Line(l + w - 1, t, l + w - 1, t + h - 1);
        pen.Line(21, l + 1, t + h - 2, l + w - 2, t + h - 2);
        pen.Line(l + w - 2, t + 1, l + w - 2, t + h - 2);
    }
    if (flags & 1) DrawListHeaderSortArrow(painter, kPaintSortArrowUp, status, l, t, w, h);
    else if (flags & 2) DrawListHeaderSortArrow(painter, kPaintSortArrowDown, status, l, t, w, h);
}

void VWinLookHandler::DrawListHeaderSortArrow(VPainter* painter, PaintMethod kind, PaintStatus, int32_t l, int32_t t,
                                              int32_t w, int32_t h)
{
    if (kind != kPaintSortArrowUp && kind != kPaintSortArrowDown) return;
    painter->SetLineStdColor(21);
    const int32_t x = l + w - 12, y = t + (h - 4) / 2;
    for (int32_t row = 0; row < 4; ++row) {
        const int32_t half = kind == kPaintSortArrowUp ? row : 3 - row;
        painter->DrawVLine(x + 3 - half, y + row, x + 3 + half, y + row);
    }
}

bool VWinLookHandler::Paint(VPainter* painter, PaintMethod method, PaintStatus status, int32_t l, int32_t t,
                            int32_t w, int32_t h, const VString* text, void* extra)
{
    Preamble(painter);
    const Pen pen(painter, this);
    switch (method) {
    case kPaintPanel: pen.Fill(17, l, t, w, h); break;
    case kPaintSeparatorLine: mac::SeparatorLine(pen, l, t, w, h); break;
    case kPaintCaptionPanel: mac::CaptionPanel(pen, status, text, l, t, w, h); break;
    case kPaintListLine: mac::ListLine(pen, status, text, l, t, w, h, 27, 27); break;
    case kPaintEditField: mac::EditField(pen, status, text, l, t, w, h, 27); break;
    case kPaintMenuItem: case kPaintSmallMenuItem: case kPaintMenuTitle:
        mac::MenuItem(pen, method, status, text, l, t, w, h, 32, kAlignCentre);
        break;
    case kPaintMenuSeparator: mac::MenuSeparator(pen, l, t, w, h); break;
    case kPaintPushButton: case kPaintFlatButton: case kPaintHeaderCell:
        Button(pen, method, status, text, l, t, w, h);
        break;
    case kPaintButtonTitle: ButtonCaption(pen, text, status, l, t, w, h); break;
    case kPaintRadioButton: case kPaintCheckBox: {
        VIcon* icon =
            method == kPaintCheckBox ? MakeCheckIcon(painter, status) : MakeRadioIcon(painter, status);
        DrawToggle(painter, this, icon, status, text, l, t, w, h);
        break;
    }
    case kPaintGrip: Grip(pen, l, t, w, h); break;
    case kPaintCentredSeparator: mac::CentredSeparator(pen, l, t, w, h); break;
    case kPaintRaisedEdge: Edge(pen, true, status, l, t, w, h); break;
    case kPaintSunkenEdge: Edge(pen, false, status, l, t, w, h); break;
    case kPaintEtchedFrame: mac::EtchedFrame(pen, l, t, w, h); break;
    case kPaintHScrollTrack: case kPaintVScrollTrack: mac::Track(pen, status, 0, l, t, w, h); break;
    case kPaintHScrollThumb: case kPaintVScrollThumb: case kPaintSplitBar: case kPaintSplitBarOther:
        mac::Thumb(pen, l, t, w, h);
        break;
    case kPaintScrollBarBackground: break;
    case kPaintScrollArrowLeft: case kPaintScrollArrowRight: case kPaintScrollArrowUp: case kPaintScrollArrowDown:
    case kPaintDropDownArrow: {
        mac::ArrowFrame(pen, status, l, t, w, h);
        int32_t x = l, y = t, iw = w, ih = h;
        if (status != kStatusPushed) Inset(x, y, iw, ih);
        VIcon* icon = MakeScrollIcon(painter, method);
        if (!icon) break;
        const int32_t ix = x + (iw >> 1) - (icon->GetWidth() >> 1), iy = y + (ih >> 1) - (icon->GetHeight() >> 1);
        if (status == kStatusNormal || status == kStatusPushed) DrawIcon(painter, icon, ix, iy, kIconNormal);
        else if (status == kStatusDisabled) DrawIcon(painter, icon, ix, iy, kIconShadow);
        break;
    }
    case kPaintDarkFill: pen.Fill(34, l, t, w, h); break;
    case kPaintPopUpBox: case kPaintPopUpEditField:
        Paint(painter, kPaintEditField, status, l, t, w, h, text, nullptr);
        Paint(painter, kPaintDropDownArrow, status, l + w - h + 2, t + 2, h - 4, h - 4, text, nullptr);
        break;
    case kPaintPopUpText: case kPaintPopUpTextOther:
        Paint(painter, kPaintListLine, status, l, t, w, h, text, nullptr);
        break;
    case kPaintListHeaderItem: case kPaintListHeaderItem2: case kPaintListHeaderItem3:
        DrawListHeaderItem(painter, method, status, extra ? *static_cast<const uint16_t*>(extra) : 0, l, t, w, h);
        break;
    default: DefaultBox(painter, l, t, w, h); break;
    }
    return true;
}

uint32_t VWinLookHandler::GetStdColor(StdColor c)
{
    if (c >= 0 && c <= 16) return BaseColor(c);
    switch (c) {
    case 17: case 18: case 33: return 0xC0C0C0;
    case 19: case 20: case 59: return 0xE0E0E0;
    case 21: case 22: return 0x7F7F7F;
    case 23: return 0x999999;
    case 24: case 25: case 26: case 31: return 0x000000;
    case 27: case 28: case 32: case 35: case 61: return 0xFFFFFF;
    case 29: case 65: return 0xAAAAAA;
    case 30: case 34: case 62: return 0x800000;
    case 36: return 0xAAFFFF;
    case 60: return 0x505050;
    default: return kNoColor;
    }
}

bool VWinLookHandler::GetStdFont(platform::CGrafPtr, StdFont font, VString& name, int16_t& size, uint8_t& bold,
                                 uint8_t& italic)
{
    VStr<16> family;
    family.FromCString(reinterpret_cast<const uint8_t*>(font == kStdFontViews ? "New York" : "Geneva"), kCharSetMac);
    return Font(name, size, bold, italic, family, font == kStdFontViews ? 10 : 9, false);
}

int32_t VWinLookHandler::GetStdBehaviour(StdBehaviour b)
{
    switch (b) {
    case 0: return 1;
    case 1: case 2: case 5: return 16;
    case 3: return 10;
    case 7: case 8: case 9: return GetStdBehaviour(2);
    case 10: return 18;
    case 11: return 12;
    case 12: return 17;
    default: return 0;
    }
}
