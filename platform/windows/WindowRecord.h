// The window record and the frame geometry, shared by the window manager's
// files. Code outside the window manager goes through Windows.h.
#pragma once

#include <vector>

#include "platform/drawing/QuickDrawTypes.h"
#include "platform/windows/Windows.h"

namespace platform {

enum class FrameKind { Document, Floating, Dialog, MovableDialog, Plain, Help };

struct WindowRecord {
    GWorldPtr port = nullptr;  // the content's backing world
    WindowClass windowClass = kDocumentWindowClass;
    WindowAttributes attributes = 0;
    FrameKind frame = FrameKind::Document;
    int level = 0;  // 0 documents and dialogs, 1 floating, 2 help
    int16_t kind = userKind;
    bool visible = false;
    bool hilited = false;
    bool zoomed = false;  // at the standard state
    bool hasStandardState = false;
    unsigned char title[256] = {0};
    uintptr_t refCon = 0;
    Rect content{0, 0, 0, 0};  // global
    RgnHandle updateRgn = nullptr;  // global
    bool updateDelivered = false;   // an update event went out for it
    RgnHandle savedVisRgn = nullptr;  // during BeginUpdate
    Rect userState{0, 0, 0, 0};
    Rect standardState{0, 0, 0, 0};
};

// The windows, front to back.
std::vector<WindowRef>& WindowOrder();
bool IsLiveWindow(WindowRef window);

// Geometry, global.
Rect StructureRect(const WindowRecord& w);
Rect TitleBarRect(const WindowRecord& w);  // empty without a title bar
Rect CloseBoxRect(const WindowRecord& w);
Rect ZoomBoxRect(const WindowRecord& w);
Rect CollapseBoxRect(const WindowRecord& w);
Rect GrowBoxRect(const WindowRecord& w);
bool HasCloseBox(const WindowRecord& w);
bool HasZoomBox(const WindowRecord& w);
bool HasCollapseBox(const WindowRecord& w);
bool HasGrowBox(const WindowRecord& w);
// Local (port) coordinates to global and back.
Point LocalToGlobalOf(const WindowRecord& w, Point local);
Point GlobalToLocalOf(const WindowRecord& w, Point global);
// The standard state when none was set: the desktop less a margin.
Rect DefaultStandardState(const WindowRecord& w);

// Geometry changes and the update events they cause.
void SetContentRect(WindowRecord& w, const Rect& content);
// Adds to the update region; a new update event follows when the area grew
// or, with always, whenever the area touches the content.
void AddToUpdate(WindowRecord& w, RgnHandle globalArea, bool always = false);
// Records what is visible now; its end invalidates what became visible
// (every window, when memory ran out for the record). Never throws.
class ExposureWatch {
public:
    ExposureWatch();
    ~ExposureWatch();
    ExposureWatch(const ExposureWatch&) = delete;
    ExposureWatch& operator=(const ExposureWatch&) = delete;

private:
    std::vector<std::pair<WindowRef, RgnHandle>> before_;  // local coordinates
    bool whole_ = false;
};
// What of a window shows on the screen, global.
void VisibleRegionOf(WindowRef window, RgnHandle into);

// Activation: brings hilite and the activate events in step with the order.
void UpdateActivation();
void ForgetWindowEvents(WindowRef window);
void InstallWindowEventSource();

}  // namespace platform
