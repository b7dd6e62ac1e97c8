#include "toolbox/drawing/VDesignResFile.h"

#include <cstring>

#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "toolbox/drawing/VMacResFile.h"
#include "toolbox/foundation/VArrayNumber.h"
#include "toolbox/foundation/VArrayString.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VText.h"

void V_CountResources(parm*, uint8_t) {}
void V_GetResourceInfo(parm*, uint8_t) {}
void V_SetResourceName(parm*, uint8_t) {}
void V_DeleteResource(parm*, uint8_t) {}
void V_GetResource(parm*, uint8_t) {}
void V_GetIndexedResource(parm*, uint8_t) {}
void V_GetResourceIDsList(parm*, uint8_t) {}
void V_GetResourceNamesList(parm*, uint8_t) {}

namespace {

constexpr int32_t kNameRecordSize = 32;
constexpr int32_t kShortNameLength = 80;

void Send(int16_t selector, parm& block)
{
    if (gCallQz) gCallQz(selector, &block);
}

// A length-prefixed name of at most max characters, in Mac characters.
void PutName(unsigned char* dst, const VString& name, int32_t max) { name.ToPString(dst, max, kCharSetMac); }

void PutName(unsigned char* dst, const uint8_t* name, int32_t max)
{
    const int32_t n = name ? (name[0] < max ? name[0] : max) : 0;
    dst[0] = uint8_t(n);
    if (n) std::memcpy(dst + 1, name + 1, size_t(n));
}

void PutCName(unsigned char* dst, const char* name, int32_t max)
{
    int32_t n = 0;
    while (name && n < max && name[n] != 0) ++n;
    dst[0] = uint8_t(n);
    if (n) std::memcpy(dst + 1, name, size_t(n));
}

int32_t Size(platform::Handle h) { return h ? int32_t(platform::GetHandleSize(h)) : 0; }

}  // namespace

VDesignResFile::VDesignResFile()
{
    parm block;
    // A host that does not answer names no file.
    block.resFile0 = -1;
    block.resFile2 = -1;
    Send(kSelDesignOpenFile, block);
    fDesignRef = block.resFile0;
    fSecondRef = block.resFile2;
}

VDesignResFile::~VDesignResFile()
{
    if (fOpenedItself && !NoFile()) {
        parm block = Block();
        Send(kSelDesignCloseFile, block);
        if (fSecondRef != -1) platform::CloseResFile(fSecondRef);
    }
    fHeld.Destroy(kListForget);
}

parm VDesignResFile::Block() const
{
    parm block;
    block.resFile0 = fDesignRef;
    return block;
}

char** VDesignResFile::Fetch(parm& block, void (*hook)(parm*, uint8_t), uint8_t* loaded)
{
    block.flag8 = loaded != nullptr ? 1 : 0;
    hook(&block, 1);
    char** handle = block.slot266.Ptr<char*>();
    if (loaded) {
        *loaded = block.flag8;
        if (*loaded == 0 && handle && fHeld.FindPos(handle) == 0) fHeld.AddTail(handle);
    }
    return handle;
}

int16_t VDesignResFile::CreateResource(uint32_t type, int16_t id, const VString* name, const void* data,
                                       int32_t size)
{
    if (NoFile()) return -1;
    platform::Handle copy = platform::NewHandle(size < 0 ? 0 : size);
    if (!copy) return -1;
    if (size > 0) {
        if (data)
            std::memcpy(*copy, data, size_t(size));
        else
            std::memset(*copy, 0, size_t(size));
    }
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    block.slot276.SetLong(id);
    block.flag8 = id == -1 ? 1 : 0;
    if (name) PutName(block.name10, *name, kShortNameLength);
    block.slot266.SetPtr(copy);
    Send(kSelDesignCreateResource, block);
    if (block.error270 != 0) {
        platform::DisposeHandle(copy);
        return -1;
    }
    return int16_t(block.slot276.Long());
}

bool VDesignResFile::DeleteResource(uint32_t type, const VString& name)
{
    if (NoFile()) return false;
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    PutName(block.name10, name, 255);
    V_DeleteResource(&block, 1);
    return block.error270 == 0;
}

bool VDesignResFile::DeleteResource(uint32_t type, int16_t id)
{
    if (NoFile()) return false;
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    block.slot276.SetLong(id);
    V_DeleteResource(&block, 1);
    return block.error270 == 0;
}

bool VDesignResFile::DeleteResource(char** handle)
{
    if (NoFile()) return false;
    parm block = Block();
    block.slot266.SetPtr(handle);
    V_DeleteResource(&block, 1);
    return block.error270 == 0;
}

char** VDesignResFile::GetResource(uint32_t type, int16_t id, uint8_t* loaded)
{
    if (NoFile()) return nullptr;
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    block.slot276.SetLong(id);
    return Fetch(block, V_GetResource, loaded);
}

char** VDesignResFile::FetchNamed(uint32_t type, const uint8_t* name, uint8_t* loaded)
{
    if (NoFile()) return nullptr;
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    PutName(block.name10, name, 255);
    return Fetch(block, V_GetResource, loaded);
}

