// Sets an environment variable for the life of a test and puts its earlier
// value back (or unsets it) after: a test program runs many tests in one
// process, and the preferences folder the process was given must survive
// a test that points it elsewhere.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace qztest {

class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name)) earlier_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    // Unsets the variable for the life of the test.
    explicit ScopedEnvironment(const char* name) : name_(name)
    {
        if (const char* old = std::getenv(name)) earlier_ = old;
        ::unsetenv(name);
    }
    ~ScopedEnvironment()
    {
        if (earlier_)
            ::setenv(name_.c_str(), earlier_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> earlier_;
};

}  // namespace qztest
