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

// A menu item text split at its first "/" that is a character by itself:
// the text before it (cut to 255 as copytruncate cuts) and the character
// after it, true; otherwise the whole text and false. Under a two-byte
// script (the kernel's scriptmanager) a "/" must be a single-byte
// character.
bool GetMenuKey(const unsigned char* item, unsigned char* name, unsigned char* key);
// The same with the script given: `twoByte` and the byte classification
// (the platform's CharacterByteType answers).
using ByteTypeProc = int16_t (*)(const uint8_t* text, int16_t offset);
bool GetMenuKeyIn(const unsigned char* item, unsigned char* name, unsigned char* key, bool twoByte,
                  ByteTypeProc byteType);
