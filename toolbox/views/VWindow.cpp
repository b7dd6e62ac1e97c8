#include "toolbox/views/VWindow.h"

#include <algorithm>
#include <vector>

#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "toolbox/drawing/VClipScrap.h"
#include "toolbox/drawing/VScreenPainter.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/system/VSystem.h"
#include "toolbox/views/VFocusMgr.h"
#include "toolbox/views/VKeySwitch.h"

namespace {

// Every toolbox window that is the latest on its platform window.
std::vector<VWindow*>& WindowList()
{
    static std::vector<VWindow*> list;
    return list;
}

}  // namespace

VWindow::VWindow(VFrame* commandParent, WindowStyle style, bool a, bool b, bool c)
    : VView(nullptr, nullptr), fCommandParent(commandParent)
{
    fFocusMgr = new VFocusMgr(this);
    fVisible = false;
    _BuildWindow(style, a, b, c);
    if (fWindow) Register();
}

VWindow::VWindow(VFrame* commandParent, platform::WindowRef foreign)
    : VView(nullptr, nullptr), fCommandParent(commandParent)
{
    fFocusMgr = new VFocusMgr(this);
    fVisible = false;
    if (!foreign || !platform::IsValidWindowPtr(foreign)) return;
    fWindow = foreign;
    fForeign = true;
    UpdateCoords(false);
    Register();
}

void VWindow::_BuildWindow(WindowStyle style, bool a, bool b, bool c)
{
    fStyle = style;
    fForeign = false;
    platform::WindowClass windowClass = 0;
    platform::WindowAttributes attributes = platform::kWindowNoAttributes;
    switch (style) {
    case 1:
    case 4:
        windowClass = platform::kMovableAlertWindowClass;
        break;
    case 2:
        windowClass = platform::kMovableAlertWindowClass;
        if (c) attributes |= platform::kWindowCloseBoxAttribute;
        fCloseBox = c;
        fTitleBar = true;
        break;
    case 3:
        windowClass = platform::kAlertWindowClass;
        break;
    case 5:
    case 6:
        windowClass = style == 5 ? platform::kDocumentWindowClass : platform::kFloatingWindowClass;
        if (c) attributes |= platform::kWindowCloseBoxAttribute;
        if (a) attributes |= platform::kWindowResizableAttribute;
        if (b) attributes |= platform::kWindowFullZoomAttribute;
        if (style == 5) attributes |= platform::kWindowCollapseBoxAttribute;
        fCloseBox = c;
        fGrowIcon = a;
        fZoomBox = b;
        fTitleBar = true;
        fLevel = style == 6 ? 2 : 0;
        break;
    case 7:
    case 8:
        windowClass = VSystem::GetVersion() >= 0x1000 ? platform::kHelpWindowClass : platform::kPlainWindowClass;
        fLevel = 8;
        break;
    default:
        // No window class for this style: no platform window at all.
        return;
    }
    if (fLevel) VEngine::SetNextWindowLevel(fLevel);
    const platform::Rect bounds{-500, -500, -400, -400};  // top, left, bottom, right
    if (platform::CreateNewWindow(windowClass, attributes, &bounds, &fWindow) != platform::noErr) {
        fWindow = nullptr;
        return;
    }
    static const unsigned char kEmptyTitle[1] = {0};
    platform::SetWTitle(fWindow, kEmptyTitle);
    platform::SetWRefCon(fWindow, reinterpret_cast<uintptr_t>(this));
    VEngine::SetWindowFocusable(fWindow, fFocusable);
    VEngine::SetNextWindowLevel(0);
    UpdateCoords(false);
    platform::HideWindow(fWindow);
    fVisible = false;
    platform::SetPortWindowPort(fWindow);
}

void VWindow::Register()
{
    std::vector<VWindow*>& list = WindowList();
    for (auto it = list.begin(); it != list.end(); ++it) {
        if ((*it)->fWindow == fWindow) {
            fOlder = *it;
            fOlder->fNewer = this;
            list.erase(it);
            break;
        }
    }
    list.push_back(this);
}

void VWindow::Unregister()
{
    std::vector<VWindow*>& list = WindowList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (fNewer) {
        fNewer->fOlder = fOlder;
        if (fOlder) fOlder->fNewer = fNewer;
    } else if (fOlder) {
        fOlder->fNewer = nullptr;
        list.push_back(fOlder);
    }
    fNewer = fOlder = nullptr;
}

