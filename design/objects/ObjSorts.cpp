#include "design/objects/ObjSorts.h"

#include <utility>

#include "design/objects/ObjKinds.h"
#include "design/objects/ObjList.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"

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

namespace {

// Groups follow every other kind.
int32_t KindKey(const TObjQz* obj) { return obj->kind == 23 ? 32767 : obj->kind; }

// -1 when a's kind comes first, 1 when after, 0 when equal.
int KindOrder(const TObjQz* a, const TObjQz* b)
{
    const int32_t ka = KindKey(a), kb = KindKey(b);
    return ka < kb ? -1 : ka > kb ? 1 : 0;
}

// A name beginning with "@" comes before any other.
bool AtNameAfter(const unsigned char* a, const unsigned char* b, bool ordering)
{
    const bool atA = a[0] > 0 && a[1] == '@', atB = b[0] > 0 && b[1] == '@';
    if (atA != atB) return atB;
    return CompareStringQz(a, b, ordering) == kGreater;
}

void SortList(ObjListHdl list, const std::function<bool(TObjQz*, TObjQz*)>& sameKindAfter)
{
    if (!list) return;
    TObjQz** e = list->entries;
    DiminishingGapSort(
        list->Size(),
        [&](int32_t i, int32_t j) {
            const int k = KindOrder(e[i], e[j]);
            return k != 0 ? k > 0 : sameKindAfter(e[i], e[j]);
        },
        [&](int32_t i, int32_t j) { std::swap(e[i], e[j]); });
}

}  // namespace

void Shell_IdSort(ObjListHdl list)
{
    SortList(list, [](TObjQz* a, TObjQz* b) { return a->id > b->id; });
}

void ShellStrictSort(ObjListHdl list)
{
    SortList(list, [](TObjQz* a, TObjQz* b) { return CompareStringQz(a->name, b->name, false) == kGreater; });
}

bool TypeSortAfter(const TObjQz* a, const TObjQz* b)
{
    const int k = KindOrder(a, b);
    if (k != 0) return k > 0;
    return a->kind == 5 && b->kind == 5 &&
           static_cast<const TMBarObjQz*>(a)->libaSlot > static_cast<const TMBarObjQz*>(b)->libaSlot;
}

void ShellSortType(ObjListHdl list)
{
    if (!list) return;
    TObjQz** e = list->entries;
    DiminishingGapSort(
        list->Size(), [&](int32_t i, int32_t j) { return TypeSortAfter(e[i], e[j]); },
        [&](int32_t i, int32_t j) { std::swap(e[i], e[j]); });
}

void ShellSortFullName(ObjListHdl list)
{
    SortList(list, [](TObjQz* a, TObjQz* b) {
        unsigned char na[256], nb[256];
        a->GetFullName(na);
        b->GetFullName(nb);
        const bool atA = na[0] > 0 && na[1] == '@', atB = nb[0] > 0 && nb[1] == '@';
        if (atA != atB) return atB;
        return rel2str(na, nb) == kGreater;
    });
}

void ShellSort(ObjListHdl list)
{
    SortList(list, [](TObjQz* a, TObjQz* b) {
        unsigned char na[256], nb[256];
        a->GetStructName(na);
        b->GetStructName(nb);
        return AtNameAfter(na, nb, false);
    });
}
