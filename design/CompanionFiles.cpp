// The companion resource file of a document and the flushing of the
// default volume.
#include <fcntl.h>
#include <unistd.h>

#include "design/CreateQzLib.h"
#include "design/OpenQzB.h"
#include "kernel/handles/KernelHandles.h"
#include "platform/resfiles/Resources.h"

int16_t OpenResFile(const platform::FSSpec& fileSpec, platform::SInt8 permission)
{
    int16_t number = platform::FSpOpenResFile(fileSpec, permission);
    if (number == -1) {
        platform::FSSpec companion;
        if (CompanionSpec(fileSpec, &companion) && companion != fileSpec)
            number = platform::FSpOpenResFile(companion, permission);
    }
    erreure = platform::ResError();
    return number;
}

bool CompanionSpec(const platform::FSSpec& fileSpec, platform::FSSpec* companion)
{
    const std::string& path = fileSpec.path;
    const size_t slash = path.rfind('/');
    const size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    size_t end = path.size();
    // The extension: a point among the last four characters of the name.
    for (size_t i = path.size(); i > nameAt && i + 4 > path.size(); --i)
        if (path[i - 1] == '.') {
            end = i - 1;
            break;
        }
    // A name this long cannot take the extension: the companion would be
    // the data file itself.
    if (end - nameAt + 4 > 255) return false;
    companion->path = path.substr(0, end) + ".RSR";
    return true;
}

void FlushAll()
{
    const int fd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::syncfs(fd);
    ::close(fd);
}
