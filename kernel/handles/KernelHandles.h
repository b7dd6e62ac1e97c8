// The kernel's handle helpers: allocation and resizing that record the
// platform's result in the kernel error.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

// The platform result of the last kernel handle, resource or file call.
extern int16_t erreure;
// 1 while allocations may dip into the memory reserve; the "2" variants
// clear it for the time of their platform call.
extern uint8_t iscritic;

// A new handle; a negative size gives null with erreure from the platform's
// last memory result.
platform::Handle nouvhandle(int32_t size);
platform::Handle nouv2handle(int32_t size);
// Resize; set and return erreure.
int16_t sethsize(platform::Handle h, int32_t size);
int16_t set2hsize(platform::Handle h, int32_t size);
// Clears the variable, then frees the handle; sets erreure.
void effhandle(platform::Handle* h);
// Frees the handle; sets and returns erreure.
int16_t effhandle(platform::Handle h);