VWindow::~VWindow()
{
    if (!fDisposed) DoDispose();
    delete fPainter;
    fPainter = nullptr;
    if (fFocusMgr) {
        if (fFocusMgr->GetUsers() <= 1)
            delete fFocusMgr;
        else
            fFocusMgr->DoCommand(this, vcmd::kUsers, 0);
        fFocusMgr = nullptr;
    }
    if (fWindow) {
        Unregister();
        if (!fForeign) {
            platform::DisposeWindow(fWindow);
            if (fMenuBar) fMenuBar->WindowClosed(this);
        }
        fWindow = nullptr;
    }
}

VWindow* VWindow::FindWindow(platform::WindowRef window)
{
    if (!window) return nullptr;
    for (VWindow* w : WindowList())
        if (w->GetParentMacHwnd() == window) return w;
    return nullptr;
}

void VWindow::SetValidRect(platform::WindowRef window, const VRect* rect, bool valid)
{
    if (!window) return;
    platform::Rect r{};
    if (rect)
        rect->ToMacRect(r);
    else
        platform::GetPortBounds(platform::GetWindowPort(window), &r);
    if (valid)
        platform::ValidWindowRect(window, &r);
    else
        platform::InvalWindowRect(window, &r);
}

void VWindow::UpdateCoords(bool)
{
    if (!fWindow) return;
    platform::Rect structure{}, content{};
    platform::GetWindowBounds(fWindow, platform::kWindowStructureRgn, &structure);
    platform::GetWindowBounds(fWindow, platform::kWindowContentRgn, &content);
    fX = content.left;
    fY = content.top;
    fWidth = content.right - content.left;
    fHeight = content.bottom - content.top;
    fInsets[0] = int16_t(content.left - structure.left);
    fInsets[1] = int16_t(structure.right - content.right);
    fInsets[2] = int16_t(content.top - structure.top);
    fInsets[3] = int16_t(structure.bottom - content.bottom);
    fVisible = platform::IsWindowVisible(fWindow);
    fWindowX = fWindowY = 0;
}

void VWindow::SetPos(int32_t x, int32_t y, RedrawMode mode)
{
    if (!fWindow) return;
    if (fForeign) {
        UpdateCoords(false);
        return;
    }
    platform::MoveWindow(fWindow, int16_t(x), int16_t(y), false);
    VFrame::SetPos(x, y, mode);
    fWindowX = fWindowY = 0;
}

void VWindow::SetSize(int32_t w, int32_t h, RedrawMode mode)
{
    if (!fWindow) return;
    if (fForeign) {
        UpdateCoords(false);
        return;
    }
    platform::SizeWindow(fWindow, int16_t(w), int16_t(h), false);
    if (fChildren.size() < 2) {
        VFrame::SetSize(w, h, mode);
        if (!fChildren.empty()) {
            fChildren.front()->SetPos(0, 0, kRedrawInval);
            fChildren.front()->SetSize(w, h, kRedrawInval);
        }
    } else {
        VView::SetSize(w, h, mode);
    }
}

void VWindow::SetTitle(const VString& title)
{
    VFrame::SetTitle(title);
    if (!fWindow) return;
    unsigned char pascal[256] = {0};
    VStr<255> copy(title);
    copy.ToPString(pascal, 255);
    platform::SetWTitle(fWindow, pascal);
}

VString* VWindow::GetTitle() const
{
    auto* title = new VStr<255>;
    if (!title || !fWindow) return title;
    unsigned char pascal[256] = {0};
    platform::GetWTitle(fWindow, pascal);
    title->FromPString(pascal, kCharSetMac);
    return title;
}

void VWindow::SetVisible(bool visible)
{
    if (!fWindow || visible == fVisible) return;
    VFrame::SetVisible(visible);
    if (visible) {
        platform::ShowWindow(fWindow);
        if (CanActivate()) DoTakeFocus();
    } else {
        if (fHasFocus) DoLoseFocus(nullptr);
        platform::HideWindow(fWindow);
    }
}

bool VWindow::LooksActive() const { return fWindow && platform::IsWindowHilited(fWindow); }

int32_t VWindow::DoKey(VKeySwitch& key) { return fFocusMgr ? fFocusMgr->DoKey(key, true) : 1; }

void VWindow::DoTakeFocus()
{
    if (fHasFocus || !fWindow) return;
    fHasFocus = true;
    if (fFocusMgr) fFocusMgr->DoTakeFocus();
    DoForeGroundChildren(true);
}

