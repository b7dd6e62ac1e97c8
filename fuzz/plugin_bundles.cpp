// A plug-in resource file as plug-in discovery reads it, whatever its
// 'QBNX' bundles, routine lists 'STR#', themes 'THM#', signature 'QzSG'
// and identities 'QzID' hold: the same bytes stand as a plain file and as
// a bundle's map in a plug-in folder, and as the document's companion
// (its 'QzPX' packages and 'QzEX' routines). The objects found are then
// parsed, asked for their documentation and lock, their bundle entries
// added and removed, and disposed of, which must close every file the
// discovery opened. The input: the file's bytes.
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "design/objects/ObjKinds.h"
#include "design/plugins/PlugInDiscovery.h"
#include "design/plugins/PlugInFiles.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"

using platform::FourCC;

namespace {

// The application's identity (signature 1, version 6, needing version 2
// of signature 2), below every open file.
int16_t OpenApplication()
{
    platform::ResourceFileImage image;
    auto add = [&](const char (&type)[5], int16_t id, std::vector<uint8_t> data) {
        platform::ResourceImage r;
        r.type = FourCC(type);
        r.id = id;
        r.data = std::move(data);
        image.resources.push_back(std::move(r));
    };
    add("QzSG", 0, {0, 1});
    add("QzID", 1, {3, 'A', 'p', 'p', 0, 6});
    add("QzID", 2, {5, 'T', 'o', 'o', 'l', 's', 0, 2});
    return platform::OpenResFileImageBelow(image);
}

void Exercise(TObjQz* obj)
{
    auto* ext = dynamic_cast<TExtObjQz*>(obj);
    if (!ext) return;
    ext->Parse();
    ext->SetDocFlag();
    ext->GetDocRes();
    if (auto* package = dynamic_cast<TPackagesObjQz*>(obj)) package->LockedPackage();
    ext->AddDocBundle();
    ext->DelDocBundle();
    ext->DelDoc();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::Bytes bytes(data, data + size);
    fuzz::ScratchStructure scratch;
    const int16_t application = OpenApplication();
    if (scratch.Ready() && application > 0) {
        namespace fs = std::filesystem;
        const fs::path root = fuzz::ScratchFolder(), plugins = root / "ext" / "Plugins";
        std::error_code ec;
        fs::create_directories(plugins / "Kit.plugin" / "Contents" / "Resources", ec);
        fuzz::WriteFile((plugins / "Tools.plugin").string(), bytes);
        fuzz::WriteFile((plugins / "Kit.plugin" / "Contents" / "Resources" / "Kit.rsrc").string(), bytes);
        fuzz::WriteFile((root / "doc.RSR").string(), bytes);
        setenv("QZ_EXTENSIONS_DIR", (root / "ext").c_str(), 1);
        for (const char* other : {"QZ_USER_DATA_DIR", "QZ_SYSTEM_DATA_DIR", "QZ_PREFERENCES_DIR", "QZ_APPLICATION_DIR"})
            setenv(other, (root / "none").c_str(), 1);
        G_MainResFile = application;
        TMainDoc& doc = scratch.Doc();
        doc.fRsrFile = platform::OpenResFile((root / "doc.RSR").string(), platform::fsRdWrPerm, platform::ResFileFork::Data);
        ReadPlugInPackages(&doc);
        ReadPlugInRoutines(&doc);
        for (int16_t kind : {7, 8}) {
            ObjListHdl list = GetObjListe(doc.fTypeList, kind);
            for (int32_t i = 0; list && i < list->Size(); ++i) Exercise(list->At(i));
        }
        DisposeTypeList(doc.fTypeList);
        doc.fTypeList = nullptr;
        NewTypeList(&doc.fTypeList);
        if (doc.fRsrFile > 0) platform::CloseResFile(doc.fRsrFile);
        // Every file the discovery opened went with its objects.
        if (CountOpenPlugInFiles() != 0) std::abort();
        G_MainResFile = 0;
    }
    if (application > 0) platform::CloseResFile(application);
    ResetPlugInFiles();
    return 0;
}
