// Object methods as stored in 'CCQz' blobs: every record read, every token
// of every line walked, what was read written again into new lines, and the
// blob written back. Lines whose counts lie stay inside their records.
#include <cstdint>
#include <cstring>

#include "forms/calc/CalcBlob.h"
#include "forms/calc/Operands.h"
#include "kernel/helpers/HandleCopies.h"
#include "platform/core/Memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::Handle records = nullptr;
    int16_t count = 0;
    platform::Rect rect{};
    if (!LoadCalcFromPtr(data, int32_t(size), &records, &count, &rect)) {
        // Not a blob: the bytes as one line, its token count as stored.
        if (size < 16) return 0;
        platform::Handle line = nullptr;
        if (platform::PtrToHand(data, &line, platform::Size(size)) != 0) return 0;
        records = platform::NewHandle(int32_t(sizeof(platform::Handle)));
        if (!records) {
            platform::DisposeHandle(line);
            return 0;
        }
        std::memcpy(*records, &line, sizeof line);
        count = 1;
    }
    const int32_t lines = count < 0 ? -int32_t(count) : count;
    for (int32_t k = 0; k < lines; ++k) {
        platform::Handle line = CalcRecordAt(records, k);
        platform::Handle copy = NewCalcRecord();
        int16_t position = 0;
        for (;;) {
            champoper op;
            const int16_t before = position;
            getchamp(line, &op, &position);
            if (copy) putchamp(copy, op);
            if (position == before) break;
        }
        if (copy) platform::DisposeHandle(copy);
    }
    platform::Handle blob = platform::NewHandle(0);
    if (blob) {
        SaveCalcAsBlob(&rect, count, records, blob);
        platform::DisposeHandle(blob);
    }
    effcalc(&records, &count);
    return 0;
}
