// A printed page's picture on hostile bytes, played onto Cairo the way
// pages reach a PDF: playback must end with noErr, damage or memory
// shortage, whatever the drawing procedures are handed.
#include <cairo.h>

#include <cstdint>
#include <cstdlib>

#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/printing/PagePlayer.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    ResetDrawingState();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 64, 48);
    cairo_t* cr = cairo_create(surface);
    Handle pic = nullptr;
    if (PtrToHand(data, &pic, Size(size)) == noErr) {
        const Rect page{0, 0, 48, 64};
        OSErr err = PlayPageOnCairo(cr, pic, page);
        if (err != noErr && err != codecBadDataErr && err != memFullErr)
            std::abort();
        DisposeHandle(pic);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return 0;
}
