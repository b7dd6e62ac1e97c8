// The chunks of fields and variables (layouts in EditableObjects.h). Items
// after the leading ones are read only while the chunk holds them, and an
// older chunk gets what later versions store: default script flags, the
// style sheet's current height, a format for the list sub-types.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "forms/iff/ChunkFields.h"
#include "forms/layout/FormProperties.h"
#include "forms/layout/LayoutInfo.h"
#include "forms/layout/ReadingFrame.h"
#include "forms/layout/SaisieAtt.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/FormTables.h"
#include "forms/objects/ObjectWriting.h"
#include "kernel/fields/FieldTypes.h"
#include "kernel/formhooks/FormSession.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"

namespace {

constexpr IFFP kField = IFFP(platform::FourCC("FILD")), kVar = IFFP(platform::FourCC("VAR ")),
               kDefaultStyle = IFFP(platform::FourCC("DfSt")), kMethod = IFFP(platform::FourCC("CCQz"));
constexpr uint32_t kMethodType = platform::FourCC("CCQz");
constexpr uint8_t kMaxName = 31;
// A variable's name storage as chunks hold it: N bytes, N at most 32.
constexpr uint8_t kMinNameRoom = 8, kMaxNameRoom = 32;

int16_t Clamp16(int32_t v) { return int16_t(std::clamp<int32_t>(v, -32768, 32767)); }

void ReadOptional(ChunkReader& r, std::initializer_list<uint8_t*> bytes)
{
    for (uint8_t* b : bytes) {
        if (!r.Has(1)) return;
        r.U8(b);
    }
}

// Absent, the look is 0 with style 0; cut short, a short chunk.
void ReadLookItem(ChunkReader& r, LayoutObject* o)
{
    if (!r.Has(1)) {
        o->lookID = o->lookStyle = 0;
        o->lookHandler = nullptr;
        return;
    }
    int32_t look = 0;
    if (r.S32(&look) && r.S16(&o->lookStyle)) o->SetStoredLook(look);
}

// A standard format (first byte 1) whose code lies in low..high.
bool StandardFormatIn(const unsigned char* format, uint8_t low, uint8_t high)
{
    return format[0] >= 2 && format[1] == 1 && format[2] >= low && format[2] <= high;
}

}  // namespace

// --- the common part ------------------------------------------------------------

IFFP EditableObject::ReadObject(CustomClientFrame* frame, _GroupContext* context)
{
    ChunkReader r(context);
    if (frame) {
        const FontSpecs& f = frame->curFont;
        fontID = f.font, fontSize = f.size, face = f.face, styleSheet = f.styleSheet;
        justification = f.justification == 10 ? 0 : f.justification;
        recordedHeight = f.styleSheetHeight;
        foreColor = int32_t(frame->curDrawing.foreColor);
        backColor = int32_t(frame->curDrawing.backColor);
        if (frame->entryAttributes) {
            if (entryAttributes && entryAttributes != frame->entryAttributes) platform::DisposeHandle(entryAttributes);
            entryAttributes = frame->entryAttributes;
            frame->entryAttributes = nullptr;
        }
    }
    if (styleSheet != -1) {
        const int16_t current = GetStyleSheetHeight(styleSheet);
        styleSheetHeight = current >= 0 ? current : recordedHeight;
    }
    tipID1 = tipID2 = 0;
    for (int16_t& v : bounds) r.S16(&v);
    // Bytes in either order: the words were turned, these two were not.
    r.U8(&entryOption);
    r.U8(&displayOption);
    r.S16(&recordWord1);
    r.S16(&tipKind);
    r.S16(&objectMethodID);
    uint8_t length = 0;
    if (!r.U8(&length) || !r.Bytes(format + 1, length) || !r.Skip((length + 1) & 1)) return r.Error();
    format[0] = length;
    return IFF_OKAY;
}

void EditableObject::TakeTip(uint32_t tip)
{
    if (!kernelOption || tip == 0) return;
    tipID1 = int16_t(tip >> 16);
    tipID2 = int16_t(tip & 0xFFFF);
}

