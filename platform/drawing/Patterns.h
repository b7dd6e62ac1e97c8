// The standard patterns: the five of the QuickDraw globals and the 36 of the
// system pattern list.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

constexpr int16_t sysPatListID = 0;
constexpr int16_t kSystemPatternCount = 36;

// Index 1 to 36 of the system list (1 black ... 7 white; then lines,
// diagonals, grids, bricks and textures). Other lists come from resources
// and are not known here: the pattern is then left alone.
void GetIndPattern(Pattern* thePattern, int16_t patternListID, int16_t index);

Pattern* GetQDGlobalsBlack(Pattern* p);
Pattern* GetQDGlobalsWhite(Pattern* p);
Pattern* GetQDGlobalsGray(Pattern* p);
Pattern* GetQDGlobalsLightGray(Pattern* p);
Pattern* GetQDGlobalsDarkGray(Pattern* p);

// Bit of the pattern at local coordinates (h, v); patterns are aligned to
// the port's coordinate origin.
inline bool PatternBit(const Pattern& p, int32_t h, int32_t v)
{
    return (p.pat[v & 7] >> (7 - (h & 7))) & 1;
}

}  // namespace platform
