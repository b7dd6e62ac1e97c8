#include "toolbox/foundation/VIndexedList.h"

#include <utility>

#include "toolbox/foundation/VMemoryMgr.h"

// A page: 256 slots (entries at the bottom level, pages of the next level
// down above it) and the count of its non-null slots.
struct VIndexedList::Page {
    void* slot[256];
    int32_t count;
};

namespace {

using Page = VIndexedList::Page;

constexpr int32_t kLargestIndex = 0x7FFFFFFF;

Page* NewPage() { return reinterpret_cast<Page*>(gMemory->NewPtrClear(int32_t(sizeof(Page)))); }

void FreePage(Page* page) { gMemory->DisposePtr(reinterpret_cast<char*>(page)); }

uint32_t SlotOf(uint32_t index, int32_t shift) { return (index >> shift) & 0xFF; }

// Stores obj at the 0-based index below the page in `pageRef`, making and
// freeing pages as needed; keeps the page counts and the list's count.
void SetIn(Page*& pageRef, int32_t shift, uint32_t index, VObject* obj, int32_t& listCount)
{
    if (!pageRef) {
        if (!obj) return;
        pageRef = NewPage();
        if (!pageRef) return;
    }
    Page* page = pageRef;
    const uint32_t s = SlotOf(index, shift);
    void* before = page->slot[s];
    if (shift > 0) {
        Page* sub = static_cast<Page*>(before);
        SetIn(sub, shift - 8, index, obj, listCount);
        page->slot[s] = sub;
    } else {
        page->slot[s] = obj;
        if (before) --listCount;
        if (obj) ++listCount;
    }
    void* after = page->slot[s];
    if (!before && after) ++page->count;
    if (before && !after) --page->count;
    if (page->count == 0) {
        FreePage(page);
        pageRef = nullptr;
    }
}

// Clears the entry at the 0-based index and answers it (null when absent).
VObject* ClearIn(Page*& pageRef, int32_t shift, uint32_t index, int32_t& listCount)
{
    Page* page = pageRef;
    if (!page) return nullptr;
    const uint32_t s = SlotOf(index, shift);
    VObject* cleared = nullptr;
    if (shift > 0) {
        Page* sub = static_cast<Page*>(page->slot[s]);
        if (!sub) return nullptr;
        cleared = ClearIn(sub, shift - 8, index, listCount);
        if (!sub) {
            page->slot[s] = nullptr;
            --page->count;
        }
    } else {
        cleared = static_cast<VObject*>(page->slot[s]);
        if (!cleared) return nullptr;
        page->slot[s] = nullptr;
        --page->count;
        --listCount;
    }
    if (page->count == 0) {
        FreePage(page);
        pageRef = nullptr;
    }
    return cleared;
}

void DestroyPage(Page* page, int32_t shift, ListDestroy d)
{
    for (void* entry : page->slot) {
        if (!entry) continue;
        if (shift > 0)
            DestroyPage(static_cast<Page*>(entry), shift - 8, d);
        else if (d == kListDeleteData)
            delete static_cast<VObject*>(entry);
    }
    FreePage(page);
}

// A copy of the page and the pages below it, or null when nothing of it
// could be copied; `copied` counts the entries the copy holds.
Page* CopyPage(const Page* page, int32_t shift, int32_t& copied)
{
    Page* copy = NewPage();
    if (!copy) return nullptr;
    for (int s = 0; s < 256; ++s) {
        void* entry = page->slot[s];
        if (!entry) continue;
        if (shift > 0) {
            entry = CopyPage(static_cast<const Page*>(entry), shift - 8, copied);
            if (!entry) continue;
        } else {
            ++copied;
        }
        copy->slot[s] = entry;
        ++copy->count;
    }
    if (copy->count == 0) {
        FreePage(copy);
        return nullptr;
    }
    return copy;
}

// The first entry at a 0-based index >= start; `found` receives its index.
VObject* FindFrom(const Page* page, int32_t shift, uint32_t start, uint32_t& found)
{
    const uint32_t first = SlotOf(start, shift);
    for (uint32_t s = first; s < 256; ++s) {
        void* entry = page->slot[s];
        if (!entry) continue;
        if (shift == 0) {
            found = s;
            return static_cast<VObject*>(entry);
        }
        const uint32_t lower = s == first ? start & ((1u << shift) - 1) : 0;
        uint32_t below = 0;
        if (VObject* obj = FindFrom(static_cast<const Page*>(entry), shift - 8, lower, below)) {
            found = (s << shift) | below;
            return obj;
        }
    }
    return nullptr;
}

// The largest 0-based index in use below the page.
uint32_t FindLast(const Page* page, int32_t shift)
{
    for (int s = 255; s >= 0; --s) {
        void* entry = page->slot[s];
        if (!entry) continue;
        if (shift == 0) return uint32_t(s);
        return (uint32_t(s) << shift) | FindLast(static_cast<const Page*>(entry), shift - 8);
    }
    return 0;
}

}  // namespace

VIndexedList::VIndexedList(int32_t maxIndex) : VValueMultiple(-1), fShift(ShiftFor(maxIndex)) {}

VIndexedList::VIndexedList(const VIndexedList& other) : VValueMultiple(-1), fShift(other.fShift)
{
    if (other.fRoot) fRoot = CopyPage(other.fRoot, fShift, fCount);
}

