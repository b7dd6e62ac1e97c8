// Volume numbers and directory ids for code that names folders the classic
// way. Linux has one tree, so there is one volume (kOnlyVolume); its root
// folder has the id 2, and every other folder gets the next free id the
// first time it is asked for, kept for the rest of the run.
#pragma once

#include <string>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

namespace platform {

constexpr int16_t kOnlyVolume = -1;
constexpr int32_t kRootDirID = 2;

// The volume and id of an existing folder; dirNFErr when it is not one.
OSErr FSpGetDirID(const FSSpec& folder, int16_t* vRefNum, int32_t* dirID);
// The item `name` (one whole UTF-8 name; empty for the folder itself) in the
// folder with that id; nsvErr for another volume, dirNFErr for an unknown
// id; otherwise the results of FSMakeFSSpec.
OSErr FSMakeFSSpecFromDirID(int16_t vRefNum, int32_t dirID, const std::string& name, FSSpec* fileSpec);

// Forgets every id given so far: for tests.
void ResetDirectoryIds();

}  // namespace platform
