#include "forms/walkers/WalkerFrame.h"

#include <cstring>

#include "forms/layout/FormContainer.h"
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

}  // namespace

WalkerFrame::WalkerFrame() : client{GetList, GetProp, IFF_GetForm, SkipGroup} {}

IFFP IFF_GetForm(_GroupContext* parent)
{
    WalkerFrame* frame = WalkerFrameOf(parent);
    const IFFP subtype = parent->subtype;
    if (subtype != formchunk::LAYO && subtype != formchunk::OBJG && subtype != formchunk::OBJS) return IFF_OKAY;
    const bool writing = frame->writeOutput && frame->output;
    _GroupContext* outer = frame->output;
    _GroupContext saved, inner;
    if (writing) {
        saved = *outer;
        // An output that cannot take the group ends the walk: the image
        // would come out without it.
        if (const IFFP err = StartWGroup(&saved, ID_FORM, kSizeUnknown, subtype, &inner)) return err;
        frame->output = &inner;
    }
    frame->formStart(parent);
    _GroupContext group;
    IFFP result = OpenRGroup(parent, &group);
    if (result == IFF_OKAY) {
        result = WalkChunks(frame, &group);
        CloseRGroup(&group);
    }
    if (writing) {
        const IFFP closed = EndWGroup(&inner);
        *outer = saved;
        frame->output = outer;
        if (result == END_MARK && closed != IFF_OKAY) return closed;
    }
    return result == END_MARK ? IFF_OKAY : result;
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
    IFFP result = IFF_OKAY;
    IOFile* out = nullptr;
    _GroupContext top;
    if (output) {
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
    return kFormWalkFailed;
}
