// The drawing frame every form object shares: SetupDrawing and
// RestoreDrawing, the drawing context (InitVIParms), the drawing mode and
// the labels of fields and variables.
#include <algorithm>
#include <cstring>

#include "forms/calc/StringRefs.h"
#include "forms/drawing/ObjectDrawing.h"
#include "forms/drawing/StyleSheetsInUse.h"
#include "forms/drawing/TextBoxes.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/FormTables.h"
#include "kernel/fields/FieldTypes.h"
#include "kernel/formhooks/FormServices.h"
#include "kernel/helpers/KernelColors.h"
#include "kernel/startup/KernelGlobals.h"
#include "looks/LookManager.h"
#include "looks/LookServices.h"
#include "looks/VIObj.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/theme/Theme.h"

using namespace platform;

int16_t varDrawingMode = 0;
Handle hwname = nullptr;

namespace {

constexpr int32_t kTableNameSize = 32;
constexpr int32_t kFieldsAt = 30, kFieldSize = 66;
bool gLaserWidth = false;

void SetFontOf(int16_t font, int16_t size, int16_t face, int16_t styleSheet)
{
    if (styleSheet >= 0) {
        SetupStyle(styleSheet, face);
        return;
    }
    myTextFont(font);
    TextSize(size);
    TextFace(StyleField(face));
}

VI_Handler* HandlerOf(LayoutObject* o)
{
    VI_Handler* h = o->GetVIProc();
    return h ? h : gVI ? gVI : VI_Manager::GetHandler(0);
}

}  // namespace

// --- shared services ---------------------------------------------------------

bool TableName(int16_t table, unsigned char* out)
{
    out[0] = 0;
    if (!hwname || !*hwname || table < 1) return false;
    const int64_t at = int64_t(table - 1) * kTableNameSize;
    if (at + kTableNameSize > GetHandleSize(hwname)) return false;
    const auto* name = reinterpret_cast<const uint8_t*>(*hwname) + at;
    out[0] = std::min<uint8_t>(name[0], kTableNameSize - 1);
    std::memcpy(out + 1, name + 1, out[0]);
    return true;
}

int16_t DrawingModeOf(const LayoutObject* object) { return object && object->editor ? varDrawingMode : 0; }

void ShownText(const LayoutObject* object, const unsigned char* stored, unsigned char* out)
{
    if (DrawingModeOf(object) == kDrawResolved) ShownStringText(stored, out);
    else std::memcpy(out, stored, size_t(stored[0]) + 1);
}

void JumpObjVIProc(VIObj* context) { context->VIDraw(kVIStateNormal, context->handler); }

void setlaserwidth() { gLaserWidth = true; }

void setnormalwidth() { gLaserWidth = false; }

bool LaserWidthOn() { return gLaserWidth; }

void DrawLabel(const unsigned char* text, const Rect& r, int16_t inset)
{
    const Rect box{r.top, int16_t(r.left + inset), r.bottom, int16_t(r.right - inset)};
    MyTextBox(text + 1, text[0], box, int16_t(GetLowBAC() == -1 ? -1 : 0));
}

void EraseWhite(const Rect& r)
{
    RGBColor back{};
    GetBackColor(&back);
    const RGBColor white{0xFFFF, 0xFFFF, 0xFFFF};
    RGBBackColor(&white);
    EraseRect(&r);
    RGBBackColor(&back);
}

void FrameIn(const Rect& r, int32_t rgb, int16_t size)
{
    PenState saved;
    GetPenState(&saved);
    RGBColor c{};
    Long2RGB(rgb, &c);
    RGBForeColor(&c);
    PenNormal();
    PenSize(size, size);
    FrameRect(&r);
    SetPenState(&saved);
}

void FrameGrey(const Rect& r)
{
    PenState saved;
    GetPenState(&saved);
    SetBWCol();
    PenNormal();
    Pattern grey;
    PenPat(GetQDGlobalsGray(&grey));
    FrameRect(&r);
    SetPenState(&saved);
}

void FakeScrollBars(const Rect& r, bool vertical, bool horizontal, VI_Handler* handler)
{
    if (!handler) handler = gVI ? gVI : VI_Manager::GetHandler(0);
    const int16_t bar = GetScrollBarSize();
    if (vertical) handler->DrawFakeScrollBar(Rect{r.top, r.right, r.bottom, int16_t(r.right + bar)});
    if (horizontal) handler->DrawFakeScrollBar(Rect{r.bottom, r.left, int16_t(r.bottom + bar), r.right});
}

