// State of the kernel's text comparison: the script situation, the custom
// ordering and the 256-byte collation tables (each maps a byte to a byte).
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

// Three-way answers of kernel comparisons.
constexpr int16_t kEqual = 0;
constexpr int16_t kGreater = 1;
constexpr int16_t kSmaller = 2;

// The wildcard of the table-driven comparison.
constexpr uint8_t kTableWildcard = '@';

extern uint8_t scriptmanager;       // two-byte-aware paths in use
extern uint8_t specialjapon;        // Japanese two-byte comparison
extern uint8_t specialKoree;        // Korean variant of the two-byte comparison
extern uint8_t nouveaucomp;         // the custom ordering ('TRIC') is in force
extern int16_t curtric;             // first word of 'TRIC' 3
extern uint8_t strcmpbehavior;      // a wildcard counts only first or last
extern uint16_t wildchar;           // wildcard of the two-byte path
extern uint8_t testcompilo_relstr;  // compiled references compare as numbers
extern int16_t lz3;                 // length left by upstr and pupstr

// Bases of compiled references (kind 1 globals, kind 7 process variables).
extern int64_t gGlobalTableBase;
extern int64_t gProcessTableBase;

extern uint8_t tabfiltre[256];     // upper case without diacritics (class table)
extern uint8_t tabfiltre2[256];    // upper case with diacritics
extern uint8_t tabfiltre3[256];    // rank in the system sort order (order table)
extern uint8_t tabvalue[256];      // rank in the custom order
extern uint8_t tabmaj[256];        // custom upper case
extern uint8_t tabmajnodiac[256];  // custom class table

// The Japanese tables: resources of type kJapaneseTableType 0, 1, 2 (sort
// weights, equivalence classes, kana pairs), arrays of big-endian words
// indexed by character code. Owned by the resource chain; null when absent.
constexpr uint32_t kJapaneseTableType = 0x8B5896BF;
extern platform::Handle Jtabletri;
extern platform::Handle Jtablecomp;
extern platform::Handle Jtablekana1;

// The collation selector of the customisation record.
int16_t CollationSelector();

// Every global back to its starting value: Roman script, no custom
// ordering, the tables built from the platform's rules.
void ResetCollation();
