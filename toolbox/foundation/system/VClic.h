// One mouse event in toolbox terms: where (in the coordinates of the frame
// handling it), when, which button and keys, how many clicks, and the lines
// a wheel turned.
#pragma once

#include <cstdint>

#include "platform/events/Events.h"
#include "platform/windows/Windows.h"
#include "toolbox/foundation/VPoint.h"

class VClic : public VPoint {
public:
    VClic(int32_t h, int32_t v) : VPoint(h, v), fFirstX(h), fFirstY(v) {}
    // The mouse as it is now: position, ticks, button and keys.
    VClic();
    VClic(const platform::EventRecord& event, platform::WindowRef window);
    VClic(const VClic&) = default;
    VClic& operator=(const VClic&) = default;

    // Without a window, the window under the event's point is used.
    void FromEvent(const platform::EventRecord& event, platform::WindowRef window);
    // The click count from the system's click counting, stored.
    int32_t Register();
    bool IsADoubleClic() const { return fCount >= 2; }

    virtual void SetTicks(uint32_t ticks) { fTicks = ticks; }
    virtual void SetUp(bool up) { fUp = up; }
    virtual void SetDown(bool down) { fUp = !down; }
    virtual void SetLeft(bool left) { fRight = !left; }
    virtual void SetRight(bool right) { fRight = right; }
    virtual void SetCtrlKey(bool on) { fCtrl = on; }
    virtual void SetAltKey(bool on) { fAlt = on; }
    virtual void SetShiftKey(bool on) { fShift = on; }

    uint32_t GetTicks() const { return fTicks; }
    bool IsUp() const { return fUp; }
    // A control-click counts as a right click.
    bool IsRight() const { return fRight; }
    bool IsCtrlKey() const { return fCtrl; }  // the command key
    bool IsAltKey() const { return fAlt; }
    bool IsShiftKey() const { return fShift; }
    int16_t GetCount() const { return fCount; }
    int16_t GetWheelDelta() const { return fWheelDelta; }
    void SetWheelDelta(int16_t lines) { fWheelDelta = lines; }
    bool IsFromEvent() const { return fFromEvent; }
    const platform::EventRecord& GetEvent() const { return fEvent; }
    void GetFirstPos(int32_t& x, int32_t& y) const
    {
        x = fFirstX;
        y = fFirstY;
    }

private:
    platform::EventRecord fEvent{};
    bool fFromEvent = false;
    uint32_t fTicks = 0;
    int32_t fFirstX = 0;
    int32_t fFirstY = 0;
    int16_t fCount = 0;
    bool fUp = false;
    bool fRight = false;
    bool fCtrl = false;
    bool fAlt = false;
    bool fShift = false;
    int16_t fWheelDelta = 0;
};
