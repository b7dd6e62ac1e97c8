// Commands and the manager that finds them by number.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VArrayList.h"
#include "toolbox/foundation/VObject.h"

class VCommand : public VObject {
public:
    explicit VCommand(int32_t number, int32_t shortcut = 0) : fNumber(number), fShortcut(shortcut) {}
    ~VCommand() override;

    int32_t GetNumber() const { return fNumber; }
    // The key that runs the command; 0 for none.
    int32_t GetShortcut() const { return fShortcut; }
    void SetShortcut(int32_t key) { fShortcut = key; }

private:
    int32_t fNumber;
    int32_t fShortcut;
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
    // The first command of that number; null when none.
    VCommand* FindCommand(int32_t number) const;

private:
    VArrayListPtrOf<VCommand*> fCommands;
};
