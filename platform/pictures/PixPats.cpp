#include "platform/pictures/PixPats.h"

#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Raster.h"

namespace platform {

void PaintPixPatShape(GrafPort* port, const pixman_region32_t* shape, const PixPatTile& tile, int16_t mode)
{
    if (!tile.Paints())
        return;
    pixman_region32_t area;
    pixman_region32_init(&area);
    Surface s = ClipToPort(port, shape, &area);
    if (mode >= patCopy && mode <= notPatBic)
        mode = int16_t(mode - patCopy);
    PixelOp op = MakePixelOp(mode, PackRGB(port->rgbFgColor), PackRGB(port->rgbBkColor),
                             PackRGB(port->rgbHiliteColor), PackRGB(port->rgbOpColor));
    op.colorize = false;  // a pixel pattern brings its own colours
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&area, &n);
    for (int i = 0; i < n && !s.Empty(); ++i)
        for (int32_t v = boxes[i].y1; v < boxes[i].y2; ++v)
            for (int32_t h = boxes[i].x1; h < boxes[i].x2; ++h)
                s.WriteRGB(h, v, op.FromColor(tile.At(h, v), s.ReadRGB(h, v)));
    pixman_region32_fini(&area);
}

}  // namespace platform
