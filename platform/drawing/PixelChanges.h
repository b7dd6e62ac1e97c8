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

// Drawing that only makes the composed screen (window titles) and so is
// no change of its own: the count stays where it was.
class UncountedDrawing {
public:
    UncountedDrawing() : saved_(PixelWriteCount()) {}
    ~UncountedDrawing();
    UncountedDrawing(const UncountedDrawing&) = delete;
    UncountedDrawing& operator=(const UncountedDrawing&) = delete;

private:
    uint64_t saved_;
};

}  // namespace platform
