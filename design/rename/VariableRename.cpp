// Renaming a variable. The users' texts follow first, in one commit; then
// the sort of the old and of the new name (local: the local prefix;
// interprocess: the interprocess prefix; else a process variable) decides
// what becomes of the variable object in memory:
//   local to local    renamed, or merged into the method's local of the
//                     new name
//   local to other    its users move to the process or interprocess
//                     variable of the new name (found or made); it goes
//   other to local    each chosen method moves to its own local of the new
//                     name; with `all` the variable goes
//   other to other    with `all`: renamed, or merged into the variable of
//                     the new name; without: the chosen users move to the
//                     variable of the new name and this one stays
// A variable that goes leaves its list and is deleted once its users are
// linked to the target.
#include <cstring>

#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/links/XRef.h"
#include "design/objects/NameRules.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/rename/RenameCommit.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "kernel/startup/KernelGlobals.h"

namespace {

constexpr int16_t kVariableFilter = 1;  // the rename dialog's list filter
constexpr int16_t kProcessId = 1, kInterprocessId = 2;

// Set by the four operations when the renamed variable is to go.
bool gVariableGoes = false;

bool IsMethodKind(int16_t kind) { return kind == 2 || kind == 16 || kind == 25 || kind == 26 || kind == 27; }

// `user` names `to` where it named `from`.
void Relink(TObjQz* user, TObjQz* from, TObjQz* to)
{
    if (!user || !to || to == from) return;
    XDelRef(user, from);
    XRef(user, to);
}

// Every user of `from` names `to` instead.
void RelinkAll(TObjQz* from, TObjQz* to)
{
    if (!to || to == from) return;
    while (from->usedBy && from->usedBy->Size() > 0) Relink(from->usedBy->At(0), from, to);
}

// The older interprocess spelling (its two characters in the kernel's
// conversion settings, as many removed as they say) made the current one.
void ModernInterprocess(unsigned char* name)
{
    const uint8_t a = cvtStruct[0], b = cvtStruct[1], count = cvtStruct[2];
    if (a == 0 || count == 0 || name[0] < 2 || name[1] != a || name[2] != b) return;
    const uint8_t drop = count < name[0] ? count : name[0];
    std::memmove(name + 1, name + 1 + drop, size_t(name[0] - drop));
    name[0] = uint8_t(name[0] - drop);
    GlobGlobVar(name);
}

// The room of a name: 31 characters behind its prefix.
int16_t NameRoom(const unsigned char* name, int16_t max)
{
    if (IsGlobalVarName(name)) return int16_t(max + stglobglob[0]);
    if (IsLocalVarName(name)) return int16_t(max + stlocalvar[0]);
    return max;
}

// The process or interprocess variable of that name, found or made.
TObjQz* GlobalNamed(TMainDoc* doc, const unsigned char* name)
{
    return IsGlobalVarName(name) ? Get_GlobGlobVar(doc, name) : Get_GlobVar(doc, name);
}

}  // namespace

bool TVarObjQz::EnableReplace()
{
    if (TstFlag(kFlagInComponent) || TstFlag(kFlagControlChar)) return false;
    if (owner && owner->fRemote) return false;
    return !TstFlag(kFlagDocOpen);
}

int16_t TVarObjQz::Replace(TObjQz** out) { return AskAndRename(this, kVariableFilter, 0, id, method, out); }

int16_t TVarObjQz::DoReplace(const unsigned char* newName, bool all, ObjListHdl users, TObjQz** out, bool force)
{
    if (out) *out = this;
    unsigned char name[256];
    std::memcpy(name, newName, size_t(newName[0]) + 1);
    ModernInterprocess(name);
    CutName(name, name, NameRoom(name, MaxNameLen()));
    if (const int16_t err = RenameInOneCommit(this, name, users, force, nullptr)) {
        FreeObjList(users);
        ErrMsg(err);
        return err;
    }
    unsigned char old[256];
    GetName(old);
    TObjQz* existing = nullptr;
    if (rel2str(old, name) != kEqual) {
        if (IsGlobalVarName(name)) existing = Search_GlobGlobVar(owner, name);
        else if (IsLocalVarName(name)) existing = Search_LocalVar(method, name);
        else existing = Search_GlobVar(owner, name);
    }
    if (existing == this) existing = nullptr;
    TObjQz* result = this;
    gVariableGoes = false;
    const bool wasLocal = method != nullptr;
    if (wasLocal && IsLocalVarName(name)) LocToLoc(name, all, users, &result, existing);
    else if (wasLocal) LocToGlob(name, all, users, &result, existing);
    else if (IsLocalVarName(name)) GlobToLoc(name, all, users, &result, existing);
    else GlobToGlob(name, all, users, &result, existing);
    FreeObjList(users);
    if (out) *out = gVariableGoes && result == this ? nullptr : result;
    if (gVariableGoes) {
        gVariableGoes = false;
        // Tells the windows, takes the last links and the list's entry away.
        DeleteObj(true);
    }
    return 0;
}

void TVarObjQz::LocToLoc(const unsigned char* name, bool, ObjListHdl, TObjQz** out, TObjQz* existing)
{
    if (existing) {
        *out = existing;
        RelinkAll(this, existing);
        gVariableGoes = true;
        return;
    }
    TakeNewName(this, name);
}

void TVarObjQz::LocToGlob(const unsigned char* name, bool, ObjListHdl, TObjQz** out, TObjQz* existing)
{
    TObjQz* target = existing ? existing : GlobalNamed(owner, name);
    if (!target) return;
    *out = target;
    RelinkAll(this, target);
    gVariableGoes = true;
}

void TVarObjQz::GlobToGlob(const unsigned char* name, bool all, ObjListHdl users, TObjQz** out, TObjQz* existing)
{
    if (!all) {
        TObjQz* target = existing ? existing : GlobalNamed(owner, name);
        if (!target) return;
        *out = target;
        for (int32_t i = 0; users && i < users->Size(); ++i) Relink(users->At(i), this, target);
        return;
    }
    if (existing) {
        *out = existing;
        RelinkAll(this, existing);
        gVariableGoes = true;
        return;
    }
    // The id says the scope: 1 a process variable, 2 an interprocess one.
    const int16_t scope = IsGlobalVarName(name) ? kInterprocessId : kProcessId;
    if (id != scope) {
        id = scope;
        NoteObjIdChanged();
    }
    TakeNewName(this, name);
}

void TVarObjQz::GlobToLoc(const unsigned char* name, bool all, ObjListHdl users, TObjQz** out, TObjQz*)
{
    for (int32_t i = 0; users && i < users->Size(); ++i) {
        TObjQz* user = users->At(i);
        if (!user || !IsMethodKind(user->kind)) continue;
        if (TObjQz* local = Get_LocalVar(user, name)) {
            Relink(user, this, local);
            *out = local;
        }
    }
    if (all) gVariableGoes = true;
}
