#include "transfer/dialogs/ConflictTexts.h"

#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfer {

void ListString(int16_t listId, int16_t index, unsigned char* out)
{
    out[0] = 0;
    if (index > 0) MyGetIndString(out, listId, index);
}

namespace {

// The table a subtable belongs to: the nearest table before it in its
// document's table list.
TObjQz* TableOfSubtable(TObjQz* sub)
{
    if (!sub->owner || !sub->owner->fTypeList) return nullptr;
    ObjListHdl list = sub->owner->fTypeList->lists[0];
    TObjQz* table = nullptr;
    for (int32_t i = 0; list && i < list->Size(); ++i) {
        if (list->At(i) == sub) return table;
        if (list->At(i)->kind == 1) table = list->At(i);
    }
    return nullptr;
}

}  // namespace

void GetFileName(TObjQz* obj, unsigned char* out)
{
    out[0] = 0;
    if (!obj) return;
    unsigned char part[256];
    switch (obj->kind) {
    case 1:
        ListString(104, 2, out);
        obj->GetName(part);
        PAppend(out, part);
        ListString(104, 3, part);
        PAppend(out, part);
        return;
    case 29:
        if (TObjQz* table = TableOfSubtable(obj)) {
            table->GetName(out);
            ListString(104, 6, part);
            PAppend(out, part);
        }
        obj->GetName(part);
        PAppend(out, part);
        return;
    case 28:
        if (TObjQz* owner = obj->GetOwnerObj()) {
            GetFileName(owner, out);
            if (owner->kind != 1) {
                ListString(104, 6, part);
                PAppend(out, part);
            }
        }
        obj->GetName(part);
        PAppend(out, part);
        return;
    default: obj->GetName(out); return;
    }
}

void GetFullName(TObjQz* obj, unsigned char* out)
{
    out[0] = 0;
    if (!obj) return;
    switch (obj->kind) {
    case 24: {
        TObjQz* table = obj->GetOwnerObj();
        if (table) GetFileName(table, out);
        else ListString(1024, 3, out);
        unsigned char part[256];
        ListString(1019, 2, part);
        PAppend(out, part);
        obj->GetName(part);
        PAppend(out, part);
        return;
    }
    case 1:
    case 28:
    case 29: GetFileName(obj, out); return;
    default: obj->GetName(out); return;
    }
}

void KindName(int16_t kind, unsigned char* out) { ListString(1008, kind, out); }

void CodeText(const TConflict* record, unsigned char* out)
{
    int16_t index = 0, icon = 0;
    GetStr_Icn(record->fCode, &index, &icon);
    const bool direct = record->fCode < 100;
    ListString(record->fSource ? (direct ? 1016 : 1017) : (direct ? 1021 : 1022), index, out);
}

void CodeDescription(int16_t code, unsigned char* out)
{
    int16_t index = 0, icon = 0;
    GetStr_Icn(code, &index, &icon);
    ListString(code < 100 ? 1016 : 1017, index, out);
}

void DescriptionText(TConflict* record, unsigned char* out)
{
    out[0] = 0;
    unsigned char part[256];
    if (record->fSource) {
        KindName(record->fSource->kind, out);
        PAppendChar(out, ' ');
        GetFullName(record->fSource, part);
        PAppend(out, part);
        ListString(1024, 1, part);
        PAppend(out, part);
    }
    CodeText(record, part);
    PAppend(out, part);
}

void ChoiceText(TConflict* record, unsigned char* out)
{
    int16_t index = 0, icon = 0;
    ChooseIDStrListe(record->fCode, record->fChoice, &index, &icon);
    ListString(1018, index, out);
    if (!record->fSource || (record->fChoice != 1 && record->fChoice != 8)) return;
    PAppendChar(out, ' ');
    unsigned char name[256] = {0};
    if (record->fChoice == 8) GetFullName(record->fDest, name);
    else if (record->IsMember(1)) PAppend(name, static_cast<TRConflict*>(record)->fNewName);
    PAppend(out, name);
}

void NamePrefix(int16_t code, unsigned char* out) { ListString(1001, code < 100 ? 33 : 34, out); }

}  // namespace transfer
