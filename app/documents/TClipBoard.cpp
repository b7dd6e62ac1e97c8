#include "app/documents/TClipBoard.h"

#include <new>

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/windows/PaneHooks.h"
#include "app/appl/TAppl.h"
#include "app/windows/TClipWindow.h"
#include "app/appl/Utilities.h"
#include "platform/core/FourCC.h"
#include "platform/textedit/TextEdit.h"

using namespace platform;

TClipWindow* TClipBoard::Window() const { return static_cast<TClipWindow*>(fFirstWindow); }

int16_t TClipBoard::Close()
{
    Hide();
    return 0;
}

void TClipBoard::SetData(Handle data, uint32_t type, int32_t unused, int32_t length)
{
    if (TClipWindow* w = Window()) w->SetData(data, type, unused, length);
}

void TClipBoard::Show()
{
    StringFunc(27, 1);
    if (fFirstWindow) fFirstWindow->Show();
}

void TClipBoard::Hide()
{
    StringFunc(27, 2);
    if (fFirstWindow) fFirstWindow->Hide();
}

int16_t TClipBoard::GetPrivateScrap(Handle data, uint32_t type, int32_t unused, int32_t size)
{
    if (type == FourCC("TEXT")) {
        TEFromScrap();
        SetData(data, type, unused, size);
    } else if (type == FourCC("PICT")) {
        SetData(data, type, unused, size);
    }
    return 0;
}

int16_t TClipBoard::PutPrivateScrap(int32_t* length, uint32_t type, Handle)
{
    *length = 0;
    if (type == FourCC("TEXT")) TEToScrap();
    return 0;
}

TClipBoard* NewClipBoard(TAppl* appl)
{
    auto* clip = new (std::nothrow) TClipBoard;
    if (!clip) return nullptr;
    Str255 title;
    MyGetIndString(title, 1001, 5);
    clip->InitDocument(title, appl);
    const Rect screen = MyScreenRect();
    Rect r{int16_t(screen.bottom - 80), int16_t(screen.left + 20), int16_t(screen.bottom - 4),
           int16_t(screen.right - 20)};
    auto* window = new (std::nothrow) TClipWindow;
    if (clip->NewTWindow(window, &r, title, false, 8) == 0 && PaneHooks().makeClipPlane) {
        TPlan* pane = nullptr;
        if (PaneHooks().makeClipPlane(window, &pane) == 0 && pane) window->AddPlane(pane);
    }
    return clip;
}