uint32_t EditableObject::TipLong() const
{
    if (tipKind == 0 || tipID1 == 0 || tipID2 == 0) return 0;
    return uint32_t(uint16_t(tipID1)) << 16 | uint16_t(tipID2);
}

uint8_t EditableObject::FlagsByte() const
{
    return uint8_t((flag1 ? 1 : 0) | (flag2 ? 2 : 0) | (flag3 ? 4 : 0) | (flag4 ? 8 : 0));
}

void EditableObject::SetFlagsByte(uint8_t b)
{
    flag1 = b & 1, flag2 = (b >> 1) & 1, flag3 = (b >> 2) & 1, flag4 = (b >> 3) & 1;
}

bool EditableObject::ReadScriptFlagBlock(ChunkReader& r)
{
    if (!r.Has(1)) return false;
    uint32_t count = 0, high = 0, low = 0;
    if (!r.U32(&count)) return false;
    // A count past the chunk is a short chunk, whatever its size.
    const int32_t within = int32_t(std::min<uint32_t>(count, uint32_t(INT32_MAX)));
    if (count >= 8 && r.U32(&high) && r.U32(&low)) {
        scriptFlags = uint64_t(high) << 32 | low;
        return r.Skip(within - 8);
    }
    // A block too short to hold the flags is passed over.
    if (count < 8) r.Skip(within);
    return false;
}

void EditableObject::RescaleProportionally(int16_t c, int16_t h0)
{
    const int32_t h = int32_t(bounds[2]) - bounds[0];
    if (h0 > 0 && h / h0 <= 2) bounds[2] = Clamp16(bounds[0] + int32_t(int64_t(c) * h / h0));
}

IFFP EditableObject::WriteObjectWithKind(_GroupContext* context, IFFP kind)
{
    // The colours travel in a "DRAW" holding the last written drawing
    // properties otherwise.
    auto* writer = reinterpret_cast<FormWriteFrame*>(context->clientFrame);
    DrawingSpecs drawing;
    FontSpecs unused;
    if (writer && writer->drawingWritten) drawing = writer->lastDrawing;
    else FillCurProps(&drawing, &unused);
    drawing.foreColor = uint32_t(foreColor);
    drawing.backColor = uint32_t(backColor);
    if (const IFFP err = SaveDrawingProperties(false, drawing, context)) return err;
    // Font and size count even with a style sheet.
    const bool fontDiffers = !writer || !writer->fontWritten || writer->lastFont.font != fontID ||
                             writer->lastFont.size != fontSize;
    if (const IFFP err = SaveFontProperties(fontDiffers, fontID, fontSize, face, justification, styleSheet,
                                            styleSheetHeight, context))
        return err;
    if (entryAttributes)
        if (const IFFP err = WriteSattObject(entryAttributes, context)) return err;
    ChunkWriter w(context);
    w.Begin(kind);
    for (int16_t v : bounds) w.U16(uint16_t(v));
    w.U8(entryOption);
    w.U8(displayOption);
    w.U16(uint16_t(recordWord1));
    w.U16(uint16_t(tipKind));
    w.U16(uint16_t(objectMethodID));
    w.PStr(format);
    if ((format[0] + 1) & 1) w.U8(0);
    WriteItems(w);
    w.End();
    return w.Error();
}

IFFP EditableObject::WriteMethodChunk(_GroupContext* context, int16_t methodId)
{
    platform::Handle method = xget1res(kMethodType, methodId);
    if (!method) return reserr ? reserr : platform::resNotFound;
    // Held while its bytes are written, then left to the store again.
    hunpurgeres(method);
    const IFFP result = PutCk(context, kMethod, int32_t(platform::GetHandleSize(method)), *method);
    hpurgeres(method);
    return result;
}

IFFP EditableObject::DoCopy(_GroupContext* context)
{
    if (const IFFP err = WriteObject(context)) return err;
    return objectMethodID != 0 ? WriteMethodChunk(context, objectMethodID) : IFF_OKAY;
}

// --- formats --------------------------------------------------------------------

int16_t EditableObject::CountFormatStrings()
{
    if (format[0] == 0) return 0;
    int16_t n = 1;
    for (int i = 1; i <= format[0]; ++i) n += format[i] == ';';
    return n;
}

