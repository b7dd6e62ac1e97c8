#include "toolbox/files/VCompressStream.h"

#include <cstring>

#include "platform/core/Endian.h"
#include "toolbox/files/FileCodes.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VMemoryMgr.h"

namespace {

constexpr uint32_t kBlockMarker = platform::FourCC("Comp");

}  // namespace

VCompressStream::VCompressStream(VStream* inner, uint32_t method) : fInner(inner), fMethod(method) {}

VCompressStream::~VCompressStream() { FreeBuffers(); }

bool VCompressStream::AllocateBuffers()
{
    if (!fStored) fStored = reinterpret_cast<uint8_t*>(gMemory->NewPtrClear(kStoredCapacity));
    if (!fPlain) fPlain = reinterpret_cast<uint8_t*>(gMemory->NewPtrClear(kBlockSize));
    return fStored && fPlain;
}

void VCompressStream::FreeBuffers()
{
    if (fStored) gMemory->DisposePtr(reinterpret_cast<char*>(fStored));
    if (fPlain) gMemory->DisposePtr(reinterpret_cast<char*>(fPlain));
    fStored = fPlain = nullptr;
}

int16_t VCompressStream::OpenReading()
{
    fError = 0;
    if (fState != kStreamClosed) return kStreamAlreadyOpen;
    if (!fInner) return kStreamNoHandle;
    if (!AllocateBuffers()) return kFileErrMemory;
    fFill = fStoredSize = fPlainSize = fLastPlainSize = fStoredHave = fHeaderHave = 0;
    fHeaderParsed = false;
    const int16_t err = fInner->OpenReading();
    if (err == 0) fState = kStreamReading;
    return err;
}

int16_t VCompressStream::OpenWriting()
{
    fError = 0;
    if (fState != kStreamClosed) return kStreamAlreadyOpen;
    if (!fInner) return kStreamNoHandle;
    if (!AllocateBuffers()) return kFileErrMemory;
    fFill = 0;
    const int16_t err = fInner->OpenWriting();
    if (err == 0) fState = kStreamWriting;
    return err;
}

int16_t VCompressStream::CloseWriting(uint8_t setSize)
{
    if (const int16_t err = DirectionError(kStreamWriting)) return err;
    if (fError == 0) fError = _CompressInternalBuffer(true);
    FreeBuffers();
    return FinishWriting(fInner, setSize);
}

int16_t VCompressStream::CloseReading()
{
    if (const int16_t err = DirectionError(kStreamReading)) return err;
    FreeBuffers();
    return FinishReading(fInner);
}

// --- writing -------------------------------------------------------------------

int16_t VCompressStream::_CompressInternalBuffer(bool last)
{
    if (fFill < kBlockSize && !last) return 0;
    const uint32_t n = last ? fFill : kBlockSize;
    uint8_t plainDigest[16];
    fChecksum.NewChecksum(fPlain, n, plainDigest);
    const int32_t packed = n == 0 ? 0 : VEngine::Compress(int32_t(fMethod), fPlain, int32_t(n), fStored);
    fInner->PutLong(int32_t(kBlockMarker));
    fInner->PutLong(int32_t(fMethod));
    int16_t err;
    if (packed > 0 && uint32_t(packed) < n) {
        uint8_t storedDigest[16];
        fChecksum.NewChecksum(fStored, uint32_t(packed), storedDigest);
        fInner->PutLong(packed);
        fInner->PutLong(int32_t(n));
        fInner->PutData(plainDigest, 16);
        fInner->PutData(storedDigest, 16);
        err = fInner->PutData(fStored, uint32_t(packed));
    } else {
        fInner->PutLong(int32_t(n));
        fInner->PutLong(int32_t(n));
        fInner->PutData(plainDigest, 16);
        fInner->PutData(plainDigest, 16);
        err = fInner->PutData(fPlain, n);
    }
    if (err == 0) err = fInner->GetError();
    fFill = 0;
    return err;
}

int16_t VCompressStream::PutData(const void* data, uint32_t length)
{
    if (const int16_t err = DirectionError(kStreamWriting); err != 0) return err;
    if (!fPlain || !fStored) return kStreamNotOpen;
    if (fError != 0) return fError;
    auto* in = static_cast<const uint8_t*>(data);
    while (length > 0 && fError == 0) {
        const uint32_t n = kBlockSize - fFill < length ? kBlockSize - fFill : length;
        std::memcpy(fPlain + fFill, in, n);
        fFill += n;
        in += n;
        length -= n;
        fError = _CompressInternalBuffer(false);
    }
    return fError;
}

