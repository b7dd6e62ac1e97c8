// Variables: each drawn as the widget its display sub-type stands for, in
// the object's look, titled as the drawing mode shows it; what the look
// leaves to the object (a plain text, the inside of a frame) is its title.
#include "forms/drawing/ObjectDrawing.h"
#include "forms/drawing/StaticPictures.h"
#include "forms/objects/EditableObjects.h"
#include "looks/LookServices.h"
#include "looks/VIObj.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/pictures/Pictures.h"

using namespace platform;

namespace {

constexpr int16_t kLabelInset = 2;
// Sub-types shown as an application picture drawn into the rectangle: a
// chart area and a plug-in area.
constexpr int16_t kChartArea = 10, kPlugInArea = 11;
constexpr int16_t kChartPicture = 6001, kPlugInPicture = 6015;

}  // namespace

void VarObject::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    const Rect r = ObjectRect(this, editor, dh, dv);
    SetupDrawing();
    unsigned char title[256];
    GetVarTexte(title);
    const int16_t kind = int16_t(subType);
    if (kind == kChartArea || kind == kPlugInArea) {
        const unsigned char none[] = "";
        if (Handle picture = GetStaticPict(int16_t(-(kind == kChartArea ? kChartPicture : kPlugInPicture)), none)) {
            ClipSection clip(r);
            DrawPicture(picture, &r);
        }
        RestoreDrawing();
        return;
    }
    VIObj context;
    InitVIParms(&context, WidgetOfKind(kind), r, title);
    context.SetQzObjectType(kind, false);
    JumpObjVIProc(&context);
    if (context.plainToDo && title[0]) {
        ClipSection clip(context.inner);
        TextMode(srcOr);
        DrawLabel(title, context.inner, kLabelInset);
    }
    RestoreDrawing();
}
