// What a drag holds; shared by the drag manager's files.
#pragma once

#include <vector>

#include "platform/drag/Drag.h"

namespace platform {

struct DragFlavor {
    FlavorType type;
    FlavorFlags flags;
    std::vector<uint8_t> data;
    bool promised;
};

struct DragItem {
    DragItemRef ref;
    std::vector<DragFlavor> flavors;
};

}  // namespace platform

struct platform::OpaqueDragRef {
    std::vector<DragItem> items;
    DragSendDataUPP sendProc = nullptr;
    void* sendRefCon = nullptr;
    DragActions allowedLocal = kDragActionAll;
    DragActions allowedRemote = kDragActionAll;
    Point mouse{0, 0};
    int16_t modifiers = 0;
    int16_t downModifiers = 0;
    int16_t upModifiers = 0;
    DragAttributes attributes = 0;
    // The hilite shown (global), null when none.
    RgnHandle hilite = nullptr;
};

namespace platform {
bool IsDrag(DragRef drag);
void ForgetDrags();
}  // namespace platform
