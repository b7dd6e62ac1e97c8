#include "platform/resfiles/ResourceFileFormat.h"

#include <cstring>
#include <set>
#include <unordered_map>
#include <utility>

#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/resfiles/Resources.h"

namespace platform {
namespace {

constexpr size_t kHeaderSize = 16;
constexpr size_t kDataStart = 256;
using namespace resource_layout;

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


OSErr BuildResourceFile(const uint8_t* reserved, uint16_t attributes, const ResourceRuns& runs,
                        std::vector<uint8_t>* out)
{
    // The sizes first, and every offset checked, so that the bytes are
    // made in one go.
    const size_t typeCount = runs.TypeCount();
    uint64_t resources = 0, dataSize = 0, namesSize = 0;
    for (size_t t = 0; t < typeCount; ++t) {
        const size_t count = runs.CountOf(t);
        if (count == 0 || count > 0x10000) return resFileFullErr;
        resources += count;
        for (size_t i = 0; i < count; ++i) {
            size_t size = 0;
            runs.DataOf(t, i, &size);
            const ResourceImage& r = runs.At(t, i);
            if (dataSize > kMaxDataOffset || (r.hasName && namesSize > kMaxNameOffset)) return resFileFullErr;
            dataSize += DataBytes(size);
            namesSize += NameBytes(r);
        }
    }
    const uint64_t typeListSize = 2 + typeCount * kTypeEntrySize;
    const uint64_t nameList = kMapHeaderSize + typeListSize + resources * kRefEntrySize;
    if (nameList > kMaxMapOffset || typeCount > 0x10000 || dataSize > UINT32_MAX) return resFileFullErr;
    const uint64_t mapOffset = kDataStart + dataSize, mapSize = nameList + namesSize;

    std::vector<uint8_t> file(size_t(mapOffset + mapSize));
    WriteBE32(&file[0], uint32_t(kDataStart));
    WriteBE32(&file[4], uint32_t(mapOffset));
    WriteBE32(&file[8], uint32_t(dataSize));
    WriteBE32(&file[12], uint32_t(mapSize));
    std::memcpy(&file[kHeaderSize], reserved, kDataStart - kHeaderSize);
    uint8_t* map = &file[mapOffset];
    std::memcpy(map, &file[0], kHeaderSize);
    WriteBE16(map + 22, attributes);
    WriteBE16(map + 24, uint16_t(kMapHeaderSize));
    WriteBE16(map + 26, uint16_t(nameList));
    WriteBE16(map + kMapHeaderSize, uint16_t(typeCount - 1));
    uint64_t dataAt = 0, nameAt = 0, refAt = kMapHeaderSize + typeListSize;
    for (size_t t = 0; t < typeCount; ++t) {
        const size_t count = runs.CountOf(t);
        uint8_t* entry = map + kMapHeaderSize + 2 + t * kTypeEntrySize;
        WriteBE32(entry, runs.At(t, 0).type);
        WriteBE16(entry + 4, uint16_t(count - 1));
        WriteBE16(entry + 6, uint16_t(refAt - kMapHeaderSize));
        for (size_t i = 0; i < count; ++i, refAt += kRefEntrySize) {
            const ResourceImage& r = runs.At(t, i);
            size_t size = 0;
            const uint8_t* data = runs.DataOf(t, i, &size);
            uint8_t* ref = map + refAt;
            WriteBE16(ref, uint16_t(r.id));
            WriteBE16(ref + 2, r.hasName ? uint16_t(nameAt) : uint16_t(0xFFFF));
            ref[4] = r.attributes;
            ref[5] = uint8_t(dataAt >> 16);
            ref[6] = uint8_t(dataAt >> 8);
            ref[7] = uint8_t(dataAt);
            uint8_t* at = &file[kDataStart + dataAt];
            WriteBE32(at, uint32_t(size));
            if (size) std::memcpy(at + 4, data, size);
            dataAt += DataBytes(size);
            if (r.hasName) {
                uint8_t* name = map + nameList + nameAt;
                name[0] = uint8_t(NameBytes(r) - 1);
                std::memcpy(name + 1, r.name.data(), name[0]);
                nameAt += NameBytes(r);
            }
        }
    }
    *out = std::move(file);
    return noErr;
}

namespace {

// An image's resources by type, types in the order of their first resource.
class ImageRuns final : public ResourceRuns {
public:
    explicit ImageRuns(const ResourceFileImage& image)
    {
        std::unordered_map<ResType, size_t> runOf;
        for (const ResourceImage& r : image.resources) {
            const auto [at, added] = runOf.try_emplace(r.type, runs_.size());
            if (added) runs_.emplace_back();
            runs_[at->second].push_back(&r);
        }
    }
    size_t TypeCount() const override { return runs_.size(); }
    size_t CountOf(size_t type) const override { return runs_[type].size(); }
    const ResourceImage& At(size_t type, size_t index) const override { return *runs_[type][index]; }
    const uint8_t* DataOf(size_t type, size_t index, size_t* size) const override
    {
        *size = runs_[type][index]->data.size();
        return runs_[type][index]->data.data();
    }

private:
    std::vector<std::vector<const ResourceImage*>> runs_;
};

}  // namespace

OSErr BuildResourceFile(const ResourceFileImage& image, std::vector<uint8_t>* out)
{
    return BuildResourceFile(image.reserved, image.attributes, ImageRuns(image), out);
}

}  // namespace platform
