#include "toolbox/views/VFrame.h"

#include <algorithm>
#include <cstring>

#include "platform/drawing/Blits.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/system/ToolboxResources.h"
#include "toolbox/foundation/system/VSystem.h"
#include "toolbox/views/VCursor.h"
#include "toolbox/views/MenuCommandLinks.h"
#include "toolbox/views/VDragDropProperties.h"
#include "toolbox/views/VView.h"
#include "toolbox/views/VWindow.h"

namespace {

constexpr int16_t kUndoRedoList = 9002;

// The stored title: a string of at most 255 characters.
using TitleString = VStr<255>;

}  // namespace

VFrame::VFrame(VView* parent, const VRect* rect)
{
    if (parent) {
        fParent = parent;
        fWindowX = parent->fWindowX;
        fWindowY = parent->fWindowY;
        // A frame made inside a view that is not shown starts hidden.
        fHidden = !parent->IsVisible();
        parent->AddChild(this);
    }
    if (rect) {
        fX = rect->GetLeft();
        fY = rect->GetTop();
        fWidth = rect->GetWidth();
        fHeight = rect->GetHeight();
    } else if (parent) {
        fWidth = parent->fWidth;
        fHeight = parent->fHeight;
    }
    if (parent) UpdateCoords(parent->IsAScrolledView());
    if (parent && GetParentMacHwnd()) Redraw(kRedrawInval);
}

VFrame::~VFrame() { LeaveTree(); }

void VFrame::LeaveTree()
{
    if (!fParent) {
        delete fTitle;
        fTitle = nullptr;
        return;
    }
    DoCommand(this, vcmd::kLeaveTree, 0);
    if (!fDisposed) fDisposed = true;
    delete fTitle;
    fTitle = nullptr;
    VView* parent = fParent;
    fParent = nullptr;
    parent->RemoveChild(this);
}

void VFrame::SetPos(int32_t x, int32_t y, RedrawMode mode)
{
    if (x == fX && y == fY) return;
    if (!fParent) {
        fX = x;
        fY = y;
        fWindowX = fWindowY = 0;
        return;
    }
    if (mode != kRedrawNone) Redraw(kRedrawInval);
    fX = x;
    fY = y;
    UpdateCoords(fParent->IsAScrolledView());
    Redraw(mode);
}

void VFrame::SetSize(int32_t w, int32_t h, RedrawMode mode)
{
    if (w == fWidth && h == fHeight) return;
    if (IsVisible() && mode != kRedrawNone) Redraw(kRedrawInval);
    fWidth = w;
    fHeight = h;
    if (IsVisible()) Redraw(mode);
}

void VFrame::UpdateCoords(bool parentScrolled)
{
    if (!fParent) return;
    fWindowX = fParent->fWindowX + fX;
    fWindowY = fParent->fWindowY + fY;
    if (parentScrolled) {
        int32_t sx = 0, sy = 0;
        fParent->GetScrollPos(sx, sy);
        fWindowX -= sx;
        fWindowY -= sy;
    }
}

bool VFrame::HitTestNoOffset(const VPoint& p) const
{
    int32_t px = 0, py = 0;
    p.GetPos(px, py);
    return px >= 0 && px < fWidth && py >= 0 && py < fHeight;
}

bool VFrame::HitTest(const VPoint& p) const
{
    int32_t px = 0, py = 0;
    p.GetPos(px, py);
    return px >= fX && int64_t(px) < int64_t(fX) + fWidth && py >= fY && int64_t(py) < int64_t(fY) + fHeight;
}

void VFrame::DoPaint(VPainter* painter)
{
    if (!painter) return;
    painter->SetLineWidth(1.0);
    painter->SetLineStdColor(10);
    painter->SetFillStdColor(0);
    painter->DrawVRect(0, 0, fWidth, fHeight);
}

void VFrame::Redraw(RedrawMode mode)
{
    if (mode == kRedrawLater)
        RedrawLater(*this);
    else
        RedrawRect(0, 0, fWidth, fHeight, mode);
}

