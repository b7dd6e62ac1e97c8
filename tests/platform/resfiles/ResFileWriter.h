// Writes a plain resource file (its resources in its data fork) for tests
// that read resources of platform files.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/FourCC.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/ResourceFileFormat.h"

namespace restest {

struct Res {
    const char* type;
    int16_t id;
    std::vector<uint8_t> bytes;
    std::string name = {};
};

inline uint32_t Code(const char* c)
{
    return uint32_t(uint8_t(c[0])) << 24 | uint32_t(uint8_t(c[1])) << 16 | uint32_t(uint8_t(c[2])) << 8 | uint8_t(c[3]);
}

inline void WriteResFile(const std::string& path, const std::vector<Res>& resources)
{
    platform::ResourceFileImage image;
    for (const Res& r : resources)
        image.resources.push_back({Code(r.type), r.id, !r.name.empty(), r.name, 0, r.bytes});
    std::vector<uint8_t> bytes;
    ASSERT_EQ(platform::BuildResourceFile(image, &bytes), 0);
    ASSERT_EQ(platform::WriteFileAtomically(path, bytes.data(), bytes.size()), 0);
}

// A 'QzID' record: the name, then the version.
inline std::vector<uint8_t> IdRecord(const std::string& name, int16_t version)
{
    std::vector<uint8_t> b{uint8_t(name.size())};
    b.insert(b.end(), name.begin(), name.end());
    b.push_back(uint8_t(uint16_t(version) >> 8));
    b.push_back(uint8_t(version));
    return b;
}

}  // namespace restest
