// The tri-state check box (control definition 131): a theme check box
// whose value 0 draws off, 1 on and 2 mixed; any other value draws mixed.
// An inactive box (highlight 255) is never hit. With variation 8 only the
// 12 x 12 box beside the title answers a click; otherwise the bounds do.
#pragma once

#include <cstdint>

#include "platform/controls/Controls.h"
#include "platform/theme/Theme.h"

namespace browser {

constexpr int16_t kTriStateDef = 131;
constexpr int16_t kTriStateBoxOnly = 8;  // the variation of the small hit zone

int32_t TriStateProc(int16_t variation, platform::ControlRef control, int16_t message, intptr_t param);

// The theme's callbacks while the box draws: the first erases the bounds
// it is given, the second draws the control's title (user data) in the
// label bounds in the theme's system font.
void ThemeEraseProc(const platform::Rect* bounds, uint32_t eraseData, int16_t depth, platform::Boolean isColorDev);
void ThemeButtonDrawProc(const platform::Rect* bounds, platform::ThemeButtonKind kind,
                         const platform::ThemeButtonDrawInfo* info, uintptr_t userData, int16_t depth,
                         platform::Boolean isColorDev);

// Hands the definition to the application, which registers it at
// start-up; registered at once when start-up has passed.
void InstallTriStateBox();

}  // namespace browser
