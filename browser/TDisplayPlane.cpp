// The preview pane: one object drawn by itself below a head with its name,
// its display-type pop-up and its page control, scrolled by two bars.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/ArrowControl.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/longlist/LongListHooks.h"
#include "app/documents/MainDoc.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/windows/TMainWindow.h"
#include "browser/CallPanes.h"
#include "design/objects/ObjQz.h"
#include "design/preview/PreviewFrame.h"
#include "forms/drawing/LayoutBackground.h"
#include "looks/FormLook.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"
#include "platform/resfiles/Resources.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

int32_t G_DispTy = 0;
TObjQz* G_Obj = nullptr;

namespace {

void Append(unsigned char* text, const unsigned char* more)
{
    const int n = std::min<int>(255 - text[0], more[0]);
    std::memcpy(text + 1 + text[0], more + 1, size_t(n));
    text[0] = uint8_t(text[0] + n);
}

void AppendNumber(unsigned char* text, int32_t n)
{
    const std::string digits = std::to_string(n);
    unsigned char p[32];
    p[0] = uint8_t(digits.size());
    std::memcpy(p + 1, digits.data(), digits.size());
    Append(text, p);
}

void AppendString(unsigned char* text, int16_t list, int16_t index)
{
    unsigned char s[256];
    MyGetIndString(s, list, index);
    Append(text, s);
}

void SetCtl(ControlRef c, int16_t min, int16_t max, int16_t value)
{
    if (!c) return;
    SetControlMinimum(c, min);
    SetControlMaximum(c, max);
    SetControlValue(c, value);
}

int16_t Value(ControlRef c) { return c ? GetControlValue(c) : 0; }

void DrawClipped(ControlRef c)
{
    if (!c || !IsControlVisible(c)) return;
    Rect r{};
    GetControlBounds(c, &r);
    RgnHandle saved = NewRgn();
    if (!saved) return;
    // The clip comes back, and its copy goes, however the drawing ends
    // (memory running out in it included).
    struct Back {
        RgnHandle clip;
        ~Back()
        {
            SetClip(clip);
            DisposeRgn(clip);
        }
    } back{saved};
    GetClip(saved);
    ClipRect(&r);
    Draw1Control(c);
}

}  // namespace

void DisplayHeadText(TObjQz* obj, unsigned char* out)
{
    out[0] = 0;
    if (!obj) return;
    unsigned char s[256];
    obj->GetFullName(s);
    Append(out, s);
    Append(out, reinterpret_cast<const unsigned char*>("\x01 "));
    s[0] = 0;
    obj->GetMoreInfo(s, true);
    Append(out, s);
}

void DisplayPageText(int16_t page, int16_t count, unsigned char* out)
{
    out[0] = 0;
    if (count <= 1) return;
    AppendString(out, 1001, 13);
    AppendNumber(out, page);
    AppendString(out, 1001, 14);
    AppendNumber(out, count);
    AppendString(out, 1001, 15);
}

void TDisplayPlane::GetBox(Rect* content, Rect* head, Rect* info) const
{
    const Rect w = GetWRect();
    *content = Rect{int16_t(w.top + 36), w.left, w.bottom, int16_t(w.right - 15)};
    *head = Rect{int16_t(w.top - 1), w.left, int16_t(w.top + 33), int16_t(w.right - 110)};
    *info = Rect{int16_t(w.top - 1), int16_t(w.right - 110), int16_t(w.top + 32), w.right};
}

void TDisplayPlane::ControlRects(Rect* page, Rect* hBar, Rect* vBar) const
{
    Rect content{}, head{}, info{};
    GetBox(&content, &head, &info);
    const Rect port = PortBounds();
    *page = Rect{int16_t(port.bottom - 15), int16_t(fRect.left - 1), int16_t(port.bottom + 1), int16_t(fRect.left + 64)};
    *hBar = Rect{int16_t(port.bottom - 15), int16_t(fRect.left + 64), int16_t(port.bottom + 1),
                 int16_t(fRect.right - 14)};
    *vBar = Rect{int16_t(content.top - 1), content.right, int16_t(content.bottom + 1), int16_t(content.right + 16)};
}

