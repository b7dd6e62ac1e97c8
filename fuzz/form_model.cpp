// Any bytes as a form's 'FOQz' read into a form model (ReadLayout: a chunk
// file in either byte order, the paged or the oldest flat layout), worked
// on as the design does (pages, entry order, size, scaling), written back
// (PackFormat) and the result read again as a chunk file (GetFormQz).
#include <cstdint>

#include "forms/layout/FormContainer.h"
#include "forms/model/LayoutEditor.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/objects/FormObjects.h"
#include "forms/reader/FormReader.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1 << 20)) return 0;
    fuzz::ScratchStructure scratch;
    if (!scratch.Ready()) return 0;
    scratch.Add(fuzz::Bytes(data, data + size), platform::FourCC("FOQz"), 1);
    scratch.Use();
    formTableCount = 3;
    InstallFormModelHooks();
    {
        LayoutEditor model(1, 0, 0);
        model.ReadLayout();
        model.GotoPage(2, 1);
        model.CountObjects();
        model.TriZone(false);
        model.MakeLimits(nullptr);
        model.Brz_DoScale(150, 0);
        platform::Handle image = platform::NewHandle(0);
        if (image && model.PackFormat(image, true)) {
            CustomClientFrame frame;
            InitFormReadingFrame(&frame, nullptr);
            if (ReadFormImage(image, &frame) == IFF_OKAY) DestroyPages(frame.pages);
        }
        if (image) platform::DisposeHandle(image);
    }
    ResetFormModelHooks();
    formTableCount = 0;
    return 0;
}
