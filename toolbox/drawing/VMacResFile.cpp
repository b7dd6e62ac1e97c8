#include "toolbox/drawing/VMacResFile.h"

#include "toolbox/foundation/VStr.h"

#include "toolbox/foundation/VArrayString.h"

#include "toolbox/foundation/VArrayNumber.h"

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "toolbox/foundation/VMemoryMgr.h"

namespace {

constexpr uint32_t kPictureType = platform::FourCC("PICT");

// Identity look-ups load nothing.
class ResLoadOff {
public:
    ResLoadOff() { platform::SetResLoad(false); }
    ~ResLoadOff() { platform::SetResLoad(true); }
};

// The name as a Mac Roman length-prefixed string of at most 255 bytes.
void ToMacName(const VString* name, uint8_t* out)
{
    out[0] = 0;
    if (name != nullptr) name->ToPString(out, 255, kCharSetMac);
}

void CToMacName(const char* name, uint8_t* out)
{
    int32_t length = 0;
    if (name != nullptr)
        while (length < 255 && name[length] != 0) {
            out[1 + length] = static_cast<uint8_t>(name[length]);
            ++length;
        }
    out[0] = static_cast<uint8_t>(length);
}

// Whether the name is exactly the decimal text of a 16-bit number.
bool IsNumberName(const uint8_t* name, int16_t& id)
{
    int32_t length = name[0];
    if (length == 0 || length > 6) return false;
    int32_t pos = 1;
    bool negative = name[pos] == '-';
    if (negative) ++pos;
    if (pos > length || (name[pos] == '0' && length > pos) || (negative && name[pos] == '0')) return false;
    int32_t value = 0;
    for (; pos <= length; ++pos) {
        if (name[pos] < '0' || name[pos] > '9') return false;
        value = value * 10 + (name[pos] - '0');
    }
    if (negative) value = -value;
    if (value < INT16_MIN || value > INT16_MAX) return false;
    id = static_cast<int16_t>(value);
    return true;
}

}  // namespace

StResFileSetter::StResFileSetter() : fSaved(platform::CurResFile()) {}

StResFileSetter::StResFileSetter(int16_t refNum) : fSaved(platform::CurResFile())
{
    platform::UseResFile(refNum);
}

StResFileSetter::~StResFileSetter()
{
    if (fSaved != -1) platform::UseResFile(fSaved);
}

VMacResFile::VMacResFile(int16_t refNum) : fRefNum(refNum) {}

VMacResFile::~VMacResFile()
{
    if (!IsValid()) return;
    Save();
    ForgetCachedStringList();
    if (fCloseOnDestruction) platform::CloseResFile(fRefNum);
}

char** VMacResFile::LookUp(uint32_t type, int16_t id)
{
    return fSearchChain ? platform::GetResource(type, id) : platform::Get1Resource(type, id);
}

char** VMacResFile::LookUpNamed(uint32_t type, const uint8_t* name)
{
    return fSearchChain ? platform::GetNamedResource(type, name) : platform::Get1NamedResource(type, name);
}

char** VMacResFile::LookUpIndexed(uint32_t type, int16_t index)
{
    return fSearchChain ? platform::GetIndResource(type, index) : platform::Get1IndResource(type, index);
}

void VMacResFile::Forget(char** handle)
{
    if (handle != nullptr && handle == GetCachedStringList()) ForgetCachedStringList();
}

int16_t VMacResFile::CreateResource(uint32_t type, int16_t id, const VString* name, const void* data,
                                    int32_t size)
{
    if (!IsValid() || size < 0) return -1;
    StResFileSetter setter(fRefNum);
    if (id == -1) {
        id = fSearchChain ? platform::UniqueID(type) : platform::Unique1ID(type);
    } else {
        // Only this file's resource is replaced: one of a file below it in
        // the chain cannot be removed from here and stays.
        char** existing;
        {
            ResLoadOff off;
            existing = platform::Get1Resource(type, id);
        }
        if (existing != nullptr) {
            platform::RemoveResource(existing);
            if (platform::ResError() != platform::noErr) return -1;
            Forget(existing);
            platform::DisposeHandle(existing);
        }
    }
    // Cleared, so that no stale memory reaches the file when there is no data.
    char** h = platform::NewHandleClear(size);
    if (h == nullptr) return -1;
    if (data != nullptr && size > 0) platform::BlockMove(data, *h, size);
    uint8_t macName[256];
    ToMacName(name, macName);
    platform::AddResource(h, type, id, macName);
    if (platform::ResError() != platform::noErr) {
        platform::DisposeHandle(h);
        return -1;
    }
    return id;
}

