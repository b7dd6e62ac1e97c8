#include "app/dialogs/DialogUtilities.h"

#include "platform/text/Utf8.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/appl/AppObjects.h"
#include "app/dialogs/Messages.h"
#include "platform/appleevents/AppleEvents.h"
#include "platform/controls/Controls.h"
#include "platform/core/Clock.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/MacNames.h"
#include "platform/drawing/Ports.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/Utf8.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace {

std::string gLastFolder;  // of the last document opened

ControlRef ItemControl(DialogRef dialog, int16_t item)
{
    ControlRef control = nullptr;
    if (!dialog || GetDialogItemAsControl(dialog, DialogItemIndex(item), &control) != noErr) return nullptr;
    return control;
}

}  // namespace

DialogRef MyGetNewDialog(int16_t id, void* storage, WindowRef behind)
{
    const int16_t saved = CurResFile();
    if (G_MainResFile > 0) UseResFile(G_MainResFile);
    DialogRef dialog = GetNewDialog(id, storage, behind);
    if (dialog) {
        Str255 title = {0};
        if (Handle h = GetResource(FourCC("STR "), -16096); h && *h && GetHandleSize(h) > 0) {
            const size_t length = std::min<size_t>(uint8_t((*h)[0]), size_t(GetHandleSize(h) - 1));
            title[0] = uint8_t(length);
            std::memcpy(title + 1, *h + 1, length);
        }
        SetWTitle(GetDialogWindow(dialog), title);
        SetPortWindowPort(GetDialogWindow(dialog));
    }
    UseResFile(saved);
    return dialog;
}

void MyDisposDialog(DialogRef dialog)
{
    if (dialog) DisposeDialog(dialog);
}

bool ServeUpdate(const EventRecord& event, WindowRef except)
{
    if (event.what != updateEvt) return false;
    auto w = reinterpret_cast<WindowRef>(event.message);
    if (!IsValidWindowPtr(w) || w == except || !IsWindowVisible(w)) return false;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    bool served = false;
    if (GetWindowKind(w) == 8) {
        SetPortWindowPort(w);
        BeginUpdate(w);
        if (TWindow* tw = GetTWindow(w)) tw->update(event);
        EndUpdate(w);
        served = true;
    } else if (DialogRef other = GetDialogFromWindow(w)) {
        SetPortWindowPort(w);
        Rect all;
        GetPortBounds(GetWindowPort(w), &all);
        InvalWindowRect(w, &all);
        BeginUpdate(w);
        DrawDialog(other);
        EndUpdate(w);
        served = true;
    }
    SetPort(saved);
    return served;
}

Boolean DefaultFilter(DialogRef dialog, EventRecord* event, DialogItemIndex* item)
{
    if (event->what == keyDown || event->what == autoKey) {
        const uint8_t ch = uint8_t(event->message & charCodeMask);
        if (ch != 3 && ch != 13) return false;
        ControlRef button = ItemControl(dialog, 1);
        if (button && GetControlHilite(button) != 255) {
            *item = 1;
            HiliteControl(button, 1);
            uint32_t end = 0;
            Delay(8, &end);
            HiliteControl(button, 0);
        }
        return true;
    }
    if (event->what == updateEvt) ServeUpdate(*event, GetDialogWindow(dialog));
    return false;
}

void MyModalDialog(ModalFilterUPP filter, int16_t* item)
{
    DialogItemIndex hit = 0;
    ModalDialog(filter ? filter : DefaultFilter, &hit);
    *item = hit;
}

void MyHandleUpdateEvent()
{
    // Only an update is taken: other input stays for the dialog's own loop.
    EventRecord event{};
    if (!WaitNextEvent(updateMask, &event, 1, nullptr)) return;
    if (event.what != updateEvt) return;
    auto w = reinterpret_cast<WindowRef>(event.message);
    if (IsValidWindowPtr(w) && GetWindowKind(w) == 8) ServeUpdate(event, nullptr);
}

void myEventProc(NavEventCallbackMessage message, NavCBRecPtr record, void*)
{
    if (message == kNavCBEvent && record && record->eventData.event && record->eventData.event->what == updateEvt)
        MyHandleUpdateEvent();
}

int16_t MacPutFile(const unsigned char* prompt, const unsigned char* defaultName, FSSpec* fileSpec)
{
    return MacPutFile(
        prompt,
        defaultName ? FileNameOf(std::string(reinterpret_cast<const char*>(defaultName + 1), defaultName[0])) : "",
        fileSpec);
}

