#include "toolbox/views/VControl.h"

#include "toolbox/drawing/MenuLinks.h"
#include "toolbox/foundation/VValue.h"
#include "toolbox/foundation/VLong.h"
#include "toolbox/foundation/startup/InitVToolBox.h"
#include "toolbox/foundation/system/VSystem.h"

VControl::VControl(VView* parent, const VRect* rect) : VView(parent, rect) {}

VControl::~VControl() { UnbindCommand(); }

void VControl::BindCommand(VCommand* command)
{
    UnbindCommand();
    fCommand = command;
    if (!fCommand) return;
    fCommand->AddListener(this);
    SetEnabled(fCommand->IsEnabled(), kRedrawInval);
}

void VControl::UnbindCommand()
{
    if (fCommand) fCommand->DeleteListener(this);
    fCommand = nullptr;
}

void VControl::CommandGone(VCommand* command)
{
    if (command == fCommand) fCommand = nullptr;
}

VValue* VControl::MakeValue()
{
    if (!fCommand) return nullptr;
    if (!fCommand->GetValue()) fCommand->SetLong(nullptr, 0, kRedrawInval);
    return fCommand->GetValue();
}

void VControl::MakeValueString(VString& text)
{
    if (fCommand)
        fCommand->GetString(text);
    else
        text.Clear();
}

void VControl::RedrawValue(RedrawMode mode)
{
    fValueChanged = true;
    if (IsVisible() && IsVisibleToUser()) Redraw(mode);
}

void VControl::SetEnabled(bool on, RedrawMode mode)
{
    if (on == fEnabled) return;
    fEnabled = on;
    if (IsVisible()) Redraw(mode);
}

void VControl::SetVisible(bool visible)
{
    if (visible == fVisible) return;
    VView::SetVisible(visible);
    RedrawValue(kRedrawInval);
}

bool VControl::DoLeftMouse(VClic&)
{
    if (fCommand && fParent) DoCommand(this, fCommand->GetNumber(), 0);
    if (fTipState != kTipsOff) fTipState = kTipFinished;
    return true;
}

void VControl::DoCursorIn(VPoint& point)
{
    VFrame::DoCursorIn(point);
    fTipTime = VSystem::GetCurrentTicks();
    // Once a tip has been shown the next one needs no delay.
    if (gTip && !gTip->MustWait()) fTipTime -= uint32_t(VSystem::GetTipsDelay());
    if (fTipState != kTipShown && fTipState != kTipsOff) fTipState = kTipWaiting;
}

void VControl::DoCursorMove(VPoint& point)
{
    VFrame::DoCursorMove(point);
    if (fTipState == kTipWaiting) fTipTime = VSystem::GetCurrentTicks();
}

void VControl::DoCursorOut()
{
    if (fTipState == kTipsOff) return;
    if (fTipState == kTipShown && gTip) gTip->Close(0);
    fTipState = kTipIdle;
}

void VControl::MakeTipText(VString& text)
{
    text.Clear();
    if (!fCommand) return;
    fCommand->GetName(text);
    MenuShortcut shortcut;
    if (!menulink::FindShortcut(this, fCommand->GetNumber(), shortcut)) return;
    text.AppendUniCString(u" (");
    if (shortcut.modifiers & 0x20) text.AppendUniChar(0x2325);
    if (shortcut.modifiers & 0x08) text.AppendUniChar(0x21E7);
    if (shortcut.modifiers & 0x80) text.AppendUniChar(0x2318);
    for (uint8_t i = 1; i <= shortcut.keyText[0] && i < sizeof shortcut.keyText; ++i)
        text.AppendChar(shortcut.keyText[i], kCharSetMac);
    text.AppendUniChar(u')');
}

void VControl::DoIdle(bool flag)
{
    const uint32_t delay = uint32_t(VSystem::GetTipsDelay());
    if (fTipState == kTipShown) {
        int32_t x = 0, y = 0;
        GetMousePosition(x, y);
        if (x < 0 || y < 0 || x > fWidth || y > fHeight) {
            if (gTip) gTip->Close(0);
            fTipState = kTipIdle;
        } else if (VSystem::GetCurrentTicks() - fTipTime > 10 * delay) {
            if (gTip) gTip->Close(1);
            fTipState = kTipFinished;
        }
        return;
    }
    if (fTipState != kTipWaiting || flag || !fCommand) return;
    if (DoCommand(this, vcmd::kIsActive, 0) == 0) return;
    const uint32_t now = VSystem::GetCurrentTicks();
    if (now - fTipTime < delay) return;
    VStr<255> text;
    MakeTipText(text);
    if (text.GetLength() == 0) return;
    if (gTip) gTip->Open(text, *this, nullptr);
    fTipTime = now;
    fTipState = kTipShown;
}

VFrame* VControl::Clone(VView* parent, VPainter* painter)
{
    auto* control = new VControl(parent);
    control->Copy(parent, this, painter);
    return control;
}

void VControl::Copy(VView* parent, VFrame* source, VPainter* painter)
{
    VView::Copy(parent, source, painter);
    auto* other = dynamic_cast<VControl*>(source);
    if (!other) return;
    fStyle = other->fStyle;
    BindCommand(other->fCommand);
}

VListControl::VListControl(VView* parent, int32_t command, const VRect* rect) : VControl(parent, rect)
{
    if (command != 0) BindCommand(FindCommand(command));
}

VFrame* VListControl::Clone(VView* parent, VPainter* painter)
{
    auto* control = new VListControl(parent, 0);
    control->Copy(parent, this, painter);
    return control;
}
