#include "toolbox/drawing/MacLookParts.h"

#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VPainter.h"

namespace look::mac {

void SeparatorLine(const Pen& pen, int32_t l, int32_t t, int32_t w, int32_t h)
{
    if (w == 0) {
        pen.Line(21, l, t, l, t + h);
        pen.Line(20, l + 1, t, l + 1, t + h);
    } else {
        pen.Line(21, l, t, l + w, t);
        pen.Line(20, l, t + 1, l + w, t + 1);
    }
}

void CaptionPanel(const Pen& pen, PaintStatus status, const VString* text, int32_t l, int32_t t, int32_t w,
                  int32_t h)
{
    pen.h->Paint(pen.p, kPaintPanel, status, l, t, w, h, nullptr, nullptr);
    pen.h->Paint(pen.p, kPaintSunkenEdge, status, l, t, w, h, nullptr, nullptr);
    CaptionFont(pen.p, text, kStdFontSmallMenu);
    Caption(pen, text, status == kStatusNormal ? 25 : 29, kAlignCentre, kAlignCentre, l, t, w, h);
}

void ListLine(const Pen& pen, PaintStatus status, const VString* text, int32_t l, int32_t t, int32_t w, int32_t h,
              StdColor normalFill, StdColor disabledFill)
{
    StdColor fill = normalFill, ink = 25;
    if (status == kStatusDisabled) fill = disabledFill, ink = 29;
    else if (status == kStatusPushed) fill = 30, ink = 28;
    pen.Fill(fill, l, t, w, h);
    Caption(pen, text, ink, kAlignLeft, kAlignCentre, l, t, w, h, true);
}

void EditField(const Pen& pen, PaintStatus status, const VString* text, int32_t l, int32_t t, int32_t w, int32_t h,
               StdColor innerFill)
{
    StdColor fill = innerFill, ink = 25;
    if (status == kStatusDisabled) ink = 29;
    else if (status == kStatusPushed) fill = 30, ink = 28;
    pen.Fill(27, l, t, w, h);
    pen.LineColor(21);
    pen.TopLeft(l, t, w, h);
    pen.LineColor(20);
    pen.BottomRight(l, t, w, h);
    pen.LineColor(10);
    pen.InnerTopLeft(l, t, w, h);
    pen.LineColor(19);
    pen.InnerBottomRight(l, t, w, h);
    pen.Fill(fill, l + 4, t + 4, w - 9, h - 9);
    Caption(pen, text, ink, kAlignLeft, kAlignCentre, l + 4, t + 4, w - 9, h - 9, true);
}

void MenuItem(const Pen& pen, PaintMethod method, PaintStatus status, const VString* text, int32_t l, int32_t t,
              int32_t w, int32_t h, StdColor selectedText, int16_t hAlign)
{
    StdColor fill = 33, ink = 31;
    if (status == kStatusDisabled) ink = 29;
    else if (status == kStatusPushed) fill = 34, ink = selectedText;
    pen.Fill(fill, l, t, w, h);
    if (!text) return;
    pen.p->SetStdFont(method == kPaintMenuItem ? kStdFontMenu : kStdFontSmallMenu);
    if (status == kStatusDisabled) Caption(pen, text, 20, hAlign, kAlignCentre, l + 1, t + 1, w + 1, h + 1);
    Caption(pen, text, ink, hAlign, kAlignCentre, l, t, w, h);
}

void MenuSeparator(const Pen& pen, int32_t l, int32_t t, int32_t w, int32_t h)
{
    pen.Fill(33, l, t, w, h);
    pen.LineColor(29);
    pen.p->DrawVLineRel(l, t, w, h);
}

void CentredSeparator(const Pen& pen, int32_t l, int32_t t, int32_t w, int32_t h)
{
    if (w < h) {
        const int32_t m = l + w / 2;
        pen.Line(21, m - 1, t, m - 1, t + h);
        pen.Line(20, m, t, m, t + h);
    } else {
        const int32_t n = t + h / 2;
        pen.Line(21, l, n - 1, l + w, n - 1);
        pen.Line(20, l, n, l + w, n);
    }
}

void Edges(const Pen& pen, StdColor topLeft, StdColor bottomRight, int32_t l, int32_t t, int32_t w, int32_t h)
{
    pen.LineColor(topLeft);
    pen.TopLeft(l, t, w, h);
    pen.LineColor(bottomRight);
    pen.BottomRight(l, t, w, h);
}

void EtchedFrame(const Pen& pen, int32_t l, int32_t t, int32_t w, int32_t h)
{
    pen.LineColor(20);
    pen.p->FrameVRect(l + 1, t + 1, w - 1, h - 1);
    pen.LineColor(21);
    pen.p->FrameVRect(l, t, w - 1, h - 1);
}

void Checkerboard(const Pen& pen, StdColor fill, StdColor erase, int32_t l, int32_t t, int32_t w, int32_t h)
{
    pen.EraseColor(erase);
    pen.FillColor(fill);
    pen.p->SetFillStdPattern(kPatternGrey);
    pen.p->FillVRect(l, t, w, h);
    pen.p->SetFillStdPattern(kPatternBlack);
}

void Track(const Pen& pen, PaintStatus status, StdColor erase, int32_t l, int32_t t, int32_t w, int32_t h)
{
    Checkerboard(pen, status == kStatusPushed ? 22 : 23, erase, l, t, w, h);
}

void Thumb(const Pen& pen, int32_t l, int32_t t, int32_t w, int32_t h)
{
    pen.Fill(17, l, t, w, h);
    pen.LineColor(10);
    pen.BottomRight(l, t, w, h);
    pen.LineColor(20);
    pen.InnerTopLeft(l, t, w, h);
    pen.LineColor(21);
    pen.InnerBottomRight(l, t, w, h);
}

void ArrowFrame(const Pen& pen, PaintStatus status, int32_t l, int32_t t, int32_t w, int32_t h)
{
    if (status == kStatusPushed) {
        pen.FillColor(17);
        pen.LineColor(21);
        pen.p->DrawVRect(l, t, w, h);
    } else {
        Thumb(pen, l, t, w, h);
    }
}

void ButtonFace(const Pen& pen, PaintStatus status, int32_t l, int32_t t, int32_t w, int32_t h)
{
    switch (status) {
    case kStatusPushed: case kStatusPushedOn: case kStatusDisabled: case kStatusNormal:
    case kStatusButton3: case kStatusButton4: case kStatusButton5:
        pen.Fill(17, l, t, w, h);
        break;
    case kStatusPushedMixed: case kStatusOn: Checkerboard(pen, 17, 0, l, t, w, h); break;
    case kStatusMixed: Checkerboard(pen, 17, 0, l + 1, t + 1, w - 2, h - 2); break;
    default: break;
    }
}

bool IsRaised(PaintStatus s)
{
    return s == kStatusNormal || s == kStatusMixed || s == kStatusButton3 || s == kStatusButton5 ||
           s == kStatusPushedMixed || s == kStatusDisabled;
}

bool IsPushed(PaintStatus s)
{
    return s == kStatusOn || s == kStatusButton4 || s == kStatusPushed || s == kStatusPushedOn;
}

}  // namespace look::mac
