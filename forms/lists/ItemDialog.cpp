// The dialog user item of item lists and the registry of the dialogs that
// show them.
#include "forms/lists/ItemDrawing.h"
#include "platform/controls/Controls.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/fonts/Fonts.h"

using namespace platform;

LliRec* llidlg = nullptr;
int16_t nlli = 0;

namespace {

constexpr int16_t kDialogTextSize = 12;

}  // namespace

int16_t quellli(DialogRef dialog)
{
    for (int16_t k = nlli; k >= 1; --k)
        if (llidlg && llidlg[k - 1].dialog == dialog) return k;
    return 0;
}

void itemlist(DialogRef dialog, DialogItemIndex item)
{
    const int16_t k = quellli(dialog);
    if (k == 0 || item < 1 || item > kLliMaxItems) return;
    itemlistrec* list = llidlg[k - 1].lists[item - 1];
    if (!list || !isaList(list)) return;
    if (list->mode == 1) {
        dessliste(list);
        if (list->scrollBar) ShowControl(list->scrollBar);
    } else {
        DrawxPopup(list);
    }
    if (!list->shown) {
        // Greyed over: every other pixel back to the background.
        PenState pen;
        GetPenState(&pen);
        Pattern gray;
        PenPat(GetQDGlobalsGray(&gray));
        PenMode(patBic);
        PaintRect(&list->area);
        SetPenState(&pen);
    }
    TextFont(systemFont);
    TextSize(kDialogTextSize);
    TextFace(normal);
}
