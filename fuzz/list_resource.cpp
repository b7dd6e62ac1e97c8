// Choice lists as stored in 'List' resources: loaded from a structure,
// saved and loaded again, and the same bytes read as a bare level of items.
// Any counts, lengths or nesting stay inside the bytes.
#include <cstdint>

#include "forms/lists/ChoiceLists.h"
#include "forms/lists/ItemList.h"
#include "fuzz/support/FuzzSupport.h"
#include "kernel/buffer/BufferQz.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"

using platform::FourCC;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ClearScratchFolder();
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(fuzz::ScratchFolder() + "/lists.qzb", &fileSpec);
    ResetResManager();
    initresman();
    if (createres(fileSpec, FourCC("QzBw"), FourCC("QzDB")) != 0) {
        platform::Handle h = nullptr;
        if (platform::PtrToHand(data, &h, platform::Size(size)) == 0 && !xaddres(h, FourCC("List"), 1))
            platform::DisposeHandle(h);
        itemlistrec list;
        initqlist(&list, 0, 255);
        LoadList(1, &list, true);
        if (SaveList(2, &list) == 0) LoadList(2, &list, false);
        deinitqlist(&list);
    }
    ResetResManager();

    platform::Handle h = nullptr;
    if (platform::PtrToHand(data, &h, platform::Size(size)) == 0) {
        buffertemp b;
        InitBufTempForRead(&b, 0, h);
        ItemHandle first = nullptr;
        int16_t err = 0;
        readlistfrombuf(&b, &first, &err);
        effitem(first);
        platform::DisposeHandle(h);
    }
    return 0;
}
