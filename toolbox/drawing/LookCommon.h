// Drawing steps shared by the self-drawn looks: the preamble every Paint
// starts with, bevel corners, the default box, captions and the named
// colour icons the looks load from the application's resources.
#pragma once

#include <cstdint>

#include "toolbox/drawing/LookTypes.h"

class VIcon;
class VLookHandler;
class VPainter;
class VString;

namespace look {

// Horizontal and vertical text alignment of captions.
constexpr int16_t kAlignLeft = 0;
constexpr int16_t kAlignCentre = 1;

// Icon states of the painter's icon drawing.
constexpr int16_t kIconNormal = 0;
constexpr int16_t kIconShadow = 2;

// Solid fill and line patterns, a one-pixel pen and copy mode.
void Preamble(VPainter* p);

// A painter and the look whose own colours it paints with.
class Pen {
public:
    Pen(VPainter* painter, VLookHandler* look) : p(painter), h(look) {}

    uint32_t Color(StdColor n) const;
    void LineColor(StdColor n) const;
    void FillColor(StdColor n) const;
    void EraseColor(StdColor n) const;
    void TextColor(StdColor n) const;
    // The rectangle filled with colour n.
    void Fill(StdColor n, int32_t l, int32_t t, int32_t w, int32_t h) const;
    // A line between two points with the current line colour, or colour n.
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) const;
    void Line(StdColor n, int32_t x1, int32_t y1, int32_t x2, int32_t y2) const;

    // Bevel corners with the current line colour: the left and top edges,
    // the bottom and right edges, and the same one pixel further in.
    void TopLeft(int32_t l, int32_t t, int32_t w, int32_t h) const;
    void BottomRight(int32_t l, int32_t t, int32_t w, int32_t h) const;
    void InnerTopLeft(int32_t l, int32_t t, int32_t w, int32_t h) const;
    void InnerBottomRight(int32_t l, int32_t t, int32_t w, int32_t h) const;

    VPainter* p;
    VLookHandler* h;
};

// The rectangle captions and icons use inside a one-pixel bevel.
inline void Inset(int32_t& l, int32_t& t, int32_t& w, int32_t& h)
{
    l += 1;
    t += 1;
    w -= 3;
    h -= 3;
}

// The box of a part the look does not draw: white, framed in black, in the
// painter's current look.
void DefaultBox(VPainter* p, int32_t l, int32_t t, int32_t w, int32_t h);

// The caption in the colour, aligned in the box; theme is the painter's
// theme text flag. Nothing without a caption.
void Caption(const Pen& pen, const VString* text, StdColor color, int16_t hAlign, int16_t vAlign, int32_t l,
             int32_t t, int32_t w, int32_t h, bool theme = false);
// A disabled caption: colour 20 one pixel right and down, then colour 29.
void EngravedCaption(const Pen& pen, const VString* text, int16_t hAlign, int16_t vAlign, int32_t l, int32_t t,
                     int32_t w, int32_t h);
// The painter's standard font, only when there is a caption to draw.
void CaptionFont(VPainter* p, const VString* text, StdFont font);

// A button's caption by its status: engraved when disabled, one pixel right
// and down when pushed or on, colour 29 when mixed, else colour 25; centred.
void ButtonCaption(const Pen& pen, const VString* text, PaintStatus status, int32_t l, int32_t t, int32_t w,
                   int32_t h);

// The named 'cicn' of the application's resources, made for the painter on
// first use and kept in slot; a missing resource gives an icon that draws
// nothing, kept like the others.
VIcon* LoadIcon(VIcon*& slot, VPainter* p, const char* name);
// Places the icon and draws it in the state (normal or shadow).
void DrawIcon(VPainter* p, VIcon* icon, int32_t x, int32_t y, int16_t state);
// How many icons the looks have built (tests).
int32_t IconLoads();

// The text drawing of the painter, as the looks use it.
void DrawTextBox(VPainter* p, const VString& text, int16_t hAlign, int16_t vAlign, int32_t l, int32_t t, int32_t w,
                 int32_t h, bool theme);

}  // namespace look

namespace look {

// The names of the platform's fonts 0 (system) and 1 (application).
void FontName(int16_t number, VString& name);
// Fills the font answer; always true.
bool Font(VString& name, int16_t& size, uint8_t& bold, uint8_t& italic, const VString& family, int16_t fontSize,
          bool isBold);
// The Mac and Cop looks' fonts: system font for menus and controls, the
// application font elsewhere; bold small menus and controls in the Cop look.
bool ClassicFont(StdFont font, bool boldSmall, VString& name, int16_t& size, uint8_t& bold, uint8_t& italic);
// The platform's text highlight colour as a colour long.
uint32_t HiliteColor();

}  // namespace look

namespace look {

// Colours 0 to 16, alike in every self-drawn look: white, nine greys,
// black, then red, green, blue, yellow, magenta and cyan.
uint32_t BaseColor(StdColor c);

}  // namespace look