int16_t TDisplayPlane::ITPlane(const Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                               int32_t length)
{
    if (const int16_t err = TPlan::ITPlane(rect, window, typeList, record, length); err != 0) return err;
    if (fLayout.bottom == 100) fRect.bottom = int16_t(fRect.bottom - 15);
    fObj = nullptr;
    fDisplay = nullptr;
    fDispType = 0;
    fSelected = false;
    fPage = fPageMin = fPageMax = fHMax = fVMax = 0;
    WindowRef w = window ? window->fWindow : nullptr;
    if (!w) return 0;
    Rect page{}, hBar{}, vBar{};
    ControlRects(&page, &hBar, &vBar);
    const unsigned char empty[1] = {0};
    fPageCtl = NewControl(w, &page, empty, false, 0, 0, 0, int16_t(kArrowControlDef * 16), 1000);
    fHScroll = NewControl(w, &hBar, empty, false, 0, 0, 0, 16, 0);
    fVScroll = NewControl(w, &vBar, empty, false, 0, 0, 0, 16, 0);
    if (!fHScroll || !fVScroll) {
        for (ControlRef* c : {&fPageCtl, &fHScroll, &fVScroll})
            if (*c) DisposeControl(*c), *c = nullptr;
        if (fSavedClip) DisposeRgn(fSavedClip);
        fSavedClip = nullptr;
        return memFullErr;
    }
    if (fPageCtl) {
        ShowControl(fPageCtl);
        HiliteControl(fPageCtl, 255);
    }
    ShowControl(fHScroll);
    if (vBar.bottom - vBar.top >= 49) ShowControl(fVScroll);
    return 0;
}

void TDisplayPlane::Dispose()
{
    if (fObj) fObj->DisposeDisplay(&fDisplay);
    fDisplay = nullptr;
    fObj = nullptr;
    DisableFunc(56);
    DisableFunc(57);
    for (ControlRef* c : {&fPageCtl, &fHScroll, &fVScroll})
        if (*c) DisposeControl(*c), *c = nullptr;
    TPlan::Dispose();
}

bool TDisplayPlane::IsSelection() { return fObj && fObj->IsSelection(fDisplay); }

int16_t TDisplayPlane::HPage() const
{
    Rect content{}, head{}, info{};
    GetBox(&content, &head, &info);
    return int16_t(std::max(1, content.right - content.left - 31));
}

int16_t TDisplayPlane::VPage() const
{
    Rect content{}, head{}, info{};
    GetBox(&content, &head, &info);
    return int16_t(std::max(1, content.bottom - content.top - 24));
}

void TDisplayPlane::SetScrollMaxima(int16_t width, int16_t height)
{
    Rect content{}, head{}, info{};
    GetBox(&content, &head, &info);
    const int32_t excessW = std::max(0, width - (content.right - content.left));
    const int32_t excessH = std::max(0, height - (content.bottom - content.top));
    fHMax = int16_t(excessW ? std::min(32767, int(excessW + 15)) : 0);
    fVMax = int16_t(excessH ? std::min(32767, int(excessH + 15)) : 0);
    SetCtl(fHScroll, 0, fHMax, 0);
    SetCtl(fVScroll, 0, fVMax, 0);
}

void TDisplayPlane::Remake()
{
    if (!fObj) return;
    fObj->DisposeDisplay(&fDisplay);
    Rect content{}, head{}, info{};
    GetBox(&content, &head, &info);
    int16_t width = int16_t(fDispType), height = 0, page = fPage;
    fObj->InitDisplay(&fDisplay, content, &width, &height, &fPageMin, &fPageMax, &page, false);
    fPage = page;
    if (!GromMemHdl) ErrMsg(memFullErr);
    SetCtl(fPageCtl, fPageMin, fPageMax, fPage);
    SetScrollMaxima(width, height);
}

