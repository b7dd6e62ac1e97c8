#include "kernel/guards/DrawingGuards.h"

#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"

using platform::GrafPtr;

APortSaver::APortSaver(GrafPtr windowPort) : fSavedPort(nullptr)
{
    platform::GetPort(&fSavedPort);
    platform::SetPort(windowPort);
}

APortSaver::~APortSaver() { platform::SetPort(fSavedPort); }

ClipSaver::ClipSaver() : fSavedClip(platform::NewRgn()), fPort(nullptr)
{
    platform::GetPort(&fPort);
    if (fSavedClip) platform::GetClip(fSavedClip);
}

ClipSaver::~ClipSaver()
{
    RestoreClip();
    if (fSavedClip) platform::DisposeRgn(fSavedClip);
}

void ClipSaver::RestoreClip()
{
    if (!fSavedClip || !fPort) return;
    GrafPtr previous = nullptr;
    platform::GetPort(&previous);
    if (previous != fPort) platform::SetPort(fPort);
    platform::SetClip(fSavedClip);
    if (previous != fPort) platform::SetPort(previous);
}

void ClipSaver::ClipRect(const platform::Rect& r)
{
    if (!fSavedClip || !fPort) return;
    GrafPtr previous = nullptr;
    platform::GetPort(&previous);
    if (previous != fPort) platform::SetPort(fPort);
    platform::RgnHandle within = platform::NewRgn();
    if (within) {
        platform::RectRgn(within, &r);
        platform::SectRgn(fSavedClip, within, within);
        platform::SetClip(within);
        platform::DisposeRgn(within);
    }
    if (previous != fPort) platform::SetPort(previous);
}

namespace {

void SetFontAsIs(int16_t font) { platform::TextFont(font); }

FontSaver::TextFontProc gTextFontProc = SetFontAsIs;

}  // namespace

void FontSaver::SetTextFontProc(TextFontProc proc) { gTextFontProc = proc ? proc : SetFontAsIs; }

FontSaver::FontSaver(bool saveNow)
{
    if (saveNow) SaveFont();
}

FontSaver::~FontSaver() { RestoreFont(); }

void FontSaver::SaveFont()
{
    platform::GetPort(&fPort);
    fFont = platform::GetPortTextFont(fPort);
    fSize = platform::GetPortTextSize(fPort);
    fFace = int16_t(platform::GetPortTextFace(fPort) & 0xFF);
}

void FontSaver::RestoreFont()
{
    if (!fPort) return;
    GrafPtr current = nullptr;
    platform::GetPort(&current);
    if (current == fPort) {
        if (platform::GetPortTextFont(fPort) != fFont) gTextFontProc(fFont);
        if (platform::GetPortTextSize(fPort) != fSize) platform::TextSize(fSize);
        if ((platform::GetPortTextFace(fPort) & 0xFF) != fFace) platform::TextFace(fFace);
    }
    fPort = nullptr;
}