void VFrame::RedrawRect(int32_t x, int32_t y, int32_t w, int32_t h, RedrawMode mode)
{
    if (mode == kRedrawNone) return;
    platform::WindowRef window = GetParentMacHwnd();
    if (!window) return;
    if (mode == kRedrawLater) {
        RedrawLater(VRect(fWindowX + x, fWindowY + y, w, h));
        return;
    }
    if (mode == kRedrawNow) {
        VRegion visible;
        GetVisibleRegion(visible);
        if (visible.IsEmpty()) return;
        VPainter* painter = GetPainter();
        if (!painter) {
            mode = kRedrawInval;
        } else {
            // A painter lent with its buffer open (a scroll step) keeps it.
            const bool lentOpen = painter->GetCurPort() != painter->GetOwnPort();
            painter->SaveClip(false);
            // The region is in window coordinates; the painter is at the frame.
            visible.SetPos(visible.GetLeft() - fWindowX, visible.GetTop() - fWindowY);
            painter->ClipVRegion(visible, true);
            if (!fTransparent || !fParent) {
                if (IsAScrolledView()) {
                    int32_t sx = 0, sy = 0;
                    GetScrollPos(sx, sy);
                    painter->AddOffset(sx, sy);
                }
                painter->BeginOffscreen(this);
                DoPaintChildren(painter);
                if (IsAScrolledView()) painter->RestoreOffset();
                EndPaintNow(painter, lentOpen);
            } else {
                painter->BeginOffscreen(fParent);
                painter->AddOffset(-fX, -fY);
                const VRect own(fX, fY, fWidth, fHeight);
                painter->ClipVRect(own, true);
                fParent->DoPaintChildren(painter);
                painter->RestoreOffset();
                EndPaintNow(painter, lentOpen);
            }
            painter->RestoreClip();
            ReleasePainter();
        }
    }
    const VRect area(fWindowX + x, fWindowY + y, w, h);
    SetWindowValidRect(window, &area, mode == kRedrawNow);
}

void VFrame::EndPaintNow(VPainter* painter, bool lentOpen)
{
    if (lentOpen)
        painter->EndOffscreen(VRect(0, 0, fWidth, fHeight), true);
    else
        painter->EndOffscreen(false);
}

void VFrame::RedrawLater(const VFrame& frame)
{
    if (fParent)
        fParent->RedrawLater(frame);
    else
        const_cast<VFrame&>(frame).Redraw(kRedrawInval);
}

void VFrame::RedrawLater(const VRect& rect)
{
    if (fParent) fParent->RedrawLater(rect);
}

void VFrame::SetTitle(const unsigned char* pascal)
{
    if (!fTitle) fTitle = new TitleString;
    if (!fTitle) return;
    static const unsigned char kEmpty[1] = {0};
    fTitle->FromPString(pascal ? pascal : kEmpty);
    if (IsVisible()) Redraw(kRedrawInval);
}

void VFrame::SetTitle(const VString& title)
{
    if (!fTitle) fTitle = new TitleString;
    if (!fTitle) return;
    fTitle->FromVString(title);
    if (IsVisible()) Redraw(kRedrawInval);
}

void VFrame::SetTitle(const char* text)
{
    if (!fTitle) fTitle = new TitleString;
    if (!fTitle) return;
    fTitle->FromCString(reinterpret_cast<const uint8_t*>(text ? text : ""));
    if (IsVisible()) Redraw(kRedrawInval);
}

void VFrame::SetVisible(bool visible)
{
    if (visible == fVisible) return;
    fVisible = visible;
    // Hidden follows the ancestors: a frame made visible under a view that
    // is not shown stays hidden.
    const bool ancestorHidden = fParent && !fParent->IsVisible();
    SetHidden(!visible || ancestorHidden);
    Redraw(kRedrawInval);
}

bool VFrame::LooksActive() const { return fParent ? fParent->LooksActive() : false; }

void VFrame::DoMouseWheel(VClic& clic)
{
    if (fHeight <= 5) return;
    DoCommand(this, vcmd::kBeginScrollStep, 0);
    const intptr_t amount = -intptr_t(clic.GetWheelDelta()) * 48;
    DoCommand(this, clic.IsShiftKey() ? vcmd::kScrollH : vcmd::kScrollV, amount);
    DoCommand(this, vcmd::kEndScrollStep, 0);
}

