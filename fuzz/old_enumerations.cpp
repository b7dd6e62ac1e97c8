// Older enumerations turned into choice lists: the directory 'LEQz' 0 and
// up to four 'ENQz' records of any bytes. Any entry count or item count
// stays inside its record; an enumeration goes only once its list is saved.
// The input: the directory as a slice, then four (id, slice) enumerations.
#include <cstdint>

#include "app/documents/MainDoc.h"
#include "design/reading/ReadQzB.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"

using platform::FourCC;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool templates = fuzz::LoadShippedTemplates();
    (void)templates;
    fuzz::FuzzBytes in(data, size);
    fuzz::ScratchStructure scratch;
    if (!scratch.Ready()) return 0;
    scratch.Add(in.Slice(1 << 14), FourCC("LEQz"), 0);
    for (int k = 0; k < 4; ++k) {
        const int16_t id = int16_t(in.U16());
        scratch.Add(in.Slice(1 << 14), FourCC("ENQz"), id);
    }
    convertEnumsToLists(&scratch.Doc());
    return 0;
}
