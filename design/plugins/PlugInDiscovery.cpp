#include "design/plugins/PlugInDiscovery.h"

#include <algorithm>
#include <cstring>
#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/plugins/BundleTable.h"
#include "design/plugins/PlugInFiles.h"
#include "design/plugins/PlugInNotices.h"
#include "forms/identity/FileIdentification.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "network/PlugInFolders.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/DirectoryIds.h"
#include "platform/files/FileSpec.h"
#include "platform/files/FolderListing.h"
#include "platform/files/MacNames.h"
#include "platform/resfiles/Bundles.h"
#include "platform/resfiles/Resources.h"

using namespace platform;

namespace {

constexpr int16_t kDuplicate = -1, kReserved = -2;
constexpr int16_t kApplicationBundles[] = {10128, 10760, 10833, 11512, 11760, 11900,
                                           11999, 12000, 12256, 13256, 14000, 15010};

}  // namespace

struct PlugInBatch {
    struct NameBefore {
        bool operator()(const std::array<unsigned char, 34>& a, const std::array<unsigned char, 34>& b) const
        {
            return rel2str(a.data(), b.data()) == kSmaller;
        }
    };
    std::vector<TObjQz*> made[2];  // kinds 7 and 8
    // The names of the packages and of the routines made, before they join
    // their list.
    std::set<std::array<unsigned char, 34>, NameBefore> packages, routines;
};

namespace {

// Opens the batch of the outermost search call; Finish places its objects
// in their lists. Left without Finish (a failure, memory running out),
// it disposes of them, and so lets go of their files.
class BatchScope {
public:
    explicit BatchScope(ReadObjLink* link) : link_(link)
    {
        if (link->batch) return;
        link->batch = &own_;
        owner_ = true;
    }
    ~BatchScope()
    {
        if (!owner_) return;
        link_->batch = nullptr;
        for (auto& made : own_.made)
            for (TObjQz* obj : made) obj->Dispose();
    }
    BatchScope(const BatchScope&) = delete;
    BatchScope& operator=(const BatchScope&) = delete;

