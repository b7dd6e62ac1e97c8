// The allocation bitmaps of a container: the page table, the pages (one
// bit per 64-byte unit, set = allocated) and first-fit allocation over
// them. The logical end lives here because allocation moves it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "platform/core/MacTypes.h"
#include "resources/container/ContainerLayout.h"

namespace container {

class ContainerFork;

struct BitmapPage {
    std::array<uint8_t, kPageBytes> bits{};
    bool dirty = false;
    uint16_t used = 0;  // set units, so that full and empty pages are passed in one step
};

class BitmapPages {
public:
    // The bitmaps of a new file: page 0 at 4160 with units 0-88 set.
    void InitNew();
    // Reads every page named by the table; each must lie inside the file.
    // Units from the logical end on read as free.
    platform::OSErr Load(ContainerFork& fork, uint64_t physicalSize, uint32_t logicalEnd,
                         std::vector<uint32_t> table);
    void Clear();

    uint32_t LogicalEnd() const { return logicalEnd_; }
    const std::vector<uint32_t>& Table() const { return table_; }
    const std::vector<BitmapPage>& Pages() const { return pages_; }
    uint32_t PageCount() const { return uint32_t(table_.size()); }

    // Allocates room for `size` bytes, first fit; the file grows (and gains
    // pages) when nothing fits. dskFulErr when the file would need more
    // than the page table can ever hold. The place is fresh until the next
    // commit. Nothing changes when it fails or throws.
    platform::OSErr FindPlace(uint32_t size, uint32_t* place);
    // Gives up the units of (offset, length); length 0 frees nothing. A
    // whole place allocated since the last commit is free at once. Other
    // units may still be reached by the last commit's map, so they stay
    // allocated until ReleaseFreed, which the commit calls once its header
    // is on disk. Never throws: units that cannot be noted stay allocated
    // (leaked).
    void FreePlace(uint32_t offset, uint32_t length) noexcept;
    // The commit's header is on disk: clears the units given up since the
    // last commit (marking their pages dirty), and no place is fresh.
    void ReleaseFreed();
    // A header may or may not have reached the disk: what this session
    // allocated may now be reached by the committed map, so nothing counts
    // as fresh any more (and nothing freed is released).
    void ForgetFresh() { fresh_.clear(); }
    bool IsUnitSet(uint32_t unit) const;
    // True when (offset, length) lies inside one place allocated since the
    // last commit: no committed header reaches it, so it may be written.
    bool IsFresh(uint32_t offset, uint32_t length) const;
    // True when some unit of (offset, length) waits to be released.
    bool TestLiberePlace(uint32_t offset, uint32_t length) const;

    bool TableChanged() const { return tableChanged_; }
    void MarkTableWritten() { tableChanged_ = false; }
    void NoteTableChanged() { tableChanged_ = true; }

    // Writes the dirty pages at their table offsets and clears their marks.
    platform::OSErr WriteDirtyPages(ContainerFork& fork);
    bool AnyDirty() const;

private:
    void SetUnits(uint64_t first, uint64_t count, bool value);

    uint32_t logicalEnd_ = 0;
    std::vector<uint32_t> table_;
    std::vector<std::pair<uint32_t, uint32_t>> freed_;
    // Places allocated since the last commit: first unit -> end unit.
    std::map<uint64_t, uint64_t> fresh_;
    std::vector<BitmapPage> pages_;
    // Every unit below this one is known to be allocated.
    uint64_t firstFreeHint_ = 0;
    // Per wanted number of units: no free run that long starts before
    // `from`. Allocation only shrinks runs; a fresh place given back moves
    // every memo back to the start of its run, a release forgets them.
    struct ScanMemo {
        uint64_t from;
        uint64_t givenBack;  // places given back before the memo was made
    };
    std::map<uint64_t, ScanMemo> scanFrom_;
    // The moving back, done when a memo is read rather than to every memo
    // at each place given back: (count of places given back, start of the
    // run joined), only those below every later start, so that the starts
    // rise with the counts. A memo is lowered to the first start whose
    // count is above its own.
    std::vector<std::pair<uint64_t, uint64_t>> runStarts_;
    uint64_t givenBack_ = 0;
    uint64_t MemoFrom(const ScanMemo& memo) const;
    void ForgetMemos() noexcept;
    bool tableChanged_ = false;
};

}  // namespace container
