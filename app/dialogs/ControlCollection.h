// The conversion procedure of the application's control definitions: a
// control's creation parameters as collection items, all with id 0.
#pragma once

#include <cstdint>

#include "platform/controls/Controls.h"

// Items: 'boun' (8 bytes: top, left, bottom, right), 'valu' (2), 'visi' (1),
// 'max ' (4), 'min ' (4), 'idid' (4: the procedure id), 'refc' (the
// reference, pointer-sized) and 'titl' (the title's own length). Answers 0,
// or the first failed addition's code.
platform::OSStatus ControlToCollectionProc(const platform::Rect* bounds, int16_t value, platform::Boolean visible,
                                           int16_t max, int16_t min, int16_t procID, uintptr_t refCon,
                                           platform::ConstStr255Param title, void* collection);
