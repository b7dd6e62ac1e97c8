// A choice list of 10,000 items three levels deep (every branch open) in a
// 400 x 600 area: the layout, one full draw and a one-row scroll of the
// item list, beside the visible rows' texts and icons drawn straight with
// platform calls. Prints both draw times and their ratio, and the layout's
// growth exponent from 2,500 to 20,000 items.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "forms/lists/ItemDrawing.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/icons/Icons.h"
#include "platform/resfiles/Resources.h"

using namespace platform;

namespace {

constexpr int16_t kRowHeight = 16;
constexpr int16_t kIcon = 2044;  // every seventh item shows it
const Rect kArea{0, 0, 600, 400};

// A tree of about `items` items: tops of ten children of ten children.
void Fill(itemlistrec* list, int32_t items)
{
    const int32_t tops = std::max(1, items / 111);
    ItemHandle first = nullptr, last = nullptr;
    int32_t n = 0;
    auto add = [&](ItemHandle* f, ItemHandle* l) {
        const std::string text = "Item " + std::to_string(++n);
        unsigned char p[256];
        p[0] = uint8_t(text.size());
        std::copy(text.begin(), text.end(), p + 1);
        ItemHandle item = addqlist(list, p, int16_t(n), 0, nullptr, nullptr, 0, 0, 0, f, l);
        if (n % 7 == 0) (*item)->icon = kIcon;
        return item;
    };
    for (int32_t t = 0; t < tops; ++t) {
        ItemHandle top = add(&first, &last);
        ItemHandle cf = nullptr, cl = nullptr;
        for (int c = 0; c < 10; ++c) {
            ItemHandle child = add(&cf, &cl);
            ItemHandle gf = nullptr, gl = nullptr;
            for (int g = 0; g < 10; ++g) add(&gf, &gl);
            (*child)->firstChild = gf;
            SetOpenState(list, child, true);
        }
        (*top)->firstChild = cf;
        SetOpenState(list, top, true);
    }
    list->first = first;
    list->area = kArea;
    list->rowHeight = kRowHeight;
    list->rowsShown = int16_t(kArea.bottom / kRowHeight + 1);
    list->baselineOffsets[0] = 12;
    list->markHeight = 9;
    list->indent = 12;
    list->size = 10;
}

double LayoutMs(int32_t items)
{
    itemlistrec list;
    initqlist(&list, 0, 255);
    Fill(&list, items);
    const double t = bench::MedianMs(5, [&] { transliste(&list); });
    deinitqlist(&list);
    return t;
}

// The visible rows as the item list shows them, drawn straight.
void DrawStraight(itemlistrec* list)
{
    EraseRect(&list->area);
    TextFont(list->font);
    TextSize(list->size);
    const int32_t last = std::min<int32_t>(list->firstShown + list->rowsShown, list->visibleCount);
    for (int32_t n = list->firstShown + 1; n <= last; ++n) {
        ItemHandle item = GetListItem(list, n);
        const int16_t top = int16_t(kRowHeight * (n - list->firstShown - 1));
        int16_t x = int16_t(GetItemLevel(list, item) * 10 + 2 + list->indent);
        if ((*item)->firstChild) {
            CIconHandle triangle = GetCIcon(141);
            const Rect r{int16_t(top + 3), 2, int16_t(top + 35), 34};
            PlotCIcon(&r, triangle);
            DisposeCIcon(triangle);
        }
        if ((*item)->icon) {
            const Rect r{top, x, int16_t(top + 16), int16_t(x + 16)};
            PlotIconID(&r, kAlignNone, kTransformNone, kIcon);
            x = int16_t(x + 20);
        }
        MoveTo(x, int16_t(top + 12));
        DrawText(ItemText(item) + 1, 0, ItemTextLength(item));
    }
}

}  // namespace

int main()
{
    const int16_t appRes = OpenResFile(QZ_APP_RESOURCES, fsRdPerm, ResFileFork::Data);
    if (appRes <= 0) {
        std::fprintf(stderr, "no application resources\n");
        return 1;
    }
    GWorldPtr world = nullptr;
    if (NewGWorld(&world, 32, &kArea, nullptr, nullptr, 0) != 0) return 1;
    SetGWorld(world, nullptr);

    itemlistrec list;
    initqlist(&list, 0, 255);
    Fill(&list, 10000);
    const double layout = bench::MedianMs(5, [&] { transliste(&list); });
    const double draw = bench::MedianMs(21, [&] { dessliste(&list); });
    const double straight = bench::MedianMs(21, [&] { DrawStraight(&list); });
    const double scroll = bench::MedianMs(21, [&] {
        list.firstShown = int16_t(list.firstShown == 0 ? 1 : 0);
        dessliste(&list);
    });
    std::printf("item list of %d rows, %d shown\n", list.visibleCount, list.rowsShown);
    std::printf("layout:           %8.3f ms\n", layout);
    std::printf("full draw:        %8.3f ms   straight platform calls %8.3f ms   ratio %.2fx\n", draw, straight,
                draw / straight);
    std::printf("one-row scroll:   %8.3f ms   ratio to straight %.2fx\n", scroll, scroll / straight);
    deinitqlist(&list);

    const double small = LayoutMs(2500), large = LayoutMs(20000);
    std::printf("layout 2,500 items %.3f ms, 20,000 items %.3f ms: growth exponent %.2f\n", small, large,
                std::log(large / small) / std::log(8.0));
    DisposeGWorld(world);
    CloseResFile(appRes);
    return 0;
}
