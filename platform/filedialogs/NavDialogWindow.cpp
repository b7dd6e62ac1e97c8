#include "platform/filedialogs/NavDialogWindow.h"
#include "platform/filedialogs/ItemImage.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/files/FileSpec.h"
#include "platform/files/MacNames.h"
#include "platform/lists/Lists.h"
#include "platform/menus/Menus.h"
#include "platform/screen/Screen.h"
#include "platform/text/Utf8.h"
#include "platform/windows/Windows.h"

namespace platform {

namespace {

constexpr int16_t kWidth = 460;
constexpr int16_t kListTop = 62, kListBottom = 242, kMargin = 14;
constexpr int16_t kButtonsTop = kListBottom + 38, kHeight = kButtonsTop + 34;
constexpr int16_t kMinCustomWidth = 236, kMinCustomHeight = 44;
constexpr MenuID kPathMenuID = 30701, kTypeMenuID = 30702;

std::string FromPString(const uint8_t* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

// The dialog's items show Mac Roman; the dialog object holds UTF-8 texts and
// file names. Names show as the program holds them (MacNames.h).
std::string Shown(const std::string& utf8) { return Utf8ToMacRomanString(utf8); }

const char* ActionTitle(const NavDialogObject& d)
{
    switch (d.kind) {
    case NavDialogObject::Kind::GetFile: return "Open";
    case NavDialogObject::Kind::PutFile: return "Save";
    case NavDialogObject::Kind::ChooseFolder: return "Choose";
    }
    return "OK";
}

const char* WindowTitle(const NavDialogObject& d)
{
    if (!d.options.windowTitle.empty())
        return d.options.windowTitle.c_str();
    switch (d.kind) {
    case NavDialogObject::Kind::GetFile: return "Open";
    case NavDialogObject::Kind::PutFile: return "Save";
    case NavDialogObject::Kind::ChooseFolder: return "Choose a Folder";
    }
    return "";
}

std::string LastName(const std::string& path)
{
    if (path == "/")
        return "/";
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

struct NavWindow {
    DialogRef dialog = nullptr;
    ListHandle list = nullptr;
    ControlRef pathPopup = nullptr;
    ControlRef typePopup = nullptr;
    MenuRef pathMenu = nullptr;
    MenuRef typeMenu = nullptr;
    std::vector<NavItem> rows;
    std::vector<std::string> pathEntries;
    int16_t customTop = 0;
};

namespace {

NavWindow* UI(NavDialogRef d) { return d ? static_cast<NavWindow*>(d->ui) : nullptr; }

void FillMenu(MenuRef menu, const std::vector<std::string>& entries)
{
    while (CountMenuItems(menu) > 0)
        DeleteMenuItem(menu, CountMenuItems(menu));
    for (const std::string& e : entries) AppendMenuItemText(menu, PString(e).data());
}

std::string ItemText(DialogRef dialog, int16_t item)
{
    DialogItemType type;
    Handle h;
    Rect box;
    GetDialogItem(dialog, item, &type, &h, &box);
    Str255 text{};
    if (h)
        GetDialogItemText(h, text);
    return FromPString(text);
}

// The save name typed, as a file name: the one shown, while it is left as
// shown, keeps its characters that Mac Roman lacks.
std::string TypedName(NavDialogRef d, const std::string& typed)
{
    return typed == MacNameOf(d->editName) ? d->editName : FileNameOf(typed);
}

void SetNameItem(DialogRef dialog, const std::string& fileName)
{
    DialogItemType type;
    Handle h;
    Rect box;
    GetDialogItem(dialog, kNavItemName, &type, &h, &box);
    if (h) SetDialogItemText(h, PString(MacNameOf(fileName)).data());
}

// The replace question; true when the user chose to replace. Return
// answers Cancel: nothing is replaced by a slip of the key.
bool AskReplace(const std::string& name)
{
    AlertStdAlertParamRec buttons;
    buttons.defaultText = "Replace";
    buttons.cancelText = "Cancel";
    buttons.defaultButton = kAlertStdAlertCancelButton;
    DialogItemIndex hit = 0;
    StandardAlert(kAlertCautionAlert, "\xD2" + MacNameOf(name) + "\xD3 already exists. Do you want to replace it?", "",
                  &buttons, &hit);
    return hit == kAlertStdAlertOKButton;
}

std::string Quoted(const std::string& fileName) { return "\xD2" + MacNameOf(fileName) + "\xD3"; }

// Draws what of the window awaits drawing, at once.
void DrawUpdate(NavDialogRef d)
{
    NavWindow* ui = UI(d);
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(d->window);
    BeginUpdate(d->window);
    DrawDialog(ui->dialog);
    DrawControls(d->window);
    const Rect frame{kListTop, kMargin, kListBottom, int16_t(kWidth - kMargin)};
    FrameRect(&frame);
    LUpdate(GetWindowPort(d->window)->visRgn, ui->list);
    EndUpdate(d->window);
    SetPort(saved);
}

// Says why the save name cannot be taken, and what to do. A folder gone
// from under the dialog leaves it in the nearest folder still there.
void SayRefusal(NavDialogRef d, NavSaveRefusal why)
{
    std::string text;
    switch (why) {
    case NavSaveRefusal::None: return;
    case NavSaveRefusal::NoName: text = "Type a name for the file."; break;
    case NavSaveRefusal::Colon: text = "A file name cannot hold \xD2:\xD3. Type another character in its place."; break;
    case NavSaveRefusal::Dot:
        text = "A file name cannot begin with \xD2.\xD3: such files are hidden. Choose a name that begins with another "
               "character.";
        break;
    case NavSaveRefusal::TooLong: text = "The name is too long for a file. Choose a shorter name."; break;
    case NavSaveRefusal::Folder: text = Quoted(d->editName) + " is a folder. Choose another name."; break;
    case NavSaveRefusal::FolderGone: {
        const std::string gone = d->folder;
        std::string up = gone;
        do
            up = FSpGetParent(FSSpec{up}).path;
        while (!NavOpenFolder(d, up) && up != "/");
        // Drawn before the alert, whose loop leaves the windows behind it
        // as they are.
        NavRefreshWindow(d);
        DrawUpdate(d);
        text = "The folder " + Quoted(LastName(gone)) +
               " is no longer there: it was moved, renamed or deleted. Nothing was saved. Choose where to save "
               "again, from " + Quoted(LastName(d->folder)) + ".";
        break;
    }
    }
    StandardAlert(kAlertCautionAlert, text, "", nullptr, nullptr);
}

void Act(NavDialogRef d)
{
    NavWindow* ui = UI(d);
    if (d->kind == NavDialogObject::Kind::GetFile) {
        bool isFolder = false;
        if (!d->selected.empty() && FSpExists(FSSpec{d->selected}, &isFolder) && isFolder) {
            NavOpenFolder(d, d->selected);
            NavRefreshWindow(d);
            return;
        }
    }
    if (d->kind == NavDialogObject::Kind::PutFile) {
        d->editName = TypedName(d, ItemText(ui->dialog, kNavItemName));
        if (const NavSaveRefusal why = NavSaveRefused(d); why != NavSaveRefusal::None) {
            SayRefusal(d, why);
            return;  // the dialog stays, for another name or place
        }
        if (NavSaveWouldReplace(d) && !(d->options.optionFlags & kNavDontConfirmReplacement) &&
            !AskReplace(d->editName))
            return;  // the dialog stays, the file is untouched
    }
    if (!NavAccept(d))
        SysBeep(1);
}

void MakeNewFolder(NavDialogRef d)
{
    for (int n = 1; n < 1000; ++n) {
        std::string name = n == 1 ? "untitled folder" : "untitled folder " + std::to_string(n);
        OSErr err = NavMakeFolder(d, name);
        if (err == dupFNErr)
            continue;
        if (err != noErr)
            SysBeep(1);
        std::string made = d->selected;
        NavRefreshWindow(d);
        d->selected = made;
        return;
    }
}

void SelectRow(NavDialogRef d, int16_t row)
{
    NavWindow* ui = UI(d);
    d->selected = row >= 0 && size_t(row) < ui->rows.size() ? ui->rows[size_t(row)].path : std::string();
}

void ClickList(NavDialogRef d, Point local, uint16_t modifiers)
{
    NavWindow* ui = UI(d);
    const bool twice = LClick(local, modifiers, ui->list);
    const Cell clicked = LLastClick(ui->list);
    d->selected.clear();
    d->moreSelected.clear();
    std::vector<int16_t> rows;
    for (Cell c{0, 0}; LGetSelect(true, &c, ui->list) && size_t(c.v) < ui->rows.size(); ++c.v)
        rows.push_back(c.v);
    if (rows.empty())
        return;
    // The row clicked leads; with several files allowed the others follow.
    const int16_t lead = std::find(rows.begin(), rows.end(), clicked.v) != rows.end() ? clicked.v : rows.front();
    SelectRow(d, lead);
    if (d->kind == NavDialogObject::Kind::GetFile && (d->options.optionFlags & kNavAllowMultipleFiles))
        for (int16_t r : rows)
            if (r != lead && !ui->rows[size_t(r)].isFolder)
                d->moreSelected.push_back(ui->rows[size_t(r)].path);
    const Cell cell{lead, 0};
    if (!twice)
        return;
    const NavItem& item = ui->rows[size_t(cell.v)];
    if (item.isFolder) {
        // A double-click opens a folder, even in a choose-folder dialog.
        NavOpenFolder(d, item.path);
        NavRefreshWindow(d);
    } else if (d->kind == NavDialogObject::Kind::GetFile) {
        NavAccept(d);
    } else if (d->kind == NavDialogObject::Kind::PutFile) {
        d->editName = item.name;
        SetNameItem(ui->dialog, item.name);
    }
}

}  // namespace

bool NavOpenWindow(NavDialogRef d)
{
    auto* ui = new (std::nothrow) NavWindow;
    if (!ui)
        return false;
    ItemList items;
    const int16_t bottomRow = kButtonsTop;
    items.Add({bottomRow, int16_t(kWidth - 90), int16_t(bottomRow + 20), int16_t(kWidth - kMargin)}, kButtonDialogItem,
              d->options.actionButtonLabel.empty() ? ActionTitle(*d) : Shown(d->options.actionButtonLabel));
    items.Add({bottomRow, int16_t(kWidth - 180), int16_t(bottomRow + 20), int16_t(kWidth - 100)}, kButtonDialogItem,
              d->options.cancelButtonLabel.empty() ? "Cancel" : Shown(d->options.cancelButtonLabel));
    items.Add({8, kMargin, 24, int16_t(kWidth - kMargin)}, kStaticTextDialogItem | itemDisable,
              Shown(d->options.message));
    items.Add({kListTop, kMargin, kListBottom, int16_t(kWidth - kMargin)}, kUserDialogItem, "");
    const bool save = d->kind == NavDialogObject::Kind::PutFile;
    items.Add({int16_t(kListBottom + 8), 80, int16_t(kListBottom + 24), 300},
              save ? kEditTextDialogItem : (kStaticTextDialogItem | itemDisable), save ? MacNameOf(d->editName) : "");
    items.Add({bottomRow, kMargin, int16_t(bottomRow + 20), 124}, kButtonDialogItem, "New Folder");
    items.Add({int16_t(kListBottom + 8), kMargin, int16_t(kListBottom + 24), 76}, kStaticTextDialogItem | itemDisable,
              save ? "Save As:" : "");
    Handle ditl = items.Make();
    if (!ditl) {
        delete ui;
        return false;
    }
    Rect bounds{0, 0, kHeight, kWidth};
    ui->dialog = NewDialog(nullptr, &bounds, PString(Shown(WindowTitle(*d))).data(), false, movableDBoxProc,
                           reinterpret_cast<WindowRef>(-1), false, 0, ditl);
    DisposeHandle(ditl);
    if (!ui->dialog) {
        delete ui;
        return false;
    }
    d->ui = ui;
    d->window = GetDialogWindow(ui->dialog);
    SetDialogDefaultItem(ui->dialog, kNavItemAction);
    SetDialogCancelItem(ui->dialog, kNavItemCancel);
    if (d->kind == NavDialogObject::Kind::GetFile)
        HideDialogItem(ui->dialog, kNavItemNewFolder);
    if (!save)
        HideDialogItem(ui->dialog, kNavItemName);

    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(d->window);
    // The folder pop-up above the list; the type pop-up in the row the save
    // name takes in a save dialog.
    ui->pathMenu = NewMenu(kPathMenuID, PString("").data());
    InsertMenu(ui->pathMenu, -1);
    Rect pathBox{32, kMargin, 52, 300};
    ui->pathPopup = NewControl(d->window, &pathBox, PString("").data(), true, 0, kPathMenuID, 0,
                               kControlPopupButtonProc, 0);
    std::vector<std::string> types = NavPopupEntries(d);
    if (!types.empty()) {
        ui->typeMenu = NewMenu(kTypeMenuID, PString("").data());
        InsertMenu(ui->typeMenu, -1);
        for (std::string& type : types) type = Shown(type);
        FillMenu(ui->typeMenu, types);
        Rect typeBox{int16_t(kListBottom + 6), kMargin, int16_t(kListBottom + 26), 300};
        ui->typePopup = NewControl(d->window, &typeBox, PString("Show:").data(), true, 0, kTypeMenuID, 50,
                                   kControlPopupButtonProc, 0);
    }
    Rect view{int16_t(kListTop + 1), int16_t(kMargin + 1), int16_t(kListBottom - 1), int16_t(kWidth - kMargin - 16)};
    ListBounds data{0, 0, 0, 1};
    ui->list = LNew(&view, &data, Point{0, 0}, 0, d->window, true, false, false, true);
    if (ui->list && !(d->kind == NavDialogObject::Kind::GetFile && (d->options.optionFlags & kNavAllowMultipleFiles)))
        SetListSelectionFlags(ui->list, lOnlyOne);
    SetPort(saved);
    NavRefreshWindow(d);
    return ui->list != nullptr;
}

void NavShowWindow(NavDialogRef d)
{
    NavWindow* ui = UI(d);
    if (!ui)
        return;
    // The custom area between the list and the buttons, when asked for.
    int16_t extra = 0;
    if (d->customRect.right > d->customRect.left || d->customRect.bottom > d->customRect.top) {
        int16_t w = std::max<int16_t>(int16_t(d->customRect.right - d->customRect.left), kMinCustomWidth);
        int16_t h = std::max<int16_t>(int16_t(d->customRect.bottom - d->customRect.top), kMinCustomHeight);
        w = std::min<int16_t>(w, int16_t(kWidth - 2 * kMargin));
        ui->customTop = int16_t(kListBottom + 32);
        d->customRect = {ui->customTop, kMargin, int16_t(ui->customTop + h), int16_t(kMargin + w)};
        extra = int16_t(h + 8);
    }
    if (extra) {
        for (int16_t item : {kNavItemAction, kNavItemCancel, kNavItemNewFolder}) {
            DialogItemType type;
            Handle h;
            Rect box;
            GetDialogItem(ui->dialog, item, &type, &h, &box);
            box.top = int16_t(box.top + extra);
            box.bottom = int16_t(box.bottom + extra);
            SetDialogItem(ui->dialog, item, type, h, &box);
            ControlRef c = nullptr;
            if (GetDialogItemAsControl(ui->dialog, item, &c) == noErr && c)
                MoveControl(c, box.left, box.top);
        }
        SizeWindow(d->window, kWidth, int16_t(kHeight + extra), true);
    }
    const Rect screen = ScreenBounds();
    int16_t h = d->options.location.h, v = d->options.location.v;
    if (h < 0 || v < 0) {
        h = int16_t((screen.right - screen.left - kWidth) / 2);
        v = int16_t(screen.top + 60);
    }
    MoveWindow(d->window, h, v, true);
    ShowWindow(d->window);
    SelectWindow(d->window);
    if (d->kind == NavDialogObject::Kind::PutFile)
        SelectDialogItemText(ui->dialog, kNavItemName, 0, 32767);  // the default name, selected
}

void NavCloseWindow(NavDialogRef d)
{
    NavWindow* ui = UI(d);
    if (!ui)
        return;
    if (ui->list)
        LDispose(ui->list);
    DisposeDialog(ui->dialog);
    DeleteMenu(kPathMenuID);
    DisposeMenu(ui->pathMenu);
    if (ui->typeMenu) {
        DeleteMenu(kTypeMenuID);
        DisposeMenu(ui->typeMenu);
    }
    delete ui;
    d->ui = nullptr;
    d->window = nullptr;
}

void NavRefreshWindow(NavDialogRef d)
{
    NavWindow* ui = UI(d);
    if (!ui || !ui->list)
        return;
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(d->window);
    ui->rows = NavListShown(d);
    LDelRow(0, 0, ui->list);
    if (!ui->rows.empty())
        LAddRow(int16_t(std::min<size_t>(ui->rows.size(), 32767)), 0, ui->list);
    for (size_t i = 0; i < ui->rows.size() && i < 32767; ++i) {
        std::string text = MacNameOf(ui->rows[i].name) + (ui->rows[i].isFolder ? "  \xC8" : "");
        LSetCell(text.data(), int16_t(std::min<size_t>(text.size(), 255)), Cell{int16_t(i), 0}, ui->list);
        if (ui->rows[i].path == d->selected)
            LSetSelect(true, Cell{int16_t(i), 0}, ui->list);
    }
    ui->pathEntries = NavPathEntries(d);
    std::vector<std::string> names;
    for (auto it = ui->pathEntries.rbegin(); it != ui->pathEntries.rend(); ++it)
        names.push_back(MacNameOf(LastName(*it)));
    FillMenu(ui->pathMenu, names);
    SetControlMaximum(ui->pathPopup, int16_t(names.size()));
    SetControlValue(ui->pathPopup, 1);
    if (ui->typePopup)
        SetControlValue(ui->typePopup, int16_t(d->popupIndex + 1));
    Rect all{0, 0, 32767, 32767};
    InvalWindowRect(d->window, &all);
    SetPort(saved);
}

bool NavRowCentre(NavDialogRef d, int16_t row, Point* where)
{
    NavWindow* ui = UI(d);
    Rect r;
    if (!ui || !ui->list || !LGetCellRect(Cell{row, 0}, &r, ui->list))
        return false;
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(d->window);
    Point p{int16_t((r.top + r.bottom) / 2), int16_t((r.left + r.right) / 2)};
    LocalToGlobal(&p);
    SetPort(saved);
    *where = p;
    return true;
}

void NavWindowEvent(NavDialogRef d, EventRecord* e)
{
    NavWindow* ui = UI(d);
    if (!ui || d->ended)
        return;
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(d->window);
    switch (e->what) {
    case mouseDown: {
        Point local = e->where;
        GlobalToLocal(&local);
        ControlRef control = nullptr;
        FindControl(local, d->window, &control);
        if (control && control == ui->pathPopup) {
            HandleControlClick(control, local, e->modifiers, nullptr);
            int16_t chosen = GetControlValue(control);
            if (chosen > 1 && size_t(chosen) <= ui->pathEntries.size()) {
                NavOpenFolder(d, ui->pathEntries[ui->pathEntries.size() - size_t(chosen)]);
                NavRefreshWindow(d);
            }
            break;
        }
        if (control && control == ui->typePopup) {
            HandleControlClick(control, local, e->modifiers, nullptr);
            NavChoosePopupEntry(d, GetControlValue(control) - 1);
            NavRefreshWindow(d);
            break;
        }
        const Rect listBox{kListTop, kMargin, kListBottom, int16_t(kWidth - kMargin)};
        if (PtInRect(local, &listBox)) {
            ClickList(d, local, e->modifiers);
            break;
        }
        DialogRef which = nullptr;
        DialogItemIndex hit = 0;
        if (DialogSelect(e, &which, &hit) && which == ui->dialog) {
            if (hit == kNavItemAction)
                Act(d);
            else if (hit == kNavItemCancel)
                NavCancel(d);
            else if (hit == kNavItemNewFolder)
                MakeNewFolder(d);
        }
        break;
    }
    case keyDown:
    case autoKey: {
        const uint8_t ch = uint8_t(e->message & charCodeMask);
        if (ch == 13 || ch == 3) {
            Act(d);
            break;
        }
        if (IsCancelKey(*e)) {
            NavCancel(d);
            break;
        }
        DialogRef which = nullptr;
        DialogItemIndex hit = 0;
        DialogSelect(e, &which, &hit);
        break;
    }
    case updateEvt:
        if (reinterpret_cast<WindowRef>(e->message) == d->window) {
            DrawUpdate(d);
        } else {
            DialogRef which = nullptr;
            DialogItemIndex hit = 0;
            DialogSelect(e, &which, &hit);
        }
        break;
    default: {
        DialogRef which = nullptr;
        DialogItemIndex hit = 0;
        DialogSelect(e, &which, &hit);
        break;
    }
    }
    SetPort(saved);
}

}  // namespace platform
