// A plug-in's bundle copied into another resource file as a transfer
// copies it (MoveQzBundle): the bundle 'QBNX' 15010 and the resources its
// elements, dialogs, alerts and item lists name, whatever their bytes. A
// copy that fails leaves the destination as empty as it was; one that
// lands is then deleted again (DeleteQzBundle). The input: resources one
// after another, each a type number (mod 10), a 16-bit id and a slice.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <utility>

#include "fuzz/support/FuzzSupport.h"
#include "platform/core/FourCC.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "transfer/movers/PlugInMovers.h"

using platform::FourCC;

namespace {

const char kTypes[][5] = {"QBNX", "DLOG", "ALRT", "DITL", "ICON", "CNTL", "PICT", "FON#", "THM#", "STR#"};

int16_t OpenImage(const platform::ResourceFileImage& image, const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (platform::BuildResourceFile(image, &bytes) != 0 || !fuzz::WriteFile(path, bytes)) return -1;
    return platform::OpenResFile(path, platform::fsRdWrPerm, platform::ResFileFork::Data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    platform::ResourceFileImage source;
    std::set<std::pair<uint32_t, int16_t>> seen;
    for (int i = 0; i < 24 && !in.Empty(); ++i) {
        platform::ResourceImage r;
        r.type = FourCC(kTypes[in.Byte() % 10]);
        r.id = int16_t(in.U16());
        r.data = in.Slice(4096);
        if (seen.insert({r.type, r.id}).second) source.resources.push_back(std::move(r));
    }
    const std::string folder = fuzz::ScratchFolder();
    const int16_t from = OpenImage(source, folder + "/plugin.rsrc");
    const int16_t to = OpenImage(platform::ResourceFileImage{}, folder + "/companion.rsrc");
    if (from > 0 && to > 0) {
        platform::UseResFile(to);
        const int16_t err = transfer::MoveQzBundle(from, FourCC("QBNX"), 15010, 15000);
        platform::UseResFile(to);
        int32_t left = 0;
        for (int32_t t = 1; t <= platform::Count1Types(); ++t) {
            platform::ResType type = 0;
            platform::Get1IndType(&type, t);
            left += platform::Count1Resources(type);
        }
        // A refused or failed copy takes back all it added.
        if (err != 0 && left != 0) std::abort();
        if (err == 0) {
            if (!platform::Get1Resource(FourCC("QBNX"), 15000)) std::abort();
            transfer::DeleteQzBundle(FourCC("QBNX"), 15000);
        }
    }
    if (to > 0) platform::CloseResFile(to);
    if (from > 0) platform::CloseResFile(from);
    fuzz::ClearScratchFolder();
    return 0;
}
