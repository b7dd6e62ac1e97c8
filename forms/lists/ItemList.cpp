// Making, filling, emptying and tearing down item lists, and the items' state.
#include "forms/lists/ItemList.h"

#include <algorithm>
#include <cstring>

#include "forms/lists/HandleArray.h"
#include "kernel/startup/KernelGlobals.h"
#include "platform/core/Memory.h"
#include "platform/core/FourCC.h"
#include "platform/fonts/Fonts.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"
#include "toolbox/foundation/VObject.h"

using namespace forms;
using platform::Handle;

itemlistrec* RootList = nullptr;

namespace {

constexpr int32_t kTextOffset = int32_t(offsetof(itemrec, text));

int16_t TextLimit(const itemlistrec* list)
{
    return std::clamp<int16_t>(list ? list->maxTextLength : int16_t(255), 0, 255);
}

int32_t ItemSizeFor(int32_t length)
{
    return kTextOffset + 1 + std::max<int32_t>(length, kItemMinTextRoom);
}

void Unlink(itemlistrec* list)
{
    if (list->prevList) list->prevList->nextList = list->nextList;
    else RootList = list->nextList;
    if (list->nextList) list->nextList->prevList = list->prevList;
    list->nextList = list->prevList = nullptr;
}

void FreeItems(itemlistrec* list)
{
    if (list->singleOwner) effitemmono(list->first);
    else effitem(list->first);
    list->first = nullptr;
}

// Status look-ups go through an open-addressing table of entry numbers
// keyed by item handle: a layout looks every row's item up, and a search
// of the entries made long lists quadratic. The table is a handle of a
// 32-bit count of entries indexed, then a power-of-two number of slots,
// each an entry number + 1 (0 empty). It catches up with new entries at
// the next look-up; without it (out of memory) the entries are searched.
constexpr int32_t kIndexHeader = int32_t(sizeof(int32_t));
constexpr int32_t kIndexMinSlots = 16;

int32_t IndexSlots(Handle index) { return (platform::GetHandleSize(index) - kIndexHeader) / int32_t(sizeof(int32_t)); }

// Word 0 is the count of entries indexed, word s + 1 slot s.
int32_t IndexWord(Handle index, int32_t word)
{
    int32_t v = 0;
    std::memcpy(&v, *index + word * int32_t(sizeof(int32_t)), sizeof v);
    return v;
}

void SetIndexWord(Handle index, int32_t word, int32_t v)
{
    std::memcpy(*index + word * int32_t(sizeof(int32_t)), &v, sizeof v);
}

uint32_t SlotOf(ItemHandle item, int32_t slots)
{
    uint64_t v = reinterpret_cast<uintptr_t>(item);
    v = (v ^ (v >> 31)) * 0x9E3779B97F4A7C15ull;
    return uint32_t(v >> 32) & uint32_t(slots - 1);
}

ItemHandle EntryItem(const itemlistrec* list, int32_t k) { return HandleAt<ItemStatus>(list->status, k).item; }

// Probes for the item: its slot, or the empty slot where it would go.
int32_t Probe(const itemlistrec* list, ItemHandle item)
{
    Handle index = list->statusIndex;
    const int32_t slots = IndexSlots(index);
    for (uint32_t s = SlotOf(item, slots);; s = (s + 1) & uint32_t(slots - 1)) {
        const int32_t v = IndexWord(index, int32_t(s) + 1);
        if (v == 0 || EntryItem(list, v - 1) == item) return int32_t(s);
    }
}

// Brings the table up to every entry; false when it cannot be made.
bool CatchUpIndex(itemlistrec* list)
{
    const int32_t n = HandleCount<ItemStatus>(list->status);
    int32_t indexed = list->statusIndex ? IndexWord(list->statusIndex, 0) : 0;
    if (list->statusIndex && indexed == n) return true;
    // At most half full, so that every probe ends at an empty slot soon.
    if (!list->statusIndex || 2 * int64_t(n) > IndexSlots(list->statusIndex)) {
        int64_t slots = kIndexMinSlots;
        while (slots < 4 * int64_t(n)) slots *= 2;
        HandleDispose(&list->statusIndex);
        if (kIndexHeader + slots * int64_t(sizeof(int32_t)) > INT32_MAX) return false;
        list->statusIndex = platform::NewHandleClear(kIndexHeader + int32_t(slots) * int32_t(sizeof(int32_t)));
        if (!list->statusIndex) return false;
        indexed = 0;
    }
    for (int32_t k = indexed; k < n; ++k) {
        const int32_t s = Probe(list, EntryItem(list, k));
        // An item with two entries is found by its first, as a search would.
        if (IndexWord(list->statusIndex, s + 1) == 0) SetIndexWord(list->statusIndex, s + 1, k + 1);
    }
    SetIndexWord(list->statusIndex, 0, n);
    return true;
}

// The index of the item's status entry, or -1.
int32_t StatusIndex(itemlistrec* list, ItemHandle item)
{
    const int32_t n = HandleCount<ItemStatus>(list->status);
    if (n == 0) return -1;
    if (CatchUpIndex(list)) return IndexWord(list->statusIndex, Probe(list, item) + 1) - 1;
    for (int32_t k = 0; k < n; ++k)
        if (EntryItem(list, k) == item) return k;
    return -1;
}

void DisposeStatus(itemlistrec* list)
{
    HandleDispose(&list->status);
    HandleDispose(&list->statusIndex);
}

// The item's entry, added when the list keeps entries and has none for it.
int32_t StatusForSetting(itemlistrec* list, ItemHandle item)
{
    int32_t k = StatusIndex(list, item);
    if (k < 0 && list->status && AddItemStatus(list, item)) k = HandleCount<ItemStatus>(list->status) - 1;
    return k;
}

}  // namespace

