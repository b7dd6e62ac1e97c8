#include "looks/Startup.h"

#include "kernel/byteswap/SwapTemplates.h"
#include "kernel/handles/KernelHandles.h"
#include "kernel/hostentry/HostEntry.h"
#include "kernel/numtext/NumTextGlobals.h"
#include "kernel/startup/KernelGlobals.h"
#include "kernel/startup/StartupServices.h"
#include "looks/Cust.h"
#include "looks/LookManager.h"
#include "kernel/guards/DrawingGuards.h"
#include "resources/ResourceApi.h"
#include "toolbox/foundation/startup/InitVToolBox.h"

namespace {

const char* gMessage = "";

int16_t Stop(int16_t error, const char* message)
{
    gMessage = message;
    return error ? error : -1;
}

}  // namespace

const char* StartQzMessage() { return gMessage; }

int16_t StartQz()
{
    gMessage = "";
    KernelStartupServices services;
    services.readCust = ReadCust;
    services.initResourceManager = initresman;
    services.initLooks = InitVI;
    SetKernelStartupServices(services);
    FontSaver::SetTextFontProc(myTextFont);

    if (!InitVToolBox(entreeexterne, kDialectNotSet)) return Stop(-108, ToolBoxStartupError());
    const int16_t swapErr = InitTokens();
    if (swapErr != 0) return Stop(swapErr, "The byte-swap templates could not be read. Reinstall the program.");
    if (!x_initQzGlobals())
        return Stop(erreure, "Not enough memory to start. Close other programs and try again.");
    DefaultCentury = 19;
    PivotYear = 80;
    return 0;
}
