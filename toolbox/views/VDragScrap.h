// The data a platform drag carries, seen as a clipboard: every flavour of
// every item can be listed and read, and data is added to the drag as
// flavours of one item.
#pragma once

#include <cstdint>

#include "toolbox/drawing/VScrap.h"
#include "toolbox/foundation/VArrayNumber.h"

class VDragger;

class VDragScrap : public VScrap {
public:
    static constexpr uint32_t kDragItem = 100;

    // The dragger's platform drag is read or filled; not owned.
    explicit VDragScrap(VDragger* dragger, uint32_t item = kDragItem) : fDragger(dragger), fItem(item) {}

    // Empties the list, then adds the type of every flavour of every item.
    void GetAvailableKinds(VArrayLong& kinds);
    int32_t CountAvailableKinds() override;
    bool IsKindAvailable(uint32_t kind) override;
    char** GetData(uint32_t kind) override;
    int32_t GetDataSize(uint32_t kind) override;
    bool PutData(uint32_t kind, const void* data, int32_t size) override;

private:
    // The item holding a readable flavour of the kind, and its size.
    bool FindFlavor(uint32_t kind, uint32_t& item, int32_t& size);

    VDragger* fDragger;
    uint32_t fItem;
};
