// Fields and variables on a form: text appearance, entry attributes
// (`saisieatt`, SaisieAtt.h), a display format, the events of their
// object method, help tips, scroll bars. Their chunks (EditableChunks.cpp):
//
//   "DRAW", "FONT"  when the colours or the font differ from the last written
//   "SATT"          the entry attributes, when the object has them
//   "FILD"/"VAR "   the common part, then the class's items (below)
//   "DfSt"          a variable's default style, as it is
//   "CCQz"          the object method, when objects are copied (DoCopy)
//
// Common part: bounds (8), entry option, display option, record word 1,
// tip kind, object method id (the 16 bytes read as eight words), then the
// display format, length-prefixed and padded to an even size.
//
// "FILD" after it: field and table numbers, a legacy byte, the field
// option; then, each only while the chunk holds it: look (4) and style
// (2), name, the first script-flags long, flags byte (bits 0-3: flag 1-4)
// with the option byte, vertical scroll bar, tip (id 1 high, id 2 low),
// edit option 2, edit option 1 (4), horizontal scroll bar, layer, a byte
// count 8 and the 64 script-flag bits, flags A, C, D, edit options 3, 4,
// field option 2.
//
// "VAR " after it: N (the name's length plus 1, at least 8) and N bytes of
// the name's storage (skipped when N passes 32); sub-type (4), option (4),
// interprocess, var bytes 1-3, two zero bytes, var words 1 and 2; then,
// each only while the chunk holds it: look and style, name, the first
// script-flags long with the flags byte, option byte, vertical scroll bar
// and tip, edit option 2, edit option 1, var byte 5, a look-style marker
// (1), horizontal scroll bar, layer, the 8 + 64 script flags, flag A, var
// byte 4, flags C and D, edit options 3 and 4, var bytes 6 and 7.
//
// The older flat records of both (FlatRecords.cpp) end in a padded display
// format, an optional tip (-2 and the tip kind), and an attributes word
// followed, when not 0, by a 68-byte attributes block and the padded entry
// filter.
#pragma once

#include "forms/objects/LayoutObject.h"

class ChunkReader;
class ChunkWriter;
struct LienObj;

class EditableObject : public LayoutObject {
public:
    EditableObject();
    explicit EditableObject(LayoutEditor* editor);
    EditableObject(const EditableObject& other);
    ~EditableObject() override;
    // The font, size and face (or the style sheet with the face added), a
    // plain pen.
    void SetupDrawing() override;
    // The context with the title; disabled when the entry attributes say
    // the object is not editable.
    void InitVIParms(VIObj* context, int16_t widget, const platform::Rect& r, const unsigned char* title);

    bool IsEditable() override { return true; }
    // The common part; the field or variable items follow in the class's
    // ReadObject. Takes the frame's pending entry attributes.
    IFFP ReadObject(CustomClientFrame* frame, _GroupContext* context) override;
    using LayoutObject::ReadObject;
    // The object method travels with the object: after WriteObject, the
    // 'CCQz' of objectMethodID from the current resource file as a "CCQz"
    // chunk; a missing method ends the copy with the store's error.
    IFFP DoCopy(_GroupContext* context) override;
    void SetFace(int16_t v) override { face = v; }
    void SetFont(int16_t v) override { fontID = v; }
    void SetSize(int16_t v) override { fontSize = v; }
    void SetJust(int16_t v) override { justification = v; }
    void SetStyleSheet(int16_t v) override { styleSheet = v; }
    // Without a style sheet the font size scales with the coordinates.
    void ScaleObj(int16_t percent, uint8_t flag) override;
    // Widened by the platform's scroll bar width to the right for a
    // vertical scroll bar and downwards for a horizontal one.
    platform::Rect GetFullBounds() override;

