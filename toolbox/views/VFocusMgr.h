// The keyboard focus of one window (or of a view nesting its own): the
// focus frame, the default focus, the tab order and the frames that want
// focus notices. It answers the focus commands frames send up their chain.
#pragma once

#include <cstdint>
#include <vector>

#include "toolbox/foundation/VObject.h"

class VFrame;
class VKeySwitch;

class VFocusMgr : public VObject {
public:
    explicit VFocusMgr(VFrame* owner);
    ~VFocusMgr() override;
    VFocusMgr(const VFocusMgr&) = delete;
    VFocusMgr& operator=(const VFocusMgr&) = delete;

    // The window becomes active or inactive.
    void DoTakeFocus();
    void DoLoseFocus();
    void DoIdle();
    // 1 not taken, 0 taken; 2 and 3 a tab left this (nested) manager
    // forward or backward.
    int32_t DoKey(VKeySwitch& key, bool tabMovesFocus);
    void MakeNextFocus(bool shift);
    void Notify(VFrame* oldFocus, VFrame* newFocus);
    // True when handled (every focus number but -1992 answers true; -1992
    // answers whether the focus was given).
    intptr_t DoCommand(VObject* sender, int32_t command, intptr_t param);

    VFrame* GetOwner() const { return fOwner; }
    VFrame* GetFocus() const { return fFocus; }
    VFrame* GetDefault() const { return fDefault; }
    int32_t GetUsers() const { return fUsers; }
    const std::vector<VFrame*>& GetTabOrder() const { return fTabOrder; }
    const std::vector<VFrame*>& GetNotified() const { return fNotified; }

private:
    void ChangeFocus(VFrame* newFocus);
    void FocusLost(VFrame* sender);
    void DropNotified(VFrame* frame);
    bool IsLeaving(VFrame* frame) const;

    VFrame* fOwner;
    int32_t fUsers = 1;
    int32_t fNotifyDepth = 0;
    VFrame* fFocus = nullptr;
    VFrame* fDefault = nullptr;
    std::vector<VFrame*> fTabOrder;
    std::vector<VFrame*> fNotified;
    std::vector<VFrame*> fLeaving;
};

// The focus manager of the active window, or null.
extern VFocusMgr* gCurFocus;
