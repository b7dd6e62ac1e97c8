// The system attribute query: what this platform is and offers, by
// four-character selector.
#pragma once

#include "platform/core/Errors.h"
#include "platform/core/MacTypes.h"

namespace platform {

constexpr OSErr gestaltUndefSelectorErr = -5551;

// The version numbers this platform reports (binary-coded decimal).
constexpr int32_t kGestaltSystemVersion = 0x1050;       // 'sysv'
constexpr int32_t kGestaltAppearanceVersion = 0x0114;   // 'apvr'
constexpr int32_t kGestaltMovieVersion = 0x06000000;  // 'qtim'

// 'appr' bit 0: the theme drawing services are present. 'menu' bit 0: menu
// properties of any size are kept.
constexpr int32_t gestaltAppearanceExists = 0;
constexpr int32_t gestaltMenuMgrPresent = 0;

// Answers the attribute in *response; gestaltUndefSelectorErr for a
// selector this platform does not know (*response is then 0), paramErr
// without a response.
OSErr Gestalt(OSType selector, int32_t* response);

// Makes Gestalt answer value for the selector, as an older system would
// (tests of the code paths for such systems); ClearGestaltOverrides goes
// back to this platform's own answers.
void OverrideGestalt(OSType selector, int32_t value);
void ClearGestaltOverrides();

}  // namespace platform
