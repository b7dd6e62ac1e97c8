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
// Fails with ioErr when the map or the data would outgrow what the
// layout's offsets can express.
OSErr BuildResourceFile(const ResourceFileImage& image, std::vector<uint8_t>* bytes);

}  // namespace platform
