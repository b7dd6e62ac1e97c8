// The string-list editor pane: the table of boxes read from the list's
// 'STR#', the layout and drawing of the boxes, scrolling, the mouse, keys,
// idle time and activation. Its editing commands, undo, the added,
// inserted and deleted strings and the write are in TStrPlaneEdit.cpp.
#include <algorithm>
#include <cstring>
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
#include "browser/editors/EditorPanes.h"
#include "design/objects/ObjQz.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/cursors/Cursors.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"
#include "platform/resfiles/Resources.h"
#include "platform/resfiles/StringListBody.h"
#include "platform/text/NumberStrings.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

namespace {

constexpr int16_t kBoxLeft = 80, kBoxRight = 365, kFirstTop = 50, kGap = 30, kNumberX = 26;
constexpr int16_t kArrowStep = 24;
constexpr int16_t kMaxLength = 255;

Rect Framed(Rect r)
{
    InsetRect(&r, -4, -4);
    return r;
}

// The strings of a 'STR#' body; strings the bytes do not hold read as
// empty.
std::vector<StrEntry> ReadStrings(const uint8_t* bytes, size_t size)
{
    std::vector<std::string> strings;
    ReadStringListBody(bytes, size, &strings);
    std::vector<StrEntry> out(std::max<size_t>(StringListCount(bytes, size), 1));
    for (size_t i = 0; i < strings.size(); ++i) {
        out[i].text[0] = uint8_t(strings[i].size());
        std::memcpy(out[i].text + 1, strings[i].data(), strings[i].size());
    }
    return out;
}

}  // namespace

TEditWindow* TStrPlane::Editor() const
{
    if (!fWindow || !(fWindow->IsMember(4) || fWindow->IsMember(5))) return nullptr;
    return static_cast<TEditWindow*>(fWindow);
}

Rect TStrPlane::TextArea() const { return Rect{fRect.top, fRect.left, fRect.bottom, int16_t(fRect.right - 15)}; }

Rect TStrPlane::BarRect() const
{
    return Rect{int16_t(fRect.top - 1), int16_t(fRect.right - 15), int16_t(fRect.bottom - 14), int16_t(fRect.right + 1)};
}

int16_t TStrPlane::Scroll() const { return fVScroll ? GetControlValue(fVScroll) : 0; }

Rect TStrPlane::Shown(const Rect& box) const
{
    Rect r = box;
    OffsetRect(&r, 0, int16_t(-Scroll()));
    return r;
}

int16_t TStrPlane::EmptyLineHeight() const
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    if (fWindow && fWindow->fWindow) SetPortWindowPort(fWindow->fWindow);
    TextFont(MyApplFont);
    TextSize(MyApplSize);
    TextFace(normal);
    FontInfo info{};
    GetFontInfo(&info);
    SetPort(saved);
    return int16_t(info.ascent + info.descent + info.leading);
}

void TStrPlane::StoreCurrent()
{
    if (!fTE || fCurrent < 1 || fCurrent > Count()) return;
    const TERec& r = **fTE;
    const size_t n = std::min<size_t>(size_t(std::max<int16_t>(r.teLength, 0)), kMaxLength);
    StrEntry& e = fTable[size_t(fCurrent - 1)];
    e.text[0] = uint8_t(n);
    if (n) std::memcpy(e.text + 1, *r.hText, n);
}

std::string TStrPlane::TypedText() const
{
    // The current string is the record's, the others the table's.
    std::string text;
    for (int16_t i = 1; i <= Count(); ++i) {
        const StrEntry& e = fTable[size_t(i - 1)];
        if (i == fCurrent && fTE && (**fTE).hText) {
            const TERec& r = **fTE;
            text.append(*r.hText, std::min<size_t>(size_t(std::max<int16_t>(r.teLength, 0)), kMaxLength));
        } else {
            text.append(reinterpret_cast<const char*>(e.text + 1), e.text[0]);
        }
        text += '\r';
    }
    return text;
}

