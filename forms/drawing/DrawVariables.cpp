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
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"

using namespace platform;

namespace {

constexpr int16_t kLabelInset = 2;
// Sub-types shown as an application picture drawn into the rectangle: a
// chart area and a plug-in area.
constexpr int16_t kChartArea = 10, kPlugInArea = 11;
constexpr int16_t kChartPicture = 6001, kPlugInPicture = 6015;
// Sub-types drawn as a plain frame: grey, black, black 2 pixels wide.
constexpr int16_t kGreyFrame = 7, kGreyFrameToo = 30, kBlackFrame = 8, kThickFrame = 9;
constexpr int16_t kButtonGrid = 22, kSplitter = 29;

// Sub-types whose drawing leaves the object without a style sheet of its
// own.
bool DropsStyleSheet(int16_t kind)
{
    switch (kind) {
    case kGreyFrame: case kGreyFrameToo: case kBlackFrame: case kThickFrame: case kChartArea: case kButtonGrid:
    case kSplitter:
        return true;
    default:
        return false;
    }
}

// The frame sub-types: true when `kind` is one and `r` is framed.
bool DrawFrameKind(int16_t kind, const Rect& r)
{
    if (kind == kGreyFrame || kind == kGreyFrameToo) {
        FrameGrey(r);
        return true;
    }
    if (kind != kBlackFrame && kind != kThickFrame) return false;
    PenState saved;
    GetPenState(&saved);
    const RGBColor black{0, 0, 0};
    RGBForeColor(&black);
    PenNormal();
    const int16_t width = kind == kThickFrame ? 2 : 1;
    PenSize(width, width);
    FrameRect(&r);
    SetPenState(&saved);
    return true;
}

}  // namespace

void VarObject::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    const Rect r = ObjectRect(this, editor, dh, dv);
    SetupDrawing();
    unsigned char title[256];
    GetVarTexte(title);
    const int16_t kind = int16_t(subType);
    // Once drawn, some sub-types keep no style sheet of their own.
    const bool dropStyle = DropsStyleSheet(kind);
    if (DrawFrameKind(kind, r)) {
        RestoreDrawing();
        styleSheet = -1;
        return;
    }
    if (kind == kChartArea || kind == kPlugInArea) {
        const unsigned char none[] = "";
        if (Handle picture = GetStaticPict(int16_t(-(kind == kChartArea ? kChartPicture : kPlugInPicture)), none)) {
            ClipSection clip(r);
            DrawPicture(picture, &r);
        }
        RestoreDrawing();
        if (dropStyle) styleSheet = -1;
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
    if (dropStyle) styleSheet = -1;
}
