// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace platform::testing {

class TempFolder {
public:
    TempFolder()
    {
        std::string templ = (std::filesystem::temp_directory_path() / "qz-test-XXXXXX").string();
        char* made = ::mkdtemp(templ.data());
        path_ = made ? std::filesystem::canonical(made).string() : std::string();
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace platform::testing
