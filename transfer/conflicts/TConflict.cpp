// The records' shared behaviour: making, ending, visibility, the default
// copy and the settling of a chained record by its parent's choice.
#include "transfer/conflicts/Conflicts.h"

#include "app/appl/AppGlobals.h"
#include "design/objects/ObjQz.h"
#include "platform/core/Memory.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/ConflictDefaults.h"

void TConflict::init(TObjQz* source, TObjQz* dest, int16_t code, int16_t choice)
{
    fSource = source;
    fDest = dest;
    fCode = code;
    fPrevChoice = 0;
    fChoice = choice;
    fParent = nullptr;
    fVisible = true;
    fClicked = false;
}

void TConflict::Dispose()
{
    // Records live in blocks of their own (RecordConflict).
    void* block = this;
    this->~TConflict();
    platform::DisposePtr(static_cast<platform::Ptr>(block));
}

bool TConflict::DfltCopy(TMainDoc* dest, ObjListHdl* transfer, C_ListHdl list, int16_t* err)
{
    *err = 0;
    if (!fSource || fSource->kind == 29 || fChoice != 9 || !transfer || IsInList(*transfer, fSource)) return false;
    fCode = 0;
    fVisible = false;
    if ((*err = transfer::JoinTransferList(transfer, fSource)) != 0) return false;
    *err = fSource->DoInDir_Conflicts(dest, list, *transfer);
    return *err == 0;
}

void TConflict::C_Update(TConflict* parent, bool quiet)
{
    (void)quiet;
    if (!parent) return;
    switch (parent->fChoice) {
    case 1: case 4: case 6: fChoice = 6; break;
    case 7: fChoice = 7; break;
    case 8: fChoice = 8; break;
    default: break;
    }
}

bool TConflict::OwnVisibility() const
{
    if (fCode == 0) return false;
    transfer::C_PmRec entry;
    transfer::GetChIDC_PmRec(&entry, fCode, fChoice);
    if (entry.number == -1) return false;
    const bool shown = entry.flags & transfer::kChoiceVisible;
    if (G_C_Hide) return shown;
    return (fChoice == 16 && shown) || (entry.flags & transfer::kChoiceShown);
}

void TConflict::DoMajVis() { fVisible = OwnVisibility(); }

void TConflict::MajVis()
{
    TConflict* root = this;
    while (root->fParent) root = root->fParent;
    root->DoMajVis();
}

void TRConflict::init(TObjQz* source, TObjQz* dest, int16_t code, int16_t choice)
{
    TConflict::init(source, dest, code, choice);
    fNewName[0] = 0;
    if (source) {
        unsigned char name[256];
        source->GetName(name);
        CopyObjName(fNewName, name);
    }
    fSubList = nullptr;
}

void TRConflict::Dispose()
{
    transfer::DisposeC_List(fSubList);
    fSubList = nullptr;
    TConflict::Dispose();
}

bool TRConflict::IsLayOutCopie()
{
    for (int32_t i = 0; fSubList && i < fSubList->Size(); ++i)
        if (fSubList->At(i)->fCode == 3 || fSubList->At(i)->fCode == 4) return true;
    return false;
}

void TRConflict::DoMajVis()
{
    bool memberShown = false;
    for (int32_t i = 0; !G_C_Hide && fSubList && i < fSubList->Size(); ++i)
        if (fSubList->At(i)->fChoice == 16 || fSubList->At(i)->fChoice == 17) memberShown = true;
    fVisible = memberShown || OwnVisibility();
    for (int32_t i = 0; fSubList && i < fSubList->Size(); ++i) fSubList->At(i)->DoMajVis();
}
