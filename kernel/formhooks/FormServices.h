// Services of the forms layer that kernel and store code call. The forms
// layer installs its own at start-up; until then the defaults below answer.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

using GetStaticPictProc = platform::Handle (*)(int16_t id, int32_t extra);
using GetLowBACProc = int16_t (*)();

// The picture of that id: ids below 0 are pictures held in memory (none
// before the forms layer is installed), ids from 0 up the 'PICT' resources
// of the current store file. Null when there is none.
platform::Handle GetStaticPict(int16_t id, int32_t extra);
// The system text direction: -1 right to left, 0 left to right.
int16_t GetLowBAC();

void SetGetStaticPictProc(GetStaticPictProc proc);  // null restores the default
void SetGetLowBACProc(GetLowBACProc proc);