void EditableObject::SetFormatNthLong(int32_t value, int16_t n, int16_t count)
{
    // Where each entry of the format lies now.
    int16_t starts[256], lengths[256];
    int16_t held = 0;
    for (int16_t i = 1, from = 1; format[0] > 0 && i <= format[0] + 1; ++i)
        if (i == format[0] + 1 || format[i] == ';') {
            starts[held] = from, lengths[held] = int16_t(i - from), ++held;
            from = int16_t(i + 1);
        }
    char number[16];
    const int digits = std::snprintf(number, sizeof number, "%d", int(value));
    unsigned char out[256];
    int32_t at = 0;
    auto put = [&](const void* bytes, int32_t length) {
        const int32_t kept = std::min<int32_t>(length, 255 - at);
        std::memcpy(out + at, bytes, size_t(kept));
        at += kept;
    };
    for (int32_t e = 1; e <= count; ++e) {
        if (e > 1) put(";", 1);
        if (e == n) put(number, digits);
        else if (e <= held) put(format + starts[e - 1], lengths[e - 1]);
    }
    format[0] = uint8_t(at);
    std::memcpy(format + 1, out, size_t(at));
}

// --- fields ---------------------------------------------------------------------

platform::Handle FieldObject::_GetCritRoot()
{
    return tableNumber == 0 ? EditorCritRoot(editor) : TableFieldList(tableNumber);
}

int16_t FieldObject::GetDataType() { return FieldListType(_GetCritRoot(), fieldNumber); }

void FieldObject::SettleNumbers()
{
    platform::Handle own = EditorCritRoot(editor);
    const int16_t ownTable = FieldListTableNumber(own);
    if (tableNumber < 0 || tableNumber > formTableCount) {
        tableNumber = ownTable;
        if (fieldNumber > FieldListCount(own)) fieldNumber = 1;
    }
    if (tableNumber == 0) tableNumber = ownTable;
    if (fieldNumber < 1) fieldNumber = 1;
}

IFFP FieldObject::ReadObject(CustomClientFrame* frame, _GroupContext* context)
{
    if (const IFFP err = EditableObject::ReadObject(frame, context)) return err;
    ChunkReader r(context);
    uint8_t legacy = 0;
    if (!r.S16(&fieldNumber) || !r.S16(&tableNumber) || !r.U8(&legacy) || !r.U8(&fieldOption)) return r.Error();
    ReadLookItem(r, this);
    if (r.Has(1)) r.PStr(name, kMaxName);
    bool flagsRead = false;
    if (r.Has(1)) {
        uint32_t first = 0;
        if (r.U32(&first)) scriptFlags = uint64_t(first) << 32;
        flagsRead = true;
    }
    if (r.Has(1)) {
        uint8_t b = 0;
        r.U8(&b);
        SetFlagsByte(b);
        if (!r.U8(&optionByte)) return r.Error();
    }
    ReadOptional(r, {&vScrollBar});
    if (r.Has(1)) {
        uint32_t tip = 0;
        if (r.U32(&tip)) TakeTip(tip);
    }
    ReadOptional(r, {&editOption2});
    if (r.Has(1)) r.S32(&editOption1);
    ReadOptional(r, {&hScrollBar, &layer});
    if (ReadScriptFlagBlock(r)) flagsRead = true;
    ReadOptional(r, {&flagA, &flagC, &flagD, &editOption3, &editOption4, &fieldOption2});
    if (!r.Ok()) return r.Error();

    if (styleSheet != -1) {
        const int16_t c = GetStyleSheetHeight(styleSheet);
        if (c > 0 && recordedHeight >= 0 && GetDataType() != fieldtype::kBoolean) RescaleProportionally(c, recordedHeight);
    }
    if (!flagsRead) {
        uint32_t flags[2];
        DfltScriptFlags(0, legacy != 0, flags);
        scriptFlags = uint64_t(flags[0]) << 32 | flags[1];
    }
    if (vScrollBar || hScrollBar) editOption2 = 0;
    SettleNumbers();
    return IFF_OKAY;
}

