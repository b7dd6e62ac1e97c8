// The copy of a design object into another document by the choice of its
// conflict record, as every copyable kind carries it out, and the kinds'
// small shared rules of conflicts.
//
// A kind joins the transfer by overriding Movable, Dir_Conflicts and
// Indir_Conflicts (what it meets in the destination), Move (MoveByChoice
// with its copy and overwrite operations from the transfer seam) and,
// when its copy names other objects, Parse_Link.
#pragma once

#include <cstdint>
#include <functional>

#include "design/objects/ObjList.h"

class TMainDoc;
class TObjQz;
struct C_ListRec;

struct MoveRules {
    // The copy under a name (null or empty: the source's) and the
    // overwrite of a destination object; the overwrite may be null.
    int16_t (*copy)(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj,
                    const unsigned char* newName) = nullptr;
    int16_t (*replace)(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj) = nullptr;
    // The choice, besides 9, that copies under the object's own name
    // (0: none).
    int16_t ownNameChoice = 0;
    // Choice 1 copies under the record's new name.
    bool renames = true;
};

// Steps of every kind's Move: an installed component's object is not
// copied in normal work; the wait dialog counts and names the object (a
// Stop gives 1001); then by the record of the object: none copies it and
// records the pair; 1 copies under the record's new name (made free in the
// destination first: "name_2", "name_3"...); 9 and the kind's own copying
// choices copy under its name; 3 overwrites the record's destination when
// the component rules agree (else the choice becomes 4); every other
// choice leaves it. A copy or overwrite becomes the record's destination,
// and the documentation follows it. *newObj is the copy, else null.
int16_t MoveByChoice(TObjQz* obj, TMainDoc* dest, C_ListRec* conflicts, TObjQz** newObj, const MoveRules& rules);

// The longest name a copy of `kind` bears: what the kind's directory keeps
// of a name.
int16_t CopyNameLen(int16_t kind);
// The name a copy of `kind` takes: `name` cut to the kind's length, or when
// `taken` says it is taken, the first "name_n" (n from 2) within that
// length that is not. Every copy under a new name is named here.
void FreeName(int16_t kind, const unsigned char* name, const std::function<bool(const unsigned char*)>& taken,
              unsigned char* out);
// FreeName with the names of the objects of `kind` in `doc` taken.
void FreeObjName(TMainDoc* doc, int16_t kind, const unsigned char* name, unsigned char* out);

// The indirect conflict of a used object found by `found`: nothing when
// it has a record or is copied itself; found: code 0 using it (choice 4);
// not found: `missingCode` with its default choice.
int16_t UsedObjConflict(TObjQz* obj, TObjQz* found, int16_t missingCode, C_ListRec* conflicts, ObjListHdl list);
// A direct conflict `code` with its default choice when `found`.
int16_t NamesakeConflict(TObjQz* obj, TObjQz* found, int16_t code, C_ListRec* conflicts);
