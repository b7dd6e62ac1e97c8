// The roots of the application's objects: documents own windows, windows
// own panes. Structure and library documents and the browser's panes
// derive from these in the folders that build them; the application knows
// them only through the operations below.
//
// Class numbers answer IsMember per family: documents TDocument 0,
// TClipBoard 1, TMainDoc 2, TLibDoc 3; windows TWindow 0, TClipWindow 1,
// TMainWindow 2, TRefWindow 3, TEditStrWindow 4, TEditDocWindow 5; panes
// TPlan 0, TRefPlane 1, TLstPlane 2, TCallPlane 3, TCallingPlane 4,
// TCalledPlane 5, TDisplayPlane 6, TStrPlane 7, TClipPlane 8, TDocPlane 9.
//
// Dispose of a document or window frees the object itself: nothing may
// touch it afterwards.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/MacTypes.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/events/Events.h"
#include "platform/files/FileTypes.h"
#include "platform/windows/Windows.h"

class TObject {
public:
    virtual ~TObject() = default;
    // True for this class's number or a base's; the root answers 0 only.
    virtual bool IsMember(int16_t classNumber) const { return classNumber == 0; }
};

class TAppl;
class TWindow;
class TPlan;
class TObjQz;  // a design object, built above the application
struct TypeListRec;

// A document: kept by the application in a doubly linked list, owning a
// list of windows whose head is its front window.
class TDocument : public TObject {
public:
    ~TDocument() override;

    virtual int16_t InitDocument(const unsigned char* name, TAppl* appl);
    // Closes the windows and frees the document; 1001 when it refuses.
    virtual int16_t Dispose();
    // The save question, then Dispose: 1001 when cancelled.
    virtual int16_t Close();
    virtual void SetWasModif() {}
    // Frees what can be reloaded; must not rely on allocations succeeding.
    virtual void UnLoad() {}
    virtual int16_t Read(const platform::FSSpec& fileSpec, bool remote, bool flag);
    virtual int16_t Write() { return 0; }
    virtual void AddWindow(TWindow* window);
    virtual void RemoveWindow(TWindow* window);
    virtual void SetFirstWindow(TWindow* window);
    virtual int16_t CountWindow() const;
    // Initialises `window` (already made) and adds it; `rect` moves on to
    // the place of the next window. -108, with the window deleted, when it
    // could not be made.
    virtual int16_t NewTWindow(TWindow* window, platform::Rect* rect, const unsigned char* title, bool visible,
                               int16_t kind);
    virtual void SelectTDocument();
    virtual void MakeActive();
    virtual void MakeInActive();
    virtual void IdleDoc() {}
    virtual void GetDocName(unsigned char* name) const;
    virtual int16_t GetDocVol() const { return fVRefNum; }
    virtual bool Visible() const;
    virtual bool IsModuleDoc() const { return false; }
    virtual int16_t Do_If_MyFunc(int16_t command);
    virtual int16_t Failed_Func(int16_t command);
    virtual int16_t Do_Func(int16_t command);

    // Structure documents: every list redraws; a new browser window.
    virtual void UpdateAll() {}
    virtual int16_t NewRefWindow(platform::Rect* rect, int16_t flag, int16_t layout, int16_t filter, int16_t option)
    {
        (void)rect, (void)flag, (void)layout, (void)filter, (void)option;
        return 0;
    }
    // The browser windows take numbers again after one of them closed.
    virtual void RenumberRefWindows() {}
    // The private clipboard.
    virtual void Show() {}
    virtual void Hide() {}
    // The private clipboard's exchange with the system scrap: takes `size`
    // bytes of `type` from `data`; answers its own data of `type` into
    // `data` with its length (0: none).
    virtual int16_t GetPrivateScrap(platform::Handle data, uint32_t type, int32_t unused, int32_t size)
    {
        (void)data, (void)type, (void)unused, (void)size;
        return 0;
    }
    virtual int16_t PutPrivateScrap(int32_t* length, uint32_t type, platform::Handle data)
    {
        (void)type, (void)data;
        *length = 0;
        return 0;
    }

