// The common ground of the archive streams: each is read or written from
// start to end over an inner stream, knows no size or position, opens and
// closes its inner stream with itself, and reports damaged data as 220.
#pragma once

#include <cstdint>

#include "platform/core/FourCC.h"
#include "toolbox/foundation/VStream.h"

constexpr int16_t kArchiveErrBadData = 220;

// A stream's direction: closed, open for reading, open for writing.
constexpr int16_t kStreamClosed = 0;
constexpr int16_t kStreamReading = 1;
constexpr int16_t kStreamWriting = 2;

// Group sizes and strides above this would make blocks of hundreds of
// megabytes (and overflow 32-bit sizes): such a number is damage.
constexpr uint32_t kMaxArchiveFactor = 4096;

class VSequentialStream : public VStream {
public:
    uint32_t GetSize() override { return uint32_t(-2); }
    int32_t GetPos() override { return -2; }
    int16_t SetSize(uint32_t) override { return -2; }
    int16_t SetPos(uint32_t) override { return -2; }
    int16_t SetPosByOffset(uint32_t) override { return -2; }
    uint32_t FindByte(char) override { return 0; }
    uint32_t FindWord(int16_t) override { return 0; }
    uint32_t FindLong(int32_t) override { return 0; }

    int16_t GetState() const { return fState; }

protected:
    // The code for a transfer asked in the wrong direction (0 when right).
    int16_t DirectionError(int16_t wanted) const
    {
        if (fState == wanted) return 0;
        if (fState == kStreamClosed) return kStreamNotOpen;
        return fState == kStreamWriting ? kStreamOpenForWriting : kStreamOpenForReading;
    }

    // The last step of a close, once the stream's own buffers are gone:
    // the inner stream closes only when nothing went wrong before, so its
    // answer never hides damage (nor, when reading, the end of data that
    // stopped a caller wanting more).
    int16_t FinishReading(VStream* inner)
    {
        fState = kStreamClosed;
        if (fError != 0 && fError != kStreamEndOfData) return fError;
        return fError = inner->CloseReading();
    }
    int16_t FinishWriting(VStream* inner, uint8_t setSize)
    {
        fState = kStreamClosed;
        if (fError != 0) return fError;
        return fError = inner->CloseWriting(setSize);
    }

    int16_t fState = kStreamClosed;
};

// How a four-character marker read as 4 bytes compares with the one
// expected: 1 as written, 2 byte-reversed (numbers behind it little-endian),
// 0 another marker.
inline int32_t MatchMarker(const uint8_t* bytes, uint32_t marker)
{
    const uint32_t big = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
    if (big == marker) return 1;
    return big == __builtin_bswap32(marker) ? 2 : 0;
}
