// Form objects turned into the kernel's records (Convert2Obj): each class
// makes the record of its kind (KernelRecords.h) and fills it. Every record
// takes the object's name, option byte, flag A, flag C as flag bit 6, and
// its look; the rectangle is copied as it is unless said otherwise. A
// record that cannot be made answers null; one that cannot grow for its
// format keeps only the common fields.
#include <algorithm>
#include <cstring>

#include "forms/calc/StringRefs.h"
#include "forms/drawing/StyleSheetsInUse.h"
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


// The marker of a record without pen pattern.
constexpr uint8_t kNoPenPattern[4] = {0x01, 0x02, 0x03, 0x04};
// The entry attributes' bytes that the scroll bars set.
constexpr int32_t kVScrollByte = 7, kHScrollByte = 68;

void Common(const LayoutObject& o, ObjFields& f)
{
    f.SetText(kName, o.name, kNameMax);
    f.SetByte(kOption, o.optionByte);
    f.SetByte(kFlagByte, o.flagA);
    const uint16_t flags = uint16_t(f.Word(kFlags));
    f.SetWord(kFlags, int16_t(o.flagC ? flags | kFlagC : flags & ~kFlagC));
}

void Look(const LayoutObject& o, ObjFields& f)
{
    const bool none = o.lookStyle == 0 && o.lookID == 0;
    f.SetWord(kLookStyle, none ? 0 : o.lookStyle);
    f.SetWord(kLook, none ? 0 : o.lookID);
}

void SetBounds(ObjFields& f, const platform::Rect& r)
{
    f.SetWord(kBounds, r.top);
    f.SetWord(kBounds + 2, r.left);
    f.SetWord(kBounds + 4, r.bottom);
    f.SetWord(kBounds + 6, r.right);
}

void Bounds(const LayoutObject& o, ObjFields& f)
{
    SetBounds(f, platform::Rect{o.bounds[0], o.bounds[1], o.bounds[2], o.bounds[3]});
}

// The view of a record just made, its common fields, look and rectangle
// taken from the object (none of it for a record that was not made).
ObjFields Started(const LayoutObject& o, ObjHandle h)
{
    ObjFields f(h);
    Common(o, f);
    Look(o, f);
    Bounds(o, f);
    return f;
}

// A picture record; a library picture's holds its id and name instead of
// the picture.
ObjHandle PictureRecord(ImageObject& o, int16_t libraryId, const unsigned char* libraryName)
{
    platform::Handle p = o.xAccessPict();
    ObjHandle h = newpict();
    ObjFields f = Started(o, h);
    f.SetByte(picture::kOption1, o.imageOption1);
    f.SetByte(picture::kOption2, o.imageOption2);
    f.SetByte(picture::kOption3, o.imageOption3);
    if (libraryName) {
        f.SetWord(kKind, kLibraryPicture);
        f.SetWord(picture::kPictId, libraryId);
        f.SetText(picture::kPictName, libraryName, kNameMax);
    } else if (h && p == o.picture) {
        f.SetLink(picture::kPicture, o.picture);
        o.picture = nullptr;
    }
    o.xReleasePict();
    return h;
}


// The font of a text: the object's, or its style sheet's font and size with
// the style sheet's face added to the object's.
void Font(int16_t styleSheet, int16_t font, int16_t size, int16_t face, ObjFields& f, int32_t at)
{
    int16_t sFont = 0, sSize = 0, sFace = 0;
    if (styleSheet != -1 && GetStyleInfo(styleSheet, &sFont, &sSize, &sFace)) {
        font = sFont;
        size = sSize;
        face = int16_t(face | sFace);
    }
    f.SetWord(at, font);
    f.SetWord(at + 2, size);
    f.SetWord(at + 4, face);
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
    ObjFields f(fresh);
    Common(o, f);
    return fresh;
}

}  // namespace

platform::Handle kernelFormCritRoot = nullptr;

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
    ObjFields f(h);
    Common(*this, f);
    Look(*this, f);
    platform::Rect r{std::min(bounds[0], bounds[2]), std::min(bounds[1], bounds[3]), std::max(bounds[0], bounds[2]),
                     std::max(bounds[1], bounds[3])};
    if (type == kLine) {
        // Drawn from bottom-left to top-right, or the reverse.
        const bool opposite = (bounds[2] < bounds[0]) != (bounds[3] < bounds[1]);
        f.SetByte(drawing::kFill, opposite ? 1 : 0);
        if (lookStyle == 0) {
            if (r.left == r.right) r.right = int16_t(std::min<int32_t>(r.right + penWidth, 32767));
            else if (r.top == r.bottom) r.bottom = int16_t(std::min<int32_t>(r.bottom + penHeight, 32767));
        }
    } else {
        f.SetByte(drawing::kFill, hasFillPattern);
    }
    SetBounds(f, r);
    f.SetWord(drawing::kPenWidth, penWidth);
    f.SetWord(drawing::kPenHeight, penHeight);
    f.SetByte(drawing::kLaserWidth, laserWidth);
    f.SetBytes(drawing::kFillPattern, fillPattern, 8);
    if (hasPenPattern) f.SetBytes(drawing::kPenPattern, penPattern, 8);
    else f.SetBytes(drawing::kPenPattern, kNoPenPattern, 4);
    f.SetLong(drawing::kFore, foreColor);
    f.SetLong(drawing::kBack, backColor);
    return h;
}

