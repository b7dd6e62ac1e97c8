// A literal text moved into a string list ('STR#' of the structure's
// companion resource file, a 16-bit count then length-prefixed strings)
// and replaced by the reference ":ID,INDEX" to its item. The table of the
// texts moved so far (StrListRec, design/objects/NameTables.h) gives a text
// met again the item it already has. A list holds at most 256 items: a new
// text for a full list goes into a new list, at the first id free above
// it, which then becomes the list in use. Each list is noted in the
// companion's journal, when one is open, before it changes.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "design/documents/CompanionJournal.h"
#include "design/links/TokenAccess.h"
#include "design/links/XRef.h"
#include "design/objects/NameTables.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/rename/TextLists.h"
#include "design/text/MethodTextSupport.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "platform/resfiles/StringListBody.h"

namespace {

constexpr platform::ResType kList = platform::FourCC("STR#");
constexpr int16_t kStringListKind = 11;
constexpr int16_t kMaxItems = 256;

int32_t ListCount(platform::Handle list)
{
    return int32_t(platform::StringListCount(reinterpret_cast<uint8_t*>(*list), size_t(platform::GetHandleSize(list))));
}

// The list in its file's image with what it holds now; 0 or why not (a
// file full to its layout's reach).
int16_t WriteOut(platform::Handle list)
{
    platform::ChangedResource(list);
    if (const platform::OSErr err = platform::ResError()) return err;
    platform::WriteResource(list);
    return platform::ResError();
}

// The first id above `id` no 'STR#' of the current file has; 0 when none.
int16_t FreeListIdAbove(int16_t id)
{
    platform::SetResLoad(false);
    int16_t found = 0;
    for (int32_t candidate = int32_t(id) + 1; candidate <= 32767 && !found; ++candidate)
        if (!platform::Get1Resource(kList, int16_t(candidate))) found = int16_t(candidate);
    platform::SetResLoad(true);
    return found;
}

// A new empty list after the full one, named like it, and its object.
int16_t StartNewList(TObjQz* user, TObjQz** strObj, platform::Handle* list)
{
    const int16_t newId = FreeListIdAbove((*strObj)->id);
    if (!newId) return platform::dskFulErr;
    if (const int16_t err = NoteCompanionChange(kList, newId)) return err;
    platform::Handle fresh = platform::NewHandleClear(2);
    if (!fresh) return platform::memFullErr;
    unsigned char name[256];
    (*strObj)->GetName(name);
    platform::AddResource(fresh, kList, newId, name);
    if (const platform::OSErr err = platform::ResError()) {
        platform::DisposeHandle(fresh);
        return err;
    }
    if (const int16_t err = WriteOut(fresh)) return err;
    TObjQz* made = NewObj_Id(user->owner, kStringListKind, name, newId, true);
    if (!made) return platform::memFullErr;
    *strObj = made;
    *list = fresh;
    return 0;
}

int16_t AppendItem(platform::Handle list, const unsigned char* text, int16_t index)
{
    const platform::Size size = platform::GetHandleSize(list);
    platform::SetHandleSize(list, size + text[0] + 1);
    if (platform::MemError() != platform::noErr) return platform::memFullErr;
    std::memcpy(*list + size, text, size_t(text[0]) + 1);
    platform::WriteBE16(reinterpret_cast<uint8_t*>(*list), uint16_t(index));
    return WriteOut(list);
}

}  // namespace

void StrRefText(int16_t listId, int16_t index, unsigned char* out)
{
    PSet(out, ":" + std::to_string(listId) + "," + std::to_string(index));
}

bool ListItemText(const unsigned char* text, unsigned char* out)
{
    int16_t listId = 0, index = 0;
    if (!GetStrIndex(text, &listId, &index) || index < 1) return false;
    platform::Handle list = platform::GetResource(kList, listId);
    if (!list || !*list || ListCount(list) < index) return false;
    platform::GetIndString(out, listId, index);
    return true;
}

int16_t TObjQz::DoItTxtStr(unsigned char* text, TObjQz** strObj, void* strList, bool* changed)
{
    if (text[0] == 0 || text[1] == ':' || text[1] == '_') return 0;
    if (!strObj || !*strObj || !owner) return platform::memFullErr;
    CompanionCurrent companion(owner);
    platform::Handle list = platform::Get1Resource(kList, (*strObj)->id);
    if (!list || !*list) return platform::memFullErr;
    if (changed) *changed = true;
    auto* table = static_cast<StrListHdl>(strList);
    const int32_t before = table ? platform::GetHandleSize(table) : 0;
    int16_t listId = (*strObj)->id, index = int16_t(std::min<int32_t>(ListCount(list) + 1, kMaxItems + 1));
    if (!SearchStringList(text, table, &listId, &index)) {
        // A table that could not take the text was emptied.
        if (table && platform::GetHandleSize(table) <= before) return platform::memFullErr;
        if (index > kMaxItems) {
            if (const int16_t err = XRef(this, *strObj)) return err;
            if (const int16_t err = StartNewList(this, strObj, &list)) return err;
            listId = (*strObj)->id;
            index = 1;
            SetStringListRef(text, table, listId, index);
        }
        if (const int16_t err = NoteCompanionChange(kList, listId)) return err;
        if (const int16_t err = AppendItem(list, text, index)) return err;
    }
    StrRefText(listId, index, text);
    return G_LowMem ? platform::memFullErr : 0;
}
