// Replies of a database server: the file list, the resource map and the
// stamp in front of a resource, in both byte orders.
#include <cstdint>
#include <cstdlib>

#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "resources/server/ServerReplies.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const uint8_t which = data[0] % 3;
    const bool otherOrder = (data[0] & 0x80) != 0;
    const uint8_t* reply = data + 1;
    const int32_t length = int32_t(size - 1);

    switch (which) {
    case 0: {
        ServerFileList list = DecodeFileList(reply, length, otherOrder);
        for (const ServerFileEntry& file : list.files)
            if (file.name.size() > size_t(length)) std::abort();
        break;
    }
    case 1: {
        std::vector<ServerMapType> map;
        if (DecodeServerMap(reply, length, otherOrder, &map) == noErr) {
            size_t ids = 0;
            for (const ServerMapType& type : map) {
                if (type.ids.size() != type.stamps.size()) std::abort();
                ids += type.ids.size();
            }
            if (ids * 2 > size_t(length)) std::abort();  // every id came from the reply
        }
        break;
    }
    default: {
        Handle h = nullptr;
        if (PtrToHand(reply, &h, Size(length)) != noErr) break;
        TakeStamp(h, otherOrder);
        DisposeHandle(h);
        break;
    }
    }
    return 0;
}
