// A table's links: its method and forms parse with it, and every field
// related to a field of another table links the table, the other table
// and the field to that field.
#include "app/documents/MainDoc.h"
#include "app/dialogs/WaitDialog.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/links/ParseSupport.h"
#include "design/links/XRef.h"
#include "kernel/fields/FieldTypes.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

constexpr size_t kHeaderSize = 30;
constexpr size_t kEntrySize = 66;

TObjQz* FieldNumbered(TFileObjQz* table, int16_t k)
{
    ObjListHdl members = table->members;
    for (int32_t i = 0; members && i < members->Size(); ++i)
        if (members->At(i)->kind == 28 && members->At(i)->id == k) return members->At(i);
    return nullptr;
}

}  // namespace

TObjQz* EntryRelatedField(TObjQz* table, const ByteView& fiqz, size_t entry)
{
    ChampOper op;
    int16_t depth = 0;
    if (!fiqz.S16(entry + 40, &op.table) || !fiqz.S16(entry + 42, &op.field) || !fiqz.S16(entry + 50, &depth))
        return nullptr;
    // The entry has room for four levels.
    if (op.table == 0 || depth < 0 || depth > 4) return nullptr;
    op.depth = depth;
    for (int32_t l = 1; l <= depth; ++l)
        if (!fiqz.S16(entry + 52 + size_t(l - 1) * 2, &op.path[l])) return nullptr;
    return SearchCritObj(table, table && table->owner ? table->owner->fTypeList : nullptr, op);
}

int16_t TFileObjQz::Parse()
{
    if (ParseOnce(this)) return 0;
    ParseResFile current(owner);
    if (ParseCancelled()) return kCancelledByUser;
    if (method && method->Parse() == kCancelledByUser) return kCancelledByUser;
    if (ParseCancelled()) return kCancelledByUser;
    for (int32_t i = 0; forms && i < forms->Size(); ++i) {
        if (forms->At(i)->Parse() == kCancelledByUser) return kCancelledByUser;
        if (ParseCancelled()) return kCancelledByUser;
    }
    int16_t result = 0;
    platform::Handle h = xget1res(platform::FourCC("FIQz"), id);
    if (h) {
        resTime = xgetrestimestamp(h);
        resSize = uint32_t(platform::GetHandleSize(h));
        const ByteView fiqz = ByteView::Of(h);
        int16_t count = 0;
        fiqz.S16(0, &count);
        for (int32_t k = 1; k <= count && result == 0; ++k) {
            const size_t entry = kHeaderSize + size_t(k - 1) * kEntrySize;
            if (!fiqz.Has(entry, kEntrySize)) break;
            if (fiqz.data[entry + 32] == fieldtype::kSubtable) continue;
            TObjQz* related = EntryRelatedField(this, fiqz, entry);
            if (!related) continue;
            result = XRef(this, related);
            if (result == 0 && related->GetOwnerObj()) result = XRef(this, related->GetOwnerObj());
            if (result == 0) result = XRef(FieldNumbered(this, k), related);
        }
    }
    return CheckParseError(result);
}