VIndexedList::~VIndexedList() { Destroy(kListForget); }

int32_t VIndexedList::ShiftFor(int32_t maxIndex)
{
    const uint32_t bits = uint32_t(maxIndex);
    if (bits & 0xFF000000u) return 24;
    if (bits & 0x00FF0000u) return 16;
    if (bits & 0x0000FF00u) return 8;
    return 0;
}

int32_t VIndexedList::GetMaxIndex() const { return fShift >= 24 ? kLargestIndex : 256 << fShift; }

VObject* VIndexedList::GetNth(int32_t n) const
{
    if (n < 1 || n > GetMaxIndex()) return nullptr;
    const uint32_t index = uint32_t(n - 1);
    const Page* page = fRoot;
    for (int32_t shift = fShift; page; shift -= 8) {
        void* entry = page->slot[SlotOf(index, shift)];
        if (shift == 0) return static_cast<VObject*>(entry);
        page = static_cast<const Page*>(entry);
    }
    return nullptr;
}

void VIndexedList::SetNth(VObject* obj, int32_t n)
{
    if (n < 1 || n > GetMaxIndex()) return;
    SetIn(fRoot, fShift, uint32_t(n - 1), obj, fCount);
}

bool VIndexedList::AdoptNth(VObject* obj, int32_t n)
{
    SetNth(obj, n);
    if (GetNth(n) == obj) return true;
    delete obj;
    return false;
}

void VIndexedList::DeleteNth(int32_t n, ListDestroy d)
{
    if (n < 1 || n > GetMaxIndex()) return;
    VObject* obj = ClearIn(fRoot, fShift, uint32_t(n - 1), fCount);
    if (obj && d == kListDeleteData) delete obj;
}

void VIndexedList::Destroy(ListDestroy d)
{
    // Detached first, so that a deleted object never sees a half-freed tree.
    Page* root = std::exchange(fRoot, nullptr);
    fCount = 0;
    if (root) DestroyPage(root, fShift, d);
}

int32_t VIndexedList::GetLastIndex() const
{
    return fRoot ? int32_t(FindLast(fRoot, fShift) + 1) : 0;
}

void VIndexedList::Swap(VIndexedList& other)
{
    std::swap(fShift, other.fShift);
    std::swap(fCount, other.fCount);
    std::swap(fRoot, other.fRoot);
}

template <class Map>
bool VIndexedList::Rebuild(int32_t shift, Map map, ListDestroy dropped)
{
    VIndexedList rebuilt(0);
    rebuilt.fShift = shift;
    int32_t expected = 0;
    VIndexedIterator it(this);
    while (VObject* obj = it.Next()) {
        const int64_t to = map(it.GetPos());
        if (to == 0) continue;
        if (to < 1 || to > rebuilt.GetMaxIndex()) return false;
        rebuilt.SetNth(obj, int32_t(to));
        if (++expected != rebuilt.fCount) return false;  // a page could not be made
    }
    if (dropped == kListDeleteData) {
        VIndexedIterator old(this);
        while (VObject* obj = old.Next())
            if (map(old.GetPos()) == 0) delete obj;
    }
    Swap(rebuilt);
    return true;
}

void VIndexedList::Insert(int32_t at, int32_t k)
{
    if (k <= 0 || !fRoot) return;
    if (at < 1) at = 1;
    const int64_t last = GetLastIndex();
    if (last < at || last + k > GetMaxIndex()) return;
    Rebuild(fShift, [at, k](int64_t p) { return p < at ? p : p + k; }, kListForget);
}

void VIndexedList::Remove(int32_t at, int32_t k, ListDestroy d)
{
    if (k <= 0 || !fRoot) return;
    // The removed indices are first..end-1.
    const int64_t first = at < 1 ? 1 : at;
    const int64_t end = int64_t(at) + k;
    if (end <= first) return;
    Rebuild(fShift, [first, end](int64_t p) -> int64_t {
        if (p < first) return p;
        return p >= end ? p - (end - first) : 0;
    }, d);
}

void VIndexedList::SetMaxIndex(int32_t maxIndex)
{
    const int32_t shift = ShiftFor(maxIndex);
    if (shift == fShift) return;
    const int32_t newMax = shift >= 24 ? kLargestIndex : 256 << shift;
    if (GetLastIndex() > newMax) return;
    if (!fRoot) {
        fShift = shift;
        return;
    }
    Rebuild(shift, [](int64_t p) { return p; }, kListForget);
}

// --- VIndexedIterator --------------------------------------------------

void VIndexedIterator::UseList(const VIndexedList* list)
{
    fList = list;
    fPos = list ? -1 : 0;
}

VObject* VIndexedIterator::Next()
{
    if (!fList || !fList->fRoot || fPos == 0) return nullptr;
    uint32_t start = 0;
    if (fPos != -1) {
        if (fPos >= fList->GetMaxIndex()) {
            fPos = 0;
            return nullptr;
        }
        start = uint32_t(fPos);
    }
    uint32_t found = 0;
    VObject* obj = FindFrom(fList->fRoot, fList->fShift, start, found);
    if (obj)
        fPos = int32_t(found + 1);
    else if (fPos != -1)
        fPos = 0;
    return obj;
}

VObject* VIndexedIterator::Current() const
{
    return fPos > 0 && fList ? fList->GetNth(fPos) : nullptr;
}
