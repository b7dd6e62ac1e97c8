// The stored form of a list filter ('FLT2' in the preferences file) as the
// filter and criteria dialogs read and write it: the first term's flag
// field, subject, operator and text. Nothing is read past the record: a
// record too short for its first term reads as kind bits only (the bytes
// present), the name subject, operator 1 and an empty text.
//
// Record, big-endian:
//  off size
//   0   2   term count n; the dialogs edit the first term only
//   2   6   first term: flag field (bit numbering of BitTst)
//   8   1   subject - 1: 0 name, 1 modification date, 2 number of users
//   9   1   operator - 1
//  10   2   kept as copied
//  12  1+L  length byte and text, then a pad byte when 1 + L is odd
//   .   .   terms 2 to n, each at an even offset
// A record of one term is 14 + L bytes long.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

namespace filterrec {

constexpr int32_t kFlagsAt = 2;
constexpr int32_t kFlagBytes = 6;
constexpr int32_t kSubjectAt = 8;
constexpr int32_t kOperatorAt = 9;
constexpr int32_t kTextAt = 12;

// Bits of the flag field besides the kinds (1 to 30).
enum : int16_t {
    kBlockedTest = 32,
    kBlockedWanted = 33,
    kDocTest = 34,
    kDocWanted = 35,
    kUnusedTest = 36,
    kUnusedWanted = 37,
    kInUsedByPane = 38,
    kInListPane = 39,
    kInUsesPane = 40,
    kSearchInside = 41,
};

enum : uint8_t { kNameSubject = 1, kDateSubject = 2, kNumberSubject = 3 };

// The first term as the dialogs show it.
struct FirstTerm {
    uint8_t flags[kFlagBytes] = {0};
    uint8_t subject = kNameSubject;  // 1 to 3
    uint8_t op = 1;                  // 1-based
    platform::Str255 text = {0};
    bool whole = false;              // the record held the whole term
};

// The offset just past the first term (pad included); 0 when the record
// has no term or the term does not fit in it.
int32_t FirstTermEnd(platform::Handle record);
void ReadFirstTerm(platform::Handle record, FirstTerm* term);
// Rewrites the first term in place: the further terms and the count stay;
// a record without a whole first term becomes a record of that one term.
// memFullErr (the record as it was) when it cannot grow.
platform::OSErr WriteFirstTerm(platform::Handle record, const FirstTerm& term);
// A record without a whole first term is rewritten as one (WriteFirstTerm
// of what it reads as).
platform::OSErr MakeWhole(platform::Handle record);

// Bit n of the first term's flag field; false where the record is short.
bool TstFlag(platform::Handle record, int16_t n);
// Sets or clears it; nothing where the record is short.
void PutFlag(platform::Handle record, int16_t n, bool on);
// Fields follow tables (bits 28 and 29 take bit 1) and table balloons
// field balloons (bit 30 takes bit 10), as every saved filter has them.
void ApplySaveRules(platform::Handle record);

}  // namespace filterrec
