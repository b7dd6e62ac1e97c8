#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

#include "platform/core/Errors.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/screen/Screen.h"
#include "platform/windows/WindowRecord.h"

namespace platform {
namespace {

struct ClassInfo {
    FrameKind frame;
    int level;
};

bool ClassInfoOf(WindowClass c, ClassInfo* info)
{
    switch (c) {
    case kAlertWindowClass:
    case kModalWindowClass:
        *info = {FrameKind::Dialog, 0};
        return true;
    case kMovableAlertWindowClass:
    case kMovableModalWindowClass:
        *info = {FrameKind::MovableDialog, 0};
        return true;
    case kDocumentWindowClass:
    case kUtilityWindowClass:
        *info = {FrameKind::Document, 0};
        return true;
    case kFloatingWindowClass:
        *info = {FrameKind::Floating, 1};
        return true;
    case kHelpWindowClass:
        *info = {FrameKind::Help, 2};
        return true;
    case kPlainWindowClass:
        *info = {FrameKind::Plain, 0};
        return true;
    default:
        return false;
    }
}

// The class and attributes a definition id stands for.
void ClassForProcID(int16_t procID, bool goAway, WindowClass* c, WindowAttributes* a)
{
    const WindowAttributes close = goAway ? WindowAttributes(kWindowCloseBoxAttribute) : 0u;
    switch (procID) {
    case dBoxProc: *c = kModalWindowClass; *a = 0; return;
    case plainDBox: case altDBoxProc: *c = kPlainWindowClass; *a = 0; return;
    case movableDBoxProc: *c = kMovableModalWindowClass; *a = close; return;
    case noGrowDocProc: *c = kDocumentWindowClass; *a = close; return;
    case zoomDocProc: *c = kDocumentWindowClass; *a = close | kWindowFullZoomAttribute | kWindowResizableAttribute; return;
    case zoomNoGrow: *c = kDocumentWindowClass; *a = close | kWindowFullZoomAttribute; return;
    case floatProc: *c = kFloatingWindowClass; *a = close; return;
    case floatGrowProc: *c = kFloatingWindowClass; *a = close | kWindowResizableAttribute; return;
    case floatZoomProc: *c = kFloatingWindowClass; *a = close | kWindowFullZoomAttribute; return;
    case floatZoomGrowProc:
        *c = kFloatingWindowClass;
        *a = close | kWindowFullZoomAttribute | kWindowResizableAttribute;
        return;
    default: *c = kDocumentWindowClass; *a = close | kWindowResizableAttribute; return;
    }
}

void CopyTitle(unsigned char* dst, ConstStr255Param src)
{
    dst[0] = 0;
    if (src) std::memcpy(dst, src, size_t(src[0]) + 1);
}

// Puts the window in the order: in front of its level, behind all of its
// level, or right behind another window (kept within its level).
void Place(WindowRef w, WindowRef behind)
{
    auto& order = WindowOrder();
    order.erase(std::remove(order.begin(), order.end(), w), order.end());
    size_t firstOfLevel = 0, endOfLevel = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i]->level > w->level) firstOfLevel = i + 1;
        if (order[i]->level >= w->level) endOfLevel = i + 1;
    }
    size_t at = endOfLevel;
    if (behind == kFirstWindowOfClass) {
        at = firstOfLevel;
    } else if (behind) {
        auto it = std::find(order.begin(), order.end(), behind);
        if (it != order.end()) at = std::clamp<size_t>(size_t(it - order.begin()) + 1, firstOfLevel, endOfLevel);
    }
    order.insert(order.begin() + std::ptrdiff_t(at), w);
}

WindowRef MakeWindow(WindowClass windowClass, WindowAttributes attributes, const Rect& content)
{
    ClassInfo info{};
    if (!ClassInfoOf(windowClass, &info) || content.right < content.left || content.bottom < content.top)
        return nullptr;
    auto* w = new (std::nothrow) WindowRecord;
    if (!w) return nullptr;
    w->windowClass = windowClass;
    w->attributes = attributes;
    w->frame = info.frame;
    w->level = info.level;
    w->kind = (info.frame == FrameKind::Dialog || info.frame == FrameKind::MovableDialog) ? dialogKind : userKind;
    w->content = content;
    const Rect local{0, 0, int16_t(content.bottom - content.top), int16_t(content.right - content.left)};
    w->updateRgn = NewRgn();
    if (!w->updateRgn || NewGWorld(&w->port, 32, &local, nullptr, nullptr, 0) != noErr) {
        DisposeRgn(w->updateRgn);
        delete w;
        return nullptr;
    }
    SetPortGlobalOffset(w->port, Point{content.top, content.left});
    w->userState = content;
    return w;
}

}  // namespace

std::vector<WindowRef>& WindowOrder()
{
    static auto* order = new std::vector<WindowRef>;
    return *order;
}

bool IsLiveWindow(WindowRef window)
{
    if (!window) return false;
    const auto& order = WindowOrder();
    return std::find(order.begin(), order.end(), window) != order.end();
}

