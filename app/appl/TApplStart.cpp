// The application object's start-up, memory upkeep, document list and end.
#include <algorithm>
#include <cstring>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/AppleEventHandlers.h"
#include "app/dialogs/ArrowControl.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/appl/CommandStacks.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/documents/DocHooks.h"
#include "forms/iff/Iff.h"
#include "app/documents/TClipBoard.h"
#include "app/appl/Utilities.h"
#include "toolbox/drawing/PrintEmulation.h"
#include "toolbox/drawing/ScrapCalls.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/helpers/KernelColors.h"
#include "looks/AppResources.h"
#include "looks/Startup.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/cursors/Cursors.h"
#include "platform/drawing/Palettes.h"
#include "platform/gestalt/Gestalt.h"
#include "platform/menus/Menus.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"
#include "platform/scrap/Scrap.h"
#include "platform/windows/Windows.h"
#include "resources/AppHooks.h"
#include "network/NetComponents.h"
#include "network/StoreConnection.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResourceApi.h"
#include "resources/kernelaccess/KernelStoreAccess.h"

using namespace platform;

namespace {

const char* gInitMessage = "";

// Types whose change makes a structure document re-read its objects.
constexpr uint32_t kDesignTypes[] = {
    FileResType,  ListResType,    MBarResType,  MenuResType,  ProcResType,   LayoutREsType,
    StyleResType, BallonnResType, FileNameType, LayTableType, GlobalResType,
};

}  // namespace

void LoadDialogColour()
{
    G_DlogContentColor = RGBColor{65535, 65535, 65535};
    const int16_t saved = CurResFile();
    UseResFile(G_MainResFile);
    Handle h = Get1Resource(FourCC("xctb"), 0);
    UseResFile(saved);
    if (!h || !*h || GetHandleSize(h) < 8) return;
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    const size_t size = size_t(GetHandleSize(h));
    size_t count = ReadBE16(p + 6);
    if (count > (size - 8) / 8) count = (size - 8) / 8;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = p + 8 + 8 * i;
        if (ReadBE16(e) != 0) continue;
        G_DlogContentColor = RGBColor{ReadBE16(e + 2), ReadBE16(e + 4), ReadBE16(e + 6)};
        return;
    }
}

namespace {

constexpr int16_t kServerActionMarker = -31999;

CursHandle LoadCursor(int16_t id) { return GetCursor(id); }

// Whether 'PREF' 0 of the preferences file has `mask` set in byte 6.
bool PrefSwitch(uint8_t mask)
{
    if (G_PrefResFile == -1) return false;
    const int16_t saved = CurResFile();
    UseResFile(G_PrefResFile);
    // Through the chain: without its own, the application's default answers.
    Handle pref = GetResource(FourCC("PREF"), 0);
    const bool set = pref && *pref && ResError() == noErr && GetHandleSize(pref) > 6 && (uint8_t((*pref)[6]) & mask);
    UseResFile(saved);
    return set;
}

// The kernel start-up's part that lives with the application: the hidden
// first window, the wildcard, the appearance version and the network.
void InitQz()
{
    const Rect empty{0, 0, 0, 0};
    const unsigned char none[1] = {0};
    gFirstWind = NewCWindow(nullptr, &empty, none, false, 0, reinterpret_cast<WindowRef>(-1), false, 0);
    Str255 wild;
    MyGetIndString(wild, 1019, 4);
    if (wild[0] > 0) wildchar = wild[1];
    int32_t version = 0;
    gAppearanceManagerVersion = Gestalt(FourCC("apvr"), &version) == noErr ? uint16_t(version) : 0;
    gCanUseApperanceManager = gAppearanceManagerVersion >= 0x0110;
    // Without the network a published structure cannot be opened.
    if (!initcommcode()) DisableFunc(14);
}

// The window calls the store makes while it talks to a server.
void InstallStoreHooks()
{
    // The store serves the kernel's resource calls and the server's
    // requests; documents open through it.
    initresman();
    InstallKernelStoreAccess();
    InstallStoreConnection();
    AppHooks().selectWindow = SelectWindow;
    AppHooks().showWindow = ShowWindow;
    AppHooks().modalDialog = [](void* filter, int16_t* item) {
        MyModalDialog(reinterpret_cast<ModalFilterUPP>(filter), item);
    };
}

}  // namespace

Rect DefaultWindowRect()
{
    const Rect screen = ScreenBounds();
    return Rect{45, 15, int16_t(screen.bottom - 50), int16_t(screen.right - 50)};
}

