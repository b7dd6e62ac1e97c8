// An older preferences file brought up to date: the input is read as the
// file's version, its old and current filters and its blocking table, with
// the application's standard filters beside them; the upgrade runs and
// the blocking array is filled from what it leaves.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "design/objects/DesignGlobals.h"
#include "design/preferences/PrefUpgrade.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/core/FourCC.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"

namespace {

platform::ResourceImage Resource(const char (&type)[5], int16_t id, fuzz::Bytes data)
{
    platform::ResourceImage r;
    r.type = platform::FourCC(type);
    r.id = id;
    r.data = std::move(data);
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    platform::ResourceFileImage prefs;
    const uint8_t versionCount = in.Byte() % 2;
    if (versionCount) prefs.resources.push_back(Resource("vers", 1, in.Take(4)));
    const uint8_t filters = in.Byte() % 6;
    for (uint8_t i = 0; i < filters; ++i) {
        const bool old = in.Byte() & 1;
        prefs.resources.push_back(Resource(old ? "FLTR" : "FLT2", int16_t(128 + in.Byte() % 8), in.Slice(64)));
        prefs.resources.back().hasName = true;
        prefs.resources.back().name = "f" + std::to_string(i);
    }
    prefs.resources.push_back(Resource("Oblk", 0, in.Slice(64)));

    platform::ResourceFileImage app;
    app.resources.push_back(Resource("FLTX", 128, in.Slice(32)));
    app.resources.push_back(Resource("FLT2", 131, {0, 1, 0, 0, 0, 0x80, 3, 0x80, 0, 0, 0, 0, 0, 0}));
    app.resources.push_back(Resource("C_PR", 0, {0, 0}));
    app.resources.push_back(Resource("Oblk", 0, in.Rest()));

    platform::ResetResourceManager();
    fuzz::ClearScratchFolder();
    const std::string appPath = fuzz::ScratchFolder() + "/app", prefsPath = fuzz::ScratchFolder() + "/prefs";
    fuzz::Bytes bytes;
    // Several filters of one id make a file the builder refuses: nothing to upgrade.
    if (platform::BuildResourceFile(app, &bytes) != platform::noErr || !fuzz::WriteFile(appPath, bytes)) return 0;
    if (platform::BuildResourceFile(prefs, &bytes) != platform::noErr || !fuzz::WriteFile(prefsPath, bytes)) return 0;
    G_MainResFile = platform::OpenResFile(appPath, platform::fsRdPerm, platform::ResFileFork::Data);
    G_PrefResFile = platform::OpenResFile(prefsPath, platform::fsRdWrPerm, platform::ResFileFork::Data);
    if (G_MainResFile > 0 && G_PrefResFile > 0) {
        UpdatePrefResFile();
        SetBlockArray();
    }
    G_PrefResFile = -1;
    G_MainResFile = -1;
    ResetDesignGlobals();
    platform::ResetResourceManager();
    return 0;
}
