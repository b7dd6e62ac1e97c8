// How the link walker of a form being copied (ParseLinkIFFForm) finds the
// destination's counterpart of each object the form names: through the
// copy's conflict list, which the transfer layer above owns. The transfer
// fills this table at start-up; until then no object has a counterpart
// (every reference takes its "missing" rule) and no picture is copied.
//
// `source` is the form copied, `target` its copy in the destination.
#pragma once

#include <cstdint>

class TObjQz;
class TLayoutObjQz;
struct C_ListRec;

struct FormDestHooks {
    // Most kinds; null for none.
    TObjQz* (*destObj)(C_ListRec* conflicts, TLayoutObjQz* source, TLayoutObjQz* target, TObjQz* obj) = nullptr;
    // A form: by its record, else the form of the same name of its
    // table's counterpart.
    TObjQz* (*destForm)(C_ListRec* conflicts, TLayoutObjQz* source, TLayoutObjQz* target, TObjQz* form) = nullptr;
    // A field, subtable or table, with the table's and the field's numbers
    // that name it in the destination.
    TObjQz* (*destRub)(C_ListRec* conflicts, TLayoutObjQz* source, TLayoutObjQz* target, TObjQz* obj,
                       int16_t* tableNumber, int16_t* fieldNumber) = nullptr;
    // The picture `id` a picture button names, copied when the destination
    // lacks it: its id there in *newId; 0 or an error.
    int16_t (*movePicture)(TLayoutObjQz* source, TLayoutObjQz* target, int16_t id, int16_t* newId) = nullptr;
};

void SetFormDestHooks(const FormDestHooks& hooks);
void ResetFormDestHooks();
const FormDestHooks& GetFormDestHooks();
