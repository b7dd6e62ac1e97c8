#include "toolbox/drawing/RotatePixels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "toolbox/foundation/VMemoryMgr.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int32_t kMaxSide = 0x7FFF;

int64_t RoundHalfAway(double v) { return int64_t(v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5)); }

bool IsDepth(int16_t depth)
{
    return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
}

// Pixel access for every depth; sub-byte pixels most significant first.
class PixelRows {
public:
    PixelRows(const uint8_t* base, int32_t rowBytes, int16_t depth) : fBase(base), fRowBytes(rowBytes), fDepth(depth) {}

    void Copy(int32_t row, int32_t col, uint8_t* dst, int32_t dstRowBytes, int32_t dstRow, int32_t dstCol) const
    {
        const uint8_t* srow = fBase + int64_t(row) * fRowBytes;
        uint8_t* drow = dst + int64_t(dstRow) * dstRowBytes;
        if (fDepth >= 8) {
            const int32_t n = fDepth / 8;
            std::memcpy(drow + int64_t(dstCol) * n, srow + int64_t(col) * n, size_t(n));
            return;
        }
        const int32_t perByte = 8 / fDepth;
        const uint8_t mask = uint8_t((1 << fDepth) - 1);
        const int32_t sShift = 8 - fDepth * (col % perByte + 1);
        const uint8_t v = uint8_t((srow[col / perByte] >> sShift) & mask);
        const int32_t dShift = 8 - fDepth * (dstCol % perByte + 1);
        uint8_t& d = drow[dstCol / perByte];
        d = uint8_t((d & ~(mask << dShift)) | (v << dShift));
    }

private:
    const uint8_t* fBase;
    int32_t fRowBytes;
    int16_t fDepth;
};

}  // namespace

int16_t GetRowBytes(int32_t width, int16_t depth, int16_t alignment)
{
    if (width < 0) width = 0;
    int64_t bytes;
    switch (depth) {
    case 1: bytes = (int64_t(width) + 7) / 8; break;
    case 2: bytes = (int64_t(width) + 3) / 4; break;
    case 4: bytes = (int64_t(width) + 1) / 2; break;
    case 8: bytes = width; break;
    case 16: bytes = int64_t(width) * 2; break;
    case 24: bytes = int64_t(width) * 3; break;
    case 32: bytes = int64_t(width) * 4; break;
    default: bytes = (int64_t(width) * std::max<int16_t>(depth, 0) + 7) / 8; break;
    }
    if (alignment == 2 || alignment == 4 || alignment == 8 || alignment == 16)
        bytes = (bytes + alignment - 1) / alignment * alignment;
    return int16_t(std::min<int64_t>(bytes, 0x7FFF));
}

char* RotatePixels(double angle, const void* source, int32_t sourceRowBytes, int32_t originX, int32_t originY,
                   int32_t width, int32_t height, int32_t& outLeft, int32_t& outTop, int32_t& outWidth,
                   int32_t& outHeight, int16_t depth, int16_t alignment, uint8_t fill)
{
    outLeft = outTop = outWidth = outHeight = 0;
    if (!source || !IsDepth(depth) || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        sourceRowBytes < GetRowBytes(width, depth, 1) || !std::isfinite(angle))
        return nullptr;
    // Any number of turns, either way.
    double degrees = std::fmod(angle, 360.0);
    if (degrees < 0) degrees += 360.0;
    if (degrees >= 360.0) degrees = 0;
    int32_t right = 0;  // 1, 2, 3: a right angle
    for (int32_t k = 1; k <= 3; ++k)
        if (std::fabs(degrees - 90.0 * k) < 0.01) right = k;
    const double radians = (right ? 90.0 * right : degrees) * kPi / 180.0;
    const double c = right == 1 || right == 3 ? 0.0 : std::cos(radians);
    const double s = right == 2 ? 0.0 : right == 1 ? 1.0 : right == 3 ? -1.0 : std::sin(radians);

    // The corners with y upward, turned.
    const double xs[4] = {double(originX), double(originX) + width, double(originX), double(originX) + width};
    const double ys[4] = {-double(originY), -double(originY), -(double(originY) + height),
                          -(double(originY) + height)};
    int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
    for (int32_t i = 0; i < 4; ++i) {
        const int64_t x = RoundHalfAway(xs[i] * c - ys[i] * s);
        const int64_t y = RoundHalfAway(xs[i] * s + ys[i] * c);
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    if (maxX - minX > kMaxSide || maxY - minY > kMaxSide) return nullptr;
    const int32_t w = int32_t(maxX - minX), h = int32_t(maxY - minY);
    const int32_t rowBytes = GetRowBytes(w, depth, alignment);
    // Exactly the size reported: the caller describes the buffer with it.
    char* out = gMemory->NewPtrClear(std::max<int32_t>(1, rowBytes * h));
    if (!out) return nullptr;
    outLeft = int32_t(minX);
    outTop = int32_t(-maxY);
    outWidth = w;
    outHeight = h;

    const PixelRows src(static_cast<const uint8_t*>(source), sourceRowBytes, depth);
    auto* dst = reinterpret_cast<uint8_t*>(out);
    if (right) {
        for (int32_t r = 0; r < h; ++r)
            for (int32_t col = 0; col < w; ++col) {
                int32_t sr, sc;
                if (right == 1) sr = col, sc = width - 1 - r;
                else if (right == 2) sr = height - 1 - r, sc = width - 1 - col;
                else sr = height - 1 - col, sc = r;
                if (sr >= 0 && sr < height && sc >= 0 && sc < width) src.Copy(sr, sc, dst, rowBytes, r, col);
            }
        return out;
    }

    // Every other angle: each destination pixel's centre turned back onto
    // the source, stepping along the row; nearest neighbour.
    std::memset(out, fill, size_t(rowBytes) * size_t(h));
    for (int32_t r = 0; r < h; ++r) {
        const double yUp = -(double(outTop) + r + 0.5);
        double x = double(outLeft) + 0.5;
        double sx = x * c + yUp * s;     // turned back by -angle
        double sy = -(-x * s + yUp * c);  // y downward again
        for (int32_t col = 0; col < w; ++col, sx += c, sy += s) {
            const double fc = std::floor(sx - originX), fr = std::floor(sy - originY);
            if (fc >= 0 && fc < width && fr >= 0 && fr < height)
                src.Copy(int32_t(fr), int32_t(fc), dst, rowBytes, r, col);
        }
    }
    return out;
}
