// Bitmaps are drawn in the source as rows of characters:
//   'X' or '#'  black, inside the mask
//   'o'         white, inside the mask
//   '.' or ' '  white, outside the mask
// or given as hex (data $"..." mask $"...").
#include <map>

#include "tools/rescompile/ByteWriter.h"
#include "tools/rescompile/Layouts.h"

namespace rescompile {

namespace {

bool AtClose(SourceReader& in) { return in.Peek().kind == TokenKind::Close; }

struct Bits {
    std::vector<uint8_t> data, mask;
};

std::vector<std::string> ReadRows(SourceReader& in, int width, int height)
{
    std::vector<std::string> rows;
    for (int r = 0; r < height; ++r) {
        if (in.Peek().kind != TokenKind::String)
            in.Fail("the image needs " + std::to_string(height) + " rows");
        Token at = in.Peek();
        std::string row = in.Next().text;
        if (int(row.size()) != width) in.Fail(at, "each row of the image is " + std::to_string(width) + " characters");
        rows.push_back(row);
    }
    return rows;
}

// Packs a bitmap of `width` (a multiple of 8) by `height` from character rows.
Bits PackRows(SourceReader& in, const std::vector<std::string>& rows, const Token& at)
{
    Bits bits;
    for (const auto& row : rows) {
        for (size_t x = 0; x < row.size(); x += 8) {
            uint8_t d = 0, m = 0;
            for (size_t b = 0; b < 8; ++b) {
                char c = row[x + b];
                bool black = c == 'X' || c == '#', white = c == 'o';
                if (!black && !white && c != '.' && c != ' ') in.Fail(at, std::string("'") + c + "' is not X, #, o or .");
                if (black) d |= uint8_t(0x80 >> b);
                if (black || white) m |= uint8_t(0x80 >> b);
            }
            bits.data.push_back(d);
            bits.mask.push_back(m);
        }
    }
    return bits;
}

// "image" and rows, or "data" and "mask" as hex of the given size.
Bits ReadBitmapWithMask(SourceReader& in, int side)
{
    const size_t bytes = size_t(side) * side / 8;
    Bits bits;
    bool image = false, data = false, mask = false;
    while (!AtClose(in) && (in.Peek().text == "image" || in.Peek().text == "data" || in.Peek().text == "mask")) {
        Token at = in.Peek();
        if (in.Accept("image")) {
            bits = PackRows(in, ReadRows(in, side, side), at);
            image = true;
        } else if (in.Accept("data")) {
            bits.data = in.Hex("the image");
            if (bits.data.size() != bytes) in.Fail(at, "the image is " + std::to_string(bytes) + " bytes");
            data = true;
        } else if (in.Accept("mask")) {
            bits.mask = in.Hex("the mask");
            if (bits.mask.size() != bytes) in.Fail(at, "the mask is " + std::to_string(bytes) + " bytes");
            mask = true;
        }
    }
    if (!image && !(data && mask)) in.Fail("expected image rows, or data and mask");
    return bits;
}

}  // namespace

// hotspot V H, then the 16 x 16 image.
std::vector<uint8_t> CompileCursor(SourceReader& in, int16_t)
{
    int32_t v = 0, h = 0;
    Bits bits;
    bool seen = false;
    while (!AtClose(in)) {
        if (in.Accept("hotspot")) {
            v = in.Integer(0, 15, "the hot spot's row");
            h = in.Integer(0, 15, "the hot spot's column");
        } else {
            bits = ReadBitmapWithMask(in, 16);
            seen = true;
        }
    }
    if (!seen) in.Fail("a cursor needs its image");
    ByteWriter out;
    out.Append(bits.data);
    out.Append(bits.mask);
    out.U16(uint32_t(v));
    out.U16(uint32_t(h));
    return std::move(out.bytes());
}

// The 32 x 32 image and its mask.
std::vector<uint8_t> CompileIconList(SourceReader& in, int16_t)
{
    Bits bits = ReadBitmapWithMask(in, 32);
    if (!AtClose(in)) in.Fail("an icon holds one image");
    ByteWriter out;
    out.Append(bits.data);
    out.Append(bits.mask);
    return std::move(out.bytes());
}

// One or more 16 x 16 bitmaps: "icon" and 16 rows each ('X' or '#' set).
std::vector<uint8_t> CompileSmallIcons(SourceReader& in, int16_t)
{
    ByteWriter out;
    while (!AtClose(in)) {
        Token at = in.Peek();
        if (!in.Accept("icon")) in.Fail("expected icon and its rows");
        out.Append(PackRows(in, ReadRows(in, 16, 16), at).data);
    }
    if (out.size() == 0) in.Fail("a small icon list needs an icon");
    return std::move(out.bytes());
}

// "pattern" and 8 rows of 8, or "pattern" $"8 bytes".
std::vector<uint8_t> CompilePatternList(SourceReader& in, int16_t)
{
    ByteWriter patterns;
    uint32_t count = 0;
    while (!AtClose(in)) {
        Token at = in.Peek();
        if (!in.Accept("pattern")) in.Fail("expected pattern");
        if (in.Peek().kind == TokenKind::Hex) {
            auto bytes = in.Hex("the pattern");
            if (bytes.size() != 8) in.Fail(at, "a pattern is 8 bytes");
            patterns.Append(bytes);
        } else {
            patterns.Append(PackRows(in, ReadRows(in, 8, 8), at).data);
        }
        if (++count > 0xFFFF) in.Fail("too many patterns");
    }
    ByteWriter out;
    out.U16(count);
    out.Append(patterns.bytes());
    return std::move(out.bytes());
}

// colour "c" 0xRRGGBB (one line per colour the image uses), then image and
// rows. '.' and ' ' are transparent; every other character must be declared.
// The depth is the least of 1, 2, 4, 8 bits that holds the colours.
std::vector<uint8_t> CompileColourIcon(SourceReader& in, int16_t)
{
    std::map<char, int> index;
    std::vector<uint32_t> colours;
    std::vector<std::string> rows;
    while (!AtClose(in)) {
        Token at = in.Peek();
        if (in.Accept("colour")) {
            char c = in.Char("the colour's character")[0];
            if (c == '.' || c == ' ' || index.count(c)) in.Fail(at, std::string("'") + c + "' cannot name a colour here");
            if (colours.size() == 256) in.Fail(at, "a colour icon has at most 256 colours");
            index[c] = int(colours.size());
            colours.push_back(uint32_t(in.Integer(0, 0xFFFFFF, "the colour")));
        } else if (in.Accept("image")) {
            if (in.Peek().kind != TokenKind::String) in.Fail("the image needs rows");
            size_t width = in.Peek().text.size();
            while (in.Peek().kind == TokenKind::String) {
                Token rowAt = in.Peek();
                rows.push_back(in.Next().text);
                if (rows.back().size() != width) in.Fail(rowAt, "every row of the image has the same width");
            }
            if (width == 0 || width > 256 || rows.size() > 256) in.Fail(at, "the image is 1 to 256 pixels each way");
        } else {
            in.Fail("expected colour or image");
        }
    }
    if (rows.empty()) in.Fail("a colour icon needs its image");
    if (colours.empty()) in.Fail("a colour icon needs a colour");
    const int width = int(rows[0].size()), height = int(rows.size());
    int depth = 1;
    while ((1u << depth) < colours.size()) depth *= 2;
    const int pixRowBytes = (width * depth + 15) / 16 * 2;
    const int bitRowBytes = (width + 15) / 16 * 2;

    std::vector<uint8_t> pixels(size_t(pixRowBytes) * height), mask(size_t(bitRowBytes) * height),
        bw(size_t(bitRowBytes) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            char c = rows[y][x];
            if (c == '.' || c == ' ') continue;
            auto found = index.find(c);
            if (found == index.end()) in.Fail(std::string("'") + c + "' in the image is not a declared colour");
            uint32_t rgb = colours[found->second];
            mask[y * bitRowBytes + x / 8] |= uint8_t(0x80 >> (x % 8));
            uint32_t luminance = (((rgb >> 16) & 0xFF) * 30 + ((rgb >> 8) & 0xFF) * 59 + (rgb & 0xFF) * 11) / 100;
            if (luminance < 0x80) bw[y * bitRowBytes + x / 8] |= uint8_t(0x80 >> (x % 8));
            int bit = x * depth;
            pixels[y * pixRowBytes + bit / 8] |= uint8_t(found->second << (8 - depth - bit % 8));
        }
    }

