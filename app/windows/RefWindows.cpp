// A document's browser windows: building them from their layout, their
// numbered titles, windows linked on demand and the fan-out of display
// changes to every browser window of the document.
#include "app/windows/RefWindows.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/appl/CommandStacks.h"
#include "app/documents/DocHooks.h"
#include "app/documents/DocSupport.h"
#include "app/documents/MainDoc.h"
#include "app/windows/PaneHooks.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/Messages.h"
#include "app/appl/TAppl.h"
#include "app/windows/TMainWindow.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/resfiles/Resources.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace {

constexpr size_t kWnddHeader = 10;
constexpr size_t kPaneRecord = 20;

// Pane classes of the pane family.
constexpr int16_t kRefPlane = 1;

// 'WNDD' bit of a filter record offering the filter in a pane kind.
int16_t FilterBit(int16_t paneKind) { return paneKind == 0 ? 39 : paneKind == 1 ? 40 : 38; }

bool FilterOffered(Handle filter, int16_t bit)
{
    if (!filter || !*filter) return false;
    const Size byte = 2 + bit / 8;
    if (GetHandleSize(filter) <= byte) return false;
    return (uint8_t((*filter)[byte]) & (0x80 >> (bit % 8))) != 0;
}

// A copy of the layout `kind` through the preferences' chain (the
// application's own answer without one of the user's): resNotFound when
// it is missing, memFullErr when memory ran short reading or copying it.
OSErr LoadLayout(int16_t kind, Handle* copy)
{
    const int16_t saved = CurResFile();
    if (G_PrefResFile != -1) UseResFile(G_PrefResFile);
    Handle h = GetResource(FourCC("WNDD"), kind);
    OSErr err = h && *h ? noErr : ResError() == memFullErr ? memFullErr : resNotFound;
    *copy = err == noErr ? h : nullptr;
    if (*copy && (err = HandToHand(copy)) != noErr) *copy = nullptr;
    UseResFile(saved);
    return err;
}

struct PortKeeper {
    PortKeeper() { GetPort(&saved); }
    ~PortKeeper() { SetPort(saved); }
    GrafPtr saved = nullptr;
};

}  // namespace

WnddResult ParseWndd(const uint8_t* bytes, size_t size, std::vector<WnddPane>* panes)
{
    panes->clear();
    if (!bytes || size < kWnddHeader) return WnddResult::TooShort;
    const size_t count = ReadBE16(bytes + 8);
    size_t at = kWnddHeader;
    for (size_t i = 0; i < count; ++i) {
        if (size - at < kPaneRecord) return WnddResult::RecordPastEnd;
        const uint8_t* p = bytes + at;
        const size_t extra = ReadBE16(p + 18);
        if ((size - at - kPaneRecord) / 2 < extra) return WnddResult::RecordPastEnd;
        WnddPane pane;
        pane.kind = int16_t(ReadBE16(p));
        if (pane.kind < 0 || pane.kind > 3) return WnddResult::BadKind;
        pane.rect = Rect{int16_t(ReadBE16(p + 2)), int16_t(ReadBE16(p + 4)), int16_t(ReadBE16(p + 6)),
                         int16_t(ReadBE16(p + 8))};
        for (int l = 0; l < 3; ++l) pane.links[l] = int16_t(ReadBE16(p + 10 + 2 * l));
        pane.filter = int16_t(ReadBE16(p + 16));
        pane.record = p + 2;
        pane.length = int32_t(18 + 2 * extra);
        panes->push_back(pane);
        at += kPaneRecord + 2 * extra;
    }
    return WnddResult::Ok;
}

int16_t PrefWindowKind()
{
    const int16_t saved = CurResFile();
    if (G_PrefResFile != -1) UseResFile(G_PrefResFile);
    Handle pref = GetResource(FourCC("PREF"), 0);
    int16_t kind = 128;
    if (pref && *pref && GetHandleSize(pref) >= 2) kind = int16_t(ReadBE16(reinterpret_cast<uint8_t*>(*pref)));
    UseResFile(saved);
    return kind;
}

void AppendPString(unsigned char* text, const unsigned char* more)
{
    const uint8_t n = uint8_t(std::min<int>(255 - text[0], more[0]));
    std::memcpy(text + 1 + text[0], more + 1, n);
    text[0] = uint8_t(text[0] + n);
}

void TMainDoc::RefWindowTitle(unsigned char* title, int16_t number) const
{
    title[0] = 0;
    AppendPString(title, fPathName);
    AppendPString(title, fName);
    if (number <= 0) return;
    Str255 part;
    MyGetIndString(part, 1001, 25);
    AppendPString(title, part);
    const std::string digits = std::to_string(number);
    part[0] = uint8_t(digits.size());
    std::memcpy(part + 1, digits.data(), digits.size());
    AppendPString(title, part);
}

