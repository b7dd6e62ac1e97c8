#include "toolbox/views/VFocusMgr.h"

#include <algorithm>

#include "platform/drawing/Ports.h"
#include "platform/windows/Windows.h"

#include "toolbox/views/VFrame.h"
#include "toolbox/views/VKeySwitch.h"

VFocusMgr* gCurFocus = nullptr;

namespace {

void AddUnique(std::vector<VFrame*>& list, VFrame* frame)
{
    if (frame && std::find(list.begin(), list.end(), frame) == list.end()) list.push_back(frame);
}

void Remove(std::vector<VFrame*>& list, VFrame* frame)
{
    auto it = std::find(list.begin(), list.end(), frame);
    if (it != list.end()) list.erase(it);
}

template <typename T>
void Store(intptr_t address, T value)
{
    if (address) *reinterpret_cast<T*>(address) = value;
}

}  // namespace

VFocusMgr::VFocusMgr(VFrame* owner) : fOwner(owner) {}

VFocusMgr::~VFocusMgr()
{
    if (gCurFocus == this) gCurFocus = nullptr;
}

void VFocusMgr::ChangeFocus(VFrame* newFocus)
{
    VFrame* old = fFocus;
    Notify(old, newFocus);
    // Set first, so the old frame's loss notice finds it no longer focus.
    fFocus = newFocus;
    if (old) old->DoLoseFocus(newFocus);
    if (newFocus) newFocus->DoTakeFocus();
}

void VFocusMgr::DoTakeFocus()
{
    gCurFocus = this;
    if (!fFocus && fDefault) {
        Notify(nullptr, fDefault);
        fDefault->DoTakeFocus();
    }
}

void VFocusMgr::DoLoseFocus()
{
    gCurFocus = nullptr;
    if (fFocus) {
        Notify(fFocus, nullptr);
        fFocus->DoLoseFocus(nullptr);
    }
}

void VFocusMgr::DoIdle()
{
    if (fFocus) return;
    if (fDefault) {
        Notify(nullptr, fDefault);
        fDefault->DoTakeFocus();
    } else {
        MakeNextFocus(false);
    }
}

int32_t VFocusMgr::DoKey(VKeySwitch& key, bool tabMovesFocus)
{
    int32_t result = 1;
    if (fFocus) {
        // The focus frame's window port is current while it handles the key.
        platform::GrafPtr saved = nullptr;
        platform::GetPort(&saved);
        platform::WindowRef window = fFocus->GetParentMacHwnd();
        const bool switched = window && platform::GetWindowPort(window) != saved;
        if (switched) platform::SetPortWindowPort(window);
        result = fFocus->TryKey(key);
        if (switched) platform::SetPort(saved);
    }
    if (result != 1 || key.GetKeyCode() != 9) return result;
    if (tabMovesFocus) {
        VFrame* before = fFocus;
        MakeNextFocus(key.IsShift());
        if (fFocus != before) result = 0;
    } else if (!fFocus || fFocus->CanLoseFocus()) {
        gCurFocus = nullptr;
        VFrame* old = fFocus;
        Notify(old, nullptr);
        if (old) old->DoLoseFocus(nullptr);
        result = key.IsShift() ? 3 : 2;
    }
    return result;
}

void VFocusMgr::MakeNextFocus(bool shift)
{
    if (fFocus) {
        if (!fFocus->CanLoseFocus()) return;
        VFocusMgr* inner = fFocus->GetFocusManager();
        if (inner && inner != this) {
            inner->MakeNextFocus(shift);
            return;
        }
    }
    VFrame* found = nullptr;
    auto it = fTabOrder.begin();
    if (fFocus) {
        auto at = std::find(fTabOrder.begin(), fTabOrder.end(), fFocus);
        it = at == fTabOrder.end() ? fTabOrder.end() : at + 1;
    }
    for (; it != fTabOrder.end() && !found; ++it)
        if ((*it)->CanTakeFocus()) found = *it;
    for (it = fTabOrder.begin(); it != fTabOrder.end() && !found; ++it)
        if ((*it)->CanTakeFocus()) found = *it;
    if (found != fFocus) ChangeFocus(found);
}

