#include "kernel/helpers/KernelWindows.h"

#include "platform/drawing/Text.h"
#include "platform/events/Events.h"

namespace {
constexpr uint8_t kShiftKeyCode = 0x38;  // byte 7, bit 0 of the key map
}

void myselectwindow(platform::WindowRef window)
{
    if (window != nullptr) platform::SelectWindow(window);
}

void mysetcursor(const platform::ScreenCursor* cursor, platform::WindowRef window)
{
    if (window != nullptr) {
        platform::Point where;
        platform::GetGlobalMouse(&where);
        platform::WindowRef under = nullptr;
        platform::FindWindow(where, &under);
        if (under != nullptr && under != window && platform::IsWindowHilited(under)) return;
    }
    platform::SetScreenCursor(cursor != nullptr ? *cursor : platform::ArrowScreenCursor());
}

bool shiftenfoncee()
{
    platform::KeyMap keys;
    platform::GetKeys(keys);
    return platform::IsKeyDown(keys, kShiftKeyCode);
}

void mygetfontinfo(platform::FontInfo* info) { platform::GetFontInfo(info); }
