// What one transfer must be able to take back: a transfer lands whole or
// not at all. The session brackets the destination's store (commits only
// mark until the end), journals its companion file, keeps whether the
// destination had changes for the compiler to count, and knows the objects
// that were in the destination's lists before the moves, the objects the
// movers overwrote and those they retired. Commit writes the companion,
// then the store; RollBack (or a failed Commit) leaves the destination's
// files, lists and objects as they were before the transfer.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

#include "design/documents/CompanionJournal.h"
#include "design/links/XRef.h"
#include "resources/StoreBracket.h"

class TGroupObjQz;
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
    // Objects about to be freed while the session runs (every object that
    // leaves memory is told here: TransferHooks::forgetObj): a roll-back
    // leaves them alone.
    void Forget(const std::vector<TObjQz*>& objs);
    // An object a mover takes out of the destination (its users and rows
    // let go of it first): freed when the transfer lands, put back in its
    // list when it does not.
    void Retire(TObjQz* obj);
    // An object of the destination (a table, a package) whose members a
    // mover is about to change (a table's forms, method and field balloons
    // too): as it stands now it comes back on a roll-back. A table's
    // entries of the table list and its method are noted as replaced.
    void NoteTable(TObjQz* owner);
    // Members a mover took out of a noted table: disposed when the transfer
    // lands, back in their table when it does not.
    void Dropped(TObjQz* obj);
    // An object of the destination about to join `group`: back in its own
    // group (or none) on a roll-back.
    void NoteJoin(TObjQz* group, TObjQz* member);
    // What uses the objects the movers overwrote or took out of a table
    // records its links again (ParseAgain): a form naming a replaced
    // table's fields by number, a menu bar holding a replaced menu. Run
    // once the copies are linked, with the commands in id order
    // (CommandsById). 0, or the error of a parse (said by it), -108 when
    // memory runs out.
    int16_t ParseUsersAgain();
    // 0, or the error of the write that failed; then everything is taken
    // back.
    int16_t Commit();
    // What cannot be taken back is said, unless it failed for `said`, the
    // failure the caller says: one failure, one alert.
    void RollBack(int16_t said = 0);

private:
    void End();

    TMainDoc* fDest = nullptr;
    bool fCompilerDirty = false;  // the destination's, before the moves
    StoreBracket fStore;
    CompanionJournal fCompanion;
    std::unordered_set<TObjQz*> fBefore;
    // Each of the destination's lists as it was, in its order.
    std::vector<std::vector<TObjQz*>> fOrder;
    struct Replaced {
        TObjQz* obj;
        unsigned char name[34];
        unsigned char description[81];
        int16_t id;
        int16_t docFlags;  // its documentation marks
        uint32_t resTime, resSize;
        int16_t words[3];  // a field's type word, length and third word
        int16_t fieldNumber;
        std::vector<TObjQz*> uses;
    };
    std::vector<Replaced> fReplaced;
    std::unordered_set<const TObjQz*> fReplacedObjs;  // those fReplaced notes
    std::vector<TObjQz*> fRetired;
    struct TableState {
        TObjQz* owner;
        std::vector<TObjQz*> block;    // its entries of the table list, in order
        std::vector<TObjQz*> members;
        std::vector<TObjQz*> forms;
        std::vector<TObjQz*> balloons;
        TObjQz* method;
        int16_t methodId;
    };
    std::vector<TableState> fTables;
    std::vector<TObjQz*> fDropped;
    struct Join {
        TObjQz* member;
        TGroupObjQz* parent;
        uint8_t level;
        int16_t flags;
    };
    std::vector<Join> fJoins;
    // Every object the records above name: one that is not among them is
    // forgotten without a walk of the records.
    std::unordered_set<const TObjQz*> fNoted;
    void Noted(const TObjQz* obj);
    // Objects of the destination freed while the session ran: a list's
    // order put back never places one (nor what took its address).
    std::unordered_set<const TObjQz*> fForgotten;
    // The moves' changes of the graph, as one: the groups' summaries are
    // remade once the transfer lands or is taken back.
    std::optional<LinkChanges> fLinks;
    bool Existed(TObjQz* obj) const;
    // The destination's resource objects of what the companion journal
    // noted, as a read lists them. 0 or -108.
    int16_t ListCompanionChanges();
    void RestoreTable(const TableState& state, std::vector<TObjQz*>* gone);
    void RestoreOrder();
    void Free(const std::vector<TObjQz*>& found);
    bool fOpen = false;
};

// The session of the transfer under way, or null.
TransferSession* CurrentTransferSession();

// What movers do through the current session, or at once without one.
void NoteReplacedObj(TObjQz* obj);
// The current session forgets the object (about to be freed): every
// object that leaves memory is told here (TransferHooks::forgetObj).
void ForgetObjInSession(TObjQz* obj);
// Takes `obj` out of its document for good (Retire, or freed now).
void RetireObj(TObjQz* obj);
// NoteTable and Dropped of the current session; without one the dropped
// objects leave at once.
void NoteChangedTable(TObjQz* owner);
void DropObjs(const std::vector<TObjQz*>& objs);
// TransferSession::NoteJoin of the current session.
void NoteGroupJoinInSession(TObjQz* group, TObjQz* member);
// `obj` renamed: put back in name order in its kind's list.
void RenameObj(TObjQz* obj, const unsigned char* name);
// Takes an object and those it owns (a table's method, forms and field
// balloons; a form's methods; a method's locals) out of the links.
void UnlinkWithOwned(TObjQz* obj);

}  // namespace transfer
