// Small shared services: screens and dialog placement, string sorting,
// number and path text, bit words and platform tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/text/ScriptManager.h"

constexpr int16_t MenuBarHeight() { return 20; }
platform::Rect MyScreenRect();
platform::Point GetScreenTopLeft();
// Centres `r` on the main screen, its top no higher than 30.
void DialogCenter(platform::Rect* r);

// Orders as the system's string relation: case and diacritical marks do
// not count. Negative, 0 or positive.
int RelStringIgnoringMarks(const unsigned char* a, const unsigned char* b);
// Ascending, stable: equal strings keep their order; ids move with them.
void SortStringRes(unsigned char (*strings)[256], int16_t* ids, int16_t count);
void SortString(unsigned char (*strings)[256], int16_t count);
void SortStrings(std::vector<std::string>* strings);

// Decimal text with the thousands separator between groups of three
// digits; a minus sign is never followed by a separator.
void TxtNumToString(int32_t number, unsigned char* text);
// name, "_", number.
void ConcatNumDoc(const unsigned char* name, int32_t number, unsigned char* text);
inline int32_t IntMax(int32_t a, int32_t b) { return a > b ? a : b; }
// "volume:folder:...:" of a folder; past 64 characters the volume name and
// ":...:". Answers 0.
int16_t GetPathName(unsigned char* path, int16_t vRefNum, int32_t dirID);
// The colon path rule of GetPathName over an already built path.
void ShortenPathName(const std::string& colonPath, unsigned char* path);

// Text written to an exported file: its line ends (CR, as documents keep
// them) become a text file's (platform/files/TextFiles.h).
platform::OSErr WriteTAB(int16_t refNum);
platform::OSErr WriteEOL(int16_t refNum);
platform::OSErr MyFSWrite(int16_t refNum, int32_t* count, const void* buffer);

// While one lives, MyFSWrite to `refNum` gathers the bytes and writes them
// in blocks of 64 KB: an export of many short lines makes a few large
// writes. A write answers the first failure of a block written so far;
// Flush writes the rest and answers the first failure of all. Bytes not
// flushed when it ends are dropped (the file is being given up).
class GatheredWrites {
public:
    explicit GatheredWrites(int16_t refNum);
    ~GatheredWrites();
    GatheredWrites(const GatheredWrites&) = delete;
    GatheredWrites& operator=(const GatheredWrites&) = delete;
    platform::OSErr Flush();
    // The first failure of the file's own writes so far, or noErr.
    platform::OSErr WriteFailure() const;
};

// Sets bit `bit` of *word when bit mod 64 is below 32.
void pbitset(uint32_t* word, int32_t bit);
// The system's justification: -1 when text runs right to left.
inline int16_t MyGetTESysJust() { return platform::GetSysDirection(); }

bool Is_SystemX();
inline bool AliasAvailable() { return true; }
inline bool GestaltAvailable() { return true; }
int16_t machineType();
