// The picture walker and both repairs on hostile bytes: the input is a
// picture (also searched as a picture file, after a 512-byte header). The
// repairs may change only component sizes above 8 into 8; nothing is read
// or written outside the picture.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/core/Memory.h"
#include "toolbox/drawing/VImageParser.h"
#include "toolbox/foundation/VPtrStream.h"

namespace {

void Walk(std::vector<uint8_t>& bytes, bool fileHeader)
{
    VPtrStream stream(reinterpret_cast<char*>(bytes.data()), int32_t(bytes.size()));
    VPictParser parser(stream, fileHeader);
    if (parser.StartParsing() != 0) return;
    for (uint16_t opcode : {uint16_t(0x009A), uint16_t(0x0098), uint16_t(0x00FF)}) {
        stream.SetPos(0);
        int32_t last = -1;
        for (int32_t o = parser.FindOpcodeOffset(opcode); o >= 0; o = parser.FindOpcodeOffset(opcode)) {
            if (o <= last || size_t(o) + 2 > bytes.size()) std::abort();  // always forward, always inside
            last = o;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) return 0;
    std::vector<uint8_t> bytes(data, data + size);
    Walk(bytes, false);
    std::vector<uint8_t> file(512, 0);
    file.insert(file.end(), bytes.begin(), bytes.end());
    Walk(file, true);

    platform::Handle pict = nullptr;
    if (platform::PtrToHand(data, &pict, platform::Size(size)) != platform::noErr) return 0;
    RepairPicture(pict);
    FastRepairPicture(pict);
    if (size_t(platform::GetHandleSize(pict)) != size) std::abort();
    const auto* after = reinterpret_cast<const uint8_t*>(*pict);
    for (size_t i = 0; i < size; ++i)
        if (after[i] != data[i]) {
            // Only the low byte of a big-endian 16-bit number above 8 may
            // have become part of an 8.
            const bool high = i + 1 < size && after[i] == 0 && after[i + 1] == 8;
            const bool low = i > 0 && after[i - 1] == 0 && after[i] == 8;
            if (!high && !low) std::abort();
        }
    platform::DisposeHandle(pict);
    return 0;
}
