#include "network/Wire.h"

#include <cstring>

#include "platform/core/Endian.h"

namespace wire {

using platform::ReadBE16;
using platform::ReadBE32;
using platform::WriteBE16;
using platform::WriteBE32;

void EncodeRequestHeader(const RequestHeader& header, uint8_t out[kHeaderSize])
{
    WriteBE16(out, kRequestMagic);
    WriteBE16(out + 2, header.sequence);
    WriteBE16(out + 4, uint16_t(header.code));
    WriteBE16(out + 6, 0);
    WriteBE32(out + 8, header.length);
}

bool DecodeRequestHeader(const uint8_t in[kHeaderSize], RequestHeader* header)
{
    if (ReadBE16(in) != kRequestMagic) return false;
    header->sequence = ReadBE16(in + 2);
    header->code = int16_t(ReadBE16(in + 4));
    header->length = ReadBE32(in + 8);
    return true;
}

void EncodeReplyHeader(const ReplyHeader& header, uint8_t out[kHeaderSize])
{
    WriteBE16(out, kReplyMagic);
    WriteBE16(out + 2, header.sequence);
    WriteBE16(out + 4, uint16_t(header.error));
    WriteBE16(out + 6, header.kind);
    WriteBE32(out + 8, header.length);
}

bool DecodeReplyHeader(const uint8_t in[kHeaderSize], ReplyHeader* header)
{
    if (ReadBE16(in) != kReplyMagic) return false;
    header->sequence = ReadBE16(in + 2);
    header->error = int16_t(ReadBE16(in + 4));
    header->kind = ReadBE16(in + 6);
    header->length = ReadBE32(in + 8);
    return true;
}

void EncodeGreeting(bool littleEndian, uint8_t out[kGreetingSize])
{
    std::memcpy(out, kGreetingTag, 4);
    out[4] = littleEndian ? kOrderLittle : kOrderBig;
    out[5] = kProtocolVersion;
    out[6] = 0;
    out[7] = 0;
}

bool DecodeGreeting(const uint8_t in[kGreetingSize], bool* littleEndian)
{
    if (std::memcmp(in, kGreetingTag, 4) != 0 || in[5] != kProtocolVersion) return false;
    if (in[4] != kOrderBig && in[4] != kOrderLittle) return false;
    *littleEndian = in[4] == kOrderLittle;
    return true;
}

}  // namespace wire
