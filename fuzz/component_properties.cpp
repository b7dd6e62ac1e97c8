// A component's stored properties ('moQz'), in either byte order: any
// version or comment length, folder id or date stays inside the record,
// and a record too short for its fields is refused.
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
    scratch.Add(in.Rest(), FourCC("moQz"), 20);
    scratch.Use();
    for (int16_t folder = 21; folder <= 23; ++folder) NewObj_Id(&doc, 33, PName("\x06" "Folder"), folder, false);
    if (auto* component = static_cast<TModuleObjQz*>(NewObj_Id(&doc, 32, PName("\x04Kit "), 20, false)))
        component->ReadProperties();
    return 0;
}
