#include "toolbox/views/VDragger.h"

#include <algorithm>
#include <map>

#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"
#include "platform/screen/Screen.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"
#include "toolbox/views/VCursor.h"
#include "toolbox/views/VDragScrap.h"
#include "toolbox/views/VScrolledView.h"
#include "toolbox/views/VWindow.h"

namespace {

// Living draggers by the id their 'xtbx' flavour carries: another window
// names a dragger only through an id that is checked here, never through
// an address.
std::map<uint32_t, VDragger*>& LiveDraggers()
{
    static std::map<uint32_t, VDragger*> live;
    return live;
}
uint32_t gNextDragId = 1;

int16_t Clamp16(int32_t v) { return int16_t(std::clamp<int32_t>(v, -32768, 32767)); }

}  // namespace

VFrame* VDropFrameLocator::DoLocateTarget(platform::WindowRef window, const VPoint& point)
{
    VWindow* w = VWindow::FindWindow(window);
    return w ? w->GetDropFrame(point) : nullptr;
}

VFrame* VDropFrameLocator::DoLocateTargetForDragAndDrop(VDragDropDragger* dragger, platform::WindowRef window,
                                                        const VPoint& point)
{
    VWindow* w = VWindow::FindWindow(window);
    return w ? w->GetDragDropFrame(dragger, point) : nullptr;
}

VDragger::VDragger(VFrame* source, const VClic& click) : fClick(click), fSource(source)
{
    click.GetPos(fStartX, fStartY);
    fStartCursor = fDragCursor = gCursor ? gCursor->GetCursor() : 0;
    if (platform::NewDrag(&fDrag) != platform::noErr) fDrag = nullptr;
    if (fDrag) platform::SetDragAllowableActions(fDrag, kDragActionsCopyGenericMove, false);
    fDragId = gNextDragId++;
    if (gNextDragId == 0) gNextDragId = 1;
    LiveDraggers()[fDragId] = this;
}

VDragger::~VDragger()
{
    LiveDraggers().erase(fDragId);
    delete fLocator;
    delete fShape;
    if (fOwnsDrag && fDrag) platform::DisposeDrag(fDrag);
}

VDragger* VDragger::FromToolboxFlavor(const uint8_t* data, size_t size)
{
    if (!data || size != 8) return nullptr;
    const uint32_t id = (uint32_t(data[0]) << 24) | (uint32_t(data[1]) << 16) | (uint32_t(data[2]) << 8) | data[3];
    const uint32_t zero = (uint32_t(data[4]) << 24) | (uint32_t(data[5]) << 16) | (uint32_t(data[6]) << 8) | data[7];
    if (zero != 0) return nullptr;
    auto it = LiveDraggers().find(id);
    return it == LiveDraggers().end() ? nullptr : it->second;
}

void VDragger::SetDraggedShape(VRegion* shape)
{
    if (shape == fShape) return;
    delete fShape;
    fShape = shape;
}

void VDragger::SetLocator(VDropFrameLocator* locator)
{
    if (locator == fLocator) return;
    delete fLocator;
    fLocator = locator;
}

VDropFrameLocator* VDragger::GetLocator()
{
    if (!fLocator) fLocator = new VDropFrameLocator;
    return fLocator;
}

VFrame* VDragger::DoLocateTarget(platform::WindowRef window, const VPoint& point)
{
    VDropFrameLocator* locator = GetLocator();
    return locator ? locator->DoLocateTarget(window, point) : nullptr;
}

void VDragger::Run()
{
    if (!fDrag || fWorld != 3) {
        RunTheOldWay();
        return;
    }
    fEraseOnScroll = fFeedback = false;
    uint8_t flavor[8] = {uint8_t(fDragId >> 24), uint8_t(fDragId >> 16), uint8_t(fDragId >> 8), uint8_t(fDragId),
                         0, 0, 0, 0};
    platform::AddDragItemFlavor(fDrag, 1, kToolboxDragFlavor, flavor, sizeof flavor, kToolboxDragFlavorFlags);
    int32_t dx = 0, dy = 0;
    if (fSource) fSource->GetPosInDesktop(dx, dy);
    VRegion outline;
    if (fShape)
        outline.From(*fShape);
    else if (fSource)
        outline.FromRect(0, 0, fSource->GetWidth(), fSource->GetHeight());
    outline.SetPos(outline.GetLeft() + dx, outline.GetTop() + dy);
    fTracking = true;
    platform::TrackDrag(fDrag, &fClick.GetEvent(), outline.GetRgnRef(false));
    fTracking = false;
}

