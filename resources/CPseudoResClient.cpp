// CPseudoResFile as the client view of a file that lives on a database
// server: the map comes from the server, contents are fetched on demand and
// sent back at once, a local container caches fetched contents, and the
// server's actions mark what changed. A local file answers the server-side
// operations as noted.
//
// A request may carry out server actions before it returns, and an action
// may add records: no map record is held across a request, each is found
// again afterwards.
#include <cstring>
#include <vector>

#include "kernel/prefs/UPrefs.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/StoreGuard.h"
#include "resources/AppHooks.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/ServerHooks.h"
#include "resources/container/FileOrder.h"
#include "resources/server/ServerClient.h"
#include "resources/server/ServerConnection.h"
#include "resources/server/ServerReplies.h"

using namespace platform;
using namespace container;

namespace {

constexpr ResType kCacheVersionType = FourCC("pver");

void ShortPoll(CPseudoResFile* file)
{
    if (ServerHooks().changePoll) ServerHooks().changePoll(file, false);
}

void DisposeReply(Handle h)
{
    if (h) DisposeHandle(h);
}

// Contents that arrived from a server of the other byte order.
void ReplyToHost(ResType type, Handle h)
{
    if (h && ServerOtherOrder())
        ContentsToHost(type, reinterpret_cast<uint8_t*>(*h), GetHandleSize(h), kLittleEndianFile);
}

// The cache's own version record: a server resource of the same type and
// id is never cached, so that it can neither replace the version nor be
// answered with it.
bool IsCacheVersion(ResType type, int16_t id) { return type == kCacheVersionType && id == 0; }

bool CacheVersionAccepted(CPseudoResFile* cache)
{
    int32_t t, r;
    if (!cache->FindID(kCacheVersionType, 0, &t, &r, true)) return false;
    Handle h = cache->GetResFromDisk(kCacheVersionType, 0, nullptr);
    bool accepted = false;
    if (h && GetHandleSize(h) >= 4) {
        uint16_t version = uint16_t(ReadBE32(*h) & 0xFFFF);
        accepted = version >= kOldestCacheVersion && version <= kNewestCacheVersion;
    }
    DisposeReply(h);
    return accepted;
}

}  // namespace

// Starting a client file.

bool CPseudoResFile::InitClient(uint32_t serverFileNumber)
{
    return Guarded<bool>(false, [&]() -> bool {
        AskServerTime();
        DisposeContents();
        fBitmaps.Clear();
        fFork.Close();
        fPseudoRef = CPseudoResManager::PseudoFileNum();
        fServerFileNumber = serverFileNumber;
        fLocal = false;
        fBigEndian = true;
        fSwapFlag = kBigEndianFile;
        if (!GetNewMap()) return false;
        OpenCache();
        if (fLocalCache) CPseudoResManager::ResFileClosed(fLocalCache);
        CPseudoResManager::ResFileCreated(this);
        AnnounceClientFile();
        Fail(noErr);
        return true;
    });
}

// The cache is a container at the file's own FSSpec. One kept from
// before keeps the contents whose stamps still match the server's map; any
// other is deleted and made anew. Without a cache the file still works.
void CPseudoResFile::OpenCache()
{
    auto* cache = new CPseudoResFile(fSpec, false);
    bool kept = cache->Init(false);
    if (kept && !CacheVersionAccepted(cache)) {
        cache->Close(false);
        cache = new CPseudoResFile(fSpec, false);
        kept = false;
    }
    if (kept) {
        for (int32_t t = 0; t < fMap.TypeCount(); ++t) {
            const ResType type = fMap.TypeAt(t).type;
            for (const MapRecord& rec : fMap.TypeAt(t).records) {
                int32_t ct, cr;
                if (!IsCacheVersion(type, rec.id) && cache->FindID(type, rec.id, &ct, &cr, true) &&
                    CachedStampIsStale(rec.stamp, cache->GetTimeStamp(type, rec.id, true)))
                    cache->RmveRes2(type, rec.id);
            }
        }
    } else {
        FSpDelete(fSpec);
        if (!cache->Create(createur, CacheFileKind())) {
            delete cache;
            fLocalCache = nullptr;
            return;
        }
        uint8_t version[4];
        WriteBE32(version, uint32_t(int32_t(kCacheVersion)));
        cache->AddResNow(version, 4, kCacheVersionType, 0, GetStamp());
    }
    fLocalCache = cache;
}

