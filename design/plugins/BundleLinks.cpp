#include "design/plugins/BundleLinks.h"

#include <string>

#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
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

namespace {

// Visits the 'STR#' ids the bundle tables of the current file name, until
// `visit` answers true; true when it did.
template <class Visit>
bool EachBundledList(Visit visit)
{
    for (const uint32_t type : {platform::FourCC("QBND"), platform::FourCC("QBNX")}) {
        const int16_t count = platform::Count1Resources(type);
        for (int32_t i = 1; i <= count; ++i) {
            std::vector<BundleEntry> entries;
            if (!ReadBundleTable(platform::Get1IndResource(type, i), &entries)) continue;
            for (const BundleEntry& e : entries)
                if (e.type == platform::FourCC("STR#") && visit(e.id)) return true;
        }
    }
    return false;
}

}  // namespace

std::vector<int16_t> BundledStringLists()
{
    std::vector<int16_t> ids;
    EachBundledList([&](int16_t id) {
        ids.push_back(id);
        return false;
    });
    return ids;
}

bool IsBundledStringList(int16_t id)
{
    return EachBundledList([&](int16_t listed) { return listed == id; });
}

bool IsBundledStringList(TMainDoc* doc, int16_t id)
{
    if (!doc || doc->fRsrFile < 0 || !platform::IsResFileOpen(doc->fRsrFile)) return false;
    const int16_t saved = platform::CurResFile();
    platform::UseResFile(doc->fRsrFile);
    const bool bundled = IsBundledStringList(id);
    platform::UseResFile(saved);
    return bundled;
}
