// Form objects turned into the kernel's records (Convert2Obj): each class
// makes the record of its kind (KernelRecords.h) and fills it. Every record
// takes the object's name, option byte, flag A, flag C as flag bit 6, and
// its look; the rectangle is copied as it is unless said otherwise. A
// record that cannot be made answers null; one that cannot grow for its
// format keeps only the common fields.
#include <algorithm>
#include <cstring>

#include "forms/calc/StringRefs.h"
#include "forms/kernel/KernelConversion.h"
#include "forms/kernel/KernelRecords.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/FormTables.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/formhooks/FormSession.h"
#include "kernel/helpers/EntryAttributes.h"
#include "looks/LookManager.h"
#include "platform/core/Memory.h"

using namespace objrec;

namespace {

StyleInfoProc gStyleInfo = nullptr;

// The marker of a record without pen pattern.
constexpr uint8_t kNoPenPattern[4] = {0x01, 0x02, 0x03, 0x04};
// The entry attributes' bytes that the scroll bars set.
constexpr int32_t kVScrollByte = 7, kHScrollByte = 68;

void Common(const LayoutObject& o, ObjHandle h)
{
    SetRecText(h, kName, o.name, kNameMax);
    SetRecByte(h, kOption, o.optionByte);
    SetRecByte(h, kFlagByte, o.flagA);
    SetObjFlags(h, uint16_t(o.flagC ? ObjFlags(h) | kFlagC : ObjFlags(h) & ~kFlagC));
}

void Look(const LayoutObject& o, ObjHandle h)
{
    const bool none = o.lookStyle == 0 && o.lookID == 0;
    SetRecWord(h, kLookStyle, none ? 0 : o.lookStyle);
    SetRecWord(h, kLook, none ? 0 : o.lookID);
}

void Bounds(const LayoutObject& o, ObjHandle h)
{
    SetObjBounds(h, platform::Rect{o.bounds[0], o.bounds[1], o.bounds[2], o.bounds[3]});
}

void Bytes(ObjHandle h, int32_t offset, const uint8_t* bytes, int32_t count)
{
    for (int32_t i = 0; i < count; ++i) SetRecByte(h, offset + i, bytes[i]);
}

// The font of a text: the object's, or its style sheet's font and size with
// the style sheet's face added to the object's.
void Font(int16_t styleSheet, int16_t font, int16_t size, int16_t face, ObjHandle h, int32_t at)
{
    int16_t sFont = 0, sSize = 0, sFace = 0;
    if (styleSheet != -1 && GetStyleInfo(styleSheet, &sFont, &sSize, &sFace)) {
        font = sFont;
        size = sSize;
        face = int16_t(face | sFace);
    }
    SetRecWord(h, at, font);
    SetRecWord(h, at + 2, size);
    SetRecWord(h, at + 4, face);
}

// A ":ID,INDEX" text replaced by the string-list item it names.
void ResolveReference(unsigned char* text)
{
    if (text[0] > 1 && text[1] == ':') getstrstr(text);
}

platform::Handle CopyOf(platform::Handle h)
{
    if (!h) return nullptr;
    platform::Handle copy = h;
    return platform::HandToHand(&copy) == 0 ? copy : nullptr;
}

// A copy of the entry attributes with the scroll bars' bytes set; the
// record is made when the object has none and a scroll bar needs it.
platform::Handle AttributesFor(const EditableObject& o)
{
    platform::Handle a = CopyOf(o.entryAttributes);
    if (!a && (o.vScrollBar || o.hScrollBar)) a = newsatt();
    if (!a) return nullptr;
    const int32_t size = int32_t(platform::GetHandleSize(a));
    if (o.vScrollBar && size > kVScrollByte) (*a)[kVScrollByte] = 1;
    if (o.hScrollBar && size > kHScrollByte) (*a)[kHScrollByte] = 1;
    return a;
}

// Grows the record to hold the format at `at`; false when it cannot.
bool FitFormat(ObjHandle h, int32_t at, const unsigned char* format)
{
    const int32_t need = at + 1 + format[0];
    if (need <= int32_t(platform::GetHandleSize(h))) return true;
    platform::SetHandleSize(h, need);
    return platform::MemError() == 0;
}

// A fresh record of the kind with the common fields only, for a record
// that could not take its format.
ObjHandle CommonOnly(ObjHandle h, const LayoutObject& o)
{
    ClearObj(h);
    ObjHandle fresh = platform::NewHandleClear(kCommonSize);
    if (!fresh) return nullptr;
    Common(o, fresh);
    return fresh;
}

}  // namespace

