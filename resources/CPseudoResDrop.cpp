// CPseudoResFile: ending a hold by dropping what it held.
#include <cstring>
#include <unordered_set>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/Memory.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/StoreGuard.h"
#include "resources/container/FileOrder.h"
#include "resources/container/UnitCheck.h"

using namespace platform;
using namespace container;

namespace {

// A changed resource whose handle survives the drop, with the committed
// contents read back for it.
struct Restored {
    int32_t t = 0, r = 0;  // in the map read back
    Handle handle = nullptr;
    Handle committed = nullptr;
};

void DisposeCommitted(std::vector<Restored>& restored)
{
    for (Restored& x : restored)
        if (x.committed) DisposeHandle(x.committed);
    restored.clear();
}

}  // namespace

bool CPseudoResFile::DropHeld()
{
    return Guarded<bool>(false, [&]() -> bool {
        if (HoldsServerChange()) {
            DropHeldChange();
            fHeld = false;
            fDropOwed = false;
            fCommitPutOff = false;
            Fail(noErr);
            return true;
        }
        if (!fHeld || !fLocal || !fFork.IsOpen()) {
            Fail(fHeld ? kResNoFile : paramErr);
            return false;
        }
        // Owed until the memory is the last commit's again.
        fDropOwed = true;
        // Whatever a failed commit or a block written at once put on the
        // disk goes first. When that cannot be put back (the disk still
        // failing), what stays is out of the last commit's reach: blocks in
        // units it does not use, bits set in the allocation pages (a leak),
        // perhaps the failed commit's header. The store goes back to the
        // last commit all the same, and its next commit, or the close,
        // writes that commit's header again.
        const bool putBack = fFork.RollBack() == noErr;
        fFork.StartUndo();
        uint64_t physical = 0;
        OSErr err = fFork.PhysicalSize(&physical);
        uint32_t now = 0;
        GetDateTime(&now);
        BitmapPages bitmaps;
        ResourceMap map;
        UnclaimedUnits left;
        if (err == noErr) err = LoadCommitted(fDiskHeader, physical, fSwapFlag, now, &bitmaps, &map, &left);
        if (err != noErr) {
            Fail(err);
            return false;
        }
        // Everything that can fail comes first: the committed contents of
        // the changed resources whose handles others may hold, and the room
        // their handles need.
        std::vector<Restored> restored;
        std::unordered_set<Handle> taken;  // a damaged map may name an id twice
        for (int32_t t = 0; t < map.TypeCount(); ++t) {
            const ResType type = map.TypeAt(t).type;
            for (int32_t r = 0; r < int32_t(map.TypeAt(t).records.size()); ++r) {
                const MapRecord& rec = map.At(t, r);
                int32_t ot, orr;
                if (!fMap.FindID(type, rec.id, true, &ot, &orr)) continue;
                const MapRecord& old = fMap.At(ot, orr);
                if (!old.contents || !taken.insert(old.contents).second) continue;
                const bool same = !(old.attributes & kAttrChanged) && old.offset == rec.offset && old.length == rec.length;
                Restored x{t, r, old.contents, nullptr};
                if (!same) {
                    err = ReadPayload(type, rec, &x.committed, true);
                    if (err == noErr && fSwapFlag != kBigEndianFile)
                        ContentsToHost(type, reinterpret_cast<uint8_t*>(*x.committed), GetHandleSize(x.committed),
                                       fSwapFlag);
                    const Size need = x.committed ? GetHandleSize(x.committed) : 0;
                    if (err == noErr && GetHandleSize(old.contents) < need) {
                        SetHandleSize(old.contents, need);
                        if (MemError() != noErr) err = kResMemFull;
                    }
                }
                restored.push_back(x);
                if (err != noErr) {
                    DisposeCommitted(restored);
                    Fail(err);
                    return false;
                }
            }
        }
        // From here nothing fails. The names are read again, from a table
        // that stays the store's alone when its handle survives.
        const Handle namesOwn = fNamesOwn;
        for (Restored& x : restored) {
            int32_t ot, orr;
            const MapRecord& back = map.At(x.t, x.r);
            fMap.FindRes(x.handle, &ot, &orr);
            if (x.committed) {
                const Size size = GetHandleSize(x.committed);
                SetHandleSize(x.handle, size);  // never grows here
                if (size) std::memcpy(*x.handle, *x.committed, size_t(size));
                map.Edit(x.t, x.r).attributes = uint16_t(back.attributes | kCounterOnLoad | kAttrPurgeable);
            } else {
                map.Edit(x.t, x.r).attributes = fMap.At(ot, orr).attributes;
            }
            fMap.SetContents(ot, orr, nullptr);
            map.SetContents(x.t, x.r, x.handle);
        }
        DisposeCommitted(restored);
        DisposeContents();
        fMap = std::move(map);
        fMap.changed = false;
        int32_t nt, nr;
        if (namesOwn && fMap.FindRes(namesOwn, &nt, &nr) && IsNamesRecord(nt, nr)) fNamesOwn = namesOwn;
        fBitmaps = std::move(bitmaps);
        fMapOffset = fDiskHeader.mapOffset;
        fPageTableOffset = fDiskHeader.pageTableOffset;
        fMapLength = fDiskHeader.mapLength;
        // A version word taken inside the change goes with it.
        fMagic = fDiskHeader.magic;
        RecoverRoom(left);
        fFork.EndUndo();
        fHeldKeys.clear();
        fHeld = false;
        fDropOwed = false;
        fCommitPutOff = false;
        fCommitFailed = !putBack;
        Fail(noErr);
        return true;
    });
}

bool CPseudoResFile::SettleDrop() { return !fDropOwed || DropHeld(); }
