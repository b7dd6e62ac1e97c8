#include "platform/filedialogs/NavDialogModel.h"

#include <algorithm>
#include <cstring>

#include "platform/core/FourCC.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FileSpec.h"
#include "platform/files/FolderListing.h"

namespace platform {

namespace {

constexpr OSType kPopupExtensionCreator = 0x6578746E;  // 'extn'

std::string Join(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

bool Filtered(NavDialogRef d, const NavItem& item)
{
    if (d->kind == NavDialogObject::Kind::ChooseFolder && !item.isFolder)
        return false;
    if (d->kind == NavDialogObject::Kind::GetFile && !item.isFolder && !d->types.empty() &&
        std::find(d->types.begin(), d->types.end(), item.finderInfo.fdType) == d->types.end())
        return false;
    if (!d->filterProc || d->kind == NavDialogObject::Kind::PutFile)
        return true;
    AEDesc desc;
    if (AECreateDesc(typeFSRef, item.path.data(), Size(item.path.size()), &desc) != noErr)
        return true;
    NavFileOrFolderInfo info;
    info.isFolder = item.isFolder;
    info.finderInfo = item.finderInfo;
    Boolean shown = d->filterProc(&desc, &info, d->userData, kNavFilteringBrowserList);
    AEDisposeDesc(&desc);
    return shown;
}

bool ReadItem(const std::string& path, NavItem* item)
{
    CatInfo info;
    if (FSpGetCatInfo(FSSpec{path}, &info) != noErr || info.isHidden)
        return false;
    size_t slash = path.find_last_of('/');
    item->name = slash == std::string::npos ? path : path.substr(slash + 1);
    item->path = path;
    item->isFolder = info.isFolder;
    item->finderInfo = info.finderInfo;
    return true;
}

}  // namespace

void NavCallBack(NavDialogRef d, NavEventCallbackMessage message, NavCBRec* record)
{
    if (!d->eventProc)
        return;
    NavCBRec local;
    NavCBRec* rec = record ? record : &local;
    rec->context = d;
    rec->window = d->window;
    rec->customRect = d->customRect;
    d->eventProc(message, rec, d->userData);
}

std::vector<std::string> NavPopupEntries(NavDialogRef d)
{
    if (!d || (d->options.optionFlags & kNavNoTypePopup) || d->kind != NavDialogObject::Kind::GetFile)
        return {};
    return d->options.popupExtension;
}

void NavChoosePopupEntry(NavDialogRef d, int32_t index)
{
    std::vector<std::string> entries = NavPopupEntries(d);
    if (index < 0 || index >= int32_t(entries.size()))
        return;
    d->popupIndex = index;
    NavMenuItemSpec itemSpec;
    itemSpec.menuCreator = kPopupExtensionCreator;
    itemSpec.menuType = OSType(index);
    const std::string& name = entries[size_t(index)];
    itemSpec.menuItemName[0] = uint8_t(std::min<size_t>(name.size(), 255));
    std::memcpy(itemSpec.menuItemName + 1, name.data(), itemSpec.menuItemName[0]);
    NavCBRec rec;
    rec.eventData.param = &itemSpec;
    NavCallBack(d, kNavCBPopupMenuSelect, &rec);
    // What was selected may no longer show.
    if (!d->selected.empty() && !NavIsShown(d, d->selected))
        d->selected.clear();
}

std::vector<NavItem> NavListShown(NavDialogRef d)
{
    std::vector<NavItem> shown;
    std::vector<FolderEntry> entries;
    if (!d || FSpListFolder(FSSpec{d->folder}, &entries) != noErr)
        return shown;
    for (const FolderEntry& e : entries) {
        if (e.hidden || e.kind == EntryKind::Other)
            continue;
        NavItem item;
        if (!ReadItem(Join(d->folder, e.name), &item))
            continue;
        if (Filtered(d, item))
            shown.push_back(std::move(item));
    }
    return shown;
}

bool NavIsShown(NavDialogRef d, const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (!d || slash == std::string::npos)
        return false;
    std::string name = path.substr(slash + 1);
    if (name.empty() || name[0] == '.')
        return false;
    NavItem item;
    if (!ReadItem(path, &item))
        return false;
    std::vector<FolderEntry> entries;
    std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    if (FSpListFolder(FSSpec{folder}, &entries) != noErr ||
        std::none_of(entries.begin(), entries.end(), [&](const FolderEntry& e) { return e.name == name && !e.hidden; }))
        return false;  // a sidecar, or not there
    return Filtered(d, item);
}

bool NavOpenFolder(NavDialogRef d, const std::string& folder)
{
    bool isFolder = false;
    if (!d || !FSpExists(FSSpec{folder}, &isFolder) || !isFolder)
        return false;
    FSRef ref;
    if (FSpMakeFSRef(FSSpec{folder}, &ref) != noErr)
        return false;
    d->folder = ref.path;
    d->selected.clear();
    d->moreSelected.clear();
    if (d->running)
        NavCallBack(d, kNavCBNewLocation, nullptr);
    return true;
}

std::vector<std::string> NavPathEntries(NavDialogRef d)
{
    std::vector<std::string> up;
    if (!d)
        return up;
    std::string f = d->folder;
    while (!f.empty()) {
        up.push_back(f);
        if (f == "/")
            break;
        size_t slash = f.find_last_of('/');
        f = slash == 0 ? "/" : f.substr(0, slash);
    }
    std::reverse(up.begin(), up.end());
    return up;
}

OSErr NavMakeFolder(NavDialogRef d, const std::string& name)
{
    if (!d || d->kind == NavDialogObject::Kind::GetFile)
        return paramErr;
    if (!IsValidItemName(name) || name[0] == '.')
        return bdNamErr;
    OSErr err = FSpDirCreate(FSSpec{Join(d->folder, name)});
    if (err == noErr)
        d->selected = Join(d->folder, name);
    return err;
}

bool NavSaveWouldReplace(NavDialogRef d)
{
    bool isFolder = false;
    return d && d->kind == NavDialogObject::Kind::PutFile && !d->editName.empty() &&
           FSpExists(FSSpec{Join(d->folder, d->editName)}, &isFolder) && !isFolder;
}

NavSaveRefusal NavSaveRefused(NavDialogRef d)
{
    const std::string& name = d->editName;
    bool isFolder = false;
    if (!FSpExists(FSSpec{d->folder}, &isFolder) || !isFolder)
        return NavSaveRefusal::FolderGone;
    if (name.empty())
        return NavSaveRefusal::NoName;
    if (name.find_first_of(std::string("/\0", 2)) != std::string::npos)
        return NavSaveRefusal::Colon;  // (a NUL is never typed)
    if (name[0] == '.')
        return NavSaveRefusal::Dot;
    if (name.size() > 255)
        return NavSaveRefusal::TooLong;
    if (FSpExists(FSSpec{Join(d->folder, name)}, &isFolder) && isFolder)
        return NavSaveRefusal::Folder;
    return NavSaveRefusal::None;
}

bool NavAccept(NavDialogRef d)
{
    if (!d || d->ended)
        return false;
    switch (d->kind) {
    case NavDialogObject::Kind::GetFile:
        if (d->selected.empty())
            return false;
        d->chosen = {d->selected};
        if (d->options.optionFlags & kNavAllowMultipleFiles)
            for (const std::string& more : d->moreSelected)
                if (more != d->selected && NavIsShown(d, more))
                    d->chosen.push_back(more);
        d->action = kNavUserActionOpen;
        break;
    case NavDialogObject::Kind::PutFile: {
        if (NavSaveRefused(d) != NavSaveRefusal::None)
            return false;
        d->replacing = NavSaveWouldReplace(d);
        d->chosen = {d->folder};
        d->action = kNavUserActionSaveAs;
        break;
    }
    case NavDialogObject::Kind::ChooseFolder:
        d->chosen = {d->selected.empty() ? d->folder : d->selected};
        d->action = kNavUserActionChoose;
        break;
    }
    d->ended = true;
    return true;
}

void NavCancel(NavDialogRef d)
{
    if (!d || d->ended)
        return;
    d->chosen.clear();
    d->replacing = false;
    d->action = kNavUserActionCancel;
    d->ended = true;
}

}  // namespace platform
