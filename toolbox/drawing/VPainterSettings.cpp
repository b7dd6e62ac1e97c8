// The recorded settings of a painter: colours, patterns, width, transfer
// modes and font. Nothing here touches the port.
#include "toolbox/drawing/VPainter.h"

#include "platform/drawing/GWorlds.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/foundation/MacPort.h"

using namespace platform;

namespace {

constexpr uint8_t kStdPatterns[13][8] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22}, {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55},
    {0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD}, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},
    {0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88}, {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88},
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},
    {0x82, 0x44, 0x28, 0x10, 0x28, 0x44, 0x82, 0x01},
};

}  // namespace

bool VPainter::_MakeStdPattern(PatternStyle style, Pattern& pattern)
{
    if (style < 0 || style > 12) return false;
    for (int i = 0; i < 8; ++i) pattern.pat[i] = kStdPatterns[style][i];
    return true;
}

// --- colours and patterns ----------------------------------------------------

void VPainter::SetLineColor(uint32_t color)
{
    fLineColor = color;
    fLineDirty = true;
}

void VPainter::SetLinePattern(const Pattern& pattern)
{
    fLinePattern = pattern;
    fLineDirty = true;
}

void VPainter::SetLineWidth(double width)
{
    fLineWidth = width;
    fLineDirty = true;
}

// A look without the colour answers kNoColor: taking it would paint white
// and look like "nothing applied yet" to the brush memory, so the colour
// set before stays.
void VPainter::SetLineStdColor(StdColor color)
{
    const uint32_t c = GetStdColor(color);
    if (c != kNoColor) SetLineColor(c);
}

void VPainter::SetLineStdPattern(PatternStyle style)
{
    if (_MakeStdPattern(style, fLinePattern)) fLineDirty = true;
}

void VPainter::SetFillColor(uint32_t color)
{
    fFillColor = color;
    fFillDirty = true;
}

void VPainter::SetFillPattern(const Pattern& pattern)
{
    fFillPattern = pattern;
    fFillDirty = true;
}

void VPainter::SetFillStdColor(StdColor color)
{
    const uint32_t c = GetStdColor(color);
    if (c != kNoColor) SetFillColor(c);
}

void VPainter::SetFillStdPattern(PatternStyle style)
{
    if (_MakeStdPattern(style, fFillPattern)) fFillDirty = true;
}

// The erase colour is the background of fills and frames too.
void VPainter::SetEraseColor(uint32_t color)
{
    fEraseColor = color;
    fLineDirty = fFillDirty = fEraseDirty = true;
}

void VPainter::SetEraseStdColor(StdColor color)
{
    const uint32_t c = GetStdColor(color);
    if (c != kNoColor) SetEraseColor(c);
}

void VPainter::SetTextColor(uint32_t color) { fTextColor = color; }

void VPainter::SetTextColor(uint8_t red, uint8_t green, uint8_t blue)
{
    fTextColor = uint32_t(red) | uint32_t(green) << 8 | uint32_t(blue) << 16;
}

void VPainter::SetTextStdColor(StdColor color)
{
    const uint32_t c = GetStdColor(color);
    if (c != kNoColor) fTextColor = c;
}

void VPainter::GetTextColor(uint8_t& red, uint8_t& green, uint8_t& blue) const
{
    MakeRGB(fTextColor, red, green, blue);
}

TransferMode VPainter::SetDrawingTransferMode(TransferMode mode)
{
    const TransferMode previous = fDrawingMode;
    fDrawingMode = mode;
    return previous;
}

TransferMode VPainter::SetTextTransferMode(TransferMode mode)
{
    const TransferMode previous = fTextMode;
    fTextMode = mode;
    return previous;
}

// --- font --------------------------------------------------------------------

void VPainter::SetFont(const VString& name)
{
    if (fFontName.CompareTo(name, 1) == 0 && fFontName.GetLength() == name.GetLength()) return;
    fFontName.FromVString(name);
    fFontNum = -1;
    fFontDirty = 7;
}

void VPainter::SetFontSize(double size, bool)
{
    if (size == fFontSize) return;
    fFontSize = size;
    fFontDirty = 7;
}

namespace {

bool SetFaceBit(uint8_t& face, uint8_t bit, bool on)
{
    if (bool(face & bit) == on) return false;
    face = on ? uint8_t(face | bit) : uint8_t(face & ~bit);
    return true;
}

}  // namespace

void VPainter::SetFontBold(bool on)
{
    if (SetFaceBit(fFace, 1, on)) fFontDirty = 7;
}

void VPainter::SetFontItalic(bool on)
{
    if (SetFaceBit(fFace, 2, on)) fFontDirty = 7;
}

void VPainter::SetFontUnderline(bool on)
{
    if (SetFaceBit(fFace, 4, on)) fFontDirty = 7;
}

void VPainter::GetFont(VString& name) const { name.FromVString(fFontName); }

void VPainter::SetStdFont(StdFont font)
{
    if (fCurPort) SetMacPort(fCurPort);
    VStr<255> name;
    int16_t size = 0;
    uint8_t bold = 0, italic = 0;
    if (!fLookHandler || !fLookHandler->GetStdFont(fCurPort, font, name, size, bold, italic)) {
        name.FromCString(reinterpret_cast<const uint8_t*>("Geneva"), kCharSetMac);
        size = 9;
        bold = italic = 0;
    }
    SetFont(name);
    SetFontSize(size);
    if (fFace) {
        fFace = 0;
        fFontDirty = 7;
    }
    SetFontBold(bold != 0);
    SetFontItalic(italic != 0);
}
