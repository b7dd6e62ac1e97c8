#include "tests/network/TestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <cstring>
#include <map>

#include "kernel/standins/EncrypteText.h"
#include "kernel/standins/PasswordKey.h"
#include "network/Wire.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "resources/swap/PasswordTableKey.h"
#include "tests/network/ServerStore.h"

namespace {

constexpr int16_t kLockedError = -4444;
constexpr int16_t kNotFoundError = -192;
constexpr int16_t kRefusedError = -1;
constexpr size_t kUserSize = 112;

struct Client {
    int fd = -1;
    uint16_t number = 0;
    std::vector<uint8_t> pendingActions;
};

class Server {
public:
    Server(const TestServerConfig& config, int listener, int control)
        : config_(config), listener_(listener), control_(control)
    {
        clock_ = config.serverTime;
    }

    bool Build(const std::string& folder)
    {
        folder_ = folder;
        return store_.Build(folder, config_);
    }
    void Run();

private:
    // Values in the server's byte order.
    void Put16(std::vector<uint8_t>& out, uint16_t v) const
    {
        uint8_t b[2];
        config_.littleEndian ? platform::WriteLE16(b, v) : platform::WriteBE16(b, v);
        out.insert(out.end(), b, b + 2);
    }
    void Put32(std::vector<uint8_t>& out, uint32_t v) const
    {
        uint8_t b[4];
        config_.littleEndian ? platform::WriteLE32(b, v) : platform::WriteBE32(b, v);
        out.insert(out.end(), b, b + 4);
    }
    uint16_t Get16(const uint8_t* p) const
    {
        return config_.littleEndian ? platform::ReadLE16(p) : platform::ReadBE16(p);
    }
    uint32_t Get32(const uint8_t* p) const
    {
        return config_.littleEndian ? platform::ReadLE32(p) : platform::ReadBE32(p);
    }

    bool ReadAll(int fd, void* data, size_t n);
    void WriteAll(int fd, const void* data, size_t n);
    void SendFrame(Client& c, uint16_t seq, int16_t error, uint16_t kind,
                   const std::vector<uint8_t>& payload);
    bool Serve(Client& c);
    void Answer(Client& c, uint16_t seq, int16_t code, const std::vector<uint8_t>& p);
    // The configured fault when it is due for this request code; each
    // fault happens once.
    ServerFault TakeFault(int16_t code);
    bool Stamped(uint32_t file, uint32_t type, int16_t id, std::vector<uint8_t>* out) const;
    std::vector<uint8_t> MapBody(uint32_t file) const;
    void Notify(const Client& from, uint32_t file, uint32_t type, int16_t id, uint8_t action);
    // Requests 73-78, 179, 180 and 196; false when `code` is none of them.
    bool AnswerUsers(int16_t code, const std::vector<uint8_t>& p, std::vector<uint8_t>& reply, int16_t& error);
    // The structure's tables, read once from its 'PAQz' 0 and 1.
    void LoadUsers();
    // A user's 112-byte record in its table; null when there is none.
    uint8_t* UserRecord(int16_t user);
    // Everything as it started, the journal aside.
    bool Reset();

    TestServerConfig config_;
    std::string folder_;
    ServerStore store_;
    bool faultDone_ = false;
    std::map<std::vector<uint8_t>, uint16_t> locks_;  // key: file, type, id
    std::vector<Client> clients_;
    std::vector<uint8_t> journal_;
    uint32_t clock_;
    uint16_t nextNumber_ = 1;
    bool usersLoaded_ = false;
    std::vector<uint8_t> tables_[2];
    int32_t counter_ = 0;
    size_t externalAt_ = 0;
    int listener_;
    int control_;
};

std::vector<uint8_t> LockKey(uint32_t file, uint32_t type, int16_t id)
{
    std::vector<uint8_t> k(10);
    platform::WriteBE32(k.data(), file);
    platform::WriteBE32(k.data() + 4, type);
    platform::WriteBE16(k.data() + 8, uint16_t(id));
    return k;
}

bool Server::ReadAll(int fd, void* data, size_t n)
{
    char* p = static_cast<char*>(data);
    while (n > 0) {
        ssize_t got = ::recv(fd, p, n, 0);
        if (got <= 0) return false;
        p += got;
        n -= size_t(got);
    }
    return true;
}

void Server::WriteAll(int fd, const void* data, size_t n)
{
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
        ssize_t put = ::send(fd, p, n, MSG_NOSIGNAL);
        if (put <= 0) return;
        p += put;
        n -= size_t(put);
    }
}