void TStrPlane::PlaceRecord()
{
    if (!fTE || fCurrent < 1 || fCurrent > Count()) return;
    const Rect box = Shown(fTable[size_t(fCurrent - 1)].box);
    (**fTE).viewRect = box;
    Rect dest = box;
    dest.bottom = 32767;
    (**fTE).destRect = dest;
    TECalText(fTE);
}

void TStrPlane::Recount()
{
    const Rect& last = fTable.back().box;
    fTotalHeight = int16_t(last.bottom + kGap);
    if (!fVScroll) return;
    const int32_t visible = fRect.bottom - fRect.top;
    const int16_t max = int16_t(std::clamp<int32_t>(fTotalHeight - fRect.top - visible, 0, 32767));
    if (GetControlMaximum(fVScroll) != max) SetControlMaximum(fVScroll, max);
}

int16_t TStrPlane::ITPlane(const Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                           int32_t length)
{
    if (const int16_t err = TPlan::ITPlane(rect, window, typeList, record, length); err != 0) return err;
    fModified = false;
    if (!fObj && window && window->IsMember(4)) fObj = static_cast<TEditStrWindow*>(window)->fObj;
    TMainDoc* doc = Doc();
    if (!fObj || !doc || !window || !window->fWindow) return memFullErr;
    fStrId = fObj->id;
    fResFile = doc->fRsrFile;
    if (fResFile < 0 || !IsResFileOpen(fResFile)) return memFullErr;
    const int16_t saved = CurResFile();
    UseResFile(fResFile);
    Handle list = Get1Resource(FourCC("STR#"), fStrId);
    if (list) {
        int16_t id = 0;
        ResType type = 0;
        GetResInfo(list, &id, &type, fResName);
    }
    UseResFile(saved);
    if (!list) return memFullErr;
    try {
        HLock(list);
        fTable = ReadStrings(list && *list ? reinterpret_cast<const uint8_t*>(*list) : nullptr,
                             size_t(GetHandleSize(list)));
        HUnlock(list);
    } catch (const std::bad_alloc&) {
        HUnlock(list);
        return memFullErr;
    }
    // An empty list opens with one string.
    if (StringListCount(reinterpret_cast<const uint8_t*>(*list), size_t(GetHandleSize(list))) == 0) fModified = true;
    SetPortWindowPort(window->fWindow);
    TextFont(MyApplFont);
    TextSize(MyApplSize);
    TextFace(normal);
    const Rect& p = fRect;
    Rect box{int16_t(p.top + kFirstTop), int16_t(p.left + kBoxLeft), int16_t(p.top + kFirstTop),
             int16_t(p.left + kBoxRight)};
    Rect dest = box;
    dest.bottom = 32767;
    fTE = TENew(&dest, &box);
    if (!fTE) return memFullErr;
    for (StrEntry& e : fTable) {
        TESetText(e.text + 1, e.text[0], fTE);
        TECalText(fTE);
        const int16_t height = int16_t(TEGetHeight((**fTE).nLines, 1, fTE));
        box.bottom = int16_t(box.top + height);
        e.box = box;
        OffsetRect(&box, 0, int16_t(height + kGap));
        box.bottom = box.top;
    }
    fTotalHeight = int16_t(fTable.back().box.bottom + kGap);
    const Rect bar = BarRect();
    const unsigned char empty[1] = {0};
    fVScroll = NewControl(window->fWindow, &bar, empty, false, 0, 0, 0, 16, 0);
    if (!fVScroll) return memFullErr;
    ShowControl(fVScroll);
    Recount();
    fCurrent = 0;
    SetCrtString(1);
    fToolMenu = FindAppMenu(kStringMenuId);
    if (window->fUndo) SetUndo(window->fUndo, kUndoNothing, kUndoNothing);
    return 0;
}

void TStrPlane::SetCrtString(int16_t n)
{
    if (fWindow && fWindow->fUndo) SetUndo(fWindow->fUndo, kUndoNothing, kUndoNothing);
    if (!fTE || n < 1 || n > Count()) return;
    if (n != fCurrent) {
        TEDeactivate(fTE);
        StoreCurrent();
        fCurrent = n;
        const StrEntry& e = fTable[size_t(n - 1)];
        TESetText(e.text + 1, e.text[0], fTE);
    }
    PlaceRecord();
    TEActivate(fTE);
}

