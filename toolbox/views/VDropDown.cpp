#include "toolbox/views/VDropDown.h"

#include "platform/events/Events.h"
#include "platform/events/Modals.h"
#include "platform/windows/Windows.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/system/VSystem.h"
#include "toolbox/views/VFocusMgr.h"
#include "toolbox/views/VKeySwitch.h"

namespace {
constexpr PaintMethod kPaintFrame = 4;
constexpr PaintMethod kPaintArrow = 30;
constexpr StdBehaviour kArrowWidth = 8;
}  // namespace

VDropWindow::VDropWindow(VDropDown* owner) : VWindow(owner, 7, false, false, false), fOwner(owner)
{
    SetFocusable(false);
    SetFocusKeepsClicks(false);
}

void VDropWindow::DoDispose()
{
    VView::DoDispose();
    if (fOwner && !fOwner->HasFocus()) fOwner->DoTakeFocus();
}

VDropDown::VDropDown(VView* parent, int32_t command, const VRect* rect) : VListControl(parent, command, rect) {}

VDropDown::~VDropDown()
{
    if (!fDisposed) DoDispose();
}

int32_t VDropDown::GetDropWindowHeight(int32_t) { return 70; }

int32_t VDropDown::GetDropWindowWidth(int32_t) { return fWidth - 4; }

void VDropDown::MakeArrowRect(VRect& rect)
{
    VLookHandler* look = GetLookHandler();
    const int32_t w = look ? look->GetStdBehaviour(kArrowWidth) : 16;
    rect = VRect(fWidth - w, 2, w - 2, fHeight - 4);
    if (!fBordered) rect.SetPos(rect.GetLeft(), rect.GetTop() - 1);
}

void VDropDown::MakeEditRect(VRect& rect)
{
    VLookHandler* look = GetLookHandler();
    const int32_t w = look ? look->GetStdBehaviour(kArrowWidth) : 16;
    if (fBordered)
        rect = VRect(2, 2, fWidth - w - 2, fHeight - 4);
    else
        rect = VRect(1, 1, fWidth - w - 1, fHeight - 2);
}

void VDropDown::DoPaint(VPainter* painter)
{
    VRect arrow, edit;
    MakeArrowRect(arrow);
    MakeEditRect(edit);
    const bool framed = fStyle == 0;
    const PaintStatus status = framed && !fEnabled ? PaintStatus(kStatusDisabled) : PaintStatus(0);
    VRect whole(0, 0, fWidth, fHeight);
    if (framed && !fBordered) whole = VRect(-1, -1, fWidth + 2, fHeight + 2);
    StandardPaint(painter, kPaintFrame, status, &whole);
    StandardPaint(painter, kPaintArrow, status, &arrow);
    if (!fEditFrame) PaintEditRect(painter, edit);
}

void VDropDown::PaintArrow(VPainter* painter, PaintStatus status)
{
    if (!painter) return;
    VRect arrow;
    MakeArrowRect(arrow);
    painter->BeginOffscreen(this);
    StandardPaint(painter, kPaintArrow, status, &arrow);
    painter->EndOffscreen(arrow, false);
}

bool VDropDown::DoLeftMouse(VClic& clic)
{
    if (!IsVisible() || !fEnabled || !fCommand) return true;
    fCancelled = false;
    if (!fHasFocus && !AskFocus()) return true;
    int32_t x = 0, y = 0;
    clic.GetPos(x, y);
    if (fEditFrame) {
        if (fEditFrame->HitTestNoOffset(VPoint(x, y))) {
            VClic inner(clic);
            inner.SetPos(x - fEditFrame->GetX(), y - fEditFrame->GetY());
            fEditFrame->DoLeftMouse(inner);
        } else if (CanDropDown()) {
            VRect arrow;
            MakeArrowRect(arrow);
            if (arrow.HitTest(VPoint(x, y))) DoDropDown(clic);
        } else {
            DoLoseFocus(nullptr);
        }
        return true;
    }
    if (CanDropDown())
        DoDropDown(clic);
    else
        DoLoseFocus(nullptr);
    return true;
}

void VDropDown::DoTakeFocus()
{
    VListControl::DoTakeFocus();
    if (CanEdit()) {
        if (!fEditFrame) {
            fEditFrame = MakeEditFrame();
            if (fEditFrame) {
                VRect edit;
                MakeEditRect(edit);
                fEditFrame->SetPos(edit.GetLeft(), edit.GetTop(), kRedrawNone);
                fEditFrame->SetSize(edit.GetWidth(), edit.GetHeight(), kRedrawNone);
            }
        }
        if (fEditFrame) fEditFrame->DoTakeFocus();
    }
    fOpen = false;
    fCancelled = false;
}

