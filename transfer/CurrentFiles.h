// Guards that make a store file, or a resource file of the platform's
// resource chain, current for their lifetime and put back the one that was.
#pragma once

#include <cstdint>

#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"

namespace transfer {

class UsingStore {
public:
    explicit UsingStore(int16_t file) : saved_(xcurres()) { useres(file); }
    ~UsingStore() { useres(saved_); }
    UsingStore(const UsingStore&) = delete;
    UsingStore& operator=(const UsingStore&) = delete;

private:
    int16_t saved_;
};

using platform::UsingResFile;

}  // namespace transfer
