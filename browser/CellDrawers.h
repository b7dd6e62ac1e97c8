// The labels of design objects in the browser's lists, one drawer per
// family of kinds, shared by the main list (list definition 1001) and the
// pick lists of the other panes and the dialogs (1002). A label is the
// kind's name and the object's name, qualified by its owners for what
// belongs to a table, a form or a method; a local variable's owner is
// drawn in italics before its name. Unused objects are red. The main list
// also shows ids and group member counts and underlines documented
// objects. Right-to-left systems get labels ending 4 pixels inside the
// right edge.
#pragma once

#include <cstdint>

#include "app/longlist/LongList.h"
#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

class TObjQz;

namespace browser {

// Where and for which list a label is drawn.
struct CellPen {
    platform::Rect rect{0, 0, 0, 0};  // the text's rectangle, right of the icon
    bool mainList = false;
};

// Text builders (length-prefixed, at most 255 bytes).
// A table's or field's qualified name: "[Table]" or "[Table]Sub.Field".
void GetStructCellName(TObjQz* obj, unsigned char* out);
// A project or database method's part of a label: its name.
void GetProcCell(TObjQz* method, unsigned char* out);
// An object method's path: table, form, object name (appended).
void GetScriptCell(TObjQz* method, unsigned char* out);
// A form's table and name (appended); "(no table)" without a form.
void GetOwStructCell(TObjQz* form, unsigned char* out);
void DoSpace(unsigned char* text);
void DoNull(unsigned char* text);

// The drawers, by kind (see DrawCellLabel).
void DrawProcCell(const CellPen& pen, TObjQz* obj);
void DrawFileCell(const CellPen& pen, TObjQz* obj);
void DrawFileProcCell(const CellPen& pen, TObjQz* obj);
void DrawScriptCell(const CellPen& pen, TObjQz* obj);
void DrawStructCell(const CellPen& pen, TObjQz* obj);
void DrawOwStructCell(const CellPen& pen, TObjQz* obj);
void DrawVarCell(const CellPen& pen, TObjQz* obj);
void DrawRefGnlCell(const CellPen& pen, TObjQz* obj);
void DrawGnlCell(const CellPen& pen, TObjQz* obj);
// The drawer of the object's kind.
void DrawCellLabel(const CellPen& pen, TObjQz* obj);

// The red of unused objects as the foreground; the plain style.
platform::StyleField NilFace();
// Draws `prefix` in italics, then `text` in the style (with the main
// list's additions), baseline 12 pixels below the rectangle's top.
void DoDraw(const CellPen& pen, TObjQz* obj, const unsigned char* prefix, const unsigned char* text, int16_t font,
            int16_t size, platform::StyleField style);

// The colour icon `iconId` in the rectangle; a missing icon draws
// nothing. `flag` is kept for the callers that pass it.
void MyPlotIcon(const platform::Rect* r, int16_t iconId, bool flag);
// The disclosure triangle of an openable row: open or closed.
void MyDrawSwitchIcn(int32_t row, LongListHandle list, TObjQz* obj, const platform::Rect* r);

}  // namespace browser
