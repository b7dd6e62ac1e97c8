#include "toolbox/files/VRedundancyStream.h"

#include <cstring>

#include "platform/core/Endian.h"
#include "toolbox/files/FileCodes.h"
#include "toolbox/foundation/VMemoryMgr.h"
#include "toolbox/foundation/VPtrStream.h"

namespace {

constexpr uint32_t kGroupMarker = platform::FourCC("RDCY");
constexpr uint32_t kRecordMarker = platform::FourCC("SCB2");
constexpr uint32_t kOldRecordMarker = platform::FourCC("SCBK");
constexpr uint32_t kDigestOffset = 8 + kSecuredDataSize;

// The data length a record states, or -1 when its marker or length is
// not one a writer makes.
int32_t RecordLength(const uint8_t* record)
{
    uint32_t length;
    if (MatchMarker(record, kRecordMarker) != 0)
        length = platform::ReadBE32(record + 4);
    else if (MatchMarker(record, kOldRecordMarker) != 0)
        length = platform::ReadBE16(record + 6);
    else
        return -1;
    return length <= kSecuredDataSize ? int32_t(length) : -1;
}

bool RecordChecks(const uint8_t* record)
{
    const int32_t length = RecordLength(record);
    if (length < 0) return false;
    uint8_t digest[16];
    // The older form's digest has four zero bytes behind the data.
    SecuredDigest(record + 8, MatchMarker(record, kRecordMarker) != 0 ? uint32_t(length) : 0, digest);
    return VChecksumMD5::IsEqual(digest, record + kDigestOffset);
}

uint8_t* NewBuffer(uint32_t size) { return reinterpret_cast<uint8_t*>(gMemory->NewPtrClear(int32_t(size))); }

void FreeBuffer(uint8_t*& buffer)
{
    if (buffer) gMemory->DisposePtr(reinterpret_cast<char*>(buffer));
    buffer = nullptr;
}

}  // namespace

VRedundancyStream::VRedundancyStream(VStream* inner, uint32_t blocksPerGroup)
    : fInner(inner), fBlocksPerGroup(blocksPerGroup)
{
}

VRedundancyStream::~VRedundancyStream() { FreeBuffers(); }

void VRedundancyStream::FreeBuffers()
{
    FreeBuffer(fStaging);
    FreeBuffer(fGroup);
    FreeBuffer(fDecoded);
}

int16_t VRedundancyStream::OpenWriting()
{
    fError = 0;
    if (fState != kStreamClosed) return kStreamAlreadyOpen;
    if (!fInner) return kStreamNoHandle;
    if (fBlocksPerGroup == 0 || fBlocksPerGroup > kMaxArchiveFactor) return kArchiveErrBadData;
    fStaging = NewBuffer(kSecuredDataSize);
    if (!fStaging) return kFileErrMemory;
    fStaged = 0;
    fParity.Reset();
    fState = kStreamWriting;
    return fInner->OpenWriting();
}

int16_t VRedundancyStream::OpenReading()
{
    fError = 0;
    if (fState != kStreamClosed) return kStreamAlreadyOpen;
    if (!fInner) return kStreamNoHandle;
    if (fBlocksPerGroup == 0 || fBlocksPerGroup > kMaxArchiveFactor) return kArchiveErrBadData;
    fGroup = NewBuffer(GetGroupSize());
    fDecoded = NewBuffer(GetGroupSize());
    if (!fGroup || !fDecoded) {
        FreeBuffers();
        return kFileErrMemory;
    }
    fGroupHave = fDecodedCount = fReadPos = 0;
    fState = kStreamReading;
    return fInner->OpenReading();
}

// --- writing -------------------------------------------------------------------

int16_t VRedundancyStream::WriteStagedBlock(uint32_t length)
{
    if (fParity.GetCount() == 0) {
        uint8_t marker[4];
        platform::WriteBE32(marker, kGroupMarker);
        if (const int16_t err = fInner->PutData(marker, 4); err != 0) return err;
    }
    fBlock.Clear();
    VPtrStream staged(reinterpret_cast<char*>(fStaging), int32_t(length));
    staged.OpenReading();
    int16_t err = fBlock.FromStream(&staged);
    staged.CloseReading();
    if (err != 0) return err;
    // The last block carries the whole staging buffer, stale bytes too.
    if (length < kSecuredDataSize) std::memcpy(fBlock.GetData() + length, fStaging + length, kSecuredDataSize - length);
    fParity.Fold(fBlock.GetData(), length);
    if ((err = fBlock.ToStream(fInner)) != 0) return err;
    fStaged = 0;
    if (fParity.GetCount() == fBlocksPerGroup) {
        err = fParity.ToStream(fInner);
        fParity.Reset();
    }
    return err;
}

