#include "design/links/XRef.h"

#include <algorithm>
#include <new>
#include <vector>

#include "design/objects/Groups.h"
#include "design/objects/ObjQz.h"
#include "design/objects/VarObjQz.h"
#include "design/objects/TransferHooks.h"
#include "platform/core/Errors.h"

// Where the other end holds each edge of an object: usesAt[i] is this
// object's place in uses[i]'s usedBy, usedByAt[j] its place in usedBy[j]'s
// uses.
struct LinkPlaces {
    std::vector<int32_t> usesAt, usedByAt;
};

namespace {

// Groups nest no deeper; damaged member lists may hold each other.
constexpr int kMaxDepth = 64;

int gChangeDepth = 0;
int gTearDownDepth = 0;
// Groups whose summaries wait to be remade. A group's groups are waiting
// whenever it is.
std::vector<TGroupObjQz*> gStale;

bool IsSummary(const TObjQz* obj) { return obj->kind == 23 || obj->kind == 32 || obj->kind == 33; }

LinkPlaces* PlacesOf(TObjQz* obj)
{
    if (!obj->linkPlaces) obj->linkPlaces = new (std::nothrow) LinkPlaces;
    return obj->linkPlaces;
}

// The summaries of the groups holding `obj` wait to be remade; emptied
// meanwhile, they name nothing that may leave.
void MarkFrom(TGroupObjQz* group)
{
    for (TGroupObjQz* g = group; g && !g->callListStale; g = g->parent) {
        g->callListStale = true;
        if (g->uses) RazObjList(g->uses);
        if (g->usedBy) RazObjList(g->usedBy);
        try {
            gStale.push_back(g);
        } catch (const std::bad_alloc&) {
            // Remade at once rather than forgotten.
            g->MakeCallList(false);
        }
    }
}

void Touched(TObjQz* obj) { MarkFrom(obj->parent); }

void Settled()
{
    if (gChangeDepth == 0 && gTearDownDepth == 0) SettleLinks();
}

// Takes the edge uses[i] of `user` out of both ends.
void RemoveEdgeAt(TObjQz* user, int32_t i)
{
    TObjQz* used = user->uses->At(i);
    LinkPlaces* up = user->linkPlaces;
    LinkPlaces* dp = used->linkPlaces;
    const int32_t j = up->usesAt[size_t(i)];
    // The used object's last user takes the place the edge leaves.
    const int32_t last = used->usedBy->Size() - 1;
    if (j != last) {
        TObjQz* moved = used->usedBy->At(last);
        const int32_t at = dp->usedByAt[size_t(last)];
        dp->usedByAt[size_t(j)] = at;
        moved->linkPlaces->usesAt[size_t(at)] = j;
    }
    SwapOutObjListAt(used->usedBy, j);
    dp->usedByAt.pop_back();
    // The user's uses keep their order: those after it move down.
    DelObjListAt(user->uses, i);
    up->usesAt.erase(up->usesAt.begin() + i);
    for (int32_t m = i; m < user->uses->Size(); ++m)
        user->uses->At(m)->linkPlaces->usedByAt[size_t(up->usesAt[size_t(m)])] = m;
    Touched(user);
    Touched(used);
}

void UnlinkAll(TObjQz* obj)
{
    while (obj->uses && obj->uses->Size() > 0) RemoveEdgeAt(obj, obj->uses->Size() - 1);
    while (obj->usedBy && obj->usedBy->Size() > 0) {
        const int32_t last = obj->usedBy->Size() - 1;
        RemoveEdgeAt(obj->usedBy->At(last), obj->linkPlaces->usedByAt[size_t(last)]);
    }
}

// Appends `obj` to *list, making the list when missing.
int16_t Append(ObjListHdl* list, TObjQz* obj, bool* made)
{
    *made = false;
    if (!*list) {
        if (const int16_t err = NewObjList(list, 10)) return err;
        *made = true;
    }
    return AddObjList(list, obj);
}

void Undo(ObjListHdl* list, bool made, bool added)
{
    if (added) DelObjListAt(*list, (*list)->Size() - 1);
    if (made) {
        FreeObjList(*list);
        *list = nullptr;
    }
}

}  // namespace

