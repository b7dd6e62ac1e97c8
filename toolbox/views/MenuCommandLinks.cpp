#include "toolbox/views/MenuCommandLinks.h"

#include <map>
#include <memory>
#include <utility>

#include "toolbox/drawing/MenuLinks.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/drawing/VTextMenu.h"
#include "toolbox/views/VCommand.h"
#include "toolbox/views/VDialQz.h"
#include "toolbox/views/VFrame.h"

namespace {

// A menu's ear on one command.
class MenuListener : public VCommandListener {
public:
    MenuListener(VMenu* menu, VCommand* command) : fMenu(menu), fCommand(command) {}
    void RedrawValue(RedrawMode) override { fMenu->UpdateCommand(fCommand); }
    void CommandGone(VCommand* command) override;

private:
    VMenu* fMenu;
    VCommand* fCommand;
};

std::map<std::pair<VCommand*, VMenu*>, std::unique_ptr<MenuListener>>& Listeners()
{
    static std::map<std::pair<VCommand*, VMenu*>, std::unique_ptr<MenuListener>> listeners;
    return listeners;
}

void MenuListener::CommandGone(VCommand* command)
{
    VMenu* menu = fMenu;
    Listeners().erase({command, menu});  // deletes this listener
    menu->CommandGone(command);
}

void Listen(VCommand* command, VMenu* menu, bool on)
{
    auto& listeners = Listeners();
    const auto key = std::make_pair(command, menu);
    auto it = listeners.find(key);
    if (on) {
        if (it != listeners.end()) return;
        auto listener = std::make_unique<MenuListener>(menu, command);
        command->AddMenuListener(listener.get());
        listeners.emplace(key, std::move(listener));
    } else if (it != listeners.end()) {
        command->DeleteMenuListener(it->second.get());
        listeners.erase(it);
    }
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
