// Any bytes as a form's 'FOQz' read into objects (GetFormQz): pages, groups
// nested in groups, themes, every object chunk; then written back with
// PackFormat and the pages destroyed.
#include <cstdint>

#include "forms/layout/FormContainer.h"
#include "forms/objects/FormObjects.h"
#include "forms/reader/FormReader.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::Handle form = fuzz::HandleOf(data, size, 1 << 20);
    if (!form) return 0;
    formTableCount = 3;
    ResetObjIndex();
    CustomClientFrame frame;
    InitFormReadingFrame(&frame, nullptr);
    if (ReadFormImage(form, &frame) == 0) {
        platform::Handle out = platform::NewHandle(0);
        if (out) {
            PackFormat(out, frame.pages, frame.layoutInfo, nullptr);
            platform::DisposeHandle(out);
        }
    }
    DestroyPages(frame.pages);
    platform::DisposeHandle(form);
    return 0;
}
