#include "browser/dialogs/SearchDialog.h"

#include <algorithm>
#include <cstring>

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "browser/Panes.h"
#include "browser/dialogs/DialogDrawing.h"
#include "design/filters/FilterRecord.h"
#include "kernel/numtext/DateText.h"
#include "platform/core/BitOps.h"
#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/events/Events.h"
#include "platform/menus/Menus.h"
#include "platform/text/NumberStrings.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

int16_t G_SearchWhat = filterrec::kNameSubject;
int16_t G_SearchWhatValue = 1;
bool G_IsSearch = false;
ListHandle G_2ListHdl = nullptr;

namespace {

constexpr int16_t kTexts = 1004;      // STR#: titles, subjects, operators, scopes
constexpr int16_t kKindNames = 1008;  // STR#: kind k's name
constexpr int16_t kPopUpMenu = 1000;
constexpr int16_t kKindListDef = 1005;
constexpr int16_t kShortDate = 0;
constexpr int16_t kOperators[] = {0, 5, 4, 4};     // per subject
constexpr int16_t kOperatorBase[] = {0, 7, 12, 16};  // STR# 1004 index - operator

// The three tri-state items and the bit pair each stands for.
struct TriState {
    int16_t item;
    int16_t test;
};
constexpr TriState kTriStates[] = {{kDocumentedBox, filterrec::kDocTest},
                                   {kUnusedBox, filterrec::kUnusedTest},
                                   {kBlockedBox, filterrec::kBlockedTest}};

// The open dialog's state; a nested one keeps its caller's.
struct SearchState {
    DialogRef dialog = nullptr;
    Str255 texts[4] = {{0}, {0}, {0}, {0}};  // per subject
    int16_t shown = filterrec::kNameSubject;  // the subject item 7 shows
};
SearchState* gSearch = nullptr;
// The drag of a kind list's click (this dialog's and the blocking one's).
RowDrag gKindDrag;

void Today(unsigned char* out)
{
    uint32_t now = 0;
    GetDateTime(&now);
    const CivilDay day = MacSecondsToDay(now);
    mystrdate(datum{int16_t(day.day), int16_t(day.month), int16_t(day.year)}, out, kShortDate);
}

int16_t Subject() { return int16_t(std::clamp<int16_t>(G_SearchWhat, 1, 3)); }

void PopUpText(int16_t item, unsigned char* out)
{
    out[0] = 0;
    if (item == kSubjectPopUp) MyGetIndString(out, kTexts, int16_t(4 + Subject()));
    else if (item == kOperatorPopUp) MyGetIndString(out, kTexts, int16_t(kOperatorBase[Subject()] + G_SearchWhatValue));
    else if (item == kScopePopUp) MyGetIndString(out, kTexts, int16_t(20 + G_SearchWhere));
}

// Items 11 and 12 from the rows: every one checked, none checked.
void ShowAllOrNone(DialogRef dialog)
{
    bool all = true, none = true;
    for (int16_t row = 0; row < ListRows(G_2ListHdl); ++row) {
        const bool on = CellByte(G_2ListHdl, row, kKindCellChecked) != 0;
        all = all && on;
        none = none && !on;
    }
    SetItemVal(dialog, kAllKinds, all);
    SetItemVal(dialog, kNoKind, none);
}

int32_t KindStateAt(Point) { return kKindCellChecked; }

// A pop-up menu of STR# 1004 strings first..first+count-1 at the item's
// top-left, `current` marked; the choice, 0 for none.
int16_t PopUp(DialogRef dialog, int16_t item, int16_t first, int16_t count, int16_t current)
{
    MenuRef menu = NewMenu(kPopUpMenu, reinterpret_cast<const unsigned char*>("\0"));
    if (!menu) return 0;
    for (int16_t i = 0; i < count; ++i) {
        Str255 text;
        MyGetIndString(text, kTexts, int16_t(first + i));
        AppendMenuItemText(menu, text);
    }
    if (current >= 1 && current <= count) SetItemMark(menu, MenuItemIndex(current), checkMark);
    const Rect box = ItemBox(dialog, item);
    return ::Pop(menu, Point{box.top, box.left}, current);
}

void DrawPopUpItem(DialogRef dialog, DialogItemIndex item) { GetSearchFilter_SetPopBox(dialog, item); }

void DrawHeaderItem(DialogRef dialog, DialogItemIndex item) { FramedCaption(dialog, item, 1001, 22); }

void DrawSeparatorItem(DialogRef dialog, DialogItemIndex item)
{
    const Rect box = ItemBox(dialog, item);
    Draw3dLine(Point{box.top, box.left}, Point{box.top, box.right});
}

void DrawListItem(DialogRef dialog, DialogItemIndex item) { DrawItemList(dialog, item, G_2ListHdl); }

// The text of the current subject shown in item 7, selected whole.
void ShowSubjectText(DialogRef dialog)
{
    gSearch->shown = Subject();
    SetText(dialog, kCriterionText, gSearch->texts[gSearch->shown]);
    SelectDialogItemText(dialog, kCriterionText, 0, 32767);
}

bool KindChecked(int16_t kind, void* record)
{
    return filterrec::TstFlag(static_cast<Handle>(record), kind);
}

// OK's checks: a date is rewritten in the date format (false, with
// today's date shown, when it is no date); a number in its normal form.
bool AcceptText(DialogRef dialog, unsigned char* text)
{
    GetText(text, dialog, kCriterionText);
    if (Subject() == filterrec::kDateSubject) {
        datum date{0, 0, 0};
        evaldate(text, &date);
        if (text[0] == 0 || !datevalide(date) || date.year == 0) {
            SysBeep(1);
            Today(text);
            SetText(dialog, kCriterionText, text);
            SelectDialogItemText(dialog, kCriterionText, 0, 32767);
            return false;
        }
        mystrdate(date, text, kShortDate);
    } else if (Subject() == filterrec::kNumberSubject) {
        int32_t n = 0;
        StringToNum(text, &n);
        NumToString(n, text);
    }
    return true;
}

// False (the record as it was, the shortage shown) when it cannot grow.
bool Confirm(DialogRef dialog, Handle record, const unsigned char* text, uint8_t* scopeOut)
{
    filterrec::FirstTerm term;
    filterrec::ReadFirstTerm(record, &term);
    for (int16_t row = 0; row < ListRows(G_2ListHdl); ++row) {
        const uint8_t hi = CellByte(G_2ListHdl, row, kKindCellKind), lo = CellByte(G_2ListHdl, row, kKindCellKind + 1);
        const int16_t kind = int16_t(hi << 8 | lo);
        if (kind < 1 || kind > 30) continue;
        CellByte(G_2ListHdl, row, kKindCellChecked) ? BitSet(term.flags, kind) : BitClr(term.flags, kind);
    }
    for (const TriState& t : kTriStates) {
        const int16_t value = GetItemVal(dialog, t.item);
        if (value == 2) {
            BitClr(term.flags, t.test);
            continue;
        }
        BitSet(term.flags, t.test);
        value != 0 ? BitSet(term.flags, t.test + 1) : BitClr(term.flags, t.test + 1);
    }
    term.subject = uint8_t(Subject());
    term.op = uint8_t(G_SearchWhatValue);
    GetItemVal(dialog, kSearchInside) ? BitSet(term.flags, filterrec::kSearchInside)
                                      : BitClr(term.flags, filterrec::kSearchInside);
    std::memcpy(term.text, text, size_t(text[0]) + 1);
    if (filterrec::WriteFirstTerm(record, term) != noErr) {
        ErrMsg(memFullErr);
        return false;
    }
    if (scopeOut) *scopeOut = G_SearchWhere == 1 ? 1 : 0;
    return true;
}

}  // namespace

