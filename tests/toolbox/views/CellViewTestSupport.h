// Cell views under test: one in a shown window, with hooks that record
// what they paint and cells that fill themselves with a colour of their
// own, so a screenshot tells the cells apart.
#pragma once

#include <string>
#include <vector>

#include "tests/toolbox/views/ViewsTestSupport.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/views/VCellScrolledView.h"
#include "toolbox/views/VCellView.h"

namespace celltest {

struct Painted {
    char what;  // 'c' cell, 'h' column header, 'f' footer, 'r' row header, '<' prepare, '>' restore
    int32_t column, row, left, top, width, height;
};

class RecordingCellView : public VCellView {
public:
    using VCellView::VCellView;

    void DoPaintCellPrepare(VPainter* p, const VRegion* r, VCellScrolledView* v, int32_t x, int32_t y, int32_t w,
                            int32_t h, int16_t pass) override
    {
        painted.push_back({'<', 0, 0, x, y, w, h});
        VCellView::DoPaintCellPrepare(p, r, v, x, y, w, h, pass);
    }
    void DoPaintCellRestore(VPainter* p, const VRegion* r, VCellScrolledView* v, int32_t x, int32_t y, int32_t w,
                            int32_t h, int16_t pass) override
    {
        painted.push_back({'>', 0, 0, x, y, w, h});
        VCellView::DoPaintCellRestore(p, r, v, x, y, w, h, pass);
    }
    void DoPaintCell(VPainter* p, const VRegion* r, VCellScrolledView* v, int32_t c, int32_t row, int32_t x,
                     int32_t y, int32_t w, int32_t h) override
    {
        painted.push_back({'c', c, row, x, y, w, h});
        if (!colourCells) {
            VCellView::DoPaintCell(p, r, v, c, row, x, y, w, h);
            return;
        }
        p->SetFillColor(uint32_t(0x103050 * uint32_t(c) + 0x0B0700 * uint32_t(row)) & 0xFFFFFF);
        p->FillVRect(x, y, w, h);
    }
    void DoPaintColHeader(VPainter* p, const VRegion* r, VCellScrolledView* v, int32_t c, int32_t row, int32_t x,
                          int32_t y, int32_t w, int32_t h) override
    {
        painted.push_back({'h', c, row, x, y, w, h});
        VCellView::DoPaintColHeader(p, r, v, c, row, x, y, w, h);
    }
    void DoPaintColFooter(VPainter* p, const VRegion* r, VCellScrolledView* v, int32_t c, int32_t row, int32_t x,
                          int32_t y, int32_t w, int32_t h) override
    {
        painted.push_back({'f', c, row, x, y, w, h});
        VCellView::DoPaintColFooter(p, r, v, c, row, x, y, w, h);
    }
    void DoPaintRowHeader(VPainter* p, const VRegion* r, VCellScrolledView* v, int32_t c, int32_t row, int32_t x,
                          int32_t y, int32_t w, int32_t h) override
    {
        painted.push_back({'r', c, row, x, y, w, h});
        VCellView::DoPaintRowHeader(p, r, v, c, row, x, y, w, h);
    }
    void DoColsWidthChanged(RedrawMode mode) override
    {
        ++widthChanges;
        VCellView::DoColsWidthChanged(mode);
    }
    void DoClicInCell(VCellScrolledView*, int32_t c, int32_t r, VClic&) override { clicks.push_back({c, r}); }

    // What was painted of one kind, in order.
    std::vector<Painted> Of(char what) const
    {
        std::vector<Painted> out;
        for (const Painted& p : painted)
            if (p.what == what) out.push_back(p);
        return out;
    }

    std::vector<Painted> painted;
    std::vector<std::pair<int32_t, int32_t>> clicks;
    int32_t widthChanges = 0;
    bool colourCells = false;
};

// The platform look's numbers with a white background, as on screen, so
// the highlight (which swaps the background with the highlight colour)
// shows.
class WhiteLook : public viewstest::PlatformNumbersLook {
public:
    uint32_t GetStdColor(StdColor color) override
    {
        return color == 0 ? 0xFFFFFFu : viewstest::PlatformNumbersLook::GetStdColor(color);
    }
};

class CellViewTest : public viewstest::ViewsTest {
protected:
    void SetUp() override
    {
        viewstest::ViewsTest::SetUp();
        ResetLookHandlers();
        for (int16_t i = 1; i < kLookSlotCount; ++i) gLookHandlers[i] = new WhiteLook;
    }
    void TearDown() override
    {
        delete window;
        window = nullptr;
        VCellScrolledView::ResetUpdateStamps();
        viewstest::ViewsTest::TearDown();
    }
    // A shown window at (100, 100) holding a cell view of w x h at its
    // top left, without scroll bars unless asked.
    RecordingCellView* Make(int32_t columns, int32_t rows, int32_t w = 400, int32_t h = 300, bool bars = false,
                            bool colHeaders = false, bool rowHeaders = false)
    {
        window = viewstest::ViewsTest::MakeWindow(100, 100, w, h);
        auto* view = new RecordingCellView(window, bars, bars, false, false, columns, rows, colHeaders, rowHeaders,
                                           false);
        view->SetSize(w, h, kRedrawNone);
        return view;
    }
    static VCellScrolledView* Area(VCellView* view)
    {
        return static_cast<VCellScrolledView*>(view->FindPane(1, 1)->GetUserFrame(false));
    }
    static std::string Letters(int32_t n)
    {
        VStr<16> s;
        VCellView::ColumnNumberToString(s, n);
        uint8_t bytes[20] = {};
        s.ToCString(bytes, sizeof bytes);
        return reinterpret_cast<const char*>(bytes);
    }
    // The ranges of the selection as (l, t, r, b) tuples.
    static std::vector<std::vector<int32_t>> Ranges(const VCellView* view)
    {
        std::vector<std::vector<int32_t>> out;
        for (auto* n = view->GetSelection().GetHead(); n; n = n->next) {
            auto* r = static_cast<VCellRange*>(n->data);
            out.push_back({r->GetLeft(), r->GetTop(), r->GetRight(), r->GetBottom()});
        }
        return out;
    }
    std::vector<uint32_t> Screenshot(int32_t x, int32_t y, int32_t w, int32_t h) const
    {
        std::vector<uint32_t> pixels;
        for (int32_t j = y; j < y + h; ++j)
            for (int32_t i = x; i < x + w; ++i) pixels.push_back(Pixel(window, i, j));
        return pixels;
    }

    VWindow* window = nullptr;
};

}  // namespace celltest
