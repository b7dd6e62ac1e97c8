#include "kernel/helpers/ResourceStrings.h"

#include <cstring>

#include "kernel/helpers/HandleCopies.h"
#include "kernel/store/StoreAccess.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/RomanCompare.h"

using namespace platform;

namespace {

struct StringCache {
    int16_t listId = 0;
    Handle list = nullptr;
    int16_t resFile = -1;
    int32_t offset = 0;  // of the last string returned
    int16_t index = 0;   // its number; 0 before the first
    int32_t steps = 0;
} gCache;

}  // namespace

Handle getres(ResType type, int16_t id)
{
    Handle h = GetResource(type, id);
    erreure = ResError();
    return h;
}

void xecrisres(Handle h, uint8_t)
{
    const KernelStoreAccess& store = GetKernelStoreAccess();
    if (!store.xwriteres) {
        erreure = platform::resNotFound;
        return;
    }
    store.xwriteres(h);
    erreure = store.lasterror ? store.lasterror() : 0;
}

int16_t newnumber(ResType type)
{
    const KernelStoreAccess& store = GetKernelStoreAccess();
    return store.uniqueresid ? store.uniqueresid(type) : int16_t(128);
}

void gs(unsigned char* destination, int16_t listId, int16_t index)
{
    destination[0] = 0;
    if (index < 1) return;
    if (gCache.listId != listId || !gCache.list || !IsValidHandle(gCache.list) || !*gCache.list ||
        gCache.resFile != CurResFile()) {
        gCache.listId = listId;
        gCache.list = GetResource(FourCC("STR#"), listId);
        gCache.resFile = CurResFile();
        gCache.index = 0;
        gCache.offset = 0;
    }
    if (!gCache.list || !*gCache.list) {
        gCache.list = nullptr;
        GetIndString(destination, listId, index);
        return;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(*gCache.list);
    const int32_t size = GetHandleSize(gCache.list);
    if (size < 2 || index > int16_t(ReadBE16(bytes))) return;
    int32_t offset = 2;
    int16_t at = 1;
    if (gCache.index >= 1 && index >= gCache.index) {
        offset = gCache.offset;
        at = gCache.index;
    }
    for (; at < index; ++at) {
        if (offset >= size) return;
        offset += 1 + bytes[offset];
        ++gCache.steps;
    }
    if (offset >= size || offset + 1 + bytes[offset] > size) return;  // a damaged list
    std::memcpy(destination, bytes + offset, size_t(bytes[offset]) + 1);
    gCache.offset = offset;
    gCache.index = index;
}

void findstyle(unsigned char* destination, const unsigned char* name)
{
    constexpr int32_t kEntry = 114, kTextAt = 32;
    destination[0] = 0;
    const ResType type = FourCC("STQz");
    Handle table = StoreHasCurrentFile() ? GetKernelStoreAccess().xgetres(type, 0, false) : nullptr;
    if (!table) table = GetResource(type, 0);
    if (!table || !*table || name[0] == 0) return;
    const auto* bytes = reinterpret_cast<const uint8_t*>(*table);
    const int32_t size = GetHandleSize(table);
    if (size < 2) return;
    int32_t count = ReadBE16(bytes);
    if (count > (size - 2) / kEntry) count = (size - 2) / kEntry;
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* entry = bytes + 2 + i * kEntry;
        uint8_t nameLength = entry[0] < kTextAt ? entry[0] : kTextAt - 1;
        if (IdenticalText(entry + 1, nameLength, name + 2, name[0] - 1) != 0) continue;
        uint8_t textLength = entry[kTextAt] < kEntry - kTextAt ? entry[kTextAt] : kEntry - kTextAt - 1;
        destination[0] = textLength;
        std::memcpy(destination + 1, entry + kTextAt + 1, textLength);
        return;
    }
}

void ResetStringCache() { gCache = StringCache(); }

int32_t StringCacheSteps() { return gCache.steps; }
