// The pane base: its place in percent of the window, split bars, the
// drawing bracket and the current pane.
#include <cstdint>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/longlist/LongListHooks.h"
#include "app/documents/MainDoc.h"
#include "app/appl/TAppl.h"
#include "browser/Panes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/events/Events.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

void SizedRect(Rect* out, const Rect* bounds, const Rect* percent)
{
    const int32_t height = int32_t(bounds->bottom) - bounds->top;
    const int32_t width = int32_t(bounds->right) - bounds->left;
    out->top = int16_t(bounds->top + int32_t(percent->top) * height / 100);
    out->bottom = int16_t(bounds->top + int32_t(percent->bottom) * height / 100);
    out->left = int16_t(bounds->left + int32_t(percent->left) * width / 100);
    out->right = int16_t(bounds->left + int32_t(percent->right) * width / 100);
}

Rect TPlan::PortBounds() const
{
    Rect r{0, 0, 0, 0};
    if (fWindow && fWindow->fWindow) GetPortBounds(GetWindowPort(fWindow->fWindow), &r);
    return r;
}

TMainDoc* TPlan::Doc() const
{
    if (!fWindow || !fWindow->fDoc || !fWindow->fDoc->IsMember(2)) return nullptr;
    return static_cast<TMainDoc*>(fWindow->fDoc);
}

int16_t TPlan::ITPlane(const Rect& rect, TWindow* window, TypeListRec*, const uint8_t*, int32_t)
{
    fLayout = rect;
    fWindow = window;
    const Rect bounds = PortBounds();
    SizedRect(&fRect, &bounds, &fLayout);
    fSavedClip = NewRgn();
    if (!fSavedClip) return memFullErr;
    fNext = fPrev = nullptr;
    fDepth = 0;
    fHilited = false;
    return 0;
}

void TPlan::InitDraw()
{
    if (fDepth == 0 && fWindow && fWindow->fWindow) {
        SetPortWindowPort(fWindow->fWindow);
        if (fSavedClip) GetClip(fSavedClip);
        GetPenState(&fSavedPen);
        RgnHandle clip = NewRgn();
        if (clip && fSavedClip) {
            RectRgn(clip, &fRect);
            SectRgn(clip, fSavedClip, clip);
            SetClip(clip);
        }
        if (clip) DisposeRgn(clip);
    }
    ++fDepth;
}

void TPlan::RestoreDraw()
{
    if (fDepth == 1 && fWindow && fWindow->fWindow) {
        if (fSavedClip) SetClip(fSavedClip);
        SetPenState(&fSavedPen);
    }
    if (fDepth > 0) --fDepth;
}

void TPlan::Dispose()
{
    if (fSavedClip) DisposeRgn(fSavedClip);
    fSavedClip = nullptr;
    delete this;
}

void TPlan::MakeActive()
{
    InitDraw();
    WHiliteControls(true);
    RestoreDraw();
}

void TPlan::MakeInActive()
{
    InitDraw();
    WHiliteControls(false);
    RestoreDraw();
}

void TPlan::Resize()
{
    const Rect bounds = PortBounds();
    SizedRect(&fRect, &bounds, &fLayout);
}

void TPlan::DrawSelect(bool)
{
    InitDraw();
    RestoreDraw();
}

void TPlan::DeSelectPlane()
{
    DrawSelect(false);
    if (fWindow) fWindow->SetEditMenu();
}

void TPlan::SelectPlane()
{
    if (!fWindow || fWindow->fFirstPlane == this) return;
    if (fWindow->fFirstPlane) fWindow->fFirstPlane->DeSelectPlane();
    fWindow->SetFirstPlane(this);
    DrawSelect(true);
    fWindow->SetEditMenu();
}

void TPlan::update()
{
    InitDraw();
    WDrawControls();
    const bool suspended = MyAppl && MyAppl->fSuspended;
    if (!suspended && fWindow && fWindow->fWindow == FrontWindow()) DrawSelect(fPrev == nullptr);
    RestoreDraw();
}

void TPlan::GetSplitRect(Rect* leftBar, Rect* topBar) const
{
    *leftBar = fRect.left != 0 ? Rect{fRect.top, fRect.left, fRect.bottom, int16_t(fRect.left + 3)}
                               : Rect{0, 0, 0, 0};
    *topBar = fRect.top != 0 ? Rect{fRect.top, fRect.left, int16_t(fRect.top + 3), fRect.right} : Rect{0, 0, 0, 0};
}

Rect TPlan::GetWRect() const
{
    Rect r = fRect;
    if (fRect.top != 0) r.top = int16_t(r.top + 3);
    if (fRect.left != 0) r.left = int16_t(r.left + 3);
    if (fRect.right < PortBounds().right) r.right = int16_t(r.right - 1);
    return r;
}

bool TPlan::Click(Point where, int16_t)
{
    fBarHit = false;
    if (!PtInRect(where, &fRect)) return false;
    Rect left{}, top{};
    GetSplitRect(&left, &top);
    if (PtInRect(where, &left)) {
        DragHSplit(where, left);
        fBarHit = true;
        return true;
    }
    if (PtInRect(where, &top)) {
        DragVSplit(where, top);
        fBarHit = true;
        return true;
    }
    if (fPrev) SelectPlane();
    return true;
}

bool TPlan::Idle()
{
    if (!fWindow || !fWindow->fWindow) return false;
    Point mouse{};
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(fWindow->fWindow);
    GetMouse(&mouse);
    SetPort(saved);
    if (!PtInRect(mouse, &fRect)) return false;
    Rect left{}, top{};
    GetSplitRect(&left, &top);
    if (PtInRect(mouse, &left) && HSplitCursor && *HSplitCursor) MySetCursor(*HSplitCursor);
    else if (PtInRect(mouse, &top) && VSplitCursor && *VSplitCursor) MySetCursor(*VSplitCursor);
    else SetArrowCursor();
    return true;
}

Point TPlan::ToLocal(Point global) const
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(fWindow->fWindow);
    GlobalToLocal(&global);
    SetPort(saved);
    return global;
}

bool TPlan::DragCell(Point globalWhere)
{
    if (!fWindow || !fWindow->fWindow) return false;
    const Point where = ToLocal(globalWhere);
    if (!PtInRect(where, &fRect)) return false;
    if (G_Plane && G_Plane != kPlaneDone) {
        if (G_Plane != this && IsLivePane(G_Plane)) {
            if (auto* other = dynamic_cast<TPlan*>(G_Plane)) other->DragCellSelect(false);
        }
        G_Plane = nullptr;
    }
    return true;
}

}  // namespace browser
