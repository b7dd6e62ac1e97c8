// After a copy, the copies of methods, menu bars and menus name the
// destination's objects instead of the source's.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "design/links/ParseSupport.h"
#include "design/links/TokenAccess.h"
#include "design/links/XRef.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/TransferHooks.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

constexpr size_t kMenuHeaderSize = 24, kItemSize = 86, kItemMethod = 32, kItemPicture = 82;
constexpr size_t kTitleAt = 2, kTitleRoom = 16, kItemTextRoom = 32;
constexpr size_t kBarEntrySize = 6;

// The counterpart in this object's document of the source's object.
TObjQz* DestOf(C_ListRec* conflicts, TObjQz* source, TObjQz* copy, TObjQz* sourceObj)
{
    TObjQz* found = nullptr;
    if (sourceObj) GetDestObj(conflicts, source->owner, copy->owner, sourceObj, &found);
    return found;
}

// Writes a record back and commits the store without its map.
int16_t WriteBack(TMainDoc* doc, platform::Handle h)
{
    if (!xwriteres(h) || !updateresNoMap(doc->fResFile)) return reserr ? reserr : platform::ioErr;
    return 0;
}

// Links `menu` and every object that uses it to `obj`. A menu no menu bar
// holds is linked to nothing, as a read of the document leaves it: its
// links come from the bars that hold it.
int16_t LinkMenuAndUsers(TObjQz* menu, TObjQz* obj)
{
    bool held = false;
    for (int32_t i = 0; menu->usedBy && i < menu->usedBy->Size() && !held; ++i) held = menu->usedBy->At(i)->kind == 5;
    if (!held) return 0;
    int16_t err = XRef(menu, obj);
    for (int32_t i = 0; err == 0 && menu->usedBy && i < menu->usedBy->Size(); ++i) err = XRef(menu->usedBy->At(i), obj);
    return err;
}

// A ":id,index" text in its field of `room` bytes at `at`, naming a list of
// the source that came under another id: the text names that id. What
// follows the index stays while it fits. True when the text changed.
bool FollowList(C_ListRec* conflicts, TObjQz* src, TObjQz* copy, uint8_t* at, size_t room)
{
    unsigned char text[256];
    int16_t listId = 0, index = 0;
    if (!ByteView{at, room}.PStr(0, room, text) || !GetStrIndex(text, &listId, &index)) return false;
    TObjQz* list = DestOf(conflicts, src, copy, SearchObj_Id(src->owner, 11, listId));
    if (!list || list->id == listId) return false;
    const auto* comma = static_cast<const unsigned char*>(std::memchr(text + 1, ',', text[0]));
    std::string rewritten = ":" + std::to_string(list->id);
    rewritten.append(reinterpret_cast<const char*>(comma), size_t(text + text[0] + 1 - comma));
    // The reference itself always fits: at most 12 characters.
    if (rewritten.size() > room - 1) {
        rewritten.resize(rewritten.find(',') + 1);
        rewritten += std::to_string(index);
    }
    std::memset(at, 0, room);
    at[0] = uint8_t(rewritten.size());
    std::memcpy(at + 1, rewritten.data(), rewritten.size());
    return true;
}

// The bars that hold `menu` link the lists its texts name now.
int16_t RelinkBarLists(TObjQz* menu)
{
    for (int32_t i = 0; menu->usedBy && i < menu->usedBy->Size(); ++i) {
        TObjQz* bar = menu->usedBy->At(i);
        if (bar->kind != 5) continue;
        for (int32_t u = bar->uses ? bar->uses->Size() - 1 : -1; u >= 0; --u)
            if (bar->uses->At(u)->kind == 11) XDelRef(bar, bar->uses->At(u));
        for (TObjQz* list : MenuBarStringLists(bar))
            if (const int16_t err = XRef(bar, list)) return err;
    }
    return 0;
}

}  // namespace

int16_t TGnlProcObjQz::Parse_Link(TObjQz* src, C_ListRec* conflicts)
{
    ParseResFile current(owner);
    if (ParseCancelled()) return kCancelledByUser;
    ShowProgress(7);
    return Parse_LinkProc(src, id, this, src ? src->owner : nullptr, conflicts);
}

int16_t TProcObjQz::Parse_Link(TObjQz* src, C_ListRec* conflicts)
{
    ParseResFile current(owner);
    if (ParseCancelled()) return kCancelledByUser;
    ShowProgress(7);
    return Parse_LinkProc(nullptr, id, this, src ? src->owner : nullptr, conflicts);
}

