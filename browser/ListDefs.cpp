// The drawing procedures of the lists in the cross-reference panes and the
// browser's dialogs. Cells of the platform lists hold fixed-layout records;
// a cell shorter than a field's place reads that field as absent.
#include <algorithm>
#include <cstring>
#include <cstdio>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Preferences.h"
#include "app/appl/Utilities.h"
#include "browser/CallPanes.h"
#include "browser/CellDrawers.h"
#include "browser/dialogs/DialogDrawing.h"
#include "browser/dialogs/FilterDialog.h"
#include "design/objects/ObjKinds.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/drawing/TextLayout.h"
#include "platform/icons/Icons.h"
#include "platform/textedit/TextEdit.h"

using namespace platform;

namespace browser {

namespace {

constexpr int32_t kNameField = 256;      // a Str255 name opens every record
constexpr int32_t kShortcutByte = 521;   // the command rows' shortcut

// The bytes of one cell of a platform list.
struct CellBytes {
    const uint8_t* data = nullptr;
    int32_t length = 0;

    // The name at the start: its length byte cut to the bytes present.
    void Name(unsigned char* out) const
    {
        out[0] = 0;
        if (length < 1) return;
        out[0] = uint8_t(std::min<int32_t>(data[0], length - 1));
        std::memcpy(out + 1, data + 1, out[0]);
    }
    bool Has(int32_t offset, int32_t size) const { return offset >= 0 && offset + size <= length; }
    int16_t I16(int32_t offset, int16_t absent) const
    {
        return Has(offset, 2) ? int16_t(uint16_t(data[offset] << 8 | data[offset + 1])) : absent;
    }
    uint8_t U8(int32_t offset) const { return Has(offset, 1) ? data[offset] : 0; }
};

CellBytes CellOf(ListHandle list, int32_t offset, int16_t length)
{
    CellBytes cell;
    Handle h = list ? GetListDataHandle(list) : nullptr;
    if (!h || !*h || offset < 0 || length <= 0) return cell;
    const int64_t size = GetHandleSize(h);
    if (offset >= size) return cell;
    cell.data = reinterpret_cast<const uint8_t*>(*h) + offset;
    cell.length = int32_t(std::min<int64_t>(length, size - offset));
    return cell;
}

void Invert(const Rect* r)
{
    LMSetHiliteMode(0);
    InvertRect(r);
}

void DrawObjectCell(const Rect* cell, TObjQz* obj)
{
    SavedPortText keep;
    EraseRect(cell);
    if (!obj) return;
    const Rect icon{cell->top, cell->left, int16_t(cell->top + 16), int16_t(cell->left + 16)};
    MyPlotIcon(&icon, int16_t(2040 + obj->kind), false);
    DrawCellLabel(CellPen{Rect{cell->top, int16_t(cell->left + 16), cell->bottom, cell->right}, false}, obj);
}

void TextIn(const unsigned char* text, const Rect& box, int16_t just)
{
    TETextBox(text + 1, text[0], &box, just);
}

void DrawKindCell(const Rect* cell, const CellBytes& bytes)
{
    SavedPortText keep;
    EraseRect(cell);
    TextFont(GetResFont(0));
    TextSize(GetResSize(0));
    TextFace(0);
    TextMode(srcCopy);
    // A space, the name and 64 spaces; then the check (or a space) and 64
    // spaces in the last 18 pixels. Fixed buffers: nothing is allocated.
    unsigned char name[256];
    bytes.Name(name);
    char line[1 + 255 + 64];
    line[0] = ' ';
    std::memcpy(line + 1, name + 1, name[0]);
    std::memset(line + 1 + name[0], ' ', 64);
    TETextBox(line, int32_t(1 + name[0] + 64), cell, teFlushLeft);
    unsigned char glyph[256] = {1, ' '};
    if (bytes.U8(kNameField + 2)) MyGetIndString(glyph, 1024, 2);
    char check[255 + 64];
    std::memcpy(check, glyph + 1, glyph[0]);
    std::memset(check + glyph[0], ' ', 64);
    const Rect box{cell->top, int16_t(cell->right - 18), cell->bottom, cell->right};
    TETextBox(check, int32_t(glyph[0] + 64), &box, teFlushLeft);
}

void DrawResCell(const Rect* cell, const CellBytes& bytes)
{
    EraseRect(cell);
    TextFont(GetResFont(0));
    TextSize(GetResSize(0));
    TextFace(0);
    unsigned char name[256];
    bytes.Name(name);
    const Rect nameBox{cell->top, int16_t(cell->left + 4), cell->bottom, int16_t(cell->left + 110)};
    TruncString(int16_t(nameBox.right - nameBox.left - 4), name, smTruncEnd);
    TextIn(name, nameBox, teFlushLeft);
    auto number = [](int16_t n, unsigned char* out) {
        char digits[16];
        const int len = std::snprintf(digits, sizeof digits, "%d", int(n));
        out[0] = uint8_t(len);
        std::memcpy(out + 1, digits, size_t(len));
    };
    unsigned char text[32];
    if (bytes.Has(kNameField, 2)) {
        number(bytes.I16(kNameField, 0), text);
        TextIn(text, Rect{cell->top, int16_t(cell->left + 110), cell->bottom, int16_t(cell->left + 170)}, teFlushRight);
    }
    if (bytes.Has(kNameField + 2, 2)) {
        number(bytes.I16(kNameField + 2, 0), text);
        TextIn(text, Rect{cell->top, int16_t(cell->left + 170), cell->bottom, cell->right}, teFlushRight);
    }
    TextFont(0);
    TextSize(12);
    TextFace(0);
}

void DrawSpecialCell(const Rect* cell, const CellBytes& bytes)
{
    EraseRect(cell);
    unsigned char text[256];
    bytes.Name(text);
    TruncString(int16_t(cell->right - cell->left - 40), text, smTruncMiddle);
    const bool rtl = MyGetTESysJust() == -1;
    const int16_t base = int16_t(cell->bottom - 4);
    MoveTo(rtl ? int16_t(cell->right - 4 - StringWidth(text)) : int16_t(cell->left + 4), base);
    DrawString(text);
    if (const uint8_t key = bytes.U8(kShortcutByte)) {
        const unsigned char shortcut[4] = {3, 0x11, '-', key};
        MoveTo(rtl ? int16_t(cell->left + 4) : int16_t(cell->right - 40), base);
        DrawString(shortcut);
    }
}

template <typename Draw>
void PlatformListProc(int16_t message, Boolean selected, Rect* cell, int32_t offset, int16_t length, ListHandle list,
                      bool white, Draw draw)
{
    if (!cell || (message != lDrawMsg && message != lHiliteMsg)) return;
    RGBColor back{};
    if (white) SetWhiteBackGround(&back);
    if (message == lDrawMsg) {
        draw(cell, CellOf(list, offset, length));
        if (selected) Invert(cell);
    } else {
        Invert(cell);
    }
    if (white) ResetWhiteBackGround(&back);
}

}  // namespace

void CallProcIdProc(int16_t message, bool selected, const Rect* cell, int32_t row, int32_t, LongListHandle list)
{
    if (!list || !cell || (message != kLongLDrawMsg && message != kLongLHiliteMsg)) return;
    RGBColor back{};
    SetWhiteBackGround(&back);
    if (message == kLongLDrawMsg) {
        TObjQz* obj = list->rowLength == kObjectRowLength ? static_cast<TObjQz*>(LongLRowObject(row, list)) : nullptr;
        DrawObjectCell(cell, obj);
        if (selected) Invert(cell);
    } else {
        Invert(cell);
    }
    ResetWhiteBackGround(&back);
}

void SearchListIdProc(int16_t message, Boolean selected, Rect* cell, Cell, int32_t offset, int16_t length,
                      ListHandle list)
{
    PlatformListProc(message, selected, cell, offset, length, list, true, DrawKindCell);
}

void ResListIdProc(int16_t message, Boolean selected, Rect* cell, Cell, int32_t offset, int16_t length,
                   ListHandle list)
{
    PlatformListProc(message, selected, cell, offset, length, list, true, DrawResCell);
}

void SpecialListIdProc(int16_t message, Boolean selected, Rect* cell, Cell, int32_t offset, int16_t length,
                       ListHandle list)
{
    PlatformListProc(message, selected, cell, offset, length, list, false, DrawSpecialCell);
}

void RegisterListDefinitions()
{
    ListDefSpec definition;
    definition.userProc = ResListIdProc;
    RegisterListDefinition(1003, &definition);
    definition.userProc = FilterListIdProc;
    RegisterListDefinition(1004, &definition);
    definition.userProc = SearchListIdProc;
    RegisterListDefinition(1005, &definition);
}

}  // namespace browser
