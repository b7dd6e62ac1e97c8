// Parts drawn alike by the Mac look and the looks told as its variants
// (Windows, Cop): panels, edges, list lines, fields, menu items, tracks,
// thumbs, buttons and check boxes. Colours come from the pen's look.
#pragma once

#include <cstdint>

#include "toolbox/drawing/LookCommon.h"

namespace look::mac {

void SeparatorLine(const Pen& pen, int32_t l, int32_t t, int32_t w, int32_t h);
// Method 0 then 17 through the look's own Paint, then the caption.
void CaptionPanel(const Pen& pen, PaintStatus status, const VString* text, int32_t l, int32_t t, int32_t w,
                  int32_t h);
// normalFill: the line's fill outside the disabled and pushed states.
void ListLine(const Pen& pen, PaintStatus status, const VString* text, int32_t l, int32_t t, int32_t w, int32_t h,
              StdColor normalFill, StdColor disabledFill);
// innerFill: the field's inner fill outside the pushed state.
void EditField(const Pen& pen, PaintStatus status, const VString* text, int32_t l, int32_t t, int32_t w, int32_t h,
               StdColor innerFill);
// selectedText: the caption colour when pushed; hAlign of the caption.
void MenuItem(const Pen& pen, PaintMethod method, PaintStatus status, const VString* text, int32_t l, int32_t t,
              int32_t w, int32_t h, StdColor selectedText, int16_t hAlign);
void MenuSeparator(const Pen& pen, int32_t l, int32_t t, int32_t w, int32_t h);
void CentredSeparator(const Pen& pen, int32_t l, int32_t t, int32_t w, int32_t h);
void Edges(const Pen& pen, StdColor topLeft, StdColor bottomRight, int32_t l, int32_t t, int32_t w, int32_t h);
void EtchedFrame(const Pen& pen, int32_t l, int32_t t, int32_t w, int32_t h);
// A checkerboard of colour fill over colour erase.
void Checkerboard(const Pen& pen, StdColor fill, StdColor erase, int32_t l, int32_t t, int32_t w, int32_t h);
void Track(const Pen& pen, PaintStatus status, StdColor erase, int32_t l, int32_t t, int32_t w, int32_t h);
void Thumb(const Pen& pen, int32_t l, int32_t t, int32_t w, int32_t h);
// The face and bevel of a scroll arrow.
void ArrowFrame(const Pen& pen, PaintStatus status, int32_t l, int32_t t, int32_t w, int32_t h);
// The button face by status: solid, checkerboard (mixed, on) or none.
void ButtonFace(const Pen& pen, PaintStatus status, int32_t l, int32_t t, int32_t w, int32_t h);
bool IsRaised(PaintStatus status);
bool IsPushed(PaintStatus status);

}  // namespace look::mac
