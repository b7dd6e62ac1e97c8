// Outside bytes the application's windows show or read: the system scrap's
// text or picture in the clipboard window, and the 'PREF' 0 and 'vers' 1
// records behind the default window size and the about box. The input's
// first byte picks the scrap kind; the rest is the scrap and both records.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/documents/TClipBoard.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "platform/windows/Windows.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const uint32_t kinds[] = {platform::FourCC("TEXT"), platform::FourCC("PICT"), platform::FourCC("XXXX")};
    const uint32_t kind = kinds[data[0] % 3];
    const uint8_t* body = data + 1;
    const size_t length = size - 1;

    platform::ResetResourceManager();
    platform::ResetWindowManager();
    platform::ResourceFileImage image;
    const std::pair<uint32_t, int16_t> records[] = {{platform::FourCC("PREF"), 0}, {platform::FourCC("vers"), 1}};
    for (const auto& [type, id] : records) {
        platform::ResourceImage record;
        record.type = type;
        record.id = id;
        record.data.assign(body, body + length);
        image.resources.push_back(record);
    }
    G_MainResFile = platform::OpenResFileImageBelow(image);
    G_PrefResFile = G_MainResFile;

    TAppl appl;
    MyAppl = &appl;
    appl.fDefaultRect = DefaultWindowRect();
    appl.GetPrefWindowRect(0);
    unsigned char texts[5][256];
    AboutTexts(texts, false);

    if (TClipBoard* clip = NewClipBoard(&appl)) {
        appl.fClipBoard = clip;
        platform::Handle h = platform::NewHandle(platform::Size(length));
        if (h) {
            if (length) std::memcpy(*h, body, length);
            clip->SetData(h, kind, 0, int32_t(length));
            platform::DisposeHandle(h);
        }
    }
    G_PrefResFile = -1;
    MyAppl = nullptr;
    return 0;
}
