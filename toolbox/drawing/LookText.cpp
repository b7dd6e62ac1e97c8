// The looks' way to the painter's text and icon drawing.
#include "toolbox/drawing/LookCommon.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VIcon.h"
#include "toolbox/foundation/VString.h"

namespace look {

namespace {

// Until the painter draws text and icons these calls draw nothing.
template <class P>
void PainterTextBox(P* p, const VString& text, int16_t hAlign, int16_t vAlign, int32_t l, int32_t t, int32_t w,
                    int32_t h, bool theme)
{
    if constexpr (requires { p->DrawTextBox(text, hAlign, vAlign, l, t, w, h, theme); })
        p->DrawTextBox(text, hAlign, vAlign, l, t, w, h, theme);
}

template <class P>
void PainterIcon(P* p, VIcon* icon, int16_t state)
{
    if constexpr (requires { p->DrawVIcon(icon, state); }) p->DrawVIcon(icon, state);
}

}  // namespace

void DrawTextBox(VPainter* p, const VString& text, int16_t hAlign, int16_t vAlign, int32_t l, int32_t t, int32_t w,
                 int32_t h, bool theme)
{
    PainterTextBox(p, text, hAlign, vAlign, l, t, w, h, theme);
}

void DrawIcon(VPainter* p, VIcon* icon, int32_t x, int32_t y, int16_t state)
{
    if (!icon) return;
    icon->SetPos(x, y);
    PainterIcon(p, icon, state);
}

}  // namespace look
