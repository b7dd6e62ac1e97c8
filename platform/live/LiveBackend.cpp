#include "platform/live/LiveBackend.h"

#include <SDL.h>

#include <algorithm>
#include <string>

#include "platform/dialogs/Dialogs.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/events/Events.h"
#include "platform/events/HostKeys.h"
#include "platform/events/InputState.h"
#include "platform/screen/Screen.h"

namespace platform {
namespace {

// While a tracking loop polls, the screen is shown at most this often.
constexpr uint32_t kPresentEveryMs = 10;
constexpr uint32_t kLongestWaitTicks = 15;

uint16_t HostModifiers(uint16_t sdl)
{
    uint16_t host = 0;
    if (sdl & KMOD_SHIFT) host |= kHostShift;
    if (sdl & KMOD_CTRL) host |= kHostCtrl;
    if (sdl & KMOD_ALT) host |= kHostAlt;
    if (sdl & KMOD_GUI) host |= kHostSuper;
    if (sdl & KMOD_CAPS) host |= kHostCapsLock;
    if (sdl & KMOD_NUM) host |= kHostNumLock;
    return host;
}

bool IsOffscreenDriver(const std::string& name) { return name == "offscreen" || name == "dummy"; }

}  // namespace

LiveBackend::LiveBackend() = default;

LiveBackend::~LiveBackend() { Stop(); }

bool LiveBackend::Start(const std::string& title, int scale, std::string* error)
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error) *error = SDL_GetError();
        return false;
    }
    // Without X11 or Wayland the video system falls back to a driver that
    // shows nothing: no one would see the window or give it input.
    if (const char* driver = SDL_GetCurrentVideoDriver(); !driver || IsOffscreenDriver(driver)) {
        if (error)
            *error = std::string("the video system offers only its off-screen driver, ") + (driver ? driver : "none");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    const Rect screen = ScreenBounds();
    const int width = screen.right - screen.left, height = screen.bottom - screen.top;
    scale_ = std::max(scale, 1);
    SDL_Rect usable;
    if (scale <= 0 && SDL_GetDisplayUsableBounds(0, &usable) == 0)
        scale_ = std::max(1, std::min(usable.w / width, usable.h / height));
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width * scale_,
                               height * scale_, SDL_WINDOW_RESIZABLE);
    if (window_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!window_ || !renderer_ || !MakeTexture()) {
        if (error) *error = SDL_GetError();
        Stop();
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
    SDL_StartTextInput();
    SetClock(&clock_);
    SetBackend(this);
    SetClipboardBridge(&clipboard_);
    heldKeys_ = uint16_t(SDL_GetModState());
    Present();
    return true;
}

