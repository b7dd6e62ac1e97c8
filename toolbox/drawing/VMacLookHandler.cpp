#include "toolbox/drawing/VMacLookHandler.h"

#include "toolbox/drawing/MacLookParts.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VIcon.h"

using namespace look;

VMacLookHandler::~VMacLookHandler()
{
    delete fLeft;
    delete fRight;
    delete fUp;
    delete fDown;
}

VIcon* VMacLookHandler::MakeScrollIcon(VPainter* painter, PaintMethod method)
{
    switch (method) {
    case kPaintScrollArrowLeft: return LoadIcon(fLeft, painter, "ArrowLeftMac");
    case kPaintScrollArrowRight: return LoadIcon(fRight, painter, "ArrowRightMac");
    case kPaintScrollArrowUp: return LoadIcon(fUp, painter, "ArrowTopMac");
    case kPaintScrollArrowDown: case kPaintDropDownArrow: return LoadIcon(fDown, painter, "ArrowBottomMac");
    default: return nullptr;
    }
}

namespace {

void Button(const Pen& pen, PaintMethod method, PaintStatus status, const VString* text, int32_t l, int32_t t,
            int32_t w, int32_t h)
{
    mac::ButtonFace(pen, status, l, t, w, h);
    const bool flatPlain = method == kPaintFlatButton && (status == kStatusNormal || status == kStatusDisabled);
    if (mac::IsRaised(status) && !flatPlain) {
        pen.LineColor(20);
        pen.TopLeft(l, t, w, h);
        pen.p->SetLineStdColor(10);
        pen.BottomRight(l, t, w, h);
        pen.LineColor(21);
        pen.InnerBottomRight(l, t, w, h);
        Inset(l, t, w, h);
    } else if (mac::IsPushed(status)) {
        pen.LineColor(10);
        pen.TopLeft(l, t, w, h);
        pen.p->SetLineStdColor(20);
        pen.BottomRight(l, t, w, h);
        pen.LineColor(21);
        pen.InnerTopLeft(l, t, w, h);
        Inset(l, t, w, h);
    }
    CaptionFont(pen.p, text, kStdFontControl);
    ButtonCaption(pen, text, status, l, t, w, h);
}

void CheckBox(const Pen& pen, PaintStatus status, const VString* text, int32_t l, int32_t t, int32_t w, int32_t h)
{
    pen.p->SetFillStdColor(IsMixedStatus(status) ? 3 : 0);
    pen.p->SetLineStdColor(IsDisabledStatus(status) ? 29 : 10);
    pen.p->SetLineWidth(1.0);
    const int32_t y = t + ((h - 12) >> 1);
    pen.p->DrawVRect(l + 4, y, 12, 12);
    if (IsOnStatus(status)) {
        pen.p->DrawVLine(l + 4, y, l + 16, y + 12);
        pen.p->DrawVLine(l + 4, y + 12, l + 16, y);
    }
    CaptionFont(pen.p, text, kStdFontControl);
    Caption(pen, text, IsDisabledStatus(status) ? 29 : 25, kAlignLeft, kAlignCentre, l + 20, t, w - 20, h);
}

void Grip(const Pen& pen, int32_t l, int32_t t, int32_t w, int32_t h)
{
    const int64_t limit = int64_t(l) + w + h;
    pen.LineColor(21);
    for (int64_t x = int64_t(l) - 2; x < limit; x += 5) pen.Line(int32_t(x), t, int32_t(x - h), t + h);
    pen.LineColor(20);
    for (int64_t x = int64_t(l) - 1; x < limit; x += 5) pen.Line(int32_t(x), t, int32_t(x - h), t + h);
}

}  // namespace

