// Guards that save a piece of drawing state and put it back when they end.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

// Records the current port, makes the given (window) port current, and
// makes the recorded port current again when it goes.
class APortSaver {
public:
    explicit APortSaver(platform::GrafPtr windowPort);
    ~APortSaver();
    APortSaver(const APortSaver&) = delete;
    APortSaver& operator=(const APortSaver&) = delete;

private:
    platform::GrafPtr fSavedPort;
};

// Keeps a copy of a port's clip region. The user makes the region and
// records the port (see the constructor); the saver owns the region.
class ClipSaver {
public:
    // Copies the current port's clip into a new region.
    ClipSaver();
    ~ClipSaver();
    ClipSaver(const ClipSaver&) = delete;
    ClipSaver& operator=(const ClipSaver&) = delete;

    // Gives the saved port its saved clip back.
    void RestoreClip();
    // Clips the saved port to the saved region within `r`.
    void ClipRect(const platform::Rect& r);

private:
    platform::RgnHandle fSavedClip;
    platform::GrafPtr fPort;
};

// Saves the current port's text font, size and face, and sets them back
// when the same port is current again.
class FontSaver {
public:
    explicit FontSaver(bool saveNow);
    virtual ~FontSaver();
    FontSaver(const FontSaver&) = delete;
    FontSaver& operator=(const FontSaver&) = delete;

    void SaveFont();
    void RestoreFont();

    // How a font number becomes the port's font (0 is the system font, 1
    // the application font). The looks layer installs its font setter;
    // until then the number is set as it is. Null puts that back.
    using TextFontProc = void (*)(int16_t font);
    static void SetTextFontProc(TextFontProc proc);

private:
    platform::GrafPtr fPort = nullptr;
    int16_t fFont = 0;
    int16_t fSize = 0;
    int16_t fFace = 0;
};