void VWindow::DoLoseFocus(VFrame*)
{
    if (!fHasFocus) return;
    DoForeGroundChildren(false);
    if (fFocusMgr) fFocusMgr->DoLoseFocus();
    fHasFocus = false;
}

intptr_t VWindow::DoCommand(VObject* sender, int32_t command, intptr_t param)
{
    if (command >= vcmd::kGetFocusMgr && command <= vcmd::kFocusLost)
        return fFocusMgr ? fFocusMgr->DoCommand(sender, command, param) : 0;
    switch (command) {
    case vcmd::kLeaveTree:
        if (sender == fCursorFrame) fCursorFrame = nullptr;
        return fFocusMgr ? fFocusMgr->DoCommand(sender, command, param) : 0;
    case vcmd::kDeactivate:
        DoLoseFocus(nullptr);
        DoForeGroundChildren(false);
        for (VFrame* child : std::vector<VFrame*>(fChildren)) child->Redraw(kRedrawNow);
        return 1;
    case vcmd::kActivate:
        if (!CanActivate()) return 0;
        DoForeGroundChildren(true);
        DoTakeFocus();
        for (VFrame* child : std::vector<VFrame*>(fChildren)) child->Redraw(kRedrawNow);
        return 1;
    case vcmd::kIsActive:
        return fHasFocus ? 1 : 0;
    case vcmd::kGetCursorFrame:
        if (param) *reinterpret_cast<VFrame**>(param) = fCursorFrame;
        return 1;
    case vcmd::kDrawGrowIcon: {
        if (!fGrowIcon) return 1;
        VPainter* painter = reinterpret_cast<VPainter*>(param);
        const bool own = !painter;
        if (own) painter = GetPainter();
        if (!painter) return 1;
        painter->SaveClip(false);
        painter->ClipFrame(this, nullptr, false);
        int32_t ox = 0, oy = 0;
        painter->GetOffset(ox, oy);
        painter->AddOffset(-ox, -oy);
        painter->DrawGrowIcon(fWidth - 16, fHeight - 16);
        painter->RestoreOffset();
        painter->RestoreClip();
        if (own) ReleasePainter();
        return 1;
    }
    default:
        break;
    }
    if (fCommandParent) return fCommandParent->DoCommand(sender, command, param);
    if (fMenuBar) return fMenuBar->DoCommand(sender, command, param) ? 1 : 0;
    return 0;
}

VCommand* VWindow::FindCommand(int32_t number)
{
    if (fMenuBar) return fMenuBar->FindCommand(number);
    return fCommandParent ? fCommandParent->FindCommand(number) : nullptr;
}

VFrame* VWindow::GetDropFrame(const VPoint& p) { return VView::GetDropFrame(p); }

void VWindow::SetFocusable(bool on)
{
    if (on == fFocusable) return;
    fFocusable = on;
    if (fWindow) VEngine::SetWindowFocusable(fWindow, on);
}

void VWindow::DoDispose()
{
    if (fFocusMgr && fHasFocus) fFocusMgr->DoLoseFocus();
    VView::DoDispose();
}

void VWindow::DoIdleChildren(bool flag)
{
    if (!flag && fHasFocus && fFocusMgr) fFocusMgr->DoIdle();
    VView::DoIdleChildren(flag);
}

bool VWindow::DoMouseChildren(VClic& clic)
{
    VFrame* focus = fFocusMgr ? fFocusMgr->GetFocus() : nullptr;
    if (fFocusKeepsClicks && !clic.IsUp() && focus) {
        int32_t px = 0, py = 0;
        clic.GetPos(px, py);
        const bool elsewhere = focus->GetParentMacHwnd() != fWindow;
        const bool outside = px < focus->GetWindowX() || py < focus->GetWindowY() ||
                             int64_t(px) >= int64_t(focus->GetWindowX()) + focus->GetWidth() ||
                             int64_t(py) >= int64_t(focus->GetWindowY()) + focus->GetHeight();
        if ((elsewhere || outside) && !focus->CanLoseFocus()) return true;
    }
    // Another window's field that refuses to give the focus up keeps the
    // clicks of this window too.
    if (fFocusKeepsClicks && !clic.IsUp() && gCurFocus && gCurFocus != fFocusMgr) {
        VFrame* other = gCurFocus->GetFocus();
        if (other && !other->CanLoseFocus()) return true;
    }
    return VView::DoMouseChildren(clic);
}

