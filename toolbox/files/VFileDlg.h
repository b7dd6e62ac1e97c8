// The open-file dialog: runs the platform's dialog with the dialog filter's
// texts, options, popup of file filters and extra buttons, and answers the
// chosen file.
#pragma once

#include <cstdint>

#include "platform/appleevents/AppleEvents.h"
#include "platform/filedialogs/NavServices.h"
#include "platform/files/FileTypes.h"
#include "toolbox/foundation/VArrayList.h"

class VFile;
class VFileDialogFilter;

// What this layer needs from the compatibility functions above it; start-up
// installs them. Without them no folder counts as a package.
struct FileDialogHooks {
    // A package folder's type and creator; false for anything else.
    bool (*getBundleInfo)(const platform::FSRef* bundle, platform::OSType* type, platform::OSType* creator) = nullptr;
};
void SetFileDialogHooks(const FileDialogHooks& hooks);

// One run of the dialog: what it was given and what it answered.
struct VNavReplyInfo {
    VFileDialogFilter* filter = nullptr;
    VArrayListPtrOf<VFile*>* files = nullptr;
    platform::AEDesc location{};  // 'null', or the start folder as 'fss '
    // The chosen item: stationery, package, Finder type and creator; the
    // popup entry's type and creator while the dialog runs.
    bool stationery = false;
    bool isPackage = false;
    platform::OSType fileType = 0;
    platform::OSType fileCreator = 0;
    // The extra buttons made at start.
    platform::ControlRecord* buttons[2] = {nullptr, nullptr};
};

// Less stack than this and the dialog does not open.
constexpr int32_t kGetFileDialogStack = 12000;
constexpr platform::OSType kCustomButtonSignature = 0x78546278;  // 'xTbx'
constexpr platform::OSType kPopupExtensionCreator = 0x6578746E;  // 'extn'

// A new file for the chosen item (the caller owns it), or null when there
// is not enough stack, no filter, the user cancelled or the platform
// failed. With a result list every chosen item is appended to it too. The
// extra button that ended the dialog is left in the filter.
VFile* MAC_RunGetFileDialog(VFileDialogFilter* filter, VArrayListPtrOf<VFile*>* files);

// Runs the dialog: the first chosen item in `chosen`; -50 without a
// filter, -128 when cancelled, or the platform's error.
platform::OSStatus xMAC_NavGetFile(VNavReplyInfo& info, platform::FSRef* chosen);
// The creation options for the filter; whether the object filter is needed.
platform::OSStatus xMAC_NavDialogOptionFromReplyInfo(const VNavReplyInfo& info,
                                                     platform::NavDialogCreationOptions* options,
                                                     bool* useObjectFilter);
void xMAC_NavEventFilter(platform::NavEventCallbackMessage message, platform::NavCBRecPtr parms, void* userData);
platform::Boolean xMAC_NavFileFilter(platform::AEDesc* item, void* info, void* userData,
                                     platform::NavFilterModes mode);
