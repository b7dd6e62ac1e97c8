#include "design/objects/ObjSorts.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "design/objects/ObjKinds.h"
#include "design/objects/ObjList.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "kernel/collation/SortKey.h"

void DiminishingGapSort(int32_t n, const std::function<bool(int32_t, int32_t)>& after,
                        const std::function<void(int32_t, int32_t)>& swap)
{
    if (n <= 1) return;
    int32_t gap = n;
    do {
        gap /= 2;
        bool exchanged = true;
        while (exchanged) {
            exchanged = false;
            for (int32_t i = 0; i + gap < n; ++i)
                if (after(i, i + gap)) {
                    swap(i, i + gap);
                    exchanged = true;
                }
        }
    } while (gap > 1);
}

std::vector<int32_t> GapSortOrder(const std::vector<uint32_t>& rank)
{
    const int32_t n = int32_t(rank.size());
    std::vector<int32_t> order(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) order[size_t(i)] = i;
    if (n <= 1) return order;
    auto before = [&](int32_t a, int32_t b) { return rank[size_t(a)] < rank[size_t(b)]; };
    std::vector<int32_t> chain;
    int32_t gap = n;
    do {
        gap /= 2;
        for (int32_t start = 0; start < gap; ++start) {
            chain.clear();
            for (int32_t i = start; i < n; i += gap) chain.push_back(order[size_t(i)]);
            if (std::is_sorted(chain.begin(), chain.end(), before)) continue;
            if (chain.size() <= 16) {
                // Short chains: an insertion sort, stable as the passes are.
                for (size_t i = 1; i < chain.size(); ++i)
                    for (size_t j = i; j > 0 && before(chain[j], chain[j - 1]); --j) std::swap(chain[j], chain[j - 1]);
            } else {
                std::stable_sort(chain.begin(), chain.end(), before);
            }
            size_t k = 0;
            for (int32_t i = start; i < n; i += gap) order[size_t(i)] = chain[k++];
        }
    } while (gap > 1);
    return order;
}

namespace {

// Groups follow every other kind.
int32_t KindKey(const TObjQz* obj) { return obj->kind == 23 ? 32767 : obj->kind; }

// One entry's sort key: a number deciding first, then bytes compared as
// unsigned values, a prefix first. The bytes live in one buffer per sort.
struct SortEntry {
    int64_t major = 0;
    uint64_t head = 0, head2 = 0;  // the first sixteen bytes, big-endian, zeros past the end
    uint32_t at = 0, length = 0;
};

class KeyedEntries {
public:
    explicit KeyedEntries(int32_t n)
    {
        entries_.reserve(size_t(n));
        bytes_.reserve(size_t(n) * 48);
    }
    // Starts an entry; its bytes are what is appended to Bytes() until the next.
    void Add(int64_t major)
    {
        Close();
        entries_.push_back(SortEntry{major, 0, 0, uint32_t(bytes_.size()), 0});
    }
    std::string* Bytes() { return &bytes_; }

    // The order of the entries as the exchange sort leaves them; with
    // `tieBefore`, entries of equal keys in its order instead.
    std::vector<int32_t> Order(const std::function<bool(int32_t, int32_t)>& tieBefore = nullptr)
    {
        Close();
        const int32_t n = int32_t(entries_.size());
        std::vector<int32_t> sorted(static_cast<size_t>(n));
        for (int32_t i = 0; i < n; ++i) sorted[size_t(i)] = i;
        auto compare = [&](int32_t a, int32_t b) { return Compare(entries_[size_t(a)], entries_[size_t(b)]); };
        bool inOrder = true;
        for (int32_t i = 1; i < n && inOrder; ++i) inOrder = compare(i - 1, i) <= 0;
        // Entries already in order take no exchange.
        if (inOrder) return tieBefore ? SortTies(sorted, compare, tieBefore) : sorted;
        // Sorted with the deciding numbers beside each index, so that most
        // comparisons read no entry.
        struct Item {
            int64_t major;
            uint64_t head, head2;
            int32_t index;
        };
        std::vector<Item> items(static_cast<size_t>(n));
        for (int32_t i = 0; i < n; ++i) {
            const SortEntry& e = entries_[size_t(i)];
            items[size_t(i)] = Item{e.major, e.head, e.head2, i};
        }
        std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
            if (a.major != b.major) return a.major < b.major;
            if (a.head != b.head) return a.head < b.head;
            if (a.head2 != b.head2) return a.head2 < b.head2;
            return compare(a.index, b.index) < 0;
        });
        for (int32_t i = 0; i < n; ++i) sorted[size_t(i)] = items[size_t(i)].index;
        bool ties = false;
        for (int32_t i = 1; i < n && !ties; ++i) ties = compare(sorted[size_t(i - 1)], sorted[size_t(i)]) == 0;
        // Distinct keys have one order; equal ones are placed as the
        // exchanges place them, or by the tie's own order.
        if (!ties) return sorted;
        if (tieBefore) return SortTies(sorted, compare, tieBefore);
        std::vector<uint32_t> rank(static_cast<size_t>(n));
        uint32_t r = 0;
        for (int32_t i = 0; i < n; ++i) {
            if (i > 0 && compare(sorted[size_t(i - 1)], sorted[size_t(i)]) != 0) ++r;
            rank[size_t(sorted[size_t(i)])] = r;
        }
        return GapSortOrder(rank);
    }