int16_t XRef(TObjQz* a, TObjQz* b)
{
    if (!a || !b) return 0;
    // Groups summarise their members' edges and have none of their own.
    if (IsSummary(a) || IsSummary(b)) return 0;
    // The user's uses, which hold what one object names, are searched: an
    // object used by every form of a document would make a search of its
    // users grow with the document at each link.
    if (IsInList(a->uses, b)) return 0;
    LinkPlaces* pa = PlacesOf(a);
    LinkPlaces* pb = PlacesOf(b);
    if (!pa || !pb) return platform::memFullErr;
    try {
        pa->usesAt.reserve(pa->usesAt.size() + 1);
        pb->usedByAt.reserve(pb->usedByAt.size() + 1);
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
    bool madeBy = false;
    if (const int16_t err = Append(&b->usedBy, a, &madeBy)) {
        Undo(&b->usedBy, madeBy, false);
        return err;
    }
    bool madeUses = false;
    if (const int16_t err = Append(&a->uses, b, &madeUses)) {
        // A half edge would outlive a deleted user: take the first half back.
        Undo(&a->uses, madeUses, false);
        Undo(&b->usedBy, madeBy, true);
        return err;
    }
    pa->usesAt.push_back(b->usedBy->Size() - 1);
    pb->usedByAt.push_back(a->uses->Size() - 1);
    Touched(a);
    Touched(b);
    Settled();
    return 0;
}

void XDelRef(TObjQz* a, TObjQz* b)
{
    if (!a || !b || !a->uses) return;
    for (int32_t i = 0; i < a->uses->Size(); ++i)
        if (a->uses->At(i) == b) {
            RemoveEdgeAt(a, i);
            Settled();
            return;
        }
}

void TObjQz::Unlink()
{
    if (!linkPlaces) return;
    UnlinkAll(this);
    delete linkPlaces;
    linkPlaces = nullptr;
    Settled();
}

void TObjQz::MergeObj(TObjQz* other)
{
    if (!other || other == this || other->kind != kind || !other->linkPlaces) return;
    LinkChanges together;
    while (other->usedBy && other->usedBy->Size() > 0) {
        TObjQz* caller = other->usedBy->At(other->usedBy->Size() - 1);
        XDelRef(caller, other);
        // A caller that was other itself now uses this object.
        XRef(caller == other ? this : caller, this);
    }
    // This object now uses what other used, in other's order.
    std::vector<TObjQz*> used;
    for (int32_t i = 0; other->uses && i < other->uses->Size(); ++i) used.push_back(other->uses->At(i));
    UnlinkAll(other);
    for (TObjQz* obj : used) XRef(this, obj == other ? this : obj);
}

void GroupMembersChanged(TGroupObjQz* group)
{
    if (gTearDownDepth > 0) return;
    MarkFrom(group);
    Settled();
}

void RetireLinks(TObjQz* obj)
{
    if (!obj) return;
    ForgetRetiredObj(obj);
    if (IsSummary(obj)) {
        auto* group = static_cast<TGroupObjQz*>(obj);
        // Kept there until the next settling even once remade.
        gStale.erase(std::remove(gStale.begin(), gStale.end(), group), gStale.end());
        group->callListStale = false;
    } else if (obj->linkPlaces && gTearDownDepth == 0) {
        UnlinkAll(obj);
    }
    if (obj->parent && gTearDownDepth == 0) MarkFrom(obj->parent);
    delete obj->linkPlaces;
    obj->linkPlaces = nullptr;
    Settled();
}

LinkChanges::LinkChanges() { ++gChangeDepth; }

LinkChanges::~LinkChanges()
{
    --gChangeDepth;
    Settled();
}

LinksTornDown::LinksTornDown() { ++gTearDownDepth; }

LinksTornDown::~LinksTornDown()
{
    --gTearDownDepth;
    Settled();
}

void SettleLinks()
{
    while (!gStale.empty()) {
        TGroupObjQz* g = gStale.back();
        if (!g->callListStale) {
            gStale.pop_back();
            continue;
        }
        // From the outermost group waiting: it remakes those below first
        // (as far as damaged member lists holding each other allow).
        for (int depth = 0; depth < kMaxDepth && g->parent && g->parent->callListStale; ++depth) g = g->parent;
        g->MakeCallList(false);
    }
}

ShownLinks::ShownLinks(ObjListHdl links)
{
    SettleLinks();
    if (!links) return;
    try {
        entries_.assign(links->entries, links->entries + links->Size());
        entries_.push_back(nullptr);
    } catch (const std::bad_alloc&) {
        return;
    }
    // A list of its own, which no answer worked out from the objects'
    // lists reads: making, sorting and dropping it changes none of theirs.
    copy_.count = int32_t(entries_.size());
    copy_.entries = entries_.data();
    copy_.room = copy_.count;
    SortShownLinks(&copy_);
    list_ = &copy_;
}

bool ExistsByBeingNamed(TObjQz* obj)
{
    if (!obj) return false;
    if (obj->kind == 3 || (obj->kind >= 13 && obj->kind <= 15) || obj->kind == 17) return true;
    auto* var = dynamic_cast<TVarObjQz*>(obj);
    return var && !var->method;
}

void DropIfUnnamed(TObjQz* obj)
{
    if (ExistsByBeingNamed(obj) && !obj->parent && !obj->Used()) obj->DeleteObj(true);
}

void ObjectRewritten(TObjQz* obj)
{
    // Those a read never parses keep no size or date.
    if (obj && obj->TstFlag(kFlagParsed)) obj->StampOwnResource();
}
