// The live backend under a virtual X server: it starts, shows the screen,
// takes a synthetic key and click, and answers the window's close button
// with a quit request. Exits 0 on success; every loop is bounded.
#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/dialogs/Dialogs.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/events/Events.h"
#include "platform/live/LiveBackend.h"
#include "platform/core/FourCC.h"
#include "platform/scrap/Scrap.h"
#include "platform/screen/Screen.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace {

int failures = 0;

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "live smoke: %s\n", what);
        ++failures;
    }
}

bool Next(uint16_t mask, EventRecord* e)
{
    for (int i = 0; i < 300; ++i)
        if (WaitNextEvent(mask, e, 1, nullptr)) return true;
    return false;
}

void Push(SDL_Event e)
{
    e.common.timestamp = SDL_GetTicks();
    SDL_PushEvent(&e);
}

}  // namespace

int main()
{
    if (InitScreen(640, 480) != noErr) return 1;
    LiveBackend live;
    std::string error;
    if (!live.Start("smoke", 1, &error)) {
        std::fprintf(stderr, "live smoke: cannot start: %s\n", error.c_str());
        return 1;
    }
    Rect r{100, 100, 300, 400};
    WindowRef w = NewCWindow(nullptr, &r, nullptr, true, zoomDocProc, kFirstWindowOfClass, true, 0);
    Check(w != nullptr, "no window");
    live.Present();

    // Once the display's own events of the new window are over, an idle wait
    // shows nothing again; drawing is shown by the next wait, no input.
    EventRecord idle{};
    for (int quiet = 0, i = 0; quiet < 3 && i < 300; ++i) {
        const uint32_t before = live.Presents();
        const bool got = WaitNextEvent(everyEvent, &idle, 1, nullptr);
        quiet = !got && live.Presents() == before ? quiet + 1 : 0;
    }
    const uint32_t shown = live.Presents();
    for (int i = 0; i < 5; ++i) WaitNextEvent(everyEvent, &idle, 1, nullptr);
    Check(live.Presents() == shown, "the screen is shown again while nothing changes");
    SetPortWindowPort(w);
    RGBColor green{0, 0xFFFF, 0};
    RGBForeColor(&green);
    Rect patch{10, 10, 30, 30};
    PaintRect(&patch);
    WaitNextEvent(everyEvent, &idle, 1, nullptr);
    Check(live.Presents() == shown + 1, "a change is not shown at the next wait");
    uint32_t pixel = 0;
    SDL_Rect probe{100 + 20, 100 + 20, 1, 1};  // the patch, in the window's content
    SDL_RenderReadPixels(live.Renderer(), &probe, SDL_PIXELFORMAT_RGB888, &pixel, 4);
    Check((pixel & 0xFFFFFF) == 0x00FF00, "the display does not show what was drawn");
    ForeColor(blackColor);

    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.scancode = SDL_SCANCODE_C;
    key.key.keysym.sym = SDLK_c;
    key.key.keysym.mod = KMOD_LCTRL;
    key.key.state = SDL_PRESSED;
    Push(key);
    EventRecord e{};
    Check(Next(keyDownMask, &e), "no key-down");
    Check((e.message & charCodeMask) == 'c', "Ctrl-C is not 'c'");
    Check((e.modifiers & cmdKey) != 0, "Ctrl is not the command key");

    // Typed text comes from the text input, in Mac Roman, with the key that
    // typed it; the key posts nothing of its own. What Mac Roman lacks is
    // refused with a beep. On a German layout Ctrl-Z is the key marked Z.
    FlushEvents(everyEvent, 0);
    SDL_Event typed{};
    typed.type = SDL_KEYDOWN;
    typed.key.keysym.scancode = SDL_SCANCODE_E;
    typed.key.keysym.sym = SDLK_e;
    Push(typed);
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::strcpy(text.text.text, "\xC3\xA9");
    Push(text);
    Check(Next(keyDownMask, &e) && (e.message & charCodeMask) == 0x8E && ((e.message & keyCodeMask) >> 8) == 0x0E,
          "typed e-acute is not Mac Roman 0x8E from its key");
    const uint32_t beeps = SysBeepCount();
    std::strcpy(text.text.text, "\xE6\x97\xA5\xF0\x9F\x98\x80");
    Push(text);
    std::strcpy(text.text.text, "x");
    Push(text);
    Check(Next(keyDownMask, &e) && (e.message & charCodeMask) == 'x', "what follows refused text is lost");
    Check(SysBeepCount() == beeps + 1, "refused text does not beep once");
    typed.key.keysym.scancode = SDL_SCANCODE_Y;
    typed.key.keysym.sym = SDLK_z;
    typed.key.keysym.mod = KMOD_LCTRL;
    Push(typed);
    Check(Next(keyDownMask, &e) && (e.message & charCodeMask) == 'z' && ((e.message & keyCodeMask) >> 8) == 0x10 &&
              (e.modifiers & cmdKey),
          "Ctrl and the German layout's Z key is not Command-z");
    // With num lock off the keypad is the keys it shows: its 8 the up arrow;
    // with num lock on it types.
    typed.key.keysym.scancode = SDL_SCANCODE_KP_8;
    typed.key.keysym.sym = SDLK_KP_8;
    typed.key.keysym.mod = KMOD_NONE;
    Push(typed);
    Check(Next(keyDownMask, &e) && ((e.message & keyCodeMask) >> 8) == 0x7E && (e.message & charCodeMask) == 30,
          "the keypad's 8 with num lock off is not the up arrow");
    typed.key.keysym.mod = KMOD_NUM;
    Push(typed);
    std::strcpy(text.text.text, "8");
    Push(text);
    Check(Next(keyDownMask, &e) && (e.message & charCodeMask) == '8', "the keypad's 8 with num lock on does not type 8");

    // A burst typed faster than it is read: six Ctrl-N, each Ctrl let go
    // before anything is drained, then a shift-click. Every event keeps the
    // keys of its own moment, not those held when the queue is read.
    FlushEvents(everyEvent, 0);
    auto push = [](uint32_t type, SDL_Scancode code, uint16_t mod) {
        SDL_Event k{};
        k.type = type;
        if (type == SDL_KEYDOWN || type == SDL_KEYUP) k.key.keysym.scancode = code, k.key.keysym.mod = mod;
        else k.button.button = SDL_BUTTON_LEFT, k.button.x = 150, k.button.y = 200;
        Push(k);
    };
    for (int i = 0; i < 6; ++i) {
        push(SDL_KEYDOWN, SDL_SCANCODE_LCTRL, KMOD_LCTRL), push(SDL_KEYDOWN, SDL_SCANCODE_N, KMOD_LCTRL);
        push(SDL_KEYUP, SDL_SCANCODE_N, KMOD_LCTRL), push(SDL_KEYUP, SDL_SCANCODE_LCTRL, KMOD_NONE);
    }
    push(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT), push(SDL_MOUSEBUTTONDOWN, {}, 0);
    push(SDL_MOUSEBUTTONUP, {}, 0), push(SDL_KEYUP, SDL_SCANCODE_LSHIFT, KMOD_NONE);
    SDL_SetModState(KMOD_NONE);
    int commandN = 0;
    for (int i = 0; i < 6; ++i) commandN += Next(keyDownMask, &e) && (e.modifiers & cmdKey) && (e.message & 0xFF) == 'n';
    Check(commandN == 6, "a Ctrl-N of the burst lost its Ctrl");
    Check(Next(mDownMask, &e) && (e.modifiers & shiftKey), "the shift-click lost its shift");
    FlushEvents(everyEvent, 0);

    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_RIGHT;
    click.button.state = SDL_PRESSED;
    click.button.x = 150;
    click.button.y = 200;
    Push(click);
    click.type = SDL_MOUSEBUTTONUP;
    click.button.state = SDL_RELEASED;
    Push(click);
    Check(Next(mDownMask, &e), "no mouse-down");
    Check(e.where.h == 150 && e.where.v == 200, "click at the wrong place");
    Check((e.modifiers & controlKey) != 0, "the right button is not a control-click");
    WindowRef found = nullptr;
    Check(FindWindow(e.where, &found) == inContent && found == w, "the click is not in the window");

    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    Push(close);
    Check(Next(highLevelEventMask, &e), "no quit request");
    Check(HighLevelEventID(e) == kAEQuitApplication, "the close button is not a quit request");

    // The scrap's text reaches the system clipboard as UTF-8 with LF, and
    // another program's copy comes back as a new scrap.
    ScrapRef scrap = nullptr;
    ClearCurrentScrap();
    GetCurrentScrap(&scrap);
    Check(PutScrapFlavor(scrap, FourCC("TEXT"), 0, 2, "\x8E\x0D") == noErr, "cannot put text on the scrap");
    char* system = SDL_GetClipboardText();
    Check(system && std::string(system) == "\xC3\xA9\n", "the system clipboard does not hold e-acute and LF");
    SDL_free(system);
    ScrapRef same = nullptr;
    GetCurrentScrap(&same);
    Check(same == scrap, "our own copy counts as another program's");
    char back[4] = {};
    Size size = 4;
    Check(GetScrapFlavorData(same, FourCC("TEXT"), &size, back) == noErr && size == 2 && back[0] == '\x8E' && back[1] == '\r',
          "the text does not read back");
    SDL_SetClipboardText("x\ny");
    ScrapRef outside = nullptr;
    GetCurrentScrap(&outside);
    size = 4;
    Check(outside != scrap && GetScrapFlavorData(outside, FourCC("TEXT"), &size, back) == noErr && size == 3 &&
              std::string(back, 3) == "x\ry",
          "another program's copy is not seen");
    SDL_SetClipboardText("\xC3\xA9\n");
    ScrapRef again = nullptr;
    GetCurrentScrap(&again);
    size = 4;
    Check(again != outside && GetScrapFlavorData(again, FourCC("TEXT"), &size, back) == noErr && size == 2 &&
              back[0] == '\x8E' && back[1] == '\r',
          "e-acute and LF from the system clipboard do not read as Mac Roman text");

    DisposeWindow(w);
    live.Stop();
    DisposeScreen();
    return failures ? 1 : 0;
}
