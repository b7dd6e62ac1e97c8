// The chunks of drawings, the matrix, texts, group boxes, pictures, library
// pictures, groups and subforms. Items after the leading ones are read only
// while the chunk has data left (older, shorter chunks keep the defaults);
// writers write every item. A stored length is checked against the chunk
// before anything is made for it.
#include <algorithm>
#include <cstring>

#include "forms/drawing/StyleSheetsInUse.h"
#include "forms/iff/ChunkFields.h"
#include "forms/layout/ReadingFrame.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/ObjectWriting.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"

namespace {

constexpr IFFP kRect = IFFP(platform::FourCC("RECT")), kRoundRect = IFFP(platform::FourCC("RRCT")),
               kOval = IFFP(platform::FourCC("OVAL")), kLine = IFFP(platform::FourCC("LINE")),
               kGrid = IFFP(platform::FourCC("GRID")), kText = IFFP(platform::FourCC("TEXT")),
               kGroupBox = IFFP(platform::FourCC("GRPB")), kPict = IFFP(platform::FourCC("PICT")),
               kStaticPict = IFFP(platform::FourCC("SPIC")), kGroup = IFFP(platform::FourCC("GRUP")),
               kSubform = IFFP(platform::FourCC("MULT"));
// A picture's size word and frame, turned in a file of the other byte order.
constexpr int32_t kPictureHeader = 10;

StyleSheetHeightProc gStyleSheetHeight = nullptr;

bool Bounds(ChunkReader& r, int16_t* bounds)
{
    for (int i = 0; i < 4; ++i)
        if (!r.S16(&bounds[i])) return false;
    return true;
}

void WriteBounds(ChunkWriter& w, const int16_t* bounds)
{
    for (int i = 0; i < 4; ++i) w.U16(uint16_t(bounds[i]));
}

// A name as stored: its length byte and at most 31 characters.
void WriteName(ChunkWriter& w, const unsigned char* name)
{
    unsigned char cut[32];
    cut[0] = std::min<uint8_t>(name[0], 31);
    std::memcpy(cut + 1, name + 1, cut[0]);
    w.PStr(cut);
}

// The look item and its style, read together when the chunk goes on: one
// cut short is a short chunk.
void ReadLook(ChunkReader& r, LayoutObject* o)
{
    if (!r.Has(1)) return;
    int32_t look = 0;
    if (r.S32(&look) && r.S16(&o->lookStyle)) o->SetStoredLook(look);
}

// Reads the optional bytes listed, each while data is left.
void Optional(ChunkReader& r, std::initializer_list<uint8_t*> bytes)
{
    for (uint8_t* b : bytes) {
        if (!r.Has(1)) return;
        r.U8(b);
    }
}

// Bytes read into a new handle, the length already checked.
IFFP ReadBlock(ChunkReader& r, int32_t length, platform::Handle* out)
{
    platform::Handle h = platform::NewHandle(length);
    if (!h) return platform::MemError() ? platform::MemError() : platform::memFullErr;
    if (!r.Bytes(*h, length)) {
        platform::DisposeHandle(h);
        return r.Error();
    }
    *out = h;
    return IFF_OKAY;
}

}  // namespace

void SetStyleSheetHeightProc(StyleSheetHeightProc proc) { gStyleSheetHeight = proc; }

int16_t GetStyleSheetHeight(int16_t styleSheet)
{
    return gStyleSheetHeight ? gStyleSheetHeight(styleSheet) : StyleSheetLineHeight(styleSheet);
}

// --- drawings ---------------------------------------------------------------

void DrawingObject::TakeDrawing(const CustomClientFrame* frame)
{
    if (!frame) return;
    const DrawingSpecs& d = frame->curDrawing;
    std::memcpy(fillPattern, d.fillPattern, 8);
    std::memcpy(penPattern, d.penPattern, 8);
    penWidth = d.penWidth;
    penHeight = d.penHeight;
    foreColor = int32_t(d.foreColor);
    backColor = int32_t(d.backColor);
    hasFillPattern = d.useFillPattern;
    hasPenPattern = d.usePenPattern;
    laserWidth = d.hairline;
}

