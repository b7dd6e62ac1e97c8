// The walks that copy a stored form and move its object methods
// (FormCopy.h).
#include "forms/walkers/FormCopy.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "forms/iff/ChunkFields.h"
#include "forms/layout/FormContainer.h"
#include "forms/layout/FormProperties.h"
#include "forms/listbox/ListBox.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"

namespace {

constexpr IFFP kListBoxId = IFFP(platform::FourCC("GDTL"));
// Where the object method id lies in the 16 bytes fields, variables and
// list boxes begin with (EditableIO.h).
constexpr int32_t kMethodIdAt = 14, kEditableHead = 16;

struct MoveState {
    FormScriptMover moveScript = nullptr;
    std::vector<int16_t>* moved = nullptr;
    int16_t error = 0;
    bool movedAny = false;
    // List boxes whose new encoding has another length: where their
    // "GDTL" data begins in the image, and their chunks encoded anew.
    std::map<int32_t, std::string> rewritten;
};

MoveState* MoveStateOf(_GroupContext* c) { return static_cast<MoveState*>(WalkerFrameOf(c)->state); }

// The method `id` moved; its new id in *newId (0 for a method the source
// lacks). False when the mover failed (the error is kept).
bool MoveOne(_GroupContext* c, int16_t id, int16_t* newId)
{
    WalkerFrame* frame = WalkerFrameOf(c);
    MoveState* s = MoveStateOf(c);
    *newId = 0;
    int16_t made = 0;
    const int16_t err = s->moveScript(frame->sourceDoc, frame->destDoc, id, &made);
    if (err == kFormScriptMissing) return true;
    if (err != 0) {
        s->error = err;
        return false;
    }
    *newId = made;
    s->moved->push_back(made);
    s->movedAny = true;
    return true;
}

// A 16-bit value written in the image's byte order.
void PutWord(_GroupContext* c, int16_t value, uint8_t* out)
{
    if (c->byteReversed) platform::WriteLE16(out, uint16_t(value));
    else platform::WriteBE16(out, uint16_t(value));
}

// The list box's "GDTL" and "GCOL" chunks, headers and padding included,
// as its writing operation encodes them now.
IFFP EncodeListBox(VLayoutGrid* grid, std::string* out)
{
    platform::Handle scratch = platform::NewHandle(0);
    IOFile* io = scratch ? MemoryOpen(scratch, 0) : nullptr;
    if (!io) {
        if (scratch) platform::DisposeHandle(scratch);
        return platform::memFullErr;
    }
    FormWriteFrame writer;
    _GroupContext top, form;
    IFFP result = OpenWIFF(io, &top, kSizeUnknown);
    top.clientFrame = &writer.client;
    if (result == IFF_OKAY) result = StartWGroup(&top, ID_FORM, kSizeUnknown, formchunk::LAYO, &form);
    if (result == IFF_OKAY) result = grid->WriteObject(&form);
    if (result == IFF_OKAY) result = EndWGroup(&form);
    if (FClose(io) != 0 && result == IFF_OKAY) result = DOS_ERROR;
    // The companions the object writes before its "GDTL" stay behind.
    const auto* bytes = reinterpret_cast<const uint8_t*>(*scratch);
    const int32_t size = int32_t(platform::GetHandleSize(scratch));
    int32_t at = 12;
    while (result == IFF_OKAY && at + 8 <= size && IFFP(platform::ReadBE32(bytes + at)) != kListBoxId) {
        const int32_t length = int32_t(platform::ReadBE32(bytes + at + 4));
        if (length < 0 || length > size - at - 8) {
            result = CLIENT_ERROR;
            break;
        }
        at += 8 + length + (length & 1);
    }
    if (result == IFF_OKAY && at + 8 > size) result = CLIENT_ERROR;
    if (result == IFF_OKAY) out->assign(reinterpret_cast<const char*>(bytes + at), size_t(size - at));
    platform::DisposeHandle(scratch);
    return result;
}

// Chunks encoded by EncodeListBox written to the output.
IFFP PutEncodedChunks(_GroupContext* output, const std::string& chunks)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(chunks.data());
    const int32_t size = int32_t(chunks.size());
    for (int32_t at = 0; at + 8 <= size;) {
        const int32_t length = int32_t(platform::ReadBE32(bytes + at + 4));
        if (length < 0 || length > size - at - 8) return CLIENT_ERROR;
        if (const IFFP err = PutCk(output, IFFP(platform::ReadBE32(bytes + at)), length, bytes + at + 8)) return err;
        at += 8 + length + (length & 1);
    }
    return IFF_OKAY;
}

