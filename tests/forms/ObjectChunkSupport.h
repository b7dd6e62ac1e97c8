// Objects written into a form's chunks and read back from chunks written
// by hand, one chunk at a time, without the rest of the form reader; and
// the kernel's table field lists the field objects look up.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "forms/iff/Iff.h"
#include "forms/layout/FormProperties.h"
#include "forms/layout/ReadingFrame.h"
#include "forms/objects/LayoutObject.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "tests/forms/IffBytes.h"

namespace ifftest {

// Every chunk the object writes (its companions included), in a FORM
// 'LAYO' of their own, as the form writer writes them.
inline Bytes Written(LayoutObject* o, bool copy = false)
{
    platform::Handle h = platform::NewHandle(0);
    IOFile* io = MemoryOpen(h, 0);
    FormWriteFrame writer;
    _GroupContext top, form;
    IFFP result = OpenWIFF(io, &top, kSizeUnknown);
    top.clientFrame = &writer.client;
    if (result == IFF_OKAY) result = StartWGroup(&top, ID_FORM, kSizeUnknown, IFFP(platform::FourCC("LAYO")), &form);
    if (result == IFF_OKAY) result = copy ? o->DoCopy(&form) : o->WriteObject(&form);
    if (result == IFF_OKAY) result = EndWGroup(&form);
    FClose(io);
    Bytes b = result == IFF_OKAY ? BytesOf(h) : Bytes{};
    platform::DisposeHandle(h);
    return b;
}

// The ids of a FORM's chunks, in order, and the data of the n-th with an id.
inline std::vector<std::string> ChunkIds(const Bytes& form)
{
    std::vector<std::string> ids;
    for (size_t at = 12; at + 8 <= form.size();) {
        ids.emplace_back(form.begin() + long(at), form.begin() + long(at + 4));
        const size_t size = platform::ReadBE32(form.data() + at + 4);
        at += 8 + size + (size & 1);
    }
    return ids;
}

inline Bytes ChunkData(const Bytes& form, const char* id, int nth = 0)
{
    for (size_t at = 12; at + 8 <= form.size();) {
        const size_t size = platform::ReadBE32(form.data() + at + 4);
        if (std::memcmp(form.data() + at, id, 4) == 0 && nth-- == 0)
            return Bytes(form.begin() + long(at + 8), form.begin() + long(at + 8 + size));
        at += 8 + size + (size & 1);
    }
    return {};
}

// Reads the first chunk of `form` (a FORM of one chunk, in either byte
// order) into the object, through the frame given.
inline IFFP ReadFirstChunk(LayoutObject* o, const Bytes& form, CustomClientFrame* frame)
{
    platform::Handle h = HandleOf(form);
    IOFile* io = MemoryOpen(h, 0);
    _GroupContext top, group;
    IFFP result = OpenRIFF(io, &top, &frame->client);
    if (result == IFF_OKAY && GetChunkHdr(&top) != ID_FORM) result = NOT_IFF;
    if (result == IFF_OKAY) result = OpenRGroup(&top, &group);
    if (result == IFF_OKAY && GetChunkHdr(&group) < 0) result = group.ckId;
    if (result == IFF_OKAY) result = o->ReadObject(frame, &group);
    FClose(io);
    platform::DisposeHandle(h);
    return result;
}

// A table's field list as the kernel keeps it: the count, the table's
// number at 6, 66 bytes per field with its type in byte 32.
inline platform::Handle FieldList(int16_t tableNumber, const std::vector<uint8_t>& types)
{
    platform::Handle h = platform::NewHandleClear(platform::Size(30 + 66 * types.size()));
    platform::WriteBE16(*h, uint16_t(types.size()));
    platform::WriteBE16(*h + 6, uint16_t(tableNumber));
    for (size_t k = 0; k < types.size(); ++k) (*h)[30 + 66 * k + 32] = char(types[k]);
    return h;
}

}  // namespace ifftest