IFFP DrawingObject::SaveDrawing(_GroupContext* context)
{
    DrawingSpecs d;
    std::memcpy(d.fillPattern, fillPattern, 8);
    std::memcpy(d.penPattern, penPattern, 8);
    d.penWidth = penWidth;
    d.penHeight = penHeight;
    d.foreColor = uint32_t(foreColor);
    d.backColor = uint32_t(backColor);
    d.useFillPattern = hasFillPattern;
    d.usePenPattern = hasPenPattern;
    d.hairline = laserWidth;
    return SaveDrawingProperties(false, d, context);
}

IFFP DrawingObject::ReadObject(CustomClientFrame* frame, _GroupContext* context)
{
    ChunkReader r(context);
    TakeDrawing(frame);
    if (!Bounds(r, bounds)) return r.Error();
    if (r.Has(1)) r.PStr(name, 31);
    ReadLook(r, this);
    Optional(r, {&optionByte, &layer, &flagA, &flagC, &flagD});
    return r.Error();
}

IFFP DrawingObject::WriteObjectWithKind(_GroupContext* context, IFFP kind)
{
    if (const IFFP err = SaveDrawing(context)) return err;
    ChunkWriter w(context);
    w.Begin(kind);
    WriteBounds(w, bounds);
    WriteName(w, name);
    WriteLook(w);
    for (uint8_t b : {optionByte, layer, flagA, flagC, flagD}) w.U8(b);
    w.End();
    return w.Error();
}

IFFP RectObject::WriteObject(_GroupContext* c) { return WriteObjectWithKind(c, kRect); }
IFFP RoundRectObject::WriteObject(_GroupContext* c) { return WriteObjectWithKind(c, kRoundRect); }
IFFP OvalObject::WriteObject(_GroupContext* c) { return WriteObjectWithKind(c, kOval); }
IFFP LineObject::WriteObject(_GroupContext* c) { return WriteObjectWithKind(c, kLine); }

IFFP MatrixObject::ReadObject(CustomClientFrame* frame, _GroupContext* context)
{
    ChunkReader r(context);
    TakeDrawing(frame);
    int32_t look = 0;
    if (!Bounds(r, bounds) || !r.PStr(name, 31) || !r.S32(&look) || !r.S16(&lookStyle) || !r.U8(&optionByte) ||
        !r.S16(&rowCount) || !r.S16(&columnCount))
        return r.Error();
    SetStoredLook(look);
    Optional(r, {&layer, &flagA, &flagC, &flagD});
    return r.Error();
}

IFFP MatrixObject::WriteObject(_GroupContext* context)
{
    if (const IFFP err = SaveDrawing(context)) return err;
    ChunkWriter w(context);
    w.Begin(kGrid);
    WriteBounds(w, bounds);
    WriteName(w, name);
    WriteLook(w);
    w.U8(optionByte);
    w.U16(uint16_t(rowCount));
    w.U16(uint16_t(columnCount));
    for (uint8_t b : {layer, flagA, flagC, flagD}) w.U8(b);
    w.End();
    return w.Error();
}

// --- texts ------------------------------------------------------------------

IFFP TextObject::ReadObject(CustomClientFrame* frame, _GroupContext* context)
{
    ChunkReader r(context);
    int16_t h0 = 0;
    if (frame) {
        const FontSpecs& f = frame->curFont;
        fontID = f.font, fontSize = f.size, justification = f.justification, face = f.face;
        styleSheet = f.styleSheet;
        h0 = f.styleSheetHeight;
    }
    int32_t length = 0;
    if (!Bounds(r, bounds) || !r.Bytes(fillPattern, 8) || !r.U8(&hasFillPattern) || !r.S32(&length)) return r.Error();
    if (length < 0 || length > r.Left()) return BAD_FORM;
    platform::Handle h = nullptr;
    if (const IFFP err = ReadBlock(r, length, &h)) return err;
    SetText(h, 0);
    if (r.Has(1)) r.PStr(name, 31);
    Optional(r, {&optionByte});
    if (r.Has(1)) {
        uint32_t fore = 0, back = 0;
        if (r.U32(&fore) && r.U32(&back)) foreColor = int32_t(fore), backColor = int32_t(back);
    }
    ReadLook(r, this);
    Optional(r, {&layer, &flagA, &flagC, &flagD});
    if (!r.Ok()) return r.Error();
    // A static text drawn in a style sheet keeps the height it was laid out
    // for: its bottom follows the style sheet's line height.
    if (GetObjectType() == 5 && styleSheet != -1) {
        const int16_t current = GetStyleSheetHeight(styleSheet);
        if (current >= 0 && h0 > 0) {
            const double height = double(current) * double(bounds[2] - bounds[0]) / double(h0);
            bounds[2] = int16_t(std::clamp<double>(bounds[0] + int32_t(height), -32768, 32767));
        }
    }
    if (styleSheet != -1) {
        int16_t ascent = 0, height = 0;
        GetFontHeight(&ascent, &height);
    }
    return IFF_OKAY;
}

