// POSIX errno values to the file service's result codes, and the file a
// refusal is about.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/MacTypes.h"

namespace platform {

OSErr OSErrFromErrno(int err);

// What a refusal is about: the file at `path` itself; the folder it is in,
// which may not be changed; a document deleted since it was opened; or
// another program's file that a document's write took from its name and
// could not put back, kept where `now` says; or a document whose change
// went into its files after another program took them from its names (its
// data file now where `now` says, when known).
enum class RefusedItem : uint8_t { File, Folder, Deleted, Kept, WrittenAway };

// What the file service knows of the file behind a refusal it made: the
// document whose files are no longer those it opened (and where its data
// file is now, when the open file tells), a file made read-only, the folder
// of a document that may not be changed.
struct FileRefusal {
    OSErr code = 0;
    std::string path;
    std::string now;  // empty: not known, or the same place
    RefusedItem item = RefusedItem::File;
};
// Kept until taken or until the next look finds the files in place; a
// later refusal replaces it.
void NoteFileRefusal(OSErr code, const std::string& path, const std::string& now = {},
                     RefusedItem item = RefusedItem::File);
void ForgetFileRefusal();
// The refusal noted, taken, when it is one of `code`.
bool TakeFileRefusal(OSErr code, FileRefusal* refusal);

}  // namespace platform
