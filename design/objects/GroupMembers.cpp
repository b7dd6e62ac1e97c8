// Reading and writing the member lists of groups, components and folders.
#include <algorithm>
#include <new>
#include <unordered_map>
#include <vector>

#include "app/documents/MainDoc.h"
#include "app/dialogs/WaitDialog.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/Groups.h"
#include "design/reading/ModuleManager.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/VarObjQz.h"
#include "design/reading/ReadQzB.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

constexpr int16_t kCurrentFormat = 254;
constexpr int16_t kEndOfList = -1;

// The words of a member list, never read past the end.
class WordReader {
public:
    WordReader(const uint8_t* p, int32_t size) : p_(p), count_(size / 2) {}
    bool Next(int16_t* w)
    {
        if (at_ >= count_) return false;
        *w = platform::ReadBES16(p_ + 2 * at_++);
        return true;
    }
    bool Peek(int32_t ahead, int16_t* w) const
    {
        if (at_ + ahead >= count_) return false;
        *w = platform::ReadBES16(p_ + 2 * (at_ + ahead));
        return true;
    }
    void Skip(int32_t n) { at_ += n; }

private:
    const uint8_t* p_;
    int32_t count_;
    int32_t at_ = 0;
};

TObjQz* FirstInList(ObjListHdl list, int16_t kind, int16_t id)
{
    for (int32_t i = 0; i < list->Size(); ++i)
        if (list->At(i)->kind == kind && list->At(i)->id == id) return list->At(i);
    return nullptr;
}

// Member lists name objects by kind and id, and reading every group looks
// each one up in its kind's list: walking the list for each would make a
// read grow with members times objects. The long lists searched get an
// index of their first (kind, id) places, kept while the list keeps its
// slots and count; a place found is checked against the list, and what
// the index does not hold is looked for by walking, so a list changed
// behind it still answers right.
class IdIndexes {
public:
    TObjQz* Find(ObjListHdl list, int16_t kind, int16_t id)
    {
        if (list->Size() < kIndexFrom) return FirstInList(list, kind, id);
        Index& index = For(list);
        const auto it = index.at.find(Key(kind, id));
        if (it != index.at.end() && it->second < list->Size()) {
            TObjQz* obj = list->At(it->second);
            if (obj->kind == kind && obj->id == id) return obj;
        }
        return FirstInList(list, kind, id);
    }

private:
    static constexpr int32_t kIndexFrom = 64;
    static constexpr size_t kKept = 8;
    struct Index {
        ObjListHdl list = nullptr;
        TObjQz** entries = nullptr;
        int32_t count = -1;
        std::unordered_map<uint32_t, int32_t> at;
    };
    static uint32_t Key(int16_t kind, int16_t id) { return uint32_t(uint16_t(kind)) << 16 | uint16_t(id); }

    Index& For(ObjListHdl list)
    {
        for (Index& index : indexes_)
            if (index.list == list && index.entries == list->entries && index.count == list->count) return index;
        Index* index = nullptr;
        for (Index& i : indexes_)
            if (i.list == list) index = &i;
        if (!index) {
            if (indexes_.size() >= kKept) indexes_.erase(indexes_.begin());
            index = &indexes_.emplace_back();
        }
        index->list = list;
        index->entries = list->entries;
        index->count = list->count;
        index->at.clear();
        index->at.reserve(size_t(list->Size()));
        for (int32_t i = 0; i < list->Size(); ++i) index->at.emplace(Key(list->At(i)->kind, list->At(i)->id), i);
        return *index;
    }

    std::vector<Index> indexes_;
};

IdIndexes gIdIndexes;

TObjQz* InList(ObjListHdl list, int16_t kind, int16_t id)
{
    return list ? gIdIndexes.Find(list, kind, id) : nullptr;
}

TFileObjQz* TableById(TMainDoc* doc, int16_t id)
{
    ObjListHdl list = doc->fTypeList ? doc->fTypeList->lists[0] : nullptr;
    if (!list) return nullptr;
    for (int32_t i = 0; i < list->Size(); ++i) {
        TObjQz* o = list->At(i);
        if ((o->kind == 1 || o->kind == 29) && o->id == id) return static_cast<TFileObjQz*>(o);
    }
    return nullptr;
}

