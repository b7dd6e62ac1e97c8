// CPseudoResFile: getting, adding, writing back and removing resources,
// their attributes, counts and lists.
#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/core/Random.h"
#include "resources/StoreGuard.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/ServerHooks.h"
#include "resources/server/ServerClient.h"
#include "resources/container/FileOrder.h"
#include "resources/container/Scrambler.h"

using namespace platform;
using namespace container;

namespace {

constexpr ResType kUnknownType = FourCC("????");
constexpr uint32_t kListEntrySize = 18;

void RunChangePoll(CPseudoResFile* file, bool longPoll)
{
    if (ServerHooks().changePoll) ServerHooks().changePoll(file, longPoll);
}

uint16_t CountedGet(uint16_t attributes)
{
    uint16_t counter = attributes & kAttrCounterMask;
    counter = uint16_t((counter & 0x300) | ((counter + 1) & 0xFF));
    attributes = uint16_t((attributes & ~kAttrCounterMask) | counter);
    attributes = (attributes & kAttrPurgeable) ? uint16_t(attributes | kAttrWasPurgeable)
                                               : uint16_t(attributes & ~kAttrWasPurgeable);
    return uint16_t(attributes & ~kAttrPurgeable);
}

Handle NewHandleOrFail(Size size)
{
    Handle h = NewHandle(size);
    if (!h) CPseudoResManager::SetLastError(kResMemFull);
    return h;
}

}  // namespace

OSErr CPseudoResFile::ReadPayload(ResType type, const MapRecord& rec, Handle* out, bool committed)
{
    *out = nullptr;
    if (!fFork.IsOpen()) return kResNoFile;
    const uint32_t size = rec.length >= kBlockHeaderSize ? rec.length - kBlockHeaderSize : 0;
    if (size > 0) {
        uint64_t physical = 0;
        OSErr err = fFork.PhysicalSize(&physical);
        if (err != noErr) return err;
        if (uint64_t(rec.offset) + rec.length > physical) return eofErr;
    }
    Handle h = NewHandle(Size(size));
    if (!h) return kResMemFull;
    if (size > 0) {
        OSErr err = fFork.ReadAt(uint64_t(rec.offset) + kBlockHeaderSize, *h, size);
        if (err != noErr) {
            DisposeHandle(h);
            return err;
        }
        if (rec.attributes & kAttrEnciphered)
            AdjustSwapRes(reinterpret_cast<uint8_t*>(*h), size, committed ? CommittedKey(type, rec) : ScrambleKey(type, rec));
    }
    *out = h;
    return noErr;
}

void CPseudoResFile::NoteLoaded(int32_t t, int32_t r)
{
    MapRecord& rec = fMap.Edit(t, r);
    rec.attributes = uint16_t((rec.attributes & ~(kAttrCounterMask | kAttrLocked | kAttrChanged | kAttrWasPurgeable)) |
                              kCounterOnLoad | kAttrPurgeable);
}

// Loads a record's contents when they are not loaded yet and counts the get.
Handle CPseudoResFile::LoadRecord(int32_t t, int32_t r)
{
    const ResType type = fMap.TypeAt(t).type;
    Handle h = fMap.At(t, r).contents;
    if (!h) {
        OSErr err = ReadPayload(type, fMap.At(t, r), &h);
        if (err != noErr) {
            Fail(err);
            return nullptr;
        }
        TakeLoaded(t, r, h);
    }
    MapRecord& rec = fMap.Edit(t, r);
    rec.attributes = CountedGet(rec.attributes);
    NoteHandedOut(t, r);
    Fail(noErr);
    return h;
}

void CPseudoResFile::TakeLoaded(int32_t t, int32_t r, Handle h)
{
    const ResType type = fMap.TypeAt(t).type;
    ForgetNamesOf(type, fMap.At(t, r).id);
    fMap.SetContents(t, r, h);
    NoteLoaded(t, r);
    if (fSwapFlag != kBigEndianFile) ContentsToHost(type, reinterpret_cast<uint8_t*>(*h), GetHandleSize(h), fSwapFlag);
}

