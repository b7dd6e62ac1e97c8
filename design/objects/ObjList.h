// Object lists: every collection of design objects (a document's per-kind
// lists, an object's uses, used-by and member lists, selections). A list
// keeps count (entries plus the terminating null), free slots behind the
// terminator and a growth step; entries are native pointers. Growth fails
// with -108 and leaves the list as it was; removal never shrinks it.
//
// A list does not own its objects, except a document's per-kind lists
// (DisposeObjList).
#pragma once

#include <cstdint>

class TObjQz;

struct ObjListRec {
    int32_t count = 1;   // entries including the terminator
    int32_t free = 0;    // free slots behind the terminator
    int16_t step = 1;    // slots added when none is free
    TObjQz** entries = nullptr;  // count + free + 1 slots, or more (room)
    // Slots `entries` holds. Growth by the step takes room already there
    // before it moves the entries, and a move makes room for half as many
    // again: appending one object at a time to a long list copies each
    // entry a bounded number of times, not once per step.
    int32_t room = 0;
    // Free slots in front of `entries`, left by entries taken from the
    // front: a removal moves the shorter side of the list, so a list taken
    // apart from either end moves nothing.
    int32_t head = 0;
    // Taken from a counter that moves at every change of this list's
    // entries or of their order: a look-up table worked out from the list
    // holds while its stamp is the same (stamps are never reused).
    uint64_t stamp = 0;
    // The stamp of the last change other than an append at the end: while
    // it stays, the entries held at any later stamp are still held.
    uint64_t rewritten = 0;

    int32_t Size() const { return count - 1; }
    TObjQz* At(int32_t index) const { return entries[index]; }  // 0-based
};
using ObjListHdl = ObjListRec*;

// A new empty list. Room below 1 counts as 1, so the list can always grow.
int16_t NewObjList(ObjListHdl* list, int16_t room);
void FreeObjList(ObjListHdl list);  // the record only, never its objects
void RazObjList(ObjListHdl list);
int16_t AddObjList(ObjListHdl* list, TObjQz* obj);
int16_t AddSortedObjList(ObjListHdl* list, TObjQz* obj, int32_t index);
int16_t AddSortPtrList(ObjListHdl* list, TObjQz* obj);
// Places `n` objects in a list kept in name order (the look-ups'
// ordinary collation), each after the entries of an equal name, those of
// one spelling in the order given: one sort and one merge, where adding
// them one at a time would move the list's tail for each. -108 leaves the
// list as it was.
int16_t MergeSortedObjList(ObjListHdl* list, TObjQz* const* objs, int32_t n);
int16_t DelObjList(ObjListHdl list, TObjQz* obj);
// Removes the entry at the 0-based index, the later ones moving down.
void DelObjListAt(ObjListHdl list, int32_t index);
// Removes the entry at the 0-based index; the last entry takes its place.
void SwapOutObjListAt(ObjListHdl list, int32_t index);
// The list's entries become `objs` (n of them), in that order; -108
// leaves the list as it was.
int16_t SetObjListEntries(ObjListHdl list, TObjQz* const* objs, int32_t n);
bool IsInList(ObjListHdl list, const TObjQz* obj);
// Leaves each object's group, disposes of it, then frees the list.
void DisposeObjList(ObjListHdl list);
// Moves on at every change of entries made through the calls above (and
// by code that rewrites entries in place, which calls NoteObjListChanged):
// an answer worked out from objects' lists holds while it stays the same.
// Reordering a list does not count.
uint64_t ObjListGeneration();
void NoteObjListChanged();
// Gives the list a new stamp (after its entries were reordered in place).
void StampObjList(ObjListHdl list);
// Moves on whenever an object that may already be listed takes another
// id: tables of ids hold while both this and the list's stamp stay.
uint64_t ObjIdGeneration();
void NoteObjIdChanged();

// A document's 23 per-kind lists (kinds 1 to 23; 28, 29 share 1, 30 shares
// 10, 32 and 33 share 23).
struct TypeListRec {
    ObjListHdl lists[23] = {};
};
using TypeListHdl = TypeListRec*;

int16_t NewTypeList(TypeListHdl* typeList);
// The list index (1 to 23) a kind lives in; 0 for a kind with no list.
int16_t ListKindOf(int16_t kind);
// The kind's list, made with room 30 when missing; null for other kinds or
// when memory runs out.
ObjListHdl GetObjListe(TypeListHdl typeList, int16_t kind);
void DisposeTypeList(TypeListHdl typeList);

// Display sorts, on a diminishing-gap exchange scheme; groups (kind 23)
// follow every other kind.
void Shell_IdSort(ObjListHdl list);
void ShellStrictSort(ObjListHdl list);
void ShellSortType(ObjListHdl list);
// ShellSortType's order: whether `a` belongs after `b`. A list whose
// neighbours never answer true is left as it is by ShellSortType.
bool TypeSortAfter(const TObjQz* a, const TObjQz* b);
void ShellSortFullName(ObjListHdl list);
void ShellSort(ObjListHdl list);
// ShellSort's order, with objects it finds equal told apart by their
// structure names' bytes, then their ids: the order every window, export
// and printout shows an object's links in, whatever order the graph holds
// them in (a fresh read's included).
void SortShownLinks(ObjListHdl list);