void VWindow::DoMouseWheelChildren(VClic& clic)
{
    for (size_t i = fChildren.size(); i-- > 0;) {
        VFrame* child = fChildren[i];
        if (!child->IsVisible() || !child->HitTest(clic)) continue;
        clic.SetPosByOffset(-child->GetX(), -child->GetY());
        child->DoMouseWheelChildren(clic);
        return;
    }
}

void VWindow::DoCursor(VClic& clic)
{
    if (!clic.IsUp() && fCursorFrame && fCursorFrame->CanDrag()) {
        VClic copy(clic);
        copy.SetPos(fLastMouseX - fCursorFrame->GetWindowX(), fLastMouseY - fCursorFrame->GetWindowY());
        DoIdleChildren(true);
        fCursorFrame->DoDragChildren(copy);
        int32_t mx = 0, my = 0;
        GetMousePosition(mx, my);
        clic.SetPos(mx, my);
    }
    int32_t px = 0, py = 0;
    clic.GetPos(px, py);
    fLastMouseX = px;
    fLastMouseY = py;
    VFrame* target = nullptr;
    if (px >= 0 && px <= fWidth && py >= 0 && py <= fHeight) target = GetTargetFrame(clic, false);
    if (!target) {
        if (fCursorFrame) fCursorFrame->DoCursorOut();
        fCursorFrame = nullptr;
        return;
    }
    clic.SetPos(px - target->GetWindowX(), py - target->GetWindowY());
    if (target != fCursorFrame) {
        if (fCursorFrame) fCursorFrame->DoCursorOut();
        fCursorFrame = target;
        target->DoCursorChildren(clic, true);
    } else {
        target->DoCursorChildren(clic, false);
    }
}

void VWindow::SetFocusManager(VFocusMgr* manager)
{
    // The same manager again is nothing to do: releasing it first would
    // destroy what is then stored.
    if (!manager || manager == fFocusMgr) return;
    manager->DoCommand(manager, vcmd::kTakeOverFrames, 0);
    if (fFocusMgr) {
        if (fFocusMgr->GetUsers() <= 1)
            delete fFocusMgr;
        else
            fFocusMgr->DoCommand(this, vcmd::kUsers, 0);
    }
    fFocusMgr = manager;
    manager->DoCommand(this, vcmd::kUsers, 1);
}

VPainter* VWindow::GetPainter()
{
    if (!fWindow || fPainterUsers > 0) return nullptr;
    if (!fPainter) {
        fPainter = new VScreenPainter(platform::GetWindowPort(fWindow));
        if (!fPainter) return nullptr;
    } else {
        fPainter->StandardSettings();
    }
    const int32_t current = VEngine::GetCurrentLook();
    if (current > 0) fPainter->SetLook(StdLook(current));
    if (fLook >= -1) fPainter->SetLook(fLook);
    fPainterUsers = 1;
    return fPainter;
}

void VWindow::ReleasePainter()
{
    if (fPainterUsers == 0 || !fPainter) return;
    fPainter->ForgetOffscreen();
    fPainterUsers = 0;
    if (fForeign) {
        delete fPainter;
        fPainter = nullptr;
    } else {
        fPainter->Reset();
    }
}

void VWindow::MinMax()
{
    if (!fWindow) return;
    if (fZoomed) {
        SetVisible(false);
        SetPos(fSaved[1], fSaved[0], kRedrawInval);
        SetSize(fSaved[3] - fSaved[1], fSaved[2] - fSaved[0], kRedrawInval);
        SetVisible(true);
        fZoomed = false;
        return;
    }
    fSaved[0] = int16_t(fY);
    fSaved[1] = int16_t(fX);
    fSaved[2] = int16_t(fY + fHeight);
    fSaved[3] = int16_t(fX + fWidth);
    VRect app;
    VSystem::GetAppRect(app);
    const int32_t left = app.GetLeft() + 10;
    const int32_t top = app.GetTop() + VSystem::GetMenuBarHeight(false) + 10 + (fTitleBar ? 20 : 0);
    const int32_t right = app.GetLeft() + app.GetWidth() - 10;
    const int32_t bottom = app.GetTop() + app.GetHeight() - 10;
    SetVisible(false);
    SetPos(left, top, kRedrawInval);
    SetSize(right - left, bottom - top, kRedrawInval);
    SetVisible(true);
    fZoomed = true;
}