platform::Handle RectObject::Convert2Obj() { return Convert2DrawingObj(kRect); }
platform::Handle RoundRectObject::Convert2Obj() { return Convert2DrawingObj(kRoundRect); }
platform::Handle OvalObject::Convert2Obj() { return Convert2DrawingObj(kOval); }
platform::Handle LineObject::Convert2Obj() { return Convert2DrawingObj(kLine); }

platform::Handle MatrixObject::Convert2Obj()
{
    ObjHandle h = Convert2DrawingObj(kMatrix);
    ObjFields f(h);
    f.SetWord(drawing::kRows, rowCount);
    f.SetWord(drawing::kColumns, columnCount);
    return h;
}

// --- texts, pictures, groups, subforms ----------------------------------------

platform::Handle TextObject::Convert2Obj()
{
    ObjHandle h = newtexte();
    if (!h) return nullptr;
    ObjFields f = Started(*this, h);
    f.SetBytes(text::kFillPattern, fillPattern, 8);
    f.SetByte(text::kHasFill, hasFillPattern);
    f.SetLong(text::kFore, foreColor);
    f.SetLong(text::kBack, backColor);
    f.SetWord(text::kJust, justification);
    Font(styleSheet, fontID, fontSize, face, f, text::kFont);
    if (text && platform::GetHandleSize(text) > 1 && (*text)[0] == ':') {
        unsigned char t[256];
        t[0] = uint8_t(std::min<platform::Size>(platform::GetHandleSize(text), 255));
        std::memcpy(t + 1, *text, t[0]);
        ResolveReference(t);
        platform::SetHandleSize(text, t[0]);
        if (platform::MemError() == 0) std::memcpy(*text, t + 1, t[0]);
    }
    f.SetLink(text::kText, text);
    text = nullptr;
    return h;
}

platform::Handle GroupBoxObj::Convert2Obj()
{
    ObjHandle h = TextObject::Convert2Obj();
    ObjFields f(h);
    f.SetWord(kKind, kGroupBox);
    return h;
}

platform::Handle ImageObject::Convert2Obj() { return PictureRecord(*this, 0, nullptr); }

platform::Handle LibraryImageObject::Convert2Obj() { return PictureRecord(*this, pictID, pictName); }

platform::Handle GroupObject::Convert2Obj()
{
    ObjHandle h = newgroup();
    Started(*this, h);
    return h;
}

platform::Handle SubFormObject::Convert2Obj()
{
    AutoResize();
    ObjHandle h = newmulti();
    if (!h) return nullptr;
    ObjFields f = Started(*this, h);
    f.SetWord(subform::kFlags, int16_t(subformFlags));
    f.SetWord(subform::kTable, subformTable);
    f.SetByte(subform::kValue1, subformValue1);
    f.SetByte(subform::kValue2, subformValue2);
    f.SetByte(subform::kOption, uint8_t(subformOption));
    f.SetText(subform::kFormName1, formName1, kNameMax);
    f.SetText(subform::kFormName2, formName2, kNameMax);
    return h;
}

// --- fields and variables -------------------------------------------------------

