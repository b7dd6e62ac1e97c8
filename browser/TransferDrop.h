// Rows dropped on a pane of another document: the drop posts the copy
// command (32003) with its arguments, and when the command reaches the
// destination window the source pane's MoveQzObj copies the selected
// objects. The copy itself is the transfer layer's, above this one: it
// fills the hook at start-up.
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
