// A plug-in routine's parameter list 'EPRM' as GetEPRM converts it and as
// a method's call of the routine reads it: any routine or parameter count
// stays inside the resource. The input: the routine number the method
// calls (2 bytes), then the resource's bytes.
#include <cstdint>

#include "app/documents/MainDoc.h"
#include "design/links/TokenAccess.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/plugins/ParamLists.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "tools/docbuilder/Records.h"

using fuzz::PName;
using platform::FourCC;

namespace {

fuzz::Bytes Token(uint8_t kind, int64_t number = 0, int64_t number2 = 0, const char* text = "")
{
    docbuilder::TokenSpec t;
    t.kind = kind;
    t.number = number;
    t.number2 = number2;
    t.text = text;
    return docbuilder::TokenBytes(t, 0, {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    const uint16_t routine = in.U16();
    platform::ResourceFileImage image;
    platform::ResourceImage list;
    list.type = FourCC("EPRM");
    list.id = 1;
    list.data = in.Rest();
    image.resources.push_back(list);
    fuzz::ScratchStructure scratch;
    const int16_t file = platform::OpenResFileImageBelow(image);
    if (scratch.Ready() && file > 0) {
        platform::UseResFile(file);
        if (platform::Handle converted = GetEPRM(1)) {
            RoutineParamKinds(converted, int16_t(routine));
            platform::DisposeHandle(converted);
        }
        TMainDoc& doc = scratch.Doc();
        NewObj_Id(&doc, 2, PName("\x01M"), 2, false);
        NewObj_Id(&doc, 19, PName("\x01M"), 3, false);
        // A call of routine `routine` of bundle 1 with two string literals.
        fuzz::Bytes line = Token(22, 1, int16_t(routine));
        for (const fuzz::Bytes& t : {Token(4), Token(2, 0, 0, "M"), Token(6), Token(2, 0, 0, "M"), Token(5)})
            line.insert(line.end(), t.begin(), t.end());
        scratch.Add(docbuilder::MethodBlob({line}), FourCC("CCQz"), 1);
        scratch.Use();
        TObjQz* method = NewObj_Id(&doc, 2, PName("\x04Main"), 1, false);
        ParseProc(nullptr, 1, method);
    }
    if (file > 0) platform::CloseResFile(file);
    return 0;
}