int16_t TMainDoc::CountRefWindow() const
{
    int16_t count = 0;
    for (TWindow* w = fFirstWindow; w; w = w->fNextWindow)
        if (w->IsMember(3)) ++count;
    return count;
}

TRefWindow* TMainDoc::GetRefWindow() const
{
    for (TWindow* w = fFirstWindow; w; w = w->fNextWindow)
        if (w->IsMember(3)) return static_cast<TRefWindow*>(w);
    return nullptr;
}

void TMainDoc::RenumberRefWindows()
{
    const int16_t count = CountRefWindow();
    if (count == 0) return;
    int16_t number = 0;
    for (TWindow* w = fFirstWindow; w; w = w->fNextWindow) {
        if (!w->IsMember(3)) continue;
        Str255 title;
        RefWindowTitle(title, count == 1 ? 0 : ++number);
        w->SetTitle(title);
    }
}

int16_t TMainDoc::NewRefWindow(Rect* rect, int16_t visible, int16_t kind, int16_t filter, int16_t posted)
{
    const int16_t before = CountRefWindow();
    TRefWindow* first = before == 1 ? GetRefWindow() : nullptr;
    Str255 title;
    RefWindowTitle(title, before == 0 ? 0 : int16_t(before + 1));

    Handle layout = nullptr;
    if (const OSErr err = LoadLayout(kind, &layout); err != noErr) return err;
    std::vector<WnddPane> records;
    const WnddResult parsed =
        ParseWndd(reinterpret_cast<const uint8_t*>(*layout), size_t(GetHandleSize(layout)), &records);
    if (parsed != WnddResult::Ok) {
        DisposeHandle(layout);
        return mapReadErr;
    }

    auto* window = new (std::nothrow) TRefWindow;
    if (!window) {
        DisposeHandle(layout);
        return memFullErr;
    }
    Rect r = MyAppl ? MyAppl->GetPrefWindowRect(0) : Rect{0, 0, 200, 200};
    OffsetRect(&r, int16_t(rect->left - r.left), int16_t(rect->top - r.top));
    *rect = r;
    if (const int16_t err = NewTWindow(window, rect, title, visible != 0, 8); err != 0) {
        DisposeHandle(layout);
        return err;
    }
    window->fKind = kind;

    // Panes, in record order; the first that fails undoes the window.
    int16_t result = 0;
    TPlan* byKind[4] = {nullptr, nullptr, nullptr, nullptr};
    const WnddPane* recordOf[4] = {nullptr, nullptr, nullptr, nullptr};
    if (PaneHooks().makeRefPlane) {
        for (const WnddPane& rec : records) {
            TPlan* pane = PaneHooks().makeRefPlane(rec.kind);
            if (!pane) {
                result = memFullErr;
                break;
            }
            result = pane->ITPlane(rec.rect, window, rec.kind == 0 ? fTypeList : nullptr, rec.record, rec.length);
            if (result != 0) {
                pane->Dispose();
                break;
            }
            window->AddPlane(pane);
            if (!byKind[rec.kind]) {
                byKind[rec.kind] = pane;
                recordOf[rec.kind] = &rec;
            }
            if (rec.kind <= 2) {
                const int16_t bit = FilterBit(rec.kind);
                const int16_t count = CountFilters();
                for (int32_t n = 1; n <= count; ++n)
                    if (FilterOffered(GetIndFilter(n), bit)) pane->AddMenuFilter(int16_t(127 + n));
                pane->SetFilter(filter == -1 ? rec.filter : filter);
            }
        }
    }
    if (result != 0) {
        RemoveWindow(window);
        window->Dispose();
        DisposeHandle(layout);
        return result;
    }

    for (int16_t k = 0; k < 4; ++k) {
        TPlan* pane = byKind[k];
        if (!pane) continue;
        const int16_t* l = recordOf[k]->links;
        auto here = [&](int16_t link, TPlan* other) { return link == 0 ? other : nullptr; };
        if (k == 0) pane->SetLinks(l[0], here(l[0], byKind[1]), l[1], here(l[1], byKind[2]), l[2], here(l[2], byKind[3]));
        else if (k == 1 || k == 2) pane->SetLinks(l[0], here(l[0], byKind[0]), 0, nullptr, l[2], here(l[2], byKind[3]));
    }
    DisposeHandle(layout);
    if (byKind[0]) byKind[0]->fKind = kind;
    if (byKind[3]) byKind[3]->fKind = kind;
    window->update(EventRecord{});

    // An object posted with the request is what the list shows; without
    // one (Windows > New Group Browser Window posts none) the list shows
    // its filter's objects from the first draw, as the other panes do.
    TObjQz* postedObj = nullptr;
    if (posted) {
        Str255 name;
        int16_t objKind = 0;
        const bool noName = PopStr255(name);
        const bool noKind = noName || PopInteger(&objKind);
        if (!noKind && DocHooks().searchObjName && byKind[0])
            postedObj = DocHooks().searchObjName(this, objKind, name);
    }
    for (TPlan* p = window->fFirstPlane; p; p = p->fNext)
        if (p->IsMember(kRefPlane) && !(postedObj && p == byKind[0])) p->SetDfltFilter(p->GetFilter());
    if (postedObj) byKind[0]->ShowObject(postedObj);
    if (byKind[0]) byKind[0]->SelectPlane();

    if (first) {
        Str255 firstTitle;
        RefWindowTitle(firstTitle, 1);
        first->SetTitle(firstTitle);
    }
    return 0;
}

