// Writes values to a fresh big-endian (PowerPC) handle stream and reads them back.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/Memory.h"
#include "toolbox/foundation/VHandleStream.h"

using ByteList = std::vector<uint8_t>;

template <typename Write>
ByteList WrittenBigEndian(Write write)
{
    char** h = nullptr;
    ByteList bytes;
    {
        VHandleStream stream(&h);
        stream.SetCpuKind(kCpuPowerPC, kCpuIntel);
        stream.OpenWriting();
        write(stream);
        stream.CloseWriting(true);
        const auto* p = reinterpret_cast<const uint8_t*>(*h);
        bytes.assign(p, p + platform::GetHandleSize(h));
    }
    platform::DisposeHandle(h);
    return bytes;
}
