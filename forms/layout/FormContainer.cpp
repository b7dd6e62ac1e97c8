#include "forms/layout/FormContainer.h"

#include "forms/iff/ChunkFields.h"
#include "forms/layout/PageTable.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"

int32_t objIndex4Name[kNamingCounters] = {};

namespace {

// The order the KhPr words are stored in.
constexpr int kKhPrOrder[6] = {1, 0, 2, 3, 4, 5};

IFFP ReadVers(CustomClientFrame* frame, _GroupContext* context)
{
    ChunkReader r(context);
    uint16_t version = 0;
    if (!r.U16(&version)) return r.Error();
    frame->formVersion = int16_t(version);
    frame->layoutInfo.versionLong = 0;
    if (r.Has(4)) r.U32(&frame->layoutInfo.versionLong);
    return r.Error();
}

IFFP ReadKhPr(LayoutInfo* info, _GroupContext* context)
{
    ChunkReader r(context);
    for (int i = 0; i < 6 && r.Has(2); ++i) r.U16(&info->khpr[kKhPrOrder[i]]);
    return r.Error();
}

IFFP ReadNames(int32_t* counters, _GroupContext* context)
{
    ChunkReader r(context);
    for (int32_t i = 0; i < kNamingCounters && r.Has(4); ++i) r.S32(&counters[i]);
    return r.Error();
}

IFFP ReadPageCount(CustomClientFrame* frame, _GroupContext* context)
{
    ChunkReader r(context);
    int16_t last = 0;
    if (!r.S16(&last)) return r.Error();
    // A second count would drop the pages read so far with their objects.
    if (last < 0 || frame->pages) return BAD_FORM;
    platform::Handle table = NewPageTable(last);
    if (!table) return platform::ioErr;
    frame->pages = table;
    frame->pageIndex = 0;
    return IFF_OKAY;
}

IFFP ClosePage(CustomClientFrame* frame)
{
    if (!frame->pages) return BAD_FORM;
    // A page the count did not announce has no room: its objects stay in
    // the list and go to the page that comes next or to the last one.
    if (!SetPage(frame->pages, frame->pageIndex, PageEntry{frame->firstObject, frame->lastObject})) return IFF_OKAY;
    frame->firstObject = frame->lastObject = nullptr;
    ++frame->pageIndex;
    return IFF_OKAY;
}

}  // namespace

void InitReadingFrame(CustomClientFrame* frame)
{
    *frame = CustomClientFrame{};
    frame->client = _ClientFrame{GetList, GetProp, SkipGroup, SkipGroup};
    FillCurProps(&frame->curDrawing, &frame->curFont);
    frame->layoutInfo.Init();
}

IFFP ReadContainerChunk(CustomClientFrame* frame, _GroupContext* context, int32_t* counters, bool* handled)
{
    using namespace formchunk;
    *handled = true;
    switch (context->ckId) {
    case Vers: return ReadVers(frame, context);
    case KhPr: return ReadKhPr(&frame->layoutInfo, context);
    case Layr: return frame->layoutInfo.ReadLayers(context);
    case NamS: return ReadNames(counters ? counters : objIndex4Name, context);
    case DRAW: return ReadDrawingProperties(&frame->curDrawing, context);
    case FONT: return ReadFontProperties(&frame->curFont, context);
    case FLAG: return frame->layoutInfo.ReadFlags(context, frame->formVersion);
    case PAGS: return ReadPageCount(frame, context);
    case PAGE: return ClosePage(frame);
    default: *handled = false; return IFF_OKAY;
    }
}

IFFP WriteContainerHead(_GroupContext* form, const LayoutInfo& info, const int32_t* counters)
{
    ChunkWriter w(form);
    w.Begin(formchunk::Vers);
    w.U16(kFormVersion);
    w.U32(info.versionLong);
    w.End();
    w.Begin(formchunk::KhPr);
    for (int i : kKhPrOrder) w.U16(info.khpr[i]);
    w.End();
    if (w.Error() != IFF_OKAY) return w.Error();
    if (const IFFP err = info.SaveLayers(form)) return err;
    w.Begin(formchunk::NamS);
    for (int32_t i = 0; i < kNamingCounters; ++i) w.U32(uint32_t(counters[i]));
    w.End();
    if (w.Error() != IFF_OKAY) return w.Error();
    DrawingSpecs drawing;
    FontSpecs font;
    FillCurProps(&drawing, &font);
    if (const IFFP err = SaveDrawingProperties(true, drawing, form)) return err;
    return SaveFontProperties(true, font.font, font.size, font.face, font.justification, font.styleSheet,
                              font.styleSheetHeight, form);
}
