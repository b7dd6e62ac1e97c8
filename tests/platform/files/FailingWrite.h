// The writes and flushes a run makes to files under a folder, counted, one
// of them failing: a first run records how many a command makes, the next
// ones fail each in turn, as a disk full at that moment with room again at
// once (or, with `stays`, full from then on).
#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/files/FileOps.h"

namespace filecrash {

class FailingWrite : public platform::FileOpObserver {
public:
    // `nth` from 0; < 0: none fails.
    FailingWrite(const std::filesystem::path& folder, int32_t nth, bool stays = false, int why = ENOSPC)
        : folder_(std::filesystem::weakly_canonical(folder).string() + "/"), nth_(nth), stays_(stays), why_(why)
    {
        platform::SetFileOpObserver(this);
    }
    ~FailingWrite() override { platform::SetFileOpObserver(nullptr); }
    FailingWrite(const FailingWrite&) = delete;
    FailingWrite& operator=(const FailingWrite&) = delete;

    int WriteFailure(int fd) override
    {
        char path[4096];
        const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path);
        if (n <= 0 || std::string(path, size_t(n)).rfind(folder_, 0) != 0) return 0;
        const int32_t call = calls_++;
        return nth_ >= 0 && (call == nth_ || (stays_ && call > nth_)) ? why_ : 0;
    }
    // The writes and flushes met so far.
    int32_t Count() const { return calls_; }
    bool Met() const { return nth_ >= 0 && calls_ > nth_; }

private:
    std::string folder_;
    int32_t nth_;
    bool stays_;
    int why_;
    int32_t calls_ = 0;
};

}  // namespace filecrash