// The end of the chunk open in `c`, padding included, in the image.
int64_t PaddedChunkEnd(_GroupContext* c)
{
    return int64_t(c->position) + std::max(ChunkMoreBytes(c), 0) + (c->ckSize & 1);
}

// The list box's own method and each column's moved; whether any id
// changed. A "GDTL" kept as its bytes takes its new id in them.
bool MoveListBoxMethods(_GroupContext* c, VLayoutGrid* grid, bool* changed)
{
    *changed = false;
    int16_t newId = 0;
    if (grid->objectMethodID != 0) {
        if (!MoveOne(c, grid->objectMethodID, &newId)) return false;
        grid->objectMethodID = newId;
        if (grid->rawChunk && platform::GetHandleSize(grid->rawChunk) >= kEditableHead)
            platform::WriteBE16(reinterpret_cast<uint8_t*>(*grid->rawChunk) + kMethodIdAt, uint16_t(newId));
        *changed = true;
    }
    for (int32_t k = 1; k <= grid->GetGridColumnCount(); ++k) {
        const int16_t id = grid->GetColumnProc(k);
        if (id == 0) continue;
        if (!MoveOne(c, id, &newId)) return false;
        grid->SetColumnProc(k, newId);
        *changed = true;
    }
    return true;
}

// A 32-bit value of the image at `at`, in its byte order.
uint32_t ImageLong(_GroupContext* c, int32_t at)
{
    const uint8_t* b = reinterpret_cast<const uint8_t*>(*c->file->handle) + c->file->base + at;
    return c->byteReversed ? platform::ReadLE32(b) : platform::ReadBE32(b);
}

// Encoded anew, a list box of a file of the other byte order would come out
// turned: its new ids are written over the old ones instead, the list
// box's in its 16 bytes, each column's behind its three strings and two
// ranges (a column kept as its bytes names no method).
IFFP PatchReversedListBox(_GroupContext* c, VLayoutGrid* grid, int32_t listBoxAt, bool ownMoved)
{
    uint8_t bytes[2];
    const int32_t end = c->file->logicalEnd;
    const int32_t listBoxSize = int32_t(ImageLong(c, listBoxAt - 4));
    if (listBoxSize < 0 || int64_t(listBoxAt) + listBoxSize > end) return BAD_IFF;
    // Its id was read, so the 16 bytes are there (a list box kept as its
    // bytes too).
    PutWord(c, grid->objectMethodID, bytes);
    if (ownMoved && listBoxSize >= kEditableHead)
        if (const IFFP err = IFFOverWrite(c, listBoxAt + kMethodIdAt, bytes, 2)) return err;
    int32_t at = listBoxAt + listBoxSize + (listBoxSize & 1);
    for (int32_t k = 1; k <= grid->GetGridColumnCount(); ++k) {
        if (at < 0 || int64_t(at) + kChunkHeaderSize > end) return BAD_IFF;
        const int32_t size = int32_t(ImageLong(c, at + 4));
        const int32_t data = at + kChunkHeaderSize;
        if (size < 0 || int64_t(data) + size > end) return BAD_IFF;
        at = data + size + (size & 1);
        if (grid->GetGridView().GetColumn(k)->rawColumn) continue;
        int32_t field = data;
        for (int part = 0; part < 3; ++part) {
            if (field + 4 > data + size) return BAD_IFF;
            const int64_t units = int32_t(ImageLong(c, field));
            const int64_t next = field + (units < 1 ? 4 : 4 + 2 * (units + 1)) + (part < 2 ? 2 : 0);
            if (next + 2 > int64_t(data) + size) return BAD_IFF;
            field = int32_t(next);
        }
        PutWord(c, grid->GetColumnProc(k), bytes);
        if (const IFFP err = IFFOverWrite(c, field, bytes, 2)) return err;
    }
    return IFF_OKAY;
}

// The second walk for list boxes that changed length: every chunk as
// stored but those list boxes, written as encoded anew.
IFFP ListBoxRelocate(_GroupContext* c)
{
    const MoveState* s = MoveStateOf(c);
    const auto found = s->rewritten.find(IFFGetpos(c));
    if (found == s->rewritten.end()) return CopyGroup(c);
    VLayoutGrid passed(nullptr);
    const IFFP read = ReadListBoxWithColumns(&passed, c);
    return read != IFF_OKAY ? read : PutEncodedChunks(WalkerFrameOf(c)->output, found->second);
}

void EveryChunkCopied(WalkerFrame* frame)
{
    for (IFFClientProc* handler : {&frame->flag, &frame->text, &frame->var, &frame->field, &frame->mult, &frame->satt,
                                   &frame->font, &frame->draw, &frame->groupBox, &frame->staticPict, &frame->other})
        *handler = CopyGroup;
}