    int16_t Finish(int16_t result)
    {
        if (!owner_) return result;
        for (int k = 0; k < 2; ++k) {
            std::vector<TObjQz*>& made = own_.made[k];
            ObjListHdl* list = &link_->doc->fTypeList->lists[ListKindOf(int16_t(7 + k)) - 1];
            if (!made.empty() && MergeSortedObjList(list, made.data(), int32_t(made.size())) != 0) return memFullErr;
            made.clear();
        }
        return result;
    }

private:
    ReadObjLink* link_;
    PlugInBatch own_;
    bool owner_ = false;
};

void PSetBytes(unsigned char* out, const uint8_t* text, size_t n)
{
    n = std::min<size_t>(n, 255);
    std::memmove(out + 1, text, n);
    out[0] = uint8_t(n);
}

void Note(ReadObjLink* link, Handle resource, ResType type, int16_t id, const unsigned char* name)
{
    link->resource = resource;
    link->type = type;
    link->id = id;
    std::memcpy(link->name, name, size_t(name[0]) + 1);
    std::memcpy(link->shortName, name, size_t(std::min<uint8_t>(name[0], 32)) + 1);
    link->shortName[0] = std::min<uint8_t>(name[0], 32);
}

// The resource's id and name, read without loading it.
Handle IndexedInfo(ResType type, int16_t index, int16_t* id, unsigned char* name)
{
    SetResLoad(false);
    Handle h = Get1IndResource(type, index);
    SetResLoad(true);
    name[0] = 0;
    if (h) GetResInfo(h, id, nullptr, name);
    return h;
}

// Whether the resource look-up that just answered null ran out of memory
// (the resource is there, the read cannot go on) rather than found none.
bool LookupShort() { return ResError() == memFullErr; }

// Calls `each` (id, name, handle) for every resource of the type in the
// current file, in index order, each noted in the link; stops at the first
// answer other than 0 and gives it, or at -108 when memory runs out.
template <typename Each>
int16_t EachResource(ReadObjLink* link, ResType type, Each each)
{
    const int16_t count = Count1Resources(type);
    for (int32_t i = 1; i <= count; ++i) {
        int16_t id = 0;
        unsigned char name[256];
        Handle h = IndexedInfo(type, i, &id, name);
        if (!h) {
            if (LookupShort()) return memFullErr;
            continue;
        }
        Note(link, h, type, id, name);
        if (const int16_t err = each(id, name, h)) return err;
    }
    return 0;
}

// "_" and the name, as packages are named.
void PackageName(const unsigned char* name, unsigned char* out)
{
    const size_t n = std::min<size_t>(name[0], 254);
    out[1] = '_';
    std::memcpy(out + 2, name + 1, n);
    out[0] = uint8_t(1 + n);
}

// A package or a routine made by the search: known to Named before it joins
// its list.
void NoteMade(ReadObjLink* link, TObjQz* made)
{
    std::array<unsigned char, 34> key{};
    CopyObjName(key.data(), made->name);
    (made->GetOwnerObj() ? link->batch->routines : link->batch->packages).insert(key);
}

bool WaitStopped() { return G_WaitParam && G_WaitParam->cancelled; }

// A plug-in object of the file, with its document flag, in the search's
// batch; null for memory.
TExtObjQz* MakePlugIn(ReadObjLink* link, int16_t kind, const unsigned char* name, int16_t id, int16_t file)
{
    std::vector<TObjQz*>& made = link->batch->made[kind == 8 ? 1 : 0];
    made.push_back(nullptr);
    auto* obj = static_cast<TExtObjQz*>(ConstructObjOfKind(kind));
    if (!obj) {
        made.pop_back();
        return nullptr;
    }
    ObjName cut;
    CopyObjName(cut, name);
    obj->kind = kind;
    obj->init(link->doc, cut, id);
    made.back() = obj;
    obj->SetPlugInFile(file);
    obj->SetDocFlag();
    link->made = obj;
    return obj;
}

// The package's routines, one per string (routine number j from 1), but
// those `skip` refuses. 0 or -108.
template <typename Skip>
int16_t MakeRoutines(ReadObjLink* link, TExtObjQz* package, const std::vector<std::vector<uint8_t>>& strings,
                     int16_t file, Skip skip)
{
    for (size_t j = 0; j < strings.size() && j < size_t(INT16_MAX); ++j) {
        const std::vector<uint8_t>& s = strings[j];
        if (skip(s)) continue;
        unsigned char name[256];
        RoutineName(s.data(), s.size(), name);
        TExtObjQz* routine = MakePlugIn(link, 7, name, int16_t(j + 1), file);
        if (!routine) return memFullErr;
        routine->ownerObj = package;
        NoteMade(link, routine);
        routine->SetFlag(kFlagGrouped, true);
        routine->SetFlag(kFlagGrouped2, true);
        routine->level = uint8_t(package->level + 1);
        if (AddObjList(&package->members, routine) != 0) return memFullErr;
    }
    return 0;
}

constexpr int16_t kNoRoutineList = 1;

// The routine list of bundle table `bundle`: 0; kNoRoutineList when the
// table does not fit, names no list, or the list is missing or does not
// fit; -108 when memory runs out reading the list.
int16_t RoutineList(Handle bundle, std::vector<std::vector<uint8_t>>* strings)
{
    std::vector<BundleEntry> entries;
    if (!ReadBundleTable(bundle, &entries) || entries.empty()) return kNoRoutineList;
    Handle list = Get1Resource(FourCC("STR#"), entries[0].id);
    if (!list && LookupShort()) return memFullErr;
    return ReadStringList(list, strings) ? 0 : kNoRoutineList;
}

// Whether a package (or a routine, of any package) of that name exists or
// is in the search's batch. The list is sorted by name: only the run of
// equal names is looked at.
bool Named(ReadObjLink* link, const unsigned char* name, bool routine)
{
    std::array<unsigned char, 34> cut{};
    CopyObjName(cut.data(), name);
    if ((routine ? link->batch->routines : link->batch->packages).count(cut)) return true;
    ObjListHdl list = GetObjListe(link->doc->fTypeList, 7);
    int32_t pos = 0;
    if (!list || !SearchInd_Obj(list, cut.data(), &pos)) return false;
    auto same = [&](int32_t i) { return i >= 0 && i < list->Size() && rel2str(list->At(i)->name, cut.data()) == kEqual; };
    auto sought = [&](int32_t i) { return (list->At(i)->GetOwnerObj() != nullptr) == routine; };
    for (int32_t i = pos - 1; same(i); --i)
        if (sought(i)) return true;
    for (int32_t i = pos; same(i); ++i)
        if (sought(i)) return true;
    return false;
}

// The package name of bundle `id`: its own, its 'THM#''s, that one's
// first string, else the default. 0, or -108 when memory runs out.
int16_t BundleName(int16_t id, const unsigned char* own, const unsigned char* defaultName, unsigned char* name)
{
    std::memcpy(name, own, size_t(own[0]) + 1);
    if (name[0] == 0) {
        SetResLoad(false);
        Handle theme = Get1Resource(FourCC("THM#"), id);
        SetResLoad(true);
        if (!theme && LookupShort()) return memFullErr;
        if (theme) {
            GetResInfo(theme, nullptr, nullptr, name);
            if (name[0] == 0) {
                LoadResource(theme);
                if (LookupShort()) return memFullErr;
                const size_t size = *theme ? size_t(GetHandleSize(theme)) : 0;
                const auto* p = reinterpret_cast<const uint8_t*>(*theme);
                // The first string, when it lies whole inside the resource.
                if (size > 2 && int16_t(ReadBE16(p)) > 0 && size_t(p[2]) <= size - 3) PSetBytes(name, p + 3, p[2]);
            }
        }
    }
    if (name[0] == 0) std::memcpy(name, defaultName, size_t(defaultName[0]) + 1);
    return 0;
}

}  // namespace

