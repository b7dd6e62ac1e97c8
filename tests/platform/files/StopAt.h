// A second program stopped at a named step of its file changes: the test
// forks it, it stops itself (SIGSTOP) at the first file call of a kind on a
// path holding a given part, and the test does what the other program does
// meanwhile, then lets it go on. Or, in one process, what the other program
// does runs right there, at that step.
#pragma once

#include <signal.h>

#include <functional>
#include <map>
#include <string>

#include "platform/files/FileOps.h"

namespace filecrash {

// Where the program stops; None: nowhere.
struct StopPoint {
    enum Kind { None, Before, Opened, Wrote, Synced, Renamed, Exchanged } kind = None;
    const char* part = "";
};

// Installed as the file-call observer of the stopping program; with
// `meanwhile`, that runs at the step instead of the stop.
class StopAt : public platform::FileOpObserver {
public:
    explicit StopAt(StopPoint at, std::function<void()> meanwhile = nullptr)
        : at_(at), meanwhile_(std::move(meanwhile))
    {
    }
    void Opened(int fd, const std::string& path, bool) override
    {
        opened_[fd] = path;
        Reached(StopPoint::Opened, path);
    }
    void Wrote(int fd, uint64_t, const void*, size_t) override { Reached(StopPoint::Wrote, opened_[fd]); }
    void Renamed(const std::string&, const std::string& to) override { Reached(StopPoint::Renamed, to); }
    void Exchanged(const std::string&, const std::string& to) override { Reached(StopPoint::Exchanged, to); }
    void Changing(const std::string& path) override { Reached(StopPoint::Before, path); }
    void Synced(int fd) override { Reached(StopPoint::Synced, opened_[fd]); }
    void Closed(int fd) override { opened_.erase(fd); }

private:
    void Reached(StopPoint::Kind kind, const std::string& path)
    {
        if (kind != at_.kind || path.find(at_.part) == std::string::npos) return;
        at_.kind = StopPoint::None;
        if (meanwhile_)
            meanwhile_();
        else
            ::raise(SIGSTOP);
    }
    StopPoint at_;
    std::function<void()> meanwhile_;
    std::map<int, std::string> opened_;
};

}  // namespace filecrash
