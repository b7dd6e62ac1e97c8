#include "design/filters/ObjFilter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "design/links/XRef.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjQz.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "kernel/numtext/DateText.h"
#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace {

constexpr int16_t kTableKind = 1, kPackageKind = 7, kGroupKind = 23, kFieldKind = 28, kSubTableKind = 29,
                  kComponentKind = 32, kFolderKind = 33;
constexpr uint32_t kGroupBit = 0x80000000u >> kGroupKind;

enum : uint8_t {
    kTestBlocking = 0x80,
    kBlockedWanted = 0x40,
    kTestDoc = 0x20,
    kDocWanted = 0x10,
    kTestUse = 0x08,
    kUnusedWanted = 0x04,
};
constexpr uint8_t kSearchContents = 0x40;

// One entry of a filter record, read in place.
struct Entry {
    uint32_t kinds = 0;
    uint8_t conditions = 0;
    uint8_t options = 0;
    uint8_t criterion = 0;   // 0 name, 1 date, 2 callers
    uint8_t comparison = 0;  // 1 to 5
    const unsigned char* pattern = nullptr;
};

constexpr int32_t kEntryHead = 10;

// Walks the whole entries of a record; an entry that does not fit ends it.
class EntryWalker {
public:
    explicit EntryWalker(Handle filter)
        : EntryWalker(filter && *filter ? reinterpret_cast<const uint8_t*>(*filter) : nullptr,
                      filter && *filter ? int32_t(GetHandleSize(filter)) : 0)
    {
    }
    EntryWalker(const uint8_t* bytes, int32_t size)
    {
        if (!bytes) return;
        size_ = size;
        bytes_ = bytes;
        if (size_ < 2) return;
        left_ = ReadBES16(bytes_);
        at_ = 2;
        if (left_ > 0 && Fits()) {
            criterion_ = bytes_[at_ + 6];
            comparison_ = uint8_t(bytes_[at_ + 7] + 1);
        }
    }

    bool Next(Entry* e)
    {
        if (left_ <= 0 || !Fits()) return false;
        const uint8_t* p = bytes_ + at_;
        e->kinds = ReadBE32(p);
        e->conditions = p[4];
        e->options = p[5];
        e->criterion = criterion_;
        e->comparison = comparison_;
        e->pattern = p + kEntryHead;
        at_ += Length();
        --left_;
        return true;
    }

private:
    int32_t Length() const
    {
        const int32_t text = 1 + bytes_[at_ + kEntryHead];
        return kEntryHead + text + (text & 1);
    }
    bool Fits() const { return at_ + kEntryHead < size_ && at_ + Length() <= size_; }

    const uint8_t* bytes_ = nullptr;
    int32_t size_ = 0;
    int32_t at_ = 0;
    int32_t left_ = 0;
    uint8_t criterion_ = 0;
    uint8_t comparison_ = 0;
};

// Components and their folders are groups (they live in the groups' list):
// the group bit stands for them.
uint32_t KindBit(int16_t kind)
{
    if (kind == kComponentKind || kind == kFolderKind) return kGroupBit;
    return kind >= 0 && kind <= 31 ? 0x80000000u >> kind : 0;
}

bool Applies(const Entry& e, TObjQz* obj)
{
    if (e.kinds & KindBit(obj->kind)) return true;
    return (e.kinds & ~kGroupBit) == 0 && obj->level > 0;
}

int32_t DateNumber(int32_t day, int32_t month, int32_t year) { return year * 10000 + month * 100 + day; }

// A decimal number at the start of the pattern (sign allowed); 0 for none.
int32_t PatternNumber(const unsigned char* pattern)
{
    int32_t i = 1, sign = 1;
    int64_t n = 0;
    while (i <= pattern[0] && pattern[i] == ' ') ++i;
    if (i <= pattern[0] && (pattern[i] == '-' || pattern[i] == '+')) sign = pattern[i++] == '-' ? -1 : 1;
    for (; i <= pattern[0] && pattern[i] >= '0' && pattern[i] <= '9'; ++i) n = std::min<int64_t>(n * 10 + (pattern[i] - '0'), 0x7FFFFFFF);
    return int32_t(sign * n);
}

