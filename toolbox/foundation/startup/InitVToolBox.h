// Toolbox start-up: one call brings the whole toolbox up, in a fixed
// order, before anything else runs. Nothing undoes it.
#pragma once

#include <cstdint>

#include "toolbox/foundation/HostParm.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/VObject.h"

class VString;
class VFrame;

// The shared tip object: the host shows tips; controls ask whether the
// delay must be waited again.
class VTip : public VObject {
public:
    VTip() = default;
    ~VTip() override;
    int32_t Open(const VString& text, const VFrame& frame, const platform::Point* where);
    void Close(uint8_t flag) { fWait = flag; }
    bool MustWait() const { return fWait != 0; }

private:
    uint8_t fWait = 0;
};

extern VTip* gTip;

// The layers above the foundation (views, drawing, files) register the
// steps they own; each runs at its place in the order, and a step not
// registered is skipped.
struct VToolBoxLayerSteps {
    void (*makeCursor)() = nullptr;         // gCursor
    void (*makeScrap)() = nullptr;          // gScrap
    void (*initPainter)() = nullptr;
    void (*initMenus)() = nullptr;          // VMenu, then VMenuBar
    void (*initTextEditors)() = nullptr;    // classic, multilingual, edit frames
    void (*initFileDialogs)() = nullptr;
    void (*initMovies)() = nullptr;
    void (*initDrawTextBox)() = nullptr;
};
void SetToolBoxLayerSteps(const VToolBoxLayerSteps& steps);

// False when an allocation failed; start-up must then end. The message is
// for the person starting the program.
bool InitVToolBox(HostEntryProc entry, DialectCode dialect);
const char* ToolBoxStartupError();
