// Menu bars and menus shown and printed: a bar as a strip of its menus'
// titles, a menu as its title over its items with their command keys and
// the methods they run. Titles and texts show as stored, or with their
// string-list references resolved (the preview's display mode).
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/links/ParseSupport.h"
#include "design/links/TokenAccess.h"
#include "design/objects/NameRules.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/objects/OutputSupport.h"
#include "design/preview/PreviewFrame.h"
#include "design/text/MethodTextSupport.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"
#include "platform/menus/Menus.h"
#include "platform/screen/Screen.h"
#include "resources/ResourceApi.h"

using namespace platform;

namespace {

constexpr size_t kMenuHeaderSize = 24;
constexpr size_t kItemSize = 86;
constexpr int16_t kMenuTextSize = 12;
constexpr uint8_t kSeparator = 0x02, kHasKey = 0x04, kUnderlined = 0x20, kItalic = 0x40, kBold = 0x80;

struct ItemView {
    std::string text, method;
    StyleField face = normal;
    std::string key;  // empty: no command key
    bool separator = false;
};
struct MenuView {
    std::string title;
    std::vector<ItemView> items;
};

std::string IndString(int16_t list, int16_t index)
{
    unsigned char s[256];
    MyGetIndString(s, list, index);
    return PText(s);
}

// A title or item text as the display mode shows it.
std::string Shown(const unsigned char* stored, int32_t mode)
{
    if (mode == 0) return PText(stored);
    unsigned char out[256];
    GetQzResStr(out, stored);
    return PText(out);
}

// The menu 'MENQ' `id` of the document, as far as its bytes hold it;
// false when it is missing.
bool ReadMenu(TMainDoc* doc, int16_t id, int32_t mode, MenuView* out)
{
    std::vector<uint8_t> bytes;
    {
        ParseResFile store(doc);
        const ByteView v = ByteView::Of(xget1res(FourCC("MENQ"), id));
        if (!v.Has(0, kMenuHeaderSize)) return false;
        bytes.assign(v.data, v.data + v.size);
    }
    const ByteView v{bytes.data(), bytes.size()};
    // String-list references name lists of the companion.
    CompanionCurrent companion(doc);
    unsigned char text[256], method[256];
    v.PStr(2, 16, text);
    out->title = Shown(text, mode);
    int16_t count = 0;
    v.S16(0, &count);
    for (int32_t k = 1; k <= count; ++k) {
        const size_t at = kMenuHeaderSize + size_t(k - 1) * kItemSize;
        if (!v.Has(at, kItemSize)) break;
        ItemView item;
        v.PStr(at, 32, text);
        v.PStr(at + 32, 32, method);
        const uint8_t flags = v.data[at + 64];
        item.separator = (flags & kSeparator) != 0;
        item.method = PText(method);
        if (flags & kBold) item.face |= bold;
        if (flags & kItalic) item.face |= italic;
        if (flags & kUnderlined) item.face |= underline;
        unsigned char name[256], key = 0;
        const std::string shown = Shown(text, mode);
        unsigned char shownP[256];
        PSet(shownP, shown);
        if (GetMenuKey(shownP, name, &key)) {
            item.text = PText(name);
            if (key) item.key = std::string(1, char(key));
        } else {
            item.text = shown;
            if ((flags & kHasKey) && v.data[at + 68]) item.key = std::string(1, char(v.data[at + 68]));
        }
        out->items.push_back(std::move(item));
    }
    return true;
}

// The menus of the bar 'BAQz' `id`, in order; missing ones left out.
std::vector<MenuView> ReadBar(TMainDoc* doc, int16_t id, int32_t mode)
{
    std::vector<int16_t> ids;
    {
        ParseResFile store(doc);
        const ByteView v = ByteView::Of(xget1res(FourCC("BAQz"), id));
        int16_t count = 0;
        v.S16(0, &count);
        for (int32_t k = 1; k <= count; ++k) {
            int16_t menuId = 0;
            if (!v.S16(size_t(6 * k + 6), &menuId)) break;
            ids.push_back(menuId);
        }
    }
    std::vector<MenuView> menus;
    for (int16_t menuId : ids) {
        MenuView m;
        if (ReadMenu(doc, menuId, mode, &m)) menus.push_back(std::move(m));
    }
    return menus;
}

void MenuFont(StyleField face)
{
    TextFont(systemFont);
    TextSize(kMenuTextSize);
    TextFace(face);
}

std::string KeyText(const std::string& key) { return IndString(1024, 8) + key; }

}  // namespace

