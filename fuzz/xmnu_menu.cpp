// The toolbox's 'XMNU' menus: the bytes read directly, then as resources
// 128 and 129 of a file (so 'HIER' items may name either, or themselves),
// built into a menu tree with every command known, and laid out.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/FourCC.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "toolbox/drawing/MenuLinks.h"
#include "toolbox/drawing/VMacResFile.h"
#include "toolbox/drawing/VTextMenu.h"
#include "toolbox/drawing/XmnuResource.h"

namespace {

int gCommand = 0;  // every command number finds this one

void InstallCommands()
{
    MenuCommandHooks h;
    h.frameFindCommand = [](VFrame*, int32_t) { return reinterpret_cast<VCommand*>(&gCommand); };
    h.commandNumber = [](const VCommand*) { return int32_t(1); };
    h.commandEnabled = [](const VCommand*) { return true; };
    SetMenuCommandHooks(h);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    XmnuMenu direct;
    ReadXmnu(data, size, direct);

    InstallCommands();
    platform::ResetResourceManager();
    const std::vector<uint8_t> bytes(data, data + size);
    platform::ResourceFileImage image;
    image.resources.push_back({platform::FourCC("XMNU"), 128, false, "", 0, bytes});
    image.resources.push_back({platform::FourCC("XMNU"), 129, false, "", 0, bytes});
    const int16_t ref = platform::OpenResFileImageBelow(image);
    if (ref > 0) {
        VMacResFile file(ref);
        auto* owner = reinterpret_cast<VFrame*>(&gCommand);  // never looked into
        VTextMenu menu(owner, nullptr, 0, &file, 128);
        for (int32_t i = 1; i <= menu.GetItemsCount(); ++i) {
            int16_t x = 0, y = 0, w = 0, h = 0;
            menu.GetItemCoords(int16_t(i), x, y, w, h);
            menu.DoLineCommand(int16_t(i));
        }
        menu.FindMenu(1);
    }
    platform::ResetResourceManager();
    SetMenuCommandHooks(MenuCommandHooks{});
    return 0;
}
