// The kernel error and the kernel's handle routines. Each routine said to
// set erreure stores the platform's result of its last call there.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

using platform::Handle;

// The result of the last kernel handle, resource or file call (0: none).
extern int16_t erreure;
// 1 from start-up; cleared around allocations that may not fail quietly.
extern uint8_t iscritic;

Handle nouvhandle(int32_t size);
Handle nouv2handle(int32_t size);
int16_t sethsize(Handle h, int32_t size);
int16_t set2hsize(Handle h, int32_t size);
// Clears the variable, then frees the handle.
void effhandle(Handle* h);
int16_t effhandle(Handle h);
// Frees the handle and clears the variable; erreure is left alone.
void myDisposeHandle(Handle* h);
// A copy made with nouv2handle (null on an allocation error).
void handle2handle(Handle source, Handle* copy);
// A copy made with nouvhandle (null when none could be made).
void handletohandle(Handle source, Handle* copy);
// Frees |*count| handles of the list, then the list; both are cleared.
void effcalc(Handle* list, int16_t* count);
void unpurgeres(Handle h);
void wlock(Handle h);
void wunlock(Handle h);
