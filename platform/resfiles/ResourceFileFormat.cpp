#include "platform/resfiles/ResourceFileFormat.h"

#include <cstring>
#include <map>
#include <set>
#include <utility>

#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/resfiles/Resources.h"

namespace platform {
namespace {

constexpr size_t kHeaderSize = 16;
constexpr size_t kDataStart = 256;
constexpr size_t kMapHeaderSize = 28;
constexpr size_t kTypeEntrySize = 8;
constexpr size_t kRefEntrySize = 12;
constexpr uint64_t kMaxDataOffset = 0xFFFFFF;

uint32_t ReadBE24(const uint8_t* p) { return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2]; }

}  // namespace

OSErr ParseResourceFile(const uint8_t* bytes, size_t size, ResourceFileImage* out)
{
    if (size < kHeaderSize) return mapReadErr;
    uint64_t dataOffset = ReadBE32(bytes), mapOffset = ReadBE32(bytes + 4);
    uint64_t dataLength = ReadBE32(bytes + 8), mapLength = ReadBE32(bytes + 12);
    if (dataOffset + dataLength > size || mapOffset + mapLength > size) return mapReadErr;
    if (mapLength < kMapHeaderSize + 2) return mapReadErr;
    const uint8_t* data = bytes + dataOffset;
    const uint8_t* map = bytes + mapOffset;

    ResourceFileImage image;
    if (dataOffset >= kDataStart) std::memcpy(image.reserved, bytes + kHeaderSize, sizeof image.reserved);
    image.attributes = ReadBE16(map + 22);
    uint64_t typeList = ReadBE16(map + 24);
    uint64_t nameList = ReadBE16(map + 26);
    if (typeList + 2 > mapLength || nameList > mapLength) return mapReadErr;
    uint64_t typeCount = uint16_t(ReadBE16(map + typeList) + 1);  // 0xFFFF: none
    if (typeList + 2 + typeCount * kTypeEntrySize > mapLength) return mapReadErr;

    std::set<ResType> types;
    for (uint64_t t = 0; t < typeCount; ++t) {
        const uint8_t* entry = map + typeList + 2 + t * kTypeEntrySize;
        ResType type = ReadBE32(entry);
        uint64_t count = uint64_t(ReadBE16(entry + 4)) + 1;
        uint64_t refList = typeList + ReadBE16(entry + 6);
        if (!types.insert(type).second) return mapReadErr;
        if (refList + count * kRefEntrySize > mapLength) return mapReadErr;
        std::set<int16_t> ids;
        for (uint64_t r = 0; r < count; ++r) {
            const uint8_t* ref = map + refList + r * kRefEntrySize;
            ResourceImage res;
            res.type = type;
            res.id = ReadBES16(ref);
            if (!ids.insert(res.id).second) return mapReadErr;
            uint16_t nameOffset = ReadBE16(ref + 2);
            res.attributes = ref[4];
            uint64_t offset = ReadBE24(ref + 5);
            if (nameOffset != 0xFFFF) {
                uint64_t at = nameList + nameOffset;
                if (at + 1 > mapLength || at + 1 + map[at] > mapLength) return mapReadErr;
                res.hasName = true;
                res.name.assign(reinterpret_cast<const char*>(map + at + 1), map[at]);
            }
            if (offset + 4 > dataLength) return mapReadErr;
            uint64_t length = ReadBE32(data + offset);
            if (length > dataLength - offset - 4) return mapReadErr;
            res.data.assign(data + offset + 4, data + offset + 4 + length);
            image.resources.push_back(std::move(res));
        }
    }
    *out = std::move(image);
    return noErr;
}

bool IsResourceFileHeader(const uint8_t* header, uint64_t size)
{
    if (size < kHeaderSize) return false;
    const uint64_t dataOffset = ReadBE32(header), mapOffset = ReadBE32(header + 4);
    const uint64_t dataLength = ReadBE32(header + 8), mapLength = ReadBE32(header + 12);
    return dataOffset >= kHeaderSize && mapOffset >= kHeaderSize && dataOffset + dataLength <= size &&
           mapOffset + mapLength <= size && mapLength >= kMapHeaderSize + 2 &&
           (dataOffset + dataLength <= mapOffset || mapOffset + mapLength <= dataOffset);
}