platform::Handle FieldObject::Convert2Obj()
{
    ObjHandle h = newsais();
    if (!h) return nullptr;
    const uint8_t table = uint8_t(tableNumber == 0 ? OwnTableNumber(editor) : tableNumber);
    unsigned char shown[256];
    std::memcpy(shown, format, size_t(format[0]) + 1);
    if (shown[0] > 1 && shown[1] == ':') {
        platform::Handle list = tableNumber == 0 ? (editor ? EditorCritRoot(editor) : kernelFormCritRoot)
                                                 : TableFieldList(tableNumber);
        if (!list || fieldNumber <= FieldListCount(list)) ResolveReference(shown);
    }
    if (!FitFormat(h, field::kFormat, shown)) return CommonOnly(h, *this);
    ObjFields f = Started(*this, h);
    Font(styleSheet, fontID, fontSize, face, f, field::kFont);
    f.SetWord(field::kJust, justification);
    f.SetWord(field::kFieldNumber, fieldNumber);
    f.SetByte(field::kTable, table);
    f.SetByte(field::kEntryOption, entryOption);
    f.SetByte(field::kDisplayOption, displayOption);
    f.SetLong(field::kFore, foreColor);
    f.SetLong(field::kBack, editOption2 ? -2 : backColor);
    f.SetByte(field::kPlainEdit, editOption2 && !vScrollBar && !hScrollBar ? 1 : 0);
    f.SetLong(field::kEditOption1, editOption1);
    f.SetWord(field::kMethod, objectMethodID);
    f.SetLink(field::kAttributes, AttributesFor(*this));
    f.SetWord(field::kTipKind, tipKind);
    f.SetWord(field::kTipId1, tipID1);
    f.SetWord(field::kTipId2, tipID2);
    f.SetText(field::kFormat, shown, 255);
    f.SetLong(field::kScriptFlags, int32_t(scriptFlags >> 32));
    f.SetLong(field::kScriptFlags + 4, int32_t(scriptFlags));
    f.SetByte(field::kFlag1, flag1);
    f.SetByte(field::kFlag2, flag2);
    f.SetByte(field::kEditOption3, editOption3);
    f.SetByte(field::kEditOption4, editOption4);
    f.SetByte(field::kFieldOption2, fieldOption2);
    return h;
}

platform::Handle VarObject::Convert2Obj()
{
    if (kernelOption && lookID == -1) lookID = 6;
    ObjHandle h = newlien();
    if (!h) return nullptr;
    unsigned char shown[256];
    std::memcpy(shown, format, size_t(format[0]) + 1);
    if (subType != 18 && subType != 19 && subType != 20 && shown[0] > 1 && shown[1] == ':') ResolveReference(shown);
    if (!FitFormat(h, variable::kFormat, shown)) return CommonOnly(h, *this);
    ObjFields f = Started(*this, h);
    f.SetText(variable::kName, varName, kNameMax);
    f.SetByte(variable::kName + 1 + std::min<int32_t>(varName[0], kNameMax), 0);
    Font(styleSheet, fontID, fontSize, face, f, variable::kFont);
    f.SetWord(variable::kJust, justification);
    f.SetByte(variable::kEntryOption, entryOption);
    f.SetByte(variable::kPlainEdit, editOption2 && !vScrollBar && !hScrollBar ? 1 : 0);
    f.SetLong(variable::kEditOption1, editOption1);
    f.SetLong(variable::kFore, foreColor);
    f.SetLong(variable::kBack, editOption2 && (subType == 0 || subType == 1) ? -2 : backColor);
    f.SetByte(variable::kSubType, uint8_t(subType));
    f.SetByte(variable::kVarOption, uint8_t(varOption));
    f.SetWord(variable::kMethod, objectMethodID);
    f.SetByte(variable::kDisplayed, displayOption == 0 && (subType == 0 || subType == 1) ? 0 : 1);
    f.SetWord(variable::kWord1, varWord1);
    f.SetWord(variable::kWord2, varWord2);
    platform::Handle attributes = AttributesFor(*this);
    // Two-byte systems keep no entry filter for the kernel's variables.
    if (attributes && scriptmanager && kernelOption && platform::GetHandleSize(attributes) > saisieatt::kEntryFilter)
        (*attributes)[saisieatt::kEntryFilter] = 0;
    f.SetLink(variable::kAttributes, attributes);
    f.SetLink(variable::kDefaultStyle, CopyOf(defaultStyle));
    f.SetByte(variable::kByte3, varByte3);
    f.SetByte(variable::kSplitter, IsSplitter() ? varByte2 : 0);
    f.SetByte(variable::kInterprocess, interprocess);
    f.SetLong(variable::kScriptFlags, int32_t(scriptFlags >> 32));
    f.SetLong(variable::kScriptFlags + 4, int32_t(scriptFlags));
    f.SetByte(variable::kScroll, subType == 6 || subType == 23 ? 1 : vScrollBar);
    f.SetWord(variable::kTipKind, tipKind);
    f.SetWord(variable::kTipId1, tipID1);
    f.SetWord(variable::kTipId2, tipID2);
    f.SetText(variable::kFormat, shown, 255);
    uint8_t first = flag1, second = flag2;
    switch (subType) {
    case 4: f.SetByte(variable::kOptionSlot, varByte4); break;
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
    f.SetByte(variable::kFlag1, first);
    f.SetByte(variable::kFlag2, second);
    f.SetByte(variable::kEditOption3, editOption3);
    f.SetByte(variable::kEditOption4, editOption4);
    f.SetByte(variable::kLastOption, varByte7);
    return h;
}
