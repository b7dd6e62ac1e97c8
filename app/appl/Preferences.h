// The preferences file: a resource file of type 'pref', creator 'QzA6', in
// the preferences folder under the name of 'STR#' 1000 item 6. At start-up
// it is opened (made when missing, with the user's own permissions; a new
// file is stamped with the application's 'vers' 1 at once, an existing one
// only after the start-up has upgraded it) and completed with the default
// filters, blocking and conflict preferences of the application's file.
// Counts and lengths read from it are checked against what is there.
//
// The settings are always there, whatever the disk holds: a file that
// cannot be written, or whose folder takes no new file (a save writes the
// file anew beside it), is read into memory and used as it is; one that
// cannot be read is renamed beside itself ("NAME (damaged)") and a new one
// made; without a file the defaults live in memory. Changes held in memory are
// not kept; the start-up tells the user which of these happened. Other
// programs may share the file: each writes back only what it changed, the
// fields of 'PREF' 0 one by one.
//
// The application's own file is never written: its 'xPRM' 0 bit array is
// built in memory.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

extern platform::FSSpec gPrefFileSpec;
extern int16_t G_PrefResFile;        // -1 when not open
extern platform::Handle G_Special;   // 'SP2#' 0, or null
extern uint8_t g_styles[14];
extern platform::RGBColor g_colors[14];

// 'SP2#' 0 and 'SPC#' 0 layouts.
constexpr int32_t kSp2HeaderSize = 88;
constexpr int32_t kSp2EntrySize = 526;
constexpr int32_t kSpcHeaderSize = 86;
constexpr int32_t kSpcEntrySize = 142;

void GetPrefResFile();
void OpenPrefResFile();
// What the last OpenPrefResFile has to tell (Mac Roman), empty when the
// file is sound; TellPrefFileNotice shows it in an alert, once.
const std::string& PrefFileNotice();
void TellPrefFileNotice();
void ClosePrefResFile();
void SetPrefVERS();
void SetDfltPrefs();
// 'xPRM' 0: the bit of every 'APRM' id present in the application's file.
void Build_xPRM();
platform::Handle GetxPRM();
void SortFilters(int16_t refNum, platform::ResType type);
void UpdateSpecialMenuResource();
// Converts an old open-special list; null when memory runs out.
platform::Handle ConvertSpecialList(const uint8_t* spc, size_t size);

bool GetPrefFlag(int16_t flag);
platform::Handle GetFilter(int16_t id);
platform::Handle GetIndFilter(int16_t n);
int16_t CountFilters();
int16_t CountOldFilters();
bool IsBlk_Pref();
bool IsC_Pref();

int16_t GetResSize(int16_t category);
int16_t GetResFont(int16_t category);

struct AppTextStyle {
    int16_t font = 0;
    uint8_t face = 0;
    int16_t size = 0;
    platform::RGBColor color{0, 0, 0};
};
void MyGetTextStyle(int16_t category, AppTextStyle* style);
void SetDefaultTextStyles();
void LoadTextStyle();
void InitFromQzPrefResFile();

// Forgets the preferences state and closes the file (tests, quit).
void ResetPreferences();
