// The classic text editor's calls over the styled engine. A record is a
// handle to a TERec whose fields callers may read (and, as the classic
// editor allowed, write: text handle and length, selection, rectangles,
// alignment, then TECalText); every call takes such changes first.
//
// Text is Mac Roman, at most 32,767 bytes: longer text is cut at that
// length and the call reports teTextTooLongErr through TEGetLastError.
// Styled records keep their styles in the published stored forms (see
// StyleLayouts.h): the style handle holds the style record, the style
// table handle the table; both can be replaced byte for byte by callers,
// and are checked before use (damaged ones give one run of the record's
// default style).
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/drawing/ThemeText.h"  // the justifications teFlushDefault...

namespace platform {

struct TERec;
using TEPtr = TERec*;
using TEHandle = TERec**;
using CharsHandle = Handle;
using TEStyleHandle = Handle;
using STHandle = Handle;

using TEClickLoopUPP = Boolean (*)(TEPtr te);

struct TERec {
    Rect destRect;
    Rect viewRect;
    Rect selRect;
    int16_t lineHeight;  // -1 for styled records: lines vary
    int16_t fontAscent;
    Point selPoint;
    int16_t selStart;
    int16_t selEnd;
    int16_t active;
    int16_t just;    // teFlushDefault, teCenter, teFlushRight, teFlushLeft
    int16_t teLength;
    Handle hText;
    int16_t crOnly;  // below 0: lines break only at returns
    int16_t txFont;
    Style txFace;
    int16_t txMode;
    int16_t txSize;
    GrafPtr inPort;
    TEClickLoopUPP clickLoop;
    uintptr_t refCon;
    int16_t nLines;
    const int16_t* lineStarts;  // nLines + 1 entries, the last one teLength
    void* engine;               // the engine behind the record
};

// What TEGetStyle answers and TESetStyle takes.
struct TETextStyle {
    int16_t tsFont;
    Style tsFace;
    int16_t tsSize;
    RGBColor tsColor;
};

// Modes of TESetStyle and TEContinuousStyle.
enum : int16_t {
    doFont = 1,
    doFace = 2,
    doSize = 4,
    doColor = 8,
    doAll = 15,
    addSize = 16,
    doToggle = 32,
};

constexpr int32_t kTEMaxLength = 32767;
constexpr OSErr teTextTooLongErr = -30900;  // text cut at 32,767 bytes
constexpr OSErr teNotStyledErr = -30901;    // a styled call on a plain record

// The result of the last call: noErr, teTextTooLongErr, memFullErr...
OSErr TEGetLastError();

void TEInit();
// Records in the current port, with its font, size, face and fore colour.
TEHandle TENew(const Rect* destRect, const Rect* viewRect);
TEHandle TEStyleNew(const Rect* destRect, const Rect* viewRect);
void TEDispose(TEHandle te);

void TESetText(const void* text, int32_t length, TEHandle te);
CharsHandle TEGetText(TEHandle te);
// Inserts before the selection, which moves with its text.
void TEInsert(const void* text, int32_t length, TEHandle te);
void TEDelete(TEHandle te);
// One key; shift, option and command come from the keyboard's state.
void TEKey(int16_t key, TEHandle te);
void TEClick(Point pt, Boolean extend, TEHandle te);
void TESetClickLoop(TEClickLoopUPP clickLoop, TEHandle te);
void TEIdle(TEHandle te);
void TEActivate(TEHandle te);
void TEDeactivate(TEHandle te);
void TEUpdate(const Rect* area, TEHandle te);
void TECalText(TEHandle te);
void TEScroll(int16_t dh, int16_t dv, TEHandle te);
void TEAutoView(Boolean autoView, TEHandle te);
void TESetSelect(int32_t selStart, int32_t selEnd, TEHandle te);

// The editor's own scrap and the system scrap: cut and copy put the
// selection on both ('TEXT', and 'styl' from styled records); paste takes
// the system scrap's 'TEXT' (the editor's scrap when it has none).
void TECut(TEHandle te);
void TECopy(TEHandle te);
void TEPaste(TEHandle te);
void TEStylePaste(TEHandle te);
OSErr TEToScrap();
OSErr TEFromScrap();
int32_t TEGetScrapLength();

void TEGetStyle(int16_t offset, TETextStyle* style, int16_t* lineHeight, int16_t* fontAscent, TEHandle te);
void TESetStyle(int16_t mode, const TETextStyle* style, Boolean redraw, TEHandle te);
// Clears the bits of *mode whose attribute varies over the selection;
// faces report the bits common to all. Answers whether all held.
Boolean TEContinuousStyle(int16_t* mode, TETextStyle* style, TEHandle te);
// Null for a plain record.
TEStyleHandle TEGetStyleHandle(TEHandle te);
// The live style table beside the style record; null for a plain record.
STHandle TEGetStyleTableHandle(TEHandle te);

// Heights of lines startLine..endLine, counted from 1.
int32_t TEGetHeight(int32_t endLine, int32_t startLine, TEHandle te);
int16_t TEGetOffset(Point pt, TEHandle te);

// Draws Mac Roman text wrapped in the box, erasing the box first through
// the current port's rectangle procedure.
void TETextBox(const void* text, int32_t length, const Rect* box, int16_t just);

// Forgets the editor's scrap (tests).
void ResetTextEdit();

}  // namespace platform
