// What menus and menu bars store by name and text: the method each item
// runs follows a renamed project method, and the title and item texts move
// into string lists and back.
//
// 'MENQ' (big-endian): item count at 0, the title (length byte and 15
// characters) at 2, then 86-byte items from 24: the text (length byte and
// 31) at 0, the method's name (the same) at 32, flags at 64 (0x02 a
// separator line). 'BAQz': menu count at 0, the k-th menu's 'MENQ' id at
// 6 k + 6.
#include <algorithm>
#include <cstring>
#include <functional>
#include <unordered_set>
#include <vector>

#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/links/ParseSupport.h"
#include "design/links/XRef.h"
#include "design/objects/ObjKinds.h"
#include "design/rename/RenameCommit.h"
#include "design/rename/TextLists.h"
#include "design/text/MethodTextSupport.h"
#include "forms/walkers/FormRewriters.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

using platform::FourCC;
using platform::ReadBES16;

namespace {

constexpr int32_t kHeader = 24;
constexpr int32_t kItem = 86;
constexpr int32_t kTitleAt = 2;
constexpr int32_t kTitleRoom = 16;
constexpr int32_t kTextRoom = 32;
constexpr int32_t kMethodAt = 32;
constexpr int32_t kFlagsAt = 64;
constexpr uint8_t kSeparator = 0x02;
constexpr int16_t kStringListKind = 11;

int16_t StoreError() { return reserr ? reserr : platform::ioErr; }

// The length-prefixed text of `room` bytes at `at`, cut to what it holds.
void ReadText(const uint8_t* at, int32_t room, unsigned char* out)
{
    out[0] = uint8_t(std::min<int32_t>(at[0], room - 1));
    std::memcpy(out + 1, at + 1, out[0]);
}

// The items of the menu whose method is `oldName` take `newName`; the
// record is written when one did. 0 for a missing menu.
int16_t RenameMethodInMenu(int16_t menuId, const unsigned char* oldName, const unsigned char* newName)
{
    platform::Handle menu = xget1res(FourCC("MENQ"), menuId);
    if (!menu || !*menu) return reserr == platform::memFullErr ? platform::memFullErr : 0;
    auto* bytes = reinterpret_cast<uint8_t*>(*menu);
    const int32_t size = platform::GetHandleSize(menu);
    const int32_t count = size >= 2 ? ReadBES16(bytes) : 0;
    bool changed = false;
    for (int32_t i = 0; i < count && kHeader + (i + 1) * kItem <= size; ++i) {
        uint8_t* method = bytes + kHeader + i * kItem + kMethodAt;
        unsigned char name[256];
        ReadText(method, kTextRoom, name);
        if (name[0] == 0 || rel2str(name, oldName) != kEqual) continue;
        PutFixedName(method, kTextRoom, newName);
        changed = true;
    }
    if (!changed) return 0;
    return xwriteres(menu) ? 0 : StoreError();
}

// Each text of the menu (the title, then every item that is no separator)
// through `convert`, which answers whether it changed it; the record is
// written when one changed. The first error ends the walk; the texts
// converted so far are kept.
int16_t ConvertMenuTexts(int16_t menuId, const std::function<int16_t(unsigned char* text, bool* changed)>& convert,
                         bool* anyChanged)
{
    platform::Handle menu = xget1res(FourCC("MENQ"), menuId);
    if (!menu || !*menu) return reserr == platform::memFullErr ? platform::memFullErr : 0;
    int16_t err = 0;
    auto bytesOf = [&] { return reinterpret_cast<uint8_t*>(*menu); };
    const int32_t size = platform::GetHandleSize(menu);
    if (size < kTitleAt + kTitleRoom) return 0;
    auto one = [&](int32_t at, int32_t room) {
        unsigned char text[256];
        ReadText(bytesOf() + at, room, text);
        bool changed = false;
        err = convert(text, &changed);
        if (err == 0 && changed) {
            PutFixedName(bytesOf() + at, room, text);
            *anyChanged = true;
        }
    };
    one(kTitleAt, kTitleRoom);
    const int32_t count = ReadBES16(bytesOf());
    for (int32_t i = 0; err == 0 && i < count && kHeader + (i + 1) * kItem <= size; ++i)
        if (!(bytesOf()[kHeader + i * kItem + kFlagsAt] & kSeparator)) one(kHeader + i * kItem, kTextRoom);
    if (*anyChanged && !xwriteres(menu) && err == 0) err = StoreError();
    if (*anyChanged && err == 0 && !updateres(xcurres())) err = StoreError();
    return err;
}

// The menu object takes its stored title as its name.
void NameAfterTitle(TMenuObjQz* menu)
{
    platform::Handle stored = xget1res(FourCC("MENQ"), menu->id);
    if (!stored || !*stored || platform::GetHandleSize(stored) < kTitleAt + kTitleRoom) return;
    unsigned char title[256];
    ReadText(reinterpret_cast<uint8_t*>(*stored) + kTitleAt, kTitleRoom, title);
    TakeNewName(menu, title);
}

// A menu or a menu bar names project methods; what else it uses, it
// names by number.
bool MenuKeepsOldName(const TObjQz* menu, const TObjQz* obj, bool force)
{
    return obj && obj->kind == 2 && menu->TstFlag(kFlagCiphered) && !force;
}

}  // namespace

