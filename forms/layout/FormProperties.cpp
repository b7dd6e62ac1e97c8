#include "forms/layout/FormProperties.h"

#include <cstring>

#include "forms/iff/ChunkFields.h"
#include "kernel/helpers/KernelColors.h"

int16_t dfltFont = 3, dfltSize = 12, dfltFace = 0, dfltJust = 0;
uint8_t dfltFillPattern[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
uint8_t dfltPenPattern[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
int16_t dfltPenWidth = 1, dfltPenHeight = 1;
uint8_t dfltUseFill = 0, dfltUsePen = 1, dfltHairline = 0;

namespace {

constexpr IFFP kDraw = IFFP(platform::FourCC("DRAW"));
constexpr IFFP kFont = IFFP(platform::FourCC("FONT"));
constexpr int32_t kOldDrawSize = 27;
// An older writer's white.
constexpr uint32_t kOldWhite = 0xFFFF00FF;

FormWriteFrame* WriterOf(_GroupContext* context) { return reinterpret_cast<FormWriteFrame*>(context->clientFrame); }

uint32_t Colour(uint32_t stored) { return stored == kOldWhite ? 0x00FFFFFF : stored; }

}  // namespace

void FillCurProps(DrawingSpecs* drawing, FontSpecs* font)
{
    *drawing = DrawingSpecs{};
    std::memcpy(drawing->fillPattern, dfltFillPattern, 8);
    std::memcpy(drawing->penPattern, dfltPenPattern, 8);
    drawing->penWidth = dfltPenWidth;
    drawing->penHeight = dfltPenHeight;
    drawing->useFillPattern = dfltUseFill;
    drawing->usePenPattern = dfltUsePen;
    drawing->hairline = dfltHairline;
    *font = FontSpecs{dfltFont, dfltSize, dfltJust, dfltFace, -1, 0};
}

IFFP SaveDrawingProperties(bool force, const DrawingSpecs& specs, _GroupContext* context)
{
    FormWriteFrame* frame = WriterOf(context);
    if (!force && frame && frame->drawingWritten && frame->lastDrawing == specs) return IFF_OKAY;
    ChunkWriter w(context);
    w.Begin(kDraw);
    w.Bytes(specs.fillPattern, 8);
    w.Bytes(specs.penPattern, 8);
    w.U16(uint16_t(specs.penWidth));
    w.U16(uint16_t(specs.penHeight));
    w.U32(specs.foreColor);
    w.U32(specs.backColor);
    w.U8(specs.useFillPattern);
    w.U8(specs.usePenPattern);
    w.U8(specs.hairline);
    w.U8(specs.pad);
    w.End();
    if (w.Error() == IFF_OKAY && frame) {
        frame->lastDrawing = specs;
        frame->drawingWritten = true;
    }
    return w.Error();
}

IFFP SaveFontProperties(bool force, int16_t font, int16_t size, int16_t face, int16_t justification,
                        int16_t styleSheet, int16_t styleSheetHeight, _GroupContext* context)
{
    FormWriteFrame* frame = WriterOf(context);
    if (!force && frame && frame->fontWritten) {
        const FontSpecs& last = frame->lastFont;
        bool same = last.styleSheet == styleSheet && last.face == face && last.justification == justification;
        if (styleSheet == -1) same = same && last.font == font && last.size == size;
        if (same) return IFF_OKAY;
    }
    // Without a style sheet the height slot keeps what it held before.
    const int16_t height = styleSheet != -1 ? styleSheetHeight : frame ? frame->lastFont.styleSheetHeight : 0;
    ChunkWriter w(context);
    w.Begin(kFont);
    w.U16(uint16_t(font));
    w.U16(uint16_t(size));
    w.U16(uint16_t(justification));
    w.U16(uint16_t(face));
    w.U16(uint16_t(styleSheet));
    w.U16(uint16_t(height));
    w.End();
    if (w.Error() == IFF_OKAY && frame) {
        frame->lastFont = FontSpecs{font, size, justification, face, styleSheet, height};
        frame->fontWritten = true;
    }
    return w.Error();
}

IFFP ReadDrawingProperties(DrawingSpecs* current, _GroupContext* context)
{
    ChunkReader r(context);
    DrawingSpecs d = *current;
    const bool old = context->ckSize < 32 && context->ckSize >= kOldDrawSize;
    if (!r.Bytes(d.fillPattern, 8) || !r.Bytes(d.penPattern, 8) || !r.S16(&d.penWidth) || !r.S16(&d.penHeight))
        return r.Error();
    if (old) {
        int16_t fore = 0, back = 0;
        if (!r.S16(&fore) || !r.S16(&back)) return r.Error();
        int32_t f = 0, b = 0;
        OldCol2New(fore, back, &f, &b);
        d.foreColor = uint32_t(f);
        d.backColor = uint32_t(b);
    } else {
        if (!r.U32(&d.foreColor) || !r.U32(&d.backColor)) return r.Error();
        d.foreColor = Colour(d.foreColor);
        d.backColor = Colour(d.backColor);
    }
    if (r.Has(1)) r.U8(&d.useFillPattern);
    if (r.Has(1)) r.U8(&d.usePenPattern);
    if (r.Has(1)) r.U8(&d.hairline);
    if (r.Has(1)) r.U8(&d.pad);
    if (r.Ok()) *current = d;
    return r.Error();
}

IFFP ReadFontProperties(FontSpecs* current, _GroupContext* context)
{
    ChunkReader r(context);
    FontSpecs f = *current;
    if (!r.S16(&f.font) || !r.S16(&f.size) || !r.S16(&f.justification) || !r.S16(&f.face)) return r.Error();
    f.styleSheet = -1;
    if (r.Has(2)) r.S16(&f.styleSheet);
    if (r.Has(2)) r.S16(&f.styleSheetHeight);
    if (r.Ok()) *current = f;
    return r.Error();
}
