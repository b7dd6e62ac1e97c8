#include "platform/files/FSRefAliases.h"

#include "platform/files/FSRefCatalog.h"
#include "platform/files/FileSpec.h"

namespace platform {

OSErr FSIsAliasFile(const FSRef& ref, bool* aliasFileFlag, bool* folderFlag)
{
    *aliasFileFlag = *folderFlag = false;
    if (ref.path.empty()) return errFSBadFSRef;
    const FSSpec item = FSRefMakeFSSpec(ref);
    if (OSErr err = FSpIsLink(item, aliasFileFlag); err != noErr) return err;
    FSpExists(item, folderFlag);
    return noErr;
}

OSErr FSResolveAliasFile(FSRef* ref, bool, bool* targetIsFolder, bool* wasAliased)
{
    *targetIsFolder = *wasAliased = false;
    bool isAlias = false;
    if (OSErr err = FSIsAliasFile(*ref, &isAlias, targetIsFolder); err != noErr) return err;
    if (!isAlias) return noErr;
    FSSpec target;
    if (OSErr err = FSpResolveLink(FSRefMakeFSSpec(*ref), &target, targetIsFolder); err != noErr) return err;
    *ref = FSRef{target.path};
    *wasAliased = true;
    return noErr;
}

OSErr FSResolveAliasFileWithMountFlags(FSRef* ref, bool resolveAliasChains, bool* targetIsFolder, bool* wasAliased,
                                       uint32_t)
{
    return FSResolveAliasFile(ref, resolveAliasChains, targetIsFolder, wasAliased);
}

}  // namespace platform
