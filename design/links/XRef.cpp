#include "design/links/XRef.h"

#include <algorithm>
#include <memory>
#include <new>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "design/objects/Groups.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjQz.h"
#include "design/objects/VarObjQz.h"
#include "design/objects/TransferHooks.h"
#include "platform/core/Errors.h"

// What a group's summaries are made of: for each object, how many of its
// members' links name it (a member group's by its summaries) and where the
// summary lists it (-1: not listed).
struct SummaryTally {
    struct Entry {
        int32_t count = 0;
        int32_t at = -1;
    };
    std::unordered_map<TObjQz*, Entry> sides[2];  // uses, usedBy
};

namespace {

// Groups nest no deeper; damaged member lists may hold each other.
constexpr int kMaxDepth = 64;
// An object with this many users keeps, once one of them leaves, where
// each stands in its usedBy; below, a walk of the list finds one as soon.
constexpr int32_t kIndexFrom = 32;
// A summary this short is searched for what it holds; a longer one keeps
// a set of it while it is made.
constexpr int32_t kSetFrom = 16;

int gChangeDepth = 0;
int gTearDownDepth = 0;
// Groups whose summaries wait to be remade. A group's groups are waiting
// whenever it is.
std::vector<TGroupObjQz*> gStale;
// Where each user stands in the usedBy of the objects marked usersIndexed.
std::unordered_map<const TObjQz*, std::unordered_map<const TObjQz*, int32_t>> gUserPlaces;

// ---- The edges ----

void DropIndex(TObjQz* obj)
{
    if (!obj->usersIndexed) return;
    gUserPlaces.erase(obj);
    obj->usersIndexed = false;
}

// Where `user` stands in obj's usedBy, or -1. A long list gets an index
// the first time it is asked (a read never asks), which follows it from
// then on; one that cannot be had leaves the walk.
int32_t UserPlace(TObjQz* obj, const TObjQz* user)
{
    ObjListHdl users = obj->usedBy;
    if (!obj->usersIndexed && users && users->Size() >= kIndexFrom) {
        try {
            auto& places = gUserPlaces[obj];
            obj->usersIndexed = true;
            places.reserve(size_t(users->Size()));
            for (int32_t j = 0; j < users->Size(); ++j) places.emplace(users->At(j), j);
        } catch (const std::bad_alloc&) {
            DropIndex(obj);
        }
    }
    if (obj->usersIndexed) {
        const auto& places = gUserPlaces.find(obj)->second;
        const auto it = places.find(user);
        return it == places.end() ? -1 : it->second;
    }
    for (int32_t j = users ? users->Size() : 0; j-- > 0;)
        if (users->At(j) == user) return j;
    return -1;
}

// obj's usedBy took its last entry: an index follows (or goes, when it
// cannot).
void UserAppended(TObjQz* obj)
{
    if (!obj->usersIndexed) return;
    try {
        gUserPlaces.find(obj)->second.emplace(obj->usedBy->At(obj->usedBy->Size() - 1), obj->usedBy->Size() - 1);
    } catch (const std::bad_alloc&) {
        DropIndex(obj);
    }
}

// ---- The summaries ----

bool Made(const TGroupObjQz* g) { return g->summaryMade && !g->callListStale; }

void DropTally(TGroupObjQz* g)
{
    delete g->tally;
    g->tally = nullptr;
}

// The summaries of `group` and of the groups holding it wait to be remade;
// emptied meanwhile, they name nothing that may leave.
void MarkFrom(TGroupObjQz* group)
{
    for (TGroupObjQz* g = group; g && !g->callListStale; g = g->parent) {
        g->callListStale = true;
        DropTally(g);
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

// Counts the links of group's members as they stand, and where its
// summaries list what they name; a group whose summaries are made keeps
// this from its first change on, and follows each change after.
bool HasTally(TGroupObjQz* g)
{
    if (g->tally) return true;
    try {
        auto tally = std::make_unique<SummaryTally>();
        for (int32_t i = 0; g->members && i < g->members->Size(); ++i) {
            const TObjQz* m = g->members->At(i);
            for (int side = 0; side < 2; ++side)
                if (ObjListHdl links = side ? m->usedBy : m->uses)
                    for (int32_t j = 0; j < links->Size(); ++j) ++tally->sides[side][links->At(j)].count;
        }
        for (int side = 0; side < 2; ++side)
            if (ObjListHdl listed = side ? g->usedBy : g->uses)
                for (int32_t j = 0; j < listed->Size(); ++j) tally->sides[side][listed->At(j)].at = j;
        g->tally = tally.release();
        return true;
    } catch (const std::bad_alloc&) {
        MarkFrom(g);
        return false;
    }
}

// Whether a summary of `g` lists `obj`, given how many of its members'
// links name it: not its own members, nor ciphered objects among the uses.
bool Shown(const TGroupObjQz* g, int side, const TObjQz* obj, int32_t count)
{
    return count > 0 && obj->parent != g && (side == 1 || (obj->flags & (1 << kFlagCiphered)) == 0);
}

void Apply(TGroupObjQz* g, int side, TObjQz* obj, int32_t delta);

// Lists or unlists `obj` in g's summary as its entry says; the groups
// above follow first, while this list is still as they counted it. False
// when g's tally went (the summaries then wait to be remade).
bool Refresh(TGroupObjQz* g, int side, TObjQz* obj, SummaryTally::Entry& e)
{
    const bool shown = Shown(g, side, obj, e.count);
    if (shown == (e.at >= 0)) return true;
    Apply(g->parent, side, obj, shown ? 1 : -1);
    ObjListHdl& list = side ? g->usedBy : g->uses;
    if (shown) {
        if (AddObjList(&list, obj) != 0) {
            MarkFrom(g);
            return false;
        }
        e.at = list->Size() - 1;
        return true;
    }
    const int32_t last = list->Size() - 1;
    auto& entries = g->tally->sides[side];
    if (auto moved = entries.find(list->At(last)); e.at != last && moved != entries.end()) moved->second.at = e.at;
    SwapOutObjListAt(list, e.at);
    e.at = -1;
    return true;
}

// One link more (delta 1) or less (-1) of g's members names `obj`.
void Apply(TGroupObjQz* g, int side, TObjQz* obj, int32_t delta)
{
    if (!g || gTearDownDepth > 0 || g->callListStale) return;
    if (!g->summaryMade) {
        MarkFrom(g);
        return;
    }
    if (!HasTally(g)) return;
    auto& entries = g->tally->sides[side];
    SummaryTally::Entry* e = nullptr;
    try {
        e = &entries[obj];
    } catch (const std::bad_alloc&) {
        MarkFrom(g);
        return;
    }
    e->count += delta;
    if (!Refresh(g, side, obj, *e)) return;
    if (e->count == 0 && e->at < 0) entries.erase(obj);
}

// Before the links of `obj` change: its group counts them as they were.
void BeforeLinksChange(TObjQz* obj)
{
    TGroupObjQz* g = obj->parent;
    if (g && gTearDownDepth == 0 && Made(g)) HasTally(g);
}

// After `obj` joined (delta 1) or left (-1) `g`: its links count there or
// no longer, and it is listed there as a member is (not at all) or as any
// other object.
void Membership(TGroupObjQz* g, TObjQz* obj, int32_t delta)
{
    if (!g || gTearDownDepth > 0 || g->callListStale) return;
    auto* joined = IsGroupKind(obj) ? static_cast<TGroupObjQz*>(obj) : nullptr;
    if (!g->summaryMade || (joined && !Made(joined))) {
        MarkFrom(g);
        return;
    }
    // A tally made now counts the links as the membership leaves them.
    const bool counted = g->tally != nullptr;
    if (!HasTally(g)) return;
    for (int side = 0; side < 2; ++side) {
        ObjListHdl links = side ? obj->usedBy : obj->uses;
        for (int32_t j = 0; links && j < links->Size() && g->tally; ++j) {
            if (counted) {
                Apply(g, side, links->At(j), delta);
            } else if (auto it = g->tally->sides[side].find(links->At(j)); it != g->tally->sides[side].end()) {
                if (Refresh(g, side, links->At(j), it->second) && it->second.count == 0 && it->second.at < 0)
                    g->tally->sides[side].erase(it);
            }
        }
        if (!g->tally) return;
        if (auto it = g->tally->sides[side].find(obj); it != g->tally->sides[side].end()) Refresh(g, side, obj, it->second);
    }
}

void Settled()
{
    if (gChangeDepth == 0 && gTearDownDepth == 0) SettleLinks();
}

// ---- Edges, both ends ----

// Takes the edge uses[i] of `user` out of both ends.
void RemoveEdgeAt(TObjQz* user, int32_t i)
{
    TObjQz* used = user->uses->At(i);
    BeforeLinksChange(user);
    BeforeLinksChange(used);
    const int32_t j = UserPlace(used, user);
    // The user's uses keep their order; the used object's last user takes
    // the place the edge leaves.
    DelObjListAt(user->uses, i);
    Apply(user->parent, 0, used, -1);
    // Lists made by hand may hold half an edge: what is there goes.
    if (j < 0) return;
    const int32_t last = used->usedBy->Size() - 1;
    if (used->usersIndexed) {
        auto& places = gUserPlaces.find(used)->second;
        if (auto moved = places.find(used->usedBy->At(last)); j != last && moved != places.end()) moved->second = j;
        places.erase(user);
    }
    SwapOutObjListAt(used->usedBy, j);
    Apply(used->parent, 1, user, -1);
}

void UnlinkAll(TObjQz* obj)
{
    while (obj->uses && obj->uses->Size() > 0) RemoveEdgeAt(obj, obj->uses->Size() - 1);
    while (obj->usedBy && obj->usedBy->Size() > 0) {
        const int32_t last = obj->usedBy->Size() - 1;
        TObjQz* user = obj->usedBy->At(last);
        int32_t i = user->uses ? user->uses->Size() : 0;
        while (i-- > 0 && user->uses->At(i) != obj) {
        }
        if (i >= 0) {
            RemoveEdgeAt(user, i);
            continue;
        }
        DropIndex(obj);
        SwapOutObjListAt(obj->usedBy, last);
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
    if (IsGroupKind(a) || IsGroupKind(b)) return 0;
    // The user's uses, which hold what one object names, are searched: an
    // object used by every form of a document would make a search of its
    // users grow with the document at each link.
    if (IsInList(a->uses, b)) return 0;
    BeforeLinksChange(a);
    BeforeLinksChange(b);
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
    UserAppended(b);
    Apply(a->parent, 0, b, 1);
    Apply(b->parent, 1, a, 1);
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
    if (!uses && !usedBy) return;
    UnlinkAll(this);
    DropIndex(this);
    Settled();
}

void TObjQz::MergeObj(TObjQz* other)
{
    if (!other || other == this || other->kind != kind) return;
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

void MemberJoined(TGroupObjQz* group, TObjQz* member)
{
    Membership(group, member, 1);
    Settled();
}

void MemberLeft(TGroupObjQz* group, TObjQz* member)
{
    Membership(group, member, -1);
    Settled();
}

void GroupMembersChanged(TGroupObjQz* group)
{
    if (gTearDownDepth > 0) return;
    MarkFrom(group);
    Settled();
}

void CipheringChanged(TObjQz* obj)
{
    if (gTearDownDepth > 0 || !obj->usedBy) return;
    for (int32_t i = 0; i < obj->usedBy->Size(); ++i) {
        TGroupObjQz* g = obj->usedBy->At(i)->parent;
        if (!g || !Made(g) || !g->tally) continue;
        const auto it = g->tally->sides[0].find(obj);
        if (it != g->tally->sides[0].end()) Refresh(g, 0, obj, it->second);
    }
    Settled();
}

int16_t MakeSummary(TGroupObjQz* group)
{
    // Guards the walk through member groups against a cycle in damaged
    // member lists.
    static int depth = 0;
    group->callListStale = false;
    group->summaryMade = true;
    DropTally(group);
    if (depth > kMaxDepth) return 0;
    if (!group->uses)
        if (const int16_t err = NewObjList(&group->uses, 10)) return err;
    if (!group->usedBy)
        if (const int16_t err = NewObjList(&group->usedBy, 10)) return err;
    RazObjList(group->uses);
    RazObjList(group->usedBy);
    ObjListHdl members = group->members;
    if (!members) return 0;
    int16_t err = 0;
    ++depth;
    // Member groups first, those whose summaries wait or were never made.
    for (int32_t i = 0; i < members->Size() && err == 0; ++i) {
        TObjQz* m = members->At(i);
        if (m == group || !IsGroupKind(m)) continue;
        if (auto* g = static_cast<TGroupObjQz*>(m); !Made(g)) err = g->MakeCallList(false);
    }
    --depth;
    if (err) return err;
    // The members' links in member order, each once (a walk of the list for
    // each would make a long summary grow with the square of its members'
    // links).
    try {
        std::unordered_set<const TObjQz*> held[2];
        for (int32_t i = 0; i < members->Size() && err == 0; ++i)
            for (int side = 0; side < 2 && err == 0; ++side) {
                ObjListHdl links = side ? members->At(i)->usedBy : members->At(i)->uses;
                ObjListHdl& listed = side ? group->usedBy : group->uses;
                for (int32_t j = 0; links && j < links->Size() && err == 0; ++j) {
                    TObjQz* obj = links->At(j);
                    if (!Shown(group, side, obj, 1)) continue;
                    if (listed->Size() < kSetFrom) {
                        if (IsInList(listed, obj)) continue;
                    } else {
                        if (held[side].empty()) held[side].insert(listed->entries, listed->entries + listed->Size());
                        if (!held[side].insert(obj).second) continue;
                    }
                    err = AddObjList(&listed, obj);
                }
            }
    } catch (const std::bad_alloc&) {
        err = platform::memFullErr;
    }
    return err;
}

void RetireLinks(TObjQz* obj)
{
    if (!obj) return;
    ForgetRetiredObj(obj);
    if (IsGroupKind(obj)) {
        auto* group = static_cast<TGroupObjQz*>(obj);
        // Kept there until the next settling even once remade.
        gStale.erase(std::remove(gStale.begin(), gStale.end(), group), gStale.end());
        group->callListStale = false;
        DropTally(group);
    } else if (gTearDownDepth == 0) {
        UnlinkAll(obj);
    }
    DropIndex(obj);
    // An object without edges counts for nothing in its group's summaries;
    // a group going while it is a member may leave its list uncounted
    // there: the summaries above are remade.
    if (IsGroupKind(obj) && obj->parent && gTearDownDepth == 0) MarkFrom(obj->parent);
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
