#include "network/CQztcp.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <utility>

#include "network/NetErrors.h"
#include "network/Wire.h"

using platform::OSErr;

namespace {

int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

struct WaitEnd {
    int event = -1;
    std::function<bool(uint16_t)> over;
};

WaitEnd& TheWaitEnd()
{
    static WaitEnd end;
    return end;
}

uint16_t LocalPort(int fd)
{
    sockaddr_in at{};
    socklen_t size = sizeof at;
    return ::getsockname(fd, reinterpret_cast<sockaddr*>(&at), &size) == 0 ? ntohs(at.sin_port) : 0;
}

}  // namespace

CQztcp::~CQztcp() { Close(); }

void CQztcp::SetWaitEnd(int event, std::function<bool(uint16_t localPort)> over)
{
    TheWaitEnd() = {over ? event : -1, std::move(over)};
}

bool CQztcp::WaitFor(short events, int64_t deadlineMs) const
{
    const WaitEnd& end = TheWaitEnd();
    for (;;) {
        int64_t left = deadlineMs - NowMs();
        if (left <= 0) return false;
        pollfd p[2] = {{fd_, events, 0}, {end.event, POLLIN, 0}};
        int n = ::poll(p, end.event >= 0 ? 2 : 1, int(left > 1000 ? 1000 : left));
        if (n > 0 && p[0].revents) return true;
        if (n > 0 && p[1].revents && end.over(LocalPort(fd_))) return false;
        if (n < 0 && errno != EINTR) return false;
    }
}

OSErr CQztcp::Open(const std::string& address, uint16_t port)
{
    Close();
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    if (::inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1) return kNetNotConnected;
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return kNetNotConnected;
    int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);

    int64_t deadline = NowMs() + timeoutMs_;
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        if (errno != EINPROGRESS || !WaitFor(POLLOUT, deadline)) {
            Close();
            return kNetNotConnected;
        }
        int error = 0;
        socklen_t size = sizeof error;
        if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
            Close();
            return kNetNotConnected;
        }
    }
    sequence_ = 0;
    uint8_t greeting[wire::kGreetingSize];
    if (OSErr err = Receive(greeting, sizeof greeting)) return err;
    if (!wire::DecodeGreeting(greeting, &little_)) {
        Close();
        return kNetBadReply;
    }
    return 0;
}

void CQztcp::Close()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

OSErr CQztcp::Send(const void* data, size_t length)
{
    if (fd_ < 0) return kNetNotConnected;
    const char* p = static_cast<const char*>(data);
    int64_t deadline = NowMs() + timeoutMs_;
    while (length > 0) {
        ssize_t n = ::send(fd_, p, length, MSG_NOSIGNAL);
        if (n > 0) {
            p += n;
            length -= size_t(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (!WaitFor(POLLOUT, deadline)) {
                Close();
                return kNetTimeout;
            }
        } else {
            Close();
            return kNetNotConnected;
        }
    }
    return 0;
}

OSErr CQztcp::Receive(void* data, size_t length)
{
    if (fd_ < 0) return kNetNotConnected;
    char* p = static_cast<char*>(data);
    int64_t deadline = NowMs() + timeoutMs_;
    while (length > 0) {
        ssize_t n = ::recv(fd_, p, length, 0);
        if (n > 0) {
            p += n;
            length -= size_t(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (!WaitFor(POLLIN, deadline)) {
                Close();
                return kNetTimeout;
            }
        } else {
            Close();  // closed by the server, or broken
            return kNetNotConnected;
        }
    }
    return 0;
}

OSErr CQztcp::Discard(size_t length)
{
    char buffer[4096];
    while (length > 0) {
        size_t piece = length < sizeof buffer ? length : sizeof buffer;
        if (OSErr err = Receive(buffer, piece)) return err;
        length -= piece;
    }
    return 0;
}

bool CQztcp::Readable() const
{
    if (fd_ < 0) return false;
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0;
}