// Comparisons 1 equal, 2 "before / more", 3 "after / fewer", 4 different;
// 5 leaves `previous`.
bool Compare(int16_t comparison, int32_t a, int32_t b, bool firstIsLess, bool previous)
{
    switch (comparison) {
    case 1: return a == b;
    case 2: return firstIsLess ? a < b : a > b;
    case 3: return firstIsLess ? a > b : a < b;
    case 4: return a != b;
    default: return previous;
    }
}

bool PassesEntry(const Entry& e, TObjQz* obj, bool previous)
{
    if ((e.conditions & kTestDoc) && obj->TstFlag(kFlagHasDoc) != ((e.conditions & kDocWanted) != 0)) return false;
    if (e.conditions & kTestUse) {
        const bool used = obj->usedBy != nullptr;
        if (used == ((e.conditions & kUnusedWanted) != 0)) return false;
    }
    if ((e.conditions & kTestBlocking) && obj->DependenciesBlocked() != ((e.conditions & kBlockedWanted) != 0))
        return false;
    if (e.pattern[0] == 0) return true;
    switch (e.criterion) {
    case 0: {
        bool found = StringMatch(obj->name, e.pattern, e.comparison);
        if (!found && (e.options & kSearchContents)) found = obj->SearchIn(e.pattern, e.comparison) != 0;
        return e.comparison == 3 ? !found : found;
    }
    case 1: {
        const uint32_t time = obj->GetaTime();
        if (time == 0) return false;
        datum wanted{0, 0, 0};
        evaldate(e.pattern, &wanted);
        const CivilDay day = MacSecondsToDay(time);
        const int32_t own = DateNumber(day.day, day.month, day.year);
        return Compare(e.comparison, own, DateNumber(wanted.day, wanted.month, wanted.year), true, previous);
    }
    case 2: {
        const int32_t callers = obj->usedBy ? obj->usedBy->Size() : 0;
        return Compare(e.comparison, callers, PatternNumber(e.pattern), false, previous);
    }
    default: return false;
    }
}

// The pattern with the wildcard before and/or after it.
void Wildcarded(const unsigned char* pattern, bool before, bool after, unsigned char* out)
{
    const uint8_t wild = uint8_t(wildchar & 0xFF);
    int32_t n = 0;
    if (before) out[++n] = wild;
    const int32_t room = 255 - n - (after ? 1 : 0);
    const int32_t take = std::min<int32_t>(pattern[0], room);
    std::memcpy(out + n + 1, pattern + 1, size_t(take));
    n += take;
    if (after) out[++n] = wild;
    out[0] = uint8_t(n);
}

bool Matches(const unsigned char* text, const unsigned char* pattern) { return matchstr(text, pattern) == kEqual; }

// The pattern with a wildcard before and/or after it. A pattern with no room
// left for its wildcards is never cut to fit: cut, it would find texts that
// do not hold it.
bool MatchesShape(const unsigned char* text, const unsigned char* pattern, bool before, bool after)
{
    if (pattern[0] + int32_t(before) + int32_t(after) > 255) return false;
    unsigned char p[256];
    Wildcarded(pattern, before, after, p);
    return Matches(text, p);
}

int32_t FindRow(TObjQz* obj, LongListHandle list)
{
    for (int32_t r = 0; r < list->rowCount; ++r)
        if (LongLRowObject(r, list) == obj) return r;
    return -1;
}

int32_t InsertRow(TObjQz* obj, int32_t at, LongListHandle list)
{
    const int32_t row = LongLAddRow(1, at, list);
    if (row < 0) return -1;
    LongLSetCell(&obj, kObjectRowLength, row, list);
    SetOpenCell(row, list, true);
    return row;
}

TObjQz* RowObject(int32_t row, LongListHandle list) { return static_cast<TObjQz*>(LongLRowObject(row, list)); }

// Depth guard: owners form a short chain; a damaged one must not recurse for ever.
constexpr int kMaxOwnerDepth = 64;

