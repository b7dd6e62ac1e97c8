// What the forms layer does for the form movers: the walks over a stored
// form's image that move the object methods its objects name (the form
// copying of the forms folder fills these at start-up). A walk moves each
// object method through MoveResQzScript, patches the new id into the
// image in place, and appends the method's new id to *moved; 0, or 10001
// for an image it cannot read.
//
// Until a walk is set, the form's bytes are copied as they are and no
// object method is reported moved.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/MacTypes.h"

class TMainDoc;

namespace transfer {

using FormObjectWalk = int16_t (*)(platform::Handle form, TMainDoc* source, TMainDoc* dest, std::vector<int16_t>* moved);

struct FormObjectWalks {
    // A form stored as a chunk file ('FORM' in either byte order).
    FormObjectWalk moveChunked = nullptr;
    // An older flat form (first byte 13).
    FormObjectWalk moveFlat = nullptr;
    // The chunk file copied chunk by chunk into `out` (list boxes encoded
    // anew) before its methods move: 0 or 10001. Unset: the bytes as they are.
    int16_t (*copyChunked)(platform::Handle form, platform::Handle out) = nullptr;
};

void SetFormObjectWalks(const FormObjectWalks& walks);
const FormObjectWalks& CurrentFormObjectWalks();

}  // namespace transfer
