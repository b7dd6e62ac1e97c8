// Which objects of a chain cannot show: drawn back to front, an object
// whose every pixel later objects paint over whatever it held. Only plain
// shapes and pictures are known to keep within their rectangle, and only
// plain filled rectangles and pictures erased white first to paint over all
// of theirs; every other object is taken to show.
#pragma once

#include <cstdint>
#include <vector>

class LayoutEditor;
class LayoutObject;

// For each object in drawing order, whether the later ones cover it when
// drawn moved by (dh, dv) into the current port.
std::vector<bool> CoveredObjects(const std::vector<LayoutObject*>& chain, LayoutEditor* editor, int16_t dh,
                                 int16_t dv);
