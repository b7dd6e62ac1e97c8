#include "toolbox/views/VDragScrap.h"

#include "platform/core/Memory.h"
#include "platform/drag/Drag.h"
#include "toolbox/views/VDragger.h"

namespace {

platform::DragRef DragOf(VDragger* dragger) { return dragger ? dragger->GetDragRef() : nullptr; }

}  // namespace

void VDragScrap::GetAvailableKinds(VArrayLong& kinds)
{
    kinds.SetCount(0, 1);
    platform::DragRef drag = DragOf(fDragger);
    if (!drag) return;
    uint16_t items = 0;
    if (platform::CountDragItems(drag, &items) != platform::noErr) return;
    for (uint16_t i = 1; i <= items; ++i) {
        platform::DragItemRef item = 0;
        if (platform::GetDragItemReferenceNumber(drag, i, &item) != platform::noErr) continue;
        uint16_t flavors = 0;
        if (platform::CountDragItemFlavors(drag, item, &flavors) != platform::noErr) continue;
        for (uint16_t f = 1; f <= flavors; ++f) {
            platform::FlavorType type = 0;
            if (platform::GetFlavorType(drag, item, f, &type) != platform::noErr) continue;
            const int32_t n = kinds.GetCount() + 1;
            kinds.SetCount(n, 0);
            if (kinds.GetCount() == n) kinds.FromLong(int32_t(type), n);
        }
    }
}

int32_t VDragScrap::CountAvailableKinds()
{
    VArrayLong kinds;
    GetAvailableKinds(kinds);
    return kinds.GetCount();
}

bool VDragScrap::FindFlavor(uint32_t kind, uint32_t& found, int32_t& size)
{
    platform::DragRef drag = DragOf(fDragger);
    if (!drag) return false;
    uint16_t items = 0;
    if (platform::CountDragItems(drag, &items) != platform::noErr) return false;
    for (uint16_t i = 1; i <= items; ++i) {
        platform::DragItemRef item = 0;
        if (platform::GetDragItemReferenceNumber(drag, i, &item) != platform::noErr) continue;
        platform::FlavorFlags flags = 0;
        platform::Size bytes = 0;
        if (platform::GetFlavorFlags(drag, item, kind, &flags) != platform::noErr) continue;
        if (platform::GetFlavorDataSize(drag, item, kind, &bytes) != platform::noErr || bytes < 0) continue;
        found = item;
        size = int32_t(bytes);
        return true;
    }
    return false;
}

bool VDragScrap::IsKindAvailable(uint32_t kind)
{
    uint32_t item = 0;
    int32_t size = 0;
    return FindFlavor(kind, item, size);
}

int32_t VDragScrap::GetDataSize(uint32_t kind)
{
    uint32_t item = 0;
    int32_t size = 0;
    return FindFlavor(kind, item, size) ? size : 0;
}

char** VDragScrap::GetData(uint32_t kind)
{
    uint32_t item = 0;
    int32_t size = 0;
    if (!FindFlavor(kind, item, size)) return nullptr;
    platform::Handle h = platform::NewHandle(size);
    if (!h) return nullptr;
    platform::HLock(h);
    platform::Size given = size;
    const platform::OSErr err = platform::GetFlavorData(DragOf(fDragger), item, kind, *h, &given, 0);
    platform::HUnlock(h);
    if (err != platform::noErr || given != size) {
        platform::DisposeHandle(h);
        return nullptr;
    }
    return h;
}

bool VDragScrap::PutData(uint32_t kind, const void* data, int32_t size)
{
    platform::DragRef drag = DragOf(fDragger);
    if (!drag || size < 0 || (!data && size > 0)) return false;
    return platform::AddDragItemFlavor(drag, fItem, kind, data, size, 0) == platform::noErr;
}
