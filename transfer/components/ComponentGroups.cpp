#include "transfer/components/ComponentGroups.h"

#include <algorithm>
#include <new>
#include <unordered_set>
#include <vector>

#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "design/links/XRef.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/Groups.h"
#include "design/objects/OpenEditors.h"
#include "platform/core/Errors.h"

namespace transfer {

namespace {

using Seen = std::unordered_set<const TObjQz*>;

// A method's local variables are listed in its groups beside it, yet
// belong to the method: they come and go with it.
bool IsLocalVariable(const TObjQz* obj)
{
    return obj->kind == 9 && static_cast<const TVarObjQz*>(obj)->method != nullptr;
}

bool Stopped() { return G_WaitParam && ChkWait(G_WaitParam); }

void Advance()
{
    if (G_WaitParam) ++G_WaitParam->current;
}

int32_t Count(TGroupObjQz* group, Seen* seen)
{
    if (!group || !seen->insert(group).second || !group->members) return 0;
    int32_t n = 0;
    for (int32_t i = 0; i < group->members->Size(); ++i) {
        TObjQz* m = group->members->At(i);
        ++n;
        if (m != group && IsGroupKind(m)) n += Count(static_cast<TGroupObjQz*>(m), seen);
    }
    return n;
}

// The group leaves the document: out of the groups list and its parent,
// then deleted (its member-list resource with it).
void DeleteGroup(TGroupObjQz* group)
{
    if (group->parent) group->DelGroup(false, false);
    group->DeleteObj(true);
}

int16_t UnGroup(TMainDoc* doc, TGroupObjQz* group, Seen* seen)
{
    if (!seen->insert(group).second) return 0;
    int16_t err = 0;
    // DelGroup takes each member out of the live list: the walk reads it
    // afresh, and a member that stays (a refusal, a group met before) is
    // passed over.
    for (int32_t i = 0; err == 0 && group->members && i < group->members->Size();) {
        TObjQz* m = group->members->At(i);
        if (m != group && IsGroupKind(m)) {
            err = UnGroup(doc, static_cast<TGroupObjQz*>(m), seen);
        } else {
            Advance();
            if (Stopped()) return kCancelledByUser;
            m->DelGroup(false, true);
        }
        if (group->members && i < group->members->Size() && group->members->At(i) == m) ++i;
    }
    if (err == 0) DeleteGroup(group);
    return err;
}

bool InPass(const TObjQz* obj, int16_t pass)
{
    switch (pass) {
    case kTablesPass: return obj->kind == 1;
    case kFormsPass: return obj->kind == 24;
    default: return obj->kind != 1 && obj->kind != 24 && !IsGroupKind(obj);
    }
}

int16_t DelPass(TGroupObjQz* group, int16_t pass, Seen* seen, Seen* tried)
{
    if (!seen->insert(group).second) return 0;
    int16_t err = 0;
    for (int32_t i = 0; err == 0 && group->members && i < group->members->Size();) {
        TObjQz* m = group->members->At(i);
        if (tried->count(m)) {
            ++i;
            continue;
        }
        tried->insert(m);
        const int32_t before = group->members->Size();
        if (m != group && IsGroupKind(m)) {
            err = DelPass(static_cast<TGroupObjQz*>(m), pass, seen, tried);
            if (err == 0 && pass == kOthersPass) DeleteGroup(static_cast<TGroupObjQz*>(m));
        } else if (InPass(m, pass)) {
            Advance();
            if (Stopped()) return kCancelledByUser;
            m->DeleteObj(true);
        } else {
            ++i;
            continue;
        }
        // Whatever left the list with it (a table's forms and methods)
        // moved the later members down: the walk steps back as far, and the
        // members already tried are passed over.
        const int32_t after = group->members ? group->members->Size() : 0;
        i = std::max<int32_t>(0, i - (before - after) + 1);
    }
    return err;
}

}  // namespace

void TreeSummariesWait(TGroupObjQz* root)
{
    GroupMembersChanged(root);
    try {
        Seen seen{root};
        std::vector<TGroupObjQz*> stack{root};
        while (!stack.empty()) {
            TGroupObjQz* g = stack.back();
            stack.pop_back();
            for (int32_t i = 0; g->members && i < g->members->Size(); ++i)
                if (TObjQz* m = g->members->At(i); IsGroupKind(m) && seen.insert(m).second) {
                    GroupMembersChanged(static_cast<TGroupObjQz*>(m));
                    stack.push_back(static_cast<TGroupObjQz*>(m));
                }
        }
    } catch (const std::bad_alloc&) {
        // The groups not reached follow each member's change: slower, as
        // right.
    }
}

bool GroupHolds(TGroupObjQz* group, const TObjQz* obj)
{
    Seen seen;
    std::vector<TGroupObjQz*> stack{group};
    while (!stack.empty()) {
        TGroupObjQz* g = stack.back();
        stack.pop_back();
        if (!g || !seen.insert(g).second || !g->members) continue;
        for (int32_t i = 0; i < g->members->Size(); ++i) {
            TObjQz* m = g->members->At(i);
            if (m == obj) return true;
            if (IsGroupKind(m)) stack.push_back(static_cast<TGroupObjQz*>(m));
        }
    }
    return false;
}

int32_t RecursiveGroupCount(TGroupObjQz* group)
{
    Seen seen;
    return Count(group, &seen);
}

int16_t RecursiveUnGroup(TMainDoc* doc, TGroupObjQz* group)
{
    if (!group) return 0;
    Seen seen;
    return UnGroup(doc, group, &seen);
}

int16_t RecursiveDelGroup(TGroupObjQz* group, int16_t pass)
{
    if (!group) return 0;
    Seen seen, tried;
    return DelPass(group, pass, &seen, &tried);
}

std::vector<TObjQz*> TreeOf(TGroupObjQz* root)
{
    std::vector<TObjQz*> out;
    std::vector<TGroupObjQz*> stack{root};
    Seen seen{root};
    while (!stack.empty()) {
        TGroupObjQz* g = stack.back();
        stack.pop_back();
        for (int32_t i = 0; g->members && i < g->members->Size(); ++i) {
            TObjQz* m = g->members->At(i);
            if (IsLocalVariable(m) || !seen.insert(m).second) continue;
            out.push_back(m);
            if (IsGroupKind(m)) stack.push_back(static_cast<TGroupObjQz*>(m));
        }
    }
    return out;
}

bool TreeRefusedForOpenEditor(TGroupObjQz* group, bool members)
{
    if (RefusedForOpenEditor(group)) return true;
    try {
        for (TObjQz* m : TreeOf(group))
            if ((members || IsGroupKind(m)) && RefusedForOpenEditor(m)) return true;
    } catch (const std::bad_alloc&) {
        // Not known: the command does not go on.
        ErrMsg(platform::memFullErr);
        return true;
    }
    return false;
}

}  // namespace transfer
