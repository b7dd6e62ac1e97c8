// The form objects that are not editable: drawings, the matrix, texts and
// group boxes, pictures and library pictures, groups and subforms. Their
// chunks are read and written by ObjectChunks.cpp, their older flat records
// read by FlatRecords.cpp.
#pragma once

#include "forms/objects/LayoutObject.h"
#include "platform/drawing/QuickDrawTypes.h"

class ChunkReader;
class ChunkWriter;

class DrawingObject : public LayoutObject {
public:
    using LayoutObject::LayoutObject;
    DrawingObject(const DrawingObject& other) = default;
    // The pen: its size, pattern and, for the hairline flag, the printer's
    // thin line width (put back by RestoreDrawing).
    void SetupDrawing() override;
    void RestoreDrawing();

    // Rectangles, rounded rectangles, lines and ovals share one chunk.
    IFFP ReadObject(CustomClientFrame* frame, _GroupContext* context) override;
    int32_t ReadObject(char* data, int32_t available) override;
    IFFP WriteObjectWithKind(_GroupContext* context, IFFP kind);
    bool GetFillPat(uint8_t pattern[8]) override;
    void SetFillPat(const uint8_t pattern[8], bool use) override;
    void SetPenPat(const uint8_t pattern[8], bool use) override;
    void SetPenWidth(int16_t width, int16_t height) override;
    // The kernel record of a drawing: type 2 a rectangle, 3 a rounded
    // rectangle, 4 an oval, 6 a line, 19 a matrix; null for any other.
    platform::Handle Convert2DrawingObj(int16_t type);

    uint8_t fillPattern[8] = {};
    uint8_t penPattern[8] = {};
    int16_t penWidth = 0, penHeight = 0;
    uint8_t hasPenPattern = 0, hasFillPattern = 0;
    uint8_t laserWidth = 0;  // the hairline flag

protected:
    // The current "DRAW" values of the reader, and the "DRAW" a writer puts
    // before the object when they differ from the last written.
    void TakeDrawing(const CustomClientFrame* frame);
    IFFP SaveDrawing(_GroupContext* context);
};

class RectObject : public DrawingObject {
public:
    using DrawingObject::DrawingObject;
    void DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv) override;
    int16_t GetObjectKind() override { return 1; }
    int16_t GetObjectType() override { return 2; }
    IFFP WriteObject(_GroupContext* context) override;
    LayoutObject* Duplicate() override;
    platform::Handle Convert2Obj() override;
};

class RoundRectObject : public RectObject {
public:
    using RectObject::RectObject;
    void DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv) override;
    int16_t GetObjectKind() override { return 2; }
    int16_t GetObjectType() override { return 3; }
    IFFP WriteObject(_GroupContext* context) override;
    LayoutObject* Duplicate() override;
    platform::Handle Convert2Obj() override;
};

class OvalObject : public DrawingObject {
public:
    using DrawingObject::DrawingObject;
    void DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv) override;
    int16_t GetObjectKind() override { return 3; }
    int16_t GetObjectType() override { return 3; }
    IFFP WriteObject(_GroupContext* context) override;
    LayoutObject* Duplicate() override;
    platform::Handle Convert2Obj() override;
};

class LineObject : public DrawingObject {
public:
    using DrawingObject::DrawingObject;
    void DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv) override;
    int16_t GetObjectKind() override { return 4; }
    int16_t GetObjectType() override { return 6; }
    IFFP WriteObject(_GroupContext* context) override;
    LayoutObject* Duplicate() override;
    platform::Handle Convert2Obj() override;
};

class MatrixObject : public DrawingObject {
public:
    MatrixObject();
    explicit MatrixObject(LayoutEditor* editor);
    MatrixObject(const MatrixObject& other) = default;
    void DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv) override;
    int16_t GetObjectKind() override { return 9; }
    int16_t GetObjectType() override { return 19; }
    bool IsMatrix() override { return true; }
    IFFP ReadObject(CustomClientFrame* frame, _GroupContext* context) override;
    int32_t ReadObject(char* data, int32_t available) override;
    IFFP WriteObject(_GroupContext* context) override;
    LayoutObject* Duplicate() override;
    platform::Handle Convert2Obj() override;

    int16_t rowCount = 0, columnCount = 0;
};