bool VMacResFile::DeleteResource(uint32_t type, const VString& name)
{
    int16_t id = GetResourceID(type, name);
    return id != -1 && DeleteResource(type, id);
}

bool VMacResFile::DeleteResource(uint32_t type, int16_t id)
{
    if (!IsValid()) return false;
    StResFileSetter setter(fRefNum);
    char** h;
    {
        ResLoadOff off;
        h = LookUp(type, id);
    }
    if (h == nullptr) return false;
    platform::RemoveResource(h);
    if (platform::ResError() != platform::noErr) return false;
    Forget(h);
    platform::DisposeHandle(h);
    return true;
}

bool VMacResFile::DeleteResource(char** handle)
{
    if (!IsValid() || handle == nullptr) return false;
    StResFileSetter setter(fRefNum);
    platform::RemoveResource(handle);
    if (platform::ResError() != platform::noErr) return false;
    Forget(handle);
    return true;
}

char** VMacResFile::GetResource(uint32_t type, int16_t id, uint8_t* loaded)
{
    if (loaded != nullptr) *loaded = 0;
    if (!IsValid()) return nullptr;
    StResFileSetter setter(fRefNum);
    // Pictures come through the whole chain, as the platform's picture
    // look-up does.
    if (type == kPictureType) return platform::GetResource(type, id);
    return LookUp(type, id);
}

char** VMacResFile::GetResource(uint32_t type, const VString& name, uint8_t* loaded)
{
    uint8_t macName[256];
    ToMacName(&name, macName);
    int16_t id;
    if (IsNumberName(macName, id)) return GetResource(type, id, loaded);
    return GetResource(type, macName, loaded);
}

char** VMacResFile::GetResource(uint32_t type, const uint8_t* name, uint8_t* loaded)
{
    if (loaded != nullptr) *loaded = 0;
    // A missing name finds nothing, not the resource numbered -1.
    int16_t id = GetResourceID(type, name);
    if (id == -1) return nullptr;
    return GetResource(type, id, loaded);
}

char** VMacResFile::GetResource(uint32_t type, const char* name, uint8_t* loaded)
{
    uint8_t macName[256];
    CToMacName(name, macName);
    return GetResource(type, macName, loaded);
}

int16_t VMacResFile::GetResourceID(uint32_t type, const VString& name)
{
    uint8_t macName[256];
    ToMacName(&name, macName);
    return GetResourceID(type, macName);
}

int16_t VMacResFile::GetResourceID(uint32_t type, const char* name)
{
    uint8_t macName[256];
    CToMacName(name, macName);
    return GetResourceID(type, macName);
}

int16_t VMacResFile::GetResourceID(uint32_t type, const uint8_t* name)
{
    if (!IsValid() || name == nullptr) return -1;
    StResFileSetter setter(fRefNum);
    ResLoadOff off;
    char** h = LookUpNamed(type, name);
    if (h == nullptr) return -1;
    int16_t id = -1;
    platform::GetResInfo(h, &id, nullptr, nullptr);
    return platform::ResError() == platform::noErr ? id : -1;
}

int16_t VMacResFile::GetResourceID(uint32_t type, int16_t index)
{
    if (!IsValid()) return -1;
    StResFileSetter setter(fRefNum);
    ResLoadOff off;
    char** h = LookUpIndexed(type, index);
    if (h == nullptr) return -1;
    int16_t id = -1;
    platform::GetResInfo(h, &id, nullptr, nullptr);
    return platform::ResError() == platform::noErr ? id : -1;
}

int16_t VMacResFile::GetResourceID(char** handle)
{
    if (!IsValid() || handle == nullptr) return -1;
    int16_t id = -1;
    platform::GetResInfo(handle, &id, nullptr, nullptr);
    return platform::ResError() == platform::noErr ? id : -1;
}

