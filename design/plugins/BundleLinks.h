// The links a plug-in's bundle table makes: the string lists it names.
#pragma once

#include <cstdint>

class TMainDoc;
class TObjQz;

// For each 'STR#' entry of bundle table (type, id) of the current file:
// the string-list object (kind 11) named by that list's resource name
// (else "Strings" and its id, from 'STR#' 1001 item 11), cut to 32
// characters, made when missing, becomes a dependency of `obj`. A missing
// or damaged table links nothing. 0 or -108.
int16_t ParseQzBundle(TMainDoc* doc, TObjQz* obj, uint32_t bundleType, int16_t id);