void TDisplayPlane::SetObj(TObjQz* obj)
{
    if (fWindow && fWindow->fWindow) {
        SetPortWindowPort(fWindow->fWindow);
        const Rect port = PortBounds();
        ClipRect(&port);
    }
    if (G_LowMem) {
        NoMemory(0);
        return;
    }
    if (obj == fObj && obj) return;
    if (fObj) fObj->DisposeDisplay(&fDisplay);
    fDisplay = nullptr;
    fObj = obj;
    fPage = fPageMin = fPageMax = 0;
    if (!obj || obj->TstFlag(kFlagCiphered)) {
        SetScrollMaxima(0, 0);
        SetCtl(fPageCtl, 0, 0, 0);
        if (fPageCtl) HiliteControl(fPageCtl, 255);
    } else {
        if (G_DispTy < obj->NbPopUpItems()) {
            fDispType = G_DispTy;
        } else {
            fDispType = 0;
            G_DispTy = 0;
        }
        Rect content{}, head{}, info{};
        GetBox(&content, &head, &info);
        int16_t width = int16_t(fDispType), height = 0, page = 1;
        obj->InitDisplay(&fDisplay, content, &width, &height, &fPageMin, &fPageMax, &page, false);
        fPage = page;
        if (!GromMemHdl) ErrMsg(memFullErr);
        SetCtl(fPageCtl, fPageMin, fPageMax, fPage);
        if (fPageCtl) {
            if (fPageMax == 0) {
                HiliteControl(fPageCtl, 255);
            } else {
                HideControl(fPageCtl);
                ShowControl(fPageCtl);
                HiliteControl(fPageCtl, 0);
            }
        }
        SetScrollMaxima(width, height);
    }
    if (obj && obj->TstFlag(kFlagHasDoc) && obj->EnableDocDel()) EnableFunc(57);
    else DisableFunc(57);
    if (obj && obj->EnableDocEdit()) EnableFunc(56);
    else DisableFunc(56);
    update();
}

void TDisplayPlane::DelObjMsg(TObjQz* obj)
{
    if (obj && obj == fObj) SetObj(nullptr);
}

void TDisplayPlane::DrawContent()
{
    InitDraw();
    Rect content{}, head{}, info{};
    GetBox(&content, &head, &info);
    const int16_t h = Value(fHScroll), v = Value(fVScroll);
    Draw3dLine(Point{int16_t(content.top - 2), int16_t(content.left - 1)},
               Point{int16_t(content.top - 2), int16_t(content.right + 15)});
    if (!fObj) {
        EraseRect(&content);
        Rect r = head;
        InsetRect(&r, 1, 1);
        r.top = int16_t(r.top + 3);
        EraseRect(&r);
        r = info;
        InsetRect(&r, 0, 1);
        r.top = int16_t(r.top + 3);
        EraseRect(&r);
    } else {
        const bool popUp = fObj->NeedPopUp() != 0;
        if (!popUp) head.right = info.right;
        Rect text = head;
        text.top = int16_t(text.top + (fSelected ? 3 : 1));
        InsetRect(&text, 3, 3);
        text.top = int16_t(text.top + 2);
        EraseRect(&text);
        unsigned char name[256];
        DisplayHeadText(fObj, name);
        TextFont(MyApplFont);
        TextSize(MyApplSize);
        TextFace(bold);
        FontInfo fi{};
        GetFontInfo(&fi);
        const int16_t base = int16_t(text.top + fi.ascent);
        MoveTo(text.left, base);
        TruncString(int16_t(text.right - text.left), name, smTruncEnd);
        DrawString(name);
        if (fPageMax > 1) {
            unsigned char pages[256];
            DisplayPageText(fPage, fPageMax, pages);
            TextFace(italic);
            Move(10, 0);
            DrawString(pages);
        }
        TextFace(0);
        if (popUp) {
            Draw3dLine(Point{int16_t(info.top + 3), info.left}, Point{int16_t(info.bottom - 1), info.left});
            Rect box = info;
            InsetRect(&box, 0, 3);
            box.left = int16_t(box.left + 3);
            box.top = int16_t(box.top + 2);
            box.right = int16_t(box.right - 15);
            EraseRect(&box);
            unsigned char typeName[256];
            MyGetIndString(typeName, 1010, int16_t(fDispType + 1));
            TextFace(0);
            MoveTo(box.left, int16_t(box.top + fi.ascent));
            TruncString(int16_t(box.right - box.left), typeName, smTruncEnd);
            DrawString(typeName);
            const Rect icon{box.top, box.right, int16_t(box.top + 16), int16_t(box.right + 16)};
            DrawSmallIcon(128, 0, &icon);
        }
        // The background behind the object: a form's own, else the window's.
        if (fObj->kind == 24 && fDisplay) {
            SetDBVIProc(StructureLook(fObj->owner));
            EraseLayoutBackground(&content, GetDBVIProc(), nullptr);
        } else {
            EraseRect(&content);
        }
        RgnHandle saved = NewRgn();
        if (saved) {
            GetClip(saved);
            RgnHandle clip = NewRgn();
            if (clip) {
                RectRgn(clip, &content);
                SectRgn(clip, saved, clip);
                SetClip(clip);
                DisposeRgn(clip);
            }
        }
        Rect shifted = content;
        OffsetRect(&shifted, int16_t(-h), int16_t(-v));
        fObj->Display(fDisplay, shifted);
        if (saved) {
            SetClip(saved);
            DisposeRgn(saved);
        }
    }
    if (fVScroll) {
        Rect bar{};
        GetControlBounds(fVScroll, &bar);
        if (bar.bottom - bar.top < 49) Draw3DFrame(&bar);
    }
    if (fSelected) {
        fSelected = false;
        DrawSelect(true);
    }
    RestoreDraw();
}

