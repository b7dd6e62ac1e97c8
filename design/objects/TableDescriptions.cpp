#include "design/objects/TableDescriptions.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/FormTables.h"

#include <algorithm>
#include <new>

#include "design/documents/DocResources.h"
#include "kernel/fields/FieldTypes.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResourceApi.h"

using platform::FourCC;

platform::Handle hparam = nullptr;
std::vector<TableRecord> ef;

namespace {

// 'FIQz' header and field entries.
constexpr int32_t kTableNumberAt = 6, kFormTableAt = 4, kFieldsAt = 30, kFieldSize = 66;
constexpr int32_t kTypeAt = 32, kSubtableIdAt = 48;
// 'PRQz': table count at 0, table entry n at 78 + (n - 1) x 14.
constexpr int32_t kTablesAt = 78, kTableEntrySize = 14;

// A copy of a resource of the current file; null (with the store's error)
// when missing or when memory runs out.
platform::Handle CopyOf(uint32_t type, int16_t id, int16_t* err)
{
    platform::Handle h = xget1res(type, id);
    if (!h) {
        *err = reserr ? reserr : platform::resNotFound;
        return nullptr;
    }
    platform::Handle copy = h;
    if (platform::HandToHand(&copy) != 0) {
        *err = platform::memFullErr;
        return nullptr;
    }
    return copy;
}

int32_t SizeOf(platform::Handle h) { return h ? int32_t(platform::GetHandleSize(h)) : 0; }

int16_t Load(TabCrit* d, int16_t id, int32_t depth)
{
    if (depth > kMaxDescriptionDepth) return platform::mapReadErr;
    int16_t err = 0;
    d->def = CopyOf(FourCC("FIQz"), id, &err);
    if (!d->def) return err;
    d->SetTableNumber(0);
    auto* p = reinterpret_cast<uint8_t*>(*d->def);
    const int32_t size = SizeOf(d->def);
    if (size < kFieldsAt) return 0;
    d->formTable = CopyOf(FourCC("TFQz"), platform::ReadBES16(p + kFormTableAt), &err);
    if (!d->formTable) return err;
    // Only the entries the record really holds are read.
    int32_t count = platform::ReadBES16(reinterpret_cast<uint8_t*>(*d->def));
    count = std::max(0, std::min(count, (size - kFieldsAt) / kFieldSize));
    d->subtables.resize(size_t(count));
    for (int32_t k = 0; k < count; ++k) {
        const uint8_t* entry = reinterpret_cast<uint8_t*>(*d->def) + kFieldsAt + k * kFieldSize;
        if (entry[kTypeAt] != fieldtype::kSubtable) continue;
        d->subtables[size_t(k)] = std::make_unique<TabCrit>();
        if (const int16_t e = Load(d->subtables[size_t(k)].get(), platform::ReadBES16(entry + kSubtableIdAt), depth + 1))
            return e;
    }
    return 0;
}

}  // namespace

TabCrit::~TabCrit()
{
    if (def) platform::DisposeHandle(def);
    if (formTable) platform::DisposeHandle(formTable);
}

int16_t TabCrit::TableNumber() const
{
    return SizeOf(def) >= kTableNumberAt + 2 ? platform::ReadBES16(reinterpret_cast<uint8_t*>(*def) + kTableNumberAt) : 0;
}

void TabCrit::SetTableNumber(int16_t number)
{
    if (SizeOf(def) >= kTableNumberAt + 2) platform::WriteBE16(reinterpret_cast<uint8_t*>(*def) + kTableNumberAt, uint16_t(number));
}

int16_t _lirecrit(std::unique_ptr<TabCrit>* out, int16_t id)
{
    try {
        *out = std::make_unique<TabCrit>();
        return Load(out->get(), id, 0);
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
}

void DisposeTableRecords()
{
    ef.clear();
    formTableCount = 0;
    // An open document's record stays with its document (DocResources).
    if (IsDocParamRecord(hparam)) return;
    if (hparam) platform::DisposeHandle(hparam);
    hparam = nullptr;
}

int16_t Init_ef()
{
    DisposeTableRecords();
    int16_t err = 0;
    platform::Handle record = CopyOf(FourCC("PRQz"), 0, &err);
    if (!record) return err;
    // The current document's record is replaced, not shadowed.
    if (DocParamRecord(numresfalse)) SetDocParamRecord(numresfalse, record);
    hparam = record;
    const auto* p = reinterpret_cast<const uint8_t*>(*hparam);
    const int32_t size = SizeOf(hparam);
    int32_t tables = size >= 2 ? platform::ReadBES16(p) : 0;
    // A count past the table array reads only the entries present.
    tables = std::max(0, std::min(tables, (size - kTablesAt) / kTableEntrySize));
    formTableCount = int16_t(tables);
    // The form objects find a table's fields through the same records.
    SetTableFieldListProc([](int16_t n) -> platform::Handle {
        return n >= 1 && size_t(n) < ef.size() && ef[size_t(n)].description ? ef[size_t(n)].description->def : nullptr;
    });
    SetTableFormListProc([](int16_t n) -> platform::Handle {
        return n >= 1 && size_t(n) < ef.size() && ef[size_t(n)].description ? ef[size_t(n)].description->formTable
                                                                             : nullptr;
    });
    int16_t result = 0;
    try {
        ef.resize(size_t(tables) + 1);
        for (int32_t n = 1; n <= tables; ++n) {
            const int16_t id = platform::ReadBES16(reinterpret_cast<const uint8_t*>(*hparam) + kTablesAt + (n - 1) * kTableEntrySize);
            const int16_t e = _lirecrit(&ef[size_t(n)].description, id);
            if (ef[size_t(n)].description) ef[size_t(n)].description->SetTableNumber(int16_t(n));
            // A resource missing leaves that table's description partial
            // (a subtable has no form table); the tables after it still load.
            if (e == platform::memFullErr) return e;
            if (e && result == 0) result = e;
        }
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
    return result;
}
