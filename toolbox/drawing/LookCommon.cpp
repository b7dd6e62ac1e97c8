#include "toolbox/drawing/LookCommon.h"

#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/drawing/VResourceFile.h"
#include "toolbox/foundation/VIcon.h"
#include "toolbox/foundation/VString.h"

namespace look {

namespace {

int32_t gIconLoads = 0;

}  // namespace

void Preamble(VPainter* p)
{
    p->SetFillStdPattern(kPatternBlack);
    p->SetLineStdPattern(kPatternBlack);
    p->SetLineWidth(1.0);
    p->SetDrawingTransferMode(kTransferCopy);
}

uint32_t Pen::Color(StdColor n) const { return h->GetStdColor(n); }
void Pen::LineColor(StdColor n) const { p->SetLineColor(Color(n)); }
void Pen::FillColor(StdColor n) const { p->SetFillColor(Color(n)); }
void Pen::EraseColor(StdColor n) const { p->SetEraseColor(Color(n)); }
void Pen::TextColor(StdColor n) const { p->SetTextColor(Color(n)); }

void Pen::Fill(StdColor n, int32_t l, int32_t t, int32_t w, int32_t hh) const
{
    FillColor(n);
    p->FillVRect(l, t, w, hh);
}

void Pen::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) const { p->DrawVLine(x1, y1, x2, y2); }

void Pen::Line(StdColor n, int32_t x1, int32_t y1, int32_t x2, int32_t y2) const
{
    LineColor(n);
    p->DrawVLine(x1, y1, x2, y2);
}

void Pen::TopLeft(int32_t l, int32_t t, int32_t w, int32_t hh) const
{
    p->DrawVCornerRel(l, t + hh - 1, 0, -(hh - 1), w - 1, 0);
}

void Pen::BottomRight(int32_t l, int32_t t, int32_t w, int32_t hh) const
{
    p->DrawVCornerRel(l, t + hh - 1, w - 1, 0, 0, -(hh - 1));
}

void Pen::InnerTopLeft(int32_t l, int32_t t, int32_t w, int32_t hh) const
{
    p->DrawVCornerRel(l + 1, t + hh - 2, 0, -(hh - 3), w - 3, 0);
}

void Pen::InnerBottomRight(int32_t l, int32_t t, int32_t w, int32_t hh) const
{
    p->DrawVCornerRel(l + 1, t + hh - 2, w - 3, 0, 0, -(hh - 3));
}

void DefaultBox(VPainter* p, int32_t l, int32_t t, int32_t w, int32_t h)
{
    p->SetFillStdColor(0);
    p->SetLineStdColor(10);
    p->DrawVRect(l, t, w, h);
}

void Caption(const Pen& pen, const VString* text, StdColor color, int16_t hAlign, int16_t vAlign, int32_t l,
             int32_t t, int32_t w, int32_t h, bool theme)
{
    if (!text) return;
    pen.TextColor(color);
    DrawTextBox(pen.p, *text, hAlign, vAlign, l, t, w, h, theme);
}

void EngravedCaption(const Pen& pen, const VString* text, int16_t hAlign, int16_t vAlign, int32_t l, int32_t t,
                     int32_t w, int32_t h)
{
    Caption(pen, text, 20, hAlign, vAlign, l + 1, t + 1, w, h);
    Caption(pen, text, 29, hAlign, vAlign, l, t, w, h);
}

void CaptionFont(VPainter* p, const VString* text, StdFont font)
{
    if (text) p->SetStdFont(font);
}

void ButtonCaption(const Pen& pen, const VString* text, PaintStatus status, int32_t l, int32_t t, int32_t w,
                   int32_t h)
{
    if (!text) return;
    if (status == kStatusDisabled) EngravedCaption(pen, text, kAlignCentre, kAlignCentre, l, t, w, h);
    else if (status == kStatusPushed || status == kStatusOn)
        Caption(pen, text, 25, kAlignCentre, kAlignCentre, l + 1, t + 1, w, h);
    else if (status == kStatusMixed) Caption(pen, text, 29, kAlignCentre, kAlignCentre, l, t, w, h);
    else Caption(pen, text, 25, kAlignCentre, kAlignCentre, l, t, w, h);
}

VIcon* LoadIcon(VIcon*& slot, VPainter* p, const char* name)
{
    if (!slot) {
        slot = new VIcon(p, gResFile, name);
        if (slot) ++gIconLoads;
    }
    return slot;
}

int32_t IconLoads() { return gIconLoads; }

}  // namespace look

#include "platform/drawing/Ports.h"
#include "platform/fonts/Fonts.h"
#include "toolbox/foundation/system/VSystem.h"

namespace look {

void FontName(int16_t number, VString& name)
{
    if (gSystem) {
        gSystem->MacGetFontName(number, name);
        if (name.GetLength() > 0) return;
    }
    platform::Str255 pname{};
    platform::GetFontName(number, pname);
    name.FromMacPString(pname);
}

bool Font(VString& name, int16_t& size, uint8_t& bold, uint8_t& italic, const VString& family, int16_t fontSize,
          bool isBold)
{
    name.FromVString(family);
    size = fontSize;
    bold = isBold;
    italic = 0;
    return true;
}

bool ClassicFont(StdFont font, bool boldSmall, VString& name, int16_t& size, uint8_t& bold, uint8_t& italic)
{
    if (font < 0 || font > 7) return false;
    italic = 0;
    bold = 0;
    if (font == kStdFontMenu || font == kStdFontControl) {
        FontName(0, name);
        size = VSystem::MacGetSysFontSize();
        return true;
    }
    FontName(1, name);
    size = font == kStdFontViews ? 10 : 9;
    bold = boldSmall && (font == kStdFontSmallMenu || font == kStdFontSmallControl);
    return true;
}

uint32_t HiliteColor()
{
    platform::RGBColor c;
    platform::GetHiliteColor(&c);
    return uint32_t(c.red >> 8) | uint32_t(c.green >> 8) << 8 | uint32_t(c.blue >> 8) << 16;
}

}  // namespace look

namespace look {

uint32_t BaseColor(StdColor c)
{
    static constexpr uint8_t kGreys[] = {255, 230, 204, 179, 153, 128, 104, 77, 52, 26, 0};
    static constexpr uint32_t kColours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF0FFF, 0xFFFF00};
    if (c >= 0 && c <= 10) return uint32_t(kGreys[c]) * 0x010101u;
    if (c >= 11 && c <= 16) return kColours[c - 11];
    return kNoColor;
}

}  // namespace look
