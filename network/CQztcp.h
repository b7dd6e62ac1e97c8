// One TCP connection to a database server: a non-blocking socket, read and
// written with a deadline so that no call waits longer than the timeout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/core/MacTypes.h"

class CQztcp {
public:
    CQztcp() = default;
    ~CQztcp();
    CQztcp(const CQztcp&) = delete;
    CQztcp& operator=(const CQztcp&) = delete;

    // Connects to a dotted IPv4 address and reads the server's greeting.
    platform::OSErr Open(const std::string& address, uint16_t port);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // True when the server's payloads are little-endian.
    bool ServerLittleEndian() const { return little_; }
    uint16_t NextSequence() { return ++sequence_; }
    uint16_t LastSequence() const { return sequence_; }

    // Writes all bytes, or reads exactly that many, before the timeout.
    // A failure closes the connection: its state is then unknown.
    platform::OSErr Send(const void* data, size_t length);
    platform::OSErr Receive(void* data, size_t length);
    // Reads and drops that many bytes.
    platform::OSErr Discard(size_t length);
    // True when bytes (or the end of the stream) wait to be read.
    bool Readable() const;

    // The longest a single Send or Receive waits, in milliseconds (30 s
    // unless set).
    static constexpr uint32_t kDefaultTimeoutMs = 30000;
    void SetTimeout(uint32_t milliseconds) { timeoutMs_ = milliseconds; }

    // An end of a wait other than its deadline, for a test whose server
    // holds a reply back on purpose: `event` (a descriptor, -1 for none) is
    // watched beside the socket of every connection; when it turns
    // readable, `over` is asked with the connection's local port whether
    // its wait is over (the wait then ends as if its time had run out) and
    // resets the event.
    static void SetWaitEnd(int event, std::function<bool(uint16_t localPort)> over);

private:
    bool WaitFor(short events, int64_t deadlineMs) const;

    int fd_ = -1;
    bool little_ = false;
    uint16_t sequence_ = 0;
    uint32_t timeoutMs_ = kDefaultTimeoutMs;
};
