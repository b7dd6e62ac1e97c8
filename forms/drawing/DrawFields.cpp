// Fields: a white box with the field's label, a boolean field as the look's
// check box, the scroll bars a text field shows beside it.
#include "forms/drawing/ObjectDrawing.h"
#include "forms/objects/EditableObjects.h"
#include "kernel/fields/FieldTypes.h"
#include "looks/LookServices.h"
#include "looks/VIHandler.h"
#include "looks/VIObj.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"

using namespace platform;

namespace {

constexpr int16_t kLabelInset = 2;

}  // namespace

void FieldObject::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    const Rect r = ObjectRect(this, editor, dh, dv);
    SetupDrawing();
    VI_Handler* handler = GetVIProc();
    {
        ClipSection clip(r);
        if (!editOption2) EraseWhite(r);
        FontInfo fi{};
        GetFontInfo(&fi);
        MoveTo(int16_t(r.left + kLabelInset), int16_t(r.top + fi.ascent));
    }
    unsigned char label[256];
    if (!FieldLabel(label)) {
        RestoreDrawing();
        return;
    }
    const int16_t type = GetDataType();
    if (type == fieldtype::kBoolean) {
        unsigned char title[256];
        const int16_t mode = DrawingModeOf(this);
        if (mode == kDrawNames) ShownText(nullptr, label, title);
        else ShownText(this, format, title);
        VIObj context;
        InitVIParms(&context, kVICheckBox, r, title);
        context.SetQzObjectType(3, false);
        if (handler) handler->SetCol(&context, kVIStateNormal);
        JumpObjVIProc(&context);
        if (context.plainToDo) drawbool(r, false, title);
        if (lookStyle != 0) {
            VIObj again;
            InitVIParms(&again, kVIRadioButton, r, title);
            again.SetQzObjectType(4, false);
            JumpObjVIProc(&again);
        }
        RestoreDrawing();
        return;
    }
    {
        ClipSection clip(r);
        // Over what is there, as the system draws text.
        TextMode(srcOr);
        DrawLabel(label, r, kLabelInset);
    }
    // Only text fields show their scroll bars; the object keeps its own.
    const bool textField = type == fieldtype::kText;
    FakeScrollBars(r, textField && vScrollBar, textField && hScrollBar, handler);
    if (lookStyle != 0) {
        VIObj context;
        InitVIParms(&context, kVIEditField, r, label);
        context.SetQzObjectType(0, false);
        JumpObjVIProc(&context);
    }
    RestoreDrawing();
}