void VDropDown::DisposeEditFrame()
{
    if (!fEditFrame) return;
    VFrame* edit = fEditFrame;
    fEditFrame = nullptr;
    edit->DoLoseFocus(nullptr);
    delete edit;
}

void VDropDown::DoLoseFocus(VFrame* frame)
{
    VListControl::DoLoseFocus(frame);
    DisposeEditFrame();
    if (IsVisible()) Redraw(kRedrawInval);
}

void VDropDown::SetSize(int32_t w, int32_t h, RedrawMode mode)
{
    VListControl::SetSize(w, h, mode);
    if (!fEditFrame) return;
    VRect edit;
    MakeEditRect(edit);
    fEditFrame->SetPos(edit.GetLeft(), edit.GetTop(), kRedrawNone);
    fEditFrame->SetSize(edit.GetWidth(), edit.GetHeight(), mode);
}

void VDropDown::DoDispose()
{
    if (fDropWindow) {
        VDropWindow* window = fDropWindow;
        fDropWindow = nullptr;
        window->DoDispose();
        delete window;
    }
    DisposeEditFrame();
    VListControl::DoDispose();
}

void VDropDown::DoCompositionDone()
{
    if (fEditFrame) fEditFrame->DoCompositionDone();
}

bool VDropDown::CanPaste(int32_t kind) { return fEditFrame ? fEditFrame->CanPaste(kind) : false; }

int32_t VDropDown::GetEditCommandsStatus() { return fEditFrame ? fEditFrame->GetEditCommandsStatus() : 0; }

intptr_t VDropDown::DoCommand(VObject* sender, int32_t command, intptr_t param)
{
    switch (command) {
    case kListClosed:
        fOpen = false;
        return 1;
    case kCurrentChanged:
        DoUpdate();
        if (fListPainter) {
            fListPainter->BeginOffscreen(this);
            DoPaintChildren(fListPainter);
            fListPainter->EndOffscreen(VRect(0, 0, fWidth, fHeight), false);
        }
        return 1;
    case vcmd::kFocusTaken:
    case vcmd::kFocusLost:
    case vcmd::kAskFocus:
        // The edit frame's focus lives inside the control's: the window's
        // focus manager must not take it from the control for it.
        if (fEditFrame && sender == fEditFrame) return 1;
        break;
    default:
        break;
    }
    // The edit commands go to the edit frame; one coming back from it
    // climbs on, or the two would hand it to each other for ever.
    if (command >= 3 && command <= 7 && fEditFrame && sender != fEditFrame)
        return fEditFrame->DoCommand(this, command, param);
    return VListControl::DoCommand(sender, command, param);
}

void VDropDown::HandleDropDown(VClic& clic)
{
    VPainter* painter = GetPainter();
    if (!painter) return;
    fListPainter = painter;
    VRect arrow;
    MakeArrowRect(arrow);
    int32_t cx = 0, cy = 0;
    clic.GetPos(cx, cy);
    bool arrowPressed = arrow.HitTest(VPoint(cx, cy));
    if (arrowPressed) PaintArrow(painter, kStatusPushed);

    int32_t x0 = 0, y0 = 0;
    GetPosInDesktop(x0, y0);
    fDropWindow = new VDropWindow(this);
    if (!fDropWindow) {
        ReleasePainter();
        fListPainter = nullptr;
        return;
    }
    fDropWindow->SetLook(painter->GetLook());
    if (VFocusMgr* manager = GetFocusManager()) fDropWindow->SetFocusManager(manager);

    const VPoint at(x0, y0);
    const int32_t screenW = VSystem::GetScreenWidth(&at);
    const int32_t screenH = VSystem::GetScreenHeight(&at);
    int32_t space = screenH - y0 - fHeight - 4;
    const int32_t above = y0 - 4 - VSystem::GetMenuBarHeight(false);
    if (space < above) space = above;
    const int32_t width = GetDropWindowWidth(screenW);
    const int32_t height = GetDropWindowHeight(space);
    int32_t x = x0 + 2;
    if (x0 + width + 2 > screenW) x = x0 + fWidth - 2 - width;
    int32_t y = y0 + fHeight + 2;
    if (y0 + fHeight + height + 2 > screenH) y = y0 - 2 - height;
    fDropWindow->SetPos(x, y, kRedrawNone);
    fDropWindow->SetSize(width, height, kRedrawNone);
    DoInitDropDown(fDropWindow);
    fDropWindow->SetVisible(true);
    if (VPainter* own = fDropWindow->GetPainter()) {
        fDropWindow->DoPaintChildren(own);
        fDropWindow->ReleasePainter();
    }
    if (platform::WindowRef w = fDropWindow->GetParentMacHwnd()) VWindow::SetValidRect(w, nullptr, true);

    fOpen = true;
    fCancelled = false;
    VEngine::WNEDeTrap();
    platform::Point lastMouse{};
    platform::GetGlobalMouse(&lastMouse);
    while (fOpen) {
        if (platform::ModalMustCancel()) {
            // The list closes with no choice.
            fOpen = false;
            fCancelled = true;
            break;
        }
        platform::EventRecord event{};
        if (!platform::WaitNextEvent(uint16_t(0xFFFF & ~platform::highLevelEventMask), &event, 2, nullptr))
            event.what = platform::nullEvent;
        HandleLoopEvent(event, arrowPressed, painter, lastMouse);
    }
    VEngine::WNEReTrap();
    DoDeInitDropDown();
    if (arrowPressed) PaintArrow(painter, 0);
    fListPainter = nullptr;
    ReleasePainter();
    if (fDropWindow) {
        VDropWindow* window = fDropWindow;
        fDropWindow = nullptr;
        window->DoDispose();
        delete window;
    }
    constexpr uint16_t kDownsAndKeys = 0x1A;
    platform::FlushEvents(kDownsAndKeys, 0);
    platform::FlushEvents(kDownsAndKeys, 0);
}