void AddOwnerAt(TObjQz* obj, LongListHandle list, int32_t* row, int depth)
{
    *row = -1;
    TObjQz* owner = ListOwner(obj);
    if (!owner || depth > kMaxOwnerDepth) return;
    int32_t ownerRow = FindRow(owner, list);
    if (ownerRow >= 0) {
        SetOpenCell(ownerRow, list, true);
        int32_t at = ownerRow + 1;
        while (at < list->rowCount && RowObject(at, list) && RowObject(at, list)->level > owner->level) ++at;
        *row = InsertRow(obj, at, list);
        return;
    }
    if (!ListOwner(owner)) {
        int32_t at = list->rowCount;
        if (owner->kind != kGroupKind) {
            for (int32_t r = 0; r < list->rowCount; ++r) {
                TObjQz* o = RowObject(r, list);
                if (o && o->kind != kTableKind && o->level == 0) {
                    at = r;
                    break;
                }
            }
        }
        ownerRow = InsertRow(owner, at, list);
    } else {
        AddOwnerAt(owner, list, &ownerRow, depth + 1);
    }
    if (ownerRow < 0) return;
    *row = InsertRow(obj, ownerRow + 1, list);
}

}  // namespace

bool ObjFilter(Handle filter, TObjQz* obj)
{
    if (!filter) return ObjFilter(nullptr, 0, obj);
    return ObjFilter(*filter ? reinterpret_cast<const uint8_t*>(*filter) : nullptr, int32_t(GetHandleSize(filter)), obj);
}

bool ObjFilter(const uint8_t* record, int32_t size, TObjQz* obj)
{
    if (!obj || obj->TstFlag(kFlagHidden) || obj->TstFlag(kFlagInTrash)) return false;
    if (!record) return true;
    EntryWalker walker(record, size);
    Entry e;
    bool result = false;
    while (walker.Next(&e)) {
        if (!Applies(e, obj)) continue;
        result = PassesEntry(e, obj, result);
        if (result || !GromMemHdl) break;
    }
    return result;
}

uint32_t GetOrFlags(Handle filter)
{
    EntryWalker walker(filter);
    Entry e;
    uint32_t flags = 0;
    while (walker.Next(&e)) flags |= e.kinds;
    return flags;
}

int16_t DoFilter(Handle filter, LongListHandle list, ObjListHdl objects)
{
    if (!list) return 0;
    // Use and caller criteria read the groups' summaries as they are now.
    SettleLinks();
    LongLDoDraw(false, list);
    LongLDelRow(list->rowCount, 0, list);
    int16_t result = 0;
    if (filter && objects) {
        for (int32_t i = 0; i < objects->Size(); ++i) {
            TObjQz* obj = objects->At(i);
            if (!ObjFilter(filter, obj)) continue;
            if (InsertRow(obj, list->rowCount, list) < 0) {
                result = memFullErr;
                break;
            }
        }
    }
    LongLDoDraw(true, list);
    return result;
}

void DoMoreFilter(Handle filter, LongListHandle list, bool remove)
{
    if (!filter || !list) return;
    SettleLinks();
    for (int32_t r = list->rowCount - 1; r >= 0; --r)
        if (ObjFilter(filter, RowObject(r, list)) == remove) LongLDelRow(1, r, list);
    if (list->port) {
        GrafPtr saved = nullptr;
        GetPort(&saved);
        SetPort(list->port);
        Rect behind = list->rView;
        EraseRect(&behind);
        LongLUpdate(nullptr, list);
        SetPort(saved);
    }
}

TObjQz* ListOwner(TObjQz* obj)
{
    if (!obj) return nullptr;
    if (obj->kind == kFieldKind || obj->kind == kSubTableKind || obj->kind == kPackageKind) return obj->GetOwnerObj();
    return obj->parent;
}

void AddOwner(TObjQz* obj, LongListHandle list, int32_t* row)
{
    int32_t scratch = -1;
    if (!row) row = &scratch;
    *row = -1;
    if (obj && list) AddOwnerAt(obj, list, row, 0);
}