char** VDesignResFile::GetResource(uint32_t type, const VString& name, uint8_t* loaded)
{
    platform::Str255 text;
    PutName(text, name, 255);
    return FetchNamed(type, text, loaded);
}

char** VDesignResFile::GetResource(uint32_t type, const uint8_t* name, uint8_t* loaded)
{
    return FetchNamed(type, name, loaded);
}

char** VDesignResFile::GetResource(uint32_t type, const char* name, uint8_t* loaded)
{
    platform::Str255 text;
    PutCName(text, name, 255);
    return FetchNamed(type, text, loaded);
}

char** VDesignResFile::GetResourceByIndex(uint32_t type, int16_t index, uint8_t* loaded)
{
    if (NoFile()) return nullptr;
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    block.slot276.SetLong(index);
    return Fetch(block, V_GetIndexedResource, loaded);
}

int16_t VDesignResFile::IDFromInfo(parm& block)
{
    V_GetResourceInfo(&block, 1);
    return int16_t(block.slot276.Long());
}

int16_t VDesignResFile::GetResourceID(uint32_t type, const VString& name)
{
    if (NoFile()) return 0;
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    PutName(block.name10, name, kShortNameLength);
    return IDFromInfo(block);
}

int16_t VDesignResFile::GetResourceID(uint32_t type, const char* name)
{
    if (NoFile()) return 0;
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    PutCName(block.name10, name, 255);
    return IDFromInfo(block);
}

int16_t VDesignResFile::GetResourceID(uint32_t type, const uint8_t* name)
{
    if (NoFile()) return 0;
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    PutName(block.name10, name, 255);
    return IDFromInfo(block);
}

int16_t VDesignResFile::GetResourceID(uint32_t type, int16_t index)
{
    if (NoFile()) return 0;
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    block.slot276.SetLong(index);
    V_GetIndexedResource(&block, 1);
    if (block.error270 != 0 || block.slot266.Ptr() == nullptr) return 0;
    return IDFromInfo(block);
}

int16_t VDesignResFile::GetResourceID(char** handle)
{
    if (NoFile()) return 0;
    parm block = Block();
    block.slot266.SetPtr(handle);
    return IDFromInfo(block);
}

VArrayLong* VDesignResFile::GetKindsList()
{
    if (NoFile()) return nullptr;
    parm block = Block();
    Send(kSelDesignGetKindsList, block);
    platform::Handle h = block.slot266.Ptr<char*>();
    if (block.error270 != 0 || !h) return nullptr;
    const int32_t n = Size(h) / 4;
    auto* list = new VArrayLong(n);
    if (list && list->GetCount() == n)
        for (int32_t i = 0; i < n; ++i) {
            int32_t kind;
            std::memcpy(&kind, *h + 4 * i, 4);
            list->FromLong(kind, i + 1);
        }
    platform::DisposeHandle(h);
    return list;
}

int16_t VDesignResFile::GetUniqueID(uint32_t type)
{
    if (NoFile()) return 0;
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    Send(kSelDesignUniqueID, block);
    return block.error270 == 0 ? int16_t(block.slot276.Long()) : 0;
}

platform::Handle VDesignResFile::IDList(uint32_t type)
{
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    V_GetResourceIDsList(&block, 1);
    return block.error270 == 0 ? block.slot266.Ptr<char*>() : nullptr;
}

VArrayWord* VDesignResFile::GetResourceListIDs(uint32_t type)
{
    if (NoFile()) return nullptr;
    platform::Handle h = IDList(type);
    if (!h) return nullptr;
    const int32_t n = Size(h) / 2;
    auto* list = new VArrayWord(n);
    if (list && list->GetCount() == n)
        for (int32_t i = 0; i < n; ++i) {
            int16_t id;
            std::memcpy(&id, *h + 2 * i, 2);
            list->FromWord(id, i + 1);
        }
    platform::DisposeHandle(h);
    return list;
}

VArrayString* VDesignResFile::GetResourceListNames(uint32_t type)
{
    if (NoFile()) return nullptr;
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    V_GetResourceNamesList(&block, 1);
    platform::Handle h = block.slot266.Ptr<char*>();
    if (block.error270 != 0 || !h) return nullptr;
    const int32_t n = Size(h) / kNameRecordSize;
    auto* list = new VArrayString(n);
    if (list && list->GetCount() == n)
        for (int32_t i = 0; i < n; ++i) {
            // Each record is a length-prefixed name in 32 bytes.
            uint8_t name[kNameRecordSize];
            std::memcpy(name, *h + kNameRecordSize * i, kNameRecordSize);
            if (name[0] > kNameRecordSize - 1) name[0] = kNameRecordSize - 1;
            VText text;
            text.FromMacPString(name);
            list->FromString(text, i + 1);
        }
    platform::DisposeHandle(h);
    return list;
}

void VDesignResFile::Forget(char** handle)
{
    const int32_t at = fHeld.FindPos(handle);
    if (at == 0) return;
    fHeld.DeleteNth(at, kListForget);
    parm block;
    block.slot266.SetPtr(handle);
    Send(kSelDesignReleaseHeld, block);
}

