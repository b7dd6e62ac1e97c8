#include "platform/fonts/GlyphCache.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H

#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/fonts/FontFiles.h"
#include "platform/fonts/Fonts.h"

namespace platform {

namespace {

constexpr int16_t kMaxSize = 512;
constexpr size_t kMaxStrikes = 48;
constexpr size_t kMaxGlyphBytes = size_t(16) << 20;
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;
// The slant of a made-up italic (as FreeType's own oblique).
constexpr FT_Matrix kShear = {0x10000, 0x0366A, 0, 0x10000};

struct Face {
    FT_Face face = nullptr;
    FT_Size size = nullptr;
    bool fakeBold = false;
    bool fakeItalic = false;
};

struct StoredGlyph {
    GlyphImage image;
    std::vector<uint8_t> pixels;
};

}  // namespace

struct Strike {
    int16_t family = 0;
    int16_t size = 0;
    bool bold = false;
    bool italic = false;
    const FontFamilyEntry* entry = nullptr;
    Face main;
    Face fallback;  // DejaVu Sans for characters the family lacks
    StrikeMetrics metrics;
    std::array<int16_t, 256> byteAdvance{};
    std::array<char32_t, 256> byteChar{};
    std::unordered_map<char32_t, int16_t> advances;
    std::unordered_map<uint32_t, std::unique_ptr<StoredGlyph>> glyphs;  // char * 2 + one bit
    std::array<const GlyphImage*, 512> byteGlyph{};
    uint64_t lastUse = 0;
};

namespace {

struct Cache {
    std::vector<std::unique_ptr<Strike>> strikes;
    uint32_t generation = 0;
    uint64_t clock = 0;
    size_t glyphBytes = 0;
};

Cache& C()
{
    static Cache cache;
    return cache;
}

const GlyphImage kEmpty{};

void ReleaseSizes(Strike& s, bool facesAlive)
{
    if (!facesAlive) return;  // closing a face freed its sizes
    if (s.main.size) FT_Done_Size(s.main.size);
    if (s.fallback.size) FT_Done_Size(s.fallback.size);
    s.main.size = s.fallback.size = nullptr;
}

void DropAll(bool facesAlive)
{
    Cache& c = C();
    for (auto& s : c.strikes) ReleaseSizes(*s, facesAlive);
    c.strikes.clear();
    c.glyphBytes = 0;
}

void DropGlyphs()
{
    Cache& c = C();
    for (auto& s : c.strikes) {
        s->glyphs.clear();
        s->byteGlyph.fill(nullptr);
    }
    c.glyphBytes = 0;
}

bool MakeSize(Face& f, int16_t pixels)
{
    if (!f.face || FT_New_Size(f.face, &f.size) != 0) return false;
    FT_Activate_Size(f.size);
    return FT_Set_Pixel_Sizes(f.face, 0, FT_UInt(pixels)) == 0;
}

int16_t Ceil26(FT_Pos v) { return int16_t((v + 63) >> 6); }
int16_t Round26(FT_Pos v) { return int16_t((v + 32) >> 6); }

// The face that has the character, and its glyph index (0: none has it).
const Face* FaceFor(Strike& s, char32_t c, FT_UInt* index)
{
    *index = FT_Get_Char_Index(s.main.face, FT_ULong(c));
    if (*index) return &s.main;
    if (s.fallback.face) {
        *index = FT_Get_Char_Index(s.fallback.face, FT_ULong(c));
        if (*index) return &s.fallback;
    }
    return nullptr;
}

// Loads the glyph's outline into the face's slot, made bold or slanted as
// the strike asks; false when it cannot be loaded.
bool LoadOutline(const Face& f, FT_UInt index)
{
    FT_Activate_Size(f.size);
    if (FT_Load_Glyph(f.face, index, kLoadFlags) != 0) return false;
    FT_GlyphSlot slot = f.face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (f.fakeBold) FT_Outline_EmboldenXY(&slot->outline, 64, 0);
        if (f.fakeItalic) FT_Outline_Transform(&slot->outline, &kShear);
    }
    return true;
}

// The box drawn for a character no pinned file has.
int16_t BoxAdvance(const Strike& s) { return int16_t(std::max(3, s.size / 2 + 1)); }

int16_t Advance(Strike& s, char32_t c)
{
    if (c == 0) return 0;
    auto it = s.advances.find(c);
    if (it != s.advances.end()) return it->second;
    if (const char32_t* seq = GlyphSequence(c)) {
        int32_t sum = 0;
        for (; *seq; ++seq) sum += Advance(s, *seq);
        s.advances.emplace(c, int16_t(sum));
        return int16_t(sum);
    }
    FT_UInt index = 0;
    const Face* f = FaceFor(s, c, &index);
    int16_t advance = BoxAdvance(s);
    if (f && LoadOutline(*f, index)) advance = int16_t(Round26(f->face->glyph->advance.x) + (f->fakeBold ? 1 : 0));
    else if (f) advance = 0;
    s.advances.emplace(c, advance);
    return advance;
}

void Store(Strike& s, uint32_t key, std::unique_ptr<StoredGlyph> g)
{
    Cache& c = C();
    if (c.glyphBytes + g->pixels.size() > kMaxGlyphBytes) DropGlyphs();
    c.glyphBytes += g->pixels.size();
    g->image.coverage = g->pixels.data();
    s.glyphs[key] = std::move(g);
}

std::unique_ptr<StoredGlyph> BoxGlyph(const Strike& s)
{
    auto g = std::make_unique<StoredGlyph>();
    const int w = std::max(2, BoxAdvance(s) - 2);
    const int h = std::max(3, s.metrics.ascent * 7 / 10);
    g->image = {1, int16_t(h), uint16_t(w), uint16_t(h), nullptr};
    g->pixels.assign(size_t(w) * size_t(h), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x == 0 || y == 0 || x == w - 1 || y == h - 1) g->pixels[size_t(y * w + x)] = 255;
    return g;
}

std::unique_ptr<StoredGlyph> Render(Strike& s, char32_t c, bool oneBit);

// A short text as one glyph: its characters' images laid side by side.
std::unique_ptr<StoredGlyph> RenderSequence(Strike& s, const char32_t* seq, bool oneBit)
{
    std::vector<std::pair<int32_t, std::unique_ptr<StoredGlyph>>> parts;
    int32_t pen = 0, left = INT32_MAX, right = INT32_MIN, top = INT32_MIN, bottom = INT32_MAX;
    for (; *seq; ++seq) {
        auto part = Render(s, *seq, oneBit);
        const GlyphImage& im = part->image;
        if (im.width && im.rows) {
            left = std::min(left, pen + im.left);
            right = std::max(right, pen + im.left + int32_t(im.width));
            top = std::max(top, int32_t(im.top));
            bottom = std::min(bottom, int32_t(im.top) - int32_t(im.rows));
        }
        parts.emplace_back(pen, std::move(part));
        pen += Advance(s, *seq);
    }
    auto g = std::make_unique<StoredGlyph>();
    if (left >= right || bottom >= top) return g;
    const int32_t w = right - left, h = top - bottom;
    g->image = {int16_t(left), int16_t(top), uint16_t(w), uint16_t(h), nullptr};
    g->pixels.assign(size_t(w) * size_t(h), 0);
    for (const auto& [at, part] : parts) {
        const GlyphImage& im = part->image;
        for (int32_t r = 0; r < im.rows; ++r)
            for (int32_t x = 0; x < im.width; ++x) {
                uint8_t& d = g->pixels[size_t(top - im.top + r) * size_t(w) + size_t(at + im.left - left + x)];
                d = std::max(d, part->pixels[size_t(r) * im.width + size_t(x)]);
            }
    }
    return g;
}

std::unique_ptr<StoredGlyph> Render(Strike& s, char32_t c, bool oneBit)
{
    auto g = std::make_unique<StoredGlyph>();
    if (c == 0) return g;
    if (const char32_t* seq = GlyphSequence(c)) return RenderSequence(s, seq, oneBit);
    FT_UInt index = 0;
    const Face* f = FaceFor(s, c, &index);
    if (!f) return BoxGlyph(s);
    if (!LoadOutline(*f, index)) return g;
    FT_GlyphSlot slot = f->face->glyph;
    if (FT_Render_Glyph(slot, oneBit ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_LIGHT) != 0) return g;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.width == 0 || bm.rows == 0 || bm.width > 0xFFFF || bm.rows > 0xFFFF) return g;
    g->image = {int16_t(slot->bitmap_left), int16_t(slot->bitmap_top), uint16_t(bm.width), uint16_t(bm.rows), nullptr};
    g->pixels.assign(size_t(bm.width) * bm.rows, 0);
    for (unsigned y = 0; y < bm.rows; ++y) {
        const uint8_t* row = bm.buffer + int64_t(y) * bm.pitch;
        uint8_t* out = g->pixels.data() + size_t(y) * bm.width;
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
            for (unsigned x = 0; x < bm.width; ++x) out[x] = (row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0;
        else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY)
            std::copy(row, row + bm.width, out);
    }
    return g;
}

