// The chunks of a list box, "GDTL" and a "GCOL" per column (ListBox.h).
#include <algorithm>
#include <cstring>

#include "forms/iff/ChunkFields.h"
#include "forms/layout/ReadingFrame.h"
#include "forms/layout/VStringChunks.h"
#include "forms/listbox/ListBox.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "toolbox/foundation/VText.h"

namespace {

constexpr IFFP kListBox = IFFP(platform::FourCC("GDTL")), kColumn = IFFP(platform::FourCC("GCOL"));

// What the reader does with a chunk that does not hold its items: keep it.
bool Unreadable(IFFP result) { return result == SHORT_CHUNK || result == BAD_FORM; }

// The data of the chunk open in `context`, from where it begins, copied.
struct ChunkStart {
    explicit ChunkStart(_GroupContext* c)
        : file(c->file), at(c->file ? c->file->base + c->file->mark : 0), size(ChunkMoreBytes(c))
    {
    }
    platform::Handle Copy() const
    {
        if (!file || file->fileRef != 0 || !file->handle || size < 0 ||
            int64_t(at) + size > platform::GetHandleSize(file->handle))
            return nullptr;
        platform::Handle h = nullptr;
        return platform::PtrToHand(*file->handle + at, &h, size) == 0 ? h : nullptr;
    }
    IOFile* file;
    int32_t at, size;
};

IFFP ReadText(_GroupContext* context, std::u16string* out)
{
    VText text;
    const IFFP result = ReadVStringFromIFF(context, text);
    out->clear();
    for (int32_t i = 1; i <= text.GetLength(); ++i) out->push_back(text.GetChar(i));
    return result;
}

IFFP WriteText(_GroupContext* context, const std::u16string& s)
{
    VText text;
    text.FromUniBlock(s.data(), 0, int32_t(s.size()));
    return WriteVStringToIFF(context, text);
}

// The id of the chunk after the one open in `context`, without reading
// anything; 0 when the group holds no further chunk.
IFFP NextChunkId(_GroupContext* c)
{
    IOFile* f = c->file;
    if (!f || f->fileRef != 0 || !f->handle) return 0;
    const int64_t skip = std::max<int64_t>(ChunkMoreBytes(c), 0) + (c->ckSize & 1);
    const int64_t position = int64_t(c->position) + skip, mark = int64_t(f->mark) + skip;
    if (position + 8 > c->bound || mark + 8 > f->logicalEnd) return 0;
    uint8_t id[4];
    std::memcpy(id, *f->handle + f->base + mark, 4);
    if (c->byteReversed) std::reverse(id, id + 4);
    return IFFP(platform::ReadBE32(id));
}

}  // namespace

IFFP VLayoutGrid::ReadObject(CustomClientFrame* frame, _GroupContext* context)
{
    const ChunkStart start(context);
    IFFP result = EditableObject::ReadObject(frame, context);
    ChunkReader r(context);
    int32_t look = 0;
    if (result == IFF_OKAY) {
        if (r.S32(&look) && r.S16(&lookStyle) && r.PStr(name, 31)) SetStoredLook(look);
        result = r.Error();
    }
    if (result == IFF_OKAY) result = ReadText(context, &variable);
    if (result == IFF_OKAY && (!r.S16(&range) || !r.S16(&storedColumnCount))) result = r.Error();
    if (result == IFF_OKAY) {
        for (uint8_t* b : {&layer, &flagA, &flagC, &flagD}) {
            if (!r.Has(1)) break;
            r.U8(b);
        }
        result = r.Error();
    }
    if (!Unreadable(result)) return result;
    // Kept whole, to be written back as it came.
    if (rawChunk) platform::DisposeHandle(rawChunk);
    rawChunk = start.Copy();
    return rawChunk ? IFFP(IFF_OKAY) : IFFP(platform::memFullErr);
}

