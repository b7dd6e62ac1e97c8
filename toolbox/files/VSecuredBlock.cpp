#include "toolbox/files/VSecuredBlock.h"

#include <cstring>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "toolbox/files/FileCodes.h"
#include "toolbox/foundation/VMemoryMgr.h"
#include "toolbox/foundation/VStream.h"

namespace {

constexpr uint32_t kRecordMarker = platform::FourCC("SCB2");

uint8_t* NewData() { return reinterpret_cast<uint8_t*>(gMemory->NewPtrClear(int32_t(kSecuredDataSize))); }

void FreeData(uint8_t* data)
{
    if (data) gMemory->DisposePtr(reinterpret_cast<char*>(data));
}

int16_t WriteRecord(VStream* stream, const uint8_t* data, uint32_t length)
{
    uint8_t digest[16];
    SecuredDigest(data, length, digest);
    uint8_t head[8];
    platform::WriteBE32(head, kRecordMarker);
    platform::WriteBE32(head + 4, length);
    stream->PutData(head, 8);
    stream->PutData(data, kSecuredDataSize);
    const int16_t err = stream->PutData(digest, 16);
    return err != 0 ? err : stream->GetError();
}

}  // namespace

void SecuredDigest(const uint8_t* data, uint32_t length, uint8_t digest[16])
{
    uint8_t tail[4];
    platform::WriteBE32(tail, length);
    VChecksumMD5 md5;
    md5.Update(data, kSecuredDataSize);
    md5.Update(tail, 4);
    md5.GetChecksum(digest);
}

VSecuredBlock::VSecuredBlock() : fData(NewData()) {}

VSecuredBlock::~VSecuredBlock() { FreeData(fData); }

void VSecuredBlock::Clear()
{
    if (fData) std::memset(fData, 0, kSecuredDataSize);
    fLength = 0;
}

int16_t VSecuredBlock::FromStream(VStream* stream)
{
    if (!stream) return kFileErrMissing;
    if (!fData) return kFileErrMemory;
    if (fLength == 0) {
        std::memset(fData, 0, kSecuredDataSize);
        ++fCount;
    }
    const int64_t remaining = int64_t(stream->GetSize()) - stream->GetPos();
    uint32_t n = kSecuredDataSize - fLength;
    if (remaining < int64_t(n)) n = remaining > 0 ? uint32_t(remaining) : 0;
    const int16_t err = stream->GetData(fData + fLength, &n);
    fLength += n;
    return err;
}

int16_t VSecuredBlock::ToStream(VStream* stream)
{
    if (!fData) return kFileErrMemory;
    if (!stream) return kFileErrMissing;
    SecuredDigest(fData, fLength, fDigest);
    const int16_t err = WriteRecord(stream, fData, fLength);
    fLength = 0;
    return err;
}

VSecuredChecksumBlock::VSecuredChecksumBlock() : fData(NewData()) {}

VSecuredChecksumBlock::~VSecuredChecksumBlock() { FreeData(fData); }

void VSecuredChecksumBlock::Fold(const uint8_t* data, uint32_t length)
{
    if (!fData) return;
    for (uint32_t i = 0; i < kSecuredDataSize; ++i) fData[i] ^= data[i];
    fLength ^= length;
    ++fCount;
}

int16_t VSecuredChecksumBlock::ToStream(VStream* stream)
{
    if (!fData) return kFileErrMemory;
    if (!stream) return kFileErrMissing;
    return WriteRecord(stream, fData, fLength);
}

void VSecuredChecksumBlock::Reset()
{
    if (fData) std::memset(fData, 0, kSecuredDataSize);
    fLength = 0;
    fCount = 0;
}
