// A structure document's files: opening and reading them, reading them
// again, closing them, and the document's end.
#include <algorithm>
#include <cstring>

#include "app/appl/AppGlobals.h"
#include "app/documents/DocHooks.h"
#include "app/documents/MainDoc.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Preferences.h"
#include "app/documents/DocSupport.h"
#include "app/appl/TAppl.h"
#include "app/windows/TMainWindow.h"
#include "network/Requests.h"
#include "network/ServerOpen.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/menus/Menus.h"
#include "platform/resfiles/Resources.h"
#include "platform/windows/Windows.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResourceApi.h"

using namespace platform;

namespace {

constexpr int16_t kNotBuilt = -4;

}  // namespace

void EnableBarMenus(bool enable)
{
    for (int32_t k = 2; k <= NbMenus; ++k) {
        if (!TheMenus[k] || !TheMenus[k]->menu || TheMenus[k]->menuId >= 1000) continue;
        if (enable) EnableMenuItem(TheMenus[k]->menu, 0);
        else DisableMenuItem(TheMenus[k]->menu, 0);
    }
    DrawMenuBar();
}

namespace {

// One more change since the last compilation, counted in 'QzQz' 0 of the
// structure's resource file (the companion), where the compiler looks.
void CountCompilerChange(int16_t rsrFile)
{
    if (rsrFile == -1 || !IsResFileOpen(rsrFile)) return;
    UseResFile(rsrFile);
    const ResType qzqz = FourCC("QzQz");
    Handle counter = Get1Resource(qzqz, 0);
    if (!counter) {
        counter = NewHandleClear(4);
        if (!counter) return;
        static const unsigned char noName[1] = {0};
        AddResource(counter, qzqz, 0, noName);
        if (ResError() != noErr) {
            DisposeHandle(counter);
            return;
        }
    }
    if (!*counter || GetHandleSize(counter) < 4) return;
    auto* p = reinterpret_cast<uint8_t*>(*counter);
    WriteBE32(p, ReadBE32(p) + 1);
    ChangedResource(counter);
    WriteResource(counter);
    UpdateResFile(rsrFile);
}

}  // namespace

void UseDocStore(const TMainDoc* doc)
{
    if (DocHooks().useQzRes) DocHooks().useQzRes(doc->fResFile);
    else useres(doc->fResFile);
}

int16_t TMainDoc::InitDocument(const unsigned char* name, TAppl* appl)
{
    if (const int16_t result = TDocument::InitDocument(name, appl); result != 0) return result;
    fTypeList = nullptr;
    if (!DocHooks().newTypeList) return kNotBuilt;
    if (const int16_t result = DocHooks().newTypeList(&fTypeList); result != 0) return result;
    fModuleManager = nullptr;
    fBadParse = false;
    fBusy = false;
    fRsrFile = fResFile = fOtherFile = fDataFile = -1;
    fPlugInDocFile = -1;
    fCompilerDirty = false;
    fPassword[0] = 0;
    return 0;
}

int16_t TMainDoc::Read(const FSSpec& fileSpec, bool remote, bool flag)
{
    EnableBarMenus(false);
    int16_t result = TDocument::Read(fileSpec, remote, flag);
    if (result == 0) result = OpenFile(fileSpec);
    if (result == 0) {
        result = ReadFile(flag);
        if (result == 1020) result = Reparse();
    }
    if (result == 0) {
        // Big structures open all the same; the user is told they are slow.
        const int32_t count = CountTotResources(fRsrFile);
        if (count > 2500) ErrMsg(1008);
        else if (count > 2000) ErrMsg(1007);
        if (DocHooks().sortKind) DocHooks().sortKind(fTypeList, 3);
        Rect r = MyAppl ? MyAppl->fDefaultRect : Rect{};
        result = NewRefWindow(&r, 1, PrefWindowKind(), -1, 0);
        if (result == 0 && MyAppl) MyAppl->fDefaultRect = r;
    }
    EnableBarMenus(true);
    return result;
}

int16_t TMainDoc::OpenFile(const FSSpec& fileSpec)
{
    if (fRemote) {
        fPassword[0] = 0;
        fRsrFile = FSpOpenResFile(gLocalResFileSpec, fsRdWrPerm, ResFileFork::Data);
        fResFile = fFileNum;
        fOtherFile = fDataFile = -1;
        return 0;
    }
    if (!DocHooks().openQzB) return kNotBuilt;
    unsigned char password[16]{};
    const int16_t result = DocHooks().openQzB(1, fileSpec, &fRsrFile, &fResFile, &fOtherFile, password);
    std::memcpy(fPassword, password, sizeof fPassword);
    fDataFile = -1;
    return result;
}

int16_t TMainDoc::ReadFile(bool flag)
{
    if (!DocHooks().readQzB) return kNotBuilt;
    return DocHooks().readQzB(this, true, flag);
}

void TMainDoc::CloseFile()
{
    // A remote document whose local cache did not open still holds its
    // connection.
    if (fRsrFile == -1 && fResFile == -1 && !fRemote) return;
    const int16_t savedStore = xcurres();
    const int16_t saved = CurResFile();
    if (!fRemote && fCompilerDirty) CountCompilerChange(fRsrFile);
    // What the companion still holds unwritten is said when it cannot be
    // written, rather than dropped as its file closes.
    if (!fRemote && fRsrFile != -1 && IsResFileOpen(fRsrFile)) {
        UpdateResFile(fRsrFile);
        if (const OSErr err = ResError(); err != noErr) ErrMsg(err);
    }
    if (!fRemote && fResFile != -1) {
        UseDocStore(this);
        updateres(fResFile);
    }
    if (DocHooks().closeQzB) DocHooks().closeQzB(fRsrFile, fResFile, fOtherFile, fDataFile);
    const int16_t serverFile = fResFile;
    fRsrFile = fResFile = fOtherFile = fDataFile = -1;
    if (fRemote) {
        if (serverFile != -1 && g_resManager && g_resManager->FindFile(fFileNum)) closeres(fFileNum, true);
        if (localres != -1) {
            CloseResFile(localres);
            localres = -1;
        }
        closeconnection();
        EnableFunc(14);
    }
    if (savedStore) useres(savedStore);
    UseResFile(saved);
}