void Server::SendFrame(Client& c, uint16_t seq, int16_t error, uint16_t kind,
                       const std::vector<uint8_t>& payload)
{
    wire::ReplyHeader h;
    h.sequence = seq;
    h.error = error;
    h.kind = kind;
    h.length = uint32_t(payload.size());
    uint8_t bytes[wire::kHeaderSize];
    wire::EncodeReplyHeader(h, bytes);
    WriteAll(c.fd, bytes, sizeof bytes);
    WriteAll(c.fd, payload.data(), payload.size());
}

ServerFault Server::TakeFault(int16_t code)
{
    if (faultDone_ || config_.fault == ServerFault::None || config_.faultCode != code)
        return ServerFault::None;
    faultDone_ = true;
    return config_.fault;
}

bool Server::Stamped(uint32_t file, uint32_t type, int16_t id, std::vector<uint8_t>* out) const
{
    uint32_t stamp = 0;
    if (!store_.Get(file, type, id, out, &stamp)) return false;
    Put32(*out, stamp);
    return true;
}

std::vector<uint8_t> Server::MapBody(uint32_t file) const
{
    const std::vector<ServerStore::Entry> entries = store_.List(file);
    std::vector<uint32_t> types;
    for (const ServerStore::Entry& e : entries)
        if (std::find(types.begin(), types.end(), e.type) == types.end()) types.push_back(e.type);
    std::vector<uint8_t> body;
    Put16(body, uint16_t(types.size()));
    for (uint32_t type : types) {
        std::vector<const ServerStore::Entry*> of;
        for (const ServerStore::Entry& e : entries)
            if (e.type == type) of.push_back(&e);
        Put16(body, uint16_t(of.size()));
        Put32(body, type);
        for (const ServerStore::Entry* e : of) Put16(body, uint16_t(e->id));
        for (const ServerStore::Entry* e : of) Put32(body, e->stamp);
    }
    return body;
}

void Server::Notify(const Client& from, uint32_t file, uint32_t type, int16_t id, uint8_t action)
{
    for (Client& c : clients_) {
        if (c.number == from.number) continue;
        Put32(c.pendingActions, type);
        Put16(c.pendingActions, uint16_t(id));
        Put32(c.pendingActions, file);
        c.pendingActions.push_back(action);
        c.pendingActions.push_back(0);
    }
}

void Server::LoadUsers()
{
    if (usersLoaded_) return;
    usersLoaded_ = true;
    counter_ = config_.passwordCounter;
    for (const ServerFile& f : config_.files) {
        if (f.kind != platform::FourCC("BAS5")) continue;
        for (int16_t id = 0; id < 2; ++id) {
            uint32_t stamp = 0;
            std::vector<uint8_t>& t = tables_[id];
            if (store_.Get(uint32_t(f.number), platform::FourCC("PAQz"), id, &t, &stamp))
                encryptetext(t.data(), int32_t(t.size()), PasswordTableKey());
        }
        return;
    }
}

