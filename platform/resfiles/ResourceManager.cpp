#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <new>
#include <thread>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/files/NameLock.h"
#include "platform/files/Sidecar.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/FileOrder.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"

namespace platform {
namespace {

struct ResFile;
struct Resource;

// Where a file's resources are by type and id, and by type in file order,
// made at the first look-up after a change of the file's list: look-ups
// by id and by index each walked every resource of the file. The file is
// written type after type from here.
struct ResIndex {
    std::unordered_map<uint64_t, Resource*> byKey;  // the first of each type and id
    std::unordered_map<ResType, FileOrder<Resource*>> byType;
    std::vector<ResType> types;  // in the order they came into the file
    bool sharedIds = false;      // a type and id stand more than once (a file as read)
    // The run the last add went to: adds come in runs of one type.
    FileOrder<Resource*>* lastRun = nullptr;
    ResType lastType = 0;
};

uint64_t KeyOf(ResType type, int16_t id) { return (uint64_t(type) << 16) | uint16_t(id); }

// Kept apart from the state, which a reset starts afresh.
uint64_t NextSerial()
{
    static uint64_t last = 0;
    return ++last;
}

// A file holds one of these for each of its resources, and a command that
// adds many resources makes one each: kept as small as the allocator's
// next size down, which adding thousands of resources feels.
struct Resource {
    ResFile* file = nullptr;
    ResourceImage image;        // attributes here never hold resChanged
    Handle handle = nullptr;
    uint64_t serial = 0;        // grows along the file's list
    uint32_t counted = 0;       // the size of the data counted in the file's size (which the layout keeps small)
    bool changed : 1 = false;
    bool loaded : 1 = false;    // the handle holds the data
    bool onDisk : 1 = false;    // image.data is what the file holds
    // In a shared file: changed here since the file was last read or
    // written here (what it was then is in the file's `synced`, unless it
    // was added since).
    bool touched : 1 = false;
    bool added : 1 = false;
};

// What a resource of a shared file was when the file was last read or
// written here. Its data is empty when memory was short: it then merges
// whole.
struct Synced {
    uint64_t key = 0;
    std::vector<uint8_t> data;
};

struct ResFile {
    int16_t refNum = 0;
    uint64_t serial = NextSerial();
    FSSpec fileSpec;
    ResFileFork where = ResFileFork::Resource;
    SInt8 permission = fsRdPerm;
    int16_t forkRef = 0;        // held open by writers, so that others see them
    uint8_t reserved[240] = {};
    uint16_t attributes = 0;
    FileOrder<std::unique_ptr<Resource>> resources;
    uint64_t nextSerial = 0;
    // What names and data take in the layout: kept with every change, so
    // that one the layout cannot hold is refused before it is made.
    uint64_t nameBytes = 0, dataBytes = 0;
    std::unique_ptr<ResIndex> index;  // null until needed and after a change of `resources`
    bool dirty = false;
    bool held = false;          // changes stay in memory (HoldResFile)
    bool adrift = false;        // and never reach the disk (SetResFileAdrift)
    std::vector<uint64_t> removed;  // shared: keys as last read or written of the resources removed since
    std::unordered_map<const Resource*, Synced> synced;  // shared: of each touched resource not added since
    // Shared: the bytes each resource added since, of a type that merges,
    // was added with (what the program held of it then).
    std::unordered_map<const Resource*, std::vector<uint8_t>> addedAs;

