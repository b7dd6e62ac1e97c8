#include "platform/pictures/Pictures.h"

#include <algorithm>
#include <new>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/pictures/PictLayout.h"
#include "platform/pictures/PictureHooks.h"
#include "platform/pictures/PictureRecorder.h"
#include "platform/resfiles/Resources.h"

namespace platform {

namespace {

std::vector<PictureRecorder*>& OpenRecorders()
{
    static std::vector<PictureRecorder*> open;
    return open;
}

void FreeRecorder(PictureRecorder* rec)
{
    auto& open = OpenRecorders();
    open.erase(std::remove(open.begin(), open.end(), rec), open.end());
    if (rec->port && rec->port->picSave == rec)
        rec->port->picSave = nullptr;
    DisposeRgn(rec->clip);
    delete rec;
}

int16_t At72(int32_t v, Fixed res)
{
    int64_t r = res > 0 ? res : (72 << 16);
    return ClampTo16(int32_t(int64_t(v) * (72 << 16) / r));
}

PicHandle Open(const Rect& frame, bool extended, Fixed hRes, Fixed vRes, const Rect& srcRect)
{
    GrafPtr port = GetQDGlobalsThePort();
    if (!port || port->picSave) {
        SetQDError(paramErr);
        return nullptr;
    }
    auto* rec = new (std::nothrow) PictureRecorder;
    Handle h = rec ? NewHandleClear(10) : nullptr;
    RgnHandle clip = h ? NewRgn() : nullptr;
    if (!rec || !h || !clip) {
        delete rec;
        if (h)
            DisposeHandle(h);
        SetQDError(memFullErr);
        return nullptr;
    }
    try {
        rec->writer.Begin(frame, extended, hRes, vRes, srcRect);
        OpenRecorders().push_back(rec);
    } catch (const std::bad_alloc&) {
        delete rec;
        DisposeHandle(h);
        DisposeRgn(clip);
        SetQDError(memFullErr);
        return nullptr;
    }
    std::copy_n(rec->writer.bytes().data(), 10, *h);
    // Playback starts with the clip wide open, so that is what the picture
    // has stated so far.
    SetRectRgn(clip, -32768, -32768, 32767, 32767);
    rec->clip = clip;
    rec->port = port;
    rec->picture = h;
    rec->origin = {port->portRect.top, port->portRect.left};
    port->picSave = rec;
    HidePen();
    SetQDError(noErr);
    return h;
}

}  // namespace

PicHandle OpenCPicture(const OpenCPicParams* params)
{
    if (!params) {
        SetQDError(paramErr);
        return nullptr;
    }
    const Rect& s = params->srcRect;
    Rect frame{At72(s.top, params->vRes), At72(s.left, params->hRes), At72(s.bottom, params->vRes),
               At72(s.right, params->hRes)};
    return Open(frame, true, params->hRes > 0 ? params->hRes : 72 << 16,
                params->vRes > 0 ? params->vRes : 72 << 16, s);
}

PicHandle OpenPicture(const Rect* picFrame)
{
    if (!picFrame) {
        SetQDError(paramErr);
        return nullptr;
    }
    return Open(*picFrame, false, 72 << 16, 72 << 16, *picFrame);
}

void ClosePicture()
{
    GrafPtr port = GetQDGlobalsThePort();
    PictureRecorder* rec = RecorderOf(port);
    if (!rec)
        return;
    OSErr err = noErr;
    try {
        if (!rec->outOfMemory)
            rec->writer.Finish();
    } catch (const std::bad_alloc&) {
        rec->outOfMemory = true;
    }
    if (rec->outOfMemory) {
        err = memFullErr;
    } else {
        const std::vector<uint8_t>& bytes = rec->writer.bytes();
        SetHandleSize(rec->picture, Size(bytes.size()));
        if (MemError() == noErr)
            std::copy(bytes.begin(), bytes.end(), *rec->picture);
        else
            err = memFullErr;
    }
    FreeRecorder(rec);
    ShowPen();
    SetQDError(err);
}

void KillPicture(PicHandle picture)
{
    if (!picture)
        return;
    if (HGetState(picture) & kHandleResourceBit)
        ReleaseResource(picture);
    else
        DisposeHandle(picture);
}

Boolean IsPortPictureBeingDefined(CGrafPtr port) { return RecorderOf(port) != nullptr; }

void PicComment(int16_t kind, int16_t dataSize, Handle dataHandle)
{
    GrafPtr port = GetQDGlobalsThePort();
    if (port && port->grafProcs && port->grafProcs->commentProc)
        port->grafProcs->commentProc(kind, dataSize, dataHandle);
    else
        StdComment(kind, dataSize, dataHandle);
}

void StdComment(int16_t kind, int16_t dataSize, Handle dataHandle)
{
    PictRecordComment(GetQDGlobalsThePort(), kind, dataSize, dataHandle);
}

PicHandle GetPicture(int16_t pictureId) { return GetResource(FourCC("PICT"), pictureId); }

Rect* QDGetPictureBounds(PicHandle picture, Rect* bounds)
{
    if (!bounds)
        return bounds;
    *bounds = {0, 0, 0, 0};
    if (picture && *picture && GetHandleSize(picture) >= 10) {
        const char* p = *picture;
        *bounds = {ReadBES16(p + 2), ReadBES16(p + 4), ReadBES16(p + 6), ReadBES16(p + 8)};
    }
    return bounds;
}

void AbandonPicture(GrafPtr port)
{
    if (PictureRecorder* rec = RecorderOf(port))
        FreeRecorder(rec);
}

void ResetPictures()
{
    auto open = OpenRecorders();
    for (PictureRecorder* rec : open)
        FreeRecorder(rec);
}

}  // namespace platform
