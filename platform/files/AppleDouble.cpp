#include "platform/files/AppleDouble.h"

#include <cstring>

#include "platform/core/Endian.h"
#include "platform/core/Errors.h"

namespace platform {
namespace {

constexpr size_t kHeaderSize = 26;
constexpr size_t kDescriptorSize = 12;

}  // namespace

OSErr ParseAppleDouble(const uint8_t* bytes, size_t size, AppleDouble* out)
{
    if (size < kHeaderSize) return ioErr;
    if (ReadBE32(bytes) != kAppleDoubleMagic || ReadBE32(bytes + 4) != kAppleDoubleVersion)
        return ioErr;
    uint16_t count = ReadBE16(bytes + 24);
    if (uint64_t(count) * kDescriptorSize > size - kHeaderSize) return ioErr;

    AppleDouble doc;
    std::memcpy(doc.filler, bytes + 8, sizeof doc.filler);
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t* d = bytes + kHeaderSize + i * kDescriptorSize;
        uint32_t id = ReadBE32(d);
        uint64_t offset = ReadBE32(d + 4);
        uint64_t length = ReadBE32(d + 8);
        if (id == 0 || offset > size || length > size - offset) return ioErr;
        std::vector<uint8_t> entry(bytes + offset, bytes + offset + length);
        if (id == kEntryFinderInfo) {
            if (doc.finderInfo || length < kFinderInfoLength) return ioErr;
            doc.finderInfo = std::move(entry);
        } else if (id == kEntryResourceFork) {
            if (doc.resourceFork) return ioErr;
            doc.resourceFork = std::move(entry);
        } else {
            for (const auto& other : doc.others)
                if (other.id == id) return ioErr;
            doc.others.push_back({id, std::move(entry)});
        }
    }
    *out = std::move(doc);
    return noErr;
}

std::vector<uint8_t> BuildAppleDouble(const AppleDouble& doc)
{
    // Finder information first, other entries next, the resource fork last
    // so that it may grow without moving anything else.
    std::vector<const std::vector<uint8_t>*> entries;
    std::vector<uint32_t> ids;
    if (doc.finderInfo) {
        entries.push_back(&*doc.finderInfo);
        ids.push_back(kEntryFinderInfo);
    }
    for (const auto& other : doc.others) {
        entries.push_back(&other.bytes);
        ids.push_back(other.id);
    }
    if (doc.resourceFork) {
        entries.push_back(&*doc.resourceFork);
        ids.push_back(kEntryResourceFork);
    }

    size_t total = kHeaderSize + entries.size() * kDescriptorSize;
    for (const auto* e : entries) total += e->size();
    std::vector<uint8_t> out(total);
    WriteBE32(&out[0], kAppleDoubleMagic);
    WriteBE32(&out[4], kAppleDoubleVersion);
    std::memcpy(&out[8], doc.filler, sizeof doc.filler);
    WriteBE16(&out[24], uint16_t(entries.size()));
    size_t offset = kHeaderSize + entries.size() * kDescriptorSize;
    for (size_t i = 0; i < entries.size(); ++i) {
        uint8_t* d = &out[kHeaderSize + i * kDescriptorSize];
        WriteBE32(d, ids[i]);
        WriteBE32(d + 4, uint32_t(offset));
        WriteBE32(d + 8, uint32_t(entries[i]->size()));
        if (!entries[i]->empty()) std::memcpy(&out[offset], entries[i]->data(), entries[i]->size());
        offset += entries[i]->size();
    }
    return out;
}

FInfo FInfoFromBytes(const uint8_t* b)
{
    FInfo info;
    info.fdType = ReadBE32(b);
    info.fdCreator = ReadBE32(b + 4);
    info.fdFlags = ReadBE16(b + 8);
    info.fdLocation.v = ReadBES16(b + 10);
    info.fdLocation.h = ReadBES16(b + 12);
    info.fdFldr = ReadBES16(b + 14);
    return info;
}

void FInfoToBytes(const FInfo& info, uint8_t* b)
{
    WriteBE32(b, info.fdType);
    WriteBE32(b + 4, info.fdCreator);
    WriteBE16(b + 8, info.fdFlags);
    WriteBE16(b + 10, uint16_t(info.fdLocation.v));
    WriteBE16(b + 12, uint16_t(info.fdLocation.h));
    WriteBE16(b + 14, uint16_t(info.fdFldr));
}

}  // namespace platform
