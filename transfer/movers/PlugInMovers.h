// The movers of plug-ins: routines (kind 8, code 'QzEX', bundle 'QBND')
// and packages (kind 7, code 'QzPX', bundle 'QBNX'), from the plug-in's
// file into the destination's companion file.
//
// A bundle is a signed 16-bit count, then 8-byte elements {type; a word;
// id}. Each element resource is copied under a new id (a 'FON#' or
// 'THM#' under the bundle's own id), a 'DLOG' or 'ALRT' with its item list
// 'DITL' (its id at byte 18 of a 'DLOG', 8 of an 'ALRT') and the 'ICON',
// 'CNTL' and 'PICT' resources its items name, each shared resource once.
// Everything is read and checked before anything is written: a count or
// an item list that does not fit its bytes, or an element that is
// missing, gives 1003 and nothing changes. A copy that fails on its way
// takes back what it wrote.
#pragma once

#include <cstdint>

class TMainDoc;
class TObjQz;

namespace transfer {

// The bytes the plug-in's code, bundle and bundle elements (with their
// item lists and items' resources) hold; 1003 for a damaged bundle.
int16_t ExternalSize(TObjQz* obj, int64_t* size);

// A new plug-in object with its resources under one new id from 15000 (the
// first free for the code and the bundle, for a package 'FON#' and 'THM#'
// too); a package's parameter list 'EPRM' follows under that id. -34 under
// twice ExternalSize free.
int16_t MoveExternal(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t MovePackage(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
// The source's resources written whole under new ids first; only then the
// destination plug-in's go, and the object takes the new id (a package's
// routines follow the new list). A failure leaves the old one as it was.
int16_t ReplaceExternal(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t ReplacePackage(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);

// In the current resource file: the bundle (type, id) copied from file
// `from` as (type, newId), its elements along. 0, 1003 or the file's error.
int16_t MoveQzBundle(int16_t from, uint32_t bundleType, int16_t id, int16_t newId);
// The plug-in's resources of the current file leave it: the code, the
// bundle with its elements, a dialog's or alert's item list and the
// items' resources.
int16_t DeleteResQzExternal(uint32_t codeType, uint32_t bundleType, int16_t id);
int16_t DeleteQzBundle(uint32_t bundleType, int16_t id);
int16_t DeleteDLogRes(uint32_t type, int16_t id);
int16_t DeleteDITLRes(int16_t id);

}  // namespace transfer
