#include "toolbox/foundation/VBigLongInMem.h"

VBigLongInMem::~VBigLongInMem() = default;
