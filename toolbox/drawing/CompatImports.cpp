// The start-up flags of the run-time imports. Nothing is imported at run
// time here: the flags only record that start-up took its steps.
#include "toolbox/drawing/CompatFunctions.h"

namespace {

bool gBundleLoaded = false;
bool gBundleImportsLoaded = false;
bool gCarbonImportsLoaded = false;

}  // namespace

int16_t InitQzBundle()
{
    gBundleLoaded = true;
    return 804;
}

void InitQzBundleImport()
{
    if (gBundleLoaded) gBundleImportsLoaded = true;
}

void InitMachOImport() { InitQzBundleImport(); }

void InitCarbonImport()
{
    if (gBundleLoaded) gCarbonImportsLoaded = true;
}

bool InitQuartzAPIs() { return true; }

bool IsQzBundleLoaded() { return gBundleLoaded; }
bool AreQzBundleImportsLoaded() { return gBundleImportsLoaded; }
bool AreCarbonImportsLoaded() { return gCarbonImportsLoaded; }

void ResetCompatFlags()
{
    gBundleLoaded = gBundleImportsLoaded = gCarbonImportsLoaded = false;
}
