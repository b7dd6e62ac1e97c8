// The cell grid's cost beside the same visible grid drawn straight with
// platform calls: a 10-column cell view filling a 1000 x 700 headless
// window, its cells drawing their coordinates as text, at 1,000 and at
// 100,000 rows (three of them of their own height). Measured: a full
// repaint, a one-row scroll, a page scroll and the lookup of the last
// row, each the median of 200; the peer erases each visible cell, draws
// its two border lines and its text with DrawString. Prints each time and
// its ratio to the peer; the times should not grow with the row count.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/screen/Screen.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/views/VCellScrolledView.h"
#include "toolbox/views/VCellView.h"
#include "toolbox/views/VWindow.h"

namespace {

constexpr int kRuns = 200;
constexpr int32_t kColumns = 10, kWidth = 1000, kHeight = 700;

// Median of the runs, in microseconds; `each` runs before every timed call.
double Measure(const std::function<void(int)>& f)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        auto start = std::chrono::steady_clock::now();
        f(i);
        auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void CellText(uint8_t* text, int32_t column, int32_t row)
{
    const int n = std::snprintf(reinterpret_cast<char*>(text + 1), 254, "%d,%d", int(column), int(row));
    text[0] = uint8_t(n);
}

class TextGrid : public VCellView {
public:
    using VCellView::VCellView;
    void DoPaintCell(VPainter* painter, const VRegion* region, VCellScrolledView* view, int32_t column, int32_t row,
                     int32_t left, int32_t top, int32_t width, int32_t height) override
    {
        VCellView::DoPaintCell(painter, region, view, column, row, left, top, width, height);
        uint8_t text[256];
        CellText(text, column, row);
        painter->SetTextPos(left + 4, top + height - 5);
        painter->DrawText(text + 1, text[0], kCharSetMac, 1.0);
    }
};

// The visible cells of a grid of default-sized columns and rows drawn
// straight into the window's port.
void DrawGridDirect(platform::WindowRef window, int32_t firstRow, int32_t columnWidth, int32_t rowHeight)
{
    using namespace platform;
    SetPortWindowPort(window);
    uint8_t text[256];
    for (int32_t r = 0; r * rowHeight < kHeight; ++r) {
        for (int32_t c = 0; c < kColumns; ++c) {
            const int16_t left = int16_t(c * columnWidth), top = int16_t(r * rowHeight);
            const Rect cell{top, left, int16_t(top + rowHeight), int16_t(left + columnWidth)};
            EraseRect(&cell);
            MoveTo(int16_t(left + columnWidth - 1), top);
            LineTo(int16_t(left + columnWidth - 1), int16_t(top + rowHeight - 1));
            LineTo(left, int16_t(top + rowHeight - 1));
            CellText(text, c + 1, firstRow + r);
            MoveTo(int16_t(left + 4), int16_t(top + rowHeight - 5));
            DrawString(text);
        }
    }
}

void Report(const char* what, int32_t rows, double ours, double peer)
{
    std::printf("%-28s %7d rows   cell view %9.2f us   peer %9.2f us   ratio %6.3f\n", what, int(rows), ours, peer,
                ours / peer);
}

}  // namespace

int main()
{
    if (platform::InitScreen(1280, 800) != platform::noErr) {
        std::fprintf(stderr, "cannot make the screen\n");
        return 1;
    }
    VPainter::Init();
    InstallFrameHooks();

    for (int32_t rows : {1000, 100000}) {
        auto* window = new VWindow(nullptr, 5, false, false, false);
        window->SetPos(10, 40, kRedrawNone);
        window->SetSize(kWidth, kHeight, kRedrawNone);
        window->SetVisible(true);
        auto* grid = new TextGrid(window, false, false, false, false, kColumns, rows, false, false, false);
        grid->SetSize(kWidth, kHeight, kRedrawNone);
        grid->SetColWidth(kWidth / kColumns, 0, kRedrawNone);
        grid->SetRowHeight(30, rows / 3, kRedrawNone);
        grid->SetRowHeight(12, rows / 2, kRedrawNone);
        grid->SetRowHeight(25, rows - 1, kRedrawNone);
        auto* view = static_cast<VCellScrolledView*>(grid->FindPane(1, 1)->GetUserFrame(false));
        const platform::WindowRef ref = window->GetParentMacHwnd();

        const double peer = Measure([&](int) { DrawGridDirect(ref, 1, kWidth / kColumns, 20); });

        const double full = Measure([&](int) { grid->Redraw(kRedrawNow); });
        Report("full repaint", rows, full, peer);

        // Down, then back up, so every scroll has room.
        const double row = Measure([&](int i) { grid->Scroll(0, i % 2 ? -20 : 20, 1, 1, kRedrawNow, true); });
        Report("one-row scroll", rows, row, peer);

        view->SetVirtualPos(0, 0, false, kRedrawNone);
        const int32_t page = view->GetPageHeight(false);
        const double pageTime =
            Measure([&](int i) { grid->Scroll(0, i % 2 ? -page : page, 1, 1, kRedrawNow, true); });
        Report("page scroll", rows, pageTime, peer);

        const int32_t lastTop = grid->GetRowTop(rows, true);
        int32_t found = 0;
        const double find = Measure([&](int) {
            for (int k = 0; k < 1000; ++k) found += grid->FindRow(lastTop + (k & 7), true);
        }) / 1000.0;
        if (found == 0) std::printf("(lookup found nothing)\n");
        Report("FindRow of the last row", rows, find, peer);
        delete window;
    }
    return 0;
}
