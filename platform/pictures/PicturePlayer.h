// Plays picture bytes into the current port: the opcode walk behind
// DrawPicture. Every opcode is checked against the bytes at hand; the
// first damaged one ends the walk with codecBadDataErr, keeping what was
// drawn before it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

// Answers noErr, codecBadDataErr or memFullErr.
OSErr PlayPicture(const uint8_t* bytes, size_t size, const Rect& dstRect);

}  // namespace platform
