// The looks' way to the painter's text and icon drawing.
#include "toolbox/drawing/LookCommon.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VIcon.h"
#include "toolbox/foundation/VString.h"

namespace look {

void DrawTextBox(VPainter* p, const VString& text, int16_t hAlign, int16_t vAlign, int32_t l, int32_t t, int32_t w,
                 int32_t h, bool theme)
{
    p->DrawTextBox(text, hAlign, vAlign, l, t, w, h, theme);
}

void DrawIcon(VPainter* p, VIcon* icon, int32_t x, int32_t y, int16_t state)
{
    if (!icon) return;
    icon->SetPos(x, y);
    p->DrawVIcon(*icon, state);
}

}  // namespace look
