// Resource files through file specifications, and bundle package
// information.
#include <new>
#include <string>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/files/TemporaryFile.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/Resources.h"
#include "toolbox/drawing/CompatFunctions.h"

using namespace platform;

namespace {

// A name beside `fileSpec` that nothing uses yet. Dot names are hidden
// from folder listings, so a successor left by a crash stays out of sight.
OSErr SuccessorSpec(const FSSpec& fileSpec, FSSpec* successor)
{
    const FSSpec folder = FSpGetParent(fileSpec);
    for (int32_t n = 1; n < 1000; ++n) {
        OSErr err = FSMakeFSSpec(folder, ".qz-new-" + std::to_string(n), successor);
        if (err == fnfErr) return noErr;
        if (err != noErr) return err;
    }
    return dupFNErr;
}

// The map goes into the data fork, and the fork reaches the disk before
// anyone may rely on it.
OSErr CreateDataForkMap(const FSSpec& fileSpec, OSType creator, OSType fileType)
{
    FSpCreateResFile(fileSpec, creator, fileType, 0, ResFileFork::Data);
    OSErr err = ResError();
    if (err != noErr) return err;
    int16_t ref = 0;
    err = FSpOpenDF(fileSpec, fsRdWrPerm, &ref);
    if (err != noErr) return err;
    err = FSFlush(ref);
    const OSErr closeErr = FSClose(ref);
    return err != noErr ? err : closeErr;
}

// Replaces an existing file by a new one holding an empty map in its data
// fork. The successor is made complete under another name and renamed over
// the old file, so that any failure leaves the old file as it was.
OSErr ReplaceWithDataForkMap(const FSSpec& fileSpec, OSType creator, OSType fileType, ScriptCode script)
{
    FSSpec successor;
    OSErr err = SuccessorSpec(fileSpec, &successor);
    if (err != noErr) return err;
    err = myFSpCreate(successor, creator, fileType, script);
    if (err != noErr) return err;
    err = CreateDataForkMap(successor, creator, fileType);
    if (err == noErr) err = FSpRenameOver(successor, fileSpec);
    if (err != noErr) {
        FSpDelete(successor);
        return err;
    }
    return FlushFolderOf(fileSpec.path);
}

}  // namespace

int16_t myFSpOpenResFile(const FSSpec& fileSpec, SInt8 permission)
{
    int16_t ref = -1;
    if (permission == fsCurPerm && FSpResourceFileAlreadyOpen(fileSpec, nullptr, &ref)) return ref;
    ref = FSpOpenResFile(fileSpec, permission, ResFileFork::Resource);
    if (ref == -1) ref = FSpOpenResFile(fileSpec, permission, ResFileFork::Data);
    return ref;
}

OSErr myFSpCreate(const FSSpec& fileSpec, OSType creator, OSType fileType, ScriptCode)
{
    return FSpCreate(fileSpec, creator, fileType, 0);
}

OSErr myFSpCreateResFile(const FSSpec& fileSpec, OSType creator, OSType fileType, ScriptCode script,
                         bool inDataFork)
{
    OSErr err = myFSpCreate(fileSpec, creator, fileType, script);
    if (err == dupFNErr && inDataFork) {
        try {
            return ReplaceWithDataForkMap(fileSpec, creator, fileType, script);
        } catch (const std::bad_alloc&) {
            return memFullErr;
        }
    }
    const bool madeHere = err == noErr;
    if (err != noErr && err != dupFNErr) return err;
    if (inDataFork) {
        err = CreateDataForkMap(fileSpec, creator, fileType);
    } else {
        FSpCreateResFile(fileSpec, creator, fileType, 0, ResFileFork::Resource);
        err = ResError();
    }
    // A file this call made but could not finish is not left behind.
    if (err != noErr && madeHere) FSpDelete(fileSpec);
    return err;
}

bool GetBundleInfo(const FSRef* bundle, OSType* type, OSType* creator)
{
    if (type) *type = 0;
    if (creator) *creator = 0;
    if (!bundle) return false;
    bool isFolder = false;
    FSSpec fileSpec;
    fileSpec.path = bundle->path;
    if (!FSpExists(fileSpec, &isFolder) || !isFolder) return false;
    std::vector<uint8_t> info;
    try {
        if (ReadWholeFile(bundle->path + "/Contents/PkgInfo", &info, 64) != noErr || info.size() != 8) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (type) *type = ReadBE32(info.data());
    if (creator) *creator = ReadBE32(info.data() + 4);
    return true;
}
