// CPseudoResFile: resource names, kept in the file's resource 'NAM#' 128.
#include <cassert>
#include <cstring>
#include <vector>

#include "platform/core/Memory.h"
#include "resources/StoreGuard.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/ServerHooks.h"

using namespace platform;
using container::NameTable;

CPseudoResFile::Handle CPseudoResFile::NamesHandle()
{
    int32_t t, r;
    if (!fMap.FindID(kNamesResType, kNamesResId, true, &t, &r)) {
        Fail(noErr);
        return nullptr;
    }
    if (!fLocal) return GetRes(kNamesResType, kNamesResId, true);
    if (ServerHooks().changePoll) ServerHooks().changePoll(this, true);
    if (Handle h = fMap.At(t, r).contents) {
        Fail(noErr);
        return h;
    }
    Handle h = LoadRecord(t, r);
    // Loaded here: nobody else holds it.
    if (h) fNamesOwn = h;
    return h;
}

const NameTable* CPseudoResFile::Names() { return fNamesAhead ? &fNames : NamesOf(NamesHandle()); }

const NameTable* CPseudoResFile::NamesOf(Handle h)
{
    if (fNamesAhead) return &fNames;
    if (!h) {
        if (CPseudoResManager::LastError() == kResMemFull) return nullptr;
        // No table, or one that cannot be read: no names.
        if (!fNamesRead || fNamesFrom) {
            ForgetNames();
            fNamesRead = true;
        }
        return &fNames;
    }
    const int32_t size = GetHandleSize(h);
    // A server's table is read at every look-up, as it may change there.
    if (fLocal && fNamesRead && fNamesFrom == h && fNamesContents == *h && fNamesSize == size) return &fNames;
    fNamesRead = false;
    fNames.Read(reinterpret_cast<const uint8_t*>(*h), size_t(size));
    fNamesRead = true;
    fNamesFrom = h;
    fNamesContents = *h;
    fNamesSize = size;
    return &fNames;
}

OSErr CPseudoResFile::WriteNames()
{
    if (!fNamesAhead) return noErr;
    int32_t t, r;
    const bool found = fMap.FindID(kNamesResType, kNamesResId, true, &t, &r);
    assert(found && fMap.At(t, r).contents == fNamesOwn);
    (void)found;
    const std::vector<uint8_t> bytes = fNames.Write();
    Handle h = fNamesOwn;
    if (PtrToXHand(bytes.data(), h, Size(bytes.size())) != noErr) return kResMemFull;
    // The commit gives the table its place.
    fMap.Edit(t, r).attributes |= container::kAttrChanged;
    fNamesAhead = false;
    fNamesFrom = h;
    fNamesContents = *h;
    fNamesSize = GetHandleSize(h);
    return noErr;
}

OSErr CPseudoResFile::HandOutNames()
{
    const OSErr err = WriteNames();
    if (err == noErr) fNamesOwn = nullptr;
    return err;
}

void CPseudoResFile::ForgetNames()
{
    fNames.Clear();
    fNamesRead = fNamesAhead = false;
    fNamesOwn = fNamesFrom = nullptr;
    fNamesContents = nullptr;
    fNamesSize = -1;
}

void CPseudoResFile::ForgetNamesOf(ResType type, int16_t id)
{
    if (type == kNamesResType && id == kNamesResId) ForgetNames();
}

bool CPseudoResFile::GetResName(ResType type, int16_t id, unsigned char* name)
{
    return Guarded<bool>(false, [&]() -> bool {
        name[0] = 0;
        int32_t t, r;
        if (!FindID(type, id, &t, &r, true)) return false;
        const NameTable* names = Names();
        // A name list that cannot be loaded is no answer of "unnamed".
        if (!names) return false;
        if (const uint8_t* found = names->Find(type, id)) std::memcpy(name, found, size_t(found[0]) + 1);
        CPseudoResManager::SetLastError(noErr);
        return true;
    });
}