// --- the objects' frame ------------------------------------------------------

void LayoutObject::SetupDrawing()
{
    savedFont.SaveFont();
    if (!savedThemeState) {
        ThemeDrawingState state = nullptr;
        if (GetThemeDrawingState(&state) == noErr) savedThemeState = state;
    }
    SetBWCol();
    VI_Handler* handler = HandlerOf(this);
    if (!IsVar()) {
        handler->SetColRGBWithProc(foreColor, backColor, nullptr);
        return;
    }
    auto* var = static_cast<VarObject*>(this);
    VIObj context;
    InitVIParms(&context, WidgetOfKind(int16_t(var->subType)), GetFullBounds());
    context.SetQzObjectType(int16_t(var->subType), false);
    if (!var->GetEditable()) context.flags &= ~kVIEnabled;
    handler->SetCol(&context, kVIStateNormal);
}

void LayoutObject::DrawObject(LayoutEditor*, int16_t, int16_t) {}

void LayoutObject::RestoreDrawing()
{
    if (savedThemeState) {
        SetThemeDrawingState(static_cast<ThemeDrawingState>(savedThemeState), true);
        savedThemeState = nullptr;
    }
    savedFont.RestoreFont();
}

void LayoutObject::InitVIParms(VIObj* context, int16_t widget, const Rect& r)
{
    context->widget = widget;
    context->foreColor = foreColor;
    context->backColor = backColor;
    context->lookStyle = lookStyle;
    context->SetRect(r);
    context->flags |= kVIEnabled;
    context->handler = HandlerOf(this);
}

void DrawingObject::SetupDrawing()
{
    LayoutObject::SetupDrawing();
    if (laserWidth) setlaserwidth();
    PenSize(std::max<int16_t>(penWidth, 0), std::max<int16_t>(penHeight, 0));
    Pattern pen;
    std::memcpy(pen.pat, penPattern, 8);
    PenPat(&pen);
}

void DrawingObject::RestoreDrawing()
{
    if (laserWidth) setnormalwidth();
    LayoutObject::RestoreDrawing();
}

void TextObject::SetupDrawing()
{
    LayoutObject::SetupDrawing();
    SetFontOf(fontID, fontSize, face, styleSheet);
}

void EditableObject::SetupDrawing()
{
    LayoutObject::SetupDrawing();
    SetFontOf(fontID, fontSize, face, styleSheet);
    PenNormal();
}

void EditableObject::InitVIParms(VIObj* context, int16_t widget, const Rect& r, const unsigned char* title)
{
    LayoutObject::InitVIParms(context, widget, r);
    context->SetTitle(title);
    context->extra = 0;
    if (!GetEditable()) context->flags &= ~kVIEnabled;
}

void FieldObject::SetupDrawing()
{
    EditableObject::SetupDrawing();
    const bool entered = GetDataType() == fieldtype::kBoolean || GetEditable();
    VIObj context;
    InitVIParms(&context, entered ? kVIEditField : kVIStaticText, GetFullBounds(), nullptr);
    context.SetQzObjectType(entered ? 0 : 1, false);
    HandlerOf(this)->SetCol(&context, kVIStateNormal);
}

bool FieldObject::FieldLabel(unsigned char* out)
{
    out[0] = 0;
    Handle list = _GetCritRoot();
    if (!list || fieldNumber < 1 || fieldNumber > FieldListCount(list)) return false;
    const auto* entry = reinterpret_cast<const uint8_t*>(*list) + kFieldsAt + (fieldNumber - 1) * kFieldSize;
    unsigned char table[32];
    if (tableNumber >= 1 && tableNumber <= formTableCount && TableName(tableNumber, table)) {
        auto append = [out](const unsigned char* s) {
            const uint8_t n = uint8_t(std::min<int32_t>(s[0], 255 - out[0]));
            std::memcpy(out + 1 + out[0], s + 1, n);
            out[0] = uint8_t(out[0] + n);
        };
        append(stfileleft);
        append(table);
        append(stfileright);
    }
    const uint8_t n = uint8_t(std::min<int32_t>({entry[0], 31, 255 - out[0]}));
    std::memcpy(out + 1 + out[0], entry + 1, n);
    out[0] = uint8_t(out[0] + n);
    return true;
}

void VarObject::GetVarTexte(unsigned char* out)
{
    switch (DrawingModeOf(this)) {
    case kDrawResolved: ShownText(this, format, out); break;
    case kDrawNames: GetVarName(out); break;
    default: std::memcpy(out, format, size_t(format[0]) + 1); break;
    }
}
