#include "forms/lists/ChoiceLists.h"

#include <algorithm>
#include <cstring>

#include "kernel/buffer/BufferQz.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResTypes.h"
#include "resources/ResourceApi.h"

using platform::Handle;

namespace {

constexpr uint32_t kListType = platform::FourCC("List");
// Nesting deeper than this is damage: a real list is a few levels deep,
// and each level read costs a stack frame.
constexpr int32_t kMaxListDepth = 100;
constexpr int16_t kShortTextLimit = 31;  // longer texts go as a separate string
constexpr int32_t kRecordTextRoom = 35;

int16_t ReadLevel(buffertemp* b, ItemHandle* first, int16_t* err, int32_t depth)
{
    *first = nullptr;
    if (depth > kMaxListDepth) {
        *err = kBufferOverrunErr;
        return 0;
    }
    itemlistrec collector;
    initqlist(&collector, 0, 255);
    ItemHandle last = nullptr;
    int16_t count = 0;
    for (;;) {
        int16_t e = 0;
        const int16_t marker = GetShortFromBuf(b, &e);
        if (e || marker == 0) {
            *err = e;
            break;
        }
        uint8_t rec[kListItemRecordSize];
        if ((e = GetStructFromBuf(b, rec, kListItemRecordSize, kListItemTemplate))) {
            *err = e;
            break;
        }
        unsigned char text[256];
        if (rec[47]) {
            if ((e = GetStrFromBuf(b, text))) {
                *err = e;
                break;
            }
        } else {
            // The record holds at most 35 characters whatever its length byte says.
            text[0] = uint8_t(std::min<int32_t>(rec[10], kRecordTextRoom));
            std::memcpy(text + 1, rec + 11, text[0]);
        }
        const auto number = int16_t(platform::ReadBE16(rec + 4));
        ItemHandle item = addqlist(&collector, text, number, 0, nullptr, nullptr, 0, rec[9], rec[8], first, &last);
        if (!item) {
            *err = platform::memFullErr;
            break;
        }
        (*item)->icon = int32_t(platform::ReadBE32(rec));
        ++count;
        if (rec[46]) {
            ItemHandle branch = nullptr;
            ReadLevel(b, &branch, &e, depth + 1);
            (*item)->firstChild = branch;
            if (e) {
                *err = e;
                break;
            }
        }
    }
    // The items outlive the collector.
    collector.first = nullptr;
    deinitqlist(&collector);
    return count;
}

}  // namespace

int16_t readlistfrombuf(buffertemp* buffer, ItemHandle* first, int16_t* err)
{
    *err = 0;
    return ReadLevel(buffer, first, err, 0);
}

int16_t writelisttobuf(buffertemp* buffer, ItemHandle first)
{
    for (ItemHandle item = first; item && !buffer->error; item = (*item)->next) {
        const unsigned char* text = ItemText(item);
        const bool longText = text[0] > kShortTextLimit;
        uint8_t rec[kListItemRecordSize] = {};
        platform::WriteBE32(rec, uint32_t((*item)->icon));
        platform::WriteBE16(rec + 4, uint16_t((*item)->number));
        rec[8] = (*item)->face;
        rec[9] = (*item)->callerByte2;
        if (!longText) std::memcpy(rec + 10, text, size_t(text[0]) + 1);
        rec[46] = (*item)->firstChild != nullptr;
        rec[47] = longText;
        AddShortToBuff(buffer, 1);
        AddStructToBuff(buffer, rec, kListItemRecordSize, kListItemTemplate);
        if (longText) AddStrToBuff(buffer, text);
        if ((*item)->firstChild) writelisttobuf(buffer, (*item)->firstChild);
    }
    AddShortToBuff(buffer, 0);
    return buffer->error;
}

int16_t LoadList(int16_t id, itemlistrec* list, bool withThirdSetting)
{
    emptyqlist(list);
    list->selected = 0;
    Handle h = xget1res(kListType, id);
    if (!h) {
        const int16_t err = CPseudoResManager::LastError();
        return err ? err : kResNotFound;
    }
    buffertemp b;
    InitBufTempForRead(&b, 0, h);
    uint8_t header[kListHeaderSize];
    if (int16_t err = GetStructFromBuf(&b, header, kListHeaderSize, kListHeaderTemplate)) return err;
    list->settings[0] = int16_t(platform::ReadBE16(header + 32));
    list->settings[1] = int16_t(platform::ReadBE16(header + 38));
    if (withThirdSetting) list->settings[2] = header[37];
    int16_t err = 0;
    readlistfrombuf(&b, &list->first, &err);
    list->needsLayout = 1;
    checktransliste(list);
    list->selected = list->visibleCount > 0 ? 1 : 0;
    return err;
}

int16_t SaveList(int16_t id, itemlistrec* list)
{
    buffertemp b;
    if (InitBufTempForWrite(&b, 0, 1)) return b.error;
    uint8_t header[kListHeaderSize] = {};
    platform::WriteBE16(header + 32, uint16_t(list->settings[0]));
    header[36] = 0xFF;
    header[37] = uint8_t(list->settings[2]);
    platform::WriteBE16(header + 38, uint16_t(list->settings[1]));
    AddStructToBuff(&b, header, kListHeaderSize, kListHeaderTemplate);
    writelisttobuf(&b, list->first);
    if (b.error) {
        const int16_t err = b.error;
        KillBuff(&b);
        return err;
    }
    // Adding over an existing id replaces it only once the new contents
    // are placed: a failed add leaves the old list.
    Handle data = GetBuffHandle(&b);
    if (!xaddres(data, kListType, id)) {
        platform::DisposeHandle(data);
        const int16_t err = CPseudoResManager::LastError();
        return err ? err : platform::memFullErr;
    }
    return 0;
}
