// The module manager of an open structure or library: its component
// records, read when the document is read, and the answers every reader
// asks of them: an object's state (0 not in a component, 1 public, 2
// protected, 3 private), whether it is listed (Visible) and shown
// (Viewable), and the key of its enciphered resource. It is the store's
// key source for its document's file, so that the store deciphers a
// member's resource with that member's key.
//
// Tables are named by their number in the member lists: a table's state
// and key are looked up by its position in 'PRQz' 0, methods through the
// method-id table when one is set.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "design/reading/ModuleManager.h"
#include "platform/core/MacTypes.h"
#include "resources/ResKeySource.h"
#include "toolbox/foundation/VArrayList.h"
#include "toolbox/foundation/VObject.h"
#include "transfer/modules/Module.h"

class TMainDoc;

class ModuleMgr : public VObject, public IModuleManager {
public:
    explicit ModuleMgr(TMainDoc* doc);
    ~ModuleMgr() override;
    ModuleMgr(const ModuleMgr&) = delete;
    ModuleMgr& operator=(const ModuleMgr&) = delete;

    // Reads every record of the document's file, checks its enciphered
    // resources against their states (every 'CCQz', or with `allTypes`
    // every resource) and becomes the file's key source: 0; 1 or 2 a
    // record unreadable or of a newer format (loading stops there, the
    // records before stay); 3 the resources disagree with the records (the
    // components must be removed); -108 when memory runs out.
    int16_t LoadModules(int16_t allTypes) override;
    // Removes every 'MODQ' and 'MAPQ' of the document's file.
    int16_t RemoveModules() override;
    int32_t CountModules() override;
    IModule* GetModule(int32_t index) override;
    IModule* GetNamedModule(const unsigned char* name) override;
    int16_t GetObjState(uint32_t type, int16_t id) override;
    uint32_t GetObjKey(uint32_t type, int16_t id) override;
    bool Visible(uint32_t type, int16_t id) override;
    bool Viewable(uint32_t type, int16_t id) override;
    // The component's members and the component leave the document
    // (transfer::M_UnInstall).
    int16_t UnInstall(TModuleObjQz* component) override;

    // The record with an entry (type, id), 'CCQz' ids translated through
    // the method-id table; null when none. Fills the one-entry cache.
    Module* GetObj(uint32_t type, int16_t id);
    uint32_t GetKey(uint32_t type, int16_t id) { return GetObjKey(type, id); }
    Module* GetModule(TModuleObjQz* component);
    Module* GetNamedRecord(const unsigned char* name);
    Module* RecordAt(int32_t index);  // 1-based
    // The list takes the record (and owns it); -108 when it cannot grow.
    int16_t AddModuleToList(Module* module);
    // The list's first entry of that record leaves (the caller owns it).
    void DeleteModuleFromList(Module* module);
    // The index of the project methods that are listed, and bit 0 of the
    // flag word of the others' directory records.
    void SetTabIndex();
    // The tables' numbers read again from 'PRQz' 0 (tables copied in since
    // the read have theirs): 0 or -108.
    int16_t ReadTableIds();
    // The store deciphers and enciphers the document's file with this
    // manager's keys.
    void BecomeKeySource();

    // Every object counts as listed (tests; the program leaves it off).
    void SetShowEverything(bool on) { fShowAll = on; }
    // Method ids by position: 'CCQz' id n stands for entry n - 1.
    void SetMethodIds(const std::vector<int16_t>& ids);

private:
    class Keys : public ResKeySource {
    public:
        explicit Keys(ModuleMgr* mgr) : fMgr(mgr) {}
        uint32_t GetKey(platform::ResType type, int16_t id) override { return fMgr->GetObjKey(type, id); }

    private:
        ModuleMgr* fMgr;
    };
    struct Cache {
        bool valid = false;
        uint32_t type = 0;
        int16_t id = 0;
        int16_t state = 0;
        uint32_t key = 0;
        Module* found = nullptr;
    };

    // A table's resource id made its number (position in 'PRQz' 0); other
    // ids unchanged.
    int16_t ListId(uint32_t type, int16_t id) const;
    const Cache& Lookup(uint32_t type, int16_t id);
    void Forget()
    {
        fCache.valid = false;
        fIndexed = false;
    }
    // The first entry of every (type, id) in record order: a look-up costs
    // the same however many components and members there are.
    bool Index();
    int16_t CheckEnciphered(bool allTypes);
    int16_t ReadRecords();
    void DropAfter(int32_t count);

    TMainDoc* fDoc;
    int16_t fFile;
    VArrayListOf<Module*>* fModules;
    bool fShowAll = false;
    Cache fCache;
    std::vector<int16_t> fMethodIds;
    std::vector<int16_t> fTableIds;  // 'PRQz' 0's table ids, by number
    struct Place {
        Module* module;
        int32_t position;  // 1-based in its list
    };
    std::unordered_map<uint64_t, Place> fIndex;
    bool fIndexed = false;
    uint32_t fIndexedEdits = 0;
    Keys fKeys{this};
};

// The index SetTabIndex builds: the 1-based positions in 'TPQz' 0 of the
// project methods that are listed.
const std::vector<int16_t>& VisibleMethodIndex();
