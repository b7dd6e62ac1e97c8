// Choice lists drawn: any 'List' bytes loaded from a structure and drawn
// as a scrolling list (every branch laid out, in both tree styles) and as a
// pop-up in a 200 x 200 world. The rows, texts and marks stay inside what
// was loaded.
#include <cstdint>

#include "forms/lists/ChoiceLists.h"
#include "forms/lists/ItemDrawing.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"

using platform::FourCC;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ClearScratchFolder();
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(fuzz::ScratchFolder() + "/lists.qzb", &fileSpec);
    ResetResManager();
    initresman();
    const platform::Rect bounds{0, 0, 200, 200};
    platform::GWorldPtr world = nullptr;
    if (createres(fileSpec, FourCC("QzBw"), FourCC("QzDB")) != 0 &&
        platform::NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) == 0) {
        platform::CGrafPtr saved = nullptr;
        platform::GDHandle device = nullptr;
        platform::GetGWorld(&saved, &device);
        platform::SetGWorld(world, nullptr);
        platform::Handle h = nullptr;
        if (platform::PtrToHand(data, &h, platform::Size(size)) == 0 && !xaddres(h, FourCC("List"), 1))
            platform::DisposeHandle(h);
        itemlistrec list;
        initqlist(&list, 0, 255);
        LoadList(1, &list, true);
        list.area = bounds;
        list.rowHeight = 12;
        list.rowsShown = 17;
        list.baselineOffsets[0] = 10;
        list.markHeight = 9;
        list.indent = 12;
        for (uint8_t style : {1, 0}) {
            list.mode = 0;
            list.treeStyle = style;
            list.needsLayout = 1;
            dessliste(&list);
        }
        list.mode = 2;
        DrawxPopup(&list);
        deinitqlist(&list);
        platform::SetGWorld(saved, device);
        platform::DisposeGWorld(world);
    }
    ResetResManager();
    return 0;
}