void VFrame::DoLoseFocus(VFrame* newFocus)
{
    fHasFocus = false;
    DoCommand(this, vcmd::kFocusLost, reinterpret_cast<intptr_t>(newFocus));
}

void VFrame::DoTakeFocus()
{
    fHasFocus = true;
    DoCommand(this, vcmd::kFocusTaken, 0);
}

void VFrame::SetFocusNotify(bool on) { DoCommand(this, vcmd::kFocusNotices, on ? 1 : 0); }

bool VFrame::AskFocus()
{
    if (fHasFocus) return true;
    fHasFocus = DoCommand(this, vcmd::kAskFocus, 0) != 0;
    return fHasFocus;
}

intptr_t VFrame::DoCommand(VObject* sender, int32_t command, intptr_t param)
{
    return fParent ? fParent->DoCommand(sender, command, param) : 0;
}

void VFrame::DoCursorChildren(VClic& clic, bool entering)
{
    if (entering)
        DoCursorIn(clic);
    else
        DoCursorMove(clic);
}

void VFrame::DoCursorIn(VPoint& point)
{
    if (gCursor) gCursor->SetCursor(FindCursor(point));
}

VFrame* VFrame::GetDropFrame(const VPoint& p) { return IsVisible() && HitTestNoOffset(p) ? this : nullptr; }

VFrame* VFrame::GetDragDropFrame(VDragDropDragger* dragger, const VPoint& p)
{
    if (!IsVisible()) return nullptr;
    VDragDropProperties* props = GetDragDropProperties();
    if (!props || props->GetAllowedDrops() == 0) return nullptr;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    props->GetMargins(left, top, right, bottom);
    int32_t px = 0, py = 0;
    p.GetPos(px, py);
    const int64_t l = -int64_t(left), t = -int64_t(top);
    const int64_t r = int64_t(fWidth) + right, b = int64_t(fHeight) + bottom;
    if (px >= l && px < r && py >= t && py < b && CanAcceptDrop(dragger, p)) return this;
    return nullptr;
}

bool VFrame::CanAcceptDrop(VDragDropDragger* dragger, const VPoint&)
{
    VDragDropProperties* props = GetDragDropProperties();
    return props ? props->CanAcceptDrop(dragger) : false;
}

VFrame* VFrame::GetTargetFrame(const VPoint&, bool clickableOnly)
{
    if (!IsVisible()) return nullptr;
    return !clickableOnly || fClickable ? this : nullptr;
}

VFrame* VFrame::GetParentWindow() { return fParent ? fParent->GetParentWindow() : nullptr; }

void VFrame::SetFocusable(bool on)
{
    if (on == fFocusable) return;
    DoCommand(this, vcmd::kTabOrder, on ? 1 : 0);
    fFocusable = on;
}

VFocusMgr* VFrame::GetFocusManager()
{
    VFocusMgr* out = nullptr;
    return DoCommand(this, vcmd::kGetFocusMgr, reinterpret_cast<intptr_t>(&out)) ? out : nullptr;
}

void VFrame::SetDefaultFocus() { DoCommand(this, vcmd::kSetDefaultFocus, 0); }

VFrame* VFrame::GetDefaultFocus()
{
    VFrame* out = nullptr;
    return DoCommand(this, vcmd::kGetDefaultFocus, reinterpret_cast<intptr_t>(&out)) ? out : nullptr;
}

VFrame* VFrame::GetFocusFrame()
{
    VFrame* out = nullptr;
    return DoCommand(this, vcmd::kGetFocus, reinterpret_cast<intptr_t>(&out)) ? out : nullptr;
}

void VFrame::DoPaintChildren(VPainter* painter)
{
    if (!painter || !IsVisible() || !painter->FrameIsInClip(this, nullptr)) return;
    painter->SaveClip(false);
    painter->ClipFrame(this, nullptr, true);
    painter->SetLook(GetResolvedLook());
    DoPaint(painter);
    painter->RestoreClip();
}

