// Renaming project methods, variables, tables and groups: the object's own
// entry and every user's reference change in one commit of the document's
// store, or none does and the object keeps its name.
#include <algorithm>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <utility>

#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/choicelists/OneCommit.h"
#include "design/links/ParseSupport.h"
#include "design/objects/Groups.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/VarObjQz.h"
#include "design/reading/ReadQzB.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

using platform::FourCC;

namespace {

using Entry = std::pair<platform::ResType, int16_t>;

constexpr int32_t kMethodRecord = 44;
constexpr int32_t kMethodIdAt = 32;
constexpr int32_t kTableNameSlot = 32;

void Cut(const unsigned char* name, int16_t max, unsigned char* out)
{
    out[0] = uint8_t(std::min<int32_t>(name[0], max));
    std::memcpy(out + 1, name + 1, out[0]);
}

// A fixed name field: the length byte, the characters, zeros after.
void PutName(uint8_t* field, int32_t width, const unsigned char* name)
{
    std::memset(field, 0, size_t(width));
    const uint8_t n = uint8_t(std::min<int32_t>(name[0], width - 1));
    field[0] = n;
    std::memcpy(field + 1, name + 1, n);
}

// `keep` and the users' own resources are copied first; `entry` writes the
// object's own name; then each user rewrites its references to the
// object, which still bears its old name. The users list is disposed of.
// True when it all landed.
bool RenameInOneCommit(TObjQz* obj, const unsigned char* cut, ObjListHdl users, bool force,
                       std::initializer_list<Entry> keep, const std::function<int16_t()>& entry)
{
    int16_t err = 0;
    if (obj->owner) {
        ParseResFile current(obj->owner);
        OneCommit change(obj->owner->fResFile);
        for (const Entry& e : keep)
            if (!err && !change.Keep(e.first, e.second)) err = platform::memFullErr;
        for (int32_t i = 0; !err && users && i < users->Size(); ++i) {
            TObjQz* user = users->At(i);
            if (user && user->GetOwnResType() != kNoResType && !change.Keep(user->GetOwnResType(), user->id))
                err = platform::memFullErr;
        }
        if (!err) err = entry();
        for (int32_t i = 0; !err && users && i < users->Size(); ++i)
            if (TObjQz* user = users->At(i); user && user != obj) user->XRefReplace(obj, cut, force);
        if (!err) err = change.Commit();
    }
    FreeObjList(users);
    if (err) {
        ErrMsg(err);
        return false;
    }
    obj->SetName(cut);
    return true;
}

}  // namespace

void TProcObjQz::DoReplace(const unsigned char* newName, bool flag, ObjListHdl list, TObjQz** out, bool force)
{
    (void)flag;
    if (out) *out = this;
    unsigned char cut[256];
    Cut(newName, MaxNameLen(), cut);
    const bool renamed = RenameInOneCommit(this, cut, list, force, {{FourCC("TPQz"), 0}}, [&]() -> int16_t {
        platform::Handle dir = xget1res(FourCC("TPQz"), 0);
        if (!dir) return reserr ? reserr : kResourceMissing;
        const int32_t records = int32_t(platform::GetHandleSize(dir)) / kMethodRecord;
        auto* p = reinterpret_cast<uint8_t*>(*dir);
        for (int32_t i = 0; i < records; ++i)
            if (platform::ReadBES16(p + i * kMethodRecord + kMethodIdAt) == id) {
                PutName(p + i * kMethodRecord, kMethodIdAt, cut);
                return xwriteres(dir) && updateresNoMap(owner->fResFile) ? int16_t(0) : reserr;
            }
        return int16_t(0);
    });
    if (renamed && owner) ShellSort(GetObjListe(owner->fTypeList, kind));
}

void TVarObjQz::DoReplace(const unsigned char* newName, bool flag, ObjListHdl list, TObjQz** out, bool force)
{
    (void)flag;
    if (out) *out = this;
    unsigned char cut[256];
    Cut(newName, MaxNameLen(), cut);
    // A variable has no resource: only its users change.
    if (!RenameInOneCommit(this, cut, list, force, {}, [] { return int16_t(0); })) return;
    if (method) {
        if (auto* m = dynamic_cast<TGnlProcObjQz*>(method)) ShellSort(m->locals);
    } else if (owner) {
        ShellSort(GetObjListe(owner->fTypeList, 9));
    }
}

void TFileObjQz::DoReplace(const unsigned char* newName, bool flag, ObjListHdl list, TObjQz** out, bool force)
{
    (void)flag;
    if (out) *out = this;
    unsigned char cut[256];
    Cut(newName, MaxNameLen(), cut);
    RenameInOneCommit(this, cut, list, force, {{FourCC("WNQz"), 0}}, [&]() -> int16_t {
        if (tableNumber < 1) return 0;  // a subtable has no slot
        platform::Handle names = xget1res(FourCC("WNQz"), 0);
        if (!names) return reserr ? reserr : kResourceMissing;
        const int32_t at = (tableNumber - 1) * kTableNameSlot;
        if (platform::GetHandleSize(names) < at + kTableNameSlot) return kResourceMissing;
        PutName(reinterpret_cast<uint8_t*>(*names) + at, kTableNameSlot, cut);
        return xwriteres(names) && updateresNoMap(owner->fResFile) ? int16_t(0) : reserr;
    });
}

void TGroupObjQz::DoReplace(const unsigned char* newName, bool flag, ObjListHdl list, TObjQz** out, bool force)
{
    (void)flag, (void)force;
    if (out) *out = this;
    unsigned char cut[256];
    Cut(newName, MaxNameLen(), cut);
    // A group's users refer to its members, never to its name.
    FreeObjList(list);
    const bool renamed = RenameInOneCommit(this, cut, nullptr, false, {{GetOwnResType(), id}}, [&]() -> int16_t {
        return xsetresname(GetOwnResType(), id, cut, false) && updateres(owner->fResFile) ? int16_t(0) : reserr;
    });
    if (renamed && owner) ShellSort(GetObjListe(owner->fTypeList, kind));
}
