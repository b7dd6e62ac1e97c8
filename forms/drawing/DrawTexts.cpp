// Static texts and group boxes.
#include <algorithm>
#include <cstring>

#include "forms/drawing/ObjectDrawing.h"
#include "forms/drawing/TextBoxes.h"
#include "forms/objects/FormObjects.h"
#include "looks/LookServices.h"
#include "looks/VIHandler.h"
#include "looks/VIObj.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"

using namespace platform;

namespace {

// At most 255 bytes of the object's text, as a length-prefixed string.
void StoredText(Handle text, unsigned char* out)
{
    out[0] = 0;
    if (!text || !*text) return;
    out[0] = uint8_t(std::min<Size>(GetHandleSize(text), 255));
    std::memcpy(out + 1, *text, out[0]);
}

}  // namespace

void TextObject::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    const Rect r = ObjectRect(this, editor, dh, dv);
    SetupDrawing();
    if (lookStyle != 0) {
        VIObj context;
        InitVIParms(&context, kVIStaticText, r);
        context.SetQzObjectType(1, false);
        JumpObjVIProc(&context);
    }
    if (hasFillPattern) {
        Pattern fill;
        if (fillPattern[0] == 0xFF && fillPattern[1] == 0xFF && fillPattern[2] == 0xFF && fillPattern[3] == 0xFF) {
            // "Black" means the object's own background here.
            if (VI_Handler* h = GetVIProc()) h->SetColRGBWithProc(foreColor, backColor, nullptr);
            GetQDGlobalsWhite(&fill);
        } else {
            std::memcpy(fill.pat, fillPattern, 8);
        }
        FillRect(&r, &fill);
    }
    unsigned char stored[256], shown[256];
    StoredText(text, stored);
    ShownText(this, stored, shown);
    {
        ClipSection clip(r);
        TextMode(srcOr);
        MyTextBox(shown + 1, shown[0], r, TransformJustif(justification));
    }
    if (frameMark) FrameGrey(r);
    RestoreDrawing();
}

void GroupBoxObj::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    const Rect r = ObjectRect(this, editor, dh, dv);
    SetupDrawing();
    if (text) {
        unsigned char stored[256], shown[256];
        StoredText(text, stored);
        ShownText(this, stored, shown);
        VIObj context;
        InitVIParms(&context, kVIGroupFrame, r);
        context.SetTitle(shown);
        context.justification = TransformJustif(justification);
        context.style = 3;
        context.VIDraw(kVIStateNormal, GetVIProc());
    }
    if (frameMark) FrameGrey(r);
    RestoreDrawing();
}
