// The plug-in objects: their file, their documentation flag, lock and
// links. Every look-up in the plug-in file makes it current and puts the
// previous file back.
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/objects/ObjKinds.h"
#include "design/plugins/BundleLinks.h"
#include "design/plugins/BundleTable.h"
#include "design/plugins/PlugInFiles.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

using platform::FourCC;

namespace {

constexpr int32_t kMaxCompanionResources = 2500;
constexpr int16_t kTooManyResources = 1008;
constexpr int16_t kFirstUnlockedPackage = 15000;

// Whether the file holds the resource, without loading it.
bool Holds(uint32_t type, int16_t id)
{
    platform::SetResLoad(false);
    platform::Handle h = platform::Get1Resource(type, id);
    platform::SetResLoad(true);
    return h != nullptr;
}

}  // namespace

void TExtObjQz::init(TMainDoc* doc, const unsigned char* newName, int16_t newId)
{
    TStructObjQz::init(doc, newName, newId);
    if (doc) doc->fPlugInDocFile = platform::CurResFile();
    unopenable = 0;
    noConflict = false;
}

void TExtObjQz::SetPlugInFile(int16_t file)
{
    if (file == plugInFile) return;
    RetainPlugInFile(file);
    const int16_t old = plugInFile;
    plugInFile = file;
    ReleasePlugInFile(old);
}

void TExtObjQz::Dispose()
{
    // A package and its routines share the file: it closes with the last.
    const int16_t file = plugInFile;
    plugInFile = -1;
    ReleasePlugInFile(file);
    TStructObjQz::Dispose();
}

void TExtObjQz::InitDocFlag()
{
    CurrentResFile current(plugInFile);
    bool has = false;
    if (current.Ok()) {
        const int16_t docId = GetDocId();
        has = docId != -1 && Holds(GetDocResType(), docId);
    }
    SetFlag(kFlagHasDoc, has);
}

bool TExtObjQz::EnableDocWrite() { return owner && !owner->fRemote; }

int16_t TExtObjQz::SelfAddObjList(ObjListHdl* list, int16_t mode)
{
    if (owner && CountTotResources(owner->fRsrFile) > kMaxCompanionResources) return kTooManyResources;
    return TStructObjQz::SelfAddObjList(list, mode);
}

int16_t TExtObjQz::Parse()
{
    if (TstFlag(kFlagParsed)) return 0;
    SetFlag(kFlagParsed, true);
    CurrentResFile current(plugInFile);
    if (!current.Ok()) return 0;
    return ParseQzBundle(owner, this, GetBundleType(), id);
}

int16_t TExtObjQz::Parse_Link(TObjQz* obj, C_ListRec* conflicts)
{
    (void)obj, (void)conflicts;
    return Parse();
}

int16_t TExtObjQz::GetDocId()
{
    CurrentResFile current(plugInFile);
    if (!current.Ok()) return -1;
    BundleEntry entry;
    return FindBundleEntry(platform::Get1Resource(GetBundleType(), id), GetDocResType(), &entry) ? entry.id : -1;
}

platform::Handle TExtObjQz::GetDocRes()
{
    CurrentResFile current(plugInFile);
    if (!current.Ok()) return nullptr;
    const int16_t docId = GetDocId();
    return docId == -1 ? nullptr : platform::Get1Resource(GetDocResType(), docId);
}

uint32_t TPackagesObjQz::GetDocResType() { return FourCC("Qzte"); }
uint32_t TPackagesObjQz::GetBundleType() { return FourCC("QBNX"); }
uint32_t TExternalObjQz::GetDocResType() { return FourCC("QzTE"); }
uint32_t TExternalObjQz::GetBundleType() { return FourCC("QBND"); }

bool TPackagesObjQz::LockedPackage()
{
    if (id < kFirstUnlockedPackage) return true;
    const int16_t file = GetPlugInFile();
    if (!owner || file <= 0 || (file != owner->fRsrFile && file != owner->fOtherFile)) return true;
    CurrentResFile current(file);
    std::vector<BundleEntry> entries;
    if (!current.Ok() || !ReadBundleTable(platform::Get1Resource(GetBundleType(), id), &entries)) return false;
    for (const BundleEntry& e : entries)
        if (e.type == FourCC("LOK!") && e.count == -1) return true;
    return false;
}