int16_t TMainDoc::CloseOtherWindows()
{
    for (bool closed = true; closed;) {
        closed = false;
        for (TWindow* w = fFirstWindow; w; w = w->fNextWindow) {
            if (w->IsMember(3)) continue;
            // An editor whose save question was cancelled, or whose text
            // could not be stored, keeps its window and stops the closing.
            if (const int16_t result = w->Close(); result != 0) return result;
            closed = true;
            break;
        }
    }
    return 0;
}

int16_t TMainDoc::CloseDocumetation() { return CloseOtherWindows() == 0 ? 0 : 1001; }

int16_t TMainDoc::Reparse(const std::function<void()>& rebindEditors)
{
    EnableBarMenus(false);
    if (!rebindEditors && CloseDocumetation() != 0) {
        EnableBarMenus(true);
        return 1001;
    }
    const int16_t savedStore = xcurres();
    fBusy = true;
    // Every pane lets go of the objects before they go: rows, kept rows,
    // search results, links and previews.
    RazAll(nullptr, true);
    if (DocHooks().disposeTypeList && fTypeList) DocHooks().disposeTypeList(fTypeList);
    fTypeList = nullptr;
    if (DocHooks().newTypeList) DocHooks().newTypeList(&fTypeList);
    RazAll(reinterpret_cast<Handle>(fTypeList), false);
    if (fModuleManager && DocHooks().deleteModuleManager) DocHooks().deleteModuleManager(fModuleManager);
    fModuleManager = nullptr;
    UseDocStore(this);
    const int16_t result = DocHooks().readQzB ? DocHooks().readQzB(this, false, false) : kNotBuilt;
    if (DocHooks().sortKind && fTypeList) DocHooks().sortKind(fTypeList, 3);
    if (rebindEditors) rebindEditors();
    UpdateAll();
    fBadParse = false;
    fBusy = false;
    if (TWindow* front = GetTWindow(FrontWindow())) {
        Str255 title;
        front->GetTitle(title);
        front->SetTitle(title);
    }
    EnableBarMenus(true);
    if (savedStore) useres(savedStore);
    return result;
}

int16_t TMainDoc::Dispose()
{
    DisableFunc(4);
    if (CloseOtherWindows() != 0) return 1001;
    while (TWindow* w = fFirstWindow) {
        if (!w->fNextWindow && GetPrefFlag(2) && !(MyAppl && MyAppl->fQuit)) {
            // The last window: the user may keep the document open.
            Str255 text, part;
            MyGetIndString(text, 1001, 23);
            const uint8_t room = uint8_t(std::min<int>(255 - text[0], fName[0]));
            std::memcpy(text + 1 + text[0], fName + 1, room);
            text[0] = uint8_t(text[0] + room);
            MyGetIndString(part, 1001, 24);
            const uint8_t more = uint8_t(std::min<int>(255 - text[0], part[0]));
            std::memcpy(text + 1 + text[0], part + 1, more);
            text[0] = uint8_t(text[0] + more);
            if (XAlert(1002, text, kCautionAlert) == 2) {
                Rect whole{};
                GetPortBounds(GetWindowPort(w->fWindow), &whole);
                InvalWindowRect(w->fWindow, &whole);
                RenumberRefWindows();
                return 1001;
            }
        }
        w->DelMenuWindow();
        RemoveWindow(w);
        w->Dispose();
    }
    // Also when quitting: the objects go with their lists either way.
    if (fTypeList && DocHooks().disposeTypeList) {
        DocHooks().disposeTypeList(fTypeList);
        fTypeList = nullptr;
    }
    CloseFile();
    if (fModuleManager && DocHooks().deleteModuleManager) DocHooks().deleteModuleManager(fModuleManager);
    fModuleManager = nullptr;
    CompactMem(0x7FFFFFFF);
    delete this;
    return 0;
}

void TMainDoc::MakeActive()
{
    TDocument::MakeActive();
    for (int16_t c : {40, 41, 42}) EnableFunc(c);
}

void TMainDoc::MakeInActive()
{
    TDocument::MakeInActive();
    for (int16_t c : {40, 41, 42}) DisableFunc(c);
}

void TMainDoc::IdleDoc()
{
    if (!fRemote) return;
    // A change that failed on its way to the server and left part or all of
    // it there: the windows show the structure as the server holds it, which
    // the store holds too.
    if (serverchangeleft(fResFile)) {
        forgetserverchange(fResFile);
        Reparse();
    }
    idlecomm();
    // A lost connection no step has said yet (one met at idle time, or
    // after a command's last reply) is said now.
    if (const int16_t lost = TakeUnsaidConnectionFailure()) ErrMsg(lost);
    UseDocStore(this);
    if (Handle h = xget1res(FourCC("...."), 0)) {
        (void)h;
        unloadres(FourCC("...."), 0);
    }
}

int16_t TMainDoc::Do_If_MyFunc(int16_t command)
{
    if (command == 74) return Reparse();
    return TDocument::Do_If_MyFunc(command);
}
