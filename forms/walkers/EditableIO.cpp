#include "forms/walkers/EditableIO.h"

#include <cstring>

#include "forms/iff/ChunkFields.h"

IFFP ReadEditableIO(_GroupContext* context, EditableIOStruct* out)
{
    ChunkReader r(context);
    for (int16_t& v : out->bounds) r.S16(&v);
    // The option bytes are bytes in either byte order.
    r.U8(&out->entryOption);
    r.U8(&out->displayOption);
    r.S16(&out->recordWord1);
    r.S16(&out->tipKind);
    r.S16(&out->objectMethodID);
    uint8_t length = 0;
    if (!r.U8(&length) || !r.Bytes(out->format + 1, length + ((length + 1) & 1))) return r.Error();
    out->format[0] = length;
    return IFF_OKAY;
}
