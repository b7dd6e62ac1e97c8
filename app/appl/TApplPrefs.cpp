// The general preferences dialog, the filter editor and the group filter.
#include <algorithm>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/appl/CommandHooks.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/appl/Menus.h"
#include "app/windows/PaneHooks.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/windows/TMainWindow.h"
#include "app/appl/Utilities.h"
#include "app/dialogs/Messages.h"
#include "kernel/pstrings/PStrings.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/drawing/Ports.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"

using namespace platform;

namespace {

enum : int16_t {
    kOK = 1,
    kCancel = 2,
    kWidthItem = 10,
    kHeightItem = 11,
    kFirstLayoutItem = 18,  // 18-20: templates 128-130
};

// 'STR#' 1002: the ranges of the sizes, around the largest width and height.
constexpr int16_t kSizeRangeText = 91;
// 'STR#' 1002: before the ranges, when a character that is no digit is typed.
constexpr int16_t kDigitsOnlyText = 113;

// Check box and switch mask of byte 6.
const struct {
    int16_t item;
    uint8_t mask;
} kSwitches[] = {{7, 0x80}, {9, 0x40}, {21, 0x20}, {22, 0x10}};

constexpr int16_t kPrefSize = 8;

void SetNumber(DialogRef dialog, int16_t item, int32_t value)
{
    Str255 text;
    const std::string s = std::to_string(value);
    text[0] = uint8_t(s.size());
    std::copy(s.begin(), s.end(), text + 1);
    SetText(dialog, item, text);
}

// The item's number; -1 when it holds anything but digits, or nothing.
int32_t GetNumber(DialogRef dialog, int16_t item)
{
    Str255 text;
    GetText(text, dialog, item);
    if (text[0] == 0) return -1;
    int32_t value = 0;
    for (int i = 1; i <= text[0]; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = std::min<int32_t>(value * 10 + (text[i] - '0'), 99999);
    }
    return value;
}

constexpr int32_t kLeastSize = 200;

// The largest width and height of a new window on this screen.
int32_t LargestSize(int16_t item)
{
    const Rect screen = ScreenBounds();
    return item == kWidthItem ? screen.right - screen.left - 50 : screen.bottom - screen.top - 50;
}

// Tells the user the sizes' ranges ("... width ... to W, its height ...
// to H."), after `lead` ('STR#' 1002 item, 0 for none).
void SaySizeRanges(int16_t lead)
{
    std::string said;
    Str255 part;
    if (lead) {
        MyGetIndString(part, 1002, lead);
        said.append(reinterpret_cast<const char*>(part + 1), part[0]);
    }
    for (int16_t i = 0; i < 3; ++i) {
        MyGetIndString(part, 1002, int16_t(kSizeRangeText + i));
        said.append(reinterpret_cast<const char*>(part + 1), part[0]);
        if (i < 2) said += std::to_string(LargestSize(i == 0 ? kWidthItem : kHeightItem));
    }
    Str255 text;
    CToPStr(said.data(), int32_t(std::min<size_t>(said.size(), 255)), text);
    XAlert(1000, text, kStopAlert);
}

// Whether both sizes are in their ranges; when one is not, the user is
// told the ranges and the item is selected for typing again.
bool SizesInRange(DialogRef dialog)
{
    for (const int16_t item : {kWidthItem, kHeightItem}) {
        const int32_t value = GetNumber(dialog, item);
        if (value >= kLeastSize && value <= LargestSize(item)) continue;
        SaySizeRanges(0);
        SelectDialogItemText(dialog, item, 0, 32767);
        return false;
    }
    return true;
}

// 'PREF' 0 of the preferences file itself, made (from the record the chain
// answers) when it has none; null when it cannot be made.
Handle OwnPref(const uint8_t* defaults)
{
    Handle pref = Get1Resource(FourCC("PREF"), 0);
    if (pref) {
        SetHandleSize(pref, kPrefSize);
        return GetHandleSize(pref) == kPrefSize ? pref : nullptr;
    }
    pref = NewHandleClear(kPrefSize);
    if (!pref) return nullptr;
    std::copy(defaults, defaults + kPrefSize, reinterpret_cast<uint8_t*>(*pref));
    const unsigned char noName[1] = {0};
    AddResource(pref, FourCC("PREF"), 0, noName);
    if (ResError() != noErr) {
        DisposeHandle(pref);
        return nullptr;
    }
    SetResAttrs(pref, resPurgeable);
    WriteResource(pref);
    return pref;
}

}  // namespace

Boolean PrefFilter(DialogRef dialog, EventRecord* event, DialogItemIndex* item)
{
    if (DefaultFilter(dialog, event, item)) return true;
    if (event->what != keyDown && event->what != autoKey) return false;
    const uint8_t ch = uint8_t(event->message & charCodeMask);
    if ((ch >= '0' && ch <= '9') || ch == 8 || ch == 9) return false;
    // The sizes take digits alone: a character typed is said to be none,
    // other keys only beep.
    if (ch >= ' ' && ch != 0x7F && !(event->modifiers & cmdKey)) SaySizeRanges(kDigitsOnlyText);
    else SysBeep(1);
    return true;
}

