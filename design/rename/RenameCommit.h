// Renaming a design object. The new name goes where the document keeps
// it (a directory entry, a resource's name) and every chosen user rewrites
// what it stores of the old name; all of it lands in one commit of the
// document's store, or none of it does. Only once the store has the new
// name does the object take it in memory, so that a failed rename leaves
// the object, its users and the disk as they were.
//
// Inside a change that already holds the store (a copy between documents,
// a component's rename), the rename's writes join that change: its error
// is then the caller's to act on (dropping the change drops the rename).
#pragma once

#include <cstdint>
#include <functional>

#include "design/objects/ObjList.h"
#include "resources/StoreBracket.h"

class TMainDoc;
class TObjQz;

// One change of a store file that lands whole or not at all (a
// StoreBracket), unless a change around it already holds the file: its
// writes then join that change, which commits or drops them.
class StoreChange {
public:
    // 0, or the store's error.
    int16_t Begin(int16_t container);
    // 0, or the commit's error (the change then dropped).
    int16_t Commit();

private:
    StoreBracket bracket_;
    bool joined_ = false;
};

// The rename dialog (GetReplace with the object's users), then DoReplace
// under the busy cursor: 1 when the person confirmed a name, else 0.
int16_t AskAndRename(TObjQz* obj, int16_t listFilter, uint8_t mode, int16_t number, TObjQz* ownerObj, TObjQz** out);

// The new name cut to `max` characters.
void CutName(unsigned char* out, const unsigned char* name, int16_t max);

// Runs `storeName`, then asks each user of `users` to follow the rename of
// `obj` to `newName` (TObjQz::RewriteForRename), all inside one change of
// the document's store, which is committed when every step succeeded and
// dropped otherwise. The document's store is current meanwhile. 0 or the
// first error. `obj` keeps its current name: the users read it as the old
// one.
int16_t RenameInOneCommit(TObjQz* obj, const unsigned char* newName, ObjListHdl users, bool force,
                          const std::function<int16_t()>& storeName);

// After a rename the store took: `obj` takes the name and moves to the
// place of the new name in its kind's list (the look-ups' order).
void TakeNewName(TObjQz* obj, const unsigned char* newName);
// Moves `obj` within `list` to where its name now belongs (the look-ups'
// order), keeping the list otherwise as it is.
void PlaceByName(ObjListHdl list, TObjQz* obj);

// A resource of the current store changed in place: `edit` gets its bytes
// (and their count); the resource is written back. 0, 1003 when the
// resource is missing and `missingIsError`, else 0 without a change;
// the store's error on a failed write.
int16_t EditStored(uint32_t type, int16_t id, bool missingIsError,
                   const std::function<int16_t(uint8_t* bytes, int32_t size)>& edit);
// A name of `room` bytes (a length byte, at most room - 1 characters,
// zeros after) written at `at`.
void PutFixedName(uint8_t* at, int32_t room, const unsigned char* name);
