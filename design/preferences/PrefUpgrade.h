// Bringing a preferences file of an older version up to today's layout at
// start-up: its list filters are converted step by step (old bit numbers
// to new ones, the criterion and comparison bytes, the kinds renumbered),
// its conflict defaults and blocking table replaced by the application's,
// and the standard filters of later versions added.
//
// Filter bits are counted as BitTst counts them from byte 2 of the filter
// (bit 0: the top bit of byte 2). No step reads or writes outside a
// resource: a filter too short for a step is padded first, and one that
// cannot grow is left as it is while the step goes on.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

// Versions ('vers' 1, first long) below which each step runs.
constexpr int32_t kPrefVersionFilterTwo = 0x02004026;      // 2.0.0 alpha 38: 'FLTR' becomes 'FLT2'
constexpr int32_t kPrefVersionConflicts = 0x02006005;      // 2.0.0 beta 5: new conflict defaults
constexpr int32_t kPrefVersionCriteria = 0x02504001;       // 2.5.0 alpha 1: criterion and comparison bytes
constexpr int32_t kPrefVersionKinds = 0x06004002;          // 6.0.0 alpha 2: kinds renumbered

// The standard filters a file of before 6.0.0 alpha 2 is given.
constexpr int16_t kNewStandardFilters[4] = {131, 132, 149, 150};

// Upgrades the preferences file (G_PrefResFile); true when anything was
// changed, so that the caller stamps the file with today's version. A file
// without 'vers' 1 (or an empty one) runs every step.
bool UpdatePrefResFile();
// Step 4: every filter of the type gets its criterion (the name) and its
// comparison (from its bits 37 to 39) in bytes 8 and 9, the rest of the
// record 4 bytes further on.
void UpdateFilters(int16_t file, platform::ResType type);
// Step 5: the bits of every filter of the type move to today's numbers.
void FLT2toFLT3(int16_t file, platform::ResType type);
// Step 5: in 'Oblk' 0 every kind above 17 becomes kind + 5.
void UpdateOblk(int16_t file);
