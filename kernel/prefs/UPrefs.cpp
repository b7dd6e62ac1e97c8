#include "kernel/prefs/UPrefs.h"

#include <cstring>
#include <string>

#include "kernel/helpers/HandleCopies.h"
#include "kernel/helpers/ResourceStrings.h"
#include "kernel/store/StoreAccess.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/SpecialFolders.h"
#include "platform/resfiles/Resources.h"

using namespace platform;

OSType createur = FourCC("QzA6");

bool UPrefs::fInited = false;
FSSpec UPrefs::fSpec;
int16_t UPrefs::fResFile = -1;
int16_t UPrefs::fSavedResFile = -1;
int32_t UPrefs::fCount = 0;

namespace {
constexpr int16_t kNotOpen = -1, kMissing = -2, kTooShort = -3;
}

bool UPrefs::Init()
{
    if (fInited) return true;
    FSSpec folder;
    if (FindSpecialFolder(SpecialFolder::Preferences, false, &folder) != noErr) return false;
    Str255 name;
    gs(name, 1000, 6);
    FSSpec fileSpec;
    OSErr err = FSMakeFSSpec(folder, std::string(reinterpret_cast<char*>(name) + 1, name[0]), &fileSpec);
    if (name[0] == 0 || (err != noErr && err != fnfErr)) return false;
    if (err == fnfErr) {
        // The new file keeps the user's own permissions.
        FSpCreateResFile(fileSpec, createur, FourCC("pref"), 0, ResFileFork::Data);
        if (ResError() != noErr) return false;
    }
    fSpec = fileSpec;
    fInited = true;
    return true;
}

bool UPrefs::Open(int16_t permission)
{
    if (fCount != 0) {
        ++fCount;
        return true;
    }
    if (!fInited) return false;
    fSavedResFile = CurResFile();
    int16_t ref = FSpOpenResFile(fSpec, SInt8(permission), ResFileFork::Data);
    if (ref == -1) return false;
    fResFile = ref;
    UseResFile(ref);
    ++fCount;
    return true;
}

bool UPrefs::Close()
{
    if (fCount > 0) --fCount;
    if (fCount > 0 || fResFile == -1) return true;
    if (fSavedResFile != -1) UseResFile(fSavedResFile);
    CloseResFile(fResFile);
    fResFile = -1;
    fSavedResFile = -1;
    return true;
}

void UPrefs::Reset()
{
    if (fResFile != -1) CloseResFile(fResFile);
    fInited = false;
    fSpec = FSSpec();
    fResFile = -1;
    fSavedResFile = -1;
    fCount = 0;
}

int16_t GetPrefData(ResType type, int16_t id, void* buffer, int32_t size, uint8_t inStructure)
{
    if (size < 0) return kTooShort;
    if (inStructure) {
        if (!StoreHasCurrentFile()) return kNotOpen;
        const KernelStoreAccess& store = GetKernelStoreAccess();
        Handle h = store.xgetres(type, id, true);
        if (!h || !*h) return kMissing;
        int16_t result = kTooShort;
        if (GetHandleSize(h) >= size) {
            std::memcpy(buffer, *h, size_t(size));
            result = 0;
        }
        if (store.hpurgeres) store.hpurgeres(h);
        return result;
    }
    if (!UPrefs::Open(0)) return kNotOpen;
    int16_t result = kMissing;
    Handle h = GetResource(type, id);
    if (h) {
        LoadResource(h);
        result = kTooShort;
        if (*h && GetHandleSize(h) >= size) {
            std::memcpy(buffer, *h, size_t(size));
            result = 0;
        }
        HPurge(h);
    }
    UPrefs::Close();
    return result;
}

int16_t SetPrefData(ResType type, int16_t id, const void* data, int32_t size, uint8_t inStructure)
{
    if (size < 0) return paramErr;
    if (inStructure) {
        if (!StoreHasCurrentFile()) return kNotOpen;
        const KernelStoreAccess& store = GetKernelStoreAccess();
        // The current document's own copy only: a copy further down the
        // chain belongs to another open document, which must not change.
        Handle h = store.xget1res ? store.xget1res(type, id) : nullptr;
        if (h) {
            if (sethsize(h, size) != noErr) return erreure;
            std::memcpy(*h, data, size_t(size));
            if (store.xwriteres) store.xwriteres(h);
        } else {
            h = nouvhandle(size);
            if (!h) return memFullErr;
            std::memcpy(*h, data, size_t(size));
            if (!store.xaddres || !store.xaddres(h, type, id)) {
                int16_t err = store.lasterror ? store.lasterror() : addResFailed;
                DisposeHandle(h);
                return err ? err : addResFailed;
            }
        }
        int16_t err = store.lasterror ? store.lasterror() : 0;
        if (store.updateres) store.updateres(numresfalse);
        if (store.hpurgeres) store.hpurgeres(h);
        return err;
    }
    if (!UPrefs::Open(0)) return kNotOpen;
    // Inside an outer open another file may have been made current since:
    // the write goes to the preferences file all the same.
    const int16_t current = CurResFile();
    UseResFile(UPrefs::fResFile);
    int16_t result = 0;
    Handle h = Get1Resource(type, id);  // a copy in another file of the chain does not count
    if (h) {
        LoadResource(h);
        result = ResError();
        if (result == noErr && sethsize(h, size) != noErr) result = erreure;
        if (result == noErr) {
            std::memcpy(*h, data, size_t(size));
            ChangedResource(h);
            result = ResError();
            UpdateResFile(UPrefs::fResFile);
            if (result == noErr) result = ResError();
        }
    } else {
        h = nouvhandle(size);
        if (!h) {
            result = memFullErr;
        } else {
            std::memcpy(*h, data, size_t(size));
            AddResource(h, type, id, reinterpret_cast<const unsigned char*>("\0"));
            result = ResError();
            if (result != noErr) {
                DisposeHandle(h);
                h = nullptr;
            } else {
                UpdateResFile(UPrefs::fResFile);
                result = ResError();
            }
        }
    }
    if (h) HPurge(h);
    UseResFile(current);
    UPrefs::Close();
    return result;
}

int16_t SetPrefLong(ResType type, int16_t id, int32_t value)
{
    uint8_t bytes[4];
    WriteBE32(bytes, uint32_t(value));
    return SetPrefData(type, id, bytes, 4, id < 0);
}
