// Groups and components while a document is read: moving them out of the
// companion file, making and reading them, checking and removing the
// components.
#include <cstring>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "design/objects/DesignGlobals.h"
#include "design/reading/DirectoryBytes.h"
#include "design/objects/Groups.h"
#include "design/reading/ModuleManager.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/reading/ReadQzB.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"

using platform::FourCC;
using platform::ReadBES16;

namespace {

bool CompanionOpen(TMainDoc* doc) { return doc->fRsrFile >= 0 && platform::IsResFileOpen(doc->fRsrFile); }

ObjListHdl Groups(TMainDoc* doc) { return doc->fTypeList ? doc->fTypeList->lists[23 - 1] : nullptr; }

bool Cancelled() { return G_WaitParam && ChkWait(G_WaitParam); }

}  // namespace

int16_t ConvertGroupes(TMainDoc* doc, uint32_t type)
{
    if (!doc || !CompanionOpen(doc)) return 0;
    const int16_t savedPlatform = platform::CurResFile();
    const int16_t savedStore = xcurres();
    useres(doc->fResFile);
    platform::UseResFile(doc->fRsrFile);
    struct Moved {
        int16_t id;
        bool added;  // false: the container had it already and keeps its own
    };
    std::vector<Moved> moved;
    int16_t result = 0;
    const int16_t n = platform::Count1Resources(type);
    for (int32_t i = 1; i <= n && result == 0; ++i) {
        platform::Handle h = platform::Get1IndResource(type, i);
        if (!h) {
            result = platform::ResError() ? platform::ResError() : platform::resNotFound;
            break;
        }
        int16_t id = 0;
        uint32_t t = 0;
        unsigned char name[256] = {0};
        platform::GetResInfo(h, &id, &t, name);
        unsigned char existing[256];
        const bool there = xgetresname(type, id, existing, false);
        if (!there && reserr == platform::memFullErr) {
            platform::ReleaseResource(h);
            result = platform::memFullErr;
            break;
        }
        if (there) {
            // Moved before, the companion's removal unfinished.
            platform::ReleaseResource(h);
            moved.push_back({id, false});
            continue;
        }
        // The store takes a copy: the companion keeps its own until the
        // container has committed.
        platform::Handle copy = h;
        if (platform::HandToHand(&copy) != 0 || !copy) {
            result = platform::memFullErr;
            break;
        }
        platform::ReleaseResource(h);
        if (!xaddres(copy, type, id)) {
            platform::DisposeHandle(copy);
            result = reserr ? reserr : platform::memFullErr;
            break;
        }
        moved.push_back({id, true});
        xsetresname(type, id, name, false);
    }
    if (result == 0 && !moved.empty() && !updateres(doc->fResFile)) result = reserr ? reserr : platform::ioErr;
    if (result == 0) {
        for (const Moved& m : moved) {
            if (platform::Handle h = platform::Get1Resource(type, m.id)) {
                platform::RemoveResource(h);
                platform::DisposeHandle(h);
            }
        }
        if (!moved.empty()) platform::UpdateResFile(doc->fRsrFile);
    } else {
        // Nothing half moved: the companion still holds every one of them.
        for (const Moved& m : moved)
            if (m.added) rmveresbyid(type, m.id, true);
    }
    platform::UseResFile(savedPlatform);
    useres(savedStore);
    return result;
}

int16_t MakeGroupes(TMainDoc* doc, uint32_t type, int16_t kind)
{
    useres(doc->fResFile);
    const int16_t n = compteres(type, true);
    struct Entry {
        int16_t id;
        unsigned char name[256];
    };
    std::vector<Entry> entries;
    for (int32_t i = 1; i <= n; ++i) {
        Entry e{};
        xiscryptedindres(type, i, &e.id);
        if (reserr == platform::memFullErr) return platform::memFullErr;
        if (!xgetresname(type, e.id, e.name, false)) {
            if (reserr == platform::memFullErr) return platform::memFullErr;
            e.name[0] = 0;
        }
        entries.push_back(e);
    }
    for (Entry& e : entries) {
        if (e.name[0] > 32) e.name[0] = 32;
        for (int c = 1; c <= e.name[0]; ++c)
            if (e.name[c] == '\r' || e.name[c] == '\n') {
                e.name[0] = uint8_t(c - 1);
                break;
            }
        if (!NewObj_Id(doc, kind, e.name, e.id, false)) return platform::memFullErr;
    }
    return 0;
}