bool VFrame::DoMouseChildren(VClic& clic)
{
    if (clic.IsUp()) return clic.IsRight() ? DoRightMouseUp(clic) : DoLeftMouseUp(clic);
    return clic.IsRight() ? DoRightMouse(clic) : DoLeftMouse(clic);
}

int32_t VFrame::FindShortcut(int32_t key) { return fParent ? fParent->FindShortcut(key) : 0; }

VCommand* VFrame::FindCommand(int32_t number) { return fParent ? fParent->FindCommand(number) : nullptr; }

VFrame* VFrame::Clone(VView* parent, VPainter* painter)
{
    VFrame* frame = new VFrame(parent, nullptr);
    if (frame) frame->Copy(parent, this, painter);
    return frame;
}

void VFrame::Copy(VView* parent, VFrame* source, VPainter*)
{
    if (!source) return;
    fX = source->fX;
    fY = source->fY;
    fWidth = source->fWidth;
    fHeight = source->fHeight;
    fWindowX = source->fWindowX;
    fWindowY = source->fWindowY;
    fCursor = source->fCursor;
    fClickable = source->fClickable;
    SetFocusable(source->fFocusable);
    fLook = source->fLook;
    fVisible = source->fVisible;
    fVisibleToUser = source->fVisibleToUser;
    fHidden = source->fHidden;
    fParent = parent;
    if (source->fTitle) SetTitle(*source->fTitle);
}

void VFrame::GetUndoString(VString& text) { ToolboxGetString(text, kUndoRedoList, 1); }

void VFrame::GetRedoString(VString& text) { ToolboxGetString(text, kUndoRedoList, 2); }

void VFrame::GetVisibleRegion(VRegion& region)
{
    if (!fParent) {
        region.FromRect(fWindowX, fWindowY, fWidth, fHeight);
        return;
    }
    fParent->GetVisibleRegion(region);
    if (region.IsEmpty()) return;
    region.IntersectRect(fWindowX, fWindowY, fWidth, fHeight);
    fParent->AdjustVisibleRegion(this, region);
}

VPainter* VFrame::GetPainter()
{
    if (!fParent) return nullptr;
    VPainter* painter = fParent->GetPainter();
    if (!painter) return nullptr;
    painter->SetLook(GetResolvedLook());
    painter->AddOffset(fX, fY);
    return painter;
}

platform::WindowRef VFrame::GetParentMacHwnd()
{
    VFrame* window = GetParentWindow();
    return window && window != this ? window->GetParentMacHwnd() : nullptr;
}

void VFrame::SetParent(VView* view)
{
    if (view == fParent) return;
    DoCommand(this, vcmd::kLeaveTree, 0);
    if (fParent) {
        Redraw(kRedrawInval);
        fParent->RemoveChild(this);
    }
    fParent = view;
    if (view) {
        view->AddChild(this);
        SetHidden(!fVisible || !view->IsVisible());
        UpdateCoords(view->IsAScrolledView());
        Redraw(kRedrawInval);
    }
}

void VFrame::SetParentDirect(VView* view)
{
    if (view == fParent) return;
    if (fParent) fParent->RemoveChild(this);
    fParent = view;
    if (view) {
        view->AddChild(this);
        SetHidden(!fVisible || !view->IsVisible());
        UpdateCoords(view->IsAScrolledView());
    }
}

void VFrame::ReleasePainter()
{
    if (fParent) fParent->ReleasePainter();
}

void VFrame::ScrollPixels(int32_t dx, int32_t dy, VRegion& update)
{
    platform::WindowRef window = GetParentMacHwnd();
    if (!window || std::abs(dx) >= fWidth || std::abs(dy) >= fHeight) {
        update.FromRect(0, 0, fWidth, fHeight);
        return;
    }
    platform::GrafPtr savedPort = nullptr;
    platform::GetPort(&savedPort);
    platform::SetPortWindowPort(window);
    platform::RgnHandle savedClip = platform::NewRgn();
    platform::GetClip(savedClip);
    VRegion visible;
    GetVisibleRegion(visible);
    platform::SetClip(visible.GetRgnRef(false));
    platform::Rect r{};
    VRect(fWindowX, fWindowY, fWidth, fHeight).ToMacRect(r);
    platform::RgnHandle uncovered = platform::NewRgn();
    platform::ScrollRect(&r, int16_t(dx), int16_t(dy), uncovered);
    // What the move uncovered, in frame coordinates: the frame less its
    // moved self.
    update.FromRect(0, 0, fWidth, fHeight);
    update.SubstractRect(dx, dy, fWidth, fHeight);
    platform::DisposeRgn(uncovered);
    platform::SetClip(savedClip);
    platform::DisposeRgn(savedClip);
    platform::SetPort(savedPort);
}

