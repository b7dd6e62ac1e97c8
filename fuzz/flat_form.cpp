// A form's stored data as the form object walks it for its links: the
// older flat layout record by record (any type, length, count or name
// stays inside its record and the resource) and the form's menu bar slot.
// The input: a 'LIBA' 0 slice, then the form's bytes.
#include <cstdint>

#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/links/ParseSupport.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"

using fuzz::PName;
using platform::FourCC;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    fuzz::ScratchStructure scratch;
    if (scratch.Ready()) {
        TMainDoc& doc = scratch.Doc();
        scratch.Add(in.Slice(64), FourCC("LIBA"), 0);
        const fuzz::Bytes form = in.Rest();
        scratch.Add(form, FourCC("FOQz"), 1);
        scratch.Use();
        // Two tables with fields, a subtable and forms; one object of each
        // kind a record may name.
        auto* t1 = static_cast<TFileObjQz*>(NewCritObj(&doc, 1, PName("\x02T1"), 1));
        auto* t2 = static_cast<TFileObjQz*>(NewCritObj(&doc, 1, PName("\x02T2"), 2));
        t1->tableNumber = 1, t2->tableNumber = 2;
        for (int16_t k = 1; k <= 3; ++k) {
            auto* f = static_cast<TStructObjQz*>(NewCritObj(&doc, k == 3 ? 29 : 28, PName("\x01" "f"), k));
            f->ownerObj = t1;
            if (k == 3) static_cast<TFileObjQz*>(static_cast<TObjQz*>(f))->fieldNumber = 3;
            AddObjList(&t1->members, f);
        }
        NewObjList(&t2->forms, 4);
        NewListObj_Id(&doc, &t2->forms, 24, PName("\x04List"), 2, false);
        NewObjList(&t1->forms, 4);
        auto* layout = static_cast<TLayoutObjQz*>(NewListObj_Id(&doc, &t1->forms, 24, PName("\x05Input"), 1, false));
        layout->ownerObj = t1;
        layout->formResId = 1;
        for (int16_t kind : {4, 5, 8, 10, 11, 12}) NewObj_Id(&doc, kind, PName("\x01" "a"), 1, false);
        layout->GetForm(1);
        WalkFlatForm(layout, form.data(), form.size());
    }
    return 0;
}
