// The movers of plug-in routines and packages (PlugInMovers.h).
#include "transfer/movers/PlugInMovers.h"

#include <cstring>
#include <string>
#include <vector>

#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/plugins/BundleTable.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "transfer/CurrentFiles.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/BundleCopy.h"
#include "transfer/movers/MoverSupport.h"
#include "transfer/remap/NewResIds.h"

namespace transfer {

namespace {

using platform::FourCC;

struct PlugInTypes {
    uint32_t code, bundle;
    bool package;
};
PlugInTypes TypesOf(const TObjQz* obj)
{
    return obj->kind == 7 ? PlugInTypes{FourCC("QzPX"), FourCC("QBNX"), true}
                          : PlugInTypes{FourCC("QzEX"), FourCC("QBND"), false};
}

bool OpenFile(int16_t file) { return file != -1 && platform::IsResFileOpen(file); }

bool Has(int16_t file, uint32_t type, int16_t id)
{
    UsingResFile current(file);
    platform::SetResLoad(false);
    const bool there = platform::Get1Resource(type, id) != nullptr;
    platform::SetResLoad(true);
    return there;
}

// The code, the bundle (when there is one) and, for a package, its
// parameter list, run through one copy.
int16_t RunCopy(BundleCopy* copy, TExtObjQz* obj, const PlugInTypes& t, int16_t newId)
{
    if (const int16_t err = copy->Resource(t.code, obj->id, newId, false)) return err;
    if (Has(obj->GetPlugInFile(), t.bundle, obj->id))
        if (const int16_t err = copy->Bundle(t.bundle, obj->id, newId)) return err;
    return t.package ? copy->Resource(FourCC("EPRM"), obj->id, newId, true) : 0;
}

// The plug-in's resources under one new id of the destination's companion
// (checked whole first): *newId.
int16_t CopyPlugIn(TMainDoc* dest, TObjQz* obj, int16_t* newId)
{
    *newId = 0;
    auto* ext = dynamic_cast<TExtObjQz*>(obj);
    if (!ext || !OpenFile(ext->GetPlugInFile())) return kRecordMissing;
    if (!OpenFile(dest->fRsrFile)) return platform::resFNotFound;
    const PlugInTypes t = TypesOf(obj);
    {
        BundleCopy check(ext->GetPlugInFile(), dest->fRsrFile, false);
        if (const int16_t err = RunCopy(&check, ext, t, obj->id)) return err;
        if (const int16_t err = RoomFor(dest, 2 * check.bytes)) return err;
    }
    {
        UsingResFile file(dest->fRsrFile);
        if (const int16_t err = NewCodeBundleId(t.code, t.bundle, t.package, obj->id, newId)) return err;
    }
    BundleCopy copy(ext->GetPlugInFile(), dest->fRsrFile, true);
    int16_t err = RunCopy(&copy, ext, t, *newId);
    if (err == 0) {
        platform::UpdateResFile(dest->fRsrFile);
        err = platform::ResError();
    }
    if (err) copy.TakeBack();
    return err;
}

// The routine strings of the package's bundle in the current file.
bool RoutineStrings(uint32_t bundleType, int16_t id, std::vector<std::vector<uint8_t>>* strings)
{
    std::vector<BundleEntry> entries;
    platform::Handle bundle = platform::Get1Resource(bundleType, id);
    return bundle && ReadBundleTable(bundle, &entries) && !entries.empty() &&
           ReadStringList(platform::Get1Resource(FourCC("STR#"), entries[0].id), strings);
}

// A plug-in object of the destination's companion, its file recorded.
TExtObjQz* MakePlugIn(TMainDoc* dest, int16_t kind, const unsigned char* name, int16_t id)
{
    UsingResFile file(dest->fRsrFile);
    auto* obj = dynamic_cast<TExtObjQz*>(NewObj_Id(dest, kind, name, id, true));
    if (!obj) return nullptr;
    obj->SetPlugInFile(dest->fRsrFile);
    obj->SetDocFlag();
    return obj;
}

// A package's routines as its routine list (in the destination) names
// them: routine j keeps its object (named anew) or is made; those past the
// list leave.
int16_t SetRoutines(TMainDoc* dest, TExtObjQz* package, const PlugInTypes& t)
{
    std::vector<std::vector<uint8_t>> strings;
    {
        UsingResFile file(dest->fRsrFile);
        if (!RoutineStrings(t.bundle, package->id, &strings)) strings.clear();
    }
    NoteChangedTable(package);
    std::vector<TObjQz*> now, dropped;
    for (int32_t i = 0; package->members && i < package->members->Size(); ++i) now.push_back(package->members->At(i));
    for (size_t j = 0; j < strings.size() && j < size_t(INT16_MAX); ++j) {
        unsigned char name[256];
        RoutineName(strings[j].data(), strings[j].size(), name);
        if (j < now.size()) {
            if (!ObjNamed(now[j], name)) RenameObj(now[j], name);
            continue;
        }
        TExtObjQz* routine = MakePlugIn(dest, 7, name, int16_t(j + 1));
        if (!routine) return platform::memFullErr;
        routine->ownerObj = package;
        routine->SetFlag(kFlagGrouped, true);
        routine->SetFlag(kFlagGrouped2, true);
        routine->level = uint8_t(package->level + 1);
        if (AddObjList(&package->members, routine) != 0) return platform::memFullErr;
    }
    for (size_t j = strings.size(); j < now.size(); ++j) {
        DelObjList(package->members, now[j]);
        now[j]->ListRemove();
        dropped.push_back(now[j]);
    }
    DropObjs(dropped);
    return 0;
}

int16_t MovePlugIn(TMainDoc* dest, TObjQz* obj, TObjQz** newObj)
{
    *newObj = nullptr;
    int16_t id = 0;
    if (const int16_t err = CopyPlugIn(dest, obj, &id)) return err;
    TExtObjQz* made = MakePlugIn(dest, obj->kind, obj->name, id);
    if (!made || made->id != id) return platform::memFullErr;
    if (obj->kind == 7)
        if (const int16_t err = SetRoutines(dest, made, TypesOf(obj))) return err;
    *newObj = made;
    return 0;
}

int16_t ReplacePlugIn(TMainDoc* dest, TObjQz* obj, TObjQz** destObj)
{
    auto* target = dynamic_cast<TExtObjQz*>(*destObj);
    // Only a plug-in of the destination's own companion can be overwritten.
    if (!target || target->kind != obj->kind || target->GetPlugInFile() != dest->fRsrFile) return kRecordMissing;
    int16_t id = 0;
    if (const int16_t err = CopyPlugIn(dest, obj, &id)) return err;
    // The new one is whole: the old one goes.
    const PlugInTypes t = TypesOf(obj);
    int16_t err = 0;
    {
        UsingResFile file(dest->fRsrFile);
        err = DeleteResQzExternal(t.code, t.bundle, target->id);
        if (err == 0 && t.package && Has(dest->fRsrFile, FourCC("EPRM"), target->id)) {
            if ((err = NoteCompanionChange(FourCC("EPRM"), target->id)) == 0) {
                platform::Handle h = platform::Get1Resource(FourCC("EPRM"), target->id);
                platform::RemoveResource(h);
                platform::DisposeHandle(h);
            }
        }
        if (err == 0) {
            platform::UpdateResFile(dest->fRsrFile);
            err = platform::ResError();
        }
    }
    if (err) return err;
    NoteReplacedObj(target);
    target->id = id;
    NoteObjIdChanged();
    if (t.package)
        if ((err = SetRoutines(dest, target, t)) != 0) return err;
    ClearDependencies(target);
    return 0;
}

// Removes (type, id) of the current file, noted first.
int16_t Remove(uint32_t type, int16_t id)
{
    platform::Handle h = platform::Get1Resource(type, id);
    if (!h) return 0;
    if (const int16_t err = NoteCompanionChange(type, id)) return err;
    platform::RemoveResource(h);
    const int16_t err = platform::ResError();
    platform::DisposeHandle(h);
    return err;
}

}  // namespace

int16_t ExternalSize(TObjQz* obj, int64_t* size)
{
    *size = 0;
    auto* ext = dynamic_cast<TExtObjQz*>(obj);
    if (!ext || !OpenFile(ext->GetPlugInFile())) return kRecordMissing;
    BundleCopy check(ext->GetPlugInFile(), ext->GetPlugInFile(), false);
    const int16_t err = RunCopy(&check, ext, TypesOf(obj), obj->id);
    *size = check.bytes;
    return err;
}

int16_t MoveExternal(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName)
{
    (void)source, (void)newName;
    return MovePlugIn(dest, obj, newObj);
}

int16_t MovePackage(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName)
{
    (void)source, (void)newName;
    return MovePlugIn(dest, obj, newObj);
}

int16_t ReplaceExternal(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj)
{
    (void)source;
    return ReplacePlugIn(dest, obj, destObj);
}

int16_t ReplacePackage(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj)
{
    (void)source;
    return ReplacePlugIn(dest, obj, destObj);
}

int16_t MoveQzBundle(int16_t from, uint32_t bundleType, int16_t id, int16_t newId)
{
    const int16_t to = platform::CurResFile();
    {
        BundleCopy check(from, to, false);
        if (const int16_t err = check.Bundle(bundleType, id, newId)) return err;
    }
    BundleCopy copy(from, to, true);
    const int16_t err = copy.Bundle(bundleType, id, newId);
    if (err) copy.TakeBack();
    return err;
}

int16_t DeleteDITLRes(int16_t id)
{
    platform::Handle h = platform::Get1Resource(FourCC("DITL"), id);
    if (!h || !*h) return 0;
    const std::string list(*h, size_t(platform::GetHandleSize(h)));
    // A damaged list gives up the items before the damage, and itself.
    std::vector<std::pair<size_t, uint32_t>> items;
    ItemListIds(list, &items);
    for (const auto& [at, type] : items)
        if (const int16_t err = Remove(type, platform::ReadBES16(reinterpret_cast<const uint8_t*>(&list[at])))) return err;
    return Remove(FourCC("DITL"), id);
}

int16_t DeleteDLogRes(uint32_t type, int16_t id)
{
    platform::Handle h = platform::Get1Resource(type, id);
    const size_t at = type == FourCC("DLOG") ? 18 : 8;
    if (h && *h && size_t(platform::GetHandleSize(h)) >= at + 2)
        if (const int16_t err = DeleteDITLRes(platform::ReadBES16(reinterpret_cast<const uint8_t*>(*h) + at))) return err;
    return Remove(type, id);
}

int16_t DeleteQzBundle(uint32_t bundleType, int16_t id)
{
    std::vector<BundleEntry> entries;
    if (ReadBundleTable(platform::Get1Resource(bundleType, id), &entries))
        for (const BundleEntry& e : entries) {
            const bool dialog = e.type == FourCC("DLOG") || e.type == FourCC("ALRT");
            if (const int16_t err = dialog ? DeleteDLogRes(e.type, e.id) : Remove(e.type, e.id)) return err;
        }
    return Remove(bundleType, id);
}

int16_t DeleteResQzExternal(uint32_t codeType, uint32_t bundleType, int16_t id)
{
    if (const int16_t err = DeleteQzBundle(bundleType, id)) return err;
    return Remove(codeType, id);
}

}  // namespace transfer
