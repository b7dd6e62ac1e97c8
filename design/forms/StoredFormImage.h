// A form's stored image rewritten by a walk: the form made a big-endian
// chunk file first (ConvertLayout), the walk's output stored in its place
// in one commit, and only when the walk read the form whole.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/core/MacTypes.h"

class TLayoutObjQz;

// The walk: (the image made ready, an empty output) -> 0 or an error.
using FormImageWalk = std::function<int16_t(platform::Handle source, platform::Handle output)>;

// Runs `walk` over the form made ready and stores what it wrote when it
// changed the image; *changed (when given) says whether it did. -108 when
// the form cannot be made ready or the walk fails: nothing is then stored.
// Otherwise 0 or the store's error, the store then as it was.
int16_t RewriteStoredForm(TLayoutObjQz* form, const FormImageWalk& walk, bool* changed = nullptr);
