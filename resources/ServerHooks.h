// Hooks through which the server connection, built above the store,
// takes part in resource reads: the change poll run before gets and the
// id-by-name request. Both are unset until that layer installs them.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

class CPseudoResFile;

// longPoll: a get by type and id (the full poll may be due); otherwise the
// short poll of gets by index and attribute reads.
using ResChangePollHook = void (*)(CPseudoResFile* file, bool longPoll);
// Asks the server for the id of a named resource; 0 with *err set when
// there is no answer.
using ResIdByNameHook = int16_t (*)(CPseudoResFile* file, platform::ResType type,
                                    const unsigned char* name, platform::OSErr* err);

struct ResServerHooks {
    ResChangePollHook changePoll = nullptr;
    ResIdByNameHook idByName = nullptr;
};

ResServerHooks& ServerHooks();