bool VFocusMgr::IsLeaving(VFrame* frame) const
{
    return std::find(fLeaving.begin(), fLeaving.end(), frame) != fLeaving.end();
}

void VFocusMgr::Notify(VFrame* oldFocus, VFrame* newFocus)
{
    if (!fNotified.empty()) {
        ++fNotifyDepth;
        // By index: a frame may join the list while it is told.
        for (size_t i = 0; i < fNotified.size(); ++i) {
            VFrame* frame = fNotified[i];
            if (!IsLeaving(frame)) frame->DoFocusNotify(oldFocus, newFocus);
        }
        --fNotifyDepth;
    }
    if (fNotifyDepth == 0 && !fLeaving.empty()) {
        for (VFrame* frame : fLeaving) Remove(fNotified, frame);
        fLeaving.clear();
    }
}

void VFocusMgr::DropNotified(VFrame* frame)
{
    if (fNotifyDepth > 0)
        AddUnique(fLeaving, frame);
    else
        Remove(fNotified, frame);
}

void VFocusMgr::FocusLost(VFrame* sender)
{
    if (sender && sender == fFocus) {
        Notify(sender, nullptr);
        fFocus = nullptr;
    }
}

intptr_t VFocusMgr::DoCommand(VObject* sender, int32_t command, intptr_t param)
{
    VFrame* frame = dynamic_cast<VFrame*>(sender);
    switch (command) {
    case vcmd::kGetFocusMgr:
        Store<VFocusMgr*>(param, this);
        return 1;
    case vcmd::kTakeOverFrames: {
        VFocusMgr* other = dynamic_cast<VFocusMgr*>(sender);
        // Taking over from itself would walk a list while adding to it.
        if (!other || other == this) return 1;
        for (VFrame* f : other->fTabOrder) AddUnique(fTabOrder, f);
        for (VFrame* f : other->fNotified) AddUnique(fNotified, f);
        return 1;
    }
    case vcmd::kUsers:
        fUsers += param ? 1 : -1;
        return 1;
    case vcmd::kGetUsers:
        Store<int32_t>(param, fUsers);
        return 1;
    case vcmd::kTabOrder:
        if (param)
            AddUnique(fTabOrder, frame);
        else
            Remove(fTabOrder, frame);
        return 1;
    case vcmd::kFocusNotices:
        if (param) {
            AddUnique(fNotified, frame);
            Remove(fLeaving, frame);
        } else {
            DropNotified(frame);
        }
        return 1;
    case vcmd::kSetDefaultFocus:
        fDefault = frame;
        return 1;
    case vcmd::kGetDefaultFocus:
        Store<VFrame*>(param, fDefault);
        return 1;
    case vcmd::kAskFocus:
        if (!frame || frame == fFocus) return 0;
        if (fFocus && !fFocus->CanLoseFocus()) return 0;
        ChangeFocus(frame);
        return 1;
    case vcmd::kGetFocus:
        Store<VFrame*>(param, fFocus);
        return 1;
    case vcmd::kFocusTaken:
        if (fFocus && fFocus != frame) {
            VFrame* old = fFocus;
            Notify(old, frame);
            fFocus = nullptr;
            old->DoLoseFocus(frame);
        }
        gCurFocus = this;
        fFocus = frame;
        return 1;
    case vcmd::kFocusLost:
        FocusLost(frame);
        return 1;
    case vcmd::kLeaveTree:
        FocusLost(frame);
        if (frame == fDefault) fDefault = nullptr;
        Remove(fTabOrder, frame);
        DropNotified(frame);
        return 1;
    default:
        return 0;
    }
}
