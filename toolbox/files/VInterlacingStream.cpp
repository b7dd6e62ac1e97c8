#include "toolbox/files/VInterlacingStream.h"

#include <cstring>

#include "platform/core/Endian.h"
#include "toolbox/files/FileCodes.h"
#include "toolbox/foundation/VMemoryMgr.h"

namespace {

constexpr uint32_t kBlockMarker = platform::FourCC("INTR");

uint8_t* NewBuffer(uint32_t size) { return reinterpret_cast<uint8_t*>(gMemory->NewPtrClear(int32_t(size))); }

void FreeBuffer(uint8_t*& buffer)
{
    if (buffer) gMemory->DisposePtr(reinterpret_cast<char*>(buffer));
    buffer = nullptr;
}

}  // namespace

VInterlacingStream::VInterlacingStream(VStream* inner, uint32_t stride) : fInner(inner), fStride(stride) {}

VInterlacingStream::~VInterlacingStream() { FreeBuffers(); }

void VInterlacingStream::FreeBuffers()
{
    FreeBuffer(fBlock);
    FreeBuffer(fOrdered);
    FreeBuffer(fChunk);
}

int16_t VInterlacingStream::Allocate()
{
    if (fStride == 0 || fStride > kMaxArchiveFactor) return kArchiveErrBadData;
    fChunksPerBlock = 3 * fStride + 1;
    fBlockSize = fChunksPerBlock * kChunkSize;
    if (!fBlock) fBlock = NewBuffer(fBlockSize);
    if (!fOrdered) fOrdered = NewBuffer(fBlockSize);
    if (!fChunk) fChunk = NewBuffer(kChunkSize);
    if (!fBlock || !fOrdered || !fChunk) {
        FreeBuffers();
        return kFileErrMemory;
    }
    fPlaced = fChunkFill = fDataLength = fReadPos = fRecordHave = fBlockCounter = 0;
    return 0;
}

int16_t VInterlacingStream::OpenWriting()
{
    fError = 0;
    if (fState != kStreamClosed) return kStreamAlreadyOpen;
    if (!fInner) return kStreamNoHandle;
    if (const int16_t err = Allocate(); err != 0) return err;
    fState = kStreamWriting;
    return fInner->OpenWriting();
}

int16_t VInterlacingStream::OpenReading()
{
    fError = 0;
    if (fState != kStreamClosed) return kStreamAlreadyOpen;
    if (!fInner) return kStreamNoHandle;
    if (const int16_t err = Allocate(); err != 0) return err;
    fState = kStreamReading;
    return fInner->OpenReading();
}

// --- writing -------------------------------------------------------------------

int16_t VInterlacingStream::_InterlacingBuffer(bool last)
{
    if (!last && fChunkFill < kChunkSize) return 0;
    std::memcpy(fBlock + SlotOf(fPlaced) * kChunkSize, fChunk, fChunkFill);
    const uint32_t lastFill = fChunkFill;
    ++fPlaced;
    fChunkFill = 0;
    if (fPlaced < fChunksPerBlock && !last) return 0;
    ++fBlockCounter;
    // The numbers follow the inner stream's byte order, as its reader expects.
    fInner->PutLong(int32_t(kBlockMarker));
    fInner->PutLong(int32_t(fBlockCounter));
    fInner->PutLong(int32_t((fPlaced - 1) * kChunkSize + lastFill));
    int16_t err = fInner->PutData(fBlock, fBlockSize);
    if (err == 0) err = fInner->GetError();
    std::memset(fBlock, 0, fBlockSize);
    fPlaced = 0;
    return err;
}

int16_t VInterlacingStream::PutData(const void* data, uint32_t length)
{
    if (const int16_t err = DirectionError(kStreamWriting); err != 0) return err;
    if (fError != 0) return fError;
    auto* in = static_cast<const uint8_t*>(data);
    while (length > 0 && fError == 0) {
        const uint32_t n = kChunkSize - fChunkFill < length ? kChunkSize - fChunkFill : length;
        std::memcpy(fChunk + fChunkFill, in, n);
        fChunkFill += n;
        in += n;
        length -= n;
        fError = _InterlacingBuffer(false);
    }
    return fError;
}

int16_t VInterlacingStream::CloseWriting(uint8_t setSize)
{
    if (const int16_t err = DirectionError(kStreamWriting)) return err;
    if (fError == 0) fError = _InterlacingBuffer(true);
    FreeBuffers();
    return FinishWriting(fInner, setSize);
}

// --- reading -------------------------------------------------------------------

int16_t VInterlacingStream::_DeInterlacingBuffer()
{
    // The record is taken whole (head and block) before any byte of it is
    // used: a record cut short ends the read with the inner error.
    while (fRecordHave < 12) {
        uint32_t n = 12 - fRecordHave;
        int16_t err = fInner->GetData(fRecordHead + fRecordHave, &n);
        fRecordHave += n;
        if (err == 0 && n == 0) err = kStreamEndOfData;
        if (err != 0) return err;
    }
    const int32_t form = MatchMarker(fRecordHead, kBlockMarker);
    if (form == 0) return kArchiveErrBadData;
    // The reversed marker turns the inner stream little-endian for good.
    if (form == 2) fInner->SetCpuKind(kCpuSelectIntel, platform::kHostCpuKind);
    const bool little = form == 2;
    const uint32_t number = little ? platform::ReadLE32(fRecordHead + 4) : platform::ReadBE32(fRecordHead + 4);
    const uint32_t length = little ? platform::ReadLE32(fRecordHead + 8) : platform::ReadBE32(fRecordHead + 8);
    if (number != fBlockCounter + 1 || length > fBlockSize) return kArchiveErrBadData;
    while (fRecordHave < 12 + fBlockSize) {
        uint32_t n = 12 + fBlockSize - fRecordHave;
        int16_t err = fInner->GetData(fBlock + (fRecordHave - 12), &n);
        fRecordHave += n;
        if (err == 0 && n == 0) err = kStreamEndOfData;
        if (err != 0) return err;
    }
    fRecordHave = 0;
    ++fBlockCounter;
    for (uint32_t i = 0; i < fChunksPerBlock && i * kChunkSize < length; ++i) {
        const uint32_t n = length - i * kChunkSize < kChunkSize ? length - i * kChunkSize : kChunkSize;
        std::memcpy(fOrdered + i * kChunkSize, fBlock + SlotOf(i) * kChunkSize, n);
    }
    fDataLength = length;
    fReadPos = 0;
    return 0;
}

int16_t VInterlacingStream::GetData(void* buffer, uint32_t* length)
{
    const uint32_t wanted = *length;
    *length = 0;
    if (const int16_t err = DirectionError(kStreamReading); err != 0) return err;
    if (fError != 0 && fError != kStreamEndOfData) return fError;
    fError = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    uint32_t delivered = 0;
    while (delivered < wanted && fError == 0) {
        if (fReadPos >= fDataLength) {
            fError = _DeInterlacingBuffer();
            continue;
        }
        const uint32_t left = fDataLength - fReadPos;
        const uint32_t n = left < wanted - delivered ? left : wanted - delivered;
        std::memcpy(out + delivered, fOrdered + fReadPos, n);
        fReadPos += n;
        delivered += n;
    }
    *length = delivered;
    return fError;
}

int16_t VInterlacingStream::CloseReading()
{
    if (const int16_t err = DirectionError(kStreamReading)) return err;
    FreeBuffers();
    return FinishReading(fInner);
}
