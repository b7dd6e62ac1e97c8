#include "transfer/modules/ModuleMgr.h"

#include <algorithm>
#include <new>

#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "design/documents/OpenQzB.h"
#include "design/objects/Groups.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResourceApi.h"
#include "transfer/components/ComponentCommands.h"
#include "transfer/modules/ModuleRecords.h"

namespace {

using platform::FourCC;

std::vector<int16_t> gVisibleMethods;

// Makes the document's file current for a while.
class UseFile {
public:
    explicit UseFile(int16_t file) : saved_(xcurres()) { useres(file); }
    ~UseFile() { useres(saved_); }
    UseFile(const UseFile&) = delete;
    UseFile& operator=(const UseFile&) = delete;

private:
    int16_t saved_;
};

CPseudoResFile* StoreFile(int16_t file) { return g_resManager && file > 0 ? g_resManager->FindFile(file) : nullptr; }

constexpr int32_t kMethodRecord = 44;
constexpr int32_t kTableIdsAt = 78, kTableEntry = 14;

}  // namespace

const std::vector<int16_t>& VisibleMethodIndex() { return gVisibleMethods; }

ModuleMgr::ModuleMgr(TMainDoc* doc)
    : fDoc(doc), fFile(doc ? doc->fResFile : int16_t(-1)), fModules(new VArrayListOf<Module*>)
{
}

ModuleMgr::~ModuleMgr()
{
    if (CPseudoResFile* f = StoreFile(fFile))
        if (f->ComponentMgr() == &fKeys) f->SetComponentMgr(nullptr);
    for (int32_t i = 1; fModules && i <= fModules->GetCount(); ++i) delete fModules->GetNth(i);
    delete fModules;
    gVisibleMethods.clear();
}

int16_t ModuleMgr::ReadRecords()
{
    const platform::ResType modq = FourCC("MODQ"), mapq = FourCC("MAPQ");
    std::vector<int16_t> ids;
    const int16_t count = compteres(modq, true);
    if (reserr == platform::memFullErr) return platform::memFullErr;
    for (int32_t i = 1; i <= count; ++i) {
        int16_t id = 0;
        xiscryptedindres(modq, i, &id);
        if (reserr == platform::memFullErr) return platform::memFullErr;
        if (reserr == 0) ids.push_back(id);
    }
    for (int16_t id : ids) {
        platform::Handle record = xgetres(modq, id, true);
        if (!record) return reserr == platform::memFullErr ? platform::memFullErr : int16_t(1);
        // The map comes from the store, which may move the record's block:
        // both are copied before either is read.
        const std::vector<uint8_t> modqBytes(reinterpret_cast<uint8_t*>(*record),
                                             reinterpret_cast<uint8_t*>(*record) + platform::GetHandleSize(record));
        std::vector<uint8_t> mapqBytes;
        platform::Handle map = xgetres(mapq, id, true);
        if (!map && reserr == platform::memFullErr) return platform::memFullErr;
        if (map)
            mapqBytes.assign(reinterpret_cast<uint8_t*>(*map),
                             reinterpret_cast<uint8_t*>(*map) + platform::GetHandleSize(map));
        auto* module = new Module;
        if (!module) return platform::memFullErr;
        const int16_t err = transfer::ReadModule(modqBytes.data(), int32_t(modqBytes.size()),
                                                 map ? mapqBytes.data() : nullptr, int32_t(mapqBytes.size()), module);
        if (err == 0) module->fResId = id;
        if (err != 0 || AddModuleToList(module) != 0) {
            delete module;
            return err ? err : platform::memFullErr;
        }
    }
    return 0;
}

int16_t ModuleMgr::CheckEnciphered(bool allTypes)
{
    std::vector<platform::ResType> types;
    if (allTypes) {
        const int32_t n = comptetypes();
        for (int32_t t = 1; t <= n; ++t) types.push_back(xgetindtyp(t));
    } else if (GetDBType(fFile) == 0) {
        // A compiled database runs its compiled code, not these methods.
        types.push_back(FourCC("CCQz"));
    }
    if (reserr == platform::memFullErr) return platform::memFullErr;
    int16_t result = 0;
    for (platform::ResType type : types) {
        const int16_t n = compteres(type, true);
        for (int32_t i = 1; i <= n; ++i) {
            int16_t id = 0;
            const bool enciphered = xiscryptedindres(type, i, &id);
            if (reserr == platform::memFullErr) return platform::memFullErr;
            if (enciphered == Viewable(type, id)) result = 3;
        }
    }
    return result;
}

