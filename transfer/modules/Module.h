// One component's module record: the component's identity and, for each
// member object, its folder state and the 32-bit key of its enciphered
// resource; and the id map of its install. Stored as 'MODQ' and 'MAPQ' of
// the component's id (ModuleRecords.h has the layouts).
//
// The ten member lists hold entries by the resource type of their
// objects, in this order: 'CCQz' methods, 'FOQz' forms, 'FIQz' tables (by
// table number), '#GMO' component folders, 'BAQz' menu bars, 'MENQ'
// menus, 'List' choice lists, 'PICT' pictures, 'STQz' style sheets, and
// 'Styl' (also 'Stlx') styles.
#pragma once

#include <cstdint>

#include "design/reading/ModuleManager.h"
#include "platform/core/MacTypes.h"
#include "toolbox/foundation/VArrayList.h"
#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/VStr.h"
#include "transfer/remap/ResIDMap.h"

class TModuleObjQz;

// One member entry.
struct ObjetQz {
    int16_t id;
    int16_t state;  // 1 public, 2 protected, 3 private
    uint32_t key;
};

namespace transfer {

constexpr int16_t kModuleFormat = 769;  // records this program writes
constexpr int32_t kModuleLists = 10;
// The list of a type (0-based), -1 for a type without one.
int32_t ModuleListOf(platform::ResType type);
platform::ResType ModuleListType(int32_t list);

}  // namespace transfer

class ModuleIterator;

class Module : public VObject, public IModule {
public:
    Module();
    ~Module() override;
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    // False when a list could not be made.
    bool Made() const;

    // Appends {id, state, a key from the seeded generator} to the list of
    // the type; types without a list are ignored. -108 when the list cannot
    // grow.
    int16_t Add(platform::ResType type, int16_t id, int16_t state);
    void Remove(platform::ResType type, int16_t id);
    bool GetObj(platform::ResType type, int16_t id, ObjetQz* out) const;
    // The record key, from the name and the date.
    uint32_t Key() const;
    // Enciphers or deciphers the member lists' bytes.
    void Shake(uint8_t* bytes, int32_t size) const;
    // The entries list by list ('#GMO' left out); null when memory runs out.
    ModuleIterator* NewIterator();

    // Takes every map row of `type` out of the map, after removing the
    // resource (type, new id) from the current store file; the first
    // failure stops, its rows and those after it stay.
    int16_t DeleteAllModuleResId(platform::ResType type);
    // 'MODQ' `id` and 'MAPQ' `id` of the current store file, written anew
    // (an older one removed first); the file becomes of format 'DDUY'.
    int16_t WriteNewRes(int16_t id);
    int16_t WriteResIDMap(int16_t id, VArrayListOf<ResIDMap>* map);

    // IModule
    void GetName(unsigned char* out) override;
    TModuleObjQz* GetObject() override { return fComponent; }
    void SetObject(TModuleObjQz* obj) override { fComponent = obj; }
    int32_t CountEntries() override;
    bool GetEntry(int32_t index, ModuleEntry* out) override;

    int16_t fFormat = transfer::kModuleFormat;
    VStr<31> fName, fSecond, fDate, fVersion;
    uint32_t fVersionNb = 0;
    VStr<255> fComments;
    VStr<31> fSeventh;
    VArrayListOf<ObjetQz>* fLists[transfer::kModuleLists] = {};
    VArrayListOf<ResIDMap>* fMap = nullptr;  // the 'MAPQ' rows, or none
    TModuleObjQz* fComponent = nullptr;
    int16_t fResId = 0;

    // Counts every Add and Remove of any record, so that an index over the
    // records knows when it is out of date.
    static inline uint32_t sEdits = 0;
};

class ModuleIterator : public VObject {
public:
    explicit ModuleIterator(Module* module) : fModule(module) {}
    // The next entry and true; false at the end.
    bool Next(platform::ResType* type, int16_t* id, int16_t* state);

private:
    Module* fModule;
    int32_t fList = 0;
    int32_t fIndex = 0;  // 0-based within the list
};