void FieldObject::WriteItems(ChunkWriter& w)
{
    const int16_t table = tableNumber != 0 ? tableNumber : FieldListTableNumber(EditorCritRoot(editor));
    w.U16(uint16_t(fieldNumber));
    w.U16(uint16_t(table));
    w.U8(0);
    w.U8(fieldOption);
    WriteLook(w);
    w.PStr(name);
    w.U32(uint32_t(scriptFlags >> 32));
    w.U8(FlagsByte());
    w.U8(optionByte);
    w.U8(vScrollBar);
    w.U32(TipLong());
    w.U8(editOption2);
    w.U32(uint32_t(editOption1));
    w.U8(hScrollBar);
    w.U8(layer);
    w.U32(8);
    w.U32(uint32_t(scriptFlags >> 32));
    w.U32(uint32_t(scriptFlags));
    for (uint8_t b : {flagA, flagC, flagD, editOption3, editOption4, fieldOption2}) w.U8(b);
}

IFFP FieldObject::WriteObject(_GroupContext* context)
{
    // A field shows its value unless it is of a kind shown otherwise.
    if (displayOption == 0) {
        const int16_t type = GetDataType();
        if (type != fieldtype::kText && type != fieldtype::kPicture) displayOption = 1;
    }
    return WriteObjectWithKind(context, kField);
}

void FieldObject::AdjustVersion(int16_t version)
{
    if (version < 1) flag1 = flag2 = 1;
    if (version < 3) flag2 = flag1;
}

// --- variables ------------------------------------------------------------------

void VarObject::SetDefaultStyle(platform::Handle style)
{
    if (defaultStyle && defaultStyle != style) platform::DisposeHandle(defaultStyle);
    defaultStyle = style;
}

void VarObject::RescaleBySubType(int16_t c, int16_t h0)
{
    const int32_t h = int32_t(bounds[2]) - bounds[0];
    switch (subType) {
    case 0:
    case 1:
        if (!StandardFormatIn(format, 16, 24)) RescaleProportionally(c, h0);
        break;
    case 2:
    case 28:
        if (h0 < c && c > h - 2) bounds[2] = Clamp16(bounds[2] + c - h0);
        break;
    case 3:
    case 4:
        if (h0 > c && c > h) bounds[2] = Clamp16(bounds[2] + c - h0);
        break;
    case 26:
        if (lookID != 1 && lookID != 4 && lookID != 5) break;
        [[fallthrough]];
    case 5:
        if (h0 < c && c > h - 3) bounds[2] = Clamp16(bounds[2] + c - h0);
        break;
    default: break;
    }
}

