// Variables: each drawn as the control its display sub-type stands for,
// through the look's handler or the kernel's control drawings, titled as
// the drawing mode shows it; then, with a look style, the handler's pass
// over the whole variable.
#include <algorithm>
#include <cstring>

#include "forms/drawing/KernelControls.h"
#include "forms/drawing/ObjectDrawing.h"
#include "forms/drawing/StaticPictures.h"
#include "forms/drawing/StyleSheetsInUse.h"
#include "forms/objects/EditableObjects.h"
#include "kernel/formhooks/FormServices.h"
#include "kernel/formhooks/FormSession.h"
#include "looks/LookManager.h"
#include "looks/LookServices.h"
#include "looks/VIHandler.h"
#include "looks/VIObj.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"

using namespace platform;

namespace {

constexpr int16_t kLabelInset = 2;
constexpr int16_t kAreaLabelInset = 18;  // a scrollable area's label from its right edge
constexpr unsigned char kInterprocessMark = 0xD7;
constexpr int16_t kChartPicture = 6001, kPlugInPicture = 6015;

// The display sub-types drawn here.
enum : int16_t {
    kEnterable = 0, kNotEnterable = 1, kButton = 2, kCheckBox = 3, kRadio = 4, kPopup = 5, kArea = 6,
    kGreyFrame = 7, kBlackFrame = 8, kThickFrame = 9, kChartArea = 10, kPlugInArea = 11, kThermometer = 12,
    kRuler = 13, kDial = 14, kTabControl = 16, kInvisible = 17, kFrameFirst = 18, kFrameLast = 20, kCombo = 21,
    kButtonGrid = 22, kAreaErased = 23, kPopupToo = 24, kComboToo = 25, kDropDown = 26, kInvisibleToo = 27,
    kDefaultButton = 28, kSplitter = 29, kGreyFrameToo = 30,
};

// The kernel's option bytes, cleared while a variable is drawn.
class KernelOptionsCleared {
public:
    KernelOptionsCleared() : option_(kernelOption), after_{kernelOptionAfter[0], kernelOptionAfter[1]}
    {
        kernelOption = kernelOptionAfter[0] = kernelOptionAfter[1] = 0;
    }
    ~KernelOptionsCleared()
    {
        kernelOption = option_;
        kernelOptionAfter[0] = after_[0], kernelOptionAfter[1] = after_[1];
    }
    KernelOptionsCleared(const KernelOptionsCleared&) = delete;
    KernelOptionsCleared& operator=(const KernelOptionsCleared&) = delete;

private:
    uint8_t option_;
    uint8_t after_[2];
};

// A frame of the frame sub-types; false for any other.
bool DrawFrameKind(int16_t kind, const Rect& r)
{
    switch (kind) {
    case kGreyFrame: case kGreyFrameToo: FrameGrey(r); return true;
    case kBlackFrame: FrameIn(r, 0x000000, 1); return true;
    case kThickFrame: FrameIn(r, 0x000000, 2); return true;
    default: return false;
    }
}

// The label of a plain variable: filled white unless kept, the label from
// 2 pixels in, a line across from the top-left to the bottom-right corner.
void DrawPlain(const unsigned char* label, const Rect& r, bool keep)
{
    ClipSection clip(r);
    if (!keep) EraseWhite(r);
    TextMode(srcOr);
    DrawLabel(label, r, kLabelInset);
    PenNormal();
    MoveTo(r.left, r.top);
    LineTo(int16_t(r.right - 1), int16_t(r.bottom - 1));
}

// The resolved look of the handler: 1 to 7.
int16_t ResolvedLook(VI_Handler* handler) { return handler ? handler->PaintingLook() : 0; }

}  // namespace

void VarObject::BuildLienObj(LienObj* record, const Rect& r)
{
    *record = LienObj{};
    record->rect = r;
    record->justification = TransformJustif(justification);
    record->font = fontID, record->size = fontSize, record->face = face;
    int16_t font = 0, size = 0, sheetFace = 0;
    if (styleSheet >= 0 && GetStyleInfo(styleSheet, &font, &size, &sheetFace))
        record->font = font, record->size = size, record->face = int16_t(sheetFace | face);
    record->handler = GetVIProc() ? GetVIProc() : gVI;
    record->keepBackground = editOption2 != 0;
    record->foreColor = foreColor;
    record->backColor = backColor;
    record->subType = int16_t(subType);
    std::memcpy(record->title, format, size_t(format[0]) + 1);
}

