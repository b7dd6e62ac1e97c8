#include "transfer/components/Generate.h"

#include <cstring>
#include <new>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "app/documents/OpenDocuments.h"
#include "design/links/TokenAccess.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/Groups.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/reading/ReadQzB.h"
#include "design/rename/RenameCommit.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/MacNames.h"
#include "resources/ResourceApi.h"
#include "transfer/CurrentFiles.h"
#include "transfer/components/NameCodes.h"
#include "transfer/conflicts/ConflictDefaults.h"
#include "transfer/driver/DoMove.h"
#include "transfer/modules/Module.h"
#include "transfer/modules/ModuleMgr.h"

namespace transfer {

namespace {

using platform::FourCC;

constexpr int16_t kFirstGenerationNote = 75;  // STR# 1002
constexpr int16_t kRenamingMessage = 5;       // STR# 1011
constexpr int16_t kWaitDialog = 281;
constexpr int32_t kWaitDelay = 60;

// The objects a component keeps in its record by their resource.
bool Skipped(int16_t kind) { return kind == 3 || kind == 9 || kind == 13 || kind == 14 || kind == 15 || kind == 17; }

// Menus off and the busy cursor for a while.
class Busy {
public:
    Busy()
    {
        SetMenusEnabled(false);
        CursInstall();
    }
    ~Busy()
    {
        CursRmve();
        SetMenusEnabled(true);
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
};

// The copies made by an earlier generation belong to a library that is
// gone.
void ForgetCopies(TModuleObjQz* component)
{
    component->copy = nullptr;
    for (TGroupObjQz* f : {component->publicFolder, component->protectedFolder, component->privateFolder})
        if (f && f->kind == 33) static_cast<TModuleGroupObjQz*>(f)->copy = nullptr;
}

TGroupObjQz* CopyOf(TGroupObjQz* folder)
{
    return folder && folder->kind == 33 ? static_cast<TModuleGroupObjQz*>(folder)->copy : nullptr;
}

int16_t AddGeneratedMark(TMainDoc* library)
{
    UsingStore store(library->fResFile);
    platform::Handle mark = platform::NewHandleClear(4);
    if (!mark) return platform::memFullErr;
    if (!xaddres(mark, FourCC("xmd@"), 1)) {
        platform::DisposeHandle(mark);
        return reserr ? reserr : platform::memFullErr;
    }
    return updateres(library->fResFile) ? int16_t(0) : (reserr ? reserr : platform::ioErr);
}

// The renaming of one member: its code name, its users following.
int16_t RenameMember(TMainDoc* library, TObjQz* member, platform::Handle* table, const unsigned char* prefix)
{
    unsigned char oldName[256], newName[256];
    member->GetName(oldName);
    if (const int16_t err = M_GetName(table, prefix, oldName, newName, member->seed)) return err;
    if (member->kind == 2) {
        UsingStore store(library->fResFile);
        if (const int16_t err = RemoveCurrentMethodName(oldName, member->id, library->fResFile)) return err;
    }
    ObjListHdl users = nullptr;
    if (NewObjList(&users, 10) != 0) return platform::memFullErr;
    for (int32_t i = 0; member->usedBy && i < member->usedBy->Size(); ++i)
        if (AddObjList(&users, member->usedBy->At(i)) != 0) {
            FreeObjList(users);
            return platform::memFullErr;
        }
    TObjQz* renamed = nullptr;
    // A rename that failed (and said why) leaves a library that still
    // shows the name: the generation stops.
    return member->DoReplace(newName, true, users, &renamed, true);
}

// The member's own resource as its state wants it: hidden ones (2, 3)
// enciphered, shown ones plain. Written again either way: the commit
// enciphers with the key the new record gives (an older install's key no
// longer holds). A write that cannot be marked fails the generation.
int16_t CipherOwnResource(TObjQz* member, int16_t state)
{
    const uint32_t type = member->GetOwnResType();
    if (type == kNoResType || type == FourCC("#GMO") || !member->owner) return 0;
    UsingStore store(member->owner->fResFile);
    platform::Handle h = xget1res(type, member->id);
    if (!h) return 0;
    const bool hidden = state >= 2;
    if (hidden != xiscryptedres(h)) {
        if (hidden) hcrypteres(h, true);
        else huncrypteres(h);
    }
    if (xwriteres(h)) return 0;
    return reserr ? reserr : platform::memFullErr;
}

}  // namespace

bool IsComponentFile(const std::string& macRomanName, platform::OSType type, bool folder)
{
    if (folder) return false;
    return HasExtension(macRomanName, "QCP") || type == FourCC("QzMO");
}

platform::Boolean CompFileFilter(platform::AEDesc* item, void* info, void*, platform::NavFilterModes)
{
    if (!item || item->descriptorType != platform::typeFSRef) return false;
    std::string path(size_t(platform::AEGetDescDataSize(item)), '\0');
    if (platform::AEGetDescData(item, path.data(), platform::Size(path.size())) != platform::noErr) return false;
    const auto* i = static_cast<const platform::NavFileOrFolderInfo*>(info);
    const std::string name = platform::FSpGetMacName(platform::FSSpec{path});
    return IsComponentFile(name, i ? i->finderInfo.fdType : 0, i && i->isFolder);
}

void LibraryName(TModuleObjQz* component, unsigned char* name)
{
    component->GetName(name);
    unsigned char version[256];
    component->GetVersion(version);
    if (version[0] > 0) {
        PAppendChar(name, ' ');
        PAppend(name, version);
    }
    PAppend(name, "-" + std::to_string(component->GetVersionNb()));
    for (int i = 1; i <= name[0]; ++i)
        if (name[i] == '/') name[i] = '-';
}

int16_t M_Move(TMainDoc* library, TModuleObjQz* component)
{
    ForgetCopies(component);
    TMainDoc* source = component->owner;
    int16_t err = 0;
    {
        Busy busy;
        if (G_Filters) platform::DisposeHandle(G_Filters);
        G_Filters = NewFilters();
        err = G_Filters ? MakeCc_Replace(G_Filters) : platform::memFullErr;
        ObjListHdl list = nullptr;
        if (err == 0) err = NewObjList(&list, 30);
        if (err == 0 && component->Movable()) err = component->SelfAddObjList(&list, 0);
        if (err == 0) ShellSortType(list);
        if (err == 0 && !GromMemHdl) err = platform::memFullErr;
        if (err == 0) err = DoMove(source, library, &list, true, false, nullptr);
        FreeObjList(list);
        if (G_Filters) platform::DisposeHandle(G_Filters);
        G_Filters = nullptr;
    }
    TModuleObjQz* copy = component->copy;
    if (err != 0 || !copy) return err;
    copy->SetPublic(static_cast<TModuleGroupObjQz*>(CopyOf(component->publicFolder)));
    copy->SetProtected(static_cast<TModuleGroupObjQz*>(CopyOf(component->protectedFolder)));
    copy->SetPrivate(static_cast<TModuleGroupObjQz*>(CopyOf(component->privateFolder)));
    return copy->WriteProperties();
}

int16_t M_Genere(Module* record, TGroupObjQz* folder, int16_t state)
{
    if (!folder) return 0;
    for (int32_t i = 0; folder->members && i < folder->members->Size(); ++i) {
        TObjQz* member = folder->members->At(i);
        if (Skipped(member->kind)) continue;
        // Tables go by their number, which the structure keeps through
        // renumbering of their records.
        const bool table = member->kind == 1;
        const int16_t id = table ? static_cast<TFileObjQz*>(member)->tableNumber : member->id;
        if (const int16_t err = record->Add(member->GetOwnResType(), id, state)) return err;
        member->SetModuleState(state, false);
        if (const int16_t err = CipherOwnResource(member, state)) return err;
        if (!table) member->RemoveComment(state);
    }
    return record->Add(FourCC("#GMO"), folder->id, state);
}

int16_t M_GenereModule(TMainDoc* doc, TModuleObjQz* component, VArrayListOf<ResIDMap>* map, bool install)
{
    auto* manager = dynamic_cast<ModuleMgr*>(doc->fModuleManager);
    if (!manager) return platform::paramErr;
    auto* record = new Module;
    if (!record || !record->Made()) {
        delete record;
        return platform::memFullErr;
    }
    unsigned char text[256];
    component->GetName(text);
    record->fName.FromMacPString(text);
    component->GetDate(text);
    record->fDate.FromMacPString(text);
    component->GetVersion(text);
    record->fVersion.FromMacPString(text);
    record->fVersionNb = component->GetVersionNb();
    component->GetComments(text);
    record->fComments.FromMacPString(text);
    int16_t err = manager->ReadTableIds();
    if (err == 0) err = manager->AddModuleToList(record);
    if (err != 0) {
        delete record;
        return err;
    }
    // Hidden members are enciphered with the keys of this record.
    manager->BecomeKeySource();
    {
        UsingStore store(doc->fResFile);
        // The members' writes (states, ciphers, removed comments) and the
        // record land in one commit, or join the install's change.
        StoreChange change;
        err = change.Begin(doc->fResFile);
        const struct {
            TGroupObjQz* folder;
            int16_t state;
        } order[] = {{component->privateFolder, 3}, {component->publicFolder, 1}, {component->protectedFolder, 2}};
        for (const auto& f : order) {
            if (err == 0) err = M_Genere(record, f.folder, f.state);
            if (err == 0 && f.folder && f.folder->kind == 33)
                static_cast<TModuleGroupObjQz*>(f.folder)->SetModuleGroupState(f.state);
        }
        component->SetModuleState(1, false);
        component->SetFlag(kFlagDocReadOnly, true);
        for (TGroupObjQz* f : {component->publicFolder, component->protectedFolder, component->privateFolder})
            if (err == 0 && install && f) err = f->Write();
        if (err == 0 && map) err = record->WriteResIDMap(component->id, map);
        if (err == 0) err = record->WriteNewRes(component->id);
        if (err == 0 && !updateresNoMap(doc->fResFile)) err = reserr ? reserr : platform::ioErr;
        if (err == 0) err = change.Commit();
    }
    // An install commits later, enciphering with the keys the manager
    // gives then: the record stays until the document is read again.
    if (install && err == 0) return 0;
    manager->DeleteModuleFromList(record);
    delete record;
    return err;
}

int16_t M_Rename(TMainDoc* library, TModuleObjQz* component)
{
    TModuleObjQz* copy = component->copy;
    if (!copy) return 0;
    platform::Handle table = component->GetNameCodeHandle();
    if (!table) return platform::memFullErr;
    SetNameCodeCounter(table, 0);
    unsigned char prefix[256];
    component->GetPrefix(prefix);
    // Who is renamed, taken first: each rename re-sorts its kind's list. A
    // method's locals, members beside their method, keep their names.
    std::vector<TObjQz*> renamed;
    for (TGroupObjQz* f : {copy->privateFolder, copy->protectedFolder})
        for (int32_t i = 0; f && f->members && i < f->members->Size(); ++i) {
            TObjQz* m = f->members->At(i);
            if (auto* var = dynamic_cast<TVarObjQz*>(m); var && var->method) continue;
            if (m->Cryptable() && (f == copy->privateFolder || m->kind == 9)) renamed.push_back(m);
        }
    WaitParamRec wait;
    WaitParamRec* outer = G_WaitParam;
    unsigned char title[256], name[256];
    MyGetIndString(title, 1029, 2);
    library->GetDocName(name);
    PAppend(title, name);
    SetWaitDialog(&wait, kRenamingMessage, title, 0, int32_t(renamed.size()), kWaitDialog, kWaitDelay);
    G_WaitParam = &wait;
    // Every rename joins this one change of the library's store: one
    // commit for all of them, none when one fails.
    StoreChange change;
    int16_t err = change.Begin(library->fResFile);
    for (TObjQz* m : renamed) {
        if (err) break;
        ++wait.current;
        if (ChkWait(&wait)) err = kCancelledByUser;
        else err = RenameMember(library, m, &table, prefix);
    }
    if (err == 0) err = change.Commit();
    ReSetWaitDialog(&wait);
    G_WaitParam = outer;
    if (err == 0) err = component->SetNameCodeHandle(table);
    return err;
}

int16_t GenerateComponent(TMainDoc* doc, TModuleObjQz* component)
{
    if (!component || component->owner != doc) return platform::paramErr;
    // The project's own changes (its first generation, its name codes) land
    // in one commit once the library is made, or not at all.
    StoreChange projectChange;
    if (const int16_t err = projectChange.Begin(doc->fResFile)) return err;
    const auto wasGenerated = component->generated;
    if (!component->generated) {
        unsigned char text[256];
        MyGetIndString(text, 1002, kFirstGenerationNote);
        XAlert(1000, text, kNoteAlert);
        component->generated = 1;
        component->WriteProperties();
    }
    unsigned char name[256];
    LibraryName(component, name);
    // Saved under this name, extension and all: a version's dots are no
    // extension.
    PAppend(name, ".QCP");
    auto* library = new (std::nothrow) TLibDoc;
    if (!library) return platform::memFullErr;
    int16_t err = library->InitDocument(name, MyAppl);
    library->fLibrary = true;
    library->fComponent = true;
    if (err == 0) err = library->InitFile();
    if (err != 0) {
        library->Dispose();
        return err;
    }
    err = M_Move(library, component);
    TModuleObjQz* copy = component->copy;
    // A copy that made no component is no library: nothing is saved.
    if (err == 0 && !copy) err = kResourceMissing;
    if (err == 0) err = ModuleGroupVars(library);
    if (err == 0 && component->prefixSet) err = M_Rename(library, component);
    if (err == 0) err = M_GenereModule(library, copy, nullptr, false);
    if (err == 0) err = AddGeneratedMark(library);
    if (err != 0 && err != kCancelledByUser) ErrMsg(err);
    // A library whose copy failed is never saved: its working files go
    // with it.
    if (err == 0) err = library->Write();
    // The project is marked only once its library is whole at the chosen
    // name (the save tells its own failures).
    if (err == 0) {
        err = projectChange.Commit();
        if (err != 0) ErrMsg(err);
    }
    // Nothing of the project stored: the next generation is the first again.
    if (err != 0) component->generated = wasGenerated;
    ForgetCopies(component);
    const int16_t closed = library->Dispose();
    return err != 0 ? err : closed;
}

int16_t M_Generate(TMainDoc* doc, TObjQz* const* rows, int32_t count)
{
    int16_t err = 0;
    for (int32_t i = 0; i < count && err == 0; ++i) {
        TObjQz* obj = rows[i];
        if (obj->kind != 32 || !obj->IsModuleProject() || !obj->CheckModuleProject()) continue;
        err = GenerateComponent(doc, static_cast<TModuleObjQz*>(obj));
    }
    return err;
}

}  // namespace transfer