IFFP VarObject::ReadObject(CustomClientFrame* frame, _GroupContext* context)
{
    if (const IFFP err = EditableObject::ReadObject(frame, context)) return err;
    ChunkReader r(context);
    uint8_t room = 0;
    if (!r.U8(&room)) return r.Error();
    if (room <= kMaxNameRoom) {
        uint8_t stored[kMaxNameRoom] = {};
        if (!r.Bytes(stored, room)) return r.Error();
        if (room > 0) {
            varName[0] = std::min<uint8_t>({stored[0], uint8_t(room - 1), kMaxName});
            std::memcpy(varName + 1, stored + 1, varName[0]);
            // A number kept as a name: a mark and a long, turned with the file.
            if (context->byteReversed && varName[0] == 5 && (varName[1] == 1 || varName[1] == 7))
                platform::ReverseBytes(varName + 2, 4);
        }
    } else if (!r.Skip(room)) {
        return r.Error();
    }
    int32_t storedType = 0;
    uint8_t bytes[4], zero[2], word1[2];
    if (!r.S32(&storedType) || !r.S32(&varOption) || !r.Bytes(bytes, 4) || !r.Bytes(zero, 2) || !r.Bytes(word1, 2) ||
        !r.S16(&varWord2))
        return r.Error();
    interprocess = bytes[0];
    varByte1 = 0;
    varByte2 = bytes[2];
    varByte3 = 0;
    // Its word is not turned in a file of the other byte order.
    varWord1 = platform::ReadBES16(word1);
    ReadLookItem(r, this);
    if (r.Has(1)) r.PStr(name, kMaxName);
    bool flagsRead = false;
    if (r.Has(1)) {
        uint32_t first = 0;
        uint8_t b = 0;
        if (r.U32(&first)) scriptFlags = uint64_t(first) << 32;
        if (r.U8(&b)) SetFlagsByte(b);
        flagsRead = true;
    }
    ReadOptional(r, {&optionByte});
    if (r.Has(1)) {
        uint32_t tip = 0;
        if (r.U8(&vScrollBar) && r.U32(&tip)) TakeTip(tip);
    }
    ReadOptional(r, {&editOption2});
    if (r.Has(1)) r.S32(&editOption1);
    uint8_t styleMarker = 1;
    ReadOptional(r, {&varByte5, &styleMarker, &hScrollBar, &layer});
    if (ReadScriptFlagBlock(r)) flagsRead = true;
    ReadOptional(r, {&flagA, &varByte4, &flagC, &flagD, &editOption3, &editOption4, &varByte6, &varByte7});
    if (!r.Ok()) return r.Error();

    SetSousType(storedType);
    if (subType == 23 && styleMarker != 0 && lookStyle == 0) lookStyle = 1;
    if (subType >= 18 && subType <= 20) {
        const int16_t entries = CountFormatStrings();
        if (entries <= 1) SetFormatNthLong(1, 7, 12);
        else if (entries != 12) SetFormatNthLong(0, 12, 12);
    }
    if (styleSheet != -1) {
        const int16_t c = GetStyleSheetHeight(styleSheet);
        if (c > 0 && recordedHeight >= 0) RescaleBySubType(c, recordedHeight);
    }
    if (!flagsRead) {
        uint32_t flags[2];
        DfltScriptFlags(subType, interprocess == 0, flags);
        scriptFlags = uint64_t(flags[0]) << 32 | flags[1];
    }
    if (vScrollBar || hScrollBar) editOption2 = 0;
    return IFF_OKAY;
}

void VarObject::WriteItems(ChunkWriter& w)
{
    const uint8_t length = std::min<uint8_t>(varName[0], kMaxName);
    const uint8_t room = std::max<uint8_t>(uint8_t(length + 1), kMinNameRoom);
    uint8_t stored[kMaxNameRoom] = {};
    stored[0] = length;
    std::memcpy(stored + 1, varName + 1, length);
    w.U8(room);
    w.Bytes(stored, room);
    w.U32(uint32_t(subType));
    w.U32(uint32_t(varOption));
    for (uint8_t b : {interprocess, varByte1, varByte2, varByte3, uint8_t(0), uint8_t(0)}) w.U8(b);
    w.U16(uint16_t(varWord1));
    w.U16(uint16_t(varWord2));
    WriteLook(w);
    w.PStr(name);
    w.U32(uint32_t(scriptFlags >> 32));
    w.U8(FlagsByte());
    w.U8(optionByte);
    w.U8(vScrollBar);
    w.U32(TipLong());
    w.U8(editOption2);
    w.U32(uint32_t(editOption1));
    w.U8(varByte5);
    w.U8(1);  // the look-style marker
    w.U8(hScrollBar);
    w.U8(layer);
    w.U32(8);
    w.U32(uint32_t(scriptFlags >> 32));
    w.U32(uint32_t(scriptFlags));
    for (uint8_t b : {flagA, varByte4, flagC, flagD, editOption3, editOption4, varByte6, varByte7}) w.U8(b);
}

IFFP VarObject::WriteObject(_GroupContext* context)
{
    if (const IFFP err = WriteObjectWithKind(context, kVar)) return err;
    if (!defaultStyle) return IFF_OKAY;
    return PutCk(context, kDefaultStyle, int32_t(platform::GetHandleSize(defaultStyle)), *defaultStyle);
}

void VarObject::AdjustVersion(int16_t version)
{
    if (version < 1) flag1 = 1;
    if (version >= 3) return;
    flag2 = flag1;
    if (kernelOption) return;
    switch (subType) {
    case 0: case 1: case 11: case 21: case 23: case 25: case 26: break;
    default: flag1 = 0;
    }
}