Boolean IsValidWindowPtr(WindowRef window) { return IsLiveWindow(window); }

WindowRef NewCWindow(void*, const Rect* bounds, ConstStr255Param title, Boolean visible, int16_t procID,
                     WindowRef behind, Boolean goAwayFlag, uintptr_t refCon)
{
    if (!bounds) return nullptr;
    InstallWindowEventSource();
    WindowClass c = 0;
    WindowAttributes a = 0;
    ClassForProcID(procID, goAwayFlag, &c, &a);
    WindowRef w = MakeWindow(c, a, *bounds);
    if (!w) return nullptr;
    CopyTitle(w->title, title);
    w->refCon = refCon;
    Place(w, behind);
    if (visible) ShowWindow(w);
    return w;
}

WindowRef NewWindow(void* storage, const Rect* bounds, ConstStr255Param title, Boolean visible,
                    int16_t procID, WindowRef behind, Boolean goAwayFlag, uintptr_t refCon)
{
    return NewCWindow(storage, bounds, title, visible, procID, behind, goAwayFlag, refCon);
}

OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* contentBounds,
                         WindowRef* window)
{
    if (!window) return paramErr;
    *window = nullptr;
    ClassInfo info{};
    if (!contentBounds || !ClassInfoOf(windowClass, &info)) return paramErr;
    const WindowAttributes known = kWindowStandardDocumentAttributes;
    if (attributes & ~known) return errUnsupportedWindowAttributesForClass;
    InstallWindowEventSource();
    WindowRef w = MakeWindow(windowClass, attributes, *contentBounds);
    if (!w) return memFullErr;
    Place(w, kFirstWindowOfClass);
    *window = w;
    return noErr;
}

namespace {
std::vector<void (*)(WindowRef)>& DisposeHooks()
{
    static auto* hooks = new std::vector<void (*)(WindowRef)>;
    return *hooks;
}
}  // namespace

void AddWindowDisposeHook(void (*hook)(WindowRef window))
{
    auto& hooks = DisposeHooks();
    if (hook && std::find(hooks.begin(), hooks.end(), hook) == hooks.end()) hooks.push_back(hook);
}

void DisposeWindow(WindowRef window)
{
    if (!IsLiveWindow(window)) return;
    for (auto hook : DisposeHooks()) hook(window);
    if (!IsLiveWindow(window)) return;
    {
        ExposureWatch watch;
        window->visible = false;
        auto& order = WindowOrder();
        order.erase(std::remove(order.begin(), order.end(), window), order.end());
    }
    ForgetWindowEvents(window);
    GrafPtr current = nullptr;
    GetPort(&current);
    if (current == window->port) SetPort(nullptr);
    DisposeGWorld(window->port);
    DisposeRgn(window->updateRgn);
    DisposeRgn(window->savedVisRgn);
    delete window;
    UpdateActivation();
}

void ResetWindowManager()
{
    while (!WindowOrder().empty()) DisposeWindow(WindowOrder().front());
}

void ShowWindow(WindowRef window)
{
    if (!IsLiveWindow(window) || window->visible) return;
    {
        ExposureWatch watch;
        window->visible = true;
    }
    UpdateActivation();
}

void HideWindow(WindowRef window)
{
    if (!IsLiveWindow(window) || !window->visible) return;
    {
        ExposureWatch watch;
        window->visible = false;
    }
    UpdateActivation();
}

void ShowHide(WindowRef window, Boolean show)
{
    if (show) ShowWindow(window);
    else HideWindow(window);
}

void BringToFront(WindowRef window)
{
    if (!IsLiveWindow(window)) return;
    {
        ExposureWatch watch;
        Place(window, kFirstWindowOfClass);
    }
    UpdateActivation();
}

void SelectWindow(WindowRef window) { BringToFront(window); }

void SendBehind(WindowRef window, WindowRef behindWindow)
{
    if (!IsLiveWindow(window) || window == behindWindow) return;
    {
        ExposureWatch watch;
        Place(window, IsLiveWindow(behindWindow) ? behindWindow : kLastWindowOfClass);
    }
    UpdateActivation();
}

void HiliteWindow(WindowRef window, Boolean hilite)
{
    if (!IsLiveWindow(window) || window->frame == FrameKind::Help) return;
    window->hilited = hilite;
}

WindowRef FrontNonFloatingWindow()
{
    for (WindowRef w : WindowOrder())
        if (w->visible && w->level == 0) return w;
    return nullptr;
}

WindowRef FrontWindow() { return FrontNonFloatingWindow(); }

WindowRef GetWindowList()
{
    const auto& order = WindowOrder();
    return order.empty() ? nullptr : order.front();
}

WindowRef GetNextWindow(WindowRef window)
{
    auto& order = WindowOrder();
    auto it = std::find(order.begin(), order.end(), window);
    if (it == order.end() || ++it == order.end()) return nullptr;
    return *it;
}

Boolean IsWindowVisible(WindowRef window) { return IsLiveWindow(window) && window->visible; }
Boolean IsWindowHilited(WindowRef window) { return IsLiveWindow(window) && window->hilited; }
Boolean IsWindowCollapsed(WindowRef) { return false; }

