#include "app/appl/Atoms.h"

#include <cstring>

#include "platform/core/Memory.h"

using namespace platform;

namespace {

constexpr size_t kHeaderRoom = (sizeof(MemChunk) + alignof(std::max_align_t) - 1) & ~(alignof(std::max_align_t) - 1);

int16_t ReadLink(const char* slot)
{
    int16_t link;
    std::memcpy(&link, slot, sizeof link);
    return link;
}

void WriteLink(char* slot, int16_t link) { std::memcpy(slot, &link, sizeof link); }

}  // namespace

char* ChunkSlots(MemChunk* chunk) { return reinterpret_cast<char*>(chunk) + kHeaderRoom; }

void TAtom::ShallowFree()
{
    if (fChunkDistance <= 0) return;  // not pooled: never returned to a chunk
    char* self = reinterpret_cast<char*>(this);
    auto* chunk = reinterpret_cast<MemChunk*>(self - fChunkDistance);
    ClassRegistration* registration = chunk->registration;
    this->~TAtom();
    // The slot number counts in the class's own slot size.
    const int16_t slot = int16_t((self - ChunkSlots(chunk)) / registration->slotSize + 1);
    WriteLink(self, chunk->freeHead);
    chunk->freeHead = slot;
    if (--chunk->liveCount == 0) RemoveChunk(registration, chunk);
}

void RemoveChunk(ClassRegistration* registration, MemChunk* chunk)
{
    if (registration->chunks == chunk) {
        registration->chunks = chunk->next;
    } else {
        MemChunk* before = registration->chunks;
        while (before && before->next != chunk) before = before->next;
        if (before) before->next = chunk->next;
    }
    DisposePtr(reinterpret_cast<Ptr>(chunk));
}

void* TakeAtomSlot(ClassRegistration* registration, MemChunk** chunk)
{
    const int16_t size = registration->slotSize;
    const int16_t count = registration->slotsPerChunk;
    if (size < int16_t(sizeof(int16_t)) || count < 1 || int32_t(kHeaderRoom) + int32_t(size) * count > 32767)
        return nullptr;
    MemChunk* c = registration->chunks;
    while (c && c->freeHead == 0) c = c->next;
    if (!c) {
        c = reinterpret_cast<MemChunk*>(NewPtrClear(Size(kHeaderRoom + size_t(size) * size_t(count))));
        if (!c) return nullptr;
        c->registration = registration;
        c->liveCount = 0;
        // Every slot free, in order: slot k links to k + 1, the last to 0.
        for (int32_t k = 1; k <= count; ++k)
            WriteLink(ChunkSlots(c) + size_t(k - 1) * size_t(size), k < count ? int16_t(k + 1) : 0);
        c->freeHead = 1;
        c->next = registration->chunks;
        registration->chunks = c;
    }
    char* slot = ChunkSlots(c) + size_t(c->freeHead - 1) * size_t(size);
    c->freeHead = ReadLink(slot);
    ++c->liveCount;
    *chunk = c;
    return slot;
}

void FreeAllChunks(ClassRegistration* registration)
{
    while (registration->chunks) RemoveChunk(registration, registration->chunks);
}
