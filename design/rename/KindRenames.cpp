// Renaming the kinds that keep their name in a directory of the document
// or as a resource's name. Each kind's DoReplace stores the name where the
// document keeps it and has its users follow, in one commit
// (RenameCommit.h); its Replace asks the rename dialog first.
//
// Where each kind keeps its name (big-endian, in the document's store):
//   tables        'WNQz' 0: 32 bytes per table, slot (table number - 1)
//   forms         their table's form table 'TFQz' (its id at 4 of the
//                 table's 'FIQz'): count at 0, 270-byte entries from 6,
//                 name at 0 and the form's 'FOQz' id at 32
//   project       'TPQz' 0: 44-byte records, name (32 bytes) at 0, the
//   methods       method's id at 32
//   menu bars     the name of their 'BAQz'
//   styles        'STQz' 0: count, then 114-byte entries from 2, the name
//                 (32 bytes) at 0; a style's id is its entry number
//   groups        the name of their member list ('#GRP', '#GMO', '#MOD')
//   balloons      'LiHe' 0: 18-byte entries, name (16 bytes, 15
//                 characters) at 0, the 'HEQz' id at 16
//   pictures      'PIC#' 128: count, then 34-byte entries from 2, name (32
//                 bytes) at 0, the picture's id at 32
//   style sheets  'Stlx' 128 (else 'Styl' 128): count and last id, then
//                 entries from 4 (376 bytes, 238 in the older layout),
//                 name (32 bytes) at 0, id at 32
// A record the directory lacks leaves it as it is; the object is still
// renamed.
#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_set>
#include <vector>

#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/forms/FormTable.h"
#include "design/objects/ObjKinds.h"
#include "design/rename/RenameCommit.h"
#include "forms/stylesheets/StyleSheets.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

using platform::FourCC;
using platform::ReadBES16;