void CPseudoResFile::LoadAll(ResType type)
{
    // Blocks at most this far apart are read together, in reads of at
    // most kSpan bytes: a read of the bytes between costs less than a
    // read of its own.
    constexpr uint64_t kGap = 16384, kSpan = 1 << 20;
    GuardedVoid([&] {
        RunChangePoll(this, true);
        if (!fLocal || !fFork.IsOpen()) return;
        struct Wanted {
            uint32_t offset;
            int32_t t, r;
        };
        std::vector<Wanted> wanted;
        for (int32_t t = 0; t < fMap.TypeCount(); ++t) {
            if (fMap.TypeAt(t).type != type) continue;
            for (int32_t r = 0; r < int32_t(fMap.TypeAt(t).records.size()); ++r) {
                const MapRecord& rec = fMap.At(t, r);
                if (!rec.contents && rec.length > kBlockHeaderSize && !IsNamesRecord(t, r))
                    wanted.push_back({rec.offset, t, r});
            }
        }
        std::sort(wanted.begin(), wanted.end(), [](const Wanted& a, const Wanted& b) { return a.offset < b.offset; });
        uint64_t physical = 0;
        if (fFork.PhysicalSize(&physical) != noErr) return;
        std::vector<uint8_t> span;
        for (size_t i = 0; i < wanted.size();) {
            const uint64_t start = wanted[i].offset;
            uint64_t end = start + fMap.At(wanted[i].t, wanted[i].r).length;
            size_t next = i + 1;
            for (; next < wanted.size(); ++next) {
                const uint64_t blockEnd = uint64_t(wanted[next].offset) + fMap.At(wanted[next].t, wanted[next].r).length;
                if (wanted[next].offset > end + kGap || blockEnd - start > kSpan) break;
                end = std::max(end, blockEnd);
            }
            if (end > physical) return;
            span.resize(size_t(end - start));
            if (fFork.ReadAt(start, span.data(), uint32_t(span.size())) != noErr) return;
            for (; i < next; ++i) {
                const MapRecord& rec = fMap.At(wanted[i].t, wanted[i].r);
                const uint32_t size = rec.length - kBlockHeaderSize;
                Handle h = NewHandle(Size(size));
                if (!h) return;
                std::memcpy(*h, span.data() + (rec.offset - start) + kBlockHeaderSize, size);
                if (rec.attributes & kAttrEnciphered) AdjustSwapRes(reinterpret_cast<uint8_t*>(*h), size, ScrambleKey(type, rec));
                TakeLoaded(wanted[i].t, wanted[i].r, h);
            }
        }
    });
}

Handle CPseudoResFile::GetRes(ResType type, int16_t id, bool includeEnciphered)
{
    return Guarded<Handle>(nullptr, [&]() -> Handle {
        RunChangePoll(this, true);
        int32_t t, r;
        if (!fMap.FindID(type, id, includeEnciphered, &t, &r)) {
            Fail(kResNotFound);
            return nullptr;
        }
        if (!fLocal) return ClientGet(type, id, includeEnciphered, false, nullptr);
        if (OSErr err = IsNamesRecord(t, r) ? HandOutNames() : noErr; err != noErr) {
            Fail(err);
            return nullptr;
        }
        return LoadRecord(t, r);
    });
}

Handle CPseudoResFile::GetIndRes(ResType type, int32_t n, bool)
{
    return Guarded<Handle>(nullptr, [&]() -> Handle {
        RunChangePoll(this, false);
        int32_t t = fMap.FindType(type);
        if (t < 0 || n < 1 || n > int32_t(fMap.TypeAt(t).records.size())) {
            Fail(kResNotFound);
            return nullptr;
        }
        if (!fLocal) return ClientGetInd(t, n);
        if (OSErr err = IsNamesRecord(t, n - 1) ? HandOutNames() : noErr; err != noErr) {
            Fail(err);
            return nullptr;
        }
        return LoadRecord(t, n - 1);
    });
}

Handle CPseudoResFile::GetResFromDisk(ResType type, int16_t id, uint32_t* stamp)
{
    return Guarded<Handle>(nullptr, [&]() -> Handle {
        int32_t t, r;
        if (!fMap.FindID(type, id, true, &t, &r)) {
            Fail(kResNotFound);
            return nullptr;
        }
        Handle h = nullptr;
        OSErr err = ReadPayload(type, fMap.At(t, r), &h);
        if (err != noErr) {
            Fail(err);
            return nullptr;
        }
        ContentsToHost(type, reinterpret_cast<uint8_t*>(*h), GetHandleSize(h), fSwapFlag);
        if (stamp) *stamp = fMap.At(t, r).stamp;
        Fail(noErr);
        return h;
    });
}

