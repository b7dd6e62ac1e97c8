// File-name extensions of length-prefixed names.
#pragma once

// Cuts the name before a '.' among its last four characters.
void RemoveFileExtension(unsigned char* name);
// Replaces the extension by '.' and the three characters of `extension`;
// a name longer than 251 characters once its extension is gone gets none.
void SetExtension(unsigned char* name, const char* extension);
// The destination receives the whole name.
void TruncateDos_KeepExt(const unsigned char* source, unsigned char* destination);
