// A view bound to a command it does not own: it shows the command's value
// and enabled state, sends the command's number when clicked, and shows a
// tip (the command's name and shortcut) once the mouse rests on it.
#pragma once

#include <cstdint>

#include "toolbox/views/VCommand.h"
#include "toolbox/views/VView.h"

class VValue;

class VControl : public VView, public VCommandListener {
public:
    // Tip states: idle, waiting for the delay, shown, finished until the
    // mouse leaves, tips off.
    static constexpr uint8_t kTipIdle = 0;
    static constexpr uint8_t kTipWaiting = 1;
    static constexpr uint8_t kTipShown = 2;
    static constexpr uint8_t kTipFinished = 3;
    static constexpr uint8_t kTipsOff = 255;

    explicit VControl(VView* parent, const VRect* rect = nullptr);
    ~VControl() override;

    virtual VValue* MakeValue();
    virtual void MakeValueString(VString& text);
    void RedrawValue(RedrawMode mode) override;
    virtual void SetEnabled(bool on, RedrawMode mode);
    void CommandEnabled(bool on, RedrawMode mode) override { SetEnabled(on, mode); }
    void CommandGone(VCommand* command) override;

    void SetVisible(bool visible) override;
    bool DoLeftMouse(VClic& clic) override;
    bool CanTakeFocus() const override { return VFrame::CanTakeFocus() && fEnabled; }
    void DoIdle(bool flag) override;
    void DoCursorIn(VPoint& point) override;
    void DoCursorMove(VPoint& point) override;
    void DoCursorOut() override;
    VFrame* Clone(VView* parent, VPainter* painter) override;
    void Copy(VView* parent, VFrame* source, VPainter* painter) override;
    bool IsAControl() const override { return true; }

    VCommand* GetCommand() const { return fCommand; }
    bool IsEnabled() const { return fEnabled; }
    uint8_t GetTipState() const { return fTipState; }
    void SetTipsOff(bool off) { fTipState = off ? kTipsOff : kTipIdle; }
    bool GetValueChanged() const { return fValueChanged; }
    void ClearValueChanged() { fValueChanged = false; }
    uint8_t GetStyle() const { return fStyle; }
    void SetStyle(uint8_t style) { fStyle = style; }

protected:
    // Becomes the command's listener and takes its enabled state.
    void BindCommand(VCommand* command);
    void UnbindCommand();
    // The text of the tip: the name, then " (shortcut)" when it has one.
    void MakeTipText(VString& text);

    VCommand* fCommand = nullptr;
    uint32_t fTipTime = 0;
    uint8_t fTipState = kTipIdle;
    bool fValueChanged = false;
    bool fEnabled = true;
    uint8_t fStyle = 0;
};

// The concrete base of list-like controls: bound to the command of that
// number, found up the tree, when the number is not 0.
class VListControl : public VControl {
public:
    VListControl(VView* parent, int32_t command, const VRect* rect = nullptr);
    VFrame* Clone(VView* parent, VPainter* painter) override;
};
