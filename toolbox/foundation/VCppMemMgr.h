// A sub-allocator for many small byte blocks carved from large platform
// blocks ("heaps"), with a best-fit tree of free blocks.
//
// Block and heap links are 32-bit addresses in the manager's own address
// space (each heap has a base there), so that every header keeps the sizes
// of the original layout: 16-byte heap header, 12-byte block header, a
// heap of S usable bytes taking S + 42 platform bytes. Payloads are 4-byte
// aligned: the manager serves byte data only.
#pragma once

#include <cstdint>
#include <vector>

class VCppMemMgr {
public:
    // Called with the requested size when an allocation fails; a non-zero
    // answer retries the allocation.
    using OutOfMemoryProc = int32_t (*)(int32_t size);

    VCppMemMgr();
    ~VCppMemMgr();
    VCppMemMgr(const VCppMemMgr&) = delete;
    VCppMemMgr& operator=(const VCppMemMgr&) = delete;

    void* NewPtr(uint32_t size, uint8_t flag);
    // Frees a block of this manager; null and foreign pointers are ignored.
    void DisposePtr(void* p);

    int32_t GetHeapCount() const { return fHeapCount; }
    int32_t GetTotalHeapBytes() const { return fTotalHeapBytes; }
    void SetLimit(int32_t limit) { fLimit = limit; }
    void SetOutOfMemoryProc(OutOfMemoryProc proc) { fOutOfMemoryProc = proc; }
    void SetMayGrow(bool mayGrow) { fMayGrow = mayGrow; }

private:
    // Addresses in the manager's space, 0 is null: a block's header
    // (previous block, size, requested size, then the payload) and a
    // heap's header (usable size, root or first block, next heap, end marker).
    using Addr = uint32_t;
    using CppMemBlock = Addr;
    using CppMemHeap = Addr;

    struct HeapSpan {
        CppMemHeap base;
        uint32_t length;
        char* block;
    };

    uint8_t* At(Addr a) const;
    uint32_t Word(Addr a) const;
    void SetWord(Addr a, uint32_t v);

    int32_t SizeOf(CppMemBlock b) const { return int32_t(Word(b + 4)); }
    void SetSizeOf(CppMemBlock b, int32_t s) { SetWord(b + 4, uint32_t(s)); }
    CppMemBlock PrevOf(CppMemBlock b) const { return Word(b); }
    void SetPrevOf(CppMemBlock b, CppMemBlock p) { SetWord(b, p); }
    CppMemBlock Smaller(CppMemBlock b) const { return Word(b + 12); }
    CppMemBlock Larger(CppMemBlock b) const { return Word(b + 16); }
    CppMemBlock Parent(CppMemBlock b) const { return Word(b + 20); }
    CppMemBlock Next(CppMemBlock b) const { return Word(b + 24); }
    void SetSmaller(CppMemBlock b, CppMemBlock v) { SetWord(b + 12, v); }
    void SetLarger(CppMemBlock b, CppMemBlock v) { SetWord(b + 16, v); }
    void SetParent(CppMemBlock b, CppMemBlock v) { SetWord(b + 20, v); }
    void SetNext(CppMemBlock b, CppMemBlock v) { SetWord(b + 24, v); }
    CppMemBlock After(CppMemBlock b) const { return b + 12 + uint32_t(SizeOf(b)); }

    int32_t HeapSize(CppMemHeap h) const { return int32_t(Word(h)); }
    CppMemHeap NextHeap(CppMemHeap h) const { return Word(h + 8); }
    void SetNextHeap(CppMemHeap h, CppMemHeap next) { SetWord(h + 8, next); }
    CppMemBlock EndMarker(CppMemHeap h) const { return Word(h + 12); }

    CppMemBlock Root() const;
    void SetRoot(CppMemBlock b);

    void* Allocate(uint32_t size);
    CppMemBlock FindBlock(int32_t rounded, bool mayAddHeap);
    bool AddHeap(int32_t rounded);
    void InsertFree(CppMemBlock b);
    void RemoveFree(CppMemBlock b);
    void DoFree(CppMemBlock b);

    int32_t fHeapCount = 0;
    int32_t fTotalHeapBytes = 0;
    int32_t fLimit = 0;
    char* fFirstHeap = nullptr;
    OutOfMemoryProc fOutOfMemoryProc = nullptr;
    uint8_t fMayGrow = 1;

    std::vector<HeapSpan> fHeaps;  // in address order
    CppMemHeap fNextBase = 16;
};
