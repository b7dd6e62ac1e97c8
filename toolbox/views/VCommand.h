// Numbered commands with a name, a value, an enabled state and an optional
// choice list, and the controls, menus and menu bars that show them; and the
// manager that finds them by number.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "toolbox/foundation/VArrayList.h"
#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/views/VFrame.h"

class VValue;
class VArrayValue;
class VMenu;
class VMenuBar;
class VCommand;

// What a control or a menu that shows a command hears of it.
class VCommandListener {
public:
    virtual ~VCommandListener() = default;
    // The command's value or state changed: show it again.
    virtual void RedrawValue(RedrawMode mode) = 0;
    // Controls follow the command's enabled state.
    virtual void CommandEnabled(bool, RedrawMode) {}
    // The command is going: forget it.
    virtual void CommandGone(VCommand* command) = 0;
};

class VCommand : public VObject {
public:
    explicit VCommand(int32_t number, int32_t shortcut = 0) : fNumber(number), fShortcut(shortcut) {}
    ~VCommand() override;
    VCommand(const VCommand&) = delete;
    VCommand& operator=(const VCommand&) = delete;

    int32_t GetCommand() const { return fNumber; }
    int32_t GetNumber() const { return fNumber; }
    // The key that runs the command; 0 for none.
    int32_t GetShortcut() const { return fShortcut; }
    void SetShortcut(int32_t key) { fShortcut = key; }
    void GetName(VString& name) const { name.FromVString(fName); }
    void SetName(const VString& name) { fName.FromVString(name); }
    bool IsEnabled() const { return fEnabled; }
    VValue* GetValue() const { return fValue; }
    VArrayValue* GetChoiceList() const { return fChoiceList; }
    // No operation makes command groups.
    VCommand* GetGroupVCommand() const { return nullptr; }

    // Listeners are kept once each, in order. A control is its own
    // listener and never owned; a menu is heard through a listener the
    // command keeps until the menu is deleted or the command goes.
    void AddListener(VCommandListener* control);
    void DeleteListener(VCommandListener* control);
    void AddListener(VMenu* menu);
    void DeleteListener(VMenu* menu);
    void AddMenuBar(VMenuBar* bar);
    void DeleteMenuBar(VMenuBar* bar);

    // With adopt the value is taken as given, else copied.
    void SetValue(VFrame* origin, VValue* value, bool adopt, RedrawMode mode);
    void SetLong(VFrame* origin, int32_t n, RedrawMode mode);
    int32_t GetLong() const;
    void GetString(VString& text) const;
    void SetEnabled(bool on, RedrawMode mode);
    void SetChoiceList(VArrayValue* list, bool borrowed);
    void UpdateListeners(VFrame* except, RedrawMode mode);

private:
    int32_t fNumber;
    int32_t fShortcut;
    VStr<255> fName;
    bool fEnabled = true;
    VValue* fValue = nullptr;
    VArrayValue* fChoiceList = nullptr;
    bool fChoiceListBorrowed = false;
    std::vector<VCommandListener*> fControls;
    std::vector<std::pair<VMenu*, std::unique_ptr<VCommandListener>>> fMenus;
    std::vector<VMenuBar*> fMenuBars;
};

// Knows commands without owning them.
class VCommandMgr : public VObject {
public:
    VCommandMgr() = default;
    ~VCommandMgr() override;
    VCommandMgr(const VCommandMgr&) = delete;
    VCommandMgr& operator=(const VCommandMgr&) = delete;

    void AddCommand(VCommand* command);
    void RemoveCommand(VCommand* command);
    // The first command of that number; null when none. (Callers pass
    // command numbers, never positions.)
    VCommand* FindCommand(int32_t number) const;
    // The command at 1-based position n; null outside.
    VCommand* GetNth(int32_t n) const { return n >= 1 && n <= fCommands.GetCount() ? fCommands.GetNth(n) : nullptr; }
    int32_t GetCount() const { return fCommands.GetCount(); }

private:
    VArrayListPtrOf<VCommand*> fCommands;
};
