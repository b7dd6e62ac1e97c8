// The QuickDraw stand-ins: the cached standard patterns, port rectangles
// and text drawn at a point.
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "toolbox/drawing/CompatFunctions.h"

namespace {

// Dark gray, light gray, gray, black, white.
platform::Pattern gPatterns[5];
bool gPatternsCached = false;

}  // namespace

void InitQDPatterns()
{
    if (gPatternsCached) return;
    platform::GetQDGlobalsDarkGray(&gPatterns[0]);
    platform::GetQDGlobalsLightGray(&gPatterns[1]);
    platform::GetQDGlobalsGray(&gPatterns[2]);
    platform::GetQDGlobalsBlack(&gPatterns[3]);
    platform::GetQDGlobalsWhite(&gPatterns[4]);
    gPatternsCached = true;
}

const platform::Pattern* GetPatDarkGray() { return &gPatterns[0]; }
const platform::Pattern* GetPatLightGray() { return &gPatterns[1]; }
const platform::Pattern* GetPatGray() { return &gPatterns[2]; }
const platform::Pattern* GetPatBlack() { return &gPatterns[3]; }
const platform::Pattern* GetPatWhite() { return &gPatterns[4]; }

void GetPortVisibleRect(platform::CGrafPtr port, platform::Rect* rect)
{
    if (!port || !rect) return;
    platform::RgnHandle region = platform::NewRgn();
    if (!region) return;
    platform::GetPortVisibleRegion(port, region);
    platform::GetRegionBounds(region, rect);
    platform::DisposeRgn(region);
}

void GetPortClipRect(platform::CGrafPtr port, platform::Rect* rect)
{
    if (!port || !rect) return;
    platform::RgnHandle region = platform::NewRgn();
    if (!region) return;
    platform::GetPortClipRegion(port, region);
    platform::GetRegionBounds(region, rect);
    platform::DisposeRgn(region);
}

void myDrawTextNativeAt(const void* text, int32_t length, int16_t h, int16_t v)
{
    platform::MoveTo(h, v);
    if (!text || length <= 0) return;
    // The platform draws at most 32767 bytes a call.
    const auto* bytes = static_cast<const char*>(text);
    while (length > 0) {
        const int16_t chunk = int16_t(length > 32767 ? 32767 : length);
        platform::DrawText(bytes, 0, chunk);
        bytes += chunk;
        length -= chunk;
    }
}
