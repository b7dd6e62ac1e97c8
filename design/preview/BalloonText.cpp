// Help balloons shown, printed and exported as their text: every byte of
// the text resource after the first, in a plain text record.
#include <algorithm>

#include "app/appl/AppGlobals.h"
#include "app/appl/Utilities.h"
#include "app/documents/Documentation.h"
#include "app/documents/MainDoc.h"
#include "design/links/ParseSupport.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/OutputSupport.h"
#include "design/preview/PreviewFrame.h"
#include "design/text/TextBuffers.h"
#include "platform/core/Errors.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Text.h"
#include "platform/textedit/TextEdit.h"
#include "resources/ResourceApi.h"

using namespace platform;

namespace {

constexpr int16_t kTextDepth = 2047;

TEHandle Record(Handle display) { return reinterpret_cast<TEHandle>(display); }

int16_t TextHeight(TEHandle te) { return int16_t(std::min<int32_t>(TEGetHeight((**te).nLines, 1, te) + 20, 32767)); }

// A plain record as wide as `r` holding the balloon's text in the current
// font; null when memory runs out.
TEHandle NewBalloonRecord(TBalloonObjQz* balloon, const Rect& r)
{
    const Rect dest{r.top, r.left, int16_t(std::min<int32_t>(r.top + kTextDepth, 32767)), r.right};
    TEHandle te = TENew(&dest, &r);
    if (!te) return nullptr;
    {
        ParseResFile store(balloon->owner);
        const ByteView text = ByteView::Of(xget1res(balloon->TextType(), balloon->TextId()));
        // The first byte is not text; a missing or one-byte resource is an
        // empty text.
        if (text.size > 1) TESetText(text.data + 1, int32_t(std::min<size_t>(text.size - 1, 32767)), te);
    }
    TEDeactivate(te);
    TECalText(te);
    return te;
}

}  // namespace

int16_t TBalloonObjQz::InitDisplay(Handle* display, const Rect& r, int16_t* width, int16_t* height, int16_t* pageMin,
                                   int16_t* pageMax, int16_t* page, bool flag)
{
    TObjQz::InitDisplay(display, r, width, height, pageMin, pageMax, page, flag);
    SavedFont saved;
    ApplicationFont(normal);
    TEHandle te = NewBalloonRecord(this, r);
    if (!te) return memFullErr;
    *width = int16_t(r.right - r.left);
    *height = TextHeight(te);
    *display = reinterpret_cast<Handle>(te);
    return 0;
}

void TBalloonObjQz::DisposeDisplay(Handle* display)
{
    if (!display || !*display) return;
    TEDispose(Record(*display));
    *display = nullptr;
}

void TBalloonObjQz::SizeDisplay(Handle display, const Rect& r, int16_t* right, int16_t* bottom)
{
    *right = *bottom = 0;
    TEHandle te = Record(display);
    if (!te || !*te) return;
    (**te).viewRect = r;
    (**te).destRect = Rect{int16_t(r.top + 2), int16_t(r.left + 2), kTextDepth, int16_t(r.right - 2)};
    TECalText(te);
    *right = int16_t(r.right - r.left);
    *bottom = TextHeight(te);
}

void TBalloonObjQz::Display(Handle display, const Rect& r)
{
    TEHandle te = Record(display);
    if (!te || !*te) return;
    (**te).destRect = Rect{int16_t(r.top + 2), int16_t(r.left + 2), int16_t(r.top + 2 + kTextDepth),
                           int16_t(r.left + 2 + kTextDepth)};
    const Rect view = (**te).viewRect;
    TEUpdate(&view, te);
}

void TBalloonObjQz::Scroll(Handle display, const Rect& r, int16_t dh, int16_t dv)
{
    TEHandle te = Record(display);
    if (!te || !*te) return;
    (**te).viewRect = r;
    TEScroll(dh, dv, te);
}

int16_t TBalloonObjQz::SaveObj(int16_t file)
{
    Handle display = nullptr;
    int16_t w = 0, h = 0, a = 0, b = 0, c = 0;
    int16_t err = InitDisplay(&display, Rect{0, 0, 32767, 32767}, &w, &h, &a, &b, &c, false);
    if (err) return err;
    TEHandle te = Record(display);
    int32_t count = (**te).teLength;
    if (count > 0) {
        const int32_t wanted = count;
        err = MyFSWrite(file, &count, *(**te).hText);
        if (!err && count != wanted) err = ioErr;
    }
    if (!err) err = WriteEOL(file);
    DisposeDisplay(&display);
    return err;
}

int16_t TBalloonObjQz::PrintObj(OutPutParmRec* options)
{
    if (!PrintHeadingKeeping(this, options, 3)) return 0;
    UsePrintStyle(normal);
    const Rect page = P_PageRect;
    TEHandle te = NewBalloonRecord(this, page);
    if (!te) return memFullErr;
    PrintTextPages(te, owner);
    TEDispose(te);
    const unsigned char empty[1] = {0};
    PrintNewLine(empty, 0);
    return 0;
}
