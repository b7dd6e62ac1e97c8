// What a cell view knows of its columns, rows and cells, kept only while
// it differs from the defaults: a cell holds the frames that show it (one
// per pane), a column its size limits, visibility, header and footer cells
// and the cells of its rows, a row its size limits and row header cell.
// Row -1 stands for a column's header cell, row -2 for its footer cell,
// column -1 for a row's header cell.
#pragma once

#include <cstdint>
#include <vector>

#include "toolbox/foundation/VObject.h"

class VCellView;
class VFrame;
class VView;
class VIndexedList;

class VCell : public VObject {
public:
    VCell() = default;
    ~VCell() override = default;
    VCell(const VCell&) = delete;
    VCell& operator=(const VCell&) = delete;

    virtual bool CanBeDeleted() const { return fFrames.empty(); }
    // Hooks for cells of derived views; nothing here.
    virtual void DoAttach(VCellView&, int32_t, int32_t) {}
    virtual void DoDetach(VCellView&, int32_t, int32_t) {}
    virtual void DoDispose(VCellView&, int32_t, int32_t) {}

    // The frame whose parent is that pane's view, or null.
    VFrame* GetFrame(const VView* pane) const;
    void AddFrame(VFrame* frame) { fFrames.push_back(frame); }
    // Drops the frame from the list; false when it was not there.
    bool ForgetFrame(const VFrame* frame);
    void ForgetFrames() { fFrames.clear(); }
    bool ShowsFrame(const VFrame* frame) const;
    int32_t CountFrames() const { return int32_t(fFrames.size()); }
    // The hooks, then each frame disposed and deleted.
    void DisposeWithFrames(VCellView& view, int32_t column, int32_t row);

private:
    std::vector<VFrame*> fFrames;
};

class VCellColumn : public VObject {
public:
    explicit VCellColumn(int16_t width = -1) : fWidth(width) {}
    ~VCellColumn() override;
    VCellColumn(const VCellColumn&) = delete;
    VCellColumn& operator=(const VCellColumn&) = delete;

    VCell* GetRowVCell(int32_t row) const;
    // Stores the cell (null clears), deleting the one it replaces; the
    // cell list is made with maxIndex as its size, or widened to it.
    void SetRowVCell(VCell* cell, int32_t row, int32_t maxIndex);
    // Later cells move down by count.
    void InsertRows(int32_t at, int32_t count);
    // The cells of rows first..first+count-1 are detached, disposed and
    // deleted with their frames; later cells move up. A first or count
    // below 1 changes nothing.
    void DelRows(VCellView& view, int32_t column, int32_t first, int32_t count);
    // The row whose cell shows the frame; 0 when none.
    int32_t GetFrameRow(const VFrame* frame) const;
    VIndexedList* GetCellsList() const { return fCells; }
    void SetVisible(bool on) { fVisible = on ? 1 : 0; }
    bool IsVisible() const { return fVisible != 0; }
    VCell* GetHeaderVCell() const { return fHeader; }
    VCell* GetFooterVCell() const { return fFooter; }
    void SetHeaderVCell(VCell* cell);
    void SetFooterVCell(VCell* cell);
    // True when the column holds nothing but defaults (an empty cell list
    // is deleted first).
    bool CanBeDeleted();
    void CheckDeleteVCell(int32_t row);
    bool ForgetCellFrame(const VFrame* frame);
    void ForgetCellFrames();
    void DoDispose(VCellView& view, int32_t column);

    int16_t GetWidth() const { return fWidth; }
    void SetWidth(int16_t width) { fWidth = width; }
    int16_t GetMinWidth() const { return fMinWidth; }
    int16_t GetMaxWidth() const { return fMaxWidth; }
    void SetMinWidth(int16_t w) { fMinWidth = w; }
    void SetMaxWidth(int16_t w) { fMaxWidth = w; }

private:
    void DropEmptyCellList();

    int16_t fWidth;
    int16_t fMinWidth = -1;
    int16_t fMaxWidth = -1;
    uint8_t fVisible = 1;
    VCell* fHeader = nullptr;
    VCell* fFooter = nullptr;
    VIndexedList* fCells = nullptr;
};

class VCellRow : public VObject {
public:
    explicit VCellRow(int16_t height = -1) : fHeight(height) {}
    ~VCellRow() override;
    VCellRow(const VCellRow&) = delete;
    VCellRow& operator=(const VCellRow&) = delete;

    bool CanBeDeleted() const;
    bool ForgetCellFrame(const VFrame* frame);
    void ForgetCellFrames();
    void DoDispose(VCellView& view, int32_t row);

    VCell* GetHeaderVCell() const { return fHeader; }
    // Deletes the previous header cell.
    void SetHeaderVCell(VCell* cell);
    void SetVisible(bool on) { fVisible = on ? 1 : 0; }
    bool IsVisible() const { return fVisible != 0; }
    int16_t GetHeight() const { return fHeight; }
    void SetHeight(int16_t h) { fHeight = h; }
    int16_t GetMinHeight() const { return fMinHeight; }
    int16_t GetMaxHeight() const { return fMaxHeight; }
    void SetMinHeight(int16_t h) { fMinHeight = h; }
    void SetMaxHeight(int16_t h) { fMaxHeight = h; }

private:
    int16_t fVisible = 1;
    VCell* fHeader = nullptr;
    int16_t fHeight;
    int16_t fMinHeight = -1;
    int16_t fMaxHeight = -1;
};
