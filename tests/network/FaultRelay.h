// A relay between the client and the test server that spoils one reply:
// every connection it accepts is passed on to the server, request frames
// up as they are, reply frames down; once armed, a reply to the chosen
// request code is held back, cut, stalled, mislabelled, doubled or led by
// junk, or the connection closes instead of it or after it (the server has
// carried out the request by then). It keeps the codes of the requests it passed
// on, in order.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

enum class Spoil {
    NoReply,         // the reply never comes; the connection stays open
    HalfThenClose,   // half the reply, then the connection closes
    LongerThanSent,  // the header announces more bytes than follow; then nothing
    Huge,            // the header announces 0x7FFFFFFF bytes
    JunkFirst,       // stray bytes come before the reply
    Twice,           // the reply comes twice
    Stalled,         // half the reply, then nothing; the connection stays open
    Closed,          // the connection closes instead of the reply
    ClosedAfter,     // the reply comes whole, then the connection closes
};

class FaultRelay {
public:
    FaultRelay();
    ~FaultRelay();
    FaultRelay(const FaultRelay&) = delete;
    FaultRelay& operator=(const FaultRelay&) = delete;

    // Listens on 127.0.0.1 for connections to the server at `serverPort`,
    // unarmed, nothing passed yet; the map's further bytes are read in the
    // server's byte order.
    bool Start(uint16_t serverPort, bool littleEndianServer);
    // Spoils the nth reply to `code` from now on (1: the next one).
    void Arm(int16_t code, Spoil spoil, int nth = 1);
    // Waits until the armed reply has been spoiled (false when it was not
    // within a guard time far beyond any run's).
    bool WaitSpoiled();
    void Stop();
    uint16_t Port() const { return port_; }
    // The codes of the requests passed on, over every connection.
    std::vector<int16_t> Passed();
    // A descriptor that turns readable when a reply is held back for good
    // (no reply, a stall, more bytes announced than follow), and whether
    // the connection of the client at `clientPort` holds one back (the
    // descriptor reset): what a client waits on instead of a clock.
    int HeldEvent() const { return held_; }
    bool Holds(uint16_t clientPort);

private:
    struct Link;
    void Accept();
    void Up(Link* link);
    void Down(Link* link);
    // Whether this reply is the one to spoil (disarming).
    bool Due(int16_t code, Spoil* spoil);
    // The spoiled reply has gone as spoiled.
    void Spoiled();

    uint16_t serverPort_ = 0;
    bool little_ = false;
    int16_t code_ = 0;
    Spoil spoil_ = Spoil::NoReply;
    int due_ = 0;  // replies to code_ until the spoiled one
    bool armed_ = false;
    bool spoiled_ = false;
    std::condition_variable spoiledNow_;
    int listener_ = -1;
    uint16_t port_ = 0;
    std::mutex mutex_;
    std::vector<int16_t> passed_;
    std::vector<std::unique_ptr<Link>> links_;
    std::thread acceptor_;
    int held_ = -1;
};