bool VMacLookHandler::Paint(VPainter* painter, PaintMethod method, PaintStatus status, int32_t l, int32_t t,
                            int32_t w, int32_t h, const VString* text, void*)
{
    Preamble(painter);
    const Pen pen(painter, this);
    switch (method) {
    case kPaintPanel: pen.Fill(17, l, t, w, h); break;
    case kPaintSeparatorLine: mac::SeparatorLine(pen, l, t, w, h); break;
    case kPaintCaptionPanel: mac::CaptionPanel(pen, status, text, l, t, w, h); break;
    case kPaintListLine: mac::ListLine(pen, status, text, l, t, w, h, 27, 27); break;
    case kPaintEditField: mac::EditField(pen, status, text, l, t, w, h, 0); break;
    case kPaintMenuItem: case kPaintSmallMenuItem: case kPaintMenuTitle:
        mac::MenuItem(pen, method, status, text, l, t, w, h, 28, kAlignCentre);
        break;
    case kPaintMenuSeparator: mac::MenuSeparator(pen, l, t, w, h); break;
    case kPaintPushButton: case kPaintFlatButton: Button(pen, method, status, text, l, t, w, h); break;
    case kPaintButtonTitle:
        CaptionFont(painter, text, kStdFontControl);
        ButtonCaption(pen, text, status, l, t, w, h);
        break;
    case kPaintRadioButton: case kPaintCheckBox: CheckBox(pen, status, text, l, t, w, h); break;
    case kPaintGrip: Grip(pen, l, t, w, h); break;
    case kPaintCentredSeparator: mac::CentredSeparator(pen, l, t, w, h); break;
    case kPaintRaisedEdge: mac::Edges(pen, 20, 21, l, t, w, h); break;
    case kPaintSunkenEdge: mac::Edges(pen, 21, 20, l, t, w, h); break;
    case kPaintEtchedFrame: mac::EtchedFrame(pen, l, t, w, h); break;
    case kPaintHScrollTrack: case kPaintVScrollTrack: mac::Track(pen, status, 27, l, t, w, h); break;
    case kPaintHScrollThumb: case kPaintVScrollThumb: case kPaintSplitBar: case kPaintSplitBarOther:
        mac::Thumb(pen, l, t, w, h);
        break;
    case kPaintScrollBarBackground: break;
    case kPaintScrollArrowLeft: case kPaintScrollArrowRight: case kPaintScrollArrowUp: case kPaintScrollArrowDown:
    case kPaintDropDownArrow: {
        mac::ArrowFrame(pen, status, l, t, w, h);
        VIcon* icon = MakeScrollIcon(painter, method);
        if (status == kStatusNormal || status == kStatusPushed) DrawIcon(painter, icon, l + 1, t + 1, kIconNormal);
        else if (status == kStatusDisabled) DrawIcon(painter, icon, l + 1, t + 1, kIconShadow);
        break;
    }
    case kPaintDarkFill: pen.Fill(7, l, t, w, h); break;
    case kPaintPopUpBox:
        painter->SetFillStdColor(0);
        painter->SetLineStdColor(10);
        painter->DrawVRect(l, t, w - 1, h - 1);
        painter->DrawVLine(l + 2, t + h - 1, l + w, t + h - 1);
        painter->DrawVLine(l + w - 1, t + 2, l + w - 1, t + h);
        break;
    case kPaintPopUpText: Paint(painter, kPaintSmallMenuItem, status, l, t, w - h, h, text, nullptr); break;
    case kPaintPopUpEditField:
        Paint(painter, kPaintEditField, status, l, t, w - h - 6, h, text, nullptr);
        Paint(painter, kPaintPopUpBox, status, l + w - h - 6, t, h, h, text, nullptr);
        break;
    case kPaintPopUpTextOther: Paint(painter, kPaintSmallMenuItem, status, l, t, w - h - 6, h, text, nullptr); break;
    default: DefaultBox(painter, l, t, w, h); break;
    }
    return true;
}

uint32_t VMacLookHandler::GetStdColor(StdColor c)
{
    if (c >= 0 && c <= 16) return BaseColor(c);
    switch (c) {
    case 17: case 18: case 33: return 0xDDDDDD;
    case 19: case 20: return 0xEEEEEE;
    case 21: case 22: case 34: return 0x666666;
    case 23: return 0x999999;
    case 24: case 27: case 32: case 35: return 0xFFFFFF;
    case 25: case 26: case 28: case 31: case 61: return 0x000000;
    case 29: case 65: return 0x888888;
    case 30: case 62: return HiliteColor();
    case 36: return 0xAAFFFF;
    default: return kNoColor;
    }
}

bool VMacLookHandler::GetStdFont(platform::CGrafPtr, StdFont font, VString& name, int16_t& size, uint8_t& bold,
                                 uint8_t& italic)
{
    return ClassicFont(font, false, name, size, bold, italic);
}

int32_t VMacLookHandler::GetStdBehaviour(StdBehaviour b)
{
    switch (b) {
    case 1: case 2: case 3: case 5: case 7: case 8: case 9: return 16;
    case 10: return 18;
    case 11: return 12;
    default: return 0;
    }
}