    // --- appended, in order -------------------------------------------------
    virtual void SetEntryFilter(const unsigned char* filter);
    virtual void SetChoiceList(int16_t id);
    virtual void SetRequestedList(int16_t id);
    virtual void SetExcludedList(int16_t id);
    virtual int16_t GetDataType() { return 0; }
    virtual bool GetPictureStdFormat(int16_t* code);
    virtual bool GetHourStdFormat(int16_t* code);
    virtual bool GetDateStdFormat(int16_t* code);
    virtual void GetDisplayFormat(unsigned char* out);
    virtual bool GetEntryFilter(unsigned char* out);
    virtual int16_t GetChoiceList();
    virtual int16_t GetRequestedList();
    virtual int16_t GetExcludedList();
    virtual int16_t GetStyleSheet() { return styleSheet; }
    virtual void SetScriptFlags(uint64_t flags) { scriptFlags = flags; }
    virtual uint64_t GetScriptFlags() { return scriptFlags; }
    virtual void GetTipsIDs(int16_t* kind, int16_t* id1, int16_t* id2);
    virtual void SetTipsIDs(int16_t kind, int16_t id1, int16_t id2);
    // Takes the record (the old one disposed), then drops one that holds
    // nothing but defaults.
    virtual void SetSatt(platform::Handle record);
    virtual bool DataSourceEditable() { return true; }
    virtual void GetEditableName(unsigned char* out) { GetName(out); }
    virtual void DoSetSatt(platform::Handle record);

    // The entry attributes' editable flag; true without a record.
    bool GetEditable();
    // Stores the text as the display format (at most 255 bytes).
    void SetDisplayFormat(const unsigned char* text);
    // The ";"-separated entries of the format (0 when it is empty).
    int16_t CountFormatStrings();
    // Makes the format `count` entries (cut or filled with empty ones) and
    // entry n (1-based) the decimal value; the whole held to 255 bytes.
    void SetFormatNthLong(int32_t value, int16_t n, int16_t count);
    // Companions, then the chunk `kind` with the common part and the
    // class's items (WriteItems).
    IFFP WriteObjectWithKind(_GroupContext* context, IFFP kind);
    // The 'CCQz' of that id in the current resource file as a "CCQz"
    // chunk; the store's error when it is missing.
    static IFFP WriteMethodChunk(_GroupContext* context, int16_t methodId);

    int16_t fontID = 0, face = 0, fontSize = 0, justification = 0;
    int16_t styleSheet = -1, styleSheetHeight = 0;
    uint8_t entryOption = 0;
    uint8_t flag1 = 0, flag2 = 0, flag3 = 0, flag4 = 0;
    uint8_t vScrollBar = 0, hScrollBar = 0;
    uint8_t displayOption = 0;
    uint8_t editOption3 = 0, editOption4 = 0;
    int16_t objectMethodID = 0;
    int16_t recordWord1 = 0;
    int16_t tipKind = 0, tipID1 = 0, tipID2 = 0;
    platform::Handle entryAttributes = nullptr;
    uint64_t scriptFlags = 0;
    unsigned char format[256] = {};
    int32_t editOption1 = 0;
    uint8_t editOption2 = 0;

protected:
    // The record, made with its defaults when missing; null when memory is
    // short.
    platform::Handle Record();
    // 0 for a field's check of a default record, 1 for a variable's.
    virtual uint8_t DefaultCheck() { return 0; }
    // What the class writes after the common part of its chunk.
    virtual void WriteItems(ChunkWriter& w) { (void)w; }
    // A chunk's tip long: taken only while kernelOption is set.
    void TakeTip(uint32_t tip);
    uint32_t TipLong() const;
    // The flags byte of both chunks.
    uint8_t FlagsByte() const;
    void SetFlagsByte(uint8_t b);
    // The optional 8 + 64 script flags: a byte count, then that many bytes
    // of which the first 8 are kept. True when they were there.
    bool ReadScriptFlagBlock(ChunkReader& r);
    // The style sheet's height now (c) against the one the chunk's "FONT"
    // recorded (h0): a field's height follows it when it was at most
    // twice h0.
    void RescaleProportionally(int16_t c, int16_t h0);
    // A flat record's format, tip and attributes block from `at`; the
    // offset after them, or -1 when they pass `available`.
    int32_t ReadFlatTrailer(const uint8_t* data, int32_t at, int32_t available);

    int16_t recordedHeight = -1;  // the "FONT" height of the last chunk read, -1 none
};

