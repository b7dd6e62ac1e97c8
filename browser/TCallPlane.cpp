// The where-used and uses panes: they show the links of the object the
// main list selected, through their own filter.
#include <algorithm>
#include <cstring>

#include "app/appl/AppGlobals.h"
#include "app/longlist/LongListHooks.h"
#include "app/documents/MainDoc.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Preferences.h"
#include "app/windows/TMainWindow.h"
#include "browser/CallPanes.h"
#include "design/filters/ObjFilter.h"
#include "design/links/XRef.h"
#include "design/objects/ObjQz.h"
#include "platform/drag/Drag.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"
#include "platform/resfiles/Resources.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

RgnHandle G_HeadRgn = nullptr;
::TPlan* G_HeadPlane = nullptr;
bool G_HeadHilited = false;

namespace {

int16_t InitCallPlane(TCallPlane* pane, int16_t titleIndex)
{
    pane->fPreviewPane = pane->fMainPane = nullptr;
    pane->fPreviewLink = pane->fMainLink = 0;
    MyGetIndString(pane->fTitle, 1009, titleIndex);
    if (pane->fTitle[0] > 15) pane->fTitle[0] = 15;
    pane->fSource = nullptr;
    return 0;
}

// The head and filter boxes of a list pane, together.
Rect HeadUnion(TRefPlane* pane)
{
    Rect list{}, header{}, popUp{}, both{};
    pane->GetBox(&list, &header, &popUp);
    UnionRect(&header, &popUp, &both);
    return both;
}

void InvertHead(TRefPlane* pane)
{
    Rect both = HeadUnion(pane);
    LMSetHiliteMode(0);
    InvertRect(&both);
}

}  // namespace

int16_t TCallingPlane::ITPlane(const Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                               int32_t length)
{
    const Rect copy = rect;
    if (const int16_t err = TRefPlane::ITPlane(copy, window, typeList, record, length); err != 0) return err;
    return InitCallPlane(this, 3);
}

int16_t TCalledPlane::ITPlane(const Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                              int32_t length)
{
    const Rect copy = rect;
    if (const int16_t err = TRefPlane::ITPlane(copy, window, typeList, record, length); err != 0) return err;
    return InitCallPlane(this, 2);
}

void TCallPlane::SetLinks(int16_t mainNumber, ::TPlan* main, int16_t, ::TPlan*, int16_t previewNumber,
                          ::TPlan* preview)
{
    fMainLink = mainNumber;
    fMainPane = main;
    fPreviewLink = previewNumber;
    fPreviewPane = preview;
}

void TCallPlane::SetList(Handle filter, Handle list)
{
    fSource = list;
    if (fList) {
        fList->lastClick = -1;
        const bool drawing = (fList->drawFlags & kLongLDrawOn) != 0;
        LongLDoDraw(false, fList);
        LongLDelRow(fList->rowCount, 0, fList);
        // The links as the graph holds them now, in the order every window
        // shows them.
        const ShownLinks shown(reinterpret_cast<ObjListHdl>(list));
        if (filter && shown.get()) DoFilter(filter, fList, shown.get());
        LongLDoDraw(drawing, fList);
    }
    if (fWindow && fWindow->fWindow) InvalWindowRect(fWindow->fWindow, &fRect);
}

void TCallPlane::SetDfltFilter(int16_t id)
{
    if (id >= 0) fDefaultFilter = id;
    TRefPlane::SetDfltFilter(id);
}

void TCallPlane::SetGoodFilter()
{
    if (fFilter >= 0) return;
    fFilter = fDefaultFilter;
    fFilterTitle[0] = 0;
    if (Handle record = ::GetFilter(fFilter)) {
        int16_t id = 0;
        ResType type = 0;
        Str255 name;
        name[0] = 0;
        GetResInfo(record, &id, &type, name);
        fFilterTitle[0] = uint8_t(std::min<int>(name[0], 80));
        std::memcpy(fFilterTitle + 1, name + 1, fFilterTitle[0]);
    }
}

void TCallPlane::DelObjMsg(TObjQz* obj)
{
    // The shown list belongs to the object: it goes with it, and the pane
    // must not read it again.
    if (obj && fSource &&
        (fSource == reinterpret_cast<Handle>(obj->usedBy) || fSource == reinterpret_cast<Handle>(obj->uses)))
        SetList(nullptr, nullptr);
    TRefPlane::DelObjMsg(obj);
}