IFFP TextObject::WriteObjectWithKind(_GroupContext* context, IFFP kind)
{
    if (const IFFP err = SaveFontProperties(false, fontID, fontSize, face, justification, styleSheet,
                                            styleSheetHeight, context))
        return err;
    ChunkWriter w(context);
    const int32_t length = text ? int32_t(platform::GetHandleSize(text)) : 0;
    w.Begin(kind);
    WriteBounds(w, bounds);
    w.Bytes(fillPattern, 8);
    w.U8(hasFillPattern);
    w.U32(uint32_t(length));
    if (length) w.Bytes(*text, length);
    WriteName(w, name);
    w.U8(optionByte);
    w.U32(uint32_t(foreColor));
    w.U32(uint32_t(backColor));
    WriteLook(w);
    for (uint8_t b : {layer, flagA, flagC, flagD}) w.U8(b);
    w.End();
    return w.Error();
}

IFFP TextObject::WriteObject(_GroupContext* c) { return WriteObjectWithKind(c, kText); }
IFFP GroupBoxObj::WriteObject(_GroupContext* c) { return WriteObjectWithKind(c, kGroupBox); }

// --- pictures ---------------------------------------------------------------

IFFP ImageObject::ReadObject(CustomClientFrame*, _GroupContext* context)
{
    ChunkReader r(context);
    int32_t length = 0;
    if (!Bounds(r, bounds) || !r.S32(&length)) return r.Error();
    if (length == 0) return IFF_OKAY;
    if (length < 0 || length > r.Left()) return BAD_FORM;
    platform::Handle h = nullptr;
    if (const IFFP err = ReadBlock(r, length, &h)) return err;
    if (context->byteReversed && length > kPictureHeader)
        for (int32_t i = 0; i < kPictureHeader; i += 2) std::swap((*h)[i], (*h)[i + 1]);
    SetPict(h);
    if (r.Has(1)) r.PStr(name, 31);
    Optional(r, {&imageOption1, &optionByte, &imageOption2});
    ReadLook(r, this);
    Optional(r, {&layer, &flagA, &flagC, &flagD, &imageOption3});
    return r.Error();
}

IFFP ImageObject::WriteObject(_GroupContext* context)
{
    ChunkWriter w(context);
    const int32_t length = picture ? int32_t(platform::GetHandleSize(picture)) : 0;
    w.Begin(kPict);
    WriteBounds(w, bounds);
    w.U32(uint32_t(length));
    if (length) w.Bytes(*picture, length);
    WriteName(w, name);
    for (uint8_t b : {imageOption1, optionByte, imageOption2}) w.U8(b);
    WriteLook(w);
    for (uint8_t b : {layer, flagA, flagC, flagD, imageOption3}) w.U8(b);
    w.End();
    return w.Error();
}

IFFP LibraryImageObject::ReadObject(CustomClientFrame*, _GroupContext* context)
{
    ChunkReader r(context);
    if (!Bounds(r, bounds) || !r.S16(&pictID) || !r.PStr(pictName, 31) || !r.PStr(name, 31) || !r.U8(&imageOption1))
        return r.Error();
    Optional(r, {&optionByte, &imageOption2});
    ReadLook(r, this);
    Optional(r, {&layer, &flagA, &flagC, &flagD, &imageOption3});
    return r.Error();
}

IFFP LibraryImageObject::WriteObject(_GroupContext* context)
{
    ChunkWriter w(context);
    w.Begin(kStaticPict);
    WriteBounds(w, bounds);
    w.U16(uint16_t(pictID));
    WriteName(w, pictName);
    WriteName(w, name);
    for (uint8_t b : {imageOption1, optionByte, imageOption2}) w.U8(b);
    WriteLook(w);
    for (uint8_t b : {layer, flagA, flagC, flagD, imageOption3}) w.U8(b);
    w.End();
    return w.Error();
}

