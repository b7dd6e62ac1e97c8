// The links of a stored form: the seam through which the design layer has
// a form's image walked for the objects it uses. The walker that reports
// them is not built yet: a readable image records nothing.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

class TLayoutObjQz;

// The form image cannot be read.
constexpr int16_t kFormImageUnreadable = 10001;

// 0 for an IFF image (a "FORM" or byte-reversed "MROF" group whose length
// lies within the handle), else kFormImageUnreadable.
int16_t ParseIFFForm(platform::Handle form, TLayoutObjQz* formObject);
