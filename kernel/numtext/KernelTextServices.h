// Puts the kernel's hour, date, real and century services behind the
// toolbox's text hooks, and serves them on the host entry: -47 formats a
// real, 61 reads a time of day, 531 answers the century window.
#pragma once

#include "toolbox/foundation/HostParm.h"

void InstallKernelTextServices();

void ext_FormatReal(parm* block);   // 288 the real -> 310 its text
void ext_EvalTime(parm* block);     // 310 the text -> 304 seconds (INT32_MIN: no hour)
void ext_CenturyInfo(parm* block);  // 272 pivot, 276 century
