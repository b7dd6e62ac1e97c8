// A document file of any bytes opened as a structure or a library, without
// a companion and without the application's alerts: it is refused or
// opened, nothing stays open, and a refused file keeps its bytes.
#include <cstdint>
#include <cstdlib>

#include "app/appl/AppGlobals.h"
#include "design/documents/DocResources.h"
#include "design/documents/OpenQzB.h"
#include "design/documents/Passwords.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/Resources.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResourceApi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool templates = fuzz::LoadShippedTemplates();
    (void)templates;
    fuzz::FuzzBytes in(data, size);
    const uint8_t isStructure = in.Byte() & 1;
    const fuzz::Bytes file = in.Rest();
    fuzz::ClearScratchFolder();
    const std::string path = fuzz::ScratchFolder() + "/Doc.QzB";
    if (!fuzz::WriteFile(path, file)) return 0;
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(path, &fileSpec);
    ResetResManager();
    initresman();
    G_MainResFile = -1;
    int16_t rsrFile = -1, container = -1, other = -1;
    unsigned char password[16];
    const int16_t err = OpenQzB(isStructure, fileSpec, &rsrFile, &container, &other, password);
    if (err == 0) {
        CloseQzB(rsrFile, container, other, -1);
    } else {
        fuzz::Bytes after;
        platform::ReadWholeFile(path, &after);
        if (after != file || rsrFile != -1 || container != -1) std::abort();
    }
    if (!CPseudoResManager::Files().empty()) std::abort();
    ResetPasswordTables();
    ResetDocResources();
    ResetResManager();
    return 0;
}