bool CPseudoResFile::ApplyToRes(ResType type, int16_t id, bool includeEnciphered, CPseudoResFunctor& functor)
{
    return Guarded<bool>(false, [&]() -> bool {
        Handle h = GetRes(type, id, includeEnciphered);
        if (!h) return false;
        int32_t t, r;
        FindRes(h, &t, &r);
        const bool wasPurgeable = (fMap.At(t - 1, r - 1).attributes & kAttrWasPurgeable) != 0;
        functor.Apply(this, t, r, h);
        if (FindRes(h, &t, &r)) {
            MapRecord& rec = fMap.Edit(t - 1, r - 1);
            rec.attributes = wasPurgeable ? uint16_t(rec.attributes | kAttrPurgeable)
                                          : uint16_t(rec.attributes & ~kAttrPurgeable);
        }
        Fail(noErr);
        return true;
    });
}

int32_t CPseudoResFile::GetAllIndRes(ResType type, int32_t count, VPtrArray* handles, VWordArray* ids,
                                     VPtrArray* names)
{
    return Guarded<int32_t>(0, [&]() -> int32_t {
        if (count < 1) return 0;
        for (int32_t k = 1; k <= count; ++k) {
            Handle h = GetIndRes(type, k, true);
            int16_t id = 0;
            char* name = nullptr;
            if (h) {
                int32_t t = fMap.FindType(type);
                id = fMap.At(t, k - 1).id;
                if (names) {
                    Str255 pname;
                    GetResName(type, id, pname);
                    name = NewPtr(pname[0] + 1);
                    if (name) {
                        std::memcpy(name, pname + 1, pname[0]);
                        name[pname[0]] = 0;
                    }
                }
            }
            if (handles) handles->oAddPtrElem(h);
            if (ids) ids->oAddElem(&id);
            if (names) names->oAddPtrElem(name);
        }
        return count;
    });
}

// Gives record (t, r) room for `length` bytes. Its block stays only where
// no committed header reaches it (allocated since the last commit) and the
// units still fit; otherwise the new place is taken before the old one is
// given up, so a failure changes nothing.
OSErr CPseudoResFile::Replace(int32_t t, int32_t r, uint32_t length)
{
    const bool names = IsNamesRecord(t, r);
    const uint32_t have = PlaceBytes(t, r);
    MapRecord& rec = fMap.Edit(t, r);
    // A place must hold exactly the units of its block, except where room
    // to grow is kept track of.
    const bool roomy = names && rec.offset == fNamesOffset && fNamesRoom != 0;
    const bool fits = roomy ? length <= fNamesRoom : UnitsFor(length) == UnitsFor(rec.length);
    if (rec.length != 0 && fits && fBitmaps.IsFresh(rec.offset, have)) {
        if (rec.length != length) fMap.changed = true;
        rec.length = length;
        return noErr;
    }
    const uint32_t bytes = names ? GrowRoom(length) : length;
    uint32_t place = 0;
    OSErr err = fBitmaps.FindPlace(bytes, &place);
    if (err != noErr) return err;
    FreeRecordPlace(t, r);
    MapRecord& moved = fMap.Edit(t, r);
    moved.offset = place;
    moved.length = length;
    if (names) {
        fNamesOffset = place;
        fNamesRoom = bytes;
    }
    fMap.changed = true;
    return noErr;
}

// Allocates a place; when that fails or throws, the record (t, r) just
// added for it is taken out again (r < 0: none).
OSErr CPseudoResFile::PlaceOrUndo(uint32_t length, uint32_t* place, int32_t t, int32_t r)
{
    OSErr err = noErr;
    try {
        err = fBitmaps.FindPlace(length, place);
    } catch (...) {
        if (r >= 0) fMap.Remove(t, r);
        throw;
    }
    if (err != noErr && r >= 0) fMap.Remove(t, r);
    return err;
}

