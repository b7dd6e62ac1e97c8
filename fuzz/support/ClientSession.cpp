#include "fuzz/support/ClientSession.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

#include "kernel/byteswap/SwapTemplates.h"
#include "network/CQztcp.h"
#include "network/Requests.h"
#include "network/StoreConnection.h"
#include "platform/core/Clock.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"
#include "resources/ServerHooks.h"
#include "resources/server/ServerClient.h"
#include "resources/server/ServerConnection.h"

namespace fuzz {

ScriptedServer::ScriptedServer(Bytes script) : script_(std::move(script))
{
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) std::abort();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 1) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        std::abort();
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

ScriptedServer::~ScriptedServer()
{
    // Frees an accept or a read still waiting.
    ::shutdown(listener_, SHUT_RDWR);
    if (client_ >= 0) ::shutdown(client_, SHUT_RDWR);
    thread_.join();
    if (client_ >= 0) ::close(client_);
    ::close(listener_);
}

void ScriptedServer::Serve()
{
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    client_ = client;
    ::shutdown(listener_, SHUT_RDWR);  // a reconnect is refused at once
    size_t done = 0;
    while (done < script_.size()) {
        ssize_t n = ::send(client, script_.data() + done, script_.size() - done, MSG_NOSIGNAL);
        if (n <= 0) break;
        done += size_t(n);
    }
    ::shutdown(client, SHUT_WR);
    uint8_t sink[4096];
    while (::recv(client, sink, sizeof sink, 0) > 0) {
    }
}

namespace {

void ReadAll()
{
    const int32_t types = comptetypes();
    for (int32_t t = 1; t <= types && t <= 64; ++t) {
        const ResType type = xgetindtyp(t);
        const int16_t count = compteres(type, true);
        for (int32_t i = 1; i <= count && i <= 64; ++i) {
            Handle h = xgetindres(type, i, true);
            if (!h) continue;
            int16_t id = 0;
            ResType back = 0;
            xgetresinfo(h, &id, &back);
            unsigned char name[256];
            xgetresname(type, id, name, true);
        }
    }
}

}  // namespace

void RunClientSession(uint16_t port)
{
    static platform::VirtualClock clock(100000);
    platform::SetClock(&clock);
    ClearScratchFolder();
    ResetResManager();
    initresman();
    ResetRequestLayer();
    ResetServerClient();
    InstallStoreConnection();

    if (OpenServerConnection("127.0.0.1", port) == 0) {
        // The script is all there is: a missing reply is the end of the
        // stream, never a wait.
        CurrentConnection()->SetTimeout(5000);
        FSSpec cache;
        platform::FSMakeFSSpec(ScratchFolder() + "/Base.cache", &cache);
        const int16_t ref = openres2(cache, false);
        if (ref != 0) {
            ReadAll();
            platform::OSErr err = 0;
            AskUniqueID(ServerClient().structureFile, platform::FourCC("TEXT"), &err);
            const unsigned char name[] = "\x04Main";
            AskIdByName(platform::FourCC("#GRP"), name, &err);
            PollServerChanges(true);
            ReadAll();
            const uint8_t extra[] = {0, 1, 0, 2};
            Handle h = nullptr;
            platform::PtrToHand(extra, &h, sizeof extra);
            if (!xaddres(h, platform::FourCC("#GRP"), 500)) platform::DisposeHandle(h);
            closeres(ref, true);
        }
    }

    ResetResManager();
    ResetRequestLayer();
    ResetServerClient();
    ServerConnection() = ResServerConnection();
    ServerHooks() = ResServerHooks();
    platform::SetClock(nullptr);
}

}  // namespace fuzz
