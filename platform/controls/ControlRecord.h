// The control record and the standard definitions, shared by the control
// manager's files. Code outside goes through Controls.h.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/Controls.h"

namespace platform {

struct ControlRecord {
    WindowRef owner = nullptr;
    Rect bounds{0, 0, 0, 0};
    int32_t value = 0;
    int32_t min = 0;
    int32_t max = 0;
    int32_t viewSize = 0;
    bool visible = true;
    uint8_t hilite = 0;
    unsigned char title[256] = {0};
    uintptr_t refCon = 0;
    ControlActionUPP action = nullptr;
    int16_t procID = 0;
    ControlDefUPP def = nullptr;
    ControlID id;
    // Standard kinds' data.
    std::string staticText;  // Mac Roman
    bool indeterminate = false;
    bool isDefault = false;  // a push button drawn with the default ring
    bool isCancel = false;
    uint8_t phase = 0;
    MenuRef popupMenu = nullptr;
    int16_t popupTitleWidth = 0;  // the title's column left of the button
    bool ownsPopupMenu = false;
    ControlUserPaneDrawProcPtr paneDraw = nullptr;
    ControlUserPaneHitTestProcPtr paneHitTest = nullptr;
    ControlUserPaneTrackingProcPtr paneTracking = nullptr;
    ControlUserPaneIdleProcPtr paneIdle = nullptr;
    ControlUserPaneActivateProcPtr paneActivate = nullptr;
    // A plain scroll bar's thumb being dragged: the outline drawn meanwhile.
    bool ghost = false;
    Rect ghostRect{0, 0, 0, 0};
};

inline int16_t DefinitionId(int16_t procID) { return int16_t(procID >> 4); }
inline int16_t Variation(int16_t procID) { return int16_t(procID & 15); }
inline intptr_t PackPoint(Point p) { return intptr_t(uint32_t(uint16_t(p.v)) << 16 | uint16_t(p.h)); }
inline Point UnpackPoint(intptr_t param)
{
    return Point{int16_t(uint16_t(uint32_t(param) >> 16)), int16_t(uint16_t(uint32_t(param)))};
}

// The definition of a procID: a registered one, else a standard kind;
// null when none.
ControlDefUPP FindControlDefinition(int16_t procID);
ControlDefUPP StandardControlDefinition(int16_t procID);
// The controls of a window, front to back (the last made in front).
std::vector<ControlRef>* ControlsOf(WindowRef window, bool create);
bool IsLiveControl(ControlRef control);
// Draws one control in its window, its port current meanwhile.
void DrawControlInPort(ControlRef control);
// Calls the control's definition with the current port set to its window.
int32_t CallControlDefinition(ControlRef control, int16_t message, intptr_t param);

// Scroll bars: the track between the arrows and the thumb in it.
bool IsScrollBar(const ControlRecord& c);
bool IsLiveScrollBar(const ControlRecord& c);
bool ScrollBarHorizontal(const ControlRecord& c);
Rect ScrollBarTrack(const ControlRecord& c);
bool ScrollBarThumb(const ControlRecord& c, int32_t value, Rect* thumb);
// The value a thumb would have at that offset along the track.
int32_t ScrollBarValueAt(const ControlRecord& c, int32_t thumbStart);
bool IsPopupButton(const ControlRecord& c);
bool IsUserPane(const ControlRecord& c);
// The pop-up button's part of its bounds, right of the title.
Rect PopupButtonRect(const ControlRecord& c);

}  // namespace platform
