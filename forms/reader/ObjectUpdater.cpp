#include "forms/reader/ObjectUpdater.h"

#include <algorithm>

#include "forms/objects/LayoutObject.h"
#include "platform/drawing/Rects.h"

void ObjectUpdater::AddRect(const platform::Rect& given)
{
    platform::Rect r{std::min(given.top, given.bottom), std::min(given.left, given.right),
                     std::max(given.top, given.bottom), std::max(given.left, given.right)};
    platform::OffsetRect(&r, originH_, originV_);
    platform::InsetRect(&r, -5, -5);
    if (!hasArea_) area_ = r;
    else platform::UnionRect(&area_, &r, &area_);
    hasArea_ = true;
}

void ObjectUpdater::AddObject(LayoutObject* object)
{
    if (object) AddRect(platform::Rect{object->bounds[0], object->bounds[1], object->bounds[2], object->bounds[3]});
}

ObjectUpdater::~ObjectUpdater()
{
    if (!hasArea_ || !window_) return;
    platform::InsetRect(&area_, -16, -16);
    platform::InvalWindowRect(window_, &area_);
}
