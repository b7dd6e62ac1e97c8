#include "forms/links/FormLinks.h"

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"

int16_t ParseIFFForm(platform::Handle form, TLayoutObjQz*)
{
    const int32_t size = form && *form ? platform::GetHandleSize(form) : 0;
    if (size < 8) return kFormImageUnreadable;
    const auto* bytes = reinterpret_cast<const uint8_t*>(*form);
    // A byte-reversed image keeps its lengths little-endian.
    uint32_t length = 0;
    if (platform::ReadBE32(bytes) == platform::FourCC("FORM")) length = platform::ReadBE32(bytes + 4);
    else if (platform::ReadBE32(bytes) == platform::FourCC("MROF")) length = platform::ReadLE32(bytes + 4);
    else return kFormImageUnreadable;
    return int64_t(length) + 8 <= size ? 0 : kFormImageUnreadable;
}
