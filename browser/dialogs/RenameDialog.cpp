#include "browser/dialogs/RenameDialog.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "browser/CallPanes.h"
#include "browser/Panes.h"
#include "browser/dialogs/DialogDrawing.h"
#include "design/filters/FilterRecord.h"
#include "design/filters/ObjFilter.h"
#include "design/objects/NameRules.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/objects/RenameHooks.h"
#include "design/rename/RenameCommit.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "kernel/startup/KernelGlobals.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Text.h"
#include "platform/events/Events.h"
#include "platform/menus/Menus.h"
#include "platform/resfiles/Resources.h"
#include "platform/textedit/TextEdit.h"

using namespace platform;

namespace browser {

bool G_ReplaceAll = false;
Handle G_Filters = nullptr;
int16_t G_NbFilters = 0;
int16_t G_DfltFilter = kDefaultFilter;
ObjListHdl G_HeadList = nullptr;
LongListHandle G_LongListHdl = nullptr;
int16_t G_CurFilter = 5;

namespace {

constexpr int16_t kWindows = 1001;    // STR#: the prompt, the refusals
constexpr int16_t kErrors = 1002;     // STR#: the refusals' texts
constexpr int16_t kKindNames = 1008;  // STR#: kind k's name
constexpr int16_t kPaneTitles = 1009;
constexpr int16_t kPickListDef = 1002;
constexpr int16_t kPopUpMenu = 1000;
constexpr int16_t kSelectAll = 26;
constexpr int16_t kCommandKind = 3;
constexpr int16_t kScrollBar = 15;

// The open dialog: the name it came with and the users' rows' source.
struct RenameState {
    DialogRef dialog = nullptr;
    unsigned char current[256] = {0};
    int16_t maxLength = 31;
};
RenameState* gRename = nullptr;

bool HasControlChar(const unsigned char* name)
{
    for (int32_t i = 1; i <= name[0]; ++i)
        if (name[i] < 0x20) return true;
    return false;
}

// The longest name the dialog takes for `text`: the maximum, its variable
// prefix not counted.
int16_t Allowed(const unsigned char* text, int16_t maxLength)
{
    if (IsGlobalVarName(text)) return int16_t(maxLength + stglobglob[0]);
    if (IsLocalVarName(text)) return int16_t(maxLength + stlocalvar[0]);
    return maxLength;
}

int32_t Rows() { return G_LongListHdl ? G_LongListHdl->rowCount : 0; }

bool AnyRowSelected() { return G_LongListHdl && LongLSel(G_LongListHdl); }

bool EveryRowSelected()
{
    for (int32_t row = 0; row < Rows(); ++row) {
        int32_t at = row;
        if (!LongLGetSelect(false, &at, G_LongListHdl)) return false;
    }
    return Rows() > 0;
}

void SelectEveryRow()
{
    for (int32_t row = 0; row < Rows(); ++row) LongLSetSelect(true, row, G_LongListHdl);
}

// Rename is possible with a name and, with the users shown, a user chosen.
void EnableRename(DialogRef dialog)
{
    Str255 text;
    GetText(text, dialog, kRenameName);
    const bool chosen = !G_LongListHdl || AnyRowSelected() || GetItemVal(dialog, kRenameAllUsers) != 0;
    EnableItem(dialog, kRenameOK, text[0] != 0 && chosen);
}

// The ids of every stored filter, ascending.
std::vector<int16_t> FilterIds()
{
    std::vector<int16_t> ids;
    const int16_t saved = CurResFile();
    UseResFile(G_PrefResFile);
    if (CurResFile() == G_PrefResFile) {
        const int16_t count = Count1Resources(FourCC("FLT2"));
        for (int32_t i = 1; i <= count; ++i) {
            SetResLoad(false);
            Handle h = Get1IndResource(FourCC("FLT2"), i);
            SetResLoad(true);
            int16_t id = 0;
            ResType type = 0;
            if (h) GetResInfo(h, &id, &type, nullptr);
            if (h) ids.push_back(id);
        }
    }
    UseResFile(saved);
    std::sort(ids.begin(), ids.end());
    return ids;
}

void KeepFilterIds()
{
    const std::vector<int16_t> ids = FilterIds();
    G_Filters = NewHandle(Size(std::max<size_t>(ids.size(), 1) * 2));
    G_NbFilters = G_Filters ? int16_t(ids.size()) : 0;
    if (G_Filters && !ids.empty()) std::memcpy(*G_Filters, ids.data(), ids.size() * 2);
}

int16_t FilterIdAt(int16_t index) { return reinterpret_cast<const int16_t*>(*G_Filters)[index]; }

// The users shown again through filter `id` (commands left out of the
// default filter); with `narrow`, the rows shown are narrowed instead.
void ShowUsers(DialogRef dialog, int16_t id, bool narrow)
{
    if (!G_LongListHdl) return;
    Handle stored = ::GetFilter(id);
    Handle record = stored;
    if (record && HandToHand(&record) != noErr) record = nullptr;
    if (record && id == kDefaultFilter) filterrec::PutFlag(record, kCommandKind, false);
    LongLDoDraw(false, G_LongListHdl);
    if (narrow) {
        if (record) DoMoreFilter(record, G_LongListHdl, false);
    } else if (DoFilter(record, G_LongListHdl, G_HeadList) != 0) {
        ErrMsg(memFullErr);
    }
    if (record) DisposeHandle(record);
    RazSelect(G_LongListHdl);
    if (GetItemVal(dialog, kRenameAllUsers)) SelectEveryRow();
    LongLDoDraw(true, G_LongListHdl);
    DialogPortScope port(dialog);
    DrawListBox(dialog);
}

void DrawHeader(DialogRef dialog, DialogItemIndex)
{
    if (!G_LongListHdl) return;
    const Rect box = ItemBox(dialog, kRenameHeader);
    Draw3DFrame(&box);
    Str255 title;
    MyGetIndString(title, kPaneTitles, 3);
    SavedPortText keep;
    TextFont(GetResFont(0));
    TextSize(GetResSize(0));
    Rect inside{int16_t(box.top + 1), int16_t(box.left + 1), int16_t(box.bottom - 3), int16_t(box.right - kScrollBar)};
    TETextBox(title + 1, title[0], &inside, teCenter);
    Rect icon{int16_t(box.top + 2), int16_t(box.right - 16), int16_t(box.top + 18), box.right};
    DrawSmallIcon(128, G_NbFilters < 2 ? 1 : 0, &icon);
}

void DrawUsers(DialogRef dialog, DialogItemIndex)
{
    if (!G_LongListHdl) return;
    const Rect box = ItemBox(dialog, kRenameUsers);
    Draw3DFrame(&box);
    LongLUpdate(nullptr, G_LongListHdl);
    RestoreDialogFont();
}

void DrawRenameDialog(DialogRef dialog) { ValidateDialog(dialog); }

// The filter pop-up over the header: the chosen filter shows the users
// again, with Option narrows the rows shown.
void ChooseFilter(DialogRef dialog, uint16_t modifiers)
{
    if (!G_Filters || G_NbFilters == 0) return;
    MenuRef menu = NewMenu(kPopUpMenu, reinterpret_cast<const unsigned char*>("\0"));
    if (!menu) return;
    int16_t marked = 0;
    for (int16_t i = 0; i < G_NbFilters; ++i) {
        Str255 name;
        name[0] = 0;
        if (Handle h = ::GetFilter(FilterIdAt(i))) {
            int16_t id = 0;
            ResType type = 0;
            GetResInfo(h, &id, &type, name);
        }
        AppendMenuItemText(menu, name);
        if (FilterIdAt(i) == G_DfltFilter) marked = int16_t(i + 1);
    }
    if (marked) {
        Str255 mark;
        MyGetIndString(mark, 1024, 2);
        SetItemMark(menu, MenuItemIndex(marked), mark[0] ? CharParameter(mark[1]) : CharParameter(0x12));
    }
    const Rect box = ItemBox(dialog, kRenameHeader);
    const int16_t chosen = ::Pop(menu, Point{box.top, box.left}, marked);
    if (chosen < 1 || chosen > G_NbFilters) return;
    G_DfltFilter = FilterIdAt(int16_t(chosen - 1));
    ShowUsers(dialog, G_DfltFilter, (modifiers & optionKey) != 0);
}

// Alert 1000 with the text; the dialog stays.
void Refuse(const unsigned char* text) { XAlert(1000, text, kStopAlert); }

void RefuseWith(int16_t index)
{
    Str255 text;
    MyGetIndString(text, kErrors, index);
    Refuse(text);
}

// The object of that kind and name, other than the one renamed (known by
// the name it has now).
TObjQz* OtherNamed(TMainDoc* doc, int16_t kind, TObjQz* ownerObj, const unsigned char* name, int16_t scope)
{
    if (!doc) return nullptr;
    TObjQz* found = Search_GnlObj(doc, kind, ownerObj, name, scope);
    if (found && gRename && rel2str(found->name, gRename->current) == kEqual) return nullptr;
    return found;
}

// A variable's scope as its new name gives it.
int16_t ScopeOf(const unsigned char* name, int16_t number)
{
    if (IsGlobalVarName(name)) return 2;
    if (IsLocalVarName(name)) return number > 2 ? number : 0;
    return 1;
}

// Whether a form is among the users the rename rewrites.
bool FormAmongChosen(DialogRef dialog, ObjListHdl users)
{
    const bool every = !G_LongListHdl || GetItemVal(dialog, kRenameAllUsers) != 0;
    if (!G_LongListHdl) {
        for (int32_t i = 0; users && i < users->Size(); ++i)
            if (users->At(i) && users->At(i)->kind == 24) return true;
        return false;
    }
    for (int32_t row = 0; row < Rows(); ++row) {
        int32_t at = row;
        const bool chosen = every || LongLGetSelect(false, &at, G_LongListHdl);
        auto* obj = static_cast<TObjQz*>(LongLRowObject(row, G_LongListHdl));
        if (chosen && obj && obj->kind == 24) return true;
    }
    return false;
}

// The checks of Rename in their order; true when the name may be taken.
bool NameAccepted(DialogRef dialog, TMainDoc* doc, int16_t kind, TObjQz* ownerObj, const unsigned char* name,
                  int16_t number, ObjListHdl users)
{
    if (SameName(name, gRename->current)) return true;
    if (!GoodWord(kind, name)) {
        Str255 text, part;
        MyGetIndString(text, kWindows, 18);
        PAppendChar(text, ' ');
        MyGetIndString(part, kKindNames, kind);
        PAppend(text, part);
        PAppendChar(text, ' ');
        MyGetIndString(part, kWindows, 19);
        PAppend(text, part);
        Refuse(text);
        return false;
    }
    const int16_t scope = kind == 9 ? ScopeOf(name, number) : number;
    switch (kind) {
    case 1:
    case 5:
    case 23:
        if (OtherNamed(doc, kind, ownerObj, name, scope)) {
            RefuseWith(23);
            return false;
        }
        return true;
    case 2:
        if (doc && Search_GlobVar(doc, name)) {
            RefuseWith(26);
            return false;
        }
        if (OtherNamed(doc, 2, nullptr, name, scope)) {
            RefuseWith(23);
            return false;
        }
        return true;
    case 9:
        if (doc && SearchObj_Name(doc, 2, name)) {
            RefuseWith(27);
            return false;
        }
        if (IsLocalVarName(name) && FormAmongChosen(dialog, users)) {
            RefuseWith(30);
            return false;
        }
        break;
    default: break;
    }
    if (!OtherNamed(doc, kind, ownerObj, name, scope)) return true;
    Str255 text, more;
    MyGetIndString(text, kErrors, 23);
    MyGetIndString(more, kWindows, 21);
    PAppend(text, more);
    return XAlert(1002, text, kCautionAlert) != 2;
}

// The users to rewrite: the rows chosen (every row with item 5), or a copy
// of the caller's users without the list. Null when memory runs out.
ObjListHdl ChosenUsers(DialogRef dialog, ObjListHdl users, uint8_t* mode)
{
    ObjListHdl out = nullptr;
    if (NewObjList(&out, 10) != 0) return nullptr;
    if (!G_LongListHdl) {
        *mode = 1;
        for (int32_t i = 0; users && i < users->Size(); ++i)
            if (AddObjList(&out, users->At(i)) != 0) {
                FreeObjList(out);
                return nullptr;
            }
        return out;
    }
    const bool every = GetItemVal(dialog, kRenameAllUsers) != 0;
    *mode = every || EveryRowSelected() ? 1 : 0;
    for (int32_t row = 0; row < Rows(); ++row) {
        int32_t at = row;
        if (!every && !LongLGetSelect(false, &at, G_LongListHdl)) continue;
        if (AddObjList(&out, static_cast<TObjQz*>(LongLRowObject(row, G_LongListHdl))) != 0) {
            FreeObjList(out);
            return nullptr;
        }
    }
    return out;
}

// The name typed, cut to what the dialog takes (with a beep when it was
// longer).
void CutTypedName(DialogRef dialog, int16_t maxLength)
{
    Str255 text;
    GetText(text, dialog, kRenameName);
    const int16_t allowed = Allowed(text, maxLength);
    if (text[0] <= allowed) return;
    SysBeep(1);
    text[0] = uint8_t(allowed);
    SetText(dialog, kRenameName, text);
    SelectDialogItemText(dialog, kRenameName, allowed, allowed);
}

LongListHandle NewUsersList(DialogRef dialog)
{
    Rect view = ItemBox(dialog, kRenameUsers);
    InsetRect(&view, 1, 1);
    view.right = int16_t(view.right - kScrollBar);
    FontInfo info{};
    {
        DialogPortScope port(dialog);
        SavedPortText keep;
        TextFont(GetResFont(0));
        TextSize(GetResSize(0));
        GetFontInfo(&info);
    }
    const int16_t rowHeight = int16_t(std::max(1, info.ascent + info.descent + info.leading));
    return LongLNew(&view, 0, kObjectRowLength, Point{rowHeight, int16_t(view.right - view.left)}, kPickListDef,
                    GetDialogWindow(dialog), true, CallProcIdProc);
}

}  // namespace

bool GoodWord(int16_t kind, const unsigned char* name)
{
    if (name[0] == 0) return false;
    if (scriptmanager || kind != 9) return true;
    unsigned char rest[256];
    std::memcpy(rest, name, size_t(name[0]) + 1);
    if (IsGlobalVarName(rest)) GetGlobTrueName(rest);
    else if (IsLocalVarName(rest)) GetLocTrueName(rest);
    else return true;
    return !IsLocalVarName(rest) && !IsGlobalVarName(rest);
}

void DrawListBox(DialogRef dialog)
{
    DrawHeader(dialog, kRenameHeader);
    DrawUsers(dialog, kRenameUsers);
}

void DrawOkDialog(DialogRef dialog)
{
    OutlineDefault(dialog, kRenameOK);
    DrawRenameDialog(dialog);
}

Boolean ReplaceFilter(DialogRef dialog, EventRecord* event, DialogItemIndex* item)
{
    if (PressOnReturn(dialog, *event, kRenameOK, item)) return true;
    if (DrawOnUpdate(dialog, *event, item, DrawRenameDialog)) return true;
    if (event->what == keyDown && (event->modifiers & cmdKey)) {
        int16_t command = 0, index = 0;
        GetFunc(MenuKey(CharParameter(event->message & charCodeMask)), &command, &index);
        // The key's menu title lit by MenuKey goes dark again: no menu
        // command runs from here.
        HiliteMenu(0);
        if (command == kSelectAll) {
            *item = kRenameAllUsers;
            return true;
        }
    }
    Point local{};
    if (!G_LongListHdl || !ContentClick(dialog, *event, &local)) return false;
    DialogPortScope port(dialog);
    const Rect users = ItemBox(dialog, kRenameUsers), header = ItemBox(dialog, kRenameHeader);
    if (PtInRect(local, &users)) {
        LongLActivate(true, G_LongListHdl);
        G_LongListHdl->lastClick = -1;
        LongLClick(local, event->modifiers, G_LongListHdl);
        const int32_t clicked = LongLLastClick(G_LongListHdl);
        if (clicked >= 0 && clicked < Rows()) SetItemVal(dialog, kRenameAllUsers, 0);
        RestoreDialogFont();
        *item = kRenameUsers;
        return true;
    }
    if (PtInRect(local, &header)) {
        ChooseFilter(dialog, event->modifiers);
        *item = kRenameHeader;
        return true;
    }
    return false;
}

bool GetReplace(TMainDoc* doc, int16_t kind, TObjQz* ownerObj, unsigned char* name, int16_t number, uint8_t* mode,
                ObjListHdl users, ObjListHdl* rewrite, int16_t maxLength)
{
    if (rewrite) *rewrite = nullptr;
    GrafPtr callerPort = nullptr;
    GetPort(&callerPort);
    const bool withUsers = mode && *mode == 0;
    const int16_t id = withUsers ? kRenameWithUsers : kRenameOnly;
    RenameState state;
    std::memcpy(state.current, name, size_t(name[0]) + 1);
    if (HasControlChar(state.current)) state.current[0] = 0;
    state.maxLength = maxLength;
    Handle dlog = nullptr, bits = nullptr;
    Rect saveRect{};
    DLogSaveScreen(FourCC("DLOG"), id, &dlog, &bits, &saveRect);
    DialogRef dialog = MyGetNewDialog(id, nullptr, reinterpret_cast<WindowRef>(-1));
    bool confirmed = false;
    if (dialog) {
        RenameState* outer = gRename;
        const Handle outerFilters = G_Filters;
        const int16_t outerCount = G_NbFilters, outerFilter = G_DfltFilter;
        const ObjListHdl outerHead = G_HeadList;
        const LongListHandle outerList = G_LongListHdl;
        gRename = &state;
        state.dialog = dialog;
        G_Filters = nullptr;
        G_NbFilters = 0;
        G_HeadList = users;
        G_LongListHdl = nullptr;

        Str255 prompt, part;
        MyGetIndString(prompt, kWindows, 16);
        PAppend(prompt, state.current);
        MyGetIndString(part, kWindows, 17);
        PAppend(prompt, part);
        SetText(dialog, kRenamePrompt, prompt);
        SetText(dialog, kRenameName, state.current);
        SelectDialogItemText(dialog, kRenameName, 0, 32767);
        EnableItem(dialog, kRenameOK, false);
        if (withUsers) {
            KeepFilterIds();
            G_DfltFilter = kDefaultFilter;
            G_LongListHdl = NewUsersList(dialog);
            SetItemVal(dialog, kRenameAllUsers, G_ReplaceAll ? 1 : 0);
            ShowUsers(dialog, G_DfltFilter, false);
            SetItemDrawing(dialog, kRenameUsers, DrawUsers);
            SetItemDrawing(dialog, kRenameHeader, DrawHeader);
            EnableRename(dialog);
        }
        ShowModal(dialog, kRenameOK, DrawOkDialog);

        int16_t hit = 0;
        while (hit != kRenameOK && hit != kRenameCancel && (!withUsers || G_LongListHdl)) {
            MyModalDialog(ReplaceFilter, &hit);
            switch (hit) {
            case kRenameName:
                CutTypedName(dialog, maxLength);
                EnableRename(dialog);
                break;
            case kRenameAllUsers:
                if (!G_LongListHdl) break;
                if (GetItemVal(dialog, kRenameAllUsers) == 0) {
                    SetItemVal(dialog, kRenameAllUsers, 1);
                    G_ReplaceAll = true;
                    SelectEveryRow();
                    DialogPortScope port(dialog);
                    DrawUsers(dialog, kRenameUsers);
                } else {
                    SetItemVal(dialog, kRenameAllUsers, 0);
                    G_ReplaceAll = false;
                }
                EnableRename(dialog);
                break;
            case kRenameUsers:
            case kRenameHeader: EnableRename(dialog); break;
            case kRenameOK: {
                if (!ItemEnabled(dialog, kRenameOK)) {
                    hit = 0;
                    break;
                }
                Str255 text;
                GetText(text, dialog, kRenameName);
                CutName(text, text, Allowed(text, maxLength));
                if (!NameAccepted(dialog, doc, kind, ownerObj, text, number, users)) {
                    hit = 0;
                    break;
                }
                uint8_t chosenMode = 1;
                ObjListHdl chosen = ChosenUsers(dialog, users, &chosenMode);
                if (!chosen) {
                    ErrMsg(memFullErr);
                    hit = kRenameCancel;
                    break;
                }
                std::memcpy(name, text, size_t(text[0]) + 1);
                if (mode) *mode = chosenMode;
                if (rewrite) *rewrite = chosen;
                else FreeObjList(chosen);
                confirmed = true;
                break;
            }
            default: break;
            }
        }
        if (G_LongListHdl) LongLDispose(G_LongListHdl);
        if (G_Filters) DisposeHandle(G_Filters);
        MyDisposDialog(dialog);
        gRename = outer;
        G_Filters = outerFilters;
        G_NbFilters = outerCount;
        G_DfltFilter = outerFilter;
        G_HeadList = outerHead;
        G_LongListHdl = outerList;
    }
    DLogRestoreScreen(dlog, bits, &saveRect, false);
    DisableFunc(kSelectAll);
    SetPort(callerPort);
    return confirmed;
}

void InstallRenameDialog()
{
    RenameHooks hooks;
    hooks.getReplace = [](int16_t listFilter, TMainDoc* doc, int16_t kind, TObjQz* ownerObj, unsigned char* name,
                          int16_t number, uint8_t* mode, ObjListHdl users, ObjListHdl* rewrite, int16_t maxLength) {
        G_CurFilter = listFilter;
        return GetReplace(doc, kind, ownerObj, name, number, mode, users, rewrite, maxLength);
    };
    SetRenameHooks(hooks);
}

}  // namespace browser
