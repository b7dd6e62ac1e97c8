// Mouse, keyboard, clicks and screens.
#include <algorithm>

#include "platform/core/Clock.h"
#include "platform/drawing/GWorlds.h"
#include "platform/events/Events.h"
#include "platform/screen/Screen.h"
#include "toolbox/foundation/system/VSystem.h"

namespace {

constexpr uint8_t kShiftKeyCode = 0x38;
constexpr uint8_t kOptionKeyCode = 0x3A;
constexpr uint8_t kCommandKeyCode = 0x37;
constexpr int32_t kClicSlop = 3;

bool KeyDown(uint8_t code)
{
    platform::KeyMap keys;
    platform::GetKeys(keys);
    return platform::IsKeyDown(keys, code);
}

bool ControlDownInNextEvent()
{
    platform::EventRecord event{};
    platform::EventAvail(platform::everyEvent, &event);
    return (event.modifiers & platform::controlKey) != 0;
}

// Watches the button for a moment (0.03 s, two ticks); true while it stays
// down. The wait goes through the clock, so a clock that moves only when
// told to still ends the watch.
constexpr uint32_t kTrackTicks = 2;

bool TrackBriefly()
{
    if (!platform::Button()) return false;
    for (uint32_t tick = 0; tick < kTrackTicks; ++tick) {
        if (!platform::StillDown()) return false;
        platform::Delay(1, nullptr);
    }
    return platform::StillDown();
}

}  // namespace

uint32_t VSystem::GetDblClicTicks() { return platform::GetDblTime(); }

bool VSystem::GetShiftKey() { return KeyDown(kShiftKeyCode); }
bool VSystem::GetAltKey() { return KeyDown(kOptionKeyCode); }
bool VSystem::GetCtrlKey() { return KeyDown(kCommandKeyCode); }

void VSystem::GetMousePosition(int32_t& x, int32_t& y)
{
    platform::Point p{};
    platform::GetGlobalMouse(&p);
    x = p.h;
    y = p.v;
}

bool VSystem::GetMouseButton(bool still) const
{
    if (!still) return platform::Button();
    if (GetVersion() >= 0x1000) return TrackBriefly();
    return platform::StillDown();
}

bool VSystem::GetLeftButton(bool still) const
{
    if (still && GetVersion() >= 0x10) {
        if (ControlDownInNextEvent()) return false;
        return TrackBriefly();
    }
    if (ControlDownInNextEvent()) return false;
    return still ? platform::StillDown() : platform::Button();
}

bool VSystem::GetRightButton(bool still) const
{
    if (still && GetVersion() >= 0x10) {
        if (!ControlDownInNextEvent()) return false;
        return TrackBriefly();
    }
    if (!ControlDownInNextEvent()) return false;
    return still ? platform::StillDown() : platform::Button();
}

int32_t VSystem::RegisterClic(const VClic& clic)
{
    if (clic.IsUp()) return 0;
    int32_t h = 0, v = 0;
    clic.GetPos(h, v);
    const uint32_t ticks = clic.GetTicks();
    if (h == fLastH && v == fLastV && ticks == fLastTicks) return fClicCount + 1;
    const bool near = std::abs(h - fLastH) < kClicSlop && std::abs(v - fLastV) < kClicSlop;
    if (near && ticks - fLastTicks < GetDblClicTicks())
        ++fClicCount;
    else
        fClicCount = 0;
    fLastH = h;
    fLastV = v;
    fLastTicks = ticks;
    return fClicCount + 1;
}

int32_t VSystem::GetMenuBarHeight(bool fixed) { return fixed ? 18 : platform::GetMBarHeight(); }

void VSystem::GetAppRect(VRect& rect) { rect = VRect(platform::ScreenBounds()); }

// One screen here: the main device.
void VSystem::GetDeviceContaining(const VRect&, VRect& device) { GetAppRect(device); }

int32_t VSystem::GetScreenWidth(const VPoint* point)
{
    const platform::Rect r = platform::ScreenBounds();
    if (point) {
        int32_t x = 0, y = 0;
        point->GetPos(x, y);
        if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) return 0;
    }
    return r.right - r.left;
}

int32_t VSystem::GetScreenHeight(const VPoint* point)
{
    const platform::Rect r = platform::ScreenBounds();
    if (point) {
        int32_t x = 0, y = 0;
        point->GetPos(x, y);
        if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) return 0;
    }
    return r.bottom - r.top;
}
