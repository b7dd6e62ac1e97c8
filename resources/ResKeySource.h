// Where the keys of components' enciphered resources come from. The
// component layer attaches its key source to a file; until it does (or
// when it knows no key) the stamp-based keys apply.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

class ResKeySource {
public:
    virtual ~ResKeySource();
    // The key for (type, id); 0 when there is none.
    virtual uint32_t GetKey(platform::ResType type, int16_t id);
};

// The source in use before the component layer exists: it knows no key.
ResKeySource& NoComponentKeys();
