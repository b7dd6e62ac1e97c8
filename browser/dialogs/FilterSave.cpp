// Saving the filter dialog's rows as the preferences file's filters.
//
// (1) each row's record is copied, made whole, given its pane bits and
//     the save rules; (2) the copies are added under ids no filter uses
//     and that no row will take; (3) the old filters are taken out of the
//     map; (4) the copies take ids 128, 129... in row order; (5) one update
//     writes the file, which the resource manager replaces whole.
// A failure at any step undoes the steps before it in memory, so the map
// holds the old filters again (the caller gives the loaded ones their
// bytes of the opening back); the file on disk is only ever replaced by
// step (5), whole or not at all.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "app/appl/Preferences.h"
#include "browser/dialogs/DialogDrawing.h"
#include "browser/dialogs/FilterDialog.h"
#include "design/filters/FilterRecord.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

using namespace platform;

namespace browser {

namespace {

constexpr ResType kFLT2 = FourCC("FLT2");
constexpr int16_t kFirstId = 128;
constexpr int16_t kPaneBits[3] = {filterrec::kInUsedByPane, filterrec::kInListPane, filterrec::kInUsesPane};

struct OldFilter {
    Handle h = nullptr;
    int16_t id = 0;
    int16_t attrs = 0;
    Str255 name = {0};
};

struct NewFilter {
    Handle h = nullptr;
    int16_t id = 0;  // the final one
    Str255 name = {0};
    bool added = false;
};

// `count` ids from the top down that no filter holds (`used`, sorted) and
// no row takes.
bool SpareIds(const std::vector<int16_t>& used, int16_t count, std::vector<int16_t>* ids)
{
    for (int32_t id = 32767; id >= kFirstId + count && int16_t(ids->size()) < count; --id)
        if (!std::binary_search(used.begin(), used.end(), int16_t(id))) ids->push_back(int16_t(id));
    return int16_t(ids->size()) == count;
}

// The row's record as it is saved: whole, pane bits from the row.
Handle SavedCopy(ListHandle list, int16_t row, const EditFiltersLink& link)
{
    const int32_t slot = RowSlot(list, row);
    if (slot < 0 || slot >= int32_t(link.records.size()) || !link.records[size_t(slot)]) return nullptr;
    Handle copy = link.records[size_t(slot)];
    if (HandToHand(&copy) != noErr) return nullptr;
    if (filterrec::MakeWhole(copy) != noErr) {
        DisposeHandle(copy);
        return nullptr;
    }
    for (int k = 0; k < 3; ++k) {
        uint8_t cell[kRowLength] = {0};
        int16_t length = kRowLength;
        LGetCell(cell, &length, Cell{row, 0}, list);
        filterrec::PutFlag(copy, kPaneBits[k], length > kRowUsedBy + k && cell[kRowUsedBy + k] != 0);
    }
    filterrec::ApplySaveRules(copy);
    return copy;
}

void DropNew(std::vector<NewFilter>& made)
{
    for (NewFilter& f : made) {
        if (f.added) RemoveResource(f.h);
        DisposeHandle(f.h);
    }
    made.clear();
}

// The first `removed` old filters back in the map as they were.
void PutBack(std::vector<OldFilter>& old, size_t removed)
{
    for (size_t i = 0; i < removed; ++i) {
        AddResource(old[i].h, kFLT2, old[i].id, old[i].name);
        SetResAttrs(old[i].h, old[i].attrs);
    }
}

}  // namespace

OSErr SaveFilters(ListHandle list, const EditFiltersLink& link)
{
    const int16_t saved = CurResFile();
    UseResFile(G_PrefResFile);
    const int16_t count = Count1Resources(kFLT2);
    const int16_t rows = ListRows(list);
    std::vector<OldFilter> old;
    std::vector<int16_t> used, spare;
    std::vector<NewFilter> made;
    // Every vector at its full size before anything changes: nothing below
    // grows one.
    try {
        old.reserve(size_t(std::max<int16_t>(count, 0)));
        used.reserve(size_t(std::max<int16_t>(count, 0)));
        spare.reserve(size_t(std::max<int16_t>(rows, 0)));
        made.reserve(size_t(std::max<int16_t>(rows, 0)));
    } catch (const std::bad_alloc&) {
        UseResFile(saved);
        return memFullErr;
    }
    for (int32_t i = 1; i <= count; ++i) {
        OldFilter f;
        f.h = Get1IndResource(kFLT2, i);
        if (!f.h) continue;
        ResType type = 0;
        GetResInfo(f.h, &f.id, &type, f.name);
        f.attrs = GetResAttrs(f.h);
        used.push_back(f.id);
        old.push_back(f);
    }
    std::sort(used.begin(), used.end());
    OSErr err = SpareIds(used, rows, &spare) ? noErr : addResFailed;
    // (1) and (2)
    for (int16_t row = 0; row < rows && err == noErr; ++row) {
        NewFilter f;
        f.h = SavedCopy(list, row, link);
        if (!f.h) {
            err = memFullErr;
            break;
        }
        f.id = int16_t(kFirstId + row);
        RowName(list, row, f.name);
        made.push_back(f);
        AddResource(f.h, kFLT2, spare[size_t(row)], f.name);
        err = ResError();
        made.back().added = err == noErr;
    }
    // (3)
    size_t removed = 0;
    while (removed < old.size() && err == noErr) {
        RemoveResource(old[removed].h);
        if ((err = ResError()) == noErr) ++removed;
    }
    // (4) and (5)
    for (NewFilter& f : made) {
        if (err != noErr) break;
        SetResInfo(f.h, f.id, f.name);
        if ((err = ResError()) != noErr) break;
        SetResAttrs(f.h, 0);
        ChangedResource(f.h);
        err = ResError();
    }
    if (err == noErr) {
        UpdateResFile(G_PrefResFile);
        err = ResError();
    }
    if (err != noErr) {
        DropNew(made);
        PutBack(old, removed);
    } else {
        for (OldFilter& f : old) DisposeHandle(f.h);
    }
    UseResFile(saved);
    return err;
}

}  // namespace browser
