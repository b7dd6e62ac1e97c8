#include "transfer/modules/Module.h"

#include <vector>

#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/core/Random.h"
#include "resources/ResTypes.h"
#include "resources/ResourceApi.h"
#include "transfer/modules/ModuleCipher.h"
#include "transfer/modules/ModuleRecords.h"

namespace transfer {

namespace {

using platform::FourCC;

constexpr platform::ResType kListTypes[kModuleLists] = {FourCC("CCQz"), FourCC("FOQz"), FourCC("FIQz"),
                                                        FourCC("#GMO"), FourCC("BAQz"), FourCC("MENQ"),
                                                        FourCC("List"), FourCC("PICT"), FourCC("STQz"),
                                                        FourCC("Styl")};
constexpr int32_t kFolderList = 3;

}  // namespace

int32_t ModuleListOf(platform::ResType type)
{
    if (type == FourCC("Stlx")) return kModuleLists - 1;
    for (int32_t i = 0; i < kModuleLists; ++i)
        if (kListTypes[i] == type) return i;
    return -1;
}

platform::ResType ModuleListType(int32_t list) { return list >= 0 && list < kModuleLists ? kListTypes[list] : 0; }

}  // namespace transfer

using transfer::kModuleLists;

Module::Module()
{
    for (auto& list : fLists) list = new VArrayListOf<ObjetQz>;
}

Module::~Module()
{
    for (auto* list : fLists) delete list;
    delete fMap;
}

bool Module::Made() const
{
    for (auto* list : fLists)
        if (!list) return false;
    return true;
}

int16_t Module::Add(platform::ResType type, int16_t id, int16_t state)
{
    const int32_t l = transfer::ModuleListOf(type);
    if (l < 0 || !fLists[l]) return l < 0 ? int16_t(0) : platform::memFullErr;
    const uint32_t low = uint16_t(platform::Random());
    const uint32_t key = low + (uint32_t(uint16_t(platform::Random())) << 16);
    const int32_t before = fLists[l]->GetCount();
    ++sEdits;
    fLists[l]->Add(ObjetQz{id, state, key});
    return fLists[l]->GetCount() == before + 1 ? int16_t(0) : platform::memFullErr;
}

void Module::Remove(platform::ResType type, int16_t id)
{
    const int32_t l = transfer::ModuleListOf(type);
    if (l < 0 || !fLists[l]) return;
    for (int32_t i = 1; i <= fLists[l]->GetCount(); ++i)
        if (fLists[l]->GetNth(i).id == id) {
            ++sEdits;
            fLists[l]->DeleteNth(i, kListForget);
            return;
        }
}

bool Module::GetObj(platform::ResType type, int16_t id, ObjetQz* out) const
{
    const int32_t l = transfer::ModuleListOf(type);
    if (l < 0 || !fLists[l]) return false;
    for (int32_t i = 1; i <= fLists[l]->GetCount(); ++i) {
        const ObjetQz e = fLists[l]->GetNth(i);
        if (e.id == id) {
            *out = e;
            return true;
        }
    }
    return false;
}

uint32_t Module::Key() const
{
    const auto* name = static_cast<const char16_t*>(fName.LockAndGetCPointer());
    const auto* date = static_cast<const char16_t*>(fDate.LockAndGetCPointer());
    return transfer::ModuleRecordKey(name, fName.GetLength(), date, fDate.GetLength());
}

void Module::Shake(uint8_t* bytes, int32_t size) const
{
    if (size > 0) transfer::ModuleShake(bytes, size_t(size), Key());
}

ModuleIterator* Module::NewIterator() { return new ModuleIterator(this); }

int16_t Module::DeleteAllModuleResId(platform::ResType type)
{
    if (!fMap) return 0;
    for (int32_t i = 1; i <= fMap->GetCount();) {
        const ResIDMap row = fMap->GetNth(i);
        if (row.type != type) {
            ++i;
            continue;
        }
        // The row goes only once its resource is gone: a row left behind
        // names a resource that still exists.
        if (!rmveresbyid(type, row.newId, true) && reserr != kResNotFound) return reserr ? reserr : platform::ioErr;
        fMap->DeleteNth(i, kListForget);
    }
    return 0;
}

int16_t Module::WriteNewRes(int16_t id)
{
    std::vector<uint8_t> bytes;
    if (const int16_t err = transfer::EncodeModule(*this, false, &bytes)) return err;
    if (const int16_t err = transfer::ReplaceStoreResource(platform::FourCC("MODQ"), id, bytes)) return err;
    transfer::UpgradeCurrentFile();
    return updateres(xcurres()) ? int16_t(0) : (reserr ? reserr : platform::ioErr);
}

int16_t Module::WriteResIDMap(int16_t id, VArrayListOf<ResIDMap>* map)
{
    std::vector<uint8_t> bytes;
    if (const int16_t err = transfer::EncodeResIDMap(map, false, &bytes)) return err;
    if (const int16_t err = transfer::ReplaceStoreResource(platform::FourCC("MAPQ"), id, bytes)) return err;
    return updateres(xcurres()) ? int16_t(0) : (reserr ? reserr : platform::ioErr);
}

void Module::GetName(unsigned char* out) { fName.ToPString(out, 255, kCharSetMac); }

int32_t Module::CountEntries()
{
    int32_t n = 0;
    for (int32_t l = 0; l < kModuleLists; ++l)
        if (l != transfer::kFolderList && fLists[l]) n += fLists[l]->GetCount();
    return n;
}

bool Module::GetEntry(int32_t index, ModuleEntry* out)
{
    if (index < 1) return false;
    for (int32_t l = 0; l < kModuleLists; ++l) {
        if (l == transfer::kFolderList || !fLists[l]) continue;
        if (index <= fLists[l]->GetCount()) {
            const ObjetQz e = fLists[l]->GetNth(index);
            *out = ModuleEntry{transfer::ModuleListType(l), e.id, e.state};
            return true;
        }
        index -= fLists[l]->GetCount();
    }
    return false;
}

bool ModuleIterator::Next(platform::ResType* type, int16_t* id, int16_t* state)
{
    while (fModule && fList < kModuleLists) {
        VArrayListOf<ObjetQz>* list = fList == transfer::kFolderList ? nullptr : fModule->fLists[fList];
        if (list && fIndex < list->GetCount()) {
            const ObjetQz e = list->GetNth(++fIndex);
            *type = transfer::ModuleListType(fList);
            *id = e.id;
            *state = e.state;
            return true;
        }
        ++fList;
        fIndex = 0;
    }
    return false;
}
