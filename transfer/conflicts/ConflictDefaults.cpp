#include "transfer/conflicts/ConflictDefaults.h"

#include <new>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "design/objects/ObjQz.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfer {

platform::Handle G_Filters = nullptr;

namespace {

constexpr platform::Size kFiltersSize = kConflictCodes * 2;

int16_t* Entries(platform::Handle filters) { return reinterpret_cast<int16_t*>(*filters); }

// Makes `filters` hold 131 zero entries.
int16_t Clear(platform::Handle filters)
{
    if (!filters) return platform::memFullErr;
    if (platform::GetHandleSize(filters) < kFiltersSize) {
        platform::SetHandleSize(filters, kFiltersSize);
        if (platform::MemError() != 0) return platform::memFullErr;
    }
    for (int16_t i = 0; i < kConflictCodes; ++i) Entries(filters)[i] = 0;
    return 0;
}

// The {code, choice} pairs of 'C_PR' `id` in `file` alone (none when the
// file is not open or has no such resource), applied in order.
void ApplyPairs(platform::Handle filters, int16_t file, int16_t id)
{
    if (file <= 0) return;
    const int16_t saved = platform::CurResFile();
    platform::UseResFile(file);
    platform::Handle h = platform::Get1Resource(platform::FourCC("C_PR"), id);
    platform::UseResFile(saved);
    if (!h || !*h) return;
    const int32_t pairs = int32_t(platform::GetHandleSize(h) / 4);
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    for (int32_t i = 0; i < pairs; ++i) {
        const int16_t code = platform::ReadBES16(p + 4 * i);
        if (code > 0 && code <= kConflictCodes) Entries(filters)[code - 1] = platform::ReadBES16(p + 4 * i + 2);
    }
}

// Sorting after each join: a list that was sorted and gained one object
// that does not belong before the last is still sorted, and the sort would
// exchange nothing. This spares a long chain of joins a full sort each.
struct SortState {
    ObjListHdl list = nullptr;
    int32_t sortedSize = -1;
};
SortState gSort;

void SortJoined(ObjListHdl list, int32_t before)
{
    const int32_t size = list->Size();
    const bool wasSorted = gSort.list == list && gSort.sortedSize == before;
    const bool stillSorted =
        wasSorted && (size == before || (size == before + 1 &&
                                          (before == 0 || !TypeSortAfter(list->At(before - 1), list->At(before)))));
    if (!stillSorted) ShellSortType(list);
    gSort.list = list;
    gSort.sortedSize = size;
}

// A record whose default copy joined, and where its sub-list's walk stands.
struct Frame {
    TRConflict* holder;
    int32_t next = 0;
    int32_t end = -1;  // taken when the walk starts, as a copy of the list would be
};

}  // namespace

platform::Handle NewFilters()
{
    platform::Handle h = platform::NewHandleClear(kFiltersSize);
    return h;
}

int16_t MakeCc_Dflt(platform::Handle filters)
{
    if (const int16_t err = Clear(filters)) return err;
    ApplyPairs(filters, G_PrefResFile, 0);
    ProgramC_Pm().ForEach([&](const uint8_t* block) {
        const int16_t code = C_PmTable::Code(block);
        if (code <= 0 || code > kConflictCodes || Entries(filters)[code - 1] != 0) return;
        Entries(filters)[code - 1] = FactoryDefault(block);
    });
    return 0;
}

int16_t MakeCc_Replace(platform::Handle filters)
{
    if (const int16_t err = Clear(filters)) return err;
    ApplyPairs(filters, G_MainResFile, 1);
    return 0;
}

int16_t Cc_Dflt(int16_t code)
{
    if (!G_Filters || code <= 0 || code > kConflictCodes || platform::GetHandleSize(G_Filters) < kFiltersSize) return 0;
    return Entries(G_Filters)[code - 1];
}

int16_t JoinTransferList(ObjListHdl* transfer, TObjQz* obj)
{
    const int32_t before = *transfer ? (*transfer)->Size() : 0;
    if (const int16_t err = obj->SelfAddObjList(transfer, 0)) return err;
    SortJoined(*transfer, before);
    return 0;
}

int16_t MakeDfltCopy(TMainDoc* dest, ObjListHdl* transfer, C_ListHdl list)
{
    if (!transfer || !*transfer) return platform::memFullErr;
    const SortState saved = gSort;
    gSort = SortState{*transfer, -1};
    int16_t result = 0;
    try {
        // Once a record has been visited it never joins again (its source is
        // in the list, or its choice is not a copy, and neither changes), so
        // one cursor over the top level stands for every rescan.
        std::vector<Frame> frames;
        int32_t cursor = 0;
        while (result == 0) {
            if (!GromMemHdl) {
                result = platform::memFullErr;
                break;
            }
            TConflict* record = nullptr;
            if (list && cursor < list->Size()) {
                record = list->At(cursor++);
            } else if (!frames.empty()) {
                Frame& f = frames.back();
                C_ListHdl sub = f.holder->fSubList;
                if (f.end < 0) f.end = sub ? sub->Size() : 0;
                if (f.next >= f.end) {
                    frames.pop_back();
                    continue;
                }
                record = sub->At(f.next++);
            } else {
                break;
            }
            int16_t err = 0;
            const bool joined = record->DfltCopy(dest, transfer, list, &err);
            if (err) result = err;
            else if (joined && record->IsMember(1)) frames.push_back(Frame{static_cast<TRConflict*>(record)});
        }
    } catch (const std::bad_alloc&) {
        result = platform::memFullErr;
    }
    if (result == 0) SortJoined(*transfer, (*transfer)->Size());
    gSort = saved;
    return result;
}

}  // namespace transfer
