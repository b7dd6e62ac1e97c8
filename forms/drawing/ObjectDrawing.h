// What the form objects' drawing shares: the drawing mode of titles and
// texts, the rectangle an object is drawn in, texts resolved for display,
// the printer's thin lines, and the table names fields are labelled with.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

class LayoutEditor;
class LayoutObject;
class VIObj;

// The drawing mode of the objects of a form model: 1 texts that are
// string-list references (":" id "," item) show that item; 2 variables and
// fields show their names; any other value shows titles as stored.
extern int16_t varDrawingMode;
constexpr int16_t kDrawResolved = 1;
constexpr int16_t kDrawNames = 2;

// The structure's table names ('WNQz' 0: 32 bytes a table, length-prefixed;
// null: none), handed over by the preview while a form is drawn.
extern platform::Handle hwname;
// The name of table n (1-based); false when hwname does not hold it.
bool TableName(int16_t table, unsigned char* out);

// The drawing mode that applies to the object: varDrawingMode for an
// object of a form model, else 0.
int16_t DrawingModeOf(const LayoutObject* object);
// The text as the object shows it: in mode 1 the item a reference names
// (the reference itself when the item is missing), else the text.
void ShownText(const LayoutObject* object, const unsigned char* stored, unsigned char* out);
// The rectangle the object is drawn in.
platform::Rect ObjectRect(LayoutObject* object, LayoutEditor* editor, int16_t dh, int16_t dv);
// Asks the context's handler to paint it.
void JumpObjVIProc(VIObj* context);

// The printer's thin line width on and off (lines of the hairline flag on
// the print port).
void setlaserwidth();
void setnormalwidth();
bool LaserWidthOn();

// Text in the current port, word-wrapped in r from `inset` pixels inside
// its left edge (right-aligned `inset` pixels from its right edge when the
// system text runs right to left).
void DrawLabel(const unsigned char* text, const platform::Rect& r, int16_t inset);
// Erases r in white, the port's background colour kept.
void EraseWhite(const platform::Rect& r);
// A frame of r in a colour 0xRRGGBB with a square pen of `size`, grey
// meaning the grey pattern in black.
void FrameIn(const platform::Rect& r, int32_t rgb, int16_t size);
void FrameGrey(const platform::Rect& r);
// The fake scroll bars of an object: right of r and below it.
void FakeScrollBars(const platform::Rect& r, bool vertical, bool horizontal, class VI_Handler* handler);
