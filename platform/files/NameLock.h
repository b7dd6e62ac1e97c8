// A lock on a name rather than on a file: it guards a name whose file is
// being replaced, or is not there yet. It is held through a lock file that
// lives only while somebody holds it (the holder removes it before letting
// go). Nobody waits: a name another program holds answers fBsyErr at once.
// Within the program a name's lock is counted, so that nested holders of
// one name share it.
#pragma once

#include <string>

#include "platform/core/MacTypes.h"

namespace platform {

class NameLock {
public:
    NameLock() = default;
    ~NameLock() { Release(); }
    NameLock(const NameLock&) = delete;
    NameLock& operator=(const NameLock&) = delete;

    // Takes the lock kept at `lockPath` (a hidden name beside the one it
    // guards). noErr, also where the folder cannot take the lock file (it
    // is missing, or this user may not change its names); fBsyErr when
    // another program holds it; lockNameErr when a folder, a link or a
    // special file is at that name (it is left as it is); lockDeniedErr
    // when the lock file there is another user's that this one may not
    // open; else why the lock file could not be made. Taken afresh, it
    // also removes the lock files beside it that nobody holds (left by
    // killed programs). A lock file made here can be read by every user,
    // whatever the umask, so that they too can tell whether it is held.
    OSErr Take(const std::string& lockPath);
    void Release();
    bool Held() const { return !path_.empty(); }

private:
    std::string path_;
};

// The lock file at which the last Take refused with lockNameErr or
// lockDeniedErr: the message of the refusal names it.
const std::string& RefusedLockFile();

// Whether a name in a folder is that of a lock file (".qz.NAME.lock").
bool IsLockFileName(const std::string& name);

}  // namespace platform
