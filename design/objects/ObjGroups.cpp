// Group membership: parent, flags 1 and 3, level and the group's members
// change together.
#include "app/dialogs/WaitDialog.h"
#include "design/links/XRef.h"
#include "platform/core/Errors.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjKinds.h"

int16_t TObjQz::AddGroup(TGroupObjQz* group, bool flag)
{
    (void)flag;
    SetFlag(kFlagInTrash, false);
    if (G_ModuleUpdate == 4 && TstFlag(kFlagInComponent)) return 0;
    if (G_WaitParam && ChkWait(G_WaitParam)) return kCancelledByUser;
    ShowProgress(11);
    // A group put inside itself or one of its own members would make the
    // member levels endless.
    for (TObjQz* g = group; g; g = g->parent)
        if (g == this) return platform::paramErr;
    if (!group->members)
        if (const int16_t err = NewObjList(&group->members, 10)) return err;
    if (IsInList(group->members, this)) return 0;
    if (parent && parent != group) {
        if (const int16_t err = DelGroup(true, false)) return err;
    }
    if (const int16_t err = AddObjList(&group->members, this)) return err;
    SetFlag(kFlagGrouped, true);
    SetFlag(kFlagGrouped2, true);
    parent = group;
    level = uint8_t(group->level + 1);
    MajRefLevel();
    MemberJoined(group, this);
    return 0;
}

int16_t TObjQz::DelGroup(bool updateGroup, bool message)
{
    SetFlag(kFlagInTrash, false);
    if (G_ModuleUpdate == 4 && TstFlag(kFlagInComponent)) return -1;
    if (!parent) return 0;
    if (G_WaitParam && ChkWait(G_WaitParam)) return kCancelledByUser;
    if (message) ShowProgress(12);
    DelObjList(parent->members, this);
    SetFlag(kFlagGrouped, false);
    SetFlag(kFlagGrouped2, false);
    level = 0;
    MajRefLevel();
    TGroupObjQz* left = parent;
    parent = nullptr;
    // Its summaries follow the member that left.
    MemberLeft(left, this);
    if (updateGroup) left->Write();
    return 0;
}
