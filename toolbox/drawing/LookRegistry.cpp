#include "toolbox/drawing/VCoplandLook.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VMacLookHandler.h"
#include "toolbox/drawing/VMacThemeLookHandler.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/drawing/VWinLookHandler.h"
#include "toolbox/foundation/Colors.h"

namespace {

bool DefaultLookColor(StdColor c, uint32_t* color)
{
    VLookHandler* look = GetDefaultLookHandler();
    if (!look) return false;
    *color = look->GetStdColor(c);
    return true;
}

}  // namespace

void VPainter::Init()
{
    ResetLookHandlers();
    gLookHandlers[1] = new VMacLookHandler;
    gLookHandlers[2] = new VWinLookHandler;
    gLookHandlers[3] = new VWinLookHandler;
    gLookHandlers[4] = new VMacThemeLookHandler;
    gLookHandlers[5] = new VMacThemeLookHandler;
    gLookHandlers[6] = new VMacThemeLookHandler;
    gLookHandlers[7] = new VMacLookHandler;
    SetStdColorHook(DefaultLookColor);
}