class FieldObject : public EditableObject {
public:
    using EditableObject::EditableObject;
    FieldObject(const FieldObject& other) = default;
    // As an editable object, then the colours its handler gives a field
    // (kind 0; kind 1 when it is no boolean and may not be entered).
    void SetupDrawing() override;
    void DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv) override;
    // The label: the field's name, after "[Table]" when it is of another
    // table; false when the table list does not hold the field.
    bool FieldLabel(unsigned char* out);
    int16_t GetObjectKind() override { return 12; }
    int16_t GetObjectType() override { return 1; }
    bool IsField() override { return true; }
    IFFP ReadObject(CustomClientFrame* frame, _GroupContext* context) override;
    int32_t ReadObject(char* data, int32_t available) override;
    IFFP WriteObject(_GroupContext* context) override;
    LayoutObject* Duplicate() override;
    platform::Handle Convert2Obj() override;
    // Version 0 sets flags 1 and 2; below 3 flag 2 takes flag 1.
    void AdjustVersion(int16_t version) override;
    // The field's type in its table's field list; 0 without a list.
    int16_t GetDataType() override;
    // The field list of the field's table: the form model's own for table
    // 0, else the structure's table of that number; null when unknown.
    platform::Handle _GetCritRoot();

    int16_t fieldNumber = 0, tableNumber = 0;
    uint8_t fieldOption = 0, fieldOption2 = 0;

protected:
    void WriteItems(ChunkWriter& w) override;
    // Table and field numbers the structure holds: table 0, a negative one
    // or one past the tables is the form's own, a field past its table's
    // count or below 1 is field 1.
    void SettleNumbers();
};

class VarObject : public EditableObject {
public:
    using EditableObject::EditableObject;
    VarObject(const VarObject& other);
    ~VarObject() override;
    // The title shown: by drawing mode, the text a reference in the format
    // names (1), the variable's name (2), else the format.
    void GetVarTexte(unsigned char* out);
    // Drawn as the control of its display sub-type (forms/drawing).
    void DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv) override;
    // The kernel's drawing record of the variable in r: its font (the style
    // sheet's, its own face added, when it has one), colours, handler,
    // sub-type and format.
    void BuildLienObj(LienObj* record, const platform::Rect& r);
    // The kind of the display sub-type.
    int16_t GetObjectKind() override;
    int16_t GetObjectType() override { return 9; }
    bool IsVar() override { return true; }
    int16_t GetDataType() override { return 5; }
    IFFP ReadObject(CustomClientFrame* frame, _GroupContext* context) override;
    int32_t ReadObject(char* data, int32_t available) override;
    // "VAR ", then "DfSt" when there is a default style.
    IFFP WriteObject(_GroupContext* context) override;
    LayoutObject* Duplicate() override;
    platform::Handle Convert2Obj() override;
    // Version 0 sets flag 1; below 3 flag 2 takes flag 1 and, unless
    // kernelOption is set, flag 1 is cleared for all sub-types but 0, 1,
    // 11, 21, 23, 25 and 26.
    void AdjustVersion(int16_t version) override;
    // Takes the handle (the old one freed).
    void SetDefaultStyle(platform::Handle style);
    virtual void GetVarName(unsigned char* out);
    // A name that begins with the interprocess marker is kept without it and
    // makes the variable interprocess (StoreVarName); the object method is
    // renamed after the variable and the form model marked changed.
    virtual void SetVarName(const unsigned char* newName);

    // 15 is stored as 0; an equal value is stored again only when forced.
    void SetSousType(int32_t type, bool force = false);
    // Sub-type 29, or 7 with option 16: the object divides the form.
    bool IsSplitter();
    // Names a new variable object: item 67 of the application's list 803
    // followed by a counter.
    void NameDfltVar();

    ObjectName varName = {};
    int32_t subType = 0, varOption = 0;
    int16_t varWord1 = 0, varWord2 = 0;
    uint8_t interprocess = 0;
    uint8_t varByte1 = 0, varByte2 = 0, varByte3 = 0, varByte4 = 0;
    platform::Handle defaultStyle = nullptr;
    uint8_t varByte5 = 0, varByte6 = 0, varByte7 = 0;

protected:
    // The name kept, at most 31 characters, without the interprocess marker.
    void StoreVarName(const unsigned char* newName);
    uint8_t DefaultCheck() override { return 1; }
    void WriteItems(ChunkWriter& w) override;
    // The style sheet's height now (c) against the "FONT" height (h0), by
    // sub-type.
    void RescaleBySubType(int16_t c, int16_t h0);
};

// The kind of a variable object's display sub-type.
int16_t VarKindOfSubType(int32_t subType);
