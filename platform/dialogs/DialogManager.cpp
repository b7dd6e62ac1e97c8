// Dialog records: creation from templates, disposal, items and their text.
#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/dialogs/DialogRecord.h"
#include "platform/dialogs/DialogTemplates.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/icons/Icons.h"
#include "platform/pictures/Pictures.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"

namespace platform {
namespace {

std::array<std::string, 4>& Params()
{
    static auto* params = new std::array<std::string, 4>;
    return *params;
}

void ForgetWindow(WindowRef window)
{
    if (DialogRef d = GetDialogFromWindow(window)) DisposeDialog(d);
}

Handle TextHandle(const std::string& text)
{
    Handle h = NewHandle(Size(text.size()));
    if (h && !text.empty()) std::memcpy(*h, text.data(), text.size());
    return h;
}

void FreeItems(DialogRecord& d)
{
    for (DialogItem& item : d.items) DisposeHandle(item.text);
    d.items.clear();
}

bool BuildItem(DialogRecord& d, const ItemTemplate& t, DialogItem* out)
{
    DialogItem item;
    item.type = t.type;
    item.box = t.box;
    item.resourceId = t.resourceId;
    const uint8_t kind = item.Kind();
    if (kind == statText || kind == editText) {
        item.text = TextHandle(t.data);
        if (!item.text) return false;
    } else if (kind >= ctrlItem && kind <= ctrlItem + resCtrl) {
        if (kind == ctrlItem + resCtrl) {
            item.control = GetNewControl(t.resourceId, d.window);
            if (item.control) SetControlBounds(item.control, &item.box);
        } else {
            Str255 title;
            title[0] = uint8_t(std::min<size_t>(t.data.size(), 255));
            std::memcpy(title + 1, t.data.data(), title[0]);
            item.control = NewControl(d.window, &item.box, title, true, 0, 0, 1, int16_t(kind - ctrlItem), 0);
            if (!item.control) return false;
        }
    }
    *out = item;
    return true;
}

// The button that Escape, Command-period and a quit press, unless the
// dialog's owner names another (SetDialogCancelItem): the first titled
// "Cancel" or "Stop".
bool IsCancelButton(const ItemTemplate& t)
{
    return (t.type & 0x7F) == kButtonDialogItem && (t.data == "Cancel" || t.data == "Stop");
}

}  // namespace

std::vector<DialogRef>& Dialogs()
{
    static auto* dialogs = new std::vector<DialogRef>;
    return *dialogs;
}

bool IsLiveDialog(DialogRef dialog)
{
    return dialog && std::find(Dialogs().begin(), Dialogs().end(), dialog) != Dialogs().end();
}

DialogItem* ItemAt(DialogRef dialog, DialogItemIndex item)
{
    if (!IsLiveDialog(dialog) || item < 1 || size_t(item) > dialog->items.size()) return nullptr;
    return &dialog->items[size_t(item - 1)];
}

std::string HandleText(Handle h)
{
    if (!h || !*h) return {};
    return std::string(*h, size_t(GetHandleSize(h)));
}

std::string ExpandParams(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^' && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '3') {
            out += Params()[size_t(text[i + 1] - '0')];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

DialogRef MakeDialog(WindowRef window, const std::vector<ItemTemplate>& items)
{
    DialogRecord* d = nullptr;
    try {
        Dialogs().reserve(Dialogs().size() + 1);
        d = new DialogRecord;
        d->window = window;
        d->items.reserve(items.size());
        for (const ItemTemplate& t : items) {
            DialogItem item;
            if (!BuildItem(*d, t, &item)) throw std::bad_alloc();
            d->items.push_back(item);
            if (!d->cancelItem && IsCancelButton(t)) d->cancelItem = DialogItemIndex(d->items.size());
        }
    } catch (const std::bad_alloc&) {
        if (d) FreeItems(*d);
        delete d;
        DisposeWindow(window);  // its controls go with it
        return nullptr;
    }
    SetWindowKind(window, dialogKind);
    Dialogs().push_back(d);
    if (!MakeEditTexts(d)) {
        DisposeDialog(d);
        return nullptr;
    }
    AddWindowDisposeHook(ForgetWindow);
    return d;
}

bool ReadItemList(Handle items, std::vector<ItemTemplate>* list)
{
    if (!items || !*items) return false;
    HLock(items);
    const bool ok = ParseItemList(reinterpret_cast<const uint8_t*>(*items), size_t(GetHandleSize(items)), list);
    HUnlock(items);
    if (!ok) SetResError(resNotFound);
    return ok;
}

DialogRef NewDialogOfItems(const Rect& bounds, ConstStr255Param title, bool visible, int16_t procID, WindowRef behind,
                           bool goAwayFlag, uintptr_t refCon, const std::vector<ItemTemplate>& items)
{
    WindowRef w = NewCWindow(nullptr, &bounds, title, false, procID, behind, goAwayFlag, refCon);
    if (!w) return nullptr;
    DialogRef d = MakeDialog(w, items);
    if (d && visible) ShowWindow(w);
    return d;
}

DialogRef NewDialog(void*, const Rect* bounds, ConstStr255Param title, Boolean visible, int16_t procID,
                    WindowRef behind, Boolean goAwayFlag, uintptr_t refCon, Handle items)
{
    std::vector<ItemTemplate> list;
    if (!bounds || !ReadItemList(items, &list)) return nullptr;
    return NewDialogOfItems(*bounds, title, visible, procID, behind, goAwayFlag, refCon, list);
}

DialogRef GetNewDialog(int16_t dialogID, void* storage, WindowRef behind)
{
    Handle h = GetResource(FourCC("DLOG"), dialogID);
    if (!h) return nullptr;
    DialogTemplate t;
    HLock(h);
    bool ok = ParseDialogTemplate(reinterpret_cast<const uint8_t*>(*h), size_t(GetHandleSize(h)), &t);
    HUnlock(h);
    if (!ok) {
        SetResError(resNotFound);
        return nullptr;
    }
    Handle items = GetResource(FourCC("DITL"), t.itemsID);
    if (!items) return nullptr;
    const Rect bounds = PlaceWindowBounds(t.bounds, t.position, ScreenBounds(), GetMBarHeight());
    DialogRef d = NewDialog(storage, &bounds, t.title, t.visible, t.procID, behind, t.goAway, uint32_t(t.refCon), items);
    if (d) d->dialogID = dialogID;
    return d;
}

void DisposeDialog(DialogRef dialog)
{
    if (!IsLiveDialog(dialog)) return;
    Dialogs().erase(std::remove(Dialogs().begin(), Dialogs().end(), dialog), Dialogs().end());
    DisposeEditTexts(dialog);
    FreeItems(*dialog);
    WindowRef w = dialog->window;
    delete dialog;
    DisposeWindow(w);
}

WindowRef GetDialogWindow(DialogRef dialog) { return IsLiveDialog(dialog) ? dialog->window : nullptr; }
CGrafPtr GetDialogPort(DialogRef dialog) { return IsLiveDialog(dialog) ? GetWindowPort(dialog->window) : nullptr; }

DialogRef GetDialogFromWindow(WindowRef window)
{
    if (!window) return nullptr;
    for (DialogRef d : Dialogs())
        if (d->window == window) return d;
    return nullptr;
}

OSErr SetDialogDefaultItem(DialogRef dialog, DialogItemIndex item)
{
    if (!IsLiveDialog(dialog)) return paramErr;
    if (DialogItem* old = ItemAt(dialog, dialog->defaultItem); old && old->control) {
        Boolean off = false;
        SetControlData(old->control, 0, kControlPushButtonDefaultTag, sizeof off, &off);
    }
    dialog->defaultItem = item;
    if (DialogItem* now = ItemAt(dialog, item); now && now->control) {
        Boolean on = true;
        SetControlData(now->control, 0, kControlPushButtonDefaultTag, sizeof on, &on);
    }
    return noErr;
}

OSErr SetDialogCancelItem(DialogRef dialog, DialogItemIndex item)
{
    if (!IsLiveDialog(dialog)) return paramErr;
    dialog->cancelItem = item;
    return noErr;
}

OSErr SetDialogTracksCursor(DialogRef dialog, Boolean tracks)
{
    if (!IsLiveDialog(dialog)) return paramErr;
    dialog->tracksCursor = tracks;
    return noErr;
}

void GetDialogItem(DialogRef dialog, DialogItemIndex index, DialogItemType* type, Handle* handle, Rect* box)
{
    const DialogItem* item = ItemAt(dialog, index);
    if (type) *type = item ? item->type : DialogItemType(0);
    if (box) *box = item ? item->box : Rect{0, 0, 0, 0};
    if (!handle) return;
    *handle = nullptr;
    if (!item) return;
    if (item->text) *handle = item->text;
    else if (item->control) *handle = reinterpret_cast<Handle>(item->control);
    else if (item->Kind() == userItem) *handle = UserItemHandle(item->proc);
    else if (item->handle) *handle = item->handle;
    else if (item->Kind() == iconItem) *handle = GetIcon(item->resourceId);
    else if (item->Kind() == picItem) *handle = reinterpret_cast<Handle>(GetPicture(item->resourceId));
}

void SetDialogItem(DialogRef dialog, DialogItemIndex index, DialogItemType type, Handle handle, const Rect* box)
{
    DialogItem* item = ItemAt(dialog, index);
    if (!item) return;
    const uint8_t kind = uint8_t(type & 0x7F);
    if (kind == item->Kind()) {
        // The kind stays: only what the handle says of a user item or a
        // picture or icon changes; text and controls keep their own.
        item->type = type;
        if (kind == userItem) item->proc = reinterpret_cast<UserItemUPP>(handle);
        else if (kind == iconItem || kind == picItem) item->handle = handle;
    } else if (kind == userItem && !item->control && !item->text) {
        item->type = type;
        item->proc = reinterpret_cast<UserItemUPP>(handle);
    } else {
        item->type = DialogItemType((item->type & 0x7F) | (type & itemDisable));
    }
    if (box) {
        item->box = *box;
        if (item->control) SetControlBounds(item->control, box);
    }
}

OSErr GetDialogItemAsControl(DialogRef dialog, DialogItemIndex index, ControlRef* control)
{
    if (!control) return paramErr;
    *control = nullptr;
    const DialogItem* item = ItemAt(dialog, index);
    if (!item) return paramErr;
    if (!item->control) return OSErr(errItemNotControl);
    *control = item->control;
    return noErr;
}

void HideDialogItem(DialogRef dialog, DialogItemIndex index)
{
    DialogItem* item = ItemAt(dialog, index);
    if (!item || item->hidden) return;
    item->hidden = true;
    if (item->control) {
        HideControl(item->control);
        return;
    }
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(dialog->window);
    Rect r = item->box;
    if (item->IsEditText()) InsetRect(&r, -4, -4);
    EraseRect(&r);
    SetPort(saved);
    if (dialog->focus == index) dialog->focus = 0;
}

void ShowDialogItem(DialogRef dialog, DialogItemIndex index)
{
    DialogItem* item = ItemAt(dialog, index);
    if (!item || !item->hidden) return;
    item->hidden = false;
    if (item->control) ShowControl(item->control);
    else RedrawItem(dialog, index);
}

DialogItemIndex FindDialogItem(DialogRef dialog, Point where)
{
    if (!IsLiveDialog(dialog)) return -1;
    for (size_t i = 0; i < dialog->items.size(); ++i) {
        const DialogItem& item = dialog->items[i];
        if (!item.hidden && PtInRect(where, &item.box)) return DialogItemIndex(i);
    }
    return -1;
}

int16_t CountDITL(DialogRef dialog) { return IsLiveDialog(dialog) ? int16_t(dialog->items.size()) : 0; }

void GetDialogItemShownText(DialogRef dialog, DialogItemIndex item, Str255 text)
{
    if (!text) return;
    text[0] = 0;
    if (!dialog || item < 1 || size_t(item) > dialog->items.size()) return;
    const DialogItem& it = dialog->items[size_t(item) - 1];
    std::string shown = HandleText(it.text);
    if (it.Kind() == statText) shown = ExpandParams(shown);
    text[0] = uint8_t(std::min<size_t>(shown.size(), 255));
    std::memcpy(text + 1, shown.data(), text[0]);
}

void GetDialogItemText(Handle item, Str255 text)
{
    if (!text) return;
    text[0] = 0;
    if (!item || !*item) return;
    text[0] = uint8_t(std::clamp<Size>(GetHandleSize(item), 0, 255));
    std::memcpy(text + 1, *item, text[0]);
}

void SetDialogItemText(Handle handle, ConstStr255Param text)
{
    if (!handle || !text) return;
    SetHandleSize(handle, text[0]);
    if (MemError() != noErr) return;
    if (text[0]) std::memcpy(*handle, text + 1, text[0]);
    for (DialogRef d : Dialogs())
        for (size_t i = 0; i < d->items.size(); ++i) {
            DialogItem& item = d->items[i];
            if (item.text != handle) continue;
            if (item.IsEditText()) SetEditText(d, DialogItemIndex(i + 1));
            if (!item.hidden) RedrawItem(d, DialogItemIndex(i + 1));
            return;
        }
}

void ParamText(ConstStr255Param p0, ConstStr255Param p1, ConstStr255Param p2, ConstStr255Param p3)
{
    ConstStr255Param all[4] = {p0, p1, p2, p3};
    try {
        for (size_t i = 0; i < 4; ++i)
            if (all[i]) Params()[i].assign(reinterpret_cast<const char*>(all[i] + 1), all[i][0]);
    } catch (const std::bad_alloc&) {
    }
}

void ResetDialogManager()
{
    while (!Dialogs().empty()) DisposeDialog(Dialogs().back());
    for (std::string& p : Params()) p.clear();
    ResetAlertStage();
    ResetSysBeepCount();
}

}  // namespace platform
