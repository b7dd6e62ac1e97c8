#include "platform/screen/Screen.h"

#include <algorithm>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/PixelChanges.h"
#include "platform/drawing/PngExport.h"
#include "platform/drawing/Regions.h"
#include "platform/events/InputState.h"
#include "platform/screen/ScreenPixels.h"
#include "platform/windows/WindowFrames.h"

namespace platform {
namespace {

constexpr uint32_t kDesktopColor = 0x5F6F87;
constexpr int16_t kMaxScreenSide = 4000;  // 32-bit rows must fit the row-bytes field

struct ScreenState {
    GWorldPtr frame = nullptr;    // the composed screen
    GWorldPtr menuBar = nullptr;
    GWorldPtr overlay = nullptr;
    Rect bounds{0, 0, 0, 0};
    ScreenCursor cursor{};
    bool cursorVisible = true;
    bool obscured = false;
    Point obscuredAt{0, 0};
    struct MenuLayer {
        CGrafPtr world;
        Point topLeft;
    };
    std::vector<MenuLayer> menus;
};

ScreenState& State()
{
    static auto* state = [] {
        auto* s = new ScreenState;
        s->cursor = ArrowScreenCursor();
        return s;
    }();
    return *state;
}

void DisposeWorlds(ScreenState& s)
{
    DisposeGWorld(s.frame);
    DisposeGWorld(s.menuBar);
    DisposeGWorld(s.overlay);
    s.frame = s.menuBar = s.overlay = nullptr;
}

void PaintEmptyMenuBar(GWorldPtr menuBar)
{
    PixelTarget t = PixelTargetOf(menuBar);
    Rect all = t.bounds;
    FillPixels(t, all, 0xFFFFFF);
    Rect line = all;
    line.top = int16_t(all.bottom - 1);
    FillPixels(t, line, 0x000000);
}

void DrawCursor(PixelTarget& t, const ScreenCursor& c, Point mouse)
{
    const int32_t left = mouse.h - c.hotSpot.h;
    const int32_t top = mouse.v - c.hotSpot.v;
    for (int32_t row = 0; row < 16; ++row) {
        for (int32_t col = 0; col < 16; ++col) {
            const uint16_t bit = uint16_t(0x8000u >> col);
            const bool black = c.data[row] & bit;
            const bool masked = c.mask[row] & bit;
            uint32_t* p = PixelAddress(t, int32_t(left + col), int32_t(top + row));
            if (!p) continue;
            if (masked && c.hasColor) *p = c.color[row][col] & 0xFFFFFF;
            else if (masked) *p = black ? 0x000000 : 0xFFFFFF;
            else if (black) *p ^= 0xFFFFFF;
        }
    }
}

}  // namespace

const ScreenCursor& ArrowScreenCursor()
{
    static const ScreenCursor arrow = {
        {0x0000, 0x4000, 0x6000, 0x7000, 0x7800, 0x7C00, 0x7E00, 0x7F00,
         0x7F80, 0x7C00, 0x6C00, 0x4600, 0x0600, 0x0300, 0x0300, 0x0000},
        {0xC000, 0xE000, 0xF000, 0xF800, 0xFC00, 0xFE00, 0xFF00, 0xFF80,
         0xFFC0, 0xFFE0, 0xFE00, 0xEF00, 0xCF00, 0x0780, 0x0780, 0x0380},
        {1, 1},
        false,
        {},
    };
    return arrow;
}

OSErr InitScreen(int16_t width, int16_t height)
{
    if (width < 64 || height < 64 || width > kMaxScreenSide || height > kMaxScreenSide) return paramErr;
    ScreenState& s = State();
    const Rect bounds{0, 0, height, width};
    const Rect barBounds{0, 0, kMenuBarHeight, width};
    GWorldPtr frame = nullptr, menuBar = nullptr, overlay = nullptr;
    OSErr err = NewGWorld(&frame, 32, &bounds, nullptr, nullptr, 0);
    if (!err) err = NewGWorld(&menuBar, 32, &barBounds, nullptr, nullptr, 0);
    if (!err) err = NewGWorld(&overlay, 32, &bounds, nullptr, nullptr, 0);
    if (err) {
        DisposeGWorld(frame);
        DisposeGWorld(menuBar);
        DisposeGWorld(overlay);
        return err;
    }
    DisposeWorlds(s);
    s.frame = frame;
    s.menuBar = menuBar;
    s.overlay = overlay;
    s.bounds = bounds;
    PaintEmptyMenuBar(menuBar);
    ClearOverlay();
    ConfigureMainDevice(&bounds, GetGWorldPixMap(frame));
    return noErr;
}

void DisposeScreen()
{
    ScreenState& s = State();
    ConfigureMainDevice(nullptr, nullptr);
    DisposeWorlds(s);
    s.bounds = Rect{0, 0, 0, 0};
    s.cursor = ArrowScreenCursor();
    s.cursorVisible = true;
    s.obscured = false;
    s.menus.clear();
}

static void EnsureScreen()
{
    if (!State().frame) InitScreen();
}

Rect ScreenBounds()
{
    EnsureScreen();
    return State().bounds;
}

int16_t GetMBarHeight() { return kMenuBarHeight; }

Rect MenuBarRect()
{
    Rect r = ScreenBounds();
    r.bottom = kMenuBarHeight;
    return r;
}

void GetDesktopRegion(RgnHandle into)
{
    Rect r = ScreenBounds();
    r.top = kMenuBarHeight;
    RectRgn(into, &r);
}

CGrafPtr GetMenuBarPort()
{
    EnsureScreen();
    return State().menuBar;
}

CGrafPtr GetOverlayPort()
{
    EnsureScreen();
    return State().overlay;
}

void ClearOverlay()
{
    EnsureScreen();
    PixelTarget t = PixelTargetOf(State().overlay);
    FillPixels(t, t.bounds, 0x000000);
    NotePixelsWritten();
}

void SetScreenCursor(const ScreenCursor& cursor) { State().cursor = cursor; }
const ScreenCursor& CurrentScreenCursor() { return State().cursor; }
void SetScreenCursorVisible(bool visible) { State().cursorVisible = visible; }

void ObscureScreenCursor()
{
    State().obscured = true;
    State().obscuredAt = CurrentInput().mouse;
}

bool ScreenCursorShown()
{
    ScreenState& s = State();
    const Point mouse = CurrentInput().mouse;
    if (s.obscured && (mouse.h != s.obscuredAt.h || mouse.v != s.obscuredAt.v)) s.obscured = false;
    return s.cursorVisible && !s.obscured;
}

void AddMenuLayer(CGrafPtr world, Point topLeft)
{
    RemoveMenuLayer(world);
    State().menus.push_back({world, topLeft});
}

void RemoveMenuLayer(CGrafPtr world)
{
    auto& menus = State().menus;
    menus.erase(std::remove_if(menus.begin(), menus.end(), [&](const auto& m) { return m.world == world; }),
                menus.end());
}

void RemoveAllMenuLayers() { State().menus.clear(); }

const PixMap* ComposeScreen()
{
    EnsureScreen();
    UncountedDrawing composing;
    ScreenState& s = State();
    PixelTarget t = PixelTargetOf(s.frame);
    Rect desk = s.bounds;
    desk.top = kMenuBarHeight;
    FillPixels(t, desk, kDesktopColor);
    PaintWindowsOnScreen(t);
    CopyPixels(PixelTargetOf(s.menuBar), t);
    for (const auto& m : s.menus) CopyPixels(PixelTargetAt(m.world, m.topLeft), t);
    XorPixels(PixelTargetOf(s.overlay), t);
    if (ScreenCursorShown()) DrawCursor(t, s.cursor, CurrentInput().mouse);
    return *GetGWorldPixMap(s.frame);
}

uint64_t ScreenChangeSignature()
{
    ScreenState& s = State();
    uint64_t hash = 0xCBF29CE484222325ull;
    auto mix = [&](const void* bytes, size_t size) {
        const auto* p = static_cast<const uint8_t*>(bytes);
        for (size_t i = 0; i < size; ++i) hash = (hash ^ p[i]) * 0x100000001B3ull;
    };
    const uint64_t writes = PixelWriteCount();
    mix(&writes, sizeof writes);
    mix(&s.bounds, sizeof s.bounds);
    mix(&s.frame, sizeof s.frame);
    for (const auto& m : s.menus) {
        mix(&m.world, sizeof m.world);
        mix(&m.topLeft, sizeof m.topLeft);
    }
    const bool shown = ScreenCursorShown();
    mix(&shown, sizeof shown);
    if (shown) {
        const ScreenCursor& c = s.cursor;
        mix(c.data, sizeof c.data);
        mix(c.mask, sizeof c.mask);
        mix(&c.hotSpot, sizeof c.hotSpot);
        mix(&c.hasColor, sizeof c.hasColor);
        if (c.hasColor) mix(c.color, sizeof c.color);
        const Point mouse = CurrentInput().mouse;
        mix(&mouse, sizeof mouse);
    }
    return MixWindowFrames(hash);
}

uint32_t ScreenPixel(int16_t h, int16_t v)
{
    ComposeScreen();
    PixelTarget t = PixelTargetOf(State().frame);
    const uint32_t* p = PixelAddress(t, h, v);
    return p ? (*p & 0xFFFFFF) : 0;
}

OSErr WriteScreenPng(const std::string& path)
{
    return WritePNG(ComposeScreen(), path.c_str());
}

}  // namespace platform