void TStrPlane::DrawTitle()
{
    TextFont(MyApplFont);
    TextSize(MyApplSize);
    TextFace(underline);
    FontInfo info{};
    GetFontInfo(&info);
    Str255 title, count;
    MyGetIndString(title, 1001, 20);
    NumToString(Count(), count);
    const size_t room = std::min<size_t>(255 - title[0], size_t(count[0]) + 1);
    if (room > 0) {
        title[title[0] + 1] = ' ';
        std::memcpy(title + title[0] + 2, count + 1, room - 1);
        title[0] = uint8_t(title[0] + room);
    }
    const int16_t top = int16_t(fRect.top - Scroll());
    MoveTo(int16_t(fRect.left + kNumberX),
           int16_t(top + (kFirstTop + info.ascent - info.descent) / 2));
    DrawString(title);
    TextFace(normal);
}

void TStrPlane::DrawEntry(int16_t index)
{
    const StrEntry& e = fTable[size_t(index - 1)];
    const Rect box = Shown(e.box);
    const Rect frame = Framed(box);
    const Rect area = TextArea();
    Rect meet{};
    if (!SectRect(&frame, &area, &meet)) return;
    PenNormal();
    FrameRect(&frame);
    TextFont(MyApplFont);
    TextSize(MyApplSize);
    TextFace(normal);
    FontInfo info{};
    GetFontInfo(&info);
    Str255 number;
    NumToString(index, number);
    number[++number[0]] = ')';
    MoveTo(int16_t(fRect.left + kNumberX), int16_t(box.top + info.ascent));
    DrawString(number);
    if (index != fCurrent) TETextBox(e.text + 1, e.text[0], &box, teFlushLeft);
}

void TStrPlane::update()
{
    if (!fTE || !fWindow || !fWindow->fWindow) return;
    InitDraw();
    const Rect area = TextArea();
    RgnHandle saved = NewRgn();
    SectClip(&area, saved);
    EraseRect(&area);
    DrawTitle();
    for (int32_t i = 1; i <= Count(); ++i) DrawEntry(i);
    if (fCurrent >= 1) {
        const Rect box = Shown(fTable[size_t(fCurrent - 1)].box);
        TEUpdate(&box, fTE);
    }
    if (saved) {
        SetClip(saved);
        DisposeRgn(saved);
    }
    if (fVScroll) Draw1Control(fVScroll);
    RestoreDraw();
}

void TStrPlane::ScrollPlane(int16_t amount)
{
    if (!fVScroll || !fTE) return;
    const int16_t old = GetControlValue(fVScroll);
    SetControlValue(fVScroll, int16_t(std::clamp<int32_t>(old + amount, -32768, 32767)));
    const int16_t change = int16_t(GetControlValue(fVScroll) - old);
    if (change == 0) return;
    InitDraw();
    OffsetRect(&(**fTE).viewRect, 0, int16_t(-change));
    OffsetRect(&(**fTE).destRect, 0, int16_t(-change));
    TECalText(fTE);
    const Rect area = TextArea();
    RgnHandle uncovered = NewRgn();
    ScrollRect(&area, 0, int16_t(-change), uncovered);
    if (uncovered) {
        RgnHandle saved = NewRgn();
        if (saved) GetClip(saved);
        RgnHandle clip = NewRgn();
        if (clip && saved) {
            SectRgn(saved, uncovered, clip);
            SetClip(clip);
        }
        update();
        if (saved) {
            SetClip(saved);
            DisposeRgn(saved);
        }
        if (clip) DisposeRgn(clip);
        DisposeRgn(uncovered);
    }
    RestoreDraw();
}

void StrTrackCtrAction(ControlRef control, ControlPartCode part)
{
    auto* pane = dynamic_cast<TStrPlane*>(::G_Plane);
    if (!pane || control != pane->fVScroll) return;
    const int16_t page = int16_t(std::max(1, pane->fRect.bottom - pane->fRect.top - kArrowStep));
    switch (part) {
    case 20: pane->ScrollPlane(int16_t(-kArrowStep)); break;
    case 21: pane->ScrollPlane(kArrowStep); break;
    case 22: pane->ScrollPlane(int16_t(-page)); break;
    case 23: pane->ScrollPlane(page); break;
    default: break;
    }
}

