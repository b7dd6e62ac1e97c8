#include "transfer/components/NewComponent.h"

#include <cstring>
#include <new>
#include <string>
#include <unordered_set>

#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "browser/dialogs/DialogDrawing.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/Groups.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjText.h"
#include "design/reading/ReadQzB.h"
#include "platform/core/Clock.h"
#include "platform/core/Errors.h"
#include "resources/StoreBracket.h"
#include "transfer/components/ComponentGroups.h"

namespace transfer {

namespace {

constexpr int16_t kWaitDialog = 281;
constexpr int32_t kWaitDelay = 60;
constexpr int16_t kGroupingMessage = 11;
constexpr int16_t kFolderNames[3] = {5, 6, 7};  // STR# 1029: public, protected, private

bool ComponentNamed(TMainDoc* doc, const unsigned char* name)
{
    ObjListHdl groups = GetObjListe(doc->fTypeList, 32);
    for (int32_t i = 0; groups && i < groups->Size(); ++i)
        if (groups->At(i)->kind == 32 && browser::SameNameNoCase(groups->At(i)->name, name)) return true;
    return false;
}

// What M_Group leaves where it is: variables, database methods, packages
// and routines; components and folders; and the objects of installed
// components, which their own folders keep.
bool StaysOut(const TObjQz* obj)
{
    return obj->kind == 9 || obj->kind == 16 || obj->kind == 7 || obj->kind == 8 || obj->kind == 32 ||
           obj->kind == 33 || obj->TstFlag(kFlagInComponent);
}

void SortFolder(TGroupObjQz* folder)
{
    ShellSortFullName(folder->members);
}

// Everything NewComponent did in memory, undone in the reverse order.
struct Undo {
    TMainDoc* doc = nullptr;
    TModuleObjQz* component = nullptr;
    TModuleGroupObjQz* folders[3] = {};
    std::vector<GroupMove> moves;
    std::vector<GroupMove> vars;

