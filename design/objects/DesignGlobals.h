// State shared by every design object of the application.
#pragma once

#include <cstdint>

#include "app/appl/AppGlobals.h"

struct WaitParamRec;

// Objects initialised since start.
extern int16_t G_NewObj;
// One byte per kind 1 to 31: nonzero when objects of that kind do not pull
// their dependencies into a copy.
extern uint8_t G_Block[31];
// G_ModuleUpdate, the component mode (app/appl/AppGlobals.h): 4 normal work
// (objects of installed components stay in their folders), 3 while
// components are installed or removed or lists are disposed, 1 and 2 while
// an installation keeps (1) or replaces (2) every remaining object.
// The wait dialog of the long operation under way, or null.
extern WaitParamRec* G_WaitParam;

// Back to the state at start (tests).
void ResetDesignGlobals();
// Rebuilds G_Block from the preferences file's 'Oblk' 0: (kind, value)
// byte pairs up to a kind of 0.
void SetBlockArray();