WindowPartCode FindWindow(Point where, WindowRef* window)
{
    if (window) *window = nullptr;
    const Rect bar = MenuBarRect();
    if (PtInRect(where, &bar)) return inMenuBar;
    for (WindowRef w : WindowOrder()) {
        if (!w->visible) continue;
        Rect s = StructureRect(*w);
        if (!PtInRect(where, &s)) continue;
        if (window) *window = w;
        // Boxes answer only on a hilited window.
        if (w->hilited) {
            Rect r = CloseBoxRect(*w);
            if (PtInRect(where, &r)) return inGoAway;
            r = ZoomBoxRect(*w);
            if (PtInRect(where, &r)) return w->zoomed ? inZoomIn : inZoomOut;
            r = GrowBoxRect(*w);
            if (PtInRect(where, &r)) return inGrow;
        }
        if (PtInRect(where, &w->content)) return inContent;
        Rect bar = TitleBarRect(*w);
        if (PtInRect(where, &bar)) return inDrag;
        // The rest of the frame: dialogs without a title bar cannot be moved.
        return w->frame == FrameKind::Dialog || w->frame == FrameKind::Plain || w->frame == FrameKind::Help
                   ? inContent
                   : inDrag;
    }
    return inDesk;
}

void SetWTitle(WindowRef window, ConstStr255Param title)
{
    if (IsLiveWindow(window)) CopyTitle(window->title, title);
}

void GetWTitle(WindowRef window, Str255 title)
{
    if (!title) return;
    title[0] = 0;
    if (IsLiveWindow(window)) std::memcpy(title, window->title, size_t(window->title[0]) + 1);
}

void SetWRefCon(WindowRef window, uintptr_t refCon)
{
    if (IsLiveWindow(window)) window->refCon = refCon;
}

uintptr_t GetWRefCon(WindowRef window) { return IsLiveWindow(window) ? window->refCon : 0; }

void SetWindowKind(WindowRef window, int16_t kind)
{
    if (IsLiveWindow(window)) window->kind = kind;
}

int16_t GetWindowKind(WindowRef window) { return IsLiveWindow(window) ? window->kind : 0; }

OSStatus GetWindowClass(WindowRef window, WindowClass* windowClass)
{
    if (!IsLiveWindow(window)) return errInvalidWindowRef;
    if (windowClass) *windowClass = window->windowClass;
    return noErr;
}

OSStatus GetWindowAttributes(WindowRef window, WindowAttributes* attributes)
{
    if (!IsLiveWindow(window)) return errInvalidWindowRef;
    if (attributes) *attributes = window->attributes;
    return noErr;
}

CGrafPtr GetWindowPort(WindowRef window) { return IsLiveWindow(window) ? window->port : nullptr; }

WindowRef GetWindowFromPort(CGrafPtr port)
{
    if (!port) return nullptr;
    for (WindowRef w : WindowOrder())
        if (w->port == port) return w;
    return nullptr;
}

void SetPortWindowPort(WindowRef window)
{
    if (IsLiveWindow(window)) SetPort(window->port);
}

OSStatus GetWindowRegion(WindowRef window, WindowRegionCode code, RgnHandle into)
{
    if (!IsLiveWindow(window)) return errInvalidWindowRef;
    if (!into) return paramErr;
    const WindowRecord& w = *window;
    Rect r{0, 0, 0, 0};
    switch (code) {
    case kWindowStructureRgn: r = StructureRect(w); break;
    case kWindowContentRgn: r = w.content; break;
    case kWindowUpdateRgn: CopyRgn(w.updateRgn, into); return noErr;
    case kWindowTitleBarRgn: case kWindowTitleTextRgn: case kWindowDragRgn: r = TitleBarRect(w); break;
    case kWindowCloseBoxRgn: r = CloseBoxRect(w); break;
    case kWindowZoomBoxRgn: r = ZoomBoxRect(w); break;
    case kWindowCollapseBoxRgn: r = CollapseBoxRect(w); break;
    case kWindowGrowRgn: r = GrowBoxRect(w); break;
    default: return paramErr;
    }
    RectRgn(into, &r);
    if (code == kWindowDragRgn) {
        // The title bar less its boxes.
        for (Rect box : {CloseBoxRect(w), ZoomBoxRect(w), CollapseBoxRect(w)}) {
            RgnHandle b = NewRgn();
            RectRgn(b, &box);
            DiffRgn(into, b, into);
            DisposeRgn(b);
        }
    }
    return noErr;
}

OSStatus GetWindowBounds(WindowRef window, WindowRegionCode code, Rect* bounds)
{
    if (!bounds) return paramErr;
    RgnHandle rgn = NewRgn();
    if (!rgn) return memFullErr;
    OSStatus err = GetWindowRegion(window, code, rgn);
    if (!err) GetRegionBounds(rgn, bounds);
    DisposeRgn(rgn);
    return err;
}

}  // namespace platform
