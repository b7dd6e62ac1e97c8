// The drawing and font properties that "DRAW" and "FONT" chunks carry.
// A form stores them once as its defaults and again before any object
// whose properties differ from the last written; readers keep the last
// read as the current ones for the objects that follow.
//
// "DRAW", 32 bytes (an older 27-byte form has two old palette numbers in
// place of the colour longs):
//   off size
//    0   8   fill pattern
//    8   8   pen pattern
//   16   2   pen width            20  4  foreground colour 0x00BBGGRR
//   18   2   pen height           24  4  background colour
//   28   1   use fill pattern     29  1  use pen pattern
//   30   1   hairline             31  1  pad
// "FONT", 12 bytes (an older 8-byte form stops after the face; its style
// sheet is then -1): font, size, justification, face, style sheet (-1:
// none), that style sheet's height when it was written; i16 each.
#pragma once

#include <cstdint>

#include "forms/iff/Iff.h"

struct DrawingSpecs {
    uint8_t fillPattern[8] = {};
    uint8_t penPattern[8] = {};
    int16_t penWidth = 0, penHeight = 0;
    uint32_t foreColor = 0, backColor = 0;
    uint8_t useFillPattern = 0, usePenPattern = 0, hairline = 0, pad = 0;

    bool operator==(const DrawingSpecs&) const = default;
};

struct FontSpecs {
    int16_t font = 0, size = 0, justification = 0, face = 0;
    int16_t styleSheet = -1;
    int16_t styleSheetHeight = 0;
};

// The kernel's defaults for new form objects.
extern int16_t dfltFont, dfltSize, dfltFace, dfltJust;
extern uint8_t dfltFillPattern[8], dfltPenPattern[8];
extern int16_t dfltPenWidth, dfltPenHeight;
extern uint8_t dfltUseFill, dfltUsePen, dfltHairline;

// What a form writer remembers between objects: the properties written
// last. It rides on the writing contexts' client-frame pointer, as a
// reader's larger frame does.
struct FormWriteFrame {
    _ClientFrame client;
    DrawingSpecs lastDrawing;
    FontSpecs lastFont;
    bool drawingWritten = false, fontWritten = false;
    // The members of groups carry their object methods ("CCQz" after a
    // field's or variable's "Thm#"), as objects copied to the scrap do.
    bool carryMethods = false;
};

// Both from the kernel defaults, style sheet -1.
void FillCurProps(DrawingSpecs* drawing, FontSpecs* font);

// Write "DRAW" or "FONT" when forced, when nothing was written yet, or when
// the properties differ from the last written: all 32 drawing bytes; style
// sheet, face and justification, and font and size only without a style
// sheet. The style sheet's height is written only when a style sheet is set.
IFFP SaveDrawingProperties(bool force, const DrawingSpecs& specs, _GroupContext* context);
IFFP SaveFontProperties(bool force, int16_t font, int16_t size, int16_t face, int16_t justification,
                        int16_t styleSheet, int16_t styleSheetHeight, _GroupContext* context);

// Read the chunk just opened into `current`, tolerating the older sizes.
IFFP ReadDrawingProperties(DrawingSpecs* current, _GroupContext* context);
IFFP ReadFontProperties(FontSpecs* current, _GroupContext* context);
