#include "toolbox/views/VDialQz.h"

VDialQz::~VDialQz() { fCommands.Destroy(kListDeleteData); }

void VDialQz::AddCommand(VCommand* command)
{
    if (!command || fCommands.FindPos(command) > 0) return;
    const int32_t before = fCommands.GetCount();
    fCommands.Add(command);
    if (fCommands.GetCount() == before) {
        delete command;  // no room: the dialog owns it all the same
        return;
    }
    fCommandMgr.AddCommand(command);
}

VIteratorOf<VCommand*>* VDialQz::NewCommandIterator() { return fCommands.NewIterator(-1); }

VCommand* VDialQz::FindShortcut(int32_t key)
{
    VIteratorOf<VCommand*>* it = NewCommandIterator();
    if (!it) return nullptr;
    VCommand* found = nullptr;
    while (VCommand* command = it->Next()) {
        if (command->GetShortcut() == key) {
            found = command;
            break;
        }
    }
    delete it;
    return found;
}

namespace {

VDialQzList* MakeList() { return new VDialQzList; }

void DisposeList(VDialQzList* list)
{
    if (!list) return;
    list->Destroy(kListDeleteData);
    delete list;
}

}  // namespace

void InstallDialQzList()
{
    VDialQzListMakers makers;
    makers.make = MakeList;
    makers.dispose = DisposeList;
    SetDialQzListMakers(makers);
}
