// The kernel's handle copies and list release, beside the allocation
// helpers of kernel/handles.
#pragma once

#include <cstdint>

#include "kernel/handles/KernelHandles.h"

using platform::Handle;

// Frees the handle and clears the variable; erreure is left alone.
void myDisposeHandle(Handle* h);
// A copy made with nouv2handle (null on an allocation error, and for a
// null or purged source, with erreure nilHandleErr).
void handle2handle(Handle source, Handle* copy);
// A copy made with nouvhandle (null when none could be made).
void handletohandle(Handle source, Handle* copy);
// Frees |*count| handles of the list, then the list; both are cleared.
void effcalc(Handle* list, int16_t* count);
void unpurgeres(Handle h);
void wlock(Handle h);
void wunlock(Handle h);