void VDragger::RunTheOldWay()
{
    GetLocator();
    fTracking = true;
    fFeedbackPainter = new VPainter(platform::GetOverlayPort(), false);
    int32_t sx = 0, sy = 0;
    if (fSource) fSource->GetPosInDesktop(sx, sy);
    fStartDesktopX = fCurX = fStartX + sx;
    fStartDesktopY = fCurY = fStartY + sy;
    LocateTarget();
    if (gCursor) gCursor->SetCursor(fDragCursor);
    DragDropInfo info;
    DoBeginDrag(info);
    DoPaint(false);
    bool ctrl = fClick.IsCtrlKey(), alt = fClick.IsAltKey(), shift = fClick.IsShiftKey();
    while (platform::StillDown()) {
        platform::Point mouse{};
        platform::GetGlobalMouse(&mouse);
        const uint16_t mods = platform::CurrentInput().modifiers;
        const bool nctrl = mods & platform::cmdKey, nalt = mods & platform::optionKey,
                   nshift = mods & platform::shiftKey;
        const bool keys = (fWatchCtrl && nctrl != ctrl) || (fWatchAlt && nalt != alt) ||
                          (fWatchShift && nshift != shift);
        ctrl = nctrl;
        alt = nalt;
        shift = nshift;
        if (mouse.h != fCurX || mouse.v != fCurY || keys) Drag(VPoint(mouse.h, mouse.v), info);
    }
    DoPaint(true);
    DoFinishDrag(fTarget, info);
    delete fFeedbackPainter;
    fFeedbackPainter = nullptr;
    if (!fTarget) {
        if (gCursor) gCursor->SetCursor(fStartCursor);
    } else {
        VClic at(fTargetX, fTargetY);
        fTarget->DoCursorChildren(at, true);
    }
    fTracking = false;
}

void VDragger::Drag(const VPoint& point, DragDropInfo& info)
{
    const int32_t oldX = fCurX, oldY = fCurY;
    point.GetPos(fCurX, fCurY);
    if (fScrollView) {
        int32_t vx = 0, vy = 0;
        fScrollView->GetPosInDesktop(vx, vy);
        const int32_t w = fScrollView->GetWidth(), h = fScrollView->GetHeight();
        int32_t sx = 0, sy = 0;
        fScrollView->GetScrollPos(sx, sy);
        const int32_t maxX = std::max(0, fScrollView->GetVirtualWidth() - w);
        const int32_t maxY = std::max(0, fScrollView->GetVirtualHeight() - h);
        int32_t dx = 0, dy = 0;
        if (!fNoHScroll) {
            if (fCurX < vx)
                dx = vx - fCurX > 32 ? -fScrollView->GetPageWidth(true) : -fScrollView->GetScrollWidth(true);
            else if (fCurX >= vx + w)
                dx = fCurX - (vx + w - 1) > 32 ? fScrollView->GetPageWidth(false) : fScrollView->GetScrollWidth(false);
            if ((dx < 0 && sx <= 0) || (dx > 0 && sx >= maxX)) dx = 0;
        }
        if (!fNoVScroll) {
            if (fCurY < vy)
                dy = vy - fCurY > 32 ? -fScrollView->GetPageHeight(true) : -fScrollView->GetScrollHeight(true);
            else if (fCurY >= vy + h)
                dy = fCurY - (vy + h - 1) > 32 ? fScrollView->GetPageHeight(false)
                                                : fScrollView->GetScrollHeight(false);
            if ((dy < 0 && sy <= 0) || (dy > 0 && sy >= maxY)) dy = 0;
        }
        if (dx || dy) DoScroll(dx, dy);
    }
    VFrame* oldTarget = fTarget;
    LocateTarget();
    DoMove(oldTarget, fTarget, fCurX - oldX, fCurY - oldY, info);
}

void VDragger::LocateTarget()
{
    platform::WindowRef window = nullptr;
    platform::Point global{Clamp16(fCurY), Clamp16(fCurX)};
    platform::FindWindow(global, &window);
    fTarget = nullptr;
    if (window) {
        platform::Rect content{};
        platform::GetWindowBounds(window, platform::kWindowContentRgn, &content);
        fTarget = DoLocateTarget(window, VPoint(fCurX - content.left, fCurY - content.top));
    }
    if (fTarget) {
        int32_t tx = 0, ty = 0;
        fTarget->GetPosInDesktop(tx, ty);
        fTargetX = fCurX - tx;
        fTargetY = fCurY - ty;
    }
}

void VDragger::DoScroll(int32_t dx, int32_t dy)
{
    if (!fScrollView) return;
    if (fEraseOnScroll) DoPaint(true);
    const uint32_t packed = (uint32_t(uint16_t(Clamp16(dx))) << 16) | uint16_t(Clamp16(dy));
    fScrollView->DoCommand(fScrollView, vcmd::kScrollBoth, intptr_t(int32_t(packed)));
    if (fEraseOnScroll) DoPaint(false);
}

namespace {

void PositionIn(const VFrame* frame, DragWorld world, int32_t& x, int32_t& y)
{
    x = y = 0;
    if (!frame) return;
    if (world == 1)
        frame->GetPosInWindow(x, y);
    else
        frame->GetPosInDesktop(x, y);
}

}  // namespace

void VDragger::GetStart(VPoint& point, DragWorld world) const
{
    int32_t x = 0, y = 0;
    PositionIn(fSource, world, x, y);
    point.SetPos(x + fStartX, y + fStartY);
}

void VDragger::GetEnd(VPoint& point, DragWorld world) const
{
    if (!fTarget) {
        point.SetPos(fCurX, fCurY);
        return;
    }
    int32_t x = 0, y = 0;
    PositionIn(fTarget, world, x, y);
    point.SetPos(x + fTargetX, y + fTargetY);
}

VDragDropDragger::~VDragDropDragger() { delete fScrap; }

VDragScrap* VDragDropDragger::GetScrap()
{
    if (!fScrap) fScrap = new VDragScrap(this, VDragScrap::kDragItem);
    return fScrap;
}

VFrame* VDragDropDragger::DoLocateTarget(platform::WindowRef window, const VPoint& point)
{
    VDropFrameLocator* locator = GetLocator();
    return locator ? locator->DoLocateTargetForDragAndDrop(this, window, point) : nullptr;
}
