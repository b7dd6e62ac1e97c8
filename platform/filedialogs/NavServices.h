// File dialogs: open, save and choose-folder dialogs with the callers'
// type lists, object filters and event callbacks.
//
// Every dialog runs to its end inside NavDialogRun: when it returns the
// user has acted and NavDialogGetUserAction says how. In headless runs a
// queued script answer ("answer PATH", "answer cancel", "answer button N")
// answers the next dialog; a path the dialog's filters would hide stops the
// run with a message.
#pragma once

#include <string>
#include <vector>

#include "platform/appleevents/AppleEvents.h"
#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/events/Events.h"
#include "platform/files/FileTypes.h"

namespace platform {

struct WindowRecord;
struct ControlRecord;
struct NavDialogObject;
using NavDialogRef = NavDialogObject*;

// Option flags.
using NavDialogOptionFlags = uint32_t;
constexpr NavDialogOptionFlags kNavNoTypePopup = 0x00000001;
constexpr NavDialogOptionFlags kNavDontAutoTranslate = 0x00000002;
constexpr NavDialogOptionFlags kNavDontAddTranslateItems = 0x00000004;
constexpr NavDialogOptionFlags kNavAllFilesInPopup = 0x00000010;
constexpr NavDialogOptionFlags kNavAllowStationery = 0x00000020;
constexpr NavDialogOptionFlags kNavAllowPreviews = 0x00000040;
constexpr NavDialogOptionFlags kNavAllowMultipleFiles = 0x00000080;
constexpr NavDialogOptionFlags kNavAllowInvisibleFiles = 0x00000100;
constexpr NavDialogOptionFlags kNavDontResolveAliases = 0x00000200;
constexpr NavDialogOptionFlags kNavSelectDefaultLocation = 0x00000400;
constexpr NavDialogOptionFlags kNavSelectAllReadableItem = 0x00000800;
constexpr NavDialogOptionFlags kNavSupportPackages = 0x00001000;
constexpr NavDialogOptionFlags kNavAllowOpenPackages = 0x00002000;
constexpr NavDialogOptionFlags kNavDontAddRecents = 0x00004000;
constexpr NavDialogOptionFlags kNavDontUseCustomFrame = 0x00008000;
constexpr NavDialogOptionFlags kNavDontConfirmReplacement = 0x00010000;

using WindowModality = uint32_t;
constexpr WindowModality kWindowModalityNone = 0;
constexpr WindowModality kWindowModalitySystemModal = 1;
constexpr WindowModality kWindowModalityAppModal = 2;
constexpr WindowModality kWindowModalityWindowModal = 3;

struct NavDialogCreationOptions {
    uint16_t version = 0;
    NavDialogOptionFlags optionFlags = 0;
    Point location{-1, -1};  // global top-left; (-1, -1): centred
    std::string clientName;
    std::string windowTitle;
    std::string actionButtonLabel;
    std::string cancelButtonLabel;
    std::string saveFileName;
    std::string message;
    uint32_t preferenceKey = 0;
    std::vector<std::string> popupExtension;  // the type pop-up's entries
    WindowModality modality = kWindowModalityAppModal;
    WindowRecord* parentWindow = nullptr;
};

// Files of these types are shown (all when the count is 0).
struct NavTypeList {
    OSType componentSignature;
    int16_t reserved;
    int16_t osTypeCount;
    OSType osType[1];
};
using NavTypeListPtr = NavTypeList*;
using NavTypeListHandle = NavTypeList**;

// Callbacks.
using NavEventCallbackMessage = int32_t;
constexpr NavEventCallbackMessage kNavCBEvent = 0;
constexpr NavEventCallbackMessage kNavCBCustomize = 1;
constexpr NavEventCallbackMessage kNavCBStart = 2;
constexpr NavEventCallbackMessage kNavCBTerminate = 3;
constexpr NavEventCallbackMessage kNavCBAdjustRect = 4;
constexpr NavEventCallbackMessage kNavCBNewLocation = 5;
constexpr NavEventCallbackMessage kNavCBSelectEntry = 7;
constexpr NavEventCallbackMessage kNavCBPopupMenuSelect = 8;
constexpr NavEventCallbackMessage kNavCBAccept = 9;
constexpr NavEventCallbackMessage kNavCBCancel = 10;
constexpr NavEventCallbackMessage kNavCBUserAction = 12;

struct NavMenuItemSpec {
    uint16_t version = 0;
    OSType menuCreator = 0;
    OSType menuType = 0;
    Str255 menuItemName{};
};

using NavUserAction = uint32_t;
constexpr NavUserAction kNavUserActionNone = 0;
constexpr NavUserAction kNavUserActionCancel = 1;
constexpr NavUserAction kNavUserActionOpen = 2;
constexpr NavUserAction kNavUserActionSaveAs = 3;
constexpr NavUserAction kNavUserActionChoose = 4;
constexpr NavUserAction kNavUserActionNewFolder = 5;

struct NavCBRec {
    uint16_t version = 0;
    NavDialogRef context = nullptr;
    WindowRecord* window = nullptr;
    Rect customRect{};
    Rect previewRect{};
    struct {
        EventRecord* event = nullptr;  // kNavCBEvent
        void* param = nullptr;         // kNavCBPopupMenuSelect: the NavMenuItemSpec chosen
    } eventData;
    NavUserAction userAction = kNavUserActionNone;
};
using NavCBRecPtr = NavCBRec*;
using NavEventProcPtr = void (*)(NavEventCallbackMessage message, NavCBRecPtr parms, void* userData);
using NavEventUPP = NavEventProcPtr;
inline NavEventUPP NewNavEventUPP(NavEventProcPtr p) { return p; }
inline void DisposeNavEventUPP(NavEventUPP) {}

// What the object filter learns of an item.
struct NavFileOrFolderInfo {
    uint16_t version = 0;
    Boolean isFolder = false;
    Boolean visible = true;
    uint32_t creationDate = 0;
    uint32_t modificationDate = 0;
    FInfo finderInfo;  // files only
};
using NavFilterModes = int16_t;
constexpr NavFilterModes kNavFilteringBrowserList = 0;
using NavObjectFilterProcPtr = Boolean (*)(AEDesc* item, void* info, void* userData, NavFilterModes mode);
using NavObjectFilterUPP = NavObjectFilterProcPtr;
inline NavObjectFilterUPP NewNavObjectFilterUPP(NavObjectFilterProcPtr p) { return p; }
inline void DisposeNavObjectFilterUPP(NavObjectFilterUPP) {}
using NavPreviewUPP = void*;

// The answer. `selection` is a list of 'fsrf' items (paths); for a save,
// the folder, with the name in saveFileName.
struct NavReplyRecord {
    uint16_t version = 0;
    Boolean validRecord = false;
    Boolean replacing = false;
    Boolean isStationery = false;
    Boolean translationNeeded = false;
    AEDescList selection{};
    std::string saveFileName;
    // The saved file's Finder information, for NavCompleteSave.
    OSType fileType = 0;
    OSType fileCreator = 0;
};

// NavCustomControl selectors.
using NavCustomControlMessage = int32_t;
constexpr NavCustomControlMessage kNavCtlGetLocation = 7;
constexpr NavCustomControlMessage kNavCtlSetLocation = 8;       // param: an AEDesc* of a folder
constexpr NavCustomControlMessage kNavCtlNewFolder = 14;        // param: the name as a C string
constexpr NavCustomControlMessage kNavCtlCancel = 15;
constexpr NavCustomControlMessage kNavCtlAccept = 16;
constexpr NavCustomControlMessage kNavCtlAddControl = 18;       // param: the ControlRef
constexpr NavCustomControlMessage kNavCtlSelectCustomType = 21;  // param: a NavMenuItemSpec*
constexpr NavCustomControlMessage kNavCtlGetEditFileName = 23;  // param: a std::string*
constexpr NavCustomControlMessage kNavCtlSetEditFileName = 24;  // param: a C string
constexpr NavCustomControlMessage kNavCtlGotoParent = 27;
constexpr NavCustomControlMessage kNavCtlTerminate = 30;

// The type pop-up entries the dialog adds itself have this creator.
constexpr OSType kNavGenericSignature = 0x2A2A2A2A;  // '****'

// Results.
constexpr OSErr kNavWrongDialogStateErr = -5694;
constexpr OSErr kNavInvalidSystemConfigErr = -5696;
constexpr OSErr kNavInvalidCustomControlMessageErr = -5697;
constexpr OSErr kNavCustomControlMessageFailedErr = -5698;

OSStatus NavGetDefaultDialogCreationOptions(NavDialogCreationOptions* options);
OSStatus NavCreateGetFileDialog(const NavDialogCreationOptions* options, NavTypeListHandle typeList,
                                NavEventUPP eventProc, NavPreviewUPP previewProc, NavObjectFilterUPP filterProc,
                                void* userData, NavDialogRef* dialog);
// fileType and fileCreator are the Finder information the saved file will
// have (they do not filter what the dialog shows).
OSStatus NavCreatePutFileDialog(const NavDialogCreationOptions* options, OSType fileType, OSType fileCreator,
                                NavEventUPP eventProc, void* userData, NavDialogRef* dialog);
OSStatus NavCreateChooseFolderDialog(const NavDialogCreationOptions* options, NavEventUPP eventProc,
                                     NavObjectFilterUPP filterProc, void* userData, NavDialogRef* dialog);
OSStatus NavDialogRun(NavDialogRef dialog);
NavUserAction NavDialogGetUserAction(NavDialogRef dialog);
OSStatus NavDialogGetReply(NavDialogRef dialog, NavReplyRecord* reply);
OSStatus NavDisposeReply(NavReplyRecord* reply);
void NavDialogDispose(NavDialogRef dialog);
WindowRecord* NavDialogGetWindow(NavDialogRef dialog);
OSStatus NavCustomControl(NavDialogRef dialog, NavCustomControlMessage selector, void* parms);
// Sets the saved file's Finder information once it has been written.
OSStatus NavCompleteSave(NavReplyRecord* reply, uint32_t howToTranslate);

// Forgets the folders remembered under preference keys, in memory and in
// the preferences folder; for tests.
void ResetNavPreferences();

}  // namespace platform