bool CPseudoResFile::GetNewMap()
{
    return Guarded<bool>(false, [&]() -> bool {
        if (fLocal) {
            Fail(kResBadMap);
            return false;
        }
        std::vector<ServerMapType> map;
        OSErr err = FetchServerMap(fServerFileNumber, &map);
        DisposeContents();
        if (err != noErr) {
            Fail(err);
            return false;
        }
        for (const ServerMapType& list : map)
            for (size_t i = 0; i < list.ids.size(); ++i) {
                MapRecord rec;
                rec.id = list.ids[i];
                rec.stamp = list.stamps[i];
                int32_t t, r;
                fMap.Add(list.type, rec, &t, &r);
            }
        fMap.changed = false;
        Fail(noErr);
        return true;
    });
}

// Getting.

Handle CPseudoResFile::ClientGet(ResType type, int16_t id, bool includeEnciphered, bool withLock, bool* locked)
{
    int32_t t, r;
    if (!fMap.FindID(type, id, includeEnciphered, &t, &r)) {
        Fail(kResNotFound);
        return nullptr;
    }
    const bool changed = (fMap.At(t, r).attributes & kAttrChanged) != 0;
    if (!withLock && !changed) {
        if (fMap.At(t, r).contents) return LoadRecord(t, r);
        if (Handle cached = TakeFromCache(type, id)) {
            fMap.FindID(type, id, includeEnciphered, &t, &r);
            fMap.SetContents(t, r, cached);
            NoteLoaded(t, r);
            return LoadRecord(t, r);
        }
    }
    std::vector<uint8_t> record = ResRequestRecord(fServerFileNumber, type, id);
    OSErr err = noErr;
    Handle reply = SendServerRequest(withLock ? kReqGetResLock : kReqGetRes, record.data(), int32_t(record.size()),
                                     kTplResRequest, 0, &err);
    if (withLock && err == kServerLockedErr) {
        if (locked) *locked = true;
        err = noErr;
    }
    return InstallReply(type, id, reply, err, true);
}

// The reply to 24, 30 or 42 becomes the contents of (type, id): a new
// handle, or copied into the one already loaded (an empty reply disposes
// that). The stamp, when the reply carries one, becomes the record's and
// the contents are cached with it.
Handle CPseudoResFile::InstallReply(ResType type, int16_t id, Handle reply, OSErr err, bool stamped)
{
    const uint32_t stamp = stamped ? TakeStamp(reply, ServerOtherOrder()) : 0;
    int32_t t, r;
    if (!fMap.FindID(type, id, true, &t, &r)) {
        DisposeReply(reply);
        Fail(err != noErr ? err : kResNotFound);
        return nullptr;
    }
    if (!reply && err != noErr) {
        Fail(err);
        return nullptr;
    }
    ReplyToHost(type, reply);
    Handle h = fMap.At(t, r).contents;
    if (h && reply) {
        const Size size = GetHandleSize(reply);
        SetHandleSize(h, size);
        if (MemError() != noErr) {
            DisposeReply(reply);
            Fail(kResMemFull);
            return nullptr;
        }
        if (size > 0) std::memcpy(*h, *reply, size_t(size));
        DisposeHandle(reply);
    } else if (h) {
        DisposeHandle(h);
        fMap.SetContents(t, r, nullptr);
        h = nullptr;
    } else {
        h = reply;
        fMap.SetContents(t, r, h);
    }
    MapRecord& rec = fMap.Edit(t, r);
    rec.length = 0;
    rec.attributes &= uint16_t(~kAttrChanged);
    if (stamped) rec.stamp = stamp;
    if (!h) {
        Fail(err != noErr ? err : kResNotFound);
        return nullptr;
    }
    NoteLoaded(t, r);
    LoadRecord(t, r);
    if (stamped)
        StoreInCache(type, id, h, stamp);
    else
        DropFromCache(type, id);
    Fail(err);
    return h;
}

Handle CPseudoResFile::ClientGetInd(int32_t t, int32_t n)
{
    const ResType type = fMap.TypeAt(t).type;
    const MapRecord& rec = fMap.At(t, n - 1);
    if (rec.contents && !(rec.attributes & kAttrChanged)) return LoadRecord(t, n - 1);
    if (n > INT16_MAX) {
        Fail(kResNotFound);
        return nullptr;
    }
    const int16_t id = rec.id;
    std::vector<uint8_t> record = ResRequestRecord(fServerFileNumber, type, int16_t(n));
    OSErr err = noErr;
    Handle reply = SendServerRequest(kReqGetIndRes, record.data(), int32_t(record.size()), kTplResRequest, 0, &err);
    return InstallReply(type, id, reply, err, false);
}

Handle CPseudoResFile::GetResLock(ResType type, int16_t id, bool* locked, bool flag)
{
    return Guarded<Handle>(nullptr, [&]() -> Handle {
        if (locked) *locked = false;
        if (fLocal) return GetRes(type, id, flag);
        return ClientGet(type, id, flag, true, locked);
    });
}

