// The customisation settings record: resource 'CUST' 0, held in the kernel
// global `cust` and always at least kCustSize bytes (missing bytes zero).
// Start-up loads it; the looks layer may load it again.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

constexpr int32_t kCustSize = 92;
// Byte offsets of the fields the kernel reads.
constexpr int32_t kCustCollation = 54;    // collation selector
constexpr int32_t kCustOldDate = 62;      // old-date option
constexpr int32_t kCustNoiseDigits = 78;  // noise digits of real-number text

// Collation selectors.
constexpr int16_t kCollateScript = 128;
constexpr int16_t kCollateGerman = 130;

extern platform::Handle cust;

// Replaces `cust` by a copy of 'CUST' 0 from the current resource chain,
// extended to kCustSize bytes; without the resource, kCustSize zero bytes.
// Answers false when memory ran out (cust is then null).
bool LoadCust();
// Releases `cust`.
void DisposeCust();
// The signed big-endian word at `offset`; 0 without a record.
int16_t CustWord(int32_t offset);
