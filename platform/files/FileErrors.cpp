#include "platform/files/FileErrors.h"

#include <cerrno>
#include <utility>

#include "platform/core/Errors.h"
#include "platform/files/FileTypes.h"

namespace platform {

OSErr OSErrFromErrno(int err)
{
    switch (err) {
    case 0: return noErr;
    case ENOENT: return fnfErr;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return dskFulErr;
    case EROFS: return vLckdErr;
    case EACCES:
    case EPERM: return permErr;
    case ENOMEM: return memFullErr;
    case EEXIST: return dupFNErr;
    case EBUSY:
    case ENOTEMPTY:
    case ETXTBSY: return fBsyErr;
    case ENOTDIR: return dirNFErr;
    case EISDIR: return notAFileErr;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ: return bdNamErr;
    case EMFILE:
    case ENFILE: return tmfoErr;
    case EBADF: return rfNumErr;
    case EXDEV: return badMovErr;
    case ELOOP: return dirNFErr;
    case EWOULDBLOCK: return opWrErr;
    default: return ioErr;
    }
}

namespace {

FileRefusal& Noted()
{
    static FileRefusal noted;
    return noted;
}

}  // namespace

void NoteFileRefusal(OSErr code, const std::string& path, const std::string& now, RefusedItem item)
{
    try {
        Noted() = FileRefusal{code, path, now, item};
    } catch (...) {
        // Without memory for the name, the refusal goes unnamed.
        ForgetFileRefusal();
    }
}

void ForgetFileRefusal()
{
    FileRefusal& noted = Noted();
    if (noted.code == 0) return;
    noted.code = 0;
    noted.path.clear();
    noted.now.clear();
    noted.item = RefusedItem::File;
}

bool TakeFileRefusal(OSErr code, FileRefusal* refusal)
{
    FileRefusal& noted = Noted();
    if (noted.code == 0 || noted.code != code) return false;
    std::swap(*refusal, noted);
    ForgetFileRefusal();
    return true;
}

}  // namespace platform