int16_t ApplInitAll()
{
    gInitMessage = "";
    InitGlobals();
    if (const int16_t err = StartQz(); err != 0) {
        gInitMessage = StartQzMessage();
        return err;
    }
    // The interface fonts keep the sizes of this system's layout.
    AdjusteFontForPlatform(0);
    G_MainResFile = OpenApplicationResources();
    MyAppl = nullptr;
    G_MachineType = machineType();
    SetArrowCursor();
    GromMemHdl = NewHandle(kReserveSize);
    G_NoMem = G_LowMem = false;
    CmdStackHdl = NewCmdStack();
    FuncStackHdl = NewFuncStack();
    if (!GromMemHdl || !CmdStackHdl || !FuncStackHdl) {
        gInitMessage = "Not enough memory to start. Close other programs and try again.";
        return memFullErr;
    }
    CompactMem(0x7FFFFFF0);
    SetGrowZone(ApplGrowZone);
    if (Is_SystemX()) RegisterAppControlDefinitions();
    CPseudoResManager::SetChangeHook(MyRESQzHOOK);
    SetSubstitutedPasteNotice(SaySubstitutedPaste);
    InstallStoreHooks();
    LoadDialogColour();
    InitTransparentProcs();
    return 0;
}

const char* ApplInitAllMessage() { return gInitMessage; }

TAppl::~TAppl()
{
    while (fDocList) {
        TDocument* doc = fDocList;
        RemoveDoc(doc);
        doc->Dispose();
    }
    if (TDocument* clip = fClipBoard) {
        fClipBoard = nullptr;
        clip->Dispose();
    }
    if (fPrintRecord) DisposePrintRecord(fPrintRecord);
    if (MyAppl == this) MyAppl = nullptr;
}

int16_t TAppl::ITAppl()
{
    gMacOSX = Is_SystemX();
    InitFromQzPrefResFile();
    OpenPrefResFile();
    // An older file is upgraded before anything reads it, then stamped.
    if (DocHooks().updatePrefResFile && DocHooks().updatePrefResFile()) SetPrefVERS();
    const bool showAbout = PrefSwitch(0x40);
    Handle filter = GetFilter(128);
    if (filter) {
        G_SearchFilterHdl = filter;
        if (HandToHand(&G_SearchFilterHdl) != noErr) G_SearchFilterHdl = nullptr;
    }
    // Read before any document opens, whatever the start.
    G_ShowID = PrefSwitch(0x10);
    fSuspended = false;
    ClockCursor = LoadCursor(4);
    GraphCursor = LoadCursor(2);
    TextCursor = LoadCursor(1);
    HSplitCursor = LoadCursor(128);
    VSplitCursor = LoadCursor(129);
    DragCursor = LoadCursor(131);
    DragableCursor = LoadCursor(130);
    CrossCursor = LoadCursor(132);
    fDefaultRect = DefaultWindowRect();
    fDocList = nullptr;
    SetMenus();
    mySaveScrapState();
    fScrapChanged = false;
    fClipBoard = NewClipBoard(this);
    ApplGetScrap();
    InitQz();
    globpalette = GetNewPalette(2000);
    DrawMenuBar();
    TellPrefFileNotice();
    if (showAbout) DoGenerique(&G_BitsStuff, &G_Dialog, &G_AboutTemplate, &G_Rect, true);
    if (DocHooks().setBlockArray) DocHooks().setBlockArray();
    MakePrintRecord(this);
    int16_t result = 0;
    if (CheckMemory(0)) {
        Str255 text;
        MyGetIndString(text, 1002, 13);
        XAlert(1000, text, kStopAlert);
        result = memFullErr;
    } else {
        InstallAppleEventHandlers();
    }
    PopSize = GetResSize(1);
    PopFont = GetResFont(1);
    MyApplSize = GetResSize(0);
    MyApplFont = GetResFont(0);
    return result;
}

void TAppl::OpenAppl()
{
    if (PrefSwitch(0x80)) {
        if (G_IsGenerique) EraseAbout();
        PostFunc(2);
    }
}

bool TAppl::CheckMemory(int32_t need)
{
    if (MyFreeMem() >= int64_t(need) + 51200 && GromMemHdl) return false;
    if (GromMemHdl) {
        DisposeHandle(GromMemHdl);
        GromMemHdl = nullptr;
    }
    PurgeMem(need);
    growZone(need);
    PurgeMem(need);
    if (CompactMem(need) > kReserveSize) GromMemHdl = NewHandle(kReserveSize);
    if (!GromMemHdl) return true;
    return MyFreeMem() < int64_t(need) + 51200;
}