void VDropDown::HandleLoopEvent(const platform::EventRecord& event, bool& arrowPressed, VPainter* painter,
                                platform::Point& lastMouse)
{
    using namespace platform;
    WindowRef dropRef = fDropWindow ? fDropWindow->GetParentMacHwnd() : nullptr;
    switch (event.what) {
    case mouseUp:
    case mouseDown:
    case kMouseWheelEvent: {
        if (event.what == mouseUp && arrowPressed) {
            PaintArrow(painter, 0);
            arrowPressed = false;
        }
        WindowRef hit = nullptr;
        FindWindow(event.where, &hit);
        if (hit != dropRef || !dropRef) {
            // Outside the list: a press ends the loop with no choice and
            // reaches no window.
            if (event.what == mouseDown) {
                fOpen = false;
                fCancelled = true;
            }
            return;
        }
        VClic clic(event, hit);
        if (event.what == kMouseWheelEvent) {
            fDropWindow->DoMouseWheelChildren(clic);
        } else {
            if (event.what == mouseDown) clic.Register();
            fDropWindow->DoMouseChildren(clic);
        }
        return;
    }
    case updateEvt: {
        auto window = reinterpret_cast<WindowRef>(event.message);
        VWindow* target = VWindow::FindWindow(window);
        BeginUpdate(window);
        // Other windows are repainted too, or their update would come back
        // before every null event of the loop.
        VPainter* p = target ? target->GetPainter() : nullptr;
        if (p) {
            target->DoPaintChildren(p);
            target->ReleasePainter();
        }
        EndUpdate(window);
        return;
    }
    case keyDown:
    case autoKey: {
        VKeySwitch key;
        if (key.FromEvent(event, true)) DoKey(key);
        return;
    }
    case kHighLevelEvent:
        // A request from outside (quitting) closes the list first.
        fOpen = false;
        fCancelled = true;
        return;
    case nullEvent: {
        Point mouse{};
        GetGlobalMouse(&mouse);
        if (mouse.h != lastMouse.h || mouse.v != lastMouse.v) {
            lastMouse = mouse;
            if (arrowPressed) {
                int32_t x = 0, y = 0;
                GetMousePosition(x, y);
                VRect arrow;
                MakeArrowRect(arrow);
                if (!arrow.HitTest(VPoint(x, y))) {
                    PaintArrow(painter, 0);
                    arrowPressed = false;
                }
            }
            if (fDropWindow) {
                VClic clic(mouse.h - fDropWindow->GetX(), mouse.v - fDropWindow->GetY());
                clic.SetUp(!Button());
                fDropWindow->DoCursor(clic);
            }
            return;
        }
        WindowRef own = GetParentMacHwnd();
        if (!own || IsWindowCollapsed(own) || !IsWindowVisible(own)) {
            fOpen = false;
            fCancelled = true;
        }
        return;
    }
    default:
        return;
    }
}
