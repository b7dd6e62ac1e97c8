#include "design/objects/ObjBlocks.h"

#include <cstdint>
#include <cstring>

#include "platform/core/Faults.h"
#include "platform/core/Memory.h"

#if defined(__SANITIZE_ADDRESS__)
#define QZ_OBJ_BLOCKS_OWN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QZ_OBJ_BLOCKS_OWN 1
#endif
#endif

#ifdef QZ_OBJ_BLOCKS_OWN

void* NewObjBlock(size_t size) { return platform::NewPtrClear(platform::Size(size)); }

void DisposeObjBlock(void* block)
{
    if (block) platform::DisposePtr(static_cast<platform::Ptr>(block));
}

#else

namespace {

constexpr size_t kAlign = 16;
// Larger blocks are memory manager blocks of their own.
constexpr size_t kLargest = 1024;
constexpr size_t kSlabBytes = 16384;

struct Slab;

// Before each block: its slab (null for a block of its own), and the next
// free block of the slab while it is free.
struct alignas(kAlign) Head {
    Slab* slab;
    Head* nextFree;
};

struct SizeClass {
    // Slabs with a free block, linked through Slab::prev and next.
    Slab* withRoom = nullptr;
};

struct alignas(kAlign) Slab {
    SizeClass* owner;
    Slab* prev;
    Slab* next;
    Head* freeList;
    uint32_t blockBytes;  // head and payload
    uint32_t capacity;
    uint32_t cut;         // blocks cut so far, from the start
    uint32_t live;
    bool listed;          // in owner->withRoom
};

SizeClass gClasses[kLargest / kAlign];

void Link(Slab* s)
{
    s->prev = nullptr;
    s->next = s->owner->withRoom;
    if (s->next) s->next->prev = s;
    s->owner->withRoom = s;
    s->listed = true;
}

void Unlink(Slab* s)
{
    if (s->prev) s->prev->next = s->next;
    else s->owner->withRoom = s->next;
    if (s->next) s->next->prev = s->prev;
    s->prev = s->next = nullptr;
    s->listed = false;
}

uint8_t* Blocks(Slab* s) { return reinterpret_cast<uint8_t*>(s + 1); }

Slab* NewSlab(SizeClass* owner, uint32_t blockBytes)
{
    const uint32_t capacity = uint32_t(kSlabBytes > 8 * blockBytes ? kSlabBytes / blockBytes : 8);
    void* block = platform::NewPtr(platform::Size(sizeof(Slab) + size_t(capacity) * blockBytes));
    if (!block) return nullptr;
    auto* s = static_cast<Slab*>(block);
    *s = Slab{owner, nullptr, nullptr, nullptr, blockBytes, capacity, 0, 0, false};
    Link(s);
    return s;
}

}  // namespace

void* NewObjBlock(size_t size)
{
    const size_t payload = (size + kAlign - 1) / kAlign * kAlign;
    if (payload == 0 || payload > kLargest) {
        void* block = platform::NewPtrClear(platform::Size(sizeof(Head) + payload));
        if (!block) return nullptr;
        auto* head = static_cast<Head*>(block);
        head->slab = nullptr;
        return head + 1;
    }
    SizeClass* owner = &gClasses[payload / kAlign - 1];
    Slab* s = owner->withRoom;
    if (s) {
        // The memory manager's own allocation would have been one.
        if (platform::ShouldFail(platform::FaultKind::Allocation)) return nullptr;
    } else if (!(s = NewSlab(owner, uint32_t(sizeof(Head) + payload)))) {
        return nullptr;
    }
    Head* head = s->freeList;
    if (head) s->freeList = head->nextFree;
    else head = reinterpret_cast<Head*>(Blocks(s) + size_t(s->cut++) * s->blockBytes);
    ++s->live;
    if (!s->freeList && s->cut == s->capacity) Unlink(s);
    head->slab = s;
    head->nextFree = nullptr;
    std::memset(head + 1, 0, payload);
    return head + 1;
}

void DisposeObjBlock(void* block)
{
    if (!block) return;
    Head* head = static_cast<Head*>(block) - 1;
    Slab* s = head->slab;
    if (!s) {
        platform::DisposePtr(reinterpret_cast<platform::Ptr>(head));
        return;
    }
    if (--s->live == 0) {
        if (s->listed) Unlink(s);
        platform::DisposePtr(reinterpret_cast<platform::Ptr>(s));
        return;
    }
    head->nextFree = s->freeList;
    s->freeList = head;
    if (!s->listed) Link(s);
}

#endif