int16_t AddKindRows(ListHandle list, bool (*checked)(int16_t, void*), void* context)
{
    int16_t made = 0;
    TypeNum order;
    for (int16_t kind = order.Next(); kind != -1; kind = order.Next()) {
        uint8_t cell[kKindCellLength] = {0};
        MyGetIndString(cell, kKindNames, kind);
        if (cell[0] == 0) continue;  // a kind without a name has no row
        WriteBE16(cell + kKindCellKind, uint16_t(kind));
        cell[kKindCellChecked] = checked(kind, context) ? 1 : 0;
        const int16_t row = LAddRow(1, ListRows(list), list);
        LSetCell(cell, kKindCellLength, Cell{row, 0}, list);
        ++made;
    }
    return made;
}

void GetSearchFilter_SetPopBox(DialogRef dialog, int16_t item)
{
    const Rect box = ItemBox(dialog, item);
    Str255 text;
    PopUpText(item, text);
    pp_Brz_PopUpDraw(&box, 0, 0, text);
}

void SearchFilter_DlogCmd(bool check)
{
    for (int16_t row = 0; row < ListRows(G_2ListHdl); ++row) SetCellByte(G_2ListHdl, row, kKindCellChecked, check);
}

Boolean SearchClickLoop()
{
    gKindDrag.Step();
    return true;
}

