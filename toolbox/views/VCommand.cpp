#include "toolbox/views/VCommand.h"

VCommand::~VCommand() = default;

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
