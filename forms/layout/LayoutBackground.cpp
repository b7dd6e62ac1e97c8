#include "forms/layout/LayoutBackground.h"

#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"

void EraseLayoutBackground(const platform::Rect* r, VI_Handler* look, void* formContext)
{
    (void)look, (void)formContext;
    if (!r) return;
    platform::RGBColor saved{};
    platform::GetBackColor(&saved);
    platform::EraseRect(r);
    platform::RGBBackColor(&saved);
}
