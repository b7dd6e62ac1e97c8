#include "resources/container/BitmapPages.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

#include "platform/core/Errors.h"
#include "resources/container/ContainerFork.h"

namespace container {

using namespace platform;

void BitmapPages::InitNew()
{
    Clear();
    logicalEnd_ = kNewLogicalEnd;
    table_ = {kNewPageZeroOffset};
    pages_.resize(1);
    SetUnits(0, kNewLogicalEnd / kUnitSize, true);
    pages_[0].dirty = false;
}

void BitmapPages::Clear()
{
    logicalEnd_ = 0;
    table_.clear();
    pages_.clear();
    freed_.clear();
    fresh_.clear();
    firstFreeHint_ = 0;
    ForgetMemos();
    tableChanged_ = false;
}

void BitmapPages::ForgetMemos() noexcept
{
    scanFrom_.clear();
    runStarts_.clear();
    givenBack_ = 0;
}

uint64_t BitmapPages::MemoFrom(const ScanMemo& memo) const
{
    const auto later = std::upper_bound(runStarts_.begin(), runStarts_.end(), memo.givenBack,
                                        [](uint64_t count, const auto& entry) { return count < entry.first; });
    return later == runStarts_.end() ? memo.from : std::min(memo.from, later->second);
}

OSErr BitmapPages::Load(ContainerFork& fork, uint64_t physicalSize, uint32_t logicalEnd,
                        std::vector<uint32_t> table)
{
    Clear();
    std::vector<BitmapPage> pages(table.size());
    for (size_t p = 0; p < table.size(); ++p) {
        uint64_t offset = table[p];
        if (offset % kUnitSize != 0 || offset < kUnitSize || offset + kPageBytes > physicalSize)
            return -1;
        OSErr err = fork.ReadAt(offset, pages[p].bits.data(), kPageBytes);
        if (err != noErr) return err;
        // Nothing the header reaches lies past the logical end: bits set
        // there come from a commit that never wrote its header. Kept, they
        // would be taken for room of the map or the names table, which the
        // file grows into from its logical end.
        const uint64_t firstUnit = uint64_t(p) * kUnitsPerPage;
        for (uint64_t u = std::max<uint64_t>(logicalEnd / kUnitSize, firstUnit); u < firstUnit + kUnitsPerPage; ++u)
            pages[p].bits[(u - firstUnit) >> 3] &= uint8_t(~(1u << (u & 7)));
        uint32_t used = 0;
        for (uint8_t byte : pages[p].bits) used += uint32_t(std::popcount(byte));
        pages[p].used = uint16_t(used);
    }
    logicalEnd_ = logicalEnd;
    table_ = std::move(table);
    pages_ = std::move(pages);
    return noErr;
}

bool BitmapPages::IsUnitSet(uint32_t unit) const
{
    uint32_t page = unit / kUnitsPerPage;
    if (page >= pages_.size()) return false;
    return (pages_[page].bits[(unit % kUnitsPerPage) >> 3] >> (unit & 7)) & 1;
}

void BitmapPages::SetUnits(uint64_t first, uint64_t count, bool value)
{
    // A 64-unit word at a time, as the search reads them: a large place is
    // set or cleared in a step per 64 of its units.
    for (uint64_t u = first, end = first + count; u < end;) {
        const uint64_t page = u / kUnitsPerPage;
        if (page >= pages_.size()) break;
        BitmapPage& p = pages_[page];
        const uint64_t pageStart = page * kUnitsPerPage;
        const uint32_t stop = uint32_t(std::min<uint64_t>(end - pageStart, kUnitsPerPage));
        int32_t used = p.used;
        for (uint32_t at = uint32_t(u - pageStart); at < stop;) {
            const uint32_t bit = at % 64, n = std::min<uint32_t>(64 - bit, stop - at);
            const uint64_t mask = (n == 64 ? ~uint64_t(0) : (uint64_t(1) << n) - 1) << bit;
            uint8_t* const bytes = p.bits.data() + (at - bit) / 8;
            uint64_t word;
            std::memcpy(&word, bytes, 8);  // little-endian: bit i = unit base+i
            if (value) {
                used += std::popcount(mask & ~word);
                word |= mask;
            } else {
                used -= std::popcount(mask & word);
                word &= ~mask;
            }
            std::memcpy(bytes, &word, 8);
            at += n;
        }
        p.used = uint16_t(used);
        p.dirty = true;
        u = pageStart + stop;
    }
}

OSErr BitmapPages::FindPlace(uint32_t size, uint32_t* place)
{
    const uint64_t wanted = std::max<uint64_t>(1, RoundUp(size, kUnitSize) / kUnitSize);
    const uint64_t total = uint64_t(pages_.size()) * kUnitsPerPage;

    // First fit, a 64-unit word at a time: within a word each run of free
    // or of allocated units is passed in one step.
    uint64_t run = 0, runStart = 0, u = firstFreeHint_;
    auto memo = scanFrom_.upper_bound(wanted);
    if (memo != scanFrom_.begin()) u = std::max(u, MemoFrom(std::prev(memo)->second));
    bool found = false;
    // While the scan has met only allocated units from the hint, the hint
    // follows it.
    bool fromHint = u == firstFreeHint_;
    while (u < total && !found) {
        const BitmapPage& page = pages_[u / kUnitsPerPage];
        const uint64_t inPage = u % kUnitsPerPage;
        if (inPage == 0 && (page.used == 0 || page.used == kUnitsPerPage)) {
            if (page.used == kUnitsPerPage) {
                run = 0;
                u += kUnitsPerPage;
                if (fromHint) firstFreeHint_ = u;
            } else {
                if (run == 0) runStart = u;
                run += kUnitsPerPage;
                u += kUnitsPerPage;
                found = run >= wanted;
                fromHint = false;
            }
            continue;
        }
        const uint64_t base = u - inPage % 64;
        uint64_t word;
        std::memcpy(&word, page.bits.data() + (inPage - inPage % 64) / 8, 8);  // little-endian: bit i = unit base+i
        uint32_t at = uint32_t(inPage % 64);
        while (at < 64 && !found) {
            const uint64_t rest = word >> at;  // zeros come in above the word's end
            if (rest & 1) {
                run = 0;
                at += uint32_t(std::countr_one(rest));
                if (fromHint) firstFreeHint_ = base + at;
                continue;
            }
            const uint32_t free = std::min<uint32_t>(uint32_t(std::countr_zero(rest)), 64 - at);
            if (run == 0) runStart = base + at;
            fromHint = false;
            if (run + free >= wanted) {
                found = true;
                at += uint32_t(wanted - run);
                run = wanted;
            } else {
                run += free;
                at += free;
            }
        }
        u = base + at;
    }
    // Nothing fits: the trailing free run of the last page, else the end.
    uint64_t start = run > 0 ? runStart : logicalEnd_ / kUnitSize;
    const uint64_t resumeAt = run > 0 ? runStart : total;

    // Where the logical end and the page table would go, checked before
    // anything changes.
    uint64_t end = std::max<uint64_t>(logicalEnd_, RoundUp(start * kUnitSize + size, kUnitSize));
    std::vector<uint32_t> newPages;
    for (uint64_t pages = pages_.size(); pages < RoundUp(end, kBytesPerPage) / kBytesPerPage; ++pages) {
        if (pages >= kMaxPages) return dskFulErr;
        uint64_t offset = RoundUp(end, kPageBytes);
        newPages.push_back(uint32_t(offset));
        end = offset + kPageBytes;
    }
    if (end > uint64_t(kMaxPages) * kBytesPerPage) return dskFulErr;

    // Everything that may throw comes before the first change.
    // Growth by half at a time: reserving only what is needed would copy
    // every page each time the file gains one.
    auto roomFor = [](auto& v, size_t extra) {
        if (v.size() + extra > v.capacity()) v.reserve(std::max(v.size() + extra, v.capacity() + v.capacity() / 2));
    };
    roomFor(table_, newPages.size());
    roomFor(pages_, newPages.size());
    auto [freshAt, added] = fresh_.emplace(start, start + wanted);
    if (!added) freshAt->second = std::max(freshAt->second, start + wanted);

    logicalEnd_ = uint32_t(end);
    for (uint32_t offset : newPages) {
        table_.push_back(offset);
        pages_.emplace_back();
        pages_.back().dirty = true;
    }
    for (uint32_t offset : newPages) SetUnits(offset / kUnitSize, kPageBytes / kUnitSize, true);
    if (!newPages.empty()) NoteTableChanged();
    SetUnits(start, wanted, true);
    if (start == firstFreeHint_) firstFreeHint_ = start + wanted;
    try {
        scanFrom_[wanted] = ScanMemo{resumeAt, givenBack_};
    } catch (const std::bad_alloc&) {
        // Only a shortcut for the next search is lost.
    }
    *place = uint32_t(start * kUnitSize);
    return noErr;
}

void BitmapPages::FreePlace(uint32_t offset, uint32_t length) noexcept
{
    if (length == 0) return;
    // A whole place allocated since the last commit: no committed header
    // reaches it, so it is free at once. Kept until the commit, a resource
    // rewritten again and again as it grows (the names table of a document
    // being filled) would leave every size it had behind it in the file.
    const uint64_t first = offset / kUnitSize;
    const uint64_t end = (uint64_t(offset) + length - 1) / kUnitSize + 1;
    const auto fresh = fresh_.find(first);
    if (fresh != fresh_.end() && fresh->second == end) {
        fresh_.erase(fresh);
        SetUnits(first, end - first, false);
        firstFreeHint_ = std::min(firstFreeHint_, first);
        // The only free run that changes is the one now holding these
        // units: the searches' memos go back to where it starts.
        uint64_t runStart = first;
        for (uint64_t back = 0; runStart > 0 && !IsUnitSet(uint32_t(runStart - 1)); ++back, --runStart)
            if (back == kUnitsPerPage) {
                ForgetMemos();
                return;
            }
        try {
            ++givenBack_;
            while (!runStarts_.empty() && runStarts_.back().second >= runStart) runStarts_.pop_back();
            runStarts_.emplace_back(givenBack_, runStart);
        } catch (const std::bad_alloc&) {
            ForgetMemos();
        }
        return;
    }
    try {
        freed_.emplace_back(offset, length);
    } catch (const std::bad_alloc&) {
        // The units stay allocated: space lost in the file, nothing broken.
    }
}

bool BitmapPages::IsFresh(uint32_t offset, uint32_t length) const
{
    const uint64_t first = offset / kUnitSize;
    const uint64_t end = (uint64_t(offset) + std::max<uint32_t>(length, 1) - 1) / kUnitSize + 1;
    auto it = fresh_.upper_bound(first);
    if (it == fresh_.begin()) return false;
    --it;
    return it->first <= first && end <= it->second;
}

bool BitmapPages::TestLiberePlace(uint32_t offset, uint32_t length) const
{
    if (length == 0) return false;
    const uint64_t first = offset / kUnitSize, last = (uint64_t(offset) + length - 1) / kUnitSize;
    for (const auto& [o, l] : freed_) {
        const uint64_t f = o / kUnitSize, e = (uint64_t(o) + l - 1) / kUnitSize;
        if (f <= last && first <= e) return true;
    }
    return false;
}

void BitmapPages::ReleaseFreed()
{
    for (const auto& [offset, length] : freed_) {
        uint64_t first = offset / kUnitSize;
        uint64_t last = (uint64_t(offset) + length - 1) / kUnitSize;
        SetUnits(first, last - first + 1, false);
        firstFreeHint_ = std::min(firstFreeHint_, first);
    }
    if (!freed_.empty()) ForgetMemos();
    freed_.clear();
    fresh_.clear();
}

bool BitmapPages::AnyDirty() const
{
    return std::any_of(pages_.begin(), pages_.end(), [](const BitmapPage& p) { return p.dirty; });
}

OSErr BitmapPages::WriteDirtyPages(ContainerFork& fork)
{
    for (size_t p = 0; p < pages_.size(); ++p) {
        if (!pages_[p].dirty) continue;
        OSErr err = fork.WriteAt(table_[p], pages_[p].bits.data(), kPageBytes, logicalEnd_);
        if (err != noErr) return err;
        pages_[p].dirty = false;
    }
    return noErr;
}

}  // namespace container