namespace {

constexpr int16_t kUsersFilter = 5;         // the rename dialog's list filter
constexpr int16_t kProcUsersFilter = 4;     // ... for project methods
constexpr int16_t kNameRoom = 32;           // a directory name: length byte + 31
constexpr int16_t kBalloonNameRoom = TFieldBalloonObjQz::kStoredNameLen + 1;  // 'LiHe' names
constexpr int16_t kBalloonEntry = 18;
constexpr int16_t kProcRecord = 44;
constexpr int16_t kStyleEntry = 114;
constexpr int16_t kPictEntry = 34;

bool RenameAllowed(TObjQz* obj)
{
    if (obj->TstFlag(kFlagInComponent) || obj->TstFlag(kFlagControlChar)) return false;
    return !(obj->owner && obj->owner->fRemote);
}

// The first record of `size`-byte records from `first` whose 16-bit value
// at `idAt` is `id`; -1 when none.
int32_t RecordWithId(const uint8_t* bytes, int32_t bytesSize, int32_t first, int32_t size, int32_t idAt, int16_t id)
{
    for (int32_t at = first; at + size <= bytesSize; at += size)
        if (ReadBES16(bytes + at + idAt) == id) return at;
    return -1;
}

// Names the record with that id; nothing when none has it.
int16_t NameRecord(uint32_t type, int16_t resId, int32_t first, int32_t size, int32_t idAt, int16_t id, int16_t room,
                   const unsigned char* name)
{
    return EditStored(type, resId, false, [&](uint8_t* bytes, int32_t bytesSize) {
        const int32_t at = RecordWithId(bytes, bytesSize, first, size, idAt, id);
        if (at >= 0) PutFixedName(bytes + at, room, name);
        return int16_t(0);
    });
}

// Stores the name, has the users follow and, once the store has it all,
// gives the object the name; the error is shown. The users list is
// disposed of.
int16_t Rename(TObjQz* obj, const unsigned char* newName, ObjListHdl users, bool force, TObjQz** out,
               const std::function<int16_t(const unsigned char* cut)>& storeName)
{
    if (out) *out = obj;
    unsigned char cut[256];
    CutName(cut, newName, obj->MaxNameLen());
    const int16_t err = RenameInOneCommit(obj, cut, users, force, [&] { return storeName(cut); });
    FreeObjList(users);
    if (err) {
        ErrMsg(err);
        return err;
    }
    TakeNewName(obj, cut);
    return 0;
}

// The users of a table's fields and subtables, at every depth, added to
// `users` once each.
int16_t AddFieldUsers(TObjQz* table, ObjListHdl* users, std::unordered_set<TObjQz*>* seen)
{
    for (int32_t i = 0; table->members && i < table->members->Size(); ++i) {
        TObjQz* member = table->members->At(i);
        for (int32_t j = 0; member->usedBy && j < member->usedBy->Size(); ++j)
            if (TObjQz* user = member->usedBy->At(j); seen->insert(user).second)
                if (const int16_t err = AddObjList(users, user)) return err;
        if (member->kind == 29)
            if (const int16_t err = AddFieldUsers(member, users, seen)) return err;
    }
    return 0;
}

int16_t AddFieldUsers(TObjQz* table, ObjListHdl* users)
{
    if (!*users)
        if (const int16_t err = NewObjList(users, 10)) return err;
    try {
        std::unordered_set<TObjQz*> seen{table};
        for (int32_t i = 0; i < (*users)->Size(); ++i) seen.insert((*users)->At(i));
        return AddFieldUsers(table, users, &seen);
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
}

}  // namespace

// Tables.

bool TFileObjQz::EnableReplace()
{
    return kind != 29 && RenameAllowed(this) && !TstFlag(kFlagDocOpen);
}

int16_t TFileObjQz::Replace(TObjQz** out) { return AskAndRename(this, kUsersFilter, 1, -1, nullptr, out); }

int16_t TFileObjQz::DoReplace(const unsigned char* newName, bool, ObjListHdl list, TObjQz** out, bool force)
{
    // A reference to a field names its table too ("[Table]Field" in a
    // form's text): the users of the fields and subtables follow as well.
    if (const int16_t err = AddFieldUsers(this, &list)) {
        FreeObjList(list);
        ErrMsg(err);
        return err;
    }
    return Rename(this, newName, list, force, out, [&](const unsigned char* cut) {
        if (tableNumber < 1) return int16_t(0);
        return EditStored(FourCC("WNQz"), 0, false, [&](uint8_t* bytes, int32_t size) {
            const int32_t at = kNameRoom * (tableNumber - 1);
            if (at + kNameRoom <= size) PutFixedName(bytes + at, kNameRoom, cut);
            return int16_t(0);
        });
    });
}

// Forms.

bool TLayoutObjQz::EnableReplace() { return RenameAllowed(this) && !TstFlag(kFlagDocOpen); }

bool TLayoutObjQz::EnableReplaceTxt()
{
    return !TstFlag(kFlagCiphered) && !TstFlag(kFlagControlChar) && !(owner && owner->fRemote);
}

int16_t TLayoutObjQz::Replace(TObjQz** out) { return AskAndRename(this, kUsersFilter, 1, -1, nullptr, out); }

int16_t TLayoutObjQz::DoReplace(const unsigned char* newName, bool, ObjListHdl list, TObjQz** out, bool force)
{
    return Rename(this, newName, list, force, out, [&](const unsigned char* cut) {
        const int16_t formTable = FormTableIdOf(GetOwnerObj());
        if (formTable == -1) return int16_t(0);
        return EditStored(FourCC("TFQz"), formTable, false, [&](uint8_t* bytes, int32_t size) {
            const std::vector<uint8_t> before(bytes, bytes + size);
            const int32_t entry = FindFormEntry(before, formResId);
            if (entry < 0) return int16_t(0);
            const std::vector<uint8_t> after = WithFormName(before, entry, cut);
            std::copy(after.begin(), after.end(), bytes);
            return int16_t(0);
        });
    });
}

// Project methods.

bool TProcObjQz::EnableReplace() { return RenameAllowed(this) && !TstFlag(kFlagDocOpen); }

int16_t TProcObjQz::Replace(TObjQz** out) { return AskAndRename(this, kProcUsersFilter, 1, -1, nullptr, out); }

int16_t TProcObjQz::DoReplace(const unsigned char* newName, bool, ObjListHdl list, TObjQz** out, bool force)
{
    return Rename(this, newName, list, force, out, [&](const unsigned char* cut) {
        return NameRecord(FourCC("TPQz"), 0, 0, kProcRecord, 32, id, kNameRoom, cut);
    });
}

// Menu bars.

bool TMBarObjQz::EnableReplace() { return RenameAllowed(this); }

int16_t TMBarObjQz::Replace(TObjQz** out) { return AskAndRename(this, kUsersFilter, 0, id, nullptr, out); }

int16_t TMBarObjQz::DoReplace(const unsigned char* newName, bool, ObjListHdl list, TObjQz** out, bool force)
{
    return Rename(this, newName, list, force, out, [&](const unsigned char* cut) {
        if (!xget1res(GetOwnResType(), id)) return int16_t(reserr == platform::memFullErr ? reserr : 0);
        return int16_t(xsetresname(GetOwnResType(), id, cut, false) ? 0 : (reserr ? reserr : platform::ioErr));
    });
}

// Styles.

bool TStyleObjQz::EnableReplace() { return RenameAllowed(this) && !TstFlag(kFlagDocOpen); }

int16_t TStyleObjQz::Replace(TObjQz** out) { return AskAndRename(this, kUsersFilter, 1, id, nullptr, out); }

int16_t TStyleObjQz::DoReplace(const unsigned char* newName, bool, ObjListHdl list, TObjQz** out, bool force)
{
    return Rename(this, newName, list, force, out, [&](const unsigned char* cut) {
        return EditStored(GetOwnResType(), 0, false, [&](uint8_t* bytes, int32_t size) {
            const int32_t count = size >= 2 ? ReadBES16(bytes) : 0;
            const int32_t at = 2 + kStyleEntry * (id - 1);
            if (id >= 1 && id <= count && at + kStyleEntry <= size) PutFixedName(bytes + at, kNameRoom, cut);
            return int16_t(0);
        });
    });
}

// Groups, components and their folders: their users name them by id.

int16_t TGroupObjQz::Replace(TObjQz** out) { return AskAndRename(this, kUsersFilter, 1, -1, nullptr, out); }

int16_t TGroupObjQz::DoReplace(const unsigned char* newName, bool, ObjListHdl list, TObjQz** out, bool force)
{
    FreeObjList(list);
    return Rename(this, newName, nullptr, force, out, [&](const unsigned char* cut) {
        if (!xget1res(GetOwnResType(), id)) return int16_t(reserr == platform::memFullErr ? reserr : 0);
        return int16_t(xsetresname(GetOwnResType(), id, cut, false) ? 0 : (reserr ? reserr : platform::ioErr));
    });
}

// Field balloons: fields name them by id.

bool TFieldBalloonObjQz::EnableReplace() { return RenameAllowed(this) && !TstFlag(kFlagDocOpen); }

int16_t TFieldBalloonObjQz::Replace(TObjQz** out) { return AskAndRename(this, kUsersFilter, 1, -1, nullptr, out); }

int16_t TFieldBalloonObjQz::DoReplace(const unsigned char* newName, bool, ObjListHdl list, TObjQz** out, bool force)
{
    FreeObjList(list);
    return Rename(this, newName, nullptr, force, out, [&](const unsigned char* cut) {
        // Found by its id: an index kept from the reading may be stale.
        return NameRecord(FourCC("LiHe"), 0, 0, kBalloonEntry, 16, id, kBalloonNameRoom, cut);
    });
}

// Pictures: their users name them by id.

bool TPictObjQz::EnableReplace() { return RenameAllowed(this); }

int16_t TPictObjQz::Replace(TObjQz** out) { return AskAndRename(this, kUsersFilter, 1, -1, nullptr, out); }

int16_t TPictObjQz::DoReplace(const unsigned char* newName, bool, ObjListHdl list, TObjQz** out, bool force)
{
    FreeObjList(list);
    return Rename(this, newName, nullptr, force, out, [&](const unsigned char* cut) {
        return NameRecord(FourCC("PIC#"), 128, 2, kPictEntry, 32, id, kNameRoom, cut);
    });
}

// Style sheets: renamed in whichever table the document has, in its own
// layout.

bool TStyleSheetObjQz::EnableReplace() { return RenameAllowed(this); }

int16_t TStyleSheetObjQz::Replace(TObjQz** out) { return AskAndRename(this, kUsersFilter, 1, -1, nullptr, out); }

int16_t TStyleSheetObjQz::DoReplace(const unsigned char* newName, bool, ObjListHdl list, TObjQz** out, bool force)
{
    FreeObjList(list);
    return Rename(this, newName, nullptr, force, out, [&](const unsigned char* cut) {
        const uint32_t type = xget1res(FourCC("Stlx"), 128) ? FourCC("Stlx") : FourCC("Styl");
        platform::Handle table = xget1res(type, 128);
        if (!table) return int16_t(reserr == platform::memFullErr ? reserr : 0);
        const bool older = !Is68xStyleSheet(table) && Is67xStyleSheet(table);
        const int32_t entry = older ? kOldStyleSheetEntrySize : kStyleSheetEntrySize;
        return NameRecord(type, 128, kStyleSheetHeaderSize, entry, 32, id, kNameRoom, cut);
    });
}
