#include "toolbox/foundation/startup/InitVToolBox.h"

#include "toolbox/foundation/VCppMemMgr.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VMemoryMgr.h"
#include "toolbox/foundation/intl/VIntlManagerRoot.h"
#include "toolbox/foundation/system/VSystem.h"

VTip* gTip = nullptr;

namespace {

VToolBoxLayerSteps gSteps;
const char* gError = nullptr;

bool Fail(const char* message)
{
    gError = message;
    return false;
}

void Run(void (*step)())
{
    if (step) step();
}

}  // namespace

VTip::~VTip() = default;

int32_t VTip::Open(const VString& text, const VFrame& frame, const platform::Point* where)
{
    return VEngine::CreateTip(text, frame, where);
}

void SetToolBoxLayerSteps(const VToolBoxLayerSteps& steps) { gSteps = steps; }

const char* ToolBoxStartupError() { return gError; }

bool InitVToolBox(HostEntryProc entry, DialectCode dialect)
{
    gError = nullptr;
    constexpr const char* kNoMemory = "Not enough memory to start. Close other programs and try again.";
    InitMemoryManagers();
    if (!gCppMem || !gMemory) return Fail(kNoMemory);
    gCallQz = entry;
    if (!VIntlManagerRoot::Init(dialect)) return Fail(kNoMemory);
    if (!gEngine) gEngine = new VEngine(entry);
    if (!gEngine) return Fail(kNoMemory);
    if (!gSystem) {
        gSystem = new VSystem;
        if (!gSystem) return Fail(kNoMemory);
        gSystem->BuildKindList();
    }
    VIntlManagerRoot::sIntlManagerRoot->InitKeyboardMapping();
    gSystem->BuildFontList();
    Run(gSteps.makeCursor);
    if (!gTip) gTip = new VTip;
    if (!gTip) return Fail(kNoMemory);
    Run(gSteps.makeScrap);
    Run(gSteps.initPainter);
    Run(gSteps.initMenus);
    Run(gSteps.initTextEditors);
    Run(gSteps.initFileDialogs);
    Run(gSteps.initMovies);
    Run(gSteps.initDrawTextBox);
    return true;
}
