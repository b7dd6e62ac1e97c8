// A structure document of any bytes, opened and then read into its design
// objects (every directory, the lists' links, groups and components)
// without the application's own resources: the read answers a code, every
// object made is released with the document, and nothing stays open.
#include <cstdint>
#include <cstdlib>

#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "design/objects/DesignGlobals.h"
#include "design/documents/DocResources.h"
#include "design/reading/ModuleManager.h"
#include "design/objects/ObjList.h"
#include "design/documents/OpenQzB.h"
#include "design/documents/Passwords.h"
#include "design/reading/ReadQzB.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/resfiles/Resources.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResourceApi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool templates = fuzz::LoadShippedTemplates();
    (void)templates;
    fuzz::ClearScratchFolder();
    const std::string path = fuzz::ScratchFolder() + "/Doc.QzB";
    if (!fuzz::WriteFile(path, fuzz::Bytes(data, data + size))) return 0;
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(path, &fileSpec);
    ResetResManager();
    initresman();
    ResetDesignGlobals();
    G_MainResFile = -1;
    GromMemHdl = platform::NewHandle(64);

    TMainDoc doc;
    int16_t other = -1;
    unsigned char password[16];
    if (OpenQzB(1, fileSpec, &doc.fRsrFile, &doc.fResFile, &other, password) == 0 &&
        NewTypeList(&doc.fTypeList) == 0) {
        ReadQzB(&doc, 1, 0);
        DisposeTypeList(doc.fTypeList);
        doc.fTypeList = nullptr;
        DisposeModuleMgr(doc.fModuleManager);
        doc.fModuleManager = nullptr;
        CloseQzB(doc.fRsrFile, doc.fResFile, other, -1);
    }
    if (!CPseudoResManager::Files().empty()) std::abort();
    platform::DisposeHandle(GromMemHdl);
    GromMemHdl = nullptr;
    ResetPasswordTables();
    ResetDocResources();
    ResetDesignGlobals();
    ResetResManager();
    return 0;
}
