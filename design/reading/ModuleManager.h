// The component (module) manager of a structure or library, and the trace
// log around a document's read, as the design objects see them. The
// transfer folder, above this one, builds the real manager and log and
// installs them with SetModuleHooks at start-up. Until then every document
// gets the stand-in: no component records (LoadModules answers 0), every
// object in state 0, nothing to uninstall, and a log that writes nothing.
//
// A document owns its manager (TMainDoc::fModuleManager) and deletes it
// with DisposeModuleMgr.
#pragma once

#include <cstdint>

class TMainDoc;
class TModuleObjQz;

// One entry of an installed component: an object by its own resource type
// and id, and the folder state it belongs to (1 public, 2 protected,
// 3 private).
struct ModuleEntry {
    uint32_t type = 0;
    int16_t id = 0;
    int16_t state = 0;
};

// One component record ('MODQ' and 'MAPQ' of the component's id).
class IModule {
public:
    virtual ~IModule() = default;
    virtual void GetName(unsigned char* out) = 0;
    // The component's design object, once a read has found it.
    virtual TModuleObjQz* GetObject() = 0;
    virtual void SetObject(TModuleObjQz* obj) = 0;
    // Entries, 1-based; false past the last.
    virtual int32_t CountEntries() = 0;
    virtual bool GetEntry(int32_t index, ModuleEntry* out) = 0;
};

class IModuleManager {
public:
    virtual ~IModuleManager() = default;
    // 0 loaded; 1 or 2 records unreadable; 3 components must be removed.
    virtual int16_t LoadModules(int16_t flag) = 0;
    virtual int16_t RemoveModules() = 0;
    // Components, 1-based.
    virtual int32_t CountModules() = 0;
    virtual IModule* GetModule(int32_t index) = 0;
    virtual IModule* GetNamedModule(const unsigned char* name) = 0;
    // 0 to 3: the state of an object of an installed component.
    virtual int16_t GetObjState(uint32_t type, int16_t id) = 0;
    // The key of an object's enciphered resource; 0 for none.
    virtual uint32_t GetObjKey(uint32_t type, int16_t id)
    {
        (void)type, (void)id;
        return 0;
    }
    // Listed at all: every state but 3 (private).
    virtual bool Visible(uint32_t type, int16_t id) { return GetObjState(type, id) != 3; }
    // Its contents may be shown: states 0 and 1.
    virtual bool Viewable(uint32_t type, int16_t id)
    {
        const int16_t state = GetObjState(type, id);
        return state == 0 || state == 1;
    }
    // Takes the component and its objects out of the structure.
    virtual int16_t UnInstall(TModuleObjQz* component) = 0;
};

struct ModuleHooks {
    // A new manager for the document; null when memory runs out.
    IModuleManager* (*newManager)(TMainDoc* doc) = nullptr;
    void (*logOpen)() = nullptr;
    void (*logClose)() = nullptr;
    void (*logWrite)(const char* format, const unsigned char* text) = nullptr;
};
void SetModuleHooks(const ModuleHooks& hooks);
void ResetModuleHooks();

// The installed manager's, else the stand-in.
IModuleManager* NewModuleMgr(TMainDoc* doc);
void DisposeModuleMgr(IModuleManager* manager);
int16_t ModuleMgr_GetObjState(IModuleManager* manager, uint32_t type, int16_t id);
// The document's manager uninstalls the component; -1 without a manager.
int16_t M_UnInstall(TModuleObjQz* component);

void DebugLog_Open();
void DebugLog_Close();
// `format` holds one %s, replaced by the text.
void DebugLog_WritePStr(const char* format, const unsigned char* text);
