// Small drawing steps of the theme's look, in the current port; PaintScope
// keeps the port's pen and colours as they were.
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"

namespace platform::theme {

// The look's colours.
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kFace = 0xE2E2E2;
constexpr uint32_t kFaceOn = 0xC4C4C4;
constexpr uint32_t kFacePressed = 0x9A9A9A;
constexpr uint32_t kFaceInactive = 0xF0F0F0;
constexpr uint32_t kEdge = 0x404040;
constexpr uint32_t kEdgeInactive = 0xA8A8A8;
constexpr uint32_t kMark = 0x101010;
constexpr uint32_t kMarkInactive = 0x909090;
constexpr uint32_t kFocus = 0x4F86D6;
constexpr uint32_t kSelection = 0x2F5FB3;
constexpr uint32_t kTrack = 0xD0D0D0;
constexpr uint32_t kThumb = 0x8A8A8A;

class PaintScope {
public:
    PaintScope();
    ~PaintScope();
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

private:
    PenState pen_;
    RGBColor fore_;
    RGBColor back_;
};

void Fill(const Rect& r, uint32_t rgb);
void Frame(const Rect& r, uint32_t rgb);
void FillRound(const Rect& r, int16_t oval, uint32_t rgb);
void FrameRound(const Rect& r, int16_t oval, uint32_t rgb);
void FillCircle(const Rect& r, uint32_t rgb);
void FrameCircle(const Rect& r, uint32_t rgb);
void Line(int16_t h1, int16_t v1, int16_t h2, int16_t v2, uint32_t rgb);
enum class Direction { Up, Down, Left, Right };
// A filled triangle pointing that way, centred in r, `size` pixels along
// its base.
void Triangle(const Rect& r, Direction d, int16_t size, uint32_t rgb);

}  // namespace platform::theme
