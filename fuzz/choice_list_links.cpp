// A choice list's links as it parses them: its 'List' resource of any
// bytes is loaded whole (items, nested lists, picture references) and every
// picture it names is looked up; nothing is read past the resource.
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
    static const bool templates = fuzz::LoadShippedTemplates();
    (void)templates;
    fuzz::FuzzBytes in(data, size);
    fuzz::ScratchStructure scratch;
    if (!scratch.Ready()) return 0;
    TMainDoc& doc = scratch.Doc();
    scratch.Add(in.Rest(), FourCC("List"), 1);
    scratch.Use();
    NewObj_Id(&doc, 18, PName("\x04Logo"), 4, false);
    if (TObjQz* list = NewObj_Id(&doc, 4, PName("\x05Towns"), 1, false)) list->Parse();
    return 0;
}
