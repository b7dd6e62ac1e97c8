#include "platform/filedialogs/NavServices.h"

#include <cstddef>
#include <map>
#include <memory>
#include <new>

#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "platform/controls/Controls.h"
#include "platform/core/Clock.h"
#include "platform/drawing/Ports.h"
#include "platform/events/Backend.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/events/Modals.h"
#include "platform/events/InputState.h"
#include "platform/filedialogs/NavDialogModel.h"
#include "platform/filedialogs/NavFolderMemory.h"
#include "platform/filedialogs/NavDialogWindow.h"
#include "platform/files/FileSpec.h"
#include "platform/files/LaunchServices.h"
#include "platform/files/SpecialFolders.h"
#include "platform/windows/Windows.h"

namespace platform {

namespace {

std::string ParentOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new dialog, handed to `*dialog` once `fill` made it whole: memory
// running out on the way leaves none (and no dialog to dispose of).
template <class Fill>
OSStatus Create(NavDialogObject::Kind kind, const NavDialogCreationOptions* options, NavEventUPP eventProc,
                NavObjectFilterUPP filterProc, void* userData, NavDialogRef* dialog, Fill fill)
{
    if (!dialog)
        return paramErr;
    *dialog = nullptr;
    return NavGuarded([&]() -> OSStatus {
        std::unique_ptr<NavDialogObject> d(new (std::nothrow) NavDialogObject);
        if (!d)
            return memFullErr;
        d->kind = kind;
        if (options)
            d->options = *options;
        else
            NavGetDefaultDialogCreationOptions(&d->options);
        d->eventProc = eventProc;
        d->filterProc = filterProc;
        d->userData = userData;
        d->editName = d->options.saveFileName;
        // The folder last used under the preference key, else the documents.
        const std::string remembered = d->options.preferenceKey ? NavRememberedFolder(d->options.preferenceKey) : "";
        if (remembered.empty() || !NavOpenFolder(d.get(), remembered)) {
            FSSpec documents;
            if (FindSpecialFolder(SpecialFolder::Documents, false, &documents) != noErr ||
                !NavOpenFolder(d.get(), documents.path))
                NavOpenFolder(d.get(), "/");
        }
        fill(*d);
        *dialog = d.release();
        return noErr;
    });
}

// Ends the run because the script asked for what cannot be.
void StopRun(NavDialogRef d, const std::string& message)
{
    if (Backend* backend = CurrentBackend())
        backend->Stop("headless run: " + message);
    NavCancel(d);
}

const char* KindName(NavDialogRef d)
{
    switch (d->kind) {
    case NavDialogObject::Kind::GetFile: return "open";
    case NavDialogObject::Kind::PutFile: return "save";
    case NavDialogObject::Kind::ChooseFolder: return "choose-folder";
    }
    return "file";
}

void AnswerWithPath(NavDialogRef d, const std::string& raw)
{
    FSRef ref;
    std::string path = raw;
    bool isFolder = false;
    const bool exists = FSpExists(FSSpec{raw}, &isFolder);
    if (exists && FSpMakeFSRef(FSSpec{raw}, &ref) == noErr)
        path = ref.path;
    // A package is opened as one file when the dialog supports packages.
    LSItemInfoRecord item;
    if (isFolder && d->kind == NavDialogObject::Kind::GetFile && (d->options.optionFlags & kNavSupportPackages) &&
        LSCopyItemInfoForRef(&ref, kLSRequestBasicFlagsOnly, &item) == noErr && (item.flags & kLSItemInfoIsPackage))
        isFolder = false;
    const std::string folder = ParentOf(path);
    switch (d->kind) {
    case NavDialogObject::Kind::GetFile:
    case NavDialogObject::Kind::ChooseFolder: {
        const bool wantFolder = d->kind == NavDialogObject::Kind::ChooseFolder;
        if (!exists || isFolder != wantFolder || !NavOpenFolder(d, folder) || !NavIsShown(d, path)) {
            StopRun(d, std::string("the ") + KindName(d) + " dialog does not show '" + raw +
                           "' (missing, of the wrong kind or hidden by its filters)");
            return;
        }
        d->selected = path;
        NavAccept(d);
        return;
    }
    case NavDialogObject::Kind::PutFile: {
        if (!folder.empty() && NavOpenFolder(d, folder)) {
            d->editName = path.substr(folder.size() + (folder == "/" ? 0 : 1));
            if (NavAccept(d))
                return;
        }
        StopRun(d, "the save dialog cannot save as '" + raw + "'");
        return;
    }
    }
}

// Several files of one folder, opened together.
void AnswerWithPaths(NavDialogRef d, const std::vector<std::string>& raws)
{
    std::vector<std::string> paths;
    for (const std::string& raw : raws) {
        FSRef ref;
        bool isFolder = false;
        if (!FSpExists(FSSpec{raw}, &isFolder) || isFolder || FSpMakeFSRef(FSSpec{raw}, &ref) != noErr) {
            StopRun(d, "the open dialog has no file '" + raw + "'");
            return;
        }
        paths.push_back(ref.path);
    }
    if (d->kind != NavDialogObject::Kind::GetFile ||
        (paths.size() > 1 && !(d->options.optionFlags & kNavAllowMultipleFiles))) {
        StopRun(d, std::string("the ") + KindName(d) + " dialog does not open several files at once");
        return;
    }
    const std::string folder = ParentOf(paths.front());
    if (!NavOpenFolder(d, folder)) {
        StopRun(d, "the open dialog cannot show '" + folder + "'");
        return;
    }
    for (const std::string& path : paths)
        if (ParentOf(path) != d->folder || !NavIsShown(d, path)) {
            StopRun(d, "the open dialog does not show '" + path + "' beside the others");
            return;
        }
    d->selected = paths.front();
    d->moreSelected.assign(paths.begin() + 1, paths.end());
    NavAccept(d);
}

void ApplyAnswer(NavDialogRef d, const FileDialogAnswer& answer)
{
    switch (answer.kind) {
    case FileDialogAnswer::Kind::Paths: AnswerWithPaths(d, answer.paths); return;
    case FileDialogAnswer::Kind::Popup: {
        const size_t count = NavPopupEntries(d).size();
        if (answer.button < 1 || size_t(answer.button) > count) {
            StopRun(d, "'answer popup " + std::to_string(answer.button) + "' but the " + KindName(d) +
                           " dialog's type pop-up has " + std::to_string(count) + " entries");
            return;
        }
        NavChoosePopupEntry(d, int32_t(answer.button - 1));
        return;  // the dialog goes on, for the next answer
    }
    case FileDialogAnswer::Kind::Cancel: NavCancel(d); return;
    case FileDialogAnswer::Kind::Choose:
        if (!NavAccept(d))
            StopRun(d, std::string("the ") + KindName(d) + " dialog has nothing to choose");
        return;
    case FileDialogAnswer::Kind::Path: AnswerWithPath(d, answer.path); return;
    case FileDialogAnswer::Kind::Button:
        if (answer.button < 1 || size_t(answer.button) > d->controls.size()) {
            StopRun(d, "'answer button " + std::to_string(answer.button) + "' but the " + KindName(d) +
                           " dialog has " + std::to_string(d->controls.size()) + " extra buttons");
            return;
        }
        // The extra buttons are the caller's: it learns of the click through
        // its event callback. On the screen the button is clicked as a user
        // would; without a window the callback hears of it directly.
        {
            ControlRecord* button = d->controls[size_t(answer.button - 1)];
            Rect box{};
            GetControlBounds(button, &box);  // empty for a control that is none
            if (d->window && box.right > box.left && box.bottom > box.top) {
                GrafPtr saved;
                GetPort(&saved);
                SetPortWindowPort(d->window);
                Point where{int16_t((box.top + box.bottom) / 2), int16_t((box.left + box.right) / 2)};
                LocalToGlobal(&where);
                SetPort(saved);
                InputMouseMoved(where);
                InputButton(true, where, 0);
                InputButton(false, where, 0);
                return;
            }
            EventRecord event{};
            event.what = mouseDown;
            event.when = TickCount();
            NavCBRec rec;
            rec.eventData.event = &event;
            rec.eventData.param = button;
            NavCallBack(d, kNavCBEvent, &rec);
        }
        if (!d->ended)
            NavCancel(d);
        return;
    }
}

}  // namespace

OSStatus NavGetDefaultDialogCreationOptions(NavDialogCreationOptions* options)
{
    if (!options)
        return paramErr;
    *options = NavDialogCreationOptions{};
    options->optionFlags = kNavDontAddTranslateItems | kNavAllowStationery | kNavAllowPreviews | kNavAllowMultipleFiles;
    return noErr;
}

OSStatus NavCreateGetFileDialog(const NavDialogCreationOptions* options, NavTypeListHandle typeList,
                                NavEventUPP eventProc, NavPreviewUPP, NavObjectFilterUPP filterProc, void* userData,
                                NavDialogRef* dialog)
{
    return Create(NavDialogObject::Kind::GetFile, options, eventProc, filterProc, userData, dialog,
                  [&](NavDialogObject& d) {
                      if (!typeList || !*typeList || GetHandleSize(reinterpret_cast<Handle>(typeList)) < 8)
                          return;
                      const NavTypeList* list = *typeList;
                      const Size room = (GetHandleSize(reinterpret_cast<Handle>(typeList)) -
                                         Size(offsetof(NavTypeList, osType))) /
                                        Size(sizeof(OSType));
                      for (int16_t i = 0; i < list->osTypeCount && i < room; ++i)
                          d.types.push_back(list->osType[i]);
                  });
}

OSStatus NavCreatePutFileDialog(const NavDialogCreationOptions* options, OSType fileType, OSType fileCreator,
                                NavEventUPP eventProc, void* userData, NavDialogRef* dialog)
{
    return Create(NavDialogObject::Kind::PutFile, options, eventProc, nullptr, userData, dialog,
                  [&](NavDialogObject& d) {
                      d.fileType = fileType;
                      d.fileCreator = fileCreator;
                  });
}

OSStatus NavCreateChooseFolderDialog(const NavDialogCreationOptions* options, NavEventUPP eventProc,
                                     NavObjectFilterUPP filterProc, void* userData, NavDialogRef* dialog)
{
    return Create(NavDialogObject::Kind::ChooseFolder, options, eventProc, filterProc, userData, dialog,
                  [](NavDialogObject&) {});
}

OSStatus NavDialogRun(NavDialogRef d)
{
    return NavGuarded([&]() -> OSStatus {
        if (!d)
            return paramErr;
        if (d->running || d->ended)
            return kNavWrongDialogStateErr;
        d->running = true;
        // The window exists (hidden) before the caller hears of the dialog, so
        // that it can add its controls; a run without input has none.
        const bool drawn = CurrentBackend() != nullptr && NavOpenWindow(d);
        NavCBRec customize;
        NavCallBack(d, kNavCBCustomize, &customize);
        if (customize.customRect.right > customize.customRect.left && customize.customRect.bottom > customize.customRect.top)
            d->customRect = customize.customRect;
        NavCallBack(d, kNavCBStart, nullptr);
        if (drawn) {
            NavRefreshWindow(d);
            NavShowWindow(d);
        }
        if (d->customRect.right > d->customRect.left)
            NavCallBack(d, kNavCBAdjustRect, nullptr);

        // Until the user acts: a script's answer, else events for the dialog.
        ModalScope modal(d->kind == NavDialogObject::Kind::PutFile       ? "save file dialog"
                         : d->kind == NavDialogObject::Kind::ChooseFolder ? "choose folder dialog"
                                                                           : "open file dialog");
        while (!d->ended) {
            FileDialogAnswer answer;
            if (TakeFileDialogAnswer(&answer)) {
                ApplyAnswer(d, answer);
                continue;
            }
            if (ModalMustCancel()) {
                NavCancel(d);
                break;
            }
            EventRecord event;
            if (WaitNextEvent(uint16_t(everyEvent & ~highLevelEventMask), &event, 30, nullptr)) {
                NavCBRec rec;
                rec.eventData.event = &event;
                NavCallBack(d, kNavCBEvent, &rec);
                if (drawn && !d->ended)
                    NavWindowEvent(d, &event);
            }
        }
        NavCallBack(d, kNavCBTerminate, nullptr);
        if (drawn)
            NavCloseWindow(d);
        if (d->options.preferenceKey != 0)
            NavRememberFolder(d->options.preferenceKey, d->folder);
        d->running = false;
        return noErr;
    });
}

NavUserAction NavDialogGetUserAction(NavDialogRef d) { return d ? d->action : kNavUserActionNone; }

WindowRecord* NavDialogGetWindow(NavDialogRef d) { return d ? d->window : nullptr; }

OSStatus NavDialogGetReply(NavDialogRef d, NavReplyRecord* reply)
{
    return NavGuarded([&]() -> OSStatus {
        if (!d || !reply)
            return paramErr;
        *reply = NavReplyRecord{};
        if (!d->ended)
            return kNavWrongDialogStateErr;
        // A cancelled dialog's reply holds nothing to dispose of.
        const bool valid = d->action == kNavUserActionOpen || d->action == kNavUserActionSaveAs ||
                           d->action == kNavUserActionChoose;
        if (!valid)
            return userCanceledErr;
        if (OSErr err = AECreateList(nullptr, 0, false, &reply->selection))
            return err;
        for (const std::string& path : d->chosen)
            if (OSErr err = AEPutPtr(&reply->selection, 0, typeFSRef, path.data(), Size(path.size()))) {
                AEDisposeDesc(&reply->selection);
                return err;
            }
        reply->validRecord = true;
        reply->replacing = d->replacing;
        // A stationery pad opens as a new document made from it.
        FInfo first;
        if (d->kind == NavDialogObject::Kind::GetFile && !d->chosen.empty() &&
            FSpGetFInfo(FSSpec{d->chosen.front()}, &first) == noErr)
            reply->isStationery = (first.fdFlags & kIsStationery) != 0;
        if (d->kind == NavDialogObject::Kind::PutFile) {
            reply->saveFileName = d->editName;
            reply->fileType = d->fileType;
            reply->fileCreator = d->fileCreator;
        }
        return noErr;
    });
}

OSStatus NavDisposeReply(NavReplyRecord* reply)
{
    if (!reply)
        return paramErr;
    AEDisposeDesc(&reply->selection);
    *reply = NavReplyRecord{};
    return noErr;
}

void NavDialogDispose(NavDialogRef d)
{
    if (d)
        NavCloseWindow(d);
    delete d;
}

OSStatus NavCustomControl(NavDialogRef d, NavCustomControlMessage selector, void* parms)
{
    return NavGuarded([&]() -> OSStatus {
        if (!d)
            return paramErr;
        switch (selector) {
        case kNavCtlSetLocation: {
            auto* desc = static_cast<AEDesc*>(parms);
            if (!desc)
                return paramErr;
            std::string path(size_t(AEGetDescDataSize(desc)), '\0');
            AEGetDescData(desc, path.data(), Size(path.size()));
            bool isFolder = false;
            if (!FSpExists(FSSpec{path}, &isFolder))
                return kNavCustomControlMessageFailedErr;
            if (isFolder)
                return NavOpenFolder(d, path) ? noErr : kNavCustomControlMessageFailedErr;
            if (!NavOpenFolder(d, ParentOf(path)))
                return kNavCustomControlMessageFailedErr;
            FSRef ref;
            if (FSpMakeFSRef(FSSpec{path}, &ref) == noErr && NavIsShown(d, ref.path))
                d->selected = ref.path;
            return noErr;
        }
        case kNavCtlGetLocation:
            if (!parms)
                return paramErr;
            return AECreateDesc(typeFSRef, d->folder.data(), Size(d->folder.size()), static_cast<AEDesc*>(parms));
        case kNavCtlAddControl:
            if (!parms)
                return paramErr;
            d->controls.push_back(static_cast<ControlRecord*>(parms));
            return noErr;
        case kNavCtlSelectCustomType: {
            auto* itemSpec = static_cast<NavMenuItemSpec*>(parms);
            std::vector<std::string> entries = NavPopupEntries(d);
            if (!itemSpec || itemSpec->menuType >= entries.size())
                return kNavCustomControlMessageFailedErr;
            d->popupIndex = int32_t(itemSpec->menuType);
            return noErr;
        }
        case kNavCtlNewFolder: {
            const char* name = static_cast<const char*>(parms);
            return name ? NavMakeFolder(d, name) : paramErr;
        }
        case kNavCtlGetEditFileName:
            if (!parms)
                return paramErr;
            *static_cast<std::string*>(parms) = d->editName;
            return noErr;
        case kNavCtlSetEditFileName:
            if (!parms || d->kind != NavDialogObject::Kind::PutFile)
                return paramErr;
            d->editName = static_cast<const char*>(parms);
            return noErr;
        case kNavCtlGotoParent: return NavOpenFolder(d, ParentOf(d->folder)) ? noErr : kNavCustomControlMessageFailedErr;
        case kNavCtlAccept: return NavAccept(d) ? noErr : kNavCustomControlMessageFailedErr;
        case kNavCtlCancel:
        case kNavCtlTerminate: NavCancel(d); return noErr;
        default: return kNavInvalidCustomControlMessageErr;
        }
    });
}

OSStatus NavCompleteSave(NavReplyRecord* reply, uint32_t)
{
    return NavGuarded([&]() -> OSStatus {
        if (!reply || !reply->validRecord)
            return paramErr;
        if (reply->fileType == 0 && reply->fileCreator == 0)
            return noErr;
        FSRef folder;
        if (AEGetNthPtr(&reply->selection, 1, typeFSRef, nullptr, nullptr, &folder, Size(sizeof folder), nullptr) != noErr)
            return paramErr;
        FSSpec file;
        if (OSErr err = FSMakeFSSpec(FSSpec{folder.path}, reply->saveFileName, &file))
            return err;
        FInfo info;
        if (OSErr err = FSpGetFInfo(file, &info))
            return err;
        if (info.fdType == reply->fileType && info.fdCreator == reply->fileCreator)
            return noErr;
        info.fdType = reply->fileType;
        info.fdCreator = reply->fileCreator;
        return FSpSetFInfo(file, info);
    });
}

void ResetNavPreferences() { NavForgetFolders(); }

}  // namespace platform
