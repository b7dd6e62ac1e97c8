// The multilingual text editor's calls over the styled engine: objects
// holding UTF-16 text, in a window or without one (then they only measure
// and draw text boxes), with controls switched by tag, type attributes by
// tag, scroll bars drawn with the theme and tracked by the object, an undo
// stack with typing coalesced, and a change count.
//
// Offsets count UTF-16 units; offsets past the text clamp to its end.
// UTF-16 data comes by byte count: an odd count drops its last byte.
// Every call answers a result code and never throws.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/events/Events.h"
#include "platform/drag/Drag.h"
#include "platform/windows/Windows.h"

namespace platform {

struct OpaqueTXNObject;
using TXNObject = OpaqueTXNObject*;
using TXNFrameID = uint32_t;
using TXNOffset = uint32_t;
using TXNFrameOptions = uint32_t;
using TXNFrameType = uint32_t;
using TXNFileType = OSType;
using TXNDataType = OSType;
using TXNControlTag = FourCharCode;
using TXNTypeRunAttributes = FourCharCode;
using TXNObjectRefcon = void*;
using TextEncoding = uint32_t;
using UniChar = char16_t;
using UniCharCount = uint32_t;
using ItemCount = uint32_t;
using ByteCount = uint32_t;
using TXNPermanentTextEncodingType = uint32_t;

constexpr TXNOffset kTXNStartOffset = 0;
constexpr TXNOffset kTXNEndOffset = 0x7FFFFFFF;
constexpr TXNOffset kTXNUseCurrentSelection = 0xFFFFFFFF;

// Frame options.
enum : TXNFrameOptions {
    kTXNShowWindowMask = 1u << 1,
    kTXNWantHScrollBarMask = 1u << 2,
    kTXNWantVScrollBarMask = 1u << 3,
    kTXNReadOnlyMask = 1u << 5,
    kTXNNoKeyboardSyncMask = 1u << 6,
    kTXNNoSelectionMask = 1u << 7,
    kOutputTextInUnicodeEncodingMask = 1u << 9,
    kTXNDoNotInstallDragProcsMask = 1u << 10,
    kTXNAlwaysWrapAtViewEdgeMask = 1u << 11,
    kTXNDontDrawCaretWhenInactiveMask = 1u << 12,
    kTXNDontDrawSelectionWhenInactiveMask = 1u << 13,
    kTXNSingleLineOnlyMask = 1u << 14,
    kTXNDisableDragAndDropMask = 1u << 15,
    kTXNMonostyledTextMask = 1u << 17,
};
constexpr TXNFrameType kTXNTextEditStyleFrameType = 1;
constexpr TXNPermanentTextEncodingType kTXNSystemDefaultEncoding = 0;
constexpr TXNPermanentTextEncodingType kTXNMacOSEncoding = 1;
constexpr TXNPermanentTextEncodingType kTXNUnicodeEncoding = 2;

// Data types.
constexpr TXNDataType kTXNTextData = 0x54455854;     // 'TEXT'
constexpr TXNDataType kTXNUnicodeTextData = 0x75747874;  // 'utxt'

// Result codes.
constexpr OSStatus kTXNAlreadyInitializedErr = -22012;
constexpr OSStatus kTXNCopyNotAllowedInEchoModeErr = -22014;
constexpr OSStatus kTXNDataTypeNotAllowedErr = -22015;
constexpr OSStatus kTXNOutsideOfLineErr = -22017;
constexpr OSStatus kTXNOutsideOfFrameErr = -22018;
constexpr OSStatus kTXNInvalidFrameIDErr = -22002;
constexpr OSStatus kTXNAttributeTagInvalidForRunErr = -22009;
constexpr OSStatus kTXNNotInitializedErr = -22020;

// Controls.
constexpr TXNControlTag kTXNLineDirectionTag = 0x6C6E6472;     // 'lndr' 1: right to left
constexpr TXNControlTag kTXNIOPrivilegesTag = 0x696F7076;      // 'iopv' 1: read-only
constexpr TXNControlTag kTXNDrawSelectionWhenInactiveTag = 0x64736C6E;  // 'dsln'
constexpr TXNControlTag kTXNWordWrapStateTag = 0x77777273;     // 'wwrs' 0 wrap, 1 no wrap
constexpr TXNControlTag kTXNSelectionStateTag = 0x736C7374;    // 'slst' 1 selectable
constexpr TXNControlTag kTXNKeyboardSyncStateTag = 0x6B627379;  // 'kbsy'
constexpr TXNControlTag kTXNVisibilityTag = 0x76697362;        // 'visb'
constexpr TXNControlTag kTXNJustificationTag = 0x6A757374;     // 'just'
enum : uint32_t { kTXNFlushDefault = 0, kTXNFlushLeft = 1, kTXNFlushRight = 2, kTXNCenter = 4 };
union TXNControlData {
    uint32_t uValue;
    int32_t sValue;
};

// Type attributes.
constexpr TXNTypeRunAttributes kTXNQDFontNameAttribute = 0x666E746E;    // 'fntn' Str255 by pointer
constexpr TXNTypeRunAttributes kTXNQDFontFamilyIDAttribute = 0x666F6E74;  // 'font' family number
constexpr TXNTypeRunAttributes kTXNQDFontSizeAttribute = 0x73697A65;    // 'size' 2 bytes: points; 4: Fixed
constexpr TXNTypeRunAttributes kTXNQDFontStyleAttribute = 0x66616365;   // 'face'
constexpr TXNTypeRunAttributes kTXNQDFontColorAttribute = 0x6B6C6F72;   // 'klor' RGBColor by pointer
constexpr TXNTypeRunAttributes kTXNTextEncodingAttribute = 0x656E6364;  // 'encd'
union TXNAttributeData {
    void* dataPtr;
    uint32_t dataValue;
};
struct TXNTypeAttributes {
    TXNTypeRunAttributes tag;
    ByteCount size;
    TXNAttributeData data;
};
using TXNContinuousFlags = uint32_t;
enum : TXNContinuousFlags {
    kTXNFontContinuousMask = 1,
    kTXNSizeContinuousMask = 2,
    kTXNStyleContinuousMask = 4,
    kTXNColorContinuousMask = 8,
};

struct TXNBackground {
    uint32_t bgType;  // kTXNBackgroundTypeRGB
    RGBColor color;
};
constexpr uint32_t kTXNBackgroundTypeRGB = 1;

using TXNScrollBarState = uint32_t;
constexpr TXNScrollBarState kScrollBarsAlwaysActive = 1;
constexpr TXNScrollBarState kScrollBarsSyncWithFocus = 0;
using TXNScrollUnit = uint32_t;
enum : TXNScrollUnit { kTXNScrollUnitsInPixels = 0, kTXNScrollUnitsInLines = 1, kTXNScrollUnitsInViewRects = 2 };

using TXNActionKey = uint32_t;
enum : TXNActionKey {
    kTXNTypingAction = 0,
    kTXNCutAction = 1,
    kTXNPasteAction = 2,
    kTXNClearAction = 3,
    kTXNChangeStyleAction = 4,
    kTXNDragAction = 7,
    kTXNUndoLastAction = 1024,
};

struct TXNMacOSPreferredFontDescription {
    uint32_t fontID;
    Fixed pointSize;
    TextEncoding encoding;
    Style fontStyle;
};
using TXNInitOptions = uint32_t;

OSStatus TXNInitTextension(const TXNMacOSPreferredFontDescription* defaults, ItemCount count, TXNInitOptions options);
// `file` must be null: objects start empty. With a null window the object
// measures and draws boxes only.
OSStatus TXNNewObject(const void* file, WindowRef window, const Rect* frame, TXNFrameOptions options,
                      TXNFrameType frameType, TXNFileType fileType, TXNPermanentTextEncodingType encoding,
                      TXNObject* object, TXNFrameID* frameID, TXNObjectRefcon refcon);
void TXNDeleteObject(TXNObject object);

OSStatus TXNSetData(TXNObject object, TXNDataType type, const void* data, ByteCount size, TXNOffset start,
                    TXNOffset end);
// A new handle (the caller's) with the range as UTF-16 ('utxt') or Mac
// Roman ('TEXT'; characters Mac Roman lacks become '?').
OSStatus TXNGetDataEncoded(TXNObject object, TXNOffset start, TXNOffset end, Handle* data, TXNDataType type);
OSStatus TXNGetData(TXNObject object, TXNOffset start, TXNOffset end, Handle* data);
ByteCount TXNDataSize(TXNObject object);
uint32_t TXNGetChangeCount(TXNObject object);

OSStatus TXNSetSelection(TXNObject object, TXNOffset start, TXNOffset end);
void TXNGetSelection(TXNObject object, TXNOffset* start, TXNOffset* end);
void TXNShowSelection(TXNObject object, Boolean showEnd);

void TXNKeyDown(TXNObject object, const EventRecord* event);
void TXNClick(TXNObject object, const EventRecord* event);
// The I-beam over the text, the arrow elsewhere.
void TXNAdjustCursor(TXNObject object, RgnHandle cursorRegion);
void TXNFocus(TXNObject object, Boolean focused);
OSStatus TXNActivate(TXNObject object, TXNFrameID frameID, TXNScrollBarState state);
void TXNIdle(TXNObject object);
// Draws into the object's window (`port` null) or the given port.
void TXNDraw(TXNObject object, GrafPtr port);

OSStatus TXNCut(TXNObject object);
OSStatus TXNCopy(TXNObject object);
OSStatus TXNPaste(TXNObject object);
OSStatus TXNClear(TXNObject object);
void TXNUndo(TXNObject object);
void TXNRedo(TXNObject object);
Boolean TXNCanUndo(TXNObject object, TXNActionKey* action);
Boolean TXNCanRedo(TXNObject object, TXNActionKey* action);

OSStatus TXNSetTXNObjectControls(TXNObject object, Boolean clearAll, ItemCount count, const TXNControlTag tags[],
                                 const TXNControlData data[]);
OSStatus TXNGetTXNObjectControls(TXNObject object, ItemCount count, const TXNControlTag tags[], TXNControlData data[]);
OSStatus TXNEchoMode(TXNObject object, UniChar echoCharacter, TextEncoding encoding, Boolean on);
OSStatus TXNSetTypeAttributes(TXNObject object, ItemCount count, const TXNTypeAttributes attributes[],
                              TXNOffset start, TXNOffset end);
// Over the selection: the flags say which attributes hold throughout; the
// attributes get the values at the selection start.
OSStatus TXNGetContinuousTypeAttributes(TXNObject object, TXNContinuousFlags* flags, ItemCount count,
                                        TXNTypeAttributes attributes[]);
OSStatus TXNSetBackground(TXNObject object, const TXNBackground* background);

// Points are local to the object's window.
OSStatus TXNPointToOffset(TXNObject object, Point point, TXNOffset* offset);
OSStatus TXNOffsetToPoint(TXNObject object, TXNOffset offset, Point* point);
OSStatus TXNGetLineCount(TXNObject object, ItemCount* lines);
OSStatus TXNGetLineMetrics(TXNObject object, uint32_t line, Fixed* width, Fixed* height);
void TXNSetFrameBounds(TXNObject object, int32_t top, int32_t left, int32_t bottom, int32_t right, TXNFrameID frameID);
void TXNGetViewRect(TXNObject object, Rect* view);
struct TXNLongRect {
    int32_t top;
    int32_t left;
    int32_t bottom;
    int32_t right;
};
// The view (the frame less its scroll bars), the destination the text is
// laid out in (scrolled with it) and the bounds of the laid-out text; any
// pointer may be null.
OSStatus TXNGetRectBounds(TXNObject object, Rect* view, TXNLongRect* destination, TXNLongRect* text);
// A new frame and or destination: a destination wider than the view is
// kept until the frame is set again through TXNSetFrameBounds.
OSStatus TXNSetRectBounds(TXNObject object, const Rect* view, const TXNLongRect* destination, Boolean update);
OSStatus TXNScroll(TXNObject object, TXNScrollUnit vUnit, TXNScrollUnit hUnit, int32_t* vDelta, int32_t* hDelta);
void TXNRecalcTextLayout(TXNObject object);
// Inserts the drag's 'utxt' (else 'TEXT') at the drop point.
OSStatus TXNDragReceiver(TXNObject object, TXNFrameID frameID, WindowRef window, DragRef drag,
                         Boolean differentObjectSameWindow);

// Forgets the initialisation (tests).
void ResetMultilingualText();

}  // namespace platform
