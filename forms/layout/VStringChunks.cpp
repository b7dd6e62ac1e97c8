#include "forms/layout/VStringChunks.h"

#include <new>
#include <vector>

#include "forms/iff/ChunkFields.h"
#include "platform/core/Endian.h"
#include "toolbox/foundation/VString.h"

IFFP WriteVStringToIFF(_GroupContext* context, const VString& text)
{
    ChunkWriter w(context);
    const int32_t n = text.GetLength();
    w.U32(uint32_t(n));
    for (int32_t i = 1; i <= n; ++i) w.U16(text.GetChar(i));
    if (n >= 1) w.U16(0);
    return w.Error();
}

IFFP ReadVStringFromIFF(_GroupContext* context, VString& text)
{
    text.ClearString(false);
    ChunkReader r(context);
    int32_t n = 0;
    if (!r.S32(&n)) return r.Error();
    if (n < 1) return IFF_OKAY;
    if (int64_t(n) + 1 > r.Left() / 2) return SHORT_CHUNK;
    std::vector<char16_t> units;
    units.reserve(size_t(n));
    for (int32_t i = 0; i <= n; ++i) {
        uint16_t unit = 0;
        if (!r.U16(&unit)) return r.Error();
        if (i < n) units.push_back(char16_t(unit));
    }
    text.FromUniBlock(units.data(), 0, n);
    return IFF_OKAY;
}
