#include "forms/drawing/CoveredObjects.h"

#include "forms/drawing/ObjectDrawing.h"
#include "forms/objects/FormObjects.h"
#include "platform/drawing/CoveredArea.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"

using namespace platform;

namespace {

constexpr int16_t kRectangle = 1, kRoundRectangle = 2, kOval = 3, kPicture = 5, kLibraryPicture = 6;

// Whether all the object draws lies within its rectangle: a shape without
// a look (its frame inside, bevels a pixel wide inside), a picture (drawn
// clipped to it).
bool KeepsWithin(LayoutObject* o)
{
    switch (o->GetObjectKind()) {
    case kRectangle:
    case kRoundRectangle:
    case kOval: return o->lookStyle == 0;
    case kPicture:
    case kLibraryPicture: return true;
    default: return false;
    }
}

// Whether the object puts its own colours in every pixel of its rectangle,
// whatever they held: a plain rectangle filled (a fill is a copy), a
// picture that is not transparent (erased white first).
bool PaintsOver(LayoutObject* o)
{
    switch (o->GetObjectKind()) {
    case kRectangle: {
        auto* r = dynamic_cast<RectObject*>(o);
        return r && r->lookStyle == 0 && r->penWidth >= 0 && r->hasFillPattern;
    }
    case kPicture:
    case kLibraryPicture: {
        auto* p = dynamic_cast<ImageObject*>(o);
        return p && !p->imageOption1;
    }
    default: return false;
    }
}

}  // namespace

std::vector<bool> CoveredObjects(const std::vector<LayoutObject*>& chain, LayoutEditor* editor, int16_t dh,
                                 int16_t dv)
{
    std::vector<bool> covered(chain.size(), false);
    GrafPtr port = nullptr;
    GetPort(&port);
    if (!port || port->pnVis < 0)
        return covered;  // nothing paints while the pen is hidden
    // The objects keep the port's clip as they found it: the rectangles
    // alone say what covers what.
    CoveredArea area;
    for (size_t i = chain.size(); i-- > 0;) {
        LayoutObject* o = chain[i];
        const Rect32 r = ToRect32(ObjectRect(o, editor, dh, dv));
        if (r.left >= r.right || r.top >= r.bottom)
            continue;
        covered[i] = KeepsWithin(o) && area.Covers(r);
        if (PaintsOver(o))
            area.Add(r);
    }
    return covered;
}