void VarObject::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    const Rect r = ObjectRect(this, editor, dh, dv);
    KernelOptionsCleared options;
    SetupDrawing();
    const int16_t kind = int16_t(subType);
    // The label: the name, the interprocess marker in front.
    unsigned char label[40];
    label[0] = 0;
    if (interprocess) label[++label[0]] = kInterprocessMark;
    std::memcpy(label + 1 + label[0], varName + 1, std::min<size_t>(varName[0], 31));
    label[0] = uint8_t(label[0] + std::min<uint8_t>(varName[0], 31));
    unsigned char title[256];
    GetVarTexte(title);
    unsigned char editable[256];
    GetEditableName(editable);
    LienObj record;
    BuildLienObj(&record, r);
    VIObj context;
    InitVIParms(&context, WidgetOfKind(kind), r, title);
    context.SetQzObjectType(kind, false);
    VI_Handler* handler = context.handler;
    const int16_t look = ResolvedLook(handler);
    // Paints the context as `widget` with that title.
    auto paint = [&](int16_t widget, const unsigned char* text, bool background) {
        context.widget = widget;
        context.SetTitle(text);
        if (background) context.SetRect(context.VIGetBackgroundBounds(handler));
        JumpObjVIProc(&context);
    };
    bool dropStyle = false;
    {
        ClipSection clip(r);
        switch (kind) {
        case kButton: case kDefaultButton:
            if (kind == kDefaultButton) context.flags |= kVIDefaultButton;
            paint(kVIPushButton, title, true);
            break;
        case kCheckBox: case kRadio: paint(kind == kCheckBox ? kVICheckBox : kVIRadioButton, title, false); break;
        case kPopup: case kPopupToo:
            if (look == 1 || look == 2) DrawPopupInStruct(&record, editable, format);
            else if (look >= 3 && look <= 5) paint(kVIPopUp, editable, false);
            break;
        case kArea: case kAreaErased: {
            if (kind == kAreaErased || !editOption2) EraseWhite(r);
            TextMode(srcOr);
            DrawLabel(label, r, GetLowBAC() == -1 ? kAreaLabelInset : kLabelInset);
            if (!varByte5) {
                Rect area = r;
                if (lookStyle != 0) area.right = int16_t(area.right + 1), --area.top, ++area.bottom;
                const int16_t bar = GetScrollBarSize();
                if (handler)
                    handler->DrawFakeScrollBar(Rect{area.top, int16_t(std::max<int32_t>(area.left, area.right - bar)),
                                                    area.bottom, area.right});
            }
            break;
        }
        case kGreyFrame: case kGreyFrameToo: case kBlackFrame: case kThickFrame:
            DrawFrameKind(kind, r);
            dropStyle = true;
            break;
        case kChartArea: case kPlugInArea: {
            EraseWhite(r);
            const unsigned char none[] = "";
            if (Handle picture = GetStaticPict(int16_t(-(kind == kChartArea ? kChartPicture : kPlugInPicture)), none))
                DrawPicture(picture, &r);
            dropStyle = kind == kChartArea;
            break;
        }
        case kThermometer: case kRuler: case kDial: paint(WidgetOfKind(kind), format, false); break;
        case kTabControl:
            paint(kVITabControl, title, true);
            DrawTabInStruct(&record, r, label, defaultStyle, handler);
            break;
        case kInvisible: case kInvisibleToo: break;
        case kFrameFirst: case kFrameFirst + 1: case kFrameLast: Draw3DFrameInStruct(&record, r, handler); break;
        case kCombo: case kComboToo: DrawComboInStruct(&record, editable); break;
        case kButtonGrid:
            DrawButtonGridInStruct(&record);
            dropStyle = true;
            break;
        case kDropDown: {
            const bool bang = format[0] == 1 && format[1] == '!';
            const unsigned char* shown = bang ? format : editable;
            if (look == 1) DrawPopupInStruct(&record, shown, format);
            else if (look == 4 || look == 5) paint(kVIPopUp, shown, false);
            else DrawComboInStruct(&record, shown);
            break;
        }
        case kSplitter:
            paint(kVISplitter, title, false);
            dropStyle = true;
            break;
        default: DrawPlain(label, r, editOption2 != 0); break;
        }
    }
    // Beside the rectangle: the scroll bars of enterable variables.
    if (kind == kEnterable || kind == kNotEnterable) FakeScrollBars(r, vScrollBar, hScrollBar, handler);
    // The look's pass over the whole variable, unclipped.
    if (kind != kSplitter && lookStyle != 0) {
        VIObj over;
        InitVIParms(&over, WidgetOfKind(kind), r, title);
        over.SetQzObjectType(kind, false);
        over.VIDraw(kVIStateOver, handler);
    }
    RestoreDrawing();
    if (dropStyle) styleSheet = -1;
}