OSErr BuildResourceFile(const ResourceFileImage& image, std::vector<uint8_t>* out)
{
    // Types in the order of their first resource.
    std::vector<ResType> typeOrder;
    std::map<ResType, std::vector<const ResourceImage*>> byType;
    for (const auto& res : image.resources) {
        auto& list = byType[res.type];
        if (list.empty()) typeOrder.push_back(res.type);
        list.push_back(&res);
    }

    std::vector<uint8_t> data;
    std::map<const ResourceImage*, uint32_t> dataOffsets;
    for (ResType type : typeOrder) {
        for (const ResourceImage* res : byType[type]) {
            if (data.size() > kMaxDataOffset) return ioErr;
            dataOffsets[res] = uint32_t(data.size());
            uint8_t length[4];
            WriteBE32(length, uint32_t(res->data.size()));
            data.insert(data.end(), length, length + 4);
            data.insert(data.end(), res->data.begin(), res->data.end());
        }
    }

    size_t typeListSize = 2 + typeOrder.size() * kTypeEntrySize;
    size_t refListsSize = image.resources.size() * kRefEntrySize;
    size_t nameList = kMapHeaderSize + typeListSize + refListsSize;
    if (nameList > 0xFFFF || typeOrder.size() > 0x10000) return ioErr;
    std::vector<uint8_t> names;
    std::vector<uint8_t> map(nameList);
    WriteBE16(&map[22], image.attributes);
    WriteBE16(&map[24], uint16_t(kMapHeaderSize));
    WriteBE16(&map[26], uint16_t(nameList));
    WriteBE16(&map[kMapHeaderSize], uint16_t(typeOrder.size() - 1));
    size_t refAt = kMapHeaderSize + typeListSize;
    for (size_t t = 0; t < typeOrder.size(); ++t) {
        const auto& list = byType[typeOrder[t]];
        if (list.size() > 0x10000) return ioErr;
        uint8_t* entry = &map[kMapHeaderSize + 2 + t * kTypeEntrySize];
        WriteBE32(entry, typeOrder[t]);
        WriteBE16(entry + 4, uint16_t(list.size() - 1));
        WriteBE16(entry + 6, uint16_t(refAt - kMapHeaderSize));
        for (const ResourceImage* res : list) {
            uint8_t* ref = &map[refAt];
            WriteBE16(ref, uint16_t(res->id));
            if (res->hasName) {
                if (names.size() > 0xFFFE) return ioErr;
                WriteBE16(ref + 2, uint16_t(names.size()));
                size_t length = res->name.size() > 255 ? 255 : res->name.size();
                names.push_back(uint8_t(length));
                names.insert(names.end(), res->name.begin(), res->name.begin() + length);
            } else {
                WriteBE16(ref + 2, 0xFFFF);
            }
            ref[4] = res->attributes;
            uint32_t offset = dataOffsets[res];
            ref[5] = uint8_t(offset >> 16);
            ref[6] = uint8_t(offset >> 8);
            ref[7] = uint8_t(offset);
            refAt += kRefEntrySize;
        }
    }
    map.insert(map.end(), names.begin(), names.end());

    std::vector<uint8_t> file(kDataStart);
    uint32_t mapOffset = uint32_t(kDataStart + data.size());
    WriteBE32(&file[0], uint32_t(kDataStart));
    WriteBE32(&file[4], mapOffset);
    WriteBE32(&file[8], uint32_t(data.size()));
    WriteBE32(&file[12], uint32_t(map.size()));
    std::memcpy(&file[kHeaderSize], image.reserved, sizeof image.reserved);
    std::memcpy(&map[0], &file[0], kHeaderSize);
    file.insert(file.end(), data.begin(), data.end());
    file.insert(file.end(), map.begin(), map.end());
    *out = std::move(file);
    return noErr;
}

}  // namespace platform