platform::Handle kernelFormCritRoot = nullptr;

void SetStyleInfoProc(StyleInfoProc proc) { gStyleInfo = proc; }

bool GetStyleInfo(int16_t styleSheet, int16_t* font, int16_t* size, int16_t* face)
{
    return gStyleInfo && gStyleInfo(styleSheet, font, size, face);
}

int16_t OwnTableNumber(LayoutEditor* model)
{
    platform::Handle own = model ? EditorCritRoot(model) : kernelFormCritRoot;
    return own ? FieldListTableNumber(own) : 0;
}

VI_Handler* ObjLookHandler(platform::Handle record)
{
    const int16_t look = RecWord(record, kLook), style = RecWord(record, kLookStyle);
    return look == 0 && style == 0 ? nullptr : VI_Manager::GetHandler(look);
}

// --- drawings -----------------------------------------------------------------

platform::Handle DrawingObject::Convert2DrawingObj(int16_t type)
{
    ObjHandle h = nullptr;
    switch (type) {
    case kRect: h = newrect(); break;
    case kRoundRect: h = newetiq(); break;
    case kOval: h = newcerc(); break;
    case kLine: h = newtrai(); break;
    case kMatrix: h = newgrille(); break;
    default: return nullptr;
    }
    if (!h) return nullptr;
    Common(*this, h);
    Look(*this, h);
    platform::Rect r{std::min(bounds[0], bounds[2]), std::min(bounds[1], bounds[3]), std::max(bounds[0], bounds[2]),
                     std::max(bounds[1], bounds[3])};
    if (type == kLine) {
        // Drawn from bottom-left to top-right, or the reverse.
        const bool opposite = (bounds[2] < bounds[0]) != (bounds[3] < bounds[1]);
        SetRecByte(h, drawing::kFill, opposite ? 1 : 0);
        if (lookStyle == 0) {
            if (r.left == r.right) r.right = int16_t(std::min<int32_t>(r.right + penWidth, 32767));
            else if (r.top == r.bottom) r.bottom = int16_t(std::min<int32_t>(r.bottom + penHeight, 32767));
        }
    } else {
        SetRecByte(h, drawing::kFill, hasFillPattern);
    }
    SetObjBounds(h, r);
    SetRecWord(h, drawing::kPenWidth, penWidth);
    SetRecWord(h, drawing::kPenHeight, penHeight);
    SetRecByte(h, drawing::kLaserWidth, laserWidth);
    Bytes(h, drawing::kFillPattern, fillPattern, 8);
    if (hasPenPattern) Bytes(h, drawing::kPenPattern, penPattern, 8);
    else Bytes(h, drawing::kPenPattern, kNoPenPattern, 4);
    SetRecLong(h, drawing::kFore, foreColor);
    SetRecLong(h, drawing::kBack, backColor);
    return h;
}

platform::Handle RectObject::Convert2Obj() { return Convert2DrawingObj(kRect); }
platform::Handle RoundRectObject::Convert2Obj() { return Convert2DrawingObj(kRoundRect); }
platform::Handle OvalObject::Convert2Obj() { return Convert2DrawingObj(kOval); }
platform::Handle LineObject::Convert2Obj() { return Convert2DrawingObj(kLine); }

platform::Handle MatrixObject::Convert2Obj()
{
    ObjHandle h = Convert2DrawingObj(kMatrix);
    SetRecWord(h, drawing::kRows, rowCount);
    SetRecWord(h, drawing::kColumns, columnCount);
    return h;
}

// --- texts, pictures, groups, subforms ----------------------------------------

platform::Handle TextObject::Convert2Obj()
{
    ObjHandle h = newtexte();
    if (!h) return nullptr;
    Common(*this, h);
    Look(*this, h);
    Bounds(*this, h);
    Bytes(h, text::kFillPattern, fillPattern, 8);
    SetRecByte(h, text::kHasFill, hasFillPattern);
    SetRecLong(h, text::kFore, foreColor);
    SetRecLong(h, text::kBack, backColor);
    SetRecWord(h, text::kJust, justification);
    Font(styleSheet, fontID, fontSize, face, h, text::kFont);
    if (text && platform::GetHandleSize(text) > 1 && (*text)[0] == ':') {
        unsigned char t[256];
        t[0] = uint8_t(std::min<platform::Size>(platform::GetHandleSize(text), 255));
        std::memcpy(t + 1, *text, t[0]);
        ResolveReference(t);
        platform::SetHandleSize(text, t[0]);
        if (platform::MemError() == 0) std::memcpy(*text, t + 1, t[0]);
    }
    SetRecHandle(h, text::kText, text);
    text = nullptr;
    return h;
}