uint8_t* Server::UserRecord(int16_t user)
{
    LoadUsers();
    const int table = user > 0 ? 0 : 1;
    const int32_t n = user > 0 ? user : -(int32_t(user) + 10);
    std::vector<uint8_t>& t = tables_[table];
    // Only the tagged layout keeps records of 112 bytes.
    if (n < 1 || t.size() < 6 || Get16(t.data()) != 0xA0A0 || n > Get16(t.data() + 2)) return nullptr;
    const size_t at = 6 + kUserSize * size_t(n - 1);
    return at + kUserSize <= t.size() ? t.data() + at : nullptr;
}

bool Server::AnswerUsers(int16_t code, const std::vector<uint8_t>& p, std::vector<uint8_t>& reply, int16_t& error)
{
    const int16_t number = p.size() >= 2 ? int16_t(Get16(p.data())) : 0;
    switch (code) {
    case 73: {
        // The password as typed, or scrambled as stored: either is right.
        uint8_t* record = p.size() >= 18 ? UserRecord(int16_t(Get16(p.data() + 16))) : nullptr;
        if (!record) {
            error = kNotFoundError;
            break;
        }
        const uint8_t* stored = record + 36;
        uint8_t given[16] = {};
        given[0] = std::min<uint8_t>(p[0], 15);
        std::copy(p.begin() + 1, p.begin() + 1 + given[0], given + 1);
        const bool plain = std::equal(given, given + 1 + given[0], stored);
        encryptetext(given + 1, given[0], PasswordKey());
        const bool scrambled = std::equal(given, given + 1 + given[0], stored);
        if (plain || scrambled) Put16(reply, 1);
        else error = kRefusedError;
        break;
    }
    case 74:
        LoadUsers();
        Put32(reply, uint32_t(counter_));
        for (const std::vector<uint8_t>& t : tables_) reply.insert(reply.end(), t.begin(), t.end());
        break;
    case 75: {
        uint8_t* record = p.size() >= kUserSize + 2 ? UserRecord(int16_t(Get16(p.data() + kUserSize))) : nullptr;
        if (!record) {
            error = kNotFoundError;
            break;
        }
        std::copy(p.begin(), p.begin() + kUserSize, record);
        ++counter_;
        break;
    }
    case 76:
        if (uint8_t* record = UserRecord(number)) reply.assign(record, record + kUserSize);
        else error = kNotFoundError;
        break;
    case 78:
        LoadUsers();
        Put32(reply, uint32_t(counter_));
        break;
    case 179:
        Put16(reply, uint16_t(externalAt_ < config_.externalLogin.size() ? config_.externalLogin[externalAt_++] : 0));
        break;
    case 180:
        if (std::find(config_.privileged.begin(), config_.privileged.end(), number) == config_.privileged.end())
            error = kRefusedError;
        break;
    case 196: error = config_.identityError; break;
    default: return false;
    }
    return true;
}

bool Server::Reset()
{
    store_.Close();
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) std::filesystem::remove(entry.path(), ec);
    store_ = ServerStore();
    faultDone_ = false;
    locks_.clear();
    for (Client& c : clients_) c.pendingActions.clear();
    clock_ = config_.serverTime;
    usersLoaded_ = false;
    tables_[0].clear();
    tables_[1].clear();
    counter_ = 0;
    externalAt_ = 0;
    return store_.Build(folder_, config_);
}

