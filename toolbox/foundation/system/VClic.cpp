#include "toolbox/foundation/system/VClic.h"

#include "platform/drawing/Ports.h"
#include "platform/events/InputState.h"
#include "toolbox/foundation/system/VSystem.h"

VClic::VClic()
{
    int32_t x = 0, y = 0;
    VSystem::GetMousePosition(x, y);
    SetPos(x, y);
    fFirstX = x;
    fFirstY = y;
    fTicks = VSystem::GetCurrentTicks();
    fUp = !platform::Button();
    const uint16_t mods = platform::CurrentInput().modifiers;
    fRight = (mods & platform::controlKey) != 0;
    fCtrl = (mods & platform::cmdKey) != 0;
    fAlt = (mods & platform::optionKey) != 0;
    fShift = (mods & platform::shiftKey) != 0;
}

VClic::VClic(const platform::EventRecord& event, platform::WindowRef window) { FromEvent(event, window); }

void VClic::FromEvent(const platform::EventRecord& event, platform::WindowRef window)
{
    platform::Point where = event.where;
    if (!window) platform::FindWindow(event.where, &window);
    if (window) {
        platform::GrafPtr saved = nullptr;
        platform::GetPort(&saved);
        platform::SetPortWindowPort(window);
        platform::GlobalToLocal(&where);
        platform::SetPort(saved);
    }
    SetPos(where.h, where.v);
    fFirstX = where.h;
    fFirstY = where.v;
    fTicks = event.when;
    fWheelDelta = 0;
    if (event.what == platform::mouseUp)
        fUp = true;
    else if (event.what == platform::mouseDown)
        fUp = false;
    else {
        if (event.what == platform::kMouseWheelEvent) fWheelDelta = int16_t(uint16_t(event.message & 0xFFFF));
        fUp = !platform::Button();
    }
    fRight = (event.modifiers & platform::controlKey) != 0;
    fCtrl = (event.modifiers & platform::cmdKey) != 0;
    fAlt = (event.modifiers & platform::optionKey) != 0;
    fShift = (event.modifiers & platform::shiftKey) != 0;
    fEvent = event;
    fFromEvent = true;
    fCount = 0;
}

int32_t VClic::Register()
{
    fCount = gSystem ? int16_t(gSystem->RegisterClic(*this)) : 0;
    return fCount;
}