int16_t ReadObj_SearchExternals(int16_t file, ReadObjLink* link)
{
    if (file == -1 || !link || !link->doc) return 0;
    BatchScope batch(link);
    CurrentResFile current(file);
    if (!current.Ok()) return 0;
    const int16_t err = EachResource(link, FourCC("QzEX"), [&](int16_t id, const unsigned char* resName, Handle) {
        unsigned char name[256];
        RoutineName(resName + 1, resName[0], name);
        return MakePlugIn(link, 8, name, id, file) ? 0 : memFullErr;
    });
    return err ? err : batch.Finish(0);
}

int16_t ReadObj_SearchPackages(int16_t file, ReadObjLink* link)
{
    if (file == -1 || !link || !link->doc) return 0;
    BatchScope batch(link);
    CurrentResFile current(file);
    if (!current.Ok()) return 0;
    const int16_t err = EachResource(link, FourCC("QzPX"), [&](int16_t id, const unsigned char* resName, Handle) {
        unsigned char name[256];
        PackageName(resName, name);
        TExtObjQz* package = MakePlugIn(link, 7, name, id, file);
        if (!package) return memFullErr;
        NoteMade(link, package);
        Handle bundle = Get1Resource(FourCC("QBNX"), id);
        if (!bundle && LookupShort()) return int16_t(memFullErr);
        std::vector<std::vector<uint8_t>> strings;
        if (const int16_t listed = RoutineList(bundle, &strings)) return listed == memFullErr ? listed : int16_t(0);
        return MakeRoutines(link, package, strings, file, [](const std::vector<uint8_t>&) { return false; });
    });
    return err ? err : batch.Finish(0);
}

int16_t ReadObj_SearchExtFolderPack(int16_t file, ReadObjLink* link, const unsigned char* defaultName)
{
    if (file <= 0 || !link || !link->doc) return 0;
    BatchScope batch(link);
    CurrentResFile current(file);
    if (!current.Ok()) return 0;
    const bool ownFile = file == G_MainResFile;
    // Whether the file goes with the application's, asked once per file.
    int16_t versions = 1;
    int16_t answer = 0;
    const int16_t err = EachResource(link, FourCC("QBNX"), [&](int16_t id, const unsigned char* resName, Handle bundle) {
        unsigned char bundleName[256], name[256];
        if (BundleName(id, resName, defaultName, bundleName) == memFullErr) return int16_t(memFullErr);
        PackageName(bundleName, name);
        if (!ownFile) {
            if (versions == 1) versions = checkVersions(G_MainResFile, file);
            if (versions == memFullErr) return int16_t(memFullErr);
            const bool reserved = std::find(std::begin(kApplicationBundles), std::end(kApplicationBundles), id) !=
                                  std::end(kApplicationBundles);
            answer = versions != 0 && reserved ? kReserved : 0;
        }
        if (answer != 0) return int16_t(0);
        if (Named(link, name, false)) {
            answer = kDuplicate;
            return int16_t(0);
        }
        LoadResource(bundle);
        if (LookupShort()) return int16_t(memFullErr);
        std::vector<std::vector<uint8_t>> strings;
        if (const int16_t listed = RoutineList(bundle, &strings)) return listed == memFullErr ? listed : int16_t(0);
        TExtObjQz* package = MakePlugIn(link, 7, name, id, file);
        if (!package) return memFullErr;
        package->fromBundle = true;
        NoteMade(link, package);
        // A plug-in's routine whose name a routine made before it has (the
        // application's, the document's, an earlier plug-in's) is left
        // out and named to the user: two rows of one name could not be
        // told apart, nor a call by that name.
        auto leftOut = [&](const std::vector<uint8_t>& s) {
            if (s.empty() || s[0] == '@') return true;
            if (ownFile) return false;
            unsigned char routine[256];
            RoutineName(s.data(), s.size(), routine);
            if (!Named(link, routine, true)) return false;
            link->leftOutRoutines.emplace_back(reinterpret_cast<const char*>(routine + 1), routine[0]);
            return true;
        };
        return MakeRoutines(link, package, strings, file, leftOut);
    });
    return err ? err : batch.Finish(answer);
}

