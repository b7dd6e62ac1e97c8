#include "app/windows/TClipWindow.h"

#include <algorithm>

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/documents/TClipBoard.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"

using namespace platform;

int16_t TClipWindow::ITWindow(const unsigned char* title, const Rect& rect, bool visible, int16_t word,
                              TDocument* doc, int16_t kind)
{
    if (const int16_t result = TWindow::ITWindow(title, rect, visible, word, doc, kind); result != 0) return result;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(fWindow);
    Rect r{};
    GetPortBounds(GetWindowPort(fWindow), &r);
    fText = G_MachineType >= 4 ? TEStyleNew(&r, &r) : TENew(&r, &r);
    SetPort(saved);
    fPicture = nullptr;
    return fText ? 0 : int16_t(memFullErr);
}

void TClipWindow::Dispose()
{
    if (fText) TEDispose(fText);
    fText = nullptr;
    if (fPicture) DisposeHandle(fPicture);
    fPicture = nullptr;
    TWindow::Dispose();
}

int16_t TClipWindow::Close()
{
    if (fDoc) fDoc->Hide();
    return 0;
}

void TClipWindow::MakeActive()
{
    TWindow::MakeActive();
    for (int16_t c : {22, 23, 25, 24, 21}) DisableFunc(c);
}

void TClipWindow::SetData(Handle data, uint32_t type, int32_t, int32_t length)
{
    const bool text = type == FourCC("TEXT");
    if (!text && type != FourCC("PICT")) return;
    if (fPicture) {
        if (TPlan* pane = FindPlane(8)) pane->erase();
        DisposeHandle(fPicture);
        fPicture = nullptr;
    }
    if (!fText) return;
    if (text) {
        if (length < 32767) {
            TESetSelect(0, 32767, fText);
            TEDelete(fText);
            TEPaste(fText);
        } else if (data && *data) {
            // Too long for the text record: its beginning is shown.
            const int32_t n = std::min<int32_t>({length, kClipTextMax, int32_t(GetHandleSize(data))});
            TESetText(*data, n, fText);
        }
    } else {
        Handle copy = data;
        if (copy && HandToHand(&copy) == noErr) fPicture = copy;
        TESetText("", 0, fText);
        update(EventRecord{});
    }
}
