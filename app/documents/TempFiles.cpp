// Leftover working files and the instance lock of the preferences folder.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>

#include "app/dialogs/Messages.h"
#include "platform/files/FileSpec.h"
#include "platform/files/SpecialFolders.h"
#include "platform/text/Utf8.h"

using namespace platform;

namespace {

int gLockFd = -1;

std::string BaseName()
{
    Str255 base;
    MyGetIndString(base, 1000, 7);
    return MacRomanToUtf8String(base + 1, base[0]);
}

// Takes the lock of the folder for this process; false when another
// instance holds it.
bool TakeInstanceLock(const FSSpec& folder, const std::string& base)
{
    if (gLockFd >= 0) return true;
    const std::string path = folder.path + "/" + base + ".lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    gLockFd = fd;
    return true;
}

}  // namespace

void DelTempFiles()
{
    const std::string base = BaseName();
    FSSpec folder;
    if (base.empty() || FindSpecialFolder(SpecialFolder::Preferences, false, &folder) != noErr) return;
    // Another instance running beside this one still uses its working files.
    if (!TakeInstanceLock(folder, base)) return;
    static const char* const kExtensions[] = {"QTL", "QzB", "RSR"};
    std::string name = base;
    for (int i = 1; i <= 100; ++i) {
        for (const char* ext : kExtensions) {
            FSSpec file;
            if (FSMakeFSSpec(folder, name + "." + ext, &file) == noErr) FSpDelete(file);
        }
        name = base + std::to_string(i);
    }
}

void ReleaseInstanceLock()
{
    if (gLockFd < 0) return;
    ::close(gLockFd);
    gLockFd = -1;
}

uint64_t FreeDiskSize(int16_t vRefNum)
{
    (void)vRefNum;  // one volume: the file system of the preferences folder
    FSSpec folder;
    int64_t freeBytes = 0;
    if (FindSpecialFolder(SpecialFolder::Preferences, false, &folder) != noErr) return 0;
    if (FSpGetFreeSpace(folder, &freeBytes) != noErr || freeBytes < 0) return 0;
    return uint64_t(freeBytes);
}
