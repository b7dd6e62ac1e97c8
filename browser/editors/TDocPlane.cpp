// The documentation editor pane: set-up, geometry, drawing, scrolling, the
// mouse, keys, idle time, activation and the write on close. Its editing
// commands, undo and styles are in TDocPlaneEdit.cpp.
#include <algorithm>
#include <cstdio>
#include <new>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/appl/UndoRecords.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "app/longlist/LongListHooks.h"
#include "app/windows/TMainWindow.h"
#include "browser/doctext/DocText.h"
#include "browser/editors/EditorPanes.h"
#include "design/objects/ObjQz.h"
#include "platform/core/Clock.h"
#include "platform/core/FourCC.h"
#include "platform/cursors/Cursors.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"
#include "platform/text/IntlSettings.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

namespace {

constexpr int16_t kArrowStep = 24;
constexpr int16_t kLockIcons = 131;
constexpr int16_t kDamagedDocText = 64;  // 'STR#' 1002

const uint32_t kGeneralDoc = FourCC("QzHE");

Rect Inset(Rect r, int16_t h, int16_t v)
{
    InsetRect(&r, h, v);
    return r;
}

void SetBar(ControlRef bar, int16_t value)
{
    if (bar && GetControlValue(bar) != value) SetControlValue(bar, value);
}

std::string PText(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

// The record's lines moved with its destination: laid out again.
void MoveRecord(TEHandle te, int16_t dh, int16_t dv)
{
    OffsetRect(&(**te).destRect, dh, dv);
    TECalText(te);
}

}  // namespace

bool TDocPlane::Plain() const
{
    return fResType == kGeneralDoc || fResType == FourCC("GRHE") || fResType == FourCC("QzTE") ||
           fResType == FourCC("Qzte");
}

void TDocPlane::GetBox(Rect* head, Rect* text) const
{
    const Rect& p = fRect;
    if (Plain()) {
        *head = Rect{0, 0, -2, -2};
        *text = Rect{p.top, p.left, int16_t(p.bottom - 15), int16_t(p.right - 15)};
    } else {
        *head = Rect{int16_t(p.top - 1), p.left, int16_t(p.top + 22), p.right};
        *text = Rect{int16_t(p.top + 24), p.left, int16_t(p.bottom - 15), int16_t(p.right - 15)};
    }
}

Rect TDocPlane::checkbox() const
{
    if (Plain()) return Rect{0, 0, 0, 0};
    Rect head{}, text{};
    GetBox(&head, &text);
    return Rect{int16_t(head.top + 6), int16_t(head.left + 10), int16_t(head.top + 17), int16_t(head.left + 21)};
}

void TDocPlane::Bars(Rect* hBar, Rect* vBar) const
{
    Rect head{}, text{};
    GetBox(&head, &text);
    *vBar = Rect{int16_t(text.top - 1), text.right, int16_t(text.bottom + 1), int16_t(text.right + 16)};
    *hBar = Rect{text.bottom, int16_t(text.left + 16), int16_t(text.bottom + 16), int16_t(text.right + 1)};
}

Rect TDocPlane::LockBox() const
{
    Rect head{}, text{};
    GetBox(&head, &text);
    return Rect{text.bottom, text.left, int16_t(text.bottom + 16), int16_t(text.left + 16)};
}

TObjQz* TDocPlane::Object() const
{
    if (!fWindow || !fWindow->IsMember(5)) return nullptr;
    return static_cast<TEditDocWindow*>(fWindow)->fObj;
}

TEditWindow* TDocPlane::Editor() const
{
    if (!fWindow || !(fWindow->IsMember(4) || fWindow->IsMember(5))) return nullptr;
    return static_cast<TEditWindow*>(fWindow);
}

int16_t TDocPlane::ReadText(bool* created)
{
    int16_t err = 0;
    *created = false;
    if (TObjQz* obj = Object()) {
        int32_t mark = 2;
        err = obj->ReadDoc(fTE, &mark, created);
        fMark = fMarkAtOpen = mark;
        fDocTime = obj->GetTimeDoc();
    } else if (TMainDoc* doc = Doc()) {
        int16_t state = 0;
        err = doc->ReadDoc(fTE, &state, created);
        fMark = fMarkAtOpen = state;
        fDocTime = 0;
    }
    return err;
}

int16_t TDocPlane::ITPlane(const Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                           int32_t length)
{
    if (const int16_t err = TPlan::ITPlane(rect, window, typeList, record, length); err != 0) return err;
    TMainDoc* doc = Doc();
    fMode = doc && doc->fRemote ? 0 : 2;
    fStyled = G_MachineType >= 4;
    fModified = false;
    TObjQz* obj = Object();
    if (obj) {
        fResType = obj->GetDocResType();
        obj->SetFlag(kFlagDocOpen, true);
        fResTime = static_cast<TEditDocWindow*>(fWindow)->fResTime;
    } else {
        fResType = kGeneralDoc;
    }
    if (!window || !window->fWindow) return 0;
    SetPortWindowPort(window->fWindow);
    TextFont(MyApplFont);
    TextSize(MyApplSize);
    TextFace(normal);
    const RGBColor black{0, 0, 0};
    RGBForeColor(&black);
    Rect head{}, text{};
    GetBox(&head, &text);
    const Rect dest = Inset(text, 10, 4);
    fTE = fStyled ? TEStyleNew(&dest, &text) : TENew(&dest, &text);
    if (!fTE) return memFullErr;
    TESetClickLoop(DocClickLoopProc, fTE);
    TEAutoView(true, fTE);
    bool created = false;
    const int16_t read = ReadText(&created);
    if (created) fMode = 2;
    Rect hBar{}, vBar{};
    Bars(&hBar, &vBar);
    const unsigned char empty[1] = {0};
    fVScroll = NewControl(window->fWindow, &vBar, empty, false, 0, 0, 0, 16, 0);
    fHScroll = NewControl(window->fWindow, &hBar, empty, false, 0, 0, 0, 16, 0);
    if (!fVScroll || !fHScroll) return memFullErr;
    ShowControl(fVScroll);
    ShowControl(fHScroll);
    UpdateHeight();
    fStyleMenu = FindAppMenu(kStyleMenuId);
    if (window->fUndo) SetUndo(window->fUndo, kUndoNothing, kUndoNothing);
    SetStyleMenu();
    if (obj && !obj->EnableDocWrite()) fMode = 0;
    // A body that does not hold what it announces is shown empty and left
    // as stored until the user writes over it.
    if (read == kDamagedDoc) {
        Str255 message;
        MyGetIndString(message, 1002, kDamagedDocText);
        XAlert(1000, message, kCautionAlert);
    } else if (read != 0) {
        // Memory, the disk or the server failing: no editor opens, and the
        // window's maker says why.
        return read;
    }
    return 0;
}

void TDocPlane::Dispose()
{
    // An object already freed leaves nothing to let go of.
    if (TObjQz* obj = Object()) {
        obj->UnLockDoc();
        obj->SetFlag(kFlagDocOpen, false);
    } else if (TMainDoc* doc = Doc(); doc && fResType == kGeneralDoc) {
        doc->UnLockDoc();
    }
    ShowAppMenu(kStyleMenuId, false);
    if (fTE) TEDispose(fTE);
    fTE = nullptr;
    // The bars go with the window's controls.
    if (fVScroll) DisposeControl(fVScroll);
    if (fHScroll) DisposeControl(fHScroll);
    fVScroll = fHScroll = nullptr;
    if (TMainDoc* doc = Doc(); doc && doc->fFirstWindow) {
        if (fWindow && fWindow->fWindow) InvalWindowRect(fWindow->fWindow, &fRect);
        doc->UpdateList();
    }
    TPlan::Dispose();
}

bool TDocPlane::IsSelection() { return fMode == 2 && fTE && (**fTE).selStart != (**fTE).selEnd; }

void TDocPlane::UpdateHeight()
{
    if (!fTE) return;
    Rect head{}, text{};
    GetBox(&head, &text);
    fTextHeight = int16_t(std::min<int32_t>(TEGetHeight((**fTE).nLines, 1, fTE), 32767));
    const int32_t range = fTextHeight - (text.bottom - text.top) + (Plain() ? 12 : 36);
    if (fVScroll) {
        const int16_t max = int16_t(std::clamp<int32_t>(range, 0, 32767));
        if (GetControlMaximum(fVScroll) != max) SetControlMaximum(fVScroll, max);
    }
}

void TDocPlane::DocSelView()
{
    if (!fTE) return;
    Rect head{}, text{};
    GetBox(&head, &text);
    const Rect& dest = (**fTE).destRect;
    SetBar(fHScroll, int16_t(-(dest.left - (text.left + 10))));
    SetBar(fVScroll, int16_t(-(dest.top - (text.top + 4))));
}

void TDocPlane::ScrollPlane(ControlRef bar, int16_t amount)
{
    if (!bar || !fTE) return;
    const int16_t old = GetControlValue(bar);
    SetControlValue(bar, int16_t(std::clamp<int32_t>(old + amount, -32768, 32767)));
    const int16_t change = int16_t(GetControlValue(bar) - old);
    if (change == 0) return;
    InitDraw();
    Rect head{}, text{};
    GetBox(&head, &text);
    RgnHandle saved = NewRgn();
    SectClip(&text, saved);
    if (bar == fHScroll) TEScroll(int16_t(-change), 0, fTE);
    else TEScroll(0, int16_t(-change), fTE);
    if (saved) {
        SetClip(saved);
        DisposeRgn(saved);
    }
    RestoreDraw();
}

void DocTrackCtrAction(ControlRef control, ControlPartCode part)
{
    auto* pane = dynamic_cast<TDocPlane*>(::G_Plane);
    if (!pane) return;
    Rect head{}, text{};
    pane->GetBox(&head, &text);
    const int16_t page = int16_t(std::max(1, text.bottom - text.top - kArrowStep));
    switch (part) {
    case 20: pane->ScrollPlane(control, int16_t(-kArrowStep)); break;
    case 21: pane->ScrollPlane(control, kArrowStep); break;
    case 22: pane->ScrollPlane(control, int16_t(-page)); break;
    case 23: pane->ScrollPlane(control, page); break;
    default: break;
    }
}

Boolean DocClickLoopProc(TEPtr te)
{
    auto* pane = dynamic_cast<TDocPlane*>(::G_Plane);
    if (!pane || !te || !pane->fWindow || !pane->fWindow->fWindow) return true;
    Rect head{}, text{};
    pane->GetBox(&head, &text);
    Point mouse{};
    GetMouse(&mouse);
    if (mouse.h < text.left) pane->ScrollPlane(pane->fHScroll, int16_t(-kArrowStep));
    else if (mouse.h > text.right + 15) pane->ScrollPlane(pane->fHScroll, kArrowStep);
    if (mouse.v < text.top) pane->ScrollPlane(pane->fVScroll, int16_t(-kArrowStep));
    else if (mouse.v > text.bottom + 15) pane->ScrollPlane(pane->fVScroll, kArrowStep);
    return true;
}

void TDocPlane::DrawCheck(int32_t mark, bool hilited)
{
    const Rect box = checkbox();
    if (EmptyRect(&box)) return;
    EraseRect(&box);
    PenNormal();
    if (mark == 1) {
        MoveTo(box.left, box.top);
        LineTo(int16_t(box.right - 1), int16_t(box.bottom - 1));
        MoveTo(box.left, int16_t(box.bottom - 1));
        LineTo(int16_t(box.right - 1), box.top);
    } else if (mark == 2) {
        Pattern gray{};
        FillRect(&box, GetQDGlobalsGray(&gray));
    }
    if (hilited) PenSize(2, 2);
    FrameRect(&box);
    PenNormal();
}

void TDocPlane::TrackCheck(Point where, int32_t* mark)
{
    const Rect box = checkbox();
    bool inside = PtInRect(where, &box);
    DrawCheck(*mark, inside);
    while (StillDown()) {
        Point mouse{};
        GetMouse(&mouse);
        const bool now = PtInRect(mouse, &box);
        if (now != inside) {
            inside = now;
            DrawCheck(*mark, inside);
        }
    }
    // Where the button came up decides.
    Point up = MouseReleasePoint();
    GlobalToLocal(&up);
    if (PtInRect(up, &box)) *mark = (*mark + 1) % 3;
    DrawCheck(*mark, false);
}

void TDocPlane::DrawHeadBox()
{
    if (Plain()) return;
    Rect head{}, text{};
    GetBox(&head, &text);
    DrawCheck(fMark, false);
    TextFont(MyApplFont);
    TextSize(MyApplSize);
    TextFace(normal);
    FontInfo info{};
    GetFontInfo(&info);
    const int16_t base = int16_t(head.top + (head.bottom - head.top + info.ascent - info.descent) / 2);
    const Rect box = checkbox();
    Str255 label;
    MyGetIndString(label, 1001, 39);
    // The date and time of the object's own resource, flush right.
    Str255 before, between;
    MyGetIndString(before, 1001, 40);
    MyGetIndString(between, 1001, 41);
    const CivilDay day = MacSecondsToDay(fResTime);
    const uint32_t seconds = fResTime % 86400;
    char clock[16];
    std::snprintf(clock, sizeof clock, "%u%c%02u", unsigned(seconds / 3600), char(GetIntlSettings().timeSeparator),
                  unsigned(seconds / 60 % 60));
    const std::string stamp =
        PText(before) + DateText(day.day, day.month, day.year, shortDate) + PText(between) + clock;
    const int16_t stampWidth = TextWidth(stamp.data(), 0, int16_t(stamp.size()));
    const int16_t stampLeft = int16_t(head.right - 10 - stampWidth);
    const int16_t labelLeft = int16_t(box.right + 4);
    if (labelLeft + StringWidth(label) < stampLeft) {
        MoveTo(labelLeft, base);
        DrawString(label);
    }
    if (stampLeft > labelLeft) {
        MoveTo(stampLeft, base);
        DrawText(stamp.data(), 0, int16_t(stamp.size()));
    }
}

void TDocPlane::DrawLockBox()
{
    const Rect box = LockBox();
    RgnHandle saved = NewRgn();
    SectClip(&box, saved);
    DrawSmallIcon(kLockIcons, fMode, &box);
    PenNormal();
    MoveTo(box.left, box.top);
    LineTo(int16_t(box.right - 1), box.top);
    if (saved) {
        SetClip(saved);
        DisposeRgn(saved);
    }
}

void TDocPlane::update()
{
    if (!fTE || !fWindow || !fWindow->fWindow) return;
    InitDraw();
    Rect head{}, text{};
    GetBox(&head, &text);
    // The margins the record does not draw: its bottom and right strips.
    const Rect bottom{int16_t(text.bottom - 4), text.left, text.bottom, text.right};
    const Rect right{text.top, int16_t(text.right - 10), text.bottom, text.right};
    EraseRect(&bottom);
    EraseRect(&right);
    if (!Plain()) {
        const Rect strip{head.top, head.left, int16_t(head.bottom + 2), head.right};
        EraseRect(&strip);
        PenNormal();
        MoveTo(head.left, int16_t(head.bottom - 1));
        LineTo(int16_t(head.right - 1), int16_t(head.bottom - 1));
        MoveTo(head.left, int16_t(head.bottom + 1));
        LineTo(int16_t(head.right - 1), int16_t(head.bottom + 1));
        DrawHeadBox();
    }
    DrawLockBox();
    RgnHandle saved = NewRgn();
    SectClip(&text, saved);
    TEUpdate(&text, fTE);
    if (saved) {
        SetClip(saved);
        DisposeRgn(saved);
    }
    for (ControlRef bar : {fVScroll, fHScroll})
        if (bar) Draw1Control(bar);
    RestoreDraw();
}

void TDocPlane::Resize()
{
    InitDraw();
    const Rect oldLock = LockBox();
    EraseRect(&oldLock);
    RestoreDraw();
    TPlan::Resize();
    Rect hBar{}, vBar{};
    Bars(&hBar, &vBar);
    for (auto [c, r] : {std::pair{fHScroll, hBar}, std::pair{fVScroll, vBar}}) {
        if (!c) continue;
        MoveControl(c, r.left, r.top);
        SizeControl(c, int16_t(r.right - r.left), int16_t(r.bottom - r.top));
    }
    if (!fTE) return;
    const int16_t before = fVScroll ? GetControlValue(fVScroll) : 0;
    UpdateHeight();
    const int16_t value = fVScroll ? GetControlValue(fVScroll) : 0;
    Rect head{}, text{};
    GetBox(&head, &text);
    InitDraw();
    if (value != before) EraseRect(&fRect);
    Rect dest = Inset(text, 10, 4);
    OffsetRect(&dest, int16_t(fHScroll ? -GetControlValue(fHScroll) : 0), int16_t(-value));
    dest.bottom = int16_t(std::min<int32_t>(dest.top + fTextHeight, 32767));
    (**fTE).destRect = dest;
    (**fTE).viewRect = text;
    TECalText(fTE);
    for (ControlRef c : {fHScroll, fVScroll})
        if (c) ShowControl(c);
    DrawLockBox();
    RestoreDraw();
}

void TDocPlane::AskLock()
{
    TObjQz* obj = Object();
    int16_t answer = 0;
    if (obj) {
        answer = obj->LockDoc();
    } else if (TMainDoc* doc = Doc()) {
        bool other = false;
        doc->LockDoc(&other);
        answer = other ? 1 : 0;
    }
    if (answer == 0) {
        fMode = 2;
        if (fStyled && fResType != FourCC("QzTE") && fResType != FourCC("Qzte")) ShowAppMenu(kStyleMenuId, true);
        TEActivate(fTE);
    } else {
        fMode = 1;
        TEDeactivate(fTE);
        ShowAppMenu(kStyleMenuId, false);
    }
    DrawLockBox();
}

bool TDocPlane::Click(Point where, int16_t)
{
    if (!fTE || !fWindow || !fWindow->fWindow) return false;
    Rect hBar{}, vBar{};
    Bars(&hBar, &vBar);
    if (!PtInRect(where, &fRect) && !PtInRect(where, &hBar) && !PtInRect(where, &vBar)) return false;
    InitDraw();
    Rect head{}, text{};
    GetBox(&head, &text);
    const Rect mark = checkbox();
    const Rect lock = LockBox();
    ControlRef control = nullptr;
    const ControlPartCode part = FindControl(where, fWindow->fWindow, &control);
    if (control && (control == fHScroll || control == fVScroll)) {
        if (part == kControlIndicatorPart) {
            const int16_t old = GetControlValue(control);
            TrackControl(control, where, nullptr);
            const int16_t change = int16_t(GetControlValue(control) - old);
            if (change != 0) {
                if (control == fHScroll) MoveRecord(fTE, int16_t(-change), 0);
                else MoveRecord(fTE, 0, int16_t(-change));
                EraseRect(&text);
                RestoreDraw();
                update();
                InitDraw();
            }
        } else {
            ::G_Plane = this;
            TrackControl(control, where, DocTrackCtrAction);
            ::G_Plane = nullptr;
        }
    } else if (PtInRect(where, &text)) {
        ::G_Plane = this;
        if (fMode == 2) {
            RgnHandle saved = NewRgn();
            SectClip(&text, saved);
            TEClick(where, (CurrentInput().modifiers & shiftKey) != 0, fTE);
            if (saved) {
                SetClip(saved);
                DisposeRgn(saved);
            }
            DocSelView();
        }
        ::G_Plane = nullptr;
    } else if (PtInRect(where, &mark)) {
        if (fMode == 2) TrackCheck(where, &fMark);
    } else if (PtInRect(where, &lock)) {
        TObjQz* obj = Object();
        if (fMode == 0 && (!obj || obj->EnableDocWrite())) AskLock();
    }
    RestoreDraw();
    SetStyleMenu();
    fWindow->SetEditMenu();
    return true;
}

void TDocPlane::key(const EventRecord& event)
{
    if (!fTE || (event.modifiers & cmdKey) || fMode != 2) return;
    const uint8_t ch = uint8_t(event.message & charCodeMask);
    const bool arrow = ch >= 28 && ch <= 31;
    InitDraw();
    DocSelView();
    const TERec& r = **fTE;
    if (ch != 8 && r.teLength >= kMaxDocText && r.selStart == r.selEnd) {
        RestoreDraw();
        return;
    }
    Handle undo = fWindow ? fWindow->fUndo : nullptr;
    if (!arrow && undo && UndoCode(undo) != kUndoTyping) {
        SetUndo(undo, 1, kUndoTyping);
        StrSaveUndo();
    }
    // Moving the caret changes nothing to write.
    if (!arrow) fModified = true;
    const int16_t lines = (**fTE).nLines;
    Rect head{}, text{};
    GetBox(&head, &text);
    RgnHandle saved = NewRgn();
    SectClip(&text, saved);
    TEKey(ch, fTE);
    if (saved) {
        SetClip(saved);
        DisposeRgn(saved);
    }
    if (ch == 3 || ch == 13 || (**fTE).nLines != lines) UpdateHeight();
    DocSelView();
    RestoreDraw();
    if (arrow) {
        SetStyleMenu();
        if (fWindow) fWindow->SetEditMenu();
    }
}

bool TDocPlane::Idle()
{
    if (!fTE || !fWindow || !fWindow->fWindow) return false;
    InitDraw();
    TEIdle(fTE);
    Point mouse{};
    GetMouse(&mouse);
    RestoreDraw();
    if (!PtInRect(mouse, &fRect)) return false;
    Rect head{}, text{};
    GetBox(&head, &text);
    if (PtInRect(mouse, &text)) SetThemeCursor(kThemeIBeamCursor);
    else SetArrowCursor();
    return true;
}

void TDocPlane::MakeActive()
{
    InitDraw();
    for (ControlRef c : {fHScroll, fVScroll})
        if (c) HiliteControl(c, 0);
    if (fMode == 2 && fTE) {
        if (fStyled && fResType != FourCC("QzTE") && fResType != FourCC("Qzte")) ShowAppMenu(kStyleMenuId, true);
        TEActivate(fTE);
    }
    DrawMenuBar();
    DocSelView();
    RestoreDraw();
    TObjQz* obj = Object();
    if (obj && fTE && !Modified() && obj->GetTimeDoc() != fDocTime) {
        // Another user changed it on the server: what is stored now shows.
        // Text typed here and not yet written is never thrown away for it.
        bool created = false;
        ReadText(&created);
        SetBar(fVScroll, 0);
        SetBar(fHScroll, 0);
        Rect head{}, text{};
        GetBox(&head, &text);
        (**fTE).destRect = Inset(text, 10, 4);
        TECalText(fTE);
        UpdateHeight();
        InitDraw();
        EraseRect(&fRect);
        RestoreDraw();
        update();
    }
}

void TDocPlane::MakeInActive()
{
    InitDraw();
    for (ControlRef c : {fHScroll, fVScroll})
        if (c) HiliteControl(c, 255);
    for (int16_t c : {22, 23, 25}) DisableFunc(c);
    ShowAppMenu(kStyleMenuId, false);
    if (fTE) TEDeactivate(fTE);
    RestoreDraw();
}

void TDocPlane::SelectPlane()
{
    TPlan::SelectPlane();
    EnableFunc(26);
}

void TDocPlane::DeSelectPlane()
{
    TPlan::DeSelectPlane();
    DisableFunc(26);
}

std::string TDocPlane::TypedText() const
{
    if (!fTE || !(**fTE).hText) return {};
    const TERec& r = **fTE;
    return std::string(*r.hText, size_t(std::max<int32_t>(r.teLength, 0)));
}

int16_t TDocPlane::Write(bool)
{
    if (!fTE) return 0;
    if (TObjQz* obj = Object()) return obj->WriteDoc(fTE, fMark);
    if (TMainDoc* doc = Doc()) return doc->WriteDoc(fTE);
    return 0;
}

}  // namespace browser
