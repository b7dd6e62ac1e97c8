// Building and loading the collation tables.
//
// The application resources ship the system tables prebuilt ('TRI#' 6, 7
// and 9). When one is missing or damaged it is built in memory from the
// platform's case and ordering rules; nothing is ever written back into a
// resource file.
#pragma once

#include <cstdint>

// Resource numbers of the tables ('TRI#' and 'TRIC').
constexpr int16_t kFilter2Id = 6;      // "Filter2"
constexpr int16_t kFilterIntlId = 7;   // "Filtre intl"
constexpr int16_t kFilterId = 9;       // "Filter"
constexpr int16_t kCustomOrderId = 0;  // 'TRIC' 0: the 256 bytes in custom order
constexpr int16_t kCustomUpperId = 1;
constexpr int16_t kCustomClassId = 2;
constexpr int16_t kCustomNumberId = 3;

// The byte upper-cased by the platform, diacritics kept / removed.
uint8_t newfiltre(uint8_t c);
uint8_t oldfiltre(uint8_t c);

// The three system tables as the platform's rules give them.
void BuildFilter2Table(uint8_t table[256]);
void BuildFilterIntlTable(uint8_t table[256]);
void BuildFilterTable(uint8_t table[256]);
// All three into tabfiltre2, tabfiltre3 and tabfiltre.
void BuildSystemTables();

// Loads the custom ordering when there is one (and the system is Roman),
// else the system tables, each from the resource chain or built in memory.
void trifonc();

// Start-up of the comparison: the customisation record, the script
// situation, then trifonc.
void init_Strings();
