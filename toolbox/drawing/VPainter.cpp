// Construction, binding, paint nesting, reset, the origin offset and the
// look of a painter.
#include "toolbox/drawing/VPainter.h"

#include <new>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/gestalt/Gestalt.h"
#include "platform/core/FourCC.h"
#include "platform/theme/Theme.h"
#include "toolbox/drawing/VFontBuffer.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/foundation/RealTruncation.h"

using namespace platform;

uint32_t VPainter::sPortID = 0;

namespace {

// Until told otherwise a painter draws solid, as a fresh port does: a painter
// that keeps the port's settings must not stamp a pattern of its own on the
// first line or fill it draws.
constexpr Pattern kUnsetPattern{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};

}  // namespace

VPainter::VPainter(CGrafPtr port, bool normalize) : fPortID(sPortID++)
{
    fLinePattern = kUnsetPattern;
    fFillPattern = kUnsetPattern;
    SetLook(-1);
    fNormalize = normalize;
    _InitPortRef(port);
    IsAppearanceAvailable();
}

VPainter::VPainter() : VPainter(nullptr, true) {}

VPainter::~VPainter()
{
    delete fFontCache;
    _DeInitPortRef(true);
    for (RgnHandle rgn : fClips) DisposeRgn(rgn);
}

// --- virtual operations a plain painter leaves empty -------------------

void VPainter::BeginOffscreen(IPainterFrame*) {}
void VPainter::EndOffscreen(bool) {}
void VPainter::EndOffscreen(const VRect&, bool) {}
void VPainter::EndOffscreen(const VRegion&, bool) {}
void VPainter::ForgetOffscreen() {}
bool VPainter::IsPictureRecorder() const { return false; }
bool VPainter::IsPrinterPainter() const { return false; }
int32_t VPainter::GetWidth() const { return 0; }
int32_t VPainter::GetHeight() const { return 0; }

// --- binding -------------------------------------------------------------

// Black on white, a normal pen and a white background pattern, leaving
// the platform's current port as it was.
void VPainter::NormalizePort(CGrafPtr port)
{
    if (!port) return;
    CGrafPtr savedPort;
    GDHandle savedDevice;
    GetGWorld(&savedPort, &savedDevice);
    SetGWorld(port, nullptr);
    const RGBColor black{0, 0, 0}, white{0xFFFF, 0xFFFF, 0xFFFF};
    RGBForeColor(&black);
    RGBBackColor(&white);
    PenNormal();
    Pattern whitePattern;
    BackPat(GetQDGlobalsWhite(&whitePattern));
    SetGWorld(savedPort, savedDevice);
}

void VPainter::_InitPortRef(CGrafPtr port)
{
    if (fCurPort && fNormalize) NormalizePort(fCurPort);
    fCurPort = fOwnPort = port;
    if (!port) return;
    fTextPos = {0, 0, 0};
    fTextAngle = 0;
    fLineDirty = fFillDirty = fEraseDirty = fTextModeDirty = true;
    fFontDirty = 7;
    fOffsetX = fOffsetY = 0;
    fScaling = false;
    fScaleX = fScaleY = 1.0;
    fLinePattern = fFillPattern = kUnsetPattern;
    fDrawingMode = fTextMode = 0;
    fEraseColor = fFillColor = fLineColor = fTextColor = kNoColor;
    fFace = 0;
    fFontSize = -1.0;
    fAppliedBack = fAppliedFore = kNoColor;
    fGrowIconPending = false;
    if (fNormalize) StandardSettings();
}

void VPainter::_DeInitPortRef(bool forget)
{
    if (fCurPort && fNormalize) NormalizePort(fCurPort);
    if (forget) fCurPort = fOwnPort = nullptr;
}

void VPainter::StandardSettings()
{
    if (!fCurPort) return;
    SetEraseStdColor(0);
    SetFillStdColor(10);
    SetLineStdColor(10);
    SetTextStdColor(10);
    SetFillStdPattern(kPatternBlack);
    SetLineStdPattern(kPatternBlack);
    SetLineWidth(1.0);
    SetDrawingTransferMode(kTransferCopy);
    SetStdFont(kStdFontDefault);
    SetTextTransferMode(kTransferOr);
}

// --- nesting -------------------------------------------------------------

