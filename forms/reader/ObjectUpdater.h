// Gathers the area that changed objects cover and has it redrawn when the
// updater ends: each rectangle grown by 5 on every side, the union by a
// further 16, invalidated in the window.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"
#include "platform/windows/Windows.h"

class LayoutObject;

class ObjectUpdater {
public:
    ObjectUpdater(platform::WindowRef window, int16_t originH, int16_t originV)
        : window_(window), originH_(originH), originV_(originV)
    {
    }
    ~ObjectUpdater();
    ObjectUpdater(const ObjectUpdater&) = delete;
    ObjectUpdater& operator=(const ObjectUpdater&) = delete;

    void AddObject(LayoutObject* object);
    void AddRect(const platform::Rect& r);
    bool HasArea() const { return hasArea_; }
    const platform::Rect& Area() const { return area_; }

private:
    platform::WindowRef window_;
    int16_t originH_, originV_;
    bool hasArea_ = false;
    platform::Rect area_{};
};