void TCallPlane::RazAll(Handle, bool redraw)
{
    if (redraw) {
        // Kept rows go with the objects they named: the pane's own filter
        // again, as when the window opened.
        SetGoodFilter();
        SetList(nullptr, nullptr);
    }
    fSource = nullptr;
}

TObjQz* TCallPlane::ClickedObject() const
{
    if (!fList) return nullptr;
    const int32_t row = LongLLastClick(fList);
    if (row < 0 || row >= fList->rowCount || fList->rowLength != kObjectRowLength) return nullptr;
    return static_cast<TObjQz*>(LongLRowObject(row, fList));
}

bool TCallPlane::Click(Point where, int16_t clicks)
{
    // The keys held at the press, before the list's tracking follows the
    // button up.
    const uint16_t modifiers = CurrentInput().modifiers;
    if (!TRefPlane::Click(where, clicks)) return false;
    Rect list{}, header{}, popUp{};
    GetBox(&list, &header, &popUp);
    TMainDoc* doc = Doc();
    auto* window = fWindow && fWindow->IsMember(3) ? static_cast<TRefWindow*>(fWindow) : nullptr;
    auto selectInMain = [&](TObjQz* obj) {
        if (fMainLink == 0) {
            if (fMainPane) fMainPane->SelectObj(obj);
        } else if (doc && window) {
            doc->SelectObj(window, obj, fMainLink);
        }
    };
    if (PtInRect(where, &header)) {
        if (modifiers & controlKey) SeltoList();
        else if (fMainPane) DragHead(where);
    } else if (!PtInRect(where, &popUp) && where.v >= list.top) {
        if (TObjQz* obj = ClickedObject()) {
            if (fDoubleClick) {
                if (fPreviewLink == 0) {
                    if (fPreviewPane) fPreviewPane->SetObj(obj);
                } else if (doc && window) {
                    doc->DisplayObj(window, obj, fPreviewLink);
                }
            } else if (modifiers & optionKey) {
                selectInMain(obj);
            } else if (modifiers & controlKey) {
                if (TObjQz* owner = obj->GetOwnerObj()) selectInMain(owner);
            }
        }
    }
    LongLSel(fList) ? EnableFunc(55) : DisableFunc(55);
    return true;
}

void DragHeadAction()
{
    auto* target = dynamic_cast<TRefPlane*>(G_HeadPlane);
    if (!target || !G_HeadRgn) return;
    Point mouse{};
    GetMouse(&mouse);
    const Rect both = HeadUnion(target);
    const bool inside = PtInRect(mouse, &both);
    if (inside == G_HeadHilited) return;
    PenState pen{};
    GetPenState(&pen);
    PenMode(patXor);
    FrameRgn(G_HeadRgn);
    InvertHead(target);
    FrameRgn(G_HeadRgn);
    SetPenState(&pen);
    G_HeadHilited = inside;
}

void TCallPlane::DragHead(Point where)
{
    auto* main = dynamic_cast<TRefPlane*>(fMainPane);
    if (!main || !fWindow || !fWindow->fWindow) return;
    Rect list{}, header{}, popUp{}, all{};
    GetBox(&list, &header, &popUp);
    UnionRect(&header, &popUp, &all);
    UnionRect(&all, &list, &all);
    G_HeadRgn = NewRgn();
    if (!G_HeadRgn) return;
    RectRgn(G_HeadRgn, &all);
    G_HeadHilited = false;
    G_HeadPlane = main;
    SetPortWindowPort(fWindow->fWindow);
    const Rect bounds = PortBounds();
    ClipRect(&bounds);
    const int32_t moved = DragGrayRgn(G_HeadRgn, where, &bounds, &bounds, noConstraint, DragHeadAction);
    DisposeRgn(G_HeadRgn);
    G_HeadRgn = nullptr;
    const bool dropped = moved != kDragGrayRgnOutside && G_HeadHilited;
    if (dropped) {
        main->CopyList(reinterpret_cast<Handle>(fList));
        main->SelectPlane();
        SetPortWindowPort(fWindow->fWindow);
        ClipRect(&bounds);
        InvertHead(main);
    } else if (G_HeadHilited) {
        InvertHead(main);
    }
    G_HeadHilited = false;
    G_HeadPlane = nullptr;
}

}  // namespace browser