unsigned char* ItemText(ItemHandle item)
{
    return reinterpret_cast<unsigned char*>(*item) + kTextOffset;
}

int16_t ItemTextLength(ItemHandle item)
{
    const int32_t room = platform::GetHandleSize(reinterpret_cast<Handle>(item)) - kTextOffset - 1;
    return int16_t(std::clamp<int32_t>(ItemText(item)[0], 0, std::max<int32_t>(room, 0)));
}

bool isaList(const itemlistrec* list)
{
    if (!list) return false;
    for (const itemlistrec* l = RootList; l; l = l->nextList)
        if (l == list) return true;
    return false;
}

void initqlist(itemlistrec* list, uint8_t callerByte, int16_t maxTextLength)
{
    // Made live twice, a list would sit in the chain twice.
    if (isaList(list)) Unlink(list);
    std::memset(static_cast<void*>(list), 0, sizeof(itemlistrec));
    list->magic = kItemListMagic;
    list->mode = 1;
    list->treeStyle = 1;
    list->inDialog = 1;
    list->settings[0] = 1;
    list->settings[1] = 3;
    list->settings[2] = 2;
    list->needsLayout = 1;
    list->shown = 1;
    list->unused7[0] = 1;
    list->font = platform::applFont;
    list->size = mysmalsize;
    list->colourType = -4;
    list->maxTextLength = maxTextLength;
    list->callerByte = callerByte;
    list->nextList = RootList;
    if (RootList) RootList->prevList = list;
    RootList = list;
}

void deinitqlist(itemlistrec* list)
{
    if (!isaList(list)) return;
    Unlink(list);
    HandleDispose(&list->rows);
    DisposeStatus(list);
    HandleDispose(&list->subLists);
    FreeItems(list);
    list->magic = 0;
    delete list->editFrame;
    list->editFrame = nullptr;
    delete list->secondFrame;
    list->secondFrame = nullptr;
}

void emptyqlist(itemlistrec* list)
{
    HandleDispose(&list->rows);
    DisposeStatus(list);
    HandleDispose(&list->subLists);
    FreeItems(list);
    list->count = 0;
    list->visibleCount = 0;
    list->needsLayout = 1;
}

bool AddItemStatus(itemlistrec* list, ItemHandle item)
{
    const ItemStatus entry{item, (*item)->open, (*item)->level, (*item)->colour};
    return HandleAppend(&list->status, entry);
}

ItemHandle newqlist(itemlistrec* list, const unsigned char* text, int16_t number, int16_t mark, void* data,
                    ItemDrawProc drawProc, uint8_t callerByte1, uint8_t callerByte2, uint8_t face)
{
    const int32_t length = std::min<int32_t>(text ? text[0] : 0, TextLimit(list));
    Handle h = platform::NewHandleClear(ItemSizeFor(length));
    if (!h) return nullptr;
    auto item = reinterpret_cast<ItemHandle>(h);
    itemrec& r = **item;
    r.mark = mark;
    r.number = number;
    r.data = data;
    r.drawProc = drawProc;
    r.face = face;
    r.callerByte1 = callerByte1;
    r.callerByte2 = callerByte2;
    r.colour = -1;
    unsigned char* t = ItemText(item);
    t[0] = uint8_t(length);
    if (length) std::memcpy(t + 1, text + 1, size_t(length));
    if (!AddItemStatus(list, item)) {
        platform::DisposeHandle(h);
        return nullptr;
    }
    list->needsLayout = 1;
    return item;
}