private:
    // Each run of equal keys of `sorted` put in the tie's order.
    template <typename Compare>
    static std::vector<int32_t> SortTies(std::vector<int32_t> sorted, const Compare& compare,
                                         const std::function<bool(int32_t, int32_t)>& tieBefore)
    {
        const int32_t n = int32_t(sorted.size());
        for (int32_t from = 0; from < n;) {
            int32_t to = from + 1;
            while (to < n && compare(sorted[size_t(from)], sorted[size_t(to)]) == 0) ++to;
            if (to - from > 1) std::stable_sort(sorted.begin() + from, sorted.begin() + to, tieBefore);
            from = to;
        }
        return sorted;
    }
    void Close()
    {
        if (entries_.empty()) return;
        SortEntry& e = entries_.back();
        e.length = uint32_t(bytes_.size()) - e.at;
        for (uint32_t i = 0; i < 16; ++i) {
            uint64_t& part = i < 8 ? e.head : e.head2;
            part = part << 8 | (i < e.length ? uint8_t(bytes_[e.at + i]) : 0);
        }
    }
    int Compare(const SortEntry& a, const SortEntry& b) const
    {
        if (a.major != b.major) return a.major < b.major ? -1 : 1;
        // Most keys differ in their first bytes: comparisons of numbers.
        if (a.head != b.head) return a.head < b.head ? -1 : 1;
        if (a.head2 != b.head2) return a.head2 < b.head2 ? -1 : 1;
        const int c = std::memcmp(bytes_.data() + a.at, bytes_.data() + b.at, std::min(a.length, b.length));
        if (c != 0) return c;
        return a.length == b.length ? 0 : a.length < b.length ? -1 : 1;
    }

    std::vector<SortEntry> entries_;
    std::string bytes_;
};

// Puts the list's entries in the order given (old indices, new order).
void Reorder(ObjListHdl list, const std::vector<int32_t>& order)
{
    std::vector<TObjQz*> old(list->entries, list->entries + list->Size());
    for (size_t i = 0; i < order.size(); ++i) list->entries[i] = old[size_t(order[i])];
    StampObjList(list);
}

// A name beginning with "@" comes before any other.
bool AtName(const unsigned char* name) { return name[0] > 0 && name[1] == '@'; }

bool AtNameAfter(const unsigned char* a, const unsigned char* b, bool ordering)
{
    const bool atA = AtName(a), atB = AtName(b);
    if (atA != atB) return atB;
    return (ordering ? rel2str(a, b) : CompareStringQz(a, b, false)) == kGreater;
}

// The exchange sort itself, for a collation whose comparison has no keys.
void SortComparing(ObjListHdl list, const std::function<bool(TObjQz*, TObjQz*)>& sameKindAfter)
{
    TObjQz** e = list->entries;
    DiminishingGapSort(
        list->Size(),
        [&](int32_t i, int32_t j) {
            const int32_t ka = KindKey(e[i]), kb = KindKey(e[j]);
            return ka != kb ? ka > kb : sameKindAfter(e[i], e[j]);
        },
        [&](int32_t i, int32_t j) { std::swap(e[i], e[j]); });
}

// Names equal under a collation told apart by their bytes, then by id: an
// order that does not depend on the entries' order before. Each name is
// taken once, when a tie first needs it: most lists have no tie.
class TieOrder {
public:
    TieOrder(ObjListHdl list, void (*nameOf)(TObjQz*, unsigned char*)) : list_(list), nameOf_(nameOf) {}
    // Entries i and j of the list as it stood.
    bool Before(int32_t i, int32_t j)
    {
        const std::string& a = NameOf(i);
        const std::string& b = NameOf(j);
        if (a != b) return a < b;
        return list_->At(i)->id < list_->At(j)->id;
    }

private:
    const std::string& NameOf(int32_t i)
    {
        if (names_.empty()) {
            names_.resize(size_t(list_->Size()));
            made_.assign(size_t(list_->Size()), false);
        }
        if (!made_[size_t(i)]) {
            unsigned char name[256];
            nameOf_(list_->At(i), name);
            names_[size_t(i)].assign(reinterpret_cast<const char*>(name + 1), name[0]);
            made_[size_t(i)] = true;
        }
        return names_[size_t(i)];
    }

