// The Windows look: grey 0xC0C0C0 faces, navy selection, bitmap check
// boxes and radio buttons, centred arrow icons, two-level button bevels and
// list header items with sort arrows.
#pragma once

#include "toolbox/drawing/VLookHandler.h"

class VIcon;

class VWinLookHandler : public VLookHandler {
public:
    VWinLookHandler() = default;
    ~VWinLookHandler() override;
    VWinLookHandler(const VWinLookHandler&) = delete;
    VWinLookHandler& operator=(const VWinLookHandler&) = delete;

    bool Paint(VPainter* painter, PaintMethod method, PaintStatus status, int32_t left, int32_t top, int32_t width,
               int32_t height, const VString* text, void* extra) override;
    uint32_t GetStdColor(StdColor color) override;
    bool GetStdFont(platform::CGrafPtr port, StdFont font, VString& name, int16_t& size, uint8_t& bold,
                    uint8_t& italic) override;
    int32_t GetStdBehaviour(StdBehaviour behaviour) override;

    VIcon* MakeScrollIcon(VPainter* painter, PaintMethod method);
    VIcon* MakeCheckIcon(VPainter* painter, PaintStatus status);
    VIcon* MakeRadioIcon(VPainter* painter, PaintStatus status);

    // flags bit 0 sorted ascending, bit 1 descending (bits 2 and 3, the
    // neighbours, are not drawn by this look).
    void DrawListHeaderItem(VPainter* painter, PaintMethod method, PaintStatus status, uint16_t flags, int32_t left,
                            int32_t top, int32_t width, int32_t height);
    // kind 42 up, 43 down; any other draws nothing.
    void DrawListHeaderSortArrow(VPainter* painter, PaintMethod kind, PaintStatus status, int32_t left, int32_t top,
                                 int32_t width, int32_t height);

private:
    VIcon* fArrows[4] = {};
    VIcon* fChecks[9] = {};
    VIcon* fRadios[9] = {};
};

namespace look {

// The slot (0 to 8) of a check box or radio button icon for the status:
// normal, checked, mixed, then pushed and disabled of each; any other
// status the normal one.
int16_t ToggleIconSlot(PaintStatus status);
// The names of the slots, after a prefix such as "WinCheck".
extern const char* const kToggleIconSuffixes[9];
// The check box and radio button of the Windows and Cop looks: the icon at
// (l + 4, centred), the caption beside it, engraved only when disabled.
void DrawToggle(VPainter* painter, VLookHandler* look, VIcon* icon, PaintStatus status, const VString* text,
                int32_t l, int32_t t, int32_t w, int32_t h);
// The named icon of a slot, loaded into slots[slot] on first use.
VIcon* LoadToggleIcon(VIcon** slots, VPainter* painter, const char* prefix, PaintStatus status);

}  // namespace look