void Server::Answer(Client& c, uint16_t seq, int16_t code, const std::vector<uint8_t>& p)
{
    std::vector<uint8_t> reply;
    int16_t error = 0;
    if (config_.fault == ServerFault::Refuse && TakeFault(code) == ServerFault::Refuse) {
        SendFrame(c, seq, kRefusedError, wire::kFrameReply, reply);
        return;
    }
    bool hasRecord = p.size() >= 10;
    uint32_t file = hasRecord ? Get32(p.data()) : 0;
    uint32_t type = hasRecord ? Get32(p.data() + 4) : 0;
    int16_t id = hasRecord ? int16_t(Get16(p.data() + 8)) : 0;

    switch (code) {
    case 24:
        if (!Stamped(file, type, id, &reply)) error = kNotFoundError;
        break;
    case 25:
    case 26:
        if (!hasRecord) break;
        if (!store_.Put(file, type, id, p.data() + 10, p.size() - 10, ++clock_)) {
            error = kNotFoundError;
            break;
        }
        Notify(c, file, type, id, code == 25 ? 2 : 1);
        break;
    case 29:
        store_.Remove(file, type, id);
        Notify(c, file, type, id, 3);
        break;
    case 30: {
        int16_t n = 0;
        for (const ServerStore::Entry& e : store_.List(file))
            if (e.type == type && ++n == id) {
                uint32_t stamp = 0;
                store_.Get(file, type, e.id, &reply, &stamp);
                break;
            }
        if (n != id) error = kNotFoundError;
        break;
    }
    case 32: {
        std::vector<uint8_t> body = MapBody(file);
        uint32_t inFrame = std::min<uint32_t>(config_.mapBytesInFrame, uint32_t(body.size()));
        uint32_t further = uint32_t(body.size()) - inFrame;
        const ServerFault fault = TakeFault(32);
        switch (fault) {
        case ServerFault::MapOverCap: further = wire::kMaxPayload + 1; break;
        case ServerFault::MapTruncated:
            body.resize(body.size() - 3);
            further = uint32_t(body.size()) - inFrame;
            break;
        case ServerFault::MapTooLong:
            body.insert(body.end(), {1, 2, 3, 4, 5});
            further += 5;
            break;
        default: break;
        }
        Put32(reply, further);
        reply.insert(reply.end(), body.begin(), body.begin() + inFrame);
        if (fault == ServerFault::CloseMidReply) {
            SendFrame(c, seq, 0, wire::kFrameReply, reply);
            WriteAll(c.fd, body.data() + inFrame, (body.size() - inFrame) / 2);
            ::shutdown(c.fd, SHUT_RDWR);
            return;
        }
        SendFrame(c, seq, 0, wire::kFrameReply, reply);
        if (fault != ServerFault::MapOverCap)
            WriteAll(c.fd, body.data() + inFrame, body.size() - inFrame);
        else
            WriteAll(c.fd, body.data() + inFrame, std::min<size_t>(16, body.size() - inFrame));
        return;
    }
    case 33: {
        int16_t unique = 128;
        while (store_.Has(file, type, unique)) ++unique;
        Put16(reply, uint16_t(unique));
        break;
    }
    case 34:
    case 41: break;
    case 42:
    case 43:
    case 45: {
        std::vector<uint8_t> key = LockKey(file, type, id);
        auto held = locks_.find(key);
        if (code == 45) {
            Put16(reply, held == locks_.end() ? 0 : held->second);
        } else if (code == 43) {
            if (held != locks_.end() && held->second == c.number) locks_.erase(held);
        } else if (Stamped(file, type, id, &reply)) {
            if (held != locks_.end() && held->second != c.number)
                error = kLockedError;
            else
                locks_[key] = c.number;
        } else {
            error = kNotFoundError;
        }
        break;
    }
    case 127: Put32(reply, config_.serverTime); break;
    case 168: {
        if (p.size() < 38) break;
        uint8_t length = std::min<uint8_t>(p[6], 31);
        std::string name(reinterpret_cast<const char*>(p.data()) + 7, length);
        if (int16_t found = store_.IdByName(Get32(p.data()), name)) {
            reply = p;
            uint8_t b[2];
            config_.littleEndian ? platform::WriteLE16(b, uint16_t(found)) : platform::WriteBE16(b, uint16_t(found));
            reply[4] = b[0];
            reply[5] = b[1];
        }
        break;
    }
    case 194:
        Put16(reply, uint16_t(config_.files.size()));
        for (const ServerFile& f : config_.files) {
            Put32(reply, uint32_t(f.number));
            Put32(reply, f.kind);
            Put16(reply, 0);
            reply.push_back(uint8_t(f.name.size()));
            reply.insert(reply.end(), f.name.begin(), f.name.end());
        }
        break;
    case kJournalRequest: reply = journal_; break;
    case kResetRequest:
        if (!Reset()) error = -1;
        break;
    default:
        if (!AnswerUsers(code, p, reply, error)) error = -1;
        break;
    }

    const ServerFault fault = TakeFault(code);
    if (fault == ServerFault::CloseMidReply) {
        wire::ReplyHeader h{seq, error, wire::kFrameReply, uint32_t(reply.size() + 8)};
        uint8_t bytes[wire::kHeaderSize];
        wire::EncodeReplyHeader(h, bytes);
        WriteAll(c.fd, bytes, sizeof bytes);
        WriteAll(c.fd, reply.data(), reply.size() / 2);
        ::shutdown(c.fd, SHUT_RDWR);
        return;
    }
    SendFrame(c, seq, error, wire::kFrameReply, reply);
    if (fault == ServerFault::JunkAfterReply) {
        const uint8_t junk[7] = {0xEE, 0x51, 0x7A, 0x00, 0x51, 0xEE, 0xEE};
        WriteAll(c.fd, junk, sizeof junk);
    }
}

