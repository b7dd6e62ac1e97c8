// The movers of forms (kind 24): the form's row of its table's form table
// 'TFQz', its image 'FOQz' with the object methods its objects name, its
// form method and the resources kept beside the image ('FON#', 'PSQz' and
// the one of type 'f' 0 0 1, under the form's id).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/MacTypes.h"

class TLayoutObjQz;
class TMainDoc;
class TObjQz;

namespace transfer {

constexpr int16_t kNotAForm = 9001;

// A new form of the destination table `destTable` from the source form's
// row (270 bytes, found by form id: 1003 when missing): the new name (the
// source's when empty), a new form id (MoveResQzLayOut) and a new form
// method id; the table's default input and output forms follow the
// source's; 'Look' 128 is copied when the destination has none.
int16_t MoveLayOut(TMainDoc* source, TMainDoc* dest, TObjQz* form, TObjQz* destTable, TObjQz** newObj,
                   const unsigned char* newName);
// The source form over the destination form `*destForm`, which keeps its
// id and name: its image with the resources beside it (the destination's
// own leave), a new form method (its old method's code leaves, its method
// object takes the new id), the rest of its row.
int16_t ReplaceLayOut(TMainDoc* source, TMainDoc* dest, TObjQz* form, TObjQz** destForm);
// The source form's image 'FOQz' under a new id, a chunk file (an image of
// the older flat layouts is made one by the source; one it cannot read
// gives 9001): memory for twice its size (else -108), the room check
// (-34), its objects moved (MoveFormObject).
int16_t MoveResQzLayOut(TMainDoc* source, TMainDoc* dest, TLayoutObjQz* form, int16_t* newId);
// The object methods the image names moved into the destination, their
// new ids in the image: a chunk file goes to its walk
// (forms/walkers/FormObjectWalks.h); any other image gives 9001.
int16_t MoveFormObject(platform::Handle form, TMainDoc* source, TMainDoc* dest, std::vector<int16_t>* moved);

}  // namespace transfer
