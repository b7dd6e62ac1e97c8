#include "platform/files/SpecialFolders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/files/FileErrors.h"
#include "platform/files/FileSpec.h"

namespace platform {
namespace {

std::string AbsoluteEnv(const char* name)
{
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? std::string(value) : std::string();
}

// The first entry of a colon-separated list, when it is absolute.
std::string FirstOf(const std::string& list)
{
    const std::string first = list.substr(0, list.find(':'));
    return !first.empty() && first[0] == '/' ? first : std::string();
}

std::string Home()
{
    std::string home = AbsoluteEnv("HOME");
    return home.empty() ? "/" : home;
}

std::string ExecutableFolder()
{
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "/";
    std::string path(buffer, size_t(n));
    size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

std::string FolderPath(SpecialFolder kind)
{
    std::string path;
    switch (kind) {
    case SpecialFolder::Preferences:
        if (!(path = AbsoluteEnv("QZ_PREFERENCES_DIR")).empty()) return path;
        if (!(path = AbsoluteEnv("XDG_CONFIG_HOME")).empty()) return path;
        return Home() + "/.config";
    case SpecialFolder::Cache:
        if (!(path = AbsoluteEnv("QZ_CACHE_DIR")).empty()) return path;
        if (!(path = AbsoluteEnv("XDG_CACHE_HOME")).empty()) return path;
        return Home() + "/.cache";
    case SpecialFolder::Extensions:
        if (!(path = AbsoluteEnv("QZ_EXTENSIONS_DIR")).empty()) return path;
        return ExecutableFolder() + "/Qz Extensions";
    case SpecialFolder::Documents:
        if (!(path = AbsoluteEnv("QZ_DOCUMENTS_DIR")).empty()) return path;
        return Home();
    case SpecialFolder::UserData:
        if (!(path = AbsoluteEnv("QZ_USER_DATA_DIR")).empty()) return path;
        if (!(path = AbsoluteEnv("XDG_DATA_HOME")).empty()) return path;
        return Home() + "/.local/share";
    case SpecialFolder::SystemData:
        if (!(path = AbsoluteEnv("QZ_SYSTEM_DATA_DIR")).empty()) return path;
        if (!(path = FirstOf(AbsoluteEnv("XDG_DATA_DIRS"))).empty()) return path;
        return "/usr/local/share";
    case SpecialFolder::Application:
        if (!(path = AbsoluteEnv("QZ_APPLICATION_DIR")).empty()) return path;
        return ExecutableFolder();
    }
    return "/";
}

OSErr MakeFolders(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? noErr : dupFNErr;
    size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        if (OSErr err = MakeFolders(path.substr(0, slash)); err != noErr) return err;
    }
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return OSErrFromErrno(errno);
    return noErr;
}

}  // namespace

OSErr FindSpecialFolder(SpecialFolder kind, bool create, FSSpec* folder)
{
    std::string path = FolderPath(kind);
    if (create) {
        if (OSErr err = MakeFolders(path); err != noErr) return err;
    }
    OSErr err = FSMakeFSSpec(path, folder);
    if (err == dirNFErr) err = fnfErr;
    if (err == noErr && !FSpExists(*folder)) err = fnfErr;
    return err;
}

}  // namespace platform
