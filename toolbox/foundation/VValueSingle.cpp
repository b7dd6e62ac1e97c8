#include "toolbox/foundation/VValueSingle.h"

VValueSingle::~VValueSingle() = default;
