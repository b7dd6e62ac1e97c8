#include "platform/fonts/SystemResFile.h"

#include <algorithm>
#include <cstring>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/cursors/Cursors.h"
#include "platform/dialogs/AlertIcons.h"
#include "platform/fonts/Fonts.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"

namespace platform {
namespace {

int16_t gRef = -1;
uint64_t gSerial = 0;  // the number alone may since name another file

bool IsOpen() { return gRef != -1 && ResFileSerial(gRef) == gSerial; }

// Family record, 52 bytes, then the association table:
//  off size
//   0   2   flags (0x8000: fixed width; clear)
//   2   2   family number
//   4   2   first character, 6 last character
//   8   2   ascent, 10 descent, 12 leading, 14 widest advance, each in
//           units of 1/4096 of the size (here for size 1)
//  16   4   width table offset, 20 kerning offset, 24 style map offset (0: none)
//  28  18   nine style properties, 46 4 international, 50 2 version (2)
//  52   2   association entries minus one, then per entry size (0:
//           scalable), style, resource id.
constexpr size_t kHeader = 52;

void Put16(std::vector<uint8_t>& b, size_t off, int16_t v) { WriteBE16(b.data() + off, uint16_t(v)); }

}  // namespace

std::vector<uint8_t> BuildFond(int16_t number, int16_t ascent, int16_t descent, int16_t leading, int16_t widMax)
{
    std::vector<uint8_t> b(kHeader + 2 + 6, 0);
    Put16(b, 2, number);
    Put16(b, 4, 0);
    Put16(b, 6, 255);
    Put16(b, 8, ascent);
    Put16(b, 10, descent);
    Put16(b, 12, leading);
    Put16(b, 14, widMax);
    Put16(b, 50, 2);
    Put16(b, kHeader, 0);           // one entry
    Put16(b, kHeader + 2, 0);       // scalable
    Put16(b, kHeader + 4, 0);       // plain
    Put16(b, kHeader + 6, number);  // its outline resource
    return b;
}

OSErr OpenSystemResFile()
{
    if (IsOpen()) return noErr;
    ResourceFileImage image;
    for (int32_t i = 0; i < FontFamilyCount(); ++i) {
        const FontFamilyEntry& f = FontFamilyAt(i);
        if (f.hidden) continue;
        ResourceImage r;
        r.type = FourCC("FOND");
        r.id = f.number;
        r.hasName = true;
        r.name = f.name;
        // Metrics of the design, in 1/4096 of the size, as the record asks.
        const FT_Face face = ChooseFace(f.file, false, false).face;
        auto scaled = [&](int32_t units) {
            return face && face->units_per_EM ? int16_t(int64_t(units) * 4096 / face->units_per_EM) : int16_t(0);
        };
        r.data = face ? BuildFond(f.number, scaled(face->ascender), scaled(-face->descender),
                                  scaled(face->height - face->ascender + face->descender),
                                  scaled(face->max_advance_width))
                      : BuildFond(f.number, 0, 0, 0, 0);
        image.resources.push_back(std::move(r));
    }
    // The families in name order, as font menus list them.
    std::sort(image.resources.begin(), image.resources.end(),
              [](const ResourceImage& a, const ResourceImage& b) { return a.name < b.name; });
    // The system's cursors.
    for (int16_t id = 1; id <= 4; ++id) {
        ResourceImage r;
        r.type = FourCC("CURS");
        r.id = id;
        const uint8_t* bytes = SystemCursorResource(id);
        r.data.assign(bytes, bytes + 68);
        image.resources.push_back(std::move(r));
    }
    // The alert icons: Stop, Note and Caution.
    for (int16_t id = 0; id <= 2; ++id) {
        ResourceImage r;
        r.type = FourCC("ICON");
        r.id = id;
        const std::array<uint8_t, 128> bits = AlertIconImage(id);
        r.data.assign(bits.begin(), bits.end());
        image.resources.push_back(std::move(r));
    }
    gRef = OpenResFileImageBelow(image);
    gSerial = ResFileSerial(gRef);
    return gRef == -1 ? ResError() : noErr;
}

int16_t SystemResFileRef() { return IsOpen() ? gRef : -1; }

}  // namespace platform
