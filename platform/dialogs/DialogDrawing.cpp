// Drawing a dialog's items: white content, the theme's controls and text,
// icons, pictures and the application's own user items.
#include <algorithm>
#include <new>

#include "platform/core/Clock.h"
#include "platform/dialogs/DialogRecord.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/fonts/SystemResFile.h"
#include "platform/icons/Icons.h"
#include "platform/pictures/Pictures.h"
#include "platform/text/SingleByteSets.h"
#include "platform/theme/Theme.h"

namespace platform {
namespace {

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

// The port's background: white unless the application set another.
void EraseBackground(const Rect& r) { EraseRect(&r); }

std::u16string Unicode(const std::string& macRoman)
{
    std::u16string u;
    u.reserve(macRoman.size());
    for (char c : macRoman) u.push_back(MacRomanToUnicode(uint8_t(c)));
    return u;
}

void DrawText(const std::string& text, const Rect& box)
{
    RGBColor fore, black{0, 0, 0};
    GetForeColor(&fore);
    RGBForeColor(&black);
    DrawThemeTextBox(Unicode(text), kThemeSystemFont, kThemeStateActive, true, &box, teFlushDefault, nullptr);
    RGBForeColor(&fore);
}

const Rect kAlertIconBox{10, 20, 42, 52};

void DrawIconItem(const DialogItem& item)
{
    if (item.handle) {
        PlotIcon(&item.box, item.handle);
        return;
    }
    if (CIconHandle color = GetCIcon(item.resourceId)) {
        PlotCIcon(&item.box, color);
        DisposeCIcon(color);
    } else if (Handle icon = GetIcon(item.resourceId)) {
        PlotIcon(&item.box, icon);
    }
}

void DrawPictureItem(const DialogItem& item)
{
    PicHandle pic = item.handle ? reinterpret_cast<PicHandle>(item.handle) : GetPicture(item.resourceId);
    if (pic) DrawPicture(pic, &item.box);
}

}  // namespace

int16_t StaticTextHeight(const std::string& text, int16_t width)
{
    Point size{0, width};
    if (GetThemeTextDimensions(Unicode(text), kThemeSystemFont, kThemeStateActive, true, &size, nullptr) != noErr)
        return 0;
    return size.v;
}

void DrawItem(DialogRef dialog, DialogItemIndex index)
{
    DialogItem* item = ItemAt(dialog, index);
    if (!item || item->hidden) return;
    switch (item->Kind()) {
    case statText:
        try {
            DrawText(ExpandParams(HandleText(item->text)), item->box);
        } catch (const std::bad_alloc&) {
            // Short memory leaves the text undrawn; the next update tries again.
        }
        break;
    case editText: DrawEditText(dialog, index); break;
    case iconItem: DrawIconItem(*item); break;
    case picItem: DrawPictureItem(*item); break;
    case userItem:
        if (item->proc) {
            // The procedure may change the pen and colours: they come back.
            PenState pen;
            GetPenState(&pen);
            RGBColor fore, back;
            GetForeColor(&fore);
            GetBackColor(&back);
            item->proc(dialog, index);
            SetPort(GetWindowPort(dialog->window));
            SetPenState(&pen);
            RGBForeColor(&fore);
            RGBBackColor(&back);
        }
        break;
    default:
        if (item->control) Draw1Control(item->control);
        break;
    }
}

void RedrawItem(DialogRef dialog, DialogItemIndex index)
{
    DialogItem* item = ItemAt(dialog, index);
    if (!item || !IsWindowVisible(dialog->window)) return;
    DialogPortScope port(dialog);
    if (item->Kind() == statText || item->Kind() == editText || item->Kind() == iconItem ||
        item->Kind() == picItem)
        EraseBackground(item->box);
    DrawItem(dialog, index);
}

void DrawDialog(DialogRef dialog)
{
    if (!IsLiveDialog(dialog)) return;
    DialogPortScope port(dialog);
    Rect content;
    GetPortBounds(GetWindowPort(dialog->window), &content);
    EraseBackground(content);
    if (dialog->alertIcon >= 0) OpenSystemResFile();
    if (dialog->alertIcon >= 0)
        if (Handle icon = GetIcon(dialog->alertIcon)) PlotIcon(&kAlertIconBox, icon);
    for (size_t i = 0; i < dialog->items.size(); ++i) DrawItem(dialog, DialogItemIndex(i + 1));
    dialog->drawn = true;
}

void UpdateDialog(DialogRef dialog, RgnHandle region)
{
    if (!IsLiveDialog(dialog)) return;
    if (!region) return DrawDialog(dialog);
    DialogPortScope port(dialog);
    Rect bounds;
    GetRegionBounds(region, &bounds);
    EraseBackground(bounds);
    if (dialog->alertIcon >= 0 && RectInRgn(&kAlertIconBox, region))
        if (Handle icon = GetIcon(dialog->alertIcon)) PlotIcon(&kAlertIconBox, icon);
    for (size_t i = 0; i < dialog->items.size(); ++i) {
        Rect r = dialog->items[i].box;
        InsetRect(&r, -4, -4);  // edit frames and rings reach outside
        if (RectInRgn(&r, region)) DrawItem(dialog, DialogItemIndex(i + 1));
    }
}

void FlashButton(DialogRef dialog, DialogItemIndex index)
{
    DialogItem* item = ItemAt(dialog, index);
    if (!item || !item->control) return;
    HiliteControl(item->control, kControlButtonPart);
    uint32_t done = 0;
    Delay(8, &done);
    if (IsLiveDialog(dialog)) HiliteControl(item->control, 0);
}

}  // namespace platform