ItemHandle addqlist(itemlistrec* list, const unsigned char* text, int16_t number, int16_t mark, void* data,
                    ItemDrawProc drawProc, uint8_t callerByte1, uint8_t callerByte2, uint8_t face,
                    ItemHandle* first, ItemHandle* last)
{
    ItemHandle item = newqlist(list, text, number, mark, data, drawProc, callerByte1, callerByte2, face);
    if (!item) return nullptr;
    if (*last) (**last)->next = item;
    else *first = item;
    *last = item;
    return item;
}

void SetListItemText(itemlistrec* list, ItemHandle item, const unsigned char* text)
{
    const int32_t length = std::min<int32_t>(text ? text[0] : 0, TextLimit(list));
    platform::SetHandleSize(reinterpret_cast<Handle>(item), ItemSizeFor(length));
    if (platform::MemError() != platform::noErr) return;
    unsigned char* t = ItemText(item);
    t[0] = uint8_t(length);
    if (length) std::memmove(t + 1, text + 1, size_t(length));
    list->needsLayout = 1;
}

ItemHandle GetListItem(itemlistrec* list, int32_t n)
{
    if (!list || n < 1 || n > HandleCount<ItemHandle>(list->rows)) return nullptr;
    return HandleAt<ItemHandle>(list->rows, n - 1);
}

bool IsOpen(itemlistrec* list, ItemHandle item)
{
    const int32_t k = StatusIndex(list, item);
    return k >= 0 ? HandleAt<ItemStatus>(list->status, k).open != 0 : (*item)->open != 0;
}

void SetOpenState(itemlistrec* list, ItemHandle item, bool open)
{
    const int32_t k = StatusForSetting(list, item);
    if (k < 0) {
        (*item)->open = open;
    } else {
        ItemStatus s = HandleAt<ItemStatus>(list->status, k);
        s.open = open;
        HandleSet(list->status, k, s);
    }
    list->needsLayout = 1;
}

int16_t GetItemLevel(itemlistrec* list, ItemHandle item)
{
    const int32_t k = StatusIndex(list, item);
    return k >= 0 ? HandleAt<ItemStatus>(list->status, k).level : (*item)->level;
}

void SetItemLevel(itemlistrec* list, ItemHandle item, int16_t level)
{
    const int32_t k = StatusForSetting(list, item);
    if (k < 0) {
        (*item)->level = level;
        return;
    }
    ItemStatus s = HandleAt<ItemStatus>(list->status, k);
    s.level = level;
    HandleSet(list->status, k, s);
}

int32_t GetFontColor(itemlistrec* list, ItemHandle item)
{
    const int32_t k = StatusIndex(list, item);
    return k >= 0 ? HandleAt<ItemStatus>(list->status, k).colour : (*item)->colour;
}

bool IsItemSelected(int32_t n, itemlistrec* list)
{
    if (list->multipleSelection[0] && list->multipleSelection[1]) {
        ItemHandle item = GetListItem(list, n);
        return item && (*item)->selected;
    }
    return n == list->selected;
}

void effitem(ItemHandle first)
{
    for (ItemHandle item = first; item;) {
        ItemHandle next = (*item)->next;
        itemlistrec* sub = (*item)->subList;
        const bool live = sub && isaList(sub);
        // A live sub-list's items are this item's branch (the layout links
        // them in): freed here, so the sub-list must not free them again.
        ItemHandle branch = (*item)->firstChild;
        if (!sub || live) effitem(branch);
        if (live) {
            if (sub->first != branch) effitem(sub->first);
            sub->first = nullptr;
            deinitqlist(sub);
            platform::DisposePtr(reinterpret_cast<platform::Ptr>(sub));
        }
        platform::DisposeHandle(reinterpret_cast<Handle>(item));
        item = next;
    }
}

void effitemmono(ItemHandle first)
{
    for (ItemHandle item = first; item;) {
        ItemHandle next = (*item)->next;
        if (!(*item)->subList) effitemmono((*item)->firstChild);
        platform::DisposeHandle(reinterpret_cast<Handle>(item));
        item = next;
    }
}

void ListGetIcon(int32_t reference, int16_t* iconId, Handle* picture)
{
    *iconId = 0;
    *picture = nullptr;
    const auto id = int16_t(reference & 0xFFFF);
    switch (uint32_t(reference) >> 16) {
    case 0: *iconId = id; break;
    case 1: *picture = platform::GetResource(platform::FourCC("PICT"), id); break;
    case 2: *picture = xgetres(platform::FourCC("PICT"), id, false); break;
    default: break;
    }
}