void VPainter::BeginPaint(CGrafPtr port)
{
    if (fPaintLevel == 0 && !IsOffscreenOpen()) {
        fNormalize = true;
        if (!port) GetPort(&port);
        AddOffset(-fOffsetX, -fOffsetY);
        _InitPortRef(port);
    }
    ++fPaintLevel;
}

void VPainter::EndPaint()
{
    if (fPaintLevel <= 0) return;
    if (--fPaintLevel == 0 && !IsOffscreenOpen()) {
        _DeInitPortRef(false);
        RestoreOffset();
        fNormalize = false;
    }
}

// Binding sets the offset to 0; the pair pushed by BeginPaint is what
// brings the painter's offset back.
void VPainter::Reset()
{
    fOffscreens.clear();
    fOffsets.clear();
    fLostOffsets = 0;
    fTextPositions.clear();
    for (RgnHandle rgn : fClips) DisposeRgn(rgn);
    fClips.clear();
    NormalizePort(fCurPort);
    fOffsetX = fOffsetY = 0;
    fScaling = false;
    fScaleX = fScaleY = 1.0;
    fTextModeDirty = true;
    fTextPos.advance = 0;
    fTextAngle = 0;
    ForgetAppliedState();
}

void VPainter::ForgetAppliedState()
{
    fAppliedBack = fAppliedFore = kNoColor;
    fFontDirty = 7;
    fLineDirty = fFillDirty = fEraseDirty = true;
}

bool VPainter::IsAppearanceAvailable()
{
    static const bool available = [] {
        int32_t response = 0;
        return Gestalt(FourCC("appr"), &response) == noErr && (response & (1 << gestaltAppearanceExists));
    }();
    return available;
}

// --- origin offset ---------------------------------------------------------

void VPainter::SetScaling(bool on, double xFactor, double yFactor)
{
    fScaling = on;
    fScaleX = on ? xFactor : 1.0;
    fScaleY = on ? yFactor : 1.0;
}

void VPainter::AddOffset(int32_t dx, int32_t dy)
{
    if (fScaling) {
        dx = TruncateToLong(dx * fScaleX);
        dy = TruncateToLong(dy * fScaleY);
    }
    try {
        fOffsets.push_back({dx, dy});
    } catch (const std::bad_alloc&) {
        ++fLostOffsets;  // neither applied nor popped later
        return;
    }
    fOffsetX += dx;
    fOffsetY += dy;
}

void VPainter::RestoreOffset()
{
    if (fLostOffsets > 0) {
        --fLostOffsets;
        return;
    }
    if (fOffsets.empty()) return;
    OffsetPair pair = fOffsets.back();
    fOffsets.pop_back();
    fOffsetX -= pair.dx;
    fOffsetY -= pair.dy;
}

void VPainter::GetOffscreenOffset(int32_t& x, int32_t& y) const
{
    if (!IsOffscreenOpen() || fOffscreens.empty()) {
        x = y = 0;
        return;
    }
    x = fOffscreens.back().x;
    y = fOffscreens.back().y;
}

void VPainter::GetOffset(int32_t& x, int32_t& y) const
{
    GetOffscreenOffset(x, y);
    int64_t ox = int64_t(x) + fOffsetX, oy = int64_t(y) + fOffsetY;
    if (fScaling) {
        x = TruncateToLong(double(ox) / fScaleX);
        y = TruncateToLong(double(oy) / fScaleY);
    } else {
        x = int32_t(ox);
        y = int32_t(oy);
    }
}

// --- look --------------------------------------------------------------------

StdLook VPainter::SetLook(StdLook look)
{
    const StdLook previous = fLook;
    if (look < -1 || look == fLook) return previous;
    const StdLook wanted = (look == 2 || look == 3) ? 3 : 5;
    if (wanted != fLook) {
        fLook = wanted;
        fLookHandler = ::GetLookHandler(wanted);
    }
    return previous;
}

uint32_t VPainter::GetStdColor(StdColor color) const
{
    return fLookHandler ? fLookHandler->GetStdColor(color) : MakeStdColor(color);
}

// --- theme state guard -------------------------------------------------------

StNormalizeDrawingState::StNormalizeDrawingState()
{
    ThemeDrawingState state = nullptr;
    if (GetThemeDrawingState(&state) == noErr) fState = state;
    NormalizeThemeDrawingState();
}

StNormalizeDrawingState::~StNormalizeDrawingState()
{
    if (fState) SetThemeDrawingState(fState, true);
}