void ClickKindList(ListHandle list, Point local, uint16_t modifiers)
{
    gKindDrag.Begin(list, KindStateAt, local);
    LClick(local, modifiers, list);
    gKindDrag.End();
}

void DrawSearchDialog(DialogRef dialog) { ValidateDialog(dialog); }

Boolean SearchFilter(DialogRef dialog, EventRecord* event, DialogItemIndex* item)
{
    if (DefaultFilter(dialog, event, item) || DrawOnUpdate(dialog, *event, item, DrawSearchDialog)) return true;
    SelectAllWhileActive(dialog, *event);
    Point local{};
    if (!ContentClick(dialog, *event, &local)) return false;
    DialogPortScope port(dialog);
    bool consumed = false;
    const auto inside = [&](int16_t i) {
        const Rect box = ItemBox(dialog, i);
        return PtInRect(local, &box);
    };
    if (inside(kKindHeader)) {
        SearchFilter_DlogCmd(!(event->modifiers & optionKey));
    } else if (inside(kSubjectPopUp)) {
        if (const int16_t chosen = PopUp(dialog, kSubjectPopUp, 5, 3, Subject())) G_SearchWhat = chosen;
    } else if (inside(kOperatorPopUp)) {
        const int16_t s = Subject();
        if (const int16_t chosen = PopUp(dialog, kOperatorPopUp, int16_t(kOperatorBase[s] + 1), kOperators[s],
                                         G_SearchWhatValue))
            G_SearchWhatValue = chosen;
    } else if (G_IsSearch && inside(kScopePopUp)) {
        if (const int16_t chosen = PopUp(dialog, kScopePopUp, 21, 2, G_SearchWhere)) G_SearchWhere = chosen;
    } else if (inside(kKindList) && G_2ListHdl) {
        ClickKindList(G_2ListHdl, local, event->modifiers);
        consumed = true;
        const Rect cells = ItemListCells(dialog, kKindList);
        if (PtInRect(local, &cells)) *item = kKindList;
    }
    return consumed;
}

