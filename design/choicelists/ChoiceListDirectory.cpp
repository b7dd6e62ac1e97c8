// A choice list's entry in the directory of choice lists, 'LEQz' 0 of the
// document's container (big-endian):
//  off size
//   0    2   number of entries n          past what the bytes hold: only
//                                          the whole entries count
//   2    4   not interpreted here
//   6   34   entry k at 6 + 34 (k - 1):  +0 name (length byte, at most 31
//            characters, zero after)      +32 id of the list's 'List'
// Deleting a list takes its entry out (later entries move up, the
// resource shrinks by 34 bytes) and its 'List' away; renaming it changes
// the name of its entry and the name in every referrer. Each lands in one
// commit, or not at all.
#include <algorithm>
#include <cstring>
#include <vector>

#include "app/appl/AppObjects.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/choicelists/OneCommit.h"
#include "design/links/ParseSupport.h"
#include "design/objects/ObjKinds.h"
#include "app/dialogs/BusyCursor.h"
#include "design/objects/RenameHooks.h"
#include "design/rename/RenameCommit.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResourceApi.h"

using namespace platform;

namespace {

constexpr ResType kDirectoryType = FourCC("LEQz");
constexpr int32_t kHeaderSize = 6;
constexpr int32_t kEntrySize = 34;
constexpr int32_t kNameRoom = 32;
constexpr int16_t kListFilter = 5;  // the users offered by the rename dialog

struct Directory {
    std::vector<uint8_t> bytes;
    int32_t count = 0;  // whole entries

    // The entry (0-based) of 'List' listId, or -1.
    int32_t Find(int16_t listId) const
    {
        for (int32_t k = 0; k < count; ++k)
            if (int16_t(ReadBE16(&bytes[size_t(kHeaderSize + kEntrySize * k + kNameRoom)])) == listId) return k;
        return -1;
    }
};

// False when the document has no directory.
bool LoadDirectory(Directory* dir)
{
    Handle h = xget1res(kDirectoryType, 0);
    if (!h || !*h) return false;
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    dir->bytes.assign(p, p + GetHandleSize(h));
    const int32_t stored = dir->bytes.size() >= 2 ? int16_t(ReadBE16(p)) : 0;
    const int32_t whole = dir->bytes.size() >= size_t(kHeaderSize) ? int32_t((dir->bytes.size() - kHeaderSize) / kEntrySize) : 0;
    dir->count = std::clamp(stored, 0, whole);
    return true;
}

int16_t StoreError() { return reserr ? reserr : ioErr; }

int16_t StoreDirectory(const std::vector<uint8_t>& bytes)
{
    Handle h = NewHandle(Size(bytes.size()));
    if (!h) return memFullErr;
    std::memcpy(*h, bytes.data(), bytes.size());
    if (xaddres(h, kDirectoryType, 0)) return 0;
    DisposeHandle(h);
    return StoreError();
}

// Takes the list's entry out; 0 when it had none.
int16_t RemoveEntry(TListObjQz* list, int32_t* removed)
{
    *removed = -1;
    Directory dir;
    if (!LoadDirectory(&dir)) return 0;
    const int32_t k = dir.Find(list->id);
    if (k < 0) return 0;
    const auto at = dir.bytes.begin() + kHeaderSize + kEntrySize * k;
    dir.bytes.erase(at, at + kEntrySize);
    WriteBE16(dir.bytes.data(), uint16_t(dir.count - 1));
    *removed = k;
    return StoreDirectory(dir.bytes);
}

// Names the list's entry `name`; 0 when it has none.
int16_t RenameEntry(TListObjQz* list, const unsigned char* name)
{
    Directory dir;
    if (!LoadDirectory(&dir)) return 0;
    const int32_t k = dir.Find(list->id);
    if (k < 0) return 0;
    uint8_t* entry = &dir.bytes[size_t(kHeaderSize + kEntrySize * k)];
    std::memset(entry, 0, kNameRoom);
    std::memcpy(entry, name, size_t(name[0]) + 1);
    list->listIndex = int16_t(k + 1);
    return StoreDirectory(dir.bytes);
}

}  // namespace

void TListObjQz::DeleteObj(bool really)
{
    if (!really) return;
    if (owner) {
        int32_t removed = -1;
        int16_t err = 0;
        {
            ParseResFile current(owner);
            OneCommit change(owner->fResFile);
            if (!change.Keep(kDirectoryType, 0) || !change.Keep(GetOwnResType(), id)) err = memFullErr;
            if (!err) err = RemoveEntry(this, &removed);
            if (!err) {
                DeleteResData();
                err = change.Commit();
            }
        }
        if (err) {
            // The list stays as the disk still has it.
            ErrMsg(err);
            return;
        }
        // The later lists moved up one entry.
        if (ObjListHdl lists = removed >= 0 ? GetObjListe(owner->fTypeList, 4) : nullptr) {
            for (int32_t i = 0; i < lists->Size(); ++i)
                if (auto* other = dynamic_cast<TListObjQz*>(lists->At(i)); other && other->listIndex > removed + 1)
                    --other->listIndex;
        }
    }
    TObjQz::DeleteObj(really);
}

bool TListObjQz::EnableReplace()
{
    if (TstFlag(kFlagInComponent) || TstFlag(kFlagControlChar)) return false;
    if (owner && owner->fRemote) return false;
    return !TstFlag(kFlagDocOpen);
}

int16_t TListObjQz::Replace(TObjQz** out)
{
    *out = this;
    unsigned char newName[256];
    GetName(newName);
    uint8_t mode = 1;
    ObjListHdl rewrite = nullptr;
    if (!GetReplace(kListFilter, owner, kind, nullptr, newName, -1, &mode, usedBy, &rewrite, MaxNameLen())) {
        FreeObjList(rewrite);
        return 0;
    }
    CursInstall(1, 5, 60);
    DoReplace(newName, mode != 0, rewrite, out, false);
    CursRmve();
    return 1;
}

int16_t TListObjQz::DoReplace(const unsigned char* newName, bool, ObjListHdl list, TObjQz** out, bool force)
{
    if (out) *out = this;
    unsigned char cut[256];
    CutName(cut, newName, MaxNameLen());
    // Neither the directory nor any referrer changes unless all of them do.
    const int16_t err = RenameInOneCommit(this, cut, list, force, [&] { return RenameEntry(this, cut); });
    FreeObjList(list);
    if (err) {
        ErrMsg(err);
        return err;
    }
    TakeNewName(this, cut);
    return 0;
}
