// A document's picture shown in the preview frame: sized, drawn, scrolled
// and freed, whatever its bytes.
#include <cstddef>
#include <cstdint>

#include "design/objects/ObjQz.h"
#include "design/preview/PreviewFrame.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/QuickDrawTypes.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Handle picture = fuzz::HandleOf(data, size, 1u << 16);
    if (!picture) return 0;
    GWorldPtr port = nullptr;
    CGrafPtr saved = nullptr;
    if (OpenPictPort(&port, &saved) != 0) {
        DisposeHandle(picture);
        return 0;
    }
    const Rect area{0, 0, 200, 300};
    ClipRect(&area);
    Handle display = NewPreview(area, picture);
    TObjQz obj;
    int16_t right = 0, bottom = 0;
    obj.SizeDisplay(display, area, &right, &bottom);
    obj.Display(display, area);
    obj.Scroll(display, area, -16, -24);
    obj.DisposeDisplay(&display);
    ClosePictPort(saved, port);
    return 0;
}
