// Files that replace others together, all or none across a crash. Each
// made file, complete and flushed, lies in the folder of the file it
// replaces. A journal written beside them decides: once it is on the disk
// the replacement is finished by whoever finds it (the next open, move or
// creation of those names); before that the made files are leftovers that
// are removed.
#pragma once

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

namespace platform {

struct Replacement {
    FSSpec made;    // the new file, its sidecar beside it
    FSSpec target;  // the name it takes
};

// Renames every made file and its sidecar over its target (a target whose
// new file has no sidecar loses its own). fBsyErr when a target is open
// here or held by another program, fnfErr when a made file is missing:
// then nothing has changed.
OSErr ReplaceTogether(const Replacement* items, int32_t count, const FSSpec& journal);
// Puts right what a crash left of a replacement: with its journal, the
// replacement is finished; without, the made files go. Either way the
// temporaries the file service left for those names go too.
OSErr FinishReplacement(const Replacement* items, int32_t count, const FSSpec& journal);

}  // namespace platform
