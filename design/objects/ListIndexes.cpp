#include "design/objects/ListIndexes.h"

#include <algorithm>
#include <array>
#include <new>
#include <unordered_set>
#include <utility>
#include <vector>

#include "design/objects/ObjQz.h"

namespace listindex {
namespace {

constexpr int32_t kLookupsBeforeGathering = 8;

struct Kept {
    ObjListHdl list = nullptr;
    uint64_t stamp = 0;
    uint64_t idGeneration = 0;
    int32_t idLookups = 0, tableLookups = 0;
    bool idsReady = false, tablesReady = false;
    std::vector<std::pair<int16_t, int32_t>> ids;  // (id, place), ascending
    std::vector<int32_t> tables;
};

// A few lists are looked up in turn (the string lists, the menus, the
// table list...): one slot each, the oldest given up for a new list.
std::array<Kept, 8> gKept;
size_t gNext = 0;

Kept& For(ObjListHdl list)
{
    Kept* slot = nullptr;
    for (Kept& k : gKept)
        if (k.list == list) slot = &k;
    if (!slot) {
        slot = &gKept[gNext];
        gNext = (gNext + 1) % gKept.size();
        slot->list = list;
        slot->stamp = ~list->stamp;  // never equal: reset below
    }
    if (slot->stamp != list->stamp) {
        slot->stamp = list->stamp;
        slot->idLookups = slot->tableLookups = 0;
        slot->idsReady = slot->tablesReady = false;
        slot->ids.clear();
        slot->tables.clear();
    }
    if (slot->idGeneration != ObjIdGeneration()) {
        slot->idGeneration = ObjIdGeneration();
        slot->idLookups = 0;
        slot->idsReady = false;
        slot->ids.clear();
    }
    return *slot;
}

// Shorter lists are walked: a set would not pay for itself.
constexpr int32_t kMembersFrom = 64;

// The set of a list's entries, kept while its `rewritten` stays: entries
// appended since are taken in at the next look-up.
struct Members {
    ObjListHdl list = nullptr;
    uint64_t rewritten = 0;
    int32_t lookups = 0, taken = 0;
    bool ready = false;
    std::unordered_set<const TObjQz*> set;

    void Reset(ObjListHdl l) noexcept
    {
        list = l;
        rewritten = l->rewritten;
        lookups = taken = 0;
        ready = false;
        set.clear();
    }
};

// Apart from the tables above, so that membership tests do not push out
// the tables a read relies on.
std::array<Members, 4> gMembers;
size_t gNextMembers = 0;

}  // namespace

bool FirstWithId(ObjListHdl list, int16_t id, int32_t* at)
{
    if (!list) return false;
    Kept& k = For(list);
    if (!k.idsReady) {
        if (++k.idLookups < kLookupsBeforeGathering) return false;
        try {
            k.ids.reserve(size_t(list->Size()));
            for (int32_t i = 0; i < list->Size(); ++i) k.ids.emplace_back(list->At(i)->id, i);
        } catch (const std::bad_alloc&) {
            k.ids.clear();
            k.idLookups = 0;
            return false;
        }
        std::sort(k.ids.begin(), k.ids.end());
        k.idsReady = true;
    }
    const auto found = std::lower_bound(k.ids.begin(), k.ids.end(), std::make_pair(id, int32_t(-1)));
    *at = found != k.ids.end() && found->first == id ? found->second : -1;
    return true;
}

const int32_t* TablePlaces(ObjListHdl list, int32_t* count)
{
    *count = 0;
    if (!list) return nullptr;
    Kept& k = For(list);
    if (!k.tablesReady) {
        if (++k.tableLookups < kLookupsBeforeGathering) return nullptr;
        try {
            for (int32_t i = 0; i < list->Size(); ++i)
                if (list->At(i)->kind == 1) k.tables.push_back(i);
        } catch (const std::bad_alloc&) {
            k.tables.clear();
            k.tableLookups = 0;
            return nullptr;
        }
        k.tablesReady = true;
    }
    *count = int32_t(k.tables.size());
    return k.tables.data();
}

bool Holds(ObjListHdl list, const TObjQz* obj, bool* held)
{
    if (list->Size() < kMembersFrom) return false;
    Members* m = nullptr;
    for (Members& kept : gMembers)
        if (kept.list == list) m = &kept;
    if (!m) {
        m = &gMembers[gNextMembers];
        gNextMembers = (gNextMembers + 1) % gMembers.size();
        m->Reset(list);
    } else if (m->rewritten != list->rewritten) {
        m->Reset(list);
    }
    if (!m->ready && ++m->lookups < kLookupsBeforeGathering) return false;
    try {
        for (; m->taken < list->Size(); ++m->taken) m->set.insert(list->At(m->taken));
    } catch (const std::bad_alloc&) {
        m->Reset(list);
        return false;
    }
    m->ready = true;
    *held = m->set.count(obj) != 0;
    return true;
}

}  // namespace listindex