bool CPseudoResFile::AddRes(Handle contents, ResType type, int16_t id, bool convert)
{
    return Guarded<bool>(false, [&]() -> bool {
        if (!fLocal) return ClientAddRes(contents, type, id, convert);
        int32_t t, r;
        const bool exists = fMap.FindID(type, id, true, &t, &r);
        const uint32_t stamp = GetStamp();
        int64_t length = contents ? int64_t(GetHandleSize(contents)) + kBlockHeaderSize : 0;
        if (length > int64_t(kMaxPages) * kBytesPerPage) {
            Fail(dskFulErr);
            return false;
        }
        if (!exists) {
            MapRecord rec;
            rec.id = id;
            rec.stamp = stamp;
            // The record first: a failure to place it takes it out again.
            fMap.Add(type, rec, &t, &r);
            if (contents) {
                uint32_t place = 0;
                OSErr err = PlaceOrUndo(uint32_t(length), &place, t, r);
                if (err != noErr) {
                    Fail(err);
                    return false;
                }
                MapRecord& added = fMap.Edit(t, r);
                added.offset = place;
                added.length = uint32_t(length);
                added.attributes = kAttrChanged;
                fMap.SetContents(t, r, contents);
            }
        } else if (!contents) {
            fMap.Edit(t, r).stamp = stamp;
            fMap.Edit(t, r).attributes |= kAttrChanged;
        } else {
            OSErr err = Replace(t, r, uint32_t(length));
            if (err != noErr) {
                Fail(err);
                return false;
            }
            Handle old = fMap.At(t, r).contents;
            if (old && old != contents) DisposeHandle(old);
            fMap.SetContents(t, r, contents);
            fMap.Edit(t, r).stamp = stamp;
            fMap.Edit(t, r).attributes |= kAttrChanged;
        }
        // A null handle leaves the contents of a record that exists.
        if (contents || !exists) ForgetNamesOf(type, id);
        fMap.changed = true;
        Fail(noErr);
        return true;
    });
}

bool CPseudoResFile::AddRes2(Handle contents, ResType type, int16_t id, uint32_t stamp)
{
    return Guarded<bool>(false, [&]() -> bool {
        if (!contents) {
            Fail(nilHandleErr);
            return false;
        }
        return AddResNow(*contents, GetHandleSize(contents), type, id, stamp == 0 ? GetStamp() : stamp);
    });
}

bool CPseudoResFile::AddResNow(const void* data, int32_t length, ResType type, int16_t id, uint32_t stamp)
{
    return Guarded<bool>(false, [&]() -> bool {
        if (length < 0 || (length > 0 && !data) || int64_t(length) + kBlockHeaderSize > int64_t(kMaxPages) * kBytesPerPage) {
            Fail(paramErr);
            return false;
        }
        const uint32_t blockLength = uint32_t(length) + kBlockHeaderSize;
        // The contents go to disk from the caller's memory; a file of the
        // other byte order gets a converted copy.
        std::vector<uint8_t> converted(fSwapFlag != kBigEndianFile ? size_t(length) : 0);
        int32_t t, r;
        const bool exists = fMap.FindID(type, id, true, &t, &r);
        if (!exists) {
            MapRecord added;
            added.id = id;
            fMap.Add(type, added, &t, &r);
        }
        uint32_t place = 0;
        OSErr err = PlaceOrUndo(blockLength, &place, t, exists ? -1 : r);
        if (err != noErr) {
            Fail(err);
            return false;
        }

        // The block goes to disk first: a failed write leaves the map as it
        // was, so no record ever points at a block that was not written.
        uint8_t header[kBlockHeaderSize];
        BlockHeader(type, id, header);
        const void* contents = data;
        if (fSwapFlag != kBigEndianFile) {
            if (length > 0) std::memcpy(converted.data(), data, size_t(length));
            ContentsToFile(type, converted.data(), length, fSwapFlag);
            contents = converted.data();
        }
        const IoPiece pieces[2] = {{header, kBlockHeaderSize}, {contents, uint32_t(length)}};
        err = MarkOpen();
        if (err == noErr) err = fFork.WriteAt(place, pieces, length > 0 ? 2 : 1, fBitmaps.LogicalEnd());
        if (err != noErr) {
            fBitmaps.FreePlace(place, blockLength);
            if (!exists) fMap.Remove(t, r);
            Fail(err);
            return false;
        }

        if (exists) {
            FreeRecordPlace(t, r);
            MapRecord& old = fMap.Edit(t, r);
            if (old.contents) DisposeHandle(old.contents);
            fMap.SetContents(t, r, nullptr);
        }
        MapRecord& rec = fMap.Edit(t, r);
        rec.offset = place;
        rec.length = blockLength;
        rec.stamp = stamp;
        // Written unscrambled, so the record is no longer enciphered.
        rec.attributes = 0;
        ForgetNamesOf(type, id);
        fMap.changed = true;
        Fail(noErr);
        return true;
    });
}

