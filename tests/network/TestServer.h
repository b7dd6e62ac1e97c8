// A small database server for the tests: it answers the resource requests
// of the client over a loopback TCP port from container files of the store
// (one per server file, in the server's byte order), with edit locks and
// change notices, and can be told to misbehave (once). It runs in a
// child process so that nothing it does shares state with the client; it
// ends when the test drops it (or after a guard time).
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

struct ServerResource {
    uint32_t file = 0;
    uint32_t type = 0;
    int16_t id = 0;
    std::vector<uint8_t> data;  // in the server's byte order
    uint32_t stamp = 0;         // 0: 1
    std::string name;
};

struct ServerFile {
    int32_t number = 0;
    uint32_t kind = 0;
    std::string name;
};

enum class ServerFault {
    None,
    MapOverCap,        // the map announces more further bytes than the cap
    MapTruncated,      // the map's counts run past the bytes sent
    MapTooLong,        // the map's further bytes hold more than its counts use
    CloseMidReply,     // the connection closes halfway through the reply to faultCode
    JunkAfterReply,    // stray bytes follow the reply to faultCode
    ActionsPartRecord, // an action frame whose length is not a whole number of records
    Refuse,            // the request faultCode is refused with an error, nothing done
};

struct TestServerConfig {
    bool littleEndian = false;
    std::vector<ServerFile> files;
    std::vector<ServerResource> resources;
    // A container file published as it stands (a copy is served) as the
    // file of kind 'BAS5', instead of one built from the resources.
    std::string structureCopy;
    uint32_t serverTime = 3000000000u;
    ServerFault fault = ServerFault::None;
    int16_t faultCode = 0;
    // Bytes of the map body sent inside the reply frame of request 32; the
    // rest follows raw.
    uint32_t mapBytesInFrame = 8;

    // The users: the server keeps its own copy of the structure's password
    // tables ('PAQz' 0 and 1 of the file of kind 'BAS5', unscrambled, in
    // the server's byte order) and their version counter (requests 73-78).
    int32_t passwordCounter = 1;
    // The error answering request 196 (the identity of a login).
    int16_t identityError = 0;
    // The first word of each reply to request 179, in turn (then 0).
    std::vector<int16_t> externalLogin;
    // The numbers request 180 answers without an error.
    std::vector<int16_t> privileged;
};

// Answered with every request the server received so far (from all
// connections but the asking one), big-endian: u16 connection number,
// i16 code, u32 length, then the payload as it arrived.
constexpr int16_t kJournalRequest = 900;
// Answered once the server holds its files as published again, its users,
// locks and the actions it owed its clients too (the journal goes on).
constexpr int16_t kResetRequest = 901;

class TestServer {
public:
    TestServer() = default;
    ~TestServer() { Stop(); }
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    // Binds 127.0.0.1 on a free port and starts serving.
    bool Start(const TestServerConfig& config);
    // Puts the server back as it started (kResetRequest).
    bool Reset();
    void Stop();
    uint16_t Port() const { return port_; }

private:
    pid_t child_ = -1;
    int control_ = -1;
    uint16_t port_ = 0;
    std::string folder_;  // the server's container files
};

struct JournalEntry {
    uint16_t connection = 0;
    int16_t code = 0;
    std::vector<uint8_t> payload;
};

// Decodes the reply of kJournalRequest.
std::vector<JournalEntry> DecodeJournal(const uint8_t* data, size_t length);
