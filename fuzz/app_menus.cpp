// The application's menu resources: 'MITM' items and the 'MMBR' bar that
// names them, built into menus. The input is the bar; its tail, cut in
// four, gives the items 1 to 4.
#include <cstddef>
#include <cstdint>

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "platform/core/FourCC.h"
#include "platform/menus/Menus.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MenuItemRec item;
    ParseMenuItem(data, size, &item);

    platform::ResourceFileImage image;
    platform::ResourceImage bar;
    bar.type = platform::FourCC("MMBR");
    bar.id = 129;
    bar.data.assign(data, data + size);
    image.resources.push_back(bar);
    const size_t quarter = size / 4;
    for (int16_t i = 1; i <= 4; ++i) {
        platform::ResourceImage one;
        one.type = platform::FourCC("MITM");
        one.id = i;
        one.data.assign(data + size - quarter * size_t(i), data + size);
        image.resources.push_back(one);
    }
    platform::ResetResourceManager();
    platform::ResetMenuManager();
    G_MainResFile = platform::OpenResFileImageBelow(image);
    BuildMenus();
    int16_t command = 0, index = 0;
    GetFunc(130 << 16 | 1, &command, &index);
    DisposeMenus();
    platform::ResetMenuManager();
    platform::ResetResourceManager();
    return 0;
}
