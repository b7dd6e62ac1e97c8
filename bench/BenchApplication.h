// What the benchmarks over documents built by the document builder set up
// first: the application's globals, preferences in the run's folder, its
// resources, the token strings and the byte-swap templates, as at start-up.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/documents/DocResources.h"
#include "design/documents/OpenQzB.h"
#include "design/documents/Passwords.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjList.h"
#include "design/reading/ReadQzB.h"
#include "platform/files/FileSpec.h"
#include "kernel/byteswap/SwapTemplates.h"
#include "kernel/prefs/UPrefs.h"
#include "kernel/startup/KernelGlobals.h"
#include "platform/core/Memory.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/Utf8.h"
#include "resources/ResourceApi.h"

inline bool SetUpBenchApplication(const std::string& folder, const char* appResources, const char* sourceDir)
{
    platform::SetMemoryBudget(int64_t(8) << 30);
    UPrefs::Reset();
    InitGlobals();
    ResetAlerts();
    ResetPreferences();
    const std::string prefs = folder + "/prefs";
    std::filesystem::create_directories(prefs);
    setenv("QZ_PREFERENCES_DIR", prefs.c_str(), 1);
    G_MainResFile = platform::OpenResFile(appResources, platform::fsRdPerm, platform::ResFileFork::Data);
    if (G_MainResFile <= 0) {
        std::printf("cannot open %s\n", appResources);
        return false;
    }
    LoadTokenStrings();
    ResetDesignGlobals();
    ResetDocResources();
    ResetPasswordTables();
    std::vector<uint8_t> templates;
    if (platform::ReadWholeFile(std::string(sourceDir) + "/resources/ByteSwap.txt", &templates) != 0 ||
        InitTokensFromText(templates.data(), int32_t(templates.size())) != 0) {
        std::printf("cannot read the byte-swap templates\n");
        return false;
    }
    initresman();
    GromMemHdl = platform::NewHandle(64);
    return GromMemHdl != nullptr;
}

// What a failed step of a benchmark says, on stderr: `what`, the error and
// its words: `shown` (what an alert nobody answered said, UTF-8) when
// given, else those of the last message alert since the set-up, else the
// program's message for the code.
inline void SayBenchFailure(const std::string& what, int16_t error, const std::string& shown = {})
{
    unsigned char text[256] = {0};
    if (!shown.empty()) {
        std::fprintf(stderr, "%s: error %d: %s\n", what.c_str(), int(error), shown.c_str());
        return;
    }
    if (AlertCount() > 0) {
        const std::string& said = LastAlert().text;
        std::fprintf(stderr, "%s: error %d: %s\n", what.c_str(), int(error),
                     platform::MacRomanToUtf8String(reinterpret_cast<const uint8_t*>(said.data()), int32_t(said.size())).c_str());
        return;
    }
    ErrorMessage(error, text);
    std::fprintf(stderr, "%s: error %d: %s\n", what.c_str(), int(error),
                 platform::MacRomanToUtf8String(text + 1, text[0]).c_str());
}

// Opens and reads the built structure at `dataPath` into `doc` (its type
// list made here); `other` takes the third file number CloseQzB wants.
inline bool OpenBuiltStructure(const std::string& dataPath, TMainDoc* doc, int16_t* other)
{
    NewTypeList(&doc->fTypeList);
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(dataPath, &fileSpec);
    *other = -1;
    unsigned char password[16] = {0};
    return OpenQzB(1, fileSpec, &doc->fRsrFile, &doc->fResFile, other, password) == 0 && ReadQzB(doc, 1, 1) == 0;
}
