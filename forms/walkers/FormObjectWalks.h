// What the form movers of the transfer ask of the forms layer: the walks
// over a stored form's image that move the object methods its objects
// name. The forms layer fills this table at start-up; the transfer only
// reads it. A walk moves each object method through `moveScript` (the
// transfer's method mover, passed in so that the walk never calls up),
// patches the new id into the image in place and appends it to *moved; 0,
// -108 when memory ran out, or 10001 for an image it cannot read.
//
// Until a walk is set, the form's bytes are copied as they are and no
// object method is reported moved.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/MacTypes.h"

class TMainDoc;

// The object method `id` of the source moved into the destination: its new
// id in *newId; 0 or an error.
using FormScriptMover = int16_t (*)(TMainDoc* source, TMainDoc* dest, int16_t id, int16_t* newId);
using FormObjectWalk = int16_t (*)(platform::Handle form, TMainDoc* source, TMainDoc* dest,
                                   FormScriptMover moveScript, std::vector<int16_t>* moved);

struct FormObjectWalks {
    // A form stored as a chunk file ('FORM' in either byte order); a form
    // of the older flat layout is made one before it is copied.
    FormObjectWalk moveChunked = nullptr;
    // The chunk file copied chunk by chunk into `out` (list boxes encoded
    // anew) before its methods move: 0, -108 or 10001. Unset: the bytes as they are.
    int16_t (*copyChunked)(platform::Handle form, platform::Handle out) = nullptr;
};

void SetFormObjectWalks(const FormObjectWalks& walks);
void ResetFormObjectWalks();
const FormObjectWalks& CurrentFormObjectWalks();
