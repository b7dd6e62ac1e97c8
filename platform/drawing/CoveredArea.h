// Drawing looked at from its end: the pixels that later paintings paint
// over whatever they held. An earlier painting whose every pixel lies among
// them cannot show, and need not be painted. Built from the last painting
// back to the first.
#pragma once

#include "platform/drawing/Regions.h"

namespace platform {

class CoveredArea {
public:
    // Whether every pixel of r within the clip (null: no clip) is covered.
    bool Covers(const Rect32& r, RgnHandle clip = nullptr) const;
    // The pixels of r within the clip are painted over. An area that would
    // break into too many pieces keeps what it had: covering less is only
    // drawing more.
    void Add(const Rect32& r, RgnHandle clip = nullptr);
    void Clear();

private:
    ScratchRegion area_;
};

}  // namespace platform
