// Any bytes as a form's 'FOQz' stored as a chunk file, walked for its
// links on a scratch structure holding an object of every kind its chunks
// may name: two tables with fields, a subtable and forms, style sheets,
// pictures, string lists, styles, balloons, choice lists and a plug-in.
#include <cstdint>

#include "app/documents/MainDoc.h"
#include "design/links/FormLinkLookups.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "forms/walkers/ParseIFFForm.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"

using fuzz::PName;
using platform::FourCC;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ScratchStructure scratch;
    if (!scratch.Ready()) return 0;
    TMainDoc& doc = scratch.Doc();
    const fuzz::Bytes form(data, data + size);
    scratch.Add(form, FourCC("FOQz"), 1);
    scratch.Use();
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
    for (int16_t kind : {4, 8, 10, 11, 12, 18, 19}) NewObj_Id(&doc, kind, PName("\x01" "a"), 1, false);
    layout->GetForm(1);
    platform::Handle h = fuzz::HandleOf(data, size, 1 << 20);
    if (h) {
        InstallFormLinkLookups();
        ParseIFFForm(h, layout);
        platform::DisposeHandle(h);
    }
    return 0;
}