bool CPseudoResFile::WriteResource(Handle contents, int32_t typeIndex, int32_t recordIndex)
{
    return Guarded<bool>(false, [&]() -> bool {
        int32_t t = typeIndex - 1, r = recordIndex - 1;
        const bool given = t >= 0 && t < fMap.TypeCount() && r >= 0 && r < int32_t(fMap.TypeAt(t).records.size()) &&
                           contents && fMap.At(t, r).contents == contents;
        if (!given && !fMap.FindRes(contents, &t, &r)) {
            Fail(kResNoSuchHandle);
            return false;
        }
        if (!fLocal) return ClientWriteResource(contents, t, r);
        ForgetNamesOf(fMap.TypeAt(t).type, fMap.At(t, r).id);
        fMap.changed = true;
        OSErr err = Replace(t, r, uint32_t(GetHandleSize(contents)) + kBlockHeaderSize);
        if (err != noErr) {
            Fail(err);
            return false;
        }
        MapRecord& rec = fMap.Edit(t, r);
        rec.stamp = GetStamp();
        rec.attributes |= kAttrChanged;
        Fail(noErr);
        return true;
    });
}

void CPseudoResFile::RemoveAt(int32_t t, int32_t r)
{
    ForgetNamesOf(fMap.TypeAt(t).type, fMap.At(t, r).id);
    FreeRecordPlace(t, r);
    fMap.Remove(t, r);
    fMap.changed = true;
}

bool CPseudoResFile::RmveRes(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool {
        int32_t t, r;
        if (!fMap.FindRes(contents, &t, &r)) {
            Fail(kResNoSuchHandle);
            return false;
        }
        const ResType type = fMap.TypeAt(t).type;
        const int16_t id = fMap.At(t, r).id;
        if (!fLocal) return ClientRemove(type, id, contents, true);
        RemoveAt(t, r);
        Fail(noErr);
        RemoveNames(type, &id);
        return true;
    });
}

bool CPseudoResFile::RmveRes(ResType type, int16_t id, bool includeEnciphered)
{
    return Guarded<bool>(false, [&]() -> bool {
        int32_t t, r;
        if (!fMap.FindID(type, id, includeEnciphered, &t, &r)) {
            Fail(kResNotFound);
            return false;
        }
        if (!fLocal) return ClientRemove(type, id, nullptr, includeEnciphered);
        RemoveAt(t, r);
        Fail(noErr);
        RemoveNames(type, &id);
        return true;
    });
}

bool CPseudoResFile::RmveRes2(ResType type, int16_t id)
{
    return Guarded<bool>(false, [&]() -> bool {
        int32_t t, r;
        if (!fMap.FindID(type, id, true, &t, &r)) {
            Fail(kResNotFound);
            return false;
        }
        RemoveAt(t, r);
        Fail(noErr);
        return true;
    });
}

bool CPseudoResFile::RmveRes(ResType type)
{
    return Guarded<bool>(false, [&]() -> bool {
        int32_t t = fMap.FindType(type);
        if (t < 0) {
            Fail(kResNotFound);
            return false;
        }
        if (!fLocal) {
            std::vector<int16_t> ids;
            for (const MapRecord& rec : fMap.TypeAt(t).records) ids.push_back(rec.id);
            for (int16_t id : ids)
                if (!ClientRemove(type, id, nullptr, true)) return false;
            return true;
        }
        for (int32_t r = int32_t(fMap.TypeAt(t).records.size()) - 1; r >= 0; --r) RemoveAt(t, r);
        Fail(noErr);
        RemoveNames(type, nullptr);
        return true;
    });
}

bool CPseudoResFile::FindID(ResType type, int16_t id, int32_t* typeIndex, int32_t* recordIndex, bool includeEnciphered)
{
    return Guarded<bool>(false, [&]() -> bool {
        int32_t t, r;
        if (!fMap.FindID(type, id, includeEnciphered, &t, &r)) {
            *typeIndex = *recordIndex = 0;
            Fail(kResNotFound);
            return false;
        }
        *typeIndex = t + 1;
        *recordIndex = r + 1;
        return true;
    });
}

