#include "transfer/remap/ResIDMap.h"

#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"

ResIDMapMgr* g_ResIDMapMgr = nullptr;
ResIDMapMgr* g_PictIDMapMgr = nullptr;

namespace transfer {

namespace {

const uint8_t* Row(ResTableHdl table, int32_t index)  // 0-based
{
    return reinterpret_cast<const uint8_t*>(*table) + kResTableHeader + kResTableRow * index;
}

}  // namespace

ResTableHdl NewResTable() { return platform::NewHandleClear(kResTableHeader); }

void DisposeResTable(ResTableHdl table)
{
    if (table) platform::DisposeHandle(table);
}

int16_t CountResTable(ResTableHdl table)
{
    if (!table || platform::GetHandleSize(table) < kResTableHeader) return 0;
    const int16_t n = platform::ReadBES16(*table);
    // The block's size bounds what the count may claim.
    const int32_t fits = int32_t((platform::GetHandleSize(table) - kResTableHeader) / kResTableRow);
    return n < 0 ? int16_t(0) : n > fits ? int16_t(fits) : n;
}

bool IsMoved(ResTableHdl table, platform::ResType type, int16_t oldId, int16_t* newId)
{
    const int16_t n = CountResTable(table);
    for (int32_t i = 0; i < n; ++i) {
        const uint8_t* row = Row(table, i);
        if (platform::ReadBE32(row) == type && platform::ReadBES16(row + 4) == oldId) {
            *newId = platform::ReadBES16(row + 6);
            return true;
        }
    }
    return false;
}

int16_t AddMoveTable(ResTableHdl table, platform::ResType type, int16_t oldId, int16_t newId)
{
    if (!table) return 0;
    int16_t existing = 0;
    if (IsMoved(table, type, oldId, &existing)) return 0;
    const int16_t n = CountResTable(table);
    if (n == INT16_MAX) return platform::memFullErr;
    platform::SetHandleSize(table, kResTableHeader + kResTableRow * (n + 1));
    if (platform::MemError() != 0) return platform::memFullErr;
    auto* row = reinterpret_cast<uint8_t*>(*table) + kResTableHeader + kResTableRow * n;
    platform::WriteBE32(row, type);
    platform::WriteBE16(row + 4, uint16_t(oldId));
    platform::WriteBE16(row + 6, uint16_t(newId));
    platform::WriteBE16(*table, uint16_t(n + 1));
    return 0;
}

void ResetResIDMaps()
{
    delete g_ResIDMapMgr;
    delete g_PictIDMapMgr;
    g_ResIDMapMgr = g_PictIDMapMgr = nullptr;
}

}  // namespace transfer

ResIDMapMgr::ResIDMapMgr() : fList(new VArrayListOf<ResIDMap>) {}

ResIDMapMgr::~ResIDMapMgr() { delete fList; }

int16_t ResIDMapMgr::Add(platform::ResType type, int16_t oldId, int16_t newId)
{
    if (oldId == newId && newId >= 0) return 0;
    if (newId == INT16_MIN) return platform::paramErr;
    if (!fList) return platform::memFullErr;
    const int32_t before = fList->GetCount();
    fList->Add(ResIDMap{type, oldId, int16_t(newId < 0 ? -newId : newId)});
    return fList->GetCount() == before + 1 ? int16_t(0) : platform::memFullErr;
}

int16_t ResIDMapMgr::GetMapResId(platform::ResType type, int16_t oldId) const
{
    for (int32_t i = 1; fList && i <= fList->GetCount(); ++i) {
        const ResIDMap row = fList->GetNth(i);
        if (row.type == type && row.oldId == oldId) return row.newId;
    }
    return -1;
}
