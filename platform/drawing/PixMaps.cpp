#include "platform/drawing/PixMaps.h"

#include <cstddef>
#include <cstring>
#include <new>

#include "platform/core/Errors.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"

namespace platform {

namespace {

struct PixMapBlock {
    PixMap* master;
    PixMap pixMap;
};

constexpr size_t kEntriesOffset = (sizeof(ColorTable) + alignof(ColorSpec) - 1) / alignof(ColorSpec) * alignof(ColorSpec);

}  // namespace

CTabHandle NewCTable(int16_t entryCount)
{
    if (entryCount < 1)
        entryCount = 1;
    Handle h = NewHandleClear(Size(kEntriesOffset + size_t(entryCount) * sizeof(ColorSpec)));
    if (!h)
        return nullptr;
    auto table = reinterpret_cast<CTabHandle>(h);
    (*table)->ctSize = int16_t(entryCount - 1);
    for (int16_t i = 0; i < entryCount; ++i)
        CTabEntries(table)[i].value = i;
    return table;
}

void DisposeCTable(CTabHandle table)
{
    if (table)
        DisposeHandle(reinterpret_cast<Handle>(table));
}

ColorSpec* CTabEntries(CTabHandle table)
{
    if (!table || !*table)
        return nullptr;
    return reinterpret_cast<ColorSpec*>(reinterpret_cast<char*>(*table) + kEntriesOffset);
}

int32_t CTabEntryCount(CTabHandle table)
{
    if (!table || !*table)
        return 0;
    // Trust the handle's size over the count field.
    int32_t room = int32_t((GetHandleSize(reinterpret_cast<Handle>(table)) - int32_t(kEntriesOffset)) /
                           int32_t(sizeof(ColorSpec)));
    int32_t count = int32_t((*table)->ctSize) + 1;
    return count < 0 ? 0 : (count < room ? count : room);
}

PixMapHandle NewPixMap()
{
    if (ShouldFail(FaultKind::Allocation))
        return nullptr;
    auto* block = new (std::nothrow) PixMapBlock;
    if (!block)
        return nullptr;
    block->master = &block->pixMap;
    block->pixMap.rowBytes = kPixMapFlag;
    block->pixMap.pixelType = RGBDirect;
    block->pixMap.pixelSize = 32;
    block->pixMap.cmpCount = 3;
    block->pixMap.cmpSize = 8;
    return &block->master;
}

void DisposePixMap(PixMapHandle pm)
{
    delete reinterpret_cast<PixMapBlock*>(pm);
}

OSErr NewBitMap(BitMap* bits, const Rect* bounds)
{
    if (!bits || !bounds || bounds->right < bounds->left || bounds->bottom < bounds->top)
        return paramErr;
    int32_t width = int32_t(bounds->right) - bounds->left, height = int32_t(bounds->bottom) - bounds->top;
    int32_t rowBytes = ((width + 15) / 16) * 2;
    if (rowBytes > kRowBytesMask)
        return paramErr;
    Ptr p = NewPtrClear(Size(rowBytes * height > 0 ? rowBytes * height : 1));
    if (!p)
        return memFullErr;
    bits->baseAddr = p;
    bits->rowBytes = int16_t(rowBytes);
    bits->bounds = *bounds;
    return noErr;
}

void DisposeBitMap(BitMap* bits)
{
    if (!bits || !bits->baseAddr)
        return;
    DisposePtr(bits->baseAddr);
    bits->baseAddr = nullptr;
}

Ptr GetPixBaseAddr(PixMapHandle pm) { return pm && *pm ? (*pm)->baseAddr : nullptr; }
int32_t GetPixRowBytes(PixMapHandle pm) { return pm && *pm ? ((*pm)->rowBytes & kRowBytesMask) : 0; }
int16_t GetPixDepth(PixMapHandle pm) { return pm && *pm ? (*pm)->pixelSize : 0; }
Boolean IsPixMap(const BitMap* bits) { return bits && (bits->rowBytes & kPixMapFlag); }

}  // namespace platform
