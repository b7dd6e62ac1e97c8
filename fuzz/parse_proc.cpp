// A method's stored tokens ('CCQz') as the method object walks them for
// its links: any line count, line length, token kind, text length, field
// path or plug-in and constant reference stays inside the blob, its lines
// and the token. The input: a 'QzK#' slice, then the blob.
#include <cstdint>

#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/links/TokenAccess.h"
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
        scratch.Add(in.Slice(1024), FourCC("QzK#"), 1);
        scratch.Add(in.Rest(), FourCC("CCQz"), 1);
        scratch.Use();
        auto* table = static_cast<TFileObjQz*>(NewCritObj(&doc, 1, PName("\x01T"), 1));
        table->tableNumber = 1;
        for (int16_t k = 1; k <= 2; ++k) {
            auto* f = static_cast<TStructObjQz*>(NewCritObj(&doc, k == 2 ? 29 : 28, PName("\x01" "f"), k));
            f->ownerObj = table;
        }
        NewObj_Id(&doc, 2, PName("\x01M"), 2, false);
        TObjQz* method = NewObj_Id(&doc, 2, PName("\x04Main"), 1, false);
        ParseProc(table, 1, method);
    }
    return 0;
}
