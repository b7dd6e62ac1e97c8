#include "toolbox/foundation/VCppMemMgr.h"

#include <algorithm>
#include <cstring>

#include "platform/core/Memory.h"

namespace {

constexpr int32_t kHeapHeader = 16;
constexpr int32_t kBlockHeader = 12;
constexpr int32_t kMinPayload = 16;
constexpr int32_t kMinHeapSize = 0xFFFF;
constexpr int32_t kHeapOverhead = 42;
constexpr int32_t kLimitSlack = 4096;
constexpr int32_t kEndMarkerSize = -1;
// Largest rounded request: its heap must still fit a platform block.
constexpr int32_t kMaxRequest = 0x7FFFFFFF - 64;

}  // namespace

VCppMemMgr::VCppMemMgr()
{
    fMayGrow = 1;
    AddHeap(kMinHeapSize);
    fOutOfMemoryProc = nullptr;
    fMayGrow = 1;
}

VCppMemMgr::~VCppMemMgr()
{
    for (const HeapSpan& heap : fHeaps) platform::DisposePtr(heap.block);
}

uint8_t* VCppMemMgr::At(Addr a) const
{
    auto it = std::upper_bound(fHeaps.begin(), fHeaps.end(), a,
                               [](Addr v, const HeapSpan& h) { return v < h.base; });
    const HeapSpan& heap = *(it - 1);
    return reinterpret_cast<uint8_t*>(heap.block) + (a - heap.base);
}

uint32_t VCppMemMgr::Word(Addr a) const
{
    uint32_t v;
    std::memcpy(&v, At(a), 4);
    return v;
}

void VCppMemMgr::SetWord(Addr a, uint32_t v) { std::memcpy(At(a), &v, 4); }

VCppMemMgr::CppMemBlock VCppMemMgr::Root() const { return fHeaps.empty() ? 0 : Word(fHeaps[0].base + 4); }

void VCppMemMgr::SetRoot(CppMemBlock b) { SetWord(fHeaps[0].base + 4, b); }

void* VCppMemMgr::NewPtr(uint32_t size, uint8_t)
{
    for (;;) {
        if (void* p = Allocate(size)) return p;
        if (!fOutOfMemoryProc || !fOutOfMemoryProc(int32_t(size))) return nullptr;
    }
}

void* VCppMemMgr::Allocate(uint32_t size)
{
    if (size > uint32_t(kMaxRequest)) return nullptr;
    int32_t rounded = int32_t((size + 3) & ~3u);
    if (rounded < kMinPayload) rounded = kMinPayload;

    CppMemBlock b = FindBlock(rounded, true);
    if (!b) return nullptr;
    const int32_t blockSize = SizeOf(b);
    if (int64_t(blockSize) >= int64_t(rounded) + kBlockHeader + kMinPayload) {
        CppMemBlock tail = b + kBlockHeader + uint32_t(rounded);
        SetPrevOf(tail, b);
        SetSizeOf(tail, blockSize - rounded - kBlockHeader);
        CppMemBlock after = After(tail);
        if (SizeOf(after) != kEndMarkerSize) SetPrevOf(after, tail);
        InsertFree(tail);
        SetSizeOf(b, -rounded);
    } else {
        SetSizeOf(b, -blockSize);
    }
    SetWord(b + 8, size);
    return At(b + kBlockHeader);
}

VCppMemMgr::CppMemBlock VCppMemMgr::FindBlock(int32_t rounded, bool mayAddHeap)
{
    CppMemBlock node = Root();
    CppMemBlock candidate = 0;
    while (node) {
        const int32_t s = SizeOf(node);
        if (s == rounded) {
            CppMemBlock taken = Next(node) ? Next(node) : node;
            RemoveFree(taken);
            return taken;
        }
        if (s < rounded) {
            node = Larger(node);
        } else {
            candidate = node;
            node = Smaller(node);
        }
    }
    if (candidate) {
        RemoveFree(candidate);
        return candidate;
    }
    if (mayAddHeap && AddHeap(rounded)) return FindBlock(rounded, false);
    return 0;
}

bool VCppMemMgr::AddHeap(int32_t rounded)
{
    if (!fMayGrow) return false;
    const int32_t usable = std::max(rounded, kMinHeapSize);
    if (fLimit != 0 && int64_t(fTotalHeapBytes) + rounded > fLimit &&
        int64_t(fLimit) - fTotalHeapBytes < kLimitSlack)
        return false;
    const int64_t platformSize = int64_t(usable) + kHeapOverhead;
    if (int64_t(fTotalHeapBytes) + usable > 0x7FFFFFFF ||
        int64_t(fNextBase) + platformSize + 4 > int64_t(UINT32_MAX))
        return false;

    char* block = platform::NewPtr(platform::Size(platformSize));
    if (!block) return false;

    const CppMemHeap base = fNextBase;
    fNextBase = CppMemHeap((int64_t(base) + platformSize + 3) & ~int64_t(3));
    fHeaps.push_back({base, uint32_t(platformSize), block});
    fTotalHeapBytes += usable;
    ++fHeapCount;

    const CppMemBlock first = base + kHeapHeader;
    const CppMemBlock end = first + kBlockHeader + uint32_t(usable);
    const bool isFirstHeap = fHeaps.size() == 1;
    SetWord(base, uint32_t(usable));
    SetWord(base + 4, isFirstHeap ? 0 : first);
    SetNextHeap(base, 0);
    SetWord(base + 12, end);
    SetPrevOf(first, 0);
    SetSizeOf(first, usable);
    SetPrevOf(end, 0);
    SetSizeOf(end, kEndMarkerSize);

    if (isFirstHeap) {
        fFirstHeap = block;
    } else {
        const HeapSpan& last = fHeaps[fHeaps.size() - 2];
        SetNextHeap(last.base, base);
        SetPrevOf(EndMarker(last.base), first);
    }
    InsertFree(first);
    return true;
}

