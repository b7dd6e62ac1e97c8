#include "app/longlist/LongListRowIndex.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

struct LongListRowIndex {
    // (object, row), ascending.
    std::vector<std::pair<uintptr_t, int32_t>> pairs;
    // Changes kept up since the last question.
    int32_t edits = 0;
};

namespace {

// Each change costs a pass over the index; past this many without a
// question, making it again at the next one costs less.
constexpr int32_t kEditsKept = 16;

using Pair = std::pair<uintptr_t, int32_t>;

// The index when it is to be kept up to date for one more change.
LongListRowIndex* Kept(LongListHandle list)
{
    LongListRowIndex* index = list ? list->rowIndex : nullptr;
    if (!index) return nullptr;
    if (++index->edits > kEditsKept) {
        RowIndexDrop(list);
        return nullptr;
    }
    return index;
}

// Sorts pairs given in row order by object, rows ascending for an object:
// a stable sort on the object alone, sixteen bits at a time.
void SortByObject(std::vector<Pair>* pairs)
{
    uintptr_t bits = 0;
    for (const Pair& p : *pairs) bits |= p.first;
    std::vector<Pair> other(pairs->size());
    std::vector<uint32_t> count(size_t(1) << 16);
    for (int shift = 0; shift < int(sizeof(uintptr_t) * 8) && (bits >> shift) != 0; shift += 16) {
        std::fill(count.begin(), count.end(), 0);
        for (const Pair& p : *pairs) ++count[(p.first >> shift) & 0xFFFF];
        uint32_t at = 0;
        for (uint32_t& c : count) {
            const uint32_t n = c;
            c = at;
            at += n;
        }
        for (const Pair& p : *pairs) other[count[(p.first >> shift) & 0xFFFF]++] = p;
        pairs->swap(other);
    }
}

}  // namespace

void RowIndexDrop(LongListHandle list)
{
    if (!list) return;
    delete list->rowIndex;
    list->rowIndex = nullptr;
}

void RowIndexRowsAdded(LongListHandle list, int32_t position, int32_t count)
{
    LongListRowIndex* index = Kept(list);
    if (!index) return;
    // New rows are empty; the rows below move down, each object's rows in
    // the same order as before.
    for (Pair& p : index->pairs)
        if (p.second >= position) p.second += count;
}

void RowIndexRowsRemoved(LongListHandle list, int32_t position, int32_t count)
{
    LongListRowIndex* index = Kept(list);
    if (!index) return;
    const int32_t end = position + count;
    auto& pairs = index->pairs;
    pairs.erase(std::remove_if(pairs.begin(), pairs.end(),
                               [&](const Pair& p) { return p.second >= position && p.second < end; }),
                pairs.end());
    for (Pair& p : pairs)
        if (p.second >= end) p.second -= count;
}

void RowIndexCellSet(LongListHandle list, int32_t row, const void* before, const void* after)
{
    if (before == after) return;
    LongListRowIndex* index = Kept(list);
    if (!index) return;
    auto& pairs = index->pairs;
    try {
        if (before) {
            const Pair old{reinterpret_cast<uintptr_t>(before), row};
            auto it = std::lower_bound(pairs.begin(), pairs.end(), old);
            if (it != pairs.end() && *it == old) pairs.erase(it);
        }
        if (after) {
            const Pair now{reinterpret_cast<uintptr_t>(after), row};
            pairs.insert(std::lower_bound(pairs.begin(), pairs.end(), now), now);
        }
    } catch (const std::bad_alloc&) {
        RowIndexDrop(list);  // made again, or walked, at the next question
    }
}

namespace {

int32_t WalkRows(const void* object, LongListHandle list)
{
    const char* row = *list->rows;
    for (int32_t r = 0; r < list->rowCount; ++r, row += list->rowLength) {
        const void* held = nullptr;
        std::memcpy(&held, row, sizeof held);
        if (held == object) return r;
    }
    return -1;
}

}  // namespace

int32_t LongLFindRow(const void* object, LongListHandle list)
{
    if (!list || !object || list->rowLength < kObjectRowLength) return -1;
    if (!list->rowIndex) {
        // One question costs a walk; the index pays only when the same
        // rows are asked about again.
        if (!list->walked || list->walkedVersion != list->rowVersion) {
            list->walked = true;
            list->walkedVersion = list->rowVersion;
            return WalkRows(object, list);
        }
        auto* index = new (std::nothrow) LongListRowIndex;
        try {
            if (index) {
                index->pairs.reserve(size_t(list->rowCount));
                for (int32_t r = 0; r < list->rowCount; ++r)
                    if (void* o = LongLRowObject(r, list)) index->pairs.emplace_back(reinterpret_cast<uintptr_t>(o), r);
                SortByObject(&index->pairs);
            }
        } catch (const std::bad_alloc&) {
            delete index;
            index = nullptr;
        }
        if (!index) return WalkRows(object, list);  // no memory for the index: the same answer
        list->rowIndex = index;
    }
    LongListRowIndex* index = list->rowIndex;
    index->edits = 0;
    const uintptr_t key = reinterpret_cast<uintptr_t>(object);
    auto it = std::lower_bound(index->pairs.begin(), index->pairs.end(), Pair{key, INT32_MIN});
    return it != index->pairs.end() && it->first == key ? it->second : -1;
}
