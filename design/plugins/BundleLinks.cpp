#include "design/plugins/BundleLinks.h"

#include <string>

#include "app/dialogs/Messages.h"
#include "design/links/XRef.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjQz.h"
#include "design/objects/ObjText.h"
#include "design/plugins/BundleTable.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

int16_t ParseQzBundle(TMainDoc* doc, TObjQz* obj, uint32_t bundleType, int16_t id)
{
    std::vector<BundleEntry> entries;
    if (!doc || !obj || !ReadBundleTable(platform::Get1Resource(bundleType, id), &entries)) return 0;
    for (const BundleEntry& e : entries) {
        if (e.type != platform::FourCC("STR#")) continue;
        unsigned char name[256] = {0};
        platform::SetResLoad(false);
        if (platform::Handle list = platform::Get1Resource(e.type, e.id)) platform::GetResInfo(list, nullptr, nullptr, name);
        platform::SetResLoad(true);
        if (name[0] == 0) {
            MyGetIndString(name, 1001, 11);
            PAppendChar(name, ' ');
            PAppend(name, std::to_string(e.id));
        }
        if (name[0] > 32) name[0] = 32;
        TObjQz* strings = NewObj_Id(doc, 11, name, e.id, false);
        if (!strings) return platform::memFullErr;
        if (const int16_t err = XRef(obj, strings)) return err;
    }
    return 0;
}

std::vector<int16_t> BundledStringLists()
{
    std::vector<int16_t> ids;
    for (const uint32_t type : {platform::FourCC("QBND"), platform::FourCC("QBNX")}) {
        const int16_t count = platform::Count1Resources(type);
        for (int16_t i = 1; i <= count; ++i) {
            std::vector<BundleEntry> entries;
            if (!ReadBundleTable(platform::Get1IndResource(type, i), &entries)) continue;
            for (const BundleEntry& e : entries)
                if (e.type == platform::FourCC("STR#")) ids.push_back(e.id);
        }
    }
    return ids;
}
