#include "resources/container/FileOrder.h"

#include "kernel/byteswap/SwapPrimitives.h"
#include "kernel/byteswap/SwapTemplates.h"
#include "resources/container/ContainerLayout.h"
#include "resources/swap/SwapResource.h"

namespace container {

namespace {

// Template numbers of the container's own records.
constexpr int32_t kHeaderTemplate = 1;
constexpr int32_t kMapRecordTemplate = 2;
constexpr int32_t kTypeListTemplate = 4;

}  // namespace

void HeaderToHost(uint8_t* header, int32_t swapFlag)
{
    SwapBytes2(kHeaderTemplate, header, swapFlag, nullptr, int32_t(kHeaderSize));
}

void HeaderToFile(uint8_t* header, int32_t swapFlag)
{
    SwapBytesEnvoi2(kHeaderTemplate, header, swapFlag, nullptr, int32_t(kHeaderSize));
}

void MapRecordToHost(uint8_t* record, int32_t swapFlag)
{
    SwapBytes2(kMapRecordTemplate, record, swapFlag, nullptr, int32_t(kMapRecordSize));
}

bool TypeListToFile(uint8_t* list, int32_t length, int32_t swapFlag)
{
    return SwapBytesEnvoi2(kTypeListTemplate, list, swapFlag, nullptr, length) == 0;
}

void TypeListHeaderToHost(uint8_t* header, int32_t swapFlag)
{
    if (swapFlag == 0) return;
    ASI_ByteSwapWORD(header);
    ASI_ByteSwapLONG(header + 2);
}

void MapWordsToHost(uint8_t* word, uint32_t width, int32_t swapFlag)
{
    if (swapFlag == 0) return;
    if (width == 2) ASI_ByteSwapWORD(word);
    if (width == 4) ASI_ByteSwapLONG(word);
}

void MapWordsToFile(uint8_t* word, uint32_t width, int32_t swapFlag) { MapWordsToHost(word, width, swapFlag); }

bool ContentsToHost(platform::ResType type, uint8_t* contents, int32_t size, int32_t swapFlag)
{
    if (swapFlag == 0) return true;
    return SwapResource(1, type, size, contents) != 0 && errSwap == 0;
}

bool ContentsToFile(platform::ResType type, uint8_t* contents, int32_t size, int32_t swapFlag)
{
    if (swapFlag == 0) return true;
    return SwapResourceEnvoi(1, type, size, contents) != 0 && errSwap == 0;
}

}  // namespace container