    TDocument* fNext = nullptr;
    TDocument* fPrev = nullptr;
    TWindow* fFirstWindow = nullptr;
    TAppl* fAppl = nullptr;
    platform::Str255 fName{};
    platform::Str255 fPathName{};  // in front of the name in browser titles
    platform::FSSpec fSpec;
    int16_t fVRefNum = 32767;
    int32_t fDirID = 32767;
    int16_t fFileNum = 0;        // the remote structure's file
    bool fRemote = false;        // opened from a database server
    bool fModified = false;
    bool fBadParse = false;      // some method text could not be parsed
    // Read only: the list panes keep their text, layout and group commands
    // off and show drop targets grey. Clear unless set.
    bool fReadOnly = false;
    int16_t fResFile = -1;       // the store file the document reads
    bool fResChanged = false;    // the store changed one of its resources
};

// A pane of a window. Live panes are known, so that a command posted for one
// can tell whether it still exists. The operations of the pane families
// are here with answers of a pane that has none of them.
class TPlan : public TObject {
public:
    TPlan();
    ~TPlan() override;

    virtual bool IsSelection() { return false; }
    virtual int16_t Do_Func(int16_t command) { (void)command; return -1; }
    // Frees the pane.
    virtual void Dispose() { delete this; }
    virtual void MakeActive() {}
    virtual void MakeInActive() {}
    virtual void Resize() {}
    virtual void SelectPlane() {}
    virtual void DeSelectPlane() {}
    virtual void update() {}
    virtual bool DragCell(platform::Point where) { (void)where; return false; }
    virtual bool Click(platform::Point where, int16_t word) { (void)where, (void)word; return false; }
    virtual void key(const platform::EventRecord& event) { (void)event; }
    virtual bool Idle() { return false; }
    virtual void UpdateAll() {}
    virtual void RazAll(platform::Handle list, bool flag) { (void)list, (void)flag; }
    virtual void UpdateList() {}

    // Browser panes. ITPlane takes a pane's 'WNDD' record from its
    // rectangle on, and for the list pane the document's type list.
    virtual int16_t ITPlane(const platform::Rect& rect, TWindow* window, TypeListRec* typeList,
                            const uint8_t* record, int32_t length)
    {
        (void)rect, (void)window, (void)typeList, (void)record, (void)length;
        return 0;
    }
    // The current filter id (the list is not refilled); SetDfltFilter makes
    // it current and refills the list; AddMenuFilter offers a filter.
    virtual void SetFilter(int16_t id) { (void)id; }
    virtual void SetDfltFilter(int16_t id) { (void)id; }
    virtual void AddMenuFilter(int16_t id) { (void)id; }
    // Three pairs of a 'WNDD' kind and a pane: a non-zero kind stands for a
    // pane of another browser window (the pane is then null).
    virtual void SetLinks(int16_t kind1, TPlan* pane1, int16_t kind2, TPlan* pane2, int16_t kind3, TPlan* pane3)
    {
        (void)kind1, (void)pane1, (void)kind2, (void)pane2, (void)kind3, (void)pane3;
    }
    virtual void ShowObject(TObjQz* obj) { (void)obj; }
    virtual int16_t Output(bool flag) { (void)flag; return 0; }
    virtual int16_t Search() { return 0; }
    virtual int16_t MoveQzObj(TDocument* doc, int16_t option) { (void)doc, (void)option; return 0; }
    virtual platform::Handle GetList() { return nullptr; }
    virtual int16_t GetFilter() const { return 128; }
    virtual void CopyList(platform::Handle list) { (void)list; }
    virtual void SelectObj(TObjQz* obj) { (void)obj; }
    virtual void SetList(platform::Handle filter, platform::Handle list) { (void)filter, (void)list; }
    virtual void SetObj(TObjQz* obj) { (void)obj; }
    virtual void DelObjMsg(TObjQz* obj) { (void)obj; }
    // The clipboard pane: forgets the picture it shows.
    virtual void erase() {}
    // Editor panes: store their text; whether it changed.
    virtual int16_t Write(bool flag) { (void)flag; return 0; }
    virtual bool Modified() const { return false; }
    // Editor panes: the text as typed, saved or not (Mac Roman; a list's
    // strings each followed by a CR).
    virtual std::string TypedText() const { return {}; }