TLayoutObjQz* FormOf(TFileObjQz* table, int16_t id)
{
    return table ? static_cast<TLayoutObjQz*>(InList(table->forms, 24, id)) : nullptr;
}

TObjQz* ScriptOf(TLayoutObjQz* form, int16_t id) { return form ? InList(form->objMethods, 25, id) : nullptr; }
TObjQz* FormMethodOf(TLayoutObjQz* form) { return form ? form->formMethod : nullptr; }
TObjQz* TableMethodOf(TFileObjQz* table) { return table ? table->method : nullptr; }

// How one entry ended.
enum class Entry { Found, Missing, Unknown, Truncated };

struct Resolved {
    Entry how = Entry::Missing;
    TObjQz* obj = nullptr;
};

Resolved Found(TObjQz* obj) { return {obj ? Entry::Found : Entry::Missing, obj}; }

// Reads the words of one entry of the current format after its kind.
Resolved CurrentEntry(TMainDoc* doc, int16_t kind, WordReader& r)
{
    int16_t a = 0, b = 0, c = 0;
    if ((kind >= 1 && kind <= 23) || kind == 32 || kind == 33) {
        if (!r.Next(&a)) return {Entry::Truncated};
        return Found(InList(GetObjListe(doc->fTypeList, kind), kind, a));
    }
    switch (kind) {
    case 24:
        if (!r.Next(&a) || !r.Next(&b)) return {Entry::Truncated};
        return Found(FormOf(TableById(doc, a), b));
    case 25:
        if (!r.Next(&a) || !r.Next(&b) || !r.Next(&c)) return {Entry::Truncated};
        return Found(ScriptOf(FormOf(TableById(doc, a), b), c));
    case 26:
        if (!r.Next(&a) || !r.Next(&b)) return {Entry::Truncated};
        return Found(TableMethodOf(TableById(doc, a)));
    case 27:
        if (!r.Next(&a) || !r.Next(&b) || !r.Next(&c)) return {Entry::Truncated};
        return Found(FormMethodOf(FormOf(TableById(doc, a), b)));
    case 30: {
        if (!r.Next(&a) || !r.Next(&b)) return {Entry::Truncated};
        TFileObjQz* table = TableById(doc, a);
        return Found(table ? InList(table->balloons, 30, b) : nullptr);
    }
    default: return {Entry::Unknown};
    }
}

// Entries of lists written before the current format, with their own kinds.
Resolved OlderEntry(TMainDoc* doc, int16_t kind, WordReader& r)
{
    int16_t a = 0, b = 0, c = 0;
    if ((kind >= 1 && kind <= 18) || kind == 23) {
        if (!r.Next(&a)) return {Entry::Truncated};
        return Found(InList(GetObjListe(doc->fTypeList, kind), kind, a));
    }
    switch (kind) {
    case 19: {
        // A table and one of its forms, or else the id of a style sheet.
        if (!r.Peek(0, &a)) return {Entry::Truncated};
        if (r.Peek(1, &b))
            if (TObjQz* form = FormOf(TableById(doc, a), b)) {
                r.Skip(2);
                return Found(form);
            }
        r.Skip(1);
        return Found(InList(GetObjListe(doc->fTypeList, 19), 19, a));
    }
    case 20:
        if (!r.Next(&a) || !r.Next(&b) || !r.Next(&c)) return {Entry::Truncated};
        return Found(ScriptOf(FormOf(TableById(doc, a), b), c));
    case 21: case 25: case 26:
        if (!r.Next(&a) || !r.Next(&b)) return {Entry::Truncated};
        return Found(TableMethodOf(TableById(doc, a)));
    case 22: case 27:
        if (!r.Next(&a) || !r.Next(&b) || !r.Next(&c)) return {Entry::Truncated};
        return Found(FormMethodOf(FormOf(TableById(doc, a), b)));
    case 24:
        if (!r.Next(&a) || !r.Next(&b)) return {Entry::Truncated};
        return Found(FormOf(TableById(doc, a), b));
    case 30: {
        if (!r.Next(&a) || !r.Next(&b)) return {Entry::Truncated};
        TFileObjQz* table = TableById(doc, a);
        return Found(table ? InList(table->balloons, 30, b) : nullptr);
    }
    default: return {Entry::Unknown};
    }
}

