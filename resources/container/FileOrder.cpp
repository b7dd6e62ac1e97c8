#include "resources/container/FileOrder.h"

#include "platform/core/Endian.h"
#include "resources/container/ContainerLayout.h"

namespace container {

using platform::ReverseBytes;

namespace {

void ReverseFields(uint8_t* p, std::initializer_list<uint32_t> widths)
{
    for (uint32_t w : widths) {
        ReverseBytes(p, w);
        p += w;
    }
}

}  // namespace

void HeaderToHost(uint8_t* header, int32_t swapFlag)
{
    if (swapFlag == 0) return;
    for (uint32_t i = 0; i < kHeaderSize; i += 4) ReverseBytes(header + i, 4);
}

void HeaderToFile(uint8_t* header, int32_t swapFlag) { HeaderToHost(header, swapFlag); }

void MapRecordToHost(uint8_t* record, int32_t swapFlag)
{
    if (swapFlag != 0) ReverseFields(record, {4, 4, 4, 2, 2, 4});
}

void MapRecordToFile(uint8_t* record, int32_t swapFlag) { MapRecordToHost(record, swapFlag); }

void TypeListHeaderToHost(uint8_t* header, int32_t swapFlag)
{
    if (swapFlag != 0) ReverseFields(header, {2, 4});
}

void TypeListHeaderToFile(uint8_t* header, int32_t swapFlag) { TypeListHeaderToHost(header, swapFlag); }

void MapWordsToHost(uint8_t* word, uint32_t width, int32_t swapFlag)
{
    if (swapFlag != 0) ReverseBytes(word, width);
}

void MapWordsToFile(uint8_t* word, uint32_t width, int32_t swapFlag) { MapWordsToHost(word, width, swapFlag); }

bool ContentsToHost(platform::ResType, uint8_t*, int32_t, int32_t swapFlag) { return swapFlag == 0; }

bool ContentsToFile(platform::ResType, uint8_t*, int32_t, int32_t swapFlag) { return swapFlag == 0; }

}  // namespace container
