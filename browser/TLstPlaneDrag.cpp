// A main list as the target of rows dragged from another document.
#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/longlist/LongListHooks.h"
#include "app/appl/AppObjects.h"
#include "browser/Panes.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

namespace {

// The document of the front window: the one the rows are dragged from.
TDocument* FrontDoc()
{
    TWindow* front = GetTWindow(FrontWindow());
    return front ? front->fDoc : nullptr;
}

}  // namespace

void TLstPlane::DragCellSelect(bool on)
{
    TDocument* doc = fWindow ? fWindow->fDoc : nullptr;
    // Within one document only group rows take drops, which this list does
    // not offer: nothing is highlighted.
    if (!doc || FrontDoc() == doc) {
        if (!on && G_Plane == this) G_Plane = nullptr;
        return;
    }
    if (on == (G_Plane == this)) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(fWindow->fWindow);
    Rect list{}, header{}, popUp{};
    GetBox(&list, &header, &popUp);
    if (doc->fReadOnly) {
        PenState pen;
        GetPenState(&pen);
        Pattern grey;
        PenPat(GetQDGlobalsGray(&grey));
        PenMode(patXor);
        PaintRect(&list);
        SetPenState(&pen);
    } else {
        InvertRect(&list);
    }
    SetPort(saved);
    G_Plane = on ? static_cast<::TPlan*>(this) : nullptr;
}

bool TLstPlane::DragCell(Point globalWhere)
{
    if (!fWindow || !fWindow->fWindow) return false;
    const Point where = ToLocal(globalWhere);
    Rect list{}, header{}, popUp{};
    GetBox(&list, &header, &popUp);
    const bool inside = PtInRect(where, &list);
    if (inside && G_Plane != this) {
        if (G_Plane && G_Plane != kPlaneDone && IsLivePane(G_Plane))
            if (auto* other = dynamic_cast<TPlan*>(G_Plane)) other->DragCellSelect(false);
        DragCellSelect(true);
    } else if (!inside && G_Plane == this) {
        DragCellSelect(false);
    }
    const bool target = G_Plane && G_Plane != kPlaneDone;
    MySetCursor(target ? (DragableCursor ? *DragableCursor : nullptr) : (CrossCursor ? *CrossCursor : nullptr));
    return PtInRect(where, &fRect);
}

}  // namespace browser
