// Copying a stored form into another document: the image copied chunk by
// chunk (CopyIFFLayOut), then the object methods its fields, variables and
// list boxes name moved into the destination under new ids, the new ids
// patched into the copy (MoveIFFFormObject). The transfer reaches both
// through its hook table (FormObjectWalks.h), which InstallFormCopyWalks
// fills.
#pragma once

#include <cstdint>
#include <vector>

#include "forms/walkers/FormObjectWalks.h"
#include "forms/walkers/WalkerFrame.h"

// What the method mover answers for a method the source does not hold: the
// object then names no method (id 0) and the walk goes on.
constexpr int16_t kFormScriptMissing = 1003;

// `dest` emptied and filled with a copy of `source`: every chunk as stored
// but list boxes, which are read and written again in their current
// encoding. An image in the other byte order is copied as stored. 0, -108
// when memory ran out, or kFormWalkFailed (the output empty) for an image
// that cannot be read.
int16_t CopyIFFLayOut(platform::Handle source, platform::Handle dest);

// Each object method the image's "FILD", "VAR " and "GDTL" (with its
// columns) name moved from `source` to `dest` through `moveScript`, each
// time anew (two objects sharing a method get a copy each), and the new id
// written over the old one in `form`: in place, except that a list box
// encoded again at another length makes the whole image written anew. The
// new ids are appended to *moved. 0, the mover's error, or kFormWalkFailed
// for an image that cannot be read (`form` is then as it came in when no
// method had moved yet).
int16_t MoveIFFFormObject(platform::Handle form, TMainDoc* source, TMainDoc* dest, FormScriptMover moveScript,
                          std::vector<int16_t>* moved);

// The handlers of the two walks.
IFFP MoveSript(_GroupContext* context);
IFFP LbMoveScript(_GroupContext* context);
IFFP ListBoxCopy(_GroupContext* context);

// Fills the transfer's hook table with the walks above.
void InstallFormCopyWalks();
