// The rows of the main list (list definition 1001): a disclosure triangle,
// the kind's colour icon indented by the group depth, and the label of
// the object (browser/CellDrawers.h).
#include "app/dialogs/DrawingUtilities.h"
#include "browser/CellDrawers.h"
#include "browser/Panes.h"
#include "design/objects/ObjKinds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"

using namespace platform;

namespace browser {

namespace {

// The text's rectangle: right of the icon, 16 pixels further per level.
Rect TextRect(const Rect& cell, TObjQz* obj)
{
    const uint8_t level = obj ? obj->GetLevel() : 0;
    Rect r = cell;
    r.left = int16_t(cell.left + 32 + 16 * level);
    return r;
}

void DrawCell(LongListHandle list, const Rect* cell, bool selected, int32_t row)
{
    EraseRect(cell);
    auto* obj = static_cast<TObjQz*>(LongLRowObject(row, list));
    if (!obj) return;
    MyDrawSwitchIcn(row, list, obj, cell);
    const uint8_t level = obj->GetLevel();
    const Rect icon{cell->top, int16_t(cell->left + 16 + 16 * level), int16_t(cell->top + 16),
                    int16_t(cell->left + 32 + 16 * level)};
    MyPlotIcon(&icon, obj->GetIconID(), false);
    const Rect textRect = TextRect(*cell, obj);
    DrawCellLabel(CellPen{textRect, true}, obj);
    if (selected) {
        LMSetHiliteMode(0);
        InvertRect(&textRect);
    }
    TextFace(0);
    ForeColor(blackColor);
}

void HiliteCell(LongListHandle list, const Rect* cell, int32_t row)
{
    const Rect r = TextRect(*cell, static_cast<TObjQz*>(LongLRowObject(row, list)));
    LMSetHiliteMode(0);
    InvertRect(&r);
}

}  // namespace

void ListProcIdProc(int16_t message, bool selected, const Rect* cell, int32_t row, int32_t, LongListHandle list)
{
    if (!list || !cell) return;
    RGBColor back;
    SetWhiteBackGround(&back);
    if (message == kLongLDrawMsg) DrawCell(list, cell, selected, row);
    else if (message == kLongLHiliteMsg) HiliteCell(list, cell, row);
    ResetWhiteBackGround(&back);
}

}  // namespace browser
