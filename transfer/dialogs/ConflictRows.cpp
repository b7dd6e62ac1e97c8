#include "transfer/dialogs/ConflictRows.h"

#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/Conflicts.h"

using namespace platform;

namespace transfer {

namespace {

// Menus and plug-in kinds are listed together: menu bars with menus,
// packages with routines.
int16_t Merged(int16_t type) { return type == 5 ? 6 : type == 7 ? 8 : type; }

// The program's 'C_mn' 0 as bytes; null (and 0) when missing.
const uint8_t* KindBytes(int32_t* size)
{
    *size = 0;
    Handle h = GetResource(FourCC("C_mn"), 0);
    if (!h || !*h) return nullptr;
    *size = int32_t(GetHandleSize(h));
    return reinterpret_cast<const uint8_t*>(*h);
}

}  // namespace

int16_t CountFilterTypes()
{
    int32_t size = 0;
    const uint8_t* bytes = KindBytes(&size);
    int16_t n = 0;
    while (bytes && n < size && n < 255 && bytes[n] != 0) ++n;
    return n;
}

int16_t FilterType(int16_t filter)
{
    const int32_t index = int32_t(filter) - kFirstTypeFilter;
    if (index < 0 || index >= CountFilterTypes()) return -1;
    int32_t size = 0;
    return Merged(KindBytes(&size)[index]);
}

bool PassesFilter(const TConflict* record, int16_t filter, int16_t type)
{
    const int16_t own = ChooseTypeObj(record->fCode);
    if (own == 7 || own == 8) return false;
    switch (filter) {
    case kAllFilter: return true;
    case kDirectFilter: return record->fCode > 0 && record->fCode < 100;
    case kIndirectFilter: return record->fCode >= 100;
    default: return type >= 0 && Merged(own) == type;
    }
}

namespace {

struct RowFill {
    LongListHandle rows;
    const TConflict* select;
    int16_t filter, type;
    int32_t* selectRow;
    int16_t err = 0;
};

void AppendRows(C_ListHdl list, int32_t* counter, RowFill* fill)
{
    for (int32_t i = 0; list && i < list->Size() && fill->err == 0; ++i) {
        TConflict* record = list->At(i);
        if (record->fVisible && PassesFilter(record, fill->filter, fill->type)) {
            if (LongLAddRow(1, *counter, fill->rows) < 0) {
                fill->err = memFullErr;
                return;
            }
            LongLSetCell(&record, kObjectRowLength, *counter, fill->rows);
            if (record == fill->select) *fill->selectRow = *counter;
            ++*counter;
        }
        if (record->IsMember(1)) AppendRows(static_cast<TRConflict*>(record)->fSubList, counter, fill);
    }
}

}  // namespace

void SetConflictList(C_ListHdl list, LongListHandle rows, int32_t* counter, const TConflict* select, int16_t filter,
                     int32_t* selectRow)
{
    RowFill fill{rows, select, filter, FilterType(filter), selectRow};
    AppendRows(list, counter, &fill);
}

int16_t SetC_List(LongListHandle rows, C_ListHdl list, const TConflict* select, int16_t filter)
{
    if (!rows) return 0;
    const int32_t top = rows->firstVisible;
    LongLDoDraw(false, rows);
    LongLDelRow(rows->rowCount, 0, rows);
    int32_t counter = 0, selectRow = -1;
    RowFill fill{rows, select, filter, FilterType(filter), &selectRow};
    AppendRows(list, &counter, &fill);
    // Back to the rows that were in view: the top one selected and
    // scrolled to, then let go.
    if (top != -1 && top < rows->rowCount) {
        LongLSetSelect(true, top, rows);
        LongLAutoScroll(rows);
        LongLSetSelect(false, top, rows);
    }
    if (selectRow >= 0) {
        LongLSetSelect(true, selectRow, rows);
        LongLAutoScroll(rows);
    }
    LongLDoDraw(true, rows);
    return fill.err;
}

}  // namespace transfer