void MajGroupList(LongListHandle list)
{
    if (!list) return;
    LongLDoDraw(false, list);
    TObjQz* previous = nullptr;
    // Each re-insertion moves one row under its owner: bounded by the rows.
    int64_t budget = int64_t(list->rowCount) * 4 + 16;
    for (int32_t r = 0; r < list->rowCount && budget-- > 0;) {
        TObjQz* obj = RowObject(r, list);
        if (!obj || obj->level == 0 || obj->TstFlag(kFlagInTrash)) {
            previous = obj;
            ++r;
            continue;
        }
        if (ListOwner(obj) == previous) {
            ++r;
            continue;
        }
        LongLDelRow(1, r, list);
        TObjQz* next = r < list->rowCount ? RowObject(r, list) : nullptr;
        int32_t placed = -1;
        AddOwner(obj, list, &placed);
        if (!next) break;
        const int32_t nextRow = FindRow(next, list);
        if (nextRow < 0) break;
        previous = nullptr;
        for (int32_t k = 0; k < nextRow; ++k) {
            TObjQz* passed = RowObject(k, list);
            if (passed && passed->level < next->level) previous = passed;
        }
        r = nextRow;
    }
    LongLDoDraw(true, list);
}

bool StringMatch(const unsigned char* text, const unsigned char* pattern, int16_t mode)
{
    if (!text || !pattern) return false;
    switch (mode) {
    case 1: return Matches(text, pattern);
    case 2:
    case 3:
        // A wildcard takes any run, none included: the pattern between two
        // wildcards also finds it whole, at the start and at the end, when
        // both fit; a longer one is tried at each end and whole.
        return MatchesShape(text, pattern, true, true) || Matches(text, pattern) ||
               MatchesShape(text, pattern, false, true) || MatchesShape(text, pattern, true, false);
    case 4: return Matches(text, pattern) || MatchesShape(text, pattern, false, true);
    case 5: return Matches(text, pattern) || MatchesShape(text, pattern, true, false);
    default: return false;
    }
}

bool TextMatch(const uint8_t* text, int16_t length, const unsigned char* pattern, int16_t mode)
{
    (void)mode;
    if (!text || !pattern || length < 0) return false;
    unsigned char p[256];
    const bool shapes[3][2] = {{true, true}, {false, true}, {true, false}};
    for (const auto& s : shapes) {
        Wildcarded(pattern, s[0], s[1], p);
        if (MatchStringQz(text, p + 1, length, p[0]) == kEqual) return true;
    }
    return false;
}

bool ReplaceChars(unsigned char* text, const unsigned char* find, const unsigned char* replacement)
{
    if (!text || !find || !replacement || find[0] == 0 || find[0] > text[0]) return false;
    for (int32_t at = 1; at <= text[0] - find[0] + 1; ++at) {
        if (relxptr(text + at, find + 1, find[0], find[0]) != kEqual) continue;
        unsigned char out[256 + 255];
        int32_t n = 0;
        std::memcpy(out + 1, text + 1, size_t(at - 1));
        n = at - 1;
        std::memcpy(out + 1 + n, replacement + 1, replacement[0]);
        n += replacement[0];
        const int32_t after = text[0] - (at - 1 + find[0]);
        std::memcpy(out + 1 + n, text + at + find[0], size_t(after));
        n += after;
        n = std::min<int32_t>(n, 255);
        std::memcpy(text + 1, out + 1, size_t(n));
        text[0] = uint8_t(n);
        return true;
    }
    return false;
}

int16_t Do_TxtReplace(uint8_t* buffer, int32_t* length, const unsigned char* find, const unsigned char* replacement)
{
    if (!buffer || !length || !find || !replacement || find[0] == 0) return 0;
    const int32_t f = find[0], r = replacement[0];
    for (int32_t p = 0; p + f <= *length;) {
        if (relxptr(buffer + p, find + 1, f, f) != kEqual) {
            ++p;
            continue;
        }
        std::memmove(buffer + p + r, buffer + p + f, size_t(*length - p - f));
        std::memcpy(buffer + p, replacement + 1, size_t(r));
        *length += r - f;
        p += r;
    }
    return 0;
}
