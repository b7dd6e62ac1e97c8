#include "resources/StoreBracket.h"

#include "platform/core/Errors.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResourceApi.h"

int16_t StoreBracket::Begin(int16_t fileNumber)
{
    Drop();
    // A change dropped in vain before goes first: nothing of it may land
    // with this one.
    CPseudoResFile* file = g_resManager ? g_resManager->FindFile(fileNumber) : nullptr;
    if (file && !file->SettleDrop()) return reserr ? reserr : platform::ioErr;
    if (!updateres(fileNumber)) return reserr ? reserr : platform::ioErr;
    if (!holdres(fileNumber, true)) return reserr ? reserr : platform::ioErr;
    fFile = fileNumber;
    if (file) fLook.Open(file->ForkRefNum());
    return 0;
}

int16_t StoreBracket::Commit()
{
    if (!fFile) return 0;
    // The release commits only when a commit was asked for: ask once more.
    if (updateres(fFile) && holdres(fFile, false)) {
        fFile = 0;
        // Landed, but perhaps in files another program took from the
        // document's names meanwhile: then it is said as failed.
        return fLook.End();
    }
    const int16_t err = reserr ? reserr : platform::ioErr;
    // A change that cannot be dropped either leaves memory and disk apart.
    return Drop() ? err : kResAdrift;
}

bool StoreBracket::Drop()
{
    if (!fFile) return true;
    const bool dropped = dropres(fFile);
    fFile = 0;
    fLook.Close();
    return dropped;
}
