#include "forms/walkers/ChunkRewrite.h"

#include "forms/walkers/WalkerFrame.h"

bool TakeStoredChunk(_GroupContext* context, StoredChunk* out)
{
    IOFile* file = context->file;
    const int32_t size = ChunkMoreBytes(context);
    if (!file || file->fileRef != 0 || !file->handle || context->bytesSoFar != 0 || size < 0 ||
        int64_t(file->mark) + size > file->logicalEnd)
        return false;
    out->id = context->ckId;
    out->data = reinterpret_cast<const uint8_t*>(*file->handle) + file->base + file->mark;
    out->size = size;
    return true;
}

bool ChunkEdit::Replace(int32_t at, int32_t length, std::string bytes)
{
    const int32_t from = edits_.empty() ? 0 : edits_.back().at + edits_.back().length;
    if (at < from || length < 0 || int64_t(at) + length > chunk_.size) return false;
    edits_.push_back({at, length, std::move(bytes)});
    return true;
}

int64_t ChunkEdit::NewSize() const
{
    int64_t size = chunk_.size;
    for (const Edit& e : edits_) size += int64_t(e.bytes.size()) - e.length;
    return size;
}

IFFP ChunkEdit::Write(_GroupContext* output) const
{
    if (!output) return IFF_OKAY;
    if (edits_.empty()) return PutCk(output, chunk_.id, chunk_.size, chunk_.data);
    if (NewSize() > INT32_MAX - 1) return CLIENT_ERROR;
    IFFP result = PutCkHdr(output, chunk_.id, kSizeUnknown);
    int32_t at = 0;
    for (const Edit& e : edits_) {
        if (result == IFF_OKAY) result = IFFWriteBytes(output, chunk_.data + at, e.at - at);
        if (result == IFF_OKAY) result = IFFWriteBytes(output, e.bytes.data(), int32_t(e.bytes.size()));
        at = e.at + e.length;
    }
    if (result == IFF_OKAY) result = IFFWriteBytes(output, chunk_.data + at, chunk_.size - at);
    return result == IFF_OKAY ? PutCkEnd(output) : result;
}

std::string PStrBytes(const unsigned char* text) { return std::string(reinterpret_cast<const char*>(text), text[0] + 1u); }

std::string PaddedPStrBytes(const unsigned char* text)
{
    std::string bytes = PStrBytes(text);
    if (bytes.size() & 1) bytes.push_back('\0');
    return bytes;
}

_GroupContext* WalkOutput(_GroupContext* context)
{
    WalkerFrame* frame = WalkerFrameOf(context);
    return frame->writeOutput ? frame->output : nullptr;
}
