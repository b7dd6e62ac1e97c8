// How a table's chained members follow the table's record: subtables,
// fields and forms look for their counterparts in the table the parent's
// choice names in the destination.
#include "transfer/conflicts/Conflicts.h"

#include "app/documents/MainDoc.h"
#include "design/objects/Equality.h"
#include "design/objects/ObjKinds.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "transfer/conflicts/ConflictDefaults.h"

namespace transfer {

namespace {

// The entries of the destination's table list after `table`, up to the
// next table; empty when the table is not listed.
template <class Visit>
TObjQz* WalkMembers(TObjQz* table, Visit visit)
{
    if (!table || !table->owner || !table->owner->fTypeList) return nullptr;
    ObjListHdl list = table->owner->fTypeList->lists[0];
    int32_t i = 0;
    while (list && i < list->Size() && list->At(i) != table) ++i;
    for (++i; list && i < list->Size(); ++i) {
        TObjQz* entry = list->At(i);
        if (entry->kind == 1) break;
        if (visit(entry)) return entry;
    }
    return nullptr;
}

bool SameName(TObjQz* a, TObjQz* b)
{
    unsigned char na[256], nb[256];
    a->GetName(na);
    b->GetName(nb);
    return rel2str(na, nb) == kEqual;
}

uint8_t TypeCode(TObjQz* field) { return uint8_t(uint16_t(static_cast<TCritObjQz*>(field)->typeWord) >> 8); }

// A table of the destination, when the parent's code and choice are among
// `accepted` (code, choice) pairs.
template <size_t N>
TObjQz* ParentTableOf(const TConflict* parent, const int16_t (&accepted)[N][2])
{
    if (!parent || !parent->fDest) return nullptr;
    for (const auto& pair : accepted)
        if (parent->fCode == pair[0] && parent->fChoice == pair[1]) return parent->fDest;
    return nullptr;
}

TObjQz* FormNamed(TObjQz* table, TObjQz* form)
{
    if (!table || (table->kind != 1 && table->kind != 29)) return nullptr;
    ObjListHdl forms = static_cast<TFileObjQz*>(table)->forms;
    for (int32_t i = 0; forms && i < forms->Size(); ++i)
        if (SameName(forms->At(i), form)) return forms->At(i);
    return nullptr;
}

bool HasForms(TObjQz* table)
{
    if (!table || (table->kind != 1 && table->kind != 29)) return false;
    ObjListHdl forms = static_cast<TFileObjQz*>(table)->forms;
    return forms && forms->Size() > 0;
}

}  // namespace

TObjQz* SearchEqualSubFile(TObjQz* destTable, TObjQz* sub)
{
    if (!sub) return nullptr;
    return WalkMembers(destTable, [&](TObjQz* entry) { return entry->kind == 29 && EqualFiles(sub, entry); });
}

TObjQz* SearchEqualCrit(TObjQz* destTable, TObjQz* field)
{
    if (!field || field->kind != 28) return nullptr;
    // A subtable's own fields follow it in the list: they are not the table's.
    return WalkMembers(destTable, [&](TObjQz* entry) {
        return entry->kind == 28 && entry->GetOwnerObj() == destTable && SameName(entry, field) &&
               TypeCode(entry) == TypeCode(field);
    });
}

}  // namespace transfer



void TFileConflict::C_Update(TConflict* parent, bool quiet)
{
    static const int16_t kSearched[][2] = {{1, 4}, {2, 4}, {101, 6}, {101, 8}, {102, 8}, {103, 8}};
    if (TObjQz* table = transfer::ParentTableOf(parent, kSearched)) {
        fDest = transfer::SearchEqualSubFile(table, fSource);
        fCode = fDest ? 101 : 102;
        fChoice = transfer::Cc_Dflt(fCode);
    } else if (parent && parent->fChoice == 7) {
        fCode = 125, fChoice = transfer::Cc_Dflt(125), fDest = nullptr;
    } else if (quiet) {
        fCode = 121, fChoice = 0;
    } else {
        fCode = 101, fChoice = transfer::Cc_Dflt(101);
    }
    if (!quiet) DoMajVis();
}

void TCritConflict::C_Update(TConflict* parent, bool quiet)
{
    static const int16_t kSearched[][2] = {{2, 4}, {101, 6}, {101, 8}, {102, 8}, {103, 8}};
    if (TObjQz* table = transfer::ParentTableOf(parent, kSearched)) {
        fDest = transfer::SearchEqualCrit(table, fSource);
        fCode = fDest ? 104 : 105;
        fChoice = transfer::Cc_Dflt(fCode);
    } else if (parent && parent->fChoice == 7) {
        fCode = 125, fChoice = transfer::Cc_Dflt(125), fDest = nullptr;
    } else if (quiet) {
        fCode = 0, fChoice = 0;
    } else {
        fCode = 104, fChoice = transfer::Cc_Dflt(104);
    }
    if (!quiet) DoMajVis();
}

void TLayOutConflict::C_Update(TConflict* parent, bool quiet)
{
    static const int16_t kSearched[][2] = {{1, 3}, {1, 4}, {2, 3}, {2, 4}, {101, 6}, {101, 8}, {102, 8}, {103, 8}};
    TObjQz* table = transfer::ParentTableOf(parent, kSearched);
    const bool direct = fCode < 100;
    if (table) {
        fDest = transfer::FormNamed(table, fSource);
        if (direct) {
            fCode = fDest ? 3 : 4;
            fChoice = transfer::Cc_Dflt(fCode);
        } else if (fDest) {
            fCode = 107, fChoice = transfer::Cc_Dflt(107);
        } else {
            fCode = transfer::HasForms(table) ? 108 : 109;
            fChoice = transfer::Cc_Dflt(108);
        }
    } else if (parent && parent->fChoice == 7) {
        if (direct)
            fCode = 17, fChoice = transfer::Cc_Dflt(17);
        else
            fCode = 124, fChoice = 17;
    } else if (direct) {
        fCode = 4, fChoice = transfer::Cc_Dflt(4);
    } else {
        fCode = 109, fChoice = transfer::Cc_Dflt(109);
        fVisible = true;
    }
    if (!quiet) DoMajVis();
}
