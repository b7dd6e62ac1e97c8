// The layouts of dialogs, alerts, item lists and controls ('DLOG', 'ALRT',
// 'DITL', 'CNTL'); an item list that reads is made into a dialog, drawn
// and disposed of.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/controls/ControlTemplate.h"
#include "platform/core/Memory.h"
#include "platform/dialogs/DialogTemplates.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/screen/Screen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace platform;
    static const bool screen = InitScreen(640, 480) == noErr;
    ControlTemplate control;
    ParseControlTemplate(data, size, &control);
    DialogTemplate dialog;
    ParseDialogTemplate(data, size, &dialog);
    AlertTemplate alert;
    ParseAlertTemplate(data, size, &alert);
    std::vector<ItemTemplate> items;
    if (!ParseItemList(data, size, &items) || !screen || items.size() > 64) return 0;
    Handle h = NewHandle(Size(size));
    if (!h) return 0;
    BlockMoveData(data, *h, Size(size));
    const Rect bounds{40, 40, 240, 440};
    const unsigned char title[1] = {0};
    DialogRef d = NewDialog(nullptr, &bounds, title, true, 1, nullptr, false, 0, h);
    DisposeHandle(h);
    if (d) {
        DrawDialog(d);
        Str255 text;
        for (DialogItemIndex i = 1; i <= CountDITL(d); ++i) {
            DialogItemType type = 0;
            Handle item = nullptr;
            Rect box;
            GetDialogItem(d, i, &type, &item, &box);
            if ((type & 0x7F) == statText || (type & 0x7F) == editText) GetDialogItemText(item, text);
        }
        DisposeDialog(d);
    }
    return 0;
}