void LiveBackend::Stop()
{
    if (window_) SetClipboardBridge(nullptr);
    if (CurrentBackend() == this) SetBackend(nullptr);
    if (&CurrentClock() == &clock_) SetClock(nullptr);
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) {
        SDL_DestroyWindow(window_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
}

bool LiveBackend::MakeTexture()
{
    const Rect screen = ScreenBounds();
    const int width = screen.right - screen.left, height = screen.bottom - screen.top;
    if (texture_ && width == textureWidth_ && height == textureHeight_) return true;
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
    textureWidth_ = width;
    textureHeight_ = height;
    return texture_ != nullptr;
}

void LiveBackend::FitScreenToWindow()
{
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    const int width = std::max(64, w / scale_), height = std::max(64, h / scale_);
    if (InitScreen(int16_t(std::min(width, 4000)), int16_t(std::min(height, 4000))) == noErr) MakeTexture();
}

void LiveBackend::Present()
{
    if (!renderer_ || !texture_) return;
    presented_ = ScreenChangeSignature();
    const PixMap* pm = ComposeScreen();
    mustPresent_ = false;
    SDL_UpdateTexture(texture_, nullptr, pm->baseAddr, pm->rowBytes & kRowBytesMask);
    SDL_RenderClear(renderer_);
    SDL_Rect dst{0, 0, textureWidth_ * scale_, textureHeight_ * scale_};
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
    SDL_RenderPresent(renderer_);
    lastPresentMs_ = SDL_GetTicks();
    ++presents_;
}

void LiveBackend::PresentIfChanged()
{
    if (mustPresent_ || ScreenChangeSignature() != presented_) Present();
}

void LiveBackend::Handle(const SDL_Event& e)
{
    auto at = [&](int x, int y) { return Point{int16_t(y / scale_), int16_t(x / scale_)}; };
    // The keys held when the event happened: a key event says so itself;
    // a click has the state the key events before it left. Never the state
    // at the time the queue is read, which may be long after.
    if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) heldKeys_ = uint16_t(e.key.keysym.mod);
    const uint16_t host = HostModifiers(heldKeys_);
    switch (e.type) {
    case SDL_QUIT:
        PostHighLevelEvent(kCoreEventClass, kAEQuitApplication, {});
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE)
            PostHighLevelEvent(kCoreEventClass, kAEQuitApplication, {});
        else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
            // Keys pressed or let go while another window had them.
            heldKeys_ = uint16_t(SDL_GetModState());
            InputSuspendResume(true);
        } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            InputSuspendResume(false);
        } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            FitScreenToWindow();
        }
        // Shown, uncovered or resized: the display needs the pixels again.
        if (e.window.event == SDL_WINDOWEVENT_SHOWN || e.window.event == SDL_WINDOWEVENT_EXPOSED ||
            e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED || e.window.event == SDL_WINDOWEVENT_RESTORED ||
            e.window.event == SDL_WINDOWEVENT_MAXIMIZED)
            mustPresent_ = true;
        break;
    case SDL_MOUSEMOTION:
        InputMouseMoved(at(e.motion.x, e.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        HostButton b = e.button.button == SDL_BUTTON_RIGHT    ? HostButton::Right
                       : e.button.button == SDL_BUTTON_MIDDLE ? HostButton::Middle
                                                              : HostButton::Left;
        InputButton(e.type == SDL_MOUSEBUTTONDOWN, at(e.button.x, e.button.y), MacModifiersForButton(b, host));
        break;
    }
    case SDL_MOUSEWHEEL:
        if (e.wheel.y) InputWheel(int16_t(e.wheel.y), false);
        if (e.wheel.x) InputWheel(int16_t(e.wheel.x), true);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        MacKey key;
        const bool down = e.type == SDL_KEYDOWN;
        const uint16_t usage = uint16_t(e.key.keysym.scancode);
        const SDL_Keycode sym = e.key.keysym.sym;
        // The layout's character for the key: a keycode without the
        // scancode mark is one.
        const char32_t layoutChar = (sym & SDLK_SCANCODE_MASK) || sym < 0 ? 0 : char32_t(sym);
        if (!MacKeyForHidUsage(usage, host, &key, layoutChar)) break;
        const uint16_t mods = MacModifiersForHost(host);
        if (key.modifier) {
            InputKeyState(key.keyCode, down);
            InputModifiers(mods);
        } else if (down && KeyTypesText(usage, host)) {
            // Its character comes with the text input that follows, as the
            // layout or the input method makes it.
            InputKeyState(key.keyCode, true);
            InputModifiers(mods);
            textKey_ = key.keyCode;
        } else {
            InputKey(down, down && e.key.repeat, key.charCode, key.keyCode, mods);
        }
        break;
    }
    case SDL_TEXTINPUT:
        // With Ctrl or Super held the key itself gave its character.
        if (host & (kHostCtrl | kHostSuper)) break;
        if (InputText(e.text.text, textKey_, MacModifiersForHost(host)) > 0) SysBeep(1);
        break;
    case SDL_DROPFILE:
        if (e.drop.file) {
            PostHighLevelEvent(kCoreEventClass, kAEOpenDocuments, {std::string(e.drop.file)});
            SDL_free(e.drop.file);
        }
        break;
    default:
        break;
    }
}

bool LiveBackend::Clipboard::TakeChange(std::string* utf8)
{
    std::string now;
    if (SDL_HasClipboardText()) {
        char* text = SDL_GetClipboardText();
        if (text) {
            now = text;
            SDL_free(text);
        }
    }
    // What was there before we first looked counts as a copy by another program.
    const bool changed = !looked_ ? !now.empty() : now != known_;
    looked_ = true;
    known_ = now;
    if (changed && utf8) *utf8 = now;
    return changed;
}

void LiveBackend::Clipboard::Put(const std::string& utf8)
{
    if (SDL_SetClipboardText(utf8.c_str()) == 0) {
        known_ = utf8;
        looked_ = true;
    }
}

void LiveBackend::Pump()
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) Handle(e);
}

void LiveBackend::Poll()
{
    Pump();
    if (SDL_GetTicks() - lastPresentMs_ >= kPresentEveryMs) PresentIfChanged();
}

uint32_t LiveBackend::Wait(uint32_t ticks)
{
    PresentIfChanged();
    const uint32_t start = clock_.Ticks();
    // Asleep until input comes; a signal's quit request is looked for at
    // least this often, since a signal need not wake the display's wait.
    const int ms = int(std::min<uint32_t>(ticks, kLongestWaitTicks) * 1000 / 60);
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, std::max(ms, 1))) Handle(e);
    Pump();
    return clock_.Ticks() - start;
}

}  // namespace platform
