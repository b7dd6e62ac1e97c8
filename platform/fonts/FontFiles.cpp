#include "platform/fonts/FontFiles.h"

#include <fontconfig/fontconfig.h>

#include <cstring>
#include <vector>

namespace platform {
namespace {

constexpr const char* kDefaultRoot = "/usr/share/fonts/truetype";

struct Pinned {
    const char* file;  // below the root
    const char* package;
    FileFamily family;
};

constexpr Pinned kPinned[] = {
    {"dejavu/DejaVuSans.ttf", "fonts-dejavu-core", FileFamily::Sans},
    {"dejavu/DejaVuSans-Bold.ttf", "fonts-dejavu-core", FileFamily::Sans},
    {"dejavu/DejaVuSansMono.ttf", "fonts-dejavu-core", FileFamily::SansMono},
    {"dejavu/DejaVuSansMono-Bold.ttf", "fonts-dejavu-core", FileFamily::SansMono},
    {"liberation2/LiberationSerif-Regular.ttf", "fonts-liberation2", FileFamily::Serif},
    {"liberation2/LiberationSerif-Bold.ttf", "fonts-liberation2", FileFamily::Serif},
    {"liberation2/LiberationSerif-Italic.ttf", "fonts-liberation2", FileFamily::Serif},
    {"liberation2/LiberationSerif-BoldItalic.ttf", "fonts-liberation2", FileFamily::Serif},
    {"liberation2/LiberationSans-Regular.ttf", "fonts-liberation2", FileFamily::LiberationSans},
    {"liberation2/LiberationSans-Bold.ttf", "fonts-liberation2", FileFamily::LiberationSans},
    {"liberation2/LiberationSans-Italic.ttf", "fonts-liberation2", FileFamily::LiberationSans},
    {"liberation2/LiberationSans-BoldItalic.ttf", "fonts-liberation2", FileFamily::LiberationSans},
    {"liberation2/LiberationMono-Regular.ttf", "fonts-liberation2", FileFamily::LiberationMono},
    {"liberation2/LiberationMono-Bold.ttf", "fonts-liberation2", FileFamily::LiberationMono},
    {"liberation2/LiberationMono-Italic.ttf", "fonts-liberation2", FileFamily::LiberationMono},
    {"liberation2/LiberationMono-BoldItalic.ttf", "fonts-liberation2", FileFamily::LiberationMono},
};

constexpr const char* kFamilyNames[] = {"DejaVu Sans", "DejaVu Sans Mono", "Liberation Serif", "Liberation Sans",
                                        "Liberation Mono"};

struct LoadedFace {
    FileFamily family;
    bool bold;
    bool italic;
    FT_Face face;
    std::string path;
};

struct State {
    FT_Library library = nullptr;
    uint32_t generation = 1;
    std::vector<LoadedFace> faces;
    std::string message;
};

State& S()
{
    static State state;
    return state;
}

// What the private configuration says of each file it was given.
struct Described {
    std::string file;
    std::string family;
    bool bold;
    bool italic;
};

bool Describe(const std::vector<std::string>& files, std::vector<Described>* out)
{
    // An empty configuration: no configuration file, no folder of the
    // machine, whatever FONTCONFIG_FILE or HOME say.
    FcConfig* config = FcConfigCreate();
    if (!config) return false;
    bool ok = true;
    for (const std::string& f : files)
        if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(f.c_str()))) ok = false;
    FcFontSet* set = ok ? FcConfigGetFonts(config, FcSetApplication) : nullptr;
    for (int i = 0; set && i < set->nfont; ++i) {
        FcPattern* p = set->fonts[i];
        FcChar8* file = nullptr;
        FcChar8* family = nullptr;
        int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        if (FcPatternGetString(p, FC_FILE, 0, &file) != FcResultMatch ||
            FcPatternGetString(p, FC_FAMILY, 0, &family) != FcResultMatch)
            continue;
        FcPatternGetInteger(p, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(p, FC_SLANT, 0, &slant);
        out->push_back({reinterpret_cast<const char*>(file), reinterpret_cast<const char*>(family),
                        weight >= FC_WEIGHT_DEMIBOLD, slant != FC_SLANT_ROMAN});
    }
    FcConfigDestroy(config);
    return ok;
}

}  // namespace

OSErr LoadFontFiles(const std::string& root)
{
    UnloadFontFiles();
    State& s = S();
    const std::string base = root.empty() ? kDefaultRoot : root;
    std::vector<std::string> paths;
    for (const Pinned& p : kPinned) {
        std::string path = base + "/" + p.file;
        if (FILE* f = std::fopen(path.c_str(), "rb")) {
            std::fclose(f);
        } else {
            s.message = "The font file " + path + " is missing. Install the package " + p.package + ".";
            return fnfErr;
        }
        paths.push_back(path);
    }
    std::vector<Described> described;
    if (!Describe(paths, &described)) {
        s.message = "The pinned font files could not be read. Reinstall fonts-dejavu-core and fonts-liberation2.";
        return ioErr;
    }
    if (!s.library && FT_Init_FreeType(&s.library) != 0) {
        s.message = "The font engine could not start.";
        return memFullErr;
    }
    for (size_t i = 0; i < paths.size(); ++i) {
        const Pinned& pin = kPinned[i];
        const Described* d = nullptr;
        for (const Described& x : described)
            if (x.file == paths[i]) d = &x;
        FT_Face face = nullptr;
        if (!d || d->family != kFamilyNames[size_t(pin.family)] ||
            FT_New_Face(s.library, paths[i].c_str(), 0, &face) != 0) {
            UnloadFontFiles();
            s.message = "The font file " + paths[i] + " is damaged. Reinstall the package " + pin.package + ".";
            return ioErr;
        }
        s.faces.push_back({pin.family, d->bold, d->italic, face, paths[i]});
    }
    s.message.clear();
    return noErr;
}

bool FontFilesLoaded() { return !S().faces.empty(); }

const char* FontFilesMessage() { return S().message.c_str(); }

FaceChoice ChooseFace(FileFamily family, bool bold, bool italic)
{
    // The closest style the family has: italic kept before bold, since a
    // shear shows less than a made-up bold.
    FaceChoice best;
    int bestScore = -1;
    for (const LoadedFace& f : S().faces) {
        if (f.family != family) continue;
        int score = (f.italic == italic ? 2 : 0) + (f.bold == bold ? 1 : 0);
        // A bold or italic face never stands in for a plain request.
        if ((f.bold && !bold) || (f.italic && !italic)) continue;
        if (score > bestScore) {
            bestScore = score;
            best = {f.face, bold && !f.bold, italic && !f.italic};
        }
    }
    return best;
}

const char* FileFamilyName(FileFamily family) { return kFamilyNames[size_t(family)]; }

std::string FaceFilePath(FT_Face face)
{
    for (const LoadedFace& f : S().faces)
        if (f.face == face) return f.path;
    return {};
}

FT_Library FontLibrary() { return S().library; }

uint32_t FontFilesGeneration() { return S().generation; }

void UnloadFontFiles()
{
    State& s = S();
    for (LoadedFace& f : s.faces) FT_Done_Face(f.face);
    s.faces.clear();
    ++s.generation;
}

}  // namespace platform