bool CPseudoResFile::SetResName(ResType type, int16_t id, const unsigned char* name)
{
    return Guarded<bool>(false, [&]() -> bool {
        int32_t t, r;
        if (!FindID(type, id, &t, &r, true)) return false;
        Handle table = NamesHandle();
        // Short of memory, the table is not replaced by one of this name alone.
        if (!table && CPseudoResManager::LastError() == kResMemFull) return false;
        if (table && fLocal && table == fNamesOwn) {
            if (!NamesOf(table)) return false;
            fNames.Set(type, id, name);
            fNamesAhead = true;
            fMap.FindID(kNamesResType, kNamesResId, true, &t, &r);
            fMap.Edit(t, r).stamp = GetStamp();
            fMap.changed = true;
            CPseudoResManager::SetLastError(noErr);
            return true;
        }
        // A new table, or one that others hold or a server keeps: the
        // names are written to it at once.
        NameTable names;
        if (table) names.Read(reinterpret_cast<const uint8_t*>(*table), size_t(GetHandleSize(table)));
        names.Set(type, id, name);
        const std::vector<uint8_t> bytes = names.Write();
        if (!table) {
            Handle h = nullptr;
            if (PtrToHand(bytes.data(), &h, Size(bytes.size())) != noErr) {
                CPseudoResManager::SetLastError(kResMemFull);
                return false;
            }
            if (!AddRes(h, kNamesResType, kNamesResId, true)) {
                DisposeHandle(h);
                return false;
            }
            if (fLocal) fNamesOwn = h;
            return true;
        }
        // The names only grow here: when the write-back fails, putting the
        // old bytes back shrinks the handle, which cannot fail.
        const std::vector<uint8_t> old(reinterpret_cast<uint8_t*>(*table),
                                       reinterpret_cast<uint8_t*>(*table) + GetHandleSize(table));
        if (PtrToXHand(bytes.data(), table, Size(bytes.size())) != noErr) {
            CPseudoResManager::SetLastError(kResMemFull);
            return false;
        }
        if (WriteResource(table, 0, 0)) return true;
        const OSErr err = CPseudoResManager::LastError();
        PtrToXHand(old.data(), table, Size(old.size()));
        CPseudoResManager::SetLastError(err);
        return false;
    });
}

// Drops the name of (type, id), or every name of the type when id is null,
// and writes the names back. Leaves the store's error as it was and never
// throws.
void CPseudoResFile::RemoveNames(ResType type, const int16_t* id)
{
    if (type == kNamesResType) return;
    const OSErr before = CPseudoResManager::LastError();
    // A name left behind costs nothing; the removal itself stands.
    try {
        int32_t t, r;
        Handle table = fMap.FindID(kNamesResType, kNamesResId, true, &t, &r) ? NamesHandle() : nullptr;
        if (table && fLocal && table == fNamesOwn) {
            if (NamesOf(table) && fNames.Remove(type, id)) {
                fNamesAhead = true;
                fMap.Edit(t, r).stamp = GetStamp();
                fMap.changed = true;
            }
        } else if (table) {
            NameTable names;
            names.Read(reinterpret_cast<const uint8_t*>(*table), size_t(GetHandleSize(table)));
            if (names.Remove(type, id)) {
                const std::vector<uint8_t> bytes = names.Write();
                if (PtrToXHand(bytes.data(), table, Size(bytes.size())) == noErr) WriteResource(table, 0, 0);
            }
        }
    } catch (...) {
    }
    CPseudoResManager::SetLastError(before);
}

CPseudoResFile::Handle CPseudoResFile::GetResNameList(ResType type)
{
    return Guarded<CPseudoResFile::Handle>(nullptr, [&]() -> CPseudoResFile::Handle {
        const NameTable* names = Names();
        int32_t t = fMap.FindType(type);
        const size_t count = t >= 0 ? fMap.TypeAt(t).records.size() : 0;
        Handle list = NewHandleClear(Size(count * 32));
        if (!list) {
            CPseudoResManager::SetLastError(kResMemFull);
            return nullptr;
        }
        for (size_t r = 0; names && r < count; ++r)
            if (const uint8_t* found = names->Find(type, fMap.At(t, int32_t(r)).id))
                std::memcpy(*list + 32 * r, found, size_t(found[0]) + 1);
        CPseudoResManager::SetLastError(noErr);
        return list;
    });
}
