// The preferences file as another program sees it: its resources read
// from the disk, and the file written anew as another program saves it.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files/WholeFile.h"
#include "platform/resfiles/ResourceFileFormat.h"

namespace apptest {

// The preferences file's resources by type and id: name and bytes.
using PrefImage =
    std::map<std::pair<platform::ResType, int16_t>, std::pair<std::string, std::vector<uint8_t>>>;

inline PrefImage ReadPrefImage(const std::string& path)
{
    std::vector<uint8_t> bytes;
    platform::ResourceFileImage image;
    PrefImage out;
    if (platform::ReadWholeFile(path, &bytes) != platform::noErr ||
        platform::ParseResourceFile(bytes.data(), bytes.size(), &image) != platform::noErr)
        return out;
    for (const platform::ResourceImage& r : image.resources) out[{r.type, r.id}] = {r.name, r.data};
    return out;
}

// Another program writes the file anew, as it saves it.
inline void WritePrefImage(const std::string& path, const PrefImage& resources)
{
    platform::ResourceFileImage image;
    for (const auto& [key, value] : resources) {
        platform::ResourceImage r;
        r.type = key.first;
        r.id = key.second;
        r.hasName = !value.first.empty();
        r.name = value.first;
        r.data = value.second;
        image.resources.push_back(r);
    }
    std::vector<uint8_t> bytes;
    ASSERT_EQ(platform::BuildResourceFile(image, &bytes), platform::noErr);
    const std::string temporary = path + ".other";
    std::ofstream(temporary, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    std::filesystem::rename(temporary, path);
}

}  // namespace apptest