void TDisplayPlane::DrawSelect(bool on)
{
    Rect content{}, head{}, info{}, strip{};
    GetBox(&content, &head, &info);
    UnionRect(&head, &info, &strip);
    strip.top = int16_t(head.top + 2);
    strip.bottom = int16_t(head.top + 5);
    InitDraw();
    EraseRect(&strip);
    if (on) {
        LMSetHiliteMode(0);
        InvertRect(&strip);
    }
    fSelected = on;
    if (fObj && fObj->NeedPopUp())
        Draw3dLine(Point{int16_t(info.top + 3), info.left}, Point{int16_t(info.bottom - 1), info.left});
    RestoreDraw();
}

void TDisplayPlane::Resize()
{
    TPlan::Resize();
    if (fLayout.bottom == 100) fRect.bottom = int16_t(fRect.bottom - 15);
    Rect page{}, hBar{}, vBar{};
    ControlRects(&page, &hBar, &vBar);
    auto place = [](ControlRef c, const Rect& r) {
        if (!c) return;
        HideControl(c);
        MoveControl(c, r.left, r.top);
        SizeControl(c, int16_t(r.right - r.left), int16_t(r.bottom - r.top));
    };
    place(fPageCtl, page);
    place(fHScroll, hBar);
    place(fVScroll, vBar);
    if (fObj && fDisplay) {
        Rect content{}, head{}, info{};
        GetBox(&content, &head, &info);
        int16_t width = 0, height = 0;
        fObj->SizeDisplay(fDisplay, content, &width, &height);
        SetScrollMaxima(width, height);
    }
    if (fHScroll) ShowControl(fHScroll);
    if (fVScroll && vBar.bottom - vBar.top >= 49) ShowControl(fVScroll);
    if (fPageCtl) ShowControl(fPageCtl);
}

void TDisplayPlane::update()
{
    InitDraw();
    EraseRect(&fRect);
    Rect content{}, head{}, info{};
    GetBox(&content, &head, &info);
    const Rect port = PortBounds();
    Draw3dLine(Point{head.top, head.left}, Point{head.top, info.right});
    Draw3dLine(Point{int16_t(port.bottom - 16), fRect.left}, Point{int16_t(port.bottom - 16), fRect.right});
    DrawContent();
    TPlan::update();
    for (ControlRef c : {fPageCtl, fHScroll, fVScroll}) DrawClipped(c);
    RestoreDraw();
}

