#include "forms/walkers/WalkerFrame.h"

#include <cstring>

#include "forms/layout/FormContainer.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"

namespace {

constexpr IFFP kFlag = IFFP(platform::FourCC("FLAG"));
constexpr IFFP kText = IFFP(platform::FourCC("TEXT"));
constexpr IFFP kVar = IFFP(platform::FourCC("VAR "));
constexpr IFFP kField = IFFP(platform::FourCC("FILD"));
constexpr IFFP kMult = IFFP(platform::FourCC("MULT"));
constexpr IFFP kSatt = IFFP(platform::FourCC("SATT"));
constexpr IFFP kFont = IFFP(platform::FourCC("FONT"));
constexpr IFFP kDraw = IFFP(platform::FourCC("DRAW"));
constexpr IFFP kGroupBox = IFFP(platform::FourCC("GRPB"));
constexpr IFFP kStaticPict = IFFP(platform::FourCC("SPIC"));
constexpr IFFP kListBox = IFFP(platform::FourCC("GDTL"));

IFFClientProc HandlerOf(WalkerFrame* frame, IFFP result)
{
    switch (result) {
    case kFlag: return frame->flag;
    case kText: return frame->text;
    case kVar: return frame->var;
    case kField: return frame->field;
    case kMult: return frame->mult;
    case kSatt: return frame->satt;
    case kFont: return frame->font;
    case kDraw: return frame->draw;
    case kGroupBox: return frame->groupBox;
    case kStaticPict: return frame->staticPict;
    case kListBox: return frame->listBox;
    case IFF_OKAY:
    case END_MARK: return nullptr;
    default: return frame->other;
    }
}

IFFP WalkChunks(WalkerFrame* frame, _GroupContext* group)
{
    IFFP result = IFF_OKAY;
    int32_t lastFailure = -1;
    do {
        result = GetChunkHdr(group);
        const bool nested = result == ID_FORM || result == ID_LIST || result == ID_CAT;
        if (result == ID_PROP) result = BAD_IFF;
        else if (result == ID_FORM) result = frame->client.getForm(group);
        else if (result == ID_LIST) result = frame->client.getList(group);
        else if (result == ID_CAT) result = frame->client.getCat(group);
        group->ckId = result;
        // A group whose own walk failed fails this one: its members would
        // be left out of the links or of the rewritten image unnoticed.
        if (nested && result < END_MARK) return result;
        // A header that fails where the last one failed makes no progress:
        // a handler that tolerates it would loop.
        if (result < END_MARK) {
            if (group->position == lastFailure) return result;
            lastFailure = group->position;
        }
        if (IFFClientProc handler = HandlerOf(frame, result)) result = handler(group);
    } while (result >= IFF_OKAY);
    return result;
}

bool Writing(WalkerFrame* frame) { return frame->writeOutput && frame->output; }

// The group whose header `parent` has just read, its subtype included,
// written to the output as stored.
IFFP CopyWholeGroup(_GroupContext* parent)
{
    WalkerFrame* frame = WalkerFrameOf(parent);
    if (!Writing(frame)) return IFF_OKAY;
    IOFile* file = parent->file;
    const int32_t subtypeAt = file->mark - 4;
    if (subtypeAt < 0 || parent->ckSize < 4 || int64_t(subtypeAt) + parent->ckSize > file->logicalEnd) return BAD_IFF;
    return PutCk(frame->output, parent->ckId, parent->ckSize, *file->handle + file->base + subtypeAt);
}

// A group of the output opened like the one just read, around `walk`.
IFFP WithOutputGroup(_GroupContext* parent, IFFP groupId, IFFP (*walk)(_GroupContext*))
{
    WalkerFrame* frame = WalkerFrameOf(parent);
    if (!Writing(frame)) return walk(parent);
    _GroupContext* outer = frame->output;
    _GroupContext saved = *outer, inner;
    // An output that cannot take the group ends the walk: the image would
    // come out without it.
    if (const IFFP err = StartWGroup(&saved, groupId, kSizeUnknown, parent->subtype, &inner)) return err;
    frame->output = &inner;
    const IFFP result = walk(parent);
    const IFFP closed = EndWGroup(&inner);
    *outer = saved;
    frame->output = outer;
    return result == IFF_OKAY ? closed : result;
}

IFFP WalkFormGroup(_GroupContext* parent)
{
    WalkerFrame* frame = WalkerFrameOf(parent);
    frame->formStart(parent);
    _GroupContext group;
    IFFP result = OpenRGroup(parent, &group);
    if (result == IFF_OKAY) {
        result = WalkChunks(frame, &group);
        CloseRGroup(&group);
    }
    return result == END_MARK ? IFF_OKAY : result;
}

IFFP WalkListGroup(_GroupContext* parent) { return ReadIList(parent, parent->clientFrame); }

bool ReversedImage(platform::Handle form)
{
    if (!form || !*form || platform::GetHandleSize(form) < 4) return false;
    const IFFP id = IFFP(platform::ReadBE32(reinterpret_cast<const uint8_t*>(*form)));
    return id == ID_MROF || id == ID_TSIL || id == ID_TAC;
}

}  // namespace