int16_t TAppl::Preferences()
{
    SetArrowCursor();
    Handle dlog = nullptr, bits = nullptr;
    Rect saveRect{};
    DLogSaveScreen(FourCC("DLOG"), 259, &dlog, &bits, &saveRect);
    DialogRef dialog = MyGetNewDialog(259, nullptr, reinterpret_cast<WindowRef>(-1));
    const int16_t savedRes = CurResFile();
    if (G_PrefResFile != -1) UseResFile(G_PrefResFile);
    int16_t result = 0;

    Handle chain = dialog && G_PrefResFile != -1 ? GetResource(FourCC("PREF"), 0) : nullptr;
    uint8_t stored[kPrefSize] = {};
    if (chain && *chain) {
        const Size n = std::min<Size>(GetHandleSize(chain), kPrefSize);
        std::copy(*chain, *chain + n, reinterpret_cast<char*>(stored));
    }
    if (chain && *chain && GetHandleSize(chain) >= 7) {
        const int16_t layout = int16_t(ReadBE16(stored));
        SetNumber(dialog, kWidthItem, int16_t(ReadBE16(stored + 2)));
        SetNumber(dialog, kHeightItem, int16_t(ReadBE16(stored + 4)));
        for (int16_t i = 0; i < 3; ++i) SetItemVal(dialog, int16_t(kFirstLayoutItem + i), layout == 128 + i);
        for (const auto& s : kSwitches) SetItemVal(dialog, s.item, (stored[6] & s.mask) != 0);
        ReleaseResource(chain);
        ShowWindow(GetDialogWindow(dialog));
        SelectDialogItemText(dialog, kWidthItem, 0, 32767);
        SetDlogEditMenu();
        DrawDialog(dialog);

        int16_t hit = 0;
        while (hit != kOK && hit != kCancel) {
            MyModalDialog(PrefFilter, &hit);
            for (const auto& s : kSwitches)
                if (hit == s.item) SetItemVal(dialog, hit, !GetItemVal(dialog, hit));
            if (hit >= kFirstLayoutItem && hit < kFirstLayoutItem + 3 && !GetItemVal(dialog, hit))
                for (int16_t i = 0; i < 3; ++i)
                    SetItemVal(dialog, int16_t(kFirstLayoutItem + i), kFirstLayoutItem + i == hit);
            if (hit == kOK && !SizesInRange(dialog)) hit = 0;
        }

        if (hit == kOK) {
            const Rect screen = ScreenBounds();
            const int16_t width = int16_t(GetNumber(dialog, kWidthItem));
            const int16_t height = int16_t(GetNumber(dialog, kHeightItem));
            if (Handle pref = OwnPref(stored)) {
                auto* p = reinterpret_cast<uint8_t*>(*pref);
                bool changed = false;
                if (int16_t(ReadBE16(p + 2)) != width) {
                    WriteBE16(p + 2, uint16_t(width));
                    changed = true;
                }
                if (int16_t(ReadBE16(p + 4)) != height) {
                    WriteBE16(p + 4, uint16_t(height));
                    changed = true;
                }
                if (changed)
                    fDefaultRect = Rect{45, 15, int16_t(screen.bottom - 50), int16_t(screen.right - 50)};
                for (int16_t i = 0; i < 3; ++i)
                    if (GetItemVal(dialog, int16_t(kFirstLayoutItem + i))) {
                        WriteBE16(p, uint16_t(128 + i));
                        break;
                    }
                for (const auto& s : kSwitches) {
                    if (GetItemVal(dialog, s.item)) p[6] = uint8_t(p[6] | s.mask);
                    else p[6] = uint8_t(p[6] & ~s.mask);
                }
                G_ShowID = GetItemVal(dialog, 22) != 0;
                ChangedResource(pref);
                WriteResource(pref);
                UpdateResFile(G_PrefResFile);
                // Not written (a full disk): the file keeps what it had and
                // the command says so.
                result = ResError();
            }
        }
    }
    if (dialog) MyDisposDialog(dialog);
    DLogRestoreScreen(dlog, bits, &saveRect, false);
    UseResFile(savedRes);
    UpdateAll();
    return result;
}

int16_t TAppl::ConflictPreferences()
{
    return CommandHooks().conflictPreferences ? CommandHooks().conflictPreferences() : 0;
}

int16_t TAppl::BlockingPreferences()
{
    return CommandHooks().blockingPreferences ? CommandHooks().blockingPreferences() : 0;
}

int16_t TAppl::DoEditFilters()
{
    // The panes' menus change only with the filters: a cancelled dialog
    // leaves every pane's filter, rows and selection as they were.
    if (!PaneHooks().editFilters || !PaneHooks().editFilters()) return 0;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w))
        if (TWindow* tw = GetTWindow(w); tw && tw->IsMember(3)) {
            SetPortWindowPort(w);
            static_cast<TRefWindow*>(tw)->UpdateFilters();
        }
    SetPort(saved);
    return 0;
}

int16_t TAppl::GroupFilterID()
{
    const int16_t count = CountFilters();
    for (int32_t i = 1; i <= count; ++i) {
        Handle filter = GetIndFilter(i);
        if (!filter || !*filter || GetHandleSize(filter) < 6) continue;
        if (ReadBE32(reinterpret_cast<const uint8_t*>(*filter) + 2) != 0x100) continue;
        return int16_t(127 + i);  // the filters are numbered from 128
    }
    return 128;
}
