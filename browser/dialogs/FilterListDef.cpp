// List definition 1004: a filter's name in a box of the cell's first 158
// pixels, then a 16-pixel box per pane flag holding the check glyph when
// the flag is set. The text boxes clip what does not fit.
#include <algorithm>
#include <cstring>

#include "app/appl/Preferences.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "browser/CellDrawers.h"
#include "browser/dialogs/DialogDrawing.h"
#include "browser/dialogs/FilterDialog.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/textedit/TextEdit.h"

using namespace platform;

namespace browser {

namespace {

constexpr int kTrailingSpaces = 64;

// `lead` and 64 spaces in the box, left-aligned.
void BoxText(const unsigned char* lead, const Rect& box)
{
    char line[256 + kTrailingSpaces];
    std::memcpy(line, lead + 1, lead[0]);
    std::memset(line + lead[0], ' ', kTrailingSpaces);
    TETextBox(line, int32_t(lead[0] + kTrailingSpaces), &box, teFlushLeft);
}

void DrawCell(const Rect* cell, const uint8_t* bytes, int16_t length)
{
    SavedPortText keep;
    EraseWinBkRect(cell, 0);
    TextFont(GetResFont(0));
    TextSize(GetResSize(0));
    TextFace(0);
    TextMode(srcCopy);
    unsigned char name[257] = {1, ' '};
    const uint8_t nameLength = length > 0 ? uint8_t(std::min<int>(bytes[0], std::min<int>(length - 1, 255))) : 0;
    const uint8_t room = uint8_t(std::min<int>(nameLength, 254));
    std::memcpy(name + 2, bytes + 1, room);
    name[0] = uint8_t(1 + room);
    BoxText(name, Rect{cell->top, cell->left, cell->bottom, int16_t(cell->left + kFlagColumnLeft)});
    unsigned char check[256], space[2];
    MyGetIndString(check, 1024, 2);
    DoSpace(space);
    for (int k = 0; k < 3; ++k) {
        const int32_t at = kRowUsedBy + k;
        const bool on = at < length && bytes[at] != 0;
        const int16_t left = int16_t(cell->left + kFlagColumnLeft + kFlagColumnWidth * k);
        BoxText(on ? check : space, Rect{cell->top, left, cell->bottom, int16_t(left + kFlagColumnWidth)});
    }
}

void Invert(const Rect* cell)
{
    LMSetHiliteMode(uint8_t(LMGetHiliteMode() & ~0x80));
    InvertRect(cell);
}

}  // namespace

void FilterListIdProc(int16_t message, Boolean selected, Rect* cell, Cell, int32_t offset, int16_t length,
                      ListHandle list)
{
    if (!cell || !list || (message != lDrawMsg && message != lHiliteMsg)) return;
    RGBColor back{};
    SetWhiteBackGround(&back);
    Handle data = GetListDataHandle(list);
    if (message == lDrawMsg) {
        uint8_t bytes[kRowLength] = {0};
        int16_t have = 0;
        if (data && *data && offset >= 0 && length > 0 && offset < GetHandleSize(data)) {
            have = int16_t(std::min<int64_t>({int64_t(length), int64_t(kRowLength), GetHandleSize(data) - offset}));
            HLock(data);
            std::memcpy(bytes, *data + offset, size_t(have));
            HUnlock(data);
        }
        DrawCell(cell, bytes, have);
        if (selected) Invert(cell);
    } else {
        Invert(cell);
    }
    ResetWhiteBackGround(&back);
}

}  // namespace browser