class TextObject : public LayoutObject {
public:
    TextObject();
    explicit TextObject(LayoutEditor* editor);
    TextObject(const TextObject& other);
    ~TextObject() override;
    // The font, size and face, or the style sheet with the face added.
    void SetupDrawing() override;
    void DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv) override;
    int16_t GetObjectKind() override { return 7; }
    int16_t GetObjectType() override { return 5; }
    IFFP ReadObject(CustomClientFrame* frame, _GroupContext* context) override;
    int32_t ReadObject(char* data, int32_t available) override;
    IFFP WriteObject(_GroupContext* context) override;
    IFFP WriteObjectWithKind(_GroupContext* context, IFFP kind);
    LayoutObject* Duplicate() override;
    platform::Handle Convert2Obj() override;
    bool GetFillPat(uint8_t pattern[8]) override;
    void SetFillPat(const uint8_t pattern[8], bool use) override;
    void SetFace(int16_t v) override { face = v; }
    void SetFont(int16_t v) override { fontID = v; }
    void SetSize(int16_t v) override { fontSize = v; }
    void SetJust(int16_t v) override { justification = v; }
    void SetStyleSheet(int16_t v) override { styleSheet = v; }
    void ScaleObj(int16_t percent, uint8_t flag) override;
    // The top plus the font's ascent and leading.
    int16_t GetBaseLine() override;
    // The font's ascent and line height (ascent, descent and leading); with
    // a style sheet whose line height is known, that height, kept in
    // styleSheetHeight.
    void GetFontHeight(int16_t* ascent, int16_t* height) override;
    // Takes the bytes (the handle becomes the object's) or copies them.
    virtual void SetText(char** text, int16_t flag);
    virtual void SetText(const unsigned char* text);

    uint8_t fillPattern[8] = {};
    uint8_t hasFillPattern = 0;
    int16_t fontID = 0, fontSize = 0, justification = 0, face = 0;
    int16_t styleSheet = -1, styleSheetHeight = 0;
    platform::Handle text = nullptr;
    uint8_t frameMark = 0;

private:
    // The metrics of the object's font, size and face.
    platform::FontInfo FontMetrics() const;
};

class GroupBoxObj : public TextObject {
public:
    using TextObject::TextObject;
    void DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv) override;
    int16_t GetObjectKind() override { return 8; }
    int16_t GetObjectType() override { return 20; }
    IFFP WriteObject(_GroupContext* context) override;
    LayoutObject* Duplicate() override;
    platform::Handle Convert2Obj() override;
};

class ImageObject : public LayoutObject {
public:
    using LayoutObject::LayoutObject;
    ImageObject(const ImageObject& other);
    ~ImageObject() override;
    void DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv) override;
    // The picture drawn in r by the display options (clipped there).
    void DrawImage(platform::Handle picture, const platform::Rect& r, bool white);
    int16_t GetObjectKind() override { return 5; }
    int16_t GetObjectType() override { return 10; }
    bool IsImage() override { return true; }
    IFFP ReadObject(CustomClientFrame* frame, _GroupContext* context) override;
    int32_t ReadObject(char* data, int32_t available) override;
    IFFP WriteObject(_GroupContext* context) override;
    LayoutObject* Duplicate() override;
    platform::Handle Convert2Obj() override;
    void ScaleObj(int16_t percent, uint8_t flag) override;
    // Takes the picture (the object's from now on).
    virtual void SetPict(platform::Handle picture);
    virtual int16_t GetLibraryImageID() { return 0; }
    virtual platform::Handle xAccessPict() { return picture; }
    virtual void xReleasePict() {}

    platform::Handle picture = nullptr;
    int16_t pictureAccess = 0;
    uint8_t imageOption1 = 0, imageOption2 = 0, imageOption3 = 0;
};