void TStrPlane::StrSelView()
{
    if (fCurrent < 1) return;
    const Rect frame = Framed(Shown(fTable[size_t(fCurrent - 1)].box));
    if (frame.top < fRect.top || frame.bottom > fRect.bottom) ScrollPlane(int16_t(frame.top - fRect.top));
}

void TStrPlane::ScrollStrings(int16_t amount)
{
    if (amount == 0 || !fTE) return;
    const int16_t before = Scroll();
    Recount();
    InitDraw();
    if (Scroll() == before) {
        TEDeactivate(fTE);
        const Rect current = Shown(fTable[size_t(fCurrent - 1)].box);
        Rect moving = TextArea();
        moving.top = std::max(moving.top, current.top);
        RgnHandle uncovered = NewRgn();
        if (moving.top < moving.bottom) ScrollRect(&moving, 0, amount, uncovered);
        if (uncovered) DisposeRgn(uncovered);
        update();
        TEActivate(fTE);
    } else {
        PlaceRecord();
        EraseRect(&fRect);
        update();
    }
    RestoreDraw();
}

void TStrPlane::UpdateHeight()
{
    if (!fTE || fCurrent < 1) return;
    Rect& box = fTable[size_t(fCurrent - 1)].box;
    const int16_t height = int16_t(TEGetHeight((**fTE).nLines, 1, fTE));
    const int16_t d = int16_t(height - (box.bottom - box.top));
    if (d == 0) return;
    const int16_t oldBottom = box.bottom;
    box.bottom = int16_t(box.bottom + d);
    for (size_t i = size_t(fCurrent); i < fTable.size(); ++i) OffsetRect(&fTable[i].box, 0, d);
    PlaceRecord();
    InitDraw();
    Rect below = TextArea();
    below.top = int16_t(std::max<int32_t>(below.top, (d > 0 ? oldBottom + 3 : box.bottom) - Scroll()));
    RgnHandle uncovered = NewRgn();
    if (below.top < below.bottom) ScrollRect(&below, 0, d, uncovered);
    // What the scroll uncovered and the current box's frame are drawn anew.
    RgnHandle redraw = NewRgn();
    if (redraw && uncovered) {
        RgnHandle frame = NewRgn();
        if (frame) {
            const Rect f = Framed(Shown(box));
            RectRgn(frame, &f);
            UnionRgn(uncovered, frame, redraw);
            DisposeRgn(frame);
        }
        RgnHandle saved = NewRgn();
        if (saved) {
            GetClip(saved);
            SectRgn(redraw, saved, redraw);
            SetClip(redraw);
            update();
            SetClip(saved);
            DisposeRgn(saved);
        }
    }
    if (redraw) DisposeRgn(redraw);
    if (uncovered) DisposeRgn(uncovered);
    RestoreDraw();
    Recount();
}

bool TStrPlane::Click(Point where, int16_t)
{
    if (!fTE || !fWindow || !fWindow->fWindow) return false;
    const Rect bar = BarRect();
    const bool onBar = PtInRect(where, &bar);
    const Rect area = TextArea();
    if (!onBar && !PtInRect(where, &area)) return false;
    InitDraw();
    if (onBar) {
        ControlRef control = nullptr;
        const ControlPartCode part = FindControl(where, fWindow->fWindow, &control);
        if (control == fVScroll && part == kControlIndicatorPart) {
            const int16_t old = GetControlValue(fVScroll);
            TrackControl(fVScroll, where, nullptr);
            if (GetControlValue(fVScroll) != old) {
                PlaceRecord();
                EraseRect(&area);
                update();
            }
        } else if (control == fVScroll) {
            ::G_Plane = this;
            TrackControl(fVScroll, where, StrTrackCtrAction);
            ::G_Plane = nullptr;
        }
    } else {
        for (int32_t i = 1; i <= Count(); ++i) {
            const Rect frame = Framed(Shown(fTable[size_t(i - 1)].box));
            if (!PtInRect(where, &frame)) continue;
            SetCrtString(i);
            SetThemeCursor(kThemeIBeamCursor);
            RgnHandle saved = NewRgn();
            SectClip(&area, saved);
            TEClick(where, (CurrentInput().modifiers & shiftKey) != 0, fTE);
            if (saved) {
                SetClip(saved);
                DisposeRgn(saved);
            }
            break;
        }
    }
    RestoreDraw();
    fWindow->SetEditMenu();
    return true;
}