bool CPseudoResFile::ReloadRes(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool {
        if (fLocal) return false;
        return ClientReload(contents);
    });
}

bool CPseudoResFile::ClientReload(Handle contents)
{
    ShortPoll(this);
    int32_t t, r;
    if (!fMap.FindRes(contents, &t, &r)) {
        Fail(kResNoSuchHandle);
        return false;
    }
    if (!(fMap.At(t, r).attributes & kAttrChanged)) {
        Fail(noErr);
        return true;
    }
    fMap.Edit(t, r).attributes &= uint16_t(~kAttrChanged);
    const ResType type = fMap.TypeAt(t).type;
    const int16_t id = fMap.At(t, r).id;
    std::vector<uint8_t> record = ResRequestRecord(fServerFileNumber, type, id);
    OSErr err = noErr;
    Handle reply = SendServerRequest(kReqGetRes, record.data(), int32_t(record.size()), kTplResRequest, 0, &err);
    const uint32_t stamp = TakeStamp(reply, ServerOtherOrder());
    if (err != noErr) {
        DisposeReply(reply);
        Fail(err);
        return false;
    }
    if (!fMap.FindRes(contents, &t, &r)) {
        DisposeReply(reply);
        Fail(kResNoSuchHandle);
        return false;
    }
    ReplyToHost(type, reply);
    const Size size = reply ? GetHandleSize(reply) : 0;
    SetHandleSize(contents, size);
    if (MemError() != noErr) {
        DisposeReply(reply);
        Fail(kResMemFull);
        return false;
    }
    if (size > 0) std::memcpy(*contents, *reply, size_t(size));
    DisposeReply(reply);
    MapRecord& rec = fMap.Edit(t, r);
    rec.length = 0;
    rec.stamp = stamp;
    StoreInCache(type, id, contents, stamp);
    Fail(noErr);
    return true;
}

// Changing contents: each change goes to the server at once, and the map
// changes only when the server took it; while the file is held, the change
// waits for the release (CPseudoResServerChange.cpp) and the map changes
// at once.

OSErr CPseudoResFile::SendContents(int16_t request, ResType type, int16_t id, const void* contents, int32_t size,
                                  bool convert)
{
    std::vector<uint8_t> payload = ResContentsRecord(fServerFileNumber, type, id, contents, size);
    if (convert && size > 0 && ServerOtherOrder()) ContentsToFile(type, payload.data() + 10, size, kLittleEndianFile);
    OSErr err = noErr;
    DisposeReply(SendServerRequest(request, payload.data(), int32_t(payload.size()), kTplResRequest, 0, &err));
    return err;
}

OSErr CPseudoResFile::SendRemoval(ResType type, int16_t id)
{
    std::vector<uint8_t> record = ResRequestRecord(fServerFileNumber, type, id);
    OSErr err = noErr;
    DisposeReply(SendServerRequest(kReqRemoveRes, record.data(), int32_t(record.size()), kTplResRequest, 0, &err));
    return err;
}

bool CPseudoResFile::ClientAddRes(Handle contents, ResType type, int16_t id, bool convert)
{
    int32_t t, r;
    if (!contents && fMap.FindID(type, id, true, &t, &r)) {
        MapRecord& rec = fMap.Edit(t, r);
        rec.stamp = GetStamp();
        rec.attributes |= kAttrChanged;
        Fail(noErr);
        return true;
    }
    if (HoldsServerChange()) {
        // Contents that replace other contents leave those as the server's.
        const bool replaced = fMap.FindID(type, id, true, &t, &r) && fMap.At(t, r).contents != contents;
        WriteHeld(type, id, replaced).convert = convert;
    } else {
        const int32_t size = contents ? GetHandleSize(contents) : 0;
        OSErr err = SendContents(kReqAddRes, type, id, contents ? *contents : nullptr, size, convert);
        if (err != noErr) {
            Fail(err);
            return false;
        }
        DropFromCache(type, id);
    }
    if (!fMap.FindID(type, id, true, &t, &r)) {
        MapRecord rec;
        rec.id = id;
        rec.stamp = GetStamp();
        rec.contents = contents;
        fMap.Add(type, rec, &t, &r);
    } else {
        Handle old = fMap.At(t, r).contents;
        if (old && old != contents) DisposeHandle(old);
        fMap.SetContents(t, r, contents);
        MapRecord& rec = fMap.Edit(t, r);
        rec.stamp = GetStamp();
        rec.attributes &= uint16_t(~kAttrChanged);
    }
    Fail(noErr);
    return true;
}

