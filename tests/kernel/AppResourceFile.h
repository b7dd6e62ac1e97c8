// A small application resource file for kernel tests, opened read-only at
// the bottom of the chain.
#pragma once

#include <string>
#include <vector>

#include "platform/files/WholeFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"

namespace kerneltest {

inline std::vector<uint8_t> StrList(std::initializer_list<std::string> items)
{
    std::vector<uint8_t> b = {0, uint8_t(items.size())};
    for (const auto& s : items) {
        b.push_back(uint8_t(s.size()));
        b.insert(b.end(), s.begin(), s.end());
    }
    return b;
}

inline int16_t OpenAppFile(const std::string& path, const std::vector<platform::ResourceImage>& resources)
{
    platform::ResourceFileImage image;
    image.resources = resources;
    std::vector<uint8_t> bytes;
    if (platform::BuildResourceFile(image, &bytes) != platform::noErr) return -1;
    if (platform::WriteFileAtomically(path, bytes.data(), bytes.size()) != platform::noErr) return -1;
    return platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data);
}

}  // namespace kerneltest
