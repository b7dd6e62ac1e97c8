// Records of the preferences file the user's machine holds: the input is
// read as the old open-special list, the general preferences and the
// method-editor styles of a preferences file.
#include <cstddef>
#include <cstdint>

#include "app/appl/Preferences.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (platform::Handle converted = ConvertSpecialList(data, size)) platform::DisposeHandle(converted);

    platform::ResourceFileImage image;
    for (const char* type : {"SPC#", "PREF"}) {
        platform::ResourceImage r;
        r.type = platform::FourCC(type[0] == 'S' ? "SPC#" : "PREF");
        r.id = 0;
        r.data.assign(data, data + size);
        image.resources.push_back(r);
    }
    platform::ResourceImage styles;
    styles.type = platform::FourCC("MeP#");
    styles.id = 1000;
    styles.data.assign(data, data + size);
    image.resources.push_back(styles);

    platform::ResetResourceManager();
    G_PrefResFile = platform::OpenResFileImageBelow(image);
    UpdateSpecialMenuResource();
    for (int16_t flag = 0; flag < 80; ++flag) GetPrefFlag(flag);
    LoadTextStyle();
    G_PrefResFile = -1;
    G_Special = nullptr;
    platform::ResetResourceManager();
    return 0;
}
