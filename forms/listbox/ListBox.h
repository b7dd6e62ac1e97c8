// The list box form object: a frame over a variable (an array the list
// shows) whose columns each show another variable under a header. The
// columns and headers are sub-objects of the list box (a header, kind 2,
// then its column, kind 1, for each column), reached with GetFirst and the
// iterators, and through the column operations of its grid view.
//
// Stored as chunks of our own, written after the object's companions
// ("DRAW", "FONT", "SATT" as for fields):
//
//   "GDTL"  the 16-byte common part and the padded display format of
//           fields and variables, look (4) and style (2), name, the list
//           box's variable (a toolbox string, VStringChunks.h) and its
//           range (i16), the column count (i16), then, each only while
//           the chunk holds it, layer, flags A, C and D
//   "GCOL"  one per column after it: the column's variable and range, the
//           header's variable and range, the header's title (strings as
//           above, ranges i16), the column's object method id (i16)
//
// A range of 2 is an interprocess variable. A "GDTL" that does not hold
// its items up to the column count is kept as its bytes and written back
// as they are; so is a "GCOL" that does not hold all of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/objects/EditableObjects.h"

class VGridHeader;
class VLayoutGrid;

constexpr int16_t kInterprocessRange = 2;
// A range argument that keeps the variable's range as it is.
constexpr int16_t kKeepRange = 10;

// A column (kind 1) or a column header (kind 2) of a list box.
class VGridSubObject : public VarObject {
public:
    VGridSubObject(LayoutEditor* editor, int16_t subObjectKind);
    VGridSubObject(const VGridSubObject& other);
    ~VGridSubObject() override;
    bool IsSubObject() override { return true; }
    int16_t GetSubObjectKind() override { return subObjectKind; }
    // Sub-objects travel inside their list box's chunks.
    IFFP WriteObject(_GroupContext*) override { return IFF_OKAY; }
    LayoutObject* Duplicate() override;
    void GetVarName(unsigned char* out) override;
    void SetVarName(const unsigned char* newName) override;

    // The variable as stored, and its range (kKeepRange keeps it).
    void SetVariable(const std::u16string& name, int16_t range);

    int16_t subObjectKind = 1;
    std::u16string variable;
    int16_t range = 1;
    platform::Handle rawColumn = nullptr;  // a "GCOL" kept as its bytes (columns only)
};

class VGridHeader : public VGridSubObject {
public:
    explicit VGridHeader(LayoutEditor* editor) : VGridSubObject(editor, 2) {}
    VGridHeader(const VGridHeader& other) = default;
    LayoutObject* Duplicate() override;
    void GetTitle(unsigned char* out) const;
    void SetTitle(const unsigned char* title);

    std::u16string title;
};

// The column operations of a list box, columns counted from 1. A column
// outside 1..count answers an empty name, range 0 and a null header, and
// is not changed.
class VGridView {
public:
    explicit VGridView(VLayoutGrid* grid) : grid_(grid) {}
    int32_t ColumnCount() const;
    void GetColumnVarName(int32_t column, unsigned char* out) const;
    int16_t GetColumnVarRange(int32_t column) const;
    void SetColumnVarName(int32_t column, const unsigned char* name, int16_t range);
    void GetColHeaderVarName(int32_t column, unsigned char* out) const;
    int16_t GetColHeaderVarRange(int32_t column) const;
    void SetColHeaderVarName(int32_t column, const unsigned char* name, int16_t range);
    VGridHeader* GetColumnHeader(int32_t column) const;
    VGridSubObject* GetColumn(int32_t column) const;

private:
    VLayoutGrid* grid_;
};

// The frame a list box is: an editable object over a variable.
class VLayoutFrame : public EditableObject {
public:
    using EditableObject::EditableObject;
    VLayoutFrame(const VLayoutFrame& other) = default;
    bool IsFrame() override { return true; }
    // The variable's name with the interprocess marker in front when its
    // range is interprocess; *range (may be null) its range.
    void GetFullVariableName(unsigned char* out, int16_t* range) const;
    // A name beginning with the interprocess marker is kept without it and
    // makes the range interprocess; kKeepRange keeps the range.
    void SetVariableName(const unsigned char* name, int16_t range);

    std::u16string variable;
    int16_t range = 1;
};

class VLayoutGrid : public VLayoutFrame {
public:
    VLayoutGrid();
    explicit VLayoutGrid(LayoutEditor* editor);
    // The columns copied with it.
    VLayoutGrid(const VLayoutGrid& other);
    ~VLayoutGrid() override;
    int16_t GetObjectKind() override { return 37; }
    int16_t GetObjectType() override { return 22; }
    bool CanContainSubObject() override { return true; }
    IFFP ReadObject(CustomClientFrame* frame, _GroupContext* context) override;
    using LayoutObject::ReadObject;
    // "GDTL", then a "GCOL" per column.
    IFFP WriteObject(_GroupContext* context) override;
    // As WriteObject, each "GCOL" (and the "GDTL") followed by its object
    // method's "CCQz" when it has one.
    IFFP DoCopy(_GroupContext* context) override;
    LayoutObject* Duplicate() override;
    void ScaleObj(int16_t percent, uint8_t flag) override;
    // The frame, the header row with the column titles and the columns'
    // dividers (forms/drawing).
    void DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv) override;

    // Reads the "GCOL" just opened (chunkId) into a new column appended to
    // the list box; the column, or null with *result set (a damaged
    // column is kept as its bytes and answered as well).
    VGridSubObject* ReadSubObject(CustomClientFrame* frame, _GroupContext* context, IFFP chunkId, IFFP* result);
    int32_t GetGridColumnCount() const { return int32_t(columns_.size()); }
    int16_t GetColumnProc(int32_t column) const;
    void SetColumnProc(int32_t column, int16_t methodId);
    VGridView& GetGridView() { return view_; }
    // Appends a column with its header (both owned by the list box).
    VGridSubObject* AddColumn();

    platform::Handle rawChunk = nullptr;  // a "GDTL" kept as its bytes
    int16_t storedColumnCount = 0;         // as the "GDTL" gave it

protected:
    // Look, name, variable and range, column count, layer, flags A, C, D.
    void WriteItems(ChunkWriter& w) override;

private:
    friend class VGridView;
    struct Column {
        VGridHeader* header;
        VGridSubObject* column;
    };
    IFFP WriteColumns(_GroupContext* context, bool withMethods);
    std::vector<Column> columns_;
    VGridView view_{this};
};

// The list box whose "GDTL" was just opened in `context`, read whole: the
// "GDTL", then every "GCOL" that follows it in the group, each read in
// turn; the group is left at the last chunk read. For the walkers, which
// see a list box as one object.
IFFP ReadListBoxWithColumns(VLayoutGrid* grid, _GroupContext* context);

// Toolbox strings and the length-prefixed Mac Roman names of the objects.
std::u16string U16FromName(const unsigned char* name);
void NameFromU16(const std::u16string& text, unsigned char* out, int32_t max);
