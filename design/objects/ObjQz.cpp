// The object base: fields, flags, names, parsing, copy lists, component
// states and the information line.
#include "design/objects/ObjQz.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/documents/MainDoc.h"
#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/links/XRef.h"
#include "kernel/collation/Compare.h"
#include "platform/core/Random.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

// Makes the document's store file current for the life of the guard.
class DocResFile {
public:
    explicit DocResFile(TMainDoc* doc) : saved_(xcurres())
    {
        if (doc) useres(doc->fResFile);
    }
    ~DocResFile() { useres(saved_); }

private:
    int16_t saved_;
};

bool HasControlChar(const unsigned char* name)
{
    for (int i = name[0]; i >= 1; --i)
        if (name[i] < 32) return true;
    return false;
}

}  // namespace

void CopyObjName(unsigned char* dest, const unsigned char* name)
{
    const uint8_t n = name ? (name[0] > kMaxStoredName ? kMaxStoredName : name[0]) : 0;
    if (n) std::memmove(dest + 1, name + 1, n);
    dest[0] = n;
}

int16_t TObjQz::GetIconID() { return int16_t((TstFlag(kFlagCiphered) ? 3040 : 2040) + kind); }

void TObjQz::InitDocFlag()
{
    const uint32_t type = GetDocResType();
    if (type == kNoResType) return;
    DocResFile current(owner);
    platform::Handle h = xget1res(type, id);
    if (!h) {
        SetFlag(kFlagHasDoc, false);
        SetFlag(kFlagBlockOverride, false);
        return;
    }
    SetFlag(kFlagHasDoc, true);
    int16_t state = 0;
    if (platform::GetHandleSize(h) >= 4) state = platform::ReadBES16(*h + 2);
    if (state == 2) {
        SetFlag(kFlagBlockOverride, false);
    } else {
        SetFlag(kFlagBlockOverride, true);
        SetFlag(kFlagBlocked, state == 1);
    }
    unloadres(type, id);
}

void TObjQz::SetDocFlag()
{
    if (IsPresent()) InitDocFlag();
}

void TObjQz::init(TMainDoc* doc, const unsigned char* newName, int16_t newId)
{
    CopyObjName(name, newName);
    owner = doc;
    usedBy = uses = members = nullptr;
    usersIndexed = false;
    parent = nullptr;
    resTime = resSize = 0;
    flags = moduleState = 0;
    level = 0;
    id = newId;
    seed = uint32_t(uint16_t(platform::Random())) << 16 | uint16_t(platform::Random());
    ++G_NewObj;
    if (HasControlChar(name)) SetFlag(kFlagControlChar, true);
    SetDocFlag();
}

bool TObjQz::Used() { return usedBy && usedBy->count > 1; }

void TObjQz::ListRemove()
{
    if (!owner) return;
    DelObjList(GetObjListe(owner->fTypeList, kind), this);
}

void TObjQz::DeleteResData()
{
    const uint32_t type = GetOwnResType();
    if (type == kNoResType || !owner) return;
    DocResFile current(owner);
    if (rmveresbyid(type, id, true)) updateresNoMap(owner->fResFile);
}

void TObjQz::DeleteObj(bool really)
{
    if (!really) return;
    if (owner) owner->DelObjMsg(this);
    Unlink();
    if (parent) DelGroup(false, false);
    // The document's list would otherwise keep pointing at freed memory.
    ListRemove();
    Dispose();
}

void TObjQz::Dispose()
{
    // Nothing of the graph, no summary and no transfer under way names it
    // afterwards.
    RetireLinks(this);
    // Whichever goes first, a group or its member, the other is left
    // pointing at nothing freed: the group clears its members' parent, the
    // member leaves its group's list.
    if (parent) DelObjList(parent->members, this);
    parent = nullptr;
    FreeObjList(usedBy);
    FreeObjList(uses);
    FreeObjList(members);
    usedBy = uses = members = nullptr;
    DestroyObj(this);
}

void TObjQz::SetFlag(int16_t bit, bool value)
{
    if (value)
        flags = int16_t(flags | (1 << bit));
    else
        flags = int16_t(flags & ~(1 << bit));
}

int16_t TObjQz::Read(void* record)
{
    (void)record;
    if (owner) useres(owner->fResFile);
    return 0;
}

void TObjQz::GetName(unsigned char* out) { std::memcpy(out, name, size_t(name[0]) + 1); }

