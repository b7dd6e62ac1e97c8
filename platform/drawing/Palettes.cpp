#include "platform/drawing/Palettes.h"

#include <algorithm>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

namespace platform {
namespace {

constexpr int32_t kHeader = 16;
constexpr int32_t kEntry = 16;

}  // namespace

PaletteHandle GetNewPalette(int16_t id)
{
    Handle stored = GetResource(FourCC("pltt"), id);
    if (!stored || !*stored) return nullptr;
    Handle copy = stored;
    if (HandToHand(&copy) != noErr) return nullptr;
    if (PaletteEntryCount(copy) == 0) {
        DisposeHandle(copy);
        return nullptr;
    }
    return copy;
}

void DisposePalette(PaletteHandle palette)
{
    if (palette) DisposeHandle(palette);
}

int16_t PaletteEntryCount(PaletteHandle palette)
{
    if (!palette || !*palette) return 0;
    const int32_t size = GetHandleSize(palette);
    if (size < kHeader) return 0;
    const int32_t stated = ReadBE16(reinterpret_cast<const uint8_t*>(*palette));
    return int16_t(std::clamp<int32_t>(std::min(stated, (size - kHeader) / kEntry), 0, 0x7FFF));
}

bool GetEntryColor(PaletteHandle palette, int16_t entry, RGBColor* color)
{
    if (!color || entry < 0 || entry >= PaletteEntryCount(palette)) return false;
    const uint8_t* e = reinterpret_cast<const uint8_t*>(*palette) + kHeader + entry * kEntry;
    *color = RGBColor{ReadBE16(e), ReadBE16(e + 2), ReadBE16(e + 4)};
    return true;
}

}  // namespace platform