namespace {

bool ReadsPackages(OSType fileType)
{
    return fileType == FourCC("Qzpx") || fileType == FourCC("QzPX") || fileType == FourCC("Qzpy") ||
           fileType == FourCC("QzPY") || fileType == kPackageFileType;
}

// An item the package pass leaves without a package is noted, to be named
// to the user; hidden items (a dot name) are the system's, not plug-ins
// left out.
void NotePassedOver(OSType fileType, const FSSpec& item)
{
    if (ReadsPackages(fileType) && FSpGetName(item).rfind('.', 0) != 0) NoteUnreadPlugIn(item.path);
}

// brz_TryToLoadOnePack once what the item is is known.
int16_t LoadOnePack(ReadObjLink* link, OSType fileType, const FSSpec& item, bool isLink, bool isFolder)
{
    auto passedOver = [&](int16_t result) {
        if (result != memFullErr) NotePassedOver(fileType, item);
        return result;
    };
    FSSpec target = item;
    if (isLink) {
        // A link that cannot be followed is passed over; a shortage stops the read.
        const OSErr err = FSpResolveLink(item, &target, &isFolder);
        if (err != noErr) return passedOver(err == memFullErr ? int16_t(memFullErr) : int16_t(0));
    }
    // The map a bundle opens, or the item itself.
    std::optional<CFBundle> bundle;
    if (isFolder) bundle = CFBundleCreate(CFURL{target.path, true});
    const FSSpec map = bundle ? FSSpec{CFBundleResourceMapPath(*bundle)} : target;
    const bool wasOpen = FSpResourceFileAlreadyOpen(map, nullptr, nullptr);
    const int16_t saved = CurResFile();
    int16_t file = bundle ? CFBundleOpenBundleResourceMap(*bundle) : -1;
    if (file == -1 && bundle && ResError() == memFullErr) return memFullErr;
    if (file == -1) file = FSpOpenResFile(target, fsRdPerm);
    if (file == -1) {
        // A shortage is no missing file: the read stops.
        return passedOver(ResError() == memFullErr ? int16_t(memFullErr) : int16_t(0));
    }
    if (!wasOpen) {
        try {
            NotePlugInFileOpened(file);
        } catch (...) {
            // Not yet known as ours: closed here, or never.
            CloseResFile(file);
            throw;
        }
    }
    // However the reading ends (memory may run out in any allocation), the
    // file stays open for the objects made from it, and for them only.
    struct Done {
        int16_t file, saved;
        ~Done()
        {
            ClosePlugInFileIfUnused(file);
            if (saved > 0 && IsResFileOpen(saved)) UseResFile(saved);
        }
    } done{file, saved};
    if (!ReadsPackages(fileType)) return 0;
    const std::string leaf = FSpGetMacName(item);
    unsigned char defaultName[256];
    PSetBytes(defaultName, reinterpret_cast<const uint8_t*>(leaf.data()), leaf.size());
    link->made = nullptr;
    link->leftOutRoutines.clear();
    if (ReadObj_SearchExtFolderPack(file, link, defaultName) == memFullErr) return memFullErr;
    for (const std::string& routine : link->leftOutRoutines) NoteUnreadPlugIn(item.path, routine);
    return link->made ? int16_t(0) : passedOver(0);
}

}  // namespace

