// Choice lists drawn: any 'List' bytes loaded from a structure and drawn
// as a scrolling list (every branch laid out, in both tree styles) and as a
// pop-up in a 200 x 200 world. The rows, texts and marks stay inside what
// was loaded.
#include <cstdint>

#include "forms/lists/ChoiceLists.h"
#include "forms/lists/ItemDrawing.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/GWorlds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ScratchStructure scratch;
    const platform::Rect bounds{0, 0, 200, 200};
    platform::GWorldPtr world = nullptr;
    if (!scratch.Ready() || platform::NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) != 0) return 0;
    platform::CGrafPtr saved = nullptr;
    platform::GDHandle device = nullptr;
    platform::GetGWorld(&saved, &device);
    platform::SetGWorld(world, nullptr);
    fuzz::ScratchStructure::Add(fuzz::Bytes(data, data + size), platform::FourCC("List"), 1);
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
    return 0;
}
