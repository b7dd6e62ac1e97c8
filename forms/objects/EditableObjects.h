// Fields and variables on a form: text appearance, entry attributes
// (`saisieatt`, SaisieAtt.h), a display format, the events of their
// object method, help tips, scroll bars. Their chunks ("FILD", "VAR ",
// "SATT", "DfSt", "CCQz") are read and written with the kernel records.
#pragma once

#include "forms/objects/LayoutObject.h"

class EditableObject : public LayoutObject {
public:
    EditableObject();
    explicit EditableObject(LayoutEditor* editor);
    EditableObject(const EditableObject& other);
    ~EditableObject() override;

    bool IsEditable() override { return true; }
    void SetFace(int16_t v) override { face = v; }
    void SetFont(int16_t v) override { fontID = v; }
    void SetSize(int16_t v) override { fontSize = v; }
    void SetJust(int16_t v) override { justification = v; }
    void SetStyleSheet(int16_t v) override { styleSheet = v; }
    // Without a style sheet the font size scales with the coordinates.
    void ScaleObj(int16_t percent, uint8_t flag) override;

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
};

class FieldObject : public EditableObject {
public:
    using EditableObject::EditableObject;
    FieldObject(const FieldObject& other) = default;
    int16_t GetObjectKind() override { return 12; }
    int16_t GetObjectType() override { return 1; }
    bool IsField() override { return true; }
    IFFP WriteObject(_GroupContext* context) override;
    LayoutObject* Duplicate() override;

    int16_t fieldNumber = 0, tableNumber = 0;
    uint8_t fieldOption = 0, fieldOption2 = 0;
};

class VarObject : public EditableObject {
public:
    using EditableObject::EditableObject;
    VarObject(const VarObject& other);
    ~VarObject() override;
    // The kind of the display sub-type.
    int16_t GetObjectKind() override;
    int16_t GetObjectType() override { return 9; }
    bool IsVar() override { return true; }
    int16_t GetDataType() override { return 5; }
    IFFP WriteObject(_GroupContext* context) override;
    LayoutObject* Duplicate() override;
    virtual void GetVarName(unsigned char* out);
    // A name that begins with the interprocess marker is kept without it and
    // makes the variable interprocess.
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
    uint8_t DefaultCheck() override { return 1; }
};

// The kind of a variable object's display sub-type.
int16_t VarKindOfSubType(int32_t subType);