bool CPseudoResFile::FindRes(Handle contents, int32_t* typeIndex, int32_t* recordIndex)
{
    return Guarded<bool>(false, [&]() -> bool {
        int32_t t, r;
        if (!fMap.FindRes(contents, &t, &r)) {
            *typeIndex = *recordIndex = 0;
            return false;
        }
        *typeIndex = t + 1;
        *recordIndex = r + 1;
        return true;
    });
}

bool CPseudoResFile::ActionRes(Handle contents, int16_t action)
{
    return Guarded<bool>(false, [&]() -> bool {
        int32_t t, r;
        if (!fMap.FindRes(contents, &t, &r)) {
            Fail(kResNoSuchHandle);
            return false;
        }
        ForgetNamesOf(fMap.TypeAt(t).type, fMap.At(t, r).id);
        uint16_t& a = fMap.Edit(t, r).attributes;
        switch (action) {
        case 1: a |= kAttrLocked; HLock(contents); break;
        case 2: a &= uint16_t(~kAttrLocked); HUnlock(contents); break;
        case 3: a |= kAttrPurgeable; break;
        case 4: a &= uint16_t(~kAttrPurgeable); break;
        case 5:
            a &= uint16_t(~(kAttrChanged | kAttrLocked | kAttrPurgeable));
            fMap.SetContents(t, r, nullptr);
            break;
        case 6: a |= kAttrEnciphered | kAttrKeyVariant | kAttrChanged; break;
        case 7: a = uint16_t((a | kAttrEnciphered | kAttrChanged) & ~kAttrKeyVariant); break;
        case 8: a = uint16_t((a | kAttrChanged) & ~(kAttrEnciphered | kAttrKeyVariant)); break;
        default: Fail(paramErr); return false;
        }
        if (action >= 6) fMap.changed = true;
        Fail(noErr);
        return true;
    });
}

bool CPseudoResFile::HLockRes(Handle h) { return ActionRes(h, 1); }
bool CPseudoResFile::HUnlockRes(Handle h) { return ActionRes(h, 2); }
bool CPseudoResFile::HPurgeRes(Handle h) { return ActionRes(h, 3); }
bool CPseudoResFile::HUnpurgeRes(Handle h) { return ActionRes(h, 4); }
bool CPseudoResFile::DetachRes(Handle h) { return ActionRes(h, 5); }
bool CPseudoResFile::CrypteRes(Handle h) { return ActionRes(h, 6); }

bool CPseudoResFile::IsCrypted(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool {
        int32_t t, r;
        if (!fMap.FindRes(contents, &t, &r)) {
            Fail(kResNoSuchHandle);
            return false;
        }
        Fail(noErr);
        return (fMap.At(t, r).attributes & kAttrEnciphered) != 0;
    });
}

bool CPseudoResFile::WasPurgeable(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool {
        int32_t t, r;
        if (!fMap.FindRes(contents, &t, &r)) {
            Fail(kResNoSuchHandle);
            return false;
        }
        return (fMap.At(t, r).attributes & kAttrWasPurgeable) != 0;
    });
}

int32_t CPseudoResFile::CompteTypes()
{
    return Guarded<int32_t>(0, [&]() -> int32_t {
        Fail(noErr);
        return fMap.TypeCount();
    });
}

CPseudoResFile::ResType CPseudoResFile::GetIndTyp(int32_t n)
{
    return Guarded<CPseudoResFile::ResType>(FourCC("????"), [&]() -> CPseudoResFile::ResType {
        if (n < 1 || n > fMap.TypeCount()) return kUnknownType;
        return fMap.TypeAt(n - 1).type;
    });
}

Handle CPseudoResFile::GetResConnect(ResType type, int16_t id)
{
    return Guarded<Handle>(nullptr, [&]() -> Handle {
        int32_t t, r;
        if (!fMap.FindID(type, id, true, &t, &r)) {
            Fail(kResNotFound);
            return nullptr;
        }
        if (OSErr err = fLocal && IsNamesRecord(t, r) ? HandOutNames() : noErr; err != noErr) {
            Fail(err);
            return nullptr;
        }
        if (fMap.At(t, r).contents) NoteHandedOut(t, r);
        Fail(noErr);
        return fMap.At(t, r).contents;
    });
}

