#include <algorithm>
#include <cstring>
#include <new>

#include "platform/core/Errors.h"
#include "platform/drag/DragData.h"
#include "platform/drawing/Regions.h"

namespace platform {
namespace {

std::vector<DragRef>& Drags()
{
    static auto* drags = new std::vector<DragRef>;
    return *drags;
}

DragItem* FindItem(DragRef drag, DragItemRef item)
{
    for (DragItem& i : drag->items)
        if (i.ref == item) return &i;
    return nullptr;
}

OSErr FindFlavor(DragRef drag, DragItemRef item, FlavorType type, DragFlavor** flavor)
{
    if (!IsDrag(drag)) return badDragRefErr;
    DragItem* i = FindItem(drag, item);
    if (!i) return badDragItemErr;
    for (DragFlavor& f : i->flavors)
        if (f.type == type) {
            *flavor = &f;
            return noErr;
        }
    return badDragFlavorErr;
}

}  // namespace

bool IsDrag(DragRef drag)
{
    const auto& d = Drags();
    return drag && std::find(d.begin(), d.end(), drag) != d.end();
}

OSErr NewDrag(DragRef* drag)
{
    if (!drag) return paramErr;
    auto* d = new (std::nothrow) OpaqueDragRef;
    if (!d) return memFullErr;
    try {
        Drags().push_back(d);
    } catch (const std::bad_alloc&) {
        delete d;
        return memFullErr;
    }
    *drag = d;
    return noErr;
}

OSErr DisposeDrag(DragRef drag)
{
    if (!IsDrag(drag)) return badDragRefErr;
    HideDragHilite(drag);
    Drags().erase(std::find(Drags().begin(), Drags().end(), drag));
    delete drag;
    return noErr;
}

OSErr AddDragItemFlavor(DragRef drag, DragItemRef item, FlavorType type, const void* data, Size size, FlavorFlags flags)
{
    if (!IsDrag(drag)) return badDragRefErr;
    if (size < 0) return paramErr;
    try {
        DragItem* i = FindItem(drag, item);
        if (!i) {
            drag->items.push_back(DragItem{item, {}});
            i = &drag->items.back();
        }
        for (const DragFlavor& f : i->flavors)
            if (f.type == type) return duplicateFlavorErr;
        DragFlavor f{type, flags, {}, data == nullptr};
        if (data) f.data.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
        else f.flags |= flavorDataPromised;
        i->flavors.push_back(std::move(f));
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
    return noErr;
}

OSErr SetDragItemFlavorData(DragRef drag, DragItemRef item, FlavorType type, const void* data, Size size,
                            uint32_t offset)
{
    DragFlavor* f = nullptr;
    if (OSErr err = FindFlavor(drag, item, type, &f)) return err;
    if (size < 0 || (size > 0 && !data)) return paramErr;
    try {
        if (f->data.size() < size_t(offset) + size_t(size)) f->data.resize(size_t(offset) + size_t(size));
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
    if (size > 0) std::memcpy(f->data.data() + offset, data, size_t(size));
    f->promised = false;
    f->flags &= ~flavorDataPromised;
    return noErr;
}

OSErr SetDragSendProc(DragRef drag, DragSendDataUPP proc, void* refCon)
{
    if (!IsDrag(drag)) return badDragRefErr;
    drag->sendProc = proc;
    drag->sendRefCon = refCon;
    return noErr;
}

OSErr CountDragItems(DragRef drag, uint16_t* count)
{
    if (!IsDrag(drag)) return badDragRefErr;
    if (count) *count = uint16_t(drag->items.size());
    return noErr;
}

OSErr GetDragItemReferenceNumber(DragRef drag, uint16_t index, DragItemRef* item)
{
    if (!IsDrag(drag)) return badDragRefErr;
    if (index < 1 || index > drag->items.size()) return badDragItemErr;
    if (item) *item = drag->items[index - 1].ref;
    return noErr;
}

OSErr CountDragItemFlavors(DragRef drag, DragItemRef item, uint16_t* count)
{
    if (!IsDrag(drag)) return badDragRefErr;
    DragItem* i = FindItem(drag, item);
    if (!i) return badDragItemErr;
    if (count) *count = uint16_t(i->flavors.size());
    return noErr;
}

OSErr GetFlavorType(DragRef drag, DragItemRef item, uint16_t index, FlavorType* type)
{
    if (!IsDrag(drag)) return badDragRefErr;
    DragItem* i = FindItem(drag, item);
    if (!i) return badDragItemErr;
    if (index < 1 || index > i->flavors.size()) return badDragFlavorErr;
    if (type) *type = i->flavors[index - 1].type;
    return noErr;
}

OSErr GetFlavorFlags(DragRef drag, DragItemRef item, FlavorType type, FlavorFlags* flags)
{
    DragFlavor* f = nullptr;
    OSErr err = FindFlavor(drag, item, type, &f);
    if (flags) *flags = err ? 0 : f->flags;
    return err;
}

OSErr GetFlavorDataSize(DragRef drag, DragItemRef item, FlavorType type, Size* size)
{
    DragFlavor* f = nullptr;
    OSErr err = FindFlavor(drag, item, type, &f);
    if (size) *size = err ? 0 : Size(f->data.size());
    return err;
}

OSErr GetFlavorData(DragRef drag, DragItemRef item, FlavorType type, void* data, Size* size, uint32_t offset)
{
    if (!size || *size < 0) return paramErr;
    DragFlavor* f = nullptr;
    if (OSErr err = FindFlavor(drag, item, type, &f)) {
        *size = 0;
        return err;
    }
    if (f->promised) {
        if (!drag->sendProc) return cantGetFlavorErr;
        OSErr err = drag->sendProc(type, drag->sendRefCon, item, drag);
        if (FindFlavor(drag, item, type, &f) != noErr || f->promised) return err ? err : cantGetFlavorErr;
    }
    if (offset > f->data.size()) {
        *size = 0;
        return noErr;
    }
    const size_t n = std::min<size_t>(size_t(*size), f->data.size() - offset);
    if (n > 0 && !data) return paramErr;
    if (n > 0) std::memcpy(data, f->data.data() + offset, n);
    *size = Size(n);
    return noErr;
}

OSErr SetDragAllowableActions(DragRef drag, DragActions actions, Boolean isLocal)
{
    if (!IsDrag(drag)) return badDragRefErr;
    (isLocal ? drag->allowedLocal : drag->allowedRemote) = actions;
    return noErr;
}

OSErr GetDragAllowableActions(DragRef drag, DragActions* actions)
{
    if (!IsDrag(drag)) return badDragRefErr;
    // Every drag stays in this process.
    if (actions) *actions = drag->allowedLocal;
    return noErr;
}

void ForgetDrags()
{
    for (DragRef d : Drags()) {
        if (d->hilite) DisposeRgn(d->hilite);
        delete d;
    }
    Drags().clear();
}

}  // namespace platform
