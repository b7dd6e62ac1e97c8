// Loading a stored form into the kernel's records (KernelRecords.h): the
// chunk-file form through the get-form procedure GetFormOld, the paged flat
// layout record by record, the chain of inherited forms, and finding a
// table's forms by name. Results go to the kernel error (erreure): 9001 a
// form in neither layout or a record passing the resource, -36 an object
// that could not be made a record, a chunk-file reading code, or the
// resource or memory error.
#pragma once

#include <cstdint>
#include <vector>

#include "forms/iff/Iff.h"
#include "forms/kernel/KernelRecords.h"
#include "platform/core/MacTypes.h"

constexpr int16_t kBadFormLayout = 9001;
constexpr int16_t kRecordNotMade = -36;

// The form getform left, null after a failure.
extern ObjHandle debutform;
// Set to read the next form through the locking read (cleared by the read).
extern uint8_t testlockres;
// The structure is a platform resource file: inherited forms are named
// resources, a form's look is 6 and fonts of size 12 shrink (adjustefont).
extern uint8_t platformResourceMode;

// The forms already loaded along one inheritance chain.
using VisitedForms = std::vector<int16_t>;

// Loads 'FOQz' formId of the kernel's reading file (numresfalse, else the
// current one) into debutform and answers 0 (the outcome is in erreure).
// With chain the inherited forms are brought in (ChainBaseForm) with
// `visited` (a list of its own when null); each form of a chain is loaded
// once, however the chain loops.
int16_t getform(int16_t formId, VisitedForms* visited, bool chain);
// The form image (chunk file in either byte order) as kernel records: its
// header, or null with erreure set.
ObjHandle GetIFFForm(platform::Handle image);
// The get-form procedure of GetIFFForm: reads 'LAYO' and 'OBJG' groups.
IFFP GetFormOld(_GroupContext* context);
// The paged flat layout (a byte 13, a page count, each page's records) as
// kernel records, every record bounded by `size`; null with erreure set.
ObjHandle GetFlatForm(const uint8_t* data, int32_t size);
// Brings in the records the inherited forms show, as described above;
// `visited` holds the form's own id.
void ChainBaseForm(ObjHandle form, VisitedForms* visited);

// The index (1-based) of the form of that name in the form list of the
// table whose field list is given; 0 for an empty name or none.
int16_t findformat(platform::Handle tableFields, const unsigned char* name);
// The same in a form list ('TFQz' bytes), `dflt` when not found.
int16_t findleformat(const unsigned char* name, int16_t dflt, platform::Handle formList);
// The form id of entry `index` (1-based) of a form list, 0 outside it.
int16_t FormListId(platform::Handle formList, int16_t index);

// Copies count bytes from the cursor and moves past them; false (nothing
// copied) when fewer remain.
struct FlatCursor {
    const uint8_t* at;
    const uint8_t* end;
};
bool getform_getfo(void* destination, int32_t count, FlatCursor* cursor);
