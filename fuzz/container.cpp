// Container documents (structure and library files) in either byte order:
// opened, every resource and name read, a resource added, committed,
// closed and opened again; a second open for reading only must read what
// the commit left.
#include <cstdint>
#include <cstdlib>

#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Clock.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"

namespace {

const ResType kFuzzType = platform::FourCC("fuzz");

// Reads every resource of the current file; the count of those read.
int32_t ReadAll()
{
    int32_t read = 0;
    const int32_t types = comptetypes();
    for (int32_t t = 1; t <= types; ++t) {
        const ResType type = xgetindtyp(t);
        const int16_t count = compteres(type, true);
        for (int16_t i = 1; i <= count; ++i) {
            Handle h = xgetindres(type, i, true);
            if (!h) continue;
            ++read;
            int16_t id = 0;
            ResType back = 0;
            xgetresinfo(h, &id, &back);
            xgetrestimestamp(h);
            unsigned char name[256];
            xgetresname(type, id, name, true);
            if (xiscryptedres(h)) huncrypteres(h);
        }
    }
    return read;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (!fuzz::LoadShippedTemplates()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static platform::VirtualClock clock(100000);
    platform::SetClock(&clock);
    fuzz::ClearScratchFolder();
    const std::string path = fuzz::ScratchFolder() + "/doc.qzb";
    fuzz::WriteFile(path, fuzz::Bytes(data, data + size));
    FSSpec spec;
    platform::FSMakeFSSpec(path, &spec);

    ResetResManager();
    initresman();
    int16_t ref = openres(spec, false);
    if (ref != 0) {
        ReadAll();
        const uint8_t extra[] = {0, 1, 2, 3, 4, 5, 6, 7};
        Handle h = nullptr;
        platform::PtrToHand(extra, &h, sizeof extra);
        const int16_t id = uniqueresid(kFuzzType);
        const bool added = xaddres(h, kFuzzType, id);
        if (!added) platform::DisposeHandle(h);
        const unsigned char name[] = "\x04" "fuzz";
        xsetresname(kFuzzType, id, name, true);
        const bool committed = closeres(ref, true);

        // What a commit answered as done opens again with the new resource.
        ref = openres(spec, true);
        if (committed && ref == 0) std::abort();
        if (ref != 0) {
            ReadAll();
            if (committed && added && xget1res(kFuzzType, id) == nullptr) std::abort();
            closeres(ref, false);
        }
    }
    ResetResManager();
    platform::SetClock(nullptr);
    return 0;
}
