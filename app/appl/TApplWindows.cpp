// Window arrangement, the window menu, more browser windows on the front
// structure, the default window size and the about box.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/CommandStacks.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/appl/Utilities.h"
#include "kernel/collation/Compare.h"
#include "kernel/pstrings/PStrings.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/ThemeText.h"
#include "platform/drawing/Rects.h"
#include "platform/resfiles/Resources.h"
#include "platform/textedit/TextEdit.h"

using namespace platform;

platform::DialogRef G_Dialog = nullptr;
platform::Handle G_AboutTemplate = nullptr;
platform::Handle G_BitsStuff = nullptr;
platform::Rect G_Rect{0, 0, 0, 0};

namespace {

// The document windows, front first.
std::vector<TWindow*> DocWindows()
{
    std::vector<TWindow*> windows;
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w))
        if (TWindow* tw = GetTWindow(w); tw && tw->IsMember(2)) windows.push_back(tw);
    return windows;
}

// Shown, with the whole window to be drawn again.
void Redraw(TWindow* window)
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(window->fWindow);
    Rect r{};
    GetPortBounds(GetWindowPort(window->fWindow), &r);
    ClipRect(&r);
    myInvalWindowRect(window->fWindow, &r);
    SetPort(saved);
}

Rect ArrangeArea(int16_t top)
{
    const Rect screen = MyScreenRect();
    return Rect{top, 4, int16_t(screen.bottom - 4), int16_t(screen.right - 4)};
}

}  // namespace

void myInvalWindowRect(WindowRef window, const Rect* r) { InvalWindowRect(window, r); }

void TAppl::StackWindows()
{
    const Rect area = ArrangeArea(24);
    const Point origin = GetScreenTopLeft();
    Rect pos{45, 15, int16_t((area.bottom - area.top) * 2 / 3), int16_t(area.right - 50)};
    std::vector<TWindow*> windows = DocWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        TWindow* w = *it;
        HideWindow(w->fWindow);
        SizeWindow(w->fWindow, int16_t(pos.right - pos.left), int16_t(pos.bottom - pos.top), false);
        MoveWindow(w->fWindow, int16_t(pos.left + origin.h), int16_t(pos.top + origin.v), false);
        ShowWindow(w->fWindow);
        Redraw(w);
        OffsetRect(&pos, 20, 22);
        if (pos.right > area.right) OffsetRect(&pos, int16_t(15 - pos.left), 0);
        if (pos.bottom > area.bottom) OffsetRect(&pos, 0, int16_t(45 - pos.top));
        w->Resize();
    }
}

void TAppl::TileWindows()
{
    const int16_t n = CountDocWindow();
    const Rect area = ArrangeArea(25);
    const Point origin = GetScreenTopLeft();
    Rect cell = area;
    const int16_t half = int16_t((area.right - area.left) / 2);
    int16_t rowHeight = int16_t(area.bottom - area.top);
    if (n > 1) {
        const int16_t rows = int16_t((n + 1) / 2);
        rowHeight = int16_t((area.bottom - area.top) / rows);
        cell = Rect{area.top, area.left, int16_t(area.top + rowHeight - 10), int16_t(area.left + half - 10)};
        if (cell.right - cell.left < 200) cell.right = int16_t(cell.left + 200);
        if (cell.bottom - cell.top < 200) cell.bottom = int16_t(cell.top + 200);
    }
    bool left = true;
    for (TWindow* w : DocWindows()) {
        ShowWindow(w->fWindow);
        SizeWindow(w->fWindow, int16_t(cell.right - cell.left), int16_t(cell.bottom - cell.top - 15), false);
        MoveWindow(w->fWindow, int16_t(cell.left + origin.h), int16_t(cell.top + origin.v + 15), false);
        ShowWindow(w->fWindow);
        Redraw(w);
        if (left) OffsetRect(&cell, half, 0);
        else OffsetRect(&cell, int16_t(-half), rowHeight);
        left = !left;
        w->Resize();
    }
}

int16_t TAppl::SelectMenuWindow()
{
    int16_t index = 0;
    if (PopInteger(&index)) return 0;
    if (index < 1 || index > NbSFunc(34)) return 0;
    Str255 text;
    GetFuncItem(34, index, text);
    if (text[0] == 0) return 0;
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w)) {
        TWindow* tw = GetTWindow(w);
        if (!tw) continue;
        Str255 title;
        tw->GetTitle(title);
        if (rel2str(title, text) == 0) {
            tw->SelectTWindow();
            return 0;
        }
    }
    return 0;
}

int16_t TAppl::CountDocWindow()
{
    int16_t count = 0;
    for (TDocument* doc = fDocList; doc; doc = doc->fNext) count = int16_t(count + doc->CountWindow());
    return count;
}

