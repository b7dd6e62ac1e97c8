// The icons of an item list's items: icon families (colour, large and
// small icons of one id) and pictures of the program or of the structure.
#include <algorithm>

#include "forms/lists/ItemDrawing.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/Ports.h"
#include "platform/icons/Icons.h"
#include "platform/pictures/Pictures.h"
#include "platform/resfiles/Resources.h"

using namespace platform;

namespace {

constexpr int16_t kLargeIcon = 32;
constexpr int16_t kSmallIcon = 16;

// An icon family's size: its colour icon's, else that of its large or
// its small one-bit icon.
void IconFamilyDims(int16_t id, int16_t* width, int16_t* height)
{
    if (CIconHandle icon = GetCIcon(id)) {
        const Rect& b = (*icon)->iconPMap.bounds;
        *width = int16_t(std::max(0, b.right - b.left));
        *height = int16_t(std::max(0, b.bottom - b.top));
        DisposeCIcon(icon);
    } else if (GetResource(FourCC("ICN#"), id)) {
        *width = *height = kLargeIcon;
    } else if (GetResource(FourCC("ics#"), id)) {
        *width = *height = kSmallIcon;
    }
}

}  // namespace

void GetListIconDims(int32_t reference, int16_t* width, int16_t* height)
{
    *width = *height = 0;
    int16_t iconId = 0;
    Handle picture = nullptr;
    ListGetIcon(reference, &iconId, &picture);
    if (picture && *picture) {
        Rect frame{};
        QDGetPictureBounds(picture, &frame);
        *width = int16_t(std::max(0, frame.right - frame.left));
        *height = int16_t(std::max(0, frame.bottom - frame.top));
    } else if (iconId) {
        IconFamilyDims(iconId, width, height);
    }
}

void DrawListIcon(int32_t reference, const Rect* r)
{
    int16_t iconId = 0;
    Handle picture = nullptr;
    ListGetIcon(reference, &iconId, &picture);
    if (!picture || !*picture) return;
    Rect frame{};
    QDGetPictureBounds(picture, &frame);
    const Rect at{r->top, r->left, int16_t(r->top + (frame.bottom - frame.top)), int16_t(r->left + (frame.right - frame.left))};
    RGBColor fore{}, back{};
    GetForeColor(&fore);
    GetBackColor(&back);
    ForeColor(blackColor);
    BackColor(whiteColor);
    DrawPicture(picture, &at);
    RGBForeColor(&fore);
    RGBBackColor(&back);
}
