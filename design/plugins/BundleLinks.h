// The links a plug-in's bundle table makes: the string lists it names.
#pragma once

#include <cstdint>
#include <vector>

class TMainDoc;
class TObjQz;

// For each 'STR#' entry of bundle table (type, id) of the current file:
// the string-list object (kind 11) named by that list's resource name
// (else "Strings" and its id, from 'STR#' 1001 item 11), cut to 32
// characters, made when missing, becomes a dependency of `obj`. A missing
// or damaged table links nothing. 0 or -108.
int16_t ParseQzBundle(TMainDoc* doc, TObjQz* obj, uint32_t bundleType, int16_t id);

// The ids of the 'STR#' that the bundle tables of the current file name
// (routines' 'QBND', packages' 'QBNX'): lists that belong to a plug-in,
// which no string-list command offers or writes. Damaged tables name none.
std::vector<int16_t> BundledStringLists();
// Whether a bundle table of the current file names 'STR#' `id`: a list that
// belongs to a plug-in, never written over by the string-list commands or
// by a copied string list.
bool IsBundledStringList(int16_t id);
// The same for the list `id` of the document's companion file; false
// without one.
bool IsBundledStringList(TMainDoc* doc, int16_t id);
