// The memory manager: relocatable blocks (handles) and fixed blocks
// (pointers), with the lock state, sizes and error reporting the code above
// relies on, a simulated memory budget and allocation fault injection.
//
// A handle points at a master pointer; the master pointer points at the
// block. An unlocked handle's block may move whenever it is resized (it
// always moves in debug builds, so that stale pointers are caught by the
// address sanitizer); a locked block never moves and can only be resized
// within the room it already has.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/core/Errors.h"
#include "platform/core/MacTypes.h"

namespace platform {

constexpr OSErr memSCErr = -116;  // a negative size was asked for

// State bits of HGetState/HSetState.
constexpr int8_t kHandleLockedBit = int8_t(0x80);
constexpr int8_t kHandlePurgeableBit = 0x40;
constexpr int8_t kHandleResourceBit = 0x20;

// Handles. Every call sets MemError().
Handle NewHandle(Size size);
Handle NewHandleClear(Size size);
void DisposeHandle(Handle h);
Size GetHandleSize(Handle h);
void SetHandleSize(Handle h, Size newSize);
void HLock(Handle h);
void HUnlock(Handle h);
void HPurge(Handle h);
void HNoPurge(Handle h);
void HSetRBit(Handle h);
void HClrRBit(Handle h);
int8_t HGetState(Handle h);
void HSetState(Handle h, int8_t state);
void MoveHHi(Handle h);
void HLockHi(Handle h);

// Copies the block of *h into a new handle stored in *h.
OSErr HandToHand(Handle* h);
// A new handle holding a copy of `size` bytes at `src`.
OSErr PtrToHand(const void* src, Handle* dst, Size size);
// Resizes an existing handle to `size` bytes and copies `src` into it.
OSErr PtrToXHand(const void* src, Handle dst, Size size);
// Appends the contents of `a` to `b`.
OSErr HandAndHand(Handle a, Handle b);
// Appends `size` bytes at `src` to `h`.
OSErr PtrAndHand(const void* src, Handle h, Size size);

// True when h is a live handle made by this manager.
bool IsValidHandle(Handle h);

// Pointers. Every call sets MemError().
Ptr NewPtr(Size size);
Ptr NewPtrClear(Size size);
void DisposePtr(Ptr p);
Size GetPtrSize(Ptr p);
// Fixed blocks never move: growing beyond the room they were made with fails.
void SetPtrSize(Ptr p, Size newSize);
bool IsValidPtr(Ptr p);

// Overlap-safe byte copies.
void BlockMove(const void* src, void* dst, Size count);
void BlockMoveData(const void* src, void* dst, Size count);

OSErr MemError();
// How many times a block was refused for want of memory, so far: work that
// goes on without what it could not get (a drawing without its icon)
// learns from a change that it is not whole.
uint32_t MemoryShortfalls();
// Counts a shortfall met other than by a refused block: a drawing call
// that ran out of memory and drew less.
void NoteMemoryShortfall();
// Records the outcome of a service that ran out of memory other than by a
// refused block (a list that could not grow): MemError() answers it as
// after a block call, and memFullErr counts as a shortfall.
void SetMemError(OSErr err);

// The simulated memory budget: FreeMem is the budget less the bytes in use.
Size FreeMem();
Size MaxBlock();
void SetMemoryBudget(int64_t bytes);
int64_t MemoryBudget();
int64_t MemoryInUse();
size_t LiveHandleCount();
size_t LivePtrCount();

// Heap upkeep. Nothing here is ever purged (loaded resources stay whole) and
// blocks do not fragment, so compaction only reports: CompactMem and MaxMem
// answer the largest block the budget allows. PurgeMem sets MemError to
// memFullErr when `needed` bytes cannot be had.
void PurgeMem(Size needed);
Size CompactMem(Size needed);
Size MaxMem(Size* grow);

// The grow-zone procedure: an allocation that does not fit the budget calls
// it with the size asked for and retries while it answers non-zero (it must
// free something to answer so). GZSaveHnd is the handle being resized while
// it runs, else null. Fault-injected failures never call it.
using GrowZoneProcPtr = int32_t (*)(Size needed);
void SetGrowZone(GrowZoneProcPtr proc);
GrowZoneProcPtr GetGrowZone();
Handle GZSaveHnd();

// Whether unlocked handles move on every resize (on by default in debug builds).
void SetHandlesMoveOnResize(bool move);

}  // namespace platform
