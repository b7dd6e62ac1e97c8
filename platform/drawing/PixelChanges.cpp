#include "platform/drawing/PixelChanges.h"

namespace platform {
namespace {

uint64_t gWrites = 0;

}  // namespace

uint64_t PixelWriteCount() { return gWrites; }
void NotePixelsWritten() { ++gWrites; }
UncountedDrawing::~UncountedDrawing() { gWrites = saved_; }

}  // namespace platform
