// Writing chunk files. A size given as kSizeUnknown is back-patched by
// PutCkEnd, which needs a target that can seek back: memory always can.
#include "forms/iff/Iff.h"

#include "platform/core/Endian.h"

namespace {

bool Odd(int32_t v) { return (v & 1) != 0; }
bool Known(int32_t size) { return size != kSizeUnknown; }

IFFP WriteLong(IOFile* file, int32_t v)
{
    uint8_t b[4];
    platform::WriteBE32(b, uint32_t(v));
    return FWrite(file, b, 4) == 0 ? IFF_OKAY : DOS_ERROR;
}

// Whether a chunk of that id and size may begin where the context stands.
IFFP CheckHeader(const _GroupContext* context, IFFP ckId, int32_t ckSize)
{
    if (context->ckId != 0 || ckId <= 0) return CLIENT_ERROR;
    if (!context->parent && ((ckId != ID_FORM && ckId != ID_LIST && ckId != ID_CAT) || context->position != 0))
        return CLIENT_ERROR;
    if (Known(ckSize) && ckSize < 0) return CLIENT_ERROR;
    if (Known(context->bound)) {
        const int64_t end = int64_t(context->position) + kChunkHeaderSize + (Known(ckSize) ? ckSize : 0);
        if (end > context->bound) return CLIENT_ERROR;
    }
    return IFF_OKAY;
}

}  // namespace

IFFP OpenWIFF(IOFile* file, _GroupContext* context, int32_t limit)
{
    *context = _GroupContext{};
    context->file = file;
    context->bound = limit;
    if (Known(limit) && Odd(limit)) return CLIENT_ERROR;
    if (FSeek(file, 0, kSeekFromStart) != 0) return DOS_ERROR;
    return IFF_OKAY;
}

IFFP OpenWGroup(_GroupContext* parent, _GroupContext* newContext)
{
    *newContext = _GroupContext{};
    newContext->parent = parent;
    newContext->clientFrame = parent->clientFrame;
    newContext->file = parent->file;
    newContext->position = parent->position;
    newContext->bound = parent->bound;
    if (Known(parent->ckSize)) newContext->bound = parent->position + ChunkMoreBytes(parent);
    newContext->depth = uint8_t(parent->depth + 1);
    if (parent->ckId == 0 || Odd(newContext->position) || (Known(newContext->bound) && Odd(newContext->bound)))
        return CLIENT_ERROR;
    return IFF_OKAY;
}

IFFP StartWGroup(_GroupContext* parent, IFFP groupId, int32_t groupSize, IFFP subtype, _GroupContext* newContext)
{
    IFFP result = PutCkHdr(parent, groupId, groupSize);
    uint8_t b[4];
    platform::WriteBE32(b, uint32_t(subtype));
    if (result == IFF_OKAY) result = IFFWriteBytes(parent, b, 4);
    if (result == IFF_OKAY) result = OpenWGroup(parent, newContext);
    return result;
}

IFFP PutCkHdr(_GroupContext* context, IFFP ckId, int32_t ckSize)
{
    if (const IFFP err = CheckHeader(context, ckId, ckSize)) return err;
    context->ckId = ckId;
    context->ckSize = ckSize;
    context->bytesSoFar = 0;
    uint8_t header[8];
    platform::WriteBE32(header, uint32_t(ckId));
    platform::WriteBE32(header + 4, uint32_t(ckSize));
    if (FWrite(context->file, header, 8) != 0) return DOS_ERROR;
    context->position += kChunkHeaderSize;
    return IFF_OKAY;
}

IFFP IFFWriteBytes(_GroupContext* context, const void* data, int32_t count)
{
    if (context->ckId == 0 || count < 0) return CLIENT_ERROR;
    if (Known(context->bound) && int64_t(context->position) + count > context->bound) return CLIENT_ERROR;
    if (Known(context->ckSize) && int64_t(context->bytesSoFar) + count > context->ckSize) return CLIENT_ERROR;
    if (FWrite(context->file, data, count) != 0) return DOS_ERROR;
    context->bytesSoFar += count;
    context->position += count;
    return IFF_OKAY;
}

IFFP PutCkEnd(_GroupContext* context)
{
    if (!context || context->ckId == 0) return CLIENT_ERROR;
    if (!Known(context->ckSize)) {
        if (FSeek(context->file, -(4 + context->bytesSoFar), kSeekFromMark) != 0) return DOS_ERROR;
        if (WriteLong(context->file, context->bytesSoFar) != IFF_OKAY) return DOS_ERROR;
        if (FSeek(context->file, context->bytesSoFar, kSeekFromMark) != 0) return DOS_ERROR;
    } else if (context->bytesSoFar != context->ckSize) {
        return CLIENT_ERROR;
    }
    if (Odd(context->bytesSoFar)) {
        const uint8_t pad = 0;
        if (FWrite(context->file, &pad, 1) != 0) return DOS_ERROR;
        ++context->position;
    }
    context->ckId = 0;
    context->ckSize = context->bytesSoFar = 0;
    return IFF_OKAY;
}

IFFP PutCkFramed(_GroupContext* context, IFFP ckId, int32_t ckSize, uint8_t* framed)
{
    if (const IFFP err = CheckHeader(context, ckId, ckSize)) return err;
    platform::WriteBE32(framed, uint32_t(ckId));
    platform::WriteBE32(framed + 4, uint32_t(ckSize));
    const int32_t padded = ckSize + (Odd(ckSize) ? 1 : 0);
    if (Odd(ckSize)) framed[kChunkHeaderSize + ckSize] = 0;
    // The target is left as it was when the write fails: it writes all or nothing.
    if (FWrite(context->file, framed, kChunkHeaderSize + padded) != 0) return DOS_ERROR;
    context->position += kChunkHeaderSize + padded;
    return IFF_OKAY;
}

IFFP PutCk(_GroupContext* context, IFFP ckId, int32_t ckSize, const void* data)
{
    if (!Known(ckSize)) return CLIENT_ERROR;
    IFFP result = PutCkHdr(context, ckId, ckSize);
    if (result == IFF_OKAY) result = IFFWriteBytes(context, data, ckSize);
    if (result == IFF_OKAY) result = PutCkEnd(context);
    return result;
}

IFFP CloseWGroup(_GroupContext* context)
{
    if (context->ckId != 0) return CLIENT_ERROR;
    if (_GroupContext* parent = context->parent) {
        parent->bytesSoFar += context->position - parent->position;
        parent->position = context->position;
    }
    return IFF_OKAY;
}

IFFP EndWGroup(_GroupContext* context)
{
    if (!context->parent) return CLIENT_ERROR;
    const IFFP result = CloseWGroup(context);
    return result != IFF_OKAY ? result : PutCkEnd(context->parent);
}
