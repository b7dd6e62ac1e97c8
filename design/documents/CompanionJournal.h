// The changes a command (a transfer, a move of texts into string lists)
// makes to a document's companion resource file, kept so that a failed
// command can take them back. While the journal is open the file is held:
// its changes stay in memory until Commit writes them, and Abandon puts
// back, resource by resource, what each one was before the command first
// touched it. Commit first keeps the companion's old bytes on the disk
// (CompanionJournalFile), so that a crash before the data file's commit
// lands takes the companion back too; Finish and a whole Abandon remove
// them.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/files/FileTypes.h"

class CompanionJournal {
public:
    // A journal left open is abandoned; whoever must report a failure
    // abandons it first.
    ~CompanionJournal() { Abandon(); }

    // Holds the file (`refNum` -1: no companion; nothing is kept), the
    // companion of the document at `data` (none for a server's document:
    // nothing is kept on the disk then).
    void Open(int16_t refNum, const platform::FSSpec& data);
    // Before (type, id) of the file is added, changed or removed: keeps
    // what it is now, once. -108 when that cannot be kept.
    int16_t Note(uint32_t type, int16_t id);
    // Writes the changes; what was kept stays until Finish, so that a
    // later failure can still take them back. 0 or the write's error (the
    // file is then held again).
    int16_t Commit();
    // Puts back every resource noted, last first, and writes the file when
    // the command had touched it; then the journal ends. 0, or why memory
    // and disk now differ: resFileAdriftErr when a resource could not be
    // put back (the file is then kept from the disk for the session, see
    // SetResFileAdrift), or the error of writing the file back (memory is
    // right, and the next write takes it to the disk). Old bytes kept on
    // the disk then stay there for the next open.
    int16_t Abandon();
    // The journal ends, the changes kept.
    void Finish();
    // The resources noted, (type, id) each, in the order first noted.
    std::vector<std::pair<uint32_t, int16_t>> Noted() const;

private:
    struct Entry {
        uint32_t type = 0;
        int16_t id = 0;
        bool existed = false;
        int16_t attributes = 0;
        bool named = false;
        unsigned char name[256] = {};
        std::string bytes;
    };
    // 0, or the first error: what could be put back is, all the same.
    int16_t Restore();

    int16_t refNum_ = -1;
    platform::FSSpec data_;
    bool held_ = false;
    bool kept_ = false;  // the old bytes are on the disk
    // Where they are, known before they are written, so that their removal
    // once the change landed needs no memory.
    std::string journal_, journalFolder_;
    std::vector<Entry> entries_;
};

// The journal of the command under way, or null.
CompanionJournal* CurrentCompanionJournal();
void SetCurrentCompanionJournal(CompanionJournal* journal);
// Notes (type, id) in the current journal before a change; 0 without one.
int16_t NoteCompanionChange(uint32_t type, int16_t id);