int16_t TMainDoc::GetLinkWindow(TRefWindow* window, TRefWindow** linked, int16_t kind)
{
    if (*linked && kind <= 0) {
        (*linked)->SelectTWindow();
        return 0;
    }
    // The layout comes from the preferences when they name one; the sign of
    // the asked kind still says whether the two windows link both ways.
    int16_t layout = int16_t(std::abs(int(kind)));
    {
        const int16_t saved = CurResFile();
        if (G_PrefResFile != -1) UseResFile(G_PrefResFile);
        Handle pref = GetResource(FourCC("PREF"), 0);
        if (pref && *pref && GetHandleSize(pref) >= 2) layout = int16_t(ReadBE16(reinterpret_cast<uint8_t*>(*pref)));
        UseResFile(saved);
    }
    Rect r{};
    GetWindowBounds(window->fWindow, kWindowContentRgn, &r);
    OffsetRect(&r, 20, 22);
    const int16_t result = NewRefWindow(&r, 1, int16_t(std::abs(int(layout))), -1, 0);
    if (result != 0) return result;
    if (MyAppl) MyAppl->fDefaultRect = r;
    *linked = GetRefWindow();
    if (kind < 0 && *linked) {
        (*linked)->fLinked = window;
        window->fLinked = *linked;
    }
    return 0;
}

void TMainDoc::DisplayObj(TRefWindow* window, TObjQz* obj, int16_t kind)
{
    if (G_LowMem || !window) return;
    PortKeeper port;
    if (GetLinkWindow(window, &window->fLinked, kind) == 0 && window->fLinked) window->fLinked->DisplayObj(obj);
}

void TMainDoc::SelectObj(TRefWindow* window, TObjQz* obj, int16_t kind)
{
    if (!window) return;
    PortKeeper port;
    if (GetLinkWindow(window, &window->fLinked, kind) == 0 && window->fLinked) {
        window->fLinked->LstObj(obj);
        window->fLinked->DisplayObj(obj);
    }
}

void TMainDoc::SetCalledList(TRefWindow* window, TObjQz* obj, int16_t kind)
{
    if (!window) return;
    PortKeeper port;
    if (GetLinkWindow(window, &window->fLinked, kind) == 0 && window->fLinked) window->fLinked->CalledObj(obj);
}

void TMainDoc::SetCallingList(TRefWindow* window, TObjQz* obj, int16_t kind)
{
    if (!window) return;
    PortKeeper port;
    if (GetLinkWindow(window, &window->fLinked, kind) == 0 && window->fLinked) window->fLinked->CallingObj(obj);
}

namespace {

template <typename F>
void EachRefWindow(TWindow* first, F f)
{
    PortKeeper port;
    for (TWindow* w = first; w;) {
        TWindow* next = w->fNextWindow;
        if (w->IsMember(3)) f(static_cast<TRefWindow*>(w));
        w = next;
    }
}

}  // namespace

void TMainDoc::SelectObj(TObjQz* obj)
{
    EachRefWindow(fFirstWindow, [&](TRefWindow* w) { w->LstObj(obj); });
}

void TMainDoc::UpdateOthers()
{
    TWindow* front = GetTWindow(FrontWindow());
    EachRefWindow(fFirstWindow, [&](TRefWindow* w) {
        if (w != front) w->UpdateAll();
    });
}

void TMainDoc::UpdateList()
{
    EachRefWindow(fFirstWindow, [](TRefWindow* w) { w->UpdateList(); });
}

void TMainDoc::UpdateAll()
{
    EachRefWindow(fFirstWindow, [](TRefWindow* w) { w->UpdateAll(); });
}

void TMainDoc::UpdateDisplay()
{
    EachRefWindow(fFirstWindow, [](TRefWindow* w) { w->UpdateDisplay(); });
}

void TMainDoc::RazAll(Handle list, bool flag)
{
    EachRefWindow(fFirstWindow, [&](TRefWindow* w) { w->RazAll(list, flag); });
}

void TMainDoc::DelObjMsg(TObjQz* obj)
{
    // The editors first: one that closes refreshes the lists, which still
    // hold the object until the browsers let go of it.
    for (TWindow* w = fFirstWindow; w;) {
        TWindow* next = w->fNextWindow;
        if (!w->IsMember(3)) w->DelObjMsg(obj);
        w = next;
    }
    EachRefWindow(fFirstWindow, [&](TRefWindow* w) { w->DelObjMsg(obj); });
}
