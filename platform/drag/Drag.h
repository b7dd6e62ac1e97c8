// Drag and drop between windows: a drag carries items, each with flavours
// of data (given at once or promised and sent on demand); tracking follows
// the mouse over the windows, telling each window's tracking handlers as
// the drag enters, moves in and leaves, and hands the drop to the receive
// handlers of the window under the mouse. DragGrayRgn drags a grey outline
// of a region and answers how far it moved.
//
// Feedback is drawn in the screen's xor overlay and taken away when the
// drag ends. Tracking polls the input and also ends when the headless
// watchdog ends the run.
#pragma once

#include <cstdint>

#include "platform/core/Errors.h"
#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/events/Events.h"
#include "platform/windows/Windows.h"

namespace platform {

struct OpaqueDragRef;
using DragRef = OpaqueDragRef*;
using DragItemRef = uint32_t;
using FlavorType = OSType;

using FlavorFlags = uint32_t;
enum : FlavorFlags {
    flavorSenderOnly = 0x0001,
    flavorSenderTranslated = 0x0002,
    flavorNotSaved = 0x0004,
    flavorSystemTranslated = 0x0100,
    flavorDataPromised = 0x0200,
};

using DragActions = uint32_t;
enum : DragActions {
    kDragActionNothing = 0,
    kDragActionCopy = 1,
    kDragActionAlias = 2,
    kDragActionGeneric = 4,
    kDragActionPrivate = 8,
    kDragActionMove = 16,
    kDragActionDelete = 32,
    kDragActionAll = 0xFFFFFFFF,
};

using DragAttributes = uint32_t;
enum : DragAttributes {
    kDragHasLeftSenderWindow = 1,
    kDragInsideSenderApplication = 2,
    kDragInsideSenderWindow = 4,
};

using DragTrackingMessage = int16_t;
enum : DragTrackingMessage {
    kDragTrackingEnterHandler = 1,
    kDragTrackingEnterWindow = 2,
    kDragTrackingInWindow = 3,
    kDragTrackingLeaveWindow = 4,
    kDragTrackingLeaveHandler = 5,
};

constexpr OSErr badDragRefErr = -1850;
constexpr OSErr badDragItemErr = -1851;
constexpr OSErr badDragFlavorErr = -1852;
constexpr OSErr duplicateFlavorErr = -1853;
constexpr OSErr cantGetFlavorErr = -1854;
constexpr OSErr duplicateHandlerErr = -1855;
constexpr OSErr handlerNotFoundErr = -1856;
constexpr OSErr dragNotAcceptedErr = -1857;
// userCanceledErr (core/Errors.h) ends a drag dropped nowhere.

using DragTrackingHandlerUPP = OSErr (*)(DragTrackingMessage message, WindowRef window, void* refCon, DragRef drag);
using DragReceiveHandlerUPP = OSErr (*)(WindowRef window, void* refCon, DragRef drag);
// Called when a promised flavour is read: supplies it with
// SetDragItemFlavorData.
using DragSendDataUPP = OSErr (*)(FlavorType type, void* refCon, DragItemRef item, DragRef drag);
using DragGrayRgnUPP = void (*)();

OSErr NewDrag(DragRef* drag);
OSErr DisposeDrag(DragRef drag);
// Null data promises the flavour (flavorDataPromised); items are made by
// their first flavour.
OSErr AddDragItemFlavor(DragRef drag, DragItemRef item, FlavorType type, const void* data, Size size, FlavorFlags flags);
OSErr SetDragItemFlavorData(DragRef drag, DragItemRef item, FlavorType type, const void* data, Size size,
                            uint32_t offset);
OSErr SetDragSendProc(DragRef drag, DragSendDataUPP proc, void* refCon);
OSErr CountDragItems(DragRef drag, uint16_t* count);
OSErr GetDragItemReferenceNumber(DragRef drag, uint16_t index, DragItemRef* item);
OSErr CountDragItemFlavors(DragRef drag, DragItemRef item, uint16_t* count);
OSErr GetFlavorType(DragRef drag, DragItemRef item, uint16_t index, FlavorType* type);
OSErr GetFlavorFlags(DragRef drag, DragItemRef item, FlavorType type, FlavorFlags* flags);
OSErr GetFlavorDataSize(DragRef drag, DragItemRef item, FlavorType type, Size* size);
// *size in: room; out: bytes given. A promised flavour is asked of the send
// procedure first (cantGetFlavorErr without one or when it sends nothing).
OSErr GetFlavorData(DragRef drag, DragItemRef item, FlavorType type, void* data, Size* size, uint32_t offset);
OSErr SetDragAllowableActions(DragRef drag, DragActions actions, Boolean isLocal);
OSErr GetDragAllowableActions(DragRef drag, DragActions* actions);

// Handlers for one window, or (null window) for every window.
OSErr InstallTrackingHandler(DragTrackingHandlerUPP handler, WindowRef window, void* refCon);
OSErr RemoveTrackingHandler(DragTrackingHandlerUPP handler, WindowRef window);
OSErr InstallReceiveHandler(DragReceiveHandlerUPP handler, WindowRef window, void* refCon);
OSErr RemoveReceiveHandler(DragReceiveHandlerUPP handler, WindowRef window);

// Follows the mouse from the press in `event`, with the outline of
// `dragRegion` (global). noErr when a window's receive handler took the
// drop; userCanceledErr when dropped where no window is; the handler's
// error (or dragNotAcceptedErr when the window has none) otherwise.
OSErr TrackDrag(DragRef drag, const EventRecord* event, RgnHandle dragRegion);
// The hilite of a drop target: a frame of the region (in the current
// port's coordinates) inside or outside it.
OSErr ShowDragHilite(DragRef drag, RgnHandle hiliteFrame, Boolean inside);
OSErr HideDragHilite(DragRef drag);
OSErr GetDragMouse(DragRef drag, Point* mouse, Point* globalPinnedMouse);
OSErr GetDragModifiers(DragRef drag, int16_t* modifiers, int16_t* mouseDownModifiers, int16_t* mouseUpModifiers);
OSErr GetDragAttributes(DragRef drag, DragAttributes* attributes);

enum : int16_t { noConstraint = 0, hAxisOnly = 1, vAxisOnly = 2 };
constexpr int32_t kDragGrayRgnOutside = int32_t(0x80008000);
// Drags a grey outline of `region` (current port coordinates) from
// `start`: the mouse is pinned to `limit`, the move kept to the axis, and
// `action` called at each step. Answers (dv << 16) | dh, or 0x80008000 when
// released outside `slop`.
int32_t DragGrayRgn(RgnHandle region, Point start, const Rect* limit, const Rect* slop, int16_t axis,
                    DragGrayRgnUPP action);

// Forgets handlers and drags (tests).
void ResetDragManager();

}  // namespace platform