void VCppMemMgr::InsertFree(CppMemBlock b)
{
    SetSmaller(b, 0);
    SetLarger(b, 0);
    SetParent(b, 0);
    SetNext(b, 0);
    CppMemBlock node = Root();
    if (!node) {
        SetRoot(b);
        return;
    }
    const int32_t s = SizeOf(b);
    for (;;) {
        const int32_t ns = SizeOf(node);
        if (s < ns) {
            if (!Smaller(node)) {
                SetSmaller(node, b);
                SetParent(b, node);
                return;
            }
            node = Smaller(node);
        } else if (s > ns) {
            if (!Larger(node)) {
                SetLarger(node, b);
                SetParent(b, node);
                return;
            }
            node = Larger(node);
        } else {
            // Same size: into the node's chain, right behind the node.
            SetParent(b, node);
            SetNext(b, Next(node));
            if (Next(node)) SetParent(Next(node), b);
            SetNext(node, b);
            return;
        }
    }
}

void VCppMemMgr::RemoveFree(CppMemBlock b)
{
    const CppMemBlock parent = Parent(b);
    if (parent && Next(parent) == b) {
        SetNext(parent, Next(b));
        if (Next(b)) SetParent(Next(b), parent);
        return;
    }

    CppMemBlock replacement;
    const CppMemBlock smaller = Smaller(b);
    const CppMemBlock larger = Larger(b);
    if (Next(b)) {
        replacement = Next(b);
        SetSmaller(replacement, smaller);
        SetLarger(replacement, larger);
        if (smaller) SetParent(smaller, replacement);
        if (larger) SetParent(larger, replacement);
    } else if (smaller && larger) {
        if (!Larger(smaller)) {
            replacement = smaller;
            SetLarger(replacement, larger);
            SetParent(larger, replacement);
        } else {
            replacement = smaller;
            while (Larger(replacement)) replacement = Larger(replacement);
            const CppMemBlock up = Parent(replacement);
            SetLarger(up, Smaller(replacement));
            if (Smaller(replacement)) SetParent(Smaller(replacement), up);
            SetSmaller(replacement, smaller);
            SetLarger(replacement, larger);
            SetParent(smaller, replacement);
            SetParent(larger, replacement);
        }
    } else {
        replacement = smaller ? smaller : larger;
    }

    if (!parent)
        SetRoot(replacement);
    else if (Smaller(parent) == b)
        SetSmaller(parent, replacement);
    else
        SetLarger(parent, replacement);
    if (replacement) SetParent(replacement, parent);
}

void VCppMemMgr::DoFree(CppMemBlock b)
{
    SetSizeOf(b, -SizeOf(b));
    const CppMemBlock next = After(b);
    if (SizeOf(next) >= 0) {
        RemoveFree(next);
        SetSizeOf(b, SizeOf(b) + SizeOf(next) + kBlockHeader);
        const CppMemBlock after = After(b);
        if (SizeOf(after) != kEndMarkerSize) SetPrevOf(after, b);
    }
    const CppMemBlock prev = PrevOf(b);
    if (prev && SizeOf(prev) >= 0) {
        RemoveFree(prev);
        SetSizeOf(prev, SizeOf(prev) + SizeOf(b) + kBlockHeader);
        const CppMemBlock after = After(prev);
        if (SizeOf(after) != kEndMarkerSize) SetPrevOf(after, prev);
        b = prev;
    }
    InsertFree(b);
}

void VCppMemMgr::DisposePtr(void* p)
{
    if (!p) return;
    const auto address = reinterpret_cast<uintptr_t>(p);
    for (const HeapSpan& heap : fHeaps) {
        const auto start = reinterpret_cast<uintptr_t>(heap.block);
        if (address < start || address >= start + heap.length) continue;
        const uint32_t offset = uint32_t(address - start);
        const uint32_t endMarker = kHeapHeader + kBlockHeader + uint32_t(HeapSize(heap.base));
        // A payload starts 12 bytes into a block, on a 4-byte boundary.
        if (offset < uint32_t(kHeapHeader + kBlockHeader) || offset % 4 != 0) return;
        const CppMemBlock b = heap.base + offset - kBlockHeader;
        const int32_t size = SizeOf(b);
        // Only a block in use, lying wholly inside the heap, is freed.
        if (size >= 0 || size == kEndMarkerSize || int64_t(offset) - size > endMarker) return;
        DoFree(b);
        return;
    }
}