int32_t TAppl::growZone(int32_t)
{
    for (TDocument* doc = fDocList; doc; doc = doc->fNext) doc->UnLoad();
    return 0;
}

int32_t ApplGrowZone(int32_t need)
{
    Handle saved = GZSaveHnd();
    const int8_t state = saved ? HGetState(saved) : 0;
    if (saved) HLock(saved);
    const Size before = MaxBlock();
    if (GromMemHdl) {
        DisposeHandle(GromMemHdl);
        GromMemHdl = nullptr;
    }
    if (MyAppl) MyAppl->growZone(need);
    PurgeMem(need);
    const Size largest = CompactMem(need);
    if (int64_t(largest) > int64_t(need) + kReserveSize) GromMemHdl = NewHandle(kReserveSize);
    if (saved) HSetState(saved, state);
    // Something must have been freed for the allocation to be worth retrying.
    return MaxBlock() > before && MaxBlock() > need ? 1 : 0;
}

void MyRESQzHOOK(uint32_t type, int16_t, int16_t fileRef, int16_t)
{
    bool design = false;
    for (uint32_t t : kDesignTypes) design = design || t == type;
    if (!design || !MyAppl) return;
    for (TDocument* doc = MyAppl->fDocList; doc; doc = doc->fNext)
        // The store reports its server actions with one marker: the remote
        // document is the one they concern.
        if (doc->IsMember(2) && (doc->fResFile == fileRef || (fileRef == kServerActionMarker && doc->fRemote))) {
            doc->fResChanged = true;
            return;
        }
}

void breaknetwork(int16_t error) { G_NetWorkErr = error; }

int16_t TAppl::Close()
{
    if (G_IsGenerique) EraseAbout();
    // The clipboard document lives as long as the application: its window
    // is only hidden.
    if (fClipBoard && fClipBoard->Visible()) fClipBoard->Hide();
    // Every document left gets command 4, hidden windows or not, so that
    // each commits or asks to save; one that ignores it is asked once.
    std::vector<TDocument*> asked;
    for (;;) {
        TDocument* doc = fDocList;
        while (doc && std::find(asked.begin(), asked.end(), doc) != asked.end()) doc = doc->fNext;
        if (!doc) return 0;
        asked.push_back(doc);
        const int16_t result = doc->Do_Func(4);
        if (result != 0 && result != -1) return result;
    }
}

void TAppl::AddDoc(TDocument* doc)
{
    if (!doc) return;
    doc->fPrev = nullptr;
    doc->fNext = fDocList;
    if (fDocList) fDocList->fPrev = doc;
    fDocList = doc;
}

void TAppl::RemoveDoc(TDocument* doc)
{
    if (!doc) return;
    bool listed = false;
    for (TDocument* d = fDocList; d; d = d->fNext) listed = listed || d == doc;
    if (!listed) return;
    if (doc->fPrev) doc->fPrev->fNext = doc->fNext;
    else fDocList = doc->fNext;
    if (doc->fNext) doc->fNext->fPrev = doc->fPrev;
    doc->fNext = doc->fPrev = nullptr;
}

void TAppl::SetFirstDoc(TDocument* doc)
{
    RemoveDoc(doc);
    AddDoc(doc);
}

void TAppl::UpdateAll()
{
    for (TDocument* doc = fDocList; doc; doc = doc->fNext)
        if (doc->IsMember(2) || doc->IsMember(3)) doc->UpdateAll();
}

void TAppl::IdleDoc()
{
    for (TDocument* doc = fDocList; doc;) {
        TDocument* next = doc->fNext;
        doc->IdleDoc();
        doc = next;
    }
}

void ApplDisposeAll()
{
    SetGrowZone(nullptr);
    DisposeMenus();
    ResetPreferences();
    ReleaseInstanceLock();
    if (gFirstWind) DisposeWindow(gFirstWind);
    gFirstWind = nullptr;
    for (Handle* h : {&globpalette, &GromMemHdl, &CmdStackHdl, &FuncStackHdl, &G_SearchFilterHdl})
        if (*h) {
            DisposeHandle(*h);
            *h = nullptr;
        }
    ResetAppCursor();
}