platform::Handle GroupBoxObj::Convert2Obj()
{
    ObjHandle h = TextObject::Convert2Obj();
    SetRecWord(h, kKind, kGroupBox);
    return h;
}

platform::Handle ImageObject::Convert2Obj()
{
    platform::Handle p = xAccessPict();
    ObjHandle h = newpict();
    if (h) {
        Common(*this, h);
        Look(*this, h);
        Bounds(*this, h);
        SetRecByte(h, picture::kOption1, imageOption1);
        SetRecByte(h, picture::kOption2, imageOption2);
        SetRecByte(h, picture::kOption3, imageOption3);
        if (p == picture) {
            SetRecHandle(h, picture::kPicture, picture);
            picture = nullptr;
        }
    }
    xReleasePict();
    return h;
}

platform::Handle LibraryImageObject::Convert2Obj()
{
    xAccessPict();
    ObjHandle h = newpict();
    if (h) {
        Common(*this, h);
        Look(*this, h);
        Bounds(*this, h);
        SetRecWord(h, kKind, kLibraryPicture);
        SetRecByte(h, picture::kOption1, imageOption1);
        SetRecByte(h, picture::kOption2, imageOption2);
        SetRecByte(h, picture::kOption3, imageOption3);
        SetRecWord(h, picture::kPictId, pictID);
        SetRecText(h, picture::kPictName, pictName, kNameMax);
    }
    xReleasePict();
    return h;
}

platform::Handle GroupObject::Convert2Obj()
{
    ObjHandle h = newgroup();
    if (!h) return nullptr;
    Common(*this, h);
    Look(*this, h);
    Bounds(*this, h);
    return h;
}

platform::Handle SubFormObject::Convert2Obj()
{
    AutoResize();
    ObjHandle h = newmulti();
    if (!h) return nullptr;
    Common(*this, h);
    Look(*this, h);
    Bounds(*this, h);
    SetRecWord(h, subform::kFlags, int16_t(subformFlags));
    SetRecWord(h, subform::kTable, subformTable);
    SetRecByte(h, subform::kValue1, subformValue1);
    SetRecByte(h, subform::kValue2, subformValue2);
    SetRecByte(h, subform::kOption, uint8_t(subformOption));
    SetRecText(h, subform::kFormName1, formName1, kNameMax);
    SetRecText(h, subform::kFormName2, formName2, kNameMax);
    return h;
}

// --- fields and variables -------------------------------------------------------

platform::Handle FieldObject::Convert2Obj()
{
    ObjHandle h = newsais();
    if (!h) return nullptr;
    Common(*this, h);
    const uint8_t table = uint8_t(tableNumber == 0 ? OwnTableNumber(editor) : tableNumber);
    unsigned char shown[256];
    std::memcpy(shown, format, size_t(format[0]) + 1);
    if (shown[0] > 1 && shown[1] == ':') {
        platform::Handle list = tableNumber == 0 ? (editor ? EditorCritRoot(editor) : kernelFormCritRoot)
                                                 : TableFieldList(tableNumber);
        if (!list || fieldNumber <= FieldListCount(list)) ResolveReference(shown);
    }
    if (!FitFormat(h, field::kFormat, shown)) return CommonOnly(h, *this);
    Bounds(*this, h);
    Font(styleSheet, fontID, fontSize, face, h, field::kFont);
    SetRecWord(h, field::kJust, justification);
    SetRecWord(h, field::kFieldNumber, fieldNumber);
    SetRecByte(h, field::kTable, table);
    SetRecByte(h, field::kEntryOption, entryOption);
    SetRecByte(h, field::kDisplayOption, displayOption);
    SetRecLong(h, field::kFore, foreColor);
    SetRecLong(h, field::kBack, editOption2 ? -2 : backColor);
    SetRecByte(h, field::kPlainEdit, editOption2 && !vScrollBar && !hScrollBar ? 1 : 0);
    SetRecLong(h, field::kEditOption1, editOption1);
    SetRecWord(h, field::kMethod, objectMethodID);
    SetRecHandle(h, field::kAttributes, AttributesFor(*this));
    SetRecWord(h, field::kTipKind, tipKind);
    SetRecWord(h, field::kTipId1, tipID1);
    SetRecWord(h, field::kTipId2, tipID2);
    SetRecText(h, field::kFormat, shown, 255);
    Look(*this, h);
    SetRecLong(h, field::kScriptFlags, int32_t(scriptFlags >> 32));
    SetRecLong(h, field::kScriptFlags + 4, int32_t(scriptFlags));
    SetRecByte(h, field::kFlag1, flag1);
    SetRecByte(h, field::kFlag2, flag2);
    SetRecByte(h, field::kEditOption3, editOption3);
    SetRecByte(h, field::kEditOption4, editOption4);
    SetRecByte(h, field::kFieldOption2, fieldOption2);
    return h;
}