int16_t brz_TryToLoadOnePack(ReadObjLink* link, OSType fileType, const FSSpec& item)
{
    bool isFolder = false, isLink = false;
    if (const OSErr err = FSpIsLink(item, &isLink); err != noErr) return err == memFullErr ? int16_t(memFullErr) : int16_t(0);
    if (!isLink && !FSpExists(item, &isFolder)) return 0;
    return LoadOnePack(link, fileType, item, isLink, isFolder);
}

int16_t LoadPlugIns(ReadObjLink* link, OSType fileType, int16_t vRefNum, int32_t dirID)
{
    BatchScope batch(link);
    FSSpec folder;
    std::vector<FolderEntry> items;
    OSErr err = FSMakeFSSpecFromDirID(vRefNum, dirID, "", &folder);
    if (err == noErr) err = FSpListFolder(folder, &items);
    // A folder that cannot be listed has no plug-ins; a shortage stops the read.
    if (err != noErr) return err == memFullErr ? int16_t(memFullErr) : int16_t(1);
    for (const FolderEntry& item : items) {
        if (G_WaitParam && ChkWait(G_WaitParam)) break;
        if (item.brokenLink) {
            NotePassedOver(fileType, item.fileSpec);
            continue;
        }
        // The listing tells what the item is: a link, a folder.
        if (LoadOnePack(link, fileType, item.fileSpec, item.isLink, item.kind == EntryKind::Folder) == memFullErr)
            return memFullErr;
    }
    return batch.Finish(1);
}

OSErr brz_NativePlugInsFolderRefs(int16_t location, int16_t* vRefNum, int32_t* dirID)
{
    return GetPlugInsFolderRefs(location, kPlugInsFolderKind, vRefNum, dirID);
}

int16_t brz_LookupPluginsFolder(ReadObjLink* link, OSType fileType, int16_t location, bool flag)
{
    (void)flag;
    int16_t vRefNum = 0;
    int32_t dirID = 0;
    const OSErr err = brz_NativePlugInsFolderRefs(location, &vRefNum, &dirID);
    if (err == memFullErr) return memFullErr;
    if (err != noErr || dirID == 0) return 1;
    return LoadPlugIns(link, fileType, vRefNum, dirID);
}

int16_t ReadObj_SearchExtFolder(ReadObjLink* link, OSType fileType)
{
    BatchScope batch(link);
    for (int16_t location : {5, 3, 0, 1, 2}) {
        if (WaitStopped()) break;
        if (brz_LookupPluginsFolder(link, fileType, location, false) == memFullErr) return memFullErr;
    }
    return batch.Finish(0);
}

int16_t ReadPlugInPackages(TMainDoc* doc)
{
    ReadObjLink link;
    link.doc = doc;
    BatchScope batch(&link);
    const int16_t saved = CurResFile();
    const unsigned char none[1] = {0};
    int16_t result = ReadObj_SearchExtFolderPack(G_MainResFile, &link, none);
    if (result == 0) {
        result = ReadObj_SearchPackages(doc->fRsrFile, &link);
        if (result == 0) result = ReadObj_SearchPackages(doc->fOtherFile, &link);
    }
    if (saved > 0 && IsResFileOpen(saved)) UseResFile(saved);
    if (result == 0) result = ReadObj_SearchExtFolder(&link, kPackageFileType);
    if (result == 0 && WaitStopped()) result = kCancelledByUser;
    return result == memFullErr ? result : batch.Finish(result);
}

int16_t ReadPlugInRoutines(TMainDoc* doc)
{
    ReadObjLink link;
    link.doc = doc;
    BatchScope batch(&link);
    const int16_t saved = CurResFile();
    int16_t result = ReadObj_SearchExternals(doc->fRsrFile, &link);
    if (result == 0) result = ReadObj_SearchExternals(doc->fOtherFile, &link);
    if (result == 0) result = ReadObj_SearchExtFolder(&link, kRoutineFileType);
    if (result == 0 && WaitStopped()) result = kCancelledByUser;
    if (saved > 0 && IsResFileOpen(saved)) UseResFile(saved);
    return result == memFullErr ? result : batch.Finish(result);
}
