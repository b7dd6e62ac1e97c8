// The page a form model goes to when the user is asked (GotoPage with -1):
// DLOG 679, the prompt in item 3, the number typed in item 4.
#include "forms/model/LayoutEditor.h"
#include "kernel/helpers/KernelDialogs.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/NumberStrings.h"

namespace {

constexpr int16_t kPromptDialog = 679, kPromptList = 679, kPromptItem = 2;
constexpr platform::DialogItemIndex kOK = 1, kCancel = 2, kNumber = 4;

}  // namespace

bool AskPageNumber(int16_t current, int16_t* page)
{
    using namespace platform;
    unsigned char prompt[256], text[256];
    GetIndString(prompt, kPromptList, kPromptItem);
    ParamText(prompt, nullptr, nullptr, nullptr);
    DialogRef dialog = getposdialog(kPromptDialog, nullptr, reinterpret_cast<WindowRef>(-1));
    if (!dialog) return false;
    SetDialogDefaultItem(dialog, kOK);
    SetDialogCancelItem(dialog, kCancel);
    DialogItemType type = 0;
    Handle item = nullptr;
    Rect box;
    GetDialogItem(dialog, kNumber, &type, &item, &box);
    NumToString(current, text);
    SetDialogItemText(item, text);
    SelectDialogItemText(dialog, kNumber, 0, 32767);
    DialogItemIndex hit = 0;
    do {
        ModalDialog(nullptr, &hit);
    } while (hit != kOK && hit != kCancel && hit != 0);
    if (hit == kOK) {
        GetDialogItemText(item, text);
        int32_t n = 0;
        StringToNum(text, &n);
        *page = int16_t(n < -32768 ? -32768 : n > 32767 ? 32767 : n);
    }
    DisposeDialog(dialog);
    return hit == kOK;
}
