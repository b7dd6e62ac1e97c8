#include "toolbox/drawing/VLookHandler.h"

#include "toolbox/foundation/VEngine.h"

VLookHandler* gLookHandlers[kLookSlotCount] = {};

VLookHandler::~VLookHandler() = default;

namespace {

VLookHandler* HandlerOf(int32_t look) { return look >= 1 && look <= 7 ? gLookHandlers[look] : gLookHandlers[6]; }

}  // namespace

VLookHandler* GetLookHandler(StdLook look) { return HandlerOf(look); }

// The host answers a long: a value past 16 bits is no look of its own.
VLookHandler* GetDefaultLookHandler() { return HandlerOf(VEngine::GetCurrentLook()); }

void ResetLookHandlers()
{
    for (int16_t i = 0; i < kLookSlotCount; ++i) {
        VLookHandler* handler = gLookHandlers[i];
        if (!handler) continue;
        // A handler placed in several slots is deleted once.
        for (int16_t j = i; j < kLookSlotCount; ++j)
            if (gLookHandlers[j] == handler) gLookHandlers[j] = nullptr;
        delete handler;
    }
}