    static void PutBack(const GroupMove& m)
    {
        if (m.obj->parent) m.obj->DelGroup(false, false);
        if (m.from) m.obj->AddGroup(m.from, false);
    }
    void Run()
    {
        for (auto it = vars.rbegin(); it != vars.rend(); ++it) PutBack(*it);
        for (auto it = moves.rbegin(); it != moves.rend(); ++it) PutBack(*it);
        // The store dropped their resources: the objects only leave memory,
        // the component first, which lets go of its folders.
        if (component) {
            component->ListRemove();
            component->Dispose();
        }
        for (TModuleGroupObjQz* f : folders)
            if (f) {
                f->ListRemove();
                f->Dispose();
            }
    }
};

int16_t Build(TMainDoc* doc, const browser::ModuleStruct& record, const std::vector<TObjQz*>& selection, Undo* undo)
{
    TGroupObjQz* made = M_NewObjQz(doc, 32, record.name);
    if (!made) return platform::memFullErr;
    auto* component = static_cast<TModuleObjQz*>(made);
    undo->component = component;
    SetProperties(component, record);
    for (int i = 0; i < 3; ++i) {
        unsigned char name[256];
        MyGetIndString(name, 1029, kFolderNames[i]);
        TGroupObjQz* folder = M_NewObjQz(doc, 33, name);
        if (!folder) return platform::memFullErr;
        undo->folders[i] = static_cast<TModuleGroupObjQz*>(folder);
        undo->folders[i]->folderKind = int16_t(i + 1);
        if (const int16_t err = folder->AddGroup(component, false)) return err;
    }
    component->SetPublic(undo->folders[0]);
    component->SetProtected(undo->folders[1]);
    component->SetPrivate(undo->folders[2]);
    if (!record.emptyComponent) {
        const int16_t err =
            M_Group(doc, selection, component, undo->folders[0], undo->folders[1], undo->folders[2], &undo->moves);
        if (err) return err;
    }
    ShellSortFullName(component->members);
    // Variables join the folder of their users; where each stood before is
    // noted for the undo.
    ObjListHdl vars = GetObjListe(doc->fTypeList, 9);
    for (int32_t i = 0; vars && i < vars->Size(); ++i) undo->vars.push_back({vars->At(i), vars->At(i)->parent});
    ModuleGroupVars(doc);
    for (TModuleGroupObjQz* folder : undo->folders)
        if (const int16_t err = folder->Write()) return err;
    return component->Write();
}

}  // namespace

void DefaultComponentName(TMainDoc* doc, unsigned char* name)
{
    unsigned char base[256];
    MyGetIndString(base, 1029, 3);
    std::memcpy(name, base, size_t(base[0]) + 1);
    for (int32_t n = 1; doc && ComponentNamed(doc, name); ++n) {
        std::memcpy(name, base, size_t(base[0]) + 1);
        PAppend(name, "_" + std::to_string(n));
    }
}

TGroupObjQz* M_NewObjQz(TMainDoc* doc, int16_t kind, const unsigned char* name)
{
    TObjQz* obj = NewObj_Id(doc, kind, name, -1, true);
    if (!obj || (kind != 32 && kind != 33)) return nullptr;
    auto* group = static_cast<TGroupObjQz*>(obj);
    // A list or a write that fails here fails again at the component's
    // last write, which reports it.
    if (!group->members) NewObjList(&group->members, 10);
    group->Write();
    return group;
}

int16_t M_Group(TMainDoc* doc, const std::vector<TObjQz*>& selection, TModuleObjQz* component,
                TModuleGroupObjQz* publicFolder, TModuleGroupObjQz* protectedFolder,
                TModuleGroupObjQz* privateFolder, std::vector<GroupMove>* moves)
{
    (void)component, (void)publicFolder;
    CursInstall();
    ObjListHdl all = nullptr;
    if (NewObjList(&all, 30) != 0) {
        CursRmve();
        return platform::memFullErr;
    }
    int16_t err = 0;
    std::unordered_set<const TObjQz*> chosen;
    for (TObjQz* obj : selection)
        if (err == 0) {
            chosen.insert(obj);
            err = obj->SelfAddObjList(&all, 1);
        }
    ShellSortType(all);
    WaitParamRec wait;
    WaitParamRec* outer = G_WaitParam;
    SetWaitDialog(&wait, kGroupingMessage, doc->fName, 0, all->Size(), kWaitDialog, kWaitDelay);
    G_WaitParam = &wait;
    try {
        for (int32_t i = 0; err == 0 && i < all->Size(); ++i) {
            TObjQz* obj = all->At(i);
            if (StaysOut(obj)) continue;
            TModuleGroupObjQz* folder = obj->kind == 1 || chosen.count(obj) ? protectedFolder : privateFolder;
            if (obj->parent == folder) continue;
            moves->push_back({obj, obj->parent});
            ++wait.current;
            err = obj->AddGroup(folder, false);
            if (err == 0 && obj->parent != folder) err = platform::paramErr;
        }
    } catch (const std::bad_alloc&) {
        err = platform::memFullErr;
    }
    ReSetWaitDialog(&wait);
    G_WaitParam = outer;
    FreeObjList(all);
    if (err == 0) {
        SortFolder(protectedFolder);
        SortFolder(privateFolder);
    }
    CursRmve();
    return err;
}

void SetProperties(TModuleObjQz* component, const browser::ModuleStruct& record)
{
    component->SetDate(record.date);
    component->SetVersion(record.version);
    component->SetPrefix(record.prefix);
    component->prefixSet = record.rename;
    component->SetVersionNb(record.versionNb);
    component->SetComments(record.comments);
}

int16_t NewComponent(TMainDoc* doc, const browser::ModuleStruct& record, const std::vector<TObjQz*>& selection,
                     TModuleObjQz** made)
{
    *made = nullptr;
    if (!doc || !doc->fTypeList) return platform::paramErr;
    StoreBracket store;
    if (const int16_t err = store.Begin(doc->fResFile)) return err;
    Undo undo;
    undo.doc = doc;
    int16_t err = 0;
    try {
        err = Build(doc, record, selection, &undo);
    } catch (const std::bad_alloc&) {
        err = platform::memFullErr;
    }
    if (err == 0) err = store.Commit();
    if (err != 0) {
        store.Drop();
        undo.Run();
        return err;
    }
    *made = undo.component;
    return 0;
}

int16_t M_New(TMainDoc* doc, TObjQz* const* rows, int32_t count, bool modulable, TObjQz** made)
{
    *made = nullptr;
    if (!doc) return 0;
    if (doc->fRsrFile != -1 && CountTotResources(doc->fRsrFile) > kMaxComponentResources) {
        ErrMsg(kTooManyResources);
        return 0;
    }
    browser::ModuleStruct record;
    DefaultComponentName(doc, record.name);
    uint32_t now = 0;
    platform::GetDateTime(&now);
    PSet(record.date, ShortDate(now));
    record.versionNb = 1;
    record.rename = 1;
    record.doc = doc;
    record.offerSelection = modulable;
    record.selectionUsable = modulable;
    record.emptyComponent = modulable ? 0 : 1;
    if (!browser::GetModule(&record)) return 0;
    std::vector<TObjQz*> selection;
    try {
        selection.assign(rows, rows + count);
    } catch (const std::bad_alloc&) {
        ErrMsg(platform::memFullErr);
        return platform::memFullErr;
    }
    TModuleObjQz* component = nullptr;
    const int16_t err = NewComponent(doc, record, selection, &component);
    if (err != 0) {
        ErrMsg(err);
        return err;
    }
    *made = component;
    return 0;
}

}  // namespace transfer