platform::Handle VarObject::Convert2Obj()
{
    ObjHandle h = newlien();
    if (!h) return nullptr;
    Common(*this, h);
    unsigned char shown[256];
    std::memcpy(shown, format, size_t(format[0]) + 1);
    if (subType != 18 && subType != 19 && subType != 20 && shown[0] > 1 && shown[1] == ':') ResolveReference(shown);
    if (!FitFormat(h, variable::kFormat, shown)) return CommonOnly(h, *this);
    Bounds(*this, h);
    SetRecText(h, variable::kName, varName, kNameMax);
    SetRecByte(h, variable::kName + 1 + std::min<int32_t>(varName[0], kNameMax), 0);
    Font(styleSheet, fontID, fontSize, face, h, variable::kFont);
    SetRecWord(h, variable::kJust, justification);
    SetRecByte(h, variable::kEntryOption, entryOption);
    SetRecByte(h, variable::kPlainEdit, editOption2 && !vScrollBar && !hScrollBar ? 1 : 0);
    SetRecLong(h, variable::kEditOption1, editOption1);
    SetRecLong(h, variable::kFore, foreColor);
    SetRecLong(h, variable::kBack, editOption2 && (subType == 0 || subType == 1) ? -2 : backColor);
    SetRecByte(h, variable::kSubType, uint8_t(subType));
    SetRecByte(h, variable::kVarOption, uint8_t(varOption));
    SetRecWord(h, variable::kMethod, objectMethodID);
    SetRecByte(h, variable::kDisplayed, displayOption == 0 && (subType == 0 || subType == 1) ? 0 : 1);
    SetRecWord(h, variable::kWord1, varWord1);
    SetRecWord(h, variable::kWord2, varWord2);
    platform::Handle attributes = AttributesFor(*this);
    // Two-byte systems keep no entry filter for the kernel's variables.
    if (attributes && scriptmanager && kernelOption && platform::GetHandleSize(attributes) > saisieatt::kEntryFilter)
        (*attributes)[saisieatt::kEntryFilter] = 0;
    SetRecHandle(h, variable::kAttributes, attributes);
    SetRecHandle(h, variable::kDefaultStyle, CopyOf(defaultStyle));
    SetRecByte(h, variable::kByte3, varByte3);
    SetRecByte(h, variable::kSplitter, IsSplitter() ? varByte2 : 0);
    SetRecByte(h, variable::kInterprocess, interprocess);
    SetRecLong(h, variable::kScriptFlags, int32_t(scriptFlags >> 32));
    SetRecLong(h, variable::kScriptFlags + 4, int32_t(scriptFlags));
    SetRecByte(h, variable::kScroll, subType == 6 || subType == 23 ? 1 : vScrollBar);
    SetRecWord(h, variable::kTipKind, tipKind);
    SetRecWord(h, variable::kTipId1, tipID1);
    SetRecWord(h, variable::kTipId2, tipID2);
    SetRecText(h, variable::kFormat, shown, 255);
    if (kernelOption && lookID == -1) lookID = 6;
    Look(*this, h);
    uint8_t first = flag1, second = flag2;
    switch (subType) {
    case 4: SetRecByte(h, variable::kOptionSlot, varByte4); break;
    case 21:
    case 23: second = first; break;
    case 25: first = second = 1; break;
    case 26:
        if (IsDropDown(h)) second = first;
        else first = second = 0;
        break;
    default: second = 0; break;
    }
    switch (varOption) {
    case 12: case 13: case 14: case 28: case 29: case 30: case 33: first = 0; break;
    default: break;
    }
    SetRecByte(h, variable::kFlag1, first);
    SetRecByte(h, variable::kFlag2, second);
    SetRecByte(h, variable::kEditOption3, editOption3);
    SetRecByte(h, variable::kEditOption4, editOption4);
    SetRecByte(h, variable::kLastOption, varByte7);
    return h;
}
