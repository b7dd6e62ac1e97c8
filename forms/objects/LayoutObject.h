// The objects placed on a form: the LayoutObject family. An object lives in
// a page's (or a group's) doubly linked list, reads itself from a form's
// chunks and writes itself back as chunks. Every member is allocated
// zero-filled (VObjectCleared), and every constructor relies on it: a field
// a constructor does not set is 0, null, false or empty.
//
//  class               kind  record  chunk       class           kind record chunk
//  RectObject            1     2     "RECT"      TextObject        7    5   "TEXT"
//  RoundRectObject       2     3     "RRCT"      GroupBoxObj       8   20   "GRPB"
//  OvalObject            3     3     "OVAL"      GroupObject      10   18   "GRUP"+'OBJG'
//  LineObject            4     6     "LINE"      SubFormObject    11   11   "MULT"
//  MatrixObject          9    19     "GRID"      FieldObject      12    1   "FILD"
//  ImageObject           5    10     "PICT"      VarObject     by sub-type 9 "VAR "
//  LibraryImageObject    6    10     "SPIC"
#pragma once

#include <cstdint>

#include "forms/iff/Iff.h"
#include "forms/objects/Themes.h"
#include "kernel/guards/DrawingGuards.h"
#include "platform/core/MacTypes.h"
#include "toolbox/foundation/VObject.h"

class LayoutEditor;
class VI_Handler;
class VIObj;
struct CustomClientFrame;
class TabFont;

// Objects whose every byte starts as 0.
class VObjectCleared : public VObject {
public:
    static void* operator new(size_t size) noexcept;
    static void operator delete(void* p) noexcept;
};

using ObjectName = unsigned char[32];  // length byte and at most 31 characters

class LayoutObject : public VObjectCleared {
public:
    LayoutObject();
    explicit LayoutObject(LayoutEditor* editor);
    // Every field copied but the links; in a form the copy's name is made
    // unique (AcceptObjectName), its themes copied.
    LayoutObject(const LayoutObject& other);
    ~LayoutObject() override;
    LayoutObject& operator=(const LayoutObject&) = delete;
    // Objects made and not yet deleted, every form's together: what a
    // reader leaves behind shows here.
    static size_t LiveCount();

