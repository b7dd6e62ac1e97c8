// A listener for the theme's drawing calls: each call that draws or changes
// the theme drawing state reports itself, with its main arguments, before
// it acts. Used to check which theme parts a look asked for.
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

struct ThemeCall {
    const char* name;  // the call's own name, e.g. "DrawThemeButton"
    Rect bounds;       // empty when the call has no rectangle
    int32_t kind;      // button or track kind, brush, theme font
    int32_t state;     // draw, menu or track enable state
    int32_t value;     // button value, track value
    int32_t adornment; // button adornment, track press state
    int32_t maximum;   // track maximum
    int32_t viewSize;  // track view size
    int32_t attributes;
};

using ThemeCallListener = void (*)(const ThemeCall& call, void* data);
// One listener at a time; null stops listening.
void SetThemeCallListener(ThemeCallListener listener, void* data);
void ReportThemeCall(const ThemeCall& call);

}  // namespace platform
