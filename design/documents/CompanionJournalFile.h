// A change of a document's two files in one step: the companion is written
// before the data file commits, so a crash between the two would leave the
// new companion beside the old data file. Before the companion is written,
// a journal beside the document keeps its old bytes, the data file's commit
// mark and what the new companion will hold. The journal is decided only
// by the program that holds the document: the one whose change wrote it,
// or, once nobody holds it, the next one to open, move or make the name,
// after taking it. A data file still at the old commit gets the old
// companion back; one whose commit reached the disk keeps the new one. A
// companion that no longer holds the journaled new bytes was written since
// and is left alone. A journal that does not verify is never used: it is
// left where it is, and the document stays as it is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files/FileTypes.h"

// Keeps the companion of the document at `data` as it is on the disk before
// it is replaced with `newBytes`; `*kept` tells whether a journal was
// written (none for a data file that is no local container, or a companion
// that does not change). 0 or why not: then nothing was written (dupFNErr
// when something is at the journal's name already).
int16_t KeepCompanion(const platform::FSSpec& data, const std::vector<uint8_t>& newBytes, bool* kept);
// The change landed whole, or was taken back whole: the journal goes.
int16_t ForgetKeptCompanion(const platform::FSSpec& data);
// The same for the journal at `journal`, in `folder`: needs no memory, so
// that a change that landed never leaves its journal for want of it.
int16_t ForgetKeptCompanionAt(const std::string& journal, const std::string& folder);
// Puts right what a crash left of a change of both files (see above) and
// removes the journal. Nothing to do in the usual case, nor while the
// document is held, here or by another program. `*unused` (may be null)
// tells that something at the journal's name could not be used and was
// left there (KeptCompanionJournal names it).
int16_t FinishKeptCompanion(const platform::FSSpec& data, bool* unused);
// Where the journal of the document at `data` is kept.
platform::FSSpec KeptCompanionJournal(const platform::FSSpec& data);