// --- reading -------------------------------------------------------------------

int16_t VCompressStream::ReadInner(uint8_t* into, uint32_t wanted, uint32_t* have)
{
    while (*have < wanted) {
        uint32_t n = wanted - *have;
        int16_t err = fInner->GetData(into + *have, &n);
        *have += n;
        if (err == 0 && n == 0) err = kStreamEndOfData;
        if (err != 0) return err;
    }
    return 0;
}

int16_t VCompressStream::ReadBlock()
{
    if (!fHeaderParsed) {
        // A header begun by an earlier call is completed, not read again.
        if (const int16_t err = ReadInner(fHeader, kHeaderSize, &fHeaderHave); err != 0) return err;
        const int32_t form = MatchMarker(fHeader, kBlockMarker);
        if (form == 0) return kArchiveErrBadData;
        auto number = [&](uint32_t at) {
            return form == 1 ? platform::ReadBE32(fHeader + at) : platform::ReadLE32(fHeader + at);
        };
        fMethod = number(4);
        fStoredSize = number(8);
        fPlainSize = number(12);
        std::memcpy(fPlainDigest, fHeader + 16, 16);
        std::memcpy(fStoredDigest, fHeader + 32, 16);
        // Sizes no writer makes would overrun the buffers or the coder.
        if (fStoredSize > kStoredCapacity || fPlainSize > kBlockSize || fStoredSize > fPlainSize ||
            (fPlainSize == 0 && fStoredSize != 0)) {
            fPlainSize = 0;
            return kArchiveErrBadData;
        }
        fHeaderParsed = true;
        fStoredHave = 0;
    }
    if (const int16_t err = ReadInner(fStored, fStoredSize, &fStoredHave); err != 0) return err;
    fHeaderParsed = false;
    fHeaderHave = 0;
    uint8_t digest[16];
    if (fStoredSize != fPlainSize) {
        fChecksum.NewChecksum(fStored, fStoredSize, digest);
        if (!VChecksumMD5::IsEqual(digest, fStoredDigest)) return kArchiveErrBadData;
        const int32_t got = VEngine::Decompress(int32_t(fMethod), fStored, int32_t(fStoredSize), fPlain,
                                                int32_t(fPlainSize));
        if (got != int32_t(fPlainSize)) return got == 0 ? kFileErrMemory : kArchiveErrBadData;
    } else {
        std::memcpy(fPlain, fStored, fPlainSize);
        // A stored block holds the plain digest in both fields: a flipped
        // bit in it must not pass.
        if (!VChecksumMD5::IsEqual(fPlainDigest, fStoredDigest)) return kArchiveErrBadData;
    }
    fChecksum.NewChecksum(fPlain, fPlainSize, digest);
    if (!VChecksumMD5::IsEqual(digest, fPlainDigest)) return kArchiveErrBadData;
    fFill = 0;
    fLastPlainSize = fPlainSize;
    return 0;
}

int16_t VCompressStream::GetData(void* buffer, uint32_t* length)
{
    const uint32_t wanted = *length;
    *length = 0;
    if (const int16_t err = DirectionError(kStreamReading); err != 0) return err;
    // Damage ends the stream; the end of data may be passed once more
    // arrives (a header cut short is completed then).
    if (fError != 0 && fError != kStreamEndOfData) return fError;
    fError = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    uint32_t delivered = 0;
    while (delivered < wanted && fError == 0) {
        if (fFill < fPlainSize) {
            const uint32_t n = fPlainSize - fFill < wanted - delivered ? fPlainSize - fFill : wanted - delivered;
            std::memcpy(out + delivered, fPlain + fFill, n);
            fFill += n;
            delivered += n;
            continue;
        }
        fPlainSize = fFill = 0;
        fError = ReadBlock();
        if (fError != 0 && fError != kStreamEndOfData) fPlainSize = 0;
    }
    if (fFill >= fPlainSize) fPlainSize = fFill = 0;
    *length = delivered;
    return fError;
}

int16_t VCompressStream::ReadEmptyTail()
{
    if (const int16_t err = DirectionError(kStreamReading); err != 0) return err;
    if (!EndsOnFullBlock()) return 0;
    fError = ReadBlock();
    if (fError == 0 && fPlainSize != 0) fError = kArchiveErrBadData;
    fPlainSize = fFill = 0;
    return fError;
}