int16_t GetSearchFilter(Handle record, uint8_t* scopeOut, bool isSearch)
{
    GrafPtr callerPort = nullptr;
    GetPort(&callerPort);
    if (!record) return 0;
    SearchState state;
    // Each subject's text until the record's own replaces it.
    Today(state.texts[filterrec::kDateSubject]);
    NumToString(1, state.texts[filterrec::kNumberSubject]);
    Handle dlog = nullptr, bits = nullptr;
    Rect saveRect{};
    DLogSaveScreen(FourCC("DLOG"), kSearchDialog, &dlog, &bits, &saveRect);
    DialogRef dialog = MyGetNewDialog(kSearchDialog, nullptr, reinterpret_cast<WindowRef>(-1));
    int16_t result = 0;
    if (dialog) {
        SearchState* outer = gSearch;
        const bool outerMode = G_IsSearch;
        ListHandle outerList = G_2ListHdl;
        gSearch = &state;
        state.dialog = dialog;
        G_IsSearch = isSearch;
        G_SearchFilterHdl = record;
        PenSize(1, 1);
        if (!isSearch) SetText(dialog, kModeNote, reinterpret_cast<const unsigned char*>("\0"));
        Str255 title;
        MyGetIndString(title, kTexts, isSearch ? 1 : 2);
        if (ControlRef ok = nullptr; GetDialogItemAsControl(dialog, kSearchOK, &ok) == noErr) SetControlTitle(ok, title);
        SetText(dialog, kModeTitle, title);
        if (!isSearch) HideDialogItem(dialog, kScopePopUp);

        HLock(record);
        filterrec::FirstTerm term;
        filterrec::ReadFirstTerm(record, &term);
        G_SearchWhat = term.subject;
        G_SearchWhatValue = int16_t(std::clamp<int>(term.op, 1, kOperators[term.subject]));
        SetItemVal(dialog, kSearchInside, BitTst(term.flags, filterrec::kSearchInside));
        datum date{0, 0, 0};
        if (term.subject != filterrec::kDateSubject) {
            std::memcpy(state.texts[term.subject], term.text, size_t(term.text[0]) + 1);
        } else if (evaldate(term.text, &date), term.text[0] && datevalide(date) && date.year != 0) {
            std::memcpy(state.texts[term.subject], term.text, size_t(term.text[0]) + 1);
        }
        ShowSubjectText(dialog);

        G_2ListHdl = NewItemList(dialog, kKindList, kKindListDef, SearchClickLoop);
        for (const TriState& t : kTriStates) {
            if (ControlRef c = nullptr; GetDialogItemAsControl(dialog, t.item, &c) == noErr) {
                SetControlMinimum(c, 0);
                SetControlMaximum(c, 2);
            }
            const bool tested = BitTst(term.flags, t.test);
            SetItemVal(dialog, t.item, tested ? int16_t(BitTst(term.flags, t.test + 1)) : 2);
        }
        if (G_2ListHdl) {
            LSetDrawingMode(false, G_2ListHdl);
            AddKindRows(G_2ListHdl, KindChecked, record);
            LSetDrawingMode(true, G_2ListHdl);
        }
        HUnlock(record);
        ShowAllOrNone(dialog);
        SetItemDrawing(dialog, kKindHeader, DrawHeaderItem);
        SetItemDrawing(dialog, kSubjectPopUp, DrawPopUpItem);
        SetItemDrawing(dialog, kOperatorPopUp, DrawPopUpItem);
        SetItemDrawing(dialog, kScopePopUp, DrawPopUpItem);
        SetItemDrawing(dialog, kKindList, DrawListItem);
        SetItemDrawing(dialog, kSeparator, DrawSeparatorItem);
        ShowModal(dialog, kSearchOK, DrawSearchDialog);

        int16_t hit = 0;
        while (G_2ListHdl && hit != kSearchOK && hit != kSearchCancel) {
            MyModalDialog(SearchFilter, &hit);
            switch (hit) {
            case kSubjectPopUp:
                if (Subject() != state.shown) {
                    GetText(state.texts[state.shown], dialog, kCriterionText);
                    G_SearchWhatValue = 1;
                    ShowSubjectText(dialog);
                }
                GetSearchFilter_SetPopBox(dialog, kSubjectPopUp);
                GetSearchFilter_SetPopBox(dialog, kOperatorPopUp);
                break;
            case kOperatorPopUp:
            case kScopePopUp: GetSearchFilter_SetPopBox(dialog, hit); break;
            case kKindHeader:
            case kKindList: ShowAllOrNone(dialog); break;
            case kCriterionText:
                if (Subject() == filterrec::kNameSubject) {
                    Str255 text;
                    GetText(text, dialog, kCriterionText);
                    if (text[0] > kLongestNameText) {
                        SysBeep(1);
                        text[0] = kLongestNameText;
                        SetText(dialog, kCriterionText, text);
                        SelectDialogItemText(dialog, kCriterionText, kLongestNameText, kLongestNameText);
                    }
                }
                break;
            case kAllKinds:
            case kNoKind:
                if (GetItemVal(dialog, hit) == 0) {
                    SearchFilter_DlogCmd(hit == kAllKinds);
                    SetItemVal(dialog, kAllKinds, hit == kAllKinds);
                    SetItemVal(dialog, kNoKind, hit == kNoKind);
                }
                break;
            case kSearchInside: SetItemVal(dialog, hit, !GetItemVal(dialog, hit)); break;
            case kDocumentedBox:
            case kUnusedBox:
            case kBlockedBox: SetItemVal(dialog, hit, int16_t((std::clamp<int16_t>(GetItemVal(dialog, hit), 0, 2) + 1) % 3)); break;
            case kSearchOK: {
                Str255 text;
                if (!AcceptText(dialog, text)) {
                    hit = 0;
                    break;
                }
                result = Confirm(dialog, record, text, scopeOut) ? 1 : 0;
                break;
            }
            default: break;
            }
        }
        if (G_2ListHdl) LDispose(G_2ListHdl);
        MyDisposDialog(dialog);
        gSearch = outer;
        G_IsSearch = outerMode;
        G_2ListHdl = outerList;
    }
    DLogRestoreScreen(dlog, bits, &saveRect, false);
    DisableFunc(26);
    SetPort(callerPort);
    return result;
}

}  // namespace browser
