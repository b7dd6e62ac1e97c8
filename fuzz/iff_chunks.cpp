// Any bytes as a chunk file: every group entered through the reader's
// frame, every chunk read in turn as bytes, words, longs and padded
// strings until it is used up. Nesting, sizes, bounds and the other byte
// order all come from the input.
#include <cstdint>

#include "forms/iff/Iff.h"
#include "fuzz/support/FuzzSupport.h"

namespace {

IFFP ReadChunk(_GroupContext* c)
{
    uint8_t buffer[256];
    for (int step = 0; ChunkMoreBytes(c) > 0; ++step) {
        IFFP result = IFF_OKAY;
        switch (step % 4) {
        case 0: result = IFFReadBytes(c, buffer, 3); break;
        case 1: result = IFFReadWords(c, buffer, 4); break;
        case 2: result = IFFReadLongs(c, buffer, 8); break;
        default: result = IFFReadPaddedPString(c, buffer); break;
        }
        // A short read leaves the rest to be skipped by the next header.
        if (result == SHORT_CHUNK) return IFF_OKAY;
        if (result != IFF_OKAY) return result;
    }
    return IFF_OKAY;
}

IFFP GetForm(_GroupContext* parent)
{
    _GroupContext group;
    IFFP result = OpenRGroup(parent, &group);
    while (result == IFF_OKAY) {
        result = GetF1ChunkHdr(&group);
        if (result > 0) result = ReadChunk(&group);
    }
    CloseRGroup(&group);
    return result == END_MARK ? IFF_OKAY : result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::Handle h = fuzz::HandleOf(data, size, 1 << 20);
    if (!h) return 0;
    if (IOFile* io = MemoryOpen(h, 0)) {
        _ClientFrame frame{GetList, GetProp, GetForm, GetList};
        ReadIFF(io, &frame);
        FClose(io);
    }
    platform::DisposeHandle(h);
    return 0;
}
