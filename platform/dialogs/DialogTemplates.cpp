#include "platform/dialogs/DialogTemplates.h"

#include <cstring>
#include <new>

#include "platform/core/Endian.h"

namespace platform {
namespace {

int16_t I16(const uint8_t* b, size_t off) { return int16_t(ReadBE16(b + off)); }
Rect RectAt(const uint8_t* b, size_t off) { return Rect{I16(b, off), I16(b, off + 2), I16(b, off + 4), I16(b, off + 6)}; }

}  // namespace

bool ParseDialogTemplate(const uint8_t* b, size_t size, DialogTemplate* out)
{
    constexpr size_t kFixed = 20;
    if (!b || !out || size < kFixed + 1) return false;
    const size_t titleLength = b[kFixed];
    if (size < kFixed + 1 + titleLength) return false;
    out->bounds = RectAt(b, 0);
    out->procID = I16(b, 8);
    out->visible = b[10] != 0;
    out->goAway = b[12] != 0;
    out->refCon = int32_t(ReadBE32(b + 14));
    out->itemsID = I16(b, 18);
    std::memcpy(out->title, b + kFixed, titleLength + 1);
    size_t at = kFixed + 1 + titleLength;
    at += at & 1;
    out->position = size >= at + 2 ? ReadBE16(b + at) : 0;
    return true;
}

bool ParseAlertTemplate(const uint8_t* b, size_t size, AlertTemplate* out)
{
    if (!b || !out || size < 12) return false;
    out->bounds = RectAt(b, 0);
    out->itemsID = I16(b, 8);
    out->stages = ReadBE16(b + 10);
    out->position = size >= 14 ? ReadBE16(b + 12) : 0;
    return true;
}

bool ParseItemList(const uint8_t* b, size_t size, std::vector<ItemTemplate>* out)
{
    if (!b || !out || size < 2) return false;
    const int32_t count = int32_t(I16(b, 0)) + 1;
    if (count < 0) return false;
    // Each item takes at least 14 bytes: a count past that is a lie.
    if (size_t(count) > (size - 2) / 14) return false;
    std::vector<ItemTemplate> items;
    try {
        items.reserve(size_t(count));
        size_t at = 2;
        for (int32_t i = 0; i < count; ++i) {
            if (size - at < 14) return false;
            ItemTemplate item;
            item.box = RectAt(b, at + 4);
            item.type = b[at + 12];
            const size_t length = b[at + 13];
            at += 14;
            if (size - at < length) return false;
            item.data.assign(reinterpret_cast<const char*>(b + at), length);
            const uint8_t kind = item.type & 0x7F;
            if (kind == 7 || kind == 32 || kind == 64) {
                if (length < 2) return false;
                item.resourceId = I16(b, at);
            }
            at += length + (length & 1);
            if (at > size) at = size;  // a last item may leave its filler out
            items.push_back(std::move(item));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    *out = std::move(items);
    return true;
}

Rect PlaceWindowBounds(const Rect& bounds, uint16_t position, const Rect& screen, int16_t menuBarHeight)
{
    const int32_t width = bounds.right - bounds.left;
    const int32_t height = bounds.bottom - bounds.top;
    const int32_t top = screen.top + menuBarHeight;
    const int32_t room = screen.bottom - top;
    int32_t left = bounds.left, v = bounds.top;
    switch (position) {
    case kWindowCenterMainScreen:
    case kWindowCenterParentWindow:
    case kWindowCenterParentWindowScreen:
        left = screen.left + (screen.right - screen.left - width) / 2;
        v = top + (room - height) / 2;
        break;
    case kWindowAlertPositionMainScreen:
    case kWindowAlertPositionParentWindow:
    case kWindowAlertPositionParentWindowScreen:
        left = screen.left + (screen.right - screen.left - width) / 2;
        v = top + (room - height) / 3;
        break;
    default: return bounds;
    }
    return Rect{int16_t(v), int16_t(left), int16_t(v + height), int16_t(left + width)};
}

}  // namespace platform
