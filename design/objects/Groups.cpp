// Groups, components and folders: flags, membership questions, summaries,
// states and the component's own properties in memory.
#include "design/objects/Groups.h"

#include <cstring>
#include <new>
#include <unordered_set>

#include "app/documents/MainDoc.h"
#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "design/links/XRef.h"
#include "design/objects/DesignGlobals.h"
#include "design/reading/ModuleManager.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "kernel/numtext/DateText.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"

using platform::FourCC;

void TGroupObjQz::init(TMainDoc* doc, const unsigned char* newName, int16_t newId)
{
    TObjQz::init(doc, newName, newId);
    if (newId == 0) SetFlag(kFlagHidden, true);
    members = nullptr;
    visibleItems = 0;
}

void TGroupObjQz::Dispose()
{
    // Members stay in the document; only their link to this group goes.
    LinkChanges together;
    while (members && members->Size() > 0) {
        TObjQz* member = members->At(members->Size() - 1);
        if (member->parent == this) member->DelGroup(false, false);
        if (member->parent == this) member->parent = nullptr;
        DelObjList(members, member);
    }
    TObjQz::Dispose();
}

void TGroupObjQz::SetTrashFlags(bool on)
{
    SetFlag(kFlagInTrash, on);
    if (!members) return;
    for (int32_t i = 0; i < members->Size(); ++i)
        if (members->At(i) != this) members->At(i)->SetTrashFlags(on);
}

bool TGroupObjQz::EnableReplace()
{
    if (TstFlag(kFlagInComponent) || TstFlag(kFlagControlChar)) return false;
    if (owner && owner->fRemote) return false;
    return !TstFlag(kFlagDocOpen);
}

uint32_t TGroupObjQz::GetDocResType() { return FourCC("GRHE"); }
uint32_t TGroupObjQz::GetOwnResType() { return FourCC("#GRP"); }
uint32_t TModuleObjQz::GetOwnResType() { return FourCC("#MOD"); }
uint32_t TModuleGroupObjQz::GetOwnResType() { return FourCC("#GMO"); }

bool TGroupObjQz::IsInGroup(TGroupObjQz* obj, bool deep)
{
    if (!members) return false;
    const TObjQz* wanted = obj;
    for (int32_t i = 0; i < members->Size(); ++i)
        if (members->At(i) == wanted) return true;
    if (!deep) return false;
    for (int32_t i = 0; i < members->Size(); ++i) {
        TObjQz* m = members->At(i);
        if (m != this && m->IsInGroup(obj, deep)) return true;
    }
    return false;
}

namespace {

// The key IsInGroup (resType, id) looks a member up by: its own resource
// type and id, a table's number for 'FIQz'.
uint64_t MemberKey(TObjQz* m)
{
    const uint32_t type = m->GetOwnResType();
    const int16_t id = type == FourCC("FIQz") && m->kind == 1 ? static_cast<TFileObjQz*>(m)->tableNumber : m->id;
    return uint64_t(type) << 16 | uint16_t(id);
}

}  // namespace

bool TGroupObjQz::IsInGroup(uint32_t resType, int16_t wantedId)
{
    if (!members) return false;
    const uint64_t wanted = uint64_t(resType) << 16 | uint16_t(wantedId);
    for (int32_t i = 0; i < members->Size(); ++i)
        if (MemberKey(members->At(i)) == wanted) return true;
    return false;
}

int16_t TGroupObjQz::MakeCallList(bool showMessage)
{
    if (showMessage) ShowProgress(7);
    return MakeSummary(this);
}

void TGroupObjQz::SetVisibleItems()
{
    visibleItems = 0;
    if (!members) return;
    for (int32_t i = 0; i < members->Size(); ++i)
        if (!members->At(i)->TstFlag(kFlagHidden)) ++visibleItems;
}

void TModuleObjQz::SetVisibleItems()
{
    TGroupObjQz::SetVisibleItems();
    if (privateFolder) privateFolder->SetVisibleItems();
    if (protectedFolder) protectedFolder->SetVisibleItems();
    if (publicFolder) publicFolder->SetVisibleItems();
}

namespace {

void PrefixedName(TObjQz* obj, int16_t item, unsigned char* out)
{
    MyGetIndString(out, 1029, item);
    PAppendChar(out, ' ');
    unsigned char own[256];
    obj->GetName(own);
    PAppend(out, own);
}

// Copies at most 255 characters.
void CopyText(unsigned char* dest, const unsigned char* text)
{
    std::memmove(dest + 1, text + 1, text[0]);
    dest[0] = text[0];
}

}  // namespace

void TModuleObjQz::GetFullName(unsigned char* out) { PrefixedName(this, 11, out); }
void TModuleGroupObjQz::GetFullName(unsigned char* out) { PrefixedName(this, 12, out); }