void TObjQz::SetName(const unsigned char* newName)
{
    SetFlag(kFlagControlChar, HasControlChar(newName));
    CopyObjName(name, newName);
}

bool TObjQz::DependenciesBlocked()
{
    if (TstFlag(kFlagBlockOverride)) return TstFlag(kFlagBlocked);
    return kind >= 1 && kind <= 31 && G_Block[kind - 1] != 0;
}

namespace {

// The objects whose dependencies are being collected: an object that
// cannot be moved is never in the list, so a cycle through such objects
// would otherwise recurse for ever.
std::vector<const TObjQz*> gCollecting;

}  // namespace

int16_t TObjQz::SelfAddObjList(ObjListHdl* list, int16_t mode)
{
    if (!list || !*list) return platform::memFullErr;
    const bool wasIn = IsInList(*list, this);
    if (Movable() && !wasIn)
        if (const int16_t err = AddObjList(list, this)) return err;
    if (mode != 1 || wasIn) return 0;
    if (DependenciesBlocked() || !uses) return 0;
    if (std::find(gCollecting.begin(), gCollecting.end(), this) != gCollecting.end()) return 0;
    gCollecting.push_back(this);
    int16_t result = 0;
    for (int32_t i = 0; i < uses->Size() && result == 0; ++i) {
        TObjQz* used = uses->At(i);
        if (used->kind == 28 || used->kind == 29) continue;
        result = used->SelfAddObjList(list, mode);
    }
    gCollecting.pop_back();
    return result;
}

int16_t TObjQz::SelfAddCallledList(ObjListHdl* list)
{
    if (!Movable() || IsInList(*list, this)) return 0;
    if (const int16_t err = AddObjList(list, this)) return err;
    if (!uses) return 0;
    for (int32_t i = 0; i < uses->Size(); ++i)
        if (const int16_t err = uses->At(i)->SelfAddCallledList(list)) return err;
    return 0;
}

void TObjQz::StampOwnResource()
{
    const uint32_t type = GetOwnResType();
    if (type == kNoResType || !owner) return;
    DocResFile current(owner);
    if (platform::Handle h = xget1res(type, id)) {
        resTime = xgetrestimestamp(h);
        resSize = uint32_t(platform::GetHandleSize(h));
    }
}

int16_t TObjQz::Parse()
{
    if (TstFlag(kFlagParsed)) return 0;
    SetFlag(kFlagParsed, true);
    StampOwnResource();
    return G_WaitParam && ChkWait(G_WaitParam) ? kCancelledByUser : 0;
}

void TObjQz::ShowProgress(int16_t index)
{
    if (!G_WaitParam) return;
    unsigned char line[256], full[256];
    MyGetIndString(line, 1011, index);
    PAppendChar(line, ' ');
    GetFullName(full);
    PAppend(line, full);
    WaitMess(G_WaitParam, line);
}

int16_t TObjQz::SearchIn(const unsigned char* text, int16_t how)
{
    (void)text, (void)how;
    if (G_WaitParam) {
        ++G_WaitParam->current;
        ChkWait(G_WaitParam);
    }
    ShowProgress(10);
    return 0;
}

void TObjQz::GetTypeObjName(unsigned char* out) { MyGetIndString(out, 1027, kind); }

void TObjQz::GetFullName(unsigned char* out)
{
    unsigned char structName[256];
    GetTypeObjName(out);
    PAppendChar(out, ' ');
    GetStructName(structName);
    PAppend(out, structName);
}

void TObjQz::GetMoreInfo(unsigned char* out, bool flag)
{
    (void)flag;
    unsigned char part[256];
    out[0] = 0;
    if (DependenciesBlocked()) MyGetIndString(out, 1024, 4);
    if (const uint32_t time = GetaTime()) {
        PAppendChar(out, ' ');
        PAppend(out, ShortDate(time));
    }
    if (TstFlag(kFlagCiphered)) return;
    if (GetSize() == 0) return;
    unsigned char space[256];
    MyGetIndString(space, 1024, 6);
    PAppend(out, space);
    MyGetIndString(part, 104, 7);
    PAppend(out, part);
    MyGetIndString(part, 1001, 11);
    PAppend(out, part);
    PAppend(out, space);
    PAppend(out, std::to_string(id));
    PAppend(out, space);
    MyGetIndString(part, 104, 17);
    PAppend(out, part);
    PAppend(out, space);
    PAppend(out, std::to_string(GetSize()));
    MyGetIndString(part, 1013, 12);
    PAppend(out, part);
    MyGetIndString(part, 104, 8);
    PAppend(out, part);
}

