#include "toolbox/files/VFileDlg.h"

#include <algorithm>
#include <new>
#include <string>

#include "platform/controls/Controls.h"
#include "platform/core/Errors.h"
#include "platform/drawing/Ports.h"
#include "platform/files/FileSpec.h"
#include "platform/files/LaunchServices.h"
#include "platform/windows/Windows.h"
#include "toolbox/files/FileKindHooks.h"
#include "toolbox/files/FileNames.h"
#include "toolbox/files/KindResource.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VFileDialogFilter.h"
#include "toolbox/files/VFolder.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VStr.h"

using namespace platform;

namespace {

FileDialogHooks gHooks;

constexpr int16_t kButtonInset = 12;  // from the custom area's corner, and between the buttons
constexpr int16_t kMinCustomWidth = 236;
constexpr int16_t kMinCustomHeight = 44;
constexpr int32_t kPollTicks = 120;

std::string Utf8Of(const VString& text) { return text.GetLength() > 0 ? ToUtf8(text) : std::string(); }

std::string DescPath(const AEDesc* desc)
{
    std::string path(size_t(std::max<Size>(AEGetDescDataSize(desc), 0)), '\0');
    if (!path.empty()) AEGetDescData(desc, path.data(), Size(path.size()));
    return path;
}

// The item's kind for the reply: a package's own, else its Finder's.
void ReadItemKind(const FSRef& ref, VNavReplyInfo& info)
{
    info.isPackage = false;
    info.fileType = info.fileCreator = 0;
    OSType type = 0, creator = 0;
    if (gHooks.getBundleInfo && gHooks.getBundleInfo(&ref, &type, &creator)) {
        info.isPackage = true;
        info.fileType = type;
        info.fileCreator = creator;
        return;
    }
    FInfo finder;
    if (FSpGetFInfo(FSSpec{ref.path}, &finder) == noErr) {
        info.fileType = finder.fdType;
        info.fileCreator = finder.fdCreator;
    }
}

// The popup entry chosen: its filter becomes the current one.
void SelectPopupEntry(VNavReplyInfo& info, const NavMenuItemSpec& itemSpec)
{
    VFileDialogFilter* filter = info.filter;
    const int16_t index = itemSpec.menuCreator == kPopupExtensionCreator ? int16_t(itemSpec.menuType + 1) : int16_t(0);
    VFileFilter* chosen = filter->GetFileFilter(index);
    if (index == 0 || !chosen) {
        info.fileType = itemSpec.menuType;
        info.fileCreator = itemSpec.menuCreator;
    } else {
        info.fileCreator = chosen->GetCreator(1);
        info.fileType = MacKindFromVirtualKind(chosen->GetKind(1));
    }
    filter->SetCurrentFilter(chosen ? index : int16_t(0));
}

void MakeButtons(VNavReplyInfo& info, NavCBRecPtr parms)
{
    if (!parms->window) return;  // a dialog without a window has no room for them
    int16_t left = kButtonInset;
    for (int16_t n = 1; n <= 2; ++n) {
        VStr<255> title;
        title.SetNull(false);
        if (!info.filter->GetCustomButton(n, title)) continue;
        uint8_t pTitle[256] = {0};
        title.ToPString(pTitle, 255, kCharSetMac);
        Rect bounds{kButtonInset, left, int16_t(kButtonInset + 20), int16_t(left + 80)};
        ControlRef button = NewControl(parms->window, &bounds, pTitle, true, 0, 0, 1, pushButProc, 0);
        if (!button) continue;
        Rect best{};
        int16_t baseline = 0;
        if (GetBestControlRect(button, &best, &baseline) == noErr && best.right > best.left)
            SizeControl(button, int16_t(best.right - best.left), int16_t(best.bottom - best.top));
        const ControlID id{kCustomButtonSignature, n};
        SetControlID(button, &id);
        NavCustomControl(parms->context, kNavCtlAddControl, button);
        info.buttons[n - 1] = button;
        Rect placed{};
        GetControlBounds(button, &placed);
        left = int16_t(placed.right + kButtonInset);
    }
}

void PlaceButtons(VNavReplyInfo& info, NavCBRecPtr parms)
{
    int16_t left = int16_t(parms->customRect.left + kButtonInset);
    for (ControlRecord* button : info.buttons) {
        if (!button) continue;
        MoveControl(button, left, int16_t(parms->customRect.top + kButtonInset));
        Rect placed{};
        GetControlBounds(button, &placed);
        left = int16_t(placed.right + kButtonInset);
    }
}

void Start(VNavReplyInfo& info, NavCBRecPtr parms)
{
    MakeButtons(info, parms);
    if (info.location.descriptorType != typeNull) NavCustomControl(parms->context, kNavCtlSetLocation, &info.location);
    VFileDialogFilter* filter = info.filter;
    VFileFilter* initial = filter->GetFileFilter(filter->GetInitialFilter());
    if (filter->GetFileFilterCount() > 0 && initial) {
        NavMenuItemSpec itemSpec;
        itemSpec.menuCreator = kPopupExtensionCreator;
        itemSpec.menuType = OSType(filter->GetInitialFilter() - 1);
        initial->GetName().ToPString(itemSpec.menuItemName, 255, kCharSetMac);
        // The list shows what the selected entry names, not every filter.
        if (NavCustomControl(parms->context, kNavCtlSelectCustomType, &itemSpec) == noErr) SelectPopupEntry(info, itemSpec);
    }
}

void HandleEvent(VNavReplyInfo& info, NavCBRecPtr parms)
{
    EventRecord* event = parms->eventData.event;
    if (!event) return;
    if (event->what == updateEvt) {
        // Windows behind the dialog are told they were drawn, or their
        // update would come back for ever; the dialog draws itself.
        auto* window = reinterpret_cast<WindowRef>(event->message);
        if (window && window != parms->window) {
            BeginUpdate(window);
            EndUpdate(window);
        }
        return;
    }
    if (event->what != mouseDown || !parms->window) return;
    WindowRef hitWindow = nullptr;
    if (FindWindow(event->where, &hitWindow) != inContent || hitWindow != parms->window) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(parms->window);
    Point local = event->where;
    GlobalToLocal(&local);
    ControlRef hit = nullptr;
    FindControl(local, parms->window, &hit);
    ControlID id{};
    const bool ours = hit && GetControlID(hit, &id) == noErr && id.signature == kCustomButtonSignature;
    const bool clicked = ours && HandleControlClick(hit, local, event->modifiers, nullptr) != 0;
    SetPort(saved);
    if (clicked) {
        info.filter->SetChosenCustomButton(int16_t(id.id));
        NavCustomControl(parms->context, kNavCtlCancel, nullptr);
    }
}

}  // namespace

