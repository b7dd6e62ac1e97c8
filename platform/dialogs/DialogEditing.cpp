// Edit text items: one record of the text engine per item, the keyboard
// focus that Tab moves between them, and the editing commands.
#include <algorithm>

#include "platform/core/Memory.h"
#include "platform/dialogs/DialogRecord.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/theme/Theme.h"

namespace platform {
namespace {

constexpr uint8_t kTab = 0x09;

class DialogPortScope {
public:
    explicit DialogPortScope(DialogRef d)
    {
        GetPort(&saved_);
        SetPortWindowPort(d->window);
    }
    ~DialogPortScope() { SetPort(saved_); }

private:
    GrafPtr saved_ = nullptr;
};

DialogItem* EditItem(DialogRef d, DialogItemIndex index)
{
    DialogItem* item = ItemAt(d, index);
    return item && item->IsEditText() && item->te ? item : nullptr;
}

// The item's text handle takes the record's text.
void Follow(DialogItem& item)
{
    CharsHandle text = TEGetText(item.te);
    const Size n = text ? GetHandleSize(text) : 0;
    SetHandleSize(item.text, n);
    if (MemError() == noErr && n > 0) BlockMoveData(*text, *item.text, n);
}

DialogItemIndex NextEditText(DialogRef d, DialogItemIndex from, bool backwards)
{
    const int32_t n = int32_t(d->items.size());
    for (int32_t step = 1; step <= n; ++step) {
        const int32_t i = ((from - 1 + (backwards ? -step : step)) % n + n) % n;
        const DialogItem& item = d->items[size_t(i)];
        if (item.IsEditText() && !item.hidden && item.te) return DialogItemIndex(i + 1);
    }
    return 0;
}

}  // namespace

bool MakeEditTexts(DialogRef d)
{
    DialogPortScope port(d);
    for (DialogItem& item : d->items) {
        if (!item.IsEditText()) continue;
        item.te = TENew(&item.box, &item.box);
        if (!item.te) return false;
        HLock(item.text);
        TESetText(*item.text, GetHandleSize(item.text), item.te);
        HUnlock(item.text);
        TEDeactivate(item.te);
    }
    for (size_t i = 0; i < d->items.size(); ++i)
        if (d->items[i].te) {
            FocusEditText(d, DialogItemIndex(i + 1), 0, INT16_MAX);
            break;
        }
    return true;
}

void DisposeEditTexts(DialogRef d)
{
    for (DialogItem& item : d->items) {
        if (item.te) TEDispose(item.te);
        item.te = nullptr;
    }
    d->focus = 0;
}

void SetEditText(DialogRef d, DialogItemIndex index)
{
    DialogItem* item = EditItem(d, index);
    if (!item) return;
    DialogPortScope port(d);
    HLock(item->text);
    TESetText(*item->text, GetHandleSize(item->text), item->te);
    HUnlock(item->text);
    TESetSelect(kTEMaxLength, kTEMaxLength, item->te);
}

void FocusEditText(DialogRef d, DialogItemIndex index, int16_t start, int16_t end)
{
    DialogItem* item = EditItem(d, index);
    if (!item) return;
    DialogPortScope port(d);
    if (d->focus != index) {
        if (DialogItem* old = EditItem(d, d->focus)) TEDeactivate(old->te);
        d->focus = index;
    }
    TESetSelect(std::max<int16_t>(start, 0), std::max<int16_t>(end, 0), item->te);
    TEActivate(item->te);
}

bool EditTextKey(DialogRef d, const EventRecord& e)
{
    DialogItem* item = EditItem(d, d->focus);
    if (!item) return false;
    const uint8_t ch = uint8_t(e.message & charCodeMask);
    if (ch == kTab) {
        const DialogItemIndex next = NextEditText(d, d->focus, (e.modifiers & shiftKey) != 0);
        if (next) FocusEditText(d, next, 0, INT16_MAX);
        return true;
    }
    DialogPortScope port(d);
    TEKey(int16_t(ch), item->te);
    Follow(*item);
    return true;
}

void EditTextClick(DialogRef d, DialogItemIndex index, Point where, bool extend)
{
    DialogItem* item = EditItem(d, index);
    if (!item) return;
    if (d->focus != index) {
        FocusEditText(d, index, 0, 0);
        extend = false;
    }
    DialogPortScope port(d);
    TEClick(where, extend, item->te);
}

void DrawEditText(DialogRef d, DialogItemIndex index)
{
    DialogItem* item = EditItem(d, index);
    if (!item) return;
    Rect frame = item->box;
    InsetRect(&frame, -3, -3);
    DrawThemeEditTextFrame(&frame, kThemeStateActive);
    TEUpdate(&item->box, item->te);
}

void EditTextIdle(DialogRef d)
{
    if (DialogItem* item = EditItem(d, d->focus)) {
        DialogPortScope port(d);
        TEIdle(item->te);
    }
}

void SelectDialogItemText(DialogRef dialog, DialogItemIndex item, int16_t start, int16_t end)
{
    if (IsLiveDialog(dialog)) FocusEditText(dialog, item, start, end);
}

DialogItemIndex GetDialogKeyboardFocusItem(DialogRef dialog) { return IsLiveDialog(dialog) ? dialog->focus : 0; }

TEHandle GetDialogTextEditHandle(DialogRef dialog)
{
    const DialogItem* item = IsLiveDialog(dialog) ? EditItem(dialog, dialog->focus) : nullptr;
    return item ? item->te : nullptr;
}

namespace {
template <typename Command>
void OnFocus(DialogRef dialog, Command command)
{
    if (!IsLiveDialog(dialog)) return;
    DialogItem* item = EditItem(dialog, dialog->focus);
    if (!item) return;
    DialogPortScope port(dialog);
    command(item->te);
    Follow(*item);
}
}  // namespace

void DialogCut(DialogRef dialog) { OnFocus(dialog, TECut); }
void DialogCopy(DialogRef dialog) { OnFocus(dialog, TECopy); }
void DialogPaste(DialogRef dialog) { OnFocus(dialog, TEPaste); }
void DialogDelete(DialogRef dialog) { OnFocus(dialog, TEDelete); }

}  // namespace platform