int16_t TMBarObjQz::DisplayPopUp(Point pt)
{
    displayMode = ChooseDisplayMode(pt, displayMode, 2);
    return int16_t(displayMode);
}

int16_t TMenuObjQz::DisplayPopUp(Point pt)
{
    displayMode = ChooseDisplayMode(pt, displayMode, 2);
    return int16_t(displayMode);
}

int16_t TMBarObjQz::InitDisplay(Handle* display, const Rect& r, int16_t* width, int16_t* height, int16_t* pageMin,
                                int16_t* pageMax, int16_t* page, bool flag)
{
    const int32_t mode = width ? std::clamp<int32_t>(*width, 0, 2) : 0;
    TObjQz::InitDisplay(display, r, width, height, pageMin, pageMax, page, flag);
    displayMode = mode;
    std::vector<std::string> titles{IndString(1024, 7)};
    for (const MenuView& m : ReadBar(owner, id, mode)) titles.push_back(m.title);
    // Each title's box is as wide as its text + 12 and follows the last.
    std::vector<int16_t> lefts;
    int32_t right = 0;
    int16_t ascent = 0, line = 0;
    {
        SavedFont saved;
        MenuFont(normal);
        FontInfo fi{};
        GetFontInfo(&fi);
        ascent = fi.ascent;
        line = LineOf(fi);
        for (const std::string& t : titles) {
            lefts.push_back(int16_t(std::min<int32_t>(right, 32000)));
            right += Width(t) + 12;
        }
    }
    const int16_t barHeight = GetMBarHeight();
    *width = int16_t(std::min<int32_t>(right + 25, 4096));
    *height = barHeight;
    const int16_t base = int16_t((barHeight - line) / 2 + ascent);
    const Rect strip{0, 0, barHeight, *width};
    return RecordPreview(display, r, *width, *height, [&] {
        // Black outside the rounded corners, white within.
        PaintRect(&strip);
        EraseRoundRect(&strip, 16, 16);
        MenuFont(normal);
        for (size_t i = 0; i < titles.size(); ++i) DrawAt(titles[i], int16_t(lefts[i] + 6), base);
        FrameRect(&strip);
    });
}

