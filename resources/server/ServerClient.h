// The store-wide state of a client of a database server and the small
// requests that need no open file: server time, the file list, announcing
// the client file, the change poll, unique ids, lock holders and ids by name.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "resources/server/ServerReplies.h"

struct ServerClientState {
    uint32_t structureFile = 0;    // server file number of the structure
    uint32_t alternativeFile = 0;  // and of the alternative file
    int16_t pseudoRefCounter = 0;  // 32000 once the file list arrived
    int32_t timeOffset = 0;        // local clock minus server clock, seconds
    uint32_t lastFullPoll = 0;     // ticks
};

constexpr int16_t kFirstPseudoRef = 32000;
// Ticks between full change polls (a get by type and id sends one when more
// have passed).
constexpr uint32_t kFullPollTicks = 3601;

// The version stored in a client's cache ('pver' 0) and the range of
// versions accepted in a cache kept from before (low 16 bits, unsigned).
constexpr int16_t kCacheVersion = 0x0807;
constexpr uint16_t kOldestCacheVersion = 0x0805;
constexpr uint16_t kNewestCacheVersion = 0x0807;

ServerClientState& ServerClient();
void ResetServerClient();
// The next pseudo reference of a client file.
int16_t NextPseudoRef();

// 127: notes the server time offset (left as it was without a reply).
platform::OSErr AskServerTime();
// 194: records the structure and alternative files and starts the pseudo
// references.
platform::OSErr AskFileList(ServerFileList* list);
// 34.
platform::OSErr AnnounceClientFile();
// 41: the full poll for gets by type and id when it is due, else the short
// poll when the connection has been quiet longer than intervalresource
// (the store's global).
void PollServerChanges(bool getByTypeAndId);
// 33: 0 with the request's error when it failed, with -1 when the server
// sent no id.
int16_t AskUniqueID(uint32_t serverFile, platform::ResType type, platform::OSErr* err);
// 45: the holder the server reports.
int16_t AskWhoLocked(uint32_t serverFile, platform::ResType type, int16_t id, platform::OSErr* err);
// 168: 0 with the request's error when there is no reply.
int16_t AskIdByName(platform::ResType type, const unsigned char* name, platform::OSErr* err);
// 43.
platform::OSErr TellUnloaded(uint32_t serverFile, platform::ResType type, int16_t id);
