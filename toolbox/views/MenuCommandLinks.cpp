#include "toolbox/views/MenuCommandLinks.h"

#include "toolbox/drawing/MenuLinks.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/drawing/VTextMenu.h"
#include "toolbox/views/VCommand.h"
#include "toolbox/views/VDialQz.h"
#include "toolbox/views/VFrame.h"

namespace {

void Listen(VCommand* command, VMenu* menu, bool on)
{
    if (on)
        command->AddListener(menu);
    else
        command->DeleteListener(menu);
}

// A command's key is a character run with the command key.
bool ShortcutOf(VCommand* command, MenuShortcut& out)
{
    if (command == nullptr || command->GetShortcut() == 0) return false;
    out = MenuShortcut{};
    out.modifiers = 0x80;
    out.keyText[0] = 1;
    out.keyText[1] = uint8_t(command->GetShortcut());
    return true;
}

}  // namespace

void InstallMenuCommandLinks()
{
    MenuCommandHooks h;
    h.frameFindCommand = [](VFrame* f, int32_t n) { return f->FindCommand(n); };
    h.frameFindShortcut = [](VFrame* f, int32_t n, MenuShortcut& out) { return ShortcutOf(f->FindCommand(n), out); };
    h.frameDoCommand = [](VFrame* f, VObject* s, int32_t n, intptr_t a) { return f->DoCommand(s, n, a); };
    h.frameGetPainter = [](VFrame* f) { return f->GetPainter(); };
    h.frameReleasePainter = [](VFrame* f) { f->ReleasePainter(); };
    h.dialogFindCommand = [](VDialQz* d, int32_t n) { return d->FindCommand(n); };
    h.dialogFindShortcut = [](VDialQz* d, int32_t n, MenuShortcut& out) { return ShortcutOf(d->FindCommand(n), out); };
    h.dialogDoCommand = [](VDialQz*, VObject*, int32_t, intptr_t) -> intptr_t { return 0; };
    h.commandNumber = [](const VCommand* c) { return c->GetNumber(); };
    h.commandEnabled = [](const VCommand* c) { return c->IsEnabled(); };
    h.commandValue = [](const VCommand* c) { return c->GetValue(); };
    h.commandGroup = [](const VCommand* c) { return c->GetGroupVCommand(); };
    h.commandChoices = [](const VCommand* c) { return c->GetChoiceList(); };
    h.commandName = [](const VCommand* c, VString& name) { c->GetName(name); };
    h.commandSetValue = [](VCommand* c, VValue* v, bool adopt) { c->SetValue(nullptr, v, adopt, kRedrawNow); };
    h.commandListen = Listen;
    SetMenuCommandHooks(h);
}

void RunTextPopUpMenu(VFrame* frame, VResourceFile* file, int16_t id, int32_t x, int32_t y, bool mini)
{
    if (frame == nullptr) return;
    InstallMenuCommandLinks();
    VPainter* painter = frame->GetPainter();
    VTextMenu menu(frame, painter, 0, file, id);
    menu.SetLook(painter ? painter->GetLook() : StdLook(-1));
    menu.SetMini(mini);
    if (painter) frame->ReleasePainter();
    int32_t left = 0, top = 0;
    frame->GetPosInDesktop(left, top);
    menu.RunAsPopup(left + x, top + y, false);
}
