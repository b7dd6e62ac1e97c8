// A peer that speaks raw frames for the tests of the request layer: it
// greets, sends whatever bytes a test puts before it, and answers each
// request through a callback given the request's sequence, keeping the
// last body of each request code. Unlike the test server it can send
// frames nobody asked for and replies no server would.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "network/Wire.h"
#include "platform/core/Endian.h"

class ScriptedPeer {
public:
    using Answer = std::function<std::vector<uint8_t>(uint16_t sequence, int16_t code)>;

    // `first` follows the greeting at once; `answer` gives the bytes sent
    // back for each request.
    ScriptedPeer(std::vector<uint8_t> first, Answer answer)
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof at;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at);
        ::listen(listener_, 1);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &size);
        port_ = ntohs(at.sin_port);
        thread_ = std::thread([this, first = std::move(first), answer = std::move(answer)] {
            int fd = ::accept(listener_, nullptr, nullptr);
            if (fd < 0) return;
            conn_ = fd;
            // One write, so the frames are there as soon as the greeting is.
            std::vector<uint8_t> opening(wire::kGreetingSize);
            wire::EncodeGreeting(false, opening.data());
            opening.insert(opening.end(), first.begin(), first.end());
            bool ok = WriteAll(fd, opening.data(), opening.size());
            uint8_t bytes[wire::kHeaderSize];
            wire::RequestHeader h;
            std::vector<uint8_t> sink(64 * 1024);
            while (ok && ReadAll(fd, bytes, sizeof bytes) && wire::DecodeRequestHeader(bytes, &h)) {
                // A large request waits a moment before it is read, so that its
                // sender finds the socket full and has to wait for room. The
                // outcome does not depend on it; only the path taken does.
                if (h.length > (1u << 20)) std::this_thread::sleep_for(std::chrono::milliseconds(100));
                for (uint32_t left = h.length; ok && left > 0;) {
                    size_t piece = left < sink.size() ? left : sink.size();
                    ok = ReadAll(fd, sink.data(), piece);
                    left -= uint32_t(piece);
                }
                // A body that fits the sink is kept, the last one of each code.
                if (ok && h.length <= sink.size()) {
                    std::lock_guard<std::mutex> lock(bodiesMutex_);
                    bodies_[h.code].assign(sink.begin(), sink.begin() + h.length);
                }
                std::vector<uint8_t> reply = answer ? answer(h.sequence, h.code) : std::vector<uint8_t>{};
                ok = ok && WriteAll(fd, reply.data(), reply.size());
            }
            conn_ = -1;
            ::close(fd);
        });
    }
    ~ScriptedPeer()
    {
        ::shutdown(listener_, SHUT_RDWR);
        int fd = conn_;
        if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
    }
    uint16_t Port() const { return port_; }
    // The body of the last request of `code` (up to 64 KB), empty when none came.
    std::vector<uint8_t> Body(int16_t code)
    {
        std::lock_guard<std::mutex> lock(bodiesMutex_);
        const auto found = bodies_.find(code);
        return found == bodies_.end() ? std::vector<uint8_t>{} : found->second;
    }

    static void Frame(std::vector<uint8_t>* out, uint16_t sequence, int16_t error, uint16_t kind,
                      const std::vector<uint8_t>& payload, uint32_t length)
    {
        uint8_t header[wire::kHeaderSize];
        wire::EncodeReplyHeader({sequence, error, kind, length}, header);
        out->insert(out->end(), header, header + sizeof header);
        out->insert(out->end(), payload.begin(), payload.end());
    }
    static void Frame(std::vector<uint8_t>* out, uint16_t sequence, int16_t error, uint16_t kind,
                      const std::vector<uint8_t>& payload)
    {
        Frame(out, sequence, error, kind, payload, uint32_t(payload.size()));
    }
    // One 12-byte action record.
    static void Action(std::vector<uint8_t>* out, uint32_t type, int16_t id, uint32_t file, uint8_t action)
    {
        uint8_t r[wire::kActionRecordSize] = {};
        platform::WriteBE32(r, type);
        platform::WriteBE16(r + 4, uint16_t(id));
        platform::WriteBE32(r + 6, file);
        r[10] = action;
        out->insert(out->end(), r, r + sizeof r);
    }

private:
    static bool WriteAll(int fd, const uint8_t* p, size_t n)
    {
        while (n > 0) {
            ssize_t k = ::send(fd, p, n, MSG_NOSIGNAL);
            if (k <= 0) return false;
            p += k;
            n -= size_t(k);
        }
        return true;
    }
    static bool ReadAll(int fd, uint8_t* p, size_t n)
    {
        while (n > 0) {
            ssize_t k = ::recv(fd, p, n, 0);
            if (k <= 0) return false;
            p += k;
            n -= size_t(k);
        }
        return true;
    }

    int listener_ = -1;
    std::atomic<int> conn_{-1};
    uint16_t port_ = 0;
    std::mutex bodiesMutex_;
    std::map<int16_t, std::vector<uint8_t>> bodies_;
    std::thread thread_;
};
