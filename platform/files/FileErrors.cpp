#include "platform/files/FileErrors.h"

#include <cerrno>

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

}  // namespace platform
