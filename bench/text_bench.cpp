// A 64-character line drawn 20,000 times with DrawText (glyphs cached),
// beside FreeType loading, rendering and blending the same glyphs each time
// into the same kind of buffer.
#include <cinttypes>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"

using namespace platform;

namespace {

constexpr int kWidth = 640, kHeight = 40, kLines = 20000;
constexpr const char* kLine = "The quick brown fox jumps over the lazy dog, 0123456789 times!!!";  // 64 bytes

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// FreeType alone: every glyph loaded with the same light hinting, rendered
// grey and blended black over the buffer.
double FreeTypeLines(uint32_t* pixels, int32_t rowWords, uint64_t* checksum)
{
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&lib) || FT_New_Face(lib, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 0, &face))
        return -1;
    FT_Set_Pixel_Sizes(face, 0, 12);
    const auto start = std::chrono::steady_clock::now();
    for (int line = 0; line < kLines; ++line) {
        int32_t pen = 4;
        const int32_t baseline = 20;
        for (const char* p = kLine; *p; ++p) {
            if (FT_Load_Char(face, FT_ULong(uint8_t(*p)), FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP) ||
                FT_Render_Glyph(face->glyph, FT_RENDER_MODE_LIGHT))
                continue;
            const FT_GlyphSlot g = face->glyph;
            for (unsigned r = 0; r < g->bitmap.rows; ++r) {
                const int32_t y = baseline - g->bitmap_top + int32_t(r);
                if (y < 0 || y >= kHeight) continue;
                for (unsigned c = 0; c < g->bitmap.width; ++c) {
                    const int32_t x = pen + g->bitmap_left + int32_t(c);
                    const uint32_t a = g->bitmap.buffer[r * unsigned(g->bitmap.pitch) + c];
                    if (x < 0 || x >= kWidth || a == 0) continue;
                    uint32_t& d = pixels[y * rowWords + x];
                    uint32_t out = 0;
                    for (int shift = 0; shift <= 16; shift += 8)
                        out |= ((((d >> shift) & 0xFF) * (255 - a) + 127) / 255) << shift;
                    d = out;
                }
            }
            pen += int32_t((g->advance.x + 32) >> 6);
        }
    }
    const double s = Seconds(start);
    for (int i = 0; i < kHeight * rowWords; ++i) *checksum += pixels[i];
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return s;
}

}  // namespace

int main()
{
    if (InitFonts() != noErr) {
        std::fprintf(stderr, "%s\n", FontStartupMessage());
        return 1;
    }
    Rect bounds{0, 0, kHeight, kWidth};
    GWorldPtr ours = nullptr, peer = nullptr;
    if (NewGWorld(&ours, 32, &bounds, nullptr, nullptr, 0) || NewGWorld(&peer, 32, &bounds, nullptr, nullptr, 0)) {
        std::fprintf(stderr, "cannot make the worlds\n");
        return 1;
    }
    SetGWorld(peer, nullptr);
    EraseRect(&bounds);
    SetGWorld(ours, nullptr);
    EraseRect(&bounds);
    TextFont(applFont);
    TextSize(12);
    TextMode(srcOr);
    const int16_t length = int16_t(std::strlen(kLine));
    MoveTo(4, 20);
    DrawText(kLine, 0, length);  // the glyphs enter the cache

    const auto start = std::chrono::steady_clock::now();
    for (int line = 0; line < kLines; ++line) {
        MoveTo(4, 20);
        DrawText(kLine, 0, length);
    }
    const double oursSeconds = Seconds(start);

    PixMapHandle pm = GetGWorldPixMap(peer);
    uint64_t checksum = 0;
    const double peerSeconds = FreeTypeLines(reinterpret_cast<uint32_t*>(GetPixBaseAddr(pm)),
                                             GetPixRowBytes(pm) / 4, &checksum);
    if (peerSeconds < 0) {
        std::fprintf(stderr, "FreeType could not open the font\n");
        return 1;
    }
    std::printf("text: %d lines of %d characters\n", kLines, int(length));
    std::printf("  DrawText (cached glyphs)   %8.3f s  %7.2f us/line\n", oursSeconds, oursSeconds * 1e6 / kLines);
    std::printf("  FreeType render and blend  %8.3f s  %7.2f us/line\n", peerSeconds, peerSeconds * 1e6 / kLines);
    std::printf("  ratio ours / FreeType      %8.2f\n", oursSeconds / peerSeconds);
    std::printf("  (checksum %" PRIu64 ")\n", uint64_t(checksum));
    DisposeGWorld(ours);
    DisposeGWorld(peer);
    return 0;
}
