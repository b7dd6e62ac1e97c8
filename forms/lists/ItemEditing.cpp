// The end of in-place editing in an item list.
#include <cstring>

#include "forms/lists/ItemDrawing.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/views/VFrame.h"
#include "toolbox/views/VFrameTextEdit.h"

namespace {

void HideAndRelease(VObject** object)
{
    if (auto* frame = dynamic_cast<VFrame*>(*object)) frame->SetVisible(false);
    delete *object;
    *object = nullptr;
}

}  // namespace

void StopEditInList(itemlistrec* list)
{
    if (!list->editFrame) return;
    ItemHandle item = GetListItem(list, list->selected);
    auto* edit = dynamic_cast<VFrameTextEdit*>(list->editFrame);
    if (item && edit) {
        VText text;
        edit->GetText(text);
        unsigned char bytes[256];
        text.ToPString(bytes, 255, kCharSetMac);
        SetListItemText(list, item, bytes);
        list->lastEdited = list->selected;
        list->edited = 1;
    }
    HideAndRelease(&list->editFrame);
    HideAndRelease(&list->secondFrame);
}

bool UseNatifControl() { return true; }
