// A choice list in the preview pane: its name underlined, then its items,
// each branch two line heights further right, drawn straight into the pane
// in the application font every time the pane is drawn.
#include <algorithm>

#include "app/appl/AppGlobals.h"
#include "design/choicelists/ChoiceListItems.h"
#include "design/links/ParseSupport.h"
#include "design/objects/ObjKinds.h"
#include "design/preview/PreviewFrame.h"
#include "forms/lists/ItemDrawing.h"
#include "platform/core/Errors.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/icons/Icons.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace {

constexpr int32_t kMargin = 10;      // the name's place from the pane's corner
constexpr int32_t kWidthExtra = 18;  // beyond the widest text
constexpr int32_t kFarthest = 32767;

int16_t Coord(int32_t v) { return int16_t(std::clamp<int32_t>(v, -kFarthest, kFarthest)); }

// The application font in the current port while the preview measures or
// draws; the port's own settings come back after.
class PreviewFont {
public:
    PreviewFont()
    {
        TextFont(MyApplFont);
        TextSize(MyApplSize);
        TextFace(normal);
        GetFontInfo(&info_);
    }
    int16_t Line() const { return int16_t(info_.ascent + info_.descent + info_.leading); }
    int16_t Ascent() const { return info_.ascent; }

private:
    KeptDrawingState kept_;
    FontInfo info_{};
};

void DrawIcon(int32_t reference, const Rect& r)
{
    if ((uint32_t(reference) >> 16) == 0) PlotIconID(&r, kAlignNone, kTransformNone, int16_t(reference & 0xFFFF));
    else DrawListIcon(reference, &r);
}

}  // namespace

void TListObjQz::DrawItemRec(ItemHandle items, int32_t h, int32_t* v, int16_t line, int32_t* width, bool draw)
{
    FontInfo info{};
    GetFontInfo(&info);
    for (ItemHandle item = items; item; item = (*item)->next) {
        unsigned char label[256];
        ChoiceItemLabel(owner, item, true, label);
        TextFace((*item)->face);
        if (draw) {
            MoveTo(Coord(h), Coord(*v + info.ascent));
            DrawString(label);
        }
        *width = std::max<int32_t>(*width, h + StringWidth(label) + kWidthExtra);
        TextFace(normal);
        *v += line;
        int16_t iconWidth = 0, iconHeight = 0;
        if ((*item)->icon) GetListIconDims((*item)->icon, &iconWidth, &iconHeight);
        if (iconWidth > 0 && iconHeight > 0) {
            if (draw) DrawIcon((*item)->icon, Rect{Coord(*v), Coord(h), Coord(*v + iconHeight), Coord(h + iconWidth)});
            *v += iconHeight;
            *width = std::max<int32_t>(*width, h + iconWidth);
        }
        DrawItemRec((*item)->firstChild, h + 2 * line, v, line, width, draw);
    }
}

void TListObjQz::DrawList(int16_t listId, const Rect& r, int32_t* width, int32_t* height, bool draw)
{
    PreviewFont font;
    unsigned char title[256];
    GetName(title);
    TextFace(underline);
    if (draw) {
        MoveTo(Coord(r.left + kMargin), Coord(r.top + kMargin + font.Ascent()));
        DrawString(title);
    }
    *width = kMargin + StringWidth(title) + kWidthExtra;
    TextFace(normal);
    int32_t v = r.top + kMargin + font.Line();
    int32_t right = r.left + *width;
    LoadedChoiceList items(listId);
    DrawItemRec(items.First(), r.left + kMargin + 2 * font.Line(), &v, font.Line(), &right, draw);
    *width = right - r.left;
    *height = v - r.top;
}

int16_t TListObjQz::InitDisplay(Handle* display, const Rect& r, int16_t* width, int16_t* height, int16_t* pageMin,
                                int16_t* pageMax, int16_t* page, bool flag)
{
    TObjQz::InitDisplay(display, r, width, height, pageMin, pageMax, page, flag);
    int32_t w = 0, h = 0;
    if (!TstFlag(kFlagCiphered)) {
        ParseResFile current(owner);
        DrawList(id, Rect{0, 0, 0, 0}, &w, &h, false);
    }
    *width = Coord(w);
    *height = Coord(h);
    // The record keeps the size the drawing covers.
    *display = NewPreview(Rect{0, 0, *height, *width}, nullptr);
    return *display ? 0 : memFullErr;
}

void TListObjQz::SizeDisplay(Handle display, const Rect&, int16_t* right, int16_t* bottom)
{
    *right = *bottom = 0;
    if (const PreviewRec* rec = PreviewOf(display)) {
        *right = int16_t(rec->where.right - rec->where.left);
        *bottom = int16_t(rec->where.bottom - rec->where.top);
    }
}

void TListObjQz::Display(Handle, const Rect& r)
{
    if (TstFlag(kFlagCiphered)) return;
    ParseResFile current(owner);
    int32_t width = 0, height = 0;
    DrawList(id, r, &width, &height, true);
}

void TListObjQz::Scroll(Handle, const Rect& r, int16_t dh, int16_t dv)
{
    RgnHandle uncovered = NewRgn();
    if (!uncovered) return;
    ScrollRect(&r, dh, dv, uncovered);
    GrafPtr port = nullptr;
    GetPort(&port);
    if (WindowRef window = port ? GetWindowFromPort(port) : nullptr) InvalWindowRgn(window, uncovered);
    DisposeRgn(uncovered);
}
