// A picture walked once without drawing, to learn which of its drawing
// opcodes later ones paint over entirely: the walk that draws leaves those
// out, and the pixels come out as if each had been drawn. The drawing of a
// page of pictures then costs the page's pixels, not one page per opcode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

// What the survey notes of one opcode that may change pixels.
struct Sighting {
    // Every pixel it may change lies within `reach` and the clip; an empty
    // reach may change pixels anywhere.
    Rect32 reach{0, 0, 0, 0};
    // A shape's geometry, the same for every drawing of that shape, with its
    // reach as bounds: its opcode family (0: a rectangle, known by its reach
    // alone, or no shape), its corner oval or angles, or for a polygon or
    // region which one it is and the picture's origin it was placed from.
    uint16_t family = 0;
    int32_t a = 0, b = 0;
    uint32_t serial = 0;
    // It puts its own colours in every pixel of its shape within the clip,
    // whatever they held.
    bool paintsOver = false;
    // Its data is checked only when it is drawn, where the drawing may end:
    // what comes after it may never be drawn.
    bool mayEnd = false;
};

class PictureSurvey {
public:
    PictureSurvey() = default;
    ~PictureSurvey();
    PictureSurvey(const PictureSurvey&) = delete;
    PictureSurvey& operator=(const PictureSurvey&) = delete;

    // The clip the next opcodes are drawn through (a copy is kept); throws
    // std::bad_alloc when memory runs short.
    void Clip(RgnHandle clip);
    // The next opcode, drawn through the clip last given.
    void Note(const Sighting& s);
    // For each noted opcode in order, whether later ones paint over every
    // pixel it may change, through the clips they are drawn through.
    std::vector<bool> Hidden() const;

private:
    std::vector<std::pair<Sighting, size_t>> seen_;  // with the index of its clip
    std::vector<RgnHandle> clips_;
};

}  // namespace platform