void TStrPlane::key(const EventRecord& event)
{
    if (!fTE || (event.modifiers & cmdKey) || fCurrent < 1) return;
    const uint8_t ch = uint8_t(event.message & charCodeMask);
    InitDraw();
    const Rect area = TextArea();
    RgnHandle saved = NewRgn();
    SectClip(&area, saved);
    StrSelView();
    if (ch == '\t') {
        SetCrtString(int16_t(fCurrent % Count() + 1));
        TESetSelect(0, kMaxDocText, fTE);
    } else {
        const TERec& r = **fTE;
        const bool arrow = ch >= 28 && ch <= 31;
        // At the limit only what adds nothing goes in: deleting, moving,
        // typing over a selection.
        if (r.teLength < kMaxLength || ch == 8 || ch == 127 || arrow || r.selStart != r.selEnd) {
            Handle undo = fWindow ? fWindow->fUndo : nullptr;
            if (!arrow && undo && UndoCode(undo) != kUndoTyping) {
                SetUndo(undo, 1, kUndoTyping);
                StrSaveUndo();
            }
            if (!arrow) fModified = true;
            TEKey(ch, fTE);
            UpdateHeight();
        } else {
            SysBeep(1);
        }
    }
    StrSelView();
    if (saved) {
        SetClip(saved);
        DisposeRgn(saved);
    }
    RestoreDraw();
    if (fWindow) fWindow->SetEditMenu();
}

bool TStrPlane::Idle()
{
    if (!fTE || !fWindow || !fWindow->fWindow) return false;
    InitDraw();
    TEIdle(fTE);
    Point mouse{};
    GetMouse(&mouse);
    RestoreDraw();
    if (!PtInRect(mouse, &fRect)) return false;
    if (PtInRect(mouse, &(**fTE).viewRect)) SetThemeCursor(kThemeIBeamCursor);
    else SetArrowCursor();
    return true;
}

void TStrPlane::MakeActive()
{
    if (fVScroll) HiliteControl(fVScroll, 0);
    ShowAppMenu(kStringMenuId, true);
    SetToolMenus();
    InitDraw();
    if (fTE) TEActivate(fTE);
    RestoreDraw();
}

void TStrPlane::MakeInActive()
{
    if (fVScroll) HiliteControl(fVScroll, 255);
    for (int16_t c : {60, 61, 62}) DisableFunc(c);
    ShowAppMenu(kStringMenuId, false);
    InitDraw();
    if (fTE) TEDeactivate(fTE);
    RestoreDraw();
}

void TStrPlane::Resize()
{
    TPlan::Resize();
    const Rect bar = BarRect();
    if (fVScroll) {
        MoveControl(fVScroll, bar.left, bar.top);
        SizeControl(fVScroll, int16_t(bar.right - bar.left), int16_t(bar.bottom - bar.top));
    }
    if (fTable.empty()) return;
    const int16_t before = Scroll();
    Recount();
    if (Scroll() != before) {
        InitDraw();
        EraseRect(&fRect);
        PlaceRecord();
        RestoreDraw();
    }
}

void TStrPlane::Dispose()
{
    for (int16_t c : {60, 61, 62}) DisableFunc(c);
    ShowAppMenu(kStringMenuId, false);
    if (fTE) TEDispose(fTE);
    fTE = nullptr;
    if (fVScroll) DisposeControl(fVScroll);
    fVScroll = nullptr;
    fTable.clear();
    if (TMainDoc* doc = Doc(); doc && doc->fFirstWindow) doc->UpdateDisplay();
    TPlan::Dispose();
}

bool TStrPlane::IsSelection() { return fTE && (**fTE).selStart != (**fTE).selEnd; }

}  // namespace browser
