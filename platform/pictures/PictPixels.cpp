#include "platform/pictures/PictPixels.h"

#include <algorithm>
#include <cstring>

#include "platform/core/Memory.h"
#include "platform/drawing/PixMaps.h"
#include "platform/pictures/PackBits.h"
#include "platform/pictures/PictLayout.h"

namespace platform {

namespace {

bool ValidPixelSize(int16_t size)
{
    return size == 1 || size == 2 || size == 4 || size == 8 || size == 16 || size == 32;
}

uint32_t Expand5(uint32_t c) { return (c << 3) | (c >> 2); }

}  // namespace

PictPixels::~PictPixels()
{
    if (data_)
        DisposePtr(data_);
    if (table_)
        DisposeCTable(table_);
}

uint32_t PictPixels::RGBAt(int32_t col, int32_t row) const
{
    return reinterpret_cast<const uint32_t*>(data_)[int64_t(row) * width() + col];
}

bool ReadPictPixMapHeader(PictCursor& in, bool baseAddr, bool allowPixMap, PictPixMapHeader* out)
{
    if (baseAddr)
        in.U32();
    uint16_t rowBytes = in.U16();
    out->bounds = in.R();
    out->isPixMap = (rowBytes & 0x8000) != 0;
    out->rowBytes = rowBytes & kRowBytesMask;
    out->pixelSize = 1;
    out->cmpCount = 1;
    out->packType = 0;
    if (!in.ok() || (out->isPixMap && !allowPixMap))
        return false;
    if (out->isPixMap) {
        in.U16();  // pmVersion
        out->packType = in.S16();
        in.Skip(12);  // packSize, hRes, vRes
        in.U16();     // pixelType
        out->pixelSize = in.S16();
        out->cmpCount = in.S16();
        in.Skip(14);  // cmpSize, planeBytes, pmTable, reserved
        if (!ValidPixelSize(out->pixelSize) || out->cmpCount < 1 || out->cmpCount > 4)
            return false;
    }
    return in.ok();
}

bool ReadPictColorTable(PictCursor& in, PictPixMapHeader* header)
{
    in.U32();  // seed
    uint16_t flags = in.U16();
    int32_t count = int32_t(in.S16()) + 1;
    if (!in.ok() || count < 0 || count > 256 || !in.Need(size_t(count) * 8))
        return false;
    int32_t depth = std::min<int32_t>(header->pixelSize, 8);
    header->colors.assign(size_t(1) << depth, RGBColor{0, 0, 0});
    for (int32_t i = 0; i < count; ++i) {
        uint16_t value = in.U16();
        RGBColor c;
        c.red = in.U16();
        c.green = in.U16();
        c.blue = in.U16();
        // Device tables list the entries in order; others name their index.
        size_t index = (flags & 0x8000) ? size_t(i) : size_t(value);
        if (index < header->colors.size())
            header->colors[index] = c;
    }
    return in.ok();
}

namespace {

// How the rows of a pixel map are stored, once its header is found sound
// and the picture long enough to hold them.
struct StoredRows {
    int32_t width = 0, height = 0, depth = 0, rb = 0;
    bool direct = false, raw = false;
    int16_t packType = 0;
    int32_t rowIn = 0;   // bytes one stored row stands for
    int32_t rowOut = 0;  // bytes a packed row unpacks to
    size_t itemSize = 1;
};

bool Layout(PictCursor& in, const PictPixMapHeader& h, bool packed, StoredRows* out)
{
    StoredRows& s = *out;
    s.width = int32_t(h.bounds.right) - h.bounds.left;
    s.height = int32_t(h.bounds.bottom) - h.bounds.top;
    s.depth = h.pixelSize;
    s.rb = h.rowBytes;
    if (s.width <= 0 || s.height <= 0 || s.height > kMaxPixMapHeight || int64_t(s.rb) * 8 < int64_t(s.width) * s.depth)
        return false;
    s.direct = s.depth >= 16;
    if (s.direct && s.width > kMaxPixMapWidth)
        return false;
    s.packType = h.packType;
    if (s.depth == 32 && s.packType == 0)
        s.packType = 4;
    if (s.depth == 16 && s.packType == 0)
        s.packType = 3;
    const int16_t packType = s.packType;
    bool typeOk = s.depth == 32 ? (packType == 1 || packType == 2 || packType == 4)
                  : s.depth == 16 ? (packType == 1 || packType == 3)
                                  : (packType == 0 || packType == 1);
    if (!typeOk || (s.depth == 32 && packType == 4 && h.cmpCount < 3))
        return false;

    s.raw = !packed || s.rb < 8 || packType == 1 || packType == 2;
    s.rowIn = packType == 2 && s.rb >= 8 ? s.width * 3 : s.rb;
    s.rowOut = packType == 4 && s.rb >= 8 ? s.width * h.cmpCount : s.rowIn;
    s.itemSize = packType == 3 ? 2 : 1;
    // What the picture can hold at most, checked before allocating: raw rows
    // are all there; packed rows need a count each and expand 128-fold at most.
    if (s.raw)
        return in.Need(size_t(s.rowIn) * size_t(s.height));
    size_t countSize = s.rb > 250 ? 2 : 1;
    return in.Need(countSize * size_t(s.height)) &&
           uint64_t(s.rowOut) * uint64_t(s.height) <= uint64_t(in.left()) * 128;
}

// The next stored row: its bytes, unpacked into `row` when packed; null
// when the picture is damaged there.
const uint8_t* NextRow(PictCursor& in, const StoredRows& s, std::vector<uint8_t>& row)
{
    if (s.raw)
        return in.Take(size_t(s.rowIn));
    size_t count = s.rb > 250 ? in.U16() : in.U8();
    const uint8_t* packedRow = in.Take(count);
    if (!packedRow || !UnpackBits(packedRow, count, s.itemSize, row.data(), row.size()))
        return nullptr;
    return row.data();
}

}  // namespace

PixelReadResult SkipPictPixels(PictCursor& in, const PictPixMapHeader& h, bool packed, bool* runsUnchecked)
{
    StoredRows s;
    *runsUnchecked = false;
    if (!Layout(in, h, packed, &s))
        return PixelReadResult::Damaged;
    if (s.raw)
        return in.Take(size_t(s.rowIn) * size_t(s.height)) ? PixelReadResult::Ok : PixelReadResult::Damaged;
    for (int32_t y = 0; y < s.height; ++y) {
        size_t count = s.rb > 250 ? in.U16() : in.U8();
        if (!in.Take(count))
            return PixelReadResult::Damaged;
    }
    *runsUnchecked = true;
    return PixelReadResult::Ok;
}

PixelReadResult PictPixels::Read(PictCursor& in, const PictPixMapHeader& h, bool packed)
{
    StoredRows s;
    if (!Layout(in, h, packed, &s))
        return PixelReadResult::Damaged;
    const int32_t width = s.width, height = s.height, depth = s.depth, rb = s.rb;
    const bool direct = s.direct;
    const int16_t packType = s.packType;
    const int32_t outRowBytes = direct ? width * 4 : rb;
    data_ = NewPtr(Size(int64_t(outRowBytes) * height));
    if (!data_)
        return PixelReadResult::NoMemory;
    std::vector<uint8_t> row(static_cast<size_t>(s.rowOut));
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* src = NextRow(in, s, row);
        if (!src)
            return PixelReadResult::Damaged;
        uint8_t* out = reinterpret_cast<uint8_t*>(data_) + int64_t(y) * outRowBytes;
        if (!direct) {
            std::memcpy(out, src, size_t(rb));
            continue;
        }
        // One loop per layout, each left to run straight through its row.
        auto* px = reinterpret_cast<uint32_t*>(out);
        if (depth == 16) {
            for (int32_t x = 0; x < width; ++x) {
                uint32_t v = uint32_t((src[2 * x] << 8) | src[2 * x + 1]);
                px[x] = (Expand5((v >> 10) & 31) << 16) | (Expand5((v >> 5) & 31) << 8) | Expand5(v & 31);
            }
        } else if (packType == 4 && rb >= 8) {
            const uint8_t* red = src + (h.cmpCount == 4 ? width : 0);  // alpha plane first
            const uint8_t* green = red + width;
            const uint8_t* blue = green + width;
            for (int32_t x = 0; x < width; ++x)
                px[x] = (uint32_t(red[x]) << 16) | (uint32_t(green[x]) << 8) | blue[x];
        } else if (packType == 2 && rb >= 8) {
            for (int32_t x = 0; x < width; ++x)
                px[x] = (uint32_t(src[3 * x]) << 16) | (uint32_t(src[3 * x + 1]) << 8) | src[3 * x + 2];
        } else {
            for (int32_t x = 0; x < width; ++x)
                px[x] = (uint32_t(src[4 * x + 1]) << 16) | (uint32_t(src[4 * x + 2]) << 8) | src[4 * x + 3];
        }
    }
    map_ = PixMap{};
    map_.baseAddr = data_;
    map_.bounds = h.bounds;
    if (direct) {
        map_.rowBytes = int16_t(kPixMapFlag | outRowBytes);
        map_.pixelType = RGBDirect;
        map_.pixelSize = 32;
        map_.cmpCount = 3;
        map_.cmpSize = 8;
    } else if (h.isPixMap) {
        map_.rowBytes = int16_t(kPixMapFlag | rb);
        map_.pixelType = 0;
        map_.pixelSize = int16_t(depth);
        map_.cmpSize = int16_t(depth);
        table_ = NewCTable(int16_t(h.colors.size()));
        if (!table_)
            return PixelReadResult::NoMemory;
        ColorSpec* entries = CTabEntries(table_);
        for (size_t i = 0; i < h.colors.size(); ++i)
            entries[i] = {int16_t(i), h.colors[i]};
        map_.pmTable = table_;
    } else {
        map_.rowBytes = int16_t(rb);  // a plain bitmap: the port's colours
    }
    return PixelReadResult::Ok;
}

PixelReadResult PictPixels::Adopt32(int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0 || width > kMaxPixMapWidth || height > kMaxPixMapHeight)
        return PixelReadResult::Damaged;
    data_ = NewPtr(Size(int64_t(width) * height * 4));
    if (!data_)
        return PixelReadResult::NoMemory;
    map_ = PixMap{};
    map_.baseAddr = data_;
    map_.bounds = {0, 0, int16_t(height), int16_t(width)};
    map_.rowBytes = int16_t(kPixMapFlag | (width * 4));
    map_.pixelType = RGBDirect;
    map_.pixelSize = 32;
    map_.cmpCount = 3;
    map_.cmpSize = 8;
    return PixelReadResult::Ok;
}

}  // namespace platform