void TObjQz::MajRefLevel()
{
    if (!members) return;
    for (int32_t i = 0; i < members->Size(); ++i) {
        TObjQz* member = members->At(i);
        // Levels stop at 255: deeper nesting cannot be stored (and AddGroup
        // refuses the cycles that would make it endless).
        if (member == this || level == 255) continue;
        member->level = uint8_t(level + 1);
        member->MajRefLevel();
    }
}

bool TObjQz::HasPrivateDependencies(TModuleObjQz* module)
{
    if (!module || !uses) return false;
    for (int32_t i = 0; i < uses->Size(); ++i) {
        TObjQz* used = uses->At(i);
        if (used->kind == 9 || !used->parent) continue;
        if (used->parent == module->privateFolder || used->parent->IsPrivate()) return true;
    }
    return false;
}

void TObjQz::SetProtectedDependencies(TModuleObjQz* module)
{
    if (!module || !uses || !module->protectedFolder) return;
    // AddGroup edits group lists, never this object's uses.
    for (int32_t i = 0; i < uses->Size(); ++i) {
        TObjQz* used = uses->At(i);
        if (used->parent && used->parent->IsPrivate()) used->AddGroup(module->protectedFolder, true);
    }
}

int16_t TObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    (void)doc, (void)conflicts;
    *newObj = nullptr;
    if (G_WaitParam) ++G_WaitParam->current;
    ShowProgress(9);
    return G_WaitParam && ChkWait(G_WaitParam) ? kCancelledByUser : 0;
}

bool TObjQz::IsEqual(TObjQz* other)
{
    if (!other || other->kind != kind) return false;
    unsigned char a[256], b[256];
    GetName(a);
    other->GetName(b);
    return rel2str(a, b) == 0;
}

bool TObjQz::IsInDoc(TMainDoc* doc)
{
    unsigned char own[256];
    GetName(own);
    return SearchObj_Name(doc, kind, own) != nullptr;
}

int16_t TObjQz::DoInDir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    if (!uses) return 0;
    for (int32_t i = 0; i < uses->Size(); ++i)
        if (const int16_t r = uses->At(i)->Indir_Conflicts(doc, conflicts, list)) return r;
    return 0;
}

int16_t TObjQz::Parse_Link(TObjQz* obj, C_ListRec* conflicts)
{
    (void)obj, (void)conflicts;
    ShowProgress(9);
    StampOwnResource();
    return G_WaitParam && ChkWait(G_WaitParam) ? kCancelledByUser : 0;
}

void TObjQz::SetModuleState(int16_t state, bool write)
{
    const bool hidden = state == 3 || (state == 2 && (kind == 9 || kind == 25));
    SetFlag(kFlagHidden, hidden);
    const bool wasCiphered = TstFlag(kFlagCiphered);
    SetFlag(kFlagCiphered, state >= 2);
    // Groups leave ciphered objects out of what they use.
    if (wasCiphered != TstFlag(kFlagCiphered)) CipheringChanged(this);
    SetFlag(kFlagDocReadOnly, state >= 2);
    SetFlag(kFlagInComponent, state != 0);
    moduleState = state;
    if (!write || !TstFlag(kFlagCiphered)) return;
    const uint32_t type = GetOwnResType();
    if (type == kNoResType || type == platform::FourCC("#GMO") || !owner) return;
    DocResFile current(owner);
    platform::Handle h = xget1res(type, id);
    if (!h || xiscryptedres(h)) return;
    if (hcrypteres(h, true) && xwriteres(h)) updateresNoMap(owner->fResFile);
}

TObjQz* GetPictObj(TMainDoc* doc, int32_t ref)
{
    if ((uint32_t(ref) >> 16) != 2) return nullptr;
    return SearchObj_Id(doc, 18, int16_t(ref & 0xFFFF));
}

platform::Handle xget1newres(uint32_t type, int16_t id)
{
    if (platform::Handle h = xget1res(type, id)) {
        unloadres(type, id);
        (void)h;
    }
    return xget1res(type, id);
}

void subpt(platform::Point a, platform::Point* b)
{
    b->h = int16_t(b->h - a.h);
    b->v = int16_t(b->v - a.v);
}
