// Reading chunk files. Every size read is checked against the bound of its
// group before anything is read or skipped, and groups nest at most
// kMaxOpenGroups deep: nested groups are read by recursion through the
// client procedures, so the limit bounds the stack.
#include "forms/iff/Iff.h"

#include <algorithm>
#include <cstring>

#include "platform/core/Endian.h"

namespace {

bool Odd(int32_t v) { return (v & 1) != 0; }
bool IsGroup(IFFP id) { return id == ID_FORM || id == ID_LIST || id == ID_CAT || id == ID_PROP; }

void TurnUnits(void* buffer, int32_t byteCount, int32_t unit)
{
    auto* b = static_cast<uint8_t*>(buffer);
    for (int32_t at = 0; at + unit <= byteCount; at += unit) platform::ReverseBytes(b + at, size_t(unit));
}

}  // namespace

IFFP OpenRIFF(IOFile* file, _GroupContext* context, _ClientFrame* frame)
{
    *context = _GroupContext{};
    context->clientFrame = frame;
    context->file = file;
    context->bound = FileLength(file);
    if (context->bound < 0) return context->bound;
    if (context->bound < kChunkHeaderSize) return NOT_IFF;
    if (FSeek(file, 0, kSeekFromStart) != 0) return DOS_ERROR;
    return IFF_OKAY;
}

IFFP OpenRGroup(_GroupContext* parent, _GroupContext* newContext)
{
    *newContext = _GroupContext{};
    newContext->parent = parent;
    newContext->clientFrame = parent->clientFrame;
    newContext->file = parent->file;
    newContext->position = parent->position;
    newContext->byteReversed = parent->byteReversed;
    newContext->depth = uint8_t(parent->depth + 1);
    const int64_t bound = int64_t(parent->position) + ChunkMoreBytes(parent);
    newContext->bound = int32_t(bound);
    if (bound > parent->bound || bound < parent->position || Odd(newContext->bound)) return BAD_IFF;
    if (newContext->depth > kMaxOpenGroups) return BAD_IFF;
    return IFF_OKAY;
}

IFFP CloseRGroup(_GroupContext* context)
{
    if (_GroupContext* parent = context->parent) {
        parent->bytesSoFar += context->position - parent->position;
        parent->position = context->position;
    }
    return IFF_OKAY;
}

IFFP SkipFwd(_GroupContext* context, int32_t count)
{
    if (count < 1) return IFF_OKAY;
    if (count > context->bound - context->position) return BAD_IFF;
    if (FSeek(context->file, count, kSeekFromMark) != 0) return BAD_IFF;
    context->position += count;
    return IFF_OKAY;
}

IFFP GetChunkHdr(_GroupContext* context)
{
    // What is left of the current chunk and its pad, summed wide: a stored
    // size near the 32-bit limit must not wrap into a step backwards.
    const int64_t left = std::max<int64_t>(int64_t(context->ckSize) - context->bytesSoFar, 0) + (context->ckSize & 1);
    if (left > int64_t(context->bound) - context->position) return context->ckId = BAD_IFF;
    IFFP result = SkipFwd(context, int32_t(left));
    if (result != IFF_OKAY) return context->ckId = result;
    context->ckId = BAD_IFF;
    context->subtype = 0;
    context->bytesSoFar = 0;
    const int32_t remaining = context->bound - context->position;
    if (remaining == 0) {
        context->ckSize = 0;
        return context->ckId = END_MARK;
    }
    if (remaining < kChunkHeaderSize) {
        context->ckSize = remaining;
        return BAD_IFF;
    }
    uint8_t header[8];
    IOFile* file = context->file;
    if (file->fileRef == 0 && file->handle && file->mark <= file->logicalEnd - 8) {
        // A memory target: the header is taken where it lies.
        std::memcpy(header, *file->handle + file->base + file->mark, 8);
        file->mark += 8;
    } else {
        const int32_t got = FRead(file, header, 8);
        if (got < 0) return context->ckId = DOS_ERROR;
        if (got < 8) return context->ckId = BAD_IFF;
    }
    if (context->byteReversed) TurnUnits(header, 8, 4);
    IFFP id = IFFP(platform::ReadBE32(header));
    context->ckSize = int32_t(platform::ReadBE32(header + 4));
    if (!context->parent) {
        if (id == ID_MROF || id == ID_TSIL || id == ID_TAC) {
            context->byteReversed = 1;
            TurnUnits(header, 8, 4);
            id = IFFP(platform::ReadBE32(header));
            context->ckSize = int32_t(platform::ReadBE32(header + 4));
        } else if (id != ID_FORM && id != ID_LIST && id != ID_CAT) {
            return context->ckId = NOT_IFF;
        }
    }
    context->position += kChunkHeaderSize;
    if (id > 0 && context->ckSize >= 0 && context->ckSize <= remaining - kChunkHeaderSize) {
        context->ckId = id;
        if (IsGroup(id)) {
            uint8_t subtype[4];
            result = IFFReadBytes(context, subtype, 4);
            if (result != IFF_OKAY) return context->ckId = result;
            if (context->byteReversed) TurnUnits(subtype, 4, 4);
            context->subtype = IFFP(platform::ReadBE32(subtype));
        }
        return id;
    }
    // A size past the group's end: what remains is taken as the chunk so
    // that nothing beyond the group is read or skipped into.
    if (id > 0 || context->ckSize < 0 || context->ckSize > remaining - kChunkHeaderSize)
        context->ckSize = remaining - kChunkHeaderSize;
    return context->ckId = BAD_IFF;
}

