// The preview frame of the object base, and the recording of pictures.
#include "design/preview/PreviewFrame.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjQz.h"
#include "forms/drawing/LayoutBackground.h"
#include "looks/FormLook.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/menus/Menus.h"
#include "platform/pictures/Pictures.h"
#include "resources/ResourceApi.h"

using namespace platform;

namespace {

// The picture settings' port: deep enough for any picture, as large as a
// preview is drawn.
constexpr int16_t kPictDepth = 32;
constexpr Rect kPictBounds{0, 0, 1024, 1024};

void UseDocResources(TMainDoc* doc)
{
    if (doc) useres(doc->fResFile);
}

PreviewScrollProc gScrollHook = nullptr;

}  // namespace

void SetPreviewScrollHook(PreviewScrollProc hook) { gScrollHook = hook; }

void PreviewScrollTo(int16_t h, int16_t v)
{
    if (gScrollHook) gScrollHook(h, v);
}

PreviewRec* PreviewOf(Handle display)
{
    if (!display || !*display || GetHandleSize(display) < Size(sizeof(PreviewRec))) return nullptr;
    return reinterpret_cast<PreviewRec*>(*display);
}

Handle NewPreview(const Rect& where, Handle picture)
{
    Handle h = NewHandleClear(Size(sizeof(PreviewRec)));
    if (!h) {
        if (picture) KillPicture(picture);
        return nullptr;
    }
    PreviewRec* rec = new (*h) PreviewRec;
    rec->where = where;
    rec->picture = picture;
    return h;
}

int16_t TObjQz::InitDisplay(Handle* display, const Rect&, int16_t* width, int16_t* height, int16_t* pageMin,
                            int16_t* pageMax, int16_t* page, bool)
{
    UseDocResources(owner);
    if (display) *display = nullptr;
    for (int16_t* n : {width, height, pageMin, pageMax, page})
        if (n) *n = 0;
    return 0;
}

void TObjQz::SizeDisplay(Handle display, const Rect& r, int16_t* right, int16_t* bottom)
{
    *right = *bottom = 0;
    PreviewRec* rec = PreviewOf(display);
    if (!rec) return;
    rec->where = r;
    if (rec->picture) {
        Rect frame{};
        QDGetPictureBounds(rec->picture, &frame);
        *right = frame.right;
        *bottom = frame.bottom;
    }
}

void TObjQz::Display(Handle display, const Rect& r)
{
    PreviewRec* rec = PreviewOf(display);
    if (!rec) return;
    rec->where = r;
    if (!rec->picture) return;
    Rect frame{};
    QDGetPictureBounds(rec->picture, &frame);
    OffsetRect(&frame, r.left, r.top);
    DrawPicture(rec->picture, &frame);
}

void TObjQz::Scroll(Handle display, const Rect& r, int16_t dh, int16_t dv)
{
    PreviewRec* rec = PreviewOf(display);
    RgnHandle uncovered = NewRgn();
    RgnHandle saved = NewRgn();
    if (!rec || !uncovered || !saved) {
        if (uncovered) DisposeRgn(uncovered);
        if (saved) DisposeRgn(saved);
        return;
    }
    ScrollRect(&r, dh, dv, uncovered);
    GetClip(saved);
    SectRgn(uncovered, saved, uncovered);
    SetClip(uncovered);
    if (kind == 24 && rec->picture) EraseLayoutBackground(&r, GetDBVIProc(), nullptr);
    else EraseRect(&r);
    OffsetRect(&rec->where, dh, dv);
    if (rec->picture) {
        Rect frame{};
        QDGetPictureBounds(rec->picture, &frame);
        OffsetRect(&frame, rec->where.left, rec->where.top);
        DrawPicture(rec->picture, &frame);
    }
    SetClip(saved);
    DisposeRgn(saved);
    DisposeRgn(uncovered);
}

void TObjQz::DisposeDisplay(Handle* display)
{
    if (!display || !*display) return;
    if (PreviewRec* rec = PreviewOf(*display)) {
        if (rec->picture) KillPicture(rec->picture);
        rec->~PreviewRec();
    }
    DisposeHandle(*display);
    *display = nullptr;
}

int16_t TPictObjQz::InitDisplay(Handle* display, const Rect& r, int16_t* width, int16_t* height, int16_t* pageMin,
                                int16_t* pageMax, int16_t* page, bool flag)
{
    TObjQz::InitDisplay(display, r, width, height, pageMin, pageMax, page, flag);
    Handle copy = nullptr;
    if (Handle pict = xget1res(FourCC("PICT"), id); pict && *pict) {
        copy = pict;
        if (HandToHand(&copy) != noErr) copy = nullptr;
    }
    if (copy) {
        Rect frame{};
        QDGetPictureBounds(copy, &frame);
        *width = int16_t(frame.right - frame.left);
        *height = int16_t(frame.bottom - frame.top);
        // The picture is shown from its frame's top-left corner.
        if (frame.left != 0 || frame.top != 0) {
            *width = int16_t(frame.right);
            *height = int16_t(frame.bottom);
        }
    }
    *display = NewPreview(r, copy);
    return *display ? 0 : memFullErr;
}