    bool Writable() const { return permission != fsRdPerm && !(attributes & mapReadOnly); }
    // Opened for writing by other programs too: an update merges (MergeShared).
    bool Shared() const { return permission == fsRdWrShPerm && where == ResFileFork::Data; }
};

struct State {
    std::vector<std::unique_ptr<ResFile>> chain;  // newest first
    int16_t current = -1;
    bool resLoad = true;
    OSErr error = noErr;
    std::unordered_map<Handle, Resource*> byHandle;
    // The open files by reference number: a program with hundreds of
    // plug-in files open looks one up at every change of current file.
    std::unordered_map<int16_t, ResFile*> byRef;
    std::unordered_map<ResType, ResourceMerge> merges;
};

State& S()
{
    static State state;
    return state;
}

OSErr Fail(OSErr err)
{
    S().error = err;
    return err;
}

ResFile* FindFile(int16_t refNum)
{
    auto it = S().byRef.find(refNum);
    return it == S().byRef.end() ? nullptr : it->second;
}

// Calls `visit` with the files a look-up searches, from the current one
// down, or it alone, until it answers true; whether one did. The current
// file alone is found by its number: with hundreds of files open, a
// look-up in one of the oldest must not pass all the newer ones.
template <typename Visit>
bool SearchPath(bool oneDeep, Visit visit)
{
    if (oneDeep) {
        ResFile* f = FindFile(S().current);
        return f && visit(f);
    }
    bool started = false;
    for (auto& f : S().chain) {
        if (f->refNum == S().current) started = true;
        if (started && visit(f.get())) return true;
    }
    return false;
}

void Reindex(ResFile* f) { f->index.reset(); }

const Resource* Of(const Resource* r) { return r; }
const Resource* Of(const std::unique_ptr<Resource>& r) { return r.get(); }

// Where `r` stands in `list`, a run in file order; end() when it is not there.
template <class T>
typename FileOrder<T>::iterator PlaceIn(FileOrder<T>& list, const Resource* r)
{
    const auto at = std::lower_bound(list.begin(), list.end(), r->serial,
                                     [](const T& o, uint64_t serial) { return Of(o)->serial < serial; });
    return at != list.end() && Of(*at) == r ? at : list.end();
}

// A made index follows each single change of its file's list instead of
// being made again, so that adding, renumbering or removing many resources
// one by one stays linear: an add or a new id costs a constant, a removal
// a look-up (and the moves of the resources between it and the nearer end
// of its type). A shortage drops it, to be made again when needed.

// `r`, which keeps its place in the file, no longer answers to its id.
void UnkeyIndexed(ResIndex& index, Resource* r)
{
    const auto key = index.byKey.find(KeyOf(r->image.type, r->image.id));
    if (key == index.byKey.end() || key->second != r) return;
    // The next of its type and id in file order answers instead, if any.
    const auto run = index.sharedIds ? index.byType.find(r->image.type) : index.byType.end();
    if (run != index.byType.end()) {
        const auto next = std::find_if(run->second.begin(), run->second.end(),
                                       [&](Resource* o) { return o != r && o->image.id == r->image.id; });
        if (next != run->second.end()) return void(key->second = *next);
    }
    index.byKey.erase(key);
}

// `r` was put last in its file's list.
void IndexAdded(ResFile* f, Resource* r)
{
    if (!f->index) return;
    try {
        ResIndex& index = *f->index;
        index.byKey.try_emplace(KeyOf(r->image.type, r->image.id), r);
        if (!index.lastRun || index.lastType != r->image.type) {
            auto [at, added] = index.byType.try_emplace(r->image.type);
            if (added) index.types.push_back(r->image.type);
            index.lastRun = &at->second;
            index.lastType = r->image.type;
        }
        index.lastRun->push_back(r);
    } catch (const std::bad_alloc&) {
        Reindex(f);
    }
}

// `r` is about to leave its file's list.
void IndexRemoved(ResFile* f, Resource* r)
{
    if (!f->index) return;
    ResIndex& index = *f->index;
    const auto run = index.byType.find(r->image.type);
    if (run == index.byType.end()) return Reindex(f);
    const auto at = PlaceIn(run->second, r);
    if (at == run->second.end()) return Reindex(f);
    UnkeyIndexed(index, r);
    run->second.erase(at);
    if (run->second.empty()) {
        if (index.lastRun == &run->second) index.lastRun = nullptr;
        index.byType.erase(run);
        std::erase(index.types, r->image.type);
    }
}

// `r` is about to take the id `id`, which no other resource of its type
// in the file has.
void IndexRenumbered(ResFile* f, Resource* r, int16_t id)
{
    if (!f->index) return;
    UnkeyIndexed(*f->index, r);
    try {
        f->index->byKey.try_emplace(KeyOf(r->image.type, id), r);
    } catch (const std::bad_alloc&) {
        Reindex(f);
    }
}

// The file's index, made when missing; null when memory for it is short
// (callers then walk the file).
const ResIndex* IndexOf(ResFile* f)
{
    if (f->index) return f->index.get();
    try {
        auto index = std::make_unique<ResIndex>();
        for (auto& r : f->resources) {
            if (!index->byKey.emplace(KeyOf(r->image.type, r->image.id), r.get()).second) index->sharedIds = true;
            auto [at, added] = index->byType.try_emplace(r->image.type);
            if (added) index->types.push_back(r->image.type);
            at->second.push_back(r.get());
        }
        f->index = std::move(index);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return f->index.get();
}

Resource* FromHandle(Handle h)
{
    auto it = S().byHandle.find(h);
    return it == S().byHandle.end() ? nullptr : it->second;
}

void DropHandle(Resource* r)
{
    if (r->handle) S().byHandle.erase(r->handle);
    r->handle = nullptr;
    r->loaded = false;
}

OSErr FillHandle(Resource* r)
{
    Size size = Size(r->image.data.size());
    if (GetHandleSize(r->handle) != size) {
        SetHandleSize(r->handle, size);
        if (OSErr err = MemError(); err != noErr) return err;
    }
    if (size) std::memcpy(*r->handle, r->image.data.data(), size_t(size));
    r->loaded = true;
    return noErr;
}

// The resource's handle, made (and filled when loading is on) on demand.
Handle Materialise(Resource* r)
{
    if (!r->handle) {
        Handle h = NewHandle(0);
        if (!h) {
            Fail(MemError());
            return nullptr;
        }
        try {
            S().byHandle[h] = r;
        } catch (const std::bad_alloc&) {
            DisposeHandle(h);
            Fail(memFullErr);
            return nullptr;
        }
        HSetRBit(h);
        r->handle = h;
        r->loaded = false;
    }
    if (S().resLoad && !r->loaded) {
        if (OSErr err = FillHandle(r); err != noErr) {
            Fail(err);
            return nullptr;
        }
        if (r->image.attributes & resLocked) HLock(r->handle);
        if (r->image.attributes & resPurgeable) HPurge(r->handle);
    }
    return r->handle;
}

Resource* FindIn(ResFile* f, ResType type, int16_t id)
{
    if (const ResIndex* index = IndexOf(f)) {
        const auto found = index->byKey.find(KeyOf(type, id));
        return found == index->byKey.end() ? nullptr : found->second;
    }
    for (auto& r : f->resources)
        if (r->image.type == type && r->image.id == id) return r.get();
    return nullptr;
}

bool NameEquals(const ResourceImage& image, ConstStr255Param name)
{
    return image.hasName && image.name.size() == name[0] &&
           std::memcmp(image.name.data(), name + 1, name[0]) == 0;
}

Handle Lookup(bool oneDeep, ResType type, int16_t id)
{
    S().error = noErr;
    Resource* found = nullptr;
    SearchPath(oneDeep, [&](ResFile* f) { return (found = FindIn(f, type, id)) != nullptr; });
    if (found) return Materialise(found);
    Fail(resNotFound);
    return nullptr;
}

Handle LookupNamed(bool oneDeep, ResType type, ConstStr255Param name)
{
    S().error = noErr;
    Resource* found = nullptr;
    if (name)
        SearchPath(oneDeep, [&](ResFile* f) {
            for (auto& r : f->resources)
                if (r->image.type == type && NameEquals(r->image, name)) {
                    found = r.get();
                    return true;
                }
            return false;
        });
    if (found) return Materialise(found);
    Fail(resNotFound);
    return nullptr;
}

// Resources of one type in file order: an index's run, or one alone.
struct Run {
    const FileOrder<Resource*>* many = nullptr;
    Resource* one = nullptr;
    size_t size() const { return many ? many->size() : 1; }
    Resource* operator[](size_t i) const { return many ? (*many)[i] : one; }
};

// Calls `visit` with the file's resources of that type, in file order, as
// one run (an index's) or one at a time (a walk when memory is short);
// stops when it answers true.
template <typename Visit>
bool EachOfType(ResFile* f, ResType type, Visit visit)
{
    if (const ResIndex* index = IndexOf(f)) {
        const auto found = index->byType.find(type);
        if (found == index->byType.end()) return false;
        return visit(Run{&found->second, nullptr});
    }
    for (auto& r : f->resources)
        if (r->image.type == type && visit(Run{nullptr, r.get()})) return true;
    return false;
}

size_t CountOfType(bool oneDeep, ResType type)
{
    size_t n = 0;
    SearchPath(oneDeep, [&](ResFile* f) {
        return EachOfType(f, type, [&](const Run& run) {
            n += run.size();
            return false;
        });
    });
    return n;
}

// The resource of that type at the 1-based index over the search path.
Resource* NthOfType(bool oneDeep, ResType type, size_t index)
{
    Resource* found = nullptr;
    SearchPath(oneDeep, [&](ResFile* f) {
        return EachOfType(f, type, [&](const Run& run) {
            if (index <= run.size()) {
                found = run[index - 1];
                return true;
            }
            index -= run.size();
            return false;
        });
    });
    return found;
}

std::vector<ResType> Types(bool oneDeep)
{
    std::vector<ResType> types;
    try {
        SearchPath(oneDeep, [&](ResFile* f) {
            auto add = [&](ResType type) {
                if (std::find(types.begin(), types.end(), type) == types.end()) types.push_back(type);
            };
            if (const ResIndex* index = IndexOf(f)) {
                for (ResType type : index->types) add(type);
            } else {
                for (auto& r : f->resources) add(r->image.type);
            }
            return false;
        });
    } catch (const std::bad_alloc&) {
        Fail(memFullErr);
        types.clear();
    }
    return types;
}

int16_t Unique(bool oneDeep, ResType type)
{
    S().error = noErr;
    for (int32_t id = 128; id <= INT16_MAX; ++id) {
        bool taken = false;
        SearchPath(oneDeep, [&](ResFile* f) { return taken = FindIn(f, type, int16_t(id)) != nullptr; });
        if (!taken) return int16_t(id);
    }
    Fail(addResFailed);
    return 0;
}

// A resource that may be changed: known, in a writable file.
Resource* Changeable(Handle h, OSErr missing)
{
    Resource* r = FromHandle(h);
    if (!r) {
        Fail(missing);
        return nullptr;
    }
    if (!r->file->Writable()) {
        Fail(wrPermErr);
        return nullptr;
    }
    return r;
}

// The data `r` now counts in its file's size: `size` bytes.
void Recount(Resource* r, size_t size)
{
    r->file->dataBytes = r->file->dataBytes - DataBytes(r->counted) + DataBytes(size);
    r->counted = uint32_t(size);
}

// A resource of a shared file about to change: what it was, kept for the
// merge (without the memory to keep its data it merges whole). False, with
// memFullErr, when not even that can be kept: the change is not made.
bool Touch(Resource* r)
{
    if (!r->file->Shared() || r->touched) return true;
    if (!r->added) {
        try {
            Synced& was = r->file->synced[r];
            was.key = KeyOf(r->image.type, r->image.id);
            try {
                was.data = r->image.data;
            } catch (const std::bad_alloc&) {
                was.data.clear();
            }
        } catch (const std::bad_alloc&) {
            return Fail(memFullErr), false;
        }
    }
    r->touched = true;
    return true;
}

// What a touched resource of a shared file was; null for one added since.
const Synced* SyncedOf(const Resource& r)
{
    const auto at = r.file->synced.find(&r);
    return at == r.file->synced.end() ? nullptr : &at->second;
}

// Whether the file holds a resource of the type.
bool HoldsType(ResFile* f, ResType type)
{
    if (const ResIndex* index = IndexOf(f)) return index->byType.count(type) != 0;
    return std::any_of(f->resources.begin(), f->resources.end(), [&](auto& r) { return r->image.type == type; });
}

ResourceFileSize SizeOf(ResFile* f)
{
    ResourceFileSize size{0, f->resources.size(), f->nameBytes, f->dataBytes};
    if (const ResIndex* index = IndexOf(f)) {
        size.types = index->types.size();
    } else {
        std::vector<ResType> types;
        for (auto& r : f->resources)
            if (std::find(types.begin(), types.end(), r->image.type) == types.end()) types.push_back(r->image.type);
        size.types = types.size();
    }
    return size;
}

// Whether the file can take a change that adds (or takes away) that many
// types, resources, name and data bytes.
bool Fits(ResFile* f, int64_t types, int64_t resources, int64_t nameBytes, int64_t dataBytes)
{
    if (types <= 0 && resources <= 0 && nameBytes <= 0 && dataBytes <= 0) return true;  // nothing grows
    const auto grown = [&](const ResourceFileSize& before) {
        const ResourceFileSize after{before.types + types, before.resources + resources,
                                     before.nameBytes + nameBytes, before.dataBytes + dataBytes};
        return after.Fits(before);
    };
    // A file has no more types than resources: counted as many, its types
    // need no count while it is far from the layout's reach.
    const uint64_t n = f->resources.size();
    return grown({n, n, f->nameBytes, f->dataBytes}) || grown(SizeOf(f));
}

// Fits, else resFileFullErr, before anything changes: a file past its
// layout's reach would be lost whole when written.
bool Takes(ResFile* f, int64_t types, int64_t resources, int64_t nameBytes, int64_t dataBytes)
{
    if (Fits(f, types, resources, nameBytes, dataBytes)) return true;
    Fail(resFileFullErr);
    return false;
}

// Whether the resource's data may become `size` bytes; counted so when it may.
bool TakesData(Resource* r, size_t size)
{
    if (!Takes(r->file, 0, 0, 0, int64_t(DataBytes(size)) - int64_t(DataBytes(r->counted)))) return false;
    Recount(r, size);
    return true;
}

OSErr ReadFork(const FSSpec& fileSpec, ResFileFork where, int16_t forkRef, std::vector<uint8_t>* bytes)
{
    if (forkRef) {
        int64_t size = 0;
        GetEOF(forkRef, &size);
        if (size > INT32_MAX) return memFullErr;
        bytes->resize(size_t(size));
        SetFPos(forkRef, fsFromStart, 0);
        int64_t count = size;
        return FSRead(forkRef, &count, bytes->data());
    }
    if (where == ResFileFork::Data) return ReadWholeFile(fileSpec.path, bytes);
    if (!FSpExists(fileSpec)) return fnfErr;
    AppleDouble doc;
    bool present = false;
    if (OSErr err = ReadSidecar(fileSpec.path, &doc, &present); err != noErr) return err;
    bytes->clear();
    if (doc.resourceFork) *bytes = std::move(*doc.resourceFork);
    return noErr;
}

OSErr WriteFork(ResFile* f, const std::vector<uint8_t>& bytes)
{
    if (f->where == ResFileFork::Resource) {
        // The open resource fork writes its sidecar anew when flushed.
        OSErr err = SetEOF(f->forkRef, 0);
        int64_t count = int64_t(bytes.size());
        if (err == noErr) err = SetFPos(f->forkRef, fsFromStart, 0);
        if (err == noErr) err = FSWrite(f->forkRef, &count, bytes.data());
        if (err == noErr) err = FSFlush(f->forkRef);
        return err;
    }
    // A new data fork replaces the old one, the writer's fork going on
    // with the new file. A file moved or deleted meanwhile is not brought
    // back at its old place.
    GetForkInfo(f->forkRef, &f->fileSpec, nullptr, nullptr);
    return ReplaceDataFork(f->forkRef, bytes.data(), bytes.size());
}

// A resource read with its file joins the end of its list, as on disk.
void AppendRead(ResFile* f, ResourceImage&& image)
{
    auto r = std::make_unique<Resource>();
    r->file = f;
    r->serial = f->nextSerial++;
    r->image = std::move(image);
    r->image.attributes &= uint8_t(~resChanged);
    r->onDisk = true;
    r->counted = uint32_t(r->image.data.size());
    f->nameBytes += NameBytes(r->image);
    f->dataBytes += DataBytes(r->counted);
    f->resources.push_back(std::move(r));
}

bool HasPending(const ResFile* f)
{
    bool pending = f->dirty;
    for (auto& r : f->resources) pending = pending || r->changed;
    return pending;
}

// A file's resources as its index runs them, each changed one with the
// bytes of its handle.
class FileRuns final : public ResourceRuns {
public:
    explicit FileRuns(const ResIndex& index)
    {
        runs_.reserve(index.types.size());
        for (ResType type : index.types) runs_.push_back(&index.byType.at(type));
    }
    size_t TypeCount() const override { return runs_.size(); }
    size_t CountOf(size_t type) const override { return runs_[type]->size(); }
    const ResourceImage& At(size_t type, size_t index) const override { return (*runs_[type])[index]->image; }
    const uint8_t* DataOf(size_t type, size_t index, size_t* size) const override
    {
        const Resource& r = *(*runs_[type])[index];
        if (r.changed && r.loaded) {
            *size = size_t(GetHandleSize(r.handle));
            return reinterpret_cast<const uint8_t*>(*r.handle);
        }
        *size = r.image.data.size();
        return r.image.data.data();
    }

private:
    std::vector<const FileOrder<Resource*>*> runs_;
};

// The file's bytes as its resources stand in memory, built from its index.
OSErr BuildFileBytes(ResFile* f, std::vector<uint8_t>* bytes)
{
    try {
        const ResIndex* index = IndexOf(f);
        if (!index) return memFullErr;
        return BuildResourceFile(f->reserved, uint16_t(f->attributes & ~mapChanged), FileRuns(*index), bytes);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

// What was written of a file now stands on disk: the changed resources'
// bytes (`taken`) are what the file holds.
void Written(ResFile* f, std::vector<std::pair<Resource*, std::vector<uint8_t>>>& taken)
{
    for (auto& [r, data] : taken) {
        Recount(r, data.size());
        r->image.data = std::move(data);
    }
    for (auto& r : f->resources) {
        r->changed = r->touched = r->added = false;
        r->onDisk = true;
    }
    f->synced.clear();
    f->addedAs.clear();
    f->removed.clear();
    f->dirty = false;
}

// The lock that one program at a time takes to merge into a shared file,
// held only for the merge: another's is waited for a little.
OSErr LockShared(const FSSpec& file, NameLock* lock)
{
    const std::string lockPath = FSpGetParent(file).path + "/.qz." + FSpGetName(file) + ".lock";
    for (int attempt = 0;; ++attempt) {
        const OSErr err = lock->Take(lockPath);
        if (err != fBsyErr || attempt == 400) return err;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// The resource as this program writes it into a shared file that holds
// `theirs` (null when it has none at its key): its own bytes, or, where
// both changed a resource of a type that merges, those bytes merged.
void OwnImage(const Resource& r, const ResourceImage* theirs, ResourceImage* out)
{
    out->type = r.image.type;
    out->id = r.image.id;
    out->hasName = r.image.hasName;
    out->name = r.image.name;
    out->attributes = r.image.attributes;
    if (r.changed && r.loaded) out->data.assign(*r.handle, *r.handle + GetHandleSize(r.handle));
    else out->data = r.image.data;
    const auto merge = S().merges.find(r.image.type);
    const Synced* was = SyncedOf(r);
    const auto added = r.file->addedAs.find(&r);
    const std::vector<uint8_t>* base = was ? &was->data : added != r.file->addedAs.end() ? &added->second : nullptr;
    if (merge == S().merges.end() || !base || !theirs || (was && was->key != KeyOf(r.image.type, r.image.id)) ||
        theirs->data == *base)
        return;
    std::vector<uint8_t> merged;
    if (merge->second(*base, out->data, theirs->data, &merged)) out->data = std::move(merged);
}

// A shared file's update: under a lock on its name, the file as it stands
// on disk now (another program may have written it since) takes what this
// program changed since it last read or wrote the file, and nothing else
// of what it holds. A file that no longer reads as one takes all of it.
OSErr MergeShared(ResFile* f)
{
    NameLock lock;
    if (const OSErr err = LockShared(f->fileSpec, &lock)) return err;
    // The fork follows the file now at the name, which another program
    // may have replaced.
    int16_t fork = 0;
    if (const OSErr err = FSpOpenDF(f->fileSpec, fsRdWrShPerm, &fork)) return err;
    if (f->forkRef) FSClose(f->forkRef);
    f->forkRef = fork;
    std::vector<uint8_t> disk, bytes;
    ResourceFileImage theirs;
    OSErr err = ReadFork(f->fileSpec, f->where, f->forkRef, &disk);
    if (err != noErr) return err;
    std::vector<std::pair<Resource*, std::vector<uint8_t>>> taken;
    if (disk.empty() || ParseResourceFile(disk.data(), disk.size(), &theirs) != noErr) {
        err = BuildFileBytes(f, &bytes);
        for (auto& r : f->resources)
            if (err == noErr && r->changed && r->loaded)
                taken.emplace_back(r.get(), std::vector<uint8_t>(*r->handle, *r->handle + GetHandleSize(r->handle)));
    } else {
        std::unordered_map<uint64_t, Resource*> ours;
        std::unordered_set<uint64_t> gone(f->removed.begin(), f->removed.end());
        for (auto& r : f->resources) {
            if (!r->touched) continue;
            ours[KeyOf(r->image.type, r->image.id)] = r.get();
            if (const Synced* was = SyncedOf(*r)) gone.insert(was->key);
        }
        ResourceFileImage merged;
        std::memcpy(merged.reserved, theirs.reserved, sizeof merged.reserved);
        merged.attributes = theirs.attributes;
        std::unordered_set<Resource*> placed;
        for (ResourceImage& t : theirs.resources) {
            const uint64_t key = KeyOf(t.type, t.id);
            if (const auto own = ours.find(key); own != ours.end()) {
                if (!placed.insert(own->second).second) continue;
                merged.resources.emplace_back();
                OwnImage(*own->second, &t, &merged.resources.back());
                taken.emplace_back(own->second, merged.resources.back().data);
            } else if (!gone.count(key)) {
                merged.resources.push_back(std::move(t));
            }
        }
        for (auto& r : f->resources) {
            if (!r->touched || placed.count(r.get())) continue;
            merged.resources.emplace_back();
            OwnImage(*r, nullptr, &merged.resources.back());
            taken.emplace_back(r.get(), merged.resources.back().data);
        }
        err = BuildResourceFile(merged, &bytes);
    }
    if (err == noErr) err = WriteFork(f, bytes);
    if (err != noErr) return err;
    // What this program holds of what it wrote is what it wrote, merged
    // fields included.
    for (auto& [r, data] : taken) {
        if (!r->loaded || (size_t(GetHandleSize(r->handle)) == data.size() &&
                           std::equal(data.begin(), data.end(), reinterpret_cast<const uint8_t*>(*r->handle))))
            continue;
        SetHandleSize(r->handle, Size(data.size()));
        if (MemError() == noErr && !data.empty()) std::memcpy(*r->handle, data.data(), data.size());
    }
    Written(f, taken);
    return noErr;
}

OSErr Update(ResFile* f)
{
    if (f->adrift) return resFileAdriftErr;
    if (!HasPending(f) || f->held) return noErr;
    if (!f->Writable()) return wrPermErr;
    if (f->Shared()) {
        try {
            return MergeShared(f);
        } catch (const std::bad_alloc&) {
            return memFullErr;
        }
    }

    // The file's new bytes are built whole before any is written, and
    // the changed resources' bytes taken, which they hold once written.
    std::vector<uint8_t> bytes;
    std::vector<std::pair<Resource*, std::vector<uint8_t>>> taken;
    OSErr err = BuildFileBytes(f, &bytes);
    try {
        for (auto& r : f->resources)
            if (err == noErr && r->changed && r->loaded)
                taken.emplace_back(r.get(), std::vector<uint8_t>(*r->handle, *r->handle + GetHandleSize(r->handle)));
        if (err == noErr) err = WriteFork(f, bytes);
    } catch (const std::bad_alloc&) {
        err = memFullErr;
    }
    if (err != noErr) return err;
    Written(f, taken);
    return noErr;
}

void Discard(ResFile* f)
{
    for (auto& r : f->resources) {
        if (r->handle) {
            Handle h = r->handle;
            DropHandle(r.get());
            DisposeHandle(h);
        }
    }
    if (f->forkRef) FSClose(f->forkRef);
    f->forkRef = 0;
}

// Whether the file's own bytes are a resource file (a plain resource file).
// Memory running out on the way answers false and sets `*shortage`.
bool DataForkHoldsResources(const FSSpec& fileSpec, bool* shortage = nullptr)
{
    int16_t ref = 0;
    if (const OSErr err = FSpOpenDF(fileSpec, fsRdPerm, &ref); err != noErr) {
        if (shortage && err == memFullErr) *shortage = true;
        return false;
    }
    int64_t size = 0, count = 16;
    uint8_t header[16];
    const bool holds = GetEOF(ref, &size) == noErr && FSReadAt(ref, 0, &count, header) == noErr &&
                       IsResourceFileHeader(header, uint64_t(size));
    FSClose(ref);
    return holds;
}

bool SidecarHoldsResources(const FSSpec& fileSpec, bool* shortage = nullptr)
{
    AppleDouble doc;
    bool present = false;
    const OSErr err = ReadSidecar(fileSpec.path, &doc, &present);
    if (shortage && err == memFullErr) *shortage = true;
    return err == noErr && doc.resourceFork && !doc.resourceFork->empty();
}

// Where the resource fork of a file is: in its sidecar when that holds
// one; else in the file itself when the file is a resource file, so that
// a copy made without its sidecar keeps its resources. Memory running out
// while that is found out sets `*shortage` (the answer then means nothing).
ResFileFork ResourceForkOf(const FSSpec& fileSpec, ResFileFork asked, bool* shortage)
{
    if (asked == ResFileFork::Data || SidecarHoldsResources(fileSpec, shortage)) return asked;
    if (*shortage) return asked;
    return DataForkHoldsResources(fileSpec, shortage) ? ResFileFork::Data : ResFileFork::Resource;
}

// Where new resources of an existing file go: into the file itself unless
// it holds other data (its sidecar then takes them).
ResFileFork ForkForNewResources(const FSSpec& fileSpec, ResFileFork asked)
{
    if (asked == ResFileFork::Data || SidecarHoldsResources(fileSpec)) return asked;
    CatInfo info;
    if (FSpGetCatInfo(fileSpec, &info) == noErr && info.dataSize == 0) return ResFileFork::Data;
    return DataForkHoldsResources(fileSpec) ? ResFileFork::Data : ResFileFork::Resource;
}

int16_t NewRefNum()
{
    for (int16_t ref = 1; ref < INT16_MAX; ++ref)
        if (!S().byRef.count(ref)) return ref;
    return 0;
}

int16_t OpenOnceOrThrow(std::unique_ptr<ResFile>& file, const FSSpec& fileSpec, SInt8 permission,
                        ResFileFork where)
{
    file = std::make_unique<ResFile>();
    file->fileSpec = fileSpec;
    file->where = where;
    file->permission = permission;
    if (permission != fsRdPerm) {
        OSErr err = where == ResFileFork::Data ? FSpOpenDF(fileSpec, permission, &file->forkRef)
                                               : FSpOpenRF(fileSpec, permission, &file->forkRef);
        if (err != noErr) return Fail(err), int16_t(-1);
    }
    std::vector<uint8_t> bytes;
    OSErr err = ReadFork(fileSpec, where, file->forkRef, &bytes);
    if (err == noErr && bytes.empty()) err = eofErr;
    ResourceFileImage image;
    if (err == noErr) err = ParseResourceFile(bytes.data(), bytes.size(), &image);
    int16_t ref = NewRefNum();
    if (err == noErr && !ref) err = tmfoErr;
    if (err != noErr) {
        if (file->forkRef) FSClose(file->forkRef);
        Fail(err);
        return -1;
    }
    std::memcpy(file->reserved, image.reserved, sizeof file->reserved);
    file->attributes = image.attributes;
    for (auto& res : image.resources) AppendRead(file.get(), std::move(res));
    file->refNum = ref;
    S().byRef[ref] = file.get();
    try {
        S().chain.insert(S().chain.begin(), std::move(file));
    } catch (...) {
        S().byRef.erase(ref);
        throw;
    }
    S().current = ref;
    return ref;
}

// A file opened whole, or not at all: memory running short anywhere in the
// read closes what was opened and answers memFullErr.
int16_t OpenOnce(const FSSpec& fileSpec, SInt8 permission, ResFileFork where)
{
    std::unique_ptr<ResFile> file;
    try {
        return OpenOnceOrThrow(file, fileSpec, permission, where);
    } catch (const std::bad_alloc&) {
        if (file && file->forkRef) FSClose(file->forkRef);
        return Fail(memFullErr), int16_t(-1);
    }
}

}  // namespace

int16_t FSpOpenResFile(const FSSpec& fileSpec, SInt8 permission, ResFileFork asked)
{
    S().error = noErr;
    if (permission < fsCurPerm || permission > fsRdWrShPerm) return Fail(paramErr), int16_t(-1);
    // A shortage while the fork is chosen is no file without resources.
    bool shortage = false;
    const ResFileFork where = ResourceForkOf(fileSpec, asked, &shortage);
    if (shortage) return Fail(memFullErr), int16_t(-1);
    for (auto& f : S().chain)
        if (f->fileSpec == fileSpec && f->where == where) return f->refNum;
    if (permission != fsCurPerm) return OpenOnce(fileSpec, permission, where);
    int16_t ref = OpenOnce(fileSpec, fsRdWrPerm, where);
    if (ref == -1 && (S().error == permErr || S().error == vLckdErr || S().error == opWrErr)) {
        S().error = noErr;
        ref = OpenOnce(fileSpec, fsRdPerm, where);
    }
    return ref;
}

int16_t OpenResFile(const std::string& posixPath, SInt8 permission, ResFileFork where)
{
    FSSpec fileSpec;
    OSErr err = FSMakeFSSpec(posixPath, &fileSpec);
    if (err != noErr) return Fail(err), int16_t(-1);
    return FSpOpenResFile(fileSpec, permission, where);
}

void FSpCreateResFile(const FSSpec& fileSpec, OSType creator, OSType fileType, ScriptCode scriptTag,
                      ResFileFork asked)
{
    S().error = noErr;
    if (!FSpExists(fileSpec)) {
        if (OSErr err = FSpCreate(fileSpec, creator, fileType, scriptTag); err != noErr) return void(Fail(err));
    }
    const ResFileFork where = ForkForNewResources(fileSpec, asked);
    for (auto& f : S().chain)
        if (f->fileSpec == fileSpec && f->where == where) return void(Fail(opWrErr));
    std::vector<uint8_t> bytes;
    if (OSErr err = ReadFork(fileSpec, where, 0, &bytes); err != noErr) return void(Fail(err));
    if (!bytes.empty()) return void(Fail(dupFNErr));

    std::vector<uint8_t> empty;
    BuildResourceFile(ResourceFileImage{}, &empty);
    int16_t ref = 0;
    OSErr err = where == ResFileFork::Data ? FSpOpenDF(fileSpec, fsRdWrPerm, &ref) : FSpOpenRF(fileSpec, fsRdWrPerm, &ref);
    if (err != noErr) return void(Fail(err));
    int64_t count = int64_t(empty.size());
    err = FSWrite(ref, &count, empty.data());
    OSErr closeErr = FSClose(ref);
    Fail(err != noErr ? err : closeErr);
}

Boolean FSpResourceFileAlreadyOpen(const FSSpec& resourceFile, Boolean* inChain, int16_t* refNum)
{
    const ResFile* found = nullptr;
    for (auto& f : S().chain) {
        if (!(f->fileSpec == resourceFile)) continue;
        if (!found || f->where == ResFileFork::Resource) found = f.get();
    }
    if (inChain) *inChain = found != nullptr;
    if (refNum) *refNum = found ? found->refNum : int16_t(0);
    return found != nullptr;
}

void CloseResFile(int16_t refNum)
{
    S().error = noErr;
    if (refNum == 0 && !S().chain.empty()) refNum = S().chain.back()->refNum;
    auto& chain = S().chain;
    auto it = std::find_if(chain.begin(), chain.end(), [&](auto& f) { return f->refNum == refNum; });
    if (it == chain.end()) return void(Fail(resFNotFound));
    OSErr err = (*it)->adrift ? noErr : Update(it->get());
    Discard(it->get());
    if (S().current == refNum) {
        auto below = std::next(it);
        S().current = below != chain.end() ? (*below)->refNum : -1;
    }
    S().byRef.erase(refNum);
    chain.erase(it);
    if (S().current == -1 && !chain.empty()) S().current = chain.front()->refNum;
    Fail(err);
}

void HoldResFile(int16_t refNum, bool hold)
{
    S().error = noErr;
    ResFile* f = FindFile(refNum);
    if (!f) return void(Fail(resFNotFound));
    f->held = hold || f->adrift;
    if (!hold) Fail(Update(f));
}

void SetResFileAdrift(int16_t refNum)
{
    S().error = noErr;
    ResFile* f = FindFile(refNum);
    if (!f) return void(Fail(resFNotFound));
    f->held = f->adrift = true;
}

int16_t ResFileForkRef(int16_t refNum)
{
    const ResFile* f = FindFile(refNum);
    return f ? f->forkRef : int16_t(0);
}

OSErr PendingResFileBytes(int16_t refNum, std::vector<uint8_t>* bytes)
{
    bytes->clear();
    ResFile* f = FindFile(refNum);
    if (!f) return resFNotFound;
    if (!HasPending(f)) return noErr;
    return BuildFileBytes(f, bytes);
}

void UpdateResFile(int16_t refNum)
{
    S().error = noErr;
    ResFile* f = FindFile(refNum == 0 && !S().chain.empty() ? S().chain.back()->refNum : refNum);
    if (!f) return void(Fail(resFNotFound));
    Fail(Update(f));
}

int16_t CurResFile()
{
    S().error = noErr;
    return S().current;
}

void UseResFile(int16_t refNum)
{
    S().error = noErr;
    if (refNum == 0 && !S().chain.empty()) refNum = S().chain.back()->refNum;
    if (!FindFile(refNum)) return void(Fail(resFNotFound));
    S().current = refNum;
}

void SetResLoad(bool load) { S().resLoad = load; }

OSErr ResError() { return S().error; }
void SetResError(OSErr error) { S().error = error; }

Handle GetResource(ResType type, int16_t id) { return Lookup(false, type, id); }
Handle Get1Resource(ResType type, int16_t id) { return Lookup(true, type, id); }
Handle GetNamedResource(ResType type, ConstStr255Param name) { return LookupNamed(false, type, name); }
Handle Get1NamedResource(ResType type, ConstStr255Param name) { return LookupNamed(true, type, name); }

static Handle IndResource(bool oneDeep, ResType type, int16_t index)
{
    S().error = noErr;
    Resource* r = index < 1 ? nullptr : NthOfType(oneDeep, type, size_t(index));
    if (!r) {
        Fail(resNotFound);
        return nullptr;
    }
    return Materialise(r);
}

Handle GetIndResource(ResType type, int16_t index) { return IndResource(false, type, index); }
Handle Get1IndResource(ResType type, int16_t index) { return IndResource(true, type, index); }

int16_t CountResources(ResType type)
{
    S().error = noErr;
    return int16_t(std::min<size_t>(CountOfType(false, type), INT16_MAX));
}

int16_t Count1Resources(ResType type)
{
    S().error = noErr;
    return int16_t(std::min<size_t>(CountOfType(true, type), INT16_MAX));
}

int16_t CountTypes()
{
    S().error = noErr;
    return int16_t(std::min<size_t>(Types(false).size(), INT16_MAX));
}

int16_t Count1Types()
{
    S().error = noErr;
    return int16_t(std::min<size_t>(Types(true).size(), INT16_MAX));
}

static void IndType(bool oneDeep, ResType* type, int16_t index)
{
    S().error = noErr;
    *type = 0;
    std::vector<ResType> types = Types(oneDeep);
    if (S().error != noErr) return;
    if (index < 1 || size_t(index) > types.size()) return void(Fail(resNotFound));
    *type = types[size_t(index) - 1];
}

void GetIndType(ResType* type, int16_t index) { IndType(false, type, index); }
void Get1IndType(ResType* type, int16_t index) { IndType(true, type, index); }
int16_t UniqueID(ResType type) { return Unique(false, type); }
int16_t Unique1ID(ResType type) { return Unique(true, type); }

void GetResInfo(Handle resource, int16_t* id, ResType* type, StringPtr name)
{
    S().error = noErr;
    if (name) name[0] = 0;
    Resource* r = FromHandle(resource);
    if (!r) return void(Fail(resNotFound));
    if (id) *id = r->image.id;
    if (type) *type = r->image.type;
    if (name && r->image.hasName) {
        name[0] = uint8_t(r->image.name.size());
        std::memcpy(name + 1, r->image.name.data(), name[0]);
    }
}

void SetResInfo(Handle resource, int16_t id, ConstStr255Param name)
{
    S().error = noErr;
    Resource* r = Changeable(resource, resNotFound);
    if (!r) return;
    if (r->image.attributes & resProtected) return void(Fail(resAttrErr));
    Resource* other = FindIn(r->file, r->image.type, id);
    if (other && other != r) return void(Fail(addResFailed));
    const uint64_t nameBytes = name ? 1u + name[0] : NameBytes(r->image);
    if (!Takes(r->file, 0, 0, int64_t(nameBytes) - int64_t(NameBytes(r->image)), 0) || !Touch(r)) return;
    if (r->image.id != id) IndexRenumbered(r->file, r, id);
    r->image.id = id;
    if (name) {
        r->file->nameBytes = r->file->nameBytes - NameBytes(r->image) + nameBytes;
        r->image.hasName = true;
        r->image.name.assign(reinterpret_cast<const char*>(name + 1), name[0]);
    }
    r->file->dirty = true;
}

int16_t GetResAttrs(Handle resource)
{
    S().error = noErr;
    Resource* r = FromHandle(resource);
    if (!r) return Fail(resNotFound), int16_t(0);
    return int16_t(r->image.attributes | (r->changed ? resChanged : 0));
}

void SetResAttrs(Handle resource, int16_t attrs)
{
    S().error = noErr;
    Resource* r = Changeable(resource, resNotFound);
    if (!r) return;
    // resChanged is set by ChangedResource alone.
    if (!Touch(r)) return;
    r->image.attributes = uint8_t(attrs & ~resChanged);
    r->file->dirty = true;
}

int16_t HomeResFile(Handle resource)
{
    S().error = noErr;
    Resource* r = FromHandle(resource);
    if (!r) return Fail(resNotFound), int16_t(-1);
    return r->file->refNum;
}

int32_t GetResourceSizeOnDisk(Handle resource)
{
    S().error = noErr;
    Resource* r = FromHandle(resource);
    if (!r) return Fail(resNotFound), -1;
    if (!r->onDisk && r->loaded) return GetHandleSize(r->handle);
    return int32_t(r->image.data.size());
}

void LoadResource(Handle resource)
{
    S().error = noErr;
    Resource* r = FromHandle(resource);
    if (!r) return void(Fail(resNotFound));
    if (!r->loaded) Fail(FillHandle(r));
}

void AddResource(Handle data, ResType type, int16_t id, ConstStr255Param name)
{
    S().error = noErr;
    ResFile* f = FindFile(S().current);
    const size_t size = size_t(GetHandleSize(data));  // and whether it is a handle
    if (!f || MemError() != noErr) return void(Fail(addResFailed));
    // Every allocation comes before the file and the handle change: a
    // shortage leaves both as they were. The handle's entry is made at
    // once (one look-up tells whether it is a resource already), and
    // taken away again on any refusal.
    std::unique_ptr<Resource> made;
    decltype(S().byHandle)::iterator entry;
    try {
        made = std::make_unique<Resource>();
        bool fresh = false;
        std::tie(entry, fresh) = S().byHandle.try_emplace(data, nullptr);
        if (!fresh) return void(Fail(addResFailed));
    } catch (const std::bad_alloc&) {
        return void(Fail(memFullErr));
    }
    const auto refuse = [&](OSErr err) {
        S().byHandle.erase(entry);
        f->addedAs.erase(made.get());
        Fail(err);
    };
    if (!f->Writable()) return refuse(wrPermErr);
    if (FindIn(f, type, id)) return refuse(addResFailed);
    Resource* r = made.get();
    r->file = f;
    r->serial = f->nextSerial;
    r->image.type = type;
    r->image.id = id;
    r->changed = true;
    r->touched = r->added = f->Shared();
    r->handle = data;
    r->loaded = true;
    r->counted = uint32_t(size);
    try {
        if (name) {
            r->image.hasName = true;
            r->image.name.assign(reinterpret_cast<const char*>(name + 1), name[0]);
        }
        // Whether the type is new is looked for only when a new one would not fit.
        const int64_t nameBytes = int64_t(NameBytes(r->image)), dataBytes = int64_t(DataBytes(size));
        if (!Fits(f, 1, 1, nameBytes, dataBytes) && !Fits(f, HoldsType(f, type) ? 0 : 1, 1, nameBytes, dataBytes))
            return refuse(resFileFullErr);
        // Another program may add one at the same place meanwhile: what
        // this program then changed of it since is merged into theirs.
        if (f->Shared() && S().merges.count(type))
            f->addedAs[r].assign(reinterpret_cast<const uint8_t*>(*data), reinterpret_cast<const uint8_t*>(*data) + size);
        f->resources.push_back(std::move(made));
    } catch (const std::bad_alloc&) {
        return refuse(memFullErr);
    }
    entry->second = r;
    ++f->nextSerial;
    f->nameBytes += NameBytes(r->image);
    f->dataBytes += DataBytes(r->counted);
    HSetRBit(data);
    IndexAdded(f, r);
    f->dirty = true;
}

void ChangedResource(Handle resource)
{
    S().error = noErr;
    Resource* r = Changeable(resource, resNotFound);
    if (!r) return;
    if (r->image.attributes & resProtected) return void(Fail(resAttrErr));
    const size_t size = r->loaded ? size_t(GetHandleSize(resource)) : r->counted;
    if (!Takes(r->file, 0, 0, 0, int64_t(DataBytes(size)) - int64_t(DataBytes(r->counted))) || !Touch(r)) return;
    Recount(r, size);
    r->changed = true;
}

void WriteResource(Handle resource)
{
    S().error = noErr;
    Resource* r = FromHandle(resource);
    if (!r) return void(Fail(resNotFound));
    if (!r->changed) return;
    if (r->image.attributes & resProtected) return void(Fail(resAttrErr));
    if (r->loaded) {
        const size_t size = size_t(GetHandleSize(r->handle));
        if (!TakesData(r, size)) return;
        try {
            r->image.data.assign(*r->handle, *r->handle + size);
        } catch (const std::bad_alloc&) {
            return void(Fail(memFullErr));
        }
    }
    r->changed = false;
    r->onDisk = true;
    r->file->dirty = true;
}

void RemoveResource(Handle resource)
{
    S().error = noErr;
    Resource* r = Changeable(resource, rmvResFailed);
    if (!r) return;
    if (r->image.attributes & resProtected) return void(Fail(rmvResFailed));
    ResFile* f = r->file;
    if (f->Shared() && !r->added) {
        const Synced* was = SyncedOf(*r);
        try {
            f->removed.push_back(was ? was->key : KeyOf(r->image.type, r->image.id));
        } catch (const std::bad_alloc&) {
            return void(Fail(memFullErr));
        }
        f->synced.erase(r);
    }
    f->addedAs.erase(r);
    HClrRBit(resource);
    DropHandle(r);
    IndexRemoved(f, r);
    f->nameBytes -= NameBytes(r->image);
    f->dataBytes -= DataBytes(r->counted);
    if (const auto at = PlaceIn(f->resources, r); at != f->resources.end()) f->resources.erase(at);
    f->dirty = true;
}

void DetachResource(Handle resource)
{
    S().error = noErr;
    Resource* r = FromHandle(resource);
    if (!r) return void(Fail(resNotFound));
    if (r->changed) return void(Fail(resAttrErr));
    HClrRBit(resource);
    DropHandle(r);
}

void ReleaseResource(Handle resource)
{
    S().error = noErr;
    Resource* r = FromHandle(resource);
    if (!r) return void(Fail(resNotFound));
    if (r->changed) return void(Fail(resAttrErr));
    DropHandle(r);
    DisposeHandle(resource);
}

void GetIndString(StringPtr text, int16_t listId, int16_t index)
{
    text[0] = 0;
    bool load = S().resLoad;
    S().resLoad = true;
    Handle list = GetResource(FourCC("STR#"), listId);
    S().resLoad = load;
    if (!list || index < 1) return;
    const auto* p = reinterpret_cast<const uint8_t*>(*list);
    size_t size = size_t(GetHandleSize(list));
    if (size < 2) return;
    uint16_t count = uint16_t((p[0] << 8) | p[1]);
    if (uint16_t(index) > count) return;
    size_t at = 2;
    for (int16_t i = 1; i < index; ++i) {
        if (at >= size) return;
        at += 1 + p[at];
    }
    if (at >= size || at + 1 + p[at] > size) return;
    std::memcpy(text, p + at, size_t(1 + p[at]));
}

// A file made from an image in memory: read only and put below every open
// file, or taking changes that are never written and put on top as the
// current file.
static int16_t OpenImageOrThrow(const ResourceFileImage& image, bool inMemory)
{
    auto file = std::make_unique<ResFile>();
    file->permission = inMemory ? fsRdWrPerm : fsRdPerm;
    file->held = inMemory;
    std::memcpy(file->reserved, image.reserved, sizeof file->reserved);
    file->attributes = inMemory ? uint16_t(image.attributes & ~mapReadOnly) : uint16_t(image.attributes | mapReadOnly);
    for (const ResourceImage& res : image.resources) AppendRead(file.get(), ResourceImage(res));
    const int16_t ref = NewRefNum();
    if (!ref) return Fail(tmfoErr), int16_t(-1);
    file->refNum = ref;
    S().byRef[ref] = file.get();
    try {
        if (inMemory) S().chain.insert(S().chain.begin(), std::move(file));
        else S().chain.push_back(std::move(file));
    } catch (...) {
        S().byRef.erase(ref);
        throw;
    }
    if (inMemory || S().current == -1) S().current = ref;
    return ref;
}

int16_t OpenResFileImageBelow(const ResourceFileImage& image)
{
    S().error = noErr;
    try {
        return OpenImageOrThrow(image, false);
    } catch (const std::bad_alloc&) {
        return Fail(memFullErr), int16_t(-1);
    }
}

int16_t OpenResFileInMemory(const ResourceFileImage& image)
{
    S().error = noErr;
    try {
        return OpenImageOrThrow(image, true);
    } catch (const std::bad_alloc&) {
        return Fail(memFullErr), int16_t(-1);
    }
}

bool IsResFileOpen(int16_t refNum) { return refNum > 0 && FindFile(refNum) != nullptr; }

uint64_t ResFileSerial(int16_t refNum)
{
    const ResFile* f = refNum > 0 ? FindFile(refNum) : nullptr;
    return f ? f->serial : 0;
}

int32_t CountOpenResFiles() { return int32_t(S().chain.size()); }

void SetResourceMerge(ResType type, ResourceMerge merge)
{
    if (merge) S().merges[type] = merge;
    else S().merges.erase(type);
}

void ResetResourceManager()
{
    for (auto& f : S().chain) Discard(f.get());
    S() = State{};
}

}  // namespace platform
