// The cursor object of the toolbox, made once at start-up.
#pragma once

#include "toolbox/foundation/VObject.h"

class VCursor : public VObject {
public:
    // Makes the arrow, the initial cursor, current on the screen.
    VCursor();
    ~VCursor() override;
};

extern VCursor* gCursor;

// Start-up's step: gCursor, once.
void MakeStartupCursor();
