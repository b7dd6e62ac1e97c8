// What the movers share: the room check, copies of a source document's
// resources, additions to and replacements in the destination's store,
// and the session of the transfer under way (TransferSession) that keeps
// what a failed transfer must take back.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/MacTypes.h"

class TMainDoc;
class TObjQz;

namespace transfer {

constexpr int16_t kRecordMissing = 1003;

// -34 when the destination's volume has less than `need` bytes free.
int16_t RoomFor(TMainDoc* dest, int64_t need);
// Tests measure the room through this (null: the volume's).
using RoomProbe = int64_t (*)(TMainDoc* dest);
void SetRoomProbe(RoomProbe probe);

// A copy of (type, id) of the document's store, which stays as it was;
// null with *err 0 when missing, -108 when memory runs out.
platform::Handle CopyStoreRes(TMainDoc* doc, uint32_t type, int16_t id, int16_t* err);
// The store's error after a failed call (never 0).
int16_t StoreError();
// Adds `contents` (the store's from then on, freed on failure) as (type,
// id) to the destination's store, with a resource name when given.
int16_t AddStoreRes(TMainDoc* dest, platform::Handle contents, uint32_t type, int16_t id,
                    const unsigned char* name = nullptr);
// Puts the bytes of `contents` (freed) in place of those of (type, id),
// which keeps its id, name and attributes; added when missing.
int16_t ReplaceStoreRes(TMainDoc* dest, platform::Handle contents, uint32_t type, int16_t id);
// A new id for `type` in the destination's store.
int16_t NewStoreId(TMainDoc* dest, uint32_t type);
// Commits the destination's store without its map (inside a transfer the
// commit only marks).
int16_t CommitNoMap(TMainDoc* dest);
// Removes every dependency of `obj`, so that link re-targeting rebuilds
// them from its new contents.
void ClearDependencies(TObjQz* obj);
// A copy of the source's (type, id) once the room check for twice its
// size passed; null with *err (1003 when missing).
platform::Handle CopyWithRoom(TMainDoc* source, TMainDoc* dest, uint32_t type, int16_t id, int16_t* err);
// The overwrite the Replace... movers share: the source's (type,
// sourceId), with room for it, in place of `target`'s (type, target's
// id), committed; then `target`'s dependencies go.
int16_t ReplaceOwnResource(TMainDoc* source, TMainDoc* dest, uint32_t type, int16_t sourceId, TObjQz* target);

// The bytes of (type, id) of a document's store: false when missing (*err
// 0) or when memory runs out (*err -108).
bool StoreBytes(TMainDoc* doc, uint32_t type, int16_t id, std::vector<uint8_t>* out, int16_t* err);
bool HasStoreRes(TMainDoc* doc, uint32_t type, int16_t id);
// `bytes` as (type, id) of the destination's store: in place when there
// (its name and attributes kept), else added under `name`.
int16_t PutStoreBytes(TMainDoc* dest, uint32_t type, int16_t id, const std::vector<uint8_t>& bytes,
                      const unsigned char* name = nullptr);
// Removes (type, id) from the destination's store; nothing when missing.
int16_t RemoveStoreRes(TMainDoc* dest, uint32_t type, int16_t id);
// Copies the source's (type, sourceId), when there, as the destination's
// (type, destId), its name along.
int16_t CopyStoreResAs(TMainDoc* source, TMainDoc* dest, uint32_t type, int16_t sourceId, int16_t destId);
// A new store id of `type` in the destination, recorded in the map of the
// install under way (when there is one).
int16_t NewMappedStoreId(TMainDoc* dest, uint32_t type, int16_t oldId, int16_t* newId);
// `name`, or the object's when null or empty, cut to `maxLen` characters.
void ChosenName(const unsigned char* name, const TObjQz* obj, size_t maxLen, unsigned char* out);
// A stored name field of `room` bytes (length byte, text, zeros after).
void PutFixedName(uint8_t* field, size_t room, const unsigned char* name);

}  // namespace transfer
