// A bundle's elements copied with their dialogs ('DITL' at byte 18 of a
// 'DLOG', 8 of an 'ALRT') and the items' resources. An item list is its
// item count less one, then per item 4 reserved bytes, a rectangle (8),
// the type, the data's length and the data, padded to an even length; an
// item of type 'ICON', 'CNTL' or 'PICT' keeps its resource's id as data.
#include "transfer/movers/BundleCopy.h"

#include <cstring>
#include <new>

#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "transfer/CurrentFiles.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/MoverSupport.h"
#include "transfer/remap/NewResIds.h"

namespace transfer {

namespace {

using platform::FourCC;

constexpr size_t kDialogItemsAt = 18, kAlertItemsAt = 8, kElementSize = 8, kElementIdAt = 6;
constexpr size_t kItemHeader = 14;

int16_t At16(const std::string& s, size_t at) { return platform::ReadBES16(reinterpret_cast<const uint8_t*>(&s[at])); }
void Put16(std::string* s, size_t at, int16_t v) { platform::WriteBE16(reinterpret_cast<uint8_t*>(&(*s)[at]), uint16_t(v)); }

}  // namespace

bool ItemListIds(const std::string& list, std::vector<std::pair<size_t, uint32_t>>* out)
{
    if (list.size() < 2) return false;
    const int32_t count = int32_t(At16(list, 0)) + 1;
    if (count < 0) return false;
    size_t at = 2;
    for (int32_t i = 0; i < count; ++i) {
        if (list.size() - at < kItemHeader) return false;
        const uint8_t type = uint8_t(list[at + 12]), length = uint8_t(list[at + 13]);
        const size_t data = at + kItemHeader;
        if (list.size() - data < length) return false;
        if (const uint32_t resType = ItemResType(type); resType && length >= 2) out->emplace_back(data, resType);
        at = data + length + (length & 1);
        if (at > list.size()) return false;
    }
    return true;
}

BundleCopy::BundleCopy(int16_t from, int16_t to, bool write) : from_(from), to_(to), write_(write)
{
    if (write_) table_ = NewResTable();
}

BundleCopy::~BundleCopy() { DisposeResTable(table_); }

int16_t BundleCopy::Read(uint32_t type, int16_t id, std::string* out, unsigned char* name)
{
    UsingResFile file(from_);
    platform::Handle h = platform::Get1Resource(type, id);
    if (!h || !*h) return platform::ResError() == platform::memFullErr ? platform::memFullErr : kRecordMissing;
    int16_t ignoredId = 0;
    uint32_t ignoredType = 0;
    platform::GetResInfo(h, &ignoredId, &ignoredType, name);
    try {
        out->assign(*h, size_t(platform::GetHandleSize(h)));
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
    bytes += int64_t(out->size());
    return 0;
}

int16_t BundleCopy::Add(uint32_t type, int16_t id, const std::string& data, const unsigned char* name)
{
    if (!write_) return 0;
    if (const int16_t err = NoteCompanionChange(type, id)) return err;
    platform::Handle h = platform::NewHandle(platform::Size(data.size()));
    if (!h) return platform::memFullErr;
    if (!data.empty()) std::memcpy(*h, data.data(), data.size());
    UsingResFile file(to_);
    platform::AddResource(h, type, id, name);
    if (const int16_t err = platform::ResError()) {
        platform::DisposeHandle(h);
        return err;
    }
    try {
        added_.emplace_back(type, id);
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
    return 0;
}

void BundleCopy::TakeBack()
{
    UsingResFile file(to_);
    for (auto it = added_.rbegin(); it != added_.rend(); ++it)
        if (platform::Handle h = platform::Get1Resource(it->first, it->second)) {
            platform::RemoveResource(h);
            platform::DisposeHandle(h);
        }
    added_.clear();
}

int16_t BundleCopy::Resource(uint32_t type, int16_t id, int16_t newId, bool missingOk)
{
    std::string data;
    unsigned char name[256] = {0};
    const int16_t err = Read(type, id, &data, name);
    if (err == kRecordMissing && missingOk) return 0;
    return err ? err : Add(type, newId, data, name);
}

int16_t BundleCopy::MoveDITLRes(int16_t id, int16_t* newId)
{
    *newId = id;
    bool copy = true;
    if (write_) {
        UsingResFile file(to_);
        if (const int16_t err = NewBundleElementId(table_, FourCC("DITL"), id, newId, &copy)) return err;
    }
    if (!copy) return 0;
    std::string list;
    unsigned char name[256] = {0};
    if (const int16_t err = Read(FourCC("DITL"), id, &list, name)) return err;
    std::vector<std::pair<size_t, uint32_t>> items;
    if (!ItemListIds(list, &items)) return kRecordMissing;
    for (const auto& [at, type] : items) {
        const int16_t itemId = At16(list, at);
        int16_t itemNewId = itemId;
        bool itemCopy = true;
        // An item whose resource the plug-in's file lacks keeps its id.
        {
            UsingResFile file(from_);
            platform::SetResLoad(false);
            const bool there = platform::Get1Resource(type, itemId) != nullptr;
            platform::SetResLoad(true);
            if (!there) continue;
        }
        if (write_) {
            UsingResFile file(to_);
            if (const int16_t err = NewBundleElementId(table_, type, itemId, &itemNewId, &itemCopy)) return err;
        }
        if (itemCopy)
            if (const int16_t err = Resource(type, itemId, itemNewId, false)) return err;
        Put16(&list, at, itemNewId);
    }
    return Add(FourCC("DITL"), *newId, list, name);
}

int16_t BundleCopy::MoveDLogRes(uint32_t type, std::string* data)
{
    const size_t at = type == FourCC("DLOG") ? kDialogItemsAt : kAlertItemsAt;
    if (data->size() < at + 2) return kRecordMissing;
    int16_t newId = 0;
    if (const int16_t err = MoveDITLRes(At16(*data, at), &newId)) return err;
    Put16(data, at, newId);
    return 0;
}

int16_t BundleCopy::Bundle(uint32_t type, int16_t id, int16_t newId)
{
    std::string bundle;
    unsigned char bundleName[256] = {0};
    if (const int16_t err = Read(type, id, &bundle, bundleName)) return err;
    const int32_t count = bundle.size() >= 2 ? At16(bundle, 0) : -1;
    if (count < 0 || (bundle.size() - 2) / kElementSize < size_t(count)) return kRecordMissing;
    for (int32_t i = 0; i < count; ++i) {
        const size_t entry = 2 + kElementSize * size_t(i);
        const uint32_t elementType = platform::ReadBE32(reinterpret_cast<const uint8_t*>(&bundle[entry]));
        const int16_t elementId = At16(bundle, entry + kElementIdAt);
        std::string data;
        unsigned char name[256] = {0};
        if (const int16_t err = Read(elementType, elementId, &data, name)) return err;
        int16_t elementNewId = elementId;
        bool copy = true;
        if (write_) {
            UsingResFile file(to_);
            int16_t err = 0;
            if (elementType == FourCC("FON#") || elementType == FourCC("THM#")) {
                elementNewId = newId;
                err = NewFontThemeId(table_, elementType, elementId, newId);
            } else {
                err = NewBundleElementId(table_, elementType, elementId, &elementNewId, &copy);
            }
            if (err) return err;
        }
        if (copy && (elementType == FourCC("DLOG") || elementType == FourCC("ALRT")))
            if (const int16_t err = MoveDLogRes(elementType, &data)) return err;
        if (copy)
            if (const int16_t err = Add(elementType, elementNewId, data, name)) return err;
        Put16(&bundle, entry + kElementIdAt, elementNewId);
    }
    return Add(type, newId, bundle, bundleName);
}

}  // namespace transfer