VGridSubObject* VLayoutGrid::ReadSubObject(CustomClientFrame*, _GroupContext* context, IFFP chunkId, IFFP* result)
{
    *result = IFF_OKAY;
    if (chunkId != kColumn) return nullptr;
    const ChunkStart start(context);
    VGridSubObject* column = AddColumn();
    if (!column) {
        *result = platform::memFullErr;
        return nullptr;
    }
    VGridHeader* header = columns_.back().header;
    ChunkReader r(context);
    IFFP read = ReadText(context, &column->variable);
    if (read == IFF_OKAY && !r.S16(&column->range)) read = r.Error();
    if (read == IFF_OKAY) read = ReadText(context, &header->variable);
    if (read == IFF_OKAY && !r.S16(&header->range)) read = r.Error();
    if (read == IFF_OKAY) read = ReadText(context, &header->title);
    if (read == IFF_OKAY && !r.S16(&column->objectMethodID)) read = r.Error();
    if (read == IFF_OKAY || Unreadable(read)) {
        column->SetVariable(column->variable, kKeepRange);
        header->SetVariable(header->variable, kKeepRange);
        if (read != IFF_OKAY) column->rawColumn = start.Copy();
        if (read == IFF_OKAY || column->rawColumn) return column;
        read = platform::memFullErr;
    }
    // Not kept: the column goes again.
    columns_.pop_back();
    RemoveSubObject(column);
    RemoveSubObject(header);
    *result = read;
    return nullptr;
}

void VLayoutGrid::WriteItems(ChunkWriter& w)
{
    WriteLook(w);
    w.PStr(name);
    WriteText(w.Handover(), variable);
    w.U16(uint16_t(range));
    w.U16(uint16_t(columns_.size()));
    for (uint8_t b : {layer, flagA, flagC, flagD}) w.U8(b);
}

IFFP VLayoutGrid::WriteColumns(_GroupContext* context, bool withMethods)
{
    for (const Column& c : columns_) {
        IFFP result = IFF_OKAY;
        if (c.column->rawColumn) {
            result = PutCk(context, kColumn, int32_t(platform::GetHandleSize(c.column->rawColumn)), *c.column->rawColumn);
        } else {
            ChunkWriter w(context);
            w.Begin(kColumn);
            WriteText(w.Handover(), c.column->variable);
            w.U16(uint16_t(c.column->range));
            WriteText(w.Handover(), c.header->variable);
            w.U16(uint16_t(c.header->range));
            WriteText(w.Handover(), c.header->title);
            w.U16(uint16_t(c.column->objectMethodID));
            w.End();
            result = w.Error();
        }
        if (result == IFF_OKAY && withMethods && c.column->objectMethodID != 0)
            result = WriteMethodChunk(context, c.column->objectMethodID);
        if (result != IFF_OKAY) return result;
    }
    return IFF_OKAY;
}

IFFP VLayoutGrid::WriteObject(_GroupContext* context)
{
    const IFFP result = rawChunk ? PutCk(context, kListBox, int32_t(platform::GetHandleSize(rawChunk)), *rawChunk)
                                 : WriteObjectWithKind(context, kListBox);
    return result != IFF_OKAY ? result : WriteColumns(context, false);
}

IFFP VLayoutGrid::DoCopy(_GroupContext* context)
{
    IFFP result = rawChunk ? PutCk(context, kListBox, int32_t(platform::GetHandleSize(rawChunk)), *rawChunk)
                           : WriteObjectWithKind(context, kListBox);
    if (result == IFF_OKAY && objectMethodID != 0) result = WriteMethodChunk(context, objectMethodID);
    return result != IFF_OKAY ? result : WriteColumns(context, true);
}

IFFP ReadListBoxWithColumns(VLayoutGrid* grid, _GroupContext* context)
{
    IFFP result = grid->ReadObject(nullptr, context);
    while (result == IFF_OKAY && NextChunkId(context) == kColumn) {
        if (GetChunkHdr(context) != kColumn) return context->ckId;
        grid->ReadSubObject(nullptr, context, kColumn, &result);
    }
    return result;
}
