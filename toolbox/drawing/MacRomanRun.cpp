#include "toolbox/drawing/MacRomanRun.h"

#include "toolbox/foundation/VIntlMgr.h"

void MacRomanFromUnicode(const char16_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t count)
{
    if (gDefaultIntl) {
        gDefaultIntl->Uni2Mac(src, dst, dstEnd, count);
        return;
    }
    // Before the international manager exists: ASCII only.
    for (int32_t i = 0; i < count && dst < dstEnd; ++i, ++src) *dst++ = *src < 0x80 ? uint8_t(*src) : uint8_t('?');
}