    TPlan* fNext = nullptr;
    TPlan* fPrev = nullptr;
    TWindow* fWindow = nullptr;
    int16_t fKind = 0;  // list and preview panes: their window's 'WNDD' kind
};

// A window object: the platform window's reference constant points at it.
class TWindow : public TObject {
public:
    TWindow();
    ~TWindow() override;

    virtual int16_t WindowSet(int16_t word, TDocument* doc);
    // 0, or -108 when no platform window could be made.
    virtual int16_t ITWindow(const unsigned char* title, const platform::Rect& rect, bool visible, int16_t word,
                             TDocument* doc, int16_t kind);
    // Frees the panes, the platform window and the object.
    virtual void Dispose();
    virtual void DelMenuWindow() {}
    virtual int16_t Close();
    virtual void AddPlane(TPlan* pane);
    virtual void RemovePlane(TPlan* pane);
    virtual void SetFirstPlane(TPlan* pane);
    virtual bool IsSelection();
    virtual bool EmptyClipBoard();
    virtual void doCut();
    virtual void DoCopy();
    virtual void doPaste();
    virtual void doClear();
    virtual void UndoCut();
    virtual void UndoCopy();
    virtual void UndoPaste();
    virtual void UndoClear();
    virtual void UndoKey();
    virtual void RedoCut();
    virtual void RedoCopy();
    virtual void RedoPaste();
    virtual void RedoClear();
    virtual void RedoKey();
    virtual void Undo();
    virtual void MakeActive();
    virtual void MakeInActive();
    virtual bool DragCell(platform::Point where);
    // Finishes a drop of objects on `pane` of this window (the rest of the
    // arguments are on the argument stack).
    virtual int16_t GetDragObj(TPlan* pane) { (void)pane; return 0; }
    virtual void Click(const platform::EventRecord& event, int16_t word);
    virtual void key(const platform::EventRecord& event);
    virtual void update(const platform::EventRecord& event);
    virtual void DrawContent();
    virtual int16_t GetMinWWide() const { return 200; }
    virtual int16_t GetMinWHeight() const { return 200; }
    virtual void WindEraseGrowIcon();
    virtual void WindDrawGrowIcon();
    virtual void WDrawControls() {}
    virtual void WHiliteControls(int16_t state);
    virtual void WKillControls() {}
    virtual void Activate(const platform::EventRecord& event);
    virtual void grow(const platform::EventRecord& event);
    virtual void SelectTWindow();
    virtual void Drag(const platform::EventRecord& event);
    virtual bool visible() const;
    virtual void SwapShowHide(bool show);
    virtual void Show();
    virtual void Hide();
    virtual void Resize();
    virtual void Zoom(const platform::EventRecord& event, int16_t part);
    virtual void Idle(const platform::EventRecord& event);
    virtual void EditDoc() {}
    // The object is about to be freed: the window keeps nothing of it.
    virtual void DelObjMsg(TObjQz* obj) { (void)obj; }
    virtual int16_t Do_If_MyFunc(int16_t command);
    virtual int16_t Do_Func(int16_t command);
    virtual void SetEditMenu();
    virtual void GetTitle(unsigned char* title) const;
    virtual void SetTitle(const unsigned char* title);

    // The first pane of a class, null when none.
    TPlan* FindPlane(int16_t classNumber) const;

    TWindow* fNextWindow = nullptr;
    TWindow* fPrevWindow = nullptr;
    TPlan* fFirstPlane = nullptr;
    platform::WindowRef fWindow = nullptr;
    platform::Handle fUndo = nullptr;
    TDocument* fDoc = nullptr;

protected:
    // Sets the undo code (also as the menu text) and applies `op` to a
    // dialog's editable text.
    void EditStep(int16_t code, void (*op)(platform::DialogRef));
    // The grow size limits of this window.
    platform::Rect GrowLimits() const;
    // Size changed by grow or zoom: redraw, and no update event follows.
    void AfterResize();
};

// The window object of a platform window, or null (dialogs, other windows).
TWindow* GetTWindow(platform::WindowRef window);
// Whether `pane` is a live pane whose window is still open.
bool IsLivePane(const TPlan* pane);
// Whether `window` is a live window object.
bool IsLiveWindow(const TWindow* window);