void TDisplayPlane::MakeActive()
{
    Rect content{}, head{}, info{};
    GetBox(&content, &head, &info);
    if (fWindow && fWindow->fWindow) {
        InvalWindowRect(fWindow->fWindow, &head);
        InvalWindowRect(fWindow->fWindow, &info);
    }
    TPlan::MakeActive();
    if (fObj) fObj->MakeActive(fDisplay);
    if (fHScroll) HiliteControl(fHScroll, 0);
    if (fVScroll) HiliteControl(fVScroll, 0);
    if (fPageCtl) HiliteControl(fPageCtl, fPageMax != 0 ? 0 : 255);
}

void TDisplayPlane::MakeInActive()
{
    if (fObj) fObj->MakeInActive(fDisplay);
    for (ControlRef c : {fPageCtl, fHScroll, fVScroll})
        if (c) HiliteControl(c, 255);
}

void TDisplayPlane::SelectPlane()
{
    TPlan::SelectPlane();
    if (fObj) {
        fObj->SelectObj();
        fObj->EnableDocEdit() ? EnableFunc(56) : DisableFunc(56);
    } else {
        DisableFunc(56);
    }
}

void TDisplayPlane::DeSelectPlane()
{
    if (fObj) fObj->DeSelectObj();
    DisableFunc(56);
    DisableFunc(57);
    TPlan::DeSelectPlane();
}

void TDisplayPlane::RazAll(Handle, bool) { SetObj(nullptr); }

void TDisplayPlane::UpdateAll()
{
    TObjQz* obj = fObj;
    if (fObj) fObj->DisposeDisplay(&fDisplay);
    fDisplay = nullptr;
    fObj = nullptr;
    SetObj(obj);
}

void TDisplayPlane::EditDoc()
{
    if (fObj && fObj->EnableDocEdit()) fObj->EditDoc(Doc());
}

void TDisplayPlane::DelDoc()
{
    if (fObj) {
        unsigned char text[256] = {0};
        AppendString(text, 1002, 34);
        unsigned char name[256];
        fObj->GetFullName(name);
        Append(text, name);
        AppendString(text, 1024, 5);
        if (XAlert(1002, text, 2) == 1) fObj->DelDoc();
    }
    if (TMainDoc* doc = Doc()) doc->UpdateList();
}

int16_t TDisplayPlane::Do_Func(int16_t command)
{
    int16_t result = 0;
    switch (command) {
    case 26: if (fObj) fObj->SelectAll(fDisplay); break;
    case 23: if (fObj) fObj->doCopy(fDisplay, fPage); break;
    case 56: EditDoc(); break;
    case 57: DelDoc(); break;
    default: result = -1; break;
    }
    if (fWindow) fWindow->SetEditMenu();
    return result;
}

void TDisplayPlane::key(const EventRecord& event)
{
    if ((event.message & charCodeMask) != '\t' || (event.modifiers & cmdKey) || !fWindow) return;
    if (event.modifiers & shiftKey) {
        ::TPlan* last = fWindow->fFirstPlane;
        while (last && last->fNext) last = last->fNext;
        if (last && last != this) last->SelectPlane();
    } else if (fNext) {
        fNext->SelectPlane();
    }
}

void TDisplayPlane::ScrollBy(ControlRef bar, int16_t amount)
{
    if (!bar) return;
    const int16_t old = GetControlValue(bar);
    SetControlValue(bar, int16_t(std::clamp<int32_t>(old + amount, -32768, 32767)));
    const int16_t change = int16_t(GetControlValue(bar) - old);
    if (change == 0 || !fObj) return;
    Rect content{}, head{}, info{};
    GetBox(&content, &head, &info);
    InitDraw();
    RgnHandle saved = NewRgn();
    if (saved) GetClip(saved);
    ClipRect(&content);
    if (bar == fHScroll) fObj->Scroll(fDisplay, content, int16_t(-change), 0);
    else fObj->Scroll(fDisplay, content, 0, int16_t(-change));
    if (saved) {
        SetClip(saved);
        DisposeRgn(saved);
    }
    RestoreDraw();
    // Only what the scroll uncovered is drawn again.
    WindowRef front = FrontWindow();
    if (front) BeginUpdate(front);
    DrawContent();
    if (front) EndUpdate(front);
}

TDisplayPlane* Tracked() { return dynamic_cast<TDisplayPlane*>(::G_Plane); }