std::vector<uint32_t> VMacResFile::CollectKinds()
{
    std::vector<uint32_t> kinds;
    if (!IsValid()) return kinds;
    StResFileSetter setter(fRefNum);
    int16_t count = fSearchChain ? platform::CountTypes() : platform::Count1Types();
    for (int32_t i = 1; i <= count; ++i) {
        uint32_t type = 0;
        if (fSearchChain)
            platform::GetIndType(&type, i);
        else
            platform::Get1IndType(&type, i);
        kinds.push_back(type);
    }
    return kinds;
}

std::vector<int16_t> VMacResFile::CollectResourceIDs(uint32_t type)
{
    std::vector<int16_t> ids;
    if (!IsValid()) return ids;
    StResFileSetter setter(fRefNum);
    ResLoadOff off;
    int16_t count = fSearchChain ? platform::CountResources(type) : platform::Count1Resources(type);
    for (int32_t i = 1; i <= count; ++i) {
        int16_t id = 0;
        if (char** h = LookUpIndexed(type, i)) platform::GetResInfo(h, &id, nullptr, nullptr);
        ids.push_back(id);
    }
    return ids;
}

std::vector<std::string> VMacResFile::CollectResourceNames(uint32_t type)
{
    std::vector<std::string> names;
    if (!IsValid()) return names;
    StResFileSetter setter(fRefNum);
    ResLoadOff off;
    int16_t count = fSearchChain ? platform::CountResources(type) : platform::Count1Resources(type);
    for (int32_t i = 1; i <= count; ++i) {
        uint8_t name[256] = {0};
        if (char** h = LookUpIndexed(type, i)) platform::GetResInfo(h, nullptr, nullptr, name);
        names.emplace_back(reinterpret_cast<const char*>(name + 1), name[0]);
    }
    return names;
}

// The lists as new value arrays owned by the caller (null when memory runs out).
VArrayLong* VMacResFile::GetKindsList()
{
    auto* list = new VArrayLong;
    if (!list) return nullptr;
    for (uint32_t kind : CollectKinds()) list->AppendLong(int32_t(kind), false);
    return list;
}

VArrayString* VMacResFile::GetResourceListNames(uint32_t type)
{
    auto* list = new VArrayString;
    if (!list) return nullptr;
    for (const std::string& name : CollectResourceNames(type)) {
        VStr<255> text;
        text.FromBlock(reinterpret_cast<const uint8_t*>(name.data()), 0, int32_t(name.size()), kCharSetMac);
        list->AppendString(text, false);
    }
    return list;
}

VArrayWord* VMacResFile::GetResourceListIDs(uint32_t type)
{
    auto* list = new VArrayWord;
    if (!list) return nullptr;
    for (int16_t id : CollectResourceIDs(type)) list->AppendWord(id, false);
    return list;
}

int16_t VMacResFile::GetUniqueID(uint32_t type)
{
    if (!IsValid()) return 0;
    StResFileSetter setter(fRefNum);
    return platform::UniqueID(type);
}

void VMacResFile::ReleaseResource(char** handle)
{
    if (!IsValid() || handle == nullptr) return;
    Forget(handle);
    platform::ReleaseResource(handle);
}

void VMacResFile::ReleaseResource(uint32_t type, int16_t id)
{
    if (!IsValid()) return;
    StResFileSetter setter(fRefNum);
    char** h;
    {
        ResLoadOff off;
        h = LookUp(type, id);
    }
    if (h == nullptr || *h == nullptr) return;
    Forget(h);
    platform::ReleaseResource(h);
}

int16_t VMacResFile::Save()
{
    if (!IsValid()) return kResFileNotValid;
    platform::UpdateResFile(fRefNum);
    return platform::ResError();
}

char** VMacResFile::GetResourceByIndex(uint32_t type, int16_t index, uint8_t* loaded)
{
    if (loaded != nullptr) *loaded = 0;
    if (!IsValid()) return nullptr;
    StResFileSetter setter(fRefNum);
    return LookUpIndexed(type, index);
}

void VMacResFile::GetResourceName(VString& name, char** handle)
{
    name.Clear();
    if (!IsValid() || handle == nullptr) return;
    uint8_t macName[256] = {0};
    platform::GetResInfo(handle, nullptr, nullptr, macName);
    if (platform::ResError() == platform::noErr) name.FromMacPString(macName);
}

