// The window manager: windows in z-order with levels (documents, then
// floating windows, then help windows on top), frames drawn by us, the
// calls that find, select, move, size, drag, grow and zoom them, and the
// update and activate events they cause.
//
// A window's port is an offscreen world holding its content; the screen
// composes the worlds in z-order. Window rectangles and regions are global.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

struct WindowRecord;
using WindowRef = WindowRecord*;
using WindowPtr = WindowRecord*;

using WindowClass = uint32_t;
using WindowAttributes = uint32_t;
using WindowRegionCode = uint16_t;
using WindowPartCode = int16_t;

// Window classes.
enum : WindowClass {
    kAlertWindowClass = 1,
    kMovableAlertWindowClass = 2,
    kModalWindowClass = 3,
    kMovableModalWindowClass = 4,
    kFloatingWindowClass = 5,
    kDocumentWindowClass = 6,
    kUtilityWindowClass = 8,
    kHelpWindowClass = 10,
    kPlainWindowClass = 13,
};

// Window attributes.
enum : WindowAttributes {
    kWindowNoAttributes = 0,
    kWindowCloseBoxAttribute = 1u << 0,
    kWindowHorizontalZoomAttribute = 1u << 1,
    kWindowVerticalZoomAttribute = 1u << 2,
    kWindowFullZoomAttribute = kWindowHorizontalZoomAttribute | kWindowVerticalZoomAttribute,
    kWindowCollapseBoxAttribute = 1u << 3,
    kWindowResizableAttribute = 1u << 4,
    kWindowStandardDocumentAttributes =
        kWindowCloseBoxAttribute | kWindowFullZoomAttribute | kWindowCollapseBoxAttribute | kWindowResizableAttribute,
    kWindowStandardFloatingAttributes = kWindowCloseBoxAttribute | kWindowCollapseBoxAttribute,
};

// Definition ids of NewWindow and NewCWindow.
enum : int16_t {
    documentProc = 0,
    dBoxProc = 1,
    plainDBox = 2,
    altDBoxProc = 3,
    noGrowDocProc = 4,
    movableDBoxProc = 5,
    zoomDocProc = 8,
    zoomNoGrow = 12,
    floatProc = 1985,
    floatGrowProc = 1987,
    floatZoomProc = 1989,
    floatZoomGrowProc = 1991,
};

// Window kinds.
enum : int16_t { dialogKind = 2, userKind = 8 };

// Part codes of FindWindow.
enum : WindowPartCode {
    inDesk = 0,
    inMenuBar = 1,
    inSysWindow = 2,
    inContent = 3,
    inDrag = 4,
    inGrow = 5,
    inGoAway = 6,
    inZoomIn = 7,
    inZoomOut = 8,
};

// Regions of GetWindowRegion and GetWindowBounds.
enum : WindowRegionCode {
    kWindowTitleBarRgn = 0,
    kWindowTitleTextRgn = 1,
    kWindowCloseBoxRgn = 2,
    kWindowZoomBoxRgn = 3,
    kWindowDragRgn = 5,
    kWindowGrowRgn = 6,
    kWindowCollapseBoxRgn = 7,
    kWindowStructureRgn = 32,
    kWindowContentRgn = 33,
    kWindowUpdateRgn = 34,
};

// `behind` values: in front of every window, or (null) behind all.
inline WindowRef const kFirstWindowOfClass = reinterpret_cast<WindowRef>(-1);
inline WindowRef const kLastWindowOfClass = nullptr;

constexpr OSStatus errInvalidWindowRef = -5600;
constexpr OSStatus errUnsupportedWindowAttributesForClass = -5610;

// Creation. `bounds` is the content rectangle in global coordinates; the
// storage argument is not used (the manager allocates). Null when memory
// runs out.
WindowRef NewCWindow(void* storage, const Rect* bounds, ConstStr255Param title, Boolean visible,
                     int16_t procID, WindowRef behind, Boolean goAwayFlag, uintptr_t refCon);
WindowRef NewWindow(void* storage, const Rect* bounds, ConstStr255Param title, Boolean visible,
                    int16_t procID, WindowRef behind, Boolean goAwayFlag, uintptr_t refCon);
