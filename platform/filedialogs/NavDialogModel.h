// What a file dialog holds and does, apart from how it is drawn: the
// folder it stands in, the items its filters let through, the type pop-up,
// the save name, the extra buttons and the answer. The dialog window and
// headless answers both act through these calls.
#pragma once

#include <new>
#include <string>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/filedialogs/NavServices.h"

namespace platform {

struct NavItem {
    std::string name;
    std::string path;
    bool isFolder = false;
    FInfo finderInfo;
};

struct NavDialogObject {
    enum class Kind : uint8_t { GetFile, PutFile, ChooseFolder };
    Kind kind = Kind::GetFile;
    NavDialogCreationOptions options;
    std::vector<OSType> types;  // empty: every type
    NavEventUPP eventProc = nullptr;
    NavObjectFilterUPP filterProc = nullptr;
    void* userData = nullptr;
    OSType fileType = 0, fileCreator = 0;

    std::string folder;      // where the dialog stands (a POSIX path)
    std::string selected;    // the item chosen in the list (a path), or empty
    std::vector<std::string> moreSelected;  // the others, when several files may be opened
    std::string editName;    // the save name
    int32_t popupIndex = 0;  // the pop-up entry in force (0-based)
    std::vector<ControlRecord*> controls;
    Rect customRect{};
    WindowRecord* window = nullptr;  // the dialog's window, when it has one
    void* ui = nullptr;              // its items (NavDialogWindow.cpp)

    bool running = false;
    bool ended = false;
    NavUserAction action = kNavUserActionNone;
    std::vector<std::string> chosen;  // open: files; save: the folder; choose: the folder
    bool replacing = false;
};

// Runs an entry's body: running out of memory answers memFullErr instead
// of leaving the call as an exception.
template <class F>
OSStatus NavGuarded(F&& body)
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

// The pop-up entries the dialog shows (none with kNavNoTypePopup).
std::vector<std::string> NavPopupEntries(NavDialogRef dialog);
// The user picks entry `index`: the callback hears of it, the list follows.
void NavChoosePopupEntry(NavDialogRef dialog, int32_t index);
// The folder's items the dialog shows, sorted by name; sidecars and hidden
// items never, files only when the type list and object filter let them.
std::vector<NavItem> NavListShown(NavDialogRef dialog);
bool NavIsShown(NavDialogRef dialog, const std::string& path);
// Moves the dialog to a folder (false when it is none).
bool NavOpenFolder(NavDialogRef dialog, const std::string& folder);
// The folders from the root down to where the dialog stands (the path pop-up).
std::vector<std::string> NavPathEntries(NavDialogRef dialog);
// Makes a folder where the dialog stands (an error when it cannot).
OSErr NavMakeFolder(NavDialogRef dialog, const std::string& name);
// Why a save dialog cannot save under its edit name where it stands.
enum class NavSaveRefusal : uint8_t {
    None,
    NoName,
    Colon,       // typed as ':', which a file name holds as '/': no name may
    Dot,         // a name beginning with '.' is hidden
    TooLong,     // more than the 255 bytes a name may hold
    Folder,      // a folder has the name
    FolderGone,  // the folder was removed or renamed while the dialog was open
};
NavSaveRefusal NavSaveRefused(NavDialogRef dialog);
// Ends the dialog. Accepting takes the selection (open), the save name
// (save: unless it is refused) or the selected or current folder (choose);
// false when there is nothing to accept.
bool NavAccept(NavDialogRef dialog);
void NavCancel(NavDialogRef dialog);
// Whether saving under the edit name would replace an existing file.
bool NavSaveWouldReplace(NavDialogRef dialog);
// Calls the event callback.
void NavCallBack(NavDialogRef dialog, NavEventCallbackMessage message, NavCBRec* record);

}  // namespace platform
