#include "platform/gestalt/Gestalt.h"

#include <vector>

#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"

namespace platform {

namespace {

struct Override {
    OSType selector;
    int32_t value;
};
std::vector<Override> gOverrides;

}  // namespace

void OverrideGestalt(OSType selector, int32_t value)
{
    for (Override& o : gOverrides)
        if (o.selector == selector) {
            o.value = value;
            return;
        }
    gOverrides.push_back({selector, value});
}

void ClearGestaltOverrides() { gOverrides.clear(); }

OSErr Gestalt(OSType selector, int32_t* response)
{
    if (!response) return paramErr;
    for (const Override& o : gOverrides)
        if (o.selector == selector) {
            *response = o.value;
            return noErr;
        }
    switch (selector) {
    case FourCC("sysv"): *response = kGestaltSystemVersion; return noErr;
    case FourCC("apvr"): *response = kGestaltAppearanceVersion; return noErr;
    case FourCC("appr"): *response = 1 << gestaltAppearanceExists; return noErr;
    case FourCC("menu"): *response = 1 << gestaltMenuMgrPresent; return noErr;
    case FourCC("qtim"): *response = kGestaltMovieVersion; return noErr;
    default: *response = 0; return gestaltUndefSelectorErr;
    }
}

}  // namespace platform
