// AppleDouble sidecars as found beside documents: parsed, rebuilt, and read
// through the file layer (Finder information and the resource fork).
#include <cstdint>
#include <cstdlib>

#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Errors.h"
#include "platform/files/AppleDouble.h"
#include "platform/files/FileSpec.h"
#include "platform/files/FolderListing.h"
#include "platform/files/Forks.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AppleDouble doc;
    if (ParseAppleDouble(data, size, &doc) == noErr) {
        if (doc.finderInfo) {
            if (doc.finderInfo->size() < kFinderInfoLength) std::abort();
            FInfoFromBytes(doc.finderInfo->data());
        }
        // What is rebuilt parses to the same document.
        const std::vector<uint8_t> built = BuildAppleDouble(doc);
        AppleDouble again;
        if (ParseAppleDouble(built.data(), built.size(), &again) != noErr || BuildAppleDouble(again) != built)
            std::abort();
    }

    // The same bytes as the sidecar of a document.
    const std::string item = fuzz::ScratchFolder() + "/doc";
    fuzz::WriteFile(item, {'d'});
    fuzz::WriteFile(fuzz::ScratchFolder() + "/._doc", fuzz::Bytes(data, data + size));
    std::vector<FolderEntry> entries;
    FSpListFolder(FSSpec{fuzz::ScratchFolder()}, &entries);
    FInfo info;
    FSpGetFInfo(FSSpec{item}, &info);
    int16_t ref = 0;
    if (FSpOpenRF(FSSpec{item}, fsRdPerm, &ref) == noErr) {
        int64_t length = 0;
        GetEOF(ref, &length);
        std::vector<uint8_t> fork(size_t(length > 0 ? length : 0) + 1);
        int64_t count = length;
        FSRead(ref, &count, fork.data());
        FSClose(ref);
    }
    return 0;
}