bool CPseudoResFile::ClientWriteResource(Handle contents, int32_t t, int32_t r)
{
    const ResType type = fMap.TypeAt(t).type;
    const int16_t id = fMap.At(t, r).id;
    if (HoldsServerChange()) {
        WriteHeld(type, id, false);
    } else {
        OSErr err = SendContents(kReqWriteRes, type, id, *contents, GetHandleSize(contents), true);
        if (err != noErr) {
            Fail(err);
            return false;
        }
        DropFromCache(type, id);
    }
    if (fMap.FindRes(contents, &t, &r)) {
        MapRecord& rec = fMap.Edit(t, r);
        rec.stamp = GetStamp();
        rec.attributes &= uint16_t(~kAttrChanged);
    }
    Fail(noErr);
    return true;
}

// Removes (type, id), or the record holding `contents` when given, after
// the server took the removal.
bool CPseudoResFile::ClientRemove(ResType type, int16_t id, Handle contents, bool includeEnciphered)
{
    if (HoldsServerChange()) {
        WriteHeld(type, id, true);
    } else {
        if (OSErr err = SendRemoval(type, id); err != noErr) {
            Fail(err);
            return false;
        }
        DropFromCache(type, id);
    }
    int32_t t, r;
    const bool found = contents ? fMap.FindRes(contents, &t, &r) : fMap.FindID(type, id, includeEnciphered, &t, &r);
    if (found) RemoveAt(t, r);
    Fail(noErr);
    return true;
}

// Locks, unloading and server actions.

int16_t CPseudoResFile::WhoLockedRes(ResType type, int16_t id)
{
    return Guarded<int16_t>(0, [&]() -> int16_t {
        int32_t t, r;
        if (!fMap.FindID(type, id, true, &t, &r)) {
            Fail(kResNotFound);
            return 0;
        }
        if (fLocal) {
            Fail(noErr);
            return 0;
        }
        OSErr err = noErr;
        int16_t holder = AskWhoLocked(fServerFileNumber, type, id, &err);
        Fail(err);
        return holder;
    });
}

bool CPseudoResFile::UnloadRes(ResType type, int16_t id)
{
    return Guarded<bool>(false, [&]() -> bool {
        int32_t t, r;
        if (fLocal || !fMap.FindID(type, id, true, &t, &r)) return false;
        OSErr err = TellUnloaded(fServerFileNumber, type, id);
        Fail(err);
        return err == noErr;
    });
}

bool CPseudoResFile::UnloadRes(Handle) { return false; }

CPseudoResFile::OSType CPseudoResFile::CacheFileKind() { return FourCC("LOCQ"); }

bool CPseudoResFile::ExecResAction(ResType type, int16_t id, int16_t action)
{
    return Guarded<bool>(false, [&]() -> bool {
        if (!fLocal) ApplyServerAction(type, id, action);
        if (action != 4) resQzhook(type, id, kResChangeMarker, action);
        return true;
    });
}

void CPseudoResFile::ApplyServerAction(ResType type, int16_t id, int16_t action)
{
    int32_t t, r;
    const bool known = fMap.FindID(type, id, true, &t, &r);
    switch (action) {
    case 1:
        if (known) fMap.Edit(t, r).attributes |= kAttrChanged;
        DropFromCache(type, id);
        break;
    case 2:
        if (known) {
            MapRecord& rec = fMap.Edit(t, r);
            rec.attributes |= kAttrChanged;
            rec.stamp = GetStamp();
        } else {
            MapRecord rec;
            rec.id = id;
            rec.stamp = GetStamp();
            fMap.Add(type, rec, &t, &r);
        }
        DropFromCache(type, id);
        break;
    case 3: DropFromCache(type, id); break;
    default: break;
    }
}

// The cache. Its failures never fail the operation that uses it.

Handle CPseudoResFile::TakeFromCache(ResType type, int16_t id)
{
    int32_t t, r;
    if (!fLocalCache || IsCacheVersion(type, id) || !fLocalCache->FindID(type, id, &t, &r, true)) return nullptr;
    return fLocalCache->GetResFromDisk(type, id, nullptr);
}

void CPseudoResFile::StoreInCache(ResType type, int16_t id, Handle contents, uint32_t stamp)
{
    if (fLocalCache && !IsCacheVersion(type, id)) fLocalCache->AddRes2(contents, type, id, stamp);
}

void CPseudoResFile::DropFromCache(ResType type, int16_t id)
{
    int32_t t, r;
    if (fLocalCache && !IsCacheVersion(type, id) && fLocalCache->FindID(type, id, &t, &r, true))
        fLocalCache->RmveRes2(type, id);
}
