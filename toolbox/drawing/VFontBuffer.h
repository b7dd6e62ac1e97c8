// The character widths of one painter's current font at one size, with
// the font's metrics: kept in pages of 256 widths made on first use, so
// each character is measured once per font.
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"
#include "toolbox/foundation/VObject.h"

class VPainter;

class VFontBuffer : public VObject {
public:
    VFontBuffer(uint32_t owner, int16_t font, int16_t size, uint8_t face);
    ~VFontBuffer() override;
    VFontBuffer(const VFontBuffer&) = delete;
    VFontBuffer& operator=(const VFontBuffer&) = delete;

    void UpdateTicks();
    // The width of the character in the painter's font, measured in port
    // the first time; 0 when its page cannot be had.
    int16_t GetUnicharWidth(char16_t c, VPainter* painter, platform::CGrafPtr port, double scale);

    uint32_t GetTicks() const { return fTicks; }
    int16_t GetFont() const { return fFont; }
    int16_t GetSize() const { return fSize; }
    uint8_t GetFace() const { return fFace; }
    uint32_t GetOwner() const { return fOwner; }
    bool IsSymbol() const { return fSymbol; }

    // -1 until fetched.
    int16_t fAscent = -1;
    int16_t fDescent = -1;
    int16_t fLeading = -1;

    // The metrics to lay text out by: 0 while not fetched, so a painter
    // without a port never measures a negative height.
    int16_t Ascent() const { return fAscent < 0 ? 0 : fAscent; }
    int16_t Descent() const { return fDescent < 0 ? 0 : fDescent; }
    int32_t LineHeight() const { return int32_t(Ascent()) + Descent() + (fLeading < 0 ? 0 : fLeading); }

private:
    static constexpr int32_t kPageCount = 256;

    uint32_t fTicks = 0;
    int16_t fFont;
    int16_t fSize;
    uint8_t fFace;
    bool fSymbol = false;
    uint32_t fOwner;
    int16_t* fPages[kPageCount] = {};
};