const GlyphImage& Glyph(Strike& s, char32_t c, bool oneBit)
{
    if (c == 0) return kEmpty;
    const uint32_t key = uint32_t(c) * 2 + (oneBit ? 1 : 0);
    auto it = s.glyphs.find(key);
    if (it != s.glyphs.end()) return it->second->image;
    Store(s, key, Render(s, c, oneBit));
    return s.glyphs[key]->image;
}

std::unique_ptr<Strike> MakeStrike(int16_t family, int16_t size, bool bold, bool italic)
{
    auto s = std::make_unique<Strike>();
    s->family = family;
    s->size = size;
    s->bold = bold;
    s->italic = italic;
    s->entry = &ResolveFontFamily(family);
    const FaceChoice main = ChooseFace(s->entry->file, bold, italic);
    s->main = {main.face, nullptr, main.fakeBold, main.fakeItalic};
    if (!MakeSize(s->main, size)) {
        ReleaseSizes(*s, true);
        return nullptr;
    }
    if (s->entry->file != FileFamily::Sans) {
        const FaceChoice fb = ChooseFace(FileFamily::Sans, bold, italic);
        s->fallback = {fb.face, nullptr, fb.fakeBold, fb.fakeItalic};
        if (!MakeSize(s->fallback, size)) {
            ReleaseSizes(*s, true);
            return nullptr;
        }
    }
    const FT_Size_Metrics& m = s->main.size->metrics;
    s->metrics.ascent = Ceil26(m.ascender);
    s->metrics.descent = Ceil26(-m.descender);
    s->metrics.leading = int16_t(std::max(0, Round26(m.height) - s->metrics.ascent - s->metrics.descent));
    s->metrics.widMax = int16_t(Round26(m.max_advance) + (s->main.fakeBold ? 1 : 0));
    s->byteAdvance.fill(-1);
    for (int b = 0; b < 256; ++b) s->byteChar[size_t(b)] = FontByteToUnicode(*s->entry, uint8_t(b));
    return s;
}

}  // namespace

