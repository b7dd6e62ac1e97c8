// Every test process keeps its preferences in a folder of its own, below
// QZ_PREFERENCES_DIR when it is set (ctest sets the build's
// test-preferences) and below the temporary folder otherwise: ctest runs
// tests side by side, and one process rewriting a preferences file must not
// change what another one reads. The folder goes when the process ends.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

class PrivatePreferences {
public:
    PrivatePreferences() : owner_(::getpid())
    {
        const char* base = std::getenv("QZ_PREFERENCES_DIR");
        std::error_code ec;
        const std::filesystem::path parent =
            base && *base ? std::filesystem::path(base) : std::filesystem::temp_directory_path(ec);
        folder_ = parent / ("process-" + std::to_string(owner_));
        std::filesystem::remove_all(folder_, ec);  // left by an earlier process of this number
        std::filesystem::create_directories(folder_, ec);
        ::setenv("QZ_PREFERENCES_DIR", folder_.c_str(), 1);
    }
    ~PrivatePreferences()
    {
        // A child made by fork() leaves the folder to its parent.
        if (::getpid() != owner_) return;
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    PrivatePreferences(const PrivatePreferences&) = delete;
    PrivatePreferences& operator=(const PrivatePreferences&) = delete;

private:
    pid_t owner_;
    std::filesystem::path folder_;
};

const PrivatePreferences gPrivatePreferences;

}  // namespace
