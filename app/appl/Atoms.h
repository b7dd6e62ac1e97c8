// TAtom, the root of the design objects, and the pool that can hold atoms:
// chunks of equal-size slots per class. A live pooled atom keeps, in its
// first data field, its distance in bytes from its chunk's header; a freed
// slot keeps the previous head of the chunk's free list (slot numbers from
// 1, 0 = none). A chunk whose last atom is freed goes back to the platform.
//
// Atoms made with the ordinary allocator have distance 0 and are never
// returned to a pool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

#include "app/appl/AppObjects.h"

struct ClassRegistration;

// One chunk: its header, then its slots.
struct MemChunk {
    MemChunk* next;
    ClassRegistration* registration;
    int16_t freeHead;   // slot number, 1-based; 0 when full
    int16_t liveCount;
};

struct ClassRegistration {
    int32_t reserved1 = 0;
    int32_t reserved2 = 0;
    MemChunk* chunks = nullptr;
    int16_t slotSize = 0;        // bytes per slot
    int16_t slotsPerChunk = 0;
};

class TAtom : public TObject {
public:
    virtual void IAtom() {}
    virtual bool Lock(bool flag) { (void)flag; return true; }
    virtual TAtom* ShallowClone() { return nullptr; }
    // Ends the atom and gives its slot back to its chunk.
    virtual void ShallowFree();

    int16_t fChunkDistance = 0;
};

// The first slot of a chunk.
char* ChunkSlots(MemChunk* chunk);
// Unlinks `chunk` from the registration's list and releases it.
void RemoveChunk(ClassRegistration* registration, MemChunk* chunk);
// A free slot of the class, in a new chunk when every chunk is full; null
// when memory runs out. *chunk gets the slot's chunk.
void* TakeAtomSlot(ClassRegistration* registration, MemChunk** chunk);
// Releases every chunk of the class (tests).
void FreeAllChunks(ClassRegistration* registration);

// Makes a T in a slot of the class's pool; null when memory runs out.
template <class T, class... Args>
T* NewPooledAtom(ClassRegistration* registration, Args&&... args)
{
    static_assert(sizeof(T) <= 32767, "an atom must fit a slot");
    MemChunk* chunk = nullptr;
    void* slot = TakeAtomSlot(registration, &chunk);
    if (!slot) return nullptr;
    T* atom = new (slot) T(std::forward<Args>(args)...);
    atom->fChunkDistance = int16_t(static_cast<char*>(slot) - reinterpret_cast<char*>(chunk));
    return atom;
}