    ObjListHdl list_;
    void (*nameOf_)(TObjQz*, unsigned char*);
    std::vector<std::string> names_;
    std::vector<bool> made_;
};

// Kind, then the name `nameOf` gives: "@" names first when `atRule`, then
// the collation (the ordering one when `ordering`); with `total`, equal
// names by TieOrder.
void SortByName(ObjListHdl list, void (*nameOf)(TObjQz*, unsigned char*), bool atRule, bool ordering, bool total = false)
{
    if (!list || list->Size() <= 1) return;
    const CollationKeys keys(ordering);
    // Compiled references compare as numbers, which no key says.
    if (!keys.Available() || (ordering && testcompilo_relstr != 0)) {
        auto after = [&](TObjQz* a, TObjQz* b) {
            unsigned char na[256], nb[256];
            nameOf(a, na);
            nameOf(b, nb);
            if (atRule) return AtNameAfter(na, nb, ordering);
            return (ordering ? rel2str(na, nb) : CompareStringQz(na, nb, false)) == kGreater;
        };
        if (!total) {
            SortComparing(list, after);
            return;
        }
        std::vector<int32_t> order(static_cast<size_t>(list->Size()));
        for (int32_t i = 0; i < list->Size(); ++i) order[size_t(i)] = i;
        TObjQz** e = list->entries;
        TieOrder ties(list, nameOf);
        std::stable_sort(order.begin(), order.end(), [&](int32_t i, int32_t j) {
            const int32_t ki = KindKey(e[i]), kj = KindKey(e[j]);
            if (ki != kj) return ki < kj;
            if (after(e[j], e[i])) return true;
            if (after(e[i], e[j])) return false;
            return ties.Before(i, j);
        });
        Reorder(list, order);
        return;
    }
    KeyedEntries entries(list->Size());
    for (int32_t i = 0; i < list->Size(); ++i) {
        TObjQz* obj = list->At(i);
        unsigned char name[256];
        nameOf(obj, name);
        entries.Add(KindKey(obj));
        if (atRule) entries.Bytes()->push_back(AtName(name) ? '\0' : '\1');
        keys.Append(name + 1, name[0], entries.Bytes());
    }
    TieOrder ties(list, nameOf);
    Reorder(list, total ? entries.Order([&](int32_t i, int32_t j) { return ties.Before(i, j); }) : entries.Order());
}

}  // namespace

void Shell_IdSort(ObjListHdl list)
{
    if (!list || list->Size() <= 1) return;
    KeyedEntries entries(list->Size());
    for (int32_t i = 0; i < list->Size(); ++i) {
        const TObjQz* obj = list->At(i);
        entries.Add(int64_t(KindKey(obj)) * 65536 + obj->id);
    }
    Reorder(list, entries.Order());
}

void ShellStrictSort(ObjListHdl list)
{
    SortByName(list, [](TObjQz* o, unsigned char* out) { std::memcpy(out, o->name, size_t(o->name[0]) + 1); }, false,
               false);
}

bool TypeSortAfter(const TObjQz* a, const TObjQz* b)
{
    const int32_t ka = KindKey(a), kb = KindKey(b);
    if (ka != kb) return ka > kb;
    return a->kind == 5 && b->kind == 5 &&
           static_cast<const TMBarObjQz*>(a)->libaSlot > static_cast<const TMBarObjQz*>(b)->libaSlot;
}

void ShellSortType(ObjListHdl list)
{
    if (!list || list->Size() <= 1) return;
    // Objects of one kind keep their order; menu bars follow their slots.
    std::stable_sort(list->entries, list->entries + list->Size(),
                     [](const TObjQz* a, const TObjQz* b) { return TypeSortAfter(b, a); });
    StampObjList(list);
}

void ShellSortFullName(ObjListHdl list)
{
    SortByName(list, [](TObjQz* o, unsigned char* out) { o->GetFullName(out); }, true, true);
}

void ShellSort(ObjListHdl list)
{
    SortByName(list, [](TObjQz* o, unsigned char* out) { o->GetStructName(out); }, true, false);
}

void SortShownLinks(ObjListHdl list)
{
    SortByName(list, [](TObjQz* o, unsigned char* out) { o->GetStructName(out); }, true, false, true);
}