int16_t ReadGroupes(TMainDoc* doc, int16_t kind)
{
    ObjListHdl groups = Groups(doc);
    TObjQz* hidden = nullptr;
    int16_t result = 0;
    for (int32_t i = 0; groups && i < groups->Size(); ++i) {
        TObjQz* g = groups->At(i);
        if (g->kind != kind) continue;
        if (g->id == 0) hidden = g;
        int16_t err = g->Read(nullptr);
        if (err == 0 && Cancelled()) err = kCancelledByUser;
        if (err == 0 && !GromMemHdl) err = platform::memFullErr;
        // Every group is read; the first failure is the one reported.
        if (err != 0 && result == 0) result = err;
        if (err == platform::memFullErr) break;
    }
    for (int32_t i = 0; result == 0 && groups && i < groups->Size(); ++i) {
        TObjQz* g = groups->At(i);
        if (g->TstFlag(kFlagGrouped)) continue;
        result = static_cast<TGroupObjQz*>(g)->MakeCallList(true);
        if (result == 0 && Cancelled()) result = kCancelledByUser;
        if (result == 0 && !GromMemHdl) result = platform::memFullErr;
    }
    if (hidden) hidden->SetTrashFlags(true);
    if (result == 0 && Cancelled()) result = kCancelledByUser;
    return result;
}

bool HasModule(TMainDoc* doc)
{
    ObjListHdl groups = Groups(doc);
    for (int32_t i = 0; groups && i < groups->Size(); ++i)
        if (groups->At(i)->kind == 32 || groups->At(i)->kind == 33) return true;
    return false;
}

int16_t ModuleGroupVars(TMainDoc* doc)
{
    if (!HasModule(doc)) return 0;
    const int16_t saved = G_ModuleUpdate;
    G_ModuleUpdate = 3;
    ObjListHdl vars = doc->fTypeList->lists[9 - 1];
    for (int32_t i = 0; vars && i < vars->Size(); ++i) {
        auto* var = static_cast<TVarObjQz*>(vars->At(i));
        // System variables (marked through SetParam) belong to no component.
        if (var->kind == 9 && var->param == 0) var->SetModuleGroup();
    }
    G_ModuleUpdate = saved;
    return 0;
}

int16_t CheckModuleObjQz(TMainDoc* doc)
{
    IModuleManager* manager = doc->fModuleManager;
    if (!manager) return 0;
    for (int32_t i = 1; i <= manager->CountModules(); ++i) {
        IModule* module = manager->GetModule(i);
        TModuleObjQz* obj = module ? module->GetObject() : nullptr;
        if (!obj) return kComponentsRemoved;
        if (const int16_t err = obj->CheckModule()) return err;
    }
    return 0;
}

void SetModulesVisibleItems(TMainDoc* doc)
{
    IModuleManager* manager = doc->fModuleManager;
    if (!manager) return;
    for (int32_t i = 1; i <= manager->CountModules(); ++i) {
        IModule* module = manager->GetModule(i);
        if (TModuleObjQz* obj = module ? module->GetObject() : nullptr) obj->SetVisibleItems();
    }
}

