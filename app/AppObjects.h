// The roots of the application's objects and the abstract documents, windows
// and panes the spine drives. The concrete classes (structure and library
// documents, browser and editor windows, the browser's panes) derive from
// these in the folders that build them; the spine knows them only through
// the operations below.
//
// Class numbers answer IsMember per family: documents TDocument 0,
// TClipBoard 1, TMainDoc 2, TLibDoc 3; windows TWindow 0, TClipWindow 1,
// TMainWindow 2, TRefWindow 3, TEditStrWindow 4, TEditDocWindow 5.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/events/Events.h"
#include "platform/windows/Windows.h"

class TObject {
public:
    virtual ~TObject() = default;
    // True for this class's number or a base's; the root answers 0 only.
    virtual bool IsMember(int16_t classNumber) const { return classNumber == 0; }
};

class TWindow;
class TPlan;

// A document: kept by the application in a doubly linked list.
class TDocument : public TObject {
public:
    ~TDocument() override;
    virtual int16_t Do_Func(int16_t command) { (void)command; return -1; }
    virtual void IdleDoc() {}
    // Frees what can be reloaded; must not rely on allocations succeeding.
    virtual void UnLoad() {}
    virtual void UpdateAll() {}
    virtual bool Visible() const { return false; }
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
    bool fRemote = false;        // opened from a database server
    int16_t fResFile = -1;       // the store file the document reads
    bool fResChanged = false;    // the store changed one of its resources
};

// A window object: the platform window's reference constant points at it.
class TWindow : public TObject {
public:
    TWindow();
    ~TWindow() override;
    virtual int16_t Do_Func(int16_t command) { (void)command; return -1; }
    virtual void Click(const platform::EventRecord& event, int16_t clickCount) { (void)event, (void)clickCount; }
    virtual void key(const platform::EventRecord& event) { (void)event; }
    virtual void update(const platform::EventRecord& event) { (void)event; }
    virtual void Activate(const platform::EventRecord& event) { (void)event; }
    virtual void Idle(const platform::EventRecord& event) { (void)event; }
    virtual void Drag(const platform::EventRecord& event);
    virtual void grow(const platform::EventRecord& event) { (void)event; }
    virtual void Zoom(const platform::EventRecord& event, int16_t part) { (void)event, (void)part; }
    virtual int16_t Close() { return 0; }
    // Finishes a drop of objects on `pane` of this window (the rest of the
    // arguments are on the argument stack).
    virtual int16_t GetDragObj(TPlan* pane) { (void)pane; return 0; }

    platform::WindowRef fWindow = nullptr;
    TDocument* fDoc = nullptr;
};

// A pane of a window. Live panes are known, so that a command posted for one
// can tell whether it still exists.
class TPlan : public TObject {
public:
    TPlan();
    ~TPlan() override;
    TWindow* fWindow = nullptr;
};

// The window object of a platform window, or null (dialogs, other windows).
TWindow* GetTWindow(platform::WindowRef window);
// Whether `pane` is a live pane whose window is still open.
bool IsLivePane(const TPlan* pane);
