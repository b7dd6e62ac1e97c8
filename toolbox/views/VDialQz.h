// A dialog of the engine: its command manager and the list of its
// commands, which it owns.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VArrayList.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VObject.h"
#include "toolbox/views/VCommand.h"

class VDialQz : public VObject {
public:
    VDialQz() = default;
    ~VDialQz() override;
    VDialQz(const VDialQz&) = delete;
    VDialQz& operator=(const VDialQz&) = delete;

    // Takes the command: listed, known to the manager, deleted with the
    // dialog.
    void AddCommand(VCommand* command);
    VCommandMgr& GetCommandMgr() { return fCommandMgr; }
    // A cursor before the first command; Next gives each in order, then
    // null. The caller deletes it.
    VIteratorOf<VCommand*>* NewCommandIterator();

    VCommand* FindCommand(int32_t number) const { return fCommandMgr.FindCommand(number); }
    // The first command of the list with that shortcut; null when none.
    VCommand* FindShortcut(int32_t key);

private:
    VCommandMgr fCommandMgr;
    VArrayListPtrOf<VCommand*> fCommands;
};

// How the engine makes and deletes gVDialQzList.
void InstallDialQzList();
