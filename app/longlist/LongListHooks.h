// What the long lists ask of the layers above: the design object a row
// holds, the conflict entry of the conflict list and its choices, and the
// window and pane a dragged selection lands on. Until installed, rows are
// plain (level 0, neither openable nor draggable), conflicts offer no
// choice and no window takes a drag.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

class TWindow;
class TPlan;

struct LongListHooks {
    int16_t (*getLevel)(void* object) = nullptr;
    bool (*openable)(void* object) = nullptr;
    bool (*dragable)(void* object) = nullptr;
    // A conflict entry: its code, whether it names a second object, and
    // its previous and current choices. False: no entry.
    bool (*getConflict)(void* entry, int16_t* code, bool* hasSecond, int16_t* previous, int16_t* current) = nullptr;
    void (*setConflictChoices)(void* entry, int16_t previous, int16_t current) = nullptr;
    // How far the entry's row is drawn to the right (a chained row).
    int16_t (*conflictIndent)(void* entry) = nullptr;
    int16_t (*maxChoix)(int16_t code) = nullptr;
    int16_t (*chooseNumber)(int16_t code, int16_t choice) = nullptr;
    int16_t (*chooseValue)(int16_t code, int16_t item) = nullptr;
    // String index in 'STR#' 1018 and icon number of a choice.
    void (*chooseNumStrListe)(int16_t code, int16_t choice, int16_t* stringIndex, int16_t* icon) = nullptr;
    // The window under a dragged selection (global point): sets G_Plane and
    // G_Cell and highlights the target.
    void (*dragCell)(TWindow* window, platform::Point where) = nullptr;
    void (*dragCellSelect)(TPlan* pane, bool select) = nullptr;
};

void SetLongListHooks(const LongListHooks& hooks);
void ResetLongListHooks();
const LongListHooks& CurrentLongListHooks();

int16_t LLGetLevel(void* object);
bool LLOpenable(void* object);
bool LLDragable(void* object);

// Shared with the panes while a selection is dragged. G_Plane is the pane
// under the mouse, null, or kPlaneDone (-1) after a click needing nothing
// more; G_Cell its row, -1 for none.
extern TPlan* G_Plane;
extern int32_t G_Cell;
extern struct LongListRec* G_LongListHdl;
extern platform::RgnHandle G_DlgHandle;
inline TPlan* const kPlaneDone = reinterpret_cast<TPlan*>(intptr_t(-1));
