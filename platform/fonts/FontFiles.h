// The pinned font files: the only fonts the program draws with. A private
// font configuration reads exactly these files (never the machine's own
// configuration or fonts) and tells their families and styles; FreeType
// opens them once for the life of the process.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

#include "platform/core/Errors.h"
#include "platform/core/MacTypes.h"

namespace platform {

// The font families behind the classic numbers.
enum class FileFamily : uint8_t { Sans, SansMono, Serif, LiberationSans, LiberationMono };

struct FaceChoice {
    FT_Face face = nullptr;
    bool fakeBold = false;    // the family has no bold file: embolden
    bool fakeItalic = false;  // no italic file: shear
};

// Loads every pinned file below `root` (the Debian font folder by
// default). On failure answers fnfErr and names the missing file and the
// package that ships it in FontFilesMessage(); nothing is loaded then.
OSErr LoadFontFiles(const std::string& root = {});
bool FontFilesLoaded();
const char* FontFilesMessage();
// The face of the family in the asked style, with what must be made up.
FaceChoice ChooseFace(FileFamily family, bool bold, bool italic);
// The file a loaded face was opened from (empty for none), for renderers
// that must open the file with faces of their own.
std::string FaceFilePath(FT_Face face);
// The family's own name as the file gives it ("DejaVu Sans").
const char* FileFamilyName(FileFamily family);
FT_Library FontLibrary();
// Changes whenever the faces are closed: what was made from them is gone.
uint32_t FontFilesGeneration();
// Closes every face (for tests that load another folder).
void UnloadFontFiles();

}  // namespace platform
