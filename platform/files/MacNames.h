// Names as the program holds them against names on the file system,
// converted here once, both ways. The program's names are Mac Roman, and in
// its colon paths ':' separates names while '/' may stand in one; the file
// system's are UTF-8, '/' separates and ':' may stand in a name: the two
// characters trade places. A character Mac Roman lacks shows as '?'; a path
// made of such a name finds the one item of its folder whose name shows so,
// so that the file keeps its own name on the file system.
#pragma once

#include <string>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

namespace platform {

// A file name (UTF-8) as the program holds it (Mac Roman).
std::string MacNameOf(const std::string& fileName);
std::string FSpGetMacName(const FSSpec& fileSpec);
// A name the program holds (typed, or made of another) as a file name:
// UTF-8, cut as CutFileName cuts.
std::string FileNameOf(const std::string& macName);
// A UTF-8 name cut to `most` bytes (the 255 a name may hold) at a
// character's boundary; a letter keeps its combining accents or goes with
// them.
std::string CutFileName(std::string name, size_t most = 255);
// The name proposed for a file made of another (an export, a print): the
// other's name on disk followed by `suffix`, that name cut as CutFileName
// cuts so that the whole is a name that keeps its Finder information.
std::string ProposedFileName(const std::string& fileName, const std::string& suffix);

// The item's colon path as the program holds it; a folder's ends with ':'.
OSErr FSpGetMacColonPath(const FSSpec& fileSpec, std::string* macColonPath);
// The item a colon path the program holds names: each name is looked for
// as it converts, else as the one item of its folder that shows as it.
// The results of FSMakeFSSpec.
OSErr FSMakeFSSpecFromMacColonPath(const std::string& macColonPath, FSSpec* fileSpec);

}  // namespace platform