void SetFileDialogHooks(const FileDialogHooks& hooks) { gHooks = hooks; }

void xMAC_NavEventFilter(NavEventCallbackMessage message, NavCBRecPtr parms, void* userData)
{
    auto* info = static_cast<VNavReplyInfo*>(userData);
    if (!info || !info->filter || !parms) return;
    try {
        switch (message) {
        case kNavCBStart: Start(*info, parms); break;
        case kNavCBCustomize:
            if (info->filter->HasCustomButton(1) || info->filter->HasCustomButton(2)) {
                Rect& r = parms->customRect;
                r.right = std::max<int16_t>(r.right, int16_t(r.left + kMinCustomWidth));
                r.bottom = std::max<int16_t>(r.bottom, int16_t(r.top + kMinCustomHeight));
            }
            break;
        case kNavCBAdjustRect: PlaceButtons(*info, parms); break;
        case kNavCBEvent: HandleEvent(*info, parms); break;
        case kNavCBPopupMenuSelect:
            if (auto* itemSpec = static_cast<NavMenuItemSpec*>(parms->eventData.param)) SelectPopupEntry(*info, *itemSpec);
            break;
        default: break;
        }
    } catch (const std::bad_alloc&) {
        // The callback comes from the platform: nothing may leave it.
    }
}

Boolean xMAC_NavFileFilter(AEDesc* item, void* itemInfo, void* userData, NavFilterModes)
{
    auto* info = static_cast<VNavReplyInfo*>(userData);
    if (!item || item->descriptorType != typeFSRef) return true;
    if (auto* fileInfo = static_cast<NavFileOrFolderInfo*>(itemInfo); fileInfo && fileInfo->isFolder) return true;
    if (!info || !info->filter) return true;
    try {
        const FSRef ref{DescPath(item)};
        VFileDialogFilter* filter = info->filter;
        if (VFileFilter* current = filter->GetFileFilter(filter->GetCurrentFilter()))
            return current->MAC_FilterFile(ref, filter);
        for (int32_t i = 1; i <= filter->GetFileFilterCount(); ++i)
            if (filter->GetFileFilter(i)->MAC_FilterFile(ref, filter)) return true;
        return false;
    } catch (const std::bad_alloc&) {
        return true;
    }
}

OSStatus xMAC_NavDialogOptionFromReplyInfo(const VNavReplyInfo& info, NavDialogCreationOptions* options,
                                           bool* useObjectFilter)
{
    const VFileDialogFilter* filter = info.filter;
    if (!filter || !options) return paramErr;
    if (OSStatus err = NavGetDefaultDialogCreationOptions(options)) return err;
    const int16_t count = filter->GetFileFilterCount();
    if (useObjectFilter)
        *useObjectFilter = count > 1 || (count == 1 && filter->GetFileFilter(1)->GetUTIKindsCount() > 0);
    NavDialogOptionFlags& flags = options->optionFlags;
    auto set = [&flags](NavDialogOptionFlags bits, bool on) { flags = on ? (flags | bits) : (flags & ~bits); };
    set(kNavAllowPreviews, filter->fAllowPreviews);
    set(kNavDontResolveAliases, filter->fDontResolveAliases);
    set(kNavAllowOpenPackages, filter->fAllowOpeningPackages);
    set(kNavSelectAllReadableItem, filter->fSelectAllReadable);
    set(kNavAllowMultipleFiles, filter->fAllowMultipleFiles);
    set(kNavSupportPackages, filter->fSupportPackages);
    set(kNavDontAddTranslateItems | kNavDontAutoTranslate, !filter->fTranslationAllowed);
    set(kNavNoTypePopup, filter->fHideTypePopupForOneFilter && count == 1);
    int16_t h = -1, v = -1;
    filter->GetPos(h, v);
    options->location = Point{v, h};
    options->message = Utf8Of(filter->GetMessage());
    options->windowTitle = Utf8Of(filter->GetTitle());
    options->clientName = GetClientName();
    options->preferenceKey = filter->GetPreferenceKey();
    options->parentWindow = filter->GetParentWindow();
    options->modality = options->parentWindow ? kWindowModalityWindowModal : kWindowModalityAppModal;
    options->popupExtension.clear();
    if (count > 1)
        for (int32_t i = 1; i <= count; ++i) options->popupExtension.push_back(Utf8Of(filter->GetFileFilter(i)->GetName()));
    return noErr;
}

