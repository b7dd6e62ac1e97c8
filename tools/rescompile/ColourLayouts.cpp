#include "tools/rescompile/ByteWriter.h"
#include "tools/rescompile/Layouts.h"

namespace rescompile {

namespace {

struct Colour {
    uint32_t red = 0, green = 0, blue = 0;
};

// colour 0xRRGGBB (each byte repeated into its 16-bit component) or
// rgb R G B (16-bit components); false when neither comes next.
bool ReadColour(SourceReader& in, Colour* c)
{
    if (in.Accept("colour")) {
        uint32_t v = uint32_t(in.Integer(0, 0xFFFFFF, "the colour"));
        c->red = ((v >> 16) & 0xFF) * 0x101;
        c->green = ((v >> 8) & 0xFF) * 0x101;
        c->blue = (v & 0xFF) * 0x101;
        return true;
    }
    if (in.Accept("rgb")) {
        c->red = uint32_t(in.Integer(0, 0xFFFF, "red"));
        c->green = uint32_t(in.Integer(0, 0xFFFF, "green"));
        c->blue = uint32_t(in.Integer(0, 0xFFFF, "blue"));
        return true;
    }
    return false;
}

bool AtClose(SourceReader& in) { return in.Peek().kind == TokenKind::Close; }

}  // namespace

// Entries: colour ... [usage N] [tolerance N]. Stored as a 16-byte header
// (entry count, then reserved) and 16-byte entries (r, g, b, usage,
// tolerance, reserved).
std::vector<uint8_t> CompilePalette(SourceReader& in, int16_t)
{
    ByteWriter entries;
    uint32_t count = 0;
    while (!AtClose(in)) {
        Colour c;
        if (!ReadColour(in, &c)) in.Fail("expected colour or rgb");
        uint32_t usage = 0, tolerance = 0;
        while (true) {
            if (in.Accept("usage")) usage = uint32_t(in.Integer(0, 0xFFFF, "the usage"));
            else if (in.Accept("tolerance")) tolerance = uint32_t(in.Integer(0, 0xFFFF, "the tolerance"));
            else break;
        }
        entries.U16(c.red), entries.U16(c.green), entries.U16(c.blue);
        entries.U16(usage), entries.U16(tolerance);
        entries.Zero(6);
        if (++count > 0x7FFF) in.Fail("too many colours");
    }
    ByteWriter out;
    out.U16(count);
    out.Zero(14);
    out.Append(entries.bytes());
    return std::move(out.bytes());
}

// seed N, flags N, then entries: colour ... (values count from 0) or
// value N colour ....
std::vector<uint8_t> CompileColourTable(SourceReader& in, int16_t)
{
    uint32_t seed = 0, flags = 0;
    ByteWriter entries;
    uint32_t count = 0;
    while (!AtClose(in)) {
        if (in.Accept("seed")) {
            seed = uint32_t(in.Integer(0, UINT32_MAX, "the seed"));
            continue;
        }
        if (in.Accept("flags")) {
            flags = uint32_t(in.Integer(0, 0xFFFF, "the flags"));
            continue;
        }
        uint32_t value = count;
        if (in.Accept("value")) value = uint32_t(in.Integer(0, 0xFFFF, "the entry value"));
        Colour c;
        if (!ReadColour(in, &c)) in.Fail("expected seed, flags, value, colour or rgb");
        entries.U16(value), entries.U16(c.red), entries.U16(c.green), entries.U16(c.blue);
        if (++count > 0x8000) in.Fail("too many colours");
    }
    if (count == 0) in.Fail("a colour table needs a colour");
    ByteWriter out;
    out.U32(seed);
    out.U16(flags);
    out.U16(count - 1);
    out.Append(entries.bytes());
    return std::move(out.bytes());
}

}  // namespace rescompile
