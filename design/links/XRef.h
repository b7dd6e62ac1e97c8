// The uses / used-by graph over a document's design objects, and its one
// owner: every change of it goes through here.
//
// An edge a -> b (a uses b) is recorded once, reachable from both ends: b
// is in a's `uses`, a in b's `usedBy`, each at most once, and each end
// knows where the other end holds it, so that an edge goes in constant
// time whichever end asks. An object's uses keep the order in which it
// recorded them (its text's order); the order of its users means nothing:
// what windows, exports and printouts show is put in one order of its own
// (ShownLinks below), the same for every history, so the same as
// a fresh read's. The graph is never stored: objects rebuild it when they
// parse.
//
// Groups, components and folders take no part in edges. Their `uses` and
// `usedBy` summarise their members' (the union, ciphered objects left out
// of the uses, the members themselves left out of both). A summary that an
// edge or a membership below it changes is emptied at once and remade
// from the members when the outermost change ends (LinkChanges), or when
// a reader asks for it (SettleLinks): it never names what left the graph.
//
// An object leaving memory (TObjQz::Dispose) is retired here first: its
// edges go, the summaries that could name it are remade, and a transfer
// under way forgets it (TransferHooks::forgetObj).
#pragma once

#include <cstdint>
#include <vector>

#include "design/objects/ObjList.h"

class TObjQz;
class TGroupObjQz;

// Records a -> b. Null ends do nothing. -108 when a list cannot be made or
// grown; the graph is then as it was.
int16_t XRef(TObjQz* a, TObjQz* b);
// Removes a -> b; a missing edge or list is ignored.
void XDelRef(TObjQz* a, TObjQz* b);

// The members of `group` changed: its summaries, and its groups', are
// remade.
void GroupMembersChanged(TGroupObjQz* group);

// `obj` is about to be freed: nothing of the graph may name it afterwards.
void RetireLinks(TObjQz* obj);

// Changes of the graph made together: the summaries they touch are remade
// once, when the outermost one ends. Outside any, each change settles at
// once.
class LinkChanges {
public:
    LinkChanges();
    ~LinkChanges();
    LinkChanges(const LinkChanges&) = delete;
    LinkChanges& operator=(const LinkChanges&) = delete;
};

// A whole document's objects going together (its lists disposed): they let
// go of their lists without taking their edges apart one by one.
class LinksTornDown {
public:
    LinksTornDown();
    ~LinksTornDown();
    LinksTornDown(const LinksTornDown&) = delete;
    LinksTornDown& operator=(const LinksTornDown&) = delete;
};

// Whether `obj` exists only through what names it: commands, sets,
// selections, semaphores, constants, and process and interprocess
// variables and list boxes (a method's locals go with their method).
bool ExistsByBeingNamed(TObjQz* obj);
// Such an object that nothing names and no group holds leaves its
// document, as a read of it would not make it.
void DropIfUnnamed(TObjQz* obj);

// Remakes the summaries that changes left empty, now.
void SettleLinks();

// A list of links as windows, exports and printouts show them: settled,
// copied and put in the shown order (SortShownLinks). Null without `links`
// or when memory runs out.
class ShownLinks {
public:
    explicit ShownLinks(ObjListHdl links);
    ShownLinks(const ShownLinks&) = delete;
    ShownLinks& operator=(const ShownLinks&) = delete;
    ObjListHdl get() const { return list_; }

private:
    std::vector<TObjQz*> entries_;
    ObjListRec copy_;
    ObjListHdl list_ = nullptr;
};

// `obj` rewrote its own resource: its size and date are the stored ones
// again, as a read takes them when it parses the object.
void ObjectRewritten(TObjQz* obj);