OSStatus xMAC_NavGetFile(VNavReplyInfo& info, FSRef* chosen)
{
    if (!info.filter) return paramErr;
    NavEventUPP events = NewNavEventUPP(xMAC_NavEventFilter);
    NavObjectFilterUPP objects = NewNavObjectFilterUPP(xMAC_NavFileFilter);
    NavDialogCreationOptions options;
    bool useObjectFilter = false;
    OSStatus err = xMAC_NavDialogOptionFromReplyInfo(info, &options, &useObjectFilter);
    NavDialogRef dialog = nullptr;
    if (err == noErr)
        err = NavCreateGetFileDialog(&options, nullptr, events, nullptr, useObjectFilter ? objects : nullptr, &info,
                                     &dialog);
    NavReplyRecord reply;
    bool haveReply = false;
    if (err == noErr) err = NavDialogRun(dialog);
    if (err == noErr) {
        // The run returns once the user has acted; the loop is for hosts
        // whose dialogs run on while the caller waits.
        while (NavDialogGetUserAction(dialog) == kNavUserActionNone) {
            VEngine::PutTaskToSleep(kPollTicks, 0);
            VEngine::GiveHand(1);
        }
        if (NavDialogGetUserAction(dialog) == kNavUserActionCancel) {
            err = userCanceledErr;
        } else {
            err = NavDialogGetReply(dialog, &reply);
            haveReply = err == noErr;
        }
    }
    if (dialog) NavDialogDispose(dialog);
    DisposeNavEventUPP(events);
    DisposeNavObjectFilterUPP(objects);
    if (haveReply) {
        int32_t count = 0;
        AECountItems(&reply.selection, &count);
        FSRef first;
        if (!reply.validRecord || count < 1 ||
            AEGetNthPtr(&reply.selection, 1, typeFSRef, nullptr, nullptr, &first, Size(sizeof first), nullptr) != noErr) {
            err = userCanceledErr;
        } else {
            if (chosen) *chosen = first;
            info.stationery = reply.isStationery;
            ReadItemKind(first, info);
            if (info.files)
                for (int32_t i = 1; i <= count; ++i) {
                    FSRef ref;
                    if (AEGetNthPtr(&reply.selection, i, typeFSRef, nullptr, nullptr, &ref, Size(sizeof ref), nullptr) !=
                        noErr)
                        continue;
                    if (VFile* file = new VFile(ref)) info.files->AddTail(file);
                }
        }
        NavDisposeReply(&reply);
    }
    return err;
}

VFile* MAC_RunGetFileDialog(VFileDialogFilter* filter, VArrayListPtrOf<VFile*>* files)
{
    try {
        if (VEngine::GetFreeStack(kGetFileDialogStack) < kGetFileDialogStack) return nullptr;
        VNavReplyInfo info;
        info.filter = filter;
        info.files = files;
        if (filter) filter->SetChosenCustomButton(0);
        bool madeLocation = false;
        if (filter && filter->GetStartFolder()) {
            FSSpec folder;
            if (filter->GetStartFolder()->MAC_GetFSSpec(folder) == 0 &&
                AECreateDesc(typeFSS, folder.path.data(), Size(folder.path.size()), &info.location) == noErr)
                madeLocation = true;
        }
        if (!madeLocation) info.location.descriptorType = typeNull;
        VEngine::WNETaskDeTrap();
        FSRef chosen;
        OSStatus err = memFullErr;
        try {
            err = xMAC_NavGetFile(info, &chosen);
        } catch (const std::bad_alloc&) {
            // The engine's events come back and the location goes either way.
        }
        VEngine::WNETaskReTrap();
        if (madeLocation) AEDisposeDesc(&info.location);
        if (err != noErr) return nullptr;
        if (info.isPackage) {
            uint32_t kind = VirtualKindFromMacKind(info.fileType, false, VStr<1>());
            return new VFile(chosen, kind ? kind : info.fileType, info.fileCreator);
        }
        return new VFile(chosen);  // its kind read from disk
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
