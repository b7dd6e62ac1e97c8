#include "platform/core/Memory.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include "platform/core/AddressTable.h"
#include "platform/core/Faults.h"

namespace platform {
namespace {

// A handle is the address of `data`, which must stay the first member.
struct MasterPointer {
    char* data;
    Size size;
    Size capacity;
    int8_t state;
};

constexpr int64_t kDefaultBudget = int64_t(1) << 30;  // 1 GiB

struct MemoryState {
    OSErr lastError = noErr;
    uint32_t shortfalls = 0;  // blocks refused so far
    int64_t budget = kDefaultBudget;
    int64_t inUse = 0;
#ifdef NDEBUG
    bool moveOnResize = false;
#else
    bool moveOnResize = true;
#endif
    GrowZoneProcPtr growZone = nullptr;
    bool inGrowZone = false;
    Handle growSaved = nullptr;
    AddressTable handles;  // master pointers (values unused)
    AddressTable ptrs;     // block -> size
};

// The heap keeps what it has grown to, as a program's own heap always
// did: the blocks a document's close frees serve the next document,
// rather than going back to the system at each close to be faulted in
// again page by page at the next open (and a big file's bytes come from
// the heap too, not from a mapping made and unmade each time).
void KeepHeap()
{
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
}

MemoryState& State()
{
    static MemoryState* state = [] {
        KeepHeap();
        return new MemoryState;  // lives for the whole run
    }();
    return *state;
}

OSErr SetErr(OSErr err)
{
    State().lastError = err;
    if (err == memFullErr) ++State().shortfalls;
    return err;
}

MasterPointer* Master(Handle h)
{
    if (!h) return nullptr;
    auto* mp = reinterpret_cast<MasterPointer*>(h);
    return State().handles.Contains(mp) ? mp : nullptr;
}

// Reserves `bytes` of the budget; false (memFullErr) when it cannot.
bool Reserve(int64_t bytes, Handle resizing = nullptr)
{
    MemoryState& s = State();
    if (ShouldFail(FaultKind::Allocation)) {
        SetErr(memFullErr);
        return false;
    }
    // The grow-zone procedure may allocate itself: it is not called again
    // from inside, so that it cannot recurse without end.
    while (s.inUse + bytes > s.budget && s.growZone && !s.inGrowZone) {
        s.inGrowZone = true;
        s.growSaved = resizing;
        const int32_t freed = s.growZone(Size(bytes > INT32_MAX ? INT32_MAX : bytes));
        s.growSaved = nullptr;
        s.inGrowZone = false;
        if (freed == 0) break;
    }
    if (s.inUse + bytes > s.budget) {
        SetErr(memFullErr);
        return false;
    }
    s.inUse += bytes;
    return true;
}

void Unreserve(int64_t bytes) { State().inUse -= bytes; }

// Blocks always have at least one byte, so that an empty handle still has
// an address (its master pointer is never null unless it was emptied).
char* AllocBlock(Size size, bool clear)
{
    size_t n = size > 0 ? size_t(size) : 1;
    return static_cast<char*>(clear ? std::calloc(1, n) : std::malloc(n));
}

// A new block within the budget, with MemError set on failure.
char* NewBlock(Size size, bool clear)
{
    if (size < 0) {
        SetErr(memSCErr);
        return nullptr;
    }
    if (!Reserve(size)) return nullptr;
    char* block = AllocBlock(size, clear);
    if (!block) {
        Unreserve(size);
        SetErr(memFullErr);
    }
    return block;
}

Handle MakeHandle(Size size, bool clear)
{
    char* block = NewBlock(size, clear);
    if (!block) return nullptr;
    // The registry may fail to grow: the block then goes back, and the
    // caller sees memFullErr rather than an exception.
    MasterPointer* mp = nullptr;
    try {
        mp = new MasterPointer{block, size, size, 0};
        State().handles.Put(mp, 0);
    } catch (const std::bad_alloc&) {
        delete mp;
        std::free(block);
        Unreserve(size);
        SetErr(memFullErr);
        return nullptr;
    }
    SetErr(noErr);
    return &mp->data;
}

}  // namespace

Handle NewHandle(Size size) { return MakeHandle(size, false); }
Handle NewHandleClear(Size size) { return MakeHandle(size, true); }

void DisposeHandle(Handle h)
{
    MasterPointer* mp = Master(h);
    if (!mp) {
        SetErr(h ? memWZErr : nilHandleErr);
        return;
    }
    Unreserve(mp->size);
    std::free(mp->data);
    State().handles.Remove(mp);
    delete mp;
    SetErr(noErr);
}

Size GetHandleSize(Handle h)
{
    MasterPointer* mp = Master(h);
    if (!mp) {
        SetErr(h ? memWZErr : nilHandleErr);
        return 0;
    }
    SetErr(noErr);
    return mp->data ? mp->size : 0;
}

void SetHandleSize(Handle h, Size newSize)
{
    MasterPointer* mp = Master(h);
    if (!mp) {
        SetErr(h ? memWZErr : nilHandleErr);
        return;
    }
    if (newSize < 0) {
        SetErr(memSCErr);
        return;
    }
    const Size oldSize = mp->size;
    const bool locked = (mp->state & kHandleLockedBit) != 0;
    if (newSize > oldSize && !Reserve(newSize - oldSize, h)) return;

    if (mp->data && newSize <= mp->capacity && (locked || !State().moveOnResize)) {
        // In place: a locked block never moves; shrinking keeps its room.
        mp->size = newSize;
    } else if (locked && mp->data) {
        // A locked block cannot grow beyond its room.
        if (newSize > oldSize) Unreserve(newSize - oldSize);
        SetErr(memFullErr);
        return;
    } else {
        // A block that grows from a size it had takes room for half as
        // much again: a handle grown a little at a time moves a bounded
        // number of times per byte, not once per step.
        const Size room = newSize > oldSize && oldSize > 0 && oldSize + oldSize / 2 > newSize
                              ? Size(std::min<int64_t>(INT32_MAX, int64_t(oldSize) + oldSize / 2))
                              : newSize;
        char* block = AllocBlock(room, false);
        if (!block) {
            if (newSize > oldSize) Unreserve(newSize - oldSize);
            SetErr(memFullErr);
            return;
        }
        if (mp->data) std::memcpy(block, mp->data, size_t(oldSize < newSize ? oldSize : newSize));
        std::free(mp->data);
        mp->data = block;
        mp->size = newSize;
        mp->capacity = room;
    }
    if (newSize < oldSize) Unreserve(oldSize - newSize);
    SetErr(noErr);
}

namespace {

// Sets or clears state bits of a live handle, with MemError set.
void ChangeState(Handle h, int8_t bits, bool set)
{
    MasterPointer* mp = Master(h);
    if (!mp) {
        SetErr(h ? memWZErr : nilHandleErr);
        return;
    }
    mp->state = int8_t(set ? (mp->state | bits) : (mp->state & ~bits));
    SetErr(noErr);
}

}  // namespace

void HLock(Handle h) { ChangeState(h, kHandleLockedBit, true); }
void HUnlock(Handle h) { ChangeState(h, kHandleLockedBit, false); }
void HPurge(Handle h) { ChangeState(h, kHandlePurgeableBit, true); }
void HNoPurge(Handle h) { ChangeState(h, kHandlePurgeableBit, false); }
void HSetRBit(Handle h) { ChangeState(h, kHandleResourceBit, true); }
void HClrRBit(Handle h) { ChangeState(h, kHandleResourceBit, false); }

int8_t HGetState(Handle h)
{
    if (MasterPointer* mp = Master(h)) {
        SetErr(noErr);
        return mp->state;
    }
    SetErr(h ? memWZErr : nilHandleErr);
    return 0;
}

void HSetState(Handle h, int8_t state)
{
    if (MasterPointer* mp = Master(h)) {
        mp->state = state;
        SetErr(noErr);
    } else {
        SetErr(h ? memWZErr : nilHandleErr);
    }
}

void MoveHHi(Handle h) { SetErr(Master(h) ? noErr : (h ? memWZErr : nilHandleErr)); }

void HLockHi(Handle h) { HLock(h); }

OSErr HandToHand(Handle* h)
{
    if (!h) return SetErr(nilHandleErr);
    MasterPointer* mp = Master(*h);
    if (!mp) return SetErr(*h ? memWZErr : nilHandleErr);
    Handle copy = NewHandle(mp->size);
    if (!copy) return MemError();
    if (mp->size > 0) std::memcpy(*copy, mp->data, size_t(mp->size));
    *h = copy;
    return SetErr(noErr);
}

OSErr PtrToHand(const void* src, Handle* dst, Size size)
{
    if (!dst) return SetErr(paramErr);
    *dst = nullptr;
    Handle h = NewHandle(size);
    if (!h) return MemError();
    if (size > 0) std::memcpy(*h, src, size_t(size));
    *dst = h;
    return SetErr(noErr);
}

OSErr PtrToXHand(const void* src, Handle dst, Size size)
{
    SetHandleSize(dst, size);
    if (MemError() != noErr) return MemError();
    if (size > 0) std::memmove(*dst, src, size_t(size));
    return SetErr(noErr);
}

OSErr PtrAndHand(const void* src, Handle h, Size size)
{
    if (size < 0) return SetErr(memSCErr);
    MasterPointer* mp = Master(h);
    if (!mp) return SetErr(h ? memWZErr : nilHandleErr);
    const Size old = mp->size;
    // The source may lie inside the handle itself: copy it out first.
    char* copy = nullptr;
    if (size > 0 && src >= mp->data && src < mp->data + old) {
        copy = static_cast<char*>(std::malloc(size_t(size)));
        if (!copy) return SetErr(memFullErr);
        std::memcpy(copy, src, size_t(size));
        src = copy;
    }
    SetHandleSize(h, old + size);
    OSErr err = MemError();
    if (err == noErr && size > 0) std::memcpy(mp->data + old, src, size_t(size));
    std::free(copy);
    return SetErr(err);
}

OSErr HandAndHand(Handle a, Handle b)
{
    MasterPointer* mpa = Master(a);
    if (!mpa) return SetErr(a ? memWZErr : nilHandleErr);
    return PtrAndHand(mpa->data, b, mpa->size);
}

bool IsValidHandle(Handle h) { return Master(h) != nullptr; }

// Pointers ------------------------------------------------------------------

namespace {

Ptr MakePtr(Size size, bool clear)
{
    char* block = NewBlock(size, clear);
    if (!block) return nullptr;
    try {
        State().ptrs.Put(block, size);
    } catch (const std::bad_alloc&) {
        std::free(block);
        Unreserve(size);
        SetErr(memFullErr);
        return nullptr;
    }
    SetErr(noErr);
    return block;
}

}  // namespace

Ptr NewPtr(Size size) { return MakePtr(size, false); }
Ptr NewPtrClear(Size size) { return MakePtr(size, true); }

void DisposePtr(Ptr p)
{
    auto& ptrs = State().ptrs;
    const Size* size = ptrs.Find(p);
    if (!size) {
        SetErr(p ? memWZErr : nilHandleErr);
        return;
    }
    Unreserve(*size);
    ptrs.Remove(p);
    std::free(p);
    SetErr(noErr);
}

Size GetPtrSize(Ptr p)
{
    const Size* size = State().ptrs.Find(p);
    if (!size) {
        SetErr(p ? memWZErr : nilHandleErr);
        return 0;
    }
    SetErr(noErr);
    return *size;
}

void SetPtrSize(Ptr p, Size newSize)
{
    Size* size = State().ptrs.Find(p);
    if (!size) {
        SetErr(p ? memWZErr : nilHandleErr);
        return;
    }
    if (newSize < 0) {
        SetErr(memSCErr);
        return;
    }
    // The block was allocated at its first size; it can only shrink.
    if (newSize > *size) {
        SetErr(memFullErr);
        return;
    }
    Unreserve(*size - newSize);
    *size = newSize;
    SetErr(noErr);
}

bool IsValidPtr(Ptr p) { return State().ptrs.Contains(p); }

void BlockMove(const void* src, void* dst, Size count)
{
    if (count > 0 && src != dst) std::memmove(dst, src, size_t(count));
}

void BlockMoveData(const void* src, void* dst, Size count) { BlockMove(src, dst, count); }

OSErr MemError() { return State().lastError; }
uint32_t MemoryShortfalls() { return State().shortfalls; }
void NoteMemoryShortfall() { ++State().shortfalls; }
void SetMemError(OSErr err) { SetErr(err); }

Size FreeMem()
{
    const MemoryState& s = State();
    int64_t free = s.budget - s.inUse;
    if (free < 0) free = 0;
    return free > INT32_MAX ? INT32_MAX : Size(free);
}

Size MaxBlock() { return FreeMem(); }

void PurgeMem(Size needed) { SetErr(FreeMem() >= needed ? noErr : memFullErr); }

Size CompactMem(Size) { return MaxBlock(); }

Size MaxMem(Size* grow)
{
    if (grow) *grow = 0;
    return MaxBlock();
}

void SetGrowZone(GrowZoneProcPtr proc) { State().growZone = proc; }
GrowZoneProcPtr GetGrowZone() { return State().growZone; }
Handle GZSaveHnd() { return State().growSaved; }

void SetMemoryBudget(int64_t bytes) { State().budget = bytes; }
int64_t MemoryBudget() { return State().budget; }
int64_t MemoryInUse() { return State().inUse; }
size_t LiveHandleCount() { return State().handles.Count(); }
size_t LivePtrCount() { return State().ptrs.Count(); }

void SetHandlesMoveOnResize(bool move) { State().moveOnResize = move; }

}  // namespace platform
