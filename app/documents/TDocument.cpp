// Documents: their window lists, the new-window stagger, the save question
// and the document's place in the command chain.
#include <cstring>
#include <filesystem>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/appl/AppObjects.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/appl/TAppl.h"
#include "app/appl/Utilities.h"
#include "platform/core/Memory.h"
#include "platform/files/DirectoryIds.h"
#include "platform/drawing/Rects.h"
#include "platform/files/FileSpec.h"
#include "platform/files/MacNames.h"

using namespace platform;

namespace {

void CopyP(unsigned char* to, const unsigned char* from)
{
    const uint8_t n = from ? from[0] : 0;
    to[0] = n;
    if (n) std::memcpy(to + 1, from + 1, n);
}

// Results the user must see: not done, cancelled or passed on.
bool Shown(int16_t result) { return result != 0 && result != 1001 && result != -1; }

}  // namespace

TDocument::~TDocument()
{
    if (MyAppl) MyAppl->RemoveDoc(this);
}

int16_t TDocument::InitDocument(const unsigned char* name, TAppl* appl)
{
    fNext = fPrev = nullptr;
    fFirstWindow = nullptr;
    fAppl = appl;
    CopyP(fName, name);
    fVRefNum = 32767;
    fDirID = 32767;
    fPathName[0] = 0;
    fRemote = false;
    fModified = false;
    return 0;
}

int16_t TDocument::Read(const FSSpec& fileSpec, bool remote, bool)
{
    fModified = false;
    fSpec = fileSpec;
    const std::filesystem::path path(fileSpec.path);
    std::string name = FSpGetMacName(fileSpec);
    if (name.size() > 63) name.resize(63);
    fName[0] = uint8_t(name.size());
    std::memcpy(fName + 1, name.data(), name.size());
    fRemote = remote;
    FSSpec folder;
    if (FSMakeFSSpec(path.parent_path().string(), &folder) == noErr) FSpGetDirID(folder, &fVRefNum, &fDirID);
    if (remote) return 0;
    return GetPathName(fPathName, fVRefNum, fDirID);
}

void TDocument::AddWindow(TWindow* window)
{
    if (!window) return;
    window->fPrevWindow = nullptr;
    window->fNextWindow = fFirstWindow;
    if (fFirstWindow) fFirstWindow->fPrevWindow = window;
    fFirstWindow = window;
}

void TDocument::RemoveWindow(TWindow* window)
{
    if (!window) return;
    bool listed = false;
    for (TWindow* w = fFirstWindow; w; w = w->fNextWindow) listed = listed || w == window;
    if (!listed) return;
    if (window->fPrevWindow) window->fPrevWindow->fNextWindow = window->fNextWindow;
    else fFirstWindow = window->fNextWindow;
    if (window->fNextWindow) window->fNextWindow->fPrevWindow = window->fPrevWindow;
    window->fNextWindow = window->fPrevWindow = nullptr;
}

void TDocument::SetFirstWindow(TWindow* window)
{
    RemoveWindow(window);
    AddWindow(window);
}

int16_t TDocument::CountWindow() const
{
    int16_t count = 0;
    for (TWindow* w = fFirstWindow; w; w = w->fNextWindow) ++count;
    return count;
}

int16_t TDocument::NewTWindow(TWindow* window, Rect* rect, const unsigned char* title, bool visible, int16_t kind)
{
    const Rect screen = MyScreenRect();
    if (!window) return memFullErr;
    if (window->ITWindow(title, *rect, visible, 0, this, kind) != 0) {
        delete window;
        return memFullErr;
    }
    AddWindow(window);
    if (visible) window->SelectTWindow();
    OffsetRect(rect, 20, 22);
    if (rect->right > screen.right) OffsetRect(rect, int16_t(15 - rect->left), 0);
    if (rect->bottom > screen.bottom) OffsetRect(rect, 0, int16_t(45 - rect->top));
    return 0;
}

void TDocument::SelectTDocument()
{
    if (fFirstWindow) fFirstWindow->SelectTWindow();
}

void TDocument::MakeActive()
{
    if (MyAppl && MyAppl->fDocList != this && MyAppl->fClipBoard != this) MyAppl->SetFirstDoc(this);
    EnableFunc(4);
}

void TDocument::MakeInActive() { DisableFunc(4); }

void TDocument::GetDocName(unsigned char* name) const { CopyP(name, fName); }

bool TDocument::Visible() const { return fFirstWindow && fFirstWindow->visible(); }

int16_t TDocument::Do_If_MyFunc(int16_t command)
{
    switch (command) {
    case 18: {
        const int16_t result = Write();
        if (result == 0) fModified = false;
        return result;
    }
    case 4:
        return Close();
    default:
        return -1;
    }
}

int16_t TDocument::Failed_Func(int16_t command)
{
    const int16_t result = Do_If_MyFunc(command);
    if (result != -1 || !MyAppl) return result;
    return MyAppl->Failed_Func(command);
}

int16_t TDocument::Do_Func(int16_t command)
{
    int16_t result = Do_If_MyFunc(command);
    if (result == -1 && fFirstWindow) {
        // The window shows what it, its panes or this document answer.
        return fFirstWindow->Do_Func(command);
    }
    if (result == -1 && MyAppl) result = MyAppl->Failed_Func(command);
    if (Shown(result)) ErrMsg(result);
    return result;
}

int16_t TDocument::Close()
{
    const int16_t answer = ConfirmClose(fModified, fName);
    if (answer == 1) {
        if (const int16_t result = Write(); result != 0) return result;
    } else if (answer == 3) {
        return 1001;
    } else if (answer != 2) {
        return 0;
    }
    if (MyAppl) MyAppl->RemoveDoc(this);
    if (Dispose() == 1001) {
        if (MyAppl) MyAppl->AddDoc(this);
        return 1001;
    }
    return 0;
}

int16_t TDocument::Dispose()
{
    DisableFunc(4);
    while (TWindow* w = fFirstWindow) {
        RemoveWindow(w);
        w->Dispose();
    }
    MaxMem(nullptr);
    delete this;
    return 0;
}
