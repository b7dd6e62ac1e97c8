#include "resources/container/ContainerLayout.h"

#include <cstring>

#include "platform/core/Endian.h"

namespace container {

using platform::ReadBE32;
using platform::WriteBE32;

ContainerHeader ContainerHeader::FromBlockRes(const uint8_t* bytes)
{
    ContainerHeader h;
    h.magic = ReadBE32(bytes);
    h.logicalEnd = ReadBE32(bytes + 4);
    h.mapOffset = ReadBE32(bytes + 8);
    h.pageTableOffset = ReadBE32(bytes + 12);
    h.mapLength = ReadBE32(bytes + 16);
    h.flagsMarker = ReadBE32(bytes + 24);
    h.flags = h.flagsMarker == kFlagsMarker ? ReadBE32(bytes + 20) : 0;
    return h;
}

void ContainerHeader::ToBlockRes(uint8_t* bytes) const
{
    std::memset(bytes, 0, kHeaderSize);
    WriteBE32(bytes, magic);
    WriteBE32(bytes + 4, logicalEnd);
    WriteBE32(bytes + 8, mapOffset);
    WriteBE32(bytes + 12, pageTableOffset);
    WriteBE32(bytes + 16, mapLength);
    WriteBE32(bytes + 20, flags);
    WriteBE32(bytes + 24, kFlagsMarker);
}

}  // namespace container
