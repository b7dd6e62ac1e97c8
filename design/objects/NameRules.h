// Prefixes of variable names: a local variable's name begins with the
// local prefix stlocalvar, an interprocess variable's with stglobglob (the
// kernel's punctuation texts, loaded at start-up).
#pragma once

#include <cstdint>

#include "kernel/startup/KernelGlobals.h"

bool IsLocalVarName(const unsigned char* name);
bool IsGlobalVarName(const unsigned char* name);
// Put the prefix in front (the result cut to 255 characters).
void LocVar(unsigned char* name);
void GlobGlobVar(unsigned char* name);
// Remove as many leading characters as the prefix is long.
void GetLocTrueName(unsigned char* name);
void GetGlobTrueName(unsigned char* name);
// A zero-terminated text as a length-prefixed one (at most 255 characters).
void c2pStrCopy(const char* text, unsigned char* out);
