// A method previewed as its text: the display handle of the preview pane
// is a text record 2047 points wide that the pane scrolls, and in which the
// user selects text to copy.
#include <algorithm>

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/dialogs/BusyCursor.h"
#include "app/documents/MainDoc.h"
#include "design/links/ParseSupport.h"
#include "design/objects/ObjKinds.h"
#include "design/preview/PreviewFrame.h"
#include "design/text/MethodText.h"
#include "design/text/MethodTextSupport.h"
#include "platform/core/Errors.h"
#include "platform/drawing/Ports.h"
#include "platform/events/Events.h"

using namespace platform;

namespace {

constexpr int16_t kPreviewSide = 2047;
constexpr int16_t kCopyCommand = 23;
constexpr int16_t kSelectAllCommand = 26;

TEHandle Record(Handle display) { return reinterpret_cast<TEHandle>(display); }

Rect Destination(const Rect& r)
{
    return Rect{int16_t(r.top + 2), int16_t(r.left + 2), int16_t(r.top + 2 + kPreviewSide),
                int16_t(r.left + 2 + kPreviewSide)};
}

int16_t TextHeight(TEHandle te) { return int16_t(std::min<int32_t>(TEGetHeight((**te).nLines, 1, te) + 20, 32767)); }

}  // namespace

TEHandle NewMethodRecord(bool styled, int16_t side)
{
    const Rect r{0, 0, side, side};
    return styled ? TEStyleNew(&r, &r) : TENew(&r, &r);
}

int16_t TGnlProcObjQz::InitDisplay(Handle* display, const Rect& r, int16_t* width, int16_t* height,
                                   int16_t* pageMin, int16_t* pageMax, int16_t* page, bool)
{
    *display = nullptr;
    for (int16_t* n : {width, height, pageMin, pageMax, page})
        if (n) *n = 0;
    CursInstall(1, 5, 60);
    TEHandle te = NewMethodRecord(G_MachineType >= 4, kPreviewSide);
    if (!te) return memFullErr;
    int16_t err = 0;
    {
        ParseResFile store(owner);
        CompanionCurrent companion(owner);
        err = DoTextProc(table, id, this, TEGetStyleHandle(te) != nullptr, te, MyApplFont, 0);
    }
    SizeDisplay(reinterpret_cast<Handle>(te), r, width, height);
    *display = reinterpret_cast<Handle>(te);
    return err;
}

void TGnlProcObjQz::DisposeDisplay(Handle* display)
{
    if (!display || !*display) return;
    TEDispose(Record(*display));
    *display = nullptr;
}

void TGnlProcObjQz::SizeDisplay(Handle display, const Rect& r, int16_t* right, int16_t* bottom)
{
    *right = *bottom = 0;
    TEHandle te = Record(display);
    if (!te || !*te) return;
    (**te).viewRect = r;
    (**te).destRect = Destination(r);
    TECalText(te);
    *right = kPreviewSide;
    *bottom = TextHeight(te);
}

void TGnlProcObjQz::Display(Handle display, const Rect& r)
{
    TEHandle te = Record(display);
    if (!te || !*te) return;
    (**te).destRect = Destination(r);
    const Rect view = (**te).viewRect;
    TEUpdate(&view, te);
}

void TGnlProcObjQz::Scroll(Handle display, const Rect& r, int16_t dh, int16_t dv)
{
    TEHandle te = Record(display);
    if (!te || !*te) return;
    (**te).viewRect = r;
    TEScroll(dh, dv, te);
}

TObjQz* TGnlProcObjQz::Click(Handle display, const EventRecord& event, int16_t)
{
    TEHandle te = Record(display);
    if (!te || !*te) return nullptr;
    TEAutoView(true, te);
    TEActivate(te);
    TEClick(event.where, (event.modifiers & shiftKey) != 0, te);
    if ((**te).selStart == (**te).selEnd) {
        TEDeactivate(te);
        DisableFunc(kCopyCommand);
    } else {
        EnableFunc(kCopyCommand);
    }
    GrafPtr port = nullptr;
    GetPort(&port);
    if (port) {
        Rect bounds{};
        GetPortBounds(port, &bounds);
        ClipRect(&bounds);
    }
    // The pane's bars follow a text the click scrolled.
    const TERec& rec = **te;
    PreviewScrollTo(int16_t(rec.viewRect.left - rec.destRect.left + 2), int16_t(rec.viewRect.top - rec.destRect.top + 2));
    return nullptr;
}

void TGnlProcObjQz::SelectObj()
{
    StringFunc(kCopyCommand, 4);
    EnableFunc(kSelectAllCommand);
}

void TGnlProcObjQz::DeSelectObj()
{
    StringFunc(kCopyCommand, 3);
    DisableFunc(kCopyCommand);
    DisableFunc(kSelectAllCommand);
}

bool TGnlProcObjQz::IsSelection(Handle display)
{
    TEHandle te = Record(display);
    return te && *te && (**te).selStart < (**te).selEnd;
}

void TGnlProcObjQz::SelectAll(Handle display)
{
    TEHandle te = Record(display);
    if (!te || !*te) return;
    StringFunc(kCopyCommand, 4);
    TEActivate(te);
    TESetSelect(0, 32767, te);
}

void TGnlProcObjQz::MakeActive(Handle display)
{
    if (IsSelection(display)) TEActivate(Record(display));
}

void TGnlProcObjQz::MakeInActive(Handle display)
{
    if (TEHandle te = Record(display); te && *te) TEDeactivate(te);
}

void TGnlProcObjQz::doCopy(Handle display, int16_t)
{
    if (TEHandle te = Record(display); te && *te) TECopy(te);
}
