// A document's two files (the data file and its companion) replaced or
// made together: the new pair is made under names of its own beside the
// old one and takes its place all at once, so that a crash at any point
// leaves the old pair or the new one at the name. What a crash leaves
// half done is put right the next time the name is opened, moved or made.
#pragma once

#include <cstdint>

#include "platform/files/FileTypes.h"

// ".qz." NAME SUFFIX in the folder of `item`: the hidden name of a file
// that works on `item`. A name too long to take them is cut and told apart
// from others by a hash of it.
platform::FSSpec HiddenBeside(const platform::FSSpec& item, const char* suffix);
// The names the new pair of `dest` is made under before it takes its
// place; false when `dest` can have no companion.
bool MadePair(const platform::FSSpec& dest, platform::FSSpec* data, platform::FSSpec* companion);
// Puts the made pair of `dest` (complete, flushed) in the place of the
// pair at `dest`, if any. 0, or why not; after a failure the name holds
// the old pair or the new one, never a mix.
int16_t ReplacePair(const platform::FSSpec& dest);
// The hidden names a new document for `dest` is built under (its data
// file and companion) before PlaceBuilt puts it at `dest`; false when the
// name is too long to take them.
bool BuildingPair(const platform::FSSpec& dest, platform::FSSpec* data, platform::FSSpec* companion);
// Puts the document built under the building names of `dest` (complete,
// flushed, closed) in the place of the pair at `dest`, if any. 0, or why
// not; after a failure or a crash the name holds the old pair or the new
// one, and a building left behind goes with the next FinishPair.
int16_t PlaceBuilt(const platform::FSSpec& dest);
// Finishes or undoes what a crash left of a replacement at `dest`, or of a
// change of both its files (CompanionJournalFile), and removes the
// leftovers beside it (a building never put in place too). Nothing to do
// in the usual case. `*unused` (may be null) tells that a journal of the
// companion could not be used and was left beside the document.
int16_t FinishPair(const platform::FSSpec& dest, bool* unused = nullptr);