namespace {

// Entries of a table whose target resource is gone are dropped; the
// resource is written when something changed.
int16_t DropEntries(uint32_t type, int16_t id, int32_t header, int32_t entry, int32_t idAt, uint32_t targetType,
                    bool counted)
{
    platform::Handle h = xget1res(type, id);
    if (!h) return reserr == platform::memFullErr ? platform::memFullErr : 0;
    const int32_t size = platform::GetHandleSize(h);
    auto* p = reinterpret_cast<uint8_t*>(*h);
    int32_t count = counted ? (size >= 2 ? ReadBES16(p) : -1) : (size - header) / entry;
    if (!Fits(size, header, count, entry)) return kResourceMissing;
    int32_t kept = 0;
    for (int32_t i = 0; i < count; ++i) {
        uint8_t* e = p + header + i * entry;
        unsigned char name[256];
        // The map answers: the target is never loaded.
        if (!xgetresname(targetType, ReadBES16(e + idAt), name, false)) {
            if (reserr == platform::memFullErr) return platform::memFullErr;
            continue;
        }
        if (kept != i) std::memmove(p + header + kept * entry, e, size_t(entry));
        ++kept;
    }
    if (kept == count) return 0;
    if (counted) platform::WriteBE16(p, uint16_t(kept));
    platform::SetHandleSize(h, header + kept * entry);
    return xwriteres(h) ? 0 : reserr;
}

}  // namespace

int16_t DropDanglingEntries(TMainDoc* doc)
{
    const int16_t saved = xcurres();
    useres(doc->fResFile);
    int16_t result = 0;
    const int16_t forms = compteres(FourCC("TFQz"), true);
    for (int32_t i = 1; i <= forms && result == 0; ++i) {
        int16_t id = 0;
        xiscryptedindres(FourCC("TFQz"), i, &id);
        if (reserr == platform::memFullErr) result = platform::memFullErr;
        else result = DropEntries(FourCC("TFQz"), id, 6, 270, 32, FourCC("FOQz"), true);
    }
    if (result == 0) result = DropEntries(FourCC("TPQz"), 0, 0, 44, 32, FourCC("CCQz"), false);
    if (result == 0 && !updateres(doc->fResFile)) result = reserr;
    if (result == 0) result = DropEntries(FourCC("PIC#"), 128, 2, 34, 32, FourCC("PICT"), true);
    if (result == 0 && !updateres(doc->fResFile)) result = reserr;
    useres(saved);
    return result;
}

int16_t DeleteModuleObjQz(TMainDoc* doc)
{
    unsigned char text[256];
    if (G_ModuleUpdate != 4) {
        MyGetIndString(text, 1002, 51);
        XAlert(1000, text, kStopAlert);
        return kCancelledByUser;
    }
    MyGetIndString(text, 1002, 59);
    if (XAlert(1002, text, kCautionAlert) != 1) return kCancelledByUser;

    // Each uninstall takes its component out of the groups list; one that
    // fails or leaves it there ends the removal.
    for (;;) {
        ObjListHdl groups = Groups(doc);
        TObjQz* component = nullptr;
        for (int32_t i = 0; groups && i < groups->Size() && !component; ++i)
            if (groups->At(i)->kind == 32) component = groups->At(i);
        if (!component) break;
        if (const int16_t err = M_UnInstall(static_cast<TModuleObjQz*>(component))) return err;
        groups = Groups(doc);
        if (groups && IsInList(groups, component)) return kComponentsRemoved;
    }

    const int16_t saved = xcurres();
    useres(doc->fResFile);
    std::vector<uint32_t> types;
    for (int32_t t = 1; t <= comptetypes(); ++t) types.push_back(xgetindtyp(t));
    for (uint32_t type : types) {
        if (type == FourCC("FIQz")) continue;
        for (;;) {
            const int16_t n = compteres(type, true);
            int16_t found = 0, id = 0;
            bool lost = false;
            for (int32_t i = 1; i <= n && !found && !lost; ++i) {
                if (xiscryptedindres(type, i, &id)) found = i;
                else lost = reserr == platform::memFullErr;
            }
            if (lost) {
                useres(saved);
                return platform::memFullErr;
            }
            if (!found) break;
            if (!rmveresbyid(type, id, true)) {
                const int16_t err = reserr ? reserr : platform::resNotFound;
                useres(saved);
                return err;
            }
            if (type == FourCC("PICT")) rmveresbyid(FourCC("PIWZ"), id, true);
        }
    }
    useres(saved);
    if (const int16_t result = DropDanglingEntries(doc)) return result;
    if (doc->fModuleManager) doc->fModuleManager->RemoveModules();
    return kComponentsRemoved;
}