bool Server::Serve(Client& c)
{
    uint8_t bytes[wire::kHeaderSize];
    wire::RequestHeader h;
    if (!ReadAll(c.fd, bytes, sizeof bytes) || !wire::DecodeRequestHeader(bytes, &h) ||
        h.length > wire::kMaxPayload)
        return false;
    std::vector<uint8_t> payload(h.length);
    if (!ReadAll(c.fd, payload.data(), payload.size())) return false;
    if (h.code != kJournalRequest && h.code != kResetRequest) {
        uint8_t entry[8];
        platform::WriteBE16(entry, c.number);
        platform::WriteBE16(entry + 2, uint16_t(h.code));
        platform::WriteBE32(entry + 4, h.length);
        journal_.insert(journal_.end(), entry, entry + 8);
        journal_.insert(journal_.end(), payload.begin(), payload.end());
    }
    if (!c.pendingActions.empty()) {
        if (config_.fault == ServerFault::ActionsPartRecord && !faultDone_) {
            faultDone_ = true;
            c.pendingActions.push_back(0xAB);
        }
        SendFrame(c, h.sequence, 0, wire::kFrameActions, c.pendingActions);
        c.pendingActions.clear();
    }
    Answer(c, h.sequence, h.code, payload);
    return true;
}

// Serves until the test closes the control pipe or ends: however long a
// loaded machine makes the test, the server is there.
void Server::Run()
{
    for (;;) {
        std::vector<pollfd> fds;
        fds.push_back({control_, POLLIN, 0});
        fds.push_back({listener_, POLLIN, 0});
        for (const Client& c : clients_) fds.push_back({c.fd, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), 1000) < 0) continue;
        if (fds[0].revents) return;  // the test is done with us
        if (fds[1].revents & POLLIN) {
            int fd = ::accept(listener_, nullptr, nullptr);
            if (fd >= 0) {
                int one = 1;
                ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                Client c;
                c.fd = fd;
                c.number = nextNumber_++;
                uint8_t greeting[wire::kGreetingSize];
                wire::EncodeGreeting(config_.littleEndian, greeting);
                WriteAll(fd, greeting, sizeof greeting);
                clients_.push_back(c);
            }
        }
        for (size_t i = 2; i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            auto it = std::find_if(clients_.begin(), clients_.end(),
                                   [&](const Client& c) { return c.fd == fds[i].fd; });
            if (it == clients_.end()) continue;
            if (!Serve(*it)) {
                for (auto l = locks_.begin(); l != locks_.end();)
                    l = l->second == it->number ? locks_.erase(l) : std::next(l);
                ::close(it->fd);
                clients_.erase(it);
            }
        }
    }
}

}  // namespace

