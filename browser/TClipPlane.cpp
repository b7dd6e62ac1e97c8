// The clipboard window's pane: the clipboard's text or picture, scrolled by
// two bars. Text lines break only at returns, so the horizontal range is a
// fixed 2047 pixels.
#include <algorithm>
#include <new>

#include "app/longlist/LongListHooks.h"
#include "app/windows/TClipWindow.h"
#include "browser/CallPanes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"
#include "platform/textedit/TextEdit.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

namespace {

constexpr int16_t kTextWidth = 2047;

TClipWindow* ClipWindow(const TPlan* pane)
{
    return pane->fWindow && pane->fWindow->IsMember(1) ? static_cast<TClipWindow*>(pane->fWindow) : nullptr;
}

void SetMax(ControlRef c, int16_t max)
{
    if (c && GetControlMaximum(c) != max) SetControlMaximum(c, max);
}

}  // namespace

Rect TClipPlane::View() const
{
    return Rect{fRect.top, fRect.left, int16_t(fRect.bottom - 15), int16_t(fRect.right - 15)};
}

void TClipPlane::Bars(Rect* hBar, Rect* vBar) const
{
    *vBar = Rect{int16_t(fRect.top - 1), int16_t(fRect.right - 15), int16_t(fRect.bottom - 14), int16_t(fRect.right + 1)};
    *hBar = Rect{int16_t(fRect.bottom - 15), fRect.left, int16_t(fRect.bottom + 1), int16_t(fRect.right - 14)};
}

int16_t TClipPlane::ITPlane(const Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                            int32_t length)
{
    if (const int16_t err = TPlan::ITPlane(rect, window, typeList, record, length); err != 0) return err;
    if (!window || !window->fWindow) return 0;
    Rect hBar{}, vBar{};
    Bars(&hBar, &vBar);
    const unsigned char empty[1] = {0};
    fVScroll = NewControl(window->fWindow, &vBar, empty, false, 0, 0, 0, 16, 0);
    fHScroll = NewControl(window->fWindow, &hBar, empty, false, 0, 0, kTextWidth, 16, 0);
    if (!fVScroll || !fHScroll) {
        if (fVScroll) DisposeControl(fVScroll);
        if (fHScroll) DisposeControl(fHScroll);
        fVScroll = fHScroll = nullptr;
        return memFullErr;
    }
    return 0;
}

void TClipPlane::MakeActive()
{
    if (fWindow && fWindow->fWindow) {
        SetPortWindowPort(fWindow->fWindow);
        const Rect port = PortBounds();
        ClipRect(&port);
    }
    TPlan::MakeActive();
    for (ControlRef c : {fHScroll, fVScroll}) {
        if (!c) continue;
        HiliteControl(c, 0);
        ShowControl(c);
    }
}

void TClipPlane::MakeInActive()
{
    for (ControlRef c : {fHScroll, fVScroll})
        if (c) HiliteControl(c, 255);
}

void TClipPlane::erase()
{
    InitDraw();
    EraseRect(&fRect);
    RestoreDraw();
}

void TClipPlane::update()
{
    TClipWindow* w = ClipWindow(this);
    if (!w) return;
    InitDraw();
    const Rect view = View();
    const int16_t h = fHScroll ? GetControlValue(fHScroll) : 0;
    const int16_t v = fVScroll ? GetControlValue(fVScroll) : 0;
    if (!w->fPicture) {
        if (TEHandle te = w->fText) {
            (*te)->viewRect = view;
            Rect dest = view;
            OffsetRect(&dest, int16_t(-h), int16_t(-v));
            dest.right = dest.bottom = 32767;
            (*te)->destRect = dest;
            TECalText(te);
            const int32_t height = TEGetHeight((*te)->nLines, 1, te);
            SetMax(fVScroll, int16_t(std::clamp<int32_t>(height - (view.bottom - view.top), 0, 32767)));
            TEUpdate(&view, te);
        }
    } else {
        Rect frame{};
        QDGetPictureBounds(w->fPicture, &frame);
        SetMax(fVScroll, int16_t(std::max(0, (frame.bottom - frame.top) - (view.bottom - view.top))));
        SetMax(fHScroll, int16_t(std::max(0, (frame.right - frame.left) - (view.right - view.left))));
        RgnHandle saved = NewRgn();
        if (saved) GetClip(saved);
        ClipRect(&view);
        Rect at = frame;
        OffsetRect(&at, int16_t(view.left - frame.left - (fHScroll ? GetControlValue(fHScroll) : 0)),
                   int16_t(view.top - frame.top - (fVScroll ? GetControlValue(fVScroll) : 0)));
        DrawPicture(w->fPicture, &at);
        if (saved) {
            SetClip(saved);
            DisposeRgn(saved);
        }
    }
    if (fVScroll) {
        Rect bar{};
        GetControlBounds(fVScroll, &bar);
        ClipRect(&bar);
        Draw1Control(fVScroll);
    }
    RestoreDraw();
}