Strike* FindStrike(int16_t family, int16_t size, bool bold, bool italic)
{
    if (!EnsureFonts()) return nullptr;
    Cache& c = C();
    if (c.generation != FontFilesGeneration()) {
        DropAll(false);
        c.generation = FontFilesGeneration();
    }
    if (size <= 0) size = GetDefFontSize();
    size = std::min(size, kMaxSize);
    family = ResolveFontFamily(family).number;
    ++c.clock;
    for (auto& s : c.strikes)
        if (s->family == family && s->size == size && s->bold == bold && s->italic == italic) {
            s->lastUse = c.clock;
            return s.get();
        }
    if (c.strikes.size() >= kMaxStrikes) {
        auto oldest = std::min_element(c.strikes.begin(), c.strikes.end(),
                                       [](const auto& a, const auto& b) { return a->lastUse < b->lastUse; });
        for (auto& [key, g] : (*oldest)->glyphs) c.glyphBytes -= g->pixels.size();
        ReleaseSizes(**oldest, true);
        c.strikes.erase(oldest);
    }
    std::unique_ptr<Strike> s = MakeStrike(family, size, bold, italic);
    if (!s) return nullptr;
    s->lastUse = c.clock;
    c.strikes.push_back(std::move(s));
    return c.strikes.back().get();
}

const StrikeMetrics& MetricsOf(const Strike* strike)
{
    static const StrikeMetrics none;
    return strike ? strike->metrics : none;
}

int16_t ByteAdvance(Strike* s, uint8_t byte)
{
    if (!s) return 0;
    int16_t& a = s->byteAdvance[byte];
    if (a < 0) a = Advance(*s, s->byteChar[byte]);
    return a;
}

int16_t CharAdvance(Strike* s, char32_t c) { return s ? Advance(*s, FamilyChar(*s->entry, c)) : 0; }

const GlyphImage& ByteGlyph(Strike* s, uint8_t byte, bool oneBit)
{
    if (!s) return kEmpty;
    const GlyphImage*& slot = s->byteGlyph[size_t(byte) * 2 + (oneBit ? 1 : 0)];
    if (!slot) slot = &Glyph(*s, s->byteChar[byte], oneBit);
    return *slot;
}

const GlyphImage& CharGlyph(Strike* s, char32_t c, bool oneBit)
{
    return s ? Glyph(*s, FamilyChar(*s->entry, c), oneBit) : kEmpty;
}

char32_t StrikeByteChar(const Strike* s, uint8_t byte) { return s ? s->byteChar[byte] : 0; }

void ResetGlyphCache() { DropAll(C().generation == FontFilesGeneration()); }

size_t GlyphCacheBytes() { return C().glyphBytes; }

}  // namespace platform
