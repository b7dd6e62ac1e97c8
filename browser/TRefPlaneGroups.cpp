// The object list pane's group commands: a new empty group, a group of the
// selected objects (with what they use, for a full group), a group taken
// apart, and rows dropped on a group row of the same document.
#include <algorithm>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "browser/Panes.h"
#include "browser/dialogs/NamingDialogs.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/GroupChanges.h"
#include "design/objects/ObjKinds.h"

namespace browser {

bool G_SelfGroup = false;

namespace {

constexpr int32_t kMaxResources = 2501;
constexpr int16_t kTooManyResources = 1008;
constexpr int16_t kWaitDialog = 281;
constexpr int16_t kGroupingMessage = 11, kUngroupingMessage = 12;  // STR# 1011
constexpr int16_t kPrivateQuestion = 57, kPublicQuestion = 58;     // STR# 1002

bool TooManyResources(TMainDoc* doc)
{
    if (CountTotResources(doc->fRsrFile) < kMaxResources) return false;
    ErrMsg(kTooManyResources);
    return true;
}

std::vector<TObjQz*> SelectedObjects(LongListHandle list)
{
    std::vector<TObjQz*> out;
    for (int32_t row = 0; list && LongLGetSelect(true, &row, list); ++row)
        if (auto* obj = static_cast<TObjQz*>(LongLRowObject(row, list))) out.push_back(obj);
    return out;
}

// The wait dialog of a group command, the objects' progress lines in it,
// for as long as this lives.
class GroupWait {
public:
    GroupWait(TMainDoc* doc, int16_t message, int32_t total) : fOuter(G_WaitParam)
    {
        SetWaitDialog(&fWait, message, doc->fName, 0, total, kWaitDialog, 60);
        G_WaitParam = &fWait;
    }
    ~GroupWait()
    {
        G_WaitParam = fOuter;
        ReSetWaitDialog(&fWait);
    }
    GroupWait(const GroupWait&) = delete;
    GroupWait& operator=(const GroupWait&) = delete;

private:
    WaitParamRec fWait;
    WaitParamRec* fOuter;
};

void ShowFailure(int16_t err)
{
    if (err != 0 && err != kCancelledByUser) ErrMsg(err);
}

// True when the person lets the drop go on: `question` (STR# 1002) asked
// with the caution alert 1007.
bool Asked(int16_t question)
{
    unsigned char text[256];
    MyGetIndString(text, 1002, question);
    return XAlert(1007, text, kCautionAlert) == 1;
}

// Rows dropped on a component's private folder: the private objects they
// use made protected, and their public users moved to the protected
// folder, each when the person agrees. False when the drop is cancelled.
bool SettlePrivateFolder(TGroupObjQz* folder, const std::vector<TObjQz*>& dragged)
{
    auto* component = dynamic_cast<TModuleObjQz*>(folder->parent);
    if (!component || !folder->IsPrivate()) return true;
    if (std::any_of(dragged.begin(), dragged.end(), [&](TObjQz* o) { return o->HasPrivateDependencies(component); })) {
        if (!Asked(kPrivateQuestion)) return false;
        for (TObjQz* o : dragged) o->SetProtectedDependencies(component);
    }
    std::vector<TObjQz*> publicUsers;
    for (TObjQz* o : dragged)
        for (int32_t i = 0; o->usedBy && i < o->usedBy->Size(); ++i) {
            TObjQz* user = o->usedBy->At(i);
            if (user->parent && user->parent->IsPublic()) publicUsers.push_back(user);
        }
    if (publicUsers.empty()) return true;
    if (!Asked(kPublicQuestion)) return false;
    if (component->protectedFolder)
        for (TObjQz* user : publicUsers) user->AddGroup(component->protectedFolder, true);
    return true;
}

}  // namespace

void TRefPlane::NewGroup()
{
    TMainDoc* doc = Doc();
    if (!doc || TooManyResources(doc)) return;
    unsigned char name[256];
    if (!GetGroupName(doc, name)) return;
    TGroupObjQz* group = nullptr;
    if (const int16_t err = NewGroupOf(doc, name, &group)) {
        ShowFailure(err);
        return;
    }
    doc->UpdateAll();
    SelectObj(group);
}

void TRefPlane::GroupAndSelect(TMainDoc* doc, const unsigned char* name, const std::vector<TObjQz*>& objects,
                               bool takeFromGroups, int32_t waitCount)
{
    TGroupObjQz* group = nullptr;
    int16_t err = 0;
    {
        GroupWait wait(doc, kGroupingMessage, waitCount);
        err = MakeGroupOf(doc, name, objects, takeFromGroups, &group);
    }
    if (err) {
        ShowFailure(err);
        return;
    }
    doc->UpdateAll();
    SelectObj(group);
}

void TRefPlane::MakeGroup()
{
    TMainDoc* doc = Doc();
    if (!doc || !fList || TooManyResources(doc)) return;
    unsigned char name[256];
    if (!GetGroupName(doc, name)) return;
    GroupAndSelect(doc, name, SelectedObjects(fList), false, fList->rowCount);
}

void TRefPlane::FullGroup()
{
    TMainDoc* doc = Doc();
    if (!doc || !fList || TooManyResources(doc)) return;
    unsigned char name[256];
    if (!GetGroupName(doc, name)) return;
    // The selected objects with everything they use, each once.
    CursInstall();
    ObjListHdl gathered = nullptr;
    int16_t err = NewObjList(&gathered, 10);
    for (TObjQz* obj : SelectedObjects(fList))
        if (!err) err = obj->SelfAddObjList(&gathered, 1);
    std::vector<TObjQz*> objects;
    if (!err) {
        ShellSort(gathered);
        for (int32_t i = 0; i < gathered->Size(); ++i) objects.push_back(gathered->At(i));
    }
    FreeObjList(gathered);
    CursRmve();
    if (err) {
        ShowFailure(err);
        return;
    }
    GroupAndSelect(doc, name, objects, true, int32_t(objects.size()));
}

void TRefPlane::UnGroup()
{
    TMainDoc* doc = Doc();
    if (!doc || !fList || !LongLSel(fList) || LongLMultSel(fList)) return;
    int32_t row = 0;
    LongLGetSelect(true, &row, fList);
    auto* group = dynamic_cast<TGroupObjQz*>(static_cast<TObjQz*>(LongLRowObject(row, fList)));
    if (!group || !group->EnableDegroup()) return;
    std::vector<TObjQz*> members;
    for (int32_t i = 0; group->members && i < group->members->Size(); ++i) members.push_back(group->members->At(i));
    CursInstall();
    int16_t err = 0;
    {
        GroupWait wait(doc, kUngroupingMessage, int32_t(members.size()));
        err = Ungroup(group);
    }
    CursRmve();
    if (err) {
        ShowFailure(err);
        return;
    }
    doc->UpdateAll();
    // The former members stay highlighted: one of them alone is current.
    RazSelect(fList);
    for (TObjQz* m : members)
        if (const int32_t at = GetCellData(m, fList); at >= 0) LongLSetSelect(true, at, fList);
    LongLAutoScroll(fList);
}

void TRefPlane::GroupQzObj(::TPlan* targetPane, int32_t cell)
{
    if (G_SelfGroup || !fList) return;
    auto* pane = dynamic_cast<TRefPlane*>(targetPane);
    if (!pane || !pane->fList) return;
    auto* target = dynamic_cast<TGroupObjQz*>(static_cast<TObjQz*>(LongLRowObject(cell, pane->fList)));
    if (!target || target->TstFlag(kFlagInComponent) || target->GetRType() == 32) return;
    std::vector<TObjQz*> dragged;
    for (TObjQz* obj : SelectedObjects(fList))
        if (obj->Dragable() && !SelfGrouping(obj, target)) dragged.push_back(obj);
    if (dragged.empty() || !SettlePrivateFolder(target, dragged)) return;
    int32_t added = 0;
    if (const int16_t err = AddToGroup(target, dragged, true, &added)) {
        ShowFailure(err);
        return;
    }
    if (added == 0) return;
    if (TMainDoc* doc = Doc()) doc->UpdateAll();
}

}  // namespace browser