int16_t MacPutFile(const unsigned char*, const std::string& defaultFileName, FSSpec* fileSpec)
{
    NavDialogCreationOptions options;
    if (NavGetDefaultDialogCreationOptions(&options) != noErr) return 233;
    options.optionFlags |= kNavNoTypePopup;
    options.saveFileName = defaultFileName;
    NavDialogRef dialog = nullptr;
    if (NavCreatePutFileDialog(&options, FourCC("TEXT"), FourCC("QzA6"), myEventProc, nullptr, &dialog) != noErr)
        return 233;
    int16_t result = 233;
    if (NavDialogRun(dialog) == noErr) {
        // The reply is disposed of whatever the answer: a cancelled one may
        // still hold its (empty) selection list.
        NavReplyRecord reply;
        const OSStatus err = NavDialogGetReply(dialog, &reply);
        FSSpec folder;
        AEKeyword keyword = 0;
        DescType type = 0;
        Size size = 0;
        if (err == noErr && reply.validRecord &&
            AEGetNthPtr(&reply.selection, 1, typeFSS, &keyword, &type, &folder, sizeof folder, &size) == noErr) {
            // Nothing of a file already there changes here: the save that
            // replaces it may yet be refused. The dialog keeps the user
            // from a folder removed while it was open; one removed since
            // is said, and nothing is saved.
            if (FSMakeFSSpec(folder, reply.saveFileName, fileSpec) == dirNFErr) {
                ErrMsg(dirNFErr);
            } else {
                // A link chosen stays a link: the file it names is saved over.
                if (bool link = false; FSpIsLink(*fileSpec, &link) == noErr && link)
                    FSpResolveLink(*fileSpec, fileSpec, nullptr);
                result = 0;
            }
        }
        NavDisposeReply(&reply);
    }
    NavDialogDispose(dialog);
    return result;
}

int16_t MacGetFile(FSSpec* fileSpec, NavTypeListHandle types, NavObjectFilterUPP filter, const unsigned char* prompt)
{
    NavDialogCreationOptions options;
    OSStatus err = NavGetDefaultDialogCreationOptions(&options);
    if (err != noErr) return int16_t(err);
    if (prompt) options.message = MacRomanToUtf8String(prompt + 1, prompt[0]);
    // One file: a choice of several would keep only the last.
    options.optionFlags = (options.optionFlags | kNavNoTypePopup | kNavSelectDefaultLocation) &
                          ~(kNavAllowPreviews | kNavAllowMultipleFiles);
    NavDialogRef dialog = nullptr;
    err = NavCreateGetFileDialog(&options, types, myEventProc, nullptr, filter, nullptr, &dialog);
    if (err != noErr) return int16_t(err);
    if (!gLastFolder.empty()) {
        AEDesc folder;
        if (AECreateDesc(typeChar, gLastFolder.data(), Size(gLastFolder.size()), &folder) == noErr) {
            NavCustomControl(dialog, kNavCtlSetLocation, &folder);
            AEDisposeDesc(&folder);
        }
    }
    err = NavDialogRun(dialog);
    if (err == noErr) {
        NavReplyRecord reply;
        err = NavDialogGetReply(dialog, &reply);
        if (err == noErr && !reply.validRecord) err = userCanceledErr;
        if (err == noErr) {
            FSRef ref;
            AEKeyword keyword = 0;
            DescType type = 0;
            Size size = 0;
            err = AEGetNthPtr(&reply.selection, 1, typeFSRef, &keyword, &type, &ref, sizeof ref, &size);
            if (err == noErr) *fileSpec = FSRefMakeFSSpec(ref);
        }
        NavDisposeReply(&reply);  // also after a cancel: see MacPutFile
    }
    NavDialogDispose(dialog);
    return int16_t(err);
}

void SetLastOpenedFolder(const FSSpec& folder) { gLastFolder = folder.path; }

void HideItem(DialogRef dialog, int16_t item)
{
    if (ControlRef c = ItemControl(dialog, item)) HideControl(c);
}

void SetItemVal(DialogRef dialog, int16_t item, int16_t value)
{
    if (ControlRef c = ItemControl(dialog, item)) SetControlValue(c, value);
}

int16_t GetItemVal(DialogRef dialog, int16_t item)
{
    ControlRef c = ItemControl(dialog, item);
    return c ? GetControlValue(c) : 0;
}

void SetHiLight(DialogRef dialog, int16_t item, int16_t hilite)
{
    if (ControlRef c = ItemControl(dialog, item)) HiliteControl(c, ControlPartCode(hilite));
}

int16_t GetHiLight(DialogRef dialog, int16_t item)
{
    ControlRef c = ItemControl(dialog, item);
    return c ? int16_t(GetControlHilite(c) & 0xFF) : 0;
}

void SetText(DialogRef dialog, int16_t item, const unsigned char* text)
{
    Str255 copy;
    std::memcpy(copy, text, size_t(text[0]) + 1);
    DialogItemType type = 0;
    Handle h = nullptr;
    Rect box{};
    GetDialogItem(dialog, DialogItemIndex(item), &type, &h, &box);
    if (h) SetDialogItemText(h, copy);
}

void GetText(unsigned char* text, DialogRef dialog, int16_t item)
{
    text[0] = 0;
    DialogItemType type = 0;
    Handle h = nullptr;
    Rect box{};
    GetDialogItem(dialog, DialogItemIndex(item), &type, &h, &box);
    if (h) GetDialogItemText(h, text);
}

int16_t TEGetNbLines(TEHandle te) { return te && *te ? (*te)->nLines : 0; }