// --- groups -----------------------------------------------------------------

IFFP GroupObject::ReadObject(CustomClientFrame*, _GroupContext* context)
{
    ChunkReader r(context);
    if (!Bounds(r, bounds)) return r.Error();
    if (r.Has(1)) r.PStr(name, 31);
    ReadLook(r, this);
    Optional(r, {&optionByte, &layer, &flagA, &flagC, &flagD});
    return r.Error();
}

IFFP GroupObject::WriteObject(_GroupContext* context)
{
    ChunkWriter w(context);
    w.Begin(kGroup);
    WriteBounds(w, bounds);
    WriteName(w, name);
    WriteLook(w);
    for (uint8_t b : {optionByte, layer, flagA, flagC, flagD}) w.U8(b);
    w.End();
    if (w.Error() != IFF_OKAY) return w.Error();
    auto* writer = reinterpret_cast<FormWriteFrame*>(context->clientFrame);
    const bool carry = writer && writer->carryMethods;
    _GroupContext members;
    IFFP result = StartWGroup(context, ID_FORM, kSizeUnknown, IFFP(platform::FourCC("OBJG")), &members);
    for (LayoutObject* m = firstChild; m && result == IFF_OKAY; m = m->next) {
        result = WriteObjectAndThemes(m, &members);
        if (result != IFF_OKAY || !carry || !(m->IsField() || m->IsVar())) continue;
        // A missing method stops the group with the store's error.
        if (const int16_t method = static_cast<EditableObject*>(m)->objectMethodID)
            result = EditableObject::WriteMethodChunk(&members, method);
    }
    if (result == IFF_OKAY) result = EndWGroup(&members);
    return result;
}

IFFP GroupObject::DoCopy(_GroupContext* context)
{
    auto* writer = reinterpret_cast<FormWriteFrame*>(context->clientFrame);
    if (!writer) return WriteObject(context);
    const bool carried = writer->carryMethods;
    writer->carryMethods = true;
    const IFFP result = WriteObject(context);
    writer->carryMethods = carried;
    return result;
}

// --- subforms ---------------------------------------------------------------

IFFP SubFormObject::ReadObject(CustomClientFrame*, _GroupContext* context)
{
    ChunkReader r(context);
    int32_t look = 0;
    if (!Bounds(r, bounds) || !r.PStr(name, 31) || !r.S32(&look) || !r.S16(&lookStyle) || !r.U16(&subformFlags) ||
        !r.S16(&subformTable) || !r.PStr(formName1, 31) || !r.PStr(formName2, 31))
        return r.Error();
    SetStoredLook(look);
    if (subformTable < 0 && -int32_t(subformTable) > formTableCount) subformTable = 1;
    const bool older = r.Has(1);  // the chunk goes on past the form names
    Optional(r, {&optionByte, &autoSize, &layer, &flagA});
    if (r.Has(1)) {
        uint8_t option = 0;
        r.U8(&subformValue1), r.U8(&subformValue2), r.U8(&option);
        if (subformValue1 != 0 && subformValue1 != 12 && subformValue1 != 30) subformValue1 = 12;
        if (subformValue2 != 0 && subformValue2 != 14) subformValue2 = 14;
        subformOption = option;
        Optional(r, {&flagC, &flagD});
    } else if (older) {
        Read_formatt_old(uint8_t(subformFlags >> 8));
    }
    if (!r.Ok()) return r.Error();
    subformFlags |= 0x0200;
    AutoResize();
    return IFF_OKAY;
}

IFFP SubFormObject::WriteObject(_GroupContext* context)
{
    ChunkWriter w(context);
    w.Begin(kSubform);
    WriteBounds(w, bounds);
    WriteName(w, name);
    WriteLook(w);
    w.U16(subformFlags);
    w.U16(uint16_t(subformTable));
    WriteName(w, formName1);
    WriteName(w, formName2);
    for (uint8_t b : {optionByte, autoSize, layer, flagA, subformValue1, subformValue2, uint8_t(subformOption), flagC,
                      flagD})
        w.U8(b);
    w.End();
    return w.Error();
}

IFFP WriteObjectAndThemes(LayoutObject* object, _GroupContext* context)
{
    const IFFP result = object->WriteObject(context);
    return result != IFF_OKAY ? result : object->themes.Write(context);
}
