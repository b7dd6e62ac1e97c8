// The live backend: an SDL2 window showing the virtual screen, the real
// clock, the real keyboard and mouse. The screen is presented from within
// waits and polls whenever it changed, so modal and tracking loops stay
// live while an idle program costs nothing: a wait sleeps until input.
// Every event carries the modifier keys of its own moment. The window can
// be resized (the screen follows it) and shows the screen scaled by a whole
// factor; files dropped on it arrive as an open-documents event, its close
// button as a quit request. Typed text comes from the desktop's text input
// (any layout, input methods), converted to Mac Roman here: a character Mac
// Roman lacks is refused with a beep. Text on the scrap and on the system
// clipboard is kept the same both ways.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/Clock.h"
#include "platform/events/Backend.h"
#include "platform/scrap/Scrap.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace platform {

class LiveBackend final : public Backend {
public:
    LiveBackend();
    ~LiveBackend() override;

    // Opens the window over the current screen and installs the backend
    // and the real clock. `scale` 0 picks the largest factor that fits the
    // display. False (with *error) when no display can be had: a video
    // driver that shows nothing (off-screen, dummy) counts as none.
    bool Start(const std::string& title, int scale, std::string* error);
    void Stop();
    using Backend::Stop;

    uint32_t Now() override { return clock_.Ticks(); }
    void Pump() override;
    void Poll() override;
    uint32_t Wait(uint32_t ticks) override;

    // Shows the screen now.
    void Present();
    // Shows the screen when it changed since it was last shown.
    void PresentIfChanged();
    int Scale() const { return scale_; }
    // How many times the screen was shown, and where (tests).
    uint32_t Presents() const { return presents_; }
    SDL_Renderer* Renderer() const { return renderer_; }

private:
    void Handle(const SDL_Event& event);
    void FitScreenToWindow();
    bool MakeTexture();

    // The system clipboard through SDL: text only.
    class Clipboard final : public ClipboardBridge {
    public:
        bool TakeChange(std::string* utf8) override;
        void Put(const std::string& utf8) override;

    private:
        std::string known_;  // what the clipboard held when last looked at
        bool looked_ = false;
    };

    RealClock clock_;
    Clipboard clipboard_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureWidth_ = 0;
    int textureHeight_ = 0;
    int scale_ = 1;
    uint32_t lastPresentMs_ = 0;
    uint64_t presented_ = 0;      // the screen's change signature when shown
    bool mustPresent_ = true;     // the display lost what it showed
    uint16_t heldKeys_ = 0;       // modifier keys as of the last event handled
    uint8_t textKey_ = 0;         // the key of the text input to come
    uint32_t presents_ = 0;
};

}  // namespace platform
