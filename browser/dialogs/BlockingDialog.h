// The blocking preferences (dialog 280): which kinds hold back the
// objects they use when objects are copied, kept in the preferences
// file's 'Oblk' 0 as (kind, blocked) byte pairs ended by a 0 kind. The
// list shows one row per pair whose kind has a name (STR# 1008); OK
// writes the rows back in place, then the terminator. The defaults
// (G_Block) are read again on the way out, confirmed or not.
//
// Items: 1 OK, 2 Cancel, 3 the frame over the list (a click blocks every
// row, with Option none), 6 the list.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/lists/Lists.h"

namespace browser {

constexpr int16_t kBlockingDialog = 280;
enum : int16_t { kBlockOK = 1, kBlockCancel = 2, kBlockHeader = 3, kBlockList = 6 };

// The application's command 16. Answers 0, or the error shown when the
// preferences could not be written (they are then as they were).
int16_t BlockingPref();

platform::Boolean BlockFilter(platform::DialogRef dialog, platform::EventRecord* event,
                              platform::DialogItemIndex* item);
void DrawBlockDial(platform::DialogRef dialog);

// The rows of 'Oblk' bytes: pairs up to a 0 kind or the end of the bytes.
void AddBlockRows(platform::ListHandle list, const uint8_t* pairs, int32_t size);
// Writes the rows over the pairs in place, then a 0; grows the resource
// by what the terminator needs, never shrinks it. memFullErr when it
// cannot grow (nothing written).
platform::OSErr WriteBlockRows(platform::ListHandle list, platform::Handle pairs);

}  // namespace browser
