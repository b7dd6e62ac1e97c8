#include "platform/gestalt/Gestalt.h"

#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"

namespace platform {

OSErr Gestalt(OSType selector, int32_t* response)
{
    if (!response) return paramErr;
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
