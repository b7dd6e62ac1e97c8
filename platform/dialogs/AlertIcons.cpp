#include "platform/dialogs/AlertIcons.h"

#include <cmath>
#include <cstdlib>

namespace platform {
namespace {

// A stop sign: a black octagon crossed by a white bar.
bool StopPixel(int x, int y)
{
    const double dx = std::fabs(x - 15.5), dy = std::fabs(y - 15.5);
    if (dx > 15 || dy > 15 || dx + dy > 21.5) return false;
    return !(y >= 13 && y <= 18 && x >= 7 && x <= 24);
}

bool InEllipse(double x, double y, double cx, double cy, double rx, double ry)
{
    const double u = (x - cx) / rx, v = (y - cy) / ry;
    return u * u + v * v <= 1.0;
}

// A speech bubble with a letter i.
bool NotePixel(int x, int y)
{
    const double px = x + 0.5, py = y + 0.5;
    const bool outer = InEllipse(px, py, 16, 12.5, 15, 11.5);
    const bool inner = InEllipse(px, py, 16, 12.5, 13, 9.5);
    if (outer && !inner) return true;
    // The tail, down to the left.
    if (y >= 22 && y <= 30 && x >= 6 && x <= 12 && x - 6 <= 30 - y && x - 6 >= (30 - y) - 4) return true;
    if (inner) {
        if (x >= 15 && x <= 16 && y >= 5 && y <= 6) return true;   // the dot
        if (x >= 15 && x <= 16 && y >= 9 && y <= 18) return true;  // the stem
        if (y == 9 && x == 14) return true;
        if (y == 18 && x >= 13 && x <= 18) return true;
    }
    return false;
}

bool InTriangle(double x, double y, double top, double bottom, double half)
{
    if (y < top || y > bottom) return false;
    return std::fabs(x - 16) <= (y - top) * half / (bottom - top);
}

// A warning triangle with an exclamation mark.
bool CautionPixel(int x, int y)
{
    const double px = x + 0.5, py = y + 0.5;
    const bool outer = InTriangle(px, py, 0.5, 31.5, 16);
    const bool inner = InTriangle(px, py, 4.5, 29.5, 12.5);
    if (outer && !inner) return true;
    if (x >= 15 && x <= 16 && ((y >= 11 && y <= 22) || (y >= 25 && y <= 26))) return true;
    return false;
}

}  // namespace

std::array<uint8_t, 128> AlertIconImage(int16_t id)
{
    std::array<uint8_t, 128> bits{};
    bool (*pixel)(int, int) = id == 0 ? StopPixel : id == 1 ? NotePixel : id == 2 ? CautionPixel : nullptr;
    if (!pixel) return bits;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (pixel(x, y)) bits[size_t(y * 4 + x / 8)] |= uint8_t(0x80 >> (x % 8));
    return bits;
}

}  // namespace platform
