// Any bytes as a form's 'FOQz' stored as a chunk file, through each walker
// that rewrites or searches it, with fixed arguments, on a scratch
// structure whose form the renames belong to. A form that the form reader
// reads must still read after a rewrite that answered 0.
#include <cstdint>
#include <cstdlib>

#include "design/forms/FormRewriteLookups.h"
#include "design/links/FormLinkLookups.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "forms/walkers/FormRewriters.h"
#include "fuzz/support/FuzzSupport.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/Memory.h"

using fuzz::PName;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ScratchStructure scratch;
    if (!scratch.Ready()) return 0;
    TMainDoc& doc = scratch.Doc();
    scratch.Use();
    auto* table = static_cast<TFileObjQz*>(NewCritObj(&doc, 1, PName("\x02T1"), 1));
    table->tableNumber = 1;
    NewObjList(&table->forms, 4);
    auto* form = static_cast<TLayoutObjQz*>(NewListObj_Id(&doc, &table->forms, 24, PName("\x05Input"), 1, false));
    form->ownerObj = table;
    NewObjList(&form->objMethods, 4);
    NewListObj_Id(&doc, &form->objMethods, 25, PName("\x01v"), 1, false);
    InstallFormLinkLookups();
    InstallFormRewriteHooks();

    platform::Handle in = fuzz::HandleOf(data, size, 1 << 20);
    platform::Handle out = platform::NewHandle(0);
    if (in && out) {
        const bool readable = fuzz::FormImageReads(in);
        auto check = [&](int16_t result) {
            if (result == 0 && readable && !fuzz::FormImageReads(out)) std::abort();
        };
        struct Rename {
            int16_t kind;
            const char *from, *to;
        };
        for (const Rename& r : {Rename{1, "\x02T1", "\x0BT1_and_more"}, Rename{9, "\x01v", "\x04<>vw"},
                                Rename{12, "\x04" "Bold", "\x01H"}, Rename{21, "\x02" "al", "\x05" "alAll"},
                                Rename{24, "\x05Input", "\x02In"}})
            check(ReplaceInIFFLayOut(in, out, r.kind, PName(r.from), PName(r.to), form, table));
        check(ReplaceTxtIFF(in, out, PName("\x01" "a"), PName("\x03" "bcd")));
        TObjQz* list = nullptr;
        unsigned char nameBuffer[256] = {};
        check(TxtToStrIFF(in, out, &list, nameBuffer, form));
        check(StrToTxtIFF(in, out));
        SearchTxtIFF(in, "Print", 2);
    }
    if (in) platform::DisposeHandle(in);
    if (out) platform::DisposeHandle(out);
    return 0;
}
