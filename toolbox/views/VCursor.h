// The one cursor object of the toolbox, through which every frame shows its
// cursor. Ids: 0 the arrow, 1 to 4 the system cursors (4 the watch), -2 the
// watch, -1 leaves what is shown unchanged, above 4 the 'CURS' resource of
// that id.
#pragma once

#include <cstdint>

#include "platform/cursors/Cursors.h"
#include "toolbox/foundation/VObject.h"

constexpr uint32_t kCursorArrow = 0;
constexpr uint32_t kCursorWatch = 4;
constexpr uint32_t kCursorStartWatch = uint32_t(-2);
constexpr uint32_t kCursorUnchanged = uint32_t(-1);

class VCursor : public VObject {
public:
    // Shows the watch.
    VCursor();
    ~VCursor() override;
    VCursor(const VCursor&) = delete;
    VCursor& operator=(const VCursor&) = delete;

    // A different id is recorded and, unless it is -1, shown.
    void SetCursor(uint32_t id);
    uint32_t GetCursor() const { return fCurrent; }
    // Shows the current id.
    void UseCursor();
    // The id whose shape is on the screen now (what -1 left in place; the
    // arrow when a cursor could not be loaded).
    uint32_t GetShownCursor() const { return fShown; }

private:
    uint32_t fCurrent = kCursorStartWatch;
    uint32_t fShown = kCursorArrow;
    platform::CursHandle fHandle = nullptr;
};

extern VCursor* gCursor;

// Start-up's step: gCursor, once.
void MakeStartupCursor();
