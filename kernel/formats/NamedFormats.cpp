#include "kernel/formats/NamedFormats.h"

#include <algorithm>
#include <cstring>

#include "kernel/collation/Compare.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

namespace {
constexpr int32_t kEntrySize = 114;
constexpr int32_t kNameField = 32;  // the name: a length byte and up to 31 characters
}  // namespace

void findstyle(platform::StringPtr dest, platform::ConstStr255Param name)
{
    dest[0] = 0;
    platform::Str255 wanted = {};
    if (name[0] > 0) {
        wanted[0] = static_cast<uint8_t>(name[0] - 1);
        std::memcpy(wanted + 1, name + 2, wanted[0]);
    }
    platform::Handle table = platform::GetResource(platform::FourCC("STQz"), 0);
    if (table == nullptr || *table == nullptr) return;
    const int32_t size = platform::GetHandleSize(table);
    if (size < 2) return;
    const auto* bytes = reinterpret_cast<const uint8_t*>(*table);
    const int32_t count = std::min<int32_t>(platform::ReadBE16(bytes), (size - 2) / kEntrySize);
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* entry = bytes + 2 + i * kEntrySize;
        platform::Str255 entryName = {};
        entryName[0] = std::min<uint8_t>(entry[0], kNameField - 1);
        std::memcpy(entryName + 1, entry + 1, entryName[0]);
        if (rel2str(entryName, wanted) != 0) continue;
        const uint8_t* style = entry + kNameField;
        dest[0] = std::min<uint8_t>(style[0], kEntrySize - kNameField - 1);
        std::memcpy(dest + 1, style + 1, dest[0]);
        return;
    }
}
