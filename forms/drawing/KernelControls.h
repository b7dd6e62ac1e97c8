// The kernel's drawing of the controls a variable stands for, from its
// drawing record (a variable record, KernelRecords.h, filled by
// VarObject::BuildLienObj): pop-up menus, combo boxes, tab controls, 3D
// frames and button grids; and the small drawings the item list shares.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

class VI_Handler;

// A pop-up menu: a framed box with a shadow, the title in it and a
// triangle at its right. The format is the menu's items (not drawn).
void DrawPopupInStruct(platform::Handle record, const unsigned char* title, const unsigned char* format);
// An entry box with the title and a button with a triangle at its right.
void DrawComboInStruct(platform::Handle record, const unsigned char* title);
// A tab control: the record's format gives the tabs (";" between them,
// the label alone when it is empty); the first tab is in front; the
// handler paints the body.
void DrawTabInStruct(platform::Handle record, const platform::Rect& r, const unsigned char* label,
                     platform::Handle defaultStyle, VI_Handler* handler);
// The 3D frame of sub-type 18 (etched), 19 (raised) or 20 (sunken).
void Draw3DFrameInStruct(platform::Handle record, const platform::Rect& r, VI_Handler* handler);
// A row of raised cells, one for each ";"-separated item of the format
// (one cell without items), each with its item centred.
void DrawButtonGridInStruct(platform::Handle record);
// Inverts r with the highlight colour (the flag is not used).
void InvertHilite(const platform::Rect& r, bool flag);

// The event handler of pop-up buttons: reads the event's kind; no error.
int32_t PopupButtonProc(void* callRef, void* event, void* userData);