    // --- the virtual operations, in slot order --------------------------------
    virtual int16_t GetObjectKind() = 0;
    // Reads the chunk just opened; the frame gives the current drawing and
    // font properties.
    virtual IFFP ReadObject(CustomClientFrame* frame, _GroupContext* context);
    // An older flat record: the bytes it used, or a negative code.
    virtual int32_t ReadObject(char* data, int32_t remaining);
    // The kernel form record (built by the kernel record conversion).
    virtual platform::Handle Convert2Obj();
    virtual void GetColors(int32_t& fore, int32_t& back);
    virtual void GetColors(int32_t& fore, int32_t& back, int32_t& third);
    virtual LayoutObject* GetNextObject() { return next; }
    virtual LayoutObject* GetPreviousObject() { return previous; }
    virtual int16_t GetBaseLine() { return 32000; }
    virtual platform::Rect GetFullBounds();
    virtual void GetName(unsigned char* out);
    virtual void SetName(const unsigned char* newName);
    virtual void AdjustVersion(int16_t version) { (void)version; }
    virtual IFFP WriteObject(_GroupContext* context) = 0;
    virtual IFFP DoCopy(_GroupContext* context) { return WriteObject(context); }
    virtual int16_t GetObjectType() = 0;
    virtual bool IsGroup() { return false; }
    virtual bool IsMatrix() { return false; }
    virtual bool IsEditable() { return false; }
    virtual bool IsField() { return false; }
    virtual bool IsVar() { return false; }
    virtual bool IsSubForm() { return false; }
    virtual bool IsImage() { return false; }
    virtual bool IsFrame() { return false; }
    // Drawing (forms/drawing): the port's font saved, black on white, the
    // object's colours set through its handler; then the class's pen, font
    // and colours.
    virtual void SetupDrawing();
    // Draws the object into the current port at its bounds (converted to
    // the editor's window when there is an editor) moved by (dh, dv).
    virtual void DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv);
    virtual void GetFontHeight(int16_t* ascent, int16_t* height);
    virtual void AdjustFonts(TabFont* fonts) { (void)fonts; }
    virtual void SetColors(int32_t fore, int32_t back);
    virtual void SetColors(int32_t fore, int32_t back, int32_t third);
    virtual bool GetFillPat(uint8_t pattern[8]);
    virtual void SetFillPat(const uint8_t pattern[8], bool use);
    virtual void SetPenPat(const uint8_t pattern[8], bool use);
    virtual void SetPenWidth(int16_t width, int16_t height);
    virtual void SetAutosize(bool autoSize) { (void)autoSize; }
    virtual void SetFace(int16_t face) { (void)face; }
    virtual void SetFont(int16_t font) { (void)font; }
    virtual void SetSize(int16_t size) { (void)size; }
    virtual void SetJust(int16_t justification) { (void)justification; }
    virtual void SetStyleSheet(int16_t styleSheet) { (void)styleSheet; }
    virtual LayoutObject* Duplicate() = 0;
    // Coordinates × percent / 100 in 32 bits, held to -32768..32767.
    virtual void ScaleObj(int16_t percent, uint8_t flag);
    virtual bool CanContainSubObject() { return false; }
    virtual bool IsSubObject() { return false; }
    virtual int16_t GetSubObjectKind() { return 0; }
    virtual void DoPageOpened(int16_t page) { (void)page; }
    virtual void DoPageClosed(int16_t page) { (void)page; }
    virtual void DrawExtraInformation() {}

    // --- shared -------------------------------------------------------------
    // The object's handler, else the editor's default one (null without an
    // editor).
    VI_Handler* GetVIProc();
    // A look other than the object's: a negative look style becomes 0 and
    // the handler is the look manager's for that look. The same look again
    // changes nothing.
    void SetLook(int16_t look);
    // The look item of a chunk: a value outside -3..7 reads as -1.
    void SetStoredLook(int32_t look);
    // What SetupDrawing saved, given back.
    void RestoreDrawing();
    // The drawing context of the object as `widget` in r: its colours,
    // look style and handler, enabled.
    void InitVIParms(VIObj* context, int16_t widget, const platform::Rect& r);

    LayoutObject* GetFirst() const { return firstChild; }
    void SetFirst(LayoutObject* o) { firstChild = o; }
    void SetLast(LayoutObject* o) { lastChild = o; }
    // Appends a member, clearing its next link.
    void AddSubObject(LayoutObject* o);
    // Unlinks the member and deletes it when it is one.
    void RemoveSubObject(LayoutObject* o);

    LayoutObject* next = nullptr;
    LayoutObject* previous = nullptr;
    LayoutObject* owner = nullptr;       // the group holding it
    int16_t bounds[4] = {};              // top, left, bottom, right
    int32_t foreColor = 0, backColor = 0;
    VI_Handler* lookHandler = nullptr;
    int16_t lookID = 0, lookStyle = 0;
    uint8_t optionByte = 0;
    ObjectName name = {};
    LayoutEditor* editor = nullptr;
    uint8_t layer = 0, selected = 0;
    uint8_t flagA = 0, flagB = 0, flagC = 0, flagD = 0;
    CThemesEditable themes;
    LayoutObject* firstChild = nullptr;
    LayoutObject* lastChild = nullptr;
    void* savedThemeState = nullptr;
    FontSaver savedFont{false};

protected:
    // The look and the four bytes after the layer that most chunks end with.
    void WriteLook(class ChunkWriter& w) const;
};

// Two 8-byte patterns compared as two 32-bit halves.
bool EqualPatterns(const uint8_t* a, const uint8_t* b);