int16_t ModuleMgr::LoadModules(int16_t allTypes)
{
    if (!fModules) return platform::memFullErr;
    const int32_t before = CountModules();
    int16_t result = 0;
    try {
        UseFile current(fFile);
        if (ReadTableIds() != 0) return platform::memFullErr;
        result = ReadRecords();
        CPseudoResFile* file = StoreFile(fFile);
        if (result == 0 && file && file->IsLocal()) result = CheckEnciphered(allTypes != 0);
        if (result == 0 || result == 3) {
            SetTabIndex();
            if (file) file->SetComponentMgr(&fKeys);
        }
    } catch (const std::bad_alloc&) {
        result = platform::memFullErr;
    }
    // A shortage leaves the list as it was: the read fails, and nothing
    // half loaded answers for it.
    if (result == platform::memFullErr) DropAfter(before);
    return result;
}

int16_t ModuleMgr::ReadTableIds()
{
    UseFile current(fFile);
    Forget();
    fTableIds.clear();
    if (platform::Handle param = xget1res(FourCC("PRQz"), 0)) {
        const auto* p = reinterpret_cast<const uint8_t*>(*param);
        const int32_t size = platform::GetHandleSize(param);
        const int32_t count = size >= 2 ? platform::ReadBES16(p) : 0;
        // Rows past the resource's end are not there.
        for (int32_t n = 1; n <= count && kTableIdsAt + kTableEntry * (n - 1) + 2 <= size; ++n)
            fTableIds.push_back(platform::ReadBES16(p + kTableIdsAt + kTableEntry * (n - 1)));
    } else if (reserr == platform::memFullErr) {
        return platform::memFullErr;
    }
    return 0;
}

void ModuleMgr::BecomeKeySource()
{
    if (CPseudoResFile* file = StoreFile(fFile)) file->SetComponentMgr(&fKeys);
}

void ModuleMgr::DropAfter(int32_t count)
{
    while (CountModules() > count) {
        Module* last = fModules->GetNth(fModules->GetCount());
        fModules->DeleteNth(fModules->GetCount(), kListForget);
        delete last;
    }
    Forget();
}

int16_t ModuleMgr::RemoveModules()
{
    UseFile current(fFile);
    for (platform::ResType type : {FourCC("MODQ"), FourCC("MAPQ")}) {
        while (compteres(type, true) > 0) {
            int16_t id = 0;
            xiscryptedindres(type, 1, &id);
            if (reserr != 0 || !rmveresbyid(type, id, true)) return reserr ? reserr : platform::ioErr;
        }
        if (reserr != 0) return reserr;
    }
    Forget();
    return 0;
}

int32_t ModuleMgr::CountModules() { return fModules ? fModules->GetCount() : 0; }

Module* ModuleMgr::RecordAt(int32_t index)
{
    return fModules && index >= 1 && index <= fModules->GetCount() ? fModules->GetNth(index) : nullptr;
}

IModule* ModuleMgr::GetModule(int32_t index) { return RecordAt(index); }

Module* ModuleMgr::GetNamedRecord(const unsigned char* name)
{
    VStr<255> wanted;
    wanted.FromMacPString(name);
    const int32_t length = wanted.GetLength();
    const auto* units = static_cast<const char16_t*>(wanted.LockAndGetCPointer());
    for (int32_t i = 1; i <= CountModules(); ++i) {
        Module* m = fModules->GetNth(i);
        if (m->fName.GetLength() != length) continue;
        const auto* own = static_cast<const char16_t*>(m->fName.LockAndGetCPointer());
        if (std::equal(units, units + length, own)) return m;
    }
    return nullptr;
}

IModule* ModuleMgr::GetNamedModule(const unsigned char* name) { return GetNamedRecord(name); }

Module* ModuleMgr::GetModule(TModuleObjQz* component)
{
    for (int32_t i = 1; i <= CountModules(); ++i)
        if (fModules->GetNth(i)->fComponent == component) return fModules->GetNth(i);
    return nullptr;
}

int16_t ModuleMgr::AddModuleToList(Module* module)
{
    if (!fModules) return platform::memFullErr;
    const int32_t before = fModules->GetCount();
    fModules->Add(module);
    Forget();
    return fModules->GetCount() == before + 1 ? int16_t(0) : platform::memFullErr;
}

