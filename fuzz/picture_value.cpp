// Picture values read from hostile bytes: the first byte chooses the
// stored stream form (a size, then the bytes) or hexadecimal text up to a
// terminator. Reading ends with a code and never allocates more than the
// input holds.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/core/Memory.h"
#include "toolbox/drawing/VImageData.h"
#include "toolbox/foundation/VPtrStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > (1u << 20)) return 0;
    std::vector<char> bytes(data + 1, data + size);
    VPtrStream stream(bytes.data(), int32_t(bytes.size()));
    if (stream.OpenReading() != 0) return 0;
    VPictData value;
    if (data[0] & 1) {
        stream.SetCpuKind(kCpuPowerPC, kCpuUnchanged);
        const int32_t err = value.ReadFromStream(&stream, 0);
        if (err == 0 && value.GetSize() > int32_t(bytes.size())) std::abort();
    } else {
        const int16_t err = value.ReadHexa(stream, char(data[0] >> 1 | 0x20), kImagePICT);
        if (err != 0 && value.IsValid()) std::abort();
        if (value.GetSize() > int32_t(bytes.size() / 2)) std::abort();
    }
    int32_t w = 0, h = 0;
    value.GetWidthHeight(w, h);
    return 0;
}