int16_t VRedundancyStream::PutData(const void* data, uint32_t length)
{
    if (const int16_t err = DirectionError(kStreamWriting); err != 0) return err;
    if (fError != 0) return fError;
    if (!data) return 0;
    auto* in = static_cast<const uint8_t*>(data);
    while (length > 0 && fError == 0) {
        const uint32_t n = kSecuredDataSize - fStaged < length ? kSecuredDataSize - fStaged : length;
        std::memcpy(fStaging + fStaged, in, n);
        fStaged += n;
        in += n;
        length -= n;
        if (fStaged == kSecuredDataSize) fError = WriteStagedBlock(kSecuredDataSize);
    }
    return fError;
}

int16_t VRedundancyStream::CloseWriting(uint8_t setSize)
{
    if (fState != kStreamWriting) return kStreamNotOpen;
    if (fError == 0) fError = WriteStagedBlock(fStaged);
    if (fError == 0 && fParity.GetCount() != 0) {
        std::memset(fStaging, 0, kSecuredDataSize);
        while (fError == 0 && fParity.GetCount() != 0) fError = WriteStagedBlock(0);
    }
    FreeBuffers();
    return FinishWriting(fInner, setSize);
}

// --- reading -------------------------------------------------------------------

int16_t VRedundancyStream::_BlocksAreValid()
{
    if (MatchMarker(fGroup, kGroupMarker) == 0) return kArchiveErrBadData;
    const uint32_t n = fBlocksPerGroup;
    uint8_t* records = fGroup + 4;
    int64_t damaged = -1;
    for (uint32_t i = 0; i < n; ++i) {
        if (RecordChecks(records + i * kSecuredRecordSize)) continue;
        if (damaged >= 0) return kArchiveErrBadData;
        damaged = i;
    }
    if (damaged < 0) return 0;
    // The parity record must check itself (its length, an XOR, may pass
    // 2024): the rebuilt record then is the one written.
    const uint8_t* parity = records + n * kSecuredRecordSize;
    uint8_t digest[16];
    SecuredDigest(parity + 8, platform::ReadBE32(parity + 4), digest);
    if (MatchMarker(parity, kRecordMarker) == 0 || !VChecksumMD5::IsEqual(digest, parity + kDigestOffset))
        return kArchiveErrBadData;
    // The damaged record is the XOR of the others and the parity record.
    uint8_t data[kSecuredDataSize] = {};
    uint32_t length = 0;
    for (uint32_t i = 0; i <= n; ++i) {
        if (i == uint32_t(damaged)) continue;
        const uint8_t* record = records + i * kSecuredRecordSize;
        for (uint32_t b = 0; b < kSecuredDataSize; ++b) data[b] ^= record[8 + b];
        length ^= platform::ReadBE32(record + 4);
    }
    if (length > kSecuredDataSize) return kArchiveErrBadData;
    uint8_t* rebuilt = records + uint32_t(damaged) * kSecuredRecordSize;
    platform::WriteBE32(rebuilt, kRecordMarker);
    platform::WriteBE32(rebuilt + 4, length);
    std::memcpy(rebuilt + 8, data, kSecuredDataSize);
    SecuredDigest(data, length, rebuilt + kDigestOffset);
    return 0;
}

void VRedundancyStream::_CopyToBuffer()
{
    fDecodedCount = fReadPos = 0;
    for (uint32_t i = 0; i < fBlocksPerGroup; ++i) {
        const uint8_t* record = fGroup + 4 + i * kSecuredRecordSize;
        const int32_t length = RecordLength(record);
        std::memcpy(fDecoded + fDecodedCount, record + 8, uint32_t(length));
        fDecodedCount += uint32_t(length);
    }
}

int16_t VRedundancyStream::GetData(void* buffer, uint32_t* length)
{
    const uint32_t wanted = *length;
    *length = 0;
    if (const int16_t err = DirectionError(kStreamReading); err != 0) return err;
    if (fError != 0 && fError != kStreamEndOfData) return fError;
    fError = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    uint32_t delivered = 0;
    while (delivered < wanted && fError == 0) {
        if (fReadPos < fDecodedCount) {
            const uint32_t left = fDecodedCount - fReadPos;
            const uint32_t n = left < wanted - delivered ? left : wanted - delivered;
            std::memcpy(out + delivered, fDecoded + fReadPos, n);
            fReadPos += n;
            delivered += n;
            continue;
        }
        // A group cut short ends the read with the inner stream's error,
        // never with the last group's bytes again.
        while (fGroupHave < GetGroupSize() && fError == 0) {
            uint32_t n = GetGroupSize() - fGroupHave;
            fError = fInner->GetData(fGroup + fGroupHave, &n);
            fGroupHave += n;
            if (fError == 0 && n == 0) fError = kStreamEndOfData;
        }
        if (fError != 0) break;
        fGroupHave = 0;
        if ((fError = _BlocksAreValid()) == 0) _CopyToBuffer();
    }
    *length = delivered;
    return fError;
}

int16_t VRedundancyStream::CloseReading()
{
    if (const int16_t err = DirectionError(kStreamReading)) return err;
    FreeBuffers();
    return FinishReading(fInner);
}
