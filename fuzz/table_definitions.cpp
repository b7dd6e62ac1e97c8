// A structure's stored table definitions, form tables, menus and menu bars,
// as the design objects read them: the table descriptions of the form code
// and the equality of tables and menu bars. Any bytes, counts or subtable
// chains stay inside their records.
#include <cstdint>

#include "app/documents/MainDoc.h"
#include "design/objects/Equality.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjQz.h"
#include "design/objects/TableDescriptions.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"

using platform::FourCC;

namespace {

void Add(fuzz::FuzzBytes& in, uint32_t type, int16_t id) { fuzz::ScratchStructure::Add(in.Slice(4096), type, id); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    fuzz::ScratchStructure scratch;
    if (scratch.Ready()) {
        TMainDoc& doc = scratch.Doc();
        Add(in, FourCC("PRQz"), 0);
        for (int16_t id = 1; id <= 3; ++id) Add(in, FourCC("FIQz"), id);
        Add(in, FourCC("TFQz"), 1);
        for (int16_t id = 1; id <= 2; ++id) Add(in, FourCC("MENQ"), id);
        for (int16_t id = 1; id <= 2; ++id) Add(in, FourCC("BAQz"), id);
        scratch.Use();
        Init_ef();
        DisposeTableRecords();
        const unsigned char name[] = "\x01T";
        TObjQz* tables[3] = {};
        for (int16_t id = 1; id <= 3; ++id) tables[id - 1] = NewCritObj(&doc, 1, name, id);
        EqualFiles(tables[0], tables[1]);
        SearchEqualFile(&doc, tables[2]);
        const unsigned char menu[] = "\x01M";
        EqualMenu(NewObj_Id(&doc, 6, menu, 1, false), NewObj_Id(&doc, 6, menu, 2, false));
        NewObj_Id(&doc, 5, menu, 2, false);
        SearchEqualMBar(&doc, NewObj_Id(&doc, 5, menu, 1, false));
    }
    return 0;
}
