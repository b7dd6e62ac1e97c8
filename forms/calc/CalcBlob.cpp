#include "forms/calc/CalcBlob.h"

#include <cstdlib>
#include <cstring>

#include "kernel/handles/KernelHandles.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResTypes.h"
#include "resources/ResourceApi.h"

using platform::Handle;

namespace {

constexpr uint32_t kCalcType = platform::FourCC("CCQz");
// A stored record: its length word and at least its header.
constexpr int32_t kMinStoredRecord = 2 + kCalcRecordHeaderSize;

void FreeRecords(Handle list, int32_t made)
{
    for (int32_t k = 0; k < made; ++k) platform::DisposeHandle(CalcRecordAt(list, k));
    platform::DisposeHandle(list);
}

int16_t StoreError()
{
    const int16_t err = CPseudoResManager::LastError();
    return err ? err : kResNotFound;
}

}  // namespace

bool getcalc_getca(void* dst, int32_t count, CalcCursor* cursor)
{
    if (count < 0 || count > cursor->end - cursor->at) return false;
    if (count) std::memcpy(dst, cursor->at, size_t(count));
    cursor->at += count;
    return true;
}

int16_t putcalc_putca(Handle h, int32_t* offset, const void* src, int32_t count)
{
    if (count <= 0) return 0;
    const int32_t needed = *offset + count;
    if (needed > platform::GetHandleSize(h)) {
        platform::SetHandleSize(h, needed);
        if (const int16_t err = platform::MemError()) return err;
    }
    std::memcpy(*h + *offset, src, size_t(count));
    *offset = needed;
    return 0;
}

Handle CalcRecordAt(Handle records, int32_t index)
{
    if (!records || index < 0 || index >= platform::GetHandleSize(records) / int32_t(sizeof(Handle))) return nullptr;
    Handle h = nullptr;
    std::memcpy(&h, *records + index * int32_t(sizeof(Handle)), sizeof(Handle));
    return h;
}

Handle NewCalcRecord() { return platform::NewHandleClear(kNewCalcRecordSize); }

bool LoadCalcFromPtr(const void* data, int32_t size, Handle* records, int16_t* count, platform::Rect* rect)
{
    *records = nullptr;
    *count = 0;
    const auto* p = static_cast<const uint8_t*>(data);
    CalcCursor cursor{p, p + (p && size > 0 ? size : 0)};
    uint8_t head[kCalcBlobHeaderSize];
    if (!getcalc_getca(head, kCalcBlobHeaderSize, &cursor)) {
        erreure = kBadCalcBlob;
        return false;
    }
    if (rect) {
        rect->top = int16_t(platform::ReadBE16(head));
        rect->left = int16_t(platform::ReadBE16(head + 2));
        rect->bottom = int16_t(platform::ReadBE16(head + 4));
        rect->right = int16_t(platform::ReadBE16(head + 6));
    }
    const auto stored = int16_t(platform::ReadBE16(head + 8));
    const int32_t n = std::abs(int32_t(stored));
    erreure = 0;
    if (n == 0) return true;
    // Every record takes at least its length and header: a count the bytes
    // cannot hold is refused before anything is made for it.
    if (int64_t(n) * kMinStoredRecord > cursor.end - cursor.at) {
        erreure = kBadCalcBlob;
        return false;
    }
    Handle list = platform::NewHandleClear(n * int32_t(sizeof(Handle)));
    if (!list) {
        erreure = platform::memFullErr;
        return false;
    }
    for (int32_t k = 0; k < n; ++k) {
        uint8_t lengthBytes[2];
        int32_t length = 0;
        if (getcalc_getca(lengthBytes, 2, &cursor)) length = platform::ReadBE16(lengthBytes);
        if (length < kCalcRecordHeaderSize || length > cursor.end - cursor.at ||
            kCalcRecordHeaderSize + int32_t(platform::ReadBE16(cursor.at + 2)) > length) {
            FreeRecords(list, k);
            erreure = kBadCalcBlob;
            return false;
        }
        Handle record = platform::NewHandle(length);
        if (!record) {
            FreeRecords(list, k);
            erreure = platform::memFullErr;
            return false;
        }
        getcalc_getca(*record, length, &cursor);
        std::memcpy(*list + k * int32_t(sizeof(Handle)), &record, sizeof(Handle));
    }
    *records = list;
    *count = stored;
    return true;
}

Handle getcalc(int16_t id, int16_t* count, platform::Rect* rect)
{
    *count = 0;
    Handle h = xget1res(kCalcType, id);
    if (!h) {
        erreure = StoreError();
        return nullptr;
    }
    Handle records = nullptr;
    LoadCalcFromPtr(*h, platform::GetHandleSize(h), &records, count, rect);
    return records;
}

int16_t WriteCalcBlob(const platform::Rect* rect, int16_t count, Handle records, Handle blob)
{
    // Built aside first: a record that cannot be written leaves the blob as it was.
    Handle out = platform::NewHandle(0);
    if (!out) return platform::memFullErr;
    int32_t at = 0;
    uint8_t head[kCalcBlobHeaderSize] = {};
    if (rect) {
        platform::WriteBE16(head, uint16_t(rect->top));
        platform::WriteBE16(head + 2, uint16_t(rect->left));
        platform::WriteBE16(head + 4, uint16_t(rect->bottom));
        platform::WriteBE16(head + 6, uint16_t(rect->right));
    }
    platform::WriteBE16(head + 8, uint16_t(count));
    int16_t err = putcalc_putca(out, &at, head, kCalcBlobHeaderSize);
    const int32_t n = std::abs(int32_t(count));
    static const uint8_t kZeros[2] = {0, 0};
    for (int32_t k = 0; err == 0 && k < n; ++k) {
        Handle record = CalcRecordAt(records, k);
        const int32_t size = record ? platform::GetHandleSize(record) : 0;
        const int32_t tokens = size >= kCalcRecordHeaderSize ? platform::ReadBE16(*record + 2) : -1;
        if (tokens < 0 || kCalcRecordHeaderSize + tokens > size || tokens + 18 > 0xFFFF) {
            err = kBadCalcBlob;
            break;
        }
        uint8_t length[2];
        platform::WriteBE16(length, uint16_t(tokens + 18));
        err = putcalc_putca(out, &at, length, 2);
        if (err == 0) err = putcalc_putca(out, &at, *record, kCalcRecordHeaderSize + tokens);
        if (err == 0) err = putcalc_putca(out, &at, kZeros, 2);
    }
    if (err == 0) err = platform::PtrToXHand(*out, blob, at);
    platform::DisposeHandle(out);
    return err;
}

bool SaveCalcAsBlob(const platform::Rect* rect, int16_t count, Handle records, Handle blob)
{
    return WriteCalcBlob(rect, count, records, blob) == 0;
}

void putcalc(int16_t* id, Handle records, int16_t count, const platform::Rect* rect)
{
    Handle h = *id != 0 ? xget1res(kCalcType, *id) : nullptr;
    if (!h) {
        const int16_t fresh = uniqueresid(kCalcType);
        if (fresh == 0) {
            erreure = StoreError();
            return;
        }
        h = platform::NewHandleClear(kCalcBlobHeaderSize);
        if (!h) {
            erreure = platform::memFullErr;
            return;
        }
        if (!xaddres(h, kCalcType, fresh)) {
            platform::DisposeHandle(h);
            erreure = StoreError();
            return;
        }
        *id = fresh;
    }
    if (const int16_t err = WriteCalcBlob(rect, count, records, h)) {
        erreure = err;
        return;
    }
    erreure = xwriteres(h) ? 0 : StoreError();
}
