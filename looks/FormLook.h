// The look in which the open structure's forms are drawn: the first byte
// of its 'Look' 128 as a signed number, chosen by the design layer when a
// structure is read and by the preview before it draws a form.
#pragma once

#include <cstdint>

class VI_Handler;

// Keeps the look number and selects its handler.
void SetDBVIProc(int16_t look);
// The look last set (0 until then).
int16_t GetDBVILook();
// The handler of that look (-3 to 7), else the default handler.
VI_Handler* GetDBVIProc();
