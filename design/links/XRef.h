// The uses / used-by graph over a document's design objects, and its one
// owner: every change of it goes through here.
//
// An edge a -> b (a uses b) is recorded once, reachable from both ends: b
// is in a's `uses`, a in b's `usedBy`, each at most once. An object with
// many users keeps, once one of them leaves, where each stands in its
// usedBy, so that an edge goes in time bounded by the user's own uses
// however many users the other end has. An object's uses keep the order
// in which it recorded them (its text's order); the order of its users
// means nothing: what windows, exports and printouts show is put in one
// order of its own (ShownLinks below), the same for every history, so the
// same as a fresh read's. The graph is never stored: objects rebuild it
// when they parse.
//
// Groups, components and folders take no part in edges. Their `uses` and
// `usedBy` summarise their members' (the union, ciphered objects left out
// of the uses, the members themselves left out of both), made whole when
// a document is read. From its first change on, a group counts how many
// of its members' links name each object, and each edge or membership
// that changes below it changes only the entries it concerns, so that a
// command's summary work is bounded by the links it changes; the order of
// a summary, like that of an object's users, means nothing. A change told
// without saying which member it concerns (GroupMembersChanged) empties
// the summaries, to be remade whole when the outermost change ends
// (LinkChanges) or a reader asks for them (SettleLinks). Either way a
// summary never names what left the graph.
//
// An object leaving memory (TObjQz::Dispose) is retired here first: its
// edges go, and with them what the summaries count of it, and a transfer
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

// `member` joined `group` or left it (its parent and the group's members
// say so already): the group's summaries, and its groups', follow.
void MemberJoined(TGroupObjQz* group, TObjQz* member);
void MemberLeft(TGroupObjQz* group, TObjQz* member);
// The members of `group` changed in ways not told one by one: its
// summaries, and its groups', are remade.
void GroupMembersChanged(TGroupObjQz* group);
// `obj` was ciphered or deciphered: the summaries of its users' groups
// list it as they now must.
void CipheringChanged(TObjQz* obj);
// Makes group's summaries whole from its members (those of member groups
// whose summaries wait or were never made first).
int16_t MakeSummary(TGroupObjQz* group);

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