void VDesignResFile::ReleaseResource(char** handle)
{
    if (NoFile() || !handle) return;
    Forget(handle);
    parm block = Block();
    block.slot266.SetPtr(handle);
    Send(kSelDesignReleaseResource, block);
}

void VDesignResFile::ReleaseResource(uint32_t type, int16_t id)
{
    if (NoFile()) return;
    if (fHeld.GetCount() > 0) {
        parm off;
        off.flag8 = 0;
        Send(kSelDesignResLoad, off);
        parm fetch = Block();
        fetch.slot272.SetLong(int32_t(type));
        fetch.slot276.SetLong(id);
        V_GetResource(&fetch, 1);
        parm restore;
        restore.flag8 = off.flag8;
        Send(kSelDesignResLoad, restore);
        if (char** handle = fetch.slot266.Ptr<char*>()) Forget(handle);
    }
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    block.slot276.SetLong(id);
    Send(kSelDesignReleaseResource, block);
}

int16_t VDesignResFile::Save()
{
    if (NoFile()) return kResFileNotValid;
    parm block = Block();
    Send(kSelDesignSave, block);
    return 0;
}

void VDesignResFile::GetResourceName(VString& name, char** handle)
{
    name.Clear();
    if (NoFile()) return;
    parm block = Block();
    block.slot266.SetPtr(handle);
    V_GetResourceInfo(&block, 1);
    name.FromMacPString(block.name10);
}

void VDesignResFile::GetResourceName(VString& name, uint32_t type, int16_t id)
{
    name.Clear();
    if (NoFile()) return;
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    block.slot276.SetLong(id);
    V_GetResourceInfo(&block, 1);
    name.FromMacPString(block.name10);
}

int16_t VDesignResFile::CountResources(uint32_t type)
{
    if (NoFile()) return 0;
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    V_CountResources(&block, 1);
    return block.error270 != 0 ? 0 : int16_t(block.slot280.Long());
}

char* VDesignResFile::LockResHandle(char** handle)
{
    if (NoFile() || !handle) return nullptr;
    parm block;
    block.slot266.SetPtr(handle);
    block.flag8 = 1;
    Send(kSelDesignLockResHandle, block);
    return *handle;
}

void VDesignResFile::UnlockResHandle(char** handle)
{
    if (NoFile() || !handle) return;
    parm block = Block();
    block.slot266.SetPtr(handle);
    block.flag8 = 0;
    Send(kSelDesignLockResHandle, block);
}

int32_t VDesignResFile::GetResHandleSize(char** handle) { return NoFile() ? 0 : Size(handle); }

bool VDesignResFile::SetResHandleSize(char** handle, int32_t size)
{
    if (NoFile() || !handle || size < 0) return false;
    const int8_t state = platform::HGetState(handle);
    platform::HUnlock(handle);
    platform::SetHandleSize(handle, size);
    platform::HLock(handle);
    platform::HSetState(handle, state);
    return Size(handle) >= size;
}

char** VDesignResFile::DetachResHandle(char** handle)
{
    if (NoFile() || !handle) return nullptr;
    parm block = Block();
    block.slot266.SetPtr(handle);
    Send(kSelDesignDetachResHandle, block);
    return block.error270 == 0 ? handle : nullptr;
}

void VDesignResFile::SaveResource(char** handle)
{
    if (NoFile() || !handle) return;
    parm block = Block();
    block.slot266.SetPtr(handle);
    Send(kSelDesignSaveResource, block);
}

int32_t VDesignResFile::GetResourceSize(uint32_t type, int16_t id)
{
    if (NoFile()) return 0;
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    block.slot276.SetLong(id);
    V_GetResourceInfo(&block, 1);
    return block.slot280.Long();
}

bool VDesignResFile::DeleteResources(uint32_t type)
{
    if (NoFile()) return false;
    platform::Handle ids = IDList(type);
    if (!ids) return true;
    bool all = true;
    const int32_t n = Size(ids) / 2;
    for (int32_t i = 0; i < n && all; ++i) {
        int16_t id;
        std::memcpy(&id, *ids + 2 * i, 2);
        all = DeleteResource(type, id);
    }
    platform::DisposeHandle(ids);
    return all;
}

void VDesignResFile::SetResourceName(uint32_t type, int16_t id, const VString& name)
{
    if (NoFile()) return;
    parm block = Block();
    block.slot272.SetLong(int32_t(type));
    block.slot276.SetLong(id);
    PutName(block.name10, name, kShortNameLength);
    V_SetResourceName(&block, 1);
}

bool VDesignResFile::ResourceExists(uint32_t type, int16_t id)
{
    char** handle = GetResource(type, id);
    if (!handle) return false;
    ReleaseResource(handle);
    return true;
}

void VDesignResFile::SaveAndSetDefault()
{
    if (NoFile()) return;
    parm block = Block();
    Send(kSelDesignSetDefault, block);
    fDefaults.Push(block.resFile0);
}

void VDesignResFile::RestoreDefault()
{
    if (NoFile() || fDefaults.IsEmpty()) return;
    parm block;
    block.resFile0 = fDefaults.Pop();
    Send(kSelDesignSetDefault, block);
}
