#include "tests/network/FaultRelay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <map>

#include "network/Wire.h"
#include "platform/core/Endian.h"

namespace {

constexpr int16_t kMapRequest = 32;

bool ReadAll(int fd, uint8_t* data, size_t n)
{
    while (n > 0) {
        const ssize_t got = ::recv(fd, data, n, 0);
        if (got <= 0) return false;
        data += got;
        n -= size_t(got);
    }
    return true;
}

bool WriteAll(int fd, const uint8_t* data, size_t n)
{
    while (n > 0) {
        const ssize_t put = ::send(fd, data, n, MSG_NOSIGNAL);
        if (put <= 0) return false;
        data += put;
        n -= size_t(put);
    }
    return true;
}

bool ReadInto(int fd, std::vector<uint8_t>* out, size_t n)
{
    const size_t at = out->size();
    out->resize(at + n);
    return ReadAll(fd, out->data() + at, n);
}

}  // namespace

struct FaultRelay::Link {
    int client = -1;
    int server = -1;
    std::mutex mutex;
    std::map<uint16_t, int16_t> codes;  // by sequence
    uint16_t clientPort = 0;
    bool held = false;  // a reply held back for good
    std::thread up, down;
};

FaultRelay::FaultRelay() : held_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

FaultRelay::~FaultRelay()
{
    Stop();
    ::close(held_);
}

bool FaultRelay::Start(uint16_t serverPort, bool littleEndianServer)
{
    serverPort_ = serverPort;
    little_ = littleEndianServer;
    armed_ = false;
    passed_.clear();
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof at;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 ||
        ::listen(listener_, 8) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &size) != 0)
        return false;
    port_ = ntohs(at.sin_port);
    acceptor_ = std::thread([this] { Accept(); });
    return true;
}

void FaultRelay::Stop()
{
    if (listener_ < 0) return;
    ::shutdown(listener_, SHUT_RDWR);
    acceptor_.join();
    ::close(listener_);
    listener_ = -1;
    for (const std::unique_ptr<Link>& link : links_) {
        ::shutdown(link->client, SHUT_RDWR);
        ::shutdown(link->server, SHUT_RDWR);
        link->up.join();
        link->down.join();
        ::close(link->client);
        ::close(link->server);
    }
    links_.clear();
}

void FaultRelay::Arm(int16_t code, Spoil spoil, int nth)
{
    std::lock_guard<std::mutex> lock(mutex_);
    code_ = code;
    spoil_ = spoil;
    due_ = nth;
    armed_ = true;
    spoiled_ = false;
}

bool FaultRelay::WaitSpoiled()
{
    std::unique_lock<std::mutex> lock(mutex_);
    return spoiledNow_.wait_for(lock, std::chrono::seconds(60), [this] { return spoiled_; });
}

std::vector<int16_t> FaultRelay::Passed()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return passed_;
}

bool FaultRelay::Holds(uint16_t clientPort)
{
    eventfd_t count = 0;
    ::eventfd_read(held_, &count);
    std::lock_guard<std::mutex> lock(mutex_);
    for (const std::unique_ptr<Link>& link : links_)
        if (link->clientPort == clientPort && link->held) return true;
    return false;
}

void FaultRelay::Accept()
{
    for (;;) {
        sockaddr_in from{};
        socklen_t fromSize = sizeof from;
        const int client = ::accept4(listener_, reinterpret_cast<sockaddr*>(&from), &fromSize, SOCK_CLOEXEC);
        if (client < 0) return;
        const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(serverPort_);
        if (server < 0 || ::connect(server, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
            ::close(client);
            if (server >= 0) ::close(server);
            continue;
        }
        int one = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        ::setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        auto link = std::make_unique<Link>();
        link->client = client;
        link->server = server;
        link->clientPort = ntohs(from.sin_port);
        Link* l = link.get();
        std::lock_guard<std::mutex> lock(mutex_);
        link->up = std::thread([this, l] { Up(l); });
        link->down = std::thread([this, l] { Down(l); });
        links_.push_back(std::move(link));
    }
}

void FaultRelay::Up(Link* link)
{
    for (;;) {
        std::vector<uint8_t> frame;
        wire::RequestHeader h;
        if (!ReadInto(link->client, &frame, wire::kHeaderSize) || !wire::DecodeRequestHeader(frame.data(), &h) ||
            !ReadInto(link->client, &frame, h.length))
            break;
        {
            std::lock_guard<std::mutex> lock(link->mutex);
            link->codes[h.sequence] = h.code;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            passed_.push_back(h.code);
        }
        if (!WriteAll(link->server, frame.data(), frame.size())) break;
    }
    // The client is gone: so is its server connection.
    ::shutdown(link->server, SHUT_RDWR);
}

bool FaultRelay::Due(int16_t code, Spoil* spoil)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!armed_ || code != code_ || --due_ > 0) return false;
    armed_ = false;
    *spoil = spoil_;
    return true;
}

