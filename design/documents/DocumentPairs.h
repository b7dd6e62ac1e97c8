// A document's two files (the data file and its companion) replaced or
// made together: the new pair is made under names of its own beside the
// old one and takes its place all at once, so that a crash at any point
// leaves the old pair or the new one at the name. What a crash leaves
// half done is put right the next time the name is opened, moved or made.
#pragma once

#include <cstdint>

#include "platform/files/FileTypes.h"

// The names the new pair of `dest` is made under before it takes its
// place; false when `dest` can have no companion.
bool MadePair(const platform::FSSpec& dest, platform::FSSpec* data, platform::FSSpec* companion);
// Puts the made pair of `dest` (complete, flushed) in the place of the
// pair at `dest`, if any. 0, or why not; after a failure the name holds
// the old pair or the new one, never a mix.
int16_t ReplacePair(const platform::FSSpec& dest);
// Finishes or undoes what a crash left of a replacement at `dest` and
// removes the leftovers beside it. Nothing to do in the usual case.
int16_t FinishPair(const platform::FSSpec& dest);