void TModuleObjQz::SetPublic(TModuleGroupObjQz* folder) { publicFolder = folder; }
void TModuleObjQz::SetProtected(TModuleGroupObjQz* folder) { protectedFolder = folder; }
void TModuleObjQz::SetPrivate(TModuleGroupObjQz* folder) { privateFolder = folder; }

void TModuleObjQz::GetDate(unsigned char* out)
{
    const datum d{date[0], date[1], date[2]};
    unsigned char text[81];
    mystrdate(d, text, 7);
    CopyText(out, text);
}

bool TModuleObjQz::SetDate(const unsigned char* text)
{
    datum d{0, 0, 0};
    evaldate(text, &d);
    if (!datevalide(d)) return false;
    date[0] = d.day, date[1] = d.month, date[2] = d.year;
    return true;
}

void TModuleObjQz::GetVersion(unsigned char* out) { CopyText(out, version); }
void TModuleObjQz::SetVersion(const unsigned char* text) { CopyText(version, text); }
void TModuleObjQz::GetComments(unsigned char* out) { CopyText(out, comments); }
void TModuleObjQz::SetComments(const unsigned char* text) { CopyText(comments, text); }

void TModuleObjQz::GetPrefix(unsigned char* out)
{
    uint8_t n = 0;
    while (n < 4 && prefix[n] != 0) ++n;
    std::memcpy(out + 1, prefix, n);
    out[0] = n;
}

void TModuleObjQz::SetPrefix(const unsigned char* text)
{
    std::memset(prefix, 0, sizeof prefix);
    const uint8_t n = text[0] > 4 ? 4 : text[0];
    std::memcpy(prefix, text + 1, n);
}

namespace {

TModuleObjQz* ComponentOf(TObjQz* folder)
{
    TObjQz* p = folder->parent;
    return p && p->kind == 32 ? static_cast<TModuleObjQz*>(p) : nullptr;
}

}  // namespace

bool TModuleGroupObjQz::IsPublic()
{
    TModuleObjQz* c = ComponentOf(this);
    return c && c->publicFolder == this;
}

bool TModuleGroupObjQz::IsProtected()
{
    TModuleObjQz* c = ComponentOf(this);
    return c && c->protectedFolder == this;
}

bool TModuleGroupObjQz::IsPrivate()
{
    TModuleObjQz* c = ComponentOf(this);
    return c && c->privateFolder == this;
}

void TModuleGroupObjQz::SetModuleGroupState(int16_t state)
{
    if (members)
        for (int32_t i = 0; i < members->Size(); ++i) members->At(i)->SetModuleState(state, false);
    SetModuleState(state, false);
    if (state == 1) SetFlag(kFlagDocReadOnly, true);
}

int16_t TModuleObjQz::CheckModule()
{
    if (!publicFolder || !protectedFolder || !privateFolder) return 1020;
    IModuleManager* manager = owner ? owner->fModuleManager : nullptr;
    IModule* module = manager ? manager->GetNamedModule(name) : nullptr;
    if (!module) return 1020;
    TGroupObjQz* folders[4] = {nullptr, publicFolder, protectedFolder, privateFolder};
    // Each folder's members by key, once: asking each folder for each entry
    // grew with the square of the component.
    std::unordered_set<uint64_t> held[4];
    try {
        for (int16_t state = 1; state <= 3; ++state)
            for (int32_t i = 0; folders[state]->members && i < folders[state]->members->Size(); ++i)
                held[state].insert(MemberKey(folders[state]->members->At(i)));
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
    ModuleEntry entry;
    for (int32_t i = 1; module->GetEntry(i, &entry); ++i) {
        if (entry.type == FourCC("PICT") || entry.type == FourCC("Styl")) continue;
        if (entry.state < 1 || entry.state > 3) return 1020;
        if (!held[entry.state].count(uint64_t(entry.type) << 16 | uint16_t(entry.id))) return 1020;
    }
    return 0;
}

namespace {

// The map alone answers: the resource is never loaded.
bool HasRes(uint32_t type, int16_t id)
{
    unsigned char name[256];
    return xgetresname(type, id, name, false);
}

int16_t NextId(int16_t id) { return id >= 32767 ? 1 : int16_t(id + 1); }

}  // namespace

int16_t UniqueGroupID(TMainDoc* doc, int16_t* err)
{
    const int16_t saved = xcurres();
    if (doc) useres(doc->fResFile);
    int16_t id = uniqueresid(FourCC("#GRP"));
    // No id is no group: a server that did not answer gives none.
    const int16_t asked = id == 0 ? (reserr ? reserr : int16_t(platform::addResFailed)) : 0;
    for (int guard = 0; asked == 0 && guard < 32767 && (HasRes(FourCC("#GMO"), id) || HasRes(FourCC("#MOD"), id));
         ++guard) {
        id = NextId(id);
        while (HasRes(FourCC("#GRP"), id)) id = NextId(id);
    }
    useres(saved);
    if (err) *err = asked;
    return asked ? 0 : id;
}
