// A menu bar's links as it parses them: its 'BAQz' record and up to four
// 'MENQ' menus of any bytes, with a method, a picture and a string list to
// find. Any menu count, menu id, item count, text length or picture
// reference stays inside the records. The input: the bar as a slice, then
// four (id, slice) menus.
#include <cstdint>

#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"

using fuzz::PName;
using platform::FourCC;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    fuzz::ScratchStructure scratch;
    if (!scratch.Ready()) return 0;
    TMainDoc& doc = scratch.Doc();
    scratch.Add(in.Slice(1 << 14), FourCC("BAQz"), 1);
    for (int k = 0; k < 4; ++k) {
        const int16_t id = int16_t(in.U16());
        scratch.Add(in.Slice(1 << 14), FourCC("MENQ"), id);
    }
    scratch.Use();
    NewObj_Id(&doc, 2, PName("\x06Method"), 3, false);
    NewObj_Id(&doc, 18, PName("\x04Logo"), 4, false);
    NewObj_Id(&doc, 11, PName("\x05Texts"), 5, false);
    if (TObjQz* bar = NewObj_Id(&doc, 5, PName("\x04Main"), 1, false)) bar->Parse();
    return 0;
}
