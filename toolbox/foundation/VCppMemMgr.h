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
    using Addr = uint32_t;  // 0 is null

    struct HeapSpan {
        Addr base;
        uint32_t length;
        char* block;
    };

    uint8_t* At(Addr a) const;
    uint32_t Word(Addr a) const;
    void SetWord(Addr a, uint32_t v);

    int32_t SizeOf(Addr b) const { return int32_t(Word(b + 4)); }
    void SetSizeOf(Addr b, int32_t s) { SetWord(b + 4, uint32_t(s)); }
    Addr PrevOf(Addr b) const { return Word(b); }
    void SetPrevOf(Addr b, Addr p) { SetWord(b, p); }
    Addr Smaller(Addr b) const { return Word(b + 12); }
    Addr Larger(Addr b) const { return Word(b + 16); }
    Addr Parent(Addr b) const { return Word(b + 20); }
    Addr Next(Addr b) const { return Word(b + 24); }
    void SetSmaller(Addr b, Addr v) { SetWord(b + 12, v); }
    void SetLarger(Addr b, Addr v) { SetWord(b + 16, v); }
    void SetParent(Addr b, Addr v) { SetWord(b + 20, v); }
    void SetNext(Addr b, Addr v) { SetWord(b + 24, v); }
    Addr After(Addr b) const { return b + 12 + uint32_t(SizeOf(b)); }

    Addr Root() const;
    void SetRoot(Addr b);

    void* Allocate(uint32_t size);
    Addr FindBlock(int32_t rounded, bool mayAddHeap);
    bool AddHeap(int32_t rounded);
    void InsertFree(Addr b);
    void RemoveFree(Addr b);
    void DoFree(Addr b);

    int32_t fHeapCount = 0;
    int32_t fTotalHeapBytes = 0;
    int32_t fLimit = 0;
    char* fFirstHeap = nullptr;
    OutOfMemoryProc fOutOfMemoryProc = nullptr;
    uint8_t fMayGrow = 1;

    std::vector<HeapSpan> fHeaps;  // in address order
    Addr fNextBase = 16;
};
