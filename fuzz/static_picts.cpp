// Any bytes as a structure's picture library ('PIC#' 128) loaded
// (SetupPictList) and its pictures looked up by name and by id, in the
// structure and through the counted cache.
#include <cstdint>

#include "forms/drawing/StaticPictures.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"
#include "resources/caches/APictArray.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1 << 20)) return 0;
    fuzz::ScratchStructure scratch;
    if (!scratch.Ready()) return 0;
    scratch.Add(fuzz::Bytes(data, data + size), platform::FourCC("PIC#"), 128);
    scratch.Add(fuzz::Bytes(12, 0), platform::FourCC("PICT"), 1);
    scratch.Use();
    SetupPictList();
    // Names taken from the bytes themselves, and one no library holds.
    const unsigned char none[] = "\x04none";
    for (size_t at = 2; at + 1 < size && at < 2 + 34 * 4; at += 34) {
        const unsigned char* name = data + at;
        if (at + 1 + name[0] > size) break;
        int16_t id = 0;
        StaticPictIdByName(name, &id);
        GetStaticPict(-1, name);
        if (platform::Handle p = AccessStaticPictByID(1, name)) ReleaseStaticPictByID(1, p);
    }
    GetStaticPict(1, none);
    PurgeStaticPicts(0);
    ResetStaticPicts();
    DisposePictList();
    return 0;
}
