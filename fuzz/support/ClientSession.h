// The whole client of a database server, for the fuzz target that plays a
// misbehaving server: a loopback listener that sends a script of bytes to
// the one client it accepts, and the client's session against it.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "fuzz/support/FuzzSupport.h"

namespace fuzz {

// Accepts one connection on 127.0.0.1, sends the script (the greeting and
// every reply), closes its sending side and reads whatever the client sends
// until the client closes. Later connections are refused.
class ScriptedServer {
public:
    explicit ScriptedServer(Bytes script);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    uint16_t Port() const { return port_; }

private:
    void Serve();

    Bytes script_;
    int listener_ = -1;
    std::atomic<int> client_{-1};
    uint16_t port_ = 0;
    std::thread thread_;
};

// Connects to the server at the port and runs a client's session: the file
// list, the server-backed structure file opened over a cache in the scratch
// folder, every resource read, the small requests, a change poll, a new
// resource written and the file closed. Resets every layer afterwards.
void RunClientSession(uint16_t port);

}  // namespace fuzz