int32_t VFrame::RunTextPopUp(VResourceFile* file, int16_t id, int32_t x, int32_t y, bool mini)
{
    // The choice reaches this frame as a command.
    RunTextPopUpMenu(this, file, id, x, y, mini);
    return 0;
}

void VFrame::GetMousePosition(int32_t& x, int32_t& y)
{
    VSystem::GetMousePosition(x, y);
    int32_t dx = 0, dy = 0;
    GetPosInDesktop(dx, dy);
    x -= dx;
    y -= dy;
}

void VFrame::SetWindowValidRect(platform::WindowRef window, const VRect* rect, bool valid)
{
    if (fParent)
        fParent->SetWindowValidRect(window, rect, valid);
    else
        VWindow::SetValidRect(window, rect, valid);
}

int32_t VFrame::TryKey(VKeySwitch& key)
{
    int32_t answer = DoKey(key);
    for (VFrame* next = fNextKeyFrame; answer == 1 && next; next = next->fNextKeyFrame) answer = next->DoKey(key);
    return answer;
}

void VFrame::GetPosInDesktop(int32_t& x, int32_t& y) const
{
    x = fWindowX;
    y = fWindowY;
    const VFrame* root = this;
    while (root->fParent) root = root->fParent;
    platform::WindowRef window = const_cast<VFrame*>(root)->GetParentMacHwnd();
    if (!window) return;
    platform::Rect content{};
    platform::GetWindowBounds(window, platform::kWindowContentRgn, &content);
    x += content.left;
    y += content.top;
}

bool VFrame::HasGrowIcon()
{
    VFrame* window = GetParentWindow();
    if (!window || window == this || !window->IsAWindow() || !static_cast<VWindow*>(window)->HasGrowIcon())
        return false;
    const int64_t right = int64_t(fWindowX) + fWidth, bottom = int64_t(fWindowY) + fHeight;
    return std::abs(int64_t(window->GetWidth()) - right) < 3 && std::abs(int64_t(window->GetHeight()) - bottom) < 3;
}

StdLook VFrame::GetResolvedLook() const
{
    const VFrame* f = this;
    while (f->fLook < -1 && f->fParent) f = f->fParent;
    return f->fLook;
}

VLookHandler* VFrame::GetLookHandler() const { return ::GetLookHandler(GetResolvedLook()); }

void VFrame::StandardPaint(VPainter* painter, PaintMethod method, PaintStatus status, const VRect* rect,
                           const VString* text)
{
    if (!painter) return;
    if (rect)
        painter->StandardPaint(method, status, rect->GetLeft(), rect->GetTop(), rect->GetWidth(), rect->GetHeight(),
                               text, nullptr);
    else
        painter->StandardPaint(method, status, 0, 0, fWidth, fHeight, text, nullptr);
}

namespace {

void FrameBounds(const VFrame& frame, int32_t& left, int32_t& top, int32_t& width, int32_t& height)
{
    left = frame.GetX();
    top = frame.GetY();
    width = frame.GetWidth();
    height = frame.GetHeight();
}

void FrameInWindow(const VFrame& frame, int32_t& x, int32_t& y, int32_t& width, int32_t& height)
{
    frame.GetPosInWindow(x, y);
    width = frame.GetWidth();
    height = frame.GetHeight();
}

}  // namespace

void InstallFrameHooks()
{
    SetFrameBoundsProc(FrameBounds);
    SetFrameInWindowProc(FrameInWindow);
}
