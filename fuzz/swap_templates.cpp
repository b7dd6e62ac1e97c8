// Byte-swap template text as found in the extensions folder: parsed, and
// every template it defines walked over a record in both directions, never
// touching a byte at or past the limit it is given. The table never holds
// more slots than a 16-bit template number can name.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/support/FuzzSupport.h"
#include "kernel/byteswap/SwapTemplates.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (InitTokensFromText(data, int32_t(size)) == 0) {
        const int32_t count = SwapTemplateCount();
        if (count > INT16_MAX) std::abort();
        for (int32_t number = 0; number <= count && number < 4096; ++number) {
            if (!GetToken(number)) continue;
            for (int32_t limit : {0, 3, 64, 300}) {
                std::vector<uint8_t> record(size_t(limit) + 8);
                for (size_t i = 0; i < record.size(); ++i) record[i] = uint8_t(i * 37 + 1);
                const std::vector<uint8_t> before = record;
                int32_t consumed = 0;
                SwapBytes2(number, record.data(), 1, &consumed, limit);
                SwapBytesEnvoi2(number, record.data(), 1, &consumed, limit);
                for (size_t i = size_t(limit); i < record.size(); ++i)
                    if (record[i] != before[i]) std::abort();
            }
        }
    }
    ResetSwapTemplates();
    return 0;
}
