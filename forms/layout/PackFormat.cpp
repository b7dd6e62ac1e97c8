// Writing a form: the container chunks, then each page's objects in chain
// order with their themes and a "PAGE". The whole image is rebuilt in the
// caller's handle, which the caller stores only when PackFormat answers
// true.
#include "forms/iff/ChunkFields.h"
#include "forms/layout/FormContainer.h"
#include "forms/layout/PageTable.h"
#include "forms/objects/LayoutObject.h"
#include "forms/objects/ObjectWriting.h"
#include "platform/core/Memory.h"

namespace {

IFFP WriteForm(_GroupContext* top, platform::Handle pages, const LayoutInfo& info, const int32_t* counters)
{
    FormWriteFrame writer;
    top->clientFrame = &writer.client;
    _GroupContext form;
    IFFP result = StartWGroup(top, ID_FORM, kSizeUnknown, formchunk::LAYO, &form);
    if (result == IFF_OKAY) result = WriteContainerHead(&form, info, counters);
    if (result == IFF_OKAY) result = info.SaveFlags(&form);
    const int16_t last = LastPageIndex(pages) < 0 ? 0 : LastPageIndex(pages);
    ChunkWriter w(&form);
    if (result == IFF_OKAY) {
        w.Begin(formchunk::PAGS);
        w.U16(uint16_t(last));
        w.End();
        for (int32_t p = 0; p <= last && w.Error() == IFF_OKAY; ++p) {
            PageEntry entry;
            if (GetPage(pages, p, &entry))
                for (LayoutObject* o = entry.first; o && result == IFF_OKAY; o = o->next)
                    result = WriteObjectAndThemes(o, &form);
            if (result != IFF_OKAY) break;
            w.Begin(formchunk::PAGE);
            w.U16(uint16_t(p));
            w.End();
        }
        if (result == IFF_OKAY) result = w.Error();
    }
    if (result == IFF_OKAY) result = EndWGroup(&form);
    return result;
}

}  // namespace

bool PackFormat(platform::Handle h, platform::Handle pages, const LayoutInfo& info, const int32_t* counters)
{
    if (!h) return false;
    platform::SetHandleSize(h, 0);
    if (platform::MemError() != 0) return false;
    IOFile* io = MemoryOpen(h, 0);
    if (!io) return false;
    _GroupContext top;
    IFFP result = OpenWIFF(io, &top, kSizeUnknown);
    if (result == IFF_OKAY) result = WriteForm(&top, pages, info, counters ? counters : objIndex4Name);
    const int16_t closed = FClose(io);
    return result == IFF_OKAY && closed == 0;
}