int16_t TAppl::NewRefWindow(int16_t layout, int16_t filter, int16_t flag)
{
    if (!GromMemHdl) return memFullErr;
    TWindow* front = GetTWindow(FrontWindow());
    if (!front || !front->fDoc || !front->fDoc->IsMember(2)) return 0;
    Rect r = fDefaultRect;
    const int16_t result = front->fDoc->NewRefWindow(&r, 1, layout, filter, flag);
    if (result == 0) fDefaultRect = r;
    return result;
}

Rect TAppl::GetPrefWindowRect(int16_t)
{
    Rect r{22, 20, 222, 220};
    if (G_PrefResFile == -1) return r;
    const int16_t saved = CurResFile();
    UseResFile(G_PrefResFile);
    Handle pref = GetResource(FourCC("PREF"), 0);
    if (pref && *pref && GetHandleSize(pref) >= 6) {
        const auto* p = reinterpret_cast<const uint8_t*>(*pref);
        r.left = fDefaultRect.left;
        r.top = fDefaultRect.top;
        r.right = int16_t(r.left + int16_t(ReadBE16(p + 2)));
        r.bottom = int16_t(r.top + int16_t(ReadBE16(p + 4)));
    }
    UseResFile(saved);
    return r;
}

void AboutTexts(unsigned char (*texts)[256], bool flag)
{
    for (int16_t i = 0; i < 5; ++i) GetIndString(texts[i], 1000, int16_t(i + 1));
    if (Handle vers = GetResource(FourCC("vers"), 1); vers && *vers && GetHandleSize(vers) > 6) {
        const auto* p = reinterpret_cast<const uint8_t*>(*vers);
        const size_t n = std::min<size_t>(p[6], size_t(GetHandleSize(vers)) - 7);
        std::string two(reinterpret_cast<const char*>(texts[1] + 1), texts[1][0]);
        two += ' ';
        two.append(reinterpret_cast<const char*>(p + 7), n);
        CToPStr(two.data(), int32_t(std::min<size_t>(two.size(), 255)), texts[1]);
    }
    (void)flag;
    std::string three = std::to_string(MyFreeMem() / 1024) + " ";
    three.append(reinterpret_cast<const char*>(texts[2] + 1), texts[2][0]);
    CToPStr(three.data(), int32_t(std::min<size_t>(three.size(), 255)), texts[2]);
}

void TAppl::DoGenerique(Handle* bits, DialogRef* dialog, Handle* stuff, Rect* rect, bool flag)
{
    G_IsGenerique = true;
    const int16_t saved = CurResFile();
    UseResFile(G_MainResFile);
    unsigned char texts[5][256];
    AboutTexts(texts, flag);
    DLogSaveScreen(FourCC("DLOG"), 256, stuff, bits, rect);
    *dialog = MyGetNewDialog(256, nullptr, reinterpret_cast<WindowRef>(-1));
    if (*dialog) {
        ShowWindow(GetDialogWindow(*dialog));
        DrawDialog(*dialog);
        // Item, string, font size, alignment.
        struct Line {
            int16_t item, text, size, just;
        };
        const Line lines[] = {{1, 0, 24, teCenter}, {2, 1, 10, teFlushRight}, {5, 4, 12, teFlushLeft},
                              {4, 3, 12, teFlushLeft}, {3, 2, 9, teFlushLeft}};
        GrafPtr port = nullptr;
        GetPort(&port);
        SetPort(GetDialogPort(*dialog));
        for (const Line& l : lines) {
            if (l.item == 3 && (flag || Is_SystemX())) continue;
            DialogItemType type = 0;
            Handle h = nullptr;
            Rect box{};
            GetDialogItem(*dialog, l.item, &type, &h, &box);
            TextFont(l.item == 1 ? 2 : 0);
            TextSize(l.size);
            TextFace(0);
            TETextBox(texts[l.text] + 1, texts[l.text][0], &box, l.just);
        }
        TextFont(0);
        TextSize(0);
        SetPort(port);
    }
    UseResFile(saved);
}

void TAppl::EraseGenerique(Handle bits, DialogRef dialog, Handle stuff, const Rect* rect)
{
    if (dialog) MyDisposDialog(dialog);
    DLogRestoreScreen(stuff, bits, rect, false);
    G_IsGenerique = false;
    PurgeMem(0x7FFFFFF0);
    CompactMem(0x7FFFFFF0);
}

void TAppl::ShowAbout()
{
    if (G_IsGenerique) return;
    DoGenerique(&G_BitsStuff, &G_Dialog, &G_AboutTemplate, &G_Rect, false);
}

void TAppl::EraseAbout()
{
    if (!G_IsGenerique) return;
    EraseGenerique(G_BitsStuff, G_Dialog, G_AboutTemplate, &G_Rect);
    G_Dialog = nullptr;
    G_BitsStuff = G_AboutTemplate = nullptr;
}