// Groups whose stored lists wait for the end of the read.
int gBatchDepth = 0;
std::vector<TGroupObjQz*> gPending;

void NoteRewrite(TGroupObjQz* group)
{
    if (gBatchDepth == 0) return;
    if (std::find(gPending.begin(), gPending.end(), group) == gPending.end()) gPending.push_back(group);
}

bool IsMethodKind(int16_t kind) { return kind == 2 || kind == 16 || kind == 25 || kind == 26 || kind == 27; }

// Deeper nesting than any real structure holds.
constexpr int kMaxGroupDepth = 1024;

// True when `obj` is `group` or holds it: joining would make a cycle. A
// chain of groups too long to walk to its top counts as holding it: a
// cycle closed above the walk's end would make every later walk endless.
bool Encloses(TObjQz* obj, TGroupObjQz* group)
{
    int depth = 0;
    TObjQz* g = group;
    for (; g && depth < kMaxGroupDepth; g = g->parent, ++depth)
        if (g == obj) return true;
    return g != nullptr;
}

}  // namespace

int16_t TGroupObjQz::LocalsBesideMethods()
{
    if (!members) return 0;
    std::vector<TObjQz*> order;
    try {
        order.reserve(size_t(members->Size()));
        auto isLocal = [&](TObjQz* m) {
            auto* var = dynamic_cast<TVarObjQz*>(m);
            return var && var->method && IsInList(members, var->method);
        };
        for (int32_t i = 0; i < members->Size(); ++i) {
            TObjQz* m = members->At(i);
            if (isLocal(m)) continue;
            order.push_back(m);
            auto* method = IsMethodKind(m->kind) ? static_cast<TGnlProcObjQz*>(m) : nullptr;
            for (int32_t l = 0; method && method->locals && l < method->locals->Size(); ++l)
                if (method->locals->At(l)->parent == this) order.push_back(method->locals->At(l));
        }
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
    if (int32_t(order.size()) != members->Size()) return 0;
    return SetObjListEntries(members, order.data(), int32_t(order.size()));
}

int16_t TGroupObjQz::Read(void* record)
{
    (void)record;
    ShowProgress(6);
    if (!owner) return platform::memFullErr;
    const int16_t saved = xcurres();
    useres(owner->fResFile);
    platform::Handle h = xget1res(GetOwnResType(), id);
    if (!h) {
        useres(saved);
        return platform::memFullErr;
    }
    if (owner->fModuleManager) moduleState = owner->fModuleManager->GetObjState(GetOwnResType(), id);
    if (!members)
        if (const int16_t err = NewObjList(&members, 10)) {
            useres(saved);
            return err;
        }
    // A copy: joining groups below may write other lists of this store.
    const int32_t size = platform::GetHandleSize(h);
    std::vector<uint8_t> words(reinterpret_cast<const uint8_t*>(*h), reinterpret_cast<const uint8_t*>(*h) + size);
    WordReader r(words.data(), size);
    int16_t first = 0;
    const bool current = r.Peek(0, &first) && first == kCurrentFormat;
    if (current) r.Skip(1);
    bool rewrite = !current;
    int16_t result = 0;
    for (;;) {
        int16_t kind = 0;
        if (!r.Next(&kind)) {
            result = kResourceMissing;  // no end mark: the list is cut short
            rewrite = false;
            break;
        }
        if (kind == kEndOfList) break;
        const Resolved e = current ? CurrentEntry(owner, kind, r) : OlderEntry(owner, kind, r);
        if (e.how == Entry::Truncated) {
            result = kResourceMissing;
            rewrite = false;
            break;
        }
        if (e.how == Entry::Unknown) {
            // What follows cannot be walked; keep the stored list as it is.
            rewrite = false;
            break;
        }
        if (e.how == Entry::Missing || Encloses(e.obj, this)) {
            rewrite = true;
            continue;
        }
        TObjQz* obj = e.obj;
        if (obj->parent == this) continue;
        if (TGroupObjQz* previous = obj->parent) {
            if (obj->DelGroup(false, false) != 0 || obj->parent) continue;
            NoteRewrite(previous);
        }
        obj->SetFlag(kFlagGrouped, true);
        obj->SetFlag(kFlagGrouped2, true);
        obj->parent = this;
        obj->level = uint8_t(level + 1);
        if (const int16_t err = AddObjList(&members, obj)) {
            obj->parent = nullptr;
            result = err;
            rewrite = false;
            break;
        }
        if (IsMethodKind(obj->kind)) {
            ObjListHdl locals = static_cast<TGnlProcObjQz*>(obj)->locals;
            for (int32_t i = 0; locals && i < locals->Size(); ++i) locals->At(i)->AddGroup(this, false);
        }
    }
    MajRefLevel();
    if (rewrite && result == 0) NoteRewrite(this);
    useres(saved);
    return result;
}

void BeginGroupRewrites()
{
    if (gBatchDepth++ == 0) gPending.clear();
}

int16_t EndGroupRewrites(bool commit)
{
    if (gBatchDepth == 0 || --gBatchDepth > 0) return 0;
    std::vector<TGroupObjQz*> pending;
    pending.swap(gPending);
    int16_t result = 0;
    for (TGroupObjQz* g : pending) {
        if (!commit || result != 0) break;
        result = g->Write();
    }
    return result;
}

namespace {

void Put(std::vector<uint8_t>& out, int16_t w)
{
    out.push_back(uint8_t(uint16_t(w) >> 8));
    out.push_back(uint8_t(w));
}

int16_t IdOf(TObjQz* obj) { return obj ? obj->id : 0; }

// The entry of one member, nothing for kinds that are never written.
void PutMember(std::vector<uint8_t>& out, TObjQz* m)
{
    const int16_t kind = m->kind;
    if ((kind >= 1 && kind <= 8) || (kind >= 10 && kind <= 23) || kind == 32 || kind == 33) {
        Put(out, kind), Put(out, m->id);
        return;
    }
    TObjQz* owner = m->GetOwnerObj();
    switch (kind) {
    case 24: case 26:
        Put(out, kind), Put(out, IdOf(owner)), Put(out, m->id);
        break;
    case 25: case 27:
        Put(out, kind), Put(out, IdOf(owner ? owner->GetOwnerObj() : nullptr)), Put(out, IdOf(owner)), Put(out, m->id);
        break;
    default: break;
    }
}

}  // namespace

int16_t TGroupObjQz::Write()
{
    if (!owner) return platform::memFullErr;
    owner->SetWasModif();
    const int16_t saved = xcurres();
    useres(owner->fResFile);
    std::vector<uint8_t> out;
    Put(out, kCurrentFormat);
    if (members)
        for (int32_t i = 0; i < members->Size(); ++i) PutMember(out, members->At(i));
    Put(out, kEndOfList);
    platform::Handle h = xget1res(GetOwnResType(), id);
    bool added = false;
    int16_t result = 0;
    if (!h) {
        int16_t err = 0;
        const int16_t newId = UniqueGroupID(owner, &err);
        if (err) {
            useres(saved);
            return err;
        }
        useres(owner->fResFile);
        if (platform::PtrToHand(out.data(), &h, platform::Size(out.size())) != 0) {
            useres(saved);
            return platform::memFullErr;
        }
        if (!xaddres(h, GetOwnResType(), newId)) {
            // The store's own error, before the current file is set back
            // (which clears it).
            err = reserr ? reserr : platform::memFullErr;
            platform::DisposeHandle(h);
            useres(saved);
            return err;
        }
        id = newId;
        NoteObjIdChanged();
        // A group without its name would be stored: the write stops.
        if (!xsetresname(GetOwnResType(), id, name, false)) {
            err = reserr ? reserr : platform::memFullErr;
            useres(saved);
            return err;
        }
        added = true;
    } else {
        platform::SetHandleSize(h, platform::Size(out.size()));
        if (platform::MemError() != 0) {
            useres(saved);
            return platform::memFullErr;
        }
        std::copy(out.begin(), out.end(), reinterpret_cast<uint8_t*>(*h));
    }
    if (!xwriteres(h)) result = reserr ? reserr : platform::ioErr;
    // A new resource changes the map: it must be written with it.
    if (result == 0 && !(added ? updateres(owner->fResFile) : updateresNoMap(owner->fResFile))) result = reserr;
    useres(saved);
    return result;
}