void TClipPlane::Resize()
{
    TPlan::Resize();
    Rect hBar{}, vBar{};
    Bars(&hBar, &vBar);
    for (auto [c, r] : {std::pair{fHScroll, hBar}, std::pair{fVScroll, vBar}}) {
        if (!c) continue;
        MoveControl(c, r.left, r.top);
        SizeControl(c, int16_t(r.right - r.left), int16_t(r.bottom - r.top));
    }
    TClipWindow* w = ClipWindow(this);
    const Rect view = View();
    if (w && !w->fPicture && w->fText) {
        TEHandle te = w->fText;
        const int16_t before = fVScroll ? GetControlValue(fVScroll) : 0;
        (*te)->viewRect = view;
        Rect dest = (*te)->destRect;
        dest.top = int16_t(view.top - before);
        dest.left = int16_t(view.left - (fHScroll ? GetControlValue(fHScroll) : 0));
        dest.bottom = dest.right = 32767;
        (*te)->destRect = dest;
        TECalText(te);
        const int32_t height = TEGetHeight((*te)->nLines, 1, te);
        SetMax(fVScroll, int16_t(std::clamp<int32_t>(height - (view.bottom - view.top), 0, 32767)));
        if (fVScroll && GetControlValue(fVScroll) != before) {
            erase();
            update();
        }
    } else if (w && w->fPicture) {
        Rect frame{};
        QDGetPictureBounds(w->fPicture, &frame);
        SetMax(fVScroll, int16_t(std::max(0, (frame.bottom - frame.top) - (view.bottom - view.top))));
        SetMax(fHScroll, int16_t(std::max(0, (frame.right - frame.left) - (view.right - view.left))));
    }
    for (ControlRef c : {fHScroll, fVScroll})
        if (c) ShowControl(c);
}

void TClipPlane::ScrollPlane(ControlRef bar, int16_t amount)
{
    if (!bar) return;
    const int16_t old = GetControlValue(bar);
    SetControlValue(bar, int16_t(std::clamp<int32_t>(old + amount, -32768, 32767)));
    const int16_t change = int16_t(GetControlValue(bar) - old);
    if (change == 0) return;
    TClipWindow* w = ClipWindow(this);
    if (!w) return;
    if (!w->fPicture && w->fText) {
        InitDraw();
        (*w->fText)->viewRect = View();
        if (bar == fHScroll) TEScroll(int16_t(-change), 0, w->fText);
        else TEScroll(0, int16_t(-change), w->fText);
        RestoreDraw();
    } else {
        erase();
        update();
    }
}

void ClipTrackCtrAction(ControlRef control, ControlPartCode part)
{
    auto* gClipTracked = dynamic_cast<TClipPlane*>(::G_Plane);
    if (!gClipTracked) return;
    const Rect view = gClipTracked->View();
    const int16_t page = int16_t(std::max(1, view.bottom - view.top - 24));
    int16_t amount = 0;
    switch (part) {
    case 20: amount = -24; break;
    case 21: amount = 24; break;
    case 22: amount = int16_t(-page); break;
    case 23: amount = page; break;
    default: return;
    }
    gClipTracked->ScrollPlane(control, amount);
}

bool TClipPlane::Click(Point where, int16_t)
{
    if (!fWindow || !fWindow->fWindow) return false;
    ControlRef control = nullptr;
    const ControlPartCode part = FindControl(where, fWindow->fWindow, &control);
    if (!control || (control != fHScroll && control != fVScroll)) return false;
    if (part == kControlIndicatorPart) {
        const int16_t old = GetControlValue(control);
        TrackControl(control, where, nullptr);
        const int16_t change = int16_t(GetControlValue(control) - old);
        if (change != 0) {
            TClipWindow* w = ClipWindow(this);
            if (w && !w->fPicture && w->fText) {
                Rect view = View();
                Rect dest = (*w->fText)->destRect;
                if (control == fHScroll) OffsetRect(&dest, int16_t(-change), 0);
                else OffsetRect(&dest, 0, int16_t(-change));
                (*w->fText)->viewRect = view;
                (*w->fText)->destRect = dest;
                TECalText(w->fText);
            }
            InitDraw();
            const Rect view = View();
            EraseRect(&view);
            RestoreDraw();
            update();
        }
        return true;
    }
    ::G_Plane = this;
    TrackControl(control, where, ClipTrackCtrAction);
    ::G_Plane = nullptr;
    return true;
}

int16_t MakeClipPlane(TWindow* window, ::TPlan** pane)
{
    *pane = nullptr;
    auto* clip = new (std::nothrow) TClipPlane;
    if (!clip) return memFullErr;
    if (const int16_t err = clip->ITPlane(Rect{0, 0, 100, 100}, window, nullptr, nullptr, 0); err != 0) {
        clip->Dispose();
        return err;
    }
    *pane = clip;
    return 0;
}

}  // namespace browser