bool TestServer::Start(const TestServerConfig& config)
{
    Stop();
    int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0) return false;
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    at.sin_port = 0;
    socklen_t size = sizeof at;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 ||
        ::listen(listener, 8) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&at), &size) != 0) {
        ::close(listener);
        return false;
    }
    port_ = ntohs(at.sin_port);
    std::string templ = (std::filesystem::temp_directory_path() / "qz-server-XXXXXX").string();
    int pipeFds[2];
    if (!::mkdtemp(templ.data()) || ::pipe(pipeFds) != 0) {
        ::close(listener);
        return false;
    }
    folder_ = templ;
    // The child says whether its files are ready before the test goes on.
    int readyFds[2];
    if (::pipe(readyFds) != 0) {
        ::close(listener);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return false;
    }
    const pid_t parent = ::getpid();
    pid_t pid = ::fork();
    if (pid == 0) {
        // A test program that ends takes its servers with it, even when
        // another child holds the control pipe open.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(0);
        ::close(pipeFds[1]);
        ::close(readyFds[0]);
        Server server(config, listener, pipeFds[0]);
        char ready = server.Build(folder_) ? 1 : 0;
        (void)!::write(readyFds[1], &ready, 1);
        ::close(readyFds[1]);
        if (ready) server.Run();
        ::_exit(0);
    }
    ::close(listener);
    ::close(pipeFds[0]);
    ::close(readyFds[1]);
    if (pid < 0) {
        ::close(pipeFds[1]);
        ::close(readyFds[0]);
        return false;
    }
    child_ = pid;
    control_ = pipeFds[1];
    char ready = 0;
    // The child's word, or the end of the pipe when it ended without one.
    pollfd wait{readyFds[0], POLLIN, 0};
    bool ok = ::poll(&wait, 1, -1) == 1 && ::read(readyFds[0], &ready, 1) == 1 && ready == 1;
    ::close(readyFds[0]);
    if (!ok) Stop();
    return ok;
}

bool TestServer::Reset()
{
    if (child_ <= 0) return false;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(port_);
    bool ok = fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    uint8_t bytes[wire::kHeaderSize];
    auto readAll = [&](uint8_t* data, size_t n) {
        while (ok && n > 0) {
            const ssize_t got = ::recv(fd, data, n, 0);
            ok = got > 0;
            if (ok) data += got, n -= size_t(got);
        }
    };
    readAll(bytes, wire::kGreetingSize);
    wire::RequestHeader request;
    request.sequence = 1;
    request.code = kResetRequest;
    wire::EncodeRequestHeader(request, bytes);
    ok = ok && ::send(fd, bytes, sizeof bytes, MSG_NOSIGNAL) == ssize_t(sizeof bytes);
    readAll(bytes, sizeof bytes);
    wire::ReplyHeader reply;
    ok = ok && wire::DecodeReplyHeader(bytes, &reply) && reply.error == 0 && reply.length == 0;
    if (fd >= 0) ::close(fd);
    return ok;
}

void TestServer::Stop()
{
    if (control_ >= 0) ::close(control_);
    control_ = -1;
    if (child_ > 0) {
        int status = 0;
        ::waitpid(child_, &status, 0);
    }
    child_ = -1;
    if (!folder_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    folder_.clear();
}

std::vector<JournalEntry> DecodeJournal(const uint8_t* data, size_t length)
{
    std::vector<JournalEntry> out;
    size_t at = 0;
    while (at + 8 <= length) {
        JournalEntry e;
        e.connection = platform::ReadBE16(data + at);
        e.code = int16_t(platform::ReadBE16(data + at + 2));
        uint32_t n = platform::ReadBE32(data + at + 4);
        at += 8;
        if (n > length - at) break;
        e.payload.assign(data + at, data + at + n);
        at += n;
        out.push_back(std::move(e));
    }
    return out;
}
