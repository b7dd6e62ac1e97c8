// The classic resource-file layout, read into and written from a plain
// in-memory image.
//
//   header (16 bytes): data offset, map offset, data length, map length
//   bytes 16..255: reserved for the system and the application (kept)
//   data: each resource as a 4-byte length and its bytes
//   map: a copy of the header, 6 reserved bytes, file attributes, the
//        offsets of the type list and the name list, then the type list
//        (count - 1, then type, count - 1 and reference-list offset per
//        type), the reference lists (id, name offset or -1, attributes,
//        3-byte data offset, 4 reserved bytes) and the name list (length-
//        prefixed names)
//
// Every offset, count and length read is checked against the bytes there
// are; a damaged file is refused with mapReadErr.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/MacTypes.h"

namespace platform {

struct ResourceImage {
    ResType type = 0;
    int16_t id = 0;
    bool hasName = false;
    std::string name;  // Mac Roman bytes, at most 255
    uint8_t attributes = 0;
    std::vector<uint8_t> data;
};

struct ResourceFileImage {
    uint8_t reserved[240] = {};
    uint16_t attributes = 0;
    // Resources grouped by type, types in file order, each type's resources
    // in reference-list order.
    std::vector<ResourceImage> resources;
};

OSErr ParseResourceFile(const uint8_t* bytes, size_t size, ResourceFileImage* image);
// Whether the first 16 bytes of a file of `size` bytes are a resource-file
// header: data and map inside the file, apart, past the header, and the
// map long enough for its own header.
bool IsResourceFileHeader(const uint8_t* header, uint64_t size);

namespace resource_layout {
constexpr size_t kMapHeaderSize = 28;
constexpr size_t kTypeEntrySize = 8;
constexpr size_t kRefEntrySize = 12;
constexpr uint64_t kMaxDataOffset = 0xFFFFFF;
constexpr uint64_t kMaxMapOffset = 0xFFFF;
constexpr uint64_t kMaxNameOffset = 0xFFFE;  // 0xFFFF: no name
}  // namespace resource_layout

// What a file's resources take of what the layout's offsets reach: the
// reference lists end below 64 KB into the map (about 5,400 resources),
// each name starts below 64 KB into the name list, each resource's data
// below 16 MB into the data. A file whose size fits is always written;
// one that does not may still be (a large last name or resource).
struct ResourceFileSize {
    uint64_t types = 0;
    uint64_t resources = 0;
    uint64_t nameBytes = 0;  // NameBytes of each resource
    uint64_t dataBytes = 0;  // DataBytes of each resource
    // Whether each measure that grew from `before` fits: a file read as it
    // is may hold more than fits, and keeps what it holds.
    bool Fits(const ResourceFileSize& before) const
    {
        using namespace resource_layout;
        const auto map = [](const ResourceFileSize& s) {
            return kMapHeaderSize + 2 + kTypeEntrySize * s.types + kRefEntrySize * s.resources;
        };
        // Each name and each resource's data at least one byte past its start.
        return (map(*this) <= map(before) || map(*this) <= kMaxMapOffset) &&
               (nameBytes <= before.nameBytes || nameBytes <= kMaxNameOffset + 1) &&
               (dataBytes <= before.dataBytes || dataBytes <= kMaxDataOffset + 4);
    }
};
inline uint64_t NameBytes(const ResourceImage& r) { return r.hasName ? 1 + (r.name.size() > 255 ? 255 : r.name.size()) : 0; }
inline uint64_t DataBytes(size_t size) { return 4 + uint64_t(size); }

// A file's resources as they are written: type after type, each type's
// resources in their order, each with its type, id, name and attributes
// (the image's data unused) and the bytes to write.
class ResourceRuns {
public:
    virtual size_t TypeCount() const = 0;
    virtual size_t CountOf(size_t type) const = 0;
    virtual const ResourceImage& At(size_t type, size_t index) const = 0;
    virtual const uint8_t* DataOf(size_t type, size_t index, size_t* size) const = 0;

protected:
    ~ResourceRuns() = default;
};
// resFileFullErr when a reference list, a name or a resource's data would
// start past what the layout's offsets reach; the bytes are then untouched.
OSErr BuildResourceFile(const uint8_t* reserved, uint16_t attributes, const ResourceRuns& runs,
                        std::vector<uint8_t>* bytes);
// The image's resources grouped by type, types in the order of their first
// resource.
OSErr BuildResourceFile(const ResourceFileImage& image, std::vector<uint8_t>* bytes);

}  // namespace platform