void PreviewClickScrolled(int16_t h, int16_t v)
{
    TDisplayPlane* pane = Tracked();
    if (!pane) return;
    if (pane->fVScroll && GetControlValue(pane->fVScroll) != v) SetControlValue(pane->fVScroll, v);
    if (pane->fHScroll && GetControlValue(pane->fHScroll) != h) SetControlValue(pane->fHScroll, h);
}

void HTrackCtrAction(ControlRef control, ControlPartCode part)
{
    TDisplayPlane* gTracked = Tracked();
    if (!gTracked) return;
    int16_t amount = 0;
    switch (part) {
    case 20: amount = -16; break;
    case 21: amount = 16; break;
    case 22: amount = int16_t(-gTracked->HPage()); break;
    case 23: amount = gTracked->HPage(); break;
    default: return;
    }
    gTracked->ScrollBy(control, amount);
}

void VTrackCtrAction(ControlRef control, ControlPartCode part)
{
    TDisplayPlane* gTracked = Tracked();
    if (!gTracked) return;
    int16_t amount = 0;
    switch (part) {
    case 20: amount = -24; break;
    case 21: amount = 24; break;
    case 22: amount = int16_t(-gTracked->VPage()); break;
    case 23: amount = gTracked->VPage(); break;
    default: return;
    }
    gTracked->ScrollBy(control, amount);
}

bool TDisplayPlane::Click(Point where, int16_t clicks)
{
    ControlRef control = nullptr;
    const ControlPartCode part =
        fWindow && fWindow->fWindow ? FindControl(where, fWindow->fWindow, &control) : 0;
    if (control && control != fPageCtl && control != fHScroll && control != fVScroll) control = nullptr;
    Rect content{}, head{}, info{};
    GetBox(&content, &head, &info);
    if (!control) {
        if (!TPlan::Click(where, clicks)) return false;
        if (!fObj) return true;
        if (PtInRect(where, &info) && fObj->NeedPopUp()) {
            const int16_t chosen = fObj->DisplayPopUp(Point{info.top, info.left});
            if (chosen != fDispType && chosen >= 0) {
                fDispType = chosen;
                G_DispTy = chosen;
                Remake();
                DrawContent();
            }
        } else if (PtInRect(where, &content)) {
            InitDraw();
            RgnHandle saved = NewRgn();
            if (saved) GetClip(saved);
            ClipRect(&content);
            ::G_Plane = this;
            EventRecord event{};
            event.what = mouseDown;
            event.where = where;
            event.modifiers = CurrentInput().modifiers;
            TObjQz* hit = fObj->Click(fDisplay, event, fPage);
            ::G_Plane = nullptr;
            if (saved) {
                SetClip(saved);
                DisposeRgn(saved);
            }
            RestoreDraw();
            if (hit && clicks == 1) {
                SetObj(hit);
            } else if (hit && (event.modifiers & optionKey) && fKind != 0) {
                TMainDoc* doc = Doc();
                if (doc && fWindow->IsMember(3)) doc->SelectObj(static_cast<TRefWindow*>(fWindow), hit, fKind);
            }
        }
        return true;
    }
    if (control == fPageCtl) {
        const ControlPartCode hit = TrackControl(control, where, nullptr);
        if (hit == 0) return true;
        int16_t page = fPage;
        if (hit == 3) ++page;
        else if (hit == 2) --page;
        else if (hit == 1) page = fPageMin;
        else if (hit == 4) page = fPageMax;
        fPage = std::clamp(page, fPageMin, std::max(fPageMin, fPageMax));
        Remake();
        DrawContent();
        return true;
    }
    if (part == kControlIndicatorPart) {
        const int16_t old = GetControlValue(control);
        TrackControl(control, where, nullptr);
        if (GetControlValue(control) != old) DrawContent();
        return true;
    }
    G_Obj = fObj;
    ::G_Plane = this;
    TrackControl(control, where, control == fHScroll ? HTrackCtrAction : VTrackCtrAction);
    ::G_Plane = nullptr;
    G_Obj = nullptr;
    return true;
}

}  // namespace browser
