// The application object: start-up, the event loop, command routing and the
// document list. There is one, reached through MyAppl.
//
// Operations that open, arrange and configure documents and windows belong
// to the folders that build them; until those are in place they answer as
// a command nobody handles would (0, nothing shown).
#pragma once

#include <cstdint>

#include "app/appl/AppObjects.h"
#include "platform/appleevents/AppleEvents.h"
#include "platform/core/FourCC.h"
#include "platform/core/MacTypes.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/events/Events.h"
#include "platform/files/FileTypes.h"

class TAppl : public TObject {
public:
    TAppl() = default;
    ~TAppl() override;

    // Start-up and shut-down.
    virtual int16_t ITAppl();
    virtual int16_t Close();
    virtual void OpenAppl();
    virtual void ReadAppFiles() { OpenAppl(); }
    virtual int16_t DoLaunch() { return 0; }

    // The event loop and the scrap. DoEvent handles one event as the loop
    // does: memory running out in its command is undone and said there.
    virtual void Run();
    void DoEvent(platform::EventRecord& event);
    virtual void ApplGetScrap();
    virtual void ApplPutScrap();
    // Page set-up on the application's print record (command 9).
    virtual void PageSetUp();

    // Commands.
    virtual void SetMenus();
    virtual int16_t Do_If_MyFunc(int16_t command);
    virtual int16_t Failed_Func(int16_t command) { return Do_If_MyFunc(command); }
    virtual int16_t Do_Func(int16_t command);
    virtual int16_t Dispatch_Func(int16_t command, int16_t index);
    virtual void Commande(int32_t menuResult);
    virtual void MakeActive();
    virtual void MakeInActive();
    virtual int16_t GetDragObj();

    // Memory.
    virtual bool CheckMemory(int32_t need);
    virtual int32_t growZone(int32_t need);

    // The document list.
    virtual void AddDoc(TDocument* doc);
    virtual void RemoveDoc(TDocument* doc);
    virtual void SetFirstDoc(TDocument* doc);
    virtual void UpdateAll();
    virtual void IdleDoc();

    // Opening and making documents.
    virtual int16_t OpenNamedDoc(const platform::FSSpec& fileSpec, int16_t print);
    virtual TDocument* GetNamedDoc(const platform::FSSpec& fileSpec);
    virtual int16_t NewLibDoc(int16_t kind);
    virtual void GetUnTitledName(unsigned char* name, bool flag, int16_t* number);
    virtual int16_t OpenMainDoc();
    virtual int16_t OpenServerMainDoc();
    virtual int16_t OpenSQL();
    virtual int16_t OpenSpecial();
    // The high-level events.
    virtual platform::OSErr hGotRequiredParams(const platform::AppleEvent* event);
    virtual platform::OSErr hAEOpenApplication(const platform::AppleEvent* event, platform::AppleEvent* reply,
                                               uintptr_t refCon);
    virtual platform::OSErr hAEOpenDocuments(const platform::AppleEvent* event, platform::AppleEvent* reply,
                                             uintptr_t refCon);
    virtual platform::OSErr hAEPrintDocuments(const platform::AppleEvent* event, platform::AppleEvent* reply,
                                              uintptr_t refCon);
    virtual platform::OSErr hAEQuitApplication(const platform::AppleEvent* event, platform::AppleEvent* reply,
                                               uintptr_t refCon);
    // The general preferences dialog (command 13).
    virtual int16_t Preferences();
    virtual int16_t SelectMenuWindow();
    virtual int16_t CountDocWindow();
    virtual void StackWindows();
    virtual void TileWindows();
    // More browser windows on the front structure (commands 40 to 43).
    virtual int16_t NewRefWindow(int16_t layout, int16_t filter, int16_t flag);
    // The size of new document windows from the preferences.
    virtual platform::Rect GetPrefWindowRect(int16_t unused);
    // The conflict preferences (command 15), through the command hooks.
    virtual int16_t ConflictPreferences();
    // The blocking preferences (command 16), through the command hooks.
    virtual int16_t BlockingPreferences();
    // The filter editor (command 54), then every browser window's filters.
    virtual int16_t DoEditFilters();
    // The first preference filter whose long at byte 2 is 0x100; else 128.
    virtual int16_t GroupFilterID();
    // The about box: shown by start-up and the application menu, removed
    // at the next click or key.
    virtual void DoGenerique(platform::Handle* bits, platform::DialogRef* dialog, platform::Handle* stuff,
                             platform::Rect* rect, bool flag);
    virtual void EraseGenerique(platform::Handle bits, platform::DialogRef dialog, platform::Handle stuff,
                                const platform::Rect* rect);
    virtual void ShowAbout();
    virtual void EraseAbout();

    TDocument* fDocList = nullptr;
    TDocument* fClipBoard = nullptr;
    bool fSuspended = false;
    bool fQuit = false;
    platform::Rect fDefaultRect{0, 0, 0, 0};
    bool fScrapChanged = false;
    platform::Handle fPrintRecord = nullptr;
};

// Process set-up before the application object exists: 0, or the failed
// step's error with a message (ApplInitAllMessage) for the person starting
// the program.
int16_t ApplInitAll();
const char* ApplInitAllMessage();
// The grow-zone procedure installed by ApplInitAll.
int32_t ApplGrowZone(int32_t need);
// The design-object resource types: the store's report of a change to one
// makes the structure document of its file re-read its objects.
constexpr uint32_t FileResType = platform::FourCC("FIQz");
constexpr uint32_t ListResType = platform::FourCC("List");
constexpr uint32_t MBarResType = platform::FourCC("BAQz");
constexpr uint32_t MenuResType = platform::FourCC("MENQ");
constexpr uint32_t ProcResType = platform::FourCC("CCQz");
constexpr uint32_t LayoutREsType = platform::FourCC("FOQz");
constexpr uint32_t StyleResType = platform::FourCC("STQz");
constexpr uint32_t BallonnResType = platform::FourCC("HEQz");
constexpr uint32_t FileNameType = platform::FourCC("WNQz");
constexpr uint32_t LayTableType = platform::FourCC("TFQz");
constexpr uint32_t GlobalResType = platform::FourCC("TPQz");
// The Finder types of structure and library documents.
constexpr uint32_t MainDocType = platform::FourCC("BAS5");
constexpr uint32_t LibDocType = platform::FourCC("QzLB");
// The store's report of a changed resource.
void MyRESQzHOOK(uint32_t type, int16_t id, int16_t fileRef, int16_t action);
// A broken server connection: the event loop closes its document.
void breaknetwork(int16_t error);
int16_t DoNetWorkErr();
// G_DlogContentColor from the 'xctb' 0 entry of part code 0, white without
// one; the entry count is read only as far as the resource goes.
void LoadDialogColour();
// Makes the application's print record with the printing defaults (none
// when the printing layer reports an error).
void MakePrintRecord(TAppl* appl);
// The about box's five texts ('STR#' 1000 with the version and the free
// memory added).
void AboutTexts(unsigned char (*texts)[256], bool flag);
// The event filter of the preferences dialog: sizes take digits only.
platform::Boolean PrefFilter(platform::DialogRef dialog, platform::EventRecord* event, platform::DialogItemIndex* item);
// Marks a rectangle of a window to be drawn again.
void myInvalWindowRect(platform::WindowRef window, const platform::Rect* r);
// Sets the default window rectangle from the main screen.
platform::Rect DefaultWindowRect();
// Ends the application's process state (menus, stacks, reserve): tests.
void ApplDisposeAll();
