// What one transfer must be able to take back: a transfer lands whole or
// not at all. The session brackets the destination's store (commits only
// mark until the end), journals its companion file, and knows the objects
// that were in the destination's lists before the moves, the objects the
// movers overwrote and those they retired. Commit writes the companion,
// then the store; RollBack (or a failed Commit) leaves the destination's
// files, lists and objects as they were before the transfer.
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "resources/StoreBracket.h"
#include "transfer/driver/CompanionJournal.h"

class TMainDoc;
class TObjQz;

namespace transfer {

class TransferSession {
public:
    TransferSession() = default;
    ~TransferSession();
    TransferSession(const TransferSession&) = delete;
    TransferSession& operator=(const TransferSession&) = delete;

    // Commits what the destination's store has pending, then opens the
    // bracket; the session becomes the current one. 0 or the store's
    // error (-108 when the lists cannot be noted).
    int16_t Begin(TMainDoc* dest);
    // An existing destination object whose contents a mover overwrote.
    void NoteReplaced(TObjQz* obj);
    // An object a mover takes out of the destination (its users and rows
    // let go of it first): freed when the transfer lands, put back in its
    // list when it does not.
    void Retire(TObjQz* obj);
    // 0, or the error of the write that failed; then everything is taken
    // back.
    int16_t Commit();
    void RollBack();

private:
    void End();

    TMainDoc* fDest = nullptr;
    StoreBracket fStore;
    CompanionJournal fCompanion;
    std::unordered_set<TObjQz*> fBefore;
    struct Replaced {
        TObjQz* obj;
        unsigned char name[34];
        unsigned char description[81];
    };
    std::vector<Replaced> fReplaced;
    std::vector<TObjQz*> fRetired;
    bool fOpen = false;
};

// The session of the transfer under way, or null.
TransferSession* CurrentTransferSession();

// What movers do through the current session, or at once without one.
int16_t NoteCompanionChange(uint32_t type, int16_t id);
void NoteReplacedObj(TObjQz* obj);
// Takes `obj` out of its document for good (Retire, or freed now).
void RetireObj(TObjQz* obj);

}  // namespace transfer
