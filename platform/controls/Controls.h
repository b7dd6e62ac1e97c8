// The control manager: buttons, check boxes, radio buttons, scroll bars,
// pop-up buttons, progress bars, static text and user panes in a window,
// drawn with the theme, tracked with the mouse, and definitions of our own
// registered by id. A control's procID is its definition id x 16 plus a
// variation; rectangles are in the window's local coordinates.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/menus/Menus.h"
#include "platform/windows/Windows.h"

namespace platform {

struct ControlRecord;
using ControlRef = ControlRecord*;
using ControlHandle = ControlRecord*;
using ControlPartCode = int16_t;

// Part codes.
enum : ControlPartCode {
    kControlNoPart = 0,
    kControlLabelPart = 1,
    kControlMenuPart = 2,
    kControlButtonPart = 10,
    kControlCheckBoxPart = 11,
    kControlRadioButtonPart = 11,
    kControlUpButtonPart = 20,
    kControlDownButtonPart = 21,
    kControlPageUpPart = 22,
    kControlPageDownPart = 23,
    kControlIndicatorPart = 129,
    kControlDisabledPart = 254,
    kControlInactivePart = 255,
};

// Standard definitions by procID.
enum : int16_t {
    pushButProc = 0,
    checkBoxProc = 1,
    radioButProc = 2,
    useWFont = 8,
    scrollBarProc = 16,
    kControlProgressBarProc = 80,
    kControlUserPaneProc = 256,
    kControlStaticTextProc = 288,
    kControlScrollBarLiveProc = 386,
    kControlPopupButtonProc = 400,
    popupMenuProc = 1008,
};

// Messages to a definition.
enum : int16_t {
    drawCntl = 0,
    testCntl = 1,
    calcCRgns = 2,
    initCntl = 3,
    dispCntl = 4,
    posCntl = 5,
    thumbCntl = 6,
    dragCntl = 7,
    autoTrack = 8,
    calcCntlRgn = 10,
    calcThumbRgn = 11,
};

// A definition: variation, control, message and parameter (a point packed
// as v << 16 | h for the hit test, a region for the region messages).
using ControlDefProcPtr = int32_t (*)(int16_t varCode, ControlRef control, int16_t message, intptr_t param);
using ControlDefUPP = ControlDefProcPtr;
inline ControlDefUPP NewControlDefUPP(ControlDefProcPtr p) { return p; }
inline void DisposeControlDefUPP(ControlDefUPP) {}
struct ControlDefSpec {
    uint32_t defType = 0;  // kControlDefProcPtr
    ControlDefUPP defProc = nullptr;
};
constexpr uint32_t kControlDefProcPtr = 0;

// Flattening a control's creation parameters into a collection: called by
// NewControl for a definition registered with one, before the definition's
// initialisation, which gets the collection as its parameter. The reference
// is pointer-sized, as everywhere in this layer.
using ControlCNTLToCollectionProcPtr = OSStatus (*)(const Rect* bounds, int16_t value, Boolean visible, int16_t max,
                                                     int16_t min, int16_t procID, uintptr_t refCon,
                                                     ConstStr255Param title, void* collection);
using ControlCNTLToCollectionUPP = ControlCNTLToCollectionProcPtr;

using ControlActionProcPtr = void (*)(ControlRef control, ControlPartCode part);
using ControlActionUPP = ControlActionProcPtr;
inline ControlActionUPP NewControlActionUPP(ControlActionProcPtr p) { return p; }
inline void DisposeControlActionUPP(ControlActionUPP) {}
// TrackControl's action argument meaning "the control's own procedure".
inline ControlActionUPP const kControlUseOwnAction = reinterpret_cast<ControlActionUPP>(intptr_t(-1));

struct ControlID {
    OSType signature = 0;
    int32_t id = 0;
};

constexpr OSStatus errDataNotSupported = -30591;
constexpr OSStatus errUnknownControl = -30584;
constexpr OSStatus errItemNotControl = -30601;

// Definitions of our own under an id; registering an id again replaces it.
OSStatus RegisterControlDefinition(int16_t cdefID, const ControlDefSpec* defSpec,
                                   ControlCNTLToCollectionUPP conversionProc);

// Creation and disposal. Null when memory runs out or the definition is
// unknown.
ControlRef NewControl(WindowRef window, const Rect* bounds, ConstStr255Param title, Boolean visible, int16_t value,
                      int16_t min, int16_t max, int16_t procID, uintptr_t refCon);
// From 'CNTL' `id`: null with ResError when missing or damaged.
ControlRef GetNewControl(int16_t id, WindowRef window);
void DisposeControl(ControlRef control);
void KillControls(WindowRef window);

// Drawing.
void Draw1Control(ControlRef control);
void DrawControls(WindowRef window);
// The controls meeting the region (local coordinates).
void UpdateControls(WindowRef window, RgnHandle region);
void ShowControl(ControlRef control);
void HideControl(ControlRef control);
Boolean IsControlVisible(ControlRef control);
void SetControlVisibility(ControlRef control, Boolean visible, Boolean draw);
void MoveControl(ControlRef control, int16_t h, int16_t v);
void SizeControl(ControlRef control, int16_t width, int16_t height);
// 0 normal, a part code to show it pressed, 255 inactive.
void HiliteControl(ControlRef control, ControlPartCode hiliteState);
ControlPartCode GetControlHilite(ControlRef control);
OSErr ActivateControl(ControlRef control);
OSErr DeactivateControl(ControlRef control);
Boolean IsControlActive(ControlRef control);

// Values. Setting one keeps it within the minimum and maximum.
void SetControlValue(ControlRef control, int16_t value);
int16_t GetControlValue(ControlRef control);
void SetControlMinimum(ControlRef control, int16_t min);
int16_t GetControlMinimum(ControlRef control);
void SetControlMaximum(ControlRef control, int16_t max);
int16_t GetControlMaximum(ControlRef control);
void SetControl32BitValue(ControlRef control, int32_t value);
int32_t GetControl32BitValue(ControlRef control);
void SetControl32BitMinimum(ControlRef control, int32_t min);
int32_t GetControl32BitMinimum(ControlRef control);
void SetControl32BitMaximum(ControlRef control, int32_t max);
int32_t GetControl32BitMaximum(ControlRef control);
void SetControlViewSize(ControlRef control, int32_t viewSize);
int32_t GetControlViewSize(ControlRef control);

// Attributes.
void SetControlReference(ControlRef control, uintptr_t refCon);
uintptr_t GetControlReference(ControlRef control);
void SetControlTitle(ControlRef control, ConstStr255Param title);
void GetControlTitle(ControlRef control, Str255 title);
OSStatus SetControlID(ControlRef control, const ControlID* id);
OSStatus GetControlID(ControlRef control, ControlID* id);
Rect* GetControlBounds(ControlRef control, Rect* bounds);
// The region the definition gives for the whole control (structure or
// content meta part) or its thumb (the indicator part); the bounds when it
// gives none.
enum : ControlPartCode { kControlStructureMetaPart = -1, kControlContentMetaPart = -2 };
OSStatus GetControlRegion(ControlRef control, ControlPartCode part, RgnHandle region);
void SetControlBounds(ControlRef control, const Rect* bounds);
WindowRef GetControlOwner(ControlRef control);
void SetControlAction(ControlRef control, ControlActionUPP action);
ControlActionUPP GetControlAction(ControlRef control);
// The front control of a window; null when it has none.
ControlRef GetFirstControl(WindowRef window);

// Finding and tracking; points are local.
ControlPartCode FindControl(Point where, WindowRef window, ControlRef* control);
ControlPartCode TestControl(ControlRef control, Point where);
// Follows the mouse while the button is held; answers the part where it
// was released, 0 outside. Arrows and page parts call the action procedure
// on every tick held over the part; the thumb of a live scroll bar changes
// the value as it moves, a plain one drags an outline and sets the value on
// release.
ControlPartCode TrackControl(ControlRef control, Point where, ControlActionUPP action);
// TrackControl, after which a check box toggles, a radio button turns on
// and a pop-up takes its choice.
ControlPartCode HandleControlClick(ControlRef control, Point where, uint16_t modifiers, ControlActionUPP action);

// Data of the standard kinds, by tag.
constexpr OSType kControlEntireControl = 0;
constexpr OSType kControlStaticTextTextTag = 0x74657874;           // 'text'
constexpr OSType kControlProgressBarIndeterminateTag = 0x696E6465;  // 'inde'
constexpr OSType kControlUserPaneDrawProcTag = 0x64726177;         // 'draw'
constexpr OSType kControlUserPaneHitTestProcTag = 0x68697474;      // 'hitt'
constexpr OSType kControlUserPaneTrackingProcTag = 0x7472616B;     // 'trak'
constexpr OSType kControlUserPaneIdleProcTag = 0x69646C65;         // 'idle'
constexpr OSType kControlUserPaneActivateProcTag = 0x61637469;     // 'acti'
constexpr OSType kControlPopupButtonMenuHandleTag = 0x6D686E64;    // 'mhnd'
constexpr OSType kControlPopupButtonMenuIDTag = 0x6D6E6964;        // 'mnid'
constexpr OSType kControlPushButtonDefaultTag = 0x64666C74;        // 'dflt'
constexpr OSType kControlPushButtonCancelTag = 0x636E636C;         // 'cncl'

using ControlUserPaneDrawProcPtr = void (*)(ControlRef control, ControlPartCode part);
using ControlUserPaneHitTestProcPtr = ControlPartCode (*)(ControlRef control, Point where);
using ControlUserPaneTrackingProcPtr = ControlPartCode (*)(ControlRef control, Point start, ControlActionUPP action);
using ControlUserPaneIdleProcPtr = void (*)(ControlRef control);
using ControlUserPaneActivateProcPtr = void (*)(ControlRef control, Boolean activating);

OSErr SetControlData(ControlRef control, ControlPartCode part, OSType tag, Size size, const void* data);
OSErr GetControlData(ControlRef control, ControlPartCode part, OSType tag, Size bufferSize, void* buffer,
                     Size* actualSize);
// The pop-up button's menu.
MenuRef GetControlPopupMenuHandle(ControlRef control);
void SetControlPopupMenuHandle(ControlRef control, MenuRef menu);
// The rectangle the control would like (its title's width and the theme's
// height), and the offset of its text base line from the bottom.
OSErr GetBestControlRect(ControlRef control, Rect* best, int16_t* baseLineOffset);
// Lets user panes and indeterminate bars of the window move on.
void IdleControls(WindowRef window);

// Forgets the registered definitions (tests).
void ResetControlDefinitions();

}  // namespace platform
