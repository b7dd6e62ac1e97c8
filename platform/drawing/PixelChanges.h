// A count of the drawing operations that wrote pixels into any port, so
// that the screen is composed and shown again only after something may
// have changed. Drawing that reaches no pixel may count too: the count
// only ever says "perhaps".
#pragma once

#include <cstdint>

namespace platform {

uint64_t PixelWriteCount();
// For the drawing services, at each operation that writes pixels.
void NotePixelsWritten();

}  // namespace platform
