#include "toolbox/files/KindResource.h"

#include <cstring>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "toolbox/files/FileNames.h"
#include "toolbox/foundation/VStr.h"

bool ReadKindAppName(const uint8_t* data, size_t size, uint8_t (&name)[256])
{
    name[0] = 0;
    // Signature (4), region code (2), entry count (2), then the entries.
    constexpr size_t kHeader = 8;
    if (!data || size < kHeader + 5) return false;
    if (platform::ReadBE16(data + 6) < 1) return false;
    if (platform::ReadBE32(data + kHeader) != kAppNameKind) return false;
    const size_t length = data[kHeader + 4];
    if (kHeader + 5 + length > size) return false;
    name[0] = uint8_t(length);
    std::memcpy(name + 1, data + kHeader + 5, length);
    return true;
}

std::string GetClientName()
{
    platform::Handle h = platform::GetResource(kKindResType, kClientNameKindID);
    if (!h || !*h) return {};
    uint8_t name[256];
    const bool found = ReadKindAppName(reinterpret_cast<const uint8_t*>(*h), size_t(platform::GetHandleSize(h)), name);
    if (!found || name[0] == 0) return {};
    VStr<255> text;
    text.FromMacPString(name);
    return ToUtf8(text);
}