bool TMenuObjQz::KeepsOldName(TObjQz* obj, bool force) { return MenuKeepsOldName(this, obj, force); }

int16_t TMenuObjQz::RewriteForRename(TObjQz* obj, const unsigned char* newName, bool force)
{
    if (!obj || obj->kind != 2 || !owner || KeepsOldName(obj, force)) return 0;
    unsigned char oldName[256], cut[256];
    obj->GetName(oldName);
    CutName(cut, newName, 31);
    ParseResFile current(owner);
    const int16_t err = RenameMethodInMenu(id, oldName, cut);
    return err == 0 && !updateres(owner->fResFile) ? StoreError() : err;
}

void TMenuObjQz::XRefReplace(TObjQz* obj, const unsigned char* newName, bool force)
{
    if (const int16_t err = RewriteForRename(obj, newName, force)) ErrMsg(err);
}

bool TMBarObjQz::KeepsOldName(TObjQz* obj, bool force) { return MenuKeepsOldName(this, obj, force); }

int16_t TMBarObjQz::RewriteForRename(TObjQz* obj, const unsigned char* newName, bool force)
{
    if (!obj || obj->kind != 2 || !owner || KeepsOldName(obj, force)) return 0;
    unsigned char oldName[256], cut[256];
    obj->GetName(oldName);
    CutName(cut, newName, 31);
    ParseResFile current(owner);
    platform::Handle bar = xget1res(GetOwnResType(), id);
    if (!bar) return reserr == platform::memFullErr ? platform::memFullErr : 0;
    int16_t menus = 0, err = 0;
    ByteView::Of(bar).S16(0, &menus);
    for (int32_t k = 1; k <= menus && err == 0; ++k) {
        int16_t menuId = 0;
        // Loading a menu may release the bar: view it anew each time.
        if (!ByteView::Of(xget1res(GetOwnResType(), id)).S16(size_t(6 * k + 6), &menuId)) break;
        err = RenameMethodInMenu(menuId, oldName, cut);
    }
    return err == 0 && !updateres(owner->fResFile) ? StoreError() : err;
}

void TMBarObjQz::XRefReplace(TObjQz* obj, const unsigned char* newName, bool force)
{
    if (const int16_t err = RewriteForRename(obj, newName, force)) ErrMsg(err);
}

int16_t TMenuObjQz::TxtToStr(void* strList)
{
    if (TstFlag(kFlagInComponent) || !owner) return 0;
    auto** slot = static_cast<TObjQz**>(strList);
    TObjQz* current = slot ? *slot : nullptr;
    bool anyChanged = false;
    int16_t err = 0;
    {
        CompanionCurrent companion(owner);
        ParseResFile store(owner);
        err = ConvertMenuTexts(id, [&](unsigned char* text, bool* changed) {
            unsigned char before[256];
            std::memcpy(before, text, size_t(text[0]) + 1);
            bool moved = false;
            const int16_t e = DoItTxtStr(text, &current, G_StrArrHdl, &moved);
            *changed = e == 0 && std::memcmp(before, text, size_t(before[0]) + 1) != 0;
            return e;
        }, &anyChanged);
        if (anyChanged) NameAfterTitle(this);
    }
    // The lists it now names are linked from its bars (RelinkMenuBars).
    if (slot) *slot = current;
    return err;
}

int16_t TMenuObjQz::StrToTxt()
{
    if (TstFlag(kFlagInComponent) || !owner) return 0;
    bool anyChanged = false;
    int16_t err = 0;
    {
        CompanionCurrent companion(owner);
        ParseResFile store(owner);
        err = ConvertMenuTexts(id, [&](unsigned char* text, bool* changed) {
            unsigned char item[256];
            // A reference whose item is missing stays as it is.
            *changed = ListItemText(text, item);
            if (*changed) std::memcpy(text, item, size_t(item[0]) + 1);
            return int16_t(0);
        }, &anyChanged);
        if (anyChanged) NameAfterTitle(this);
    }
    if (err == 0)
        for (int32_t i = uses ? uses->Size() : 0; i-- > 0;)
            if (uses->At(i) && uses->At(i)->kind == kStringListKind) XDelRef(this, uses->At(i));
    return err;
}

int16_t RelinkMenuBars(const std::vector<TObjQz*>& objs)
{
    std::vector<TObjQz*> bars;
    std::unordered_set<TObjQz*> seen;
    for (TObjQz* obj : objs)
        for (int32_t i = 0; obj->kind == 6 && obj->usedBy && i < obj->usedBy->Size(); ++i)
            if (TObjQz* user = obj->usedBy->At(i); user->kind == 5 && seen.insert(user).second) bars.push_back(user);
    int16_t err = 0;
    for (TObjQz* bar : bars) {
        const std::vector<TObjQz*> wanted = MenuBarStringLists(bar);
        const std::unordered_set<TObjQz*> named(wanted.begin(), wanted.end());
        for (int32_t i = bar->uses ? bar->uses->Size() : 0; i-- > 0;)
            if (TObjQz* used = bar->uses->At(i); used->kind == kStringListKind && !named.count(used)) XDelRef(bar, used);
        for (TObjQz* list : wanted)
            if (!IsInList(bar->uses, list))
                if (const int16_t e = XRef(bar, list); e != 0 && err == 0) err = e;
    }
    return err;
}