bool CPseudoResFile::GetResInfo(Handle contents, int16_t* id, ResType* type)
{
    return Guarded<bool>(false, [&]() -> bool {
        int32_t t, r;
        if (!fMap.FindRes(contents, &t, &r)) {
            if (id) *id = -10000;
            if (type) *type = FourCC("!!!!");
            Fail(kResNotFound);
            return false;
        }
        if (id) *id = fMap.At(t, r).id;
        if (type) *type = fMap.TypeAt(t).type;
        Fail(noErr);
        return true;
    });
}

int32_t CPseudoResFile::GetResSize(ResType type, int16_t id)
{
    return Guarded<int32_t>(-1, [&]() -> int32_t {
        int32_t t, r;
        if (!fMap.FindID(type, id, true, &t, &r)) {
            Fail(kResNotFound);
            return -1;
        }
        if (OSErr err = fLocal && IsNamesRecord(t, r) ? WriteNames() : noErr; err != noErr) {
            Fail(err);
            return -1;
        }
        Fail(noErr);
        const MapRecord& rec = fMap.At(t, r);
        if (rec.contents) return GetHandleSize(rec.contents);
        return rec.length >= kBlockHeaderSize ? int32_t(rec.length - kBlockHeaderSize) : 0;
    });
}

uint32_t CPseudoResFile::GetTimeStamp(Handle contents)
{
    return Guarded<uint32_t>(0, [&]() -> uint32_t {
        int32_t t, r;
        if (!fMap.FindRes(contents, &t, &r)) {
            Fail(kResNoSuchHandle);
            return 0;
        }
        Fail(noErr);
        return fMap.At(t, r).stamp;
    });
}

uint32_t CPseudoResFile::GetTimeStamp(ResType type, int16_t id, bool includeEnciphered)
{
    return Guarded<uint32_t>(0, [&]() -> uint32_t {
        int32_t t, r;
        if (!fMap.FindID(type, id, includeEnciphered, &t, &r)) {
            Fail(kResNotFound);
            return 0;
        }
        Fail(noErr);
        return fMap.At(t, r).stamp;
    });
}

int16_t CPseudoResFile::CountRes(ResType type, bool includeEnciphered)
{
    return Guarded<int16_t>(0, [&]() -> int16_t {
        int32_t t = fMap.FindType(type);
        if (t < 0) {
            Fail(kResNotFound);
            return 0;
        }
        int32_t count = 0;
        for (const MapRecord& rec : fMap.TypeAt(t).records)
            if (includeEnciphered || !(rec.attributes & kAttrEnciphered)) ++count;
        Fail(noErr);
        return int16_t(std::min<int32_t>(count, INT16_MAX));
    });
}

int16_t CPseudoResFile::UniqueID(ResType type)
{
    return Guarded<int16_t>(0, [&]() -> int16_t {
        if (!fLocal) {
            OSErr err = noErr;
            int16_t id = AskUniqueID(fServerFileNumber, type, &err);
            // The server does not know the ids a held change added: the
            // next one free here too.
            const int32_t t = id > 0 ? fMap.FindType(type) : -1;
            for (int32_t k = 0; t >= 0 && k < 32767 && fMap.HoldsID(t, id); ++k) id = id >= 32767 ? 1 : int16_t(id + 1);
            Fail(err);
            return id;
        }
        const int32_t t = fMap.FindType(type);
        // The system's generator: a run that starts from the same seed
        // draws the same ids.
        const int32_t start = int32_t(uint16_t(platform::Random())) % 32768;
        // One full cycle over the positive ids, then give up.
        for (int32_t k = 1; k <= 32768; ++k) {
            int32_t id = (start + k) % 32768;
            if (id > 0 && (t < 0 || !fMap.HoldsID(t, int16_t(id)))) {
                Fail(noErr);
                return int16_t(id);
            }
        }
        Fail(kResNotContainer);
        return 0;
    });
}

uint16_t CPseudoResFile::GetIndResAttributes(ResType type, int32_t n, int16_t* id)
{
    return Guarded<uint16_t>(0, [&]() -> uint16_t {
        RunChangePoll(this, false);
        int32_t t = fMap.FindType(type);
        if (t < 0 || n < 1 || n > int32_t(fMap.TypeAt(t).records.size())) {
            if (id) *id = 0;
            Fail(kResNotContainer);
            return 0;
        }
        if (id) *id = fMap.At(t, n - 1).id;
        Fail(noErr);
        return fMap.At(t, n - 1).attributes;
    });
}

