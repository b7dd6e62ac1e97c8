#include "forms/objects/EditableObjects.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "forms/layout/SaisieAtt.h"
#include "forms/objects/FormModelHooks.h"
#include "kernel/fields/FieldTypes.h"
#include "kernel/helpers/EntryAttributes.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "platform/theme/Theme.h"

namespace {

constexpr uint8_t kInterprocessMark = 0xD7;
constexpr int16_t kObjectNameList = 803, kVariableNameItem = 67;
int32_t gVariableCounter = 0;

platform::Handle Copied(platform::Handle h)
{
    if (!h) return nullptr;
    platform::Handle copy = h;
    return platform::HandToHand(&copy) == 0 ? copy : nullptr;
}

bool Holds(platform::Handle record, int32_t bytes) { return record && platform::GetHandleSize(record) >= bytes; }

}  // namespace

// --- editable objects ---------------------------------------------------------

platform::Rect EditableObject::GetFullBounds()
{
    platform::Rect r = LayoutObject::GetFullBounds();
    if (!vScrollBar && !hScrollBar) return r;
    int32_t bar = 0;
    platform::GetThemeMetric(platform::kThemeMetricScrollBarWidth, &bar);
    if (vScrollBar) r.right = int16_t(std::min<int32_t>(r.right + bar, 32767));
    if (hScrollBar) r.bottom = int16_t(std::min<int32_t>(r.bottom + bar, 32767));
    return r;
}

EditableObject::EditableObject() { styleSheet = -1; }
EditableObject::EditableObject(LayoutEditor* e) : LayoutObject(e) { styleSheet = -1; }

EditableObject::EditableObject(const EditableObject& o)
    : LayoutObject(o),
      fontID(o.fontID),
      face(o.face),
      fontSize(o.fontSize),
      justification(o.justification),
      styleSheet(o.styleSheet),
      styleSheetHeight(o.styleSheetHeight),
      entryOption(o.entryOption),
      flag1(o.flag1),
      flag2(o.flag2),
      flag3(o.flag3),
      flag4(o.flag4),
      vScrollBar(o.vScrollBar),
      hScrollBar(o.hScrollBar),
      displayOption(o.displayOption),
      editOption3(o.editOption3),
      editOption4(o.editOption4),
      objectMethodID(o.objectMethodID),
      recordWord1(o.recordWord1),
      tipKind(o.tipKind),
      tipID1(o.tipID1),
      tipID2(o.tipID2),
      entryAttributes(Copied(o.entryAttributes)),
      scriptFlags(o.scriptFlags),
      editOption1(o.editOption1),
      editOption2(o.editOption2)
{
    std::memcpy(format, o.format, sizeof format);
}

EditableObject::~EditableObject()
{
    if (entryAttributes) platform::DisposeHandle(entryAttributes);
}

void EditableObject::ScaleObj(int16_t percent, uint8_t flag)
{
    LayoutObject::ScaleObj(percent, flag);
    if (styleSheet == -1) fontSize = int16_t(std::clamp<int32_t>(int32_t(fontSize) * percent / 100, -32768, 32767));
}

platform::Handle EditableObject::Record()
{
    if (!entryAttributes) entryAttributes = newsatt();
    return entryAttributes;
}

void EditableObject::SetEntryFilter(const unsigned char* filter)
{
    platform::Handle r = Record();
    if (!r) return;
    platform::SetHandleSize(r, kEntryAttributesSize + filter[0]);
    if (platform::MemError() != 0) return;
    std::memcpy(*r + saisieatt::kEntryFilter, filter, size_t(filter[0]) + 1);
}

void EditableObject::SetChoiceList(int16_t id)
{
    if (platform::Handle r = Record()) {
        platform::WriteBE16(*r + saisieatt::kChoiceList, uint16_t(id));
        (*r)[saisieatt::kChoiceSet] = id >= 0 ? 1 : 0;
    }
}

void EditableObject::SetRequestedList(int16_t id)
{
    if (platform::Handle r = Record()) platform::WriteBE16(*r + saisieatt::kRequiredList, uint16_t(id));
}

void EditableObject::SetExcludedList(int16_t id)
{
    if (platform::Handle r = Record()) platform::WriteBE16(*r + saisieatt::kExcludedList, uint16_t(id));
}

int16_t EditableObject::GetChoiceList()
{
    if (!Holds(entryAttributes, saisieatt::kChoiceSet + 1) || !(*entryAttributes)[saisieatt::kChoiceSet]) return -1;
    return SattWord(entryAttributes, saisieatt::kChoiceList);
}

int16_t EditableObject::GetRequestedList()
{
    return Holds(entryAttributes, saisieatt::kRequiredList + 2) ? SattWord(entryAttributes, saisieatt::kRequiredList) : -1;
}

int16_t EditableObject::GetExcludedList()
{
    return Holds(entryAttributes, saisieatt::kExcludedList + 2) ? SattWord(entryAttributes, saisieatt::kExcludedList) : -1;
}

bool EditableObject::GetEditable()
{
    return !Holds(entryAttributes, saisieatt::kEditable + 1) || (*entryAttributes)[saisieatt::kEditable] != 0;
}

bool EditableObject::GetEntryFilter(unsigned char* out)
{
    out[0] = 0;
    if (!Holds(entryAttributes, kEntryAttributesSize)) return false;
    const int32_t room = int32_t(platform::GetHandleSize(entryAttributes)) - saisieatt::kEntryFilter - 1;
    const uint8_t n = uint8_t(std::min<int32_t>(uint8_t((*entryAttributes)[saisieatt::kEntryFilter]), room));
    out[0] = n;
    std::memcpy(out + 1, *entryAttributes + saisieatt::kEntryFilter + 1, n);
    return n > 0;
}