int16_t RecordPreview(Handle* display, const Rect& where, int16_t width, int16_t height,
                      const std::function<void()>& draw)
{
    *display = nullptr;
    const Rect frame{0, 0, std::max<int16_t>(1, height), std::max<int16_t>(1, width)};
    GWorldPtr world = nullptr;
    CGrafPtr saved = nullptr;
    Handle picture = nullptr;
    if (const int16_t err = MyOpenPicture(&world, &saved, frame, &picture)) return err;
    draw();
    MyClosePicture(world, saved, frame, &picture);
    *display = NewPreview(where, picture);
    return *display ? 0 : memFullErr;
}

void ApplicationFont(StyleField face)
{
    TextFont(MyApplFont);
    TextSize(MyApplSize);
    TextFace(face);
}

int16_t LineOf(const FontInfo& info) { return int16_t(info.ascent + info.descent + info.leading); }

int16_t CurrentLine()
{
    FontInfo info{};
    GetFontInfo(&info);
    return LineOf(info);
}

int16_t Width(const std::string& s) { return TextWidth(s.data(), 0, int16_t(std::min<size_t>(s.size(), 32767))); }

void DrawAt(const std::string& s, int16_t h, int16_t v)
{
    MoveTo(h, v);
    DrawText(s.data(), 0, int16_t(std::min<size_t>(s.size(), 32767)));
}

std::string PText(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

SavedFont::SavedFont()
{
    GrafPtr port = nullptr;
    GetPort(&port);
    had_ = port != nullptr;
    if (!had_) return;
    font_ = GetPortTextFont(port);
    size_ = GetPortTextSize(port);
    face_ = GetPortTextFace(port);
}

SavedFont::~SavedFont()
{
    if (!had_) return;
    TextFont(font_);
    TextSize(size_);
    TextFace(face_);
}

int16_t OpenPictPort(GWorldPtr* port, CGrafPtr* saved)
{
    GDHandle device = nullptr;
    GetGWorld(saved, &device);
    *port = nullptr;
    if (const QDErr err = NewGWorld(port, kPictDepth, &kPictBounds, nullptr, nullptr, 0); err != 0 || !*port) {
        *port = nullptr;
        return err ? int16_t(err) : memFullErr;
    }
    SetGWorld(*port, nullptr);
    return 0;
}

void ClosePictPort(CGrafPtr saved, GWorldPtr port)
{
    SetGWorld(saved, nullptr);
    if (port) DisposeGWorld(port);
}

int16_t MyOpenPicture(GWorldPtr* world, CGrafPtr* saved, const Rect& r, Handle* picture)
{
    *picture = nullptr;
    GDHandle device = nullptr;
    GetGWorld(saved, &device);
    *world = nullptr;
    if (const QDErr err = NewGWorld(world, kPictDepth, &r, nullptr, nullptr, 0); err != 0 || !*world) {
        *world = nullptr;
        return err ? int16_t(err) : memFullErr;
    }
    SetGWorld(*world, nullptr);
    EraseRect(&r);
    return 0;
}

void MyClosePicture(GWorldPtr world, CGrafPtr saved, const Rect& r, Handle* picture)
{
    *picture = nullptr;
    if (!world) {
        SetGWorld(saved, nullptr);
        return;
    }
    // The copy is recorded in the world's own port, onto its own pixels:
    // copied into the caller's port it would also paint there, over
    // whatever the caller shows at the picture's place.
    ClipRect(&r);
    PicHandle pict = OpenPicture(&r);
    if (pict) {
        CopyBits(GetPortBitMapForCopyBits(world), GetPortBitMapForCopyBits(world), &r, &r, srcCopy, nullptr);
        ClosePicture();
        *picture = pict;
    }
    SetGWorld(saved, nullptr);
    DisposeGWorld(world);
}

int32_t ChooseDisplayMode(Point where, int32_t mode, int16_t count)
{
    MenuRef menu = NewMenu(1000, reinterpret_cast<const unsigned char*>("\0"));
    if (!menu) return mode;
    for (int32_t i = 1; i <= count; ++i) {
        unsigned char name[256];
        MyGetIndString(name, 1010, i);
        AppendMenuItemText(menu, name);
    }
    unsigned char mark[256];
    MyGetIndString(mark, 1024, 2);
    const int16_t current = int16_t(std::clamp<int32_t>(mode, 0, count - 1) + 1);
    SetItemMark(menu, MenuItemIndex(current), mark[0] == 0 ? CharParameter(0x12) : CharParameter(mark[1]));
    const int16_t chosen = Pop(menu, where, current);
    return chosen > 0 ? chosen - 1 : mode;
}

int16_t StructureLook(TMainDoc* doc)
{
    if (!doc) return -1;
    const int16_t saved = xcurres();
    useres(doc->fResFile);
    Handle look = xget1res(FourCC("Look"), 128);
    const int16_t number = look && *look && GetHandleSize(look) >= 1 ? int16_t(int8_t((*look)[0])) : -1;
    useres(saved);
    return number;
}
