// Classic resource files: the layout parsed and rebuilt, then the file
// opened by the resource manager, every resource read, one added, the file
// updated and opened again.
#include <cstdint>
#include <cstdlib>

#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"

using namespace platform;

namespace {

const ResType kFuzzType = platform::FourCC("fuzz");

bool SameResources(const ResourceFileImage& a, const ResourceFileImage& b)
{
    if (a.attributes != b.attributes || a.resources.size() != b.resources.size()) return false;
    for (size_t i = 0; i < a.resources.size(); ++i) {
        const ResourceImage& x = a.resources[i];
        const ResourceImage& y = b.resources[i];
        if (x.type != y.type || x.id != y.id || x.hasName != y.hasName || x.name != y.name ||
            x.attributes != y.attributes || x.data != y.data)
            return false;
    }
    return true;
}

// Reads every resource of the current file.
void ReadAll()
{
    const int16_t types = Count1Types();
    for (int32_t t = 1; t <= types; ++t) {
        ResType type = 0;
        Get1IndType(&type, t);
        const int16_t count = Count1Resources(type);
        for (int32_t i = 1; i <= count; ++i) {
            Handle h = Get1IndResource(type, i);
            if (!h) continue;
            int16_t id = 0;
            ResType back = 0;
            Str255 name;
            GetResInfo(h, &id, &back, name);
            GetResAttrs(h);
            GetResourceSizeOnDisk(h);
            ReleaseResource(h);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResourceFileImage image;
    const bool parsed = ParseResourceFile(data, size, &image) == noErr;
    if (parsed) {
        std::vector<uint8_t> built;
        if (BuildResourceFile(image, &built) == noErr) {
            ResourceFileImage again;
            if (ParseResourceFile(built.data(), built.size(), &again) != noErr || !SameResources(image, again))
                std::abort();
        }
    }

    const std::string path = fuzz::ScratchFolder() + "/file.rsrc";
    fuzz::WriteFile(path, fuzz::Bytes(data, data + size));
    int16_t ref = OpenResFile(path, fsRdWrPerm, ResFileFork::Data);
    if ((ref > 0) != parsed) std::abort();
    if (ref > 0) {
        ReadAll();
        Handle h = nullptr;
        const uint8_t extra[] = {1, 2, 3};
        PtrToHand(extra, &h, sizeof extra);
        AddResource(h, kFuzzType, Unique1ID(kFuzzType), nullptr);
        if (ResError() != noErr) DisposeHandle(h);
        UpdateResFile(ref);
        CloseResFile(ref);
        ref = OpenResFile(path, fsRdPerm, ResFileFork::Data);
        if (ref > 0) {
            ReadAll();
            CloseResFile(ref);
        }
    }
    ResetResourceManager();
    CloseAllForks();
    return 0;
}
