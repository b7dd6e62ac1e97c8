// A main list as the target of dragged rows: rows of another document are
// copied into its document, rows of its own document join a group row.
#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/longlist/LongListHooks.h"
#include "app/appl/AppObjects.h"
#include "browser/Panes.h"
#include "design/objects/GroupChanges.h"
#include "design/objects/ObjKinds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

namespace {

constexpr int16_t kScrollStrip = 15;

// The document of the front window: the one the rows are dragged from.
TDocument* FrontDoc()
{
    TWindow* front = GetTWindow(FrontWindow());
    return front ? front->fDoc : nullptr;
}

// Inverts a rectangle of the list: grey in exclusive-or mode for a
// read-only document.
void HighlightIn(TWindow* window, const Rect& r, bool readOnly)
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(window->fWindow);
    if (readOnly) {
        PenState pen;
        GetPenState(&pen);
        Pattern grey;
        PenPat(GetQDGlobalsGray(&grey));
        PenMode(patXor);
        PaintRect(&r);
        SetPenState(&pen);
    } else {
        InvertRect(&r);
    }
    SetPort(saved);
}

}  // namespace

void TLstPlane::DragCellSelect(bool on)
{
    TDocument* doc = fWindow ? fWindow->fDoc : nullptr;
    if (!doc) return;
    if (FrontDoc() == doc) {
        DragRowSelect(on);
        return;
    }
    if (on == (G_Plane == this)) return;
    Rect list{}, header{}, popUp{};
    GetBox(&list, &header, &popUp);
    HighlightIn(fWindow, list, doc->fReadOnly);
    G_Plane = on ? static_cast<::TPlan*>(this) : nullptr;
}

void TLstPlane::DragRowSelect(bool on)
{
    TDocument* doc = fWindow->fDoc;
    auto unhighlight = [&] {
        if (G_Plane == this && G_Cell >= 0 && fList) HighlightIn(fWindow, GetCellRect(G_Cell, fList), doc->fReadOnly);
        G_Cell = -1;
    };
    if (!on) {
        unhighlight();
        if (G_Plane == this) G_Plane = nullptr;
        return;
    }
    if (G_Plane && G_Plane != this && G_Plane != kPlaneDone) G_Cell = -1;
    G_Plane = this;
    Point mouse{};
    {
        GrafPtr saved = nullptr;
        GetPort(&saved);
        SetPortWindowPort(fWindow->fWindow);
        GetMouse(&mouse);
        SetPort(saved);
    }
    int32_t row = -1;
    void* object = nullptr;
    GetMouseCell(mouse, fList, &row, &object);
    if (G_Cell >= 0 && G_Cell != row) unhighlight();
    auto* target = static_cast<TObjQz*>(object);
    if (!target || row == G_Cell || !dynamic_cast<TGroupObjQz*>(target) || target->TstFlag(kFlagInComponent) ||
        target->GetRType() == 32)
        return;
    // The rows dragged: those selected in the list the drag left from.
    G_SelfGroup = false;
    for (int32_t r = 0; ::G_LongListHdl && LongLGetSelect(true, &r, ::G_LongListHdl); ++r)
        if (SelfGrouping(static_cast<TObjQz*>(LongLRowObject(r, ::G_LongListHdl)), target)) G_SelfGroup = true;
    if (G_SelfGroup) return;
    HighlightIn(fWindow, GetCellRect(row, fList), doc->fReadOnly);
    G_Cell = row;
}

bool TLstPlane::DragCell(Point globalWhere)
{
    if (!fWindow || !fWindow->fWindow) return false;
    const Point where = ToLocal(globalWhere);
    Rect list{}, header{}, popUp{};
    GetBox(&list, &header, &popUp);
    const bool inside = PtInRect(where, &list);
    const bool sameDoc = FrontDoc() == fWindow->fDoc;
    if (sameDoc && fList && where.h >= list.left && where.h < list.right) {
        // Near the list's top or bottom edge the rows scroll one a step.
        const bool above = where.v < list.top && where.v >= list.top - kScrollStrip;
        const bool below = where.v >= list.bottom && where.v < list.bottom + kScrollStrip;
        if (above || below) ScrollOneRow(above ? -1 : 1);
    }
    if (inside && (G_Plane != this || sameDoc)) {
        if (G_Plane && G_Plane != this && G_Plane != kPlaneDone && IsLivePane(G_Plane))
            if (auto* other = dynamic_cast<TPlan*>(G_Plane)) other->DragCellSelect(false);
        DragCellSelect(true);
    } else if (!inside && G_Plane == this) {
        DragCellSelect(false);
    }
    const bool target = G_Plane && G_Plane != kPlaneDone && (!sameDoc || G_Cell >= 0 || G_Plane != this);
    MySetCursor(target ? (DragableCursor ? *DragableCursor : nullptr) : (CrossCursor ? *CrossCursor : nullptr));
    return PtInRect(where, &fRect);
}

void TLstPlane::ScrollOneRow(int32_t step)
{
    const int32_t first = fList->firstVisible + step;
    if (first < 0 || first >= fList->rowCount) return;
    ScrollTo(first);
    LongLUpdate(nullptr, fList);
}

}  // namespace browser
