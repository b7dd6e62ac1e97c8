#include "forms/drawing/ObjectDrawing.h"
#include "forms/objects/LayoutObject.h"
#include "platform/drawing/Rects.h"

platform::Rect ObjectRect(LayoutObject* object, LayoutEditor*, int16_t dh, int16_t dv)
{
    platform::Rect r{object->bounds[0], object->bounds[1], object->bounds[2], object->bounds[3]};
    platform::OffsetRect(&r, dh, dv);
    return r;
}