void ModuleMgr::DeleteModuleFromList(Module* module)
{
    if (!fModules) return;
    const int32_t at = fModules->FindPos(module);
    if (at > 0) fModules->DeleteNth(at, kListForget);
    Forget();
}

void ModuleMgr::SetMethodIds(const std::vector<int16_t>& ids)
{
    fMethodIds = ids;
    Forget();
}

bool ModuleMgr::Index()
{
    if (fIndexed && fIndexedEdits == Module::sEdits) return true;
    fIndexed = false;
    try {
        fIndex.clear();
        for (int32_t i = 1; i <= CountModules(); ++i) {
            Module* m = fModules->GetNth(i);
            for (int32_t l = 0; l < transfer::kModuleLists; ++l) {
                VArrayListOf<ObjetQz>* list = m->fLists[l];
                // 'Styl' and 'Stlx' share one list.
                const uint32_t type = transfer::ModuleListType(l);
                for (int32_t n = 1; list && n <= list->GetCount(); ++n) {
                    const uint64_t key = uint64_t(type) << 16 | uint16_t(list->GetNth(n).id);
                    fIndex.emplace(key, Place{m, n});
                }
            }
        }
    } catch (const std::bad_alloc&) {
        fIndex.clear();
        return false;
    }
    fIndexed = true;
    fIndexedEdits = Module::sEdits;
    return true;
}

Module* ModuleMgr::GetObj(uint32_t type, int16_t id)
{
    if (type == FourCC("CCQz") && id >= 1 && size_t(id) <= fMethodIds.size()) id = fMethodIds[size_t(id - 1)];
    Module* found = nullptr;
    ObjetQz entry{0, 0, 0};
    const int32_t l = transfer::ModuleListOf(type);
    if (l >= 0 && Index()) {
        auto it = fIndex.find(uint64_t(transfer::ModuleListType(l)) << 16 | uint16_t(id));
        if (it != fIndex.end()) {
            found = it->second.module;
            entry = found->fLists[l]->GetNth(it->second.position);
        }
    } else if (l >= 0) {
        // No memory for the index: the records one by one.
        for (int32_t i = 1; !found && i <= CountModules(); ++i)
            if (fModules->GetNth(i)->GetObj(type, id, &entry)) found = fModules->GetNth(i);
    }
    fCache.found = found;
    fCache.state = found ? entry.state : int16_t(0);
    fCache.key = found ? entry.key : 0;
    return found;
}

int16_t ModuleMgr::ListId(uint32_t type, int16_t id) const
{
    if (type != FourCC("FIQz")) return id;
    for (size_t n = 0; n < fTableIds.size(); ++n)
        if (fTableIds[n] == id) return int16_t(n + 1);
    return id;
}

const ModuleMgr::Cache& ModuleMgr::Lookup(uint32_t type, int16_t id)
{
    if (fCache.valid && fCache.type == type && fCache.id == id) return fCache;
    GetObj(type, ListId(type, id));
    fCache.valid = true;
    fCache.type = type;
    fCache.id = id;
    return fCache;
}

int16_t ModuleMgr::GetObjState(uint32_t type, int16_t id) { return Lookup(type, id).state; }

uint32_t ModuleMgr::GetObjKey(uint32_t type, int16_t id)
{
    const Cache& c = Lookup(type, id);
    return c.found && c.found->fFormat >= transfer::kModuleFormat ? c.key : 0;
}

bool ModuleMgr::Visible(uint32_t type, int16_t id) { return fShowAll || GetObjState(type, id) != 3; }

bool ModuleMgr::Viewable(uint32_t type, int16_t id)
{
    const int16_t state = GetObjState(type, id);
    return state == 0 || state == 1;
}

int16_t ModuleMgr::UnInstall(TModuleObjQz* component) { return transfer::M_UnInstall(component); }

void ModuleMgr::SetTabIndex()
{
    gVisibleMethods.clear();
    UseFile current(fFile);
    platform::Handle dir = xget1res(FourCC("TPQz"), 0);
    if (!dir) return;
    const int32_t records = int32_t(platform::GetHandleSize(dir) / kMethodRecord);
    for (int32_t i = 0; i < records; ++i) {
        auto* r = reinterpret_cast<uint8_t*>(*dir) + kMethodRecord * i;
        if (Visible(FourCC("CCQz"), platform::ReadBES16(r + 32)))
            gVisibleMethods.push_back(int16_t(i + 1));
        else
            platform::WriteBE16(r + 34, uint16_t(platform::ReadBE16(r + 34) | 1));
    }
}
