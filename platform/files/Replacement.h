// Files that replace others together, all or none across a crash. Each
// made file, complete and flushed, lies in the folder of the file it
// replaces. A journal written beside them decides: once it is on the disk
// the replacement is finished by whoever finds it (the next open, move or
// creation of those names); before that the made files are leftovers that
// are removed. The program that writes the journal finishes the
// replacement itself or takes it back: every file it replaces first steps
// aside under a name of its own, so that a step refused half way (a folder
// that lets this user make files but not replace another user's) puts
// each name back as it was, and neither the journal nor a made file stays
// for another program to finish.
#pragma once

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

namespace platform {

struct Replacement {
    FSSpec made;          // the new file, its sidecar beside it
    FSSpec target;        // the name it takes
    FSSpec aside;         // where the file at `target` waits until the
    FSSpec asideSidecar;  // replacement is done, and its sidecar
};

// Renames every made file and its sidecar over its target (a target whose
// new file has no sidecar loses its own). 0, or why not: fBsyErr when a
// target is open here or held by another program, fnfErr when a made file
// is missing, or the error of the step that failed. A failure leaves the
// targets as they were and removes the made files; only when taking back
// fails too (the disk failing again) does the journal stay, and the next
// FinishReplacement finishes the replacement whole.
OSErr ReplaceTogether(const Replacement* items, int32_t count, const FSSpec& journal);
// Puts right what a crash left of a replacement: with its journal, the
// replacement is finished; without, the made files go (and the files set
// aside by a finished one). Either way the temporaries the file service
// left for those names go too.
OSErr FinishReplacement(const Replacement* items, int32_t count, const FSSpec& journal);

}  // namespace platform
