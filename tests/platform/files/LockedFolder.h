// A folder nobody may write for the life of the object: made with mode
// 0555, and for a test run as root the process's rights to pass over
// file modes set aside meanwhile, so that the mode holds for it too.
#pragma once

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace platform::testing {

class LockedFolder {
public:
    explicit LockedFolder(const std::string& path) : path_(path)
    {
        std::filesystem::create_directories(path_);
        ::chmod(path_.c_str(), 0555);
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        if (::syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        lowered_ = ::syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~LockedFolder()
    {
        if (lowered_) ::syscall(SYS_capset, &header_, saved_);
        ::chmod(path_.c_str(), 0755);
    }
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;

    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool lowered_ = false;
};

}  // namespace platform::testing
