// The companion resource file of a document and the flushing of the
// default volume.
#include <fcntl.h>
#include <unistd.h>

#include "design/documents/CreateQzLib.h"
#include "design/documents/OpenQzB.h"
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

void FlushAll()
{
    const int fd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::syncfs(fd);
    ::close(fd);
}
