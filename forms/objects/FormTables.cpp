#include "forms/objects/FormTables.h"

#include <algorithm>

#include "forms/objects/FormObjects.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"

namespace {

constexpr int32_t kTableNumberAt = 6, kFieldsAt = 30, kFieldSize = 66, kTypeAt = 32;

TableFieldListProc gTableFields = nullptr;
TableFieldListProc gTableForms = nullptr;

int32_t SizeOf(platform::Handle h) { return h && *h ? int32_t(platform::GetHandleSize(h)) : 0; }

const uint8_t* Bytes(platform::Handle h) { return reinterpret_cast<const uint8_t*>(*h); }

}  // namespace

void SetTableFieldListProc(TableFieldListProc proc) { gTableFields = proc; }

platform::Handle TableFieldList(int16_t tableNumber)
{
    if (!gTableFields || tableNumber < 1 || tableNumber > formTableCount) return nullptr;
    return gTableFields(tableNumber);
}

void SetTableFormListProc(TableFieldListProc proc) { gTableForms = proc; }

platform::Handle TableFormList(int16_t tableNumber)
{
    if (!gTableForms || tableNumber < 1 || tableNumber > formTableCount) return nullptr;
    return gTableForms(tableNumber);
}

int16_t FieldListCount(platform::Handle list)
{
    const int32_t size = SizeOf(list);
    if (size < 2) return 0;
    // A count past the entries held reads as the entries held.
    const int32_t held = std::max(0, (size - kFieldsAt) / kFieldSize);
    return int16_t(std::clamp<int32_t>(platform::ReadBES16(Bytes(list)), 0, held));
}

int16_t FieldListTableNumber(platform::Handle list)
{
    return SizeOf(list) >= kTableNumberAt + 2 ? platform::ReadBES16(Bytes(list) + kTableNumberAt) : 0;
}

int16_t FieldListType(platform::Handle list, int16_t fieldNumber)
{
    if (fieldNumber < 1 || fieldNumber > FieldListCount(list)) return 0;
    return Bytes(list)[kFieldsAt + (fieldNumber - 1) * kFieldSize + kTypeAt];
}
