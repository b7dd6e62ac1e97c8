#include "platform/collections/Collections.h"

#include <cstring>
#include <new>
#include <vector>

#include "platform/core/Errors.h"

namespace platform {

struct OpaqueCollection {
    struct Item {
        OSType tag;
        int32_t id;
        std::vector<uint8_t> bytes;
    };
    std::vector<Item> items;

    Item* Find(OSType tag, int32_t id)
    {
        for (Item& i : items)
            if (i.tag == tag && i.id == id) return &i;
        return nullptr;
    }
};

Collection NewCollection() { return new (std::nothrow) OpaqueCollection; }

void DisposeCollection(Collection c) { delete c; }

OSErr AddCollectionItem(Collection c, OSType tag, int32_t id, int32_t itemSize, const void* itemData)
{
    if (!c || itemSize < 0 || (itemSize > 0 && !itemData)) return paramErr;
    try {
        const auto* bytes = static_cast<const uint8_t*>(itemData);
        std::vector<uint8_t> copy(bytes, bytes + itemSize);
        if (auto* existing = c->Find(tag, id)) existing->bytes = std::move(copy);
        else c->items.push_back({tag, id, std::move(copy)});
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSErr GetCollectionItem(Collection c, OSType tag, int32_t id, int32_t* itemSize, void* itemData)
{
    if (!c) return paramErr;
    const auto* item = c->Find(tag, id);
    if (!item) return collectionItemNotFoundErr;
    if (itemSize) *itemSize = int32_t(item->bytes.size());
    if (itemData && !item->bytes.empty()) std::memcpy(itemData, item->bytes.data(), item->bytes.size());
    return noErr;
}

int32_t CountCollectionItems(Collection c) { return c ? int32_t(c->items.size()) : 0; }

}  // namespace platform
