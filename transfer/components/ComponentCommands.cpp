#include "transfer/components/ComponentCommands.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_set>
#include <vector>

#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "browser/TransferDrop.h"
#include "browser/dialogs/DialogDrawing.h"
#include "browser/dialogs/ModuleDialog.h"
#include "design/links/XRef.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/Groups.h"
#include "design/objects/ObjText.h"
#include "design/objects/OpenEditors.h"
#include "design/reading/ModuleManager.h"
#include "design/reading/ReadQzB.h"
#include "design/rename/ProjectMethods.h"
#include "design/rename/RenameCommit.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "resources/ResourceApi.h"
#include "resources/StoreBracket.h"
#include "transfer/components/ComponentGroups.h"
#include "transfer/components/Generate.h"
#include "transfer/components/Install.h"
#include "transfer/components/NewComponent.h"
#include "transfer/modules/ModuleMgr.h"

namespace transfer {

namespace {

using platform::FourCC;

constexpr int16_t kWaitDialog = 281;
constexpr int32_t kWaitDelay = 60;
constexpr int16_t kUngroupingMessage = 12;
constexpr int16_t kDeleteQuestion = 69;     // STR# 1002
constexpr int16_t kUninstallQuestion = 70;  // STR# 1002

// "<question><full name>?" asked with the two-button alert: true for OK.
bool Confirmed(int16_t question, TObjQz* component)
{
    unsigned char text[256], part[256];
    MyGetIndString(text, 1002, question);
    component->GetFullName(part);
    PAppend(text, part);
    MyGetIndString(part, 1024, 5);
    PAppend(text, part);
    return XAlert(1002, text, kCautionAlert) == 1;
}

// The wait dialog of a walk over the component's member tree.
class TreeWait {
public:
    explicit TreeWait(TModuleObjQz* component) : fOuter(G_WaitParam)
    {
        unsigned char name[256];
        component->GetName(name);
        SetWaitDialog(&fWait, kUngroupingMessage, name, 0, RecursiveGroupCount(component), kWaitDialog, kWaitDelay);
        G_WaitParam = &fWait;
    }
    ~TreeWait()
    {
        ReSetWaitDialog(&fWait);
        G_WaitParam = fOuter;
    }
    TreeWait(const TreeWait&) = delete;
    TreeWait& operator=(const TreeWait&) = delete;

private:
    WaitParamRec fWait;
    WaitParamRec* fOuter;
};

// The module update mode set for a while, put back however the scope ends.
class UpdateMode {
public:
    explicit UpdateMode(int16_t mode) : fSaved(G_ModuleUpdate) { G_ModuleUpdate = mode; }
    ~UpdateMode() { G_ModuleUpdate = fSaved; }
    UpdateMode(const UpdateMode&) = delete;
    UpdateMode& operator=(const UpdateMode&) = delete;

private:
    int16_t fSaved;
};

// What the memory holds after a change the store did not take, or one the
// objects in memory do not follow: the document read again from its files,
// its editors open on what they show.
void ReadAgain(TMainDoc* doc) { ReadAgainKeepingEditors(doc); }

// The entries of a record, copied: the component's deletion disposes of
// the objects, and the record goes afterwards.
std::vector<ModuleEntry> EntriesOf(Module* record)
{
    std::vector<ModuleEntry> entries;
    ModuleEntry e;
    for (int32_t i = 1; record && record->GetEntry(i, &e); ++i) entries.push_back(e);
    return entries;
}

// Member resources a deletion left behind (kinds whose objects do not
// remove their own): methods, forms, menus and pictures of the record.
void RemoveLeftovers(TMainDoc* doc, const std::vector<ModuleEntry>& entries)
{
    const int16_t saved = xcurres();
    useres(doc->fResFile);
    for (const ModuleEntry& e : entries) {
        if (e.type != FourCC("CCQz") && e.type != FourCC("FOQz") && e.type != FourCC("MENQ") &&
            e.type != FourCC("PICT"))
            continue;
        rmveresbyid(e.type, e.id, true);
        if (e.type == FourCC("PICT")) rmveresbyid(FourCC("PIWZ"), e.id, true);
    }
    updateres(doc->fResFile);
    useres(saved);
}

}  // namespace

int16_t M_Properties(TMainDoc* doc, TObjQz* obj)
{
    auto* component = dynamic_cast<TModuleObjQz*>(obj);
    if (!doc || !component) return kCancelledByUser;
    browser::ModuleStruct record;
    CopyObjName(record.name, component->name);
    if (record.name[0] > browser::kModuleNameMax) record.name[0] = browser::kModuleNameMax;
    unsigned char date[256];
    component->GetDate(date);
    std::memcpy(record.date, date, size_t(date[0] > 80 ? 80 : date[0]) + 1);
    record.date[0] = date[0] > 80 ? 80 : date[0];
    component->GetVersion(record.version);
    component->GetPrefix(record.prefix);
    component->GetComments(record.comments);
    record.versionNb = component->GetVersionNb();
    record.rename = component->prefixSet;
    record.doc = doc;
    record.component = component;
    record.readOnly = component->IsModule();
    if (!browser::GetModule(&record)) return kCancelledByUser;

    // The fields as they were, for a store that refuses the change.
    struct Fields {
        ObjName name;
        int16_t date[3];
        unsigned char version[256], comments[256];
        uint8_t prefix[4], prefixSet;
        uint32_t versionNb;
    } before;
    std::memcpy(before.name, component->name, sizeof before.name);
    std::memcpy(before.date, component->date, sizeof before.date);
    std::memcpy(before.version, component->version, sizeof before.version);
    std::memcpy(before.comments, component->comments, sizeof before.comments);
    std::memcpy(before.prefix, component->prefix, sizeof before.prefix);
    before.prefixSet = component->prefixSet;
    before.versionNb = component->versionNb;
    StoreBracket store;
    int16_t err = store.Begin(doc->fResFile);
    if (err == 0 && !browser::SameName(record.name, component->name)) {
        ObjListHdl users = nullptr;
        component->DoReplace(record.name, true, users, nullptr, false);
        if (!browser::SameName(record.name, component->name)) err = kCancelledByUser;
    }
    if (err == 0) {
        SetProperties(component, record);
        err = component->WriteProperties();
    }
    if (err == 0) err = store.Commit();
    if (err != 0) {
        store.Drop();
        component->SetName(before.name);
        std::memcpy(component->date, before.date, sizeof component->date);
        std::memcpy(component->version, before.version, sizeof component->version);
        std::memcpy(component->prefix, before.prefix, sizeof component->prefix);
        std::memcpy(component->comments, before.comments, sizeof component->comments);
        component->prefixSet = before.prefixSet;
        component->versionNb = before.versionNb;
        if (err != kCancelledByUser) ErrMsg(err);
        return err;
    }
    // Where the reader puts it among the groups: by name.
    PlaceByName(GetObjListe(doc->fTypeList, 32), component);
    return 0;
}

int16_t M_Delete(TMainDoc* doc, TObjQz* const* rows, int32_t count)
{
    if (!doc) return 0;
    std::unordered_set<const TObjQz*> gone;
    int16_t err = 0;
    for (int32_t i = 0; i < count && err == 0; ++i) {
        TObjQz* obj = rows[i];
        if (gone.count(obj) || !obj->IsModuleProject() || obj->kind != 32) continue;
        auto* component = static_cast<TModuleObjQz*>(obj);
        // Its groups go: not under an editor's typing.
        if (TreeRefusedForOpenEditor(component, false) || !Confirmed(kDeleteQuestion, component)) continue;
        StoreBracket store;
        err = store.Begin(doc->fResFile);
        if (err == 0) {
            component->DeleteNameCodeHandle();
            // The groups of the tree go with it; the rows may name them.
            gone.insert(component);
            std::vector<TObjQz*> stack{component};
            while (!stack.empty()) {
                TObjQz* g = stack.back();
                stack.pop_back();
                for (int32_t m = 0; g->members && m < g->members->Size(); ++m)
                    if (IsGroupKind(g->members->At(m)) && gone.insert(g->members->At(m)).second)
                        stack.push_back(g->members->At(m));
            }
            TreeWait wait(component);
            err = RecursiveUnGroup(doc, component);
        }
        if (err == 0) err = store.Commit();
        if (err != 0) {
            store.Drop();
            ReadAgain(doc);
            if (err != kCancelledByUser) ErrMsg(err);
            return err;
        }
        // The windows show what is left before the next question.
        doc->UpdateAll();
    }
    return err;
}

int16_t M_UnInstall(TModuleObjQz* component)
{
    if (!component) return 1020;
    UpdateMode mode(3);
    LinkChanges together;
    MethodRecordsLeaveTogether records;
    // The whole tree goes: its groups' summaries wait, to go with their
    // groups, rather than follow each member that leaves.
    TreeSummariesWait(component);
    int16_t err = 0;
    {
        TreeWait wait(component);
        for (int16_t pass : {kTablesPass, kFormsPass, kOthersPass})
            if (err == 0) err = RecursiveDelGroup(component, pass);
    }
    if (err == 0) component->DeleteObj(true);
    return err;
}

int16_t UninstallComponent(TMainDoc* doc, TModuleObjQz* component)
{
    auto* manager = dynamic_cast<ModuleMgr*>(doc->fModuleManager);
    Module* record = manager ? manager->GetModule(component) : nullptr;
    if (!record && manager) record = manager->GetNamedRecord(component->name);
    const std::vector<ModuleEntry> entries = EntriesOf(record);
    StoreBracket store;
    int16_t err = store.Begin(doc->fResFile);
    if (err == 0) err = ::M_UnInstall(component);
    if (err == 0) {
        RemoveLeftovers(doc, entries);
        const int16_t saved = xcurres();
        useres(doc->fResFile);
        if (record) err = record->DeleteAllModuleResId(FourCC("PICT"));
        useres(saved);
    }
    if (err == 0) err = DropDanglingEntries(doc);
    if (err == 0) err = store.Commit();
    if (err != 0) {
        store.Drop();
        return err;
    }
    if (record) {
        manager->DeleteModuleFromList(record);
        delete record;
    }
    return 0;
}

int16_t UninstallComponents(TMainDoc* doc, TObjQz* const* rows, int32_t count)
{
    if (!doc) return 0;
    std::vector<TModuleObjQz*> chosen;
    try {
        for (int32_t i = 0; i < count; ++i)
            if (rows[i]->kind == 32 && rows[i]->IsModule()) chosen.push_back(static_cast<TModuleObjQz*>(rows[i]));
    } catch (const std::bad_alloc&) {
        ErrMsg(platform::memFullErr);
        return platform::memFullErr;
    }
    // Every question before the first change: the windows show the
    // document as it is under each. A component with a member under an
    // editor is refused, as Clear is.
    chosen.erase(std::remove_if(chosen.begin(), chosen.end(),
                                [](TModuleObjQz* component) {
                                    return TreeRefusedForOpenEditor(component, true) ||
                                           !Confirmed(kUninstallQuestion, component);
                                }),
                 chosen.end());
    if (chosen.empty()) return 0;
    doc->RazAll(nullptr, false);
    int16_t err = 0;
    for (TModuleObjQz* component : chosen)
        if ((err = UninstallComponent(doc, component)) != 0) break;
    ReadAgain(doc);
    if (err != 0 && err != kCancelledByUser) ErrMsg(err);
    return err;
}

void InstallComponentCommands()
{
    browser::PaneTransferHooks hooks = browser::CurrentPaneTransferHooks();
    hooks.newComponent = M_New;
    hooks.componentProperties = M_Properties;
    hooks.generateComponents = M_Generate;
    hooks.deleteComponents = M_Delete;
    hooks.installComponent = M_Install;
    hooks.uninstallComponents = UninstallComponents;
    browser::SetPaneTransferHooks(hooks);
}

}  // namespace transfer