void FaultRelay::Spoiled()
{
    std::lock_guard<std::mutex> lock(mutex_);
    spoiled_ = true;
    spoiledNow_.notify_all();
}

void FaultRelay::Down(Link* link)
{
    std::vector<uint8_t> greeting;
    if (!ReadInto(link->server, &greeting, wire::kGreetingSize) ||
        !WriteAll(link->client, greeting.data(), greeting.size()))
        return;
    bool stalled = false;
    for (;;) {
        std::vector<uint8_t> unit;
        wire::ReplyHeader h;
        if (!ReadInto(link->server, &unit, wire::kHeaderSize)) break;
        if (!wire::DecodeReplyHeader(unit.data(), &h) || !ReadInto(link->server, &unit, h.length)) break;
        int16_t code = 0;
        {
            std::lock_guard<std::mutex> lock(link->mutex);
            code = link->codes[h.sequence];
        }
        const bool reply = h.kind == wire::kFrameReply;
        // The map's further bytes follow its frame raw: they belong to the reply.
        if (reply && code == kMapRequest && h.length >= 4) {
            const uint8_t* count = unit.data() + wire::kHeaderSize;
            const uint32_t further = little_ ? platform::ReadLE32(count) : platform::ReadBE32(count);
            if (!ReadInto(link->server, &unit, further)) break;
        }
        if (stalled) continue;
        Spoil spoil = Spoil::NoReply;
        if (!reply || !Due(code, &spoil)) {
            if (!WriteAll(link->client, unit.data(), unit.size())) break;
            continue;
        }
        static const uint8_t kJunk[] = {0xEE, 0x51, 0x7A, 0x00, 0x51, 0xEE, 0xEE, 0x00, 0x00};
        // Nothing more comes on this connection: said to a waiting client.
        const auto hold = [&] {
            stalled = true;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                link->held = true;
            }
            ::eventfd_write(held_, 1);
        };
        switch (spoil) {
        case Spoil::NoReply: hold(); break;
        case Spoil::Stalled:
            WriteAll(link->client, unit.data(), unit.size() / 2);
            hold();
            break;
        case Spoil::HalfThenClose:
        case Spoil::Closed:
        case Spoil::ClosedAfter:
            // No request sent after the reply reaches the server.
            ::shutdown(link->server, SHUT_RDWR);
            WriteAll(link->client, unit.data(),
                     spoil == Spoil::Closed ? 0 : spoil == Spoil::ClosedAfter ? unit.size() : unit.size() / 2);
            ::shutdown(link->client, SHUT_RDWR);
            Spoiled();
            return;
        case Spoil::LongerThanSent:
        case Spoil::Huge:
            platform::WriteBE32(unit.data() + 8, spoil == Spoil::Huge ? 0x7FFFFFFFu : h.length + 64);
            WriteAll(link->client, unit.data(), unit.size());
            // A reply announced as too large is refused on its header.
            if (spoil == Spoil::Huge)
                stalled = true;
            else
                hold();
            break;
        case Spoil::JunkFirst:
            WriteAll(link->client, kJunk, sizeof kJunk);
            WriteAll(link->client, unit.data(), unit.size());
            break;
        case Spoil::Twice:
            WriteAll(link->client, unit.data(), unit.size());
            WriteAll(link->client, unit.data(), unit.size());
            break;
        }
        Spoiled();
    }
    ::shutdown(link->client, SHUT_RDWR);
}