void VMacResFile::GetResourceName(VString& name, uint32_t type, int16_t id)
{
    name.Clear();
    if (!IsValid()) return;
    StResFileSetter setter(fRefNum);
    ResLoadOff off;
    if (char** h = LookUp(type, id)) GetResourceName(name, h);
}

int16_t VMacResFile::CountResources(uint32_t type)
{
    if (!IsValid()) return 0;
    StResFileSetter setter(fRefNum);
    return fSearchChain ? platform::CountResources(type) : platform::Count1Resources(type);
}

char* VMacResFile::LockResHandle(char** handle)
{
    if (handle == nullptr) return nullptr;
    if (*handle == nullptr) platform::LoadResource(handle);
    platform::HLock(handle);
    return *handle;
}

void VMacResFile::UnlockResHandle(char** handle)
{
    if (handle != nullptr) platform::HUnlock(handle);
}

int32_t VMacResFile::GetResHandleSize(char** handle)
{
    return handle == nullptr ? 0 : platform::GetHandleSize(handle);
}

bool VMacResFile::SetResHandleSize(char** handle, int32_t size)
{
    if (!IsValid() || handle == nullptr || size < 0) return false;
    StResFileSetter setter(fRefNum);
    platform::SetHandleSize(handle, size);
    platform::ChangedResource(handle);
    return platform::GetHandleSize(handle) >= size;
}

char** VMacResFile::DetachResHandle(char** handle)
{
    if (!IsValid() || handle == nullptr) return nullptr;
    StResFileSetter setter(fRefNum);
    platform::DetachResource(handle);
    if (platform::ResError() != platform::noErr) return nullptr;
    Forget(handle);
    return gMemory->InsertTrueHandle(handle, 0);
}

void VMacResFile::SaveResource(char** handle)
{
    if (!IsValid() || handle == nullptr) return;
    StResFileSetter setter(fRefNum);
    platform::ChangedResource(handle);
    if (platform::ResError() == platform::noErr) platform::WriteResource(handle);
}

int32_t VMacResFile::GetResourceSize(uint32_t type, int16_t id)
{
    if (!IsValid()) return 0;
    StResFileSetter setter(fRefNum);
    ResLoadOff off;
    char** h = LookUp(type, id);
    if (h == nullptr) return 0;
    int32_t size = platform::GetResourceSizeOnDisk(h);
    return size < 0 ? 0 : size;
}

bool VMacResFile::DeleteResources(uint32_t type)
{
    if (!IsValid()) return false;
    StResFileSetter setter(fRefNum);
    // Bounded by the count, in case a removal leaves the resource in place.
    int32_t left = fSearchChain ? platform::CountResources(type) : platform::Count1Resources(type);
    for (; left > 0; --left) {
        char** h;
        {
            ResLoadOff off;
            h = LookUpIndexed(type, 1);
        }
        if (h == nullptr) return true;
        platform::RemoveResource(h);
        if (platform::ResError() != platform::noErr) return false;
        Forget(h);
        platform::DisposeHandle(h);
    }
    ResLoadOff off;
    return LookUpIndexed(type, 1) == nullptr;
}

void VMacResFile::SetResourceName(uint32_t type, int16_t id, const VString& name)
{
    if (!IsValid()) return;
    StResFileSetter setter(fRefNum);
    char** h;
    {
        ResLoadOff off;
        h = platform::GetResource(type, id);
    }
    if (h == nullptr) return;
    uint8_t macName[256];
    ToMacName(&name, macName);
    platform::SetResInfo(h, id, macName);
}

bool VMacResFile::ResourceExists(uint32_t type, int16_t id)
{
    if (!IsValid()) return false;
    StResFileSetter setter(fRefNum);
    ResLoadOff off;
    return LookUp(type, id) != nullptr;
}

void VMacResFile::SaveAndSetDefault()
{
    if (!IsValid()) return;
    fSavedFiles.Push(platform::CurResFile());
    platform::UseResFile(fRefNum);
}

void VMacResFile::RestoreDefault()
{
    if (fSavedFiles.IsEmpty()) return;
    int16_t refNum = fSavedFiles.Pop();
    if (refNum != -1) platform::UseResFile(refNum);
}