IFFP IFFReadBytes(_GroupContext* context, void* buffer, int32_t count)
{
    if (count < 0) return CLIENT_ERROR;
    if (count > ChunkMoreBytes(context)) return SHORT_CHUNK;
    if (count == 0) return IFF_OKAY;
    const int32_t got = FRead(context->file, buffer, count);
    if (got < 0) return DOS_ERROR;
    if (got < count) return BAD_IFF;
    context->bytesSoFar += count;
    context->position += count;
    return IFF_OKAY;
}

IFFP IFFReadWords(_GroupContext* context, void* buffer, int32_t byteCount)
{
    const IFFP result = IFFReadBytes(context, buffer, byteCount);
    if (result == IFF_OKAY && context->byteReversed) TurnUnits(buffer, byteCount, 2);
    return result;
}

IFFP IFFReadLongs(_GroupContext* context, void* buffer, int32_t byteCount)
{
    const IFFP result = IFFReadBytes(context, buffer, byteCount);
    if (result == IFF_OKAY && context->byteReversed) TurnUnits(buffer, byteCount, 4);
    return result;
}

IFFP IFFReadPaddedPString(_GroupContext* context, unsigned char* buffer)
{
    IFFP result = IFFReadBytes(context, buffer, 1);
    if (result != IFF_OKAY) return result;
    const int32_t length = buffer[0];
    return IFFReadBytes(context, buffer + 1, length + ((length + 1) & 1));
}

IFFP ReadIFF(IOFile* file, _ClientFrame* frame)
{
    _GroupContext context;
    IFFP result = OpenRIFF(file, &context, frame);
    if (result == IFF_OKAY) {
        result = GetChunkHdr(&context);
        if (result == ID_FORM) result = frame->getForm(&context);
        else if (result == ID_LIST) result = frame->getList(&context);
        else if (result == ID_CAT) result = frame->getCat(&context);
        else if (result > 0) result = NOT_IFF;
    }
    CloseRGroup(&context);
    return result > 0 ? NOT_IFF : result;
}

IFFP ReadIList(_GroupContext* parent, _ClientFrame* frame)
{
    _GroupContext list;
    IFFP result = OpenRGroup(parent, &list);
    if (result != IFF_OKAY) return result;
    // Properties lead a list; a concatenation holds none.
    bool propertiesAllowed = parent->ckId != ID_CAT;
    if (propertiesAllowed) list.clientFrame = frame;
    do {
        result = GetChunkHdr(&list);
        if (result == ID_PROP) result = propertiesAllowed ? frame->getProp(&list) : BAD_IFF;
        else if (result == ID_FORM) result = frame->getForm(&list);
        else if (result == ID_LIST) result = frame->getList(&list);
        else if (result == ID_CAT) result = frame->getCat(&list);
        else if (result > 0) result = IFF_OKAY;  // a plain chunk: skipped at the next header
        if (list.ckId != ID_PROP) propertiesAllowed = false;
    } while (result == IFF_OKAY);
    CloseRGroup(&list);
    if (result > 0) result = BAD_IFF;
    return result == END_MARK ? IFF_OKAY : result;
}

IFFP GetF1ChunkHdr(_GroupContext* context)
{
    IFFP result = GetChunkHdr(context);
    _ClientFrame* frame = context->clientFrame;
    if (result == ID_PROP) result = BAD_IFF;
    else if (result == ID_FORM) result = frame->getForm(context);
    else if (result == ID_LIST) result = frame->getList(context);
    else if (result == ID_CAT) result = frame->getCat(context);
    return context->ckId = result;
}

IFFP SkipGroup(_GroupContext*) { return IFF_OKAY; }

IFFP GetList(_GroupContext* context) { return ReadIList(context, context->clientFrame); }

IFFP GetProp(_GroupContext*) { return IFF_OKAY; }
