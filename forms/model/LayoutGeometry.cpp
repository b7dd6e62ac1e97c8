// The form's size, its scaling and the mapping of form coordinates to the
// window's. Sizes are summed in 32 bits and held to 32767: a form 32000
// wide with a horizontal size of 1000 must not measure negative.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "forms/model/LayoutEditor.h"
#include "forms/objects/LayoutObject.h"
#include "forms/objects/ObjectIterators.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"

namespace {

constexpr int16_t kNoObjectsWidth = 640, kNoObjectsHeight = 480;
constexpr int32_t kPictFrameAt = 2, kPictHeader = 10;

int16_t Held(int32_t v) { return int16_t(std::clamp<int32_t>(v, -32768, 32767)); }

int16_t Scaled(int16_t v, int16_t percent) { return Held(int32_t(v) * percent / 100); }

bool SameName(const unsigned char* a, const unsigned char* b)
{
    return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0;
}

}  // namespace

void LayoutEditor::GetPageDimensions(int16_t* width, int16_t* height, LayoutObject* first, VisitedForms*,
                                     int16_t reach)
{
    int32_t w = 0, h = 0;
    for (LayoutObjectIterator it(first, false, true, false); it.Current(); it.SetNext()) {
        const int16_t* b = it.Current()->bounds;
        if (std::min(b[1], b[3]) >= reach || std::min(b[0], b[2]) >= reach) continue;
        w = std::max<int32_t>(w, std::min(std::max(b[3], b[1]), reach));
        h = std::max<int32_t>(h, std::min(std::max(b[2], b[0]), reach));
    }
    // The inherited form's picture: its frame's right and bottom.
    if (fBaseFormPicture && platform::GetHandleSize(fBaseFormPicture) >= kPictHeader) {
        const auto* frame = reinterpret_cast<const uint8_t*>(*fBaseFormPicture) + kPictFrameAt;
        h = std::max<int32_t>(h, int16_t(platform::ReadBE16(frame + 4)));
        w = std::max<int32_t>(w, int16_t(platform::ReadBE16(frame + 6)));
    }
    *width = Held(w);
    *height = Held(h);
}

void LayoutEditor::MakeLimits(VisitedForms* visited, int16_t reach)
{
    StoreCurrentPage();
    const int32_t hAbs = std::abs(int32_t(fInfo.hSize)), vAbs = std::abs(int32_t(fInfo.vSize));
    if (fInfo.sizeObjectName[0] != 0) {
        for (int32_t p = 0; p <= LastPage(); ++p)
            for (LayoutObjectIterator it(ChainOf(p), false, true, false); it.Current(); it.SetNext()) {
                const LayoutObject* o = it.Current();
                if (!SameName(o->name, fInfo.sizeObjectName)) continue;
                fFormWidth = Held(std::max(o->bounds[3], o->bounds[1]) + hAbs);
                fFormHeight = Held(std::max(o->bounds[0], o->bounds[2]) + vAbs);
                return;
            }
    }
    if (fInfo.hSize > 0) {
        fFormWidth = fInfo.hSize;
        fFormHeight = Held(vAbs);
        return;
    }
    if (CountObjects() == 0) {
        fFormWidth = kNoObjectsWidth;
        fFormHeight = kNoObjectsHeight;
        return;
    }
    int32_t w = 0, h = 0;
    for (int32_t p = 0; p <= LastPage(); ++p) {
        int16_t pw = 0, ph = 0;
        GetPageDimensions(&pw, &ph, ChainOf(p), visited, reach);
        w = std::max<int32_t>(w, pw);
        h = std::max<int32_t>(h, ph);
    }
    fFormWidth = Held(w + hAbs);
    fFormHeight = Held(h + vAbs);
}

void LayoutEditor::Brz_DoScale(int16_t percent, uint8_t flag)
{
    for (int32_t p = 0; p <= LastPage(); ++p)
        for (LayoutObject* o = ChainOf(p); o; o = o->next) o->ScaleObj(percent, flag);
    fInfo.hSize = Scaled(fInfo.hSize, percent);
    fInfo.vSize = Scaled(fInfo.vSize, percent);
}

int16_t LayoutEditor::FormToScreen(int16_t c, bool horizontal)
{
    const double z = double(c) * fZoom;
    const int32_t t = int32_t(c < 0 ? z - 0.01 : z + 0.01);
    const int32_t base = horizontal ? int32_t(fContentRect.left) + fScrollH : int32_t(fContentRect.top) + fScrollV;
    return Held(base + fOffset + t);
}

platform::Point LayoutEditor::FormToScreen(platform::Point p)
{
    return platform::Point{FormToScreen(p.v, false), FormToScreen(p.h, true)};
}
