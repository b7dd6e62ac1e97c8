// The external password system: a module that keeps the users outside the
// structure, reached through `passhook`, and the server's privilege checks
// (request 180) with their answers kept for a while. This program loads no
// such module: LoadExtPass always reports none, and the hook is only ever
// filled by tests.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

// The module's entry: selector 103 begins a login and gives the module's
// first message in *message; 104 hands it the server's reply in *message;
// 105 asks its next message. Answers 0 or an error. A message handed out
// becomes the caller's; one handed in stays the caller's.
using PassHookProc = int16_t (*)(int16_t selector, platform::Handle* message);
extern PassHookProc passhook;
// Whether an external password system is present.
extern bool HasPassWordsExtern;

// Looks for the module: none in this program (clears HasPassWordsExtern, 0).
int16_t LoadExtPass();

// Request 180 with the user's number: true when the server reports no
// error. The answer is kept for that user for 360,000 ticks.
bool IsAdmin_ext(int16_t user);
// Request 180 with the group's number, its result kept per group in
// CachePassExt for 360,000 ticks; true when the result is 0.
bool OKPass_ext(int16_t group);
// The module's login: its messages go to the server (request 179) and the
// replies back until a reply's first word is not 0; that word is the user
// logged in. Answers the request's error.
int16_t TakePass_ext();

// One kept answer of OKPass_ext, ordered by group.
struct PassPrivilegeInfo {
    int16_t group = 0;
    int16_t result = 0;
    uint32_t ticks = 0;
    int16_t Compare(const PassPrivilegeInfo& other, bool) const
    {
        return group < other.group ? -1 : group > other.group ? 1 : 0;
    }
};
// The kept answers (made at program start, emptied by the reset).
int32_t CachedPrivilegeCount();
// Forgets the hook, the flag and every kept answer (tests).
void ResetExternalPasswords();
