#include "transfer/components/Install.h"

#include <cstring>
#include <new>
#include <unordered_set>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/objects/DesignGlobals.h"
#include "app/dialogs/WaitDialog.h"
#include "design/objects/Groups.h"
#include "design/rename/ProjectMethods.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/reading/ReadQzB.h"
#include "platform/core/Memory.h"
#include "design/objects/ObjText.h"
#include "design/objects/OpenEditors.h"
#include "design/reading/ModuleManager.h"
#include "platform/core/Clock.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/files/FileSpec.h"
#include "platform/files/MacNames.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResourceApi.h"
#include "resources/container/ContainerLayout.h"
#include "transfer/CurrentFiles.h"
#include "transfer/components/ComponentGroups.h"
#include "transfer/components/Generate.h"
#include "transfer/conflicts/ConflictDefaults.h"
#include "transfer/driver/DoMove.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/links/NotBrought.h"
#include "transfer/modules/ModuleMgr.h"
#include "transfer/remap/ResIDMap.h"

namespace transfer {

namespace {

using platform::FourCC;

// STR# 1002 items.
constexpr int16_t kNotOneComponent = 71;
constexpr int16_t kNotAComponent = 72;
constexpr int16_t kAProject = 73;
constexpr int16_t kOlderVersion = 54;
constexpr int16_t kSameVersion = 55;
constexpr int16_t kNewerVersion = 56;
constexpr int16_t kRenameDiffers = 74;
constexpr int16_t kFormatQuestion = 76;
// Flag of an older version's member that no copy replaced (yet).
constexpr int16_t kFlagOldMember = 12;

void Refuse(int16_t item)
{
    unsigned char text[256];
    MyGetIndString(text, 1002, item);
    XAlert(1000, text, kStopAlert);
}

bool Ask(const unsigned char* text) { return XAlert(1002, text, kCautionAlert) == 1; }

// "name of date, version v number n".
void Describe(TModuleObjQz* component, unsigned char* text)
{
    unsigned char part[256];
    component->GetName(part);
    PAppend(text, part);
    MyGetIndString(part, 1029, 17);
    PAppend(text, part);
    component->GetDate(part);
    PAppend(text, part);
    // An empty version text leaves out its label too: no doubled blank.
    unsigned char version[256];
    component->GetVersion(version);
    if (version[0] != 0) {
        MyGetIndString(part, 1029, 18);
        PAppend(text, part);
        PAppend(text, version);
    }
    MyGetIndString(part, 1029, 19);
    PAppend(text, part);
    PAppend(text, std::to_string(component->GetVersionNb()));
}

// The module update mode is the install's (0) while this lives, and back
// to normal work (4) however the command ends.
class InstallMode {
public:
    InstallMode() { G_ModuleUpdate = 0; }
    ~InstallMode() { G_ModuleUpdate = 4; }
    InstallMode(const InstallMode&) = delete;
    InstallMode& operator=(const InstallMode&) = delete;
};

bool CurrentFormat(TMainDoc* doc)
{
    CPseudoResFile* file = g_resManager ? g_resManager->FindFile(doc->fResFile) : nullptr;
    return !file || file->Magic() == container::kMagicLast;
}

// What the install's steps inside the transfer share.
struct InstallRun {
    TMainDoc* doc;
    TModuleObjQz* component;  // the library's
    TModuleObjQz* installed;  // the structure's older version, or null
    uint32_t started = 0;
    bool finished = false;    // the last step ran (the document must be read again)
};

// The older version's member resources are read while its record still
// gives their keys: the new record changes them.
void LoadOwnResources(TModuleObjQz* copy)
{
    for (TObjQz* m : TreeOf(copy)) {
        const uint32_t type = m->GetOwnResType();
        if (type == kNoResType || !m->owner) continue;
        UsingStore store(m->owner->fResFile);
        xget1res(type, m->id);
    }
}

// The older version's members no copy replaced leave it: its pictures go
// with their rows of its id map; a table stays as a deleted table, a
// subtable stays; anything else is deleted, what a leaving table or form
// owns with it.
int16_t TakeApart(InstallRun* run)
{
    TModuleObjQz* old = run->installed;
    auto* manager = dynamic_cast<ModuleMgr*>(run->doc->fModuleManager);
    Module* record = manager ? manager->GetModule(old) : nullptr;
    if (!record && manager) record = manager->GetNamedRecord(old->name);
    {
        UsingStore store(run->doc->fResFile);
        if (record)
            if (const int16_t err = record->DeleteAllModuleResId(FourCC("PICT"))) return err;
    }
    // The live tree: members a mover took out of the document are in no
    // folder any more.
    std::vector<TObjQz*> leaving;
    for (TObjQz* m : TreeOf(old))
        if (m->TstFlag(kFlagOldMember) && !IsGroupKind(m)) leaving.push_back(m);
    const std::unordered_set<TObjQz*> leavingSet(leaving.begin(), leaving.end());
    // Fields and subtables stay with a deleted table, and a subtable is
    // never deleted.
    auto goesWithOwner = [&](TObjQz* m) {
        if (m->kind == 28 || m->kind == 29) return false;
        for (TObjQz* o = m->GetOwnerObj(); o; o = o->GetOwnerObj())
            if (o->kind != 29 && leavingSet.count(o)) return true;
        return false;
    };
    // What is freed below, the transfer forgets as it goes (TransferHooks).
    std::vector<TObjQz*> own;
    for (TObjQz* m : leaving)
        if (!goesWithOwner(m)) own.push_back(m);
    MethodRecordsLeaveTogether records;
    for (TObjQz* m : own) {
        m->SetFlag(kFlagOldMember, false);
        if (m->kind == 18 && record) record->Remove(FourCC("PICT"), m->id);
        if (m->parent) m->DelGroup(false, false);
        if (m->kind != 29) m->DeleteObj(true);
    }
    if (record) {
        manager->DeleteModuleFromList(record);
        delete record;
    }
    return 0;
}

// The component's folder by its state less one (public, protected, private).
TGroupObjQz* OwnFolder(TModuleObjQz* component, int i)
{
    return i == 0 ? component->publicFolder : i == 1 ? component->protectedFolder : component->privateFolder;
}

// An installed component merged with the library's takes its properties.
void TakeProperties(TModuleObjQz* to, const TModuleObjQz* from)
{
    std::memcpy(to->date, from->date, sizeof to->date);
    std::memcpy(to->version, from->version, sizeof to->version);
    std::memcpy(to->comments, from->comments, sizeof to->comments);
    std::memcpy(to->prefix, from->prefix, sizeof to->prefix);
    to->prefixSet = from->prefixSet;
    to->versionNb = from->versionNb;
}

// Step 10, inside the transfer: the copy gets its folders and its record.
int16_t Finish(void* context)
{
    auto* run = static_cast<InstallRun*>(context);
    run->finished = true;
    // Over an installed version the component and its folders may merge
    // into the installed ones instead of coming as new copies.
    TModuleObjQz* copy = run->component->copy ? run->component->copy : run->installed;
    if (!copy) return kResourceMissing;
    if (copy == run->installed) TakeProperties(copy, run->component);
    const struct {
        TGroupObjQz* folder;
        const char* name;
    } folders[] = {{run->component->publicFolder, "public "},
                   {run->component->protectedFolder, "protect"},
                   {run->component->privateFolder, "private"}};
    TModuleGroupObjQz* copies[3] = {};
    for (int i = 0; i < 3; ++i) {
        auto* f = dynamic_cast<TModuleGroupObjQz*>(folders[i].folder);
        copies[i] = f ? f->copy : nullptr;
        if (!copies[i] && copy == run->installed) copies[i] = dynamic_cast<TModuleGroupObjQz*>(OwnFolder(copy, i));
        if (!copies[i]) {
            unsigned char text[256];
            PSet(text, folders[i].name);
            DebugLog_WritePStr("%s", text);
        }
    }
    copy->SetPublic(copies[0]);
    copy->SetProtected(copies[1]);
    copy->SetPrivate(copies[2]);
    if (run->installed) {
        LoadOwnResources(copy);
        if (const int16_t err = TakeApart(run)) return err;
    }
    if (const int16_t err = copy->WriteProperties()) return err;
    if (const int16_t err = M_GenereModule(run->doc, copy, g_ResIDMapMgr ? g_ResIDMapMgr->GetList() : nullptr, true))
        return err;
    for (int i = 0; i < 3; ++i)
        if (copies[i]) copies[i]->SetModuleGroupState(int16_t(i + 1));
    uint32_t now = 0;
    platform::GetDateTime(&now);
    copy->extra1 = copy->dateFrom = run->started;
    copy->extra2 = copy->dateTo = now;
    return copy->Write();
}

}  // namespace

InstallPlan PlanInstall(TMainDoc* doc, TMainDoc* library, TModuleObjQz** component, TModuleObjQz** installed)
{
    *component = nullptr;
    *installed = nullptr;
    ObjListHdl groups = GetObjListe(library->fTypeList, 32);
    int32_t count = 0;
    for (int32_t i = 0; groups && i < groups->Size(); ++i)
        if (groups->At(i)->kind == 32) {
            ++count;
            *component = static_cast<TModuleObjQz*>(groups->At(i));
        }
    if (count != 1) {
        *component = nullptr;
        Refuse(kNotOneComponent);
        return InstallPlan::Refused;
    }
    TModuleObjQz* fresh = *component;
    TObjQz* found = nullptr;
    ObjListHdl own = GetObjListe(doc->fTypeList, 32);
    for (int32_t i = 0; own && i < own->Size() && !found; ++i)
        if (own->At(i)->kind != 33 && ObjNamed(own->At(i), fresh->name)) found = own->At(i);
    if (found) {
        if (found->kind != 32) {
            Refuse(kNotAComponent);
            return InstallPlan::Refused;
        }
        auto* old = static_cast<TModuleObjQz*>(found);
        if (old->IsModuleProject()) {
            Refuse(kAProject);
            return InstallPlan::Refused;
        }
        if (fresh->GetVersionNb() < old->GetVersionNb()) {
            Refuse(kOlderVersion);
            return InstallPlan::Refused;
        }
        if ((fresh->prefixSet != 0) != (old->prefixSet != 0)) {
            Refuse(kRenameDiffers);
            return InstallPlan::Refused;
        }
        // Its members are replaced or go: not under an editor's typing.
        if (TreeRefusedForOpenEditor(old, true)) return InstallPlan::Refused;
        unsigned char text[256], part[256];
        if (fresh->GetVersionNb() == old->GetVersionNb()) {
            MyGetIndString(text, 1002, kSameVersion);
        } else {
            MyGetIndString(text, 1029, 15);
            Describe(old, text);
            MyGetIndString(part, 1002, kNewerVersion);
            PAppend(text, part);
            MyGetIndString(part, 1029, 16);
            PAppend(text, part);
            Describe(fresh, text);
            MyGetIndString(part, 1024, 5);
            PAppend(text, part);
        }
        if (!Ask(text)) return InstallPlan::Declined;
        *installed = old;
    }
    if (!CurrentFormat(doc)) {
        unsigned char text[256];
        MyGetIndString(text, 1002, kFormatQuestion);
        if (!Ask(text)) return InstallPlan::Declined;
    }
    return InstallPlan::Install;
}

int16_t InstallComponent(TMainDoc* doc, TMainDoc* library, TModuleObjQz* component, TModuleObjQz* installed)
{
    SetMenusEnabled(false);
    doc->RazAll(nullptr, false);
    delete g_ResIDMapMgr;
    g_ResIDMapMgr = new ResIDMapMgr;
    CursInstall();
    if (G_Filters) platform::DisposeHandle(G_Filters);
    G_Filters = NewFilters();
    int16_t err = G_Filters && g_ResIDMapMgr ? MakeCc_Replace(G_Filters) : platform::memFullErr;
    ObjListHdl list = nullptr;
    if (err == 0) err = NewObjList(&list, 30);
    if (err == 0) err = component->SelfAddObjList(&list, 0);
    if (err == 0) ShellSortType(list);
    InstallRun run{doc, component, installed};
    platform::GetDateTime(&run.started);
    // The older version's members: those still marked after the copy were
    // replaced by none of its objects.
    std::vector<TObjQz*> marked;
    if (installed)
        for (TObjQz* m : TreeOf(installed))
            if (!IsGroupKind(m)) {
                m->SetFlag(kFlagOldMember, true);
                marked.push_back(m);
            }
    component->copy = nullptr;
    if (err == 0) {
        SetInstallFinishHook(Finish, &run);
        err = DoMove(library, doc, &list, true, true, installed);
        SetInstallFinishHook(nullptr, nullptr);
    }
    CursRmve();
    SetMenusEnabled(true);
    FreeObjList(list);
    if (G_Filters) platform::DisposeHandle(G_Filters);
    G_Filters = nullptr;
    delete g_ResIDMapMgr;
    g_ResIDMapMgr = nullptr;
    // A transfer that never reached its last step took nothing apart: the
    // marks come off the members it left as they were.
    if (err != 0 && !run.finished)
        for (TObjQz* m : marked) m->SetFlag(kFlagOldMember, false);
    if (err == 0 || run.finished) ReadAgainKeepingEditors(doc);
    else doc->UpdateAll();
    // What the copies could not bring, said over the windows as they are now.
    ReportNotBrought();
    return err;
}

int16_t M_Install(TMainDoc* doc)
{
    InstallMode mode;
    if (!doc) return 0;
    unsigned char prompt[256];
    MyGetIndString(prompt, 1029, 4);
    platform::FSSpec fileSpec;
    if (MacGetFile(&fileSpec, nullptr, CompFileFilter, prompt) != 0) return kCancelledByUser;
    auto* library = new (std::nothrow) TLibDoc;
    if (!library) {
        ErrMsg(platform::memFullErr);
        return platform::memFullErr;
    }
    unsigned char name[256];
    PSet(name, platform::FSpGetMacName(fileSpec));
    int16_t err = library->InitDocument(name, MyAppl);
    if (err == 0) err = library->TDocument::Read(fileSpec, false, true);
    if (err == 0) err = library->OpenFile(fileSpec);
    if (err == 0) err = library->ReadFile(true);
    if (err != 0) {
        if (err != kCancelledByUser) ErrMsg(err);
        library->Dispose();
        return err;
    }
    TModuleObjQz* component = nullptr;
    TModuleObjQz* installed = nullptr;
    const InstallPlan plan = PlanInstall(doc, library, &component, &installed);
    if (plan == InstallPlan::Install) err = InstallComponent(doc, library, component, installed);
    else err = kCancelledByUser;
    library->Dispose();
    return err;
}

}  // namespace transfer
