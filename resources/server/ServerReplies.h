// The payloads of the resource requests to a database server and the
// decoding of their replies. Every count and length of a reply is checked
// against the bytes that arrived.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/MacTypes.h"

// Request codes of the resource store.
enum ServerResRequest : int16_t {
    kReqGetRes = 24,
    kReqAddRes = 25,
    kReqWriteRes = 26,
    kReqRemoveRes = 29,
    kReqGetIndRes = 30,
    kReqGetMap = 32,
    kReqUniqueID = 33,
    kReqAnnounceClient = 34,
    kReqChangePoll = 41,
    kReqGetResLock = 42,
    kReqUnloadRes = 43,
    kReqWhoLocked = 45,
    kReqServerTime = 127,
    kReqIdByName = 168,
    kReqFileList = 194,
};

// Templates of the request and reply bodies.
constexpr int16_t kTplReplyWord = 39;
constexpr int16_t kTplReplyLong = 66;
constexpr int16_t kTplResRequest = 95;
constexpr int16_t kTplNamedId = 138;

// The server answers this error to a get with edit lock on a resource that
// another client holds.
constexpr platform::OSErr kServerLockedErr = -4444;
// The largest count of further map bytes accepted.
constexpr uint32_t kMaxMapFurtherBytes = 64u * 1024u * 1024u;
// Pieces in which the further map bytes are read.
constexpr int32_t kMapPieceBytes = 10240;

// The 12-byte request record (host order): file, type, id or index, padding.
std::vector<uint8_t> ResRequestRecord(uint32_t serverFile, platform::ResType type, int16_t id);
// File, type, id, then the contents as given (10 + length bytes).
std::vector<uint8_t> ResContentsRecord(uint32_t serverFile, platform::ResType type, int16_t id,
                                       const void* contents, int32_t length);
// Request 34's payload: -4444, then 8 zero bytes.
std::vector<uint8_t> AnnounceClientPayload();
// Request 168's payload: type, 2 zero bytes, the name in 32 bytes (at most
// 31 characters kept).
std::vector<uint8_t> IdByNamePayload(platform::ResType type, const unsigned char* name);

// Takes the 4-byte stamp off a reply of at least 5 bytes (read in the
// server's order); a shorter reply keeps its bytes and has stamp 0.
uint32_t TakeStamp(platform::Handle reply, bool otherOrder);

struct ServerFileEntry {
    int32_t number = 0;
    platform::OSType kind = 0;
    std::string name;
};

struct ServerFileList {
    std::vector<ServerFileEntry> files;
    int32_t structureFile = 0;    // kind 'BAS5'
    int32_t alternativeFile = 0;  // kind 'AlDB'
};

// Reads the reply of request 194; reading stops at the end of the data.
ServerFileList DecodeFileList(const uint8_t* data, int32_t length, bool otherOrder);

struct ServerMapType {
    platform::ResType type = 0;
    std::vector<int16_t> ids;
    std::vector<uint32_t> stamps;
};

// Decodes a complete map reply (the count of further bytes, then the type
// lists), in the server's order. kServerBadReplyErr when a count runs past
// the bytes or bytes are left over.
platform::OSErr DecodeServerMap(const uint8_t* data, int32_t length, bool otherOrder,
                                std::vector<ServerMapType>* map);

// Sends request 32 for the file, completes the reply from the connection
// and decodes it. 0, the request's error, kServerBadReplyErr, or -2 when
// memory runs out; -2 too when no reply came without an error.
platform::OSErr FetchServerMap(uint32_t serverFile, std::vector<ServerMapType>* map);

// True when a cached copy is too old for the server's stamp: the stamps
// differ by more than 30 seconds, counted modulo 2^23.
constexpr bool CachedStampIsStale(uint32_t serverStamp, uint32_t cacheStamp)
{
    return ((serverStamp - cacheStamp) & 0x7FFFFFu) > 30;
}
