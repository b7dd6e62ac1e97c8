#include "toolbox/views/VCommand.h"

#include <algorithm>

#include "toolbox/drawing/VClipScrap.h"
#include "toolbox/drawing/VMenu.h"
#include "toolbox/foundation/VArrayValue.h"
#include "toolbox/foundation/VLong.h"
#include "toolbox/foundation/VValue.h"

namespace {

template <typename T>
void AddOnce(std::vector<T*>& list, T* item)
{
    if (item && std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

template <typename T>
void RemoveFrom(std::vector<T*>& list, T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

// A menu's ear on one command.
class MenuListener : public VCommandListener {
public:
    MenuListener(VMenu* menu, VCommand* command) : fMenu(menu), fCommand(command) {}
    void RedrawValue(RedrawMode) override { fMenu->UpdateCommand(fCommand); }
    void CommandGone(VCommand* command) override { fMenu->CommandGone(command); }

private:
    VMenu* fMenu;
    VCommand* fCommand;
};

}  // namespace

VCommand::~VCommand()
{
    for (VCommandListener* c : std::vector<VCommandListener*>(fControls)) c->CommandGone(this);
    // A menu told of the end may delete itself, and so its listener.
    std::vector<std::pair<VMenu*, std::unique_ptr<VCommandListener>>> menus;
    menus.swap(fMenus);
    for (auto& m : menus) m.second->CommandGone(this);
    delete fValue;
    if (!fChoiceListBorrowed) delete fChoiceList;
}

void VCommand::AddListener(VCommandListener* control) { AddOnce(fControls, control); }
void VCommand::DeleteListener(VCommandListener* control) { RemoveFrom(fControls, control); }

void VCommand::AddListener(VMenu* menu)
{
    if (!menu) return;
    for (const auto& m : fMenus)
        if (m.first == menu) return;
    fMenus.emplace_back(menu, std::make_unique<MenuListener>(menu, this));
}

void VCommand::DeleteListener(VMenu* menu)
{
    fMenus.erase(std::remove_if(fMenus.begin(), fMenus.end(), [menu](const auto& m) { return m.first == menu; }),
                 fMenus.end());
}

void VCommand::AddMenuBar(VMenuBar* bar) { AddOnce(fMenuBars, bar); }
void VCommand::DeleteMenuBar(VMenuBar* bar) { RemoveFrom(fMenuBars, bar); }

void VCommand::SetValue(VFrame*, VValue* value, bool adopt, RedrawMode mode)
{
    UpdateListeners(nullptr, mode);
    if (value == fValue) return;
    delete fValue;
    fValue = value ? (adopt ? value : value->Clone()) : nullptr;
    if (mode != kRedrawNone) UpdateListeners(nullptr, mode);
}

void VCommand::SetLong(VFrame* origin, int32_t n, RedrawMode mode)
{
    if (!fValue || fValue->GetValueKind() != kValueLong) {
        delete fValue;
        fValue = new VLong(n);
    } else if (!fValue->IsNull() && fValue->GetLong() == n) {
        return;
    } else {
        fValue->FromLong(n);
    }
    UpdateListeners(origin, mode);
}

int32_t VCommand::GetLong() const { return fValue ? fValue->GetLong() : 0; }

void VCommand::GetString(VString& text) const
{
    if (fValue)
        fValue->ToString(text);
    else
        text.Clear();
}

void VCommand::SetEnabled(bool on, RedrawMode mode)
{
    if (on == fEnabled) return;
    fEnabled = on;
    for (VCommandListener* c : std::vector<VCommandListener*>(fControls)) c->CommandEnabled(on, kRedrawNone);
    UpdateListeners(nullptr, mode);
}

void VCommand::SetChoiceList(VArrayValue* list, bool borrowed)
{
    if (list == fChoiceList) {
        fChoiceListBorrowed = borrowed;
        return;
    }
    if (!fChoiceListBorrowed) delete fChoiceList;
    fChoiceList = list;
    fChoiceListBorrowed = borrowed;
}

void VCommand::UpdateListeners(VFrame* except, RedrawMode mode)
{
    for (VCommandListener* c : std::vector<VCommandListener*>(fControls))
        if (dynamic_cast<VFrame*>(c) != except || !except) c->RedrawValue(mode);
    // By index: a menu may stop listening while it redraws.
    for (size_t i = 0; i < fMenus.size(); ++i) fMenus[i].second->RedrawValue(mode);
    for (VMenuBar* bar : std::vector<VMenuBar*>(fMenuBars)) bar->UpdateCommand(this);
}

VCommandMgr::~VCommandMgr() = default;  // the list only forgets

void VCommandMgr::AddCommand(VCommand* command)
{
    if (command) fCommands.Add(command);
}

void VCommandMgr::RemoveCommand(VCommand* command) { fCommands.Delete(command, kListForget); }

VCommand* VCommandMgr::FindCommand(int32_t number) const
{
    for (int32_t i = 1; i <= fCommands.GetCount(); ++i) {
        VCommand* command = fCommands.GetNth(i);
        if (command && command->GetNumber() == number) return command;
    }
    return nullptr;
}