namespace {

void PutListEntry(uint8_t* p, ResType type, const MapRecord& rec)
{
    WriteBE32(p, type);
    WriteBE16(p + 4, uint16_t(rec.id));
    WriteBE32(p + 6, rec.length >= kBlockHeaderSize ? rec.length - kBlockHeaderSize : 0);
    WriteBE32(p + 10, rec.offset);
    WriteBE32(p + 14, rec.stamp);
}

}  // namespace

Handle CPseudoResFile::GetResList()
{
    return Guarded<Handle>(nullptr, [&]() -> Handle {
        int64_t total = 0;
        for (int32_t t = 0; t < fMap.TypeCount(); ++t) total += int64_t(fMap.TypeAt(t).records.size());
        Handle h = NewHandleOrFail(Size(total * kListEntrySize));
        if (!h) return nullptr;
        uint8_t* p = reinterpret_cast<uint8_t*>(*h);
        for (int32_t t = 0; t < fMap.TypeCount(); ++t)
            for (const MapRecord& rec : fMap.TypeAt(t).records) {
                PutListEntry(p, fMap.TypeAt(t).type, rec);
                p += kListEntrySize;
            }
        Fail(noErr);
        return h;
    });
}

Handle CPseudoResFile::GetDuplicateIDs(ResProgressProc progress, void* data)
{
    return Guarded<Handle>(nullptr, [&]() -> Handle {
        int32_t total = 0;
        for (int32_t t = 0; t < fMap.TypeCount(); ++t) total += int32_t(fMap.TypeAt(t).records.size());
        std::vector<uint8_t> entries;
        if (progress && progress(0, total, data) != 0) {
            Fail(kResCancelled);
            return nullptr;
        }
        int32_t done = 0;
        for (int32_t t = 0; t < fMap.TypeCount(); ++t) {
            const auto& records = fMap.TypeAt(t).records;
            std::unordered_map<int16_t, size_t> last;
            for (size_t r = 0; r < records.size(); ++r) last[records[r].id] = r;
            for (size_t r = 0; r < records.size(); ++r) {
                if (progress && progress(++done, total, data) != 0) {
                    Fail(kResCancelled);
                    return nullptr;
                }
                if (last[records[r].id] > r) {
                    entries.resize(entries.size() + kListEntrySize);
                    PutListEntry(&entries[entries.size() - kListEntrySize], fMap.TypeAt(t).type, records[r]);
                }
            }
        }
        if (progress && progress(total, total, data) != 0) {
            Fail(kResCancelled);
            return nullptr;
        }
        Handle h = NewHandleOrFail(Size(entries.size()));
        if (!h) return nullptr;
        if (!entries.empty()) std::memcpy(*h, entries.data(), entries.size());
        Fail(noErr);
        return h;
    });
}

VWordArray* CPseudoResFile::GetResIDList(ResType type)
{
    return Guarded<VWordArray*>(nullptr, [&]() -> VWordArray* {
        auto* list = new VWordArray();
        if (!list) {
            Fail(kResMemFull);
            return nullptr;
        }
        int32_t t = fMap.FindType(type);
        if (t >= 0)
            for (const MapRecord& rec : fMap.TypeAt(t).records) {
                int16_t id = rec.id;
                list->oAddElem(&id);
            }
        Fail(noErr);
        return list;
    });
}

VLongArray* CPseudoResFile::GetTypeList()
{
    return Guarded<VLongArray*>(nullptr, [&]() -> VLongArray* {
        auto* list = new VLongArray();
        if (!list) {
            Fail(kResMemFull);
            return nullptr;
        }
        for (int32_t t = 0; t < fMap.TypeCount(); ++t) {
            int32_t type = int32_t(fMap.TypeAt(t).type);
            list->oAddElem(&type);
        }
        Fail(noErr);
        return list;
    });
}

int16_t CPseudoResFile::GetResID(ResType type, const unsigned char* name, bool)
{
    return Guarded<int16_t>(0, [&]() -> int16_t {
        if (!ServerHooks().idByName) {
            Fail(kResNotContainer);
            return 0;
        }
        OSErr err = noErr;
        int16_t id = ServerHooks().idByName(this, type, name, &err);
        Fail(err);
        return id;
    });
}