    ByteWriter out;
    // Pixel map: base address, row bytes (with the pixel-map flag), bounds,
    // version, pack type and size, resolutions, pixel type and size,
    // component count and size, plane bytes, colour table, reserved.
    out.U32(0);
    out.U16(uint32_t(0x8000 | pixRowBytes));
    out.U16(0), out.U16(0), out.U16(uint32_t(height)), out.U16(uint32_t(width));
    out.U16(0), out.U16(0), out.U32(0);
    out.U32(0x00480000), out.U32(0x00480000);
    out.U16(0), out.U16(uint32_t(depth)), out.U16(1), out.U16(uint32_t(depth));
    out.U32(0), out.U32(0), out.U32(0);
    // Mask and black-and-white bitmaps: base address, row bytes, bounds.
    for (int i = 0; i < 2; ++i) {
        out.U32(0);
        out.U16(uint32_t(bitRowBytes));
        out.U16(0), out.U16(0), out.U16(uint32_t(height)), out.U16(uint32_t(width));
    }
    out.U32(0);  // icon data handle
    out.Append(mask);
    out.Append(bw);
    // Colour table: seed, flags, entry count - 1, entries (value, r, g, b).
    out.U32(0);
    out.U16(0);
    out.U16(uint32_t(colours.size() - 1));
    for (size_t i = 0; i < colours.size(); ++i) {
        out.U16(uint32_t(i));
        for (int shift = 16; shift >= 0; shift -= 8) out.U16(((colours[i] >> shift) & 0xFF) * 0x101);
    }
    out.Append(pixels);
    return std::move(out.bytes());
}

}  // namespace rescompile