int16_t TMenuObjQz::InitDisplay(Handle* display, const Rect& r, int16_t* width, int16_t* height, int16_t* pageMin,
                                int16_t* pageMax, int16_t* page, bool flag)
{
    const int32_t mode = width ? std::clamp<int32_t>(*width, 0, 2) : 0;
    TObjQz::InitDisplay(display, r, width, height, pageMin, pageMax, page, flag);
    displayMode = mode;
    MenuView menu;
    ReadMenu(owner, id, mode, &menu);
    const std::string noMethod = IndString(1013, 13);
    // Three columns: the texts, the keys, the methods.
    constexpr int16_t kLeft = 14, kTop = 8;
    int32_t textColumn = 0, keyColumn = 0, methodColumn = 0;
    int16_t line = 0, menuAscent = 0, appAscent = 0;
    {
        SavedFont saved;
        MenuFont(normal);
        FontInfo fi{};
        GetFontInfo(&fi);
        line = LineOf(fi);
        menuAscent = fi.ascent;
        textColumn = Width(menu.title);
        for (const ItemView& it : menu.items) {
            if (it.separator) continue;
            MenuFont(it.face);
            textColumn = std::max<int32_t>(textColumn, Width(it.text));
            MenuFont(normal);
            if (!it.key.empty()) keyColumn = std::max<int32_t>(keyColumn, Width(KeyText(it.key)));
        }
        ApplicationFont(underline);
        GetFontInfo(&fi);
        line = std::max(line, LineOf(fi));
        appAscent = fi.ascent;
        for (const ItemView& it : menu.items) {
            if (it.separator) continue;
            ApplicationFont(it.method.empty() ? normal : underline);
            methodColumn = std::max<int32_t>(methodColumn, Width(it.method.empty() ? noMethod : it.method));
        }
    }
    const int32_t keyLeft = kLeft + textColumn + 12;
    const int32_t methodLeft = keyLeft + keyColumn + (keyColumn ? 16 : 4);
    const Rect box{4, 4, int16_t(std::min<int32_t>(kTop + int32_t(menu.items.size() + 1) * line + 6, 32000)),
                   int16_t(std::min<int32_t>(methodLeft + methodColumn + 10, 4000))};
    *width = int16_t(box.right + 2);
    *height = int16_t(box.bottom + 2);
    return RecordPreview(display, r, *width, *height, [&] {
        const int16_t lineTop = kTop;
        auto baseOf = [&](size_t row, int16_t ascent) { return int16_t(lineTop + int32_t(row) * line + ascent); };
        MenuFont(bold);
        DrawAt(menu.title, kLeft, baseOf(0, menuAscent));
        MoveTo(box.left, int16_t(lineTop + line));
        LineTo(int16_t(box.right - 1), int16_t(lineTop + line));
        for (size_t i = 0; i < menu.items.size() && baseOf(i + 1, 0) < 32000; ++i) {
            const ItemView& it = menu.items[i];
            const size_t row = i + 1;
            if (it.separator) {
                const int16_t v = int16_t(lineTop + int32_t(row) * line + line / 2);
                MoveTo(box.left, v);
                LineTo(int16_t(box.right - 1), v);
                continue;
            }
            MenuFont(it.face);
            DrawAt(it.text, kLeft, baseOf(row, menuAscent));
            MenuFont(normal);
            if (!it.key.empty()) DrawAt(KeyText(it.key), int16_t(keyLeft), baseOf(row, menuAscent));
            ApplicationFont(it.method.empty() ? normal : underline);
            DrawAt(it.method.empty() ? noMethod : it.method, int16_t(methodLeft), baseOf(row, appAscent));
        }
        // The frame with a one-pixel shadow right and below.
        FrameRect(&box);
        MoveTo(int16_t(box.left + 1), box.bottom);
        LineTo(box.right, box.bottom);
        LineTo(box.right, int16_t(box.top + 1));
    });
}

int16_t TMBarObjQz::PrintObj(OutPutParmRec* options)
{
    if (!PrintHeadingKeeping(this, options, 4)) return 0;
    UsePrintStyle(normal);
    unsigned char text[256];
    for (const MenuView& m : ReadBar(owner, id, 1)) {
        PSet(text, m.title);
        PrintNewLine(text, 20);
    }
    const unsigned char empty[1] = {0};
    PrintNewLine(empty, 0);
    return 0;
}

int16_t TMenuObjQz::PrintObj(OutPutParmRec* options)
{
    if (!PrintHeadingKeeping(this, options, 3)) return 0;
    MenuView menu;
    ReadMenu(owner, id, 1, &menu);
    unsigned char text[256];
    UsePrintStyle(normal);
    PSet(text, menu.title);
    PrintNewLine(text, 20);
    // Keys end where the widest item, measured with its key, ends; the
    // methods follow 20 points further.
    int32_t widest = 0;
    for (const ItemView& it : menu.items) {
        if (it.separator) continue;
        UsePrintStyle(it.face);
        widest = std::max<int32_t>(widest, Width(it.text + "  " + KeyText(it.key)));
    }
    widest = std::min<int32_t>(widest, 16000);
    for (const ItemView& it : menu.items) {
        if (it.separator) {
            UsePrintStyle(normal);
            PrintNewLine(reinterpret_cast<const unsigned char*>("\x01-"), 40);
            continue;
        }
        UsePrintStyle(it.face);
        PSet(text, it.text);
        PrintLine(text, 40);
        UsePrintStyle(normal);
        if (!it.key.empty()) {
            PSet(text, "-" + it.key);
            PrintLine(text, int16_t(widest + 40 - Width("-" + it.key)));
        }
        UsePrintStyle(underline);
        PSet(text, it.method);
        PrintNewLine(text, int16_t(widest + 60));
    }
    UsePrintStyle(normal);
    const unsigned char empty[1] = {0};
    PrintNewLine(empty, 0);
    return 0;
}