void EditableObject::SetSatt(platform::Handle record)
{
    if (entryAttributes && entryAttributes != record) platform::DisposeHandle(entryAttributes);
    entryAttributes = record;
    delchecksatt(&entryAttributes, DefaultCheck());
}

void EditableObject::DoSetSatt(platform::Handle record) { SetSatt(record); }

void EditableObject::GetTipsIDs(int16_t* kind, int16_t* id1, int16_t* id2)
{
    *kind = tipKind;
    *id1 = tipID1;
    *id2 = tipID2;
}

void EditableObject::SetTipsIDs(int16_t kind, int16_t id1, int16_t id2)
{
    tipKind = kind;
    tipID1 = id1;
    tipID2 = id2;
}

bool EditableObject::GetPictureStdFormat(int16_t* code)
{
    if (format[0] < 2 || format[1] != 1 || GetDataType() != fieldtype::kPicture) return false;
    *code = format[2];
    return true;
}

bool EditableObject::GetHourStdFormat(int16_t* code)
{
    if (format[0] < 2 || format[1] != 1 || GetDataType() != fieldtype::kTime) return false;
    *code = format[2];
    return true;
}

bool EditableObject::GetDateStdFormat(int16_t* code)
{
    if (format[0] < 2 || format[1] != 1 || GetDataType() != fieldtype::kDate) return false;
    *code = format[2];
    return true;
}

void EditableObject::GetDisplayFormat(unsigned char* out) { std::memcpy(out, format, size_t(format[0]) + 1); }

void EditableObject::SetDisplayFormat(const unsigned char* text) { std::memcpy(format, text, size_t(text[0]) + 1); }

// --- fields -----------------------------------------------------------------

LayoutObject* FieldObject::Duplicate() { return new FieldObject(*this); }

// --- variables --------------------------------------------------------------

int16_t VarKindOfSubType(int32_t subType)
{
    static const int16_t kKinds[31] = {13, 13, 14, 22, 20, 28, 25, 16, 17, 24, 35, 100, 33, 34, 32, 0,
                                       31, 29, 15, 21, 23, 28, 19, 26, 30, 27, 28, 18, 14, 36, 38};
    return subType >= 0 && subType <= 30 ? kKinds[subType] : 0;
}

VarObject::VarObject(const VarObject& o)
    : EditableObject(o),
      subType(o.subType),
      varOption(o.varOption),
      varWord1(o.varWord1),
      varWord2(o.varWord2),
      interprocess(o.interprocess),
      varByte1(o.varByte1),
      varByte2(o.varByte2),
      varByte3(o.varByte3),
      varByte4(o.varByte4),
      defaultStyle(Copied(o.defaultStyle)),
      varByte5(o.varByte5),
      varByte6(o.varByte6),
      varByte7(o.varByte7)
{
    std::memcpy(varName, o.varName, sizeof varName);
}

VarObject::~VarObject()
{
    if (defaultStyle) platform::DisposeHandle(defaultStyle);
}

LayoutObject* VarObject::Duplicate() { return new VarObject(*this); }

int16_t VarObject::GetObjectKind() { return VarKindOfSubType(subType); }

void VarObject::SetSousType(int32_t type, bool force)
{
    if (type == 15) type = 0;
    if (type == subType && !force) return;
    subType = type;
}

bool VarObject::IsSplitter()
{
    const int16_t kind = GetObjectKind();
    return kind == 36 || (kind == 16 && varOption == 16);
}

void VarObject::GetVarName(unsigned char* out) { std::memcpy(out, varName, size_t(varName[0]) + 1); }

void VarObject::SetVarName(const unsigned char* n)
{
    StoreVarName(n);
    // The object method goes by the variable's name, the marker in front for
    // an interprocess one.
    if (objectMethodID != 0) {
        unsigned char shown[33];
        const uint8_t mark = interprocess ? 1 : 0;
        shown[0] = uint8_t(varName[0] + mark);
        shown[1] = kInterprocessMark;
        std::memcpy(shown + 1 + mark, varName + 1, varName[0]);
        RenameModelObjectMethod(editor, objectMethodID, shown);
    }
    MarkModelChanged(editor);
}

void VarObject::StoreVarName(const unsigned char* n)
{
    const bool marked = n[0] > 0 && n[1] == kInterprocessMark;
    const uint8_t from = marked ? 2 : 1;
    const uint8_t length = std::min<uint8_t>(uint8_t(n[0] - (from - 1)), 31);
    varName[0] = length;
    std::memcpy(varName + 1, n + from, length);
    if (marked) interprocess = 1;
}

void VarObject::NameDfltVar()
{
    static unsigned char base[256] = {};
    if (base[0] == 0) platform::GetIndString(base, kObjectNameList, kVariableNameItem);
    char digits[16];
    const int n = int(std::to_chars(digits, digits + sizeof digits, int32_t(++gVariableCounter)).ptr - digits);
    // The base gives way so that the number stays whole.
    unsigned char full[64];
    const uint8_t fromBase = uint8_t(std::min<int>(base[0], 31 - n));
    full[0] = uint8_t(fromBase + n);
    std::memcpy(full + 1, base + 1, fromBase);
    std::memcpy(full + 1 + fromBase, digits, size_t(n));
    StoreVarName(full);
}
