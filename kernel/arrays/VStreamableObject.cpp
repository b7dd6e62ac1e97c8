#include "kernel/arrays/VStreamableObject.h"

VStreamableObject::~VStreamableObject() = default;

int32_t VStreamableObject::oReadFromStream(VStream*, int32_t) { return 0; }

int32_t VStreamableObject::oWriteToStream(VStream*) { return 0; }
