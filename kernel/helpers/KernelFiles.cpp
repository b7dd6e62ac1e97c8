#include "kernel/helpers/KernelFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "kernel/collation/CollationGlobals.h"
#include "kernel/helpers/HandleCopies.h"
#include "platform/core/Clock.h"
#include "platform/files/DirectoryIds.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/text/ScriptManager.h"

using namespace platform;

int32_t writeretries = 0;

void writef(const void* buffer, int32_t count, int16_t refNum)
{
    if (count <= 0) {
        erreure = 0;
        return;
    }
    int64_t position = 0;
    erreure = GetFPos(refNum, &position);
    if (erreure) return;
    int64_t written = count;
    erreure = FSWrite(refNum, &written, buffer);
    if (erreure == ioErr) {
        uint32_t ticks = 0;
        Delay(10, &ticks);
        erreure = SetFPos(refNum, fsFromStart, position);
        if (erreure) return;
        written = count;
        erreure = FSWrite(refNum, &written, buffer);
        if (erreure == noErr) ++writeretries;
    }
}

void closef(int16_t refNum) { erreure = FSClose(refNum); }

void seekf(int32_t position, int16_t refNum) { erreure = SetFPos(refNum, fsFromStart, position); }

void FlushVolAsync(const unsigned char*, int16_t vRefNum)
{
    if (vRefNum != kOnlyVolume) return;
    const int fd = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::syncfs(fd);
    ::close(fd);
}

bool isflocked(const FSSpec& fileSpec, bool resourceFork)
{
    int16_t refNum = 0;
    OSErr err = resourceFork ? FSpOpenRF(fileSpec, fsRdWrPerm, &refNum) : FSpOpenDF(fileSpec, fsRdWrPerm, &refNum);
    if (err != noErr) {
        erreure = err;
        return true;
    }
    erreure = FSClose(refNum);
    return false;
}

void converttofullpath(unsigned char* destination, const FSSpec& fileSpec)
{
    destination[0] = 0;
    std::string path;
    if (FSpGetColonPath(fileSpec, &path) != noErr || path.size() > 255) return;
    destination[0] = uint8_t(path.size());
    std::memcpy(destination + 1, path.data(), path.size());
}

int16_t BGGetEOF(int16_t refNum, int32_t* length)
{
    int64_t eof = 0;
    OSErr err = GetEOF(refNum, &eof);
    *length = eof > INT32_MAX ? INT32_MAX : int32_t(eof);
    return err;
}

int16_t BGGetFPos(int16_t refNum, int32_t* position)
{
    int64_t pos = 0;
    OSErr err = GetFPos(refNum, &pos);
    *position = pos > INT32_MAX ? INT32_MAX : int32_t(pos);
    return err;
}

int16_t BGSetFPos(int16_t refNum, int16_t mode, int32_t offset) { return SetFPos(refNum, mode, offset); }

void longname_SplitPathFile(const unsigned char* path, unsigned char* folder, unsigned char* file)
{
    int cut = 0;  // characters up to and including the last ':'
    for (int i = path[0]; i >= 1; --i)
        if (path[i] == ':' && (scriptmanager == 0 || CharacterByteType(path + 1, int16_t(i - 1), smSystemScript) ==
                                                        smSingleByte)) {
            cut = i;
            break;
        }
    folder[0] = uint8_t(cut);
    std::memcpy(folder + 1, path + 1, size_t(cut));
    file[0] = uint8_t(path[0] - cut);
    std::memcpy(file + 1, path + 1 + cut, file[0]);
}

namespace {

// The folder and the item of a colon path; dirNFErr (given as fnfErr) when
// the folder is missing.
OSErr SpecOfPath(const unsigned char* path, FSSpec* fileSpec)
{
    Str255 folder, file;
    longname_SplitPathFile(path, folder, file);
    FSSpec folderSpec;
    bool isFolder = false;
    if (folder[0] == 0 || file[0] == 0 ||
        FSMakeFSSpecFromColonPath(std::string(reinterpret_cast<char*>(folder) + 1, folder[0]), &folderSpec) != noErr ||
        !FSpExists(folderSpec, &isFolder) || !isFolder)
        return fnfErr;
    OSErr err = FSMakeFSSpec(folderSpec, std::string(reinterpret_cast<char*>(file) + 1, file[0]), fileSpec);
    return err == dirNFErr ? fnfErr : err;
}

}  // namespace

int16_t longname_GetFSSpecIfFileExists(int16_t, int32_t, const unsigned char* path, FSSpec* fileSpec)
{
    return SpecOfPath(path, fileSpec);
}

int16_t longname_CreateFile(int16_t, int32_t, const unsigned char* path, bool replace, OSType fileType,
                            OSType creator, FSSpec* fileSpec)
{
    *fileSpec = FSSpec();
    OSErr err = SpecOfPath(path, fileSpec);
    if (err != noErr && err != fnfErr) return err;
    if (err == fnfErr && fileSpec->path.empty()) return fnfErr;
    err = FSpCreate(*fileSpec, creator, fileType);
    if (err == dupFNErr) {
        if (replace) {
            err = FSpDelete(*fileSpec);
            if (err == noErr) err = FSpCreate(*fileSpec, creator, fileType);
        } else {
            err = noErr;
        }
    }
    if (err != noErr) return err;
    FInfo info;
    OSErr infoErr = FSpGetFInfo(*fileSpec, &info);
    if (infoErr == noErr) {
        info.fdType = fileType;
        info.fdCreator = creator;
        infoErr = FSpSetFInfo(*fileSpec, info);
    }
    return infoErr;
}
