// The kinds' previews, printing and export over resources of any bytes:
// the menu-bar directory 'LIBA', a bar 'BAQz' and two menus 'MENQ', the
// balloon directory 'LiHe' and a text 'HEQz', the style directory 'STQz',
// the style-sheet table 'Stlx', a table definition 'FIQz' (its first field
// described) and a string list 'STR#' of the companion. Every object read
// from them is previewed (shown, scrolled, disposed), printed on a tall
// page and exported; nothing may be read past its resource. The input is
// those resources as slices, in that order.
#include <cstdint>
#include <string>

#include "app/documents/Documentation.h"
#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjList.h"
#include "design/reading/ReadQzB.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/resfiles/Resources.h"

using fuzz::PName;
using platform::FourCC;

namespace {

void Exercise(TObjQz* obj, int16_t file)
{
    const platform::Rect pane{0, 0, 120, 200};
    platform::Handle display = nullptr;
    int16_t width = 0, height = 0, a = 0, b = 0, page = 1;
    if (obj->InitDisplay(&display, pane, &width, &height, &a, &b, &page, false) == 0) {
        obj->Display(display, pane);
        obj->Scroll(display, pane, 0, -10);
    }
    obj->DisposeDisplay(&display);
    OutPutParmRec all{1, 1, 1, 0, 0, 1};
    // A page tall enough that nothing turns it: no print job is open.
    P_PageRect = platform::Rect{0, 0, 32000, 600};
    P_CrtHeight = 0;
    obj->Print(&all);
    obj->Save(file, &all);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    fuzz::ScratchStructure scratch;
    if (!scratch.Ready()) return 0;
    TMainDoc& doc = scratch.Doc();
    scratch.Add(in.Slice(1 << 12), FourCC("LIBA"), 0);
    scratch.Add(in.Slice(1 << 12), FourCC("BAQz"), 1);
    scratch.Add(in.Slice(1 << 14), FourCC("MENQ"), 1);
    scratch.Add(in.Slice(1 << 14), FourCC("MENQ"), 2);
    scratch.Add(in.Slice(1 << 12), FourCC("LiHe"), 0);
    scratch.Add(in.Slice(1 << 14), FourCC("HEQz"), 1);
    scratch.Add(in.Slice(1 << 14), FourCC("STQz"), 0);
    scratch.Add(in.Slice(1 << 14), FourCC("Stlx"), 128);
    scratch.Add(in.Slice(1 << 14), FourCC("FIQz"), 1);
    const fuzz::Bytes strings = in.Slice(1 << 14);
    const int16_t fieldNumber = int16_t(in.Byte() % 4);

    // The companion holds the string list.
    platform::FSSpec companion;
    platform::FSMakeFSSpec(fuzz::ScratchFolder() + "/structure.rsr", &companion);
    platform::FSpCreateResFile(companion, FourCC("QzBw"), FourCC("rsrc"));
    doc.fRsrFile = platform::FSpOpenResFile(companion, platform::fsRdWrPerm);
    if (doc.fRsrFile > 0) {
        platform::Handle h = nullptr;
        if (platform::PtrToHand(strings.data(), &h, platform::Size(strings.size())) == 0)
            platform::AddResource(h, FourCC("STR#"), 15000, PName("\x05Texts"));
    }
    scratch.Use();

    platform::FSSpec out;
    platform::FSMakeFSSpec(fuzz::ScratchFolder() + "/export.txt", &out);
    platform::FSpCreate(out, FourCC("MACA"), FourCC("TEXT"));
    int16_t file = 0;
    platform::FSpOpenDF(out, platform::fsRdWrPerm, &file);

    const platform::Rect bounds{0, 0, 200, 300};
    platform::GWorldPtr world = nullptr;
    platform::CGrafPtr saved = nullptr;
    platform::GDHandle device = nullptr;
    platform::GetGWorld(&saved, &device);
    if (platform::NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) == 0 && world) {
        platform::SetGWorld(world, nullptr);
        for (int16_t kind : {5, 6, 10, 11, 12, 19}) ReadObj(&doc, nullptr, kind, nullptr, 0);
        // Menus named by the bar: the bar's parse makes them.
        if (ObjListHdl bars = GetObjListe(doc.fTypeList, 5))
            for (int32_t i = 0; i < bars->Size(); ++i) bars->At(i)->Parse();
        for (int16_t kind : {5, 6, 10, 11, 12, 19})
            if (ObjListHdl list = GetObjListe(doc.fTypeList, kind))
                for (int32_t i = 0; i < list->Size(); ++i) Exercise(list->At(i), file);
        // A field of a table without its reading: its entry is looked up.
        if (TObjQz* table = NewObj_Id(&doc, 1, PName("\x01T"), 1, false)) {
            if (auto* field = static_cast<TCritObjQz*>(ConstructObjOfKind(28))) {
                field->init(&doc, PName("\x01" "F"), fieldNumber);
                field->fieldNumber = fieldNumber;
                field->ownerObj = table;
                Exercise(field, file);
                field->Dispose();
            }
        }
        platform::SetGWorld(saved, device);
        platform::DisposeGWorld(world);
    }
    if (file) platform::FSClose(file);
    if (doc.fRsrFile > 0) platform::CloseResFile(doc.fRsrFile);
    doc.fRsrFile = -1;
    return 0;
}