// Made hidden, in front of its level, with an empty title.
OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* contentBounds,
                         WindowRef* window);
void DisposeWindow(WindowRef window);

// Order and visibility.
void ShowWindow(WindowRef window);
void HideWindow(WindowRef window);
void ShowHide(WindowRef window, Boolean show);
void SelectWindow(WindowRef window);
void HiliteWindow(WindowRef window, Boolean hilite);
void BringToFront(WindowRef window);
void SendBehind(WindowRef window, WindowRef behindWindow);
// The active window: the frontmost visible window below the floating level.
WindowRef FrontWindow();
WindowRef FrontNonFloatingWindow();
// The next window behind, visible or not; null at the end.
WindowRef GetNextWindow(WindowRef window);
WindowRef GetWindowList();
Boolean IsWindowVisible(WindowRef window);
Boolean IsWindowHilited(WindowRef window);
// Windows never collapse here: always false.
Boolean IsWindowCollapsed(WindowRef window);
Boolean IsValidWindowPtr(WindowRef window);

// Finding and tracking. `where` is global.
WindowPartCode FindWindow(Point where, WindowRef* window);
// Tracks the title bar outline while the button is held and moves the
// window there. Without the command key the window is selected first.
void DragWindow(WindowRef window, Point start, const Rect* limits);
// Tracks the size outline; answers the new size (height << 16 | width) or 0
// when it did not change. sizeLimits: top, left = minimum height, width;
// bottom, right = maximum.
uint32_t GrowWindow(WindowRef window, Point start, const Rect* sizeLimits);
Boolean TrackGoAway(WindowRef window, Point start);
Boolean TrackBox(WindowRef window, Point start, WindowPartCode part);
void ZoomWindow(WindowRef window, WindowPartCode part, Boolean front);
// Moves the content's top-left corner to (h, v), global.
void MoveWindow(WindowRef window, int16_t h, int16_t v, Boolean front);
void SizeWindow(WindowRef window, int16_t width, int16_t height, Boolean update);
void GetWindowStandardState(WindowRef window, Rect* state);
void SetWindowStandardState(WindowRef window, const Rect* state);
void GetWindowUserState(WindowRef window, Rect* state);
void SetWindowUserState(WindowRef window, const Rect* state);

// Attributes of a window.
void SetWTitle(WindowRef window, ConstStr255Param title);
void GetWTitle(WindowRef window, Str255 title);
void SetWRefCon(WindowRef window, uintptr_t refCon);
uintptr_t GetWRefCon(WindowRef window);
void SetWindowKind(WindowRef window, int16_t kind);
int16_t GetWindowKind(WindowRef window);
OSStatus GetWindowClass(WindowRef window, WindowClass* windowClass);
OSStatus GetWindowAttributes(WindowRef window, WindowAttributes* attributes);

// Ports and geometry.
CGrafPtr GetWindowPort(WindowRef window);
WindowRef GetWindowFromPort(CGrafPtr port);
void SetPortWindowPort(WindowRef window);
// The region in global coordinates; false for a bad window or code.
OSStatus GetWindowRegion(WindowRef window, WindowRegionCode code, RgnHandle into);
OSStatus GetWindowBounds(WindowRef window, WindowRegionCode code, Rect* bounds);

// Updates. Rectangles and regions are in the window's local coordinates.
void InvalWindowRect(WindowRef window, const Rect* r);
void InvalWindowRgn(WindowRef window, RgnHandle rgn);
void ValidWindowRect(WindowRef window, const Rect* r);
void ValidWindowRgn(WindowRef window, RgnHandle rgn);
// Limits drawing to the update region and empties it; EndUpdate lifts the
// limit.
void BeginUpdate(WindowRef window);
void EndUpdate(WindowRef window);
// The grow box at the content's bottom-right corner with the scroll bar
// lines, in the window's port.
void DrawGrowIcon(WindowRef window);

// Services that keep things per window (controls, dialogs) hear of a
// window's disposal first, while it is still whole. Adding a hook twice
// keeps one.
void AddWindowDisposeHook(void (*hook)(WindowRef window));

// Disposes of every window and forgets the state (tests).
void ResetWindowManager();

}  // namespace platform