WalkerFrame::WalkerFrame() : client{WalkerGetList, WalkerGetProp, IFF_GetForm, WalkerGetCat} {}

IFFP WalkerGetList(_GroupContext* parent) { return WithOutputGroup(parent, ID_LIST, WalkListGroup); }

IFFP WalkerGetProp(_GroupContext* list) { return CopyWholeGroup(list); }

IFFP WalkerGetCat(_GroupContext* parent) { return CopyWholeGroup(parent); }

IFFP IFF_GetForm(_GroupContext* parent)
{
    const IFFP subtype = parent->subtype;
    if (subtype != formchunk::LAYO && subtype != formchunk::OBJG && subtype != formchunk::OBJS)
        return CopyWholeGroup(parent);
    return WithOutputGroup(parent, ID_FORM, WalkFormGroup);
}

IFFP CopyGroup(_GroupContext* context)
{
    WalkerFrame* frame = WalkerFrameOf(context);
    if (!frame->writeOutput || !frame->output) return IFF_OKAY;
    IOFile* file = context->file;
    const int32_t count = ChunkMoreBytes(context);
    if (count < 0 || int64_t(file->mark) + count > file->logicalEnd) return BAD_IFF;
    return PutCk(frame->output, context->ckId, count, *file->handle + file->base + file->mark);
}

int32_t IFFGetpos(_GroupContext* context) { return context->position; }

IFFP IFFOverWrite(_GroupContext* context, int32_t position, const void* data, int32_t count)
{
    IOFile* file = context->file;
    if (position < 0 || count < 0 || int64_t(position) + count > file->logicalEnd) return CLIENT_ERROR;
    std::memcpy(*file->handle + file->base + position, data, size_t(count));
    return IFF_OKAY;
}

int16_t RunFormWalker(platform::Handle form, WalkerFrame* frame, platform::Handle output)
{
    // Chunks kept as stored would sit under big-endian headers.
    IFFP result = output && ReversedImage(form) ? NOT_IFF : IFF_OKAY;
    IOFile* out = nullptr;
    _GroupContext top;
    if (output && result == IFF_OKAY) {
        platform::SetHandleSize(output, 0);
        out = platform::MemError() == 0 ? MemoryOpen(output, 0) : nullptr;
        result = out ? OpenWIFF(out, &top, kSizeUnknown) : DOS_ERROR;
        frame->output = &top;
        frame->writeOutput = 1;
    }
    IOFile* in = form && *form ? MemoryOpen(form, 0) : nullptr;
    if (result == IFF_OKAY) result = in ? ReadIFF(in, &frame->client) : NO_FILE;
    if (in && FClose(in) != 0 && result == IFF_OKAY) result = DOS_ERROR;
    if (out && FClose(out) != 0 && result == IFF_OKAY) result = DOS_ERROR;
    frame->output = nullptr;
    if (frame->pendingSatt) platform::DisposeHandle(frame->pendingSatt);
    frame->pendingSatt = nullptr;
    if (result == IFF_OKAY) return 0;
    if (output) platform::SetHandleSize(output, 0);
    // Memory that ran out is said as such, not as a damaged image.
    return dosErr == platform::memFullErr ? platform::memFullErr : kFormWalkFailed;
}