bool Reversed(platform::Handle form)
{
    return form && *form && platform::GetHandleSize(form) >= 4 && std::memcmp(*form, "MROF", 4) == 0;
}

}  // namespace

IFFP MoveSript(_GroupContext* c)
{
    const int32_t at = IFFGetpos(c);
    ChunkReader r(c);
    int16_t words[kEditableHead / 2] = {};
    for (int16_t& w : words) r.S16(&w);
    if (!r.Ok()) return r.Error();
    const int16_t id = words[kMethodIdAt / 2];
    if (id == 0) return IFF_OKAY;
    int16_t newId = 0;
    if (!MoveOne(c, id, &newId)) return CLIENT_ERROR;
    uint8_t bytes[2];
    PutWord(c, newId, bytes);
    return IFFOverWrite(c, at + kMethodIdAt, bytes, 2);
}

IFFP LbMoveScript(_GroupContext* c)
{
    MoveState* s = MoveStateOf(c);
    const int32_t at = IFFGetpos(c);
    const int32_t start = at - kChunkHeaderSize;
    VLayoutGrid grid(nullptr);
    IFFP result = ReadListBoxWithColumns(&grid, c);
    if (result != IFF_OKAY) return result;
    const int64_t end = PaddedChunkEnd(c);
    const bool ownMoved = grid.objectMethodID != 0;
    bool changed = false;
    if (!MoveListBoxMethods(c, &grid, &changed)) return CLIENT_ERROR;
    if (!changed) return IFF_OKAY;
    if (c->byteReversed) return PatchReversedListBox(c, &grid, at, ownMoved);
    std::string encoded;
    if ((result = EncodeListBox(&grid, &encoded)) != IFF_OKAY) return result;
    if (int64_t(encoded.size()) == end - start && end <= c->file->logicalEnd)
        return IFFOverWrite(c, start, encoded.data(), int32_t(encoded.size()));
    s->rewritten.emplace(at, std::move(encoded));
    return IFF_OKAY;
}

IFFP ListBoxCopy(_GroupContext* c)
{
    VLayoutGrid grid(nullptr);
    const IFFP read = ReadListBoxWithColumns(&grid, c);
    std::string encoded;
    if (read != IFF_OKAY) return read;
    if (const IFFP err = EncodeListBox(&grid, &encoded)) return err;
    return PutEncodedChunks(WalkerFrameOf(c)->output, encoded);
}

int16_t CopyIFFLayOut(platform::Handle source, platform::Handle dest)
{
    if (!dest) return kFormWalkFailed;
    if (Reversed(source)) {
        const platform::Size size = platform::GetHandleSize(source);
        platform::SetHandleSize(dest, size);
        if (const int16_t err = platform::MemError()) return err;
        std::memcpy(*dest, *source, size_t(size));
        return 0;
    }
    WalkerFrame frame;
    EveryChunkCopied(&frame);
    frame.listBox = ListBoxCopy;
    return RunFormWalker(source, &frame, dest);
}

int16_t MoveIFFFormObject(platform::Handle form, TMainDoc* source, TMainDoc* dest, FormScriptMover moveScript,
                          std::vector<int16_t>* moved)
{
    MoveState state;
    state.moveScript = moveScript;
    state.moved = moved;
    WalkerFrame frame;
    frame.var = MoveSript;
    frame.field = MoveSript;
    frame.listBox = LbMoveScript;
    frame.sourceDoc = source;
    frame.destDoc = dest;
    frame.state = &state;
    int16_t err = RunFormWalker(form, &frame, nullptr);
    if (state.error) return state.error;
    if (err || state.rewritten.empty()) return err;
    // List boxes of another length: the image written anew around them.
    WalkerFrame again;
    EveryChunkCopied(&again);
    again.listBox = ListBoxRelocate;
    again.state = &state;
    platform::Handle output = platform::NewHandle(0);
    if (!output) return platform::memFullErr;
    if ((err = RunFormWalker(form, &again, output)) == 0) {
        const platform::Size size = platform::GetHandleSize(output);
        platform::SetHandleSize(form, size);
        if (platform::MemError() != 0) err = platform::memFullErr;
        else std::memcpy(*form, *output, size_t(size));
    }
    platform::DisposeHandle(output);
    return err;
}

void InstallFormCopyWalks()
{
    FormObjectWalks walks = CurrentFormObjectWalks();
    walks.moveChunked = MoveIFFFormObject;
    walks.copyChunked = CopyIFFLayOut;
    SetFormObjectWalks(walks);
}
