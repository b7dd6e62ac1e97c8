// What other windows and programs hand a drop: drag-and-drop property
// blocks and the toolbox's own drag flavour.
#include <cstddef>
#include <cstdint>

#include "toolbox/foundation/VStr.h"
#include "toolbox/views/VDragDropProperties.h"
#include "toolbox/views/VDragger.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VDragDropProperties props;
    if (props.FromBlock(data, size)) {
        bool sends = false, receives = false;
        VStr<255> name;
        for (int32_t n = 1; n <= props.CountSignatures(); ++n) props.GetSignature(n, sends, receives, name);
        name.FromCString(reinterpret_cast<const uint8_t*>("probe"));
        props.AddSignature(true, true, name);
        props.KillDropSignatures();
    }
    VDragger::FromToolboxFlavor(data, size);
    return 0;
}
