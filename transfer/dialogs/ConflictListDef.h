// The rows of the conflict list (list definition 1006): one row per
// record, drawn in the program's list font (numbered style 3). A row holds
// the code's icon, the clicked mark under it, two lines of description and
// the choice box with the current choice. The geometry lives here once,
// so that what is drawn is what a click finds.
//
//   x = the cell's left, plus 20 when the record's parent is visible
//   code icon      (x + 4, top + 4) to (x + 36, top + 20): colour icon 512 + n
//   clicked mark   (x + 4, top + 20) to (x + 20, top + 36): 'SICN' 128 icon 7
//   description    (x + 40, top + 4) to (right, top + 4 + 2 x line)
//   choice box     (x + 40, text bottom + 3) to (right - 8, text bottom + 23)
//   cell height    7 x (line / 2) + 14, line = ascent + descent + leading
#pragma once

#include <cstdint>

#include "app/longlist/LongList.h"
#include "platform/drawing/QuickDrawTypes.h"

class TConflict;

namespace transfer {

constexpr int16_t kConflictListDef = 1006;
constexpr int16_t kChainIndent = 20;

// Sets the port's text to the list font (plain).
void UseListFont();
// Ascent + descent + leading of the list font.
int16_t ListLineHeight();
int16_t ConflictCellHeight();
// 20 for a record whose parent is visible (a chained row), else 0.
int16_t RowIndent(const TConflict* record);
platform::Rect ChoiceBoxRect(const platform::Rect& cell, const TConflict* record);
// A record with an object whose choice is 9, 11, 12, 16 or 17: its box is
// grey and offers no pop-up.
bool FixedChoice(const TConflict* record);

// The entry's text index and icon of a choice; both 0 without one.
void xChooseIDStrListe(int16_t code, int16_t choice, int16_t* textIndex, int16_t* icon);

void DoDrawC_Cell(const platform::Rect* cell, TConflict* record);
void DrawC_Cell(const platform::Rect* cell, TConflict* record);
void HiliteC_Cell(const platform::Rect* cell);
void C_ListLDEFProc(int16_t message, bool selected, const platform::Rect* cell, int32_t row, int32_t dataOffset,
                    LongListHandle list);

}  // namespace transfer
