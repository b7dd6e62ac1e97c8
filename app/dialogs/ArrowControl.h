// The arrow control (control definition 1001): four 16-pixel arrow buttons
// in a row that step a value between its minimum and maximum; parts 1 and 2
// step towards the minimum, 3 and 4 towards the maximum. An arrow that
// cannot move the value draws dimmed and finds no part.
#pragma once

#include <cstdint>

#include "platform/controls/Controls.h"
#include "platform/drawing/QuickDrawTypes.h"

constexpr int16_t kArrowControlDef = 1001;
constexpr int16_t kTriStateControlDef = 131;
constexpr int16_t kArrowIconBase = 2100;  // enabled 2100, 2102...; dimmed the next id

int32_t ProcObjCDEF(int16_t variation, platform::ControlRef control, int16_t message, intptr_t param);
platform::Rect GetCtlPartRect(platform::ControlRef control, int16_t part);
void DrawArrowIcon(const platform::Rect* r, bool pressed, bool enabled, int16_t iconId);
// Plots 'cicn' iconId in its own size at r's top-left.
void myPlotCIcon(const platform::Rect& r, int16_t iconId);
int16_t FindControlPart(platform::Point where, platform::ControlRef control, int16_t variation);

// The tri-state check box is defined with the browser's panes: they hand it
// in here before start-up registers the application's definitions.
void SetTriStateProc(platform::ControlDefProcPtr proc);
// Registers 1001 and, when handed in, 131 with the platform.
void RegisterAppControlDefinitions();