int16_t TMBarObjQz::Parse_Link(TObjQz* src, C_ListRec* conflicts)
{
    ParseResFile current(owner);
    if (ParseCancelled()) return kCancelledByUser;
    ShowProgress(7);
    platform::Handle bar = xget1res(platform::FourCC("BAQz"), id);
    if (!bar || !src) return 0;
    resTime = xgetrestimestamp(bar);
    resSize = uint32_t(platform::GetHandleSize(bar));
    int16_t count = 0;
    if (!ByteView::Of(bar).S16(0, &count) || count <= 0) return 0;
    int16_t err = 0;
    for (int32_t k = 1; k <= count && err == 0;) {
        const size_t at = kBarEntrySize * size_t(k) + 6;
        int16_t menuId = 0;
        if (!ByteView::Of(bar).S16(at, &menuId)) break;
        TObjQz* counterpart = DestOf(conflicts, src, this, SearchObj_Id(src->owner, 6, menuId));
        if (counterpart) {
            platform::WriteBE16(reinterpret_cast<uint8_t*>(*bar) + at, uint16_t(counterpart->id));
            err = XRef(this, counterpart);
            // A menu of the destination's own brings what it uses; a copied
            // one links its uses to the bar when it is linked itself.
            for (int32_t u = 0; err == 0 && counterpart->uses && u < counterpart->uses->Size(); ++u)
                err = XRef(this, counterpart->uses->At(u));
            ++k;
            continue;
        }
        // The entry goes; the later ones move up one place.
        const size_t entry = at - 4, size = size_t(platform::GetHandleSize(bar));
        const size_t end = std::min(size, entry + kBarEntrySize);
        std::memmove(*bar + entry, *bar + end, size - end);
        platform::SetHandleSize(bar, platform::Size(size - (end - entry)));
        --count;
        platform::WriteBE16(reinterpret_cast<uint8_t*>(*bar), uint16_t(count));
    }
    if (err) return err;
    if (const int16_t written = WriteBack(owner, bar)) return written;
    // Entries that went made the bar shorter: the object shows it as written.
    resTime = xgetrestimestamp(bar);
    resSize = uint32_t(platform::GetHandleSize(bar));
    // Its texts name string lists by id: those of that id here.
    for (TObjQz* list : MenuBarStringLists(this))
        if ((err = XRef(this, list)) != 0) return err;
    return 0;
}

int16_t TMenuObjQz::Parse_Link(TObjQz* src, C_ListRec* conflicts)
{
    ParseResFile current(owner);
    if (ParseCancelled()) return kCancelledByUser;
    ShowProgress(7);
    platform::Handle menu = xget1res(platform::FourCC("MENQ"), id);
    if (!menu || !src) return 0;
    resTime = xgetrestimestamp(menu);
    resSize = uint32_t(platform::GetHandleSize(menu));
    int16_t count = 0;
    ByteView::Of(menu).S16(0, &count);
    int16_t err = 0;
    // Texts naming an entry of a string list name the list's copy.
    bool textsFollow = ByteView::Of(menu).Has(kTitleAt, kTitleRoom) &&
                       FollowList(conflicts, src, this, reinterpret_cast<uint8_t*>(*menu) + kTitleAt, kTitleRoom);
    for (int32_t i = 1; i <= count && err == 0; ++i) {
        const size_t item = kMenuHeaderSize + size_t(i - 1) * kItemSize;
        if (!ByteView::Of(menu).Has(item, kItemSize)) break;
        if (FollowList(conflicts, src, this, reinterpret_cast<uint8_t*>(*menu) + item, kItemTextRoom)) textsFollow = true;
        unsigned char method[256];
        if (ByteView::Of(menu).PStr(item + kItemMethod, 32, method) && method[0]) {
            if (TObjQz* counterpart = DestOf(conflicts, src, this, SearchObj_Name(src->owner, 2, method))) {
                unsigned char name[256];
                counterpart->GetName(name);
                name[0] = std::min<uint8_t>(name[0], 31);
                uint8_t* at = reinterpret_cast<uint8_t*>(*menu) + item + kItemMethod;
                std::memset(at, 0, 32);
                std::memcpy(at, name, size_t(name[0]) + 1);
                err = LinkMenuAndUsers(this, counterpart);
            }
        }
        int32_t picture = -1;
        ByteView::Of(menu).S32(item + kItemPicture, &picture);
        if (err == 0 && picture >= 0) {
            if (TObjQz* counterpart = DestOf(conflicts, src, this, SearchObj_Id(src->owner, 18, int16_t(picture & 0xFFFF)))) {
                const uint32_t ref = (uint32_t(picture) & 0xFFFF0000u) | uint16_t(counterpart->id);
                platform::WriteBE32(reinterpret_cast<uint8_t*>(*menu) + item + kItemPicture, ref);
                err = LinkMenuAndUsers(this, counterpart);
            }
        }
    }
    if (err == 0) err = WriteBack(owner, menu);
    if (err != 0) return err;
    // The object shows the record as written.
    resTime = xgetrestimestamp(menu);
    resSize = uint32_t(platform::GetHandleSize(menu));
    return textsFollow ? RelinkBarLists(this) : 0;
}