class LibraryImageObject : public ImageObject {
public:
    using ImageObject::ImageObject;
    LibraryImageObject(const LibraryImageObject& other) = default;
    void DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv) override;
    // The library picture by id or name, counted in the static pictures'
    // cache until xReleasePict.
    platform::Handle xAccessPict() override;
    void xReleasePict() override;
    int16_t GetObjectKind() override { return 6; }
    IFFP ReadObject(CustomClientFrame* frame, _GroupContext* context) override;
    using ImageObject::ReadObject;
    IFFP WriteObject(_GroupContext* context) override;
    LayoutObject* Duplicate() override;
    platform::Handle Convert2Obj() override;
    int16_t GetLibraryImageID() override { return pictID; }
    virtual void SetPictName(const unsigned char* pictureName);
    virtual void SetPictID(int16_t id) { pictID = id; }

    ObjectName pictName = {};
    int16_t pictID = 0;
    platform::Handle accessedPicture = nullptr;  // the cache's, while drawn
};

class GroupObject : public LayoutObject {
public:
    using LayoutObject::LayoutObject;
    // Each member copied under the new group.
    GroupObject(const GroupObject& other);
    ~GroupObject() override;
    void DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv) override;
    int16_t GetObjectKind() override { return 10; }
    int16_t GetObjectType() override { return 18; }
    bool IsGroup() override { return true; }
    IFFP ReadObject(CustomClientFrame* frame, _GroupContext* context) override;
    int32_t ReadObject(char* data, int32_t available) override;
    // The "GRUP" chunk, then its members in a FORM 'OBJG', each with its
    // themes and, when the writer carries methods, a field's or variable's
    // object method.
    IFFP WriteObject(_GroupContext* context) override;
    // WriteObject with the members' object methods carried.
    IFFP DoCopy(_GroupContext* context) override;
    LayoutObject* Duplicate() override;
    platform::Handle Convert2Obj() override;
    void ScaleObj(int16_t percent, uint8_t flag) override;
    void SetFace(int16_t v) override;
    void SetFont(int16_t v) override;
    void SetSize(int16_t v) override;
    void SetJust(int16_t v) override;
    void SetStyleSheet(int16_t v) override;
    void SetFillPat(const uint8_t pattern[8], bool use) override;
    void SetPenPat(const uint8_t pattern[8], bool use) override;
    void SetPenWidth(int16_t width, int16_t height) override;
    void SetColors(int32_t fore, int32_t back) override;
};

class SubFormObject : public LayoutObject {
public:
    using LayoutObject::LayoutObject;
    SubFormObject(const SubFormObject& other);
    ~SubFormObject() override;
    void DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv) override;
    int16_t GetObjectKind() override { return 11; }
    int16_t GetObjectType() override { return 11; }
    bool IsSubForm() override { return true; }
    IFFP ReadObject(CustomClientFrame* frame, _GroupContext* context) override;
    int32_t ReadObject(char* data, int32_t available) override;
    IFFP WriteObject(_GroupContext* context) override;
    LayoutObject* Duplicate() override;
    platform::Handle Convert2Obj() override;
    platform::Rect GetFullBounds() override;
    void SetAutosize(bool v) override { autoSize = v; }
    // The flags of an older form (a "MULT" ending before its values, or a
    // flat record's flag byte) to the current ones.
    void Read_formatt_old(uint8_t oldFlags);
    void AutoResize();
    // The structure's table the subform shows: a positive t is entry t of
    // the form's table list, a negative -t table t; 0 when there is none.
    int16_t SubformTableNumber();
    // Makes the preview when there is none and the subform names a table:
    // the table's form named formName2, else formName1, drawn by the model.
    void BuildPicture();
    void BestSize(int16_t* width, int16_t* height) { (void)width, (void)height; }

    platform::Handle preview = nullptr;
    uint16_t subformFlags = 0;
    int16_t subformTable = 0;
    ObjectName formName1 = {}, formName2 = {};
    uint8_t autoSize = 0, subformValue1 = 0, subformValue2 = 0;
    int32_t subformOption = 0;
};

// The number of tables of the structure whose forms are read, kept by the
// design layer with the table records: a subform's negative table number
// beyond it reads as 1.
extern int16_t formTableCount;
