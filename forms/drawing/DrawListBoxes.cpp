// List boxes: a white area framed in black, a header row one line (and 4
// pixels) high holding each column's title, the columns sharing the width
// equally, divided by lines.
#include <algorithm>

#include "forms/drawing/ObjectDrawing.h"
#include "forms/listbox/ListBox.h"
#include "looks/LookServices.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"

using namespace platform;

namespace {

constexpr int16_t kHeaderExtra = 4, kTitleInset = 3;

}  // namespace

void VLayoutGrid::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    const Rect r = ObjectRect(this, editor, dh, dv);
    SetupDrawing();
    EraseWhite(r);
    FrameRect(&r);
    FontInfo fi{};
    GetFontInfo(&fi);
    const int32_t header = std::min<int32_t>(r.top + fi.ascent + fi.descent + fi.leading + kHeaderExtra, r.bottom - 1);
    MoveTo(r.left, int16_t(header));
    LineTo(int16_t(r.right - 1), int16_t(header));
    const int32_t count = GetGridColumnCount();
    const int32_t width = r.right - r.left;
    for (int32_t c = 0; c < count; ++c) {
        const int32_t left = r.left + width * c / count, right = r.left + width * (c + 1) / count;
        if (c > 0) {
            MoveTo(int16_t(left), r.top);
            LineTo(int16_t(left), int16_t(r.bottom - 1));
        }
        unsigned char title[256];
        title[0] = 0;
        if (VGridHeader* h = GetGridView().GetColumnHeader(c + 1)) h->GetTitle(title);
        if (title[0] == 0) continue;
        const Rect cell{r.top, int16_t(left), int16_t(header), int16_t(right)};
        ClipSection clip(cell);
        TextMode(srcOr);
        MoveTo(int16_t(left + kTitleInset), int16_t(r.top + 2 + fi.ascent));
        DrawText(title + 1, 0, title[0]);
    }
    RestoreDrawing();
}
