#include "forms/layout/SaisieAtt.h"

#include <algorithm>
#include <cstring>

#include "forms/iff/ChunkFields.h"
#include "kernel/fields/FieldTypes.h"
#include "kernel/numtext/NumberBridge.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"

namespace {

constexpr IFFP kSatt = IFFP(platform::FourCC("SATT"));

// A value of a real or time field is kept as a real.
bool IsReal(uint8_t type) { return type == fieldtype::kReal || type == fieldtype::kTime; }

uint8_t* At(platform::Handle record, int32_t offset) { return reinterpret_cast<uint8_t*>(*record) + offset; }

bool ReadWord(ChunkReader& r, platform::Handle record, int32_t offset)
{
    uint16_t v = 0;
    if (!r.U16(&v)) return false;
    platform::WriteBE16(At(record, offset), v);
    return true;
}

// One typed value: its type byte, a spare, ten value bytes.
bool ReadValue(ChunkReader& r, platform::Handle record, int32_t typeAt, int32_t valueAt)
{
    uint8_t type = 0, spare = 0, stored[10];
    if (!r.U8(&type) || !r.U8(&spare) || !r.Bytes(stored, 10)) return false;
    const bool reversed = r.Context()->byteReversed != 0;
    *At(record, typeAt) = type;
    if (IsReal(type)) {
        // A file in the other byte order holds the 80-bit real reversed.
        if (reversed) platform::ReverseBytes(stored, 10);
        extended80 e;
        std::memcpy(e.bytes, stored, 10);
        double d = 0;
        Convert10To8(&e, &d);
        uint64_t bits = 0;
        std::memcpy(&bits, &d, 8);
        platform::WriteBE64(At(record, valueAt), bits);
        std::memset(At(record, valueAt + 8), 0, 2);
    } else {
        if (reversed && type == fieldtype::kDate)
            for (int i = 0; i < 10; i += 2) platform::ReverseBytes(stored + i, 2);
        std::memcpy(At(record, valueAt), stored, 10);
    }
    return true;
}

void WriteValue(ChunkWriter& w, platform::Handle record, int32_t typeAt, int32_t valueAt)
{
    const uint8_t type = *At(record, typeAt);
    w.U8(type);
    w.U8(0);
    if (IsReal(type)) {
        const uint64_t bits = platform::ReadBE64(At(record, valueAt));
        double d = 0;
        std::memcpy(&d, &bits, 8);
        extended80 e;
        Convert8To10(&d, &e);
        w.Bytes(e.bytes, 10);
    } else {
        w.Bytes(At(record, valueAt), 10);
    }
}

// A text of the record of `size` bytes: the default text at most 31
// characters, the filter no further than the record reaches.
void TextWithin(platform::Handle record, int32_t size, int32_t offset, unsigned char* out)
{
    const int32_t max = offset == saisieatt::kEntryFilter ? std::min<int32_t>(saisieatt::kEntryFilterMax, size - offset - 1)
                                                     : saisieatt::kDefaultTextMax;
    const uint8_t n = *At(record, offset) < max ? *At(record, offset) : uint8_t(max);
    out[0] = n;
    std::memcpy(out + 1, At(record, offset + 1), n);
}

}  // namespace

platform::Handle ReadSattObject(_GroupContext* context, IFFP* result)
{
    platform::Handle record = platform::NewHandleClear(kSaisieAttSize);
    if (!record) {
        *result = platform::MemError();
        return nullptr;
    }
    ChunkReader r(context);
    using namespace saisieatt;
    unsigned char text[256], filter[256];
    bool ok = ReadWord(r, record, kChoiceList) && r.Bytes(At(record, kChoiceSet), 2) &&
              ReadWord(r, record, kRequiredList) && r.Skip(2) && ReadWord(r, record, kExcludedList) &&
              ReadValue(r, record, kMinType, kMinValue) && ReadValue(r, record, kMaxType, kMaxValue) &&
              r.Bytes(At(record, kEditable), 2) && r.PStr(text, kDefaultTextMax) && r.PStr(filter, kEntryFilterMax);
    if (ok) {
        std::memcpy(At(record, kDefaultText), text, size_t(text[0]) + 1);
        std::memcpy(At(record, kEntryFilter), filter, size_t(filter[0]) + 1);
        uint8_t tail[2];
        // The repeated length is not taken: the filter keeps the length it
        // was read with, so it never claims bytes the record lacks.
        if (r.Has(2) && r.Bytes(tail, 2)) *At(record, kBeforeFilter) = tail[0];
        ok = r.Ok();
    }
    if (!ok) {
        platform::DisposeHandle(record);
        *result = r.Error();
        return nullptr;
    }
    *result = IFF_OKAY;
    return record;
}

IFFP WriteSattObject(platform::Handle record, _GroupContext* context)
{
    using namespace saisieatt;
    const int32_t size = record ? int32_t(platform::GetHandleSize(record)) : 0;
    if (size < kEntryFilter + 1) return CLIENT_ERROR;
    ChunkWriter w(context);
    w.Begin(kSatt);
    w.Bytes(At(record, kChoiceList), 4);
    w.Bytes(At(record, kRequiredList), 2);
    w.U16(0);
    w.Bytes(At(record, kExcludedList), 2);
    WriteValue(w, record, kMinType, kMinValue);
    WriteValue(w, record, kMaxType, kMaxValue);
    w.Bytes(At(record, kEditable), 2);
    unsigned char text[256];
    TextWithin(record, size, kDefaultText, text);
    w.PStr(text);
    TextWithin(record, size, kEntryFilter, text);
    w.PStr(text);
    w.U8(*At(record, kBeforeFilter));
    w.U8(text[0]);
    w.End();
    return w.Error();
}

int16_t SattWord(platform::Handle record, int32_t offset) { return int16_t(platform::ReadBE16(At(record, offset))); }

uint8_t SattByte(platform::Handle record, int32_t offset) { return *At(record, offset); }

void SattText(platform::Handle record, int32_t offset, unsigned char* out)
{
    TextWithin(record, int32_t(platform::GetHandleSize(record)), offset, out);
}
