// The state of one picture being recorded on a port: the bytes so far and
// the port settings they last stated, so that each drawing call writes
// only the settings that changed before its own opcode.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/drawing/QuickDrawTypes.h"
#include "platform/pictures/PictWriter.h"

namespace platform {

struct PictureRecorder {
    GrafPtr port = nullptr;
    Handle picture = nullptr;
    PictWriter writer;
    bool outOfMemory = false;

    // Settings as the picture last stated them (playback starts from these).
    RgnHandle clip = nullptr;
    Point origin{0, 0};
    Point pnSize{1, 1};
    int16_t pnMode = patCopy;
    Pattern pnPat{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
    Pattern fillPat{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
    Pattern bkPat{{0, 0, 0, 0, 0, 0, 0, 0}};
    RGBColor fore{0, 0, 0};
    RGBColor back{0xFFFF, 0xFFFF, 0xFFFF};
    RGBColor hilite{0xB5B5, 0xD5D5, 0xFFFF};
    RGBColor opColor{0x8000, 0x8000, 0x8000};
    Point ovSize{0, 0};
    int16_t txFont = 0;
    Style txFace = normal;
    int16_t txMode = srcOr;
    int16_t txSize = 0;
    Fixed spExtra = 0;
    Fixed chExtra = 0;
    Point textLoc{0, 0};
    bool textLocKnown = false;
    Point numer{1, 1};
    Point denom{1, 1};
    std::vector<int16_t> namedFonts;  // fonts whose name the picture holds

    // Writes the changed settings that every drawing call depends on.
    void SyncCommon();
    void SyncPen();
    void SyncText();
    // Writes one text opcode of at most 255 bytes placed at `at`.
    void TextRun(Point at, const uint8_t* text, int32_t count);
};

// The recorder of the port's open picture, or null.
inline PictureRecorder* RecorderOf(GrafPtr port) { return port ? port->picSave : nullptr; }

}  // namespace platform
