#include "forms/walkers/EditableIO.h"

#include "platform/core/Endian.h"

IFFP ReadEditableIO(_GroupContext* context, EditableIOStruct* out)
{
    uint8_t b[16];
    IFFP result = IFFReadWords(context, b, 16);
    if (result != IFF_OKAY) return result;
    // The option bytes were turned with the words they do not form.
    if (context->byteReversed) platform::ReverseBytes(b + 8, 2);
    for (int i = 0; i < 4; ++i) out->bounds[i] = int16_t(platform::ReadBE16(b + 2 * i));
    out->entryOption = b[8];
    out->displayOption = b[9];
    out->recordWord1 = int16_t(platform::ReadBE16(b + 10));
    out->tipKind = int16_t(platform::ReadBE16(b + 12));
    out->objectMethodID = int16_t(platform::ReadBE16(b + 14));
    return IFFReadPaddedPString(context, out->format);
}
