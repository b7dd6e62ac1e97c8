#include "network/NetComponents.h"

#include <sys/socket.h>
#include <unistd.h>

#include "network/Requests.h"

bool initcommcode()
{
    const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0) return false;
    ::close(probe);
    return true;
}

void deinitcomm() { closeconnection(); }
