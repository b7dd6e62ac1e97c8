// Rows dropped on a pane of another document: the drop posts the copy
// command (32003) with its arguments, and when the command reaches the
// destination window the source pane's MoveQzObj copies the selected
// objects. The component commands of the list pane (110-115) likewise
// hand their work over. The copy and the components are the transfer
// layer's, above this one: it fills the hook table at start-up; until then
// the commands do nothing.
#pragma once

#include <cstdint>

class TMainDoc;
class TObjQz;
class TPlan;

namespace browser {

// Copies the objects of the selected rows (in row order) from `source`
// into `dest`; mode 1 brings what each uses along.
using MoveObjectsHook = int16_t (*)(TMainDoc* source, TMainDoc* dest, TObjQz* const* rows, int32_t count,
                                    int16_t mode);
// A component command over the selected rows' objects (in row order).
using RowsCommandHook = int16_t (*)(TMainDoc* doc, TObjQz* const* rows, int32_t count);

struct PaneTransferHooks {
    MoveObjectsHook moveObjects = nullptr;
    // New component (110): `modulable` tells whether the rows can form one;
    // *made is the component made, null when none.
    int16_t (*newComponent)(TMainDoc* doc, TObjQz* const* rows, int32_t count, bool modulable,
                            TObjQz** made) = nullptr;
    // Properties (111) of one component.
    int16_t (*componentProperties)(TMainDoc* doc, TObjQz* component) = nullptr;
    RowsCommandHook generateComponents = nullptr;   // 112
    RowsCommandHook deleteComponents = nullptr;     // 113
    int16_t (*installComponent)(TMainDoc* doc) = nullptr;  // 114
    RowsCommandHook uninstallComponents = nullptr;  // 115
};
void SetPaneTransferHooks(const PaneTransferHooks& hooks);
void ResetPaneTransferHooks();
const PaneTransferHooks& CurrentPaneTransferHooks();
// The copy slot alone.
void SetMoveObjectsHook(MoveObjectsHook hook);

// More resources than this in the destination's resource file refuse a
// drop (error 1008).
constexpr int32_t kMaxDropResources = 2500;
constexpr int16_t kTooManyResources = 1008;
constexpr int16_t kDragObjCommand = 32003;

// Pushes the Option state, the source pane and the destination pane, sets
// G_C_Hide from the Control key and posts the copy command.
void PostDrop(::TPlan* source, ::TPlan* dest, uint16_t modifiers);

}  // namespace browser
