// A look: paints the standard parts of widgets in one visual style and
// answers its standard colours, fonts and layout numbers. The registry
// holds one handler per StdLook (slots 1 to 7) for the life of the
// process; it is empty until the toolbox start-up fills it.
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"
#include "toolbox/drawing/LookTypes.h"
#include "toolbox/foundation/VObject.h"

class VPainter;
class VString;

class VLookHandler : public VObject {
public:
    ~VLookHandler() override;

    // Paints the part in the rectangle (left, top, width, height, painter
    // coordinates); text may be null (no caption), extra carries the
    // method's record. True when painted.
    virtual bool Paint(VPainter* painter, PaintMethod method, PaintStatus status, int32_t left, int32_t top,
                       int32_t width, int32_t height, const VString* text, void* extra) = 0;
    // The colour long of the index, kNoColor when the look has none.
    virtual uint32_t GetStdColor(StdColor color) = 0;
    // The font of the index; false when the look does not know it.
    virtual bool GetStdFont(platform::CGrafPtr port, StdFont font, VString& name, int16_t& size, uint8_t& bold,
                            uint8_t& italic) = 0;
    virtual int32_t GetStdBehaviour(StdBehaviour behaviour) = 0;
};

constexpr int16_t kLookSlotCount = 8;  // slot 0 is not used
// Owned by the registry; index by StdLook 1 to 7.
extern VLookHandler* gLookHandlers[kLookSlotCount];

// The handler of the look for 1 to 7, else that of slot 6; null while the
// slot is empty.
VLookHandler* GetLookHandler(StdLook look);
// The same for the host's current look.
VLookHandler* GetDefaultLookHandler();
// Deletes every handler and empties the registry (shutdown and tests).
void ResetLookHandlers();
